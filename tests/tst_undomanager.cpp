// The undo contract the document relies on, shown with small stand-in operations: inverses
// recorded before changes, action names, redo recorded while undoing, one step per turn of the
// event loop, nested disabling, the clean state and the Edit menu actions.

#include "Localization.h"
#include "TestMain.h"
#include "UndoManager.h"

#include <QAction>
#include <QCoreApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

namespace {

// The steps stay inside the manager: nobody can undo past its open step or rename another step.
template <typename Manager>
concept HandsOutItsStack = requires(Manager &manager)
{
    manager.undoStack();
};
static_assert(!HandsOutItsStack<UndoManager>);

// A value whose setter records its inverse first and names the step "Set <name>" unless undoing,
// the way the document's operations do.
class Counter
{
public:
    Counter(UndoManager *manager, const QString &name) : pManager(manager), strName(name) {}

    void setValue(int value)
    {
        const int old = nValue;
        pManager->registerUndo([this, old] { setValue(old); });
        if (!pManager->isUndoing())
            pManager->setActionName(QStringLiteral("Set ") + strName);
        states.append(pManager->isUndoing() ? 'u' : pManager->isRedoing() ? 'r' : '-');
        nValue = value;
    }
    int value() const { return nValue; }

    QByteArray states; // per call: '-' doing, 'u' undoing, 'r' redoing

private:
    UndoManager *pManager;
    QString strName;
    int nValue = 0;
};

// A list with an insertion whose inverse is a removal under another name, like adding and
// deleting readings.
class List
{
public:
    explicit List(UndoManager *manager) : pManager(manager) {}

    void add(const QString &item)
    {
        pManager->registerUndo([this, item] { remove(item); });
        if (!pManager->isUndoing())
            pManager->setActionName(QStringLiteral("Add"));
        items.append(item);
    }
    void remove(const QString &item)
    {
        pManager->registerUndo([this, item] { add(item); });
        if (!pManager->isUndoing())
            pManager->setActionName(QStringLiteral("Delete"));
        items.removeOne(item);
    }

    QStringList items;

private:
    UndoManager *pManager;
};

void endTurn()
{
    QCoreApplication::processEvents();
}

} // namespace

class TestUndoManager : public QObject
{
    Q_OBJECT

private slots:

    void undoRunsTheInversesLastFirst()
    {
        UndoManager manager;
        Counter a(&manager, QStringLiteral("a"));
        a.setValue(1);
        a.setValue(2);
        a.setValue(3);
        endTurn();
        QCOMPARE(manager.stepCount(), 1);
        manager.undo();
        // Run first-first, the inverses would leave 2; last-first they restore the start.
        QCOMPARE(a.value(), 0);
        manager.redo();
        QCOMPARE(a.value(), 3);
        QCOMPARE(a.states, QByteArray("---uuurrr"));
    }

    void recordedWhileUndoingBecomesTheRedo()
    {
        UndoManager manager;
        List list(&manager);
        list.add(QStringLiteral("x"));
        endTurn();
        list.add(QStringLiteral("y"));
        endTurn();
        QCOMPARE(manager.stepCount(), 2);

        for (int cycle = 0; cycle < 3; ++cycle) {
            manager.undo();
            QCOMPARE(list.items, QStringList({"x"}));
            manager.undo();
            QCOMPARE(list.items, QStringList());
            QVERIFY(!manager.canUndo());
            // What the inverses recorded went into the redo, not into a new step.
            endTurn();
            QVERIFY(!manager.hasOpenGroup());
            QCOMPARE(manager.stepCount(), 2);
            QVERIFY(manager.canRedo());
            manager.redo();
            QCOMPARE(list.items, QStringList({"x"}));
            manager.redo();
            QCOMPARE(list.items, QStringList({"x", "y"}));
            QVERIFY(!manager.canRedo());
            endTurn();
            QCOMPARE(manager.stepCount(), 2);
        }
        // Undoing with nothing to undo (or redoing with nothing to redo) does nothing.
        manager.redo();
        QCOMPARE(list.items, QStringList({"x", "y"}));
    }

