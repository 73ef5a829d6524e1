// Random operations on a document, checked against the document's invariants and through item
// models on its lists after every step, then undone to the start and redone to the end.

#include "MyDocument.h"
#include "TestMain.h"
#include "UndoManager.h"
#include "document_mirror.h"

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

using L = MyDocument::List;

const Date kNow = Date::fromTimeIntervalSince1970(1710504000.0);

// What a document holds, by identity and by value; the selected filter is not part of it
// (selecting is not undoable).
struct Snapshot
{
    QList<const void *> main, filtered, filters, visible, averages, information;
    QList<QVariantList> readingValues;
    QList<QVariantList> filterValues;
    QList<QVariantMap> informationValues;
    QMap<QString, int> tags;
    FilteredCounter counter;

    bool operator==(const Snapshot &o) const { return differenceFrom(o).isEmpty(); }

    // The first difference, for the failure message.
    QString differenceFrom(const Snapshot &o) const
    {
        const std::pair<bool, const char *> parts[] = {
            {sameRows(main, o.main), "main list"},
            {readingValues == o.readingValues, "reading values"},
            {sameRows(filtered, o.filtered), "filtered list"},
            {sameRows(filters, o.filters), "filters"},
            {filterValues == o.filterValues, "filter values"},
            {sameRows(visible, o.visible), "visible filters"},
            {sameRows(averages, o.averages), "averages"},
            {sameRows(information, o.information), "information list"},
            {informationValues == o.informationValues, "information values"},
            {tags == o.tags, "tag cache"},
            {counter == o.counter, "counter"}};
        for (const auto &[same, what] : parts) {
            if (!same)
                return QString::fromLatin1(what);
        }
        return {};
    }
};

QVariantList valuesOf(const Measurement &r)
{
    QVariantList values{r.theWholeDate().timeIntervalSinceReferenceDate()};
    for (const char *key : {"Systolic", "Diastolic", "Pulse", "Weight", "Comments", "Tags",
                            "customValue1", "customValue2", "customValue3"})
        values.append(r.valueForKey(QString::fromLatin1(key)));
    return values;
}

// The readings in order of instant; among readings of the same instant (whose order depends on
// the history of placements, which undo does not replay exactly) by address.
ConstMeasurementList canonical(ConstMeasurementList list)
{
    std::stable_sort(list.begin(), list.end(),
                     [](const ConstMeasurementPtr &a, const ConstMeasurementPtr &b) {
                         if (a->theWholeDate() != b->theWholeDate())
                             return a->theWholeDate() < b->theWholeDate();
                         return std::less<const Measurement *>()(a.get(), b.get());
                     });
    return list;
}

QMap<QString, int> tagCounts(const MyDocument &d)
{
    QMap<QString, int> counts;
    for (auto it = d.tagsCache().cbegin(); it != d.tagsCache().cend(); ++it)
        counts.insert(it.key(), it->count());
    return counts;
}

Snapshot snapshot(const MyDocument &d)
{
    Snapshot s;
    for (const ConstMeasurementPtr &r : canonical(d.allItems())) {
        s.main.append(r.get());
        s.readingValues.append(valuesOf(*r));
    }
    for (const ConstMeasurementPtr &r : canonical(d.items()))
        s.filtered.append(r.get());
    for (const FilterPtr &f : d.filters()) {
        s.filters.append(f.get());
        s.filterValues.append({f->name(), QVariant::fromValue(quintptr(f->predicate().get())),
                               f->useInFilters(), f->useInAverages()});
    }
    s.visible = documentRows(d, L::VisibleFilters);
    for (const AveragePtr &a : d.averages())
        s.averages.append(a->filter().get()); // averages are made anew; their filters stay
    for (const InformationItemPtr &item : d.information()) {
        s.information.append(item.get());
        s.informationValues.append(item->dictionary());
    }
    s.tags = tagCounts(d);
    s.counter = d.filteredCounter();
    return s;
}

