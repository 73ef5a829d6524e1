#pragma once

#include <QTimeZone>
#include <QtGlobal>

// The local zone's offset from UTC, remembered for the stretch of time between two of the zone's
// transitions, so that code converting many instants in order (CSV export and import) asks the
// time-zone database about twice a year of readings instead of once per reading. Agrees with
// QDateTime in local time.
class LocalTimeOffsets
{
public:
    LocalTimeOffsets();

    // Seconds east of UTC at the instant (Unix seconds).
    int offsetAt(qint64 unixSeconds);
    // The instant (Unix seconds) at which the local clock shows the given wall-clock time, given
    // as seconds since 1970-01-01 00:00 on the local clock. Times in a gap or an overlap of the
    // clock are resolved as QDateTime resolves them.
    qint64 instantOfLocal(qint64 localSeconds);

    // Days since 1970-01-01 of a civil date and back (proleptic Gregorian).
    static qint64 daysFromCivil(int year, int month, int day);
    static void civilFromDays(qint64 days, int *year, int *month, int *day);

private:
    void lookUp(qint64 unixSeconds);

    QTimeZone pZone;
    bool bTransitions = false;
    qint64 nFrom = 1;
    qint64 nTo = 0; // empty until the first look-up
    int nOffset = 0;
};