    void oneStepPerTurnOfTheEventLoop()
    {
        UndoManager manager;
        Counter a(&manager, QStringLiteral("a"));
        Counter b(&manager, QStringLiteral("b"));
        QSignalSpy steps(&manager, &UndoManager::stepsChanged);
        a.setValue(1);
        b.setValue(1);
        a.setValue(2);
        QVERIFY(manager.hasOpenGroup());
        QVERIFY(manager.canUndo());
        QCOMPARE(manager.stepCount(), 0);
        QCOMPARE(manager.undoActionName(), QStringLiteral("Set a"));
        endTurn();
        QVERIFY(!manager.hasOpenGroup());
        QCOMPARE(manager.stepCount(), 1);
        QCOMPARE(steps.count(), 1);

        b.setValue(2);
        endTurn();
        QCOMPARE(manager.stepCount(), 2);
        QCOMPARE(manager.undoActionName(), QStringLiteral("Set b"));
        manager.undo();
        QCOMPARE(a.value(), 2);
        QCOMPARE(b.value(), 1);
        manager.undo();
        QCOMPARE(a.value(), 0);
        QCOMPARE(b.value(), 0);
        // A turn with nothing recorded adds no step.
        endTurn();
        QCOMPARE(manager.stepCount(), 2);

        // Closing the group ends the step within the turn; with nothing open it makes none, and
        // the turn's own closing then finds nothing open. (The new steps drop the two undone.)
        a.setValue(3);
        manager.closeGroup();
        a.setValue(4);
        manager.closeGroup();
        manager.closeGroup();
        QCOMPARE(manager.stepCount(), 2);
        endTurn();
        QCOMPARE(manager.stepCount(), 2);
        manager.undo();
        QCOMPARE(a.value(), 3);
    }

    void undoInTheSameTurnUndoesTheOpenStep()
    {
        // The open step is the last change: undo closes and undoes it, not the one before. The
        // Edit menu's Undo goes through the manager and does the same.
        UndoManager manager;
        Counter a(&manager, QStringLiteral("a"));
        QObject owner;
        QAction *undo = manager.createUndoAction(&owner);
        a.setValue(1);
        endTurn();
        a.setValue(2);
        manager.undo();
        QCOMPARE(a.value(), 1);
        QCOMPARE(manager.stepCount(), 2);
        endTurn();
        QCOMPARE(manager.stepCount(), 2);
        manager.redo();
        QCOMPARE(a.value(), 2);
        a.setValue(3);
        undo->trigger();
        QCOMPARE(a.value(), 2);
        endTurn();
        QCOMPARE(manager.stepCount(), 3);
        undo->trigger();
        QCOMPARE(a.value(), 1);
    }

    void nestedDisabling()
    {
        UndoManager manager;
        Counter a(&manager, QStringLiteral("a"));
        QSignalSpy clean(&manager, &UndoManager::cleanChanged);
        manager.disableUndoRegistration();
        manager.disableUndoRegistration();
        a.setValue(1);
        manager.enableUndoRegistration();
        QVERIFY(!manager.isUndoRegistrationEnabled());
        a.setValue(2);
        manager.enableUndoRegistration();
        QVERIFY(manager.isUndoRegistrationEnabled());
        // Nothing was recorded, and the unrecorded changes do not mark the document edited.
        QVERIFY(!manager.canUndo());
        QVERIFY(manager.isClean());
        QCOMPARE(clean.count(), 0);
        endTurn();
        QCOMPARE(manager.stepCount(), 0);

        a.setValue(3);
        endTurn();
        manager.undo();
        QCOMPARE(a.value(), 2);
    }

    void cleanState()
    {
        UndoManager manager;
        Counter a(&manager, QStringLiteral("a"));
        QSignalSpy clean(&manager, &UndoManager::cleanChanged);
        QVERIFY(manager.isClean());

        a.setValue(1); // edited at once, before the turn ends
        QVERIFY(!manager.isClean());
        QCOMPARE(clean.count(), 1);
        QCOMPARE(clean.last().first().toBool(), false);
        a.setValue(2);
        endTurn();
        QVERIFY(!manager.isClean());
        QCOMPARE(clean.count(), 1);

        manager.undo(); // back at the saved state
        QVERIFY(manager.isClean());
        QCOMPARE(clean.count(), 2);
        QCOMPARE(clean.last().first().toBool(), true);
        manager.redo();
        QVERIFY(!manager.isClean());
        QCOMPARE(clean.count(), 3);

        manager.setClean(); // saved
        QVERIFY(manager.isClean());
        QCOMPARE(clean.count(), 4);
        manager.undo();
        QVERIFY(!manager.isClean());
        manager.redo();
        QVERIFY(manager.isClean());
        QCOMPARE(clean.count(), 6);

        // Saving in the middle of a turn closes the open step first.
        a.setValue(3);
        manager.setClean();
        QVERIFY(manager.isClean());
        QVERIFY(!manager.hasOpenGroup());
        endTurn();
        QVERIFY(manager.isClean());
        manager.undo();
        QCOMPARE(a.value(), 2);
        QVERIFY(!manager.isClean());
    }

