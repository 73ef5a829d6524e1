// What a reading costs: heap bytes per reading against the bytes of its values, and the time to
// create 100,000 readings, to sort them by compare() and to read one value by key.
//
// Memory is counted twice: by the global operator new/delete replaced below (the reading object
// and its shared_ptr control block), and by glibc's heap statistics (everything, including the
// strings and lists that Qt allocates with malloc, and malloc's own chunk overhead).

#include "Measurement.h"
#include "Number.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <malloc.h>
#include <new>
#include <random>
#include <vector>

// --- Counting operator new/delete -------------------------------------------------------------

namespace {
std::size_t gNewBytes = 0;
std::size_t gNewCount = 0;

void *countedAlloc(std::size_t size)
{
    void *p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    gNewBytes += malloc_usable_size(p);
    ++gNewCount;
    return p;
}

void countedFree(void *p) noexcept
{
    if (!p)
        return;
    gNewBytes -= malloc_usable_size(p);
    --gNewCount;
    std::free(p);
}
} // namespace

void *operator new(std::size_t size)
{
    return countedAlloc(size);
}
void *operator new[](std::size_t size)
{
    return countedAlloc(size);
}
void *operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    try {
        return countedAlloc(size);
    } catch (...) {
        return nullptr;
    }
}
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept
{
    return operator new(size, std::nothrow);
}
void operator delete(void *p) noexcept
{
    countedFree(p);
}
void operator delete[](void *p) noexcept
{
    countedFree(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    countedFree(p);
}
void operator delete[](void *p, std::size_t) noexcept
{
    countedFree(p);
}

// --- Readings ---------------------------------------------------------------------------------

namespace {

constexpr int kReadings = 100000;

// A reading with every value set: the date, seven numbers, a comment of 20 characters and two
// tags. With sharedTags the tag strings are shared between readings, as when a document decodes
// each distinct string once; otherwise every reading has its own copies.
MeasurementPtr makeReading(int i, const QStringList *sharedTags = nullptr)
{
    const Date date(7.0e8 + 3600.0 * i + 0.25);
    auto reading = Measurement::create(date, 110 + i % 50, 70 + i % 30);
    reading->setPulse(Number::integer(60 + i % 40));
    reading->setWeight(Number::real(70.0 + (i % 200) / 10.0));
    reading->setCustomValue1(Number::integer(i % 7));
    reading->setCustomValue2(Number::real(i % 13 / 4.0));
    reading->setCustomValue3(Number::integer(i % 3));
    reading->setComments(QStringLiteral("before breakfast %1").arg(100 + i % 900));
    if (sharedTags)
        reading->setTags(*sharedTags);
    else
        reading->setTags({QString::fromLatin1("home"), QString::fromLatin1("morning")});
    return reading;
}

// The bytes of a reading's values: 8 for the date, 8 per number, 2 per UTF-16 character of the
// comment and the tags.
double valueBytes(const Measurement &reading)
{
    double bytes = 8 + 7 * 8 + 2.0 * reading.Comments().size();
    for (const QString &tag : reading.Tags())
        bytes += 2.0 * tag.size();
    return bytes;
}

std::size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

std::vector<MeasurementPtr> makeReadings(bool shuffled)
{
    std::vector<MeasurementPtr> readings;
    readings.reserve(kReadings);
    for (int i = 0; i < kReadings; ++i)
        readings.push_back(makeReading(i));
    if (shuffled)
        std::shuffle(readings.begin(), readings.end(), std::mt19937(42));
    return readings;
}

// --- Memory -----------------------------------------------------------------------------------

void BM_MemoryPerReading(benchmark::State &state)
{
    const bool shareTags = state.range(0) != 0;
    const QStringList tags{QString::fromLatin1("home"), QString::fromLatin1("morning")};
    double heapPerReading = 0, newPerReading = 0, newCallsPerReading = 0, values = 0;
    for (auto _ : state) {
        std::vector<MeasurementPtr> readings;
        readings.reserve(kReadings);
        const std::size_t heapBefore = heapInUse();
        const std::size_t newBefore = gNewBytes;
        const std::size_t callsBefore = gNewCount;
        for (int i = 0; i < kReadings; ++i)
            readings.push_back(makeReading(i, shareTags ? &tags : nullptr));
        heapPerReading = double(heapInUse() - heapBefore) / kReadings;
        newPerReading = double(gNewBytes - newBefore) / kReadings;
        newCallsPerReading = double(gNewCount - callsBefore) / kReadings;
        values = valueBytes(*readings.front());
        benchmark::DoNotOptimize(readings.data());
    }
    state.counters["heap_bytes_per_reading"] = heapPerReading;
    state.counters["new_bytes_per_reading"] = newPerReading;
    state.counters["new_calls_per_reading"] = newCallsPerReading;
    state.counters["value_bytes"] = values;
    state.counters["ratio"] = heapPerReading / values;
    state.counters["sizeof_Measurement"] = double(sizeof(Measurement));
}
BENCHMARK(BM_MemoryPerReading)
    ->ArgName("shared_tags")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// --- Time -------------------------------------------------------------------------------------

void BM_Create100k(benchmark::State &state)
{
    for (auto _ : state) {
        std::vector<MeasurementPtr> readings = makeReadings(false);
        benchmark::DoNotOptimize(readings.data());
        state.PauseTiming(); // freeing is not part of creating
        readings.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kReadings);
}
BENCHMARK(BM_Create100k)->Unit(benchmark::kMillisecond);

void BM_Sort100k(benchmark::State &state)
{
    const std::vector<MeasurementPtr> shuffled = makeReadings(true);
    std::vector<MeasurementPtr> readings;
    for (auto _ : state) {
        state.PauseTiming();
        readings = shuffled;
        state.ResumeTiming();
        std::sort(
            readings.begin(), readings.end(),
            [](const MeasurementPtr &a, const MeasurementPtr &b) { return a->compare(*b) < 0; });
        benchmark::DoNotOptimize(readings.data());
    }
    if (!std::is_sorted(
            readings.begin(), readings.end(),
            [](const MeasurementPtr &a, const MeasurementPtr &b) { return a->compare(*b) < 0; }))
        state.SkipWithError("not sorted");
    state.SetItemsProcessed(state.iterations() * kReadings);
}
BENCHMARK(BM_Sort100k)->Unit(benchmark::kMillisecond);

// One read per iteration, walking over all 100,000 readings as a predicate or an average would.
const char *const kKeys[] = {"Systolic", "customValue3", "Tags.@count",
                             "Comments", "Date",         "PulsePressure"};

// The readings of the key benchmarks, with their day and time views already cached.
const std::vector<MeasurementPtr> &warmReadings()
{
    static const std::vector<MeasurementPtr> readings = [] {
        std::vector<MeasurementPtr> made = makeReadings(false);
        for (const MeasurementPtr &reading : made)
            benchmark::DoNotOptimize(reading->Date());
        return made;
    }();
    return readings;
}

void BM_ValueForStringKey(benchmark::State &state)
{
    const std::vector<MeasurementPtr> &readings = warmReadings();
    const QString key = QString::fromLatin1(kKeys[state.range(0)]);
    state.SetLabel(kKeys[state.range(0)]);
    std::size_t i = 0;
    for (auto _ : state) {
        QVariant value = readings[i]->valueForKey(key);
        benchmark::DoNotOptimize(value);
        if (++i == readings.size())
            i = 0;
    }
}
BENCHMARK(BM_ValueForStringKey)->DenseRange(0, 5);

void BM_ValueForEnumKey(benchmark::State &state)
{
    const std::vector<MeasurementPtr> &readings = warmReadings();
    const Measurement::Key key =
        Measurement::keyFromString(QString::fromLatin1(kKeys[state.range(0)]));
    state.SetLabel(kKeys[state.range(0)]);
    std::size_t i = 0;
    for (auto _ : state) {
        QVariant value = readings[i]->valueForKey(key);
        benchmark::DoNotOptimize(value);
        if (++i == readings.size())
            i = 0;
    }
}
BENCHMARK(BM_ValueForEnumKey)->DenseRange(0, 5);

// The calendar day of a reading is computed once and then cached; this is the first computation.
void BM_ThisDay(benchmark::State &state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        Date day = Date(7.0e8 + 3600.0 * double(i)).thisDay();
        benchmark::DoNotOptimize(day);
        if (++i == kReadings)
            i = 0;
    }
}
BENCHMARK(BM_ThisDay);

void BM_NumberForKey(benchmark::State &state)
{
    const std::vector<MeasurementPtr> &readings = warmReadings();
    std::size_t i = 0;
    for (auto _ : state) {
        double value = 0;
        benchmark::DoNotOptimize(readings[i]->numberForKey(Measurement::Key::CustomValue3, &value));
        benchmark::DoNotOptimize(value);
        if (++i == readings.size())
            i = 0;
    }
}
BENCHMARK(BM_NumberForKey);

} // namespace

BENCHMARK_MAIN();
