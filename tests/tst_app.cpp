// The application shell through its seams: documents opened, saved, reverted and closed with
// every answer, recent documents, the launch decision, autosave by an injected clock, the menus.

#include "ApplicationMenus.h"
#include "Dialogs.h"
#include "DocumentController.h"
#include "Measurement.h"
#include "MeasurementSheet.h"
#include "MyAppDelegate.h"
#include "MyDocument.h"
#include "MyWindowController.h"
#include "PageGrid.h"
#include "Preferences.h"
#include "PreferencesWndController.h"
#include "TestMain.h"
#include "UndoManager.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>

namespace {

const Date kNoon = Date::fromTimeIntervalSince1970(1710504000.0);

void addReadings(MyDocument *document, int count, int first = 0)
{
    MeasurementList readings;
    for (int i = 0; i < count; ++i)
        readings.append(Measurement::create(kNoon.addingSeconds((first + i) * 3600.0), 120, 80));
    document->addMeasurements(readings);
    document->undoManager()->closeGroup(); // as the end of the event loop's turn would
}

constexpr auto contents = &TestSupport::readFile;

// How many readings the file holds, -1 when it does not read.
qsizetype readingsIn(const QString &file)
{
    MyDocument document;
    return document.readFromFile(file) ? document.allItems().size() : -1;
}

// Runs the event loop until queued dialog answers and deferred deletions are delivered.
void settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

} // namespace

class TestApp : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> pDir;
    std::unique_ptr<DocumentController> pController;
    qint64 nClock = 0;

    QString path(const QString &name) const { return pDir->filePath(name); }
    DocumentController &controller() { return *pController; }

    // A saved document with `count` readings at `name`.
    QString savedFile(const QString &name, int count)
    {
        MyDocument document;
        addReadings(&document, count);
        const QString file = path(name);
        if (!document.writeToFile(file))
            qFatal("cannot write %s", qPrintable(file));
        return file;
    }

    // The application's own windows, with their menus, as the program makes them.
    void useDocumentWindows(MyAppDelegate *delegate = nullptr)
    {
        DocumentController *owner = pController.get();
        pController->setWindowFactory([owner, delegate](MyDocument *document) {
            auto *window = new MyWindowController(document);
            ApplicationMenus::install(window, owner, delegate);
            return window;
        });
    }
    // Shows the document's window, active, as a click on it would leave it.
    QMainWindow *activeWindow(MyDocument *document)
    {
        QMainWindow *window = controller().windowForDocument(document);
        window->activateWindow();
        return QTest::qWaitForWindowActive(window) ? window : nullptr;
    }
    // A run that opened the file, added two readings, autosaved them and was killed: its
    // recovery copy stays behind.
    bool leaveRecoveryCopy(const QString &file)
    {
        DocumentController crashed;
        crashed.setRecoveryDirectory(path(u"recovery"_s));
        MyDocument *document = crashed.openDocumentWithContentsOfFile(file, false);
        addReadings(document, 2, 10);
        const bool saved = crashed.autosaveDocument(document);
        // Closing would remove the copy: the controller goes looking elsewhere.
        crashed.setRecoveryDirectory(path(u"elsewhere"_s));
        return saved;
    }
    static QStringList askedStems()
    {
        QStringList stems;
        for (const Dialogs::Asked &asked : Dialogs::record())
            stems.append(asked.stem);
        return stems;
    }

