#include "LocalTimeOffsets.h"

#include <QDateTime>

#include <limits>

LocalTimeOffsets::LocalTimeOffsets() : pZone(QTimeZone::systemTimeZone())
{
    bTransitions = pZone.isValid() && pZone.hasTransitions();
}

void LocalTimeOffsets::lookUp(qint64 unixSeconds)
{
    const QDateTime at = QDateTime::fromSecsSinceEpoch(unixSeconds, Qt::LocalTime);
    nOffset = at.offsetFromUtc();
    nFrom = std::numeric_limits<qint64>::min();
    nTo = std::numeric_limits<qint64>::max();
    if (!bTransitions) {
        // Without a transition table the stretch is one second: every instant asks QDateTime.
        nFrom = unixSeconds;
        nTo = unixSeconds + 1;
        return;
    }
    const QDateTime utc = QDateTime::fromSecsSinceEpoch(unixSeconds, Qt::UTC);
    const QTimeZone::OffsetData next = pZone.nextTransition(utc);
    const QTimeZone::OffsetData previous = pZone.previousTransition(utc.addSecs(1));
    if (next.atUtc.isValid())
        nTo = next.atUtc.toSecsSinceEpoch();
    if (previous.atUtc.isValid())
        nFrom = previous.atUtc.toSecsSinceEpoch();
    // The zone database and the C library disagree here: remember this instant alone.
    const bool agrees = (previous.atUtc.isValid() ? previous.offsetFromUtc == nOffset
                                                  : pZone.offsetFromUtc(utc) == nOffset);
    if (!agrees || nFrom > unixSeconds || nTo <= unixSeconds) {
        nFrom = unixSeconds;
        nTo = unixSeconds + 1;
    }
}

int LocalTimeOffsets::offsetAt(qint64 unixSeconds)
{
    if (unixSeconds < nFrom || unixSeconds >= nTo)
        lookUp(unixSeconds);
    return nOffset;
}

qint64 LocalTimeOffsets::instantOfLocal(qint64 localSeconds)
{
    const int guess = nFrom <= nTo ? nOffset : offsetAt(localSeconds);
    const qint64 candidate = localSeconds - guess;
    if (offsetAt(candidate) == guess)
        return candidate;
    const int other = nOffset;
    if (offsetAt(localSeconds - other) == other)
        return localSeconds - other;
    // A gap or an overlap of the local clock.
    const qint64 days = localSeconds >= 0 ? localSeconds / 86400 : (localSeconds - 86399) / 86400;
    const qint64 secondOfDay = localSeconds - days * 86400;
    int year, month, day;
    civilFromDays(days, &year, &month, &day);
    const QDateTime local(QDate(year, month, day), QTime(0, 0).addSecs(int(secondOfDay)),
                          Qt::LocalTime);
    return local.toSecsSinceEpoch();
}

// Howard Hinnant's civil calendar algorithms.
qint64 LocalTimeOffsets::daysFromCivil(int year, int month, int day)
{
    const qint64 y = qint64(year) - (month <= 2 ? 1 : 0);
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const qint64 yoe = y - era * 400;
    const qint64 doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const qint64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void LocalTimeOffsets::civilFromDays(qint64 days, int *year, int *month, int *day)
{
    days += 719468;
    const qint64 era = (days >= 0 ? days : days - 146096) / 146097;
    const qint64 doe = days - era * 146097;
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const qint64 mp = (5 * doy + 2) / 153;
    const int d = int(doy - (153 * mp + 2) / 5 + 1);
    const int m = int(mp < 10 ? mp + 3 : mp - 9);
    *year = int(yoe + era * 400 + (m <= 2 ? 1 : 0));
    *month = m;
    *day = d;
}
