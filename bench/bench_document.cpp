// Adding, deleting and editing one reading in documents of 10,000 and 100,000 readings, and
// rebuilding the filtered list of 100,000 readings after a filter change.
//
// "end": the reading is the newest (the usual case: a reading taken now). "middle": the reading
// stands in the middle of the list, so the list has to move half its elements.

#include "ComparisonPredicate.h"
#include "MyDocument.h"
#include "UndoManager.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const Date kStart = Date::fromTimeIntervalSince1970(1.5e9);

PredicatePtr systolicAbove(qlonglong value)
{
    return ComparisonPredicate::predicateWithLeftExpression(
        Expression::expressionForKeyPath(QStringLiteral("Systolic")),
        Expression::expressionForConstantValue(QVariant(value)),
        ComparisonPredicate::DirectPredicateModifier,
        ComparisonPredicate::GreaterThanPredicateOperatorType);
}

// A document of `count` readings, one every six hours, about a third of them tagged; the
// selected filter lets through about two thirds.
std::unique_ptr<MyDocument> makeDocument(qsizetype count)
{
    auto document = std::make_unique<MyDocument>();
    MeasurementList readings;
    readings.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        auto r = Measurement::create(kStart.addingSeconds(double(i) * 21600.0),
                                     qint32(100 + i % 60), qint32(60 + i % 40));
        if (i % 3 == 0)
            r->setTags({QStringLiteral("tag%1").arg(i % 7)});
        readings.append(r);
    }
    document->undoManager()->disableUndoRegistration();
    document->setAllMeasurements(readings);
    document->filter()->setPredicate(systolicAbove(120));
    document->undoManager()->enableUndoRegistration();
    return document;
}

Date instantFor(const MyDocument &document, bool atEnd)
{
    const ConstMeasurementList &all = document.allItems();
    return atEnd ? all.last()->theWholeDate().addingSeconds(60)
                 : all[all.size() / 2]->theWholeDate().addingSeconds(60);
}

// Keeps the undo stack from growing without bound; not timed.
void dropUndoSteps(MyDocument &document, benchmark::State &state)
{
    state.PauseTiming();
    document.undoManager()->closeGroup();
    document.undoManager()->removeAllActions();
    state.ResumeTiming();
}

void addReading(benchmark::State &state, bool atEnd)
{
    auto document = makeDocument(state.range(0));
    const Date when = instantFor(*document, atEnd);
    for (auto _ : state) {
        auto r = Measurement::create(when, 130, 85);
        r->setTags({QStringLiteral("tag1")});
        document->addMeasurements({r});
        state.PauseTiming();
        document->deleteMeasurements({r});
        document->undoManager()->closeGroup();
        document->undoManager()->removeAllActions();
        state.ResumeTiming();
    }
}

void deleteReading(benchmark::State &state, bool atEnd)
{
    auto document = makeDocument(state.range(0));
    const Date when = instantFor(*document, atEnd);
    for (auto _ : state) {
        state.PauseTiming();
        auto r = Measurement::create(when, 130, 85);
        r->setTags({QStringLiteral("tag1")});
        document->addMeasurements({r});
        state.ResumeTiming();
        document->deleteMeasurements({r});
        dropUndoSteps(*document, state);
    }
}

void editReading(benchmark::State &state, bool atEnd)
{
    auto document = makeDocument(state.range(0));
    const ConstMeasurementList &all = document->allItems();
    const ConstMeasurementPtr r = atEnd ? all.last() : all[all.size() / 2];
    // Two sets of values, one passing the selected filter and one not, with different tags.
    MeasurementPtr values[2] = {r->copy(), r->copy()};
    values[0]->setSystolic(QVariant(qlonglong(135)));
    values[0]->setTags({QStringLiteral("tag2")});
    values[1]->setSystolic(QVariant(qlonglong(110)));
    values[1]->setTags({QStringLiteral("tag3")});
    int n = 0;
    for (auto _ : state) {
        document->updateMeasurement(r, values[n++ & 1]);
        dropUndoSteps(*document, state);
    }
}

void BM_AddReadingAtEnd(benchmark::State &state)
{
    addReading(state, true);
}
void BM_AddReadingInMiddle(benchmark::State &state)
{
    addReading(state, false);
}
void BM_DeleteReadingAtEnd(benchmark::State &state)
{
    deleteReading(state, true);
}
void BM_DeleteReadingInMiddle(benchmark::State &state)
{
    deleteReading(state, false);
}
void BM_EditReadingAtEnd(benchmark::State &state)
{
    editReading(state, true);
}
void BM_EditReadingInMiddle(benchmark::State &state)
{
    editReading(state, false);
}

// Deleting a selection of 1,000 readings spread over the list, and undoing that.
void BM_DeleteAndRestoreThousand(benchmark::State &state)
{
    auto document = makeDocument(state.range(0));
    ConstMeasurementList selection;
    const ConstMeasurementList &all = document->allItems();
    for (qsizetype i = 0; i < all.size(); i += all.size() / 1000)
        selection.append(all[i]);
    for (auto _ : state) {
        document->deleteMeasurements(selection);
        document->undoManager()->closeGroup();
        document->undoManager()->undo();
        dropUndoSteps(*document, state);
    }
}

void BM_ChangeFilterPredicate(benchmark::State &state)
{
    auto document = makeDocument(state.range(0));
    const PredicatePtr predicates[2] = {systolicAbove(130), systolicAbove(120)};
    int n = 0;
    for (auto _ : state) {
        document->filter()->setPredicate(predicates[n++ & 1]);
        dropUndoSteps(*document, state);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Between the document's first filter and its last-month filter. Each reading computes its
// calendar day once and keeps it, so the first pass is measured on its own below.
void BM_SelectFilter(benchmark::State &state)
{
    auto document = makeDocument(state.range(0));
    const FilterPtr filters[2] = {document->filters()[0], document->filters()[2]};
    document->setFilter(filters[1]);
    int n = 0;
    for (auto _ : state)
        document->setFilter(filters[n++ & 1]);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SelectDateFilterFirstTime(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto document = makeDocument(state.range(0));
        state.ResumeTiming();
        document->setFilter(document->filters()[2]);
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_AddReadingAtEnd)->Arg(10000)->Arg(100000);
BENCHMARK(BM_AddReadingInMiddle)->Arg(10000)->Arg(100000);
BENCHMARK(BM_DeleteReadingAtEnd)->Arg(10000)->Arg(100000);
BENCHMARK(BM_DeleteReadingInMiddle)->Arg(10000)->Arg(100000);
BENCHMARK(BM_EditReadingAtEnd)->Arg(10000)->Arg(100000);
BENCHMARK(BM_EditReadingInMiddle)->Arg(10000)->Arg(100000);
BENCHMARK(BM_DeleteAndRestoreThousand)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeFilterPredicate)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectFilter)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectDateFilterFirstTime)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
