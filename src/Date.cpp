#include "Date.h"

#include <QLocale>

namespace {

std::function<Date()> &clockFunction()
{
    static std::function<Date()> clock;
    return clock;
}

// Qt numbers weekdays Monday = 1 ... Sunday = 7; the calendar helpers use Sunday = 1 ... Saturday = 7.
int fromQtWeekday(int qtDay) { return qtDay % 7 + 1; }

QDateTime localMidnight(const QDate &day) { return QDateTime(day, QTime(0, 0), Qt::LocalTime); }

} // namespace

Date Date::now()
{
    if (const auto &clock = clockFunction())
        return clock();
    return fromDateTime(QDateTime::currentDateTimeUtc());
}

void Date::setClock(std::function<Date()> clock) { clockFunction() = std::move(clock); }

Date Date::fromDateTime(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return Date();
    return Date(double(dateTime.toMSecsSinceEpoch()) / 1000.0 - kReferenceFrom1970);
}

Date Date::fromComponents(int year, int month, int day, int hour, int minute, int second)
{
    const QDate date(year, month, day);
    if (!date.isValid())
        return Date();
    return fromDateTime(QDateTime(date, QTime(hour, minute, second), Qt::LocalTime));
}

QDateTime Date::toDateTime() const
{
    if (!isFinite())
        return QDateTime();
    const double msecs = std::floor(timeIntervalSince1970() * 1000.0);
    return QDateTime::fromMSecsSinceEpoch(qint64(msecs), Qt::LocalTime);
}

Date::Components Date::components() const
{
    const QDateTime local = toDateTime();
    const QDate d = local.date();
    const QTime t = local.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(),
            fromQtWeekday(d.dayOfWeek())};
}

int Date::firstWeekday() { return fromQtWeekday(QLocale().firstDayOfWeek()); }

Date Date::minimum() { return fromComponents(1, 1, 1); }
Date Date::maximum() { return fromComponents(9999, 12, 31); }

Date Date::thisDay() const { return fromDateTime(localMidnight(toDateTime().date())); }

Date Date::nextDay() const { return fromDateTime(localMidnight(toDateTime().date()).addDays(1)); }

Date Date::prevDay() const { return fromDateTime(localMidnight(toDateTime().date()).addDays(-1)); }

Date Date::endOfThisDay() const { return nextDay().addingSeconds(-1); }

Date Date::weekStart(int extraDays) const
{
    const Components c = components();
    int offset = firstWeekday() - c.weekday;
    if (offset > 0)
        offset -= 7;
    return fromDateTime(toDateTime().addDays(offset + extraDays)).thisDay();
}

Date Date::thisWeek() const { return weekStart(0); }
Date Date::nextWeek() const { return weekStart(7); }

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

Date Date::endOfThisMonth() const { return nextMonth().addingSeconds(-1); }

Date Date::monthAgo() const { return fromDateTime(toDateTime().addMonths(-1)).thisDay(); }

Date Date::thisYear() const
{
    return fromDateTime(localMidnight(QDate(toDateTime().date().year(), 1, 1)));
}

Date Date::nextYear() const
{
    return fromDateTime(localMidnight(QDate(toDateTime().date().year() + 1, 1, 1)));
}

Date Date::endOfThisYear() const { return nextYear().addingSeconds(-1); }

Date Date::yearAgo() const { return fromDateTime(toDateTime().addYears(-1)).thisDay(); }
