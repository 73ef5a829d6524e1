#include "RelativeDate.h"
#include "TestMain.h"

#include <QSet>
#include <QtTest>

#include <cmath>

class TestRelativeDate : public QObject
{
    Q_OBJECT

private:
    Date fNow;
    void setNow(Date now) { fNow = now; }

private slots:
    void initTestCase()
    {
        TestSupport::setTimeZone("Europe/Berlin");
        Date::setClock([this] { return fNow; });
    }
    void init() { setNow(Date::fromComponents(2024, 3, 15, 14, 30)); }

    void creationFromCount_data()
    {
        QTest::addColumn<Date>("now");
        QTest::addColumn<qint64>("count");
        QTest::addColumn<int>("units");
        QTest::addColumn<double>("interval");

        const Date march15 = Date::fromComponents(2024, 3, 15, 14, 30);
        QTest::newRow("7 days") << march15 << qint64(7) << 0 << -604800.0;
        QTest::newRow("1 week") << march15 << qint64(1) << 1 << -604800.0;
        QTest::newRow("3 weeks") << march15 << qint64(3) << 1 << -3 * 604800.0;
        QTest::newRow("1 month, 29-day February") << march15 << qint64(1) << 2 << -29 * 86400.0;

        // Daylight saving time begins 31 March 2024 02:00 and ends 27 October 2024 03:00 in Berlin:
        // a calendar week across it is an hour shorter or longer.
        const Date april3 = Date::fromComponents(2024, 4, 3, 12, 0);
        QTest::newRow("week over spring change") << april3 << qint64(1) << 1 << -(604800.0 - 3600);
        QTest::newRow("days over spring change") << april3 << qint64(7) << 0 << -(604800.0 - 3600);
        const Date october30 = Date::fromComponents(2024, 10, 30, 12, 0);
        QTest::newRow("week over autumn change")
            << october30 << qint64(1) << 1 << -(604800.0 + 3600);
        QTest::newRow("one day over autumn change")
            << Date::fromComponents(2024, 10, 27, 12, 0) << qint64(1) << 0 << -(86400.0 + 3600);
    }
    void creationFromCount()
    {
        QFETCH(Date, now);
        QFETCH(qint64, count);
        QFETCH(int, units);
        QFETCH(double, interval);
        setNow(now);
        const RelativeDate r(count, units);
        QCOMPARE(r.timeIntervalSinceNow(), interval);
        QCOMPARE(r.dateUnits(), units);
        // Read back at once it gives the count it was made from.
        QCOMPARE(r.valueOfTimeDifferenceInUnits(), count);
        QCOMPARE(r.timeIntervalSinceReferenceDate(),
                 now.timeIntervalSinceReferenceDate() + interval);
    }

    void slidesWithTheClock()
    {
        const RelativeDate week(7, RelativeDate::Days);
        const double before = week.timeIntervalSinceReferenceDate();
        setNow(fNow.addingSeconds(3600));
        QCOMPARE(week.timeIntervalSinceReferenceDate(), before + 3600);
        QCOMPARE(week.timeIntervalSinceNow(), -604800.0); // fixed at creation
        QCOMPARE(week.evaluateRelativeDateRelativeToDate(Date(1000.25)), Date(1000.25 - 604800));
    }

    void clockReadOnceAtCreation()
    {
        // Target and interval come from one reading of the clock: a clock that moves while the date
        // is made does not show up in the interval.
        double t = Date::fromComponents(2024, 3, 15, 14, 30).timeIntervalSinceReferenceDate();
        Date::setClock([&t] {
            const Date d(t);
            t += 0.5;
            return d;
        });
        const RelativeDate r(1, RelativeDate::Weeks);
        Date::setClock([this] { return fNow; });
        QCOMPARE(r.timeIntervalSinceNow(), -604800.0);
    }

    void monthsCountedBackByCalendar_data()
    {
        QTest::addColumn<Date>("created");
        QTest::addColumn<Date>("target");
        QTest::addColumn<Date>("readBack");
        QTest::addColumn<qint64>("months");

        // Created, target and read back at 9:00 on the days given.
        const auto row = [](const char *name, QDate created, QDate target, QDate readBack,
                            qint64 months) {
            const auto at9 = [](QDate d) {
                return Date::fromComponents(d.year(), d.month(), d.day(), 9, 0);
            };
            QTest::newRow(name) << at9(created) << at9(target) << at9(readBack) << months;
        };
        // The day of the month pinned to the last day of a shorter month.
        row("31 March, common year", {2023, 3, 31}, {2023, 2, 28}, {2023, 3, 31}, 1);
        row("31 March, leap year", {2024, 3, 31}, {2024, 2, 29}, {2024, 3, 31}, 1);
        row("31 May", {2024, 5, 31}, {2024, 4, 30}, {2024, 5, 31}, 1);
        // 28 days fixed on 15 March: read on 31 March they reach back to 3 March, no whole month.
        row("15 March read on 31 March", {2023, 3, 15}, {2023, 2, 15}, {2023, 3, 31}, 0);
        // 31 days fixed on 15 January: read on 15 March they reach back to 12 February.
        row("15 January read on 15 March", {2023, 1, 15}, {2022, 12, 15}, {2023, 3, 15}, 1);
    }
    void monthsCountedBackByCalendar()
    {
        QFETCH(Date, created);
        QFETCH(Date, target);
        QFETCH(Date, readBack);
        QFETCH(qint64, months);
        setNow(created);
        const RelativeDate r(1, RelativeDate::Months);
        QCOMPARE(r.timeIntervalSinceNow(), target.timeIntervalSinceReferenceDate() -
                                               created.timeIntervalSinceReferenceDate());
        setNow(readBack);
        QCOMPARE(r.valueOfTimeDifferenceInUnits(), months);
    }

