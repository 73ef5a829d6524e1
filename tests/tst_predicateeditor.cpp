// The predicate editor and its row templates: scores, round trips, the rows' + and −, switching
// a row between templates, and predicates that cannot be shown as rows.

#include "ComparisonPredicate.h"
#include "CompoundPredicate.h"
#include "Filter.h"
#include "MyDocument.h"
#include "MyTokenField.h"
#include "NumberField.h"
#include "PageFilters.h"
#include "PredicateEditor.h"
#include "Preferences.h"
#include "RelativeDate.h"
#include "RelativeDatesTemplate.h"
#include "TagsCountTemplate.h"
#include "TagsTemplate.h"
#include "TestMain.h"

#include <QComboBox>
#include <QDateEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

namespace {

PredicatePtr parse(const QString &text)
{
    QString error;
    const PredicatePtr predicate = Predicate::predicateWithFormat(text, &error);
    if (!predicate)
        qFatal("bad test predicate %s: %s", qPrintable(text), qPrintable(error));
    return predicate;
}

// The template of the editor's standard set that wins the predicate, or nullptr.
RowTemplate *winner(const PredicateEditor &editor, const PredicatePtr &predicate, double *score)
{
    RowTemplate *best = nullptr;
    *score = 0;
    for (const auto &t : editor.rowTemplates()) {
        const double s = t->matchForPredicate(predicate);
        if (s > *score) {
            *score = s;
            best = t.get();
        }
    }
    return best;
}

void typeNumber(NumberField *field, const QString &text)
{
    field->setText(text);
    field->setModified(true);
    emit field->editingFinished();
}

void activate(QComboBox *combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

} // namespace

class TestPredicateEditor : public QObject
{
    Q_OBJECT
private slots:

    void initTestCase()
    {
        pEditor = new PredicateEditor;
        PageFilters::installRowTemplates(pEditor);
    }

    void relativeDatesClaimLastWeek()
    {
        const FilterPtr lastWeek = Filter::filterLastWeek();
        double score = 0;
        RowTemplate *best = winner(*pEditor, lastWeek->predicate(), &score);
        QVERIFY(qobject_cast<RelativeDatesTemplate *>(best));
        QCOMPARE(score, 2.0);
        // The plain date template does not claim a relative date.
        QCOMPARE(pEditor->rowTemplates()[2]->matchForPredicate(lastWeek->predicate()), 0.0);

        auto row = best->copy();
        auto *relative = static_cast<RelativeDatesTemplate *>(row.get());
        relative->setPredicate(lastWeek->predicate());
        QCOMPARE(relative->numberField()->value(), QVariant(qlonglong(1)));
        QCOMPARE(relative->unitsPopup()->currentIndex(), int(RelativeDate::Weeks));
        QCOMPARE(relative->operatorMenu()->currentData().toInt(),
                 int(ComparisonPredicate::GreaterThanPredicateOperatorType));
        QVERIFY(relative->showsPredicate(lastWeek->predicate()));

        // Built again: a new relative date of one week before now, everything else kept.
        const PredicatePtr rebuilt = relative->predicateWithSubpredicates({});
        const ComparisonPredicate *c = rebuilt->asComparison();
        QVERIFY(c);
        QCOMPARE(c->leftExpression().keyPath(), u"Date"_s);
        QCOMPARE(c->predicateOperatorType(),
                 qint32(ComparisonPredicate::GreaterThanPredicateOperatorType));
        const RelativeDate date = c->rightExpression().constantValue().value<RelativeDate>();
        QCOMPARE(date.dateUnits(), qint32(RelativeDate::Weeks));
        QVERIFY(qAbs(date.timeIntervalSinceNow() + 7 * 86400) < 3601);
    }

    void relativeDatesRoundTripUnits_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("unit");
        QTest::newRow("3 days") << 3 << int(RelativeDate::Days);
        QTest::newRow("4 weeks") << 4 << int(RelativeDate::Weeks);
        QTest::newRow("0 days") << 0 << int(RelativeDate::Days);
    }
    void relativeDatesRoundTripUnits()
    {
        QFETCH(int, count);
        QFETCH(int, unit);
        const PredicatePtr stored = ComparisonPredicate::predicateWithLeftExpression(
            Expression::expressionForKeyPath(u"Date"_s),
            Expression::expressionForConstantValue(QVariant::fromValue(RelativeDate(count, unit))),
            ComparisonPredicate::DirectPredicateModifier,
            ComparisonPredicate::LessThanPredicateOperatorType);
        pEditor->setObjectValue(stored);
        QVERIFY(!pEditor->isReadOnly());
        auto *row = qobject_cast<RelativeDatesTemplate *>(pEditor->templateOfRow(1));
        QVERIFY(row);
        QCOMPARE(row->numberField()->value().toInt(), count);
        QCOMPARE(row->unitsPopup()->currentIndex(), unit);
        QCOMPARE(row->operatorMenu()->currentData().toInt(),
                 int(ComparisonPredicate::LessThanPredicateOperatorType));
    }

