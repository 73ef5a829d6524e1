// The reading record: its day and time views and their caches, change announcements, copying,
// key-value access, number kinds, and the averaging of several readings into one.

#include "DocumentArchive.h"
#include "Measurement.h"
#include "Number.h"
#include "ReadingValues.h"
#include "TestHelpers.h"
#include "TestMain.h"

#include <QLocale>
#include <QTest>

#include <limits>

namespace {

using TestSupport::setTimeZone;

Date at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return Date::fromComponents(year, month, day, hour, minute, second);
}

QString wallClock(Date date)
{
    if (date.isNull())
        return QStringLiteral("(null)");
    return date.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// Writes down every announcement of the reading as "will key" / "did key", and the old value of
// each "did", from when it is made until it goes.
class Recorder : public MeasurementObserver
{
public:
    explicit Recorder(MeasurementPtr reading) : m_reading(std::move(reading))
    {
        m_reading->addObserver(this);
    }
    ~Recorder() override { m_reading->removeObserver(this); }
    void measurementWillChange(Measurement *, QLatin1String key) override
    {
        events << QStringLiteral("will ") + key;
    }
    void measurementDidChange(Measurement *, QLatin1String key, const QVariant &oldValue) override
    {
        events << QStringLiteral("did ") + key;
        oldValues << oldValue;
    }
    QStringList didKeys() const
    {
        QStringList keys;
        for (const QString &event : events) {
            if (event.startsWith(QLatin1String("did ")))
                keys << event.mid(4);
        }
        return keys;
    }
    QStringList events;
    QVariantList oldValues;

private:
    MeasurementPtr m_reading;
};

// A reading with every value set, and values that differ from those of full(1).
MeasurementPtr full(int variant = 0)
{
    auto reading =
        Measurement::create(at(2024, 5, 15, 8, 30 + variant), 120 + variant, 80 + variant);
    reading->setPulse(Number::integer(70 + variant));
    reading->setWeight(Number::real(80.5 + variant));
    reading->setComments(QStringLiteral("after coffee %1").arg(variant));
    reading->setTags({QStringLiteral("home"), QStringLiteral("tag%1").arg(variant)});
    reading->setCustomValue1(Number::integer(1 + variant));
    reading->setCustomValue2(Number::real(2.5 + variant));
    reading->setCustomValue3(Number::integer(-3 - variant));
    return reading;
}

QVariant dateValue(Date date)
{
    return QVariant::fromValue(date);
}

// The reading's value for every key, the day and time views left out unless `views`.
QVariantList values(const Measurement &reading, bool views = true)
{
    QVariantList list;
    for (int k = 0; k <= int(Measurement::Key::TagsCount); ++k) {
        const auto key = Measurement::Key(k);
        if (views || (key != Measurement::Key::Date && key != Measurement::Key::Time))
            list << reading.valueForKey(key);
    }
    return list;
}

} // namespace

