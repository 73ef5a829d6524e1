// CSV export and import of 100,000 readings, against Python's csv module doing the same reading
// and writing of those rows (bench/compare_csv.py runs both and prints the ratios).
//
//   bench_csv [benchmark options]     the timings
//   bench_csv --write FILE            writes the exported file, for the comparison

#include "CsvExporter.h"
#include "CsvImporter.h"
#include "Localization.h"
#include "MyDocument.h"
#include "Preferences.h"
#include "UndoManager.h"

#include <QCoreApplication>
#include <QFile>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr qsizetype kReadings = 100000;

// Readings every seven hours over about 80 years' worth of days, with pulse on most, weight on
// some, a comment on every tenth (some needing quotes) and tags on every third.
std::unique_ptr<MyDocument> makeDocument()
{
    auto document = std::make_unique<MyDocument>();
    MeasurementList readings;
    readings.reserve(kReadings);
    const Date start = Date::fromTimeIntervalSince1970(1.0e9);
    for (qsizetype i = 0; i < kReadings; ++i) {
        auto r = Measurement::create(start.addingSeconds(double(i) * 25200.0 + double(i % 60)),
                                     qint32(100 + i % 90), qint32(60 + i % 35));
        if (i % 4 != 0)
            r->setPulse(QVariant(qlonglong(55 + i % 40)));
        if (i % 3 == 0)
            r->setWeight(QVariant(70.0 + double(i % 100) / 10.0));
        if (i % 10 == 0)
            r->setComments(i % 20 == 0 ? QStringLiteral("after a walk, \"tired\"")
                                       : QStringLiteral("morning"));
        if (i % 3 == 1)
            r->setTags({QStringLiteral("left arm"), QStringLiteral("seated")});
        readings.append(r);
    }
    document->undoManager()->disableUndoRegistration();
    document->setAllMeasurements(readings);
    document->undoManager()->enableUndoRegistration();
    return document;
}

MyDocument &document()
{
    static std::unique_ptr<MyDocument> instance = makeDocument();
    return *instance;
}

QByteArray exported()
{
    return CsvExporter({u',', true}).exportDocument(document());
}

void CsvExport(benchmark::State &state)
{
    MyDocument &doc = document();
    qsizetype bytes = 0;
    for (auto _ : state) {
        CsvExporter exporter({u',', true});
        const QByteArray csv = exporter.exportDocument(doc);
        bytes = csv.size();
        benchmark::DoNotOptimize(csv.constData());
    }
    state.counters["bytes"] = double(bytes);
    state.counters["rows"] = double(doc.allItems().size());
}
BENCHMARK(CsvExport)->Unit(benchmark::kMillisecond);

void CsvImport(benchmark::State &state)
{
    const QByteArray csv = exported();
    for (auto _ : state) {
        const CsvImporter::Result result = CsvImporter::read(csv, {}, nullptr);
        if (result.readings.size() != kReadings)
            state.SkipWithError("not every reading was read");
        benchmark::DoNotOptimize(result.readings.constData());
    }
}
BENCHMARK(CsvImport)->Unit(benchmark::kMillisecond);

// Import into a document holding every reading already: every row is a duplicate.
void CsvImportDuplicates(benchmark::State &state)
{
    const QByteArray csv = exported();
    for (auto _ : state) {
        const CsvImporter::Result result = CsvImporter::read(csv, {}, &document());
        if (result.duplicateCount != kReadings)
            state.SkipWithError("duplicates not found");
    }
}
BENCHMARK(CsvImportDuplicates)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", "Europe/Berlin");
    QCoreApplication app(argc, argv);
    Preferences::useTemporaryStore();
    Localization::install(QLocale(QLocale::English, QLocale::UnitedStates));
    if (argc == 3 && qstrcmp(argv[1], "--write") == 0) {
        QFile file(QString::fromLocal8Bit(argv[2]));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(exported());
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
