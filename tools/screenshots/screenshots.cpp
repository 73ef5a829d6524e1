// Renders the pictures of the README and the documentation: every page of the document window,
// the editor, the preferences, the print preview and options, and the CSV export and import
// dialogs, for one document in one language.
//   tensilo_screenshots DOCUMENT OUT_DIR LANGUAGE
// Runs offscreen; QT_SCALE_FACTOR=2 gives the pictures for high-density screens. The user's
// preferences are not touched (a throw-away store).
#include "ApplicationMenus.h"
#include "CsvExportDialog.h"
#include "CsvExporter.h"
#include "CsvImportDialog.h"
#include "DocumentController.h"
#include "Localization.h"
#include "MeasurementSheet.h"
#include "MyAppDelegate.h"
#include "MyDocument.h"
#include "MyWindowController.h"
#include "PageFilters.h"
#include "Preferences.h"
#include "PreferencesWndController.h"
#include "PrintAccessoryView.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

bool save(QWidget *widget, const QString &dir, const QString &name, const QString &language)
{
    settle();
    const QString path = QDir(dir).filePath(QStringLiteral("%1-%2.png").arg(name, language));
    if (!widget->grab().save(path)) {
        err() << "cannot write " << path << Qt::endl;
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        err() << "usage: tensilo_screenshots DOCUMENT OUT_DIR LANGUAGE" << Qt::endl;
        return 2;
    }
    const QString documentPath = args.at(1);
    const QString dir = args.at(2);
    const QString language = args.at(3);
    QDir().mkpath(dir);

    const QLocale locale(language);
    QLocale::setDefault(locale);
    Localization::install(locale);
    Preferences::useTemporaryStore();
    Preferences::shared().setValueForKey(true, Preferences::showPulse);
    Preferences::shared().setValueForKey(true, Preferences::showWeight);

    MyDocument document;
    QString error;
    if (!document.readFromFile(documentPath, &error)) {
        err() << documentPath << ": " << error << Qt::endl;
        return 1;
    }

    bool ok = true;
    DocumentController controller;
    MyAppDelegate delegate(&controller);
    MyWindowController window(&document);
    ApplicationMenus::install(&window, &controller, &delegate);
    window.setWindowTitle(QFileInfo(documentPath).completeBaseName());
    window.resize(960, 620);
    window.show();
    const char *const pages[] = {"readings", "chart", "averages", "filters", "information"};
    for (int page = 0; page < MyWindowController::PageCount; ++page) {
        window.selectPage(page);
        if (page == MyWindowController::FiltersPage) {
            // A filter with a condition, so that the condition editor shows its rows.
            auto *filtersPage = window.findChild<PageFilters *>();
            if (filtersPage && document.filters().size() > 1)
                filtersPage->selectFilter(document.filters().at(1));
        }
        ok &= save(&window, dir, QLatin1String(pages[page]), language);
    }
    window.selectPage(MyWindowController::ReadingsPage);

    // The editor on the newest reading.
    if (!document.items().isEmpty()) {
        MeasurementSheet::showForMeasurement(document.items().last(), &document, true, &window,
                                             [](ConstMeasurementPtr, MeasurementPtr) {});
        settle();
        if (auto *sheet = window.findChild<MeasurementSheet *>()) {
            ok &= save(sheet, dir, QStringLiteral("editor"), language);
            sheet->reject();
        }
    }

    // The preferences, one picture per tab: "preferences" (the first), "preferences-values", ...
    PreferencesWndController preferences;
    preferences.show();
    if (auto *tabs = preferences.findChild<QTabWidget *>()) {
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            QString name = QStringLiteral("preferences");
            if (tab > 0)
                name += QLatin1Char('-') +
                        tabs->widget(tab)->objectName().remove(QLatin1String("tab")).toLower();
            ok &= save(&preferences, dir, name, language);
        }
        tabs->setCurrentIndex(0);
    } else {
        ok &= save(&preferences, dir, QStringLiteral("preferences"), language);
    }
    preferences.hide();

    QPointer<QDialog> preview;
    window.onDialogOpened = [&preview](QDialog *dialog) { preview = dialog; };
    window.onPrintPreview();
    if (preview) {
        preview->resize(820, 900);
        ok &= save(preview, dir, QStringLiteral("report"), language);
        preview->reject();
    } else {
        err() << "the print preview did not open" << Qt::endl;
        ok = false;
    }
    PrintAccessoryView options;
    options.resize(420, 260);
    options.show();
    ok &= save(&options, dir, QStringLiteral("print-options"), language);
    options.hide();

    // The CSV dialogs; the import reads the document's own readings back.
    CsvExportDialog exportDialog(&document);
    exportDialog.show();
    ok &= save(&exportDialog, dir, QStringLiteral("csv-export"), language);
    exportDialog.hide();
    QTemporaryDir csvDir;
    const QString csv = csvDir.filePath(QStringLiteral("readings.csv"));
    CsvExporter::Options csvOptions;
    csvOptions.separator = CsvExporter::defaultSeparator(locale);
    csvOptions.bAll = true;
    if (CsvExporter(csvOptions).writeDocument(document, csv, &error)) {
        CsvImportDialog importDialog(&document, csv);
        importDialog.show();
        ok &= save(&importDialog, dir, QStringLiteral("csv-import"), language);
    } else {
        err() << csv << ": " << error << Qt::endl;
        ok = false;
    }
    settle();
    return ok ? 0 : 1;
}
