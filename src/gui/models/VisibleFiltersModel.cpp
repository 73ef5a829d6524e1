#include "VisibleFiltersModel.h"

VisibleFiltersModel::VisibleFiltersModel(MyDocument *document, QObject *parent)
    : DocumentListModel(document, MyDocument::List::VisibleFilters, parent)
{}

int VisibleFiltersModel::listCount() const
{
    return int(document()->visibleFilters().size());
}

int VisibleFiltersModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1;
}

FilterPtr VisibleFiltersModel::filter(int row) const
{
    if (!document() || row < 0 || row >= rowCount())
        return nullptr;
    return document()->visibleFilters().at(row);
}

int VisibleFiltersModel::rowOfFilter(const Filter *filter) const
{
    if (!document() || !filter)
        return -1;
    const FilterList &filters = document()->visibleFilters();
    for (qsizetype i = 0; i < filters.size(); ++i) {
        if (filters.at(i).get() == filter)
            return int(i);
    }
    return -1;
}

QVariant VisibleFiltersModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const FilterPtr f = filter(index.row());
    if (!f)
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::AccessibleTextRole)
        return f->name();
    return QVariant();
}

QVariant VisibleFiltersModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole)
        return qtTrId("window.column.filter");
    return DocumentListModel::headerData(section, orientation, role);
}
