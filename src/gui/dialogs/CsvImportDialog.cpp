#include "CsvImportDialog.h"

#include "CsvExporter.h"
#include "ImportDialog.h"
#include "MyDocument.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

// The values the preview shows: those of fixed meaning. The ones the user titles are left out to
// keep the preview narrow.
constexpr auto kPreviewValues = [] {
    constexpr auto shown = [](const ReadingValue *value) { return value->titleKey.isEmpty(); };
    std::array<const ReadingValue *, std::ranges::count_if(ReadingValues::kStored, shown)> values{};
    std::ranges::copy_if(ReadingValues::kStored, values.begin(), shown);
    return values;
}();

QString numberText(const QVariant &value)
{
    return value.isValid() ? QLocale().toString(value.toDouble(), 'g', 6) : QString();
}

} // namespace

CsvImportDialog::CsvImportDialog(MyDocument *document, const QString &path, QWidget *parent)
    : QDialog(parent), pDocument(document), strPath(path)
{
    setWindowTitle(qtTrId("csv.import.title").arg(QFileInfo(path).fileName()));
    setWindowModality(Qt::WindowModal);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        strReadError = qtTrId("csv.error.read").arg(path, file.errorString());
    else if (file.size() > CsvImporter::kMaxFileSize)
        strReadError = qtTrId("csv.error.too_large").arg(CsvImporter::kMaxFileSize >> 20);
    else
        pBytes = file.read(CsvImporter::kMaxFileSize + 1);

    pSeparator = new QComboBox(this);
    pSeparator->addItem(qtTrId("csv.separator.automatic"), QChar());
    pSeparator->addItem(qtTrId("csv.separator.comma"), QChar(u','));
    pSeparator->addItem(qtTrId("csv.separator.semicolon"), QChar(u';'));
    pSeparator->addItem(qtTrId("csv.separator.tab"), QChar(u'\t'));
    pSeparator->setAccessibleName(qtTrId("csv.separator.label"));
    pEncoding = new QComboBox(this);
    pEncoding->addItem(qtTrId("csv.encoding.automatic"), int(CsvReader::Encoding::Automatic));
    pEncoding->addItem(QStringLiteral("UTF-8"), int(CsvReader::Encoding::Utf8));
    pEncoding->addItem(QStringLiteral("Latin-1 (ISO 8859-1)"), int(CsvReader::Encoding::Latin1));
    pEncoding->setAccessibleName(qtTrId("csv.encoding.label"));
    pDateOrder = new QComboBox(this);
    pDateOrder->addItem(qtTrId("csv.date_order.automatic"), int(CsvImporter::DateOrder::Automatic));
    pDateOrder->addItem(qtTrId("csv.date_order.day_first"), int(CsvImporter::DateOrder::DayFirst));
    pDateOrder->addItem(qtTrId("csv.date_order.month_first"),
                        int(CsvImporter::DateOrder::MonthFirst));
    pDateOrder->setAccessibleName(qtTrId("csv.date_order.label"));

    auto *form = new QFormLayout;
    form->addRow(qtTrId("csv.separator.label"), pSeparator);
    form->addRow(qtTrId("csv.encoding.label"), pEncoding);
    form->addRow(qtTrId("csv.date_order.label"), pDateOrder);

    pMapping = new QTableWidget(this);
    pMapping->setColumnCount(3);
    pMapping->setHorizontalHeaderLabels(
        {qtTrId("csv.import.column"), qtTrId("csv.import.example"), qtTrId("csv.import.value")});
    pMapping->setAccessibleName(qtTrId("csv.import.columns"));
    pMapping->verticalHeader()->hide();
    pMapping->horizontalHeader()->setStretchLastSection(true);
    pMapping->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pMapping->setSelectionMode(QAbstractItemView::NoSelection);
    pMapping->setTabKeyNavigation(false); // Tab leaves the table, arrows move in it

    pPreview = new QTableWidget(this);
    pPreview->setAccessibleName(qtTrId("csv.import.preview"));
    pPreview->verticalHeader()->hide();
    pPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pPreview->setSelectionBehavior(QAbstractItemView::SelectRows);
    pPreview->horizontalHeader()->setStretchLastSection(true);
    pPreview->setWordWrap(false);
    pPreview->setAlternatingRowColors(true);
    pPreview->setTabKeyNavigation(false);

    pSummary = new QLabel(this);
    pSummary->setWordWrap(true);
    pProblems = new QPlainTextEdit(this);
    pProblems->setReadOnly(true);
    pProblems->setAccessibleName(qtTrId("csv.import.problems"));
    pProblems->setMaximumHeight(90);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    pImport = buttons->button(QDialogButtonBox::Ok);
    pImport->setText(qtTrId("csv.import.review"));
    pImport->setAccessibleName(qtTrId("csv.import.review"));
    buttons->button(QDialogButtonBox::Cancel)->setText(qtTrId("csv.cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CsvImportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CsvImportDialog::reject);

    auto *columnsLabel = new QLabel(qtTrId("csv.import.columns"), this);
    columnsLabel->setBuddy(pMapping);
    auto *previewLabel = new QLabel(qtTrId("csv.import.preview"), this);
    previewLabel->setBuddy(pPreview);

    auto *top = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addLayout(form);
    left->addStretch();
    top->addLayout(left);
    auto *right = new QVBoxLayout;
    right->addWidget(columnsLabel);
    right->addWidget(pMapping);
    top->addLayout(right, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(previewLabel);
    layout->addWidget(pPreview, 1);
    layout->addWidget(pSummary);
    layout->addWidget(pProblems);
    layout->addWidget(buttons);

    for (QComboBox *box : {pSeparator, pEncoding, pDateOrder})
        connect(box, &QComboBox::currentIndexChanged, this, &CsvImportDialog::onOptionsChanged);
    resize(860, 620);
    reread();
}

void CsvImportDialog::onOptionsChanged()
{
    if (bFilling)
        return;
    pOptions.separator = pSeparator->currentData().toChar();
    pOptions.encoding = CsvReader::Encoding(pEncoding->currentData().toInt());
    pOptions.dateOrder = CsvImporter::DateOrder(pDateOrder->currentData().toInt());
    reread();
}

void CsvImportDialog::setMapping(int column, CsvField field)
{
    QList<CsvField> mapping = pResult.mapping;
    if (column < 0 || column >= mapping.size())
        return;
    mapping[column] = field;
    pOptions.mapping = mapping;
    reread();
}

void CsvImportDialog::setDateOrder(CsvImporter::DateOrder order)
{
    pDateOrder->setCurrentIndex(pDateOrder->findData(int(order)));
}

void CsvImportDialog::setSeparator(QChar separator)
{
    pSeparator->setCurrentIndex(pSeparator->findData(separator));
}

void CsvImportDialog::reread()
{
    if (strReadError.isEmpty()) {
        pResult = CsvImporter::read(pBytes, pOptions, pDocument);
    } else {
        pResult = CsvImporter::Result();
        pResult.error = strReadError;
    }
    fillMapping();
    fillPreview();
    updateSummary();
}

void CsvImportDialog::fillMapping()
{
    bFilling = true;
    pMapping->setRowCount(int(pResult.mapping.size()));
    const QStringList example =
        pResult.preview.isEmpty() ? QStringList() : pResult.preview.first().fields;
    for (int row = 0; row < pResult.mapping.size(); ++row) {
        const QString title = pResult.header.value(row);
        const QString columnName =
            title.isEmpty() ? qtTrId("csv.import.column_number").arg(row + 1) : title;
        // The column's name is the label of its chooser: on Linux that is what names a combo
        // box for screen readers.
        auto *name = new QLabel(QString(columnName).replace(u'&', QLatin1String("&&")), pMapping);
        name->setTextFormat(Qt::PlainText);
        name->setContentsMargins(4, 0, 4, 0);
        pMapping->setCellWidget(row, 0, name);
        pMapping->setItem(row, 1, new QTableWidgetItem(example.value(row)));
        auto *box = new QComboBox(pMapping);
        // Every kind of column, in CsvField's order (its values in the table of values' order).
        for (int field = int(CsvField::Ignore); field <= int(CsvField::Tags); ++field)
            box->addItem(CsvExporter::columnTitle(CsvField(field)), field);
        box->setCurrentIndex(box->findData(int(pResult.mapping.at(row))));
        box->setAccessibleName(qtTrId("csv.import.value_of").arg(columnName));
        name->setBuddy(box);
        connect(box, &QComboBox::currentIndexChanged, this, [this, row, box] {
            // Deferred: the box is replaced while the file is read again.
            const CsvField field = CsvField(box->currentData().toInt());
            QMetaObject::invokeMethod(
                this, [this, row, field] { setMapping(row, field); }, Qt::QueuedConnection);
        });
        pMapping->setCellWidget(row, 2, box);
    }
    pMapping->resizeColumnsToContents();
    pMapping->horizontalHeader()->setStretchLastSection(true);
    if (!pResult.separator.isNull() && pSeparator->currentIndex() == 0)
        pSeparator->setItemText(
            0, qtTrId("csv.separator.detected")
                   .arg(pSeparator->itemText(pSeparator->findData(pResult.separator))));
    bFilling = false;
}

void CsvImportDialog::fillPreview()
{
    // The line, date, time, values, comments, tags and the row's state.
    QStringList titles = {qtTrId("csv.import.line"), CsvExporter::columnTitle(CsvField::Date),
                          CsvExporter::columnTitle(CsvField::Time)};
    const int firstValue = int(titles.size());
    for (const ReadingValue *value : kPreviewValues)
        titles << CsvExporter::columnTitle(fieldOfValue(ReadingValues::slotOf(value->key)));
    const int lastValue = int(titles.size()) - 1;
    titles << CsvExporter::columnTitle(CsvField::Comments)
           << CsvExporter::columnTitle(CsvField::Tags) << qtTrId("csv.import.status");
    pPreview->clear();
    pPreview->setColumnCount(int(titles.size()));
    pPreview->setHorizontalHeaderLabels(titles);
    pPreview->setRowCount(int(pResult.preview.size()));
    const QLocale locale;
    for (int row = 0; row < pResult.preview.size(); ++row) {
        const CsvImporter::PreviewRow &preview = pResult.preview.at(row);
        QStringList cells = {QString::number(preview.line)};
        if (const auto &r = preview.reading) {
            const QDateTime when = r->theWholeDate().toDateTime();
            cells << locale.toString(when.date(), QLocale::ShortFormat)
                  << locale.toString(when.time(), QLocale::ShortFormat);
            for (const ReadingValue *value : kPreviewValues)
                cells << numberText(r->valueForKey(value->key));
            cells << r->Comments() << r->Tags().join(QLatin1String(", "))
                  << (preview.bDuplicate ? qtTrId("csv.import.duplicate")
                                         : qtTrId("csv.import.ok"));
        } else {
            cells.resize(titles.size() - 1);
            cells << preview.problem;
        }
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells.at(column));
            if (column >= firstValue && column <= lastValue)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            // Rows left out are dimmed; the reason stays readable.
            if ((!preview.reading || preview.bDuplicate) && column < cells.size() - 1)
                item->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
            pPreview->setItem(row, column, item);
        }
    }
    pPreview->resizeColumnsToContents();
    pPreview->horizontalHeader()->setStretchLastSection(true);
}

bool CsvImportDialog::canImport() const
{
    return pResult.error.isEmpty() && !pResult.readings.isEmpty() &&
           !(pResult.bDateOrderAmbiguous &&
             pOptions.dateOrder == CsvImporter::DateOrder::Automatic);
}

void CsvImportDialog::updateSummary()
{
    QString text;
    if (!pResult.error.isEmpty()) {
        text = pResult.error;
    } else {
        text = qtTrId("csv.import.summary")
                   .arg(pResult.readings.size())
                   .arg(pResult.duplicateCount)
                   .arg(pResult.problemCount);
        if (pResult.bDateOrderAmbiguous && pOptions.dateOrder == CsvImporter::DateOrder::Automatic)
            text += u' ' + qtTrId("csv.import.choose_date_order");
    }
    pSummary->setText(text);
    QStringList lines;
    for (const CsvImporter::Problem &problem : pResult.problems)
        lines.append(qtTrId("csv.import.problem_line").arg(problem.line).arg(problem.reason));
    pProblems->setPlainText(lines.join(u'\n'));
    pProblems->setVisible(!lines.isEmpty());
    pImport->setEnabled(canImport());
}

void CsvImportDialog::accept()
{
    if (!canImport() || pReview)
        return;
    // Read without the document: the review lists the readings it holds already.
    const ImportResult found = CsvImporter::toImportResult(CsvImporter::read(pBytes, pOptions));
    auto *review = new ImportDialog(pDocument, strPath, ImportDetector::Kind::Csv, found, this);
    review->setAttribute(Qt::WA_DeleteOnClose);
    connect(review, &ImportDialog::imported, this, [this](qsizetype count) {
        emit imported(count);
        QDialog::accept();
    });
    pReview = review;
    review->open();
}
