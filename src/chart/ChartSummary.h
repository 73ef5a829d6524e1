#pragma once

#include "ChartGeometry.h"

#include <atomic>
#include <utility>
#include <vector>

// The chart's data kept for drawing it again and again: the readings' times and, per line, its
// values with a pyramid of their extremes (the highest and the lowest of every run of 16, 32,
// 64 ... values). From it the layout of any period at any size is thinned to what each device
// pixel column shows, at a cost that follows the width in pixels rather than the number of
// readings. The pyramids are built when asked for, as the first layout of new data costs less
// going through the values themselves.
class ChartSummary
{
public:
    ChartSummary() = default;
    explicit ChartSummary(ChartGeometry::Input input);
    // The lines point into the data kept: a summary is not copied.
    ChartSummary(const ChartSummary &) = delete;
    ChartSummary &operator=(const ChartSummary &) = delete;

    // Summarises other data, in the memory of the last (which a change of data rarely
    // outgrows); takeInput() hands the data's lists out to be filled again.
    void assign(ChartGeometry::Input input);
    ChartGeometry::Input takeInput();

    // Builds the pyramids of extremes, unless built: until then a layout goes through every value
    // of the period, which costs less than building them for a single layout. One thread may
    // build them while others lay out: those go through the values until the pyramids are done.
    void buildTrees();

    const ChartGeometry::Input &input() const { return pInput; }
    // Fewer than two dates: the chart is empty.
    bool isEmpty() const { return pInput.dates.size() < 2; }
    qsizetype count() const { return pInput.dates.size(); }
    // The time of a reading, in seconds since the reference date.
    double secondsAt(qsizetype reading) const { return pSeconds[size_t(reading)]; }

    // The reading whose time lies nearest to the moment (the first of equals); -1 when there
    // are no readings.
    qsizetype nearestReading(double seconds) const;

    // The layout of the period shownFirst..shownLast within the bounds, for a device of
    // devicePixelRatio pixels per point. Where more than a few points of a line fall into one
    // device pixel column, only the highest and the lowest of them are kept, the one nearer the
    // line's point before first: the stroke between them covers the column as all its points'
    // strokes and dots do, and a long stroke crosses the column once. A line runs on to its values
    // just outside the period and is clipped at the plot's sides unless the period is the whole.
    ChartGeometry layout(const QRectF &bounds, double devicePixelRatio, Date shownFirst,
                         Date shownLast) const;
    // The same over the whole period.
    ChartGeometry layout(const QRectF &bounds, double devicePixelRatio) const;
    // The same in two steps: everything but the lines, then the lines and what follows them (the
    // legend, the thresholds). The second reads nothing but the summary and the geometry, so that
    // it may run on another thread while the summary is left as it is.
    ChartGeometry layoutFrame(const QRectF &bounds, Date shownFirst, Date shownLast) const;
    void layoutLines(ChartGeometry &g, double devicePixelRatio, Date shownFirst,
                     Date shownLast) const;

private:
    struct Series
    {
        // The times of the line's values, ascending, and the values: the data's own lists
        // when the line has a value at every time, else those kept here.
        const double *seconds = nullptr, *values = nullptr;
        size_t size = 0;
        std::vector<double> keptSeconds, keptValues;
        // Iterative tree over blocks of values: node k (1 <= k < blocks) covers nodes 2k and
        // 2k + 1, block b is leaf blocks + b. Each node holds the index of its highest and
        // lowest value (the first of equals).
        std::vector<quint32> highest, lowest;
    };
    void extremes(const Series &series, qsizetype from, qsizetype to, qsizetype *high,
                  qsizetype *low) const;

    ChartGeometry::Input pInput;
    std::vector<double> pSeconds;
    std::vector<Series> pSeries;
    double fVmax = 0;
    bool bOrdered = true;             // times finite and ascending: columns can be searched for
    std::atomic<bool> bTrees = false; // the series' pyramids are built
};
