#pragma once

// The parts of MyDocument that its source files share: the bookkeeping every operation does and
// the row announcements. Not for use outside MyDocument*.cpp.

#include "MyDocument.h"
#include "UndoManager.h"

#include <functional>

// One undoable operation, from its start to its return. Opening it records the inverse with the
// undo manager and names the step (a localisation key; none for an inverse that runs inside
// another operation's undo, whose step keeps its name). When it goes out of scope after changing
// readings, the filtered counter is replaced and the averages are invalidated, once, after
// everything the operation announced.
class MyDocument::Change
{
public:
    enum Effect
    {
        Other,   // filters, information: their own announcements say everything
        Readings // the counter and the averages follow
    };

    Change(MyDocument &document, const char *actionName, std::function<void()> inverse,
           Effect effect = Other)
        : m_document(document), m_effect(effect)
    {
        document.pUndoManager->registerUndo(std::move(inverse));
        if (actionName)
            document.setActionName(actionName);
    }
    ~Change()
    {
        if (m_effect == Readings) {
            m_document.updateFilteredCounter();
            m_document.invalidateAverages();
        }
    }
    Change(const Change &) = delete;
    Change &operator=(const Change &) = delete;

private:
    MyDocument &m_document;
    const Effect m_effect;
};

// The listAboutToChange()/listChanged() bracket around the changes of one list. Opened at once,
// or with Lazy at the first open() (a bracket only when a row actually changes); closed when it
// goes out of scope, if it was opened.
class MyDocument::ListChange
{
public:
    enum Opening
    {
        Now,
        Lazy
    };

    ListChange(MyDocument &document, List list, Opening opening = Now)
        : m_document(document), m_list(list)
    {
        if (opening == Now)
            open();
    }
    ~ListChange()
    {
        if (m_open)
            emit m_document.listChanged(m_list);
    }
    ListChange(const ListChange &) = delete;
    ListChange &operator=(const ListChange &) = delete;

    void open()
    {
        if (m_open)
            return;
        m_open = true;
        emit m_document.listAboutToChange(m_list);
    }
    bool isOpen() const { return m_open; }

private:
    MyDocument &m_document;
    const List m_list;
    bool m_open = false;
};

template <typename T>
void MyDocument::insertRow(List list, QList<T> &rows, qint32 index, const T &value)
{
    emit rowsAboutToBeInserted(list, index, index);
    rows.insert(index, value);
    emit rowsInserted(list, index, index);
}

template <typename T> void MyDocument::removeRow(List list, QList<T> &rows, qint32 index)
{
    emit rowsAboutToBeRemoved(list, index, index);
    // Whoever held the element through the list keeps it alive until the signal is out.
    const T held = rows.takeAt(index);
    emit rowsRemoved(list, index, index);
}
