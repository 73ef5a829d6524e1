#pragma once

#include "DocumentListModel.h"
#include "PressureClassification.h"
#include "ReadingValues.h"

#include <algorithm>
#include <array>
#include <memory>
#include <type_traits>

class ArrayFormatter;
class DateFormatter;
class NumberFormatter;
class TimeFormatter;

// The readings as the document hands them out (whatever constness it gives them).
using ReadingList = std::decay_t<decltype(std::declval<const MyDocument &>().items())>;
using ReadingPtr = ReadingList::value_type;

namespace ReadingsColumns {
// The values a reading may lack each have a column of their own; the pressures share one, and
// the derived values have none.
constexpr bool hasOwnColumn(const ReadingValue &value)
{
    return value.presence == ReadingValue::Presence::Optional;
}
inline constexpr int kValueCount = int(std::ranges::count_if(ReadingValues::kAll, hasOwnColumn));
} // namespace ReadingsColumns

// The document's filtered readings as a table, in the document's presentation order: oldest
// first, or newest first as a mapping of rows (no second list). Columns: date, time, pressure,
// the pressure's class under the scheme the preferences choose (shown only with one), the optional
// values of the table of values in its order (pulse, weight, three custom values titled by the
// preferences), tags, comments.
class ReadingsModel : public DocumentListModel
{
    Q_OBJECT
public:
    enum Column
    {
        DateColumn,
        TimeColumn,
        PressureColumn,
        ClassColumn,
        FirstValueColumn,
        // The value columns are named for the places that want one in particular.
        PulseColumn = FirstValueColumn,
        WeightColumn,
        Custom1Column,
        Custom2Column,
        Custom3Column,
        TagsColumn = FirstValueColumn + ReadingsColumns::kValueCount,
        CommentsColumn,
        ColumnCount
    };
    // A value to sort the column by (numbers and instants as numbers, absent values first).
    static constexpr int SortRole = Qt::UserRole + 1;

    explicit ReadingsModel(MyDocument *document, QObject *parent = nullptr);
    ~ReadingsModel() override;

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    ReadingPtr reading(int row) const;
    // The row showing the reading (found by identity), or -1.
    int rowOfReading(const Measurement *reading) const;

    // The value a column shows, or nullptr for the columns of the date, time, pressure, tags and
    // comments.
    static constexpr const ReadingValue *valueOfColumn(int column);
    // The preference that shows an optional column, or empty for the columns always shown.
    static QString showKeyOfColumn(int column);
    // Whether the preferences show the column.
    static bool isColumnShown(int column);

    // Brings the row order in line with the document's sort direction.
    void followSortDirection();
    // The user sorts by date: stores the direction in the document and follows it.
    void setSortAscending(bool ascending);

protected:
    int listCount() const override;
    // A document read anew may come with another sort direction.
    void resetting() override;

private:
    void onPreferenceChanged(const QString &key);

    std::unique_ptr<DateFormatter> fmtDate;
    std::unique_ptr<TimeFormatter> fmtTime;
    std::unique_ptr<ArrayFormatter> fmtTags;
    std::unique_ptr<NumberFormatter> fmtWhole;
    std::unique_ptr<NumberFormatter> fmtDecimal;
    PressureClassification::Scheme nScheme;
};

namespace ReadingsColumns {
// Per column, the value it shows.
inline constexpr auto kValueOf = [] {
    std::array<const ReadingValue *, ReadingsModel::ColumnCount> values{};
    int column = ReadingsModel::FirstValueColumn;
    for (const ReadingValue &value : ReadingValues::kAll) {
        if (hasOwnColumn(value))
            values[std::size_t(column++)] = &value;
    }
    return values;
}();
} // namespace ReadingsColumns

constexpr const ReadingValue *ReadingsModel::valueOfColumn(int column)
{
    return column >= 0 && column < ColumnCount ? ReadingsColumns::kValueOf[std::size_t(column)]
                                               : nullptr;
}

static_assert(ReadingsModel::Custom3Column + 1 == ReadingsModel::TagsColumn &&
                  ReadingsModel::valueOfColumn(ReadingsModel::PulseColumn)->key ==
                      Measurement::Key::Pulse &&
                  ReadingsModel::valueOfColumn(ReadingsModel::WeightColumn)->key ==
                      Measurement::Key::Weight &&
                  ReadingsModel::valueOfColumn(ReadingsModel::Custom1Column)->key ==
                      Measurement::Key::CustomValue1 &&
                  ReadingsModel::valueOfColumn(ReadingsModel::Custom2Column)->key ==
                      Measurement::Key::CustomValue2 &&
                  ReadingsModel::valueOfColumn(ReadingsModel::Custom3Column)->key ==
                      Measurement::Key::CustomValue3,
              "the named value columns follow the table of values");
