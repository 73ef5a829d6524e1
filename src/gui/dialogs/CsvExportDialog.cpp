#include "CsvExportDialog.h"

#include "CsvExporter.h"
#include "Dialogs.h"
#include "MyDocument.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CsvExportDialog::CsvExportDialog(MyDocument *document, QWidget *parent)
    : QDialog(parent), pDocument(document), strDirectory(QDir::homePath())
{
    setWindowTitle(qtTrId("csv.export.title"));
    setWindowModality(Qt::WindowModal);

    pSeparator = new QComboBox(this);
    pSeparator->addItem(qtTrId("csv.separator.comma"), QChar(u','));
    pSeparator->addItem(qtTrId("csv.separator.semicolon"), QChar(u';'));
    pSeparator->addItem(qtTrId("csv.separator.tab"), QChar(u'\t'));
    pSeparator->setAccessibleName(qtTrId("csv.separator.label"));
    setSeparator(CsvExporter::defaultSeparator());

    pAll = new QCheckBox(qtTrId("csv.export.all"), this);
    pAll->setAccessibleName(qtTrId("csv.export.all"));
    pSummary = new QLabel(this);
    pSummary->setWordWrap(true);

    auto *form = new QFormLayout;
    form->addRow(qtTrId("csv.separator.label"), pSeparator);
    form->addRow(QString(), pAll);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(qtTrId("csv.export.button"));
    buttons->button(QDialogButtonBox::Cancel)->setText(qtTrId("csv.cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CsvExportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CsvExportDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(pSummary);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(pAll, &QCheckBox::toggled, this, &CsvExportDialog::updateSummary);
    updateSummary();
    setMinimumWidth(460);
    adjustSize();
}

QChar CsvExportDialog::separator() const
{
    return pSeparator->currentData().toChar();
}

void CsvExportDialog::setSeparator(QChar separator)
{
    const int index = pSeparator->findData(separator);
    if (index >= 0)
        pSeparator->setCurrentIndex(index);
}

bool CsvExportDialog::exportsAll() const
{
    return pAll->isChecked();
}

void CsvExportDialog::setExportsAll(bool all)
{
    pAll->setChecked(all);
}

void CsvExportDialog::updateSummary()
{
    const qsizetype count = exportsAll() ? pDocument->allItems().size() : pDocument->items().size();
    pSummary->setText(exportsAll() ? qtTrId("csv.export.summary_all").arg(count)
                                   : qtTrId("csv.export.summary_filtered").arg(count));
}

void CsvExportDialog::accept()
{
    Dialogs::chooseSavePath(this, qtTrId("csv.export.choose"), strDirectory,
                            qtTrId("csv.file_filter"), QStringLiteral("csv"),
                            [this](const QString &path) {
                                if (path.isEmpty())
                                    return;
                                CsvExporter exporter({separator(), exportsAll()});
                                QString error;
                                if (!exporter.writeDocument(*pDocument, path, &error)) {
                                    Dialogs::informText(this, qtTrId("csv.export.failed"), error);
                                    return;
                                }
                                emit exported(path);
                                QDialog::accept();
                            });
}
