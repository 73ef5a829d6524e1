#include "AveragesModel.h"

#include "AverageFormatter.h"
#include "AverageIntFormatter.h"
#include "Preferences.h"

AveragesModel::AveragesModel(MyDocument *document, QObject *parent)
    : DocumentListModel(document, MyDocument::List::Averages, parent),
      fmtWhole(AverageIntFormatter::formatter()), fmtDecimal(AverageFormatter::formatter())
{
    connect(document, &MyDocument::averagesInvalidated, this,
            &AveragesModel::onAveragesInvalidated);
    connect(&Preferences::shared(), &Preferences::changed, this,
            &AveragesModel::onPreferenceChanged);
}

AveragesModel::~AveragesModel() = default;

int AveragesModel::listCount() const
{
    return int(document()->averages().size());
}

int AveragesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

AveragePtr AveragesModel::average(int row) const
{
    if (!document() || row < 0 || row >= rowCount())
        return nullptr;
    return document()->averages().at(row);
}

QString AveragesModel::valueKeyOfColumn(int column)
{
    if (column <= FilterColumn || column >= ColumnCount)
        return QString();
    return Average::keys().at(column - SystolicColumn);
}

QString AveragesModel::showKeyOfColumn(int column)
{
    return Preferences::showKeyForValue(valueKeyOfColumn(column));
}

QVariant AveragesModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const AveragePtr a = average(index.row());
    if (!a)
        return QVariant();
    const int column = index.column();
    if (role == Qt::TextAlignmentRole)
        return int((column == FilterColumn ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return QVariant();
    if (column == FilterColumn)
        return a->name();
    // Systolic, diastolic, pulse pressure and pulse are whole numbers.
    const bool whole = column <= PulseColumn;
    const Formatter &formatter = whole ? static_cast<const Formatter &>(*fmtWhole)
                                       : static_cast<const Formatter &>(*fmtDecimal);
    return formatter.stringForObjectValue(QVariant::fromValue(a->item(valueKeyOfColumn(column))));
}

QVariant AveragesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return DocumentListModel::headerData(section, orientation, role);
    if (role == Qt::TextAlignmentRole)
        return int((section == FilterColumn ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return QVariant();
    switch (section) {
    case FilterColumn:
        return qtTrId("window.column.filter");
    case SystolicColumn:
        return qtTrId("window.column.systolic");
    case DiastolicColumn:
        return qtTrId("window.column.diastolic");
    case PulsePressureColumn:
        return qtTrId("window.column.pulse_pressure");
    case PulseColumn:
        return qtTrId("window.column.pulse");
    case WeightColumn:
        return qtTrId("window.column.weight");
    case Custom1Column:
        return Preferences::shared().stringForKey(Preferences::customTitle1);
    case Custom2Column:
        return Preferences::shared().stringForKey(Preferences::customTitle2);
    default:
        return Preferences::shared().stringForKey(Preferences::customTitle3);
    }
}

void AveragesModel::onAveragesInvalidated()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, SystolicColumn), index(rowCount() - 1, ColumnCount - 1),
                         {Qt::DisplayRole});
}

void AveragesModel::onPreferenceChanged(const QString &key)
{
    if (key == Preferences::customTitle1)
        emit headerDataChanged(Qt::Horizontal, Custom1Column, Custom1Column);
    else if (key == Preferences::customTitle2)
        emit headerDataChanged(Qt::Horizontal, Custom2Column, Custom2Column);
    else if (key == Preferences::customTitle3)
        emit headerDataChanged(Qt::Horizontal, Custom3Column, Custom3Column);
}
