#include "ImportDialog.h"

#include "AppleHealthImport.h"
#include "Dialogs.h"
#include "FhirBundle.h"
#include "MonitorImport.h"
#include "MyDocument.h"
#include "SessionLog.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>

// What the worker thread and the window share: the window asks to stop, the worker leaves its
// result here before it finishes.
struct ImportDialog::Shared
{
    std::atomic_bool bCancel = false;
    ImportResult result;
};

// The review's rows: the readings found in time order, new or already in the document, then the
// refused entries in the order of the file.
class ImportReviewModel : public QAbstractTableModel
{
public:
    enum Column
    {
        StatusColumn,
        DateColumn,
        SystolicColumn,
        DiastolicColumn,
        PulseColumn,
        WeightColumn,
        CommentColumn,
        ColumnCount
    };

    using QAbstractTableModel::QAbstractTableModel;

    void reset(const ImportResult &result, const MeasurementList &duplicates)
    {
        beginResetModel();
        pRows.clear();
        pRows.reserve(result.readings.size() + duplicates.size() + result.problems.size());
        for (const MeasurementPtr &reading : result.readings)
            pRows.push_back({reading, false, 0, QString()});
        for (const MeasurementPtr &reading : duplicates)
            pRows.push_back({reading, true, 0, QString()});
        std::stable_sort(pRows.begin(), pRows.end(), [](const Row &a, const Row &b) {
            return a.reading->theWholeDate() < b.reading->theWholeDate();
        });
        const bool entries = result.position == ImportResult::Position::Entry;
        for (const ImportResult::Problem &problem : result.problems)
            pRows.push_back({nullptr, false,
                             (entries ? qtTrId("import.review.refused_entry")
                                      : qtTrId("import.review.refused_line"))
                                 .arg(problem.line),
                             problem.reason});
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(pRows.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : ColumnCount;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
            return {};
        const Row &row = pRows.at(size_t(index.row()));
        if (!row.reading) {
            if (index.column() == StatusColumn)
                return row.status;
            return index.column() == CommentColumn ? QVariant(row.problem) : QVariant();
        }
        const Measurement &reading = *row.reading;
        const QLocale locale;
        const auto number = [&locale](const QVariant &value) {
            return value.isValid() ? QVariant(locale.toString(value.toDouble())) : QVariant();
        };
        switch (index.column()) {
        case StatusColumn:
            return row.bDuplicate ? qtTrId("csv.import.duplicate") : qtTrId("import.review.new");
        case DateColumn:
            return locale.toString(reading.theWholeDate().toDateTime(), QLocale::ShortFormat);
        case SystolicColumn:
            return number(reading.Systolic());
        case DiastolicColumn:
            return number(reading.Diastolic());
        case PulseColumn:
            return number(reading.Pulse());
        case WeightColumn:
            return number(reading.Weight());
        case CommentColumn: {
            QString text = reading.Comments();
            if (!reading.Tags().isEmpty())
                text = (text.isEmpty() ? QString() : text + QLatin1String("  ")) +
                       reading.Tags().join(QLatin1String(", "));
            return text;
        }
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        static constexpr const char *kTitles[ColumnCount] = {
            QT_TRID_NOOP("csv.import.status"),
            QT_TRID_NOOP("monitor.dialog.column.date"),
            QT_TRID_NOOP("monitor.dialog.column.systolic"),
            QT_TRID_NOOP("monitor.dialog.column.diastolic"),
            QT_TRID_NOOP("monitor.dialog.column.pulse"),
            QT_TRID_NOOP("import.review.weight"),
            QT_TRID_NOOP("import.review.comment")};
        return section >= 0 && section < ColumnCount ? qtTrId(kTitles[section]) : QString();
    }

private:
    struct Row
    {
        MeasurementPtr reading; // null: a refused entry
        bool bDuplicate = false;
        QString status; // of a refused entry: where it is
        QString problem;
    };
    std::vector<Row> pRows;
};

const char *ImportDialog::actionNameFor(ImportDetector::Kind kind)
{
    switch (kind) {
    case ImportDetector::Kind::FhirBundle:
        return "doc.import_fhir";
    case ImportDetector::Kind::AppleHealth:
        return "doc.import_health";
    case ImportDetector::Kind::MonitorLog:
        return "doc.import_monitor";
    case ImportDetector::Kind::Csv:
    case ImportDetector::Kind::Unknown:
        break;
    }
    return "doc.import_records";
}

ImportResult ImportDialog::readFile(const QString &path, ImportDetector::Kind kind,
                                    const ImportProgress &progress)
{
    switch (kind) {
    case ImportDetector::Kind::FhirBundle:
        return FhirBundle::readFile(path);
    case ImportDetector::Kind::AppleHealth:
        return AppleHealthImport::readFile(path, nullptr, progress);
    case ImportDetector::Kind::MonitorLog: {
        ImportResult result;
        QByteArray bytes;
        if (!SessionLog::load(path, &bytes, &result.error))
            return result;
        MonitorImport::Result log = MonitorImport::readLog(bytes);
        result.error = log.error;
        result.readings = std::move(log.readings);
        std::stable_sort(result.readings.begin(), result.readings.end(),
                         [](const MeasurementPtr &a, const MeasurementPtr &b) {
                             return a->theWholeDate() < b->theWholeDate();
                         });
        for (const MonitorImport::Problem &problem : std::as_const(log.problems))
            result.problems.append({problem.line, problem.reason});
        result.problemCount = log.problemCount;
        result.duplicateCount = log.duplicateCount;
        return result;
    }
    case ImportDetector::Kind::Csv:
    case ImportDetector::Kind::Unknown:
        break;
    }
    ImportResult result;
    result.error = qtTrId("import.review.error.kind");
    return result;
}

ImportDialog::ImportDialog(MyDocument *document, const QString &path, ImportDetector::Kind kind,
                           QWidget *parent)
    : QDialog(parent), pDocument(document), strPath(path), nKind(kind),
      pShared(std::make_shared<Shared>())
{
    buildWindow();
    const QString fileName = QFileInfo(path).fileName();
    pStatus->setText(qtTrId("import.review.reading").arg(fileName));
    // The worker reads the file alone; the window compares what it found with the document once
    // it has finished, so the document is only ever touched on this thread.
    const std::shared_ptr<Shared> shared = pShared;
    pThread = QThread::create([this, shared, path, kind] {
        shared->result = readFile(path, kind, [this, shared](qint64 done, qint64 total) {
            QMetaObject::invokeMethod(
                this, [this, done, total] { onProgress(done, total); }, Qt::QueuedConnection);
            return !shared->bCancel.load();
        });
    });
    connect(pThread, &QThread::finished, this, &ImportDialog::onReadingFinished);
    pThread->start();
    pCancel->setFocus();
}

ImportDialog::ImportDialog(MyDocument *document, const QString &path, ImportDetector::Kind kind,
                           ImportResult found, QWidget *parent)
    : QDialog(parent), pDocument(document), strPath(path), nKind(kind),
      pShared(std::make_shared<Shared>())
{
    buildWindow();
    pProgress->hide();
    review(std::move(found));
}

void ImportDialog::buildWindow()
{
    setWindowTitle(qtTrId("import.review.title").arg(QFileInfo(strPath).fileName()));
    setWindowModality(Qt::WindowModal);

    pStatus = new QLabel(this);
    pStatus->setWordWrap(true);
    pStatus->setAccessibleName(qtTrId("import.review.status"));
    pStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    pProgress = new QProgressBar(this);
    pProgress->setAccessibleName(qtTrId("import.review.progress"));
    pProgress->setRange(0, 0);

    pModel = new ImportReviewModel(this);
    pReview = new QTableView(this);
    pReview->setModel(pModel);
    pReview->setAccessibleName(qtTrId("import.review.table"));
    pReview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pReview->setSelectionBehavior(QAbstractItemView::SelectRows);
    pReview->setTabKeyNavigation(false);
    pReview->setWordWrap(false);
    pReview->verticalHeader()->hide();
    pReview->horizontalHeader()->setStretchLastSection(true);
    pReview->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    pSummary = new QLabel(this);
    pSummary->setWordWrap(true);
    pSummary->setAccessibleName(qtTrId("import.review.summary"));
    pSkippedLabel = new QLabel(qtTrId("import.review.skipped"), this);
    pSkipped = new QPlainTextEdit(this);
    pSkipped->setReadOnly(true);
    pSkipped->setTabChangesFocus(true);
    pSkipped->setAccessibleName(qtTrId("import.review.skipped"));
    pSkipped->setMaximumHeight(fontMetrics().lineSpacing() * 6);
    pSkippedLabel->setBuddy(pSkipped);

    auto *buttons = new QDialogButtonBox(this);
    pImport = buttons->addButton(qtTrId("csv.import.button"), QDialogButtonBox::AcceptRole);
    pImport->setAccessibleName(qtTrId("csv.import.button"));
    pImport->setEnabled(false);
    pCancel = buttons->addButton(QDialogButtonBox::Cancel);
    pCancel->setText(qtTrId("monitor.dialog.cancel"));
    pCancel->setAccessibleName(qtTrId("monitor.dialog.cancel"));
    pCancel->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &ImportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ImportDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pStatus);
    layout->addWidget(pProgress);
    layout->addWidget(pReview, 1);
    layout->addWidget(pSummary);
    layout->addWidget(pSkippedLabel);
    layout->addWidget(pSkipped);
    layout->addWidget(buttons);
    resize(720, 540);
    pSkippedLabel->hide();
    pSkipped->hide();
}

ImportDialog::~ImportDialog()
{
    stopReading();
}

void ImportDialog::stopReading()
{
    if (!pThread)
        return;
    pShared->bCancel = true;
    pThread->disconnect(this);
    // The reader looks at the flag every few megabytes: the wait is short.
    pThread->wait();
    delete pThread;
    pThread = nullptr;
}

QString ImportDialog::statusText() const
{
    return pStatus->text();
}

QString ImportDialog::summaryText() const
{
    return pSummary->text();
}

QString ImportDialog::skippedText() const
{
    return pSkipped->toPlainText();
}

void ImportDialog::onProgress(qint64 done, qint64 total)
{
    if (!pThread || total <= 0)
        return;
    // In thousandths: a file of several gigabytes would not fit an int in bytes.
    pProgress->setRange(0, 1000);
    pProgress->setValue(int(std::clamp(done * 1000 / total, qint64(0), qint64(1000))));
    const QLocale locale;
    pStatus->setText(qtTrId("import.review.reading_size")
                         .arg(QFileInfo(strPath).fileName(),
                              locale.toString(double(done) / (1 << 20), 'f', 0),
                              locale.toString(double(total) / (1 << 20), 'f', 0)));
}

void ImportDialog::onReadingFinished()
{
    // finished() comes just before the thread ends.
    pThread->wait();
    delete pThread;
    pThread = nullptr;
    pProgress->setRange(0, 1);
    pProgress->setValue(1);
    review(std::move(pShared->result));
}

void ImportDialog::review(ImportResult found)
{
    // The file's readings against the document, with the rule every import follows.
    pResult = ImportResult();
    pResult.error = found.error;
    pResult.bCancelled = found.bCancelled;
    pResult.position = found.position;
    pResult.problems = found.problems;
    pResult.problemCount = found.problemCount;
    pResult.duplicateCount = found.duplicateCount;
    pResult.skipped = found.skipped;
    pDuplicates.clear();
    {
        ImportCollector collector(pDocument, &pResult);
        for (const MeasurementPtr &reading : std::as_const(found.readings)) {
            const qint64 duplicates = pResult.duplicateCount;
            if (!collector.add(reading, 0) && pResult.duplicateCount > duplicates)
                pDuplicates.append(reading);
        }
        collector.finish();
    }
    pModel->reset(pResult, pDuplicates);
    pReview->resizeColumnsToContents();

    const QLocale locale;
    if (!pResult.error.isEmpty())
        pStatus->setText(pResult.error);
    else if (pResult.isEmpty() && pResult.problemCount == 0)
        pStatus->setText(qtTrId("import.review.nothing"));
    else
        pStatus->setText(qtTrId("import.review.read").arg(QFileInfo(strPath).fileName()));
    if (pResult.error.isEmpty()) {
        QString summary = qtTrId("import.review.summary_counts")
                              .arg(locale.toString(pResult.readings.size()),
                                   locale.toString(pResult.duplicateCount),
                                   locale.toString(pResult.problemCount));
        if (pResult.problemCount > pResult.problems.size())
            summary +=
                u' ' +
                qtTrId("import.review.more_problems").arg(locale.toString(pResult.problems.size()));
        pSummary->setText(summary);
    }

    // What was left out, the largest first.
    QList<std::pair<qint64, QString>> skipped;
    for (auto it = pResult.skipped.cbegin(); it != pResult.skipped.cend(); ++it)
        skipped.append({it.value(), it.key()});
    std::stable_sort(skipped.begin(), skipped.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    QStringList lines;
    for (const auto &[count, kind] : std::as_const(skipped))
        lines.append(qtTrId("import.review.skipped_line").arg(locale.toString(count), kind));
    pSkipped->setPlainText(lines.join(u'\n'));
    pSkippedLabel->setVisible(!lines.isEmpty());
    pSkipped->setVisible(!lines.isEmpty());

    pImport->setEnabled(!pResult.readings.isEmpty());
    pImport->setDefault(pImport->isEnabled());
    (pImport->isEnabled() ? pImport : pCancel)->setFocus();
    emit readingFinished();
}

void ImportDialog::accept()
{
    if (pThread || pResult.readings.isEmpty())
        return;
    const qsizetype added = pResult.apply(pDocument, actionNameFor(nKind));
    emit imported(added);
    QDialog::accept();
}

void ImportDialog::reject()
{
    stopReading();
    QDialog::reject();
}
