// The home-measurement summary: the windows at their edges, the period, the first measured day
// left out from four days on, completeness and the verdict. (That the pane under the averages
// follows undo and the selected filter is tst_window_models' part.)

#include "DocumentBuilder.h"
#include "HomeSummary.h"
#include "Localization.h"
#include "MyDocument.h"
#include "Preferences.h"
#include "TestMain.h"

#include <QtTest>

namespace {

// "2026-03-10 07:30 140/90/70": a local time, a pressure and an optional pulse.
MeasurementPtr reading(const QString &text)
{
    const QStringList parts = text.split(u' ');
    const QDate day = QDate::fromString(parts.at(0), Qt::ISODate);
    const QTime time = QTime::fromString(parts.at(1), QStringLiteral("hh:mm"));
    const QStringList values = parts.at(2).split(u'/');
    auto m = Measurement::create(
        Date::fromComponents(day.year(), day.month(), day.day(), time.hour(), time.minute()),
        values.at(0).toInt(), values.at(1).toInt());
    if (values.size() > 2)
        m->setValueForKey(values.at(2).toInt(), Measurement::Key::Pulse);
    return m;
}

MeasurementList readings(const QStringList &texts)
{
    MeasurementList list;
    for (const QString &text : texts)
        list.append(reading(text));
    return list;
}

// Morning and evening readings on each of the given days of March 2026.
QStringList days(std::initializer_list<int> dayNumbers, const QString &morning = "140/90",
                 const QString &evening = "130/80")
{
    QStringList texts;
    for (int day : dayNumbers) {
        const QString date = QStringLiteral("2026-03-%1").arg(day, 2, 10, QChar(u'0'));
        texts << date + " 07:00 " + morning << date + " 20:00 " + evening;
    }
    return texts;
}

HomeSummary summaryOf(const QStringList &texts)
{
    const MeasurementList list = readings(texts);
    return HomeSummary::compute(ConstMeasurementList(list.cbegin(), list.cend()));
}

} // namespace

class TestHomeSummary : public QObject
{
    Q_OBJECT

private slots:
    // A zone with daylight saving time, so that local days are not UTC days.
    void initTestCase() { TestSupport::setTimeZone("Europe/Berlin"); }

    void rules_data()
    {
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QString>("period");    // "first last", empty for none
        QTest::addColumn<QList<int>>("counts"); // counted days, readings, morning, evening
        QTest::addColumn<double>("systolic");
        QTest::addColumn<double>("diastolic");
        QTest::addColumn<QString>("verdict"); // "below", "above" or the days missing

        QTest::newRow("no readings")
            << QStringList() << "" << QList<int>{0, 0, 0, 0} << 0.0 << 0.0 << "3";
        QTest::newRow("outside both windows")
            << QStringList{"2026-03-10 03:59 200/100", "2026-03-10 12:00 200/100",
                           "2026-03-10 15:59 200/100", "2026-03-11 00:00 200/100"}
            << "2026-03-05 2026-03-11" << QList<int>{0, 0, 0, 0} << 0.0 << 0.0 << "3";
        QTest::newRow("window edges")
            << QStringList{"2026-03-10 04:00 120/80",  "2026-03-10 11:59 130/80",
                           "2026-03-10 16:00 140/80",  "2026-03-10 23:59 150/80",
                           "2026-03-10 12:00 250/150", "2026-03-10 03:59 250/150",
                           "2026-03-10 15:59 250/150"}
            << "2026-03-04 2026-03-10" << QList<int>{1, 4, 2, 2} << 135.0 << 80.0 << "2";
        QTest::newRow("three days keep the first")
            << days({1, 2, 3}) << "2026-02-25 2026-03-03" << QList<int>{3, 6, 3, 3} << 135.0 << 85.0
            << "above";
        QTest::newRow("four days leave the first out")
            << days({1}, "200/120", "200/120") + days({2, 3, 4}, "120/70", "120/70")
            << "2026-02-26 2026-03-04" << QList<int>{3, 6, 3, 3} << 120.0 << 70.0 << "below";
        QTest::newRow("period of seven days ends with the latest")
            << days({1}, "200/120", "200/120") + days({3, 4, 5, 9}, "130/80", "130/80")
            << "2026-03-03 2026-03-09" << QList<int>{3, 6, 3, 3} << 130.0 << 80.0 << "below";
        QTest::newRow("left-out day may be the complete one")
            << days({2}) + QStringList{"2026-03-03 07:00 130/80", "2026-03-04 20:00 130/80",
                                       "2026-03-05 07:00 130/80", "2026-03-05 20:00 130/80"}
            << "2026-02-27 2026-03-05" << QList<int>{3, 4, 2, 2} << 130.0 << 80.0 << "2";
        QTest::newRow("just below")
            << QStringList{"2026-03-01 07:00 134/84", "2026-03-01 20:00 135/85",
                           "2026-03-02 07:00 134/84", "2026-03-02 20:00 135/84",
                           "2026-03-03 07:00 134/84", "2026-03-03 20:00 134/84"}
            << "2026-02-25 2026-03-03" << QList<int>{3, 6, 3, 3} << 134.0 + 1.0 / 3
            << 84.0 + 1.0 / 6 << "below";
        QTest::newRow("diastolic alone reaches it")
            << days({1, 2, 3}, "120/85", "120/85") << "2026-02-25 2026-03-03"
            << QList<int>{3, 6, 3, 3} << 120.0 << 85.0 << "above";
    }

