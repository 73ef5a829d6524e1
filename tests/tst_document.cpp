#include "ComparisonPredicate.h"
#include "DocumentArchive.h"
#include "DocumentPrinter.h"
#include "MyDocument.h"
#include "RelativeDate.h"
#include "TestHelpers.h"
#include "UndoManager.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>
#include <type_traits>

namespace {

using L = MyDocument::List;

// Readings leave the document read-only: code above it cannot change a held reading (and with
// it the instant the document finds it by) except through the document's operations.
template <typename Reading>
concept Writable = requires(Reading reading)
{
    reading->setTheWholeDate(Date());
};
static_assert(!Writable<decltype(std::declval<const MyDocument &>().allItems().first())>);
static_assert(!Writable<decltype(std::declval<const MyDocument &>().items().first())>);
static_assert(!Writable<decltype(std::declval<const MyDocument &>().lastEditedMeasurement())>);
static_assert(
    !Writable<
        decltype(std::declval<const MyDocument &>().averages().first()->measurements().first())>);
static_assert(!Writable<decltype(std::declval<MyDocument &>().replaceWithAverage({}))>);
static_assert(Writable<MeasurementPtr>); // the check itself sees a writable reading
// Held readings are named by const pointers; new readings come in writable.
static_assert(std::is_invocable_v<decltype(&MyDocument::deleteMeasurements), MyDocument &,
                                  const ConstMeasurementList &>);
static_assert(std::is_invocable_v<decltype(&MyDocument::updateMeasurement), MyDocument &,
                                  ConstMeasurementPtr, ConstMeasurementPtr>);
static_assert(std::is_invocable_v<decltype(&MyDocument::onMeasurementChangedFrom), MyDocument &,
                                  ConstMeasurementPtr, MeasurementPtr>);
static_assert(!std::is_invocable_v<decltype(&MyDocument::addMeasurements), MyDocument &,
                                   const ConstMeasurementList &>);

// Noon of 15 March 2024, UTC; the clock stands there for every test.
const Date kNow = Date::fromTimeIntervalSince1970(1710504000.0);

MeasurementPtr reading(double hours, int systolic, int diastolic = 80, const QStringList &tags = {})
{
    return TestSupport::reading(kNow.addingSeconds(hours * 3600.0), systolic, diastolic, tags);
}

PredicatePtr predicate(const char *format)
{
    const PredicatePtr p = Predicate::predicateWithFormat(QString::fromLatin1(format));
    Q_ASSERT(p);
    return p;
}

QList<const Measurement *> ids(const ConstMeasurementList &list)
{
    QList<const Measurement *> result;
    for (const ConstMeasurementPtr &r : list)
        result.append(r.get());
    return result;
}

QList<const Filter *> ids(const FilterList &list)
{
    QList<const Filter *> result;
    for (const FilterPtr &f : list)
        result.append(f.get());
    return result;
}

QList<const Filter *> averageFilters(const MyDocument &document)
{
    QList<const Filter *> result;
    for (const AveragePtr &a : document.averages())
        result.append(a->filter().get());
    return result;
}

QMap<QString, int> tagCounts(const MyDocument &document)
{
    QMap<QString, int> result;
    for (auto it = document.tagsCache().cbegin(); it != document.tagsCache().cend(); ++it)
        result.insert(it.key(), it->count());
    return result;
}

// A new document whose selected filter lets through systolic values above 130.
std::unique_ptr<MyDocument> documentFilteringAbove130()
{
    auto document = std::make_unique<MyDocument>();
    document->filter()->setPredicate(predicate("Systolic > 130"));
    document->undoManager()->removeAllActions();
    return document;
}

// Operations that break an internal rule; run in a child process where they must assert.
bool runBrokenRule(const QString &scenario, MyDocument &document)
{
    if (scenario == QLatin1String("visible")) {
        document.addFilterToVisible(Filter::filterWithName(QStringLiteral("stranger")));
        return true;
    }
    if (scenario == QLatin1String("averages")) {
        document.addFilterToAverages(Filter::filterWithName(QStringLiteral("stranger")));
        return true;
    }
    if (scenario == QLatin1String("print"))
        return document.printShowingPrintPanel(true);
    return false;
}

} // namespace

// Stands in for the document window's controller in the printing test.
class PrintingController : public QObject, public DocumentPrinter
{
    Q_OBJECT
public:
    QList<bool> printed; // showPanel of each request
    void doPrintDocument(bool showPanel) override { printed.append(showPanel); }
};

// Has a method of the right name, but does not say it can print.
class NamedLikeAPrinter : public QObject
{
    Q_OBJECT
public:
    int nPrinted = 0;
    Q_INVOKABLE void doPrintDocument() { ++nPrinted; }
};

class TestDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Date::setClock([] { return kNow; });
    }

    void newDocument()
    {
        MyDocument document;
        QCOMPARE(document.filters().size(), 3);
        QCOMPARE(ids(document.visibleFilters()), ids(document.filters()));
        QCOMPARE(averageFilters(document), ids(document.filters()));
        QCOMPARE(document.filter(), document.filters().first());
        QCOMPARE(document.filters()[0]->name(), qtTrId("filter.name_no_filter"));
        QCOMPARE(document.filters()[1]->name(), qtTrId("filter.name_last_week"));
        QCOMPARE(document.filters()[2]->name(), qtTrId("filter.name_last_month"));
        QVERIFY(document.allItems().isEmpty());
        QVERIFY(document.items().isEmpty());
        QVERIFY(document.information().isEmpty());
        QVERIFY(!document.lastEditedMeasurement());
        QVERIFY(!document.sortItemsAscending());
        QCOMPARE(document.filteredCounter(), FilteredCounter(0, 0));
        QVERIFY(!document.undoManager()->canUndo());
        // A repeated notification of a flag the filter already has places it once.
        emit document.filters()[1]->valueChanged(QStringLiteral("useInFilters"), QVariant(false));
        emit document.filters()[1]->valueChanged(QStringLiteral("useInAverages"), QVariant(false));
        QCOMPARE(ids(document.visibleFilters()), ids(document.filters()));
        QCOMPARE(averageFilters(document), ids(document.filters()));
    }

    // The stock date filters are measured from one instant however the clock moves while they
    // are made: exact calendar distances, and the same file from the same input.
    void stockFiltersAreMeasuredFromOneInstant()
    {
        double tick = 0;
        Date::setClock([&tick] {
            tick += 0.000999;
            return kNow.addingSeconds(tick);
        });
        const auto interval = [](const MyDocument &document, int filter) {
            const ComparisonPredicate *comparison =
                document.filters().at(filter)->predicate()->asComparison();
            return comparison ? comparison->rightExpression()
                                    .constantValue()
                                    .value<RelativeDate>()
                                    .timeIntervalSinceNow()
                              : 0.0;
        };
        MyDocument first;
        MyDocument second;
        Date::setClock([] { return kNow; });
        QCOMPARE(interval(first, 1), -7 * 86400.0);
        QCOMPARE(interval(first, 2), -29 * 86400.0); // back from 15 March 2024 to 15 February
        QCOMPARE(first.dataOfType(QString()), second.dataOfType(QString()));
    }

    void positionForMeasurement_data()
    {
        QTest::addColumn<QList<double>>("instants");
        QTest::addColumn<double>("instant");
        QTest::addColumn<int>("position");
        QTest::newRow("empty") << QList<double>{} << 5.0 << 0;
        QTest::newRow("before all") << QList<double>{1, 2, 3} << 0.5 << 0;
        QTest::newRow("after all") << QList<double>{1, 2, 3} << 4.0 << 3;
        QTest::newRow("between") << QList<double>{1, 2, 3} << 2.5 << 2;
        QTest::newRow("before equal block") << QList<double>{1, 2, 2, 2, 3} << 2.0 << 1;
        QTest::newRow("equal to last") << QList<double>{1, 2, 3} << 3.0 << 2;
        QTest::newRow("equal to first") << QList<double>{1, 1} << 1.0 << 0;
        QTest::newRow("long list") << QList<double>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10} << 7.5 << 8;
    }

    void positionForMeasurement()
    {
        QFETCH(QList<double>, instants);
        QFETCH(double, instant);
        QFETCH(int, position);
        ConstMeasurementList list;
        for (double t : instants)
            list.append(reading(t, 120));
        const auto probe = reading(instant, 120);
        QCOMPARE(MyDocument::positionForMeasurement(*probe, list), position);
        for (qsizetype i = 0; i < list.size(); ++i)
            QCOMPARE(MyDocument::indexOfMeasurement(list[i].get(), list), qint32(i));
        QCOMPARE(MyDocument::indexOfMeasurement(probe.get(), list), -1);
    }

    void addKeepsOrderWhateverThePresentation()
    {
        for (bool ascending : {false, true}) {
            MyDocument document;
            document.setSortItemsAscending(ascending);
            const auto at10 = reading(-2, 120), at8 = reading(-4, 121), at9 = reading(-3, 122);
            document.addMeasurements({at10});
            document.addMeasurements({at8});
            document.addMeasurements({at9});
            const QList<const Measurement *> expected{at8.get(), at9.get(), at10.get()};
            QCOMPARE(ids(document.allItems()), expected);
            QCOMPARE(ids(document.items()), expected);
            QCOMPARE(document.filteredCounter(), FilteredCounter(3, 3));
        }
    }

    void equalInstantGoesBeforeEqualOnes()
    {
        MyDocument document;
        const auto a = reading(0, 120), b = reading(0, 121), early = reading(-1, 122),
                   late = reading(1, 123);
        document.addMeasurements({early, a, b, late});
        // Within one call each reading is placed before the ones placed earlier.
        QCOMPARE(ids(document.allItems()), ids({early, b, a, late}));
        const auto c = reading(0, 124);
        QSignalSpy inserted(&document, &MyDocument::rowsInserted);
        document.addMeasurements({c});
        QCOMPARE(document.allItems()[1], c);
        QCOMPARE(document.items()[1], c);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted[0][1].toInt(), 1);
    }

    void readingOutsideFilterSkipsFilteredList()
    {
        auto document = documentFilteringAbove130();
        QSignalSpy bracket(document.get(), &MyDocument::listAboutToChange);
        QSignalSpy counter(document.get(), &MyDocument::filteredCounterChanged);
        const auto low = reading(0, 120, 80, {QStringLiteral("x")});
        document->addMeasurements({low});
        QCOMPARE(ids(document->allItems()), ids({low}));
        QVERIFY(document->items().isEmpty());
        QCOMPARE(document->tags(), QStringList{QStringLiteral("x")});
        QCOMPARE(bracket.size(), 0);
        QCOMPARE(counter.size(), 1);
        QCOMPARE(document->filteredCounter(), FilteredCounter(0, 1));

        const auto high = reading(1, 140);
        document->addMeasurements({high});
        QCOMPARE(bracket.size(), 1);
        QCOMPARE(document->filteredCounter(), FilteredCounter(1, 2));

        // Deleting a reading outside the filtered list announces no change of it either.
        bracket.clear();
        document->deleteMeasurements({low});
        QCOMPARE(bracket.size(), 0);
        QCOMPARE(document->filteredCounter(), FilteredCounter(1, 1));
        QVERIFY(document->tags().isEmpty());
    }

    void deletingAbsentReadingChangesNothing()
    {
        MyDocument document;
        const auto kept = reading(0, 120, 80, {QStringLiteral("t")});
        document.addMeasurements({kept});
        document.undoManager()->closeGroup();
        const auto stranger = reading(0, 130, 80, {QStringLiteral("t")});
        QTest::ignoreMessage(QtWarningMsg,
                             "attempt to delete reading that it absent in the main list!");
        document.deleteMeasurements({stranger});
        QCOMPARE(document.allItems().size(), 1);
        QCOMPARE(tagCounts(document).value(QStringLiteral("t")), 1);
        QCOMPARE(document.undoManager()->undoActionName(), qtTrId("doc.ins_record"));

        // Mixed with a present reading (twice): only that one goes, and undo brings back only it.
        QTest::ignoreMessage(QtWarningMsg,
                             "attempt to delete reading that it absent in the main list!");
        document.deleteMeasurements({stranger, kept, kept});
        QVERIFY(document.allItems().isEmpty());
        QVERIFY(document.tags().isEmpty());
        document.undoManager()->undo();
        QCOMPARE(ids(document.allItems()), ids({kept}));
        QCOMPARE(tagCounts(document).value(QStringLiteral("t")), 1);

        // Adding a reading the document holds already does nothing.
        document.addMeasurements({kept});
        QCOMPARE(document.allItems().size(), 1);
    }

    void editMovesTheSameReadingAndUndoRestoresAll()
    {
        MyDocument document;
        const auto a = reading(-2, 120), b = reading(-1, 125), c = reading(0, 130);
        a->setPulse(QVariant()); // absent
        a->setWeight(QVariant(70.5));
        document.addMeasurements({a, b, c});
        document.undoManager()->closeGroup();

        auto newValues = a->copy();
        newValues->setTheWholeDate(kNow.addingSeconds(3600));
        newValues->setPulse(QVariant(qlonglong(66)));
        newValues->setWeight(QVariant());
        newValues->setComments(QStringLiteral("after"));
        document.updateMeasurement(a, newValues);
        QCOMPARE(ids(document.allItems()), ids({b, c, a}));
        QCOMPARE(ids(document.items()), ids(document.allItems()));
        QCOMPARE(a->Pulse(), QVariant(qlonglong(66)));
        QVERIFY(!a->Weight().isValid());

        document.undoManager()->undo();
        QCOMPARE(ids(document.allItems()), ids({a, b, c}));
        QCOMPARE(ids(document.items()), ids(document.allItems()));
        QVERIFY(!a->Pulse().isValid());
        QCOMPARE(a->Weight(), QVariant(70.5));
        QVERIFY(a->Comments().isNull());
        QCOMPARE(a->theWholeDate(), kNow.addingSeconds(-7200));

        document.undoManager()->redo();
        QCOMPARE(document.allItems().last(), a);
        QCOMPARE(a->Comments(), QStringLiteral("after"));
    }

    void editAnnouncesChangeMoveOrRemoval()
    {
        auto document = documentFilteringAbove130();
        const auto a = reading(-2, 140), b = reading(-1, 150), c = reading(0, 160);
        document->addMeasurements({a, b, c});
        QSignalSpy changed(document.get(), &MyDocument::rowsChanged);
        QSignalSpy moved(document.get(), &MyDocument::rowMoved);
        QSignalSpy removed(document.get(), &MyDocument::rowsRemoved);

        // Same row: a change in place.
        auto values = b->copy();
        values->setSystolic(QVariant(qlonglong(155)));
        document->updateMeasurement(b, values);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0][1].toInt(), 1);
        QCOMPARE(moved.size(), 0);

        // New instant after c: a move from row 0 to row 2.
        values = a->copy();
        values->setTheWholeDate(kNow.addingSeconds(600));
        document->updateMeasurement(a, values);
        QCOMPARE(moved.size(), 1);
        QCOMPARE(moved[0][1].toInt(), 0);
        QCOMPARE(moved[0][2].toInt(), 2);
        QCOMPARE(ids(document->items()), ids({b, c, a}));

        // No longer passing: it leaves the filtered list, the counter says one less.
        values = c->copy();
        values->setSystolic(QVariant(qlonglong(120)));
        document->updateMeasurement(c, values);
        QCOMPARE(removed.size(), 1);
        QCOMPARE(ids(document->items()), ids({b, a}));
        QCOMPARE(document->filteredCounter(), FilteredCounter(2, 3));

        // A reading the document does not hold is refused.
        QTest::ignoreMessage(QtWarningMsg,
                             "attempt to edit reading that is absent in the main list");
        const auto stranger = reading(5, 170);
        document->updateMeasurement(stranger, reading(6, 171));
        QCOMPARE(document->allItems().size(), 3);
    }

    void replaceWithAverageUndoRedoSameObjects()
    {
        MyDocument document;
        const auto a = reading(-2, 120, 80, {QStringLiteral("a")}),
                   b = reading(-1, 130, 90, {QStringLiteral("b")}), other = reading(3, 110);
        document.addMeasurements({a, b, other});
        document.undoManager()->closeGroup();

        const ConstMeasurementPtr average = document.replaceWithAverage({a, b});
        QVERIFY(average);
        QCOMPARE(average->Systolic(), QVariant(qlonglong(125)));
        QCOMPARE(ids(document.allItems()), ids({average, other}));
        QCOMPARE(ids(document.items()), ids(document.allItems()));
        QCOMPARE(document.tags(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));

        document.undoManager()->undo();
        QCOMPARE(ids(document.allItems()), ids({a, b, other}));
        QCOMPARE(tagCounts(document), (QMap<QString, int>{{"a", 1}, {"b", 1}}));
        document.undoManager()->redo();
        QCOMPARE(ids(document.allItems()), ids({average, other}));
        QCOMPARE(ids(document.items()), ids(document.allItems()));

        // Fewer than two readings of the document: nothing.
        QVERIFY(!document.replaceWithAverage({other}));
        QCOMPARE(document.allItems().size(), 2);
    }

    void batchesGiveTheOrderOfOneByOne()
    {
        // Readings on twelve instants, so that most share theirs with others.
        const auto make = [](int count, int salt) {
            MeasurementList list;
            for (int i = 0; i < count; ++i)
                list.append(reading((i * 7 + salt) % 12, 110 + (i * 13 + salt) % 50, 80,
                                    {QStringLiteral("t%1").arg(i % 3)}));
            return list;
        };
        const auto oneByOne = [](ConstMeasurementList list, const MeasurementList &added) {
            for (const MeasurementPtr &r : added)
                list.insert(MyDocument::positionForMeasurement(*r, list), r);
            return list;
        };
        const auto passing = [](const ConstMeasurementList &list) {
            ConstMeasurementList result;
            for (const ConstMeasurementPtr &r : list) {
                if (r->Systolic().toInt() > 130)
                    result.append(r);
            }
            return result;
        };
        auto document = documentFilteringAbove130();
        const MeasurementList first = make(10, 1), second = make(50, 5);
        QVERIFY(second.size() >= MyDocument::kBatchSize);
        document->addMeasurements(first);
        document->undoManager()->closeGroup();
        QSignalSpy reset(document.get(), &MyDocument::listReset);
        QSignalSpy inserted(document.get(), &MyDocument::rowsInserted);
        document->addMeasurements(second);
        document->undoManager()->closeGroup();
        const ConstMeasurementList expected = oneByOne(oneByOne({}, first), second);
        QCOMPARE(ids(document->allItems()), ids(expected));
        QCOMPARE(ids(document->items()), ids(passing(expected)));
        QCOMPARE(reset.size(), 1);
        QCOMPARE(inserted.size(), 0);
        QCOMPARE(tagCounts(*document), (QMap<QString, int>{{"t0", 21}, {"t1", 20}, {"t2", 19}}));

        // Deleting a batch, with readings from both calls and one the document does not hold.
        ConstMeasurementList doomed = constReadings(second.mid(0, 40) + first.mid(0, 5));
        doomed.append(reading(1, 150));
        QTest::ignoreMessage(QtWarningMsg,
                             "attempt to delete reading that it absent in the main list!");
        document->deleteMeasurements(doomed);
        document->undoManager()->closeGroup();
        ConstMeasurementList left = expected;
        for (const ConstMeasurementPtr &r : std::as_const(doomed))
            left.removeAll(r);
        QCOMPARE(ids(document->allItems()), ids(left));
        QCOMPARE(ids(document->items()), ids(passing(left)));
        QCOMPARE(document->filteredCounter(),
                 FilteredCounter(qint32(passing(left).size()), qint32(left.size())));
        QCOMPARE(tagCounts(*document).value(QStringLiteral("t0")), 5);

        // Undo puts back every reading (the batch path again) and every tag.
        document->undoManager()->undo();
        QCOMPARE(document->allItems().size(), 60);
        QCOMPARE(tagCounts(*document), (QMap<QString, int>{{"t0", 21}, {"t1", 20}, {"t2", 19}}));
        QCOMPARE(ids(document->items()), ids(passing(document->allItems())));
    }

    void lastEditedReading()
    {
        MyDocument document;
        const auto entered = reading(0, 120);
        document.onMeasurementChangedFrom(nullptr, entered);
        QCOMPARE(document.allItems().first(), entered); // the very object joins the document
        const ConstMeasurementPtr last = document.lastEditedMeasurement();
        QVERIFY(last && last != entered);
        QCOMPARE(last->Systolic(), entered->Systolic());
        document.undoManager()->closeGroup();

        document.deleteMeasurements({entered});
        document.undoManager()->closeGroup();
        document.undoManager()->undo(); // adds it back, but not through the editor
        QCOMPARE(document.lastEditedMeasurement(), last);

        auto values = entered->copy();
        values->setSystolic(QVariant(qlonglong(133)));
        document.onMeasurementChangedFrom(entered, values);
        QCOMPARE(entered->Systolic(), QVariant(qlonglong(133)));
        QVERIFY(document.lastEditedMeasurement() != entered);
        QCOMPARE(document.lastEditedMeasurement()->Systolic(), QVariant(qlonglong(133)));
        QCOMPARE(document.allItems().size(), 1);
    }

    void actionNamesSetOnDoingAndRedoing_data()
    {
        QTest::addColumn<std::function<void(MyDocument &)>>("operation");
        QTest::addColumn<QString>("key");
        using Op = std::function<void(MyDocument &)>;
        QTest::newRow("add") << Op([](MyDocument &d) { d.addMeasurements({reading(5, 140)}); })
                             << "doc.ins_record";
        QTest::newRow("delete") << Op([](MyDocument &d) {
            d.deleteMeasurements({d.allItems().first()});
        }) << "doc.del_record";
        QTest::newRow("edit") << Op([](MyDocument &d) {
            d.updateMeasurement(d.allItems().first(), reading(7, 150));
        }) << "doc.edit_record";
        QTest::newRow("average") << Op([](MyDocument &d) { d.replaceWithAverage(d.allItems()); })
                                 << "doc.replace_with_average";
        QTest::newRow("add filter") << Op([](MyDocument &d) { d.addFilter(); }) << "doc.ins_filter";
        QTest::newRow("remove filter")
            << Op([](MyDocument &d) { d.removeFilterAtIndex(1); }) << "doc.del_filter";
        QTest::newRow("rename filter")
            << Op([](MyDocument &d) { d.filters()[2]->setName(QStringLiteral("Renamed")); })
            << "doc.rename_filter";
        QTest::newRow("filter predicate")
            << Op([](MyDocument &d) { d.filters()[0]->setPredicate(predicate("Systolic > 125")); })
            << "doc.change_filter";
        QTest::newRow("filter flag")
            << Op([](MyDocument &d) { d.filters()[1]->setUseInFilters(false); })
            << "doc.change_filter";
        QTest::newRow("information list") << Op([](MyDocument &d) {
            d.setInformation(d.information() + InformationList{InformationItem::newItem()});
        }) << "doc.information.list_changed";
        QTest::newRow("information item")
            << Op([](MyDocument &d) { d.information().first()->setValue(QStringLiteral("v")); })
            << "doc.information.item_changed";
    }

    void actionNamesSetOnDoingAndRedoing()
    {
        QFETCH(std::function<void(MyDocument &)>, operation);
        QFETCH(QString, key);
        MyDocument document;
        UndoManager *undo = document.undoManager();
        document.addMeasurements({reading(0, 120), reading(1, 130)});
        document.setInformation({InformationItem::newItem()});
        undo->removeAllActions();

        const QString text = qtTrId(key.toLatin1().constData());
        QVERIFY2(text != key, "the key has no English text");
        operation(document);
        undo->closeGroup();
        QCOMPARE(undo->undoActionName(), text);
        undo->undo();
        QVERIFY(!undo->canUndo());
        QCOMPARE(undo->redoActionName(), text); // not renamed by the inverse while undoing
        undo->redo();
        QCOMPARE(undo->undoActionName(), text);
        undo->undo();
        QCOMPARE(undo->redoActionName(), text);
    }

    void setAllMeasurementsSortsAndCounts()
    {
        auto document = documentFilteringAbove130();
        const auto a = reading(3, 140, 80, {QStringLiteral("t")}),
                   b = reading(1, 120, 80, {QStringLiteral("t")}), c = reading(2, 150);
        document->undoManager()->disableUndoRegistration();
        document->setAllMeasurements({a, b, c, a, nullptr});
        document->undoManager()->enableUndoRegistration();
        QCOMPARE(ids(document->allItems()), ids({b, c, a}));
        QCOMPARE(ids(document->items()), ids({c, a}));
        QCOMPARE(tagCounts(*document), (QMap<QString, int>{{"t", 2}}));
        QCOMPARE(document->lastEditedMeasurement()->theWholeDate(), a->theWholeDate());
        QCOMPARE(document->filteredCounter(), FilteredCounter(2, 3));
        QVERIFY(!document->undoManager()->canUndo());

        // Loading again replaces, it does not count tags twice.
        document->setAllMeasurements({a, b, c});
        QCOMPARE(tagCounts(*document), (QMap<QString, int>{{"t", 2}}));

        // Many readings at one instant, each given twice and out of order: the first of each
        // stays, in the order given.
        MeasurementList same;
        for (int i = 0; i < 40; ++i)
            same.append(reading(5, 100 + i));
        MeasurementList given = {same[39], c};
        given += same;
        given += {same[0], same[20], b};
        document->setAllMeasurements(given);
        ConstMeasurementList expected = {b, c, same[39]};
        expected += constReadings(same.mid(0, 39));
        QCOMPARE(ids(document->allItems()), ids(expected));
    }

    void replacingEverythingWithRecordingOff()
    {
        // What reading a file does: nothing of it can be undone, and the document stays clean.
        MyDocument document;
        const FilterPtr stockSelected = document.filter();
        const FilterPtr high = Filter::filterWithName(QStringLiteral("high"));
        high->setPredicate(predicate("Systolic > 130"));
        const FilterPtr hidden = Filter::filterWithName(QStringLiteral("hidden"));
        hidden->setUseInFilters(QVariant());
        hidden->setUseInAverages(false);
        UndoManager *undo = document.undoManager();
        undo->disableUndoRegistration();
        document.setAllMeasurements({reading(0, 120), reading(1, 140)});
        document.setFilters({high, hidden});
        QCOMPARE(document.filter(), stockSelected); // kept although no longer among the filters
        document.setFilter(high);
        document.setInformation({InformationItem::fromDictionary(
            {{QStringLiteral("name"), QStringLiteral("Doctor")}, {QStringLiteral("extra"), 1}})});
        document.setSortItemsAscending(true);
        document.setPrintInfo({{QStringLiteral("NSOrientation"), 1}});
        undo->enableUndoRegistration();
        QVERIFY(!undo->canUndo());
        QVERIFY(undo->isClean());
        QCOMPARE(ids(document.filters()), ids(FilterList{high, hidden}));
        QCOMPARE(ids(document.visibleFilters()), ids(FilterList{high}));
        QCOMPARE(averageFilters(document), ids(FilterList{high}));
        QCOMPARE(document.items().size(), 1);
        QCOMPARE(document.filteredCounter(), FilteredCounter(1, 2));
        QCOMPARE(document.information().first()->valueForKey(QStringLiteral("extra")), QVariant(1));
        QVERIFY(!document.information().first()->isPrinted()); // absent counts as false
        QCOMPARE(document.printInfo().value(QStringLiteral("NSOrientation")), QVariant(1));
        // The loaded items are observed like any others.
        document.information().first()->setName(QStringLiteral("Dentist"));
        QCOMPARE(undo->undoActionName(), qtTrId("doc.information.item_changed"));
    }

    void addedFilterUndoRedo()
    {
        MyDocument document;
        const FilterPtr added = document.addFilter();
        QCOMPARE(document.filters().size(), 4);
        QCOMPARE(document.filters().last(), added);
        QCOMPARE(document.visibleFilters().last(), added);
        QCOMPARE(averageFilters(document).last(), added.get());
        QCOMPARE(added->name(), qtTrId("filter.name_untitled"));
        document.undoManager()->closeGroup();
        // Absent flags take it out of both lists; undo brings back the absence, not false.
        added->setUseInAverages(QVariant());
        added->setUseInFilters(QVariant());
        document.undoManager()->closeGroup();
        QCOMPARE(document.visibleFilters().size(), 3);
        QCOMPARE(document.averages().size(), 3);
        added->setUseInFilters(true);
        document.undoManager()->closeGroup();
        QCOMPARE(document.visibleFilters().last(), added);
        document.undoManager()->undo();
        QVERIFY(!added->useInFilters().isValid());
        QCOMPARE(document.visibleFilters().size(), 3);
        // Once removed, its edits no longer reach the document.
        document.removeFilter(added);
        document.undoManager()->closeGroup();
        added->setName(QStringLiteral("gone"));
        QCOMPARE(document.undoManager()->undoActionName(), qtTrId("doc.del_filter"));
    }

    void renamingTellsEveryList()
    {
        MyDocument document;
        const FilterPtr f = document.filters()[1];
        QSignalSpy changed(&document, &MyDocument::rowsChanged);
        f->setName(QStringLiteral("Fortnight"));
        // The row of the filter in each of the three lists is told.
        QCOMPARE(changed.size(), 3);
    }

    void predicateOfSelectedFilterRebuilds()
    {
        MyDocument document;
        document.addMeasurements({reading(0, 120), reading(1, 140)});
        document.undoManager()->closeGroup();
        const FilterPtr selected = document.filter(), other = document.filters()[2];
        QSignalSpy reset(&document, &MyDocument::listReset);
        other->setPredicate(predicate("Systolic > 130"));
        document.undoManager()->closeGroup();
        QCOMPARE(reset.size(), 0);
        QCOMPARE(document.items().size(), 2);
        selected->setPredicate(predicate("Systolic > 130"));
        QCOMPARE(reset.size(), 1);
        QCOMPARE(document.items().size(), 1);
        QCOMPARE(document.filteredCounter(), FilteredCounter(1, 2));
        document.undoManager()->closeGroup();
        document.undoManager()->undo();
        QCOMPARE(document.items().size(), 2);
        // None lets everything through.
        selected->setPredicate(nullptr);
        QCOMPARE(document.items().size(), 2);
        // Through the property, as the window's filter chooser sets it.
        QSignalSpy selections(&document, &MyDocument::filterChanged);
        QVERIFY(document.setProperty("filter", QVariant::fromValue(other)));
        QCOMPARE(document.filter(), other);
        QCOMPARE(document.property("filter").value<FilterPtr>(), other);
        QCOMPARE(selections.size(), 1);
        QCOMPARE(document.items().size(), 1);
        document.setFilter(nullptr);
        QCOMPARE(document.items().size(), 2);
    }

    void removedSelectedFilterStaysSelected()
    {
        MyDocument document;
        document.addMeasurements({reading(0, 120), reading(1, 140)});
        document.addFilter();
        const FilterPtr f = document.filters()[3];
        f->setPredicate(predicate("Systolic > 130"));
        document.setFilter(f);
        QCOMPARE(document.items().size(), 1);
        document.undoManager()->closeGroup();
        document.removeFilterAtIndex(3);
        QCOMPARE(document.filter(), f);
        QCOMPARE(document.items().size(), 1);
        QVERIFY(!document.visibleFilters().contains(f));
        // Still observed as the selected filter: its predicate keeps deciding the list.
        f->setPredicate(predicate("Systolic > 100"));
        QCOMPARE(document.items().size(), 2);
        f->setPredicate(predicate("Systolic > 130"));
        document.undoManager()->closeGroup();
        document.undoManager()->undo();
        QCOMPARE(document.filters()[3], f);
        QCOMPARE(document.visibleFilters()[3], f);
        QCOMPARE(document.items().size(), 1);
    }

    void brokenRulesAssert_data()
    {
        QTest::addColumn<QString>("description"); // the scenario is the row's name
        QTest::newRow("visible") << QStringLiteral("bad filter");
        QTest::newRow("averages") << QStringLiteral("bad filter");
        QTest::newRow("print") << QStringLiteral("window controllers don't support printing");
    }

    void brokenRulesAssert()
    {
        const QString scenario = QString::fromLatin1(QTest::currentDataTag());
        QFETCH(QString, description);
#ifdef QT_NO_DEBUG
        // Without assertions the operation refuses and leaves everything as it was.
        MyDocument document;
        const auto visible = ids(document.visibleFilters());
        const auto averages = averageFilters(document);
        QVERIFY(!runBrokenRule(scenario, document) || scenario != QLatin1String("print"));
        QCOMPARE(ids(document.visibleFilters()), visible);
        QCOMPARE(averageFilters(document), averages);
#else
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TST_DOCUMENT_BROKEN_RULE"), scenario);
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        const QString output = QString::fromLocal8Bit(child.readAllStandardError());
        QVERIFY2(output.contains(QLatin1String("src/MyDocument")), qPrintable(output));
        QVERIFY2(output.contains(description), qPrintable(output));
#endif
    }

    void printingAsksTheFirstControllerThatCan()
    {
        MyDocument document;
        QObject cannot;
        NamedLikeAPrinter namedOnly;
        PrintingController can, second;
        document.addWindowController(&cannot);
        document.addWindowController(&namedOnly);
        document.addWindowController(&can);
        document.addWindowController(&second);
        QVERIFY(document.printShowingPrintPanel(false));
        QVERIFY(document.printShowingPrintPanel(true));
        // Asked through the printing interface, never by a method's name; only the first.
        QCOMPARE(namedOnly.nPrinted, 0);
        QCOMPARE(can.printed, (QList<bool>{false, true}));
        QVERIFY(second.printed.isEmpty());
    }

    void tagCacheCountsOccurrences()
    {
        // How deletions, undo and edits change the counts is checked against a recount after
        // every step of tst_document_model; here the list of tags and a tag given twice.
        MyDocument document;
        document.addMeasurements({reading(0, 120, 80, {QStringLiteral("a"), QStringLiteral("b")}),
                                  reading(1, 120, 80, {QStringLiteral("b")}),
                                  reading(2, 120, 80, {QStringLiteral("x"), QStringLiteral("x")}),
                                  reading(3, 120)});
        QCOMPARE(document.tags(),
                 (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("x")}));
        QCOMPARE(tagCounts(document), (QMap<QString, int>{{"a", 1}, {"b", 2}, {"x", 2}}));

        // Sorted by plain comparison: capitals first.
        document.addMeasurements({reading(4, 120, 80, {QStringLiteral("Z")})});
        QCOMPARE(document.tags().first(), QStringLiteral("Z"));
    }

    void readingChangesInvalidateEveryAverage()
    {
        auto document = std::make_unique<MyDocument>();
        document->setFilter(document->filters()[2]);
        document->filter()->setPredicate(predicate("Systolic > 130"));
        const auto r = reading(0, 120);
        document->addMeasurements({r});
        QVERIFY(document->averages()[0]->item(QStringLiteral("Systolic"))->isValid());
        QVERIFY(!document->averages()[2]->item(QStringLiteral("Systolic"))->isValid());
        for (const AveragePtr &a : document->averages()) {
            a->item(QStringLiteral("Systolic"))->isValid();
            QVERIFY(!a->item(QStringLiteral("Systolic"))->isDirty());
        }
        QSignalSpy invalidated(document.get(), &MyDocument::averagesInvalidated);
        // Not passing the selected filter, and still every average is invalidated.
        document->addMeasurements({reading(1, 100)});
        QCOMPARE(invalidated.size(), 1);
        for (const AveragePtr &a : document->averages())
            QVERIFY(a->item(QStringLiteral("Systolic"))->isDirty());
        QCOMPARE(document->averages()[0]->item(QStringLiteral("Systolic"))->average(), 110.0);
        auto values = r->copy();
        values->setSystolic(QVariant(qlonglong(140)));
        document->updateMeasurement(r, values);
        QCOMPARE(document->averages()[0]->item(QStringLiteral("Systolic"))->average(), 120.0);
        document->deleteMeasurements({r});
        QCOMPARE(document->averages()[0]->item(QStringLiteral("Systolic"))->average(), 100.0);
        // Selecting another filter does not.
        invalidated.clear();
        document->setFilter(document->filters()[1]);
        QCOMPARE(invalidated.size(), 0);
    }

    void averagesRowAnnouncedWithNewFigures()
    {
        // A view reads the averages row when it is told of it: the figures must be the new ones.
        MyDocument document;
        document.addMeasurements({reading(0, 120), reading(1, 140), reading(2, 160)});
        const FilterPtr filter = document.filters()[0];
        filter->setPredicate(predicate("Systolic > 0"));
        const AveragePtr average = document.averages().value(0);
        QVERIFY(average && average->filter() == filter);
        QCOMPARE(average->item(QStringLiteral("Systolic"))->average(), 140.0);

        QList<double> seen;
        connect(&document, &MyDocument::rowsChanged, this, [&](L list, int first, int last) {
            if (list != L::Averages)
                return;
            for (int row = first; row <= last; ++row)
                seen.append(document.averages()[row]->item(QStringLiteral("Systolic"))->average());
        });
        filter->setPredicate(predicate("Systolic > 130"));
        QCOMPARE(seen, QList<double>{150.0});
        seen.clear();
        document.undoManager()->closeGroup();
        document.undoManager()->undo();
        QCOMPARE(seen, QList<double>{140.0});
    }

    void settingsChangesAreAnnounced()
    {
        // Sort order and print settings are announced, also when a revert (reading the file
        // again) changes them behind the window's back; the new state is there at the signal.
        MyDocument saved;
        QVariantMap printInfo;
        printInfo.insert(QStringLiteral("NSOrientation"), qlonglong(1));
        saved.setPrintInfo(printInfo);
        saved.setSortItemsAscending(true);
        saved.addMeasurements({reading(0, 120)});
        const QByteArray file = saved.dataOfType(QString());
        QVERIFY(!file.isEmpty());

        MyDocument document;
        QList<bool> sortSeen;
        QList<QVariantMap> printSeen;
        connect(&document, &MyDocument::sortItemsAscendingChanged, this, [&](bool ascending) {
            QCOMPARE(document.sortItemsAscending(), ascending);
            sortSeen.append(document.sortItemsAscending());
        });
        connect(&document, &MyDocument::printInfoChanged, this, [&](const QVariantMap &info) {
            QCOMPARE(document.printInfo(), info);
            printSeen.append(document.printInfo());
        });
        QVERIFY(document.readFromData(file, QString()));
        QCOMPARE(sortSeen, QList<bool>{true});
        QCOMPARE(printSeen.size(), 1);
        QCOMPARE(printSeen[0].value(QStringLiteral("NSOrientation")).toLongLong(), 1);

        // The window's own changes; setting what is already there tells nothing.
        document.setSortItemsAscending(false);
        document.setSortItemsAscending(false);
        QCOMPARE(sortSeen, (QList<bool>{true, false}));
        document.setPrintInfo(document.printInfo());
        QCOMPARE(printSeen.size(), 1);
        document.setPrintInfo({});
        QCOMPARE(printSeen.size(), 2);

        // The revert brings the saved settings back, and says so.
        QVERIFY(document.readFromData(file, QString()));
        QCOMPARE(sortSeen, (QList<bool>{true, false, true}));
        QCOMPARE(printSeen.size(), 3);
        QCOMPARE(printSeen[2].value(QStringLiteral("NSOrientation")).toLongLong(), 1);
    }

    void informationListAndItemUndo()
    {
        MyDocument document;
        UndoManager *undo = document.undoManager();
        const InformationItemPtr first = InformationItem::newItem();
        document.setInformation({first});
        undo->closeGroup();
        first->setName(QStringLiteral("Doctor"));
        undo->closeGroup();
        QCOMPARE(undo->undoActionName(), qtTrId("doc.information.item_changed"));
        undo->undo();
        QCOMPARE(first->name(), qtTrId("doc.information.new_item.label"));
        QCOMPARE(undo->undoActionName(), qtTrId("doc.information.list_changed"));
        undo->undo();
        QVERIFY(document.information().isEmpty());
        QVERIFY(!undo->canUndo());
        undo->redo();
        undo->redo();
        QCOMPARE(document.information().first(), first);
        QCOMPARE(first->name(), QStringLiteral("Doctor"));

        // A removed key comes back on undo, and a key that was absent goes again.
        first->setValueForKey(QVariant(), InformationItem::kPrinted);
        undo->closeGroup();
        undo->undo();
        QCOMPARE(first->valueForKey(InformationItem::kPrinted), QVariant(true));

        // Items no longer in the list are not observed.
        document.setInformation({});
        undo->closeGroup();
        first->setName(QStringLiteral("ignored"));
        QVERIFY(!undo->hasOpenGroup());

        // The same list again records nothing.
        document.setInformation({});
        QVERIFY(!undo->hasOpenGroup());
    }

    void informationItemsHaveIdentity()
    {
        MyDocument document;
        const InformationItemPtr one = InformationItem::newItem(), two = InformationItem::newItem();
        document.setInformation({one, two});
        document.undoManager()->closeGroup();
        QSignalSpy changed(&document, &MyDocument::rowsChanged);
        two->setValue(QStringLiteral("second"));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0][1].toInt(), 1);
        QCOMPARE(one->value(), qtTrId("doc.information.new_item.descr"));
        document.undoManager()->closeGroup();
        document.undoManager()->undo();
        QCOMPARE(two->value(), qtTrId("doc.information.new_item.descr"));
        QCOMPARE(document.information().size(), 2);

        // Moving an item announces just the rows between the unchanged head and tail.
        const InformationItemPtr three = InformationItem::newItem();
        document.setInformation({one, two, three});
        QSignalSpy removed(&document, &MyDocument::rowsRemoved);
        QSignalSpy inserted(&document, &MyDocument::rowsInserted);
        document.setInformation({two, one, three});
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed[0][1].toInt(), 0);
        QCOMPARE(removed[0][2].toInt(), 1);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted[0][2].toInt(), 1);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TestSupport::setUpEnvironment();
    const QString brokenRule = qEnvironmentVariable("TST_DOCUMENT_BROKEN_RULE");
    if (!brokenRule.isEmpty()) {
        MyDocument document;
        runBrokenRule(brokenRule, document);
        return 0;
    }
    TestDocument test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_document.moc"
