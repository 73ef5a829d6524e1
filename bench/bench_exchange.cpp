// Apple Health import of a large export, the reader alone (bench/compare_health.py times the
// whole `tensilo-tool import` against Python's xml.etree.ElementTree.iterparse).
// The export is $TENSILO_HEALTH_EXPORT (generated there when missing), or one generated in a
// temporary directory: 10,000
// blood-pressure correlations among 2,000,000 other records (half of them heart rates), about
// 200 MB.

#include "AppleHealthImport.h"
#include "Localization.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

constexpr int kCorrelations = 10000;
constexpr int kOtherRecords = 2000000;

QString generate(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    QByteArray chunk;
    const auto stamp = [](qint64 minutes) {
        const qint64 day = minutes / 1440, inDay = minutes % 1440;
        return QByteArray::number(2020 + day / 365) + '-' +
               QByteArray::number(101 + day % 365 / 31).right(2) + '-' +
               QByteArray::number(101 + day % 31 % 28).right(2) + ' ' +
               QByteArray::number(100 + inDay / 60).right(2) + ':' +
               QByteArray::number(100 + inDay % 60).right(2) + ":00 +0100";
    };
    chunk += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE HealthData [\n"
             "<!ELEMENT HealthData (ExportDate,Me,(Record|Correlation|Workout)*)>\n"
             "<!ATTLIST HealthData locale CDATA #REQUIRED>\n]>\n<HealthData locale=\"en_US\">\n";
    const int every = kOtherRecords / kCorrelations;
    for (int i = 0; i < kOtherRecords; ++i) {
        const QByteArray time = stamp(i * 3);
        if (i % 2 == 0)
            chunk += " <Record type=\"HKQuantityTypeIdentifierHeartRate\" sourceName=\"Watch\" "
                     "unit=\"count/min\" startDate=\"" +
                     time + "\" value=\"" + QByteArray::number(55 + i % 40) + "\"/>\n";
        else
            chunk += " <Record type=\"HKQuantityTypeIdentifierStepCount\" sourceName=\"Phone\" "
                     "unit=\"count\" startDate=\"" +
                     time + "\" value=\"" + QByteArray::number(i % 900) + "\"/>\n";
        if (i % every == every - 1) {
            chunk += " <Correlation type=\"HKCorrelationTypeIdentifierBloodPressure\" "
                     "sourceName=\"Health\" startDate=\"" +
                     time +
                     "\">\n  <Record type=\"HKQuantityTypeIdentifierBloodPressureSystolic\" "
                     "unit=\"mmHg\" startDate=\"" +
                     time + "\" value=\"" + QByteArray::number(110 + i % 50) +
                     "\"/>\n  <Record type=\"HKQuantityTypeIdentifierBloodPressureDiastolic\" "
                     "unit=\"mmHg\" startDate=\"" +
                     time + "\" value=\"" + QByteArray::number(70 + i % 20) +
                     "\"/>\n </Correlation>\n";
        }
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    chunk += "</HealthData>\n";
    file.write(chunk);
    return path;
}

void BM_AppleHealthImport(benchmark::State &state)
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString given = qEnvironmentVariable("TENSILO_HEALTH_EXPORT");
        if (given.isEmpty())
            return generate(dir.filePath(QStringLiteral("export.xml")));
        return QFile::exists(given) ? given : generate(given);
    }();
    qsizetype readings = 0;
    for (auto _ : state) {
        const ImportResult result = AppleHealthImport::readFile(path);
        if (!result.error.isEmpty())
            state.SkipWithError(qPrintable(result.error));
        readings = result.readings.size();
        benchmark::DoNotOptimize(readings);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["readings"] = double(readings);
    state.counters["file_mb"] = double(QFileInfo(path).size()) / (1 << 20);
    state.counters["peak_rss_mb"] = double(usage.ru_maxrss) / 1024;
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK(BM_AppleHealthImport)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Localization::install(QLocale(QStringLiteral("en")));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
