#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QUndoStack;

// A document's undo manager. An operation records its inverse with registerUndo() before it
// changes any data; whatever is recorded while undoing becomes the redo, and whatever is
// recorded while redoing becomes the undo again. Everything recorded in one turn of the event
// loop forms one undo step, closed when control returns to the loop (or by closeGroup()). The
// document is clean when the step index is the one last marked clean and no step is open.
class UndoManager : public QObject
{
    Q_OBJECT
public:
    explicit UndoManager(QObject *parent = nullptr);
    ~UndoManager() override;

    // Records one inverse call in the open step (opening one if needed). Ignored while
    // registration is disabled.
    void registerUndo(std::function<void()> inverse);

    bool isUndoing() const { return bUndoing; }
    bool isRedoing() const { return bRedoing; }

    // Names the open step; ignored while undoing, so a redo keeps the name of its step.
    void setActionName(const QString &name);
    QString undoActionName() const;
    QString redoActionName() const;

    // Nesting: registration is enabled again only after as many enables as disables.
    void disableUndoRegistration();
    void enableUndoRegistration();
    bool isUndoRegistrationEnabled() const { return nDisabled == 0; }

    // Undo is possible while a step is open or a closed step lies behind; redo when a step
    // undone lies ahead and none is open.
    bool canUndo() const;
    bool canRedo() const;
    void undo();
    void redo();

    // Ends the open step now, as the event loop would at the end of this turn.
    void closeGroup();
    bool hasOpenGroup() const { return bGroupOpen; }

    // Forgets every step; the present state becomes the clean one.
    void removeAllActions();

    bool isClean() const;
    // Marks the present state as the saved one.
    void setClean();
    // Marks the document edited with no step to return to the saved state (a failed revert).
    void setDirty();

    // The closed steps kept for undo and redo (the open one not counted).
    int stepCount() const;

    // Edit menu actions whose text carries the action name of the step they would run. They
    // run through undo() and redo(), so an open step is closed (and undone) first. The steps
    // themselves are not handed out: only the manager runs and names them.
    QAction *createUndoAction(QObject *parent) const;
    QAction *createRedoAction(QObject *parent) const;

signals:
    void cleanChanged(bool clean);
    void canUndoChanged(bool canUndo);
    void canRedoChanged(bool canRedo);
    // A closed step was added, undone, redone or dropped.
    void stepsChanged();
    // canUndo(), canRedo() or an action name may have changed (also while a step is open).
    void undoStateChanged();

private:
    class Step;
    friend class Step;

    void openGroupIfNeeded();
    QAction *createAction(QObject *parent, bool undo) const;
    // Announces the changes of isClean(), canUndo() and canRedo() since the last call.
    void updateClean();

    QUndoStack *pStack;
    std::vector<std::function<void()>> pOpenGroup;
    QString strOpenActionName;
    std::vector<std::function<void()>> *pCollecting = nullptr; // while a step runs
    int nDisabled = 0;
    bool bGroupOpen = false;
    bool bUndoing = false;
    bool bRedoing = false;
    bool bForcedDirty = false;
    bool bLastClean = true;
    bool bLastCanUndo = false;
    bool bLastCanRedo = false;
};