    void tagsCountClaimsZeroOnly()
    {
        double score = 0;
        RowTemplate *best = winner(*pEditor, parse("Tags.@count == 0"), &score);
        QVERIFY(qobject_cast<TagsCountTemplate *>(best));
        QCOMPARE(score, 2.0);
        auto row = best->copy();
        auto *count = static_cast<TagsCountTemplate *>(row.get());
        count->setPredicate(parse("Tags.@count == 0"));
        QCOMPARE(count->popupButton()->currentIndex(), 0);
        QVERIFY(Predicate::equal(count->predicateWithSubpredicates({}), parse("Tags.@count == 0")));

        // The constant 1 is claimed by no template of the editor; the editor keeps it as text.
        QVERIFY(!winner(*pEditor, parse("Tags.@count == 1"), &score));
        QCOMPARE(score, 0.0);
        QCOMPARE(best->matchForPredicate(parse("Tags.@count >= 0")), 0.0);
        QCOMPARE(best->matchForPredicate(parse("ANY Tags.@count == 0")), 0.0);

        // Item 1: more than 0 tags, which a reading with one tag satisfies and one without does
        // not.
        count->setPredicate(parse("Tags.@count > 0"));
        QCOMPARE(count->popupButton()->currentIndex(), 1);
        count->popupButton()->setCurrentIndex(1);
        const PredicatePtr some = count->predicateWithSubpredicates({});
        QVERIFY(Predicate::equal(some, parse("Tags.@count > 0")));
        const MeasurementPtr tagged = Measurement::create(Date::now(), 120, 80);
        tagged->setTags({u"medication"_s});
        const MeasurementPtr plain = Measurement::create(Date::now(), 120, 80);
        QVERIFY(some->evaluateWithObject(*tagged));
        QVERIFY(!some->evaluateWithObject(*plain));
    }

    void tagsClaimAnyInOnly()
    {
        const PredicatePtr any = parse("ANY Tags IN {'medication', 'Morgen früh', 'a,b'}");
        double score = 0;
        RowTemplate *best = winner(*pEditor, any, &score);
        QVERIFY(qobject_cast<TagsTemplate *>(best));
        QCOMPARE(score, 2.0);
        QCOMPARE(best->matchForPredicate(parse("ALL Tags IN {'medication'}")), 0.0);
        QCOMPARE(best->matchForPredicate(parse("ANY Tags == {'medication'}")), 0.0);
        QCOMPARE(best->matchForPredicate(parse("ANY Tags IN 'medication'")), 0.0);

        auto row = best->copy();
        auto *tags = static_cast<TagsTemplate *>(row.get());
        tags->setPredicate(any);
        QCOMPARE(tags->tokensField()->tokens(),
                 (QStringList{u"medication"_s, u"Morgen früh"_s, u"a,b"_s}));
        QVERIFY(Predicate::equal(tags->predicateWithSubpredicates({}), any));

        // Edited tokens become the new constant, in token order.
        tags->tokensField()->setTokens({u"z"_s, u"a"_s});
        QVERIFY(Predicate::equal(tags->predicateWithSubpredicates({}),
                                 parse("ANY Tags IN {'z', 'a'}")));
    }

