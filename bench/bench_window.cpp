// The document window against the document's own operations, in the same run, at 100,000
// readings (10,000 as well where the issue is how the cost grows):
//   BM_DocumentAddDelete      the document alone adding and deleting one reading
//   BM_WindowAddDelete        the same with the window shown on the readings page (models, view,
//                             counter); ...Repaint adds a turn of the event loop after each change
//                             (layout and painting of the table, at 10,000 too: it does not grow
//                             with the list)
//   BM_WindowDeleteSelected   selecting the reading and deleting it with the Delete action (only
//                             the deletion timed)
//   BM_WindowAddDeleteChart   the same on the chart page; counts the chart's redraws per change
//   BM_DocumentSwitchFilter / BM_WindowSwitchFilter   selecting another filter
//   BM_WindowSwitchFilterKeepingSelection   the same there and back with half the readings
//                             selected (in thousands of pieces under all readings)
//   BM_WindowToggleDateSort   turning the date order at 10,000 and 100,000 readings
//   BM_WindowModelsMemory     heap the window's models and views keep per reading (the growth
//                             from 10,000 to 100,000 readings)
//   BM_PaintScreenful         painting one screenful of the readings table
// Compare the pairs: the window's time divided by the document's.
#include "ChartView.h"
#include "Localization.h"
#include "MyWindowController.h"
#include "PageChart.h"
#include "Preferences.h"
#include "SampleDocument.h"
#include "UndoManager.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QTableView>

#include <benchmark/benchmark.h>
#include <chrono>
#include <malloc.h>

#include <memory>

namespace {

struct Setup
{
    std::unique_ptr<MyDocument> document = std::make_unique<MyDocument>();
    std::unique_ptr<MyWindowController> window;
    MeasurementPtr extra;

    Setup(int count, bool withWindow, int page = MyWindowController::ReadingsPage)
        : extra(SampleDocument::reading(count / 2 + 0.5, 130, 85, 70)) // in the middle
    {
        document->undoManager()->disableUndoRegistration();
        document->addMeasurements(SampleDocument::many(count));
        FilterList filters = document->filters();
        filters.append(SampleDocument::highFilter());
        document->setFilters(filters);
        if (withWindow) {
            window = std::make_unique<MyWindowController>(document.get());
            window->resize(1000, 700);
            window->show();
            window->selectPage(page);
            QCoreApplication::processEvents();
        }
    }
    ~Setup() { window.reset(); }
};

class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// `turns`: also run the event loop after each change, so that the views lay out and repaint.
void addDelete(benchmark::State &state, bool withWindow, int page, bool turns)
{
    Setup s(int(state.range(0)), withWindow, page);
    PaintCounter counter;
    if (s.window)
        s.window->pageChart()->chartView()->installEventFilter(&counter);
    int changes = 0;
    double addTime = 0, deleteTime = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        s.document->addMeasurements({s.extra});
        if (turns)
            QCoreApplication::processEvents();
        const auto t1 = std::chrono::steady_clock::now();
        s.document->deleteMeasurements({s.extra});
        if (turns)
            QCoreApplication::processEvents();
        const auto t2 = std::chrono::steady_clock::now();
        addTime += std::chrono::duration<double, std::micro>(t1 - t0).count();
        deleteTime += std::chrono::duration<double, std::micro>(t2 - t1).count();
        changes += 2;
    }
    state.counters["add_us"] = addTime / (changes / 2);
    state.counters["delete_us"] = deleteTime / (changes / 2);
    if (page == MyWindowController::ChartPage)
        state.counters["redraws_per_change"] = double(counter.paints) / changes;
}

void BM_DocumentAddDelete(benchmark::State &state)
{
    addDelete(state, false, 0, false);
}
void BM_WindowAddDelete(benchmark::State &state)
{
    addDelete(state, true, MyWindowController::ReadingsPage, false);
}
void BM_WindowAddDeleteRepaint(benchmark::State &state)
{
    addDelete(state, true, MyWindowController::ReadingsPage, true);
}
void BM_WindowAddDeleteChart(benchmark::State &state)
{
    addDelete(state, true, MyWindowController::ChartPage, true);
}

// Deleting the one selected reading with the Delete action, as a user does: the page reads its
// selection, the document deletes, and the selection model, view and counter follow.
void BM_WindowDeleteSelected(benchmark::State &state)
{
    Setup s(int(state.range(0)), true);
    QAction *remove = s.window->findChild<QAction *>(QStringLiteral("actionDelete"));
    double deleteTime = 0;
    int deletes = 0;
    for (auto _ : state) {
        s.document->addMeasurements({s.extra});
        s.window->pageGrid()->selectReading(s.extra.get());
        const auto t0 = std::chrono::steady_clock::now();
        remove->trigger();
        deleteTime +=
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0)
                .count();
        ++deletes;
    }
    if (s.document->allItems().size() != state.range(0))
        state.SkipWithError("the Delete action did not delete the selected reading");
    state.counters["delete_us"] = deleteTime / deletes;
}

