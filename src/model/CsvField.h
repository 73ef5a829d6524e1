#pragma once

#include <QtGlobal>

// What a column of a CSV file holds, in the order the export writes the columns.
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
