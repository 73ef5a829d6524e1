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

// The identities of the elements of one announced list.
inline QList<const void *> documentRows(const MyDocument &document, MyDocument::List list)
{
    QList<const void *> rows;
    switch (list) {
    case MyDocument::List::Items:
        for (const auto &reading : document.items())
            rows.append(reading.get());
        break;
    case MyDocument::List::Filters:
        for (const FilterPtr &filter : document.filters())
            rows.append(filter.get());
        break;
    case MyDocument::List::VisibleFilters:
        for (const FilterPtr &filter : document.visibleFilters())
            rows.append(filter.get());
        break;
    case MyDocument::List::Averages:
        for (const AveragePtr &average : document.averages())
            rows.append(average.get());
        break;
    case MyDocument::List::Information:
        for (const InformationItemPtr &item : document.information())
            rows.append(item.get());
        break;
    }
    return rows;
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
        using L = MyDocument::List;
        connect(document, &MyDocument::rowsAboutToBeInserted, this,
                [this](L l, int, int) { expectUnchanged(l, "before insertion"); });
        connect(document, &MyDocument::rowsInserted, this, [this](L l, int first, int last) {
            if (l != eList)
                return;
            const auto now = documentRows(*pDocument, eList);
            if (first < 0 || last < first || last >= now.size() || first > pRows.size()) {
                fail("bad inserted range");
                return;
            }
            for (int i = first; i <= last; ++i)
                pRows.insert(i, now[i]);
            expectUnchanged(l, "after insertion");
        });
        connect(document, &MyDocument::rowsAboutToBeRemoved, this,
                [this](L l, int, int) { expectUnchanged(l, "before removal"); });
        connect(document, &MyDocument::rowsRemoved, this, [this](L l, int first, int last) {
            if (l != eList)
                return;
            if (first < 0 || last < first || last >= pRows.size()) {
                fail("bad removed range");
                return;
            }
            pRows.remove(first, last - first + 1);
            expectUnchanged(l, "after removal");
        });
        connect(document, &MyDocument::rowAboutToBeMoved, this,
                [this](L l, int, int) { expectUnchanged(l, "before move"); });
        connect(document, &MyDocument::rowMoved, this, [this](L l, int from, int to) {
            if (l != eList)
                return;
            if (from < 0 || to < 0 || from >= pRows.size() || to >= pRows.size() || from == to) {
                fail("bad move");
                return;
            }
            pRows.move(from, to);
            expectUnchanged(l, "after move");
        });
        connect(document, &MyDocument::listAboutToBeReset, this,
                [this](L l) { expectUnchanged(l, "before reset"); });
        connect(document, &MyDocument::listReset, this, [this](L l) {
            if (l == eList)
                pRows = documentRows(*pDocument, eList);
        });
        connect(document, &MyDocument::rowsChanged, this, [this](L l, int first, int last) {
            if (l == eList && (first < 0 || last < first || last >= pRows.size()))
                fail("bad changed range");
        });
        connect(document, &MyDocument::listAboutToChange, this, [this](L l) {
            if (l == eList) {
                if (bInBracket)
                    fail("nested bracket");
                bInBracket = true;
            }
        });
        connect(document, &MyDocument::listChanged, this, [this](L l) {
            if (l != eList)
                return;
            if (!bInBracket)
                fail("closing bracket without opening");
            bInBracket = false;
            expectUnchanged(l, "at the closing bracket");
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
    void expectUnchanged(MyDocument::List l, const char *when)
    {
        if (l == eList && !sameRows(pRows, documentRows(*pDocument, eList)))
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
        using L = MyDocument::List;
        connect(document, &MyDocument::rowsAboutToBeInserted, this, [this](L l, int f, int t) {
            if (l == eList)
                beginInsertRows({}, f, t);
        });
        connect(document, &MyDocument::rowsInserted, this, [this](L l) {
            if (l == eList)
                endInsertRows();
        });
        connect(document, &MyDocument::rowsAboutToBeRemoved, this, [this](L l, int f, int t) {
            if (l == eList)
                beginRemoveRows({}, f, t);
        });
        connect(document, &MyDocument::rowsRemoved, this, [this](L l) {
            if (l == eList)
                endRemoveRows();
        });
        connect(document, &MyDocument::rowAboutToBeMoved, this, [this](L l, int from, int to) {
            if (l == eList)
                beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
        });
        connect(document, &MyDocument::rowMoved, this, [this](L l) {
            if (l == eList)
                endMoveRows();
        });
        connect(document, &MyDocument::listAboutToBeReset, this, [this](L l) {
            if (l == eList)
                beginResetModel();
        });
        connect(document, &MyDocument::listReset, this, [this](L l) {
            if (l == eList)
                endResetModel();
        });
        connect(document, &MyDocument::rowsChanged, this, [this](L l, int f, int t) {
            if (l == eList)
                emit dataChanged(index(f), index(t));
        });
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(documentRows(*pDocument, eList).size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || role != Qt::DisplayRole)
            return {};
        const auto rows = documentRows(*pDocument, eList);
        if (index.row() >= rows.size())
            return {};
        return QVariant::fromValue(quintptr(rows[index.row()]));
    }

private:
    MyDocument *pDocument;
    MyDocument::List eList;
};
