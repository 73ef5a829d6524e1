#include "DocumentController.h"

#include "Dialogs.h"
#include "MeasurementSheet.h"
#include "MyDocument.h"
#include "PendingEdits.h"
#include "RecentDocuments.h"
#include "RecoveryOffer.h"
#include "RecoveryStore.h"
#include "UndoManager.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>

namespace {

// One spelling per file, so that the same file opened twice is found.
QString normalPath(const QString &path)
{
    if (path.isEmpty())
        return path;
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// What a file looked like when it was read or written, to notice another program's change.
struct DiskState
{
    QDateTime modified;
    qint64 size = -1;
    bool operator==(const DiskState &) const = default;
};

DiskState diskStateOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {info.fileTime(QFileDevice::FileModificationTime), info.size()};
}

// Calls the callback, when there is one, with the outcome.
template <typename... Outcome>
void finish(const std::function<void(Outcome...)> &done, Outcome... outcome)
{
    if (done)
        done(outcome...);
}

// Shows the window in front of the others.
void bringToFront(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

struct DocumentController::Entry
{
    MyDocument *document = nullptr;
    QPointer<QMainWindow> window;
    QString path;
    int untitledNumber = 0; // for a document without a file
    bool bUnautosaved = false;
    qint64 changedAt = 0; // when the first change not yet autosaved came
    QString recoveryId;   // names the recovery copy; empty when there is none
    bool bEverChanged = false;
    bool bClosing = false; // a close question is open, or the window is going
    DiskState disk;        // the file as it was read or last saved
    // A recovered copy of a file that is open in another window: the file it came from.
    QString recoveredFrom;
};

DocumentController::DocumentController(QObject *parent)
    : QObject(parent), pClock([] { return QDateTime::currentMSecsSinceEpoch(); }),
      pRecoveryStore(std::make_unique<RecoveryStore>(fileExtension())),
      pRecentDocuments(new RecentDocuments(this)), pAutosaveTimer(new QTimer(this))
{
    connect(pRecentDocuments, &RecentDocuments::changed, this,
            &DocumentController::recentDocumentsChanged);
    pAutosaveTimer->setObjectName(QStringLiteral("autosaveTimer"));
    pAutosaveTimer->setSingleShot(true);
    connect(pAutosaveTimer, &QTimer::timeout, this, &DocumentController::autosaveDueDocuments);
}

DocumentController::~DocumentController()
{
    for (auto &entry : pEntries) {
        if (entry->window) {
            entry->window->removeEventFilter(this);
            delete entry->window;
        }
        delete entry->document;
    }
}

void DocumentController::setClock(Clock clock)
{
    pClock = std::move(clock);
    scheduleAutosave();
}

void DocumentController::setRecoveryDirectory(const QString &directory)
{
    pRecoveryStore->setDirectory(directory);
}

QString DocumentController::recoveryDirectory() const
{
    return pRecoveryStore->directory();
}

QString DocumentController::fileExtension()
{
    return QStringLiteral("tensilo");
}

QString DocumentController::nameFilter()
{
    //: %1 is the file pattern, *.tensilo
    return qtTrId("doc.file_filter").arg(QStringLiteral("*.") + fileExtension());
}

QString DocumentController::withExtension(const QString &path)
{
    if (path.isEmpty() ||
        QFileInfo(path).suffix().compare(fileExtension(), Qt::CaseInsensitive) == 0)
        return path;
    return path + QLatin1Char('.') + fileExtension();
}

// --- Open documents ----------------------------------------------------------------------------

DocumentController::Entry *DocumentController::entryOf(const MyDocument *document) const
{
    for (const auto &entry : pEntries) {
        if (entry->document == document)
            return entry.get();
    }
    return nullptr;
}

DocumentController::Entry *DocumentController::entryOfWindow(const QObject *window) const
{
    for (const auto &entry : pEntries) {
        if (entry->window && entry->window == window)
            return entry.get();
    }
    return nullptr;
}

QList<MyDocument *> DocumentController::documents() const
{
    QList<MyDocument *> list;
    for (const auto &entry : pEntries)
        list.append(entry->document);
    return list;
}

QMainWindow *DocumentController::windowForDocument(const MyDocument *document) const
{
    const Entry *entry = entryOf(document);
    return entry ? entry->window.data() : nullptr;
}

MyDocument *DocumentController::documentForWindow(const QWidget *widget) const
{
    const Entry *entry = widget ? entryOfWindow(widget->window()) : nullptr;
    return entry ? entry->document : nullptr;
}

MyDocument *DocumentController::documentForPath(const QString &path) const
{
    const QString wanted = normalPath(path);
    for (const auto &entry : pEntries) {
        if (!entry->path.isEmpty() && entry->path == wanted)
            return entry->document;
    }
    return nullptr;
}

MyDocument *DocumentController::currentDocument() const
{
    if (MyDocument *active = documentForWindow(QApplication::activeWindow()))
        return active;
    return pEntries.empty() ? nullptr : pEntries.back()->document;
}

QString DocumentController::filePath(const MyDocument *document) const
{
    const Entry *entry = entryOf(document);
    return entry ? entry->path : QString();
}

QString DocumentController::displayName(const MyDocument *document) const
{
    const Entry *entry = entryOf(document);
    if (!entry)
        return QString();
    if (!entry->path.isEmpty())
        return QFileInfo(entry->path).fileName();
    if (!entry->recoveredFrom.isEmpty())
        //: %1 is the file name of the document the copy was recovered for
        return qtTrId("doc.recovered_name").arg(QFileInfo(entry->recoveredFrom).fileName());
    if (entry->untitledNumber <= 1)
        return qtTrId("doc.untitled");
    //: %1 is a number from 2 on
    return qtTrId("doc.untitled_numbered").arg(entry->untitledNumber);
}

bool DocumentController::isEdited(const MyDocument *document) const
{
    return document && !document->undoManager()->isClean();
}

QWidget *DocumentController::parentFor(const MyDocument *document) const
{
    return windowForDocument(document);
}

int DocumentController::nextUntitledNumber() const
{
    int number = 1;
    for (;;) {
        const bool used = std::any_of(pEntries.begin(), pEntries.end(), [number](const auto &e) {
            return e->path.isEmpty() && e->untitledNumber == number;
        });
        if (!used)
            return number;
        ++number;
    }
}

MyDocument *DocumentController::addDocument(std::unique_ptr<MyDocument> owned, const QString &path,
                                            bool display)
{
    MyDocument *document = owned.release();
    document->setParent(this);
    auto entry = std::make_unique<Entry>();
    entry->document = document;
    entry->path = path;
    if (path.isEmpty())
        entry->untitledNumber = nextUntitledNumber();
    Entry *raw = entry.get();
    pEntries.push_back(std::move(entry));

    UndoManager *undo = document->undoManager();
    connect(undo, &UndoManager::cleanChanged, this,
            [this, document] { onDocumentChanged(document); });
    connect(undo, &UndoManager::stepsChanged, this,
            [this, document] { onDocumentChanged(document); });

    if (pWindowFactory) {
        raw->window = pWindowFactory(document);
        if (raw->window) {
            raw->window->installEventFilter(this);
            updateTitle(raw);
            if (display)
                bringToFront(raw->window);
        }
    }
    emit documentsChanged();
    return document;
}

void DocumentController::updateTitle(Entry *entry)
{
    if (entry->window) {
        entry->window->setWindowTitle(displayName(entry->document) + QStringLiteral("[*]"));
        entry->window->setWindowFilePath(entry->path);
        entry->window->setWindowModified(isEdited(entry->document));
    }
    emit documentStateChanged(entry->document);
}

// --- New, open ---------------------------------------------------------------------------------

MyDocument *DocumentController::newDocument()
{
    return addDocument(std::make_unique<MyDocument>(), QString(), true);
}

void DocumentController::openDocument()
{
    QString directory = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (const QString current = filePath(currentDocument()); !current.isEmpty())
        directory = QFileInfo(current).absolutePath();
    Dialogs::choosePath(parentFor(currentDocument()), Dialogs::FileMode::OpenMany,
                        qtTrId("doc.open.caption"), directory, nameFilter(),
                        [this](const QString &paths) {
                            if (!paths.isEmpty())
                                openFiles(paths.split(QLatin1Char('\n'), Qt::SkipEmptyParts));
                        });
}

MyDocument *DocumentController::openDocumentWithContentsOfFile(const QString &path, bool display,
                                                               QString *error, QString *detail)
{
    const QString normal = normalPath(path);
    if (MyDocument *open = documentForPath(normal)) {
        if (QMainWindow *window = windowForDocument(open); window && display)
            bringToFront(window);
        return open;
    }
    auto document = std::make_unique<MyDocument>();
    QString reason;
    const DiskState disk = diskStateOf(normal);
    if (!document->readFromFile(normal, &reason, detail)) {
        if (error)
            *error = reason;
        return nullptr;
    }
    MyDocument *opened = addDocument(std::move(document), normal, display);
    entryOf(opened)->disk = disk;
    noteNewRecentDocument(normal);
    closePristineUntitled(opened);
    return opened;
}

int DocumentController::openFiles(const QStringList &paths)
{
    int opened = 0;
    for (const QString &path : paths) {
        QString error;
        QString detail;
        if (openDocumentWithContentsOfFile(path, true, &error, &detail)) {
            ++opened;
        } else {
            //: %1 is the file name
            Dialogs::informText(parentFor(currentDocument()),
                                qtTrId("doc.open_failed.title").arg(QFileInfo(path).fileName()),
                                error, {}, detail);
        }
    }
    return opened;
}

// A single untitled document that was never changed (made at launch) gives way to the document
// the user opens instead.
void DocumentController::closePristineUntitled(MyDocument *except)
{
    if (pEntries.size() != 2)
        return;
    for (const auto &entry : pEntries) {
        if (entry->document != except && entry->path.isEmpty() && !entry->bEverChanged &&
            !entry->bClosing && !isEdited(entry->document)) {
            reallyClose(entry->document);
            return;
        }
    }
}

// --- Recent documents --------------------------------------------------------------------------

QStringList DocumentController::recentDocumentURLs() const
{
    return pRecentDocuments->paths();
}

void DocumentController::noteNewRecentDocument(const QString &path)
{
    pRecentDocuments->note(normalPath(path));
}

void DocumentController::removeRecentDocument(const QString &path)
{
    pRecentDocuments->remove(path);
}

void DocumentController::clearRecentDocuments()
{
    pRecentDocuments->clear();
}

void DocumentController::openRecentDocument(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        removeRecentDocument(path);
        Dialogs::inform(parentFor(currentDocument()), QStringLiteral("doc.recent_missing"),
                        {QFileInfo(path).fileName(), path});
        return;
    }
    openFiles({path});
}

// --- Save, revert, close -----------------------------------------------------------------------

namespace {

// What the user typed in the document's windows but has not ended goes into the document
// before it is saved or closed. False while a window asks about text it cannot apply; after the
// answer, `again` starts the operation over, or `done(false)` ends it when the user backed out
// or the document went away meanwhile.
bool commitWindows(MyDocument *document, const std::function<void(MyDocument *)> &again,
                   const std::function<void(bool)> &done)
{
    QPointer<MyDocument> pending(document);
    const auto then = [pending, again, done](bool proceed) {
        if (proceed && pending)
            again(pending);
        else if (done)
            done(false);
    };
    for (QObject *controller : document->windowControllers()) {
        if (auto *edits = dynamic_cast<PendingEdits *>(controller);
            edits && !edits->commitEditing(then))
            return false;
    }
    return true;
}

} // namespace

void DocumentController::saveDocument(MyDocument *document, std::function<void(bool)> done)
{
    Entry *entry = entryOf(document);
    if (!entry) {
        finish(done, false);
        return;
    }
    if (!commitWindows(
            document, [this, done](MyDocument *again) { saveDocument(again, done); }, done))
        return;
    if (entry->path.isEmpty() && !entry->recoveredFrom.isEmpty()) {
        saveRecovered(document, std::move(done));
        return;
    }
    if (entry->path.isEmpty()) {
        saveDocumentAs(document, std::move(done));
        return;
    }
    if (diskStateOf(entry->path) == entry->disk || !QFileInfo::exists(entry->path)) {
        const bool saved = saveDocumentToPath(document, entry->path);
        finish(done, saved);
        return;
    }
    // Another program (a synced folder, another computer, an editor) changed the file since it
    // was read or saved here: saving now would silently throw its change away.
    QPointer<MyDocument> guard(document);
    Dialogs::ask(
        parentFor(document), QStringLiteral("doc.changed_on_disk"),
        {QStringLiteral("save_anyway"), QStringLiteral("revert"), QStringLiteral("cancel")},
        [this, guard, done](int answer) {
            Entry *entry = guard ? entryOf(guard) : nullptr;
            bool saved = false;
            if (entry && answer == 0)
                saved = saveDocumentToPath(guard, entry->path);
            else if (entry && answer == 1)
                revertNow(guard);
            finish(done, saved);
        },
        {displayName(document)});
}

// A recovered copy of a file open in another window: replacing the file is asked first, and the
// other window (which shows what the file held) goes when it has no changes of its own.
void DocumentController::saveRecovered(MyDocument *document, std::function<void(bool)> done)
{
    Entry *entry = entryOf(document);
    const QString original = entry->recoveredFrom;
    QPointer<MyDocument> guard(document);
    Dialogs::ask(parentFor(document), QStringLiteral("doc.save_recovered"),
                 {QStringLiteral("replace"), QStringLiteral("save_as"), QStringLiteral("cancel")},
                 [this, guard, done, original](int answer) {
                     if (!guard || !entryOf(guard) || answer == 2) {
                         finish(done, false);
                         return;
                     }
                     if (answer == 1) {
                         saveDocumentAs(guard, done);
                         return;
                     }
                     MyDocument *other = documentForPath(original);
                     if (other && isEdited(other)) {
                         Dialogs::inform(parentFor(guard), QStringLiteral("doc.save_as_open"),
                                         {QFileInfo(original).fileName()});
                         finish(done, false);
                         return;
                     }
                     if (other)
                         reallyClose(other);
                     const bool saved = saveDocumentToPath(guard, original);
                     finish(done, saved);
                 },
                 {QFileInfo(original).fileName()});
}

void DocumentController::saveDocumentAs(MyDocument *document, std::function<void(bool)> done)
{
    Entry *entry = entryOf(document);
    if (!entry) {
        finish(done, false);
        return;
    }
    if (!commitWindows(
            document, [this, done](MyDocument *again) { saveDocumentAs(again, done); }, done))
        return;
    QString suggested = entry->path.isEmpty() ? entry->recoveredFrom : entry->path;
    if (suggested.isEmpty())
        suggested = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                    QLatin1Char('/') + withExtension(displayName(document));
    QPointer<MyDocument> guard(document);
    Dialogs::chooseSavePath(
        parentFor(document), qtTrId("doc.save_as.caption"), suggested, nameFilter(),
        fileExtension(), [this, guard, done](const QString &chosen) {
            bool saved = false;
            if (guard && entryOf(guard) && !chosen.isEmpty()) {
                const QString path = normalPath(chosen);
                MyDocument *other = documentForPath(path);
                if (other && other != guard) {
                    // Saving over a file another window has open would leave two
                    // documents on one file, the later save silently undoing the
                    // earlier.
                    Dialogs::inform(parentFor(guard), QStringLiteral("doc.save_as_open"),
                                    {QFileInfo(path).fileName()});
                } else {
                    saved = saveDocumentToPath(guard, path);
                }
            }
            finish(done, saved);
        });
}

bool DocumentController::saveDocumentToPath(MyDocument *document, const QString &path)
{
    Entry *entry = entryOf(document);
    if (!entry)
        return false;
    QString error;
    if (!document->writeToFile(path, &error)) {
        //: %1 is the file name
        Dialogs::informText(parentFor(document),
                            qtTrId("doc.save_failed.title").arg(QFileInfo(path).fileName()), error);
        return false;
    }
    entry->path = normalPath(path);
    entry->untitledNumber = 0;
    entry->recoveredFrom.clear();
    entry->disk = diskStateOf(entry->path);
    removeRecovery(entry);
    noteNewRecentDocument(entry->path);
    updateTitle(entry);
    return true;
}

void DocumentController::revertDocumentToSaved(MyDocument *document)
{
    Entry *entry = entryOf(document);
    if (!entry || entry->path.isEmpty() || !isEdited(document))
        return;
    QPointer<MyDocument> guard(document);
    Dialogs::ask(parentFor(document), QStringLiteral("doc.revert"),
                 {QStringLiteral("revert"), QStringLiteral("cancel")},
                 [this, guard](int answer) {
                     if (answer == 0 && guard && entryOf(guard))
                         revertNow(guard);
                 },
                 {displayName(document)});
}

bool DocumentController::revertNow(MyDocument *document)
{
    Entry *entry = entryOf(document);
    QString error;
    QString detail;
    const DiskState disk = diskStateOf(entry->path);
    if (!document->readFromFile(entry->path, &error, &detail)) {
        // The document is as it was, and still edited.
        //: %1 is the file name
        Dialogs::informText(parentFor(document),
                            qtTrId("doc.revert_failed.title").arg(displayName(document)), error, {},
                            detail);
        return false;
    }
    entry->disk = disk;
    removeRecovery(entry);
    updateTitle(entry);
    return true;
}

void DocumentController::closeDocument(MyDocument *document, std::function<void(bool)> done)
{
    Entry *entry = entryOf(document);
    if (!entry || entry->bClosing) {
        finish(done, false);
        return;
    }
    if (!commitWindows(
            document, [this, done](MyDocument *again) { closeDocument(again, done); }, done))
        return;
    if (!isEdited(document) && !openEditor(document)) {
        reallyClose(document);
        finish(done, true);
        return;
    }
    if (entry->window)
        bringToFront(entry->window);
    entry->bClosing = true;
    QPointer<MyDocument> guard(document);
    Dialogs::ask(parentFor(document), QStringLiteral("doc.close_unsaved"),
                 {QStringLiteral("save"), QStringLiteral("dont_save"), QStringLiteral("cancel")},
                 [this, guard, done](int answer) {
                     Entry *entry = guard ? entryOf(guard) : nullptr;
                     if (!entry) {
                         finish(done, true);
                         return;
                     }
                     entry->bClosing = false;
                     if (answer == 0) {
                         // The reading in an open editor goes into the document first; when
                         // its values are refused the editor says why and stays open.
                         if (MeasurementSheet *editor = openEditor(guard)) {
                             if (!editor->confirm()) {
                                 finish(done, false);
                                 return;
                             }
                         }
                         saveDocument(guard, [this, guard, done](bool saved) {
                             if (saved && guard)
                                 reallyClose(guard);
                             finish(done, saved);
                         });
                     } else if (answer == 1) {
                         reallyClose(guard);
                         finish(done, true);
                     } else if (done) {
                         done(false);
                     }
                 },
                 {displayName(document)});
}

MeasurementSheet *DocumentController::openEditor(const MyDocument *document) const
{
    const QMainWindow *window = windowForDocument(document);
    if (!window)
        return nullptr;
    for (MeasurementSheet *sheet : window->findChildren<MeasurementSheet *>()) {
        if (sheet->isVisible() && sheet->hasChanges())
            return sheet;
    }
    return nullptr;
}

void DocumentController::reallyClose(MyDocument *document)
{
    auto it = std::find_if(pEntries.begin(), pEntries.end(),
                           [document](const auto &e) { return e->document == document; });
    if (it == pEntries.end())
        return;
    std::unique_ptr<Entry> entry = std::move(*it);
    pEntries.erase(it);
    removeRecovery(entry.get());
    if (entry->window) {
        entry->window->removeEventFilter(this);
        entry->window->hide();
        entry->window->deleteLater();
    }
    disconnect(document->undoManager(), nullptr, this, nullptr);
    document->deleteLater();
    emit documentsChanged();
    scheduleAutosave();
    if (pEntries.empty())
        emit lastDocumentClosed();
}

void DocumentController::closeAllDocuments(std::function<void(bool)> done)
{
    QList<QPointer<MyDocument>> remaining;
    for (const auto &entry : pEntries)
        remaining.append(entry->document);
    closeNext(remaining, std::move(done));
}

void DocumentController::closeNext(QList<QPointer<MyDocument>> remaining,
                                   std::function<void(bool)> done)
{
    while (!remaining.isEmpty() && !remaining.first())
        remaining.removeFirst();
    if (remaining.isEmpty()) {
        finish(done, true);
        return;
    }
    MyDocument *document = remaining.takeFirst();
    closeDocument(document, [this, remaining, done](bool closed) {
        if (!closed) {
            finish(done, false);
            return;
        }
        closeNext(remaining, done);
    });
}

bool DocumentController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close) {
        if (Entry *entry = entryOfWindow(watched)) {
            // The window stays until the document has been closed here.
            event->ignore();
            MyDocument *document = entry->document;
            QTimer::singleShot(0, this, [this, guard = QPointer<MyDocument>(document)] {
                if (guard)
                    closeDocument(guard);
            });
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

// --- Autosave ----------------------------------------------------------------------------------

void DocumentController::setAutosavingDelay(double seconds)
{
    fAutosavingDelay = std::max(0.0, seconds);
    scheduleAutosave();
}

bool DocumentController::hasUnautosavedChanges(const MyDocument *document) const
{
    const Entry *entry = entryOf(document);
    return entry && entry->bUnautosaved;
}

QString DocumentController::recoveryPathOf(const MyDocument *document) const
{
    const Entry *entry = entryOf(document);
    if (!entry || entry->recoveryId.isEmpty())
        return QString();
    return pRecoveryStore->copyPath(entry->recoveryId);
}

void DocumentController::onDocumentChanged(MyDocument *document)
{
    Entry *entry = entryOf(document);
    if (!entry)
        return;
    updateTitle(entry);
    if (isEdited(document)) {
        entry->bEverChanged = true;
        if (!entry->bUnautosaved) {
            entry->bUnautosaved = true;
            entry->changedAt = now();
        }
    } else {
        // Back at the saved state (a save, or undoing to it): there is nothing to recover.
        entry->bUnautosaved = false;
        removeRecovery(entry);
    }
    scheduleAutosave();
}

void DocumentController::scheduleAutosave()
{
    pAutosaveTimer->stop();
    if (fAutosavingDelay <= 0)
        return;
    const qint64 delay = qint64(fAutosavingDelay * 1000);
    qint64 earliest = std::numeric_limits<qint64>::max();
    for (const auto &entry : pEntries) {
        if (entry->bUnautosaved)
            earliest = std::min(earliest, entry->changedAt + delay);
    }
    if (earliest == std::numeric_limits<qint64>::max())
        return;
    pAutosaveTimer->start(int(std::clamp<qint64>(earliest - now(), 0, 24 * 3600 * 1000)));
}

void DocumentController::autosaveDueDocuments()
{
    if (fAutosavingDelay <= 0)
        return;
    const qint64 delay = qint64(fAutosavingDelay * 1000);
    const qint64 moment = now();
    QList<MyDocument *> due;
    for (const auto &entry : pEntries) {
        if (entry->bUnautosaved && moment - entry->changedAt >= delay)
            due.append(entry->document);
    }
    for (MyDocument *document : due)
        autosaveDocument(document);
    scheduleAutosave();
}

bool DocumentController::autosaveDocument(MyDocument *document)
{
    Entry *entry = entryOf(document);
    if (!entry)
        return false;
    if (!isEdited(document)) {
        entry->bUnautosaved = false;
        removeRecovery(entry);
        return true;
    }
    if (!pRecoveryStore->makeDirectory()) {
        qWarning("Autosave: cannot make %s", qPrintable(pRecoveryStore->directory()));
        entry->changedAt = now(); // try again after another delay, not at once
        return false;
    }
    RecoveryStore::Original original;
    original.path = entry->path.isEmpty() ? entry->recoveredFrom : entry->path;
    if (entry->disk.size >= 0) {
        original.modified = entry->disk.modified;
        original.size = entry->disk.size;
    }
    original.displayName = displayName(document);
    QString error;
    if (!pRecoveryStore->write(*document, &entry->recoveryId, original, &error)) {
        qWarning("Autosave of %s failed: %s", qPrintable(displayName(document)), qPrintable(error));
        entry->changedAt = now(); // try again after another delay
        return false;
    }
    entry->bUnautosaved = false;
    return true;
}

void DocumentController::removeRecovery(Entry *entry)
{
    pRecoveryStore->remove(entry->recoveryId);
    entry->recoveryId.clear();
}

// --- Recovery ----------------------------------------------------------------------------------

QList<DocumentController::Recovery> DocumentController::pendingRecoveries() const
{
    QStringList ours;
    for (const auto &entry : pEntries) {
        if (!entry->recoveryId.isEmpty())
            ours.append(entry->recoveryId);
    }
    return pRecoveryStore->pending(ours);
}

MyDocument *DocumentController::recoverDocument(const Recovery &recovery, QString *error)
{
    auto document = std::make_unique<MyDocument>();
    if (!document->readFromFile(recovery.dataPath, error))
        return nullptr;
    // Tied to its file unless that file is open in another window already; then it is named
    // after the file, and saving it asks before replacing the file.
    QString path = normalPath(recovery.originalPath);
    QString recoveredFrom;
    if (!path.isEmpty() && documentForPath(path))
        std::swap(path, recoveredFrom);
    MyDocument *recovered = addDocument(std::move(document), QString(), true);
    Entry *entry = entryOf(recovered);
    entry->path = path;
    entry->recoveredFrom = recoveredFrom;
    if (!path.isEmpty() || !recoveredFrom.isEmpty())
        entry->untitledNumber = 0;
    // The file as the crashed session knew it: a later change by another program is asked about
    // when this document is saved over it.
    if (!path.isEmpty())
        entry->disk =
            recovery.originalSize >= 0
                ? DiskState{recovery.originalModified.toLocalTime(), recovery.originalSize}
                : diskStateOf(path);
    // The copy stays as this document's recovery copy until it is saved or closed.
    entry->recoveryId = RecoveryStore::idOf(recovery);
    entry->bEverChanged = true;
    recovered->undoManager()->setDirty();
    entry->bUnautosaved = false;
    updateTitle(entry);
    closePristineUntitled(recovered);
    scheduleAutosave();
    return recovered;
}

void DocumentController::discardRecovery(const Recovery &recovery)
{
    RecoveryStore::discard(recovery);
}

void DocumentController::offerRecoveries(std::function<void()> done)
{
    RecoveryOffer::offer(this, pendingRecoveries(), std::move(done));
}
