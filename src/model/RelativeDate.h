#pragma once

#include "Date.h"

#include <QHashFunctions>
#include <QLatin1String>
#include <QMetaType>
#include <QString>
#include <QVariant>

class KeyedArchiver;
class KeyedUnarchiver;

// A date a fixed distance from the present, such as "seven days ago". It keeps the distance in
// seconds, fixed when it was made, and the unit the distance was given in (0 days, 1 weeks,
// 2 months). Wherever a predicate compares a date with it, it stands for the present moment
// plus that distance, read at the moment of the comparison, so the window slides with the clock.
// Calendar arithmetic uses the Gregorian calendar in the local time zone. Immutable.
class RelativeDate
{
public:
    enum Units : qint32
    {
        Days = 0,
        Weeks = 1,
        Months = 2
    };

    // Interval 0, unit days: the present moment.
    RelativeDate() = default;
    // count units before the present, by calendar arithmetic (time of day kept, a day of the
    // month that a shorter month lacks pinned to its last day). For a unit code other than 0, 1
    // or 2 nothing is subtracted and the interval is zero.
    RelativeDate(qint64 count, qint32 units);
    // The distance from the present to the given date, in the given unit.
    RelativeDate(::Date date, qint32 units);
    // A relative date with the given stored values, as read back from a document.
    static RelativeDate fromTimeInterval(double timeIntervalSinceNow, qint32 units);

    double timeIntervalSinceNow() const { return fTimeIntervalSinceNow; }
    qint32 dateUnits() const { return nDateUnits; }

    // The present moment plus the interval, in seconds since the reference instant.
    double timeIntervalSinceReferenceDate() const;
    // The same, relative to the given instant instead of the present.
    double timeIntervalSinceReferenceDate(::Date now) const
    {
        return now.timeIntervalSinceReferenceDate() + fTimeIntervalSinceNow;
    }
    // The date the interval away from the given date.
    ::Date evaluateRelativeDateRelativeToDate(::Date date) const
    {
        return date.addingSeconds(fTimeIntervalSinceNow);
    }
    // Whole units, in the stored unit, from the date this stands for now to the present; -1 for
    // a unit code other than 0, 1 or 2 (or an interval no calendar can hold).
    qint64 valueOfTimeDifferenceInUnits() const;
    qint64 valueOfTimeDifferenceInUnits(::Date now) const;

    // The interval, its fraction dropped and held within 0..4294967295, plus the unit code.
    quint32 hash() const;
    // "<date (N units ago)>", for logs and debugging.
    QString description() const;

    // The keyed archive form, under the class name "RelativeDate": "time-interval-since-now"
    // (double) and "date-units" (32-bit integer); a missing key reads as 0. initWithCoder()
    // answers a RelativeDate, or an unusable marker for an interval that is not a finite number.
    void encodeWithCoder(KeyedArchiver &coder) const;
    static QVariant initWithCoder(KeyedUnarchiver &coder);

    // "days", "weeks", "months"; an empty string for any other code.
    static QLatin1String unitName(qint32 units);

    friend bool operator==(const RelativeDate &a, const RelativeDate &b)
    {
        return a.fTimeIntervalSinceNow == b.fTimeIntervalSinceNow && a.nDateUnits == b.nDateUnits;
    }
    friend bool operator!=(const RelativeDate &a, const RelativeDate &b) { return !(a == b); }
    friend size_t qHash(const RelativeDate &date, size_t seed = 0)
    {
        return ::qHash(date.hash(), seed);
    }

private:
    double fTimeIntervalSinceNow = 0;
    qint32 nDateUnits = Days;
};

Q_DECLARE_METATYPE(RelativeDate)
