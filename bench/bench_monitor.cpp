// Importing 100,000 readings from a monitor's session log (reading the log, decoding and checking
// each record, finding duplicates) against importing the same readings from a CSV file; the goal
// is a log no slower than the CSV file.

#include "CsvExporter.h"
#include "CsvImporter.h"
#include "Localization.h"
#include "MonitorImport.h"
#include "MyDocument.h"
#include "Preferences.h"
#include "UndoManager.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype kReadings = 100000;

struct Sample
{
    QByteArray log;
    QByteArray csv;
};

// Readings every seven hours from 2001 on, with pulse, as a monitor sends them (time stamp, pulse,
// status) and as a CSV file holds them.
const Sample &sample()
{
    static const Sample s = [] {
        Sample sample;
        MeasurementList readings;
        readings.reserve(kReadings);
        const QDateTime start(QDate(2001, 1, 1), QTime(0, 0));
        for (qsizetype i = 0; i < kReadings; ++i) {
            const QDateTime at = start.addSecs(qint64(i) * 25200 + i % 60);
            const int systolic = int(100 + i % 90), diastolic = int(60 + i % 35),
                      pulse = int(55 + i % 40);
            const QDate d = at.date();
            const QTime t = at.time();
            const char record[] = {0x16,
                                   char(systolic),
                                   0,
                                   char(diastolic),
                                   0,
                                   char((systolic + 2 * diastolic) / 3),
                                   0,
                                   char(d.year() & 0xFF),
                                   char(d.year() >> 8),
                                   char(d.month()),
                                   char(d.day()),
                                   char(t.hour()),
                                   char(t.minute()),
                                   char(t.second()),
                                   char(pulse),
                                   0,
                                   0,
                                   0};
            sample.log += "< 2a35 " + QByteArray(record, sizeof record).toHex(' ') + '\n';
            auto r = Measurement::create(Date::fromDateTime(at), systolic, diastolic);
            r->setPulse(QVariant(qlonglong(pulse)));
            readings.append(r);
        }
        MyDocument document;
        document.undoManager()->disableUndoRegistration();
        document.setAllMeasurements(readings);
        sample.csv = CsvExporter({u',', true}).exportDocument(document);
        return sample;
    }();
    return s;
}

void MonitorLogImport(benchmark::State &state)
{
    const QByteArray &log = sample().log;
    for (auto _ : state) {
        const MonitorImport::Result result = MonitorImport::readLog(log);
        if (result.readings.size() != kReadings)
            state.SkipWithError("not every record was read");
        benchmark::DoNotOptimize(result.readings.constData());
    }
    state.counters["bytes"] = double(log.size());
}
BENCHMARK(MonitorLogImport)->Unit(benchmark::kMillisecond);

void CsvImportOfTheSameReadings(benchmark::State &state)
{
    const QByteArray &csv = sample().csv;
    for (auto _ : state) {
        const CsvImporter::Result result = CsvImporter::read(csv, {}, nullptr);
        if (result.readings.size() != kReadings)
            state.SkipWithError("not every row was read");
        benchmark::DoNotOptimize(result.readings.constData());
    }
    state.counters["bytes"] = double(csv.size());
}
BENCHMARK(CsvImportOfTheSameReadings)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", "Europe/Berlin");
    QCoreApplication app(argc, argv);
    Preferences::useTemporaryStore();
    Localization::install(QLocale(QLocale::English, QLocale::UnitedStates));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
