#include "ReadingsModel.h"

#include "ArrayFormatter.h"
#include "DateFormatter.h"
#include "NumberFormatter.h"
#include "Preferences.h"
#include "PressureFormatter.h"
#include "TimeFormatter.h"

#include <limits>

ReadingsModel::ReadingsModel(MyDocument *document, QObject *parent)
    : DocumentListModel(document, MyDocument::List::Items, parent),
      fmtDate(DateFormatter::formatter()), fmtTime(TimeFormatter::formatter()),
      fmtTags(ArrayFormatter::formatter()), fmtWhole(std::make_unique<NumberFormatter>()),
      fmtDecimal(std::make_unique<NumberFormatter>()),
      nScheme(PressureClassification::schemeFromPreferences())
{
    fmtWhole->setNumberStyle(NumberFormatter::Style::None);
    fmtWhole->setMaximumFractionDigits(0);
    fmtDecimal->setNumberStyle(NumberFormatter::Style::Decimal);
    connect(&Preferences::shared(), &Preferences::changed, this,
            &ReadingsModel::onPreferenceChanged);
    if (document)
        connect(document, &MyDocument::sortItemsAscendingChanged, this,
                &ReadingsModel::followSortDirection);
    followSortDirection();
}

ReadingsModel::~ReadingsModel() = default;

int ReadingsModel::listCount() const
{
    return int(document()->items().size());
}

int ReadingsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

ReadingPtr ReadingsModel::reading(int row) const
{
    if (!document() || row < 0 || row >= rowCount())
        return nullptr;
    return document()->items().at(listIndexOfRow(row));
}

int ReadingsModel::rowOfReading(const Measurement *reading) const
{
    if (!document() || !reading)
        return -1;
    const qint32 index = MyDocument::indexOfMeasurement(reading, document()->items());
    return index < 0 ? -1 : rowOfListIndex(index);
}

QString ReadingsModel::showKeyOfColumn(int column)
{
    if (column == ClassColumn)
        return Preferences::classificationScheme;
    const ReadingValue *value = valueOfColumn(column);
    return value ? QString(value->showKey) : QString();
}

bool ReadingsModel::isColumnShown(int column)
{
    if (column == ClassColumn)
        return PressureClassification::schemeFromPreferences() !=
               PressureClassification::Scheme::None;
    const QString key = showKeyOfColumn(column);
    return key.isEmpty() || Preferences::shared().boolForKey(key);
}

namespace {

// The systolic and diastolic values of a reading that has both.
bool pressuresOf(const Measurement &reading, double *systolic, double *diastolic)
{
    return reading.numberForKey(Measurement::Key::Systolic, systolic) &&
           reading.numberForKey(Measurement::Key::Diastolic, diastolic);
}

} // namespace

