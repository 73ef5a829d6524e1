// The calendar helpers of Date: starts, ends and steps of days, weeks, months and years in the
// local time zone and the locale's week, across daylight saving changes and leap years.

#include "Date.h"
#include "LocalTimeZone.h"
#include "TestHelpers.h"
#include "TestMain.h"

#include <QFile>
#include <QLocale>
#include <QTest>

#include <cmath>
#include <ctime>
#include <limits>
#include <map>

namespace {

using Operation = Date (Date::*)() const;

const std::map<QString, Operation> &operations()
{
    static const std::map<QString, Operation> table = {
        {QStringLiteral("thisDay"), &Date::thisDay},
        {QStringLiteral("nextDay"), &Date::nextDay},
        {QStringLiteral("prevDay"), &Date::prevDay},
        {QStringLiteral("endOfThisDay"), &Date::endOfThisDay},
        {QStringLiteral("thisWeek"), &Date::thisWeek},
        {QStringLiteral("nextWeek"), &Date::nextWeek},
        {QStringLiteral("thisMonth"), &Date::thisMonth},
        {QStringLiteral("nextMonth"), &Date::nextMonth},
        {QStringLiteral("endOfThisMonth"), &Date::endOfThisMonth},
        {QStringLiteral("monthAgo"), &Date::monthAgo},
        {QStringLiteral("thisYear"), &Date::thisYear},
        {QStringLiteral("nextYear"), &Date::nextYear},
        {QStringLiteral("endOfThisYear"), &Date::endOfThisYear},
        {QStringLiteral("yearAgo"), &Date::yearAgo},
    };
    return table;
}

using TestSupport::setTimeZone;

// "yyyy-MM-dd HH:mm:ss" in local time, so a failure shows the wall clock.
Date local(const QString &text)
{
    const QDateTime parsed = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    Q_ASSERT(parsed.isValid());
    const QDate d = parsed.date();
    const QTime t = parsed.time();
    return Date::fromComponents(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

QString wallClock(Date date)
{
    if (date.isNull())
        return QStringLiteral("(null)");
    return date.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The first instant of a local day: midnight, or the end of a gap that swallows midnight.
Date startOfDay(const QDate &day)
{
    return Date::fromDateTime(day.startOfDay(Qt::LocalTime));
}

} // namespace

class TestCalendar : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        setTimeZone("Europe/Berlin");
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    }

    void operation_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");

        const QByteArray berlin("Europe/Berlin");
        const QByteArray newYork("America/New_York");
        auto row = [](const char *name, const QByteArray &zone, const char *op, const char *input,
                      const char *expected) {
            QTest::newRow(name) << zone << QString::fromLatin1(op) << QString::fromLatin1(input)
                                << QString::fromLatin1(expected);
        };

        row("thisDay afternoon", berlin, "thisDay", "2024-03-10 14:30:00", "2024-03-10 00:00:00");
        row("thisDay of midnight", berlin, "thisDay", "2024-03-10 00:00:00", "2024-03-10 00:00:00");
        // Half an hour after local midnight the UTC day is still the previous one.
        row("thisDay local not UTC", berlin, "thisDay", "2024-07-01 00:30:00",
            "2024-07-01 00:00:00");
        row("thisDay local not UTC (west)", newYork, "thisDay", "2024-07-01 22:30:00",
            "2024-07-01 00:00:00");
        row("thisDay last second", berlin, "thisDay", "2024-07-01 23:59:59", "2024-07-01 00:00:00");
        row("nextDay", berlin, "nextDay", "2024-02-28 23:59:59", "2024-02-29 00:00:00");
        row("nextDay leap day", berlin, "nextDay", "2024-02-29 08:00:00", "2024-03-01 00:00:00");
        row("prevDay 1 January", berlin, "prevDay", "2024-01-01 10:00:00", "2023-12-31 00:00:00");
        row("prevDay 1 March leap", berlin, "prevDay", "2024-03-01 10:00:00",
            "2024-02-29 00:00:00");
        row("prevDay 1 March common", berlin, "prevDay", "2023-03-01 10:00:00",
            "2023-02-28 00:00:00");
        row("endOfThisDay", berlin, "endOfThisDay", "2024-07-01 00:00:00", "2024-07-01 23:59:59");

        row("thisMonth", berlin, "thisMonth", "2024-07-31 23:59:59", "2024-07-01 00:00:00");
        row("thisMonth local not UTC", berlin, "thisMonth", "2024-08-01 00:30:00",
            "2024-08-01 00:00:00");
        row("nextMonth December", berlin, "nextMonth", "2024-12-15 12:00:00",
            "2025-01-01 00:00:00");
        row("nextMonth from 31st", berlin, "nextMonth", "2024-01-31 12:00:00",
            "2024-02-01 00:00:00");
        row("endOfThisMonth Feb leap", berlin, "endOfThisMonth", "2024-02-03 12:00:00",
            "2024-02-29 23:59:59");
        row("endOfThisMonth Feb common", berlin, "endOfThisMonth", "2023-02-03 12:00:00",
            "2023-02-28 23:59:59");
        row("endOfThisMonth Feb 2000", berlin, "endOfThisMonth", "2000-02-10 12:00:00",
            "2000-02-29 23:59:59");
        row("endOfThisMonth Feb 2100", berlin, "endOfThisMonth", "2100-02-10 12:00:00",
            "2100-02-28 23:59:59");
        row("endOfThisMonth Feb 1900", berlin, "endOfThisMonth", "1900-02-10 12:00:00",
            "1900-02-28 23:59:59");
        row("endOfThisMonth April", berlin, "endOfThisMonth", "2024-04-30 23:59:59",
            "2024-04-30 23:59:59");
        row("endOfThisMonth December", berlin, "endOfThisMonth", "2024-12-01 00:00:00",
            "2024-12-31 23:59:59");

        row("monthAgo 31 March common", berlin, "monthAgo", "2023-03-31 10:00:00",
            "2023-02-28 00:00:00");
        row("monthAgo 31 March leap", berlin, "monthAgo", "2024-03-31 10:00:00",
            "2024-02-29 00:00:00");
        row("monthAgo 31 May", berlin, "monthAgo", "2024-05-31 10:00:00", "2024-04-30 00:00:00");
        row("monthAgo January", berlin, "monthAgo", "2024-01-15 23:59:59", "2023-12-15 00:00:00");
        // Across the change to summer time: the time of day is kept, so the day does not slip.
        row("monthAgo across DST", berlin, "monthAgo", "2024-04-30 00:30:00",
            "2024-03-30 00:00:00");
        row("monthAgo across DST back", berlin, "monthAgo", "2024-11-01 23:30:00",
            "2024-10-01 00:00:00");

        row("thisYear", berlin, "thisYear", "2024-12-31 23:59:59", "2024-01-01 00:00:00");
        row("thisYear local not UTC", berlin, "thisYear", "2025-01-01 00:30:00",
            "2025-01-01 00:00:00");
        row("nextYear of last second", berlin, "nextYear", "2023-12-31 23:59:59",
            "2024-01-01 00:00:00");
        row("endOfThisYear", berlin, "endOfThisYear", "2024-01-01 00:00:00", "2024-12-31 23:59:59");
        row("yearAgo leap day", berlin, "yearAgo", "2024-02-29 18:00:00", "2023-02-28 00:00:00");
        row("yearAgo 28 Feb", berlin, "yearAgo", "2025-02-28 18:00:00", "2024-02-28 00:00:00");
        row("yearAgo 1 March", berlin, "yearAgo", "2025-03-01 00:30:00", "2024-03-01 00:00:00");

        // Berlin changes at 02:00 -> 03:00 (31 March 2024) and 03:00 -> 02:00 (27 October 2024).
        row("DST spring thisDay", berlin, "thisDay", "2024-03-31 12:00:00", "2024-03-31 00:00:00");
        row("DST spring nextDay", berlin, "nextDay", "2024-03-30 12:00:00", "2024-03-31 00:00:00");
        row("DST spring prevDay", berlin, "prevDay", "2024-04-01 12:00:00", "2024-03-31 00:00:00");
        row("DST spring endOfThisDay", berlin, "endOfThisDay", "2024-03-31 01:59:59",
            "2024-03-31 23:59:59");
        row("DST spring endOfThisDay before", berlin, "endOfThisDay", "2024-03-30 12:00:00",
            "2024-03-30 23:59:59");
        row("DST autumn thisDay", berlin, "thisDay", "2024-10-27 23:00:00", "2024-10-27 00:00:00");
        row("DST autumn nextDay", berlin, "nextDay", "2024-10-27 01:00:00", "2024-10-28 00:00:00");
        row("DST autumn endOfThisDay", berlin, "endOfThisDay", "2024-10-27 01:00:00",
            "2024-10-27 23:59:59");
        row("DST thisMonth", berlin, "thisMonth", "2024-10-31 12:00:00", "2024-10-01 00:00:00");
        row("DST nextMonth", berlin, "nextMonth", "2024-10-15 12:00:00", "2024-11-01 00:00:00");
        row("DST endOfThisMonth", berlin, "endOfThisMonth", "2024-03-01 00:00:00",
            "2024-03-31 23:59:59");
        row("DST thisYear from summer", berlin, "thisYear", "2024-07-01 12:00:00",
            "2024-01-01 00:00:00");
        row("DST yearAgo summer to summer", berlin, "yearAgo", "2024-07-01 00:30:00",
            "2023-07-01 00:00:00");
        // New York changes at 02:00 as well (10 March and 3 November 2024).
        row("NY spring thisDay", newYork, "thisDay", "2024-03-10 23:00:00", "2024-03-10 00:00:00");
        row("NY spring nextDay", newYork, "nextDay", "2024-03-09 23:30:00", "2024-03-10 00:00:00");
        row("NY spring endOfThisDay", newYork, "endOfThisDay", "2024-03-10 12:00:00",
            "2024-03-10 23:59:59");
        row("NY autumn thisDay", newYork, "thisDay", "2024-11-03 23:00:00", "2024-11-03 00:00:00");
        row("NY autumn prevDay", newYork, "prevDay", "2024-11-04 00:30:00", "2024-11-03 00:00:00");
    }
    void operation()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QString, op);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        setTimeZone(zone);
        const Date receiver = local(input);
        QVERIFY(!receiver.isNull());
        const Date result = (receiver.*operations().at(op))();
        QCOMPARE(wallClock(result), expected);
    }

    void weeks_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("thisWeek");
        QTest::addColumn<QString>("nextWeek");

        auto row = [](const char *name, const char *locale, const char *input, const char *thisWeek,
                      const char *nextWeek) {
            QTest::newRow(name) << QString::fromLatin1(locale) << QString::fromLatin1(input)
                                << QString::fromLatin1(thisWeek) << QString::fromLatin1(nextWeek);
        };
        // 2024-05-12 is a Sunday.
        row("Sunday week: Wednesday", "en_US", "2024-05-15 09:00:00", "2024-05-12 00:00:00",
            "2024-05-19 00:00:00");
        row("Sunday week: Sunday", "en_US", "2024-05-12 10:00:00", "2024-05-12 00:00:00",
            "2024-05-19 00:00:00");
        row("Sunday week: Saturday", "en_US", "2024-05-18 23:59:59", "2024-05-12 00:00:00",
            "2024-05-19 00:00:00");
        row("Sunday week: Monday", "en_US", "2024-05-13 00:00:00", "2024-05-12 00:00:00",
            "2024-05-19 00:00:00");
        row("Monday week: Sunday", "de_DE", "2024-05-19 10:00:00", "2024-05-13 00:00:00",
            "2024-05-20 00:00:00");
        row("Monday week: Monday", "de_DE", "2024-05-13 00:00:00", "2024-05-13 00:00:00",
            "2024-05-20 00:00:00");
        row("Monday week: Saturday", "de_DE", "2024-05-18 23:59:59", "2024-05-13 00:00:00",
            "2024-05-20 00:00:00");
        row("Monday week: across new year", "de_DE", "2025-01-01 12:00:00", "2024-12-30 00:00:00",
            "2025-01-06 00:00:00");
        row("Monday week: across leap day", "de_DE", "2024-03-01 12:00:00", "2024-02-26 00:00:00",
            "2024-03-04 00:00:00");
        // Weeks that contain Berlin's changes of the clock (31 March and 27 October 2024, Sundays).
        row("Monday week: DST Sunday", "de_DE", "2024-03-31 12:00:00", "2024-03-25 00:00:00",
            "2024-04-01 00:00:00");
        row("Monday week: after DST", "de_DE", "2024-04-03 00:30:00", "2024-04-01 00:00:00",
            "2024-04-08 00:00:00");
        row("Sunday week: DST Sunday", "en_US", "2024-03-31 23:30:00", "2024-03-31 00:00:00",
            "2024-04-07 00:00:00");
        row("Sunday week: autumn DST", "en_US", "2024-11-01 23:30:00", "2024-10-27 00:00:00",
            "2024-11-03 00:00:00");
        row("Sunday week: before DST", "en_US", "2024-03-30 23:30:00", "2024-03-24 00:00:00",
            "2024-03-31 00:00:00");
        // A week that starts on Saturday: Friday is six days after its first day.
        row("Saturday week: Friday", "ar_EG", "2024-05-17 12:00:00", "2024-05-11 00:00:00",
            "2024-05-18 00:00:00");
        row("Saturday week: Saturday", "ar_EG", "2024-05-18 00:00:00", "2024-05-18 00:00:00",
            "2024-05-25 00:00:00");
    }
    void weeks()
    {
        QFETCH(QString, locale);
        QFETCH(QString, input);
        QFETCH(QString, thisWeek);
        QFETCH(QString, nextWeek);
        QLocale::setDefault(QLocale(locale));
        const Date receiver = local(input);
        QCOMPARE(wallClock(receiver.thisWeek()), thisWeek);
        QCOMPARE(wallClock(receiver.nextWeek()), nextWeek);
    }

    void minimumAndMaximum()
    {
        for (const QByteArray zone : {"Europe/Berlin", "America/New_York", "UTC"}) {
            setTimeZone(zone);
            QCOMPARE(wallClock(Date::minimum()), QStringLiteral("0001-01-01 00:00:00"));
            QCOMPARE(wallClock(Date::maximum()), QStringLiteral("9999-12-31 00:00:00"));
            // Every reading lies between the two: they bound the date fields of the filters.
            const Date reading = local(QStringLiteral("2024-06-01 12:00:00"));
            QVERIFY(Date::minimum() < reading);
            QVERIFY(reading < Date::maximum());
        }
        setTimeZone("UTC");
        // 1 January of year 1 is 63113904000 s before 1 January 2001 in the proleptic calendar.
        QCOMPARE(Date::minimum().timeIntervalSinceReferenceDate(), -63113904000.0);
    }

    void dstDayLengths()
    {
        // A day is a calendar day, not 86400 seconds.
        const Date spring = local(QStringLiteral("2024-03-31 12:00:00"));
        QCOMPARE(spring.nextDay().timeIntervalSinceReferenceDate() -
                     spring.thisDay().timeIntervalSinceReferenceDate(),
                 23 * 3600.0);
        const Date autumn = local(QStringLiteral("2024-10-27 12:00:00"));
        QCOMPARE(autumn.nextDay().timeIntervalSinceReferenceDate() -
                     autumn.thisDay().timeIntervalSinceReferenceDate(),
                 25 * 3600.0);
        QCOMPARE(autumn.endOfThisDay().addingSeconds(1), autumn.nextDay());
        // In the hour that occurs twice, both passes through 02:30 belong to the same day.
        const Date firstPass =
            Date::fromDateTime(QDateTime(QDate(2024, 10, 27), QTime(0, 30), Qt::UTC)); // 02:30 CEST
        const Date secondPass = firstPass.addingSeconds(3600);                         // 02:30 CET
        QCOMPARE(wallClock(firstPass), QStringLiteral("2024-10-27 02:30:00"));
        QCOMPARE(wallClock(secondPass), QStringLiteral("2024-10-27 02:30:00"));
        QCOMPARE(firstPass.thisDay(), secondPass.thisDay());
        QCOMPARE(secondPass.endOfThisDay(), autumn.endOfThisDay());
    }

    void gapTimesMoveForward()
    {
        // 02:30 does not exist in Berlin on 31 March 2024. A date built from it moves forward by
        // the length of the gap instead of being lost.
        const Date gap = Date::fromComponents(2024, 3, 31, 2, 30);
        QVERIFY(!gap.isNull());
        QCOMPARE(wallClock(gap), QStringLiteral("2024-03-31 03:30:00"));

        // In São Paulo the clock jumped from 00:00 to 01:00 on 4 November 2018: that day has no
        // midnight. Its start is its first instant, 01:00, and the day is still found.
        setTimeZone("America/Sao_Paulo");
        const Date noon = local(QStringLiteral("2018-11-04 12:00:00"));
        QCOMPARE(wallClock(noon.thisDay()), QStringLiteral("2018-11-04 01:00:00"));
        QCOMPARE(wallClock(noon.prevDay()), QStringLiteral("2018-11-03 00:00:00"));
        QCOMPARE(wallClock(noon.prevDay().nextDay()), QStringLiteral("2018-11-04 01:00:00"));
        QCOMPARE(wallClock(noon.prevDay().endOfThisDay()), QStringLiteral("2018-11-03 23:59:59"));
        QCOMPARE(wallClock(noon.endOfThisDay()), QStringLiteral("2018-11-04 23:59:59"));
        QCOMPARE(wallClock(Date::fromComponents(2018, 11, 4)),
                 QStringLiteral("2018-11-04 01:00:00"));
    }

    void everyStartIsTheFirstInstantOfItsDay_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("midnightAlwaysExists");

        // Changes at 01:00 or 02:00 (with a half-hour change on Lord Howe Island).
        QTest::newRow("Berlin") << QByteArray("Europe/Berlin") << 2024 << "de_DE" << true;
        QTest::newRow("New York") << QByteArray("America/New_York") << 2024 << "en_US" << true;
        QTest::newRow("London") << QByteArray("Europe/London") << 2024 << "en_GB" << true;
        QTest::newRow("Lord Howe") << QByteArray("Australia/Lord_Howe") << 2024 << "en_US" << true;
        // Changes at midnight: some days start at 01:00, and in February São Paulo repeats 23:00.
        QTest::newRow("Sao Paulo") << QByteArray("America/Sao_Paulo") << 2018 << "en_US" << false;
        QTest::newRow("Beirut") << QByteArray("Asia/Beirut") << 2024 << "ar_EG" << false;
        QTest::newRow("Santiago") << QByteArray("America/Santiago") << 2024 << "de_DE" << false;
    }
    void everyStartIsTheFirstInstantOfItsDay()
    {
        QFETCH(QByteArray, zone);
        QFETCH(int, year);
        QFETCH(QString, locale);
        QFETCH(bool, midnightAlwaysExists);
        setTimeZone(zone);
        QLocale::setDefault(QLocale(locale));
        const int firstDay = QLocale(locale).firstDayOfWeek();

        // Instants of each local day: its first instant, 1 h 30 later (after any gap of the night)
        // and its last second.
        const double offsets[] = {0, 5400};
        for (QDate day(year, 1, 1); day.year() == year; day = day.addDays(1)) {
            const Date first = startOfDay(day);
            const Date next = startOfDay(day.addDays(1));
            std::vector<Date> instants;
            for (double offset : offsets) {
                if (first.addingSeconds(offset) < next)
                    instants.push_back(first.addingSeconds(offset));
            }
            instants.push_back(next.addingSeconds(-1));

            for (const Date x : instants) {
                const QString where = wallClock(x) + QLatin1Char(' ') + QString::fromLatin1(zone);
                const auto expectStart = [&](Date result, const QDate &expectedDay,
                                             const char *op) {
                    QVERIFY2(result == startOfDay(expectedDay),
                             qPrintable(QStringLiteral("%1 of %2 is %3, expected %4")
                                            .arg(QLatin1String(op), where, wallClock(result),
                                                 wallClock(startOfDay(expectedDay)))));
                    if (midnightAlwaysExists)
                        QCOMPARE(result.toDateTime().time(), QTime(0, 0));
                };
                const auto expectEnd = [&](Date result, const QDate &expectedDay, const char *op) {
                    QVERIFY2(result == startOfDay(expectedDay.addDays(1)).addingSeconds(-1),
                             qPrintable(QStringLiteral("%1 of %2 is %3")
                                            .arg(QLatin1String(op), where, wallClock(result))));
                    QCOMPARE(result.toDateTime().date(), expectedDay);
                    QCOMPARE(result.toDateTime().time(), QTime(23, 59, 59));
                };

                QCOMPARE(x.toDateTime().date(), day);
                expectStart(x.thisDay(), day, "thisDay");
                expectStart(x.nextDay(), day.addDays(1), "nextDay");
                expectStart(x.prevDay(), day.addDays(-1), "prevDay");
                expectEnd(x.endOfThisDay(), day, "endOfThisDay");

                const int back = (day.dayOfWeek() - firstDay + 7) % 7;
                expectStart(x.thisWeek(), day.addDays(-back), "thisWeek");
                expectStart(x.nextWeek(), day.addDays(7 - back), "nextWeek");

                const QDate firstOfMonth(day.year(), day.month(), 1);
                expectStart(x.thisMonth(), firstOfMonth, "thisMonth");
                expectStart(x.nextMonth(), firstOfMonth.addMonths(1), "nextMonth");
                expectEnd(x.endOfThisMonth(), firstOfMonth.addMonths(1).addDays(-1),
                          "endOfThisMonth");
                expectStart(x.monthAgo(), day.addMonths(-1), "monthAgo");

                const QDate firstOfYear(day.year(), 1, 1);
                expectStart(x.thisYear(), firstOfYear, "thisYear");
                expectStart(x.nextYear(), firstOfYear.addYears(1), "nextYear");
                expectEnd(x.endOfThisYear(), QDate(day.year(), 12, 31), "endOfThisYear");
                expectStart(x.yearAgo(), day.addYears(-1), "yearAgo");
                if (QTest::currentTestFailed())
                    return;
            }
        }
    }

    void receiverIsUnchangedAndFractionsDoNotLeak()
    {
        // An instant with a fraction of a second: the starts are whole, the receiver is untouched.
        const Date receiver = local(QStringLiteral("2024-05-15 09:00:00")).addingSeconds(0.75);
        const Date copy = receiver;
        for (const auto &[name, op] : operations()) {
            const Date result = (receiver.*op)();
            QVERIFY2(!result.isNull(), qPrintable(name));
            QCOMPARE(std::fmod(result.timeIntervalSinceReferenceDate(), 1.0), 0.0);
        }
        QCOMPARE(receiver, copy);
        // The end of the day is the whole second 23:59:59; a fraction later lies after it.
        const Date lastFraction = local(QStringLiteral("2024-05-15 23:59:59")).addingSeconds(0.5);
        QVERIFY(lastFraction > lastFraction.endOfThisDay());
        QCOMPARE(lastFraction.thisDay(), receiver.thisDay());
        // Impossible components give no date rather than some other one.
        QVERIFY(Date::fromComponents(2023, 2, 29).isNull());
        QVERIFY(Date::fromComponents(2024, 13, 1).isNull());
        QVERIFY(Date::fromComponents(2024, 1, 1, 24, 0).isNull());
        QVERIFY(Date::fromComponents(2024, 1, 1, -1, -1).isNull());
        // A null date stays null rather than turning into some day.
        QVERIFY(Date().thisDay().isNull());
        QVERIFY(Date().endOfThisMonth().isNull());
    }

    void systemZoneIsPinnedOnlyWhenTzIsUnset()
    {
        const QString berlin = QStringLiteral("/usr/share/zoneinfo/Europe/Berlin");
        QVERIFY2(QFile::exists(berlin), "tzdata is needed");
        // Unset: TZ names the zone file, and conversions follow it.
        qunsetenv("TZ");
        QVERIFY(LocalTimeZone::pinSystemZone(berlin));
        QCOMPARE(qgetenv("TZ"), QByteArray(":") + berlin.toUtf8());
        QCOMPARE(wallClock(Date::fromTimeIntervalSince1970(0)),
                 QStringLiteral("1970-01-01 01:00:00"));
        // Set, even to nothing (UTC for the C library): left as it is.
        setTimeZone("America/New_York");
        QVERIFY(!LocalTimeZone::pinSystemZone(berlin));
        QCOMPARE(qgetenv("TZ"), QByteArray("America/New_York"));
        setTimeZone("");
        QVERIFY(!LocalTimeZone::pinSystemZone(berlin));
        QVERIFY(qEnvironmentVariableIsSet("TZ"));
        QCOMPARE(wallClock(Date::fromTimeIntervalSince1970(0)),
                 QStringLiteral("1970-01-01 00:00:00"));
        // Unset without the zone file: stays unset.
        qunsetenv("TZ");
        QVERIFY(!LocalTimeZone::pinSystemZone(QStringLiteral("/no/such/zone")));
        QVERIFY(!qEnvironmentVariableIsSet("TZ"));
    }

    void datesBeyondTheRangeConvertToItsEnds()
    {
        // Every finite number of seconds converts (a file may hold any); beyond the range, to the
        // nearest end of it, never to the other end.
        const QDateTime latest =
            Date::fromTimeIntervalSince1970(Date::kMaxSecondsFrom1970).toDateTime();
        const QDateTime earliest =
            Date::fromTimeIntervalSince1970(-Date::kMaxSecondsFrom1970).toDateTime();
        QVERIFY(latest.isValid());
        QVERIFY(earliest.isValid());
        QCOMPARE(latest.toMSecsSinceEpoch(), qint64(8640000000000000));
        QCOMPARE(latest.date().year(), 275760);
        QCOMPARE(earliest.toMSecsSinceEpoch(), -qint64(8640000000000000));
        for (double seconds : {1e13, 1e16, 1e17, 1e300, std::numeric_limits<double>::max()}) {
            QCOMPARE(Date(seconds).toDateTime(), latest);
            QCOMPARE(Date(-seconds).toDateTime(), earliest);
        }
        QVERIFY(!Date(std::numeric_limits<double>::infinity()).toDateTime().isValid());
        QVERIFY(!Date().toDateTime().isValid());

        const Date far(1e17);
        QVERIFY(!far.isInRange());
        QVERIFY(Date::fromTimeIntervalSince1970(Date::kMaxSecondsFrom1970).isInRange());
        QVERIFY(!Date::fromTimeIntervalSince1970(std::nextafter(Date::kMaxSecondsFrom1970, 1e300))
                     .isInRange());
        QVERIFY(!Date().isInRange());
        QCOMPARE(far.components().year, 275760);
        QVERIFY(far.thisDay().isFinite());
        QVERIFY(far.thisDay() < far);
        QVERIFY(Date(-1e17).thisDay().isFinite());
    }
};

TENSILO_TEST_MAIN(TestCalendar)
#include "tst_calendar.moc"
