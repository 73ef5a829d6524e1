#include "Date.h"

#include <QLocale>

#include <algorithm>

namespace {

std::function<Date()> &clockFunction()
{
    static std::function<Date()> clock;
    return clock;
}

// Qt numbers weekdays Monday = 1 ... Sunday = 7; the calendar helpers use Sunday = 1 ... Saturday
// = 7.
int fromQtWeekday(int qtDay)
{
    return qtDay % 7 + 1;
}

// The local date and time of a wall clock reading. A reading that the clock skips (in the gap
// where it moves forward) is taken with the offset in effect before the gap, which moves it
// forward by the length of the gap: 02:30 becomes 03:30, and a day whose midnight is skipped
// starts at the end of the gap.
QDateTime localDateTime(const QDate &day, const QTime &time)
{
    QDateTime result(day, time, Qt::LocalTime);
    if (result.isValid() || !day.isValid() || !time.isValid())
        return result;
    const qint64 wallAsUtc = QDateTime(day, time, Qt::UTC).toMSecsSinceEpoch();
    const qint64 dayBefore = wallAsUtc - 24 * 3600 * 1000LL;
    const int offsetBefore =
        QDateTime::fromMSecsSinceEpoch(dayBefore, Qt::LocalTime).offsetFromUtc();
    return QDateTime::fromMSecsSinceEpoch(wallAsUtc - offsetBefore * 1000LL, Qt::LocalTime);
}

// The first instant of a local day: midnight, or the end of a gap that skips midnight.
QDateTime localMidnight(const QDate &day)
{
    return localDateTime(day, QTime(0, 0));
}

} // namespace

Date Date::now()
{
    if (const auto &clock = clockFunction())
        return clock();
    return fromDateTime(QDateTime::currentDateTimeUtc());
}

void Date::setClock(std::function<Date()> clock)
{
    clockFunction() = std::move(clock);
}

Date Date::fromDateTime(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return Date();
    return Date(double(dateTime.toMSecsSinceEpoch()) / 1000.0 - kReferenceFrom1970);
}

Date Date::fromComponents(int year, int month, int day, int hour, int minute, int second)
{
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return Date();
    return fromDateTime(localDateTime(date, time));
}

QDateTime Date::toDateTime() const
{
    if (!isFinite())
        return QDateTime();
    // Clamped before the conversion to an integer, which is undefined for a double out of its
    // range: a file may hold any finite number of seconds.
    constexpr double kLimit = kMaxSecondsFrom1970 * 1000.0;
    const double msecs = std::clamp(std::floor(timeIntervalSince1970() * 1000.0), -kLimit, kLimit);
    return QDateTime::fromMSecsSinceEpoch(qint64(msecs), Qt::LocalTime);
}

Date::Components Date::components() const
{
    const QDateTime local = toDateTime();
    const QDate d = local.date();
    const QTime t = local.time();
    return {d.year(),
            d.month(),
            d.day(),
            t.hour(),
            t.minute(),
            t.second(),
            fromQtWeekday(d.dayOfWeek())};
}

int Date::firstWeekday()
{
    return fromQtWeekday(QLocale().firstDayOfWeek());
}

Date Date::minimum()
{
    return fromComponents(1, 1, 1);
}
Date Date::maximum()
{
    return fromComponents(9999, 12, 31);
}

Date Date::thisDay() const
{
    return fromDateTime(localMidnight(toDateTime().date()));
}

// The start of the neighbouring day itself, not this day's start moved by 24 hours of wall
// clock: where a day starts at 01:00 because its midnight is skipped, the next one still starts
// at midnight.
Date Date::nextDay() const
{
    return fromDateTime(localMidnight(toDateTime().date().addDays(1)));
}

Date Date::prevDay() const
{
    return fromDateTime(localMidnight(toDateTime().date().addDays(-1)));
}

Date Date::endOfThisDay() const
{
    return nextDay().addingSeconds(-1);
}

Date Date::weekStart(int extraDays) const
{
    const Components c = components();
    int offset = firstWeekday() - c.weekday;
    if (offset > 0)
        offset -= 7;
    return fromDateTime(toDateTime().addDays(offset + extraDays)).thisDay();
}

Date Date::thisWeek() const
{
    return weekStart(0);
}
Date Date::nextWeek() const
{
    return weekStart(7);
}

Date Date::thisMonth() const
{
    const QDate d = toDateTime().date();
    return fromDateTime(localMidnight(QDate(d.year(), d.month(), 1)));
}

Date Date::nextMonth() const
{
    const QDate d = toDateTime().date();
    return fromDateTime(localMidnight(QDate(d.year(), d.month(), 1).addMonths(1)));
}

Date Date::endOfThisMonth() const
{
    return nextMonth().addingSeconds(-1);
}

Date Date::monthAgo() const
{
    return fromDateTime(toDateTime().addMonths(-1)).thisDay();
}

Date Date::thisYear() const
{
    return fromDateTime(localMidnight(QDate(toDateTime().date().year(), 1, 1)));
}

Date Date::nextYear() const
{
    return fromDateTime(localMidnight(QDate(toDateTime().date().year() + 1, 1, 1)));
}

Date Date::endOfThisYear() const
{
    return nextYear().addingSeconds(-1);
}

Date Date::yearAgo() const
{
    return fromDateTime(toDateTime().addYears(-1)).thisDay();
}
