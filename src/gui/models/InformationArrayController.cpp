#include "InformationArrayController.h"

#include <algorithm>

InformationArrayController::InformationArrayController(MyDocument *document, QObject *parent)
    : DNDArrayController(document, MyDocument::List::Information, parent)
{}

int InformationArrayController::listCount() const
{
    return int(document()->information().size());
}

int InformationArrayController::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

InformationItemPtr InformationArrayController::item(int row) const
{
    if (!document() || row < 0 || row >= rowCount())
        return nullptr;
    return document()->information().at(row);
}

Qt::ItemFlags InformationArrayController::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = DNDArrayController::flags(index);
    if (!index.isValid())
        return f;
    if (index.column() == PrintedColumn)
        return f | Qt::ItemIsUserCheckable;
    return f | Qt::ItemIsEditable;
}

QVariant InformationArrayController::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const InformationItemPtr it = item(index.row());
    if (!it)
        return QVariant();
    switch (index.column()) {
    case NameColumn:
    case ValueColumn:
        if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::AccessibleTextRole) {
            const QString text = index.column() == NameColumn ? it->name() : it->value();
            // One line in the table; the editor gets the whole text.
            return role == Qt::EditRole ? text : QString(text).replace(QLatin1Char('\n'), u' ');
        }
        if (role == Qt::ToolTipRole && index.column() == ValueColumn && it->value().contains('\n'))
            return it->value();
        return QVariant();
    case PrintedColumn:
        if (role == Qt::CheckStateRole)
            return it->isPrinted() ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::AccessibleTextRole)
            return it->isPrinted() ? qtTrId("yes") : qtTrId("no");
        return QVariant();
    default:
        return QVariant();
    }
}

bool InformationArrayController::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    const InformationItemPtr it = item(index.row());
    if (!it)
        return false;
    // The document hears of the change from the item, records its undo and announces the row.
    switch (index.column()) {
    case NameColumn:
        if (role != Qt::EditRole || !value.canConvert<QString>())
            return false;
        it->setName(value.toString());
        return true;
    case ValueColumn:
        if (role != Qt::EditRole || !value.canConvert<QString>())
            return false;
        it->setValue(value.toString());
        return true;
    case PrintedColumn:
        if (role != Qt::CheckStateRole)
            return false;
        it->setPrinted(value.toInt() == Qt::Checked);
        return true;
    default:
        return false;
    }
}

QVariant InformationArrayController::headerData(int section, Qt::Orientation orientation,
                                                int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return DNDArrayController::headerData(section, orientation, role);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return QVariant();
    switch (section) {
    case NameColumn:
        return qtTrId("window.column.label");
    case ValueColumn:
        return qtTrId("window.column.value");
    default:
        return qtTrId("window.column.printed");
    }
}

InformationItemPtr InformationArrayController::newObject()
{
    return InformationItem::create(qtTrId("doc.information.new_item.label"),
                                   qtTrId("doc.information.new_item.descr"), true);
}

int InformationArrayController::add()
{
    if (!document())
        return -1;
    InformationList items = document()->information();
    items.append(newObject());
    document()->setInformation(items);
    return rowCount() - 1;
}

void InformationArrayController::remove(const QList<int> &rows)
{
    if (!document() || rows.isEmpty())
        return;
    InformationList items;
    const InformationList &current = document()->information();
    for (qsizetype i = 0; i < current.size(); ++i) {
        if (!rows.contains(int(i)))
            items.append(current.at(i));
    }
    if (items.size() != current.size())
        document()->setInformation(items);
}

QList<int>
InformationArrayController::moveObjectsInArrangedObjectsFromIndexes(const QList<int> &indexes,
                                                                    int toIndex)
{
    QList<int> moved = indexes;
    std::sort(moved.begin(), moved.end());
    moved.erase(std::unique(moved.begin(), moved.end()), moved.end());
    const InformationList &current = document() ? document()->information() : InformationList();
    if (moved.isEmpty() || moved.first() < 0 || moved.last() >= current.size())
        return {};
    toIndex = std::clamp(toIndex, 0, int(current.size()));

    // The dragged rows above the drop place shift it up once they are taken out.
    const int below = countOfIndexesInRange(moved, 0, toIndex);
    const int first = toIndex - below;
    InformationList taken;
    InformationList rest;
    for (qsizetype i = 0; i < current.size(); ++i)
        (moved.contains(int(i)) ? taken : rest).append(current.at(i));
    InformationList result = rest;
    for (qsizetype k = 0; k < taken.size(); ++k)
        result.insert(first + k, taken.at(k));
    document()->setInformation(result); // one undo step; nothing when the order is unchanged

    QList<int> target;
    for (int k = 0; k < int(taken.size()); ++k)
        target.append(first + k);
    return target;
}
