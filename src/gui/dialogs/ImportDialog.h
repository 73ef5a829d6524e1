#pragma once

#include "ImportDetector.h"
#include "ImportResult.h"

#include <QDialog>

#include <memory>

class ImportReviewModel;
class MyDocument;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QThread;

// File › Import…'s review of every kind of file. A FHIR Bundle, an Apple Health export or a
// monitor's session log needs no choices before it is read: the file is read on a worker thread
// under a progress bar; Cancel stops the reading and closes the window, adding nothing. A CSV file
// is read by its column mapping (CsvImportDialog), which hands its readings over. Then the window
// lists every reading found, new or already in the document, and every refused entry with its
// line (or Bundle entry) and the reason, and sums up what was left out, by kind. Import adds the
// new readings as one undo step named for the source. Open with open().
class ImportDialog : public QDialog
{
    Q_OBJECT
public:
    ImportDialog(MyDocument *document, const QString &path, ImportDetector::Kind kind,
                 QWidget *parent = nullptr);
    // Reviews readings read already (a CSV file through its column mapping): no worker, no
    // progress.
    ImportDialog(MyDocument *document, const QString &path, ImportDetector::Kind kind,
                 ImportResult found, QWidget *parent = nullptr);
    ~ImportDialog() override;

    // The undo step's name (a localisation key) for readings of this kind.
    static const char *actionNameFor(ImportDetector::Kind kind);
    // Reads the file the way the window does, without the document (for the worker thread).
    static ImportResult readFile(const QString &path, ImportDetector::Kind kind,
                                 const ImportProgress &progress);

    bool isReading() const { return pThread != nullptr; }
    // What Import adds: the readings the document does not hold yet.
    const ImportResult &result() const { return pResult; }
    // The readings of the file the document holds already.
    qsizetype documentDuplicateCount() const { return pDuplicates.size(); }

    QTableView *reviewTable() const { return pReview; }
    QProgressBar *progressBar() const { return pProgress; }
    QPushButton *importButton() const { return pImport; }
    QPushButton *cancelButton() const { return pCancel; }
    QString statusText() const;
    QString summaryText() const;
    QString skippedText() const;

public slots:
    void accept() override;
    void reject() override;

signals:
    void readingFinished();
    void imported(qsizetype count);

private:
    struct Shared;
    void buildWindow();
    void review(ImportResult found);
    void onProgress(qint64 done, qint64 total);
    void onReadingFinished();
    void stopReading();

    MyDocument *pDocument;
    QString strPath;
    ImportDetector::Kind nKind;
    std::shared_ptr<Shared> pShared;
    QThread *pThread = nullptr;
    ImportResult pResult;
    MeasurementList pDuplicates;

    QLabel *pStatus;
    QProgressBar *pProgress;
    ImportReviewModel *pModel;
    QTableView *pReview;
    QLabel *pSummary;
    QLabel *pSkippedLabel;
    QPlainTextEdit *pSkipped;
    QPushButton *pImport;
    QPushButton *pCancel;
};