private slots:
    void init()
    {
        Preferences::useTemporaryStore();
        pDir = std::make_unique<QTemporaryDir>();
        pController = std::make_unique<DocumentController>();
        pController->setRecoveryDirectory(path(u"recovery"_s));
        nClock = 0;
        pController->setClock([this] { return nClock; });
        // A bare window: these cases are about the controller, not the document window.
        pController->setWindowFactory([](MyDocument *) { return new QMainWindow; });
        Dialogs::clearRecord();
    }

    void cleanup()
    {
        QCOMPARE(Dialogs::unansweredCount(), 0);
        QVERIFY(!Dialogs::hasQueuedAnswers());
        pController.reset();
        settle();
    }

    void untitledTitlesFollowTheCleanState()
    {
        MyDocument *first = controller().newDocument();
        MyDocument *second = controller().newDocument();
        QMainWindow *window = controller().windowForDocument(first);
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), u"Untitled[*]"_s);
        QCOMPARE(controller().windowForDocument(second)->windowTitle(), u"Untitled 2[*]"_s);
        QVERIFY(!window->isWindowModified());

        addReadings(first, 1);
        QVERIFY(window->isWindowModified());
        first->undoManager()->undo();
        QVERIFY(!window->isWindowModified()); // back at the saved state
        first->undoManager()->redo();
        QVERIFY(window->isWindowModified());

        // The lowest free number is used again.
        controller().closeDocument(second);
        QCOMPARE(controller().documents().size(), 1);
        MyDocument *third = controller().newDocument();
        QCOMPARE(controller().displayName(third), u"Untitled 2"_s);
        first->undoManager()->undo(); // nothing left to save (closing with changes: its own test)
    }

    // Save asks for a name the first time, adds the extension, makes the document clean,
    // retitles the window and notes the file as recent; Save As moves the document to a copy.
    void saveAndSaveAs()
    {
        MyDocument *document = controller().newDocument();
        addReadings(document, 3);
        Dialogs::setNextPath(path(u"blood"_s));
        bool saved = false;
        controller().saveDocument(document, [&](bool s) { saved = s; });
        settle();
        QVERIFY(saved);
        const QString file = QFileInfo(path(u"blood.tensilo"_s)).canonicalFilePath();
        QCOMPARE(controller().filePath(document), file);
        QVERIFY(!controller().isEdited(document));
        QCOMPARE(controller().windowForDocument(document)->windowTitle(), u"blood.tensilo[*]"_s);
        QCOMPARE(controller().recentDocumentURLs(), QStringList{file});
        QCOMPARE(readingsIn(file), 3);

        // A second Save asks nothing.
        addReadings(document, 1, 10);
        controller().saveDocument(document);
        QCOMPARE(Dialogs::record().size(), 1);
        QCOMPARE(readingsIn(file), 4);

        // Save As: the document moves to the new file, the old one stays as it was.
        const QByteArray before = contents(file);
        addReadings(document, 1, 20);
        Dialogs::setNextPath(path(u"copy.TENSILO"_s));
        controller().saveDocumentAs(document);
        settle();
        QCOMPARE(QFileInfo(controller().filePath(document)).fileName(), u"copy.TENSILO"_s);
        QCOMPARE(contents(file), before);
        QCOMPARE(controller().recentDocumentURLs().first(), controller().filePath(document));

        // Cancelling the dialog saves nothing.
        addReadings(document, 1, 30);
        Dialogs::setNextPath(QString());
        saved = true;
        controller().saveDocumentAs(document, [&](bool s) { saved = s; });
        settle();
        QVERIFY(!saved);
        QVERIFY(controller().isEdited(document));
    }

    // Saving over a file that another window has open is refused.
    void saveAsOverAnOpenFile()
    {
        const QString file = savedFile(u"a.tensilo"_s, 2);
        QVERIFY(controller().openDocumentWithContentsOfFile(file, true));
        MyDocument *other = controller().newDocument();
        addReadings(other, 1);
        const QByteArray before = contents(file);
        Dialogs::setNextPath(file);
        Dialogs::setNextAnswer(0);
        controller().saveDocumentAs(other);
        settle();
        QCOMPARE(Dialogs::record().last().stem, u"doc.save_as_open"_s);
        QCOMPARE(contents(file), before);
        QVERIFY(controller().filePath(other).isEmpty());
        other->undoManager()->undo();
    }

    // A name typed without the extension gets it after the file dialog has looked for the name
    // as typed: the file it then names is asked about before it is replaced.
    void saveAsAsksBeforeReplacingTheCompletedName()
    {
        useDocumentWindows();
        const QString existing = savedFile(u"blood.tensilo"_s, 2);
        const QByteArray before = contents(existing);
        MyDocument *document = controller().newDocument();
        QMainWindow *window = activeWindow(document);
        QVERIFY(window);
        addReadings(document, 1);
        const QString caption = qtTrId("doc.save_as.caption");

        Dialogs::setNextPath(path(u"blood"_s));
        Dialogs::setNextAnswer(1);       // Cancel: back to the file dialog,
        Dialogs::setNextPath(QString()); // which is cancelled
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
        settle();
        QCOMPARE(askedStems(), (QStringList{caption, u"file.replace"_s, caption}));
        QVERIFY(Dialogs::record().at(1).message.contains(u"blood.tensilo"_s));
        QCOMPARE(contents(existing), before);
        QVERIFY(controller().isEdited(document));

        Dialogs::clearRecord();
        Dialogs::setNextPath(path(u"blood"_s));
        Dialogs::setNextAnswer(0); // Replace
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        settle();
        QCOMPARE(askedStems(), (QStringList{caption, u"file.replace"_s}));
        QCOMPARE(controller().filePath(document), QFileInfo(existing).canonicalFilePath());
        QVERIFY(!controller().isEdited(document));
    }

    void closeWithChanges_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<int>("readingsInFile");
        QTest::newRow("save") << 0 << true << 3;
        QTest::newRow("don't save") << 1 << true << 2;
        QTest::newRow("cancel") << 2 << false << 2;
    }
    void closeWithChanges()
    {
        QFETCH(int, answer);
        QFETCH(bool, closed);
        QFETCH(int, readingsInFile);
        const QString file = savedFile(u"c.tensilo"_s, 2);
        MyDocument *document = controller().openDocumentWithContentsOfFile(file, true);
        QVERIFY(document);
        addReadings(document, 1, 5);
        QPointer<QMainWindow> window = controller().windowForDocument(document);

        // The window's own close button goes through the controller.
        Dialogs::setNextAnswer(answer);
        window->close();
        settle();
        QCOMPARE(Dialogs::record().size(), 1);
        QCOMPARE(Dialogs::record().first().stem, u"doc.close_unsaved"_s);
        QVERIFY(Dialogs::record().first().message.contains(u"c.tensilo"_s));
        QCOMPARE(controller().documents().isEmpty(), closed);
        QCOMPARE(window.isNull(), closed);
        QCOMPARE(readingsIn(file), readingsInFile);
        if (!closed) {
            QVERIFY(window->isVisible());
            QVERIFY(controller().isEdited(document));
        }
    }

    // Quit asks per edited document; Cancel stops it, and nothing more is asked.
    void quitAsksPerDocument()
    {
        MyAppDelegate delegate(&controller());
        int quits = 0;
        delegate.setQuitFunction([&] { ++quits; });
        MyDocument *a = controller().newDocument();
        controller().newDocument(); // b, with no changes: nothing to ask
        MyDocument *c = controller().newDocument();
        addReadings(a, 1);
        addReadings(c, 1);

        Dialogs::setNextAnswer(1); // a: Don't Save
        Dialogs::setNextAnswer(2); // c: Cancel
        delegate.terminate();
        settle();
        QCOMPARE(quits, 0);
        QCOMPARE(controller().documents(), QList<MyDocument *>{c});
        QCOMPARE(Dialogs::record().size(), 2);

        Dialogs::setNextAnswer(1);
        delegate.terminate();
        settle();
        QCOMPARE(quits, 1);
        QVERIFY(controller().documents().isEmpty());
    }

    // Quit chosen in another window: a reading typed into an open editor is unsaved work of its
    // document, although the document itself has no changes.
    void quitAsksForAnOpenEditorsChanges()
    {
        MyAppDelegate delegate(&controller());
        int quits = 0;
        delegate.setQuitFunction([&] { ++quits; });
        useDocumentWindows(&delegate);
        const QString file = savedFile(u"e.tensilo"_s, 2);
        MyDocument *edited = controller().openDocumentWithContentsOfFile(file, true);
        QMainWindow *window = activeWindow(edited);
        QVERIFY(window);
        QTest::keyClick(window, Qt::Key_Insert); // Add: the editor opens on the next turn
        MeasurementSheet *sheet = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((sheet = window->findChild<MeasurementSheet *>()), 2000);
        QVERIFY(QTest::qWaitForWindowActive(sheet));
        QVERIFY(QApplication::focusWidget());
        QTest::keyClicks(QApplication::focusWidget(), u"135"_s);
        QVERIFY(!controller().isEdited(edited));

        MyDocument *other = controller().newDocument();
        QMainWindow *otherWindow = activeWindow(other);
        QVERIFY(otherWindow);
        Dialogs::setNextAnswer(2); // Cancel
        QTest::keyClick(otherWindow, Qt::Key_Q, Qt::ControlModifier);
        settle();
        QCOMPARE(askedStems(), QStringList{u"doc.close_unsaved"_s});
        QVERIFY(Dialogs::record().first().message.contains(u"e.tensilo"_s));
        QCOMPARE(quits, 0);
        QVERIFY(sheet->isVisible());

        // Save: the reading goes into the document, which is saved, and the quit goes on.
        QVERIFY(activeWindow(other)); // the question raised the editor's window
        Dialogs::setNextAnswer(0);
        QTest::keyClick(otherWindow, Qt::Key_Q, Qt::ControlModifier);
        settle();
        QCOMPARE(quits, 1);
        QVERIFY(controller().documents().isEmpty());
        MyDocument check;
        QVERIFY(check.readFromFile(file));
        QCOMPARE(check.allItems().size(), 3);
        QCOMPARE(check.lastEditedMeasurement()->valueForKey(u"Systolic"_s).toInt(), 135);
    }

    void openingAnOpenFileRaisesIt()
    {
        const QString file = savedFile(u"o.tensilo"_s, 4);
        MyDocument *first = controller().openDocumentWithContentsOfFile(file, true);
        QVERIFY(first);
        QCOMPARE(controller().windowForDocument(first)->windowTitle(), u"o.tensilo[*]"_s);
        // Another spelling of the same file.
        const QString other = pDir->path() + u"/./o.tensilo"_s;
        QCOMPARE(controller().openFiles({other}), 1);
        QCOMPARE(controller().documents().size(), 1);
        Dialogs::setNextPath(file);
        controller().openDocument();
        settle();
        QCOMPARE(controller().documents().size(), 1);
    }

    // A file the reader refuses opens nothing and shows the reader's reason; a pristine untitled
    // document gives way to a file that opens.
    void openRefusedAndPristine()
    {
        MyDocument *untitled = controller().newDocument();
        const QString bad = path(u"bad.tensilo"_s);
        QVERIFY(TestSupport::writeFile(bad, "not a document at all"));
        Dialogs::setNextAnswer(0);
        QCOMPARE(controller().openFiles({bad}), 0);
        settle();
        QCOMPARE(controller().documents(), QList<MyDocument *>{untitled});
        QCOMPARE(Dialogs::record().size(), 1);
        QVERIFY(Dialogs::record().first().title.contains(u"bad.tensilo"_s));
        // In plain words; what the reader found is there for whoever asks for the details.
        QCOMPARE(Dialogs::record().first().message, qtTrId("doc.file_not_document"));
        QVERIFY(Dialogs::record().first().detail.contains(u"property list"_s));
        QVERIFY(controller().recentDocumentURLs().isEmpty());

        const QString good = savedFile(u"g.tensilo"_s, 1);
        MyDocument *opened = controller().openDocumentWithContentsOfFile(good, true);
        QCOMPARE(controller().documents(), QList<MyDocument *>{opened});
    }

    void recentDocuments()
    {
        QStringList files;
        for (int i = 0; i < 12; ++i)
            files.append(savedFile(u"r%1.tensilo"_s.arg(i), 1));
        for (const QString &file : files) {
            MyDocument *document = controller().openDocumentWithContentsOfFile(file, false);
            QVERIFY(document);
            controller().closeDocument(document);
        }
        QStringList expected;
        for (int i = 11; i >= 2; --i)
            expected.append(files.at(i));
        QCOMPARE(controller().recentDocumentURLs(), expected);

        // Opening one again moves it to the top.
        MyDocument *again = controller().openDocumentWithContentsOfFile(files.at(5), false);
        QCOMPARE(controller().recentDocumentURLs().first(), files.at(5));
        QCOMPARE(controller().recentDocumentURLs().size(), 10);
        controller().closeDocument(again);

        // The menu greys a vanished file; choosing it removes it with a message.
        QVERIFY(QFile::remove(files.at(9)));
        QMainWindow window;
        ApplicationMenus::install(&window, &controller());
        auto *recent = window.findChild<QMenu *>(u"menuOpenRecent"_s);
        QVERIFY(recent);
        emit recent->aboutToShow();
        QAction *vanished = nullptr;
        for (QAction *action : recent->actions())
            if (action->data().toString() == files.at(9))
                vanished = action;
        QVERIFY(vanished);
        QVERIFY(!vanished->isEnabled());
        QCOMPARE(recent->actions().first()->data().toString(), files.at(5));
        Dialogs::setNextAnswer(0);
        controller().openRecentDocument(files.at(9));
        settle();
        QCOMPARE(Dialogs::record().last().stem, u"doc.recent_missing"_s);
        QVERIFY(!controller().recentDocumentURLs().contains(files.at(9)));
        QVERIFY(controller().documents().isEmpty());

        window.findChild<QAction *>(u"actionClearRecent"_s)->trigger();
        QVERIFY(controller().recentDocumentURLs().isEmpty());
    }

    void revert_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("revert") << 0;
        QTest::newRow("cancel") << 1;
    }
    void revert()
    {
        QFETCH(int, answer);
        const QString file = savedFile(u"v.tensilo"_s, 2);
        MyDocument *document = controller().openDocumentWithContentsOfFile(file, true);
        addReadings(document, 3, 10);
        Dialogs::setNextAnswer(answer);
        controller().revertDocumentToSaved(document);
        settle();
        QCOMPARE(Dialogs::record().size(), 1);
        if (answer == 0) {
            QCOMPARE(document->allItems().size(), 2);
            QVERIFY(!controller().isEdited(document));
            QVERIFY(!controller().windowForDocument(document)->isWindowModified());
            QVERIFY(!document->undoManager()->canUndo());
        } else {
            QCOMPARE(document->allItems().size(), 5);
            QVERIFY(controller().isEdited(document));
        }

        // A file that has become unreadable: the document stays as it is, edited.
        addReadings(document, 1, 40);
        const int count = int(document->allItems().size());
        QVERIFY(TestSupport::writeFile(file, "garbage"));
        Dialogs::setNextAnswer(0);
        Dialogs::setNextAnswer(0);
        controller().revertDocumentToSaved(document);
        settle();
        QCOMPARE(document->allItems().size(), count);
        QVERIFY(controller().isEdited(document));
        document->undoManager()->setClean();
    }

    // A save that fails leaves the old file byte-identical and the document edited.
    void failedSaveKeepsOldFile()
    {
        const QString file = savedFile(u"f.tensilo"_s, 1);
        const QByteArray before = contents(file);
        MyDocument *document = controller().openDocumentWithContentsOfFile(file, true);
        addReadings(document, 500, 10);

        // Writes beyond the old file's size fail (this works for root too).
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit tight = old;
        tight.rlim_cur = rlim_t(before.size() + 16);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
        Dialogs::setNextAnswer(0);
        bool saved = true;
        controller().saveDocument(document, [&](bool s) { saved = s; });
        setrlimit(RLIMIT_FSIZE, &old);
        settle();

        QVERIFY(!saved);
        QCOMPARE(contents(file), before);
        QVERIFY(controller().isEdited(document));
        QVERIFY(controller().windowForDocument(document)->isWindowModified());
        QCOMPARE(Dialogs::record().size(), 1);
        QVERIFY(Dialogs::record().first().title.contains(u"f.tensilo"_s));
        QVERIFY(!Dialogs::record().first().message.isEmpty());
        // No temporary file is left beside it.
        QCOMPARE(QDir(pDir->path()).entryList({u"f.tensilo*"_s}, QDir::Files).size(), 1);

        // A path whose folder has vanished.
        Dialogs::setNextPath(path(u"gone/f.tensilo"_s));
        Dialogs::setNextAnswer(0);
        controller().saveDocumentAs(document);
        settle();
        QCOMPARE(controller().filePath(document), QFileInfo(file).canonicalFilePath());
        QVERIFY(controller().isEdited(document));
        document->undoManager()->setClean();
    }

    // Another program changed the file after it was opened (its size or only its time): Save
    // asks first, whatever the answer the file or the document keeps the other side's work.
    void saveAsksWhenTheFileChangedOnDisk_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("sameSize");
        QTest::addColumn<int>("inFile");
        QTest::addColumn<int>("inDocument");
        QTest::newRow("save anyway") << 0 << false << 3 << 3;
        QTest::newRow("revert") << 1 << false << 5 << 5;
        QTest::newRow("cancel") << 2 << false << 5 << 3;
        QTest::newRow("only the time changed") << 2 << true << 2 << 3;
    }
    void saveAsksWhenTheFileChangedOnDisk()
    {
        QFETCH(int, answer);
        QFETCH(bool, sameSize);
        QFETCH(int, inFile);
        QFETCH(int, inDocument);
        useDocumentWindows();
        const QString file = savedFile(u"d.tensilo"_s, 2);
        MyDocument *document = controller().openDocumentWithContentsOfFile(file, true);
        QMainWindow *window = activeWindow(document);
        QVERIFY(window);
        addReadings(document, 1, 10);
        if (sameSize) {
            QFile touched(file);
            QVERIFY(touched.open(QIODevice::ReadWrite));
            QVERIFY(touched.setFileTime(
                touched.fileTime(QFileDevice::FileModificationTime).addSecs(-30),
                QFileDevice::FileModificationTime));
        } else {
            savedFile(u"d.tensilo"_s, 5);
        }
        Dialogs::setNextAnswer(answer);
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
        settle();
        QCOMPARE(askedStems(), QStringList{u"doc.changed_on_disk"_s});
        QCOMPARE(readingsIn(file), inFile);
        QCOMPARE(document->allItems().size(), inDocument);
        QCOMPARE(controller().isEdited(document), answer == 2);
        if (answer == 2) {
            document->undoManager()->undo();
            return;
        }
        // What was written or read is the new reference: the next Save asks nothing.
        addReadings(document, 1, 20);
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
        settle();
        QCOMPARE(Dialogs::record().size(), 1);
        QVERIFY(!controller().isEdited(document));
    }

    void reopenDecision_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<bool>("expectUntitled");
        QTest::newRow("first launch") << u"first"_s << true;
        QTest::newRow("valid recent") << u"valid"_s << false;
        QTest::newRow("missing recent") << u"missing"_s << true;
        QTest::newRow("preference off") << u"off"_s << true;
        QTest::newRow("after launch") << u"after"_s << true;
    }
    void reopenDecision()
    {
        QFETCH(QString, situation);
        QFETCH(bool, expectUntitled);
        const QString file = savedFile(u"last.tensilo"_s, 7);
        if (situation != QLatin1String("first"))
            controller().noteNewRecentDocument(file);
        if (situation == QLatin1String("missing"))
            QFile::remove(file);
        if (situation == QLatin1String("off"))
            Preferences::shared().setValueForKey(false, Preferences::reopenLastDocument);

        MyAppDelegate delegate(&controller());
        delegate.setQuitFunction([] {});
        if (situation == QLatin1String("after")) {
            delegate.applicationDidFinishLaunching();
            QVERIFY(delegate.applicationShouldOpenUntitledFile());
            QVERIFY(controller().documents().isEmpty());
            delegate.handleReopenRequest({});
            QCOMPARE(controller().documents().size(), 1);
            QVERIFY(controller().filePath(controller().documents().first()).isEmpty());
            return;
        }
        delegate.launch({});
        QVERIFY(delegate.applicationHasStarted());
        QCOMPARE(controller().documents().size(), 1);
        MyDocument *document = controller().documents().first();
        QCOMPARE(controller().filePath(document).isEmpty(), expectUntitled);
        QCOMPARE(document->allItems().size(), expectUntitled ? 0 : 7);
        QCOMPARE(Dialogs::unansweredCount(), 0); // a failed reopen is not shown
    }

    // Files named at launch open instead of the untitled document; a later start's files open
    // in the running application, and with none its windows are raised.
    void launchWithFiles()
    {
        const QString a = savedFile(u"a.tensilo"_s, 1);
        const QString b = savedFile(u"b.tensilo"_s, 2);
        MyAppDelegate delegate(&controller());
        delegate.launch({a});
        QCOMPARE(controller().documents().size(), 1);
        delegate.handleReopenRequest({b});
        QCOMPARE(controller().documents().size(), 2);
        delegate.handleReopenRequest({});
        QCOMPARE(controller().documents().size(), 2);
    }

    // Autosave by the clock: nothing at 59 s, a recovery copy at 60 s, the user's file untouched;
    // at once when switched on, never while off; a save removes the copy.
    void autosaveByTheClock()
    {
        const QString file = savedFile(u"s.tensilo"_s, 2);
        const QByteArray before = contents(file);
        MyAppDelegate delegate(&controller());
        delegate.setAutosave(true);
        QVERIFY(delegate.autosave());
        QCOMPARE(controller().autosavingDelay(), 60.0);
        MyDocument *document = controller().openDocumentWithContentsOfFile(file, true);

        nClock = 1000;
        addReadings(document, 3, 10);
        QVERIFY(controller().hasUnautosavedChanges(document));
        nClock = 1000 + 59'000;
        addReadings(document, 1, 20); // later changes do not push the time back
        controller().autosaveDueDocuments();
        QVERIFY(controller().recoveryPathOf(document).isEmpty());
        nClock = 1000 + 60'000;
        controller().autosaveDueDocuments();
        const QString copy = controller().recoveryPathOf(document);
        QVERIFY(QFile::exists(copy));
        QVERIFY(!controller().hasUnautosavedChanges(document));
        QCOMPARE(contents(file), before);
        QVERIFY(controller().isEdited(document)); // the autosave is not the user's save
        QCOMPARE(readingsIn(copy), 6);

        // Switched off: nothing is written however long the changes wait.
        Preferences::shared().setValueForKey(false, Preferences::autosaveDocuments);
        delegate.applicationDidFinishLaunching(); // binds "autosave" to the preference
        QVERIFY(!delegate.autosave());
        addReadings(document, 1, 30);
        nClock += 3600'000;
        controller().autosaveDueDocuments();
        QCOMPARE(readingsIn(copy), 6);
        // Switched on: written at once.
        Preferences::shared().setValueForKey(true, Preferences::autosaveDocuments);
        QVERIFY(delegate.autosave());
        QCOMPARE(readingsIn(copy), 7);
        QCOMPARE(contents(file), before);

        // The user's save removes the copy; so does undoing back to the saved state.
        controller().saveDocument(document);
        QVERIFY(!QFile::exists(copy));
        QVERIFY(controller().pendingRecoveries().isEmpty());
        addReadings(document, 1, 50);
        nClock += 60'000;
        controller().autosaveDueDocuments();
        QVERIFY(!controller().recoveryPathOf(document).isEmpty());
        document->undoManager()->undo();
        QVERIFY(controller().recoveryPathOf(document).isEmpty());
        QCOMPARE(QDir(path(u"recovery"_s)).entryList(QDir::Files).size(), 0);
    }

    // A recovery folder that cannot be made is tried again once per delay, not at every turn of
    // the event loop; once it can be made, the copy is written at the next due time.
    void autosaveBacksOffWhenTheFolderCannotBeMade()
    {
        const QString blocker = path(u"recovery"_s);
        QVERIFY(QDir(blocker).removeRecursively());
        QVERIFY(TestSupport::writeFile(blocker, {})); // a file where the folder should be
        MyAppDelegate delegate(&controller());
        delegate.setAutosave(true);
        MyDocument *document = controller().newDocument();
        nClock = 1000;
        addReadings(document, 1, 10);
        auto *timer = controller().findChild<QTimer *>(u"autosaveTimer"_s);
        QVERIFY(timer);

        nClock = 1000 + 60'000;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Autosave: cannot"_s));
        controller().autosaveDueDocuments();
        QVERIFY(controller().hasUnautosavedChanges(document));
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 60'000); // the next try a delay later, not at once
        nClock += 1;
        controller().autosaveDueDocuments(); // not due: no second try, no warning
        QVERIFY(QFile::remove(blocker));
        controller().autosaveDueDocuments();
        QVERIFY(controller().recoveryPathOf(document).isEmpty());
        nClock = 1000 + 120'000;
        controller().autosaveDueDocuments();
        QVERIFY(QFile::exists(controller().recoveryPathOf(document)));
    }

    // A recovery copy left behind is offered; Recover opens it edited and tied to its file;
    // Discard removes it; Later keeps it.
    void recoveryOffered_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("recover") << 0;
        QTest::newRow("discard") << 1;
        QTest::newRow("later") << 2;
    }
    void recoveryOffered()
    {
        QFETCH(int, answer);
        const QString file = savedFile(u"k.tensilo"_s, 2);
        QVERIFY(leaveRecoveryCopy(file));
        QCOMPARE(controller().pendingRecoveries().size(), 1);
        Dialogs::setNextAnswer(answer);
        bool done = false;
        controller().offerRecoveries([&] { done = true; });
        settle();
        QVERIFY(done);
        QCOMPARE(Dialogs::record().size(), 1);
        QVERIFY(Dialogs::record().first().message.contains(u"k.tensilo"_s));
        if (answer == 0) {
            QCOMPARE(controller().documents().size(), 1);
            MyDocument *document = controller().documents().first();
            QCOMPARE(document->allItems().size(), 4);
            QVERIFY(controller().isEdited(document));
            QCOMPARE(controller().filePath(document), QFileInfo(file).canonicalFilePath());
            QVERIFY(controller().windowForDocument(document)->isWindowModified());
            QVERIFY(controller().pendingRecoveries().isEmpty()); // it is this document's now
            controller().saveDocument(document);
            QCOMPARE(readingsIn(file), 4);
            QCOMPARE(QDir(path(u"recovery"_s)).entryList(QDir::Files).size(), 0);
        } else {
            QVERIFY(controller().documents().isEmpty());
            QCOMPARE(controller().pendingRecoveries().size(), answer == 2 ? 1 : 0);
        }
    }

    // The copy recovered for a file that is open already is named after it, and saving it asks
    // before it replaces the file; the window on the file goes with it.
    void recoveredCopyOfAnOpenFile()
    {
        useDocumentWindows();
        const QString file = savedFile(u"blood.tensilo"_s, 2);
        QVERIFY(leaveRecoveryCopy(file));
        MyDocument *saved = controller().openDocumentWithContentsOfFile(file, true);
        Dialogs::setNextAnswer(0); // Recover
        controller().offerRecoveries();
        settle();
        QCOMPARE(controller().documents().size(), 2);
        MyDocument *recovered = controller().documents().last();
        QMainWindow *window = activeWindow(recovered);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), u"blood.tensilo (recovered)[*]"_s);

        Dialogs::clearRecord();
        Dialogs::setNextAnswer(2); // Cancel
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
        settle();
        QCOMPARE(askedStems(), QStringList{u"doc.save_recovered"_s});
        QCOMPARE(readingsIn(file), 2);

        Dialogs::setNextAnswer(0); // Replace
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
        settle();
        QCOMPARE(readingsIn(file), 4);
        QCOMPARE(controller().documents(), QList<MyDocument *>{recovered});
        Q_UNUSED(saved);
        QCOMPARE(window->windowTitle(), u"blood.tensilo[*]"_s);
        QVERIFY(!controller().isEdited(recovered));
    }

    // The application's items go around and after what the window put in its menus.
    void menusInstalled()
    {
        QMainWindow window;
        QMenu *file = window.menuBar()->addMenu(u"File"_s);
        file->setObjectName(u"menuFile"_s);
        QAction *print = file->addAction(u"Print..."_s);
        QMenu *view = window.menuBar()->addMenu(u"View"_s);
        view->setObjectName(u"menuView"_s);
        MyAppDelegate delegate(&controller());
        ApplicationMenus::install(&window, &controller(), &delegate);

        QStringList order;
        for (QAction *action : window.menuBar()->actions())
            order.append(action->menu()->objectName());
        QCOMPARE(order,
                 (QStringList{"menuFile", "menuEdit", "menuView", "menuWindow", "menuHelp"}));

        QStringList items;
        for (QAction *action : file->actions())
            items.append(action->isSeparator() ? u"-"_s
                         : action->menu()      ? action->menu()->objectName()
                                               : action->objectName());
        QCOMPARE(items, (QStringList{"actionNew", "actionOpen", "menuOpenRecent", "-",
                                     "actionClose", "actionSave", "actionSaveAs", "actionRevert",
                                     "-", QString(), "-", "actionQuit"}));
        QCOMPARE(file->actions().at(9), print);
        auto shortcut = [&](const char *name) {
            return window.findChild<QAction *>(QLatin1String(name))->shortcut();
        };
        QCOMPARE(shortcut("actionSave"), QKeySequence(QKeySequence::Save));
        QCOMPARE(shortcut("actionQuit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
        QVERIFY(window.findChild<QAction *>(u"actionFeedback"_s));
        QVERIFY(window.findChild<QAction *>(u"actionAbout"_s));

        // The Window menu lists the open documents.
        controller().newDocument();
        controller().newDocument();
        QMenu *windows = window.findChild<QMenu *>(u"menuWindow"_s);
        emit windows->aboutToShow();
        QStringList titles;
        for (QAction *action : windows->actions()) {
            if (action->property("documentWindowEntry").toBool())
                titles.append(action->text());
        }
        QCOMPARE(titles, (QStringList{"Untitled", "Untitled 2"}));
    }

    // One and the same preferences window, however often it is asked for.
    void preferencesWindowIsOne()
    {
        MyAppDelegate delegate(&controller());
        delegate.onPreferences();
        PreferencesWndController *first = delegate.preferencesWindow();
        QVERIFY(first && first->isVisible());
        first->close();
        delegate.onPreferences();
        QCOMPARE(delegate.preferencesWindow(), first);
        QVERIFY(first->isVisible());
    }
};

TENSILO_TEST_MAIN(TestApp)
#include "tst_app.moc"
