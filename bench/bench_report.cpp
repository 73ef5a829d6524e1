// Lays out the printed report and writes its PDF for documents of 1,000, 10,000 and 50,000
// readings, and for 10,000 readings with and without the page header, footer and home summary.
// Reports the time per report, the pages, the heap the laid-out report keeps, and the process's
// peak resident memory. For a clean peak figure per size run one size at a time:
//   bench_report --benchmark_filter='BM_ReportPdf/50000$'
// With TENSILO_BENCH_OUTPUT set to a directory, the PDFs are kept there.
#include "ChartDataSource.h"
#include "Localization.h"
#include "Preferences.h"
#include "PrintView.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

namespace {

double peakResidentMB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

double heapInUseMB()
{
    return mallinfo2().uordblks / (1024.0 * 1024.0);
}

ConstMeasurementList makeReadings(int count)
{
    ConstMeasurementList readings;
    readings.reserve(count);
    const double start = Date::fromComponents(2015, 1, 1, 7, 30).timeIntervalSinceReferenceDate();
    for (int i = 0; i < count; ++i) {
        auto reading = Measurement::create(Date(start + i * 43200.0 + (i % 7) * 600),
                                           110 + (i * 7) % 50, 70 + (i * 3) % 25);
        reading->setPulse(qlonglong(60 + i % 30));
        if (i % 3 == 0)
            reading->setWeight(70.0 + (i % 40) / 10.0);
        if (i % 5 == 0)
            reading->setTags({QStringLiteral("morning"), QStringLiteral("after walk")});
        if (i % 4 == 0)
            reading->setComments(i % 8 == 0
                                     ? QStringLiteral("Felt dizzy after getting up; measured "
                                                      "again ten minutes later.\nNo coffee.")
                                     : QStringLiteral("ok"));
        readings.append(reading);
    }
    return readings;
}

QPageLayout a4()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(36, 36, 36, 36),
                       QPageLayout::Point);
}

void BM_ReportPdf(benchmark::State &state)
{
    const ConstMeasurementList readings = makeReadings(int(state.range(0)));
    const InformationList information = {
        InformationItem::create(QStringLiteral("Name"), QStringLiteral("Jane Doe"), true),
        InformationItem::create(QStringLiteral("Doctor"), QStringLiteral("Dr. Smith"), true)};
    ChartDataSource chart;
    chart.setObjects(readings);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("report.pdf"));
    const double heapBefore = heapInUseMB();
    double heapLaidOut = 0;
    int pages = 0;
    for (auto _ : state) {
        PrintView view(a4(), readings, {}, information, &chart);
        heapLaidOut = heapInUseMB() - heapBefore;
        pages = view.totalPages();
        QString error;
        if (!view.writePdf(file, &error)) {
            state.SkipWithError(qPrintable(error));
            break;
        }
    }
    state.counters["pages"] = pages;
    state.counters["layout_heap_MB"] = heapLaidOut;
    state.counters["peak_rss_MB"] = peakResidentMB();
    state.counters["pdf_MB"] = QFileInfo(file).size() / (1024.0 * 1024.0);
    // Keep the report for a person to look at when asked to.
    const QString keep = qEnvironmentVariable("TENSILO_BENCH_OUTPUT");
    if (!keep.isEmpty()) {
        const QString target =
            QDir(keep).filePath(QStringLiteral("report-%1.pdf").arg(state.range(0)));
        QFile::remove(target);
        QFile::copy(file, target);
    }
}

void BM_ReportLayout(benchmark::State &state)
{
    const ConstMeasurementList readings = makeReadings(int(state.range(0)));
    ChartDataSource chart;
    chart.setObjects(readings);
    for (auto _ : state) {
        PrintView view(a4(), readings, {}, {}, &chart);
        benchmark::DoNotOptimize(view.totalPages());
    }
}

// The report of 10,000 readings with (1) and without (0) its page header and footer and the
// home-measurement summary, laid out and written as PDF.
void BM_ReportAdditions(benchmark::State &state)
{
    const bool on = state.range(0) != 0;
    Preferences::shared().setValueForKey(on, Preferences::printPageHeader);
    Preferences::shared().setValueForKey(on, Preferences::printHomeSummary);
    Preferences::shared().setValueForKey(QStringLiteral("Jane Doe"), Preferences::personName);
    const ConstMeasurementList readings = makeReadings(10000);
    ChartDataSource chart;
    chart.setObjects(readings);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("report.pdf"));
    int pages = 0;
    for (auto _ : state) {
        PrintView view(a4(), readings, {}, {}, &chart);
        view.setFilterName(QStringLiteral("All readings"));
        pages = view.totalPages();
        if (!view.writePdf(file)) {
            state.SkipWithError("the PDF could not be written");
            break;
        }
    }
    state.counters["pages"] = pages;
    for (const QLatin1String key :
         {Preferences::printPageHeader, Preferences::printHomeSummary, Preferences::personName})
        Preferences::shared().removeValueForKey(key);
}

} // namespace

BENCHMARK(BM_ReportAdditions)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportLayout)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportPdf)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Localization::install(QLocale(QLocale::English, QLocale::UnitedStates));
    Preferences::useTemporaryStore();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
