#pragma once

#include <QDateTime>
#include <QMetaType>

#include <cmath>
#include <functional>

// An instant: seconds since 2001-01-01 00:00:00 UTC, kept as a double exactly as documents
// store it, so averaged and stored instants keep their fractions of a second. A Date carries
// no time zone; the calendar operations work in the local zone and the locale's calendar
// (Gregorian, first weekday from the default QLocale) in effect at the moment of the call.
// A default-constructed Date is null.
class Date
{
public:
    // Seconds between the Unix epoch and the reference instant.
    static constexpr double kReferenceFrom1970 = 978307200.0;

    constexpr Date() = default;
    explicit constexpr Date(double secondsSinceReference) : fSeconds(secondsSinceReference) {}

    // The present moment, from the injectable clock.
    static Date now();
    // Replaces the clock that now() reads; an empty function restores the system clock.
    static void setClock(std::function<Date()> clock);

    static Date fromTimeIntervalSince1970(double seconds)
    {
        return Date(seconds - kReferenceFrom1970);
    }
    static Date fromDateTime(const QDateTime &dateTime);
    // Midnight-based local date built from calendar components; unset time parts are 0.
    static Date fromComponents(int year, int month, int day, int hour = 0, int minute = 0,
                               int second = 0);

    bool isNull() const { return std::isnan(fSeconds); }
    bool isFinite() const { return std::isfinite(fSeconds); }

    // The instants the calendar works with: 100,000,000 days either side of 1970-01-01 (about
    // 273,790 years, the range of ECMAScript dates). Files may hold no other date; a date
    // outside it that arises otherwise converts as the nearest end of the range.
    static constexpr double kMaxSecondsFrom1970 = 8.64e12;
    bool isInRange() const
    {
        return std::fabs(timeIntervalSince1970()) <= kMaxSecondsFrom1970; // false for NaN
    }
    double timeIntervalSinceReferenceDate() const { return fSeconds; }
    double timeIntervalSince1970() const { return fSeconds + kReferenceFrom1970; }
    Date addingSeconds(double seconds) const { return Date(fSeconds + seconds); }

    // The local date and time of this instant, to the millisecond (rounded down); an instant
    // outside the range above gives the nearest end of the range, a null or infinite date an
    // invalid QDateTime.
    QDateTime toDateTime() const;

    struct Components
    {
        int year = 1, month = 1, day = 1, hour = 0, minute = 0, second = 0;
        int weekday = 1; // 1 Sunday ... 7 Saturday
    };
    Components components() const;

    // The locale calendar's first weekday: 1 Sunday ... 7 Saturday.
    static int firstWeekday();

    // Calendar helpers. Each returns a new date; see the class comment for the calendar used.
    static Date minimum();
    static Date maximum();
    Date thisDay() const;
    Date nextDay() const;
    Date prevDay() const;
    Date endOfThisDay() const;
    Date thisWeek() const;
    Date nextWeek() const;
    Date thisMonth() const;
    Date nextMonth() const;
    Date endOfThisMonth() const;
    Date monthAgo() const;
    Date thisYear() const;
    Date nextYear() const;
    Date endOfThisYear() const;
    Date yearAgo() const;

    friend bool operator==(Date a, Date b) { return a.fSeconds == b.fSeconds; }
    friend bool operator!=(Date a, Date b) { return a.fSeconds != b.fSeconds; }
    friend bool operator<(Date a, Date b) { return a.fSeconds < b.fSeconds; }
    friend bool operator<=(Date a, Date b) { return a.fSeconds <= b.fSeconds; }
    friend bool operator>(Date a, Date b) { return a.fSeconds > b.fSeconds; }
    friend bool operator>=(Date a, Date b) { return a.fSeconds >= b.fSeconds; }

private:
    Date weekStart(int extraDays) const;

    double fSeconds = std::nan("");
};

Q_DECLARE_METATYPE(Date)