bool passes(const Filter *filter, const Measurement &r)
{
    if (!filter || !filter->predicate())
        return true;
    try {
        return filter->predicate()->evaluateWithObject(r);
    } catch (const PredicateEvaluationError &) {
        return false;
    }
}

// Every invariant of the document; the first one broken, or an empty string.
QString brokenInvariant(const MyDocument &d, const QList<std::shared_ptr<ListMirror>> &mirrors)
{
    const ConstMeasurementList &main = d.allItems();
    for (qsizetype i = 1; i < main.size(); ++i) {
        if (main[i - 1]->theWholeDate() > main[i]->theWholeDate())
            return u"main list out of order at %1"_s.arg(i);
    }
    QList<const void *> expectedFiltered;
    for (const ConstMeasurementPtr &r : main) {
        if (passes(d.filter().get(), *r))
            expectedFiltered.append(r.get());
    }
    if (!sameRows(documentRows(d, L::Items), expectedFiltered))
        return QStringLiteral("filtered list differs from the main list under the selected "
                              "filter");
    if (!(d.filteredCounter() == FilteredCounter(qint32(d.items().size()), qint32(main.size()))))
        return u"counter"_s;

    QMap<QString, int> tags;
    for (const ConstMeasurementPtr &r : main) {
        const QStringList readingTags = r->Tags();
        for (const QString &tag : readingTags)
            ++tags[tag];
    }
    if (tags != tagCounts(d))
        return u"tag cache differs from a recount"_s;

    QList<const void *> visible, averaged;
    for (const FilterPtr &f : d.filters()) {
        if (f->isUsedInFilters())
            visible.append(f.get());
        if (f->isUsedInAverages())
            averaged.append(f.get());
    }
    if (!sameRows(documentRows(d, L::VisibleFilters), visible))
        return u"visible filters differ from the flagged filters"_s;
    QList<const void *> averageFilters;
    for (const AveragePtr &a : d.averages())
        averageFilters.append(a->filter().get());
    if (!sameRows(averageFilters, averaged))
        return u"averages differ from the flagged filters"_s;
    // An average not invalidated after a change would still hold its old readings.
    for (const AveragePtr &a : d.averages()) {
        QList<const void *> expected, actual;
        for (const ConstMeasurementPtr &r : main) {
            if (passes(a->filter().get(), *r))
                expected.append(r.get());
        }
        for (const ConstMeasurementPtr &r : a->measurements())
            actual.append(r.get());
        if (!sameRows(actual, expected))
            return u"average of \"%1\" holds stale readings"_s.arg(a->name());
    }
    for (const auto &mirror : mirrors) {
        if (!mirror->errors.isEmpty())
            return u"signals: "_s + mirror->errors.join(QLatin1String("; "));
        if (!mirror->inStep())
            return u"signals left a list out of step"_s;
    }
    return {};
}

class RandomSession
{
public:
    RandomSession(quint32 seed) : rng(seed)
    {
        for (L list : {L::Items, L::Filters, L::VisibleFilters, L::Averages, L::Information}) {
            mirrors.append(std::make_shared<ListMirror>(&document, list));
            models.append(std::make_shared<DocumentListModel>(&document, list));
            testers.append(std::make_shared<QAbstractItemModelTester>(
                models.last().get(), QAbstractItemModelTester::FailureReportingMode::QtTest));
        }
        // Comparisons, an absent pulse, tags, compounds, the stock relative dates, none.
        for (const char *format :
             {"Systolic > 120", "Systolic > 140", "Systolic < 130", "Diastolic > 85", "Pulse < 70",
              "Tags.@count > 1", "ANY Tags IN {'a', 'A'}", "Systolic > 120 AND NOT Pulse < 70",
              "Weight > 70 OR Diastolic < 70"}) {
            const PredicatePtr p = Predicate::predicateWithFormat(QString::fromLatin1(format));
            Q_ASSERT(p);
            predicates.append(p);
        }
        predicates += {Filter::filterLastWeek()->predicate(),
                       Filter::filterLastMonth()->predicate(), nullptr};
    }