    void plainTemplatesRoundTrip_data()
    {
        QTest::addColumn<PredicatePtr>("predicate");
        QTest::addColumn<int>("templateIndex");
        QTest::newRow("whole") << parse("Systolic > 140") << 0;
        QTest::newRow("fraction") << parse("Weight <= 80.25") << 0;
        QTest::newRow("whole double") << parse("Pulse != 60.0") << 0;
        QTest::newRow("negative") << parse("PulsePressure >= -3") << 0;
        QTest::newRow("custom") << parse("customValue2 == 7") << 1;
        const Date midnight = Date::fromComponents(2023, 3, 26);
        QTest::newRow("date") << ComparisonPredicate::predicateWithLeftExpression(
                                     Expression::expressionForKeyPath(u"Date"_s),
                                     Expression::expressionForConstantValue(
                                         QVariant::fromValue(midnight)),
                                     ComparisonPredicate::DirectPredicateModifier,
                                     ComparisonPredicate::GreaterThanOrEqualToPredicateOperatorType)
                              << 2;
        QTest::newRow("time") << ComparisonPredicate::predicateWithLeftExpression(
                                     Expression::expressionForKeyPath(u"Time"_s),
                                     Expression::expressionForConstantValue(
                                         QVariant::fromValue(Date::fromComponents(1, 1, 1, 9, 30))),
                                     ComparisonPredicate::DirectPredicateModifier,
                                     ComparisonPredicate::LessThanPredicateOperatorType)
                              << 4;
    }
    void plainTemplatesRoundTrip()
    {
        QFETCH(PredicatePtr, predicate);
        QFETCH(int, templateIndex);
        double score = 0;
        RowTemplate *best = winner(*pEditor, predicate, &score);
        QCOMPARE(best, pEditor->rowTemplates()[size_t(templateIndex)].get());
        QVERIFY(score > 0 && score < 2.0);
        auto row = best->copy();
        row->setPredicate(predicate);
        QVERIFY2(Predicate::equal(row->predicateWithSubpredicates({}), predicate),
                 qPrintable(row->predicateWithSubpredicates({})->predicateFormat()));
    }

    void threeLevelCompoundReadsBackEqual()
    {
        const PredicatePtr stored =
            parse("Systolic > 140 AND (Pulse < 60 OR NOT (ANY Tags IN {'x'} OR Tags.@count == 0) "
                  "OR (Weight >= 80.5 AND NOT Diastolic == 90)) AND Tags.@count > 0");
        QSignalSpy edited(pEditor, &PredicateEditor::predicateEdited);
        pEditor->setObjectValue(stored);
        QVERIFY(!pEditor->isReadOnly());
        QVERIFY(Predicate::equal(pEditor->objectValue(), stored));
        QCOMPARE(edited.count(), 0);
        // root, Systolic, OR group, Pulse, NOT group, tags, count, AND group, Weight, NOT,
        // Diastolic, count
        QCOMPARE(pEditor->numberOfRows(), 12);
        QCOMPARE(pEditor->depthOfRow(10), 4);
        QCOMPARE(pEditor->compoundTypeOfRow(4), qint32(CompoundPredicate::NotPredicateType));

        // A compound of one comparison and a single comparison stay what they were.
        for (const char *text : {"AND(Systolic > 0)", "Systolic > 0", "NOT Systolic > 0",
                                 "NOT (Systolic > 0 OR Pulse > 0)", "OR(Pulse < 50)"}) {
            pEditor->setObjectValue(parse(QLatin1String(text)));
            QVERIFY2(Predicate::equal(pEditor->objectValue(), parse(QLatin1String(text))), text);
        }
    }

