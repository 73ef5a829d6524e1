#include "ArrayFormatter.h"
#include "Average.h"
#include "AverageFormatter.h"
#include "AverageIntFormatter.h"
#include "Date.h"
#include "DateFormatter.h"
#include "FilteredCounter.h"
#include "FilteredCounterFormatter.h"
#include "HTMLFormatter.h"
#include "Measurement.h"
#include "MultilineFormatter.h"
#include "NumberFormatter.h"
#include "Preferences.h"
#include "PressureFormatter.h"
#include "TestHelpers.h"
#include "TestMain.h"
#include "TimeFormatter.h"

#include <QRegularExpression>
#include <QTest>

#include <memory>

using FormatterPtr = std::shared_ptr<Formatter>;
Q_DECLARE_METATYPE(FormatterPtr)

using TestSupport::row;

class TestFormatters : public QObject
{
    Q_OBJECT

private:
    static void useLocale(const QString &name) { TestSupport::useLocale(QLocale(name)); }

    // An average over readings whose systolic values are given (pulse absent, so its item is
    // not valid).
    static AveragePtr averageOf(const QList<double> &systolic)
    {
        static ConstMeasurementList readings; // read by the average through a pointer
        readings.clear();
        for (double value : systolic)
            readings.append(reading(value, 80LL));
        auto filter = std::make_shared<Filter>(QStringLiteral("all"));
        filter->setPredicate(PredicatePtr());
        return Average::averageWithArray(&readings, filter);
    }

    static MeasurementPtr reading(const QVariant &systolic, const QVariant &diastolic)
    {
        return TestSupport::reading(Date::fromComponents(2024, 3, 5, 14, 7), systolic, diastolic);
    }

private slots:
    void initTestCase()
    {
        TestSupport::setTimeZone("Europe/Berlin");
        Date::setClock([] { return Date::fromComponents(2025, 6, 1, 12, 0); });
    }

    void init()
    {
        Preferences::useTemporaryStore();
        useLocale("en_US");
    }

    // --- Pressure ---------------------------------------------------------------------------

    void pressure_data()
    {
        QTest::addColumn<QVariant>("systolic");
        QTest::addColumn<QVariant>("diastolic");
        QTest::addColumn<QString>("expected");
        row("120/80", QVariant(120LL), QVariant(80LL), "120 /  80");
        row("95/60", QVariant(95LL), QVariant(60LL), " 95 /  60");
        row("fractions cut", QVariant(120.9), QVariant(80.2), "120 /  80");
        row("four digits widen", QVariant(1200LL), QVariant(80LL), "1200 /  80");
        row("four digits second", QVariant(95LL), QVariant(1000LL), " 95 / 1000");
        row("cut towards zero", QVariant(-0.5), QVariant(99.99), "  0 /  99");
        row("absent as zero", QVariant(), QVariant(80LL), "  0 /  80");
    }

    void pressure()
    {
        QFETCH(QVariant, systolic);
        QFETCH(QVariant, diastolic);
        QFETCH(QString, expected);
        const MeasurementPtr m = reading(systolic, diastolic);
        PressureFormatter formatter;
        // Whatever the locale: no group separator in four digits.
        for (const char *locale : {"en_US", "de_DE"}) {
            useLocale(locale);
            QCOMPARE(formatter.stringForObjectValue(QVariant::fromValue(m)), expected);
            QCOMPARE(formatter.stringForObjectValue(QVariant::fromValue(m.get())), expected);
        }
    }

    // --- Values of the wrong kind -----------------------------------------------------------

