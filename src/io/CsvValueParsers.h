#pragma once

#include <QStringView>
#include <QVariant>

// The cells of a CSV file as values: numbers with a decimal dot or comma, calendar dates in the
// usual orders, times of day on the 12- and 24-hour clock with or without an offset, and Unix
// timestamps. Each returns false on text it cannot read and leaves its result alone then.
namespace CsvValueParsers {

// A day and a time of day as a cell gives them: days since 1970-01-01, the second of that day,
// its fraction, and the offset from UTC when the cell names one.
struct Moment
{
    qint64 days = 0;
    qint64 secondOfDay = 0;
    double fraction = 0;
    bool bOffset = false;
    int offset = 0; // seconds east of UTC
};

// QStringView::trimmed() without the call when there is nothing to trim, the usual case.
inline QStringView trim(QStringView s)
{
    if (s.isEmpty() || (s.front().unicode() > u' ' && s.back().unicode() > u' '))
        return s;
    return s.trimmed();
}

inline bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// Digits only (1 to 9 of them).
bool parseDigits(QStringView s, int *value);

// A number with a decimal dot or comma: a whole number as qlonglong, else a double. An empty
// text is an absent value (an invalid QVariant). False for anything else.
bool parseNumber(QStringView s, QVariant *value);

// "a/b/yyyy": the two leading numbers, for deciding the order of a column.
bool slashParts(QStringView s, int *first, int *second);

// "yyyy-MM-dd", "dd.MM.yy[yy]", "yyyy/MM/dd", and "a/b/yy[yy]" read day first unless
// `monthFirst`; sets the moment's days.
bool parseCalendarDate(QStringView s, bool monthFirst, Moment *moment);

// "HH:mm[:ss[.fff]]", "H.mm", with "am"/"pm" or "Uhr", and an offset ("Z", "+01:00", "+0100");
// sets the moment's time of day, fraction and offset.
bool parseTimeOfDay(QStringView s, Moment *moment);

// Whole digits with an optional fraction, nine digits or more: a Unix timestamp, in milliseconds
// from 1973 on (given back in seconds).
bool parseTimestamp(QStringView s, double *unixSeconds);

} // namespace CsvValueParsers
