#include "Average.h"
#include "ComparisonPredicate.h"
#include "Number.h"
#include "RelativeDate.h"
#include "TestMain.h"

#include <QSignalSpy>
#include <QtTest>

#include <cmath>

namespace {

PredicatePtr parse(const QString &text)
{
    return Predicate::predicateWithFormat(text);
}

const Date kNow = Date(732202200.0);

MeasurementPtr reading(int systolic, int diastolic = 80, const QVariant &pulse = QVariant())
{
    auto r = Measurement::create(kNow, systolic, diastolic);
    r->setPulse(pulse);
    return r;
}

} // namespace

class TestAverage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Date::setClock([] { return kNow; });
    }

    void statistics_data()
    {
        QTest::addColumn<QVariantList>("pulses"); // one reading each; invalid: no pulse
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("mean");
        QTest::addColumn<double>("deviation");

        const QVariant none;
        QTest::newRow("population, not sample")
            << QVariantList{120, 130, 140} << true << 130.0 << std::sqrt(200.0 / 3.0);
        QTest::newRow("single") << QVariantList{125} << true << 125.0 << 0.0;
        QTest::newRow("equal") << QVariantList{100, 100, 100} << true << 100.0 << 0.0;
        QTest::newRow("below threshold") << QVariantList{100.0, 100.004} << true << 100.002 << 0.0;
        QTest::newRow("above threshold") << QVariantList{100.0, 100.01} << true << 100.005 << 0.005;
        QTest::newRow("absent not counted") << QVariantList{60, none, 80} << true << 70.0 << 10.0;
        QTest::newRow("all absent") << QVariantList{none, none} << false << 0.0 << 0.0;
        QTest::newRow("fractions") << QVariantList{72.5, 73.5} << true << 73.0 << 0.5;
    }
    void statistics()
    {
        QFETCH(QVariantList, pulses);
        QFETCH(bool, valid);
        QFETCH(double, mean);
        QFETCH(double, deviation);

        ConstMeasurementList all;
        for (const QVariant &pulse : pulses)
            all.append(reading(120, 80, pulse));
        const AveragePtr average = Average::averageWithArray(&all, Filter::filterWithName("All"));
        const AverageItemPtr item = average->item("Pulse");
        QCOMPARE(item->isValid(), valid);
        QVERIFY(qAbs(item->average() - mean) < 1e-9);
        QVERIFY2(qAbs(item->deviation() - deviation) < 1e-7,
                 qPrintable(QString::number(item->deviation(), 'g', 17)));
        if (deviation == 0)
            QCOMPARE(item->deviation(), 0.0); // exactly
    }

    void itemsAndKeys()
    {
        const MeasurementPtr first = reading(130, 85);
        first->setWeight(Number::real(72.5));
        first->setCustomValue2(Number::integer(7));
        ConstMeasurementList all{first, reading(120, 80)};
        const AveragePtr average = Average::averageWithArray(&all, Filter::filterWithName("All"));

        QCOMPARE(Average::keys(),
                 (QStringList{"Systolic", "Diastolic", "PulsePressure", "Pulse", "Weight",
                              "customValue1", "customValue2", "customValue3"}));
        QCOMPARE(average->values().size(), 8);
        for (const QString &key : Average::keys())
            QCOMPARE(average->values().value(key), average->item(key));
        QVERIFY(!average->item("Comments"));

        QCOMPARE(average->item("Systolic")->average(), 125.0);
        QCOMPARE(average->item("Diastolic")->average(), 82.5);
        QCOMPARE(average->item("PulsePressure")->average(), 42.5);
        QCOMPARE(average->item("Weight")->average(), 72.5);
        QCOMPARE(average->item("customValue2")->average(), 7.0);
        QVERIFY(!average->item("customValue1")->isValid());
    }

    void noReadings()
    {
        const ConstMeasurementList none;
        const AveragePtr average = Average::averageWithArray(&none, Filter::filterWithName("x"));
        for (const QString &key : Average::keys()) {
            QVERIFY(!average->item(key)->isValid());
            QCOMPARE(average->item(key)->average(), 0.0);
            QCOMPARE(average->item(key)->deviation(), 0.0);
        }
    }

    void validPerProperty()
    {
        // Only readings without a pulse pass: "Pulse" is not valid while "Systolic" is.
        ConstMeasurementList all{reading(120), reading(140, 80, 70), reading(130)};
        const FilterPtr filter = Filter::filterWithName("No pulse");
        filter->setPredicate(parse("Pulse == nil"));
        const AveragePtr average = Average::averageWithArray(&all, filter);
        QVERIFY(!average->item("Pulse")->isValid());
        QCOMPARE(average->item("Pulse")->average(), 0.0);
        QVERIFY(average->item("Systolic")->isValid());
        QCOMPARE(average->item("Systolic")->average(), 125.0);
        QCOMPARE(average->measurements(), (ConstMeasurementList{all[0], all[2]}));
    }

    void readsTheLiveList()
    {
        ConstMeasurementList all;
        const AveragePtr average = Average::averageWithArray(&all, Filter::filterWithName("All"));
        all.append(reading(120)); // after creation, before the first read
        QCOMPARE(average->item("Systolic")->average(), 120.0);

        // Until invalidated, the computed values stay.
        all.append(reading(140));
        QCOMPARE(average->item("Systolic")->average(), 120.0);
        QCOMPARE(average->measurements().size(), 1);
        average->invalidate();
        QVERIFY(average->item("Systolic")->isDirty());
        QCOMPARE(average->item("Systolic")->average(), 130.0);
        QCOMPARE(average->measurements().size(), 2);
    }

    void filteredReadingsTakenOncePerInvalidation()
    {
        // A relative-date predicate reads the clock once per filtering of the list.
        int clockReads = 0;
        Date::setClock([&clockReads] {
            ++clockReads;
            return kNow;
        });
        ConstMeasurementList all{reading(120), reading(130)};
        const FilterPtr filter = Filter::filterWithName("Recent");
        filter->setPredicate(ComparisonPredicate::predicateWithLeftExpression(
            Expression::expressionForKeyPath("theWholeDate"),
            Expression::expressionForConstantValue(
                QVariant::fromValue(RelativeDate::fromTimeInterval(-3600, 0))),
            0, ComparisonPredicate::GreaterThanPredicateOperatorType, 0));
        const AveragePtr average = Average::averageWithArray(&all, filter);
        QCOMPARE(clockReads, 0); // nothing computed until asked

        const auto readAll = [&] {
            for (const QString &key : Average::keys()) {
                average->item(key)->average();
                average->item(key)->deviation();
                average->item(key)->isValid();
            }
            average->measurements();
        };
        readAll();
        QCOMPARE(clockReads, 1);
        readAll();
        QCOMPARE(clockReads, 1);

        // An item invalidated alone is computed again from the readings already filtered.
        average->item("Diastolic")->invalidate();
        readAll();
        QCOMPARE(clockReads, 1);

        average->invalidate();
        readAll();
        QCOMPARE(clockReads, 2);
        Date::setClock([] { return kNow; });
    }

    void predicateChangeInvalidates()
    {
        ConstMeasurementList all{reading(110), reading(130), reading(150)};
        const FilterPtr filter = Filter::filterWithName("High");
        filter->setPredicate(parse("Systolic > 120"));
        const AveragePtr average = Average::averageWithArray(&all, filter);
        QCOMPARE(average->item("Systolic")->average(), 140.0);

        filter->setPredicate(parse("Systolic < 140"));
        QCOMPARE(average->item("Systolic")->average(), 120.0);
        QCOMPARE(average->measurements().size(), 2);

        // Other changes of the filter leave the computed values alone.
        all.append(reading(100));
        filter->setUseInAverages(false);
        filter->setName("Renamed");
        QVERIFY(!average->item("Systolic")->isDirty());
        QCOMPARE(average->item("Systolic")->average(), 120.0);
    }

    void predicateDecidesTheReadings()
    {
        ConstMeasurementList all{reading(0), reading(120), std::make_shared<Measurement>()};
        const FilterPtr filter = Filter::filterWithName("All");
        const AveragePtr average = Average::averageWithArray(&all, filter);
        QCOMPARE(average->measurements(), ConstMeasurementList{all[1]}); // "Systolic > 0"
        // No predicate lets every reading through.
        filter->setPredicate(nullptr);
        QCOMPARE(average->measurements(), all);
        QCOMPARE(average->item("Systolic")->average(), 60.0); // the empty reading has no value
        // One that cannot be evaluated lets none through.
        filter->setPredicate(parse("Mood == 'good'"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot be evaluated"));
        QVERIFY(average->measurements().isEmpty());
        QVERIFY(!average->item("Systolic")->isValid());
    }

    void followsTheFilterWhileObserving()
    {
        ConstMeasurementList all{reading(110), reading(130)};
        const FilterPtr filter = Filter::filterWithName("Before");
        const AveragePtr average = Average::averageWithArray(&all, filter);
        QCOMPARE(average->name(), QStringLiteral("Before"));
        QCOMPARE(average->filter(), filter);
        QCOMPARE(average->item("Systolic")->average(), 120.0);
        // The filter's name is passed on; its other changes are no news of the name.
        QSignalSpy spy(average.get(), &Average::nameChanged);
        filter->setName("After");
        QCOMPARE(spy.size(), 1);
        QCOMPARE(average->name(), QStringLiteral("After"));
        filter->setPredicate(parse("Systolic > 100"));
        filter->setUseInFilters(false);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(average->item("Systolic")->average(), 120.0);
        // Once it stops observing, neither name nor predicate reach it.
        average->endObserveFilter();
        filter->setName("g");
        filter->setPredicate(parse("Systolic > 120"));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(average->item("Systolic")->average(), 120.0);
        average->beginObserveFilter();
        average->beginObserveFilter(); // twice is once
        filter->setName("h");
        QCOMPARE(spy.size(), 2);
    }

    void itemOutlivingItsAverage()
    {
        ConstMeasurementList all{reading(120)};
        AverageItemPtr item;
        {
            const AveragePtr average = Average::averageWithArray(&all, Filter::filterWithName("f"));
            item = average->item("Systolic");
            QCOMPARE(item->average(), 120.0);
        }
        QVERIFY(!item->owner());
        QVERIFY(!item->isValid());
        QCOMPARE(item->average(), 0.0);
        QVariant v = QVariant::fromValue(item);
        QCOMPARE(v.value<AverageItemPtr>(), item);
    }
};

TENSILO_TEST_MAIN(TestAverage)
#include "tst_average.moc"
