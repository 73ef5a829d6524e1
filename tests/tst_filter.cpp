#include "ComparisonPredicate.h"
#include "Filter.h"
#include "Localization.h"
#include "Number.h"
#include "RelativeDate.h"
#include "TestMain.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

PredicatePtr parse(const QString &text)
{
    return Predicate::predicateWithFormat(text);
}

Date at(int year, int month, int day, int hour, int minute)
{
    return Date::fromComponents(year, month, day, hour, minute);
}

MeasurementPtr readingAt(int year, int month, int day, int hour, int minute)
{
    return Measurement::create(at(year, month, day, hour, minute), 120, 80);
}

} // namespace

class TestFilter : public QObject
{
    Q_OBJECT

private:
    Date fNow;

private slots:
    void initTestCase()
    {
        TestSupport::setTimeZone("Europe/Berlin");
        Date::setClock([this] { return fNow; });
    }
    // Friday 15 March 2024, 15:00.
    void init() { fNow = Date::fromComponents(2024, 3, 15, 15, 0); }

    void newFilter()
    {
        Filter filter;
        QCOMPARE(filter.name(), QStringLiteral("Untitled filter"));
        QCOMPARE(filter.useInFilters(), QVariant(true));
        QCOMPARE(filter.useInAverages(), QVariant(true));
        QVERIFY(Predicate::equal(filter.predicate(), parse("Systolic > 0")));

        QVERIFY(filter.accepts(*Measurement::create(fNow, 1, 80)));
        QVERIFY(!filter.accepts(*Measurement::create(fNow, 0, 80)));
        Measurement noSystolic;
        QVERIFY(!filter.accepts(noSystolic));
        // Without a predicate it lets everything through.
        Filter all;
        all.setPredicate(nullptr);
        QVERIFY(!all.valueForKey("predicate").isValid());
        QVERIFY(all.accepts(noSystolic));
        QVERIFY(all.accepts(*Measurement::create(fNow, 0, 0)));

        // The name is a value of its own: changing the caller's string later changes nothing.
        QString name = QStringLiteral("Mornings");
        const FilterPtr named = Filter::filterWithName(name);
        name.append(QStringLiteral(" and evenings"));
        QCOMPARE(named->name(), QStringLiteral("Mornings"));
        QCOMPARE(named->useInFilters(), QVariant(true));
    }

    void stockFilters()
    {
        const FilterPtr none = Filter::filterNoFilter();
        QCOMPARE(none->name(), QStringLiteral("No filter"));
        QVERIFY(Predicate::equal(none->predicate(), parse("Systolic > 0")));

        const FilterPtr week = Filter::filterLastWeek();
        const FilterPtr month = Filter::filterLastMonth();
        QCOMPARE(week->name(), QStringLiteral("Last week"));
        QCOMPARE(month->name(), QStringLiteral("Last month"));

        struct Expected
        {
            FilterPtr filter;
            qint32 units;
            double interval;
        };
        for (const Expected &e :
             {Expected{week, 1, -7 * 86400.0}, Expected{month, 2, -29 * 86400.0}}) {
            QVERIFY(e.filter->isUsedInFilters() && e.filter->isUsedInAverages());
            const ComparisonPredicate *c = e.filter->predicate()->asComparison();
            QVERIFY(c);
            QCOMPARE(c->leftExpression().expressionType(), Expression::KeyPathExpressionType);
            QCOMPARE(c->leftExpression().keyPath(), QStringLiteral("Date"));
            QCOMPARE(c->rightExpression().expressionType(),
                     Expression::ConstantValueExpressionType);
            const QVariant constant = c->rightExpression().constantValue();
            QCOMPARE(constant.typeId(), qMetaTypeId<RelativeDate>());
            QCOMPARE(constant.value<RelativeDate>().dateUnits(), e.units);
            QCOMPARE(constant.value<RelativeDate>().timeIntervalSinceNow(), e.interval);
            QCOMPARE(c->comparisonPredicateModifier(), 0);
            QCOMPARE(c->predicateOperatorType(), 2);
            QCOMPARE(c->options(), 0);
        }
        // Each stock filter is a filter of its own.
        QVERIFY(Filter::filterLastWeek() != week);
    }

    void stockNamesAreLocalised()
    {
        Localization::install(QLocale(QLocale::German));
        const QString untitled = Filter().name();
        const QString none = Filter::filterNoFilter()->name();
        Localization::install(QLocale(QLocale::English));
        QCOMPARE(untitled, QStringLiteral("Unbenannter Filter"));
        QCOMPARE(none, QStringLiteral("Kein Filter"));
    }

