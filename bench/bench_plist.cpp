// Writing and reading a document of 100,000 readings (tags, comments, fractional weights, four
// filters, information items), side by side with libplist parsing and writing the same bytes.
//
//   bench_plist                       Google Benchmark runs
//   bench_plist --write FILE          writes the archive to FILE (for Python's plistlib)
//   bench_plist --once MODE [FILE]    one run of MODE, for measuring peak memory from outside:
//                                     build, write, decode, read, open (from the file),
//                                     parse, libplist-read, libplist-write
//
// bench/compare_plist.sh runs the single runs under /usr/bin/time along with plistlib;
// bench/compare_open.sh times whole processes opening the file.

#include "BinaryPropertyList.h"
#include "Date.h"
#include "DocumentArchive.h"
#include "KeyedArchiver.h"
#include "KeyedUnarchiver.h"
#include "Measurement.h"
#include "MyDocument.h"
#include "TaggedDocument.h"
#include "UndoManager.h"

#include <QElapsedTimer>
#include <QFile>

#include <benchmark/benchmark.h>

#ifdef TENSILO_HAVE_LIBPLIST
#include <plist/plist.h>
#endif

#include <cstdio>
#include <cstring>
#include <ctime>
#include <random>

namespace {

const MyDocument &document()
{
    static const std::unique_ptr<MyDocument> doc = makeTaggedDocument();
    return *doc;
}

QByteArray write(const MyDocument &doc)
{
    return doc.dataOfType(QString());
}

const QByteArray &bytes()
{
    static const QByteArray data = write(document());
    return data;
}

// The document read from the data; the caller frees it after taking the time.
std::unique_ptr<MyDocument> read(const QByteArray &data)
{
    auto doc = std::make_unique<MyDocument>();
    if (!doc->readFromData(data, QString()))
        return nullptr;
    return doc;
}

qsizetype readingCount(const std::unique_ptr<MyDocument> &doc)
{
    return doc ? doc->allItems().size() : -1;
}

void BM_TensiloWrite(benchmark::State &state)
{
    const MyDocument &doc = document();
    for (auto _ : state)
        benchmark::DoNotOptimize(write(doc));
    state.counters["bytes"] = double(bytes().size());
}
BENCHMARK(BM_TensiloWrite)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_TensiloRead(benchmark::State &state)
{
    const QByteArray &data = bytes();
    for (auto _ : state) {
        std::unique_ptr<MyDocument> doc = read(data);
        if (readingCount(doc) != kReadings)
            state.SkipWithError("read failed");
        state.PauseTiming(); // the document is freed outside the timing
        doc.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TensiloRead)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_TensiloParseOnly(benchmark::State &state)
{
    const QByteArray &data = bytes();
    for (auto _ : state) {
        PlistValue value;
        BinaryPropertyList::read(data, &value);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_TensiloParseOnly)->Unit(benchmark::kMillisecond)->MinTime(2);

#ifdef TENSILO_HAVE_LIBPLIST
void BM_LibplistParse(benchmark::State &state)
{
    const QByteArray &data = bytes();
    for (auto _ : state) {
        plist_t plist = nullptr;
        plist_from_bin(data.constData(), uint32_t(data.size()), &plist);
        if (!plist)
            state.SkipWithError("libplist failed");
        plist_free(plist);
    }
}
BENCHMARK(BM_LibplistParse)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_LibplistWrite(benchmark::State &state)
{
    const QByteArray &data = bytes();
    plist_t plist = nullptr;
    plist_from_bin(data.constData(), uint32_t(data.size()), &plist);
    for (auto _ : state) {
        char *out = nullptr;
        uint32_t length = 0;
        plist_to_bin(plist, &out, &length);
        plist_to_bin_free(out);
    }
    plist_free(plist);
}
// One iteration: libplist's writer takes minutes on this size.
BENCHMARK(BM_LibplistWrite)->Unit(benchmark::kMillisecond)->Iterations(1);
#endif

double cpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

int once(const char *mode, const char *file)
{
    const QByteArrayView m(mode);
    QByteArray data;
    if (file && m != "open") {
        QFile f(QString::fromLocal8Bit(file));
        if (!f.open(QIODevice::ReadOnly))
            return 2;
        data = f.readAll();
    }
    QElapsedTimer timer;
    double cpuStart = 0;
    auto startTimers = [&] {
        cpuStart = cpuMilliseconds();
        timer.start();
    };
    qint64 result = 0;
    std::unique_ptr<MyDocument> kept; // freed after the figures are taken
    DocumentArchive::Contents contents;
    if (m == "build") {
        startTimers();
        result = document().allItems().size();
    } else if (m == "write") {
        const MyDocument &doc = document();
        startTimers();
        result = write(doc).size();
    } else if (m == "decode") { // the file's contents without building a document
        startTimers();
        result = DocumentArchive::unarchive(data, &contents) ? contents.measurements.size() : -1;
    } else if (m == "open" && file) { // from the file, as the application opens it
        startTimers();
        kept = std::make_unique<MyDocument>();
        result = kept->readFromFile(QString::fromLocal8Bit(file)) ? readingCount(kept) : -1;
    } else if (m == "read") {
        startTimers();
        kept = read(data);
        result = readingCount(kept);
    } else if (m == "parse") {
        startTimers();
        PlistValue value;
        result = BinaryPropertyList::read(data, &value);
#ifdef TENSILO_HAVE_LIBPLIST
    } else if (m == "libplist-read") {
        startTimers();
        plist_t plist = nullptr;
        plist_from_bin(data.constData(), uint32_t(data.size()), &plist);
        result = plist != nullptr;
        plist_free(plist);
    } else if (m == "libplist-write") {
        plist_t plist = nullptr;
        plist_from_bin(data.constData(), uint32_t(data.size()), &plist);
        startTimers();
        char *out = nullptr;
        uint32_t length = 0;
        plist_to_bin(plist, &out, &length);
        result = length;
        plist_to_bin_free(out);
        plist_free(plist);
#endif
    } else {
        return 2;
    }
    // On a shared machine the processor time is the steadier figure.
    std::printf("%s: %.1f ms wall, %.1f ms cpu (result %lld)\n", mode,
                double(timer.nsecsElapsed()) / 1e6, (cpuMilliseconds() - cpuStart),
                static_cast<long long>(result));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--write") == 0) {
        QFile f(QString::fromLocal8Bit(argv[2]));
        return f.open(QIODevice::WriteOnly) && f.write(bytes()) == bytes().size() ? 0 : 1;
    }
    if (argc >= 3 && std::strcmp(argv[1], "--once") == 0)
        return once(argv[2], argc >= 4 ? argv[3] : nullptr);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
