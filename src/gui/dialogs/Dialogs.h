#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QDialog;
class QWidget;

// Every alert and file dialog of the application goes through here, so that nothing opens a
// nested event loop: the question is shown without blocking and its answer is delivered to a
// callback once the user has chosen. Tests queue answers in advance (setNextAnswer(),
// setNextPath()); a queued answer is delivered on the next turn of the event loop without showing
// anything, and the question is recorded so that the test can check what was asked.
class Dialogs
{
public:
    // An application-modal alert. `stem` names the localised texts: "<stem>.title" and
    // "<stem>.message" (with `arguments` filled into %1, %2, ...), and one key per button,
    // "<stem>.<button>", first button the default. The callback receives the index of the chosen
    // button; Escape or closing the alert chooses the last button when there are several (the
    // cancel button by convention), else the only one.
    static void ask(QWidget *parent, const QString &stem, const QStringList &buttons,
                    std::function<void(int)> done, const QStringList &arguments = {});
    // An alert with one button ("<stem>.ok"); `done` may be empty.
    static void inform(QWidget *parent, const QString &stem, const QStringList &arguments = {},
                       std::function<void()> done = {});
    // An alert whose texts are already localised (a reason from the file reader). `detail`, when
    // given, is the technical reason, shown on request below the message.
    static void informText(QWidget *parent, const QString &title, const QString &message,
                           std::function<void()> done = {}, const QString &detail = {});

    enum class FileMode
    {
        Open,     // an existing file
        OpenMany, // existing files, delivered joined by '\n'
        Save      // a new or existing file; see chooseSavePath() for one with a suffix
    };
    // A file dialog, window-modal on `parent`. `nameFilter` as QFileDialog takes it. The callback
    // receives the chosen path, or an empty string when the user cancelled.
    static void choosePath(QWidget *parent, FileMode mode, const QString &caption,
                           const QString &directory, const QString &nameFilter,
                           std::function<void(QString)> done);

    // A file dialog for a file to write whose name ends in `suffix` ("pdf"). The dialog adds the
    // suffix to a name typed without it before it asks about replacing a file; a name that gets
    // its suffix only afterwards (or from a test's queued path) is asked about here, "file.replace"
    // with Replace / Cancel, and Cancel opens the file dialog again. The callback receives the
    // complete path, or an empty string when the user cancelled.
    static void chooseSavePath(QWidget *parent, const QString &caption, const QString &directory,
                               const QString &nameFilter, const QString &suffix,
                               std::function<void(QString)> done);
    // The path with `.suffix` added unless it ends in it already (in any case).
    static QString withSuffix(const QString &path, const QString &suffix);

    // Makes the window `dialog` belongs to the active window again when the dialog finishes.
    // Window managers mostly do this on their own; without one the keyboard would reach no window.
    static void returnFocusWhenFinished(QDialog *dialog);

    // --- For tests ------------------------------------------------------------------------------
    // Queues the index of the button the next alert answers with.
    static void setNextAnswer(int index);
    // Queues the path the next file dialog answers with (empty: cancelled).
    static void setNextPath(const QString &path);
    // True while answers or paths are queued; a question asked with nothing queued in a test
    // that queued before is a failure the test can detect through unansweredCount().
    static bool hasQueuedAnswers();
    struct Asked
    {
        QString stem;    // the alert's stem, or the file dialog's caption
        QString title;   // localised
        QString message; // localised
        QString detail;  // the technical reason, if any
    };
    // What was asked since the last clearRecord(), oldest first.
    static const QList<Asked> &record();
    static void clearRecord();
    // When set, a question with no queued answer is not shown but recorded and never answered
    // (tests set it so that a forgotten question cannot block them); unansweredCount() counts them.
    static void setTestMode(bool on);
    static int unansweredCount();
};