    void wrongKindOfValue_data()
    {
        QTest::addColumn<FormatterPtr>("formatter");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected"); // "<null>" for no text
        const QString none = QStringLiteral("<null>");
        const auto pressure = FormatterPtr(PressureFormatter::formatter());
        const auto html = FormatterPtr(HTMLFormatter::formatter());
        const auto array = FormatterPtr(ArrayFormatter::formatter());
        const auto counter = FormatterPtr(FilteredCounterFormatter::formatter());
        const auto date = FormatterPtr(DateFormatter::formatter());
        const auto time = FormatterPtr(TimeFormatter::formatter());
        const auto multi = std::make_shared<MultilineFormatter>();
        row("pressure, none", pressure, QVariant(), none);
        row("pressure, text", pressure, QVariant("120/80"), none);
        row("pressure, null reading", pressure, QVariant::fromValue(MeasurementPtr()), none);
        row("html, number", html, QVariant(42), QString(""));
        row("html, none", html, QVariant(), QString(""));
        row("array, text", array, QVariant("a, b"), QString(""));
        row("array, none", array, QVariant(), QString(""));
        row("array, empty", array, QVariant(QStringList()), QString(""));
        row("counter, none", counter, QVariant(), none);
        row("counter, number", counter, QVariant(3), none);
        row("date, none", date, QVariant(), none);
        row("date, null date", date, QVariant::fromValue(Date()), none);
        row("date, text", date, QVariant("2024-03-05"), none);
        row("time, number", time, QVariant(12.5), none);
        row("multiline, none", FormatterPtr(multi), QVariant(), none);
    }

    void wrongKindOfValue()
    {
        QFETCH(FormatterPtr, formatter);
        QFETCH(QVariant, value);
        QFETCH(QString, expected);
        const QString text = formatter->stringForObjectValue(value);
        if (expected == QLatin1String("<null>")) {
            QVERIFY(text.isNull());
        } else {
            QVERIFY(!text.isNull());
            QCOMPARE(text, expected);
        }
    }

    void oneWayFormattersRefuseText_data()
    {
        QTest::addColumn<FormatterPtr>("formatter");
        row("pressure", FormatterPtr(PressureFormatter::formatter()));
        row("html", FormatterPtr(HTMLFormatter::formatter()));
        row("array", FormatterPtr(ArrayFormatter::formatter()));
        row("counter", FormatterPtr(FilteredCounterFormatter::formatter()));
        row("average", FormatterPtr(AverageFormatter::formatter()));
        row("whole average", FormatterPtr(AverageIntFormatter::formatter()));
    }

    void oneWayFormattersRefuseText()
    {
        QFETCH(FormatterPtr, formatter);
        QVariant out = QStringLiteral("untouched");
        QString error;
        QVERIFY(!formatter->getObjectValue(&out, QStringLiteral("120 /  80"), &error));
        QCOMPARE(error, QStringLiteral("One-way formatter"));
        QCOMPARE(out, QVariant(QStringLiteral("untouched")));
        QVERIFY(!formatter->getObjectValue(nullptr, QString(), nullptr));
    }

    // --- Text -------------------------------------------------------------------------------