void switchFilter(benchmark::State &state, bool withWindow, bool turns)
{
    Setup s(int(state.range(0)), withWindow);
    const FilterPtr all = s.document->filters().at(0);
    const FilterPtr high = s.document->filters().last();
    for (auto _ : state) {
        s.document->setFilter(high);
        if (turns)
            QCoreApplication::processEvents();
        s.document->setFilter(all);
        if (turns)
            QCoreApplication::processEvents();
    }
}

void BM_DocumentSwitchFilter(benchmark::State &state)
{
    switchFilter(state, false, false);
}
void BM_WindowSwitchFilter(benchmark::State &state)
{
    switchFilter(state, true, false);
}
void BM_WindowSwitchFilterRepaint(benchmark::State &state)
{
    switchFilter(state, true, true);
}

// A selection kept across the switch: every reading the filter passes (half of them, in runs of
// ten) is selected, so that under all readings the selection is in thousands of pieces.
void BM_WindowSwitchFilterKeepingSelection(benchmark::State &state)
{
    Setup s(int(state.range(0)), true);
    const FilterPtr all = s.document->filters().at(0);
    auto low = Filter::filterWithName(QStringLiteral("Low"));
    low->setPredicate(SampleDocument::predicate(QStringLiteral("Diastolic < 80")));
    FilterList filters = s.document->filters();
    filters.append(low);
    s.document->setFilters(filters);
    s.document->setFilter(low);
    s.window->pageGrid()->selectAll();
    const qsizetype selected = s.window->pageGrid()->selectedReadings().size();
    for (auto _ : state) {
        s.document->setFilter(all);
        s.document->setFilter(low);
    }
    if (s.window->pageGrid()->selectedReadings().size() != selected)
        state.SkipWithError("the selection was not kept");
    state.counters["selected"] = double(selected);
}

void BM_WindowToggleDateSort(benchmark::State &state)
{
    Setup s(int(state.range(0)), true);
    s.window->pageGrid()->selectReading(s.document->items().at(5).get());
    bool ascending = false;
    for (auto _ : state) {
        ascending = !ascending;
        s.window->setSortDescriptors({{QStringLiteral("theWholeDate"), ascending}});
    }
}

// Heap a shown window over a document of `count` readings keeps.
double windowHeapBytes(int count)
{
    Setup s(count, false);
    malloc_trim(0);
    const size_t before = mallinfo2().uordblks;
    MyWindowController window(s.document.get());
    window.resize(1000, 700);
    window.show();
    QCoreApplication::processEvents();
    return double(mallinfo2().uordblks) - double(before);
}

// The window's fixed cost (widgets, fonts) is the same at both sizes; the difference over the
// 90,000 readings between them is what each reading costs.
void BM_WindowModelsMemory(benchmark::State &state)
{
    windowHeapBytes(1000); // first-use caches (fonts, style) out of the way
    double small = 0, large = 0;
    for (auto _ : state) {
        small = windowHeapBytes(10000);
        large = windowHeapBytes(100000);
    }
    state.counters["bytes_per_reading"] = (large - small) / 90000;
    state.counters["window_bytes_at_100000"] = large;
}

void BM_PaintScreenful(benchmark::State &state)
{
    Setup s(int(state.range(0)), true);
    QTableView *table = s.window->pageGrid()->tableView();
    table->scrollTo(table->model()->index(int(state.range(0)) / 2, 0));
    QCoreApplication::processEvents();
    QPixmap target(table->viewport()->size());
    for (auto _ : state) {
        table->viewport()->render(&target);
    }
    state.counters["rows"] =
        table->viewport()->height() / table->verticalHeader()->defaultSectionSize();
}

} // namespace

BENCHMARK(BM_DocumentAddDelete)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowAddDelete)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowAddDeleteRepaint)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowDeleteSelected)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowAddDeleteChart)->Arg(100000)->Iterations(3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DocumentSwitchFilter)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowSwitchFilter)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowSwitchFilterRepaint)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowSwitchFilterKeepingSelection)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowToggleDateSort)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowModelsMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintScreenful)->Arg(100000)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Preferences::useTemporaryStore();
    Localization::install(QLocale(QStringLiteral("en_US")));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