    void futureAndZeroCounts()
    {
        const RelativeDate zero(0, RelativeDate::Weeks);
        QCOMPARE(zero.timeIntervalSinceNow(), 0.0);
        QCOMPARE(zero.valueOfTimeDifferenceInUnits(), qint64(0));

        const RelativeDate ahead(-2, RelativeDate::Days);
        QCOMPARE(ahead.timeIntervalSinceNow(), 2 * 86400.0);
        QCOMPARE(ahead.valueOfTimeDifferenceInUnits(), qint64(-2));

        // Whole units only: 13 days are one week.
        QCOMPARE(RelativeDate::fromTimeInterval(-13 * 86400.0, RelativeDate::Weeks)
                     .valueOfTimeDifferenceInUnits(),
                 qint64(1));
        QCOMPARE(RelativeDate::fromTimeInterval(-86399.0, RelativeDate::Days)
                     .valueOfTimeDifferenceInUnits(),
                 qint64(0));

        // From a date.
        const RelativeDate fromDate(fNow.addingSeconds(-90), RelativeDate::Days);
        QCOMPARE(fromDate.timeIntervalSinceNow(), -90.0);
    }

    void equalityHashAndDefault()
    {
        const RelativeDate days(7, RelativeDate::Days);
        const RelativeDate week(1, RelativeDate::Weeks);
        QCOMPARE(days.timeIntervalSinceNow(), week.timeIntervalSinceNow());
        QVERIFY(days != week); // the unit differs

        const RelativeDate a = RelativeDate::fromTimeInterval(-604800.25, 1);
        const RelativeDate b = RelativeDate::fromTimeInterval(-604800.25, 1);
        QVERIFY(a == b);
        QCOMPARE(a.hash(), b.hash());
        QCOMPARE(qHash(a), qHash(b));
        QVERIFY(a != RelativeDate::fromTimeInterval(-604800.5, 1));

        QCOMPARE(QVariant::fromValue(a), QVariant::fromValue(b));
        QSet<RelativeDate> set{a, b, days, week};
        QCOMPARE(set.size(), 3);

        // Every past date hashes to its unit code.
        QCOMPARE(RelativeDate(3, RelativeDate::Weeks).hash(), 1u);
        QCOMPARE(RelativeDate::fromTimeInterval(-1e12, 2).hash(), 2u);
        QCOMPARE(RelativeDate::fromTimeInterval(100.9, 2).hash(), 102u);
        QCOMPARE(RelativeDate::fromTimeInterval(1e12, 0).hash(), 4294967295u);
        QCOMPARE(RelativeDate::fromTimeInterval(std::nan(""), 1).hash(), 1u);

        // The default date stands for the present.
        const RelativeDate r;
        QCOMPARE(r.timeIntervalSinceNow(), 0.0);
        QCOMPARE(r.dateUnits(), 0);
        QCOMPARE(r.timeIntervalSinceReferenceDate(), fNow.timeIntervalSinceReferenceDate());
        QVERIFY(r == RelativeDate::fromTimeInterval(0, 0));
    }

    void description()
    {
        // 14:30 in Berlin is 13:30 UTC.
        QCOMPARE(RelativeDate(7, RelativeDate::Days).description(),
                 QStringLiteral("<2024-03-08 13:30:00 +0000 (7 days ago)>"));
        QCOMPARE(RelativeDate(2, RelativeDate::Months).description(),
                 QStringLiteral("<2024-01-15 13:30:00 +0000 (2 months ago)>"));
        QCOMPARE(RelativeDate(1, RelativeDate::Weeks).description(),
                 QStringLiteral("<2024-03-08 13:30:00 +0000 (1 weeks ago)>"));
    }

    void extremeValuesStaySafe()
    {
        // Unit codes outside the table: no length, and no count.
        for (qint32 units : {-1, 3, 42}) {
            const RelativeDate r(5, units);
            QCOMPARE(r.timeIntervalSinceNow(), 0.0);
            QCOMPARE(r.dateUnits(), units);
            QCOMPARE(r.valueOfTimeDifferenceInUnits(), qint64(-1));
            QVERIFY(RelativeDate::unitName(units).isEmpty());
            QVERIFY(!r.description().isEmpty());
        }

        // Beyond the calendar: the nominal unit length, never a non-number.
        const RelativeDate far(qint64(1) << 40, RelativeDate::Months);
        QVERIFY(std::isfinite(far.timeIntervalSinceNow()));
        QVERIFY(far.timeIntervalSinceNow() < 0);
        QCOMPARE(far.valueOfTimeDifferenceInUnits(), qint64(-1));

        for (double interval : {std::nan(""), std::numeric_limits<double>::infinity(), 1e300}) {
            const RelativeDate r = RelativeDate::fromTimeInterval(interval, 1);
            QCOMPARE(r.valueOfTimeDifferenceInUnits(), qint64(-1));
            QVERIFY(!r.description().isEmpty());
        }
    }
};

TENSILO_TEST_MAIN(TestRelativeDate)
#include "tst_relativedate.moc"
