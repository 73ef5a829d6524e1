#include "UndoManager.h"

#include <QAction>
#include <QKeySequence>
#include <QTimer>
#include <QUndoCommand>
#include <QUndoStack>

// One undo step: the inverses recorded in one turn, run last-first when undone. Running them
// records their own inverses, which become the calls of the opposite direction.
class UndoManager::Step : public QUndoCommand
{
public:
    Step(UndoManager *manager, std::vector<std::function<void()>> calls, const QString &name)
        : pManager(manager), pUndoCalls(std::move(calls))
    {
        setText(name);
    }

    void undo() override { run(pUndoCalls, pRedoCalls, &UndoManager::bUndoing); }

    void redo() override
    {
        // QUndoStack::push() calls redo() at once; the change has already happened then.
        if (bFirstRedo) {
            bFirstRedo = false;
            return;
        }
        run(pRedoCalls, pUndoCalls, &UndoManager::bRedoing);
    }

private:
    void run(std::vector<std::function<void()>> &calls, std::vector<std::function<void()>> &into,
             bool UndoManager::*flag)
    {
        std::vector<std::function<void()>> running;
        running.swap(calls);
        into.clear();
        auto *const previousCollecting = pManager->pCollecting;
        pManager->pCollecting = &into;
        pManager->*flag = true;
        for (auto it = running.rbegin(); it != running.rend(); ++it)
            (*it)();
        pManager->*flag = false;
        pManager->pCollecting = previousCollecting;
    }

    UndoManager *pManager;
    std::vector<std::function<void()>> pUndoCalls;
    std::vector<std::function<void()>> pRedoCalls;
    bool bFirstRedo = true;
};

UndoManager::UndoManager(QObject *parent) : QObject(parent), pStack(new QUndoStack(this))
{
    connect(pStack, &QUndoStack::cleanChanged, this, &UndoManager::updateClean);
    connect(pStack, &QUndoStack::indexChanged, this, [this] {
        updateClean();
        emit stepsChanged();
        emit undoStateChanged();
    });
}

UndoManager::~UndoManager()
{
    // Steps hold calls into objects that may already be gone; drop them without running.
    pStack->blockSignals(true);
}

void UndoManager::registerUndo(std::function<void()> inverse)
{
    if (nDisabled > 0)
        return;
    if (pCollecting) {
        pCollecting->push_back(std::move(inverse));
        return;
    }
    openGroupIfNeeded();
    pOpenGroup.push_back(std::move(inverse));
}

void UndoManager::openGroupIfNeeded()
{
    if (bGroupOpen)
        return;
    bGroupOpen = true;
    strOpenActionName.clear();
    QTimer::singleShot(0, this, &UndoManager::closeGroup);
    updateClean();
    emit undoStateChanged();
}

void UndoManager::setActionName(const QString &name)
{
    if (bUndoing)
        return;
    if (bGroupOpen) {
        if (name != strOpenActionName) {
            strOpenActionName = name;
            emit undoStateChanged();
        }
    } else if (bRedoing && pStack->index() < pStack->count())
        const_cast<QUndoCommand *>(pStack->command(pStack->index()))->setText(name);
}

QString UndoManager::undoActionName() const
{
    return bGroupOpen ? strOpenActionName : pStack->undoText();
}

QString UndoManager::redoActionName() const
{
    return bGroupOpen ? QString() : pStack->redoText();
}

void UndoManager::disableUndoRegistration()
{
    ++nDisabled;
}

void UndoManager::enableUndoRegistration()
{
    Q_ASSERT_X(nDisabled > 0, "src/UndoManager", "unbalanced enableUndoRegistration");
    if (nDisabled > 0)
        --nDisabled;
}

bool UndoManager::canUndo() const
{
    return bGroupOpen || pStack->canUndo();
}

bool UndoManager::canRedo() const
{
    return !bGroupOpen && pStack->canRedo();
}

void UndoManager::undo()
{
    if (bUndoing || bRedoing)
        return;
    closeGroup();
    pStack->undo();
}

void UndoManager::redo()
{
    if (bUndoing || bRedoing)
        return;
    closeGroup();
    pStack->redo();
}

void UndoManager::closeGroup()
{
    if (!bGroupOpen)
        return;
    bGroupOpen = false;
    std::vector<std::function<void()>> calls;
    calls.swap(pOpenGroup);
    const bool pushing = !calls.empty();
    if (pushing)
        pStack->push(new Step(this, std::move(calls), strOpenActionName));
    strOpenActionName.clear();
    updateClean();
    if (!pushing) // a push announces itself through the stack's index
        emit undoStateChanged();
}

void UndoManager::removeAllActions()
{
    bGroupOpen = false;
    pOpenGroup.clear();
    strOpenActionName.clear();
    pStack->clear();
    bForcedDirty = false;
    updateClean();
    emit undoStateChanged();
}

int UndoManager::stepCount() const
{
    return pStack->count();
}

bool UndoManager::isClean() const
{
    return !bGroupOpen && !bForcedDirty && pStack->isClean();
}

void UndoManager::setClean()
{
    closeGroup();
    bForcedDirty = false;
    pStack->setClean();
    updateClean();
}

void UndoManager::setDirty()
{
    bForcedDirty = true;
    updateClean();
}

void UndoManager::updateClean()
{
    const bool clean = isClean();
    const bool undoable = canUndo();
    const bool redoable = canRedo();
    const bool cleanChanges = clean != bLastClean;
    const bool undoChanges = undoable != bLastCanUndo;
    const bool redoChanges = redoable != bLastCanRedo;
    bLastClean = clean;
    bLastCanUndo = undoable;
    bLastCanRedo = redoable;
    if (cleanChanges)
        emit cleanChanged(clean);
    if (undoChanges)
        emit canUndoChanged(undoable);
    if (redoChanges)
        emit canRedoChanged(redoable);
}

// The actions follow the manager rather than the stack: while a step is open in this turn they
// offer that step, and triggering them closes it first.
QAction *UndoManager::createAction(QObject *parent, bool undo) const
{
    auto *const manager = const_cast<UndoManager *>(this);
    auto *const action = new QAction(parent);
    action->setShortcut(undo ? QKeySequence::Undo : QKeySequence::Redo);
    const auto update = [manager, action, undo] {
        QString name = undo ? manager->undoActionName() : manager->redoActionName();
        name.replace(QLatin1Char('&'), QLatin1String("&&")); // no mnemonic from a step's name
        if (name.isEmpty())
            action->setText(undo ? qtTrId("menu.edit.undo") : qtTrId("menu.edit.redo"));
        else
            action->setText(undo ? qtTrId("menu.edit.undo_named").arg(name)
                                 : qtTrId("menu.edit.redo_named").arg(name));
        action->setEnabled(undo ? manager->canUndo() : manager->canRedo());
    };
    update();
    connect(manager, &UndoManager::undoStateChanged, action, update);
    connect(action, &QAction::triggered, manager, [manager, undo] {
        if (undo)
            manager->undo();
        else
            manager->redo();
    });
    return action;
}

QAction *UndoManager::createUndoAction(QObject *parent) const
{
    return createAction(parent, true);
}

QAction *UndoManager::createRedoAction(QObject *parent) const
{
    return createAction(parent, false);
}