    void newChangeAfterUndoDropsTheRedo()
    {
        UndoManager manager;
        Counter a(&manager, QStringLiteral("a"));
        a.setValue(1);
        endTurn();
        a.setValue(2);
        endTurn();
        manager.setClean(); // saved at 2
        manager.undo();
        QVERIFY(manager.canRedo());
        a.setValue(5);
        QVERIFY(!manager.canRedo());
        endTurn();
        QVERIFY(!manager.canRedo());
        QCOMPARE(manager.stepCount(), 2);
        QCOMPARE(manager.redoActionName(), QString());
        // The step back to the saved state is gone: never clean again.
        QVERIFY(!manager.isClean());
        manager.undo();
        QCOMPARE(a.value(), 1);
        QVERIFY(!manager.isClean());
        manager.redo();
        QCOMPARE(a.value(), 5);
        QVERIFY(!manager.isClean());
        manager.undo();
        manager.undo();
        QCOMPARE(a.value(), 0);
        QVERIFY(!manager.isClean());
    }

    void setDirtyAndRemoveAllActions()
    {
        UndoManager manager;
        Counter a(&manager, QStringLiteral("a"));
        QSignalSpy clean(&manager, &UndoManager::cleanChanged);
        manager.setDirty();
        QVERIFY(!manager.isClean());
        QCOMPARE(clean.count(), 1);
        manager.setClean();
        QVERIFY(manager.isClean());

        a.setValue(1);
        endTurn();
        manager.removeAllActions();
        QVERIFY(manager.isClean());
        QVERIFY(!manager.canUndo());
        QVERIFY(!manager.canRedo());
        QCOMPARE(a.value(), 1);
        // Forgetting the steps of an open turn leaves nothing to close later.
        a.setValue(2);
        manager.removeAllActions();
        endTurn();
        QCOMPARE(manager.stepCount(), 0);
        QVERIFY(manager.isClean());
    }

