// Opening the reading editor and building its tag menu on documents of 10,000 and 100,000
// readings carrying 500 distinct tags. Neither may grow with the number of readings. The
// document's own operation (adding one reading and taking it out again) runs in the same program
// as the yardstick for the ratios.
#include "Localization.h"
#include "MeasurementSheet.h"
#include "MyDocument.h"
#include "Preferences.h"

#include <QApplication>
#include <QMenu>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

constexpr int kDistinctTags = 500;

MyDocument &documentOf(int count)
{
    static std::map<int, std::unique_ptr<MyDocument>> documents;
    auto &document = documents[count];
    if (!document) {
        document = std::make_unique<MyDocument>();
        MeasurementList readings;
        readings.reserve(count);
        const double start =
            Date::fromComponents(2010, 1, 1, 7, 30).timeIntervalSinceReferenceDate();
        for (int i = 0; i < count; ++i) {
            auto reading = Measurement::create(Date(start + i * 21600.0), 110 + (i * 7) % 50,
                                               70 + (i * 3) % 25);
            reading->setPulse(qlonglong(60 + i % 30));
            reading->setTags({QStringLiteral("tag %1").arg(i % kDistinctTags),
                              QStringLiteral("tag %1").arg((i * 7 + 3) % kDistinctTags)});
            readings.append(reading);
        }
        document->addMeasurements(readings);
        document->onMeasurementChangedFrom(nullptr, readings.constLast()->copy());
    }
    return *document;
}

QWidget &window()
{
    static QWidget w;
    return w;
}

// Making the sheet on the last edited reading, showing it and closing it again.
void BM_OpenSheet(benchmark::State &state)
{
    MyDocument &document = documentOf(int(state.range(0)));
    for (auto _ : state) {
        auto *sheet = new MeasurementSheet(nullptr, &document, false, &window(), {});
        sheet->show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(sheet->currentMeasurement());
        delete sheet;
    }
    state.counters["tags"] = double(document.tags().size());
}

// Building the tag menu of a reading that carries two of the document's tags and one new tag.
void BM_TagsMenu(benchmark::State &state)
{
    MyDocument &document = documentOf(int(state.range(0)));
    auto reading = document.allItems().at(document.allItems().size() / 2)->copy();
    reading->setTags(reading->Tags() << QStringLiteral("not yet in the document"));
    MeasurementSheet sheet(reading, &document, true, &window(), {});
    qsizetype items = 0;
    for (auto _ : state) {
        QMenu *menu = sheet.tagsMenu();
        items = menu->actions().size();
        benchmark::DoNotOptimize(menu);
    }
    state.counters["items"] = double(items);
}

// The yardstick: the document places one reading (as a committed sheet makes it) and takes it out
// again, without undo records that would pile up in one endless turn of the event loop.
void BM_DocumentAddOne(benchmark::State &state)
{
    MyDocument &document = documentOf(int(state.range(0)));
    auto reading = document.allItems().at(document.allItems().size() / 2)->copy();
    for (auto _ : state) {
        document.doAddMeasurements({reading});
        document.doDeleteMeasurements({reading});
    }
}

} // namespace

BENCHMARK(BM_OpenSheet)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TagsMenu)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DocumentAddOne)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Localization::install(QLocale(QLocale::English, QLocale::UnitedStates));
    Preferences::useTemporaryStore();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
