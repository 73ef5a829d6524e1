#pragma once

#include "RecentDocuments.h"
#include "RecoveryStore.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class MeasurementSheet;
class MyDocument;
class QMainWindow;
class QTimer;

// Opens, saves, reverts and closes documents, one window each; notes them in the recent
// documents (RecentDocuments); autosaves edited documents to recovery copies and offers the
// copies an earlier run left behind (the copies themselves are RecoveryStore's). Every question and
// file dialog goes through Dialogs, so nothing here runs a nested event loop: operations that may
// ask take a callback that receives the outcome.
//
// A document's window comes from the window factory. The window never closes or saves its
// document itself: a close request on it comes here (the controller watches its close events).
//
// Autosave never writes the user's file: it writes the document's recovery copy. A save, a revert
// and closing without saving remove the copy; a copy found at the next launch was left by a crash
// or a kill.
class DocumentController : public QObject
{
    Q_OBJECT
public:
    using WindowFactory = std::function<QMainWindow *(MyDocument *document)>;
    // Milliseconds on any steady scale; tests move it by hand.
    using Clock = std::function<qint64()>;

    explicit DocumentController(QObject *parent = nullptr);
    ~DocumentController() override;

    void setWindowFactory(WindowFactory factory) { pWindowFactory = std::move(factory); }
    void setClock(Clock clock);
    qint64 now() const { return pClock(); }

    // The folder of recovery copies (default: "recovery" under the application's data location).
    void setRecoveryDirectory(const QString &directory);
    QString recoveryDirectory() const;

    static QString fileExtension(); // "tensilo"
    static QString nameFilter();    // for the file dialogs
    // The path with the document extension added when it has none.
    static QString withExtension(const QString &path);

    // --- Open documents -------------------------------------------------------------------------
    QList<MyDocument *> documents() const;
    QMainWindow *windowForDocument(const MyDocument *document) const;
    // The document of a window (or of a widget inside one), else null.
    MyDocument *documentForWindow(const QWidget *widget) const;
    MyDocument *documentForPath(const QString &path) const;
    // The document of the active window, else the one opened last.
    MyDocument *currentDocument() const;
    QString filePath(const MyDocument *document) const;
    // The file name, or "Untitled", "Untitled 2", ...
    QString displayName(const MyDocument *document) const;
    bool isEdited(const MyDocument *document) const;

    // --- New, open ------------------------------------------------------------------------------
    MyDocument *newDocument();
    // Asks for files and opens them.
    void openDocument();
    // Opens a file, or raises the window of the document that has it open already. On failure
    // nothing opens, *error holds the reader's message in plain words and *detail its technical
    // reason, and null is returned; nothing is shown.
    MyDocument *openDocumentWithContentsOfFile(const QString &path, bool display,
                                               QString *error = nullptr, QString *detail = nullptr);
    // Opens each file, showing a message for each one that cannot be opened. Returns how many
    // opened.
    int openFiles(const QStringList &paths);

    // --- Recent documents -----------------------------------------------------------------------
    static constexpr int kMaxRecentDocuments = RecentDocuments::kMaxCount;
    // Newest first.
    QStringList recentDocumentURLs() const;
    void noteNewRecentDocument(const QString &path);
    void removeRecentDocument(const QString &path);
    void clearRecentDocuments();
    // "Open Recent": a file that has vanished is removed from the list with a message.
    void openRecentDocument(const QString &path);

    // --- Save, revert, close --------------------------------------------------------------------
    // Asks Save Anyway / Revert / Cancel first when another program changed the file since it
    // was read or saved here (its modification time or size differ).
    void saveDocument(MyDocument *document, std::function<void(bool saved)> done = {});
    void saveDocumentAs(MyDocument *document, std::function<void(bool saved)> done = {});
    // Saves to the path; shows the reason when it fails (the old file stays as it was).
    bool saveDocumentToPath(MyDocument *document, const QString &path);
    // Asks, then reads the saved file back into the document.
    void revertDocumentToSaved(MyDocument *document);
    // Asks Save / Don't Save / Cancel when the document is edited or a reading editor on its
    // window has changes; `done` tells whether it closed.
    void closeDocument(MyDocument *document, std::function<void(bool closed)> done = {});
    // Closes the documents one after another; stops at the first Cancel.
    void closeAllDocuments(std::function<void(bool allClosed)> done);

    // --- Autosave -------------------------------------------------------------------------------
    // Seconds after the first change not yet autosaved; 0 turns autosaving off.
    void setAutosavingDelay(double seconds);
    double autosavingDelay() const { return fAutosavingDelay; }
    bool hasUnautosavedChanges(const MyDocument *document) const;
    // Writes the document's recovery copy now (or removes it when the document is clean).
    bool autosaveDocument(MyDocument *document);
    // Autosaves every document whose delay is over by the clock. The controller's timer calls it.
    void autosaveDueDocuments();
    QString recoveryPathOf(const MyDocument *document) const;

    // --- Recovery -------------------------------------------------------------------------------
    using Recovery = RecoveryStore::Recovery;
    // Recovery copies that belong to no open document (left by an earlier run), oldest first.
    QList<Recovery> pendingRecoveries() const;
    // Opens the copy as an edited document tied to its original file.
    MyDocument *recoverDocument(const Recovery &recovery, QString *error = nullptr);
    void discardRecovery(const Recovery &recovery);
    // Asks Recover / Discard / Later for each pending copy, then calls `done`. Later keeps the
    // copy for the next launch.
    void offerRecoveries(std::function<void()> done = {});

signals:
    void documentsChanged();
    void recentDocumentsChanged();
    void lastDocumentClosed();
    // A document's title or edited mark changed.
    void documentStateChanged(MyDocument *document);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Entry;
    Entry *entryOf(const MyDocument *document) const;
    Entry *entryOfWindow(const QObject *window) const;
    MyDocument *addDocument(std::unique_ptr<MyDocument> document, const QString &path,
                            bool display);
    void updateTitle(Entry *entry);
    void onDocumentChanged(MyDocument *document);
    void scheduleAutosave();
    void removeRecovery(Entry *entry);
    void reallyClose(MyDocument *document);
    void saveRecovered(MyDocument *document, std::function<void(bool)> done);
    bool revertNow(MyDocument *document);
    // A reading editor open on the document's window with changes not yet in the document.
    MeasurementSheet *openEditor(const MyDocument *document) const;
    void closeNext(QList<QPointer<MyDocument>> remaining, std::function<void(bool)> done);
    void closePristineUntitled(MyDocument *except);
    int nextUntitledNumber() const;
    QWidget *parentFor(const MyDocument *document) const;

    std::vector<std::unique_ptr<Entry>> pEntries;
    WindowFactory pWindowFactory;
    Clock pClock;
    std::unique_ptr<RecoveryStore> pRecoveryStore;
    RecentDocuments *pRecentDocuments;
    double fAutosavingDelay = 0;
    QTimer *pAutosaveTimer;
};
