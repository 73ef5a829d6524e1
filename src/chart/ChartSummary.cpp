#include "ChartSummary.h"

#include "ChartRaster.h"
#include "ChartThreads.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The pyramid of extremes starts at blocks of this many values.
constexpr size_t kBlock = 16;

// Lines of this many values and more are summarised and laid out on two threads.
constexpr qsizetype kShared = 20000;

double single(double v)
{
    return double(float(v));
}

} // namespace

ChartSummary::ChartSummary(ChartGeometry::Input input)
{
    assign(std::move(input));
}

ChartGeometry::Input ChartSummary::takeInput()
{
    ChartGeometry::Input input = std::move(pInput);
    pInput = ChartGeometry::Input();
    assign(ChartGeometry::Input());
    return input;
}

void ChartSummary::assign(ChartGeometry::Input input)
{
    pInput = std::move(input);
    fVmax = 0;
    bOrdered = true;
    bTrees = false;
    const qsizetype count = pInput.dates.size();
    const Date *dates = std::as_const(pInput.dates).constData();
    pSeconds.resize(size_t(count));
    double previous = -HUGE_VAL;
    for (qsizetype j = 0; j < count; ++j) {
        const double t = dates[j].timeIntervalSinceReferenceDate();
        pSeconds[size_t(j)] = t;
        bOrdered = bOrdered && t >= previous && std::isfinite(t);
        previous = t;
    }
    const auto vmaxOf = [](const double *values, qsizetype size, double vmax) {
        for (qsizetype j = 0; j < size; ++j) {
            const double v = values[j];
            if (ChartGeometry::isValue(v) && v > vmax)
                vmax = v;
        }
        return vmax;
    };
    if (!bOrdered || isEmpty()) {
        for (const QList<double> &points : std::as_const(pInput.lines))
            fVmax = vmaxOf(points.constData(), points.size(), fVmax);
        for (Series &s : pSeries)
            s.size = 0;
        return;
    }

    pSeries.resize(size_t(pInput.lines.size()));
    std::vector<double> vmax(pSeries.size(), 0.0);
    // Line by line, on two threads for much data.
    ChartThreads::forEach(pSeries.size(), count >= kShared, [&](size_t n) {
        Series &s = pSeries[n];
        const QList<double> &points = std::as_const(pInput.lines)[qsizetype(n)];
        vmax[n] = vmaxOf(points.constData(), points.size(), 0.0);
        const qsizetype m = std::min(count, points.size());
        const double *values = points.constData();
        const bool every =
            std::all_of(values, values + m, [](double v) { return ChartGeometry::isValue(v); });
        if (every) {
            s.seconds = pSeconds.data();
            s.values = values;
            s.size = size_t(m);
        } else {
            s.keptSeconds.resize(size_t(m));
            s.keptValues.resize(size_t(m));
            size_t kept = 0;
            for (qsizetype j = 0; j < m; ++j) {
                const double v = values[j];
                s.keptSeconds[kept] = pSeconds[size_t(j)];
                s.keptValues[kept] = v;
                kept += ChartGeometry::isValue(v) ? 1 : 0;
            }
            s.seconds = s.keptSeconds.data();
            s.values = s.keptValues.data();
            s.size = kept;
        }
    });
    for (double v : vmax)
        fVmax = std::max(fVmax, v);
}

void ChartSummary::buildTrees()
{
    if (bTrees.load(std::memory_order_acquire))
        return;
    if (!bOrdered || isEmpty()) {
        bTrees.store(true, std::memory_order_release);
        return;
    }
    // Line by line, on two threads for much data.
    ChartThreads::forEach(pSeries.size(), count() >= kShared, [&](size_t n) {
        Series &s = pSeries[n];
        // Leaf b of the tree holds the extremes of block b.
        const double *v = s.values;
        const size_t size = s.size;
        const size_t blocks = (size + kBlock - 1) / kBlock;
        s.highest.resize(2 * blocks);
        s.lowest.resize(2 * blocks);
        for (size_t b = 0; b < blocks; ++b) {
            size_t hi = b * kBlock, lo = hi;
            const size_t end = std::min(size, hi + kBlock);
            for (size_t i = hi + 1; i < end; ++i) {
                hi = v[i] > v[hi] ? i : hi;
                lo = v[i] < v[lo] ? i : lo;
            }
            s.highest[blocks + b] = quint32(hi);
            s.lowest[blocks + b] = quint32(lo);
        }
        for (size_t k = blocks - 1; k >= 1 && blocks > 1; --k) {
            const quint32 a = s.highest[2 * k], b = s.highest[2 * k + 1];
            s.highest[k] = v[b] > v[a] || (v[b] == v[a] && b < a) ? b : a;
            const quint32 c = s.lowest[2 * k], d = s.lowest[2 * k + 1];
            s.lowest[k] = v[d] < v[c] || (v[d] == v[c] && d < c) ? d : c;
        }
    });
    bTrees.store(true, std::memory_order_release);
}

