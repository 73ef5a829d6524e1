#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

// Crash reports and user feedback, kept on this computer: nothing is sent anywhere. Once the
// handlers are installed, a fatal signal writes a report (signal, time, version, Qt version, a
// backtrace) with async-signal-safe calls only; the next launch finds it and offers it in a
// dialog the user can copy from or save. Feedback opens a dialog with a text field and the system
// details, likewise to copy or save.
class CrashReporter : public QObject
{
    Q_OBJECT
public:
    static CrashReporter *sharedReporter();

    explicit CrashReporter(QObject *parent = nullptr);
    ~CrashReporter() override;

    // Where the report of a crash is written (default: "crashes" under the application's data
    // location). Set it before installHandlers().
    void setReportDirectory(const QString &directory);
    QString reportDirectory() const { return strDirectory; }
    QString crashReportPath() const;

    // Catches SIGSEGV, SIGBUS, SIGILL, SIGFPE and SIGABRT; after writing the report the signal
    // takes its default course, so the process still ends as it would have.
    void installHandlers();

    bool hasCrashReport() const;
    // When the last run crashed: shows its report and removes it from disk, so that it is offered
    // once. Returns whether there was one.
    bool reportIfCrash(QWidget *parent = nullptr);
    void reportFeedback(QWidget *parent = nullptr);

    // The dialog shown last, while it is open (for tests).
    QDialog *currentDialog() const { return pDialog; }

    // Version, Qt version, system; the head of every report.
    static QString systemDetails();

private:
    QString strDirectory;
    QPointer<QDialog> pDialog;
};