QVariant ReadingsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const ReadingPtr r = reading(index.row());
    if (!r)
        return QVariant();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: {
        const QVariant date = QVariant::fromValue(r->theWholeDate());
        switch (column) {
        case DateColumn:
            return fmtDate->stringForObjectValue(date);
        case TimeColumn:
            return fmtTime->stringForObjectValue(date);
        case PressureColumn:
            return PressureFormatter::stringForMeasurement(*r);
        case ClassColumn: {
            double systolic = 0, diastolic = 0;
            if (!pressuresOf(*r, &systolic, &diastolic))
                return QString();
            return PressureClassification::category(nScheme, systolic, diastolic);
        }
        case TagsColumn:
            return fmtTags->stringForObjectValue(r->Tags());
        case CommentsColumn:
            // One line in the table; the whole text in the tool tip.
            return r->Comments().simplified();
        default:
            if (const ReadingValue *value = valueOfColumn(column)) {
                const NumberFormatter &formatter =
                    value->format == ReadingValue::Format::Whole ? *fmtWhole : *fmtDecimal;
                return formatter.stringFromNumber(r->valueForKey(value->key));
            }
            return QVariant();
        }
    }
    case Qt::ToolTipRole:
        if (column == CommentsColumn && !r->Comments().isEmpty())
            return r->Comments();
        return QVariant();
    case Qt::TextAlignmentRole:
        // The class sits between the right-aligned pressure and values: centred, it keeps clear
        // of both.
        if (column == ClassColumn)
            return int(Qt::AlignHCenter | Qt::AlignVCenter);
        if (column == DateColumn || column == TimeColumn || column == PressureColumn ||
            valueOfColumn(column))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case SortRole:
        switch (column) {
        case DateColumn:
            return r->theWholeDate().timeIntervalSinceReferenceDate();
        case TimeColumn:
            return r->Time().timeIntervalSinceReferenceDate();
        case PressureColumn: {
            double systolic = 0, diastolic = 0;
            r->numberForKey(Measurement::Key::Systolic, &systolic);
            r->numberForKey(Measurement::Key::Diastolic, &diastolic);
            return systolic * 1000.0 + diastolic;
        }
        case ClassColumn: {
            // By category in the scheme's order, then by pressure within one category.
            double systolic = 0, diastolic = 0;
            if (!pressuresOf(*r, &systolic, &diastolic))
                return -std::numeric_limits<double>::infinity();
            return PressureClassification::categoryRank(nScheme, systolic, diastolic) * 1e7 +
                   systolic * 1000.0 + diastolic;
        }
        case TagsColumn:
            return fmtTags->stringForObjectValue(r->Tags());
        case CommentsColumn:
            return r->Comments();
        default: {
            const ReadingValue *value = valueOfColumn(column);
            double number = 0;
            if (!value || !r->numberForKey(value->key, &number))
                return -std::numeric_limits<double>::infinity();
            return number;
        }
        }
    default:
        return QVariant();
    }
}

QVariant ReadingsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::TextAlignmentRole)
        return int((section == ClassColumn                               ? Qt::AlignHCenter
                    : section == TagsColumn || section == CommentsColumn ? Qt::AlignLeft
                                                                         : Qt::AlignRight) |
                   Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && section == ClassColumn &&
        nScheme != PressureClassification::Scheme::None)
        return qtTrId("window.column.class.tooltip")
            .arg(PressureClassification::schemeName(nScheme));
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return QVariant();
    switch (section) {
    case DateColumn:
        return qtTrId("window.column.date");
    case TimeColumn:
        return qtTrId("window.column.time");
    case PressureColumn:
        return qtTrId("window.column.pressure");
    case ClassColumn:
        return nScheme == PressureClassification::Scheme::None
                   ? qtTrId("window.column.class")
                   : qtTrId("print.columns.Class").arg(PressureClassification::schemeName(nScheme));
    case TagsColumn:
        return qtTrId("window.column.tags");
    case CommentsColumn:
        return qtTrId("window.column.comments");
    default: {
        const ReadingValue *value = valueOfColumn(section);
        if (!value)
            return QVariant();
        return value->columnTitleId ? qtTrId(value->columnTitleId)
                                    : ReadingValues::userTitle(*value);
    }
    }
}

void ReadingsModel::onPreferenceChanged(const QString &key)
{
    if (key == Preferences::classificationScheme) {
        const auto scheme = PressureClassification::schemeFromPreferences();
        if (scheme == nScheme)
            return;
        nScheme = scheme;
        emit headerDataChanged(Qt::Horizontal, ClassColumn, ClassColumn);
        if (rowCount() > 0)
            emit dataChanged(index(0, ClassColumn), index(rowCount() - 1, ClassColumn));
        return;
    }
    for (int column = 0; column < ColumnCount; ++column) {
        const ReadingValue *value = valueOfColumn(column);
        if (value && !value->titleKey.isEmpty() && value->titleKey == key)
            emit headerDataChanged(Qt::Horizontal, column, column);
    }
}

void ReadingsModel::followSortDirection()
{
    if (document())
        setReversed(!document()->sortItemsAscending());
}

void ReadingsModel::setSortAscending(bool ascending)
{
    if (!document())
        return;
    document()->setSortItemsAscending(ascending); // the rows follow its announcement
}

void ReadingsModel::resetting()
{
    if (document())
        setReversedQuietly(!document()->sortItemsAscending());
}