    MyDocument document;
    QList<std::shared_ptr<ListMirror>> mirrors;
    // Item models driven by the same signals, checked by Qt's model tester.
    QList<std::shared_ptr<DocumentListModel>> models;
    QList<std::shared_ptr<QAbstractItemModelTester>> testers;
    QRandomGenerator rng;
    QList<PredicatePtr> predicates;
    QMap<QString, int> performed;
    int nUndoable = 0; // steps below the undo stack's index
    int nRedoable = 0;
    int nNames = 0;

    int below(int n) { return int(rng.bounded(quint32(n))); }
    bool chance(int percent) { return below(100) < percent; }

    MeasurementPtr randomReading()
    {
        // Six-hour slots over 40 days, so that equal instants are common.
        const Date date = kNow.addingSeconds(-double(below(160)) * 6 * 3600);
        auto r = Measurement::create(date, 100 + below(61), 60 + below(41));
        if (chance(50))
            r->setPulse(QVariant(qlonglong(50 + below(40))));
        if (chance(30))
            r->setWeight(QVariant(60.0 + below(300) / 10.0));
        if (chance(20))
            r->setComments(u"c%1"_s.arg(below(5)));
        const QStringList pool{u"a"_s, u"b"_s, u"c"_s, u"A"_s};
        if (chance(60)) {
            QStringList tags;
            for (int n = below(4); n > 0; --n)
                tags.append(pool[below(pool.size())]); // repeats allowed
            r->setTags(tags);
        }
        return r;
    }

    ConstMeasurementList someReadings(int atMost)
    {
        ConstMeasurementList chosen;
        const ConstMeasurementList &all = document.allItems();
        for (int n = 1 + below(atMost); n > 0 && !all.isEmpty(); --n) {
            const ConstMeasurementPtr r = all[below(int(all.size()))];
            if (!chosen.contains(r))
                chosen.append(r);
        }
        return chosen;
    }

    ConstMeasurementList distinctReadings(int count)
    {
        ConstMeasurementList all = document.allItems();
        for (qsizetype i = all.size() - 1; i > 0; --i)
            all.swapItemsAt(i, below(int(i) + 1));
        return all.mid(0, count);
    }

    static QVariant flagValue(int which)
    {
        return which == 0 ? QVariant(true) : which == 1 ? QVariant(false) : QVariant();
    }
    static int flagIndex(const QVariant &flag)
    {
        return !flag.isValid() ? 2 : flag.toBool() ? 0 : 1;
    }

