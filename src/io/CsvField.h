#pragma once

#include "ReadingValues.h"

#include <QtGlobal>

// What a column of a CSV file holds, in the order the export writes the columns. Systolic to
// Custom3 are the stored values of the table of values (ReadingValues), in its order.
enum class CsvField : quint8
{
    Ignore, // a column the import leaves out
    Date,
    Time,
    DateTime, // an instant, ISO 8601 with its offset on export
    Systolic,
    Diastolic,
    Pulse,
    Weight,
    Custom1,
    Custom2,
    Custom3,
    Comments,
    Tags
};

static_assert(int(CsvField::Custom3) - int(CsvField::Systolic) + 1 == ReadingValues::kStoredCount,
              "one column kind per stored value");

// The column kind of a stored value (by its slot), and the value a column holds (nullptr for the
// columns that hold no value).
constexpr CsvField fieldOfValue(int slot)
{
    return CsvField(int(CsvField::Systolic) + slot);
}
constexpr const ReadingValue *valueOfField(CsvField field)
{
    const int slot = int(field) - int(CsvField::Systolic);
    return slot >= 0 && slot < ReadingValues::kStoredCount ? ReadingValues::kStored[slot] : nullptr;
}