    // The actions name the step to undo or redo, which keeps the name it was done under: the
    // inverse run by undoing does not rename it.
    void editMenuActions()
    {
        UndoManager manager;
        List list(&manager);
        QObject owner;
        QAction *undo = manager.createUndoAction(&owner);
        QAction *redo = manager.createRedoAction(&owner);
        QVERIFY(!undo->isEnabled());
        QVERIFY(!redo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Undo"));

        list.add(QStringLiteral("x"));
        endTurn();
        QVERIFY(undo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Undo Add"));
        QVERIFY(!redo->isEnabled());

        undo->trigger();
        QCOMPARE(list.items, QStringList());
        QVERIFY(!undo->isEnabled());
        QVERIFY(redo->isEnabled());
        QCOMPARE(redo->text(), QStringLiteral("&Redo Add"));

        redo->trigger();
        QCOMPARE(list.items, QStringList({"x"}));
        QCOMPARE(undo->text(), QStringLiteral("&Undo Add"));
        QVERIFY(!redo->isEnabled());

        list.remove(QStringLiteral("x"));
        endTurn();
        QCOMPARE(undo->text(), QStringLiteral("&Undo Delete"));
        undo->trigger();
        QCOMPARE(undo->text(), QStringLiteral("&Undo Add"));
        QCOMPARE(redo->text(), QStringLiteral("&Redo Delete"));
        redo->trigger();
        QCOMPARE(undo->text(), QStringLiteral("&Undo Delete"));

        // A step's name makes no mnemonic of its own; each language words the item its own way.
        manager.registerUndo([] {});
        manager.setActionName(QStringLiteral("Rename \"A&B\""));
        endTurn();
        QCOMPARE(undo->text(), QStringLiteral("&Undo Rename \"A&&B\""));
        Localization::install(QLocale(QStringLiteral("de_DE")));
        list.add(QStringLiteral("y"));
        endTurn();
        QCOMPARE(undo->text(), QStringLiteral("&Rückgängig: Add"));
        Localization::install(QLocale(QStringLiteral("en_US")));
    }

    void misuseIsIgnoredOrRefused()
    {
        UndoManager manager;
        if (qEnvironmentVariableIsSet("TENSILO_UNBALANCED_ENABLE")) {
            // In the child process started below.
            manager.enableUndoRegistration(); // refused in a debug build: the child aborts
            manager.disableUndoRegistration();
            QVERIFY(!manager.isUndoRegistrationEnabled()); // the extra enable was not counted
            return;
        }

        // Nothing to undo or redo, and no open step: nothing happens.
        manager.undo();
        manager.redo();
        manager.closeGroup();
        QVERIFY(!manager.canUndo() && !manager.canRedo());
        QVERIFY(manager.isClean());

        // undo() and redo() called by an inverse while undoing or redoing are ignored: one step
        // at a time, whatever the inverses do.
        int value = 0;
        std::function<void(int)> set = [&](int v) {
            const int old = value;
            manager.registerUndo([&, old] {
                manager.undo();
                manager.redo();
                set(old);
            });
            value = v;
        };
        set(1);
        endTurn();
        set(2);
        endTurn();
        manager.undo();
        QCOMPARE(value, 1);
        QVERIFY(manager.canUndo() && manager.canRedo());
        manager.redo();
        QCOMPARE(value, 2);
        QVERIFY(!manager.canRedo());
        manager.undo();
        manager.undo();
        QCOMPARE(value, 0);
        QVERIFY(!manager.canUndo());
        QVERIFY(manager.canRedo());

        // An enable without a disable before it is a caller's fault: refused by an assertion in a
        // debug build, ignored otherwise (a later disable still disables).
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TENSILO_UNBALANCED_ENABLE"), QStringLiteral("1"));
        environment.insert(QStringLiteral("QTEST_DISABLE_STACK_DUMP"), QStringLiteral("1"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("misuseIsIgnoredOrRefused")});
        QVERIFY(child.waitForFinished(60000));
#ifdef QT_NO_DEBUG
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
#else
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        const QByteArray output = child.readAll();
        QVERIFY2(output.contains("unbalanced enableUndoRegistration"), output.constData());
#endif
    }

    void windowFollowsTheUndoState()
    {
        // A window learns of every change of what Undo and Redo can do, also of a step still open
        // in this turn, and its actions offer that step.
        UndoManager manager;
        Counter a(&manager, QStringLiteral("a"));
        QObject owner;
        QAction *undo = manager.createUndoAction(&owner);
        QAction *redo = manager.createRedoAction(&owner);
        QSignalSpy canUndo(&manager, &UndoManager::canUndoChanged);
        QSignalSpy canRedo(&manager, &UndoManager::canRedoChanged);
        QCOMPARE(undo->shortcut(), QKeySequence(QKeySequence::Undo));

        a.setValue(1); // open, not yet closed
        QCOMPARE(canUndo.count(), 1);
        QCOMPARE(canUndo.last().at(0).toBool(), true);
        QVERIFY(undo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Undo Set a"));
        endTurn();
        QCOMPARE(canUndo.count(), 1); // still undoable: no news

        undo->trigger();
        QCOMPARE(a.value(), 0);
        QCOMPARE(canUndo.count(), 2);
        QCOMPARE(canUndo.last().at(0).toBool(), false);
        QCOMPARE(canRedo.count(), 1);
        QCOMPARE(canRedo.last().at(0).toBool(), true);
        QCOMPARE(redo->text(), QStringLiteral("&Redo Set a"));

        // A new change drops the redo: the window hears it the moment it happens.
        a.setValue(5);
        QCOMPARE(canRedo.count(), 2);
        QCOMPARE(canRedo.last().at(0).toBool(), false);
        QVERIFY(!redo->isEnabled());
        endTurn();
        QCOMPARE(manager.stepCount(), 1);

        manager.removeAllActions();
        QCOMPARE(canUndo.last().at(0).toBool(), false);
        QVERIFY(!undo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Undo"));
    }
};

TENSILO_TEST_MAIN(TestUndoManager)
#include "tst_undomanager.moc"
