// Filtering and averaging over 100,000 readings, each measured against a hand-written loop that
// computes the same result directly on the same readings; the "ratio" counter is the quotient.

#include "Average.h"
#include "ComparisonPredicate.h"
#include "Filter.h"
#include "HomeSummary.h"
#include "Number.h"
#include "RelativeDate.h"

#include <benchmark/benchmark.h>

#include <QRandomGenerator>

#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <time.h>

namespace {

constexpr int kReadings = 100000;
const Date kNow = Date(732202200.0); // 15 March 2024, 14:30 in Berlin

struct Data
{
    ConstMeasurementList readings;
    FilterPtr noFilter, lastWeek, lastMonth;

    Data()
    {
        Date::setClock([] { return kNow; });
        QRandomGenerator random(42);
        // About ninety readings a day over three years: far more than anyone takes, to reach
        // 100,000.
        double t = kNow.timeIntervalSinceReferenceDate() - kReadings * 960.0;
        for (int i = 0; i < kReadings; ++i) {
            t += 960.0 * (0.5 + random.generateDouble());
            auto r =
                Measurement::create(Date(t), 100 + random.bounded(80), 60 + random.bounded(40));
            if (random.bounded(4) != 0)
                r->setPulse(Number::integer(50 + random.bounded(50)));
            if (random.bounded(3) == 0)
                r->setWeight(Number::real(60.0 + random.generateDouble() * 30.0));
            if (random.bounded(10) == 0)
                r->setCustomValue1(Number::real(random.generateDouble()));
            if (random.bounded(5) == 0)
                r->setTags({QStringLiteral("salt")});
            r->Date(); // the calendar day is cached on first use; both sides share it
            readings.append(r);
        }
        noFilter = Filter::filterNoFilter();
        lastWeek = Filter::filterLastWeek();
        lastMonth = Filter::filterLastMonth();
    }
};

Data &data()
{
    static Data d;
    return d;
}

double relativeInterval(const FilterPtr &filter)
{
    return filter->predicate()
        ->asComparison()
        ->rightExpression()
        .constantValue()
        .value<RelativeDate>()
        .timeIntervalSinceNow();
}

// Each benchmark runs the code under test and its hand-written loop alternately, timing each by
// the thread's CPU clock, so that both see the same conditions on a shared machine. The reported
// time is that of the code under test; the counters give the hand loop's time and the ratio.

double threadSeconds()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

template <typename Ours, typename Hand> void compare(benchmark::State &state, Ours ours, Hand hand)
{
    double oursTotal = 0, handTotal = 0;
    bool oursFirst = true;
    for (auto _ : state) {
        double oursTime = 0, handTime = 0;
        for (int step = 0; step < 2; ++step) {
            const bool runOurs = (step == 0) == oursFirst;
            const double start = threadSeconds();
            if (runOurs)
                ours();
            else
                hand();
            (runOurs ? oursTime : handTime) = threadSeconds() - start;
        }
        oursFirst = !oursFirst;
        state.SetIterationTime(oursTime);
        oursTotal += oursTime;
        handTotal += handTime;
    }
    state.counters["hand_us"] = benchmark::Counter(handTotal * 1e6 / double(state.iterations()));
    state.counters["ratio"] = benchmark::Counter(oursTotal / handTotal);
}

// --- Filtering: the last-month predicate ---------------------------------------------------------

ConstMeasurementList handFilterLastMonth(const ConstMeasurementList &readings, double interval)
{
    const double threshold = Date::now().timeIntervalSinceReferenceDate() + interval;
    ConstMeasurementList kept;
    for (const ConstMeasurementPtr &r : readings) {
        if (r->Date().timeIntervalSinceReferenceDate() > threshold)
            kept.append(r);
    }
    return kept;
}

void LastMonthFilteredArray(benchmark::State &state)
{
    const PredicatePtr predicate = data().lastMonth->predicate();
    const double interval = relativeInterval(data().lastMonth);
    compare(
        state, [&] { benchmark::DoNotOptimize(predicate->filteredArray(data().readings).size()); },
        [&] { benchmark::DoNotOptimize(handFilterLastMonth(data().readings, interval).size()); });
}

void LastMonthEvaluatePerReading(benchmark::State &state)
{
    // evaluateWithObject() one reading at a time: each call reads the clock.
    const PredicatePtr predicate = data().lastMonth->predicate();
    const double interval = relativeInterval(data().lastMonth);
    compare(
        state,
        [&] {
            ConstMeasurementList kept;
            for (const ConstMeasurementPtr &r : data().readings) {
                if (predicate->evaluateWithObject(*r))
                    kept.append(r);
            }
            benchmark::DoNotOptimize(kept.size());
        },
        [&] { benchmark::DoNotOptimize(handFilterLastMonth(data().readings, interval).size()); });
}

// --- Averages: all eight items of three averages ------------------------------------------------

constexpr Measurement::Key kKeys[8] = {
    Measurement::Key::Systolic,     Measurement::Key::Diastolic,    Measurement::Key::PulsePressure,
    Measurement::Key::Pulse,        Measurement::Key::Weight,       Measurement::Key::CustomValue1,
    Measurement::Key::CustomValue2, Measurement::Key::CustomValue3,
};

struct Stats
{
    std::array<double, 8> mean{}, deviation{};
    std::array<bool, 8> valid{};
};

// which: 0 the no-filter filter ("Systolic > 0"), 1 last week, 2 last month.
Stats handStats(const ConstMeasurementList &readings, int which, double weekInterval,
                double monthInterval)
{
    const double now = Date::now().timeIntervalSinceReferenceDate();
    const double threshold = now + (which == 1 ? weekInterval : monthInterval);
    std::array<double, 8> sum{}, squares{};
    std::array<qint64, 8> count{};
    for (const ConstMeasurementPtr &r : readings) {
        double value;
        if (which == 0) {
            if (!r->numberForKey(Measurement::Key::Systolic, &value) || !(value > 0))
                continue;
        } else if (!(r->Date().timeIntervalSinceReferenceDate() > threshold)) {
            continue;
        }
        for (int k = 0; k < 8; ++k) {
            if (r->numberForKey(kKeys[k], &value)) {
                sum[k] += value;
                squares[k] += value * value;
                ++count[k];
            }
        }
    }
    Stats s;
    for (int k = 0; k < 8; ++k) {
        if (count[k] == 0)
            continue;
        const double mean = sum[k] / double(count[k]);
        double variance = squares[k] / double(count[k]) - mean * mean;
        if (variance < 0.00001)
            variance = 0;
        s.mean[k] = mean;
        s.deviation[k] = std::sqrt(variance);
        s.valid[k] = true;
    }
    return s;
}

void ThreeAverages(benchmark::State &state)
{
    Data &d = data();
    const std::array<AveragePtr, 3> averages = {
        Average::averageWithArray(&d.readings, d.noFilter),
        Average::averageWithArray(&d.readings, d.lastWeek),
        Average::averageWithArray(&d.readings, d.lastMonth)};
    const double week = relativeInterval(d.lastWeek), month = relativeInterval(d.lastMonth);
    compare(
        state,
        [&] {
            double total = 0;
            for (const AveragePtr &average : averages) {
                average->invalidate();
                for (const QString &key : Average::keys()) {
                    const AverageItemPtr item = average->item(key);
                    total += item->average() + item->deviation() + item->isValid();
                }
            }
            benchmark::DoNotOptimize(total);
        },
        [&] {
            double total = 0;
            for (int which = 0; which < 3; ++which) {
                const Stats s = handStats(d.readings, which, week, month);
                for (int k = 0; k < 8; ++k)
                    total += s.mean[k] + s.deviation[k] + s.valid[k];
            }
            benchmark::DoNotOptimize(total);
        });
}

// The home-measurement summary of all readings against what the averages page costs for one
// filter (its eight items computed afresh): here "hand_us" is the averages' time and "ratio" the
// summary's time over it.
void HomeSummaryAgainstOneAverage(benchmark::State &state)
{
    Data &d = data();
    const AveragePtr average = Average::averageWithArray(&d.readings, d.noFilter);
    compare(
        state,
        [&] {
            const HomeSummary summary = HomeSummary::compute(d.readings, HomeSummary::Settings());
            benchmark::DoNotOptimize(summary.countedReadings());
        },
        [&] {
            double total = 0;
            average->invalidate();
            for (const QString &key : Average::keys()) {
                const AverageItemPtr item = average->item(key);
                total += item->average() + item->deviation() + item->isValid();
            }
            benchmark::DoNotOptimize(total);
        });
}

// Both sides must compute the same numbers, or the comparison means nothing.
bool sameResults()
{
    Data &d = data();
    const double week = relativeInterval(d.lastWeek), month = relativeInterval(d.lastMonth);
    const ConstMeasurementList kept = d.lastMonth->predicate()->filteredArray(d.readings);
    if (kept.isEmpty() || kept != handFilterLastMonth(d.readings, month))
        return false;
    const FilterPtr filters[3] = {d.noFilter, d.lastWeek, d.lastMonth};
    for (int which = 0; which < 3; ++which) {
        const AveragePtr average = Average::averageWithArray(&d.readings, filters[which]);
        const Stats s = handStats(d.readings, which, week, month);
        for (int k = 0; k < 8; ++k) {
            const AverageItemPtr item = average->item(Measurement::keyName(kKeys[k]));
            if (item->average() != s.mean[k] || item->deviation() != s.deviation[k] ||
                item->isValid() != s.valid[k])
                return false;
        }
    }
    return true;
}

} // namespace

BENCHMARK(LastMonthFilteredArray)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(LastMonthEvaluatePerReading)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(ThreeAverages)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(HomeSummaryAgainstOneAverage)->UseManualTime()->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    qputenv("TZ", "Europe/Berlin");
    tzset();
    benchmark::Initialize(&argc, argv);
    if (!sameResults()) {
        std::fprintf(stderr, "the measured code and the hand loop disagree\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
