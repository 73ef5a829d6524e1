#pragma once

#include <QChar>
#include <QDialog>

class MyDocument;
class QCheckBox;
class QComboBox;
class QLabel;

// File › Export › Readings as CSV…: the separator (comma, semicolon or tab; a semicolon by
// default where the locale writes numbers with a decimal comma) and whether every reading with
// every value is exported or the filtered readings with the values the preferences show. Export…
// asks for the file through Dialogs::choosePath and writes it; a failure is shown and the dialog
// stays open. Open it with open().
class CsvExportDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CsvExportDialog(MyDocument *document, QWidget *parent = nullptr);

    QChar separator() const;
    void setSeparator(QChar separator);
    bool exportsAll() const;
    void setExportsAll(bool all);

    // The directory the file dialog starts in.
    void setDirectory(const QString &directory) { strDirectory = directory; }

public slots:
    void accept() override;

signals:
    // The file was written.
    void exported(const QString &path);

private:
    void updateSummary();

    MyDocument *pDocument;
    QComboBox *pSeparator;
    QCheckBox *pAll;
    QLabel *pSummary;
    QString strDirectory;
};
