#include "ComparisonPredicate.h"
#include "CompoundPredicate.h"
#include "ConstantPredicate.h"
#include "Number.h"
#include "RelativeDate.h"
#include "TestMain.h"

#include <QtTest>

#include <limits>

using Cmp = ComparisonPredicate;
using TestSupport::row;

namespace {

PredicatePtr parse(const QString &text)
{
    QString error;
    PredicatePtr p = Predicate::predicateWithFormat(text, &error);
    if (!p)
        qWarning() << "parse failed:" << text << error;
    return p;
}

PredicatePtr comparison(const QString &keyPath, qint32 type, const QVariant &constant,
                        qint32 modifier = Cmp::DirectPredicateModifier, qint32 options = 0)
{
    return Cmp::predicateWithLeftExpression(Expression::expressionForKeyPath(keyPath),
                                            Expression::expressionForConstantValue(constant),
                                            modifier, type, options);
}

} // namespace

class TestPredicate : public QObject
{
    Q_OBJECT

private:
    // 2024-03-15 14:30:00 Europe/Berlin, with systolic 130, diastolic 85, weight 72.5, no pulse,
    // two tags and a comment.
    MeasurementPtr full;
    // The same moment, 118/76, with tags and comment absent.
    MeasurementPtr bare;
    Date fNow;

private slots:

    void initTestCase()
    {
        TestSupport::setTimeZone("Europe/Berlin");
        fNow = Date::fromComponents(2024, 3, 15, 14, 30);
        Date::setClock([this] { return fNow; });

        full = Measurement::create(fNow, 130, 85);
        full->setWeight(72.5);
        full->setTags({QStringLiteral("Morning"), QStringLiteral("Salt")});
        full->setComments(QStringLiteral("Café au lait"));
        bare = Measurement::create(fNow, 118, 76);
    }