class TestMeasurement : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        setTimeZone("Europe/Berlin");
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    }

    void setDateKeepsTheTimeOfDay()
    {
        auto reading = Measurement::create(at(2024, 5, 15, 23, 59, 30), 120, 80);
        // The argument's own time of day is ignored.
        reading->setDate(at(2024, 6, 1, 15, 0));
        QCOMPARE(wallClock(reading->theWholeDate()), QStringLiteral("2024-06-01 23:59:30"));

        // From winter to summer time: the wall clock is kept, not the distance in seconds.
        auto winter = Measurement::create(at(2024, 1, 10, 23, 59, 30), 120, 80);
        const Date summerDay = Measurement::create(at(2024, 7, 1, 6, 0), 1, 1)->Date();
        winter->setDate(summerDay);
        QCOMPARE(wallClock(winter->theWholeDate()), QStringLiteral("2024-07-01 23:59:30"));
        QCOMPARE(winter->Date(), summerDay);
    }

    void setTimeKeepsTheDayAndDropsSeconds()
    {
        auto reading = Measurement::create(at(2024, 5, 15, 10, 0, 12), 120, 80);
        auto other = Measurement::create(at(2019, 12, 1, 8, 15, 45), 120, 80);
        reading->setTime(other->Time());
        QCOMPARE(wallClock(reading->theWholeDate()), QStringLiteral("2024-05-15 08:15:00"));
        // Any date may carry the time; only its hour and minute count.
        reading->setTime(at(2030, 1, 1, 21, 7, 59));
        QCOMPARE(wallClock(reading->theWholeDate()), QStringLiteral("2024-05-15 21:07:00"));
        // A summer reading takes a time read from a winter one at the same wall clock.
        auto summer = Measurement::create(at(2024, 7, 1, 12, 0), 120, 80);
        summer->setTime(Measurement::create(at(2024, 1, 1, 6, 45), 1, 1)->Time());
        QCOMPARE(wallClock(summer->theWholeDate()), QStringLiteral("2024-07-01 06:45:00"));
    }

    void recombiningIntoASkippedHourKeepsTheReading()
    {
        // 02:30 does not exist in Berlin on 31 March 2024: the reading lands at 03:30 instead of
        // losing its date.
        auto reading = Measurement::create(at(2024, 3, 31, 10, 0), 120, 80);
        reading->setTime(Measurement::create(at(2024, 3, 30, 2, 30), 1, 1)->Time());
        QCOMPARE(wallClock(reading->theWholeDate()), QStringLiteral("2024-03-31 03:30:00"));

        auto night = Measurement::create(at(2024, 3, 30, 2, 30), 120, 80);
        night->setDate(Measurement::create(at(2024, 3, 31, 12, 0), 1, 1)->Date());
        QCOMPARE(wallClock(night->theWholeDate()), QStringLiteral("2024-03-31 03:30:00"));
        QCOMPARE(wallClock(night->Date()), QStringLiteral("2024-03-31 00:00:00"));
    }

    void dayAndTimeViews()
    {
        auto reading = Measurement::create(at(2024, 5, 15, 7, 5, 59), 120, 80);
        QCOMPARE(wallClock(reading->Date()), QStringLiteral("2024-05-15 00:00:00"));
        QCOMPARE(wallClock(reading->Time()), QStringLiteral("0001-01-01 07:05:00"));
        // Readings at the same clock minute have equal times of day, in winter and summer alike.
        auto winter = Measurement::create(at(2023, 12, 24, 7, 5, 0), 120, 80);
        QCOMPARE(reading->Time(), winter->Time());
        auto nextMinute = Measurement::create(at(2024, 5, 15, 7, 6, 0), 120, 80);
        QVERIFY(reading->Time() < nextMinute->Time());
        // Times of day sort like the clock, whatever the day.
        auto evening = Measurement::create(at(2020, 1, 1, 23, 59), 120, 80);
        QVERIFY(reading->Time() < evening->Time());
        QVERIFY(evening->Time() < Date::minimum().nextDay());
    }

    void viewsAreCachedUntilTheDateChanges()
    {
        // 00:30 in Berlin is 18:30 of the previous day in New York.
        auto reading = Measurement::create(at(2024, 5, 15, 0, 30), 120, 80);
        const Date day = reading->Date();
        const Date time = reading->Time();
        setTimeZone("America/New_York");
        QCOMPARE(reading->Date(), day);
        QCOMPARE(reading->Time(), time);
        QCOMPARE(reading->valueForKey(Measurement::Key::Date), dateValue(day));

        // Any change of the whole date empties the caches, even to the same instant.
        reading->setTheWholeDate(reading->theWholeDate());
        QCOMPARE(wallClock(reading->Date()), QStringLiteral("2024-05-14 00:00:00"));
        QCOMPARE(wallClock(reading->Time()), QStringLiteral("0001-01-01 18:30:00"));
        QVERIFY(reading->Date() != day);
    }

    void settingTheCachedViewChangesNothing()
    {
        // A fraction of a second that a recombination would drop shows whether anything happened.
        auto reading = Measurement::create(at(2024, 5, 15, 9, 41, 7).addingSeconds(0.25), 120, 80);
        const Date original = reading->theWholeDate();
        Recorder recorder(reading);
        reading->setDate(reading->Date());
        reading->setTime(reading->Time());
        QCOMPARE(recorder.events, QStringList());
        QCOMPARE(reading->theWholeDate(), original);

        // Still true after the time zone changed, since the views come from the caches.
        setTimeZone("Asia/Tokyo");
        reading->setDate(reading->Date());
        QCOMPARE(recorder.events, QStringList());
        QCOMPARE(reading->theWholeDate(), original);
    }

    void announcementsOfTheSetters()
    {
        auto reading = Measurement::create(at(2024, 5, 15, 8, 0), 120, 80);
        Recorder recorder(reading);

        reading->setSystolic(Number::integer(130));
        QCOMPARE(recorder.events, QStringList({"will Systolic", "did Systolic"}));
        QCOMPARE(recorder.oldValues.last(), QVariant(qlonglong(120)));

        // An equal value is no change and is not announced.
        reading->setSystolic(Number::integer(130));
        reading->setPulse(Number::absent());
        reading->setComments(QString());
        QCOMPARE(recorder.events.size(), 2);

        // Old values keep their kind, and none is an invalid variant.
        reading->setWeight(Number::real(80.0));
        QCOMPARE(recorder.oldValues.last(), QVariant());
        reading->setWeight(Number::real(81.0));
        QCOMPARE(recorder.oldValues.last().typeId(), QMetaType::Double);
        reading->setComments(QStringLiteral("x"));
        QCOMPARE(recorder.oldValues.last(), QVariant());
        reading->setComments(QString());
        QCOMPARE(recorder.oldValues.last(), QVariant(QStringLiteral("x")));
        reading->setTags({QStringLiteral("a")});
        QCOMPARE(recorder.oldValues.last(), QVariant());
        reading->setTags({QStringLiteral("b")});
        QCOMPARE(recorder.oldValues.last(), QVariant(QStringList{QStringLiteral("a")}));
        reading->setTheWholeDate(at(2024, 5, 16));
        QCOMPARE(recorder.oldValues.last(), dateValue(at(2024, 5, 15, 8, 0)));

        QCOMPARE(recorder.didKeys(), QStringList({"Systolic", "Weight", "Weight", "Comments",
                                                  "Comments", "Tags", "Tags", "theWholeDate"}));
        // Nothing is heard after leaving.
        reading->removeObserver(&recorder);
        reading->setSystolic(Number::integer(140));
        QCOMPARE(recorder.events.size(), 16);
    }

    void setDateAnnouncesDateAroundTheWholeDate()
    {
        auto reading = Measurement::create(at(2024, 5, 15, 8, 0), 120, 80);
        const Date before = reading->theWholeDate();
        Recorder recorder(reading);
        const QStringList bracket{"will date", "will theWholeDate", "did theWholeDate", "did date"};

        reading->setDate(at(2024, 6, 1));
        QCOMPARE(recorder.events, bracket);
        QCOMPARE(recorder.oldValues, QVariantList({dateValue(before), dateValue(before)}));

        recorder.events.clear();
        reading->setTime(at(2024, 1, 1, 9, 15));
        QCOMPARE(recorder.events, bracket);

        recorder.events.clear();
        QVERIFY(reading->setValueForKey(dateValue(at(2024, 7, 1)), QStringView(u"Date")));
        QCOMPARE(recorder.events, bracket);
        QCOMPARE(wallClock(reading->theWholeDate()), QStringLiteral("2024-07-01 09:15:00"));

        // The whole date alone announces only its own key.
        recorder.events.clear();
        reading->setTheWholeDate(at(2024, 7, 2));
        QCOMPARE(recorder.events, QStringList({"will theWholeDate", "did theWholeDate"}));
    }

    void copyFromAnnouncesInOrder()
    {
        auto reading = full(0);
        auto other = full(1);
        Recorder recorder(reading);
        reading->copyFrom(*other);
        QCOMPARE(recorder.didKeys(), QStringList({"theWholeDate", "Comments", "Pulse", "Weight",
                                                  "Systolic", "Diastolic", "Tags", "customValue1",
                                                  "customValue2", "customValue3"}));
        for (int i = 0; i < recorder.events.size(); i += 2)
            QCOMPARE(recorder.events[i], QString(recorder.events[i + 1]).replace("did", "will"));
        QCOMPARE(values(*reading), values(*other));

        // Taking over equal values announces only the whole date, which is always set.
        recorder.events.clear();
        reading->copyFrom(*other->copy());
        QCOMPARE(recorder.didKeys(), QStringList({"theWholeDate"}));

        // With itself nothing happens at all.
        recorder.events.clear();
        reading->copyFrom(*reading);
        QCOMPARE(recorder.events, QStringList());

        // Absent values are taken over as absent, each announced.
        const auto sparse = Measurement::create(at(2024, 1, 1, 12, 0), 110, 70);
        reading->copyFrom(*sparse);
        QCOMPARE(values(*reading), values(*sparse));
        QCOMPARE(recorder.didKeys().size(), 10);
    }

    void pulsePressure()
    {
        auto reading = Measurement::create(at(2024, 5, 15), 120, 80);
        QCOMPARE(reading->PulsePressure().typeId(), QMetaType::Double);
        QCOMPARE(reading->PulsePressure().toDouble(), 40.0);
        reading->setSystolic(Number::real(135.5));
        QCOMPARE(reading->PulsePressure().toDouble(), 55.5);
        QCOMPARE(reading->valueForKey(QStringView(u"PulsePressure")), QVariant(55.5));
        double value = 0;
        QVERIFY(reading->numberForKey(Measurement::Key::PulsePressure, &value));
        QCOMPARE(value, 55.5);
        // An absent value reads as 0.
        reading->setDiastolic(Number::absent());
        QCOMPARE(reading->PulsePressure(), QVariant(135.5));
    }

    void compareLooksAtTheWholeInstant()
    {
        const Date instant = at(2024, 5, 15, 8, 0, 30);
        auto a = Measurement::create(instant, 120, 80);
        auto b = Measurement::create(instant, 150, 95);
        QCOMPARE(a->compare(*b), 0);
        QCOMPARE(a->compare(*a), 0);
        // The same day and the same minute, but not the same instant.
        auto later = Measurement::create(instant.addingSeconds(0.001), 120, 80);
        QCOMPARE(a->Date(), later->Date());
        QCOMPARE(a->Time(), later->Time());
        QCOMPARE(a->compare(*later), -1);
        QCOMPARE(later->compare(*a), 1);
        auto earlierDayLaterTime = Measurement::create(at(2024, 5, 14, 23, 0), 120, 80);
        QCOMPARE(earlierDayLaterTime->compare(*a), -1);
    }

    void copyIsIndependent()
    {
        auto original = full(0);
        (void)original->Date(); // fill the caches in Berlin
        (void)original->Time();
        Recorder recorder(original);
        const MeasurementPtr copy = original->copy();
        QVERIFY(copy != original);
        // The copy's caches start empty: computed in Tokyo, unlike the original's.
        setTimeZone("Asia/Tokyo");
        QCOMPARE(wallClock(copy->Date()), QStringLiteral("2024-05-15 00:00:00"));
        QCOMPARE(wallClock(copy->Time()), QStringLiteral("0001-01-01 15:30:00"));
        QVERIFY(original->Time() != copy->Time());
        setTimeZone("Europe/Berlin");
        QCOMPARE(values(*copy, false), values(*original, false));

        // Changing the original leaves the copy as it was; the copy has no observers.
        const auto before = copy->copy();
        original->copyFrom(*full(1));
        original->setTags({QStringLiteral("other")});
        QCOMPARE(values(*copy, false), values(*before, false));
        recorder.events.clear();
        copy->setSystolic(Number::integer(99));
        QCOMPARE(recorder.events, QStringList());
    }

    void valueForKey()
    {
        auto reading = full(0);
        // Every key in the order of the enumeration, with the value of full(0).
        const std::pair<const char *, QVariant> expected[] = {
            {"theWholeDate", dateValue(at(2024, 5, 15, 8, 30))},
            {"Date", dateValue(at(2024, 5, 15))},
            {"Time", dateValue(Date::fromComponents(1, 1, 1, 8, 30))},
            {"Systolic", QVariant(qlonglong(120))},
            {"Diastolic", QVariant(qlonglong(80))},
            {"Pulse", QVariant(qlonglong(70))},
            {"Weight", QVariant(80.5)},
            {"Comments", QVariant(QStringLiteral("after coffee 0"))},
            {"Tags", QVariant(QStringList{QStringLiteral("home"), QStringLiteral("tag0")})},
            {"customValue1", QVariant(qlonglong(1))},
            {"customValue2", QVariant(2.5)},
            {"customValue3", QVariant(qlonglong(-3))},
            {"PulsePressure", QVariant(40.0)},
            {"Tags.@count", QVariant(qlonglong(2))},
        };
        for (int k = 0; k < int(std::size(expected)); ++k) {
            const auto &[name, expectedValue] = expected[k];
            const auto key = Measurement::keyFromString(QString::fromLatin1(name));
            QCOMPARE(int(key), k);
            QCOMPARE(Measurement::keyName(key), QLatin1String(name));
            const QVariant value = reading->valueForKey(QString::fromLatin1(name));
            QCOMPARE(value.typeId(), expectedValue.typeId());
            QCOMPARE(value, expectedValue);
            QCOMPARE(reading->valueForKey(key), value);
        }
        for (const char *unknown : {"", "systolic", "Tags.@sum", "Systolic ", "date"}) {
            QCOMPARE(Measurement::keyFromString(QString::fromLatin1(unknown)),
                     Measurement::Key::Invalid);
            QCOMPARE(reading->valueForKey(QString::fromLatin1(unknown)), QVariant());
        }

        // A reading with nothing but its pressures.
        auto sparse = Measurement::create(at(2024, 5, 15), 120, 80);
        for (const char *absent : {"Pulse", "Weight", "Comments", "Tags", "customValue1",
                                   "customValue2", "customValue3"})
            QCOMPARE(sparse->valueForKey(QString::fromLatin1(absent)), QVariant());
        QCOMPARE(sparse->valueForKey(QStringView(u"Tags.@count")), QVariant(qlonglong(0)));
        double value = 0;
        QVERIFY(!sparse->numberForKey(Measurement::Key::Pulse, &value));
        QVERIFY(sparse->numberForKey(Measurement::Key::Systolic, &value));
        QCOMPARE(value, 120.0);
    }

    void setValueForKey()
    {
        auto reading = Measurement::create(at(2024, 5, 15, 8, 30), 120, 80);
        auto source = full(1);
        for (const char *name : {"Systolic", "Diastolic", "Pulse", "Weight", "Comments", "Tags",
                                 "customValue1", "customValue2", "customValue3", "theWholeDate"}) {
            const QString key = QString::fromLatin1(name);
            QVERIFY2(reading->setValueForKey(source->valueForKey(key), key), name);
            QCOMPARE(reading->valueForKey(key), source->valueForKey(key));
        }
        QVERIFY(reading->setValueForKey(dateValue(at(2025, 1, 2)), QStringView(u"Date")));
        QVERIFY(
            reading->setValueForKey(dateValue(at(2000, 1, 1, 17, 45, 10)), QStringView(u"Time")));
        QCOMPARE(wallClock(reading->theWholeDate()), QStringLiteral("2025-01-02 17:45:00"));
        // An invalid variant makes an optional value absent.
        QVERIFY(reading->setValueForKey(QVariant(), QStringView(u"Pulse")));
        QCOMPARE(reading->Pulse(), QVariant());
        QVERIFY(reading->setValueForKey(QVariant(), QStringView(u"Tags")));
        QVERIFY(!reading->hasTags());

        // Read-only and unknown keys are refused and change nothing.
        const auto before = reading->copy();
        QVERIFY(!reading->setValueForKey(QVariant(10.0), QStringView(u"PulsePressure")));
        QVERIFY(!reading->setValueForKey(QVariant(qlonglong(3)), QStringView(u"Tags.@count")));
        QVERIFY(!reading->setValueForKey(QVariant(qlonglong(3)), QStringView(u"systolic")));
        QCOMPARE(reading->Systolic(), before->Systolic());
    }

    void setValueForKeyRefusesWrongTypes()
    {
        // A value of the wrong type is an error that loses nothing, not a silent "none".
        auto reading = full(0);
        const auto before = reading->copy();
        Recorder recorder(reading);
        QVERIFY(
            !reading->setValueForKey(QVariant(QStringLiteral("abc")), QStringView(u"Systolic")));
        QVERIFY(!reading->setValueForKey(QVariant(QStringList()), QStringView(u"Weight")));
        QVERIFY(!reading->setValueForKey(QVariant(QDateTime::currentDateTimeUtc()),
                                         QStringView(u"theWholeDate")));
        QVERIFY(!reading->setValueForKey(QVariant(42.0), QStringView(u"Date")));
        QVERIFY(!reading->setValueForKey(QVariant(), QStringView(u"Time")));
        QVERIFY(!reading->setValueForKey(dateValue(Date()), QStringView(u"theWholeDate")));
        QVERIFY(!reading->setValueForKey(QVariant(42), QStringView(u"Comments")));
        QVERIFY(!reading->setValueForKey(QVariant(QStringLiteral("a,b")), QStringView(u"Tags")));
        // The typed setters of the views keep the date when given no date.
        reading->setDate(Date());
        reading->setTime(Date());
        QCOMPARE(recorder.events, QStringList());
        QCOMPARE(values(*reading), values(*before));
    }

    void numberKindsAndAbsence()
    {
        auto reading = Measurement::create(at(2024, 5, 15), 120, 80);
        QCOMPARE(reading->Systolic().typeId(), QMetaType::LongLong);

        // A fractional number stays fractional even when its value is whole.
        reading->setWeight(Number::real(80.0));
        QCOMPARE(reading->Weight().typeId(), QMetaType::Double);
        QCOMPARE(reading->Weight().toDouble(), 80.0);
        reading->setWeight(Number::integer(80));
        QCOMPARE(reading->Weight().typeId(), QMetaType::LongLong);

        // Other arithmetic types come to the two kinds.
        reading->setPulse(QVariant(int(64)));
        QCOMPARE(reading->Pulse(), QVariant(qlonglong(64)));
        reading->setCustomValue1(QVariant(1.25f));
        QCOMPARE(reading->customValue1(), QVariant(1.25));
        reading->setCustomValue2(QVariant(std::numeric_limits<qulonglong>::max()));
        QCOMPARE(reading->customValue2().typeId(), QMetaType::Double);

        // Whole numbers beyond a double's precision are kept exactly.
        const qint64 big = (qint64(1) << 53) + 1;
        reading->setCustomValue3(Number::integer(big));
        QCOMPARE(reading->customValue3(), QVariant(qlonglong(big)));
        reading->setCustomValue3(Number::integer(std::numeric_limits<qint64>::min()));
        QCOMPARE(reading->customValue3().toLongLong(), std::numeric_limits<qint64>::min());

        // 0 is a value, absent is not.
        reading->setPulse(Number::integer(0));
        QCOMPARE(reading->Pulse(), QVariant(qlonglong(0)));
        QVERIFY(reading->Pulse().isValid());
        double value = -1;
        QVERIFY(reading->numberForKey(Measurement::Key::Pulse, &value));
        QCOMPARE(value, 0.0);
        reading->setPulse(Number::absent());
        QVERIFY(!reading->Pulse().isValid());
        QVERIFY(!reading->numberForKey(Measurement::Key::Pulse, &value));
        // Each number is held apart: clearing one leaves its neighbours.
        QCOMPARE(reading->Weight(), QVariant(qlonglong(80)));
        QCOMPARE(reading->customValue1(), QVariant(1.25));
        QCOMPARE(reading->Systolic(), QVariant(qlonglong(120)));
        QCOMPARE(reading->Diastolic(), QVariant(qlonglong(80)));

        // An empty comment and an empty tag list are values too.
        reading->setComments(QStringLiteral(""));
        QVERIFY(!reading->Comments().isNull());
        QCOMPARE(reading->valueForKey(QStringView(u"Comments")), QVariant(QString()));
        QVERIFY(reading->valueForKey(QStringView(u"Comments")).isValid());
        reading->setTags({});
        QVERIFY(reading->hasTags());
        QVERIFY(reading->valueForKey(QStringView(u"Tags")).isValid());
    }

    void averageOf()
    {
        auto a = Measurement::create(at(2024, 5, 15, 10, 0), 131, 85);
        auto b = Measurement::create(at(2024, 5, 15, 8, 0), 120, 80);
        const ConstMeasurementList inputs{a, b};
        const auto mean = Measurement::averageOf(inputs);
        QVERIFY(mean);
        QVERIFY(mean != a && mean != b);
        // 125.5 and 82.5 round away from zero, to whole numbers.
        QCOMPARE(mean->Systolic(), QVariant(qlonglong(126)));
        QCOMPARE(mean->Diastolic(), QVariant(qlonglong(83)));
        QCOMPARE(wallClock(mean->theWholeDate()), QStringLiteral("2024-05-15 09:00:00"));
        // The inputs and their order are untouched.
        QCOMPARE(inputs, ConstMeasurementList({a, b}));
        QCOMPARE(a->Systolic(), QVariant(qlonglong(131)));
        QCOMPARE(wallClock(b->theWholeDate()), QStringLiteral("2024-05-15 08:00:00"));

        // Fractions below a half round down; fractional pressures still give whole numbers.
        auto c = Measurement::create(at(2024, 5, 15, 9, 0), 121, 80);
        c->setSystolic(Number::real(120.4));
        const auto third =
            Measurement::averageOf({b, c, Measurement::create(at(2024, 5, 15), 121, 81)});
        QCOMPARE(third->Systolic(), QVariant(qlonglong(120))); // 120.47
        QCOMPARE(third->Diastolic(), QVariant(qlonglong(80))); // 80.33

        // The mean instant is not rounded to any unit.
        const Date t = at(2024, 5, 15, 8, 0, 0);
        const auto instants = Measurement::averageOf(
            {Measurement::create(t, 120, 80), Measurement::create(t.addingSeconds(1), 120, 80)});
        QCOMPARE(instants->theWholeDate(), t.addingSeconds(0.5));
        const auto fractions =
            Measurement::averageOf({Measurement::create(t.addingSeconds(0.125), 120, 80),
                                    Measurement::create(t.addingSeconds(0.25), 120, 80)});
        QCOMPARE(fractions->theWholeDate().timeIntervalSinceReferenceDate(),
                 t.timeIntervalSinceReferenceDate() + 0.1875);

        QVERIFY(!Measurement::averageOf({}));
    }

    void averageOfOptionalValues()
    {
        auto a = Measurement::create(at(2024, 5, 15, 8, 0), 120, 80);
        auto b = Measurement::create(at(2024, 5, 15, 9, 0), 120, 80);
        auto c = Measurement::create(at(2024, 5, 15, 10, 0), 120, 80);
        a->setPulse(Number::integer(70));
        a->setWeight(Number::real(80.0));
        b->setWeight(Number::real(81.5));
        a->setCustomValue1(Number::integer(1));
        b->setCustomValue1(Number::integer(2));
        c->setCustomValue3(Number::integer(0));

        const auto mean = Measurement::averageOf({a, b, c});
        // Only readings that have the value count, in the sum and in the divisor.
        QCOMPARE(mean->Pulse().typeId(), QMetaType::Double);
        QCOMPARE(mean->Pulse().toDouble(), 70.0);
        QCOMPARE(mean->Weight(), QVariant(80.75));
        QCOMPARE(mean->customValue1(), QVariant(1.5));
        QCOMPARE(mean->customValue2(), QVariant());
        QCOMPARE(mean->customValue3(), QVariant(0.0));

        const auto none = Measurement::averageOf({b, c});
        QCOMPARE(none->Pulse(), QVariant());
        QCOMPARE(none->customValue1(), QVariant(2.0));

        b->setPulse(Number::integer(71));
        QCOMPARE(Measurement::averageOf({a, b})->Pulse(), QVariant(70.5));
    }

    void averageOfCommentsAndTags()
    {
        auto first = Measurement::create(at(2024, 5, 15, 8, 0), 120, 80);
        auto middle = Measurement::create(at(2024, 5, 15, 9, 0), 120, 80);
        auto last = Measurement::create(at(2024, 5, 15, 10, 0), 120, 80);
        auto untitled = Measurement::create(at(2024, 5, 15, 11, 0), 120, 80);
        first->setComments(QStringLiteral("a"));
        middle->setComments(QStringLiteral(""));
        last->setComments(QStringLiteral("b"));
        first->setTags({QStringLiteral("x"), QStringLiteral("y")});
        last->setTags({QStringLiteral("y"), QStringLiteral("z")});

        // Given out of order, the comments still follow the readings' times.
        const auto mean = Measurement::averageOf({last, untitled, first, middle});
        QCOMPARE(mean->Comments(), QStringLiteral("a\nb\n"));
        QStringList tags = mean->Tags();
        tags.sort();
        QCOMPARE(tags, QStringList({"x", "y", "z"}));
        QCOMPARE(mean->valueForKey(QStringView(u"Tags.@count")), QVariant(qlonglong(3)));

        // Nothing to merge leaves both unset.
        const auto plain = Measurement::averageOf({middle, untitled});
        QVERIFY(plain->Comments().isNull());
        QVERIFY(!plain->hasTags());
        QCOMPARE(plain->valueForKey(QStringView(u"Tags")), QVariant());
        QCOMPARE(plain->valueForKey(QStringView(u"Comments")), QVariant());
    }

    void observerMayLeaveDuringAnnouncement()
    {
        // An observer that stops observing (and goes away) while it is told of a change.
        class Leaver : public MeasurementObserver
        {
        public:
            void measurementDidChange(Measurement *reading, QLatin1String,
                                      const QVariant &) override
            {
                ++calls;
                reading->removeObserver(this);
            }
            int calls = 0;
        };
        auto reading = Measurement::create(at(2024, 5, 15), 120, 80);
        Leaver leaver;
        reading->addObserver(&leaver);
        Recorder recorder(reading);
        reading->setDate(at(2024, 6, 1));
        QCOMPARE(leaver.calls, 1);
        QCOMPARE(recorder.didKeys(), QStringList({"theWholeDate", "date"}));
        reading->removeObserver(&recorder);
        reading->setSystolic(Number::integer(1));
        QCOMPARE(leaver.calls, 1);
    }

    void everyValueOfTheTableIsWired()
    {
        // A row of the table of values reaches the key vocabulary, the preferences, copies,
        // averages and the file without code of its own.
        auto reading = Measurement::create(at(2024, 5, 15, 8, 30), 120, 80);
        for (const ReadingValue &value : ReadingValues::kAll) {
            QCOMPARE(Measurement::keyFromString(QString(value.name)), value.key);
            QCOMPARE(Measurement::keyName(value.key), value.name);
            QCOMPARE(ReadingValues::find(QString(value.name)), &value);
            QCOMPARE(Preferences::showKeyForValue(value.name), QString(value.showKey));
            const std::pair<QLatin1String, Preferences::Type> keys[] = {
                {value.showKey, Preferences::Type::Bool},
                {value.titleKey, Preferences::Type::String},
                {value.colorKey, Preferences::Type::Color}};
            for (const auto &[key, type] : keys)
                QVERIFY(key.isEmpty() || Preferences::typeOfKey(key) == type);
            if (value.isStored()) {
                // A distinct whole number for each value, within every value's bounds.
                const QVariant number(qlonglong(150 - ReadingValues::slotOf(value.key)));
                QVERIFY(reading->setValueForKey(number, value.key));
            } else {
                QVERIFY(!reading->setValueForKey(QVariant(1.0), value.key));
            }
        }

        auto copied = Measurement::create(at(2000, 1, 1), 0, 0);
        copied->copyFrom(*reading);
        const auto average = Measurement::averageOf({reading, reading});
        DocumentArchive::Contents contents;
        contents.measurements = {reading};
        DocumentArchive::Contents read;
        QVERIFY(DocumentArchive::unarchive(DocumentArchive::archive(contents), &read));
        QCOMPARE(read.measurements.size(), 1);
        for (const ReadingValue *value : ReadingValues::kStored) {
            const QVariant expected = reading->valueForKey(value->key);
            QCOMPARE(reading->copy()->valueForKey(value->key), expected);
            QCOMPARE(copied->valueForKey(value->key), expected);
            QCOMPARE(read.measurements.first()->valueForKey(value->key), expected);
            QCOMPARE(average->valueForKey(value->key).toDouble(), expected.toDouble());
        }
    }
};

TENSILO_TEST_MAIN(TestMeasurement)

#include "tst_measurement.moc"
