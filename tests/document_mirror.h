#pragma once

// Test helpers shared by the document tests: a shadow copy of one of the document's lists kept
// only from its row signals, and a small item model built on the same signals.

#include "MyDocument.h"

#include <QAbstractListModel>
#include <QList>
#include <QStringList>

#include <algorithm>

// Lists of addresses compared element by element. (QList's own comparison of pointer lists
// hands null to memcmp when both are empty, which the undefined-behaviour sanitizer reports.)
template <typename T> bool sameRows(const QList<T *> &a, const QList<T *> &b)
{
    return a.size() == b.size() && std::equal(a.cbegin(), a.cend(), b.cbegin());
}

// What `f` makes of one announced list of the document.
template <typename F> auto withList(const MyDocument &document, MyDocument::List list, F f)
{
    switch (list) {
    case MyDocument::List::Items:
        return f(document.items());
    case MyDocument::List::Filters:
        return f(document.filters());
    case MyDocument::List::VisibleFilters:
        return f(document.visibleFilters());
    case MyDocument::List::Averages:
        return f(document.averages());
    case MyDocument::List::Information:
        break;
    }
    return f(document.information());
}

// The identities of the elements of one announced list.
inline QList<const void *> documentRows(const MyDocument &document, MyDocument::List list)
{
    return withList(document, list, [](const auto &elements) {
        QList<const void *> rows;
        for (const auto &element : elements)
            rows.append(element.get());
        return rows;
    });
}

// Connects `slot` to the document's signal, for one list only: it gets the signal's other
// arguments.
template <typename... Args, typename Slot>
void onList(MyDocument *document, MyDocument::List list, QObject *receiver,
            void (MyDocument::*signal)(MyDocument::List, Args...), Slot slot)
{
    QObject::connect(document, signal, receiver, [list, slot](MyDocument::List l, Args... args) {
        if (l == list)
            slot(args...);
    });
}

// Follows one list through the row signals alone and checks at every signal that the document's
// list is in the state the signal promises: unchanged at an "about to" signal, changed by
// exactly the announced rows at the closing one. Every disagreement is kept in `errors`.
class ListMirror : public QObject
{
public:
    ListMirror(MyDocument *document, MyDocument::List list)
        : pDocument(document), eList(list), pRows(documentRows(*document, list))
    {
        using D = MyDocument;
        const auto on = [&](auto signal, auto slot) { onList(document, list, this, signal, slot); };
        on(&D::rowsAboutToBeInserted, [this](int, int) { expectUnchanged("before insertion"); });
        on(&D::rowsInserted, [this](int first, int last) {
            const auto now = documentRows(*pDocument, eList);
            if (first < 0 || last < first || last >= now.size() || first > pRows.size())
                return fail("bad inserted range");
            for (int i = first; i <= last; ++i)
                pRows.insert(i, now[i]);
            expectUnchanged("after insertion");
        });
        on(&D::rowsAboutToBeRemoved, [this](int, int) { expectUnchanged("before removal"); });
        on(&D::rowsRemoved, [this](int first, int last) {
            if (first < 0 || last < first || last >= pRows.size())
                return fail("bad removed range");
            pRows.remove(first, last - first + 1);
            expectUnchanged("after removal");
        });
        on(&D::rowAboutToBeMoved, [this](int, int) { expectUnchanged("before move"); });
        on(&D::rowMoved, [this](int from, int to) {
            if (from < 0 || to < 0 || from >= pRows.size() || to >= pRows.size() || from == to)
                return fail("bad move");
            pRows.move(from, to);
            expectUnchanged("after move");
        });
        on(&D::listAboutToBeReset, [this] { expectUnchanged("before reset"); });
        on(&D::listReset, [this] { pRows = documentRows(*pDocument, eList); });
        on(&D::rowsChanged, [this](int first, int last) {
            if (first < 0 || last < first || last >= pRows.size())
                fail("bad changed range");
        });
        on(&D::listAboutToChange, [this] {
            if (bInBracket)
                fail("nested bracket");
            bInBracket = true;
        });
        on(&D::listChanged, [this] {
            if (!bInBracket)
                fail("closing bracket without opening");
            bInBracket = false;
            expectUnchanged("at the closing bracket");
        });
    }

    // True when the shadow list equals the document's list.
    bool inStep() const { return !bInBracket && sameRows(pRows, documentRows(*pDocument, eList)); }

    QStringList errors;

private:
    void fail(const char *what)
    {
        errors.append(MyDocument::keyOf(eList) + QLatin1String(": ") + QLatin1String(what));
    }
    void expectUnchanged(const char *when)
    {
        if (!sameRows(pRows, documentRows(*pDocument, eList)))
            fail(when);
    }

    MyDocument *pDocument;
    MyDocument::List eList;
    QList<const void *> pRows;
    bool bInBracket = false;
};

// A one-column model over one of the document's lists, driven only by the document's signals;
// QAbstractItemModelTester checks it.
class DocumentListModel : public QAbstractListModel
{
public:
    DocumentListModel(MyDocument *document, MyDocument::List list)
        : pDocument(document), eList(list)
    {
        using D = MyDocument;
        const auto on = [&](auto signal, auto slot) { onList(document, list, this, signal, slot); };
        on(&D::rowsAboutToBeInserted, [this](int f, int t) { beginInsertRows({}, f, t); });
        on(&D::rowsInserted, [this](int, int) { endInsertRows(); });
        on(&D::rowsAboutToBeRemoved, [this](int f, int t) { beginRemoveRows({}, f, t); });
        on(&D::rowsRemoved, [this](int, int) { endRemoveRows(); });
        on(&D::rowAboutToBeMoved, [this](int from, int to) {
            beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
        });
        on(&D::rowMoved, [this](int, int) { endMoveRows(); });
        on(&D::listAboutToBeReset, [this] { beginResetModel(); });
        on(&D::listReset, [this] { endResetModel(); });
        on(&D::rowsChanged, [this](int f, int t) { emit dataChanged(index(f), index(t)); });
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(row(-1).second);
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || role != Qt::DisplayRole || index.row() >= rowCount())
            return {};
        return QVariant::fromValue(quintptr(row(index.row()).first));
    }

private:
    // The element at `i` (null for -1) and the list's size, without copying the list.
    std::pair<const void *, qsizetype> row(int i) const
    {
        return withList(*pDocument, eList, [i](const auto &list) {
            return std::pair<const void *, qsizetype>(i < 0 ? nullptr : list[i].get(), list.size());
        });
    }

    MyDocument *pDocument;
    MyDocument::List eList;
};