void ChartSummary::extremes(const Series &s, qsizetype from, qsizetype to, qsizetype *high,
                            qsizetype *low) const
{
    const double *v = s.values;
    size_t hi = size_t(from), lo = size_t(from);
    auto take = [&](size_t h, size_t l) {
        if (v[h] > v[hi] || (v[h] == v[hi] && h < hi))
            hi = h;
        if (v[l] < v[lo] || (v[l] == v[lo] && l < lo))
            lo = l;
    };
    auto scan = [&](size_t first, size_t last) {
        for (size_t i = first; i < last; ++i)
            take(i, i);
    };
    if (!bTrees.load(std::memory_order_acquire)) {
        // Every value, in order: the first of equals is kept. The extremes so far are kept
        // apart from their places, which then need not be looked up again.
        double highest = v[hi], lowest = v[lo];
        for (size_t i = size_t(from) + 1; i < size_t(to); ++i) {
            const double value = v[i];
            hi = value > highest ? i : hi;
            highest = value > highest ? value : highest;
            lo = value < lowest ? i : lo;
            lowest = value < lowest ? value : lowest;
        }
        *high = qsizetype(hi);
        *low = qsizetype(lo);
        return;
    }
    // Whole blocks through the tree, the values before and after them one by one.
    const size_t blocks = s.highest.size() / 2;
    const size_t first = (size_t(from) + kBlock - 1) / kBlock, last = size_t(to) / kBlock;
    if (first >= last) {
        scan(size_t(from), size_t(to));
    } else {
        scan(size_t(from), first * kBlock);
        for (size_t l = first + blocks, r = last + blocks; l < r; l >>= 1, r >>= 1) {
            if (l & 1) {
                take(s.highest[l], s.lowest[l]);
                ++l;
            }
            if (r & 1) {
                --r;
                take(s.highest[r], s.lowest[r]);
            }
        }
        scan(last * kBlock, size_t(to));
    }
    *high = qsizetype(hi);
    *low = qsizetype(lo);
}

qsizetype ChartSummary::nearestReading(double seconds) const
{
    if (pSeconds.empty())
        return -1;
    const auto at = std::lower_bound(pSeconds.begin(), pSeconds.end(), seconds);
    qsizetype j = at - pSeconds.begin();
    if (j == qsizetype(pSeconds.size()))
        return j - 1;
    if (j > 0 && seconds - pSeconds[size_t(j - 1)] <= pSeconds[size_t(j)] - seconds) {
        // The first of the readings at that earlier moment.
        const double t = pSeconds[size_t(j - 1)];
        j = std::lower_bound(pSeconds.begin(), pSeconds.end(), t) - pSeconds.begin();
    }
    return j;
}

ChartGeometry ChartSummary::layout(const QRectF &bounds, double devicePixelRatio) const
{
    if (isEmpty())
        return ChartGeometry::emptyChart(bounds);
    return layout(bounds, devicePixelRatio, pInput.dates.first(), pInput.dates.last());
}

ChartGeometry ChartSummary::layout(const QRectF &bounds, double devicePixelRatio, Date shownFirst,
                                   Date shownLast) const
{
    ChartGeometry g = layoutFrame(bounds, shownFirst, shownLast);
    layoutLines(g, devicePixelRatio, shownFirst, shownLast);
    return g;
}

ChartGeometry ChartSummary::layoutFrame(const QRectF &bounds, Date shownFirst, Date shownLast) const
{
    if (isEmpty())
        return ChartGeometry::emptyChart(bounds);
    if (!bOrdered)
        return ChartGeometry::compute(pInput, bounds); // lines included
    ChartGeometry g =
        ChartGeometry::computeFrame(shownFirst, shownLast, fVmax, pInput.selectedDate, bounds);
    const bool whole = shownFirst.timeIntervalSinceReferenceDate() <= pSeconds.front() &&
                       shownLast.timeIntervalSinceReferenceDate() >= pSeconds.back();
    if (!whole)
        g.dataClip = QRectF(g.plot.left(), bounds.top(), g.plot.width(), bounds.height());
    return g;
}