    void unshowablePredicatesAreKept_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("like") << "Comments LIKE 'pill*'";
        QTest::newRow("inside a compound")
            << "Systolic > 140 AND (Pulse < 60 OR Comments CONTAINS 'x')";
        QTest::newRow("count of one") << "Tags.@count == 1";
        QTest::newRow("true") << "TRUEPREDICATE";
        QTest::newRow("relative date on a number") << "Systolic > RELATIVEDATE(-604800, 1)";
        QTest::newRow("tags with numbers") << "ANY Tags IN {1, 2}";
        QTest::newRow("date with a time") << "Date > CAST(700000000.5, \"NSDate\")";
        QTest::newRow("count of comments") << "Comments.@count == 0";
        QTest::newRow("case options") << "Systolic ==[c] 3";
    }
    void unshowablePredicatesAreKept()
    {
        QFETCH(QString, text);
        const PredicatePtr stored = parse(text);
        QSignalSpy edited(pEditor, &PredicateEditor::predicateEdited);
        pEditor->setObjectValue(stored);
        QVERIFY(pEditor->isReadOnly());
        QCOMPARE(pEditor->objectValue(), stored); // the very object, untouched
        QCOMPARE(pEditor->numberOfRows(), 0);
        QCOMPARE(edited.count(), 0);

        // Showing a showable predicate afterwards works as usual.
        pEditor->setObjectValue(parse("Systolic > 0"));
        QVERIFY(!pEditor->isReadOnly());
        QCOMPARE(pEditor->numberOfRows(), 2);
    }

    void replaceKeptPredicateOnlyOnRequest()
    {
        pEditor->setObjectValue(parse("Comments LIKE 'x'"));
        QSignalSpy edited(pEditor, &PredicateEditor::predicateEdited);
        pEditor->replaceWithRows();
        QCOMPARE(edited.count(), 1);
        QVERIFY(
            Predicate::equal(edited.first().first().value<PredicatePtr>(), parse("Systolic > 0")));
        QVERIFY(!pEditor->isReadOnly());
    }

    void addAndRemoveRows()
    {
        pEditor->setObjectValue(parse("Pulse < 60"));
        QSignalSpy edited(pEditor, &PredicateEditor::predicateEdited);
        auto last = [&] { return edited.last().first().value<PredicatePtr>(); };

        pEditor->addRow(1, false); // a copy below
        QCOMPARE(pEditor->numberOfRows(), 3);
        QVERIFY(Predicate::equal(last(), parse("Pulse < 60 AND Pulse < 60")));

        pEditor->addRow(2, true); // a group below the second row
        QCOMPARE(pEditor->numberOfRows(), 5);
        QVERIFY(pEditor->isCompoundRow(3));
        QCOMPARE(pEditor->depthOfRow(4), 2);
        QVERIFY(Predicate::equal(last(), parse("Pulse < 60 AND Pulse < 60 AND (AND(Pulse < 60))")));

        pEditor->setCompoundTypeOfRow(0, CompoundPredicate::OrPredicateType);
        pEditor->setCompoundTypeOfRow(3, CompoundPredicate::NotPredicateType);
        QVERIFY(
            Predicate::equal(last(), parse("Pulse < 60 OR Pulse < 60 OR NOT (OR(Pulse < 60))")));

        // Removing the group's only row removes the group.
        pEditor->removeRow(4);
        QCOMPARE(pEditor->numberOfRows(), 3);
        QVERIFY(Predicate::equal(last(), parse("Pulse < 60 OR Pulse < 60")));
        // Back to one row of a single comparison: the comparison alone again.
        pEditor->setCompoundTypeOfRow(0, CompoundPredicate::AndPredicateType);
        pEditor->removeRow(2);
        QVERIFY(Predicate::equal(last(), parse("Pulse < 60")));
        QTRY_COMPARE(pEditor->numberOfRows(), 2); // removed rows go on the next turn

        // From the keyboard: Alt+Down opens the + button's menu, whose second item adds a group.
        QToolButton *add = nullptr;
        for (auto *button : pEditor->findChildren<QToolButton *>())
            if (button->accessibleName() == qtTrId("filters.editor.add_row") &&
                button->isVisibleTo(pEditor))
                add = button; // the last row's
        QVERIFY(add && add->menu());
        QTest::keyClick(add, Qt::Key_Down, Qt::AltModifier);
        QVERIFY(add->menu()->isVisible());
        QTest::keyClick(add->menu(), Qt::Key_Down);
        QTest::keyClick(add->menu(), Qt::Key_Return);

        QCOMPARE(pEditor->numberOfRows(), 4); // the group and its first condition
        QVERIFY(pEditor->isCompoundRow(2));
    }

    void lastRowCannotBeRemoved()
    {
        pEditor->setObjectValue(parse("Systolic > 0"));
        QVERIFY(!pEditor->canRemoveRow(0)); // the root
        QVERIFY(!pEditor->canRemoveRow(1));
        QVERIFY(!pEditor->removeButtonOfRow(1)->isEnabled());
        QSignalSpy edited(pEditor, &PredicateEditor::predicateEdited);
        pEditor->removeRow(1);
        QCOMPARE(pEditor->numberOfRows(), 2);
        QCOMPARE(edited.count(), 0);

        // Nor the only row inside the only group.
        pEditor->setObjectValue(parse("AND(OR(Systolic > 0))"));
        QCOMPARE(pEditor->numberOfRows(), 3);
        QVERIFY(!pEditor->canRemoveRow(1));
        QVERIFY(!pEditor->canRemoveRow(2));
        pEditor->addRow(2, false);
        QVERIFY(pEditor->canRemoveRow(2));
        QVERIFY(pEditor->removeButtonOfRow(3)->isEnabled());
    }

    void rowsSwitchTemplatesThroughTheirMenus()
    {
        pEditor->setObjectValue(parse("Systolic > 0"));
        QSignalSpy edited(pEditor, &PredicateEditor::predicateEdited);
        auto *left = qobject_cast<QComboBox *>(pEditor->templateOfRow(1)->templateViews().value(0));
        const int tagsItem = left->findText(u"Tags"_s);
        QVERIFY(tagsItem >= 5);
        activate(left, tagsItem);
        QVERIFY(qobject_cast<TagsTemplate *>(pEditor->templateOfRow(1)));
        QVERIFY(
            Predicate::equal(edited.last().first().value<PredicatePtr>(), parse("ANY Tags IN {}")));

        // The second menu of a tags row offers the tags-count choices under the same title.
        auto *second =
            qobject_cast<QComboBox *>(pEditor->templateOfRow(1)->templateViews().value(1));
        const int present = second->findText(u"are present"_s);
        QVERIFY(present > 0);
        activate(second, present);
        auto *count = qobject_cast<TagsCountTemplate *>(pEditor->templateOfRow(1));
        QVERIFY(count);
        QCOMPARE(count->popupButton()->currentIndex(), 1);
        QVERIFY(Predicate::equal(edited.last().first().value<PredicatePtr>(),
                                 parse("Tags.@count > 0")));

        // Date: the calendar date's operators and then the relative ones.
        left = qobject_cast<QComboBox *>(pEditor->templateOfRow(1)->templateViews().value(0));
        activate(left, left->findText(u"Date"_s));
        QVERIFY(pEditor->templateOfRow(1)->datePicker());
        second = qobject_cast<QComboBox *>(pEditor->templateOfRow(1)->templateViews().value(1));
        activate(second, second->findText(u"is within the last"_s));
        auto *relative = qobject_cast<RelativeDatesTemplate *>(pEditor->templateOfRow(1));
        QVERIFY(relative);
        typeNumber(relative->numberField(), u"3"_s);
        activate(relative->unitsPopup(), RelativeDate::Months);
        const ComparisonPredicate *c = edited.last().first().value<PredicatePtr>()->asComparison();
        QVERIFY(c);
        const RelativeDate date = c->rightExpression().constantValue().value<RelativeDate>();
        QCOMPARE(date.dateUnits(), qint32(RelativeDate::Months));
        QCOMPARE(date.valueOfTimeDifferenceInUnits(), 3);
        QTRY_VERIFY(true); // let the replaced controls go
    }

    void unreadableNumberChangesNothing()
    {
        pEditor->setObjectValue(parse("Systolic > 0 AND Pulse < 60"));
        QSignalSpy edited(pEditor, &PredicateEditor::predicateEdited);
        NumberField *field = pEditor->templateOfRow(1)->numberField();
        typeNumber(field, u"12a"_s);
        QCOMPARE(edited.count(), 0);
        QVERIFY(field->accessibleDescription().contains(u"12a"_s)); // said, not only red
        typeNumber(field, u"1,5"_s); // a group separator is not a decimal point here
        QCOMPARE(edited.count(), 0);
        typeNumber(field, u"135.5"_s);
        QCOMPARE(edited.count(), 1);
        QVERIFY(field->accessibleDescription().isEmpty());
        QVERIFY(Predicate::equal(edited.last().first().value<PredicatePtr>(),
                                 parse("Systolic > 135.5 AND Pulse < 60")));
    }

    void customTitlesFollowPreferences()
    {
        pEditor->setObjectValue(parse("customValue1 > 2"));
        auto *left = qobject_cast<QComboBox *>(pEditor->templateOfRow(1)->templateViews().value(0));
        Preferences::shared().setValueForKey(u"Glucose"_s, u"customTitle1"_s);
        QCOMPARE(left->itemText(0), u"Glucose"_s);
        // Other rows offer the new title too.
        pEditor->setObjectValue(parse("Systolic > 2"));
        left = qobject_cast<QComboBox *>(pEditor->templateOfRow(1)->templateViews().value(0));
        QVERIFY(left->findText(u"Glucose"_s) > 0);
        Preferences::shared().removeValueForKey(u"customTitle1"_s);
    }

private:
    PredicateEditor *pEditor = nullptr;
};

TENSILO_TEST_MAIN(TestPredicateEditor)
#include "tst_predicateeditor.moc"
