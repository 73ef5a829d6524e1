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

using namespace Qt::Literals::StringLiterals;

namespace {

using Operation = Date (Date::*)() const;

const std::map<QString, Operation> &operations()
{
    static const std::map<QString, Operation> table = {
        {u"thisDay"_s, &Date::thisDay},
        {u"nextDay"_s, &Date::nextDay},
        {u"prevDay"_s, &Date::prevDay},
        {u"endOfThisDay"_s, &Date::endOfThisDay},
        {u"thisWeek"_s, &Date::thisWeek},
        {u"nextWeek"_s, &Date::nextWeek},
        {u"thisMonth"_s, &Date::thisMonth},
        {u"nextMonth"_s, &Date::nextMonth},
        {u"endOfThisMonth"_s, &Date::endOfThisMonth},
        {u"monthAgo"_s, &Date::monthAgo},
        {u"thisYear"_s, &Date::thisYear},
        {u"nextYear"_s, &Date::nextYear},
        {u"endOfThisYear"_s, &Date::endOfThisYear},
        {u"yearAgo"_s, &Date::yearAgo},
    };
    return table;
}

using TestSupport::setTimeZone;

// "yyyy-MM-dd HH:mm:ss" in local time, so a failure shows the wall clock.
Date local(const QString &text)
{
    const QDateTime parsed = QDateTime::fromString(text, u"yyyy-MM-dd HH:mm:ss"_s);
    Q_ASSERT(parsed.isValid());
    const QDate d = parsed.date();
    const QTime t = parsed.time();
    return Date::fromComponents(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

QString wallClock(Date date)
{
    if (date.isNull())
        return u"(null)"_s;
    return date.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s);
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
        QLocale::setDefault(QLocale(u"de_DE"_s));
    }

    // Days the sweep below does not reach (it covers the days of 2024): other years, leap and
    // common, the century years, and the turns of the year.
    void operation_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        // The row "<op> <input>" in Berlin; an expected day alone stands for its midnight.
        auto row = [](const char *op, const char *input, const char *expected) {
            QString wall = QString::fromLatin1(expected);
            if (wall.size() == 10)
                wall += u" 00:00:00"_s;
            QTest::addRow("%s %s", op, input)
                << QString::fromLatin1(op) << QString::fromLatin1(input) << wall;
        };
        row("prevDay", "2023-03-01 10:00:00", "2023-02-28");
        row("endOfThisMonth", "2023-02-03 12:00:00", "2023-02-28 23:59:59");
        row("endOfThisMonth", "2000-02-10 12:00:00", "2000-02-29 23:59:59");
        row("endOfThisMonth", "2100-02-10 12:00:00", "2100-02-28 23:59:59");
        row("endOfThisMonth", "1900-02-10 12:00:00", "1900-02-28 23:59:59");
        // A month back from a day the month before does not have: its last day.
        row("monthAgo", "2023-03-31 10:00:00", "2023-02-28");
        row("thisYear", "2025-01-01 00:30:00", "2025-01-01");
        row("nextYear", "2023-12-31 23:59:59", "2024-01-01");
        row("yearAgo", "2025-02-28 18:00:00", "2024-02-28");
        row("yearAgo", "2025-03-01 00:30:00", "2024-03-01");
    }
    void operation()
    {
        QFETCH(QString, op);
        QFETCH(QString, input);
        QFETCH(QString, expected);
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

        // The row "<locale> <input>"; the weeks start at midnight of the days given.
        auto row = [](const char *locale, const char *input, const char *thisWeek,
                      const char *nextWeek) {
            QTest::addRow("%s %s", locale, input)
                << QString::fromLatin1(locale) << QString::fromLatin1(input)
                << QString::fromLatin1(thisWeek) + u" 00:00:00"_s
                << QString::fromLatin1(nextWeek) + u" 00:00:00"_s;
        };
        // Weeks in Berlin in locales other than the sweep's (de_DE), and across its year's end.
        // 2024-05-12 is a Sunday; weeks start on Sunday in en_US, on Monday in de_DE.
        row("en_US", "2024-05-15 09:00:00", "2024-05-12", "2024-05-19");
        row("en_US", "2024-05-12 10:00:00", "2024-05-12", "2024-05-19");
        row("en_US", "2024-05-18 23:59:59", "2024-05-12", "2024-05-19");
        row("en_US", "2024-05-13 00:00:00", "2024-05-12", "2024-05-19");
        row("de_DE", "2025-01-01 12:00:00", "2024-12-30", "2025-01-06");
        // Weeks that contain Berlin's changes of the clock (31 March and 27 October 2024, Sundays).
        row("en_US", "2024-03-31 23:30:00", "2024-03-31", "2024-04-07");
        row("en_US", "2024-11-01 23:30:00", "2024-10-27", "2024-11-03");
        row("en_US", "2024-03-30 23:30:00", "2024-03-24", "2024-03-31");
        // A week that starts on Saturday: Friday is six days after its first day.
        row("ar_EG", "2024-05-17 12:00:00", "2024-05-11", "2024-05-18");
        row("ar_EG", "2024-05-18 00:00:00", "2024-05-18", "2024-05-25");
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
            QCOMPARE(wallClock(Date::minimum()), u"0001-01-01 00:00:00"_s);
            QCOMPARE(wallClock(Date::maximum()), u"9999-12-31 00:00:00"_s);
            // Every reading lies between the two: they bound the date fields of the filters.
            const Date reading = local(u"2024-06-01 12:00:00"_s);
            QVERIFY(Date::minimum() < reading);
            QVERIFY(reading < Date::maximum());
        }
        setTimeZone("UTC");
        // 1 January of year 1 is 63113904000 s before 1 January 2001 in the proleptic calendar.
        QCOMPARE(Date::minimum().timeIntervalSinceReferenceDate(), -63113904000.0);
    }

    void repeatedHourBelongsToOneDay()
    {
        // The lengths of the days of the changes follow from the sweep below; the hour that
        // occurs twice lies between its samples: both passes through 02:30 belong to one day.
        const Date autumn = local(u"2024-10-27 12:00:00"_s);
        const Date firstPass =
            Date::fromDateTime(QDateTime(QDate(2024, 10, 27), QTime(0, 30), Qt::UTC)); // 02:30 CEST
        const Date secondPass = firstPass.addingSeconds(3600);                         // 02:30 CET
        QCOMPARE(wallClock(firstPass), u"2024-10-27 02:30:00"_s);
        QCOMPARE(wallClock(secondPass), u"2024-10-27 02:30:00"_s);
        QCOMPARE(firstPass.thisDay(), secondPass.thisDay());
        QCOMPARE(secondPass.endOfThisDay(), autumn.endOfThisDay());
    }

    void gapTimesMoveForward()
    {
        // 02:30 does not exist in Berlin on 31 March 2024. A date built from it moves forward by
        // the length of the gap instead of being lost.
        const Date gap = Date::fromComponents(2024, 3, 31, 2, 30);
        QVERIFY(!gap.isNull());
        QCOMPARE(wallClock(gap), u"2024-03-31 03:30:00"_s);

        // In São Paulo the clock jumped from 00:00 to 01:00 on 4 November 2018: that day has no
        // midnight, and its date alone stands for its first instant, 01:00. (The sweep below
        // checks the starts and ends of the days around it.)
        setTimeZone("America/Sao_Paulo");
        QCOMPARE(wallClock(Date::fromComponents(2018, 11, 4)), u"2018-11-04 01:00:00"_s);
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
                             qPrintable(u"%1 of %2 is %3, expected %4"_s.arg(
                                 QLatin1String(op), where, wallClock(result),
                                 wallClock(startOfDay(expectedDay)))));
                    if (midnightAlwaysExists)
                        QCOMPARE(result.toDateTime().time(), QTime(0, 0));
                };
                const auto expectEnd = [&](Date result, const QDate &expectedDay, const char *op) {
                    QVERIFY2(result == startOfDay(expectedDay.addDays(1)).addingSeconds(-1),
                             qPrintable(u"%1 of %2 is %3"_s.arg(QLatin1String(op), where,
                                                                wallClock(result))));
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
        const Date receiver = local(u"2024-05-15 09:00:00"_s).addingSeconds(0.75);
        const Date copy = receiver;
        for (const auto &[name, op] : operations()) {
            const Date result = (receiver.*op)();
            QVERIFY2(!result.isNull(), qPrintable(name));
            QCOMPARE(std::fmod(result.timeIntervalSinceReferenceDate(), 1.0), 0.0);
        }
        QCOMPARE(receiver, copy);
        // The end of the day is the whole second 23:59:59; a fraction later lies after it.
        const Date lastFraction = local(u"2024-05-15 23:59:59"_s).addingSeconds(0.5);
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
        const QString berlin = u"/usr/share/zoneinfo/Europe/Berlin"_s;
        QVERIFY2(QFile::exists(berlin), "tzdata is needed");
        // Unset: TZ names the zone file, and conversions follow it.
        qunsetenv("TZ");
        QVERIFY(LocalTimeZone::pinSystemZone(berlin));
        QCOMPARE(qgetenv("TZ"), QByteArray(":") + berlin.toUtf8());
        QCOMPARE(wallClock(Date::fromTimeIntervalSince1970(0)), u"1970-01-01 01:00:00"_s);
        // Set, even to nothing (UTC for the C library): left as it is.
        setTimeZone("America/New_York");
        QVERIFY(!LocalTimeZone::pinSystemZone(berlin));
        QCOMPARE(qgetenv("TZ"), QByteArray("America/New_York"));
        setTimeZone("");
        QVERIFY(!LocalTimeZone::pinSystemZone(berlin));
        QVERIFY(qEnvironmentVariableIsSet("TZ"));
        QCOMPARE(wallClock(Date::fromTimeIntervalSince1970(0)), u"1970-01-01 00:00:00"_s);
        // Unset without the zone file: stays unset.
        qunsetenv("TZ");
        QVERIFY(!LocalTimeZone::pinSystemZone(u"/no/such/zone"_s));
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