    void stockWindows_data()
    {
        QTest::addColumn<bool>("month"); // the last month's filter, else the last week's
        QTest::addColumn<Date>("when");
        QTest::addColumn<bool>("passes");
        // The reading's day must start after Friday 8 March 15:00.
        QTest::newRow("week: today") << false << at(2024, 3, 15, 8, 0) << true;
        QTest::newRow("week: Saturday a week ago, early") << false << at(2024, 3, 9, 0, 5) << true;
        QTest::newRow("week: Friday a week ago, late") << false << at(2024, 3, 8, 23, 55) << false;
        QTest::newRow("week: Friday a week ago, after the hour")
            << false << at(2024, 3, 8, 16, 0) << false;
        QTest::newRow("week: long ago") << false << at(2023, 3, 10, 12, 0) << false;
        // One month before 15 March 15:00 is 15 February 15:00.
        QTest::newRow("month: 16 February") << true << at(2024, 2, 16, 0, 0) << true;
        QTest::newRow("month: 15 February, evening") << true << at(2024, 2, 15, 23, 0) << false;
        QTest::newRow("month: 1 March") << true << at(2024, 3, 1, 9, 0) << true;
    }
    void stockWindows()
    {
        QFETCH(bool, month);
        QFETCH(Date, when);
        QFETCH(bool, passes);
        const FilterPtr filter = month ? Filter::filterLastMonth() : Filter::filterLastWeek();
        QCOMPARE(filter->accepts(*Measurement::create(when, 120, 80)), passes);
    }

    void stockWindowSlidesWithTheClock()
    {
        const FilterPtr week = Filter::filterLastWeek();
        const MeasurementPtr saturday = readingAt(2024, 3, 9, 10, 0);
        QVERIFY(week->accepts(*saturday));
        fNow = fNow.addingSeconds(86400); // Saturday 16 March 15:00
        QVERIFY(!week->accepts(*saturday));
        QVERIFY(week->accepts(*readingAt(2024, 3, 10, 10, 0)));
    }

    void flags()
    {
        Filter filter;
        filter.setUseInFilters(QVariant());
        QVERIFY(!filter.useInFilters().isValid());
        QVERIFY(!filter.isUsedInFilters());
        QVERIFY(!filter.valueForKey("useInFilters").isValid());

        filter.setUseInAverages(Number::integer(0));
        QCOMPARE(filter.useInAverages(), QVariant(false));
        QVERIFY(!filter.isUsedInAverages());
        filter.setValueForKey(Number::real(1.0), "useInAverages");
        QCOMPARE(filter.useInAverages(), QVariant(true)); // numbers become booleans
        filter.setValueForKey(QStringLiteral("yes"), "useInAverages");
        QVERIFY(!filter.useInAverages().isValid()); // not a number: absent
    }

    void notificationsCarryOldValues()
    {
        Filter filter(QStringLiteral("A"));
        QSignalSpy spy(&filter, &Filter::valueChanged);
        const PredicatePtr original = filter.predicate();

        filter.setName(QStringLiteral("B"));
        filter.setName(QStringLiteral("B"));        // no change, no signal
        filter.setPredicate(parse("Systolic > 0")); // equal to the current one: no change
        filter.setPredicate(parse("Pulse > 60"));
        filter.setPredicate(nullptr);
        filter.setPredicate(nullptr);
        filter.setPredicate(original);
        filter.setUseInFilters(QVariant());
        filter.setUseInFilters(QVariant());
        filter.setUseInFilters(false);
        filter.setUseInAverages(true);                        // already true
        filter.setValueForKey(QStringLiteral("x"), "colour"); // unknown key: ignored

        QCOMPARE(spy.size(), 6);
        QCOMPARE(spy[0][0].toString(), QStringLiteral("name"));
        QCOMPARE(spy[0][1], QVariant(QStringLiteral("A")));
        QCOMPARE(spy[1][0].toString(), QStringLiteral("predicate"));
        QCOMPARE(spy[1][1].value<PredicatePtr>(), original);
        QCOMPARE(spy[2][0].toString(), QStringLiteral("predicate"));
        QVERIFY(Predicate::equal(spy[2][1].value<PredicatePtr>(), parse("Pulse > 60")));
        QCOMPARE(spy[3][0].toString(), QStringLiteral("predicate"));
        QVERIFY(!spy[3][1].isValid()); // there was none
        QCOMPARE(spy[4][0].toString(), QStringLiteral("useInFilters"));
        QCOMPARE(spy[4][1], QVariant(true));
        QCOMPARE(spy[5][0].toString(), QStringLiteral("useInFilters"));
        QVERIFY(!spy[5][1].isValid()); // it was absent
    }

