#include "UndoManager.h"

#include <QAction>
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
    connect(pStack, &QUndoStack::indexChanged, this, &UndoManager::stepsChanged);
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
}

void UndoManager::setActionName(const QString &name)
{
    if (bUndoing)
        return;
    if (bGroupOpen)
        strOpenActionName = name;
    else if (bRedoing && pStack->index() < pStack->count())
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
    if (!calls.empty())
        pStack->push(new Step(this, std::move(calls), strOpenActionName));
    strOpenActionName.clear();
    updateClean();
}

void UndoManager::removeAllActions()
{
    bGroupOpen = false;
    pOpenGroup.clear();
    strOpenActionName.clear();
    pStack->clear();
    bForcedDirty = false;
    updateClean();
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
    if (clean != bLastClean) {
        bLastClean = clean;
        emit cleanChanged(clean);
    }
}

// The actions take their text and enabled state from the stack but run through the manager, so
// that a step still open in this turn is closed (and undone) first rather than left behind.
QAction *UndoManager::createUndoAction(QObject *parent) const
{
    QAction *action = pStack->createUndoAction(parent, qtTrId("menu.edit.undo"));
    disconnect(action, &QAction::triggered, pStack, &QUndoStack::undo);
    connect(action, &QAction::triggered, this,
            [manager = const_cast<UndoManager *>(this)] { manager->undo(); });
    return action;
}

QAction *UndoManager::createRedoAction(QObject *parent) const
{
    QAction *action = pStack->createRedoAction(parent, qtTrId("menu.edit.redo"));
    disconnect(action, &QAction::triggered, pStack, &QUndoStack::redo);
    connect(action, &QAction::triggered, this,
            [manager = const_cast<UndoManager *>(this)] { manager->redo(); });
    return action;
}