    void parsesAndPrints_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("printed");
        // A row without a printed form prints as written.
        const auto prints = [](const char *name, const char *text, const char *printed = nullptr) {
            row(name, QString::fromUtf8(text), QString::fromUtf8(printed ? printed : text));
        };
        prints("default", "Systolic > 0");
        prints("spacing", "  Systolic>0 ", "Systolic > 0");
        prints("and, lower case", "Systolic >= 120 and Diastolic < 80",
               "Systolic >= 120 AND Diastolic < 80");
        prints("symbols", "Systolic =< 1 && Pulse => 2 || Weight <> 3",
               "(Systolic <= 1 AND Pulse >= 2) OR Weight != 3");
        prints("and binds tighter", "Systolic = 1 OR Pulse = 2 AND Weight = 3",
               "Systolic == 1 OR (Pulse == 2 AND Weight == 3)");
        prints("bracketed nesting kept", "Systolic > 0 AND (Diastolic > 0 AND Pulse > 0)");
        prints("not", "NOT Pulse == 60");
        prints("bang", "!(Pulse = 60 or Pulse = 70)", "NOT (Pulse == 60 OR Pulse == 70)");
        prints("any in", "ANY Tags IN {'a', \"b\"}", "ANY Tags IN {\"a\", \"b\"}");
        prints("some, all", "some Tags == 'a' AND all Tags != 'b'",
               "ANY Tags == \"a\" AND ALL Tags != \"b\"");
        prints("none", "NONE Tags == 'x'", "NOT ANY Tags == \"x\"");
        prints("empty array", "ANY Tags IN {}");
        prints("count", "Tags.@count > 0");
        prints("signs and fractions", "Weight = -72.5 OR Weight = +3 OR Weight < 1e2",
               "Weight == -72.5 OR Weight == 3 OR Weight < 100.0");
        prints("leading dot", "Weight > .5", "Weight > 0.5");
        prints("constants", "TRUEPREDICATE OR falsepredicate", "TRUEPREDICATE OR FALSEPREDICATE");
        prints("options", "Comments CONTAINS[cd] 'x' OR Comments LIKE[c] 'y'",
               "Comments CONTAINS[cd] \"x\" OR Comments LIKE[c] \"y\"");
        prints(
            "string operators",
            "Comments BEGINSWITH 'a' AND Comments ENDSWITH 'b' AND Comments MATCHES 'c.*'",
            "Comments BEGINSWITH \"a\" AND Comments ENDSWITH \"b\" AND Comments MATCHES \"c.*\"");
        prints("between", "Systolic BETWEEN {120, 140.5}");
        prints("nil", "Pulse == nil OR Pulse != NULL", "Pulse == nil OR Pulse != nil");
        prints("booleans", "Systolic == YES OR Systolic == false",
               "Systolic == 1 OR Systolic == 0");
        prints("date", "theWholeDate > CAST(700000000, \"NSDate\")",
               "theWholeDate > CAST(700000000.0, \"NSDate\")");
        prints("relative date", "Date > RELATIVEDATE(-604800, 1)",
               "Date > RELATIVEDATE(-604800.0, 1)");
        prints("escaped keyword", "#AND > 1 AND #in.#Like > 2");
        prints("explicit compounds", "AND(Systolic > 0) OR OR() OR AND(Pulse > 1, Pulse < 2)",
               "AND(Systolic > 0) OR OR() OR (Pulse > 1 AND Pulse < 2)");
        prints("escapes", "Comments == 'it\\'s \\\"x\\\" \\\\ \\n\\u00e9'",
               "Comments == \"it's \\\"x\\\" \\\\ \\né\"");
        prints("constant left", "120 < Systolic");
    }
    void parsesAndPrints()
    {
        QFETCH(QString, text);
        QFETCH(QString, printed);
        const PredicatePtr p = parse(text);
        QVERIFY(p);
        QCOMPARE(p->predicateFormat(), printed);
        QVERIFY(Predicate::equal(parse(printed), p));
    }

    void parsedStructure()
    {
        const PredicatePtr p = parse("ANY Tags IN[c] {'a', 'b'} OR NOT Tags.@count == 0");
        const CompoundPredicate *orPredicate = p->asCompound();
        QVERIFY(orPredicate);
        QCOMPARE(orPredicate->compoundPredicateType(), qint32(CompoundPredicate::OrPredicateType));
        QCOMPARE(orPredicate->subpredicates().size(), 2);

        const ComparisonPredicate *tags = orPredicate->subpredicates()[0]->asComparison();
        QVERIFY(tags);
        QCOMPARE(tags->leftExpression().expressionType(), Expression::KeyPathExpressionType);
        QCOMPARE(tags->leftExpression().keyPath(), QStringLiteral("Tags"));
        QCOMPARE(tags->rightExpression().expressionType(), Expression::ConstantValueExpressionType);
        QCOMPARE(tags->rightExpression().constantValue(), QVariant(QStringList{"a", "b"}));
        QCOMPARE(tags->predicateOperatorType(), 10);
        QCOMPARE(tags->comparisonPredicateModifier(), 2);
        QCOMPARE(tags->options(), 1);

        const CompoundPredicate *notPredicate = orPredicate->subpredicates()[1]->asCompound();
        QVERIFY(notPredicate);
        QCOMPARE(notPredicate->compoundPredicateType(),
                 qint32(CompoundPredicate::NotPredicateType));
        const ComparisonPredicate *count = notPredicate->subpredicates()[0]->asComparison();
        QCOMPARE(count->leftExpression().keyPath(), QStringLiteral("Tags.@count"));
        QCOMPARE(count->rightExpression().constantValue(), Number::integer(0));
        QCOMPARE(count->predicateOperatorType(), 4);

        // Whole and fractional numbers keep their kind.
        const auto constant = [](const char *text) {
            return parse(text)->asComparison()->rightExpression().constantValue();
        };
        QCOMPARE(constant("Weight > 3").typeId(), int(QMetaType::LongLong));
        QCOMPARE(constant("Weight > 3.0").typeId(), int(QMetaType::Double));
        QVERIFY(!Predicate::equal(parse("Weight > 3"), parse("Weight > 3.0")));

        const RelativeDate r = constant("Date > RELATIVEDATE(-86400.5, 0)").value<RelativeDate>();
        QCOMPARE(r.timeIntervalSinceNow(), -86400.5);
        QCOMPARE(r.dateUnits(), 0);
    }

    void syntaxErrors_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");

        row("empty", "", 0);
        row("blank", "   ", 3);
        row("no right side", "Systolic >", 10);
        row("no operator", "Systolic 120", 9);
        row("unknown character", "Systolic ~ 3", 9);
        row("unterminated string", "Comments == 'abc", 12);
        row("bad escape", "Comments == \"a\\qb\"", 14);
        row("missing bracket", "(Systolic > 0", 13);
        row("trailing words", "Systolic > 0 Diastolic", 13);
        row("number into name", "Systolic > 12abc", 11);
        row("bad option", "Comments CONTAINS[x] 'a'", 18);
        row("key path in array", "Tags IN {'a', Pulse}", 14);
        row("nested array", "Tags IN {{'a'}}", 9);
        row("unclosed array", "Tags IN {'a' 'b'}", 13);
        row("bad regular expression", "Comments MATCHES '('", 17);
        row("bad cast", "Date > CAST(1, \"NSString\")", 7);
        row("fractional unit", "Date > RELATIVEDATE(1, 1.5)", 7);
        row("keyword as key", "IN > 3", 0);
        row("and without operands", "AND > 3", 4);
        row("dangling not", "NOT", 3);
        row("dangling and", "Systolic > 0 AND", 16);
        row("sign without number", "Systolic > -x", 12);
        row("bare hash", "# > 1", 0);
        row("dot without name", "Tags. > 1", 6);
    }
    void syntaxErrors()
    {
        QFETCH(QString, text);
        QFETCH(int, position);
        QString error;
        qsizetype at = -2;
        QVERIFY(!Predicate::predicateWithFormat(text, &error, &at));
        QCOMPARE(at, qsizetype(position));
        QVERIFY2(error.contains(QString::number(position + 1)), qPrintable(error));
        // Without the optional outputs it still fails cleanly.
        QVERIFY(!Predicate::predicateWithFormat(text));
    }

    void deepNestingIsAnError()
    {
        const int depth = 5000;
        QString text = QString(depth, QLatin1Char('(')) + "Systolic > 0" + QString(depth, ')');
        QString error;
        QVERIFY(!Predicate::predicateWithFormat(text, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!Predicate::predicateWithFormat(QString(depth, '!') + "Systolic > 0"));
        // Moderate nesting is fine.
        QVERIFY(parse(QString(50, '(') + "Systolic > 0" + QString(50, ')')));
    }

    void sizeCountsEveryUse()
    {
        // A subpredicate counts once for every place it is used, and the count stops growing
        // instead of overflowing.
        PredicatePtr p = comparison(QStringLiteral("Systolic"),
                                    Cmp::GreaterThanPredicateOperatorType, Number::integer(0));
        QCOMPARE(p->expandedSize(), quint64(1));
        for (int level = 1; level <= 70; ++level) {
            p = CompoundPredicate::andPredicateWithSubpredicates({p, p});
            if (level == 3)
                QCOMPARE(p->expandedSize(), quint64(15));
        }
        QCOMPARE(p->expandedSize(), Predicate::kSizeLimit);
        const PredicatePtr no =
            CompoundPredicate::notPredicateWithSubpredicate(ConstantPredicate::truePredicate());
        QCOMPARE(no->expandedSize(), quint64(2));
    }

    void textOfTooManyPartsIsAnError()
    {
        // The parser builds every part anew, so the size follows the text; what a file may not hold
        // cannot be typed either.
        auto text = [](int comparisons) {
            QStringList parts;
            for (int i = 0; i < comparisons; ++i)
                parts.append(QStringLiteral("Pulse > %1").arg(i));
            return parts.join(QStringLiteral(" OR "));
        };
        const PredicatePtr largest = parse(text(int(Predicate::kMaxExpandedSize) - 1));
        QVERIFY(largest);
        QCOMPARE(largest->expandedSize(), Predicate::kMaxExpandedSize);
        QString error;
        QVERIFY(!Predicate::predicateWithFormat(text(int(Predicate::kMaxExpandedSize)), &error));
        QVERIFY2(error.contains(QStringLiteral("more than 10000 parts")), qPrintable(error));
    }

    void roundTripOfEveryForm()
    {
        QList<QVariant> constants = {
            QVariant(QStringLiteral("plain")),
            QVariant(
                QStringLiteral("quote \" apostrophe ' backslash \\ newline \n tab \t é 🙂")),
            QVariant(QString()),
            QVariant::fromValue(Date(731234567.123456)),
            QVariant::fromValue(Date(-1e9)),
            QVariant(QStringList{}),
            QVariant(QStringList{"Morning", "it's"}),
            QVariant(QVariantList{Number::integer(1), Number::real(2.5), QStringLiteral("x")}),
            QVariant::fromValue(RelativeDate(1, RelativeDate::Weeks)),
            QVariant::fromValue(RelativeDate(1, RelativeDate::Months)),
            QVariant::fromValue(RelativeDate::fromTimeInterval(-0.000123, 7)),
            QVariant(),
        };
        for (qint64 whole : {qint64(0), qint64(-17), std::numeric_limits<qint64>::min(),
                             std::numeric_limits<qint64>::max()})
            constants << Number::integer(whole);
        const double infinity = std::numeric_limits<double>::infinity();
        for (double real : {0.1, -72.5, 1e-300, 3.0, infinity, -infinity})
            constants << Number::real(real);
        const QList<qint32> operators = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 99, 100};

        QList<PredicatePtr> forms;
        for (const QVariant &constant : constants) {
            for (qint32 op : operators) {
                if (op == Cmp::MatchesPredicateOperatorType) // needs a valid pattern
                    continue;
                for (qint32 modifier : {0, 1, 2}) {
                    for (qint32 options : {0, 1, 2, 3})
                        forms.append(comparison("Tags", op, constant, modifier, options));
                }
            }
        }
        forms.append(
            comparison("Comments", Cmp::MatchesPredicateOperatorType, QStringLiteral("a.*b")));
        forms.append(comparison("AND", 2, Number::integer(1)));
        forms.append(comparison("customValue1.@count", 2, Number::integer(1)));
        forms.append(Cmp::predicateWithLeftExpression(
            Expression::expressionForConstantValue(Number::integer(5)),
            Expression::expressionForKeyPath("Pulse"), 0, 1, 0));
        forms.append(ConstantPredicate::truePredicate());
        forms.append(ConstantPredicate::falsePredicate());

        const PredicatePtr a = comparison("Systolic", 2, Number::integer(0));
        const PredicatePtr b = comparison("Pulse", 4, QVariant());
        const PredicatePtr c = ConstantPredicate::falsePredicate();
        for (qint32 type : {1, 2}) {
            for (const QList<PredicatePtr> &subs :
                 QList<QList<PredicatePtr>>{{}, {a}, {a, b}, {a, b, c}}) {
                const PredicatePtr compound = CompoundPredicate::predicateWithType(type, subs);
                forms.append(compound);
                forms.append(CompoundPredicate::notPredicateWithSubpredicate(compound));
                forms.append(CompoundPredicate::predicateWithType(type, {compound, a}));
                forms.append(CompoundPredicate::predicateWithType(3 - type, {a, compound}));
            }
        }
        forms.append(CompoundPredicate::notPredicateWithSubpredicate(
            CompoundPredicate::notPredicateWithSubpredicate(a)));

        for (const PredicatePtr &p : std::as_const(forms)) {
            QVERIFY(p);
            const QString text = p->predicateFormat();
            QString error;
            const PredicatePtr back = Predicate::predicateWithFormat(text, &error);
            QVERIFY2(back, qPrintable(text + " -- " + error));
            QVERIFY2(Predicate::equal(back, p),
                     qPrintable(text + " -> " + back->predicateFormat()));
            QCOMPARE(back->predicateFormat(), text);
        }
    }

    void evaluation_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("onFull");
        QTest::addColumn<bool>("onBare");

        // Numbers by value, whole and fractional alike.
        row(">", "Systolic > 120", true, false);
        row("> equal", "Systolic > 130", false, false);
        row(">=", "Systolic >= 130", true, false);
        row("== fractional", "Systolic == 130.0", true, false);
        row("!=", "Systolic != 130", false, true);
        row("< fractional", "Weight < 72.6", true, false);
        row("pulse pressure", "PulsePressure == 45", true, false);
        row("between", "Weight BETWEEN {70, 75}", true, false);
        row("between outside", "Weight BETWEEN {73, 75}", false, false);
        row("in numbers", "Systolic IN {118, 119}", false, true);
        row("constant left", "120 < Systolic", true, false);

        // A comparison with an absent value is false, whatever the operator.
        row("absent >", "Pulse > 0", false, false);
        row("absent <", "Pulse < 1000", false, false);
        row("absent !=", "Pulse != 60", false, false);
        row("absent ==", "Weight == 72.5", true, false);
        row("not absent", "NOT Pulse > 0", true, true);
        row("== nil", "Pulse == nil", true, true);
        row("!= nil", "Weight != nil", true, false);
        row("absent comment", "Comments BEGINSWITH ''", true, false);

        // Tags: absent tags count 0 and satisfy no ANY (nor ALL).
        row("count", "Tags.@count == 2", true, false);
        row("count absent", "Tags.@count == 0", false, true);
        row("count some", "Tags.@count > 0", true, false);
        row("any in", "ANY Tags IN {'Salt', 'x'}", true, false);
        row("any in case", "ANY Tags IN {'salt'}", false, false);
        row("any in [c]", "ANY Tags IN[c] {'salt'}", true, false);
        row("any in empty", "ANY Tags IN {}", false, false);
        row("any in mixed", "ANY Tags IN {3, 'Salt'}", true, false);
        row("none in", "NONE Tags IN {'Salt'}", false, true);
        row("all in", "ALL Tags IN {'Morning', 'Salt', 'x'}", true, false);
        row("all in partly", "ALL Tags IN {'Morning'}", false, false);
        row("any beginswith", "ANY Tags BEGINSWITH 'Mor'", true, false);
        row("element in tags", "'Salt' IN Tags", true, false);
        row("tags contain", "Tags CONTAINS 'Morning'", true, false);
        row("tags equal", "Tags == {'Morning', 'Salt'}", true, false);

        // Strings, with the case and diacritic options.
        row("beginswith", "Comments BEGINSWITH 'Café'", true, false);
        row("endswith", "Comments ENDSWITH 'lait'", true, false);
        row("contains case", "Comments CONTAINS 'CAFÉ'", false, false);
        row("contains [c]", "Comments CONTAINS[c] 'CAFÉ'", true, false);
        row("contains [c] accent", "Comments CONTAINS[c] 'CAFE'", false, false);
        row("contains [cd]", "Comments CONTAINS[cd] 'CAFE'", true, false);
        row("substring in", "'au' IN Comments", true, false);
        row("like", "Comments LIKE 'Caf* au ?ait'", true, false);
        row("like literal dot", "Comments LIKE 'Caf. au lait'", false, false);
        row("matches", "Comments MATCHES 'Caf. .*'", true, false);
        row("matches is anchored", "Comments MATCHES 'au'", false, false);
        row("string order", "Comments > 'Ca'", true, false);

        // Kinds that cannot be compared give false, and != true.
        row("number with string", "Systolic > 'abc'", false, false);
        row("number != string", "Systolic != 'abc'", true, true);
        row("string with number", "Comments < 3", false, false);

        // Dates by instant.
        row("date equal midnight", "Date == CAST(732150000, \"NSDate\")", true, true);
        row("whole date later", "theWholeDate > CAST(732150000, \"NSDate\")", true, true);
        row("whole date exact", "theWholeDate == CAST(732202200, \"NSDate\")", true, true);

        // Compounds and constants.
        row("and", "Systolic > 120 AND Diastolic > 90", false, false);
        row("or", "Systolic > 120 OR Diastolic < 80", true, true);
        row("true", "TRUEPREDICATE", true, true);
        row("false", "FALSEPREDICATE", false, false);
        row("empty and", "AND()", true, true);
        row("empty or", "OR()", false, false);
    }
    void evaluation()
    {
        QFETCH(QString, text);
        QFETCH(bool, onFull);
        QFETCH(bool, onBare);
        // The dates in the table assume this moment.
        QCOMPARE(fNow.timeIntervalSinceReferenceDate(), 732202200.0);
        const PredicatePtr p = parse(text);
        QVERIFY(p);
        QVERIFY(p->canEvaluate());
        QCOMPARE(p->evaluateWithObject(*full), onFull);
        QCOMPARE(p->evaluateWithObject(*bare), onBare);
    }

    void fastAndGeneralPathsAgree()
    {
        // "Key op constant" takes a fast path; "constant op' Key" the general one. They must agree,
        // absent values included.
        const QList<QPair<QString, QString>> mirrored = {{"<", ">"},   {"<=", ">="}, {">", "<"},
                                                         {">=", "<="}, {"==", "=="}, {"!=", "!="}};
        MeasurementList readings;
        for (int i = 0; i < 6; ++i) {
            auto r = Measurement::create(fNow.addingSeconds(-86400.0 * i), 110 + 5 * i, 80);
            if (i % 2)
                r->setPulse(60 + 5 * i);
            if (i == 4)
                r->setPulse(Number::real(75.0));
            readings.append(r);
        }
        readings.append(std::make_shared<Measurement>()); // no date, no values at all
        // Days far from the constant compare as their instants do, which the fast path uses.
        MeasurementList dated = readings;
        for (const double days : {-40.0, -9.0, -8.5, 8.5, 9.0, 40.0})
            dated.append(Measurement::create(Date(731977200 + 86400 * days), 120, 80));
        for (const auto &[op, mirror] : mirrored) {
            for (const QString &key : {QStringLiteral("Pulse"), QStringLiteral("Systolic")}) {
                for (const QString &value :
                     {QStringLiteral("75"), QStringLiteral("75.0"), QStringLiteral("120")}) {
                    const PredicatePtr fast = parse(QStringLiteral("%1 %2 %3").arg(key, op, value));
                    const PredicatePtr general =
                        parse(QStringLiteral("%1 %2 %3").arg(value, mirror, key));
                    for (const MeasurementPtr &r : std::as_const(readings))
                        QCOMPARE(fast->evaluateWithObject(*r), general->evaluateWithObject(*r));
                }
            }
            const PredicatePtr fastDate =
                parse(QStringLiteral("Date %1 CAST(731977200, \"NSDate\")").arg(op));
            const PredicatePtr generalDate =
                parse(QStringLiteral("CAST(731977200, \"NSDate\") %1 Date").arg(mirror));
            for (const MeasurementPtr &r : std::as_const(dated))
                QCOMPARE(fastDate->evaluateWithObject(*r), generalDate->evaluateWithObject(*r));
            QCOMPARE(fastDate->filteredArray(constReadings(dated)),
                     generalDate->filteredArray(constReadings(dated)));
        }
    }

    void relativeDateSlidesWithTheClock()
    {
        // Last week: the reading's day must start after now minus seven days.
        const PredicatePtr lastWeek =
            comparison("Date", Cmp::GreaterThanPredicateOperatorType,
                       QVariant::fromValue(RelativeDate(1, RelativeDate::Weeks)));
        QVERIFY(lastWeek->dependsOnNow());
        const auto sixDaysAgo =
            Measurement::create(Date::fromComponents(2024, 3, 9, 8, 0), 120, 80);
        const auto sevenDaysAgo =
            Measurement::create(Date::fromComponents(2024, 3, 8, 20, 0), 120, 80);
        QVERIFY(lastWeek->evaluateWithObject(*sixDaysAgo));
        QVERIFY(!lastWeek->evaluateWithObject(*sevenDaysAgo));

        // Two days later the same predicate no longer holds the older reading.
        const Date saved = fNow;
        fNow = fNow.addingSeconds(2 * 86400);
        QVERIFY(!lastWeek->evaluateWithObject(*sixDaysAgo));
        // An explicit moment overrides the clock.
        QVERIFY(lastWeek->evaluateWithObject(*sixDaysAgo, saved));
        fNow = saved;
        QCOMPARE(lastWeek->filteredArray({sevenDaysAgo, sixDaysAgo}),
                 ConstMeasurementList{sixDaysAgo});
    }

    void unknownKeyPathRaises_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("named");
        row("unknown key", "Foo > 3", "Foo");
        row("wrong case", "systolic > 0", "systolic");
        row("count of a number", "Pulse.@count > 0", "Pulse.@count");
        row("behind a short cut", "Systolic > 0 OR Bar == 1", "Bar");
        row("inside not", "NOT (TRUEPREDICATE AND Baz == 1)", "Baz");
        row("right side", "Systolic > Qux", "Qux");
        row("any over a number", "ANY Systolic > 3", "Systolic");
    }
    void unknownKeyPathRaises()
    {
        QFETCH(QString, text);
        QFETCH(QString, named);
        const PredicatePtr p = parse(text);
        QVERIFY(p); // parsing does not know which keys readings have
        QVERIFY(!p->canEvaluate());
        // Raised for every reading, whatever its values, so one test reading finds it.
        for (const MeasurementPtr &r : {full, bare}) {
            try {
                p->evaluateWithObject(*r);
                QFAIL("no evaluation error");
            } catch (const PredicateEvaluationError &error) {
                QVERIFY2(QString::fromUtf8(error.what()).contains("'" + named + "'"), error.what());
            }
        }
        QVERIFY_THROWS_EXCEPTION(PredicateEvaluationError, p->filteredArray({full}));
        QVERIFY_THROWS_EXCEPTION(PredicateEvaluationError, p->filteredArray({}));
    }

    void invalidCodesAreRefused()
    {
        const Expression key = Expression::expressionForKeyPath("Systolic");
        const Expression zero = Expression::expressionForConstantValue(Number::integer(0));
        QVERIFY(!Cmp::predicateWithLeftExpression(key, zero, 0, 11, 0));
        QVERIFY(!Cmp::predicateWithLeftExpression(key, zero, 0, -1, 0));
        QVERIFY(!Cmp::predicateWithLeftExpression(key, zero, 3, 2, 0));
        const PredicatePtr masked = Cmp::predicateWithLeftExpression(key, zero, 0, 2, 0xff);
        QCOMPARE(masked->asComparison()->options(), 3);
        QVERIFY(!CompoundPredicate::predicateWithType(3, {masked}));
        QVERIFY(!CompoundPredicate::predicateWithType(0, {}));
        QVERIFY(!CompoundPredicate::predicateWithType(0, {masked, masked}));
        QVERIFY(!CompoundPredicate::predicateWithType(1, {masked, nullptr}));

        // A constant of a type predicates do not know cannot be evaluated.
        const PredicatePtr odd = Cmp::predicateWithLeftExpression(
            key, Expression::expressionForConstantValue(QVariant(QByteArray("x"))), 0, 4, 0);
        QVERIFY(odd && !odd->canEvaluate());
        QVERIFY_THROWS_EXCEPTION(PredicateEvaluationError, odd->evaluateWithObject(*full));
    }

    void filteredArrayKeepsOrder()
    {
        ConstMeasurementList all;
        for (int s : {150, 90, 140, 100, 160})
            all.append(Measurement::create(fNow, s, 80));
        const ConstMeasurementList kept = parse("Systolic >= 140")->filteredArray(all);
        QCOMPARE(kept, (ConstMeasurementList{all[0], all[2], all[4]}));
    }

    void equality()
    {
        const PredicatePtr p = parse("Systolic > 0");
        QVERIFY(Predicate::equal(nullptr, nullptr));
        QVERIFY(!Predicate::equal(p, nullptr));
        QVERIFY(*p == *parse("Systolic>0"));
        QVERIFY(*p != *parse("Systolic >= 0"));
    }
};

TENSILO_TEST_MAIN(TestPredicate)
#include "tst_predicate.moc"