    // Runs one random operation; returns its name, or an empty string when it could not run.
    // `records` tells whether it must leave one undo step.
    QString step(bool *records)
    {
        UndoManager *undo = document.undoManager();
        const FilterList &filters = document.filters();
        // Half of the undos are followed by redos straight away.
        const int roll = nRedoable > 0 && chance(50) ? 99 : below(100);
        *records = true;
        if (roll < 16) {
            if (document.allItems().size() > 150)
                return {}; // small documents keep the checks quick
            MeasurementList added;
            // Now and then more than a batch at once.
            const int count = chance(4) ? int(MyDocument::kBatchSize) + below(10) : 1 + below(3);
            for (int n = count; n > 0; --n)
                added.append(randomReading());
            if (added.size() == 1 && chance(50))
                document.onMeasurementChangedFrom(nullptr, added.first());
            else
                document.addMeasurements(added);
            return added.size() >= MyDocument::kBatchSize ? u"add batch"_s : u"add"_s;
        }
        if (roll < 24) {
            const ConstMeasurementList doomed =
                document.allItems().size() > 80 && chance(25)
                    ? distinctReadings(int(MyDocument::kBatchSize) + below(10))
                    : someReadings(3);
            if (doomed.isEmpty())
                return {};
            document.deleteMeasurements(doomed);
            return doomed.size() >= MyDocument::kBatchSize ? u"delete batch"_s : u"delete"_s;
        }
        if (roll < 36) {
            const ConstMeasurementList chosen = someReadings(1);
            if (chosen.isEmpty())
                return {};
            MeasurementPtr values = randomReading();
            if (chance(40))
                values->setTheWholeDate(chosen.first()->theWholeDate()); // keeps its row
            document.onMeasurementChangedFrom(chosen.first(), values);
            return u"edit"_s;
        }
        if (roll < 41) {
            const ConstMeasurementList chosen = someReadings(3);
            if (chosen.size() < 2)
                return {};
            if (!document.replaceWithAverage(chosen))
                return u"replace with average failed"_s;
            return u"replace with average"_s;
        }
        if (roll < 45) {
            if (filters.size() >= 8)
                return {};
            document.addFilter();
            return u"add filter"_s;
        }
        if (roll < 48) {
            if (filters.isEmpty())
                return {};
            document.removeFilterAtIndex(below(int(filters.size())));
            return u"remove filter"_s;
        }
        if (roll < 52) {
            if (filters.isEmpty())
                return {};
            filters[below(int(filters.size()))]->setName(u"F%1"_s.arg(++nNames));
            return u"rename filter"_s;
        }
        if (roll < 62) {
            if (filters.isEmpty())
                return {};
            const FilterPtr f = filters[below(int(filters.size()))];
            const bool averages = chance(50);
            const int current = flagIndex(averages ? f->useInAverages() : f->useInFilters());
            const QVariant value = flagValue((current + 1 + below(2)) % 3);
            if (averages)
                f->setUseInAverages(value);
            else
                f->setUseInFilters(value);
            return averages ? u"flip averages flag"_s : u"flip filters flag"_s;
        }
        if (roll < 70) {
            if (filters.isEmpty())
                return {};
            // The selected filter more often, so that rebuilds happen.
            const FilterPtr f = chance(50) && filters.contains(document.filter())
                                    ? document.filter()
                                    : filters[below(int(filters.size()))];
            PredicatePtr p;
            do
                p = predicates[below(int(predicates.size()))];
            while (Predicate::equal(p, f->predicate()));
            f->setPredicate(p);
            return u"change predicate"_s;
        }
        if (roll < 76) {
            *records = false;
            const int which = below(int(filters.size()) + 1);
            const FilterPtr f = which < filters.size() ? filters[which] : nullptr;
            if (f == document.filter())
                return {};
            document.setFilter(f);
            return u"select filter"_s;
        }
        if (roll < 82) {
            InformationList list = document.information();
            const int kind = below(3);
            if (kind == 0 || list.isEmpty()) {
                list.insert(below(int(list.size()) + 1), InformationItem::newItem());
            } else if (kind == 1) {
                list.removeAt(below(int(list.size())));
            } else {
                if (list.size() < 2)
                    return {};
                const int a = below(int(list.size())), b = below(int(list.size()));
                if (a == b)
                    return {};
                list.swapItemsAt(a, b);
            }
            document.setInformation(list);
            return u"change information list"_s;
        }
        if (roll < 88) {
            const InformationList &list = document.information();
            if (list.isEmpty())
                return {};
            const InformationItemPtr item = list[below(int(list.size()))];
            const int key = below(4);
            if (key == 0)
                item->setName(u"N%1"_s.arg(++nNames));
            else if (key == 1)
                item->setValue(u"V%1"_s.arg(++nNames));
            else if (key == 2)
                item->setPrinted(!item->isPrinted());
            else if (item->valueForKey(InformationItem::kValue).isValid())
                item->setValueForKey(QVariant(), InformationItem::kValue);
            else
                return {};
            return u"change information item"_s;
        }
        *records = false;
        // Undo and redo a few steps at a time, so that redo has something to do.
        if (roll < 93) {
            if (nUndoable == 0)
                return {};
            for (int n = 1 + below(3); n > 0 && nUndoable > 0; --n) {
                undo->undo();
                --nUndoable;
                ++nRedoable;
            }
            return u"undo"_s;
        }
        if (nRedoable == 0)
            return {};
        for (int n = 1 + below(3); n > 0 && nRedoable > 0; --n) {
            undo->redo();
            ++nUndoable;
            --nRedoable;
        }
        return u"redo"_s;
    }
};

} // namespace

class TestDocumentModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Date::setClock([] { return kNow; });
    }

    void randomOperations_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2u, 20240315u})
            QTest::addRow("seed %u", seed) << seed;
    }

    void randomOperations()
    {
        QFETCH(quint32, seed);
        constexpr int kSteps = 1000;
        RandomSession session(seed);
        MyDocument &document = session.document;
        UndoManager *undo = document.undoManager();
        const auto where = [seed](int step, const QString &op, const QString &what) {
            return u"seed %1, step %2 (%3): %4"_s.arg(seed).arg(step).arg(op, what);
        };

        const Snapshot start = snapshot(document);
        const FilterPtr startFilter = document.filter();
        for (int i = 0; i < kSteps; ++i) {
            bool records = false;
            const QString op = session.step(&records);
            if (op.isEmpty())
                continue;
            if (op.endsWith(QLatin1String("failed")))
                QFAIL(qPrintable(where(i, op, u"refused"_s)));
            if (records) {
                if (!undo->hasOpenGroup())
                    QFAIL(qPrintable(where(i, op, u"recorded no undo step"_s)));
                undo->closeGroup();
                ++session.nUndoable;
                session.nRedoable = 0;
            } else if (undo->hasOpenGroup()) {
                QFAIL(qPrintable(where(i, op, u"recorded an undo step"_s)));
            }
            ++session.performed[op];
            const QString broken = brokenInvariant(document, session.mirrors);
            if (!broken.isEmpty())
                QFAIL(qPrintable(where(i, op, broken)));
        }

        // Every kind of operation really ran, many times (batches a few times).
        for (const char *op :
             {"add", "delete", "edit", "replace with average", "add filter", "remove filter",
              "rename filter", "flip averages flag", "flip filters flag", "change predicate",
              "select filter", "change information list", "change information item", "undo", "redo",
              "add batch", "delete batch"}) {
            const int count = session.performed.value(QString::fromLatin1(op));
            const int least = QByteArray(op).endsWith("batch") ? 2 : 10;
            QVERIFY2(
                count >= least,
                qPrintable(
                    u"seed %1: \"%2\" ran %3 times"_s.arg(seed).arg(QLatin1String(op)).arg(count)));
        }
        QVERIFY2(document.allItems().size() > 10, qPrintable(QString::number(seed)));

        const Snapshot end = snapshot(document);
        const FilterPtr endFilter = document.filter();
        for (int i = session.nUndoable; i > 0; --i) {
            QVERIFY2(undo->canUndo(), qPrintable(where(i, "undo all", "too few steps")));
            undo->undo();
            const QString broken = brokenInvariant(document, session.mirrors);
            if (!broken.isEmpty())
                QFAIL(qPrintable(where(i, u"undo all"_s, broken)));
        }
        QVERIFY2(!undo->canUndo(), qPrintable(where(0, "undo all", "steps left over")));
        document.setFilter(startFilter);
        Snapshot now = snapshot(document);
        QVERIFY2(now == start, qPrintable(where(0, "undo all", now.differenceFrom(start))));

        for (int i = session.nUndoable; i > 0; --i) {
            undo->redo();
            const QString broken = brokenInvariant(document, session.mirrors);
            if (!broken.isEmpty())
                QFAIL(qPrintable(where(i, u"redo all"_s, broken)));
        }
        document.setFilter(endFilter);
        now = snapshot(document);
        QVERIFY2(now == end, qPrintable(where(0, "redo all", now.differenceFrom(end))));

        // The filters replaced at once, as a new document has them.
        document.setFilters(MyDocument::defaultFilters());
        const QString broken = brokenInvariant(document, session.mirrors);
        QVERIFY2(broken.isEmpty(), qPrintable(where(0, u"set filters"_s, broken)));
    }
};

TENSILO_TEST_MAIN(TestDocumentModel)

#include "tst_document_model.moc"
