#pragma once

#include <QDialog>

class QPlainTextEdit;

// Shows a crash report, or takes the user's feedback with the system details, for the user to
// copy or save; nothing is sent anywhere.
class ReportDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Kind
    {
        Crash,
        Feedback
    };
    ReportDialog(Kind kind, const QString &intro, const QString &details, QWidget *parent);

    // What Copy and Save hand out: the user's text (feedback) followed by the details.
    QString reportText() const;
    QPlainTextEdit *messageEdit() const { return pMessage; }

    void onCopy();
    void onSave();

private:
    Kind nKind;
    QPlainTextEdit *pMessage = nullptr;
    QPlainTextEdit *pDetails;
};