    void undoThroughKeyValueAccess()
    {
        // Recording "set this key back to the old value" from each signal and replaying the records
        // in reverse order restores every value exactly.
        Filter filter(QStringLiteral("A"));
        const QStringList keys = {"name", "predicate", "useInAverages", "useInFilters"};
        QList<QVariant> before;
        for (const QString &key : keys)
            before.append(filter.valueForKey(key));

        QList<QPair<QString, QVariant>> undo;
        const auto recording = connect(&filter, &Filter::valueChanged, this,
                                       [&undo](const QString &key, const QVariant &old) {
                                           undo.append({key, old});
                                       });
        filter.setValueForKey(QStringLiteral("B"), "name");
        filter.setValueForKey(QVariant::fromValue(parse("Weight < 80")), "predicate");
        filter.setValueForKey(QVariant(), "predicate");
        filter.setValueForKey(QVariant(), "useInAverages");
        filter.setValueForKey(false, "useInFilters");
        QCOMPARE(undo.size(), 5);
        disconnect(recording);

        for (auto it = undo.crbegin(); it != undo.crend(); ++it)
            filter.setValueForKey(it->second, it->first);
        for (qsizetype i = 0; i < keys.size(); ++i) {
            const QVariant now = filter.valueForKey(keys[i]);
            if (keys[i] == QLatin1String("predicate"))
                QCOMPARE(now.value<PredicatePtr>(), before[i].value<PredicatePtr>());
            else
                QCOMPARE(now, before[i]);
        }
    }

    void decoded_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("predicate"); // empty: none stored
        QTest::addColumn<QVariant>("useInAverages");
        QTest::addColumn<QVariant>("useInFilters");
        QTest::addColumn<QString>("expectedName");
        QTest::addColumn<QString>("expectedPredicate");

        // A null text stands for a name or predicate not stored.
        const auto row = [](const char *tag, const char *name, const char *predicate,
                            const QVariant &useInAverages, const QVariant &useInFilters,
                            const char *expectedName, const char *expectedPredicate) {
            const auto text = [](const char *t) { return t ? QString::fromUtf8(t) : QString(); };
            QTest::newRow(tag) << text(name) << text(predicate) << useInAverages << useInFilters
                               << text(expectedName) << text(expectedPredicate);
        };
        const QVariant yes(true), no(false), absent;
        row("usable", "Salty", "ANY Tags IN {'salt'}", yes, no, "Salty", "ANY Tags IN {'salt'}");
        row("false for the test reading is still usable", "High", "Systolic > 500", yes, yes,
            "High", "Systolic > 500");
        row("relative date kept", "Week", "Date > RELATIVEDATE(-604800, 1)", yes, yes, "Week",
            "Date > RELATIVEDATE(-604800, 1)");
        row("no predicate", "Mine", nullptr, yes, yes, "??? Mine", "Systolic > 0");
        row("unknown key path", "Odd", "Systolic > 0 OR Mood == 'good'", yes, yes, "??? Odd",
            "Systolic > 0");
        row("no name", nullptr, "Pulse > 0", yes, yes, "Untitled filter", "Pulse > 0");
        row("no name, no predicate", nullptr, nullptr, absent, absent, "??? Untitled filter",
            "Systolic > 0");
        row("flags absent", "Quiet", "Pulse > 0", absent, absent, "Quiet", "Pulse > 0");
        row("flags as numbers", "Numbers", "Pulse > 0", Number::integer(1), Number::integer(0),
            "Numbers", "Pulse > 0");
    }
    void decoded()
    {
        QFETCH(QString, name);
        QFETCH(QString, predicate);
        QFETCH(QVariant, useInAverages);
        QFETCH(QVariant, useInFilters);
        QFETCH(QString, expectedName);
        QFETCH(QString, expectedPredicate);

        const PredicatePtr stored = predicate.isNull() ? nullptr : parse(predicate);
        QVERIFY(predicate.isNull() || stored);
        const FilterPtr filter =
            Filter::filterFromDecoded(name, stored, useInAverages, useInFilters);
        QCOMPARE(filter->name(), expectedName);
        QVERIFY(Predicate::equal(filter->predicate(), parse(expectedPredicate)));
        QCOMPARE(filter->useInAverages().isValid(), useInAverages.isValid());
        QCOMPARE(filter->useInFilters().isValid(), useInFilters.isValid());
        QCOMPARE(filter->isUsedInAverages(), useInAverages.toBool());
        QCOMPARE(filter->isUsedInFilters(), useInFilters.toBool());
        if (filter->useInAverages().isValid())
            QCOMPARE(filter->useInAverages().typeId(), int(QMetaType::Bool));
        // A kept predicate is the very object that was decoded.
        if (expectedName == name)
            QCOMPARE(filter->predicate(), stored);
    }
};

TENSILO_TEST_MAIN(TestFilter)
#include "tst_filter.moc"
