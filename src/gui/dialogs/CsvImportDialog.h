#pragma once

#include "CsvImporter.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QPointer>

class ImportDialog;
class MyDocument;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

// File › Import › Readings from CSV…: shows how the file will be read before anything is
// imported. The separator, encoding and date order are detected and can be overridden; each
// column of the file is mapped to a value (from its title) and the mapping can be corrected; the
// first rows appear as they will be read, with the reason beside each refused one; a summary
// counts the readings, the duplicates and the refused rows, and lists the refused rows with
// their lines. Review… opens the review every import shares (ImportDialog) over this window:
// Import there adds the readings as one undo step ("doc.import_records") and closes both; Cancel
// comes back here to correct the mapping. When slashed dates could be read either way, Review…
// waits until the user chooses the order. Open with open().
class CsvImportDialog : public QDialog
{
    Q_OBJECT
public:
    // Reads the file at once; a file that cannot be read shows its reason in the dialog.
    CsvImportDialog(MyDocument *document, const QString &path, QWidget *parent = nullptr);

    const CsvImporter::Result &result() const { return pResult; }
    CsvImporter::Options options() const { return pOptions; }
    // Changes one column's mapping and reads the file again.
    void setMapping(int column, CsvField field);
    void setDateOrder(CsvImporter::DateOrder order);
    void setSeparator(QChar separator);
    bool canImport() const;

    QTableWidget *mappingTable() const { return pMapping; }
    QTableWidget *previewTable() const { return pPreview; }
    // Review…; the review it opened while that is open.
    QPushButton *importButton() const { return pImport; }
    ImportDialog *reviewDialog() const { return pReview; }

public slots:
    // Opens the review; the readings are added from there.
    void accept() override;

signals:
    void imported(qsizetype count);

private:
    void reread();
    void fillMapping();
    void fillPreview();
    void updateSummary();
    void onOptionsChanged();

    MyDocument *pDocument;
    QString strPath;
    QByteArray pBytes;
    QString strReadError;
    CsvImporter::Options pOptions;
    CsvImporter::Result pResult;
    bool bFilling = false;

    QComboBox *pSeparator;
    QComboBox *pEncoding;
    QComboBox *pDateOrder;
    QTableWidget *pMapping;
    QTableWidget *pPreview;
    QLabel *pSummary;
    QPlainTextEdit *pProblems;
    QPushButton *pImport;
    QPointer<ImportDialog> pReview;
};