    void html_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        row("escapes before <br/>", "a < b & c\nd", "a &lt; b &amp; c<br/>d");
        row("all five", "<&>'\"", "&lt;&amp;&gt;&apos;&quot;");
        row("markup stays text", "<br/>\n", "&lt;br/&gt;<br/>");
        row("CR LF", "x\r\ny", "x\r<br/>y");
        row("empty", "", "");
        row("unicode", QString::fromUtf8("Blutdruck \u00b1 \u2713"),
            QString::fromUtf8("Blutdruck \u00b1 \u2713"));
    }

    void html()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(HTMLFormatter().stringForObjectValue(text), expected);
    }

    void multiline_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        row("CR LF is two blanks", "a\r\nb", "a  b");
        row("at the very end", "after meal\r\n", "after meal  ");
        row("lone LF and CR", "\na\rb\n", " a b ");
        row("empty", "", "");
    }

    void multiline()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        MultilineFormatter formatter;
        const QString line = formatter.stringForObjectValue(text);
        QCOMPARE(line, expected);
        QVERIFY(!line.isNull());

        // Text typed by the user keeps its line breaks.
        QVariant value;
        QString error;
        QVERIFY(formatter.getObjectValue(&value, text, &error));
        QCOMPARE(value.toString(), text);
        QVERIFY(error.isEmpty());
    }

    void array_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");
        row("two tags in stored order", QVariant(QStringList{"morning", "after sport"}),
            "morning, after sport");
        row("one tag", QVariant(QStringList{"left arm"}), "left arm");
        row("variant list", QVariant(QVariantList{1, "b"}), "1, b");
    }

    void array()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, expected);
        QCOMPARE(ArrayFormatter().stringForObjectValue(value), expected);
    }

    // --- Counter ----------------------------------------------------------------------------

    void filteredCounter_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("filtered");
        QTest::addColumn<int>("total");
        QTest::addColumn<QString>("expected");
        // The noun agrees with the total: "1 of 3 readings", "0 of 1 reading".
        row("one of ten", "en_US", 1, 10, "1 of 10 readings");
        row("none of ten", "en_US", 0, 10, "0 of 10 readings");
        row("one of one", "en_US", 1, 1, "1 of 1 reading");
        row("none of one", "en_US", 0, 1, "0 of 1 reading");
        row("none of none", "en_US", 0, 0, "0 of 0 readings");
        row("German one of ten", "de_DE", 1, 10, "1 von 10 Messungen");
        row("German none of one", "de_DE", 0, 1, "0 von 1 Messung");
        row("German plural", "de_DE", 12, 1500, "12 von 1500 Messungen");
    }

    void filteredCounter()
    {
        QFETCH(QString, locale);
        QFETCH(int, filtered);
        QFETCH(int, total);
        QFETCH(QString, expected);
        useLocale(locale);
        const auto counter = QVariant::fromValue(FilteredCounter(filtered, total));
        QCOMPARE(FilteredCounterFormatter().stringForObjectValue(counter), expected);
    }

    // --- Dates ------------------------------------------------------------------------------

    void dateAndTime_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        row("German", "de_DE", "05.03.24", "14:07");
        row("British", "en_GB", "05/03/2024", "14:07");
        row("US short forms", "en_US", "3/5/24", "2:07 PM");
    }

    void dateAndTime()
    {
        QFETCH(QString, locale);
        QFETCH(QString, date);
        QFETCH(QString, time);
        useLocale(locale);
        const Date when = Date::fromComponents(2024, 3, 5, 14, 7, 30);
        // The blank before PM differs between CLDR versions.
        const auto blanks = [](QString text) {
            return text.replace(QRegularExpression(QStringLiteral("\\s")), QStringLiteral(" "));
        };
        QCOMPARE(DateFormatter().stringForObjectValue(QVariant::fromValue(when)), date);
        QCOMPARE(blanks(TimeFormatter().stringForObjectValue(QVariant::fromValue(when))), time);
        QCOMPARE(DateFormatter().stringForObjectValue(when.toDateTime()), date);
        QCOMPARE(blanks(TimeFormatter().stringForObjectValue(when.toDateTime())), time);
    }

    void dateParsing_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("expected");
        row("two-digit year, recent", "de_DE", "05.03.24", QDate(2024, 3, 5));
        row("two-digit year, old", "de_DE", "1.1.50", QDate(1950, 1, 1));
        row("two-digit year, soon", "de_DE", "1.1.44", QDate(2044, 1, 1));
        row("year written out", "de_DE", "31.12.1999", QDate(1999, 12, 31));
        row("US", "en_US", "3/5/24", QDate(2024, 3, 5));
        row("blanks around", "en_US", " 12/31/2030 ", QDate(2030, 12, 31));
    }

    void dateParsing()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QDate, expected);
        useLocale(locale);
        QVariant value;
        QString error;
        QVERIFY2(DateFormatter().getObjectValue(&value, text, &error), qPrintable(error));
        const Date date = value.value<Date>();
        QCOMPARE(date.toDateTime(), QDateTime(expected, QTime(0, 0)));
    }

    void badDateOrTimeIsRefused()
    {
        useLocale("de_DE");
        QVariant value = 7;
        QString error;
        QVERIFY(!DateFormatter().getObjectValue(&value, QStringLiteral("31.02.24"), &error));
        QVERIFY(error.contains(QStringLiteral("31.12.25")));
        QCOMPARE(value, QVariant(7));
        error.clear();
        QVERIFY(!TimeFormatter().getObjectValue(&value, QStringLiteral("25:99"), &error));
        QVERIFY(error.contains(QStringLiteral("21:45")));
        QCOMPARE(value, QVariant(7));
    }

    void timeParsing()
    {
        useLocale("de_DE");
        QVariant value;
        QVERIFY(TimeFormatter().getObjectValue(&value, QStringLiteral("9:30"), nullptr));
        const Date::Components c = value.value<Date>().components();
        QCOMPARE(c.hour, 9);
        QCOMPARE(c.minute, 30);

        // A time read back goes into a reading's date unchanged.
        const MeasurementPtr m = reading(120LL, 80LL);
        m->setTime(value.value<Date>());
        QCOMPARE(TimeFormatter().stringForObjectValue(QVariant::fromValue(m->theWholeDate())),
                 QStringLiteral("09:30"));
        QCOMPARE(DateFormatter().stringForObjectValue(QVariant::fromValue(m->theWholeDate())),
                 QStringLiteral("05.03.24"));
    }

    // --- Averages ---------------------------------------------------------------------------

    void average_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QList<double>>("values");
        QTest::addColumn<bool>("deviations");
        QTest::addColumn<QString>("twoDigits");
        QTest::addColumn<QString>("whole");
        // 121.35 and 143.45: mean 132.4, population deviation 11.05.
        const QList<double> spread{121.35, 143.45};
        row("with deviation", "en_US", spread, true, "132.40 \u00b1 11.05", "132 \u00b1 11");
        row("alone", "en_US", spread, false, "132.40", "132");
        row("half to even", "en_US", QList<double>{0.5}, false, "0.50", "0");
        row("half to even, deviation", "en_US", QList<double>{2.5, 2.5}, true, "2.50 \u00b1 0.00",
            "2 \u00b1 0");
        row("grouping only with digits", "en_US", QList<double>{1234.5}, false, "1,234.50", "1234");
        row("German", "de_DE", QList<double>{1121.35, 1143.45}, true, "1.132,40 \u00b1 11,05",
            "1132 \u00b1 11");
    }

    void average()
    {
        QFETCH(QString, locale);
        QFETCH(QList<double>, values);
        QFETCH(bool, deviations);
        QFETCH(QString, twoDigits);
        QFETCH(QString, whole);
        useLocale(locale);
        QVERIFY(Preferences::shared().setValueForKey(deviations, "showDeviationsInAverages"));
        const AveragePtr average = averageOf(values);
        const QVariant item = QVariant::fromValue(average->item(QStringLiteral("Systolic")));
        QCOMPARE(AverageFormatter::formatter()->stringForObjectValue(item), twoDigits);
        QCOMPARE(AverageIntFormatter::formatter()->stringForObjectValue(item), whole);
    }

    void averageNotAvailable()
    {
        const AveragePtr average = averageOf({120});
        const AverageItemPtr pulse = average->item(QStringLiteral("Pulse"));
        AverageFormatter formatter;
        AverageIntFormatter whole;
        QCOMPARE(formatter.stringForObjectValue(QVariant::fromValue(pulse)), QStringLiteral("n/a"));
        formatter.setShowDeviation(true);
        whole.setShowDeviation(true);
        QCOMPARE(formatter.stringForObjectValue(QVariant::fromValue(pulse)), QStringLiteral("n/a"));
        QCOMPARE(whole.stringForObjectValue(QVariant::fromValue(pulse)), QStringLiteral("n/a"));
        useLocale("de_DE");
        QCOMPARE(formatter.stringForAverageItem(*pulse), QStringLiteral("k. A."));

        QVERIFY(formatter.stringForObjectValue(QVariant()).isNull());
        QVERIFY(formatter.stringForObjectValue(QVariant(132.4)).isNull());
        QVERIFY(formatter.stringForObjectValue(QVariant::fromValue(AverageItemPtr())).isNull());
    }

    void preferenceReachesLiveFormatters()
    {
        const AveragePtr average = averageOf({121.35, 143.45});
        const QVariant item = QVariant::fromValue(average->item(QStringLiteral("Systolic")));
        AverageFormatter twoDigits;
        AverageIntFormatter whole;
        auto shortLived = std::make_unique<AverageFormatter>();
        QVERIFY(!twoDigits.showDeviation());
        QCOMPARE(twoDigits.stringForObjectValue(item), QStringLiteral("132.40"));

        Preferences &prefs = Preferences::shared();
        shortLived.reset(); // a formatter that is gone is not told
        QVERIFY(prefs.setValueForKey(true, "showDeviationsInAverages"));
        QCOMPARE(twoDigits.stringForObjectValue(item), QStringLiteral("132.40 \u00b1 11.05"));
        QCOMPARE(whole.stringForObjectValue(item), QStringLiteral("132 \u00b1 11"));
        QVERIFY(AverageFormatter().showDeviation()); // a new one starts from the preference

        // A flag set by hand holds until the preference changes again.
        twoDigits.setShowDeviation(false);
        QCOMPARE(twoDigits.stringForObjectValue(item), QStringLiteral("132.40"));
        prefs.removeValueForKey("showDeviationsInAverages");
        QCOMPARE(twoDigits.stringForObjectValue(item), QStringLiteral("132.40"));
        QCOMPARE(whole.stringForObjectValue(item), QStringLiteral("132"));

        // A fresh store (as the tests use) reaches them too.
        QVERIFY(prefs.setValueForKey(true, "showDeviationsInAverages"));
        Preferences::useTemporaryStore();
        QCOMPARE(whole.stringForObjectValue(item), QStringLiteral("132"));
    }

    // --- Numbers ----------------------------------------------------------------------------

    void halfToEvenRounding_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("expected");
        row("0.5 whole", 0.5, 0, "0");
        row("1.5 whole", 1.5, 0, "2");
        row("2.5 whole", 2.5, 0, "2");
        row("-2.5 whole", -2.5, 0, "-2");
        row("2.5000001 whole", 2.5000001, 0, "3");
        row("0.5 two digits", 0.5, 2, "0.50");
        row("0.125", 0.125, 2, "0.12");
        row("0.375", 0.375, 2, "0.38");
        row("2.675 as written", 2.675, 2, "2.68");
        row("1.005 as written", 1.005, 2, "1.00");
        row("carry into integer", 9.995, 2, "10.00");
        row("carry new digit", 999.5, 0, "1000");
        row("132.4", 132.4, 2, "132.40");
        row("tiny negative", -0.004, 2, "0.00");
        row("whole", 80.0, 2, "80.00");
        row("large", 1e20, 2, "100000000000000000000.00");
        row("small", 1e-7, 2, "0.00");
    }

    void halfToEvenRounding()
    {
        QFETCH(double, value);
        QFETCH(int, digits);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromLatin1(NumberFormatter::roundedDecimal(value, digits, digits)),
                 expected);
    }

    void localeSeparators_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QVariant>("number");
        QTest::addColumn<QString>("decimal");
        QTest::addColumn<QString>("whole");
        row("US", "en_US", QVariant(1234567.125), "1,234,567.12", "1234567");
        row("German", "de_DE", QVariant(1234.5), "1.234,50", "1234");
        row("German small", "de_DE", QVariant(0.5), "0,50", "0");
        row("Swiss", "de_CH", QVariant(-1234.5), "-1’234.50", "-1234");
        row("whole number", "de_DE", QVariant(12345LL), "12.345,00", "12345");
        row("beyond a double", "en_US", QVariant(9007199254740993LL), "9,007,199,254,740,993.00",
            "9007199254740993");
        row("absent", "de_DE", QVariant(), "", "");
    }

    void localeSeparators()
    {
        QFETCH(QString, locale);
        QFETCH(QVariant, number);
        QFETCH(QString, decimal);
        QFETCH(QString, whole);
        useLocale(locale);
        NumberFormatter fmt;
        fmt.setMinimumFractionDigits(2);
        fmt.setMaximumFractionDigits(2);
        QCOMPARE(fmt.stringFromNumber(number), decimal);
        fmt.setNumberStyle(NumberFormatter::Style::None);
        fmt.setMinimumFractionDigits(0);
        fmt.setMaximumFractionDigits(0);
        QCOMPARE(fmt.stringFromNumber(number), whole);
    }

    void localeDigits()
    {
        NumberFormatter fmt;
        fmt.setLocale(QLocale(QLocale::Arabic, QLocale::Egypt));
        fmt.setMinimumFractionDigits(2);
        fmt.setMaximumFractionDigits(2);
        const QString text = fmt.stringFromDouble(12.5);
        const QLocale arabic(QLocale::Arabic, QLocale::Egypt);
        QCOMPARE(text, arabic.toString(12) + arabic.decimalPoint() + arabic.toString(5) +
                           arabic.toString(0));
    }
};

TENSILO_TEST_MAIN(TestFormatters)
#include "tst_formatters.moc"
