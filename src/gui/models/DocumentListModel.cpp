#include "DocumentListModel.h"

DocumentListModel::DocumentListModel(MyDocument *document, MyDocument::List list, QObject *parent)
    : QAbstractTableModel(parent), pDocument(document), nList(list)
{
    Q_ASSERT_X(document, "DocumentListModel", "a list model needs a document");
    connect(document, &MyDocument::rowsAboutToBeInserted, this,
            &DocumentListModel::onRowsAboutToBeInserted);
    connect(document, &MyDocument::rowsInserted, this, &DocumentListModel::onRowsInserted);
    connect(document, &MyDocument::rowsAboutToBeRemoved, this,
            &DocumentListModel::onRowsAboutToBeRemoved);
    connect(document, &MyDocument::rowsRemoved, this, &DocumentListModel::onRowsRemoved);
    connect(document, &MyDocument::rowAboutToBeMoved, this,
            &DocumentListModel::onRowAboutToBeMoved);
    connect(document, &MyDocument::rowMoved, this, &DocumentListModel::onRowMoved);
    connect(document, &MyDocument::listAboutToBeReset, this,
            &DocumentListModel::onListAboutToBeReset);
    connect(document, &MyDocument::listReset, this, &DocumentListModel::onListReset);
    connect(document, &MyDocument::rowsChanged, this, &DocumentListModel::onRowsChanged);
    // A document that goes away first leaves an empty model behind.
    connect(document, &QObject::destroyed, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

DocumentListModel::~DocumentListModel() = default;

int DocumentListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !pDocument)
        return 0;
    return listCount();
}

void DocumentListModel::setReversed(bool reversed)
{
    if (reversed == bReversed)
        return;
    // Only the persistent indexes move: nothing per row. The hint keeps the row header from
    // walking all its sections to carry per-row sizes along: every row has the same size and
    // none is hidden, so there is nothing to carry, and at 100,000 rows the walk would be
    // most of the cost of turning the order.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::HorizontalSortHint);
    const QModelIndexList before = persistentIndexList();
    const int count = rowCount();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before)
        after.append(index.isValid() ? createIndex(count - 1 - index.row(), index.column())
                                     : QModelIndex());
    bReversed = reversed;
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::HorizontalSortHint);
}

void DocumentListModel::onRowsAboutToBeInserted(MyDocument::List list, int first, int last)
{
    if (list != nList)
        return;
    if (bReversed) {
        // The rows as they will stand in the longer list.
        const int count = listCount() + (last - first + 1);
        beginInsertRows(QModelIndex(), count - 1 - last, count - 1 - first);
    } else {
        beginInsertRows(QModelIndex(), first, last);
    }
}

void DocumentListModel::onRowsInserted(MyDocument::List list)
{
    if (list == nList)
        endInsertRows();
}

void DocumentListModel::onRowsAboutToBeRemoved(MyDocument::List list, int first, int last)
{
    if (list != nList)
        return;
    beginRemoveRows(QModelIndex(), std::min(rowOfListIndex(first), rowOfListIndex(last)),
                    std::max(rowOfListIndex(first), rowOfListIndex(last)));
}

void DocumentListModel::onRowsRemoved(MyDocument::List list)
{
    if (list == nList)
        endRemoveRows();
}

void DocumentListModel::onRowAboutToBeMoved(MyDocument::List list, int from, int to)
{
    if (list != nList)
        return;
    const int source = rowOfListIndex(from);
    const int target = rowOfListIndex(to);
    // Qt names the row before which the moved row lands, counted before the move.
    beginMoveRows(QModelIndex(), source, source, QModelIndex(),
                  target > source ? target + 1 : target);
}

void DocumentListModel::onRowMoved(MyDocument::List list)
{
    if (list == nList)
        endMoveRows();
}

void DocumentListModel::onListAboutToBeReset(MyDocument::List list)
{
    if (list == nList)
        beginResetModel();
}

void DocumentListModel::onListReset(MyDocument::List list)
{
    if (list == nList) {
        resetting();
        endResetModel();
    }
}

void DocumentListModel::onRowsChanged(MyDocument::List list, int first, int last)
{
    if (list != nList || columnCount() == 0)
        return;
    const int a = rowOfListIndex(first);
    const int b = rowOfListIndex(last);
    emit dataChanged(index(std::min(a, b), 0), index(std::max(a, b), columnCount() - 1));
}
