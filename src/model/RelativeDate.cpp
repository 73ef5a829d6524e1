#include "RelativeDate.h"

#include "KeyedArchiver.h"
#include "KeyedUnarchiver.h"

#include <QTimeZone>

#include <cmath>
#include <limits>

namespace {

// Instants are doubles with fractions of a millisecond; calendar arithmetic works on the
// millisecond QDateTime and the difference it makes is added back, so fractions survive.
QDateTime toLocal(double seconds)
{
    const double msecs = std::floor((seconds + Date::kReferenceFrom1970) * 1000.0);
    if (!std::isfinite(msecs) || std::fabs(msecs) > 9.0e15)
        return QDateTime();
    return QDateTime::fromMSecsSinceEpoch(qint64(msecs), Qt::LocalTime);
}

// `seconds` moved by `count` units of the calendar; NaN when the calendar cannot hold the result.
double addUnits(double seconds, qint32 units, qint64 count)
{
    const QDateTime start = toLocal(seconds);
    if (!start.isValid())
        return std::nan("");
    QDateTime moved;
    switch (units) {
    case RelativeDate::Days:
        moved = start.addDays(count);
        break;
    case RelativeDate::Weeks:
        if (count > std::numeric_limits<qint64>::max() / 7 ||
            count < std::numeric_limits<qint64>::min() / 7)
            return std::nan("");
        moved = start.addDays(count * 7);
        break;
    case RelativeDate::Months:
        if (count > std::numeric_limits<int>::max() || count < std::numeric_limits<int>::min())
            return std::nan("");
        moved = start.addMonths(int(count));
        break;
    default:
        return seconds;
    }
    if (!moved.isValid())
        return std::nan("");
    return seconds + double(moved.toMSecsSinceEpoch() - start.toMSecsSinceEpoch()) / 1000.0;
}

// Whole units from `from` to `to`, remainder dropped (towards zero); -1 when not computable.
qint64 unitsBetween(double from, double to, qint32 units)
{
    const QDateTime a = toLocal(from);
    const QDateTime b = toLocal(to);
    if (!a.isValid() || !b.isValid())
        return -1;
    qint64 estimate = 0;
    switch (units) {
    case RelativeDate::Days:
        estimate = a.date().daysTo(b.date());
        break;
    case RelativeDate::Weeks:
        estimate = a.date().daysTo(b.date()) / 7;
        break;
    case RelativeDate::Months:
        estimate =
            qint64(b.date().year() - a.date().year()) * 12 + (b.date().month() - a.date().month());
        break;
    default:
        return -1;
    }
    // The estimate is off by at most one unit; step until it is the largest count whose
    // addition does not pass `to` (for a later `to`), or the mirror for an earlier one.
    const bool forward = to >= from;
    for (int guard = 0; guard < 4; ++guard) {
        const double at = addUnits(from, units, estimate);
        if (std::isnan(at))
            return -1;
        if (forward ? at > to : at < to) {
            estimate += forward ? -1 : 1;
            continue;
        }
        const double next = addUnits(from, units, estimate + (forward ? 1 : -1));
        if (!std::isnan(next) && (forward ? next <= to : next >= to)) {
            estimate += forward ? 1 : -1;
            continue;
        }
        return estimate;
    }
    return estimate;
}

} // namespace

RelativeDate::RelativeDate(qint64 count, qint32 units) : nDateUnits(units)
{
    const double t0 = Date::now().timeIntervalSinceReferenceDate();
    double target = t0;
    if (units >= Days && units <= Months && count != 0) {
        target = addUnits(t0, units, -count);
        if (std::isnan(target)) {
            // Beyond what the calendar holds: the nominal length of the unit.
            static constexpr double kNominal[] = {86400.0, 7 * 86400.0, 30.436875 * 86400.0};
            target = t0 - double(count) * kNominal[units];
        }
    }
    // From the same instant as the target: a second reading of the clock would leave the
    // interval off by the time between the two, a different number at every run.
    fTimeIntervalSinceNow = target - t0;
}

RelativeDate::RelativeDate(::Date date, qint32 units)
    : fTimeIntervalSinceNow(date.timeIntervalSinceReferenceDate() -
                            Date::now().timeIntervalSinceReferenceDate()),
      nDateUnits(units)
{}

RelativeDate RelativeDate::fromTimeInterval(double timeIntervalSinceNow, qint32 units)
{
    RelativeDate result;
    result.fTimeIntervalSinceNow = timeIntervalSinceNow;
    result.nDateUnits = units;
    return result;
}

double RelativeDate::timeIntervalSinceReferenceDate() const
{
    return timeIntervalSinceReferenceDate(Date::now());
}

qint64 RelativeDate::valueOfTimeDifferenceInUnits() const
{
    return valueOfTimeDifferenceInUnits(Date::now());
}

qint64 RelativeDate::valueOfTimeDifferenceInUnits(::Date now) const
{
    if (nDateUnits < Days || nDateUnits > Months)
        return -1;
    const double to = now.timeIntervalSinceReferenceDate();
    const double from = to + fTimeIntervalSinceNow;
    if (!std::isfinite(from))
        return -1;
    return unitsBetween(from, to, nDateUnits);
}

quint32 RelativeDate::hash() const
{
    quint32 interval = 0;
    if (fTimeIntervalSinceNow >= 4294967295.0)
        interval = 4294967295u;
    else if (fTimeIntervalSinceNow > 0) // NaN and negative intervals give 0
        interval = quint32(fTimeIntervalSinceNow);
    return interval + quint32(nDateUnits);
}

QLatin1String RelativeDate::unitName(qint32 units)
{
    switch (units) {
    case Days:
        return QLatin1String("days");
    case Weeks:
        return QLatin1String("weeks");
    case Months:
        return QLatin1String("months");
    default:
        return QLatin1String("");
    }
}

QString RelativeDate::description() const
{
    const Date now = Date::now();
    const Date at = evaluateRelativeDateRelativeToDate(now);
    QString when;
    if (at.isFinite()) {
        const double msecs = std::floor(at.timeIntervalSince1970() * 1000.0);
        const QDateTime utc = std::fabs(msecs) < 9.0e15
                                  ? QDateTime::fromMSecsSinceEpoch(qint64(msecs), QTimeZone::utc())
                                  : QDateTime();
        when = utc.isValid() ? utc.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss +0000"))
                             : QString::number(at.timeIntervalSinceReferenceDate());
    } else {
        when = QString::number(at.timeIntervalSinceReferenceDate());
    }
    return QStringLiteral("<%1 (%2 %3 ago)>")
        .arg(when)
        .arg(valueOfTimeDifferenceInUnits(now))
        .arg(unitName(nDateUnits));
}

// --- Keyed archive form -------------------------------------------------------------------------

void RelativeDate::encodeWithCoder(KeyedArchiver &coder) const
{
    coder.encodeDouble(fTimeIntervalSinceNow, QStringLiteral("time-interval-since-now"));
    coder.encodeInt(nDateUnits, QStringLiteral("date-units"));
}

QVariant RelativeDate::initWithCoder(KeyedUnarchiver &coder)
{
    const double interval = coder.decodeDoubleForKey(QStringLiteral("time-interval-since-now"));
    if (!std::isfinite(interval))
        return KeyedUnarchiver::unusable(qtTrId("archive.error.unusable_predicate"));
    return QVariant::fromValue(
        fromTimeInterval(interval, coder.decodeIntForKey(QStringLiteral("date-units"))));
}
