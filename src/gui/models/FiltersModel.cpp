#include "FiltersModel.h"

FiltersModel::FiltersModel(MyDocument *document, QObject *parent)
    : QAbstractTableModel(parent), pDocument(document)
{
    using List = MyDocument::List;
    auto mine = [](List list) { return list == List::Filters; };
    connect(document, &MyDocument::rowsAboutToBeInserted, this, [this, mine](List l, int a, int b) {
        if (mine(l))
            beginInsertRows({}, a, b);
    });
    connect(document, &MyDocument::rowsInserted, this, [this, mine](List l) {
        if (mine(l))
            endInsertRows();
    });
    connect(document, &MyDocument::rowsAboutToBeRemoved, this, [this, mine](List l, int a, int b) {
        if (mine(l))
            beginRemoveRows({}, a, b);
    });
    connect(document, &MyDocument::rowsRemoved, this, [this, mine](List l) {
        if (mine(l))
            endRemoveRows();
    });
    connect(document, &MyDocument::rowAboutToBeMoved, this, [this, mine](List l, int from, int to) {
        if (mine(l))
            beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    });
    connect(document, &MyDocument::rowMoved, this, [this, mine](List l) {
        if (mine(l))
            endMoveRows();
    });
    connect(document, &MyDocument::listAboutToBeReset, this, [this, mine](List l) {
        if (mine(l))
            beginResetModel();
    });
    connect(document, &MyDocument::listReset, this, [this, mine](List l) {
        if (mine(l))
            endResetModel();
    });
    connect(document, &MyDocument::rowsChanged, this, [this, mine](List l, int a, int b) {
        if (mine(l))
            emit dataChanged(index(a, 0), index(b, ColumnCount - 1));
    });
}

FilterPtr FiltersModel::filterAt(int row) const
{
    return pDocument ? pDocument->filters().value(row) : FilterPtr();
}

int FiltersModel::rowOfFilter(const FilterPtr &filter) const
{
    return pDocument ? int(pDocument->filters().indexOf(filter)) : -1;
}

int FiltersModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !pDocument ? 0 : int(pDocument->filters().size());
}

int FiltersModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FiltersModel::data(const QModelIndex &index, int role) const
{
    const FilterPtr filter = filterAt(index.row());
    if (!filter)
        return {};
    switch (index.column()) {
    case NameColumn:
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return filter->name();
        break;
    case UseInFiltersColumn:
        if (role == Qt::CheckStateRole)
            return filter->isUsedInFilters() ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::AccessibleTextRole)
            return qtTrId("filters.column.in_menu");
        break;
    case UseInAveragesColumn:
        if (role == Qt::CheckStateRole)
            return filter->isUsedInAverages() ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::AccessibleTextRole)
            return qtTrId("filters.column.in_averages");
        break;
    default:
        break;
    }
    return {};
}

bool FiltersModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const FilterPtr filter = filterAt(index.row());
    if (!filter)
        return false;
    if (index.column() == NameColumn && role == Qt::EditRole) {
        const QString name = value.toString();
        // An empty name would leave the filter menu with a blank entry: the old name stays.
        if (name.trimmed().isEmpty())
            return false;
        if (name != filter->name())
            filter->setName(name);
        return true;
    }
    if (role != Qt::CheckStateRole)
        return false;
    const bool on = value.toInt() == Qt::Checked;
    if (index.column() == UseInFiltersColumn && on != filter->isUsedInFilters()) {
        filter->setUseInFilters(on);
        return true;
    }
    if (index.column() == UseInAveragesColumn && on != filter->isUsedInAverages()) {
        filter->setUseInAverages(on);
        return true;
    }
    return false;
}

Qt::ItemFlags FiltersModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    flags |= index.column() == NameColumn ? Qt::ItemIsEditable : Qt::ItemIsUserCheckable;
    return flags;
}

QVariant FiltersModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NameColumn:
        return qtTrId("filters.column.name");
    case UseInFiltersColumn:
        return qtTrId("filters.column.in_menu");
    case UseInAveragesColumn:
        return qtTrId("filters.column.in_averages");
    default:
        return {};
    }
}
