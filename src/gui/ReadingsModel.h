#pragma once

#include "DocumentListModel.h"

#include <memory>
#include <type_traits>

class ArrayFormatter;
class DateFormatter;
class NumberFormatter;
class TimeFormatter;

// The readings as the document hands them out (whatever constness it gives them).
using ReadingList = std::decay_t<decltype(std::declval<const MyDocument &>().items())>;
using ReadingPtr = ReadingList::value_type;

// The document's filtered readings as a table, in the document's presentation order: oldest
// first, or newest first as a mapping of rows (no second list). Columns: date, time, pressure,
// pulse, weight, three custom values (titled by the preferences), tags, comments.
class ReadingsModel : public DocumentListModel
{
    Q_OBJECT
public:
    enum Column
    {
        DateColumn,
        TimeColumn,
        PressureColumn,
        PulseColumn,
        WeightColumn,
        Custom1Column,
        Custom2Column,
        Custom3Column,
        TagsColumn,
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

    // The preference that shows an optional column, or empty for the columns always shown.
    static QString showKeyOfColumn(int column);

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
};