    void rules()
    {
        QFETCH(QStringList, input);
        QFETCH(QString, period);
        QFETCH(QList<int>, counts);
        QFETCH(double, systolic);
        QFETCH(double, diastolic);
        QFETCH(QString, verdict);

        auto document = DocumentBuilder().build();
        const MeasurementList list = readings(input);
        if (!list.isEmpty())
            document->addMeasurements(list);
        const HomeSummary summary = HomeSummary::compute(document->items());

        QCOMPARE(summary.hasPeriod(), !period.isEmpty());
        if (summary.hasPeriod())
            QCOMPARE(summary.firstDay().toString(Qt::ISODate) + " " +
                         summary.lastDay().toString(Qt::ISODate),
                     period);
        QCOMPARE(summary.countedDays(), counts.at(0));
        QCOMPARE(summary.countedReadings(), counts.at(1));
        QCOMPARE(summary.readingsIn(HomeSummary::Morning), counts.at(2));
        QCOMPARE(summary.readingsIn(HomeSummary::Evening), counts.at(3));
        QCOMPARE(summary.statistic(HomeSummary::AllParts, HomeSummary::Systolic).mean, systolic);
        QCOMPARE(summary.statistic(HomeSummary::AllParts, HomeSummary::Diastolic).mean, diastolic);
        const HomeSummary::Verdict given = summary.verdict();
        QCOMPARE(given == HomeSummary::Verdict::AtOrAbove ? QStringLiteral("above")
                 : given == HomeSummary::Verdict::Below   ? QStringLiteral("below")
                                                          : QString::number(summary.missingDays()),
                 verdict);
    }

    // Mean and deviation by part of the day, the averages' deviation; pulse where given.
    void partsOfTheDay()
    {
        const HomeSummary summary = summaryOf(QStringList(
            {"2026-03-01 07:00 130/80/60", "2026-03-01 20:00 120/70", "2026-03-02 07:00 140/90/70",
             "2026-03-02 20:00 120/70", "2026-03-03 07:00 150/100/80", "2026-03-03 20:00 120/70"}));
        const auto &morning = summary.statistic(HomeSummary::Morning, HomeSummary::Systolic);
        QCOMPARE(morning.mean, 140.0);
        QCOMPARE(morning.deviation, std::sqrt(200.0 / 3));
        QCOMPARE(summary.statistic(HomeSummary::Evening, HomeSummary::Systolic).deviation, 0.0);
        QCOMPARE(summary.statistic(HomeSummary::AllParts, HomeSummary::Pulse).count, 3);
        QCOMPARE(summary.statistic(HomeSummary::AllParts, HomeSummary::Pulse).mean, 70.0);
        QVERIFY(!summary.statistic(HomeSummary::Evening, HomeSummary::Pulse).isValid());
    }

    // The preferences set the days, the windows and the threshold.
    void settingsFromPreferences()
    {
        Preferences &prefs = Preferences::shared();
        prefs.setValueForKey(3, Preferences::homeSummaryDays);
        prefs.setValueForKey(6, Preferences::homeMorningFrom);
        prefs.setValueForKey(130, Preferences::homeThresholdSystolic);
        const HomeSummary summary = summaryOf(
            (days({1, 2, 3, 4}, "131/80", "131/80") + QStringList{"2026-03-04 05:00 90/60"}));
        for (const QString key : {"homeSummaryDays", "homeMorningFrom", "homeThresholdSystolic"})
            prefs.removeValueForKey(key);
        QCOMPARE(summary.firstDay(), QDate(2026, 3, 2));
        QCOMPARE(summary.countedDays(), 3); // three measured days: none left out
        QCOMPARE(summary.countedReadings(), 6);
        QCOMPARE(summary.verdict(), HomeSummary::Verdict::AtOrAbove);
    }

    void texts()
    {
        const HomeSummary incomplete = summaryOf(days({1, 2}));
        const HomeSummary complete = summaryOf(days({1, 2, 3}, "120/70", "120/70"));
        Localization::install(QLocale(QStringLiteral("de_DE")));
        QCOMPARE(incomplete.verdictText(),
                 QStringLiteral("Unvollständig: 1 weiterer Tag mit "
                                "Morgen- und Abendmessungen wird benötigt."));
        QVERIFY(complete.verdictText().contains(
            QStringLiteral("unter dem Heim-Schwellenwert von 135/85")));
        Localization::install(QLocale(QStringLiteral("en_US")));
        QVERIFY(
            complete.verdictText().contains(QStringLiteral("below the home threshold of 135/85")));
    }
};

TENSILO_TEST_MAIN(TestHomeSummary)

#include "tst_homesummary.moc"