void ChartSummary::layoutLines(ChartGeometry &g, double devicePixelRatio, Date shownFirst,
                               Date shownLast) const
{
    if (isEmpty() || !bOrdered)
        return;
    const double from = shownFirst.timeIntervalSinceReferenceDate();
    const double to = shownLast.timeIntervalSinceReferenceDate();

    // x(t) as ChartGeometry::xForDate computes it.
    const double left = g.plot.left(), width = g.plot.width(), span = g.span;
    const double middle = single(left + width / 2.0);
    auto xAt = [&](double t) {
        return span > 0 ? single(left + width * (t - from) / span) : middle;
    };

    // The values of a line within the period and one on either side.
    const auto within = [&](const double *seconds, size_t size) {
        const qsizetype begin = std::lower_bound(seconds, seconds + size, from) - seconds;
        const qsizetype end = std::upper_bound(seconds, seconds + size, to) - seconds;
        return std::make_pair(std::max<qsizetype>(0, begin - 1),
                              std::min(qsizetype(size), end + 1));
    };
    // Where each device pixel column's run of a line's times begins, and the end last.
    const auto runsOf = [&](const double *seconds, qsizetype begin, qsizetype end) {
        std::vector<qsizetype> runs;
        runs.reserve(size_t(std::min(double(end - begin), devicePixelRatio * width + 16)) + 1);
        auto column = [&](qsizetype i) { return std::floor(devicePixelRatio * xAt(seconds[i])); };
        for (qsizetype i = begin; i < end;) {
            runs.push_back(i);
            // The run of the column of time i: gallop, then halve.
            const double c = column(i);
            qsizetype same = i, other = i + 1, step = 1;
            while (other < end && column(other) == c) {
                same = other;
                step *= 2;
                other = std::min(end, i + step);
            }
            while (other - same > 1) {
                const qsizetype mid = same + (other - same) / 2;
                (column(mid) == c ? same : other) = mid;
            }
            i = other;
        }
        runs.push_back(end);
        return runs;
    };
    // Found once for the lines with a value at every time, which share the readings' times.
    const auto [sharedBegin, sharedEnd] = within(pSeconds.data(), pSeconds.size());
    const std::vector<qsizetype> sharedRuns = runsOf(pSeconds.data(), sharedBegin, sharedEnd);

    std::vector<ChartGeometry::Line> lines(pSeries.size());
    // Line by line, on two threads for much data.
    ChartThreads::forEach(lines.size(), count() >= kShared, [&](size_t n) {
        const Series &s = pSeries[n];
        ChartGeometry::Line &line = lines[n];
        line.color = qsizetype(n) < pInput.colors.size() ? pInput.colors[qsizetype(n)] : QColor();
        if (s.size < 2)
            return;
        line.thinnedFor = devicePixelRatio;
        const bool shared = s.seconds == pSeconds.data() && s.size == pSeconds.size();
        std::vector<qsizetype> ownRuns;
        if (!shared) {
            const auto [begin, end] = within(s.seconds, s.size);
            ownRuns = runsOf(s.seconds, begin, end);
        }
        const std::vector<qsizetype> &runs = shared ? sharedRuns : ownRuns;
        // At most four points a device pixel column, besides runs kept whole.
        line.points.reserve(qsizetype(
            std::min(double(runs.back() - runs.front()), 4 * devicePixelRatio * width + 16)));
        auto point = [&](qsizetype i) {
            return QPointF(xAt(s.seconds[i]), g.yForValue(s.values[i]));
        };
        for (size_t r = 0; r + 1 < runs.size(); ++r) {
            const qsizetype i = runs[r], other = runs[r + 1];
            if (other - i <= ChartRaster::kThinRun) {
                for (qsizetype j = i; j < other; ++j)
                    line.points.append(point(j));
            } else {
                qsizetype high, low;
                extremes(s, i, other, &high, &low);
                const qsizetype keep[] = {i, std::min(high, low), std::max(high, low), other - 1};
                qsizetype last = -1;
                for (qsizetype j : keep) {
                    if (j != last)
                        line.points.append(point(j));
                    last = j;
                }
            }
        }
    });
    g.lines.reserve(qsizetype(lines.size()));
    for (ChartGeometry::Line &line : lines)
        g.lines.append(std::move(line));
    g.layoutAnnotations(pInput);
}
