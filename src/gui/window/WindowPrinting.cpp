#include "WindowPrinting.h"

#include "ChartDataSource.h"
#include "CsvExportDialog.h"
#include "Dialogs.h"
#include "Filter.h"
#include "MyDocument.h"
#include "MyWindowController.h"
#include "PageGrid.h"
#include "PrintAccessoryView.h"
#include "PrintSettings.h"
#include "PrintView.h"
#include "UndoManager.h"

#include <QPageSetupDialog>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QStandardPaths>

namespace {

int gLivePrintViews = 0;
int gMadePrintViews = 0;

} // namespace

WindowPrinting::WindowPrinting(MyWindowController *window) : QObject(window), pWindow(window) {}

int WindowPrinting::livePrintViews()
{
    return gLivePrintViews;
}

int WindowPrinting::madePrintViews()
{
    return gMadePrintViews;
}

QPageLayout WindowPrinting::pageLayout() const
{
    MyDocument *document = pWindow->document();
    return document ? document->printSettings().pageLayout() : PrintSettings().pageLayout();
}

// The document keeps its print settings as the file stores them; keys it does not know stay.
void WindowPrinting::storePageLayout(const QPageLayout &layout)
{
    MyDocument *document = pWindow->document();
    if (!document || !layout.isValid())
        return;
    PrintSettings settings = document->printSettings();
    settings.setPageLayout(layout);
    if (settings.attributes() == document->printInfo())
        return;
    document->setPrintSettings(settings);
    // Saved with the document, not undoable: the document is edited.
    document->undoManager()->setDirty();
}

QString WindowPrinting::docName() const
{
    return pWindow->windowTitle().remove(QStringLiteral("[*]"));
}

PrintAccessoryView *WindowPrinting::printAccessoryView()
{
    if (!pPrintAccessoryView) {
        pPrintAccessoryView = new PrintAccessoryView(pWindow);
        pPrintAccessoryView->hide();
    }
    return pPrintAccessoryView;
}

std::unique_ptr<PrintView> WindowPrinting::makePrintView(const QPageLayout &layout) const
{
    MyDocument *document = pWindow->document();
    // The chart always runs from the oldest reading to the newest; the table prints as shown.
    auto *chart = new ChartDataSource;
    chart->setObjects(document->items());
    auto view = std::make_unique<PrintView>(layout, pWindow->pageGrid()->readingsInShownOrder(),
                                            document->averages(), document->information(), chart);
    chart->setParent(view.get());
    if (document->filter())
        view->setFilterName(document->filter()->name());
    ++gLivePrintViews;
    ++gMadePrintViews;
    QObject::connect(view.get(), &QObject::destroyed, [] { --gLivePrintViews; });
    return view;
}

bool WindowPrinting::printOn(QPrinter &printer, QString *errorMessage)
{
    if (!pWindow->document())
        return false;
    // The pages of the dialog's range that the report has; a range with none of them is an
    // error of its own, not a failing printer.
    return makePrintView(printer.pageLayout())->printTo(printer, errorMessage);
}

void WindowPrinting::pageSetup()
{
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPageLayout(pageLayout());
    auto *dialog = new QPageSetupDialog(printer.get(), pWindow);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &QDialog::finished, this, [this, printer](int result) {
        if (result == QDialog::Accepted)
            storePageLayout(printer->pageLayout());
    });
    dialog->open();
    pWindow->dialogOpened(dialog);
}

void WindowPrinting::printWithoutPanel()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageLayout());
    printer.setDocName(docName());
    QString message;
    if (!printOn(printer, &message))
        Dialogs::informText(pWindow, qtTrId("window.print_failed"), message);
}

void WindowPrinting::printWithPanel()
{
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPageLayout(pageLayout());
    printer->setDocName(docName());
    auto *dialog = new QPrintDialog(printer.get(), pWindow);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog->setOption(QAbstractPrintDialog::PrintToFile, true);
    {
        // The range the user may choose: the pages of the report as it stands.
        const std::unique_ptr<PrintView> count = makePrintView(pageLayout());
        dialog->setMinMax(1, std::max(1, count->totalPages()));
    }
    PrintAccessoryView *options = printAccessoryView();
    dialog->setOptionTabs({options});
    QPointer<PrintAccessoryView> keptOptions(options);
    connect(dialog, &QDialog::finished, this, [this, printer, keptOptions](int result) {
        // The options tab belongs to the window, not to this dialog.
        if (keptOptions) {
            keptOptions->setParent(pWindow);
            keptOptions->hide();
        }
        if (result != QDialog::Accepted)
            return;
        QString message;
        if (!printOn(*printer, &message))
            Dialogs::informText(pWindow, qtTrId("window.print_failed"), message);
    });
    dialog->open();
    pWindow->dialogOpened(dialog);
}

void WindowPrinting::printPreview()
{
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPageLayout(pageLayout());
    auto *dialog = new QPrintPreviewDialog(printer.get(), pWindow);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setWindowTitle(qtTrId("window.print_preview"));
    dialog->resize(800, 900);
    auto *preview = dialog->findChild<QPrintPreviewWidget *>();
    // One report view for the whole preview: it rebuilds itself when a preference that shapes
    // the report changes, and the preview is redrawn from it once per change.
    auto view = std::shared_ptr<PrintView>(makePrintView(printer->pageLayout()));
    auto connectRefresh = [preview](PrintView *v) {
        if (preview)
            QObject::connect(v, &PrintView::refreshed, preview,
                             &QPrintPreviewWidget::updatePreview);
    };
    connectRefresh(view.get());
    connect(dialog, &QPrintPreviewDialog::paintRequested, this,
            [this, view, connectRefresh](QPrinter *target) mutable {
                if (!(view->pageLayout() == target->pageLayout())) {
                    view = std::shared_ptr<PrintView>(makePrintView(target->pageLayout()));
                    connectRefresh(view.get());
                }
                QPainter painter(target);
                painter.scale(target->logicalDpiX() / 72.0, target->logicalDpiY() / 72.0);
                for (int page = 1; page <= view->totalPages(); ++page) {
                    if (page > 1)
                        target->newPage();
                    view->drawPage(painter, page);
                }
            });
    // The view and the printer go with the dialog.
    connect(dialog, &QObject::destroyed, this, [view, printer]() mutable {
        view.reset();
        printer.reset();
    });
    dialog->open();
    pWindow->dialogOpened(dialog);
}

void WindowPrinting::exportCsv()
{
    MyDocument *document = pWindow->document();
    if (!document)
        return;
    auto *dialog = new CsvExportDialog(document, pWindow);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    dialog->open();
    pWindow->dialogOpened(dialog);
}

void WindowPrinting::exportPdf()
{
    const QString directory = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QPointer<WindowPrinting> self(this);
    Dialogs::chooseSavePath(
        pWindow, qtTrId("window.export_pdf.caption"), directory, qtTrId("window.export_pdf.filter"),
        QStringLiteral("pdf"), [self](const QString &path) {
            if (!self || path.isEmpty() || !self->pWindow->document())
                return;
            const std::unique_ptr<PrintView> view = self->makePrintView(self->pageLayout());
            QString message;
            if (!view->writePdf(path, &message))
                Dialogs::informText(self->pWindow, qtTrId("window.export_pdf.failed"), message);
        });
}
