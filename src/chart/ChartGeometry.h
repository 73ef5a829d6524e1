#pragma once

#include "Date.h"

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <cmath>
#include <limits>

// Where everything of one chart goes: the plot rectangle, the value scale with its grid and
// labels, the calendar-aligned date ticks with their labels, the points of every line and the
// selection marker. It is computed from the chart's data alone, before anything is painted, so
// the same layout serves the screen, paper and tests. Coordinates are in points, y growing
// downward; positions are computed in double precision and rounded to single precision.
class ChartGeometry
{
public:
    // The null marker of a line's points: a reading without that value, or a line switched off.
    static constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();
    static bool isValue(double v) { return std::isfinite(v); }

    // What the chart draws, as its data source answers it.
    struct Input
    {
        QList<Date> dates;          // ascending
        QList<QList<double>> lines; // one entry per date, kNoValue for none
        QList<QColor> colors;       // one per line; an invalid colour means none
        Date selectedDate;          // null when nothing is selected
        // Optional parts: a legend title per line (empty: not in the legend; no titles at all:
        // no legend), the unit of the value axis (empty: none), and a dashed line at each of
        // the threshold values (kNoValue or none: no line) in the colour of its line.
        QStringList titles;
        QString unit;
        QList<double> thresholds; // one per line
    };

    enum class TimeStep
    {
        Day,
        Week,
        Month,
        Year
    };

    struct ValueLabel
    {
        int value = 0;
        QString text;
        QPointF topLeft;
    };

    struct Tick
    {
        Date date;
        double x = 0;
        bool skipped = false; // too close to the value axis: neither grid line nor label
        bool labelled = false;
        QString text;         // the label, when labelled
        QPointF labelTopLeft; // where the label goes, when labelled
    };

    struct Line
    {
        QColor color;          // invalid: the source had no colour for the line
        QList<QPointF> points; // empty when the line has fewer than two values
        // The device pixels per point the points are thinned for already, as
        // ChartRaster::thinnedToColumns thins them on a device that scales by that much and
        // moves nothing; 0 when they are not.
        double thinnedFor = 0;
    };

    // Side lengths (in points) of the margins around the plot and of the dots.
    static constexpr double kMargin = 30;
    static constexpr double kDotSize = 6;
    static constexpr double kLineWidth = 1.5;

    QRectF bounds; // the rectangle given
    QRectF plot;   // inset by kMargin on every side

    // Fewer than two dates: only the "no data" text is drawn, into emptyTextBox.
    bool empty = true;
    QString emptyText;
    QRectF emptyTextBox;

    // Value scale: y(v) = top + (1 - v / ytop) * height.
    double vmax = 0;
    double ytop = 110;
    QList<double> gridValues; // horizontal grid lines at 10, 20, ... below ytop
    int labelStep = 100;
    QList<ValueLabel> valueLabels;

    // Time axis: x(t) = left + width * (t - first) / span.
    Date first;
    double span = 0;
    TimeStep timeStep = TimeStep::Day;
    double unit = 86400;
    qint64 units = 0;
    qint64 room = 0;
    qint64 labelEvery = 1; // every k-th tick is labelled
    QList<Tick> ticks;     // in order, skipped ones included

    QList<Line> lines;

    bool hasSelection = false; // a selected date that falls on the time axis
    double selectionX = 0;

    // Where lines and dots may be drawn; null: anywhere.
    QRectF dataClip;

    // Lays out the chart of the input within the bounds.
    static ChartGeometry compute(const Input &input, const QRectF &bounds);
    // Lays out everything but the lines: the time axis from first to last, the value scale up to
    // vmax and the marker at the selected date.
    static ChartGeometry computeFrame(Date first, Date last, double vmax, Date selectedDate,
                                      const QRectF &bounds);
    // The chart of fewer than two dates: the "no data" text alone.
    static ChartGeometry emptyChart(const QRectF &bounds);

    // The legend: one entry per drawn line with a title, in line order, in the margin above the
    // plot and right-aligned with it, so that it covers no data. `sample` is the short stroke
    // in the line's colour, `textTopLeft` where the title goes.
    struct LegendEntry
    {
        QString title;
        QColor color;
        QLineF sample;
        QPointF textTopLeft;
        QRectF rect; // sample and title together
    };
    QList<LegendEntry> legend;
    // The unit of the value axis, above it.
    QString unitText;
    QPointF unitTopLeft;
    // Dashed threshold lines across the plot.
    struct Threshold
    {
        double value = 0;
        double y = 0;
        QColor color;
    };
    QList<Threshold> thresholds;

    // Lays out the legend, the axis unit and the threshold lines of a computed chart.
    void layoutAnnotations(const Input &input);

    double yForValue(double v) const;
    double xForDate(Date date) const;

    // Formulas of the layout, exposed for their own sake.
    static double scaleTop(double vmax);
    static int valueLabelStep(double plotHeight, double ytop);
    static TimeStep timeStepForSpan(double span);
    static double unitForTimeStep(TimeStep step);
    static Date stepDate(Date date, TimeStep step);
    // The smallest k >= 1 with units / k (whole part) at most room.
    static qint64 labelSpacing(qint64 units, qint64 room);

    // Fonts of the value and date labels and of the "no data" text: the application font at
    // 9 and 15 points. Sizes are in the painter's units (points), whatever the device.
    static QFont labelFont();
    static QFont emptyTextFont();
    // The text of a date label: the date alone in the short date format.
    static QString dateLabelText(Date date);

    // Never more horizontal grid lines or value labels than this, whatever the values.
    static constexpr int kMaxGridLines = 10000;
};
