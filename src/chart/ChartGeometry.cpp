#include "ChartGeometry.h"

#include "DateFormatter.h"

#include <QFontMetricsF>
#include <QGuiApplication>

#include <algorithm>

namespace {

// Positions reach the painter in single precision.
double single(double v)
{
    return double(float(v));
}

constexpr int kMaxTicks = 100000;
constexpr double kMinTickOffset = 10;
constexpr double kRoomPerLabel = 70;
constexpr double kPointsPerValueLabel = 30;

} // namespace

double ChartGeometry::scaleTop(double vmax)
{
    return 100.0 * (std::floor(std::max(vmax, 0.0) / 100.0) + 1.0) + 10.0;
}

int ChartGeometry::valueLabelStep(double plotHeight, double ytop)
{
    const double n = std::floor(plotHeight / kPointsPerValueLabel);
    if (!(n > 0))
        return 100;
    const double r = ytop / n;
    if (r < 10)
        return 10;
    if (r < 20)
        return 20;
    if (r < 50)
        return 50;
    return 100;
}

ChartGeometry::TimeStep ChartGeometry::timeStepForSpan(double span)
{
    if (span >= 63115200.0)
        return TimeStep::Year;
    if (span >= 5270400.0)
        return TimeStep::Month;
    if (span >= 1209600.0)
        return TimeStep::Week;
    return TimeStep::Day;
}

double ChartGeometry::unitForTimeStep(TimeStep step)
{
    switch (step) {
    case TimeStep::Year:
        return 31557600.0;
    case TimeStep::Month:
        return 2635200.0;
    case TimeStep::Week:
        return 604800.0;
    case TimeStep::Day:
        break;
    }
    return 86400.0;
}

Date ChartGeometry::stepDate(Date date, TimeStep step)
{
    switch (step) {
    case TimeStep::Year:
        return date.nextYear();
    case TimeStep::Month:
        return date.nextMonth();
    case TimeStep::Week:
        return date.nextWeek();
    case TimeStep::Day:
        break;
    }
    return date.nextDay();
}

qint64 ChartGeometry::labelSpacing(qint64 units, qint64 room)
{
    // units / k <= room exactly when k > units / (room + 1).
    units = std::max<qint64>(units, 0);
    room = std::max<qint64>(room, 0);
    return units / (room + 1) + 1;
}

QFont ChartGeometry::labelFont()
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(9);
    return font;
}

QFont ChartGeometry::emptyTextFont()
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(15);
    return font;
}

QString ChartGeometry::dateLabelText(Date date)
{
    return DateFormatter::formatter()->stringForObjectValue(QVariant::fromValue(date));
}

double ChartGeometry::yForValue(double v) const
{
    return single(plot.top() + (1.0 - v / ytop) * plot.height());
}

double ChartGeometry::xForDate(Date date) const
{
    if (!(span > 0))
        return single(plot.left() + plot.width() / 2.0);
    const double t = date.timeIntervalSinceReferenceDate() - first.timeIntervalSinceReferenceDate();
    return single(plot.left() + plot.width() * t / span);
}

ChartGeometry ChartGeometry::compute(const Input &input, const QRectF &bounds)
{
    if (input.dates.size() < 2)
        return emptyChart(bounds);

    // Value scale over all values of all lines, drawn or not.
    double vmax = 0;
    for (const QList<double> &points : input.lines) {
        for (double v : points) {
            if (isValue(v) && v > vmax)
                vmax = v;
        }
    }
    ChartGeometry g =
        computeFrame(input.dates.first(), input.dates.last(), vmax, input.selectedDate, bounds);

    // Lines: a point for every value; a line with fewer than two gets nothing.
    const qsizetype count = input.dates.size();
    QList<double> xs(count);
    for (qsizetype j = 0; j < count; ++j)
        xs[j] = g.xForDate(input.dates[j]);
    g.lines.reserve(input.lines.size());
    for (qsizetype n = 0; n < input.lines.size(); ++n) {
        Line line;
        line.color = n < input.colors.size() ? input.colors[n] : QColor();
        const QList<double> &values = input.lines[n];
        const qsizetype m = std::min(count, values.size());
        line.points.reserve(m);
        for (qsizetype j = 0; j < m; ++j) {
            const double v = values[j];
            if (isValue(v) && std::isfinite(xs[j]))
                line.points.append(QPointF(xs[j], g.yForValue(v)));
        }
        if (line.points.size() < 2)
            line.points.clear();
        g.lines.append(std::move(line));
    }
    g.layoutAnnotations(input);
    return g;
}

ChartGeometry ChartGeometry::emptyChart(const QRectF &bounds)
{
    ChartGeometry g;
    g.bounds = bounds;
    g.plot = bounds.adjusted(kMargin, kMargin, -kMargin, -kMargin);
    g.empty = true;
    g.emptyText = qtTrId("chart.no_data");
    const double h = QFontMetricsF(emptyTextFont()).height();
    g.emptyTextBox = QRectF(g.plot.left(), single(g.plot.top() + (g.plot.height() - 2 * h) / 2),
                            g.plot.width(), single(2 * h));
    return g;
}

ChartGeometry ChartGeometry::computeFrame(Date first, Date last, double vmax, Date selectedDate,
                                          const QRectF &bounds)
{
    ChartGeometry g;
    g.bounds = bounds;
    const double left = bounds.x() + kMargin;
    const double top = bounds.y() + kMargin;
    const double width = bounds.width() - 2 * kMargin;
    const double height = bounds.height() - 2 * kMargin;
    g.plot = QRectF(left, top, width, height);
    const double bottom = top + height;
    g.empty = false;

    // Time axis. Where the first and last date coincide (or the order is broken) there is no
    // time to spread over, and every point sits in the middle.
    g.first = first;
    const double span =
        last.timeIntervalSinceReferenceDate() - first.timeIntervalSinceReferenceDate();
    g.span = span > 0 && std::isfinite(span) ? span : 0;

    g.vmax = vmax;
    g.ytop = scaleTop(vmax);

    // Horizontal grid and value labels.
    for (int i = 1; i <= kMaxGridLines && 10.0 * i < g.ytop; ++i)
        g.gridValues.append(10.0 * i);
    g.labelStep = valueLabelStep(height, g.ytop);
    const QFont font = labelFont();
    const QFontMetricsF metrics(font);
    for (int i = 0; i <= kMaxGridLines && double(g.labelStep) * i < g.ytop; ++i) {
        ValueLabel label;
        label.value = g.labelStep * i;
        label.text = QString::asprintf("%3d", label.value);
        label.topLeft =
            QPointF(single(left - 20), single(g.yForValue(label.value) - g.labelStep / 2.0));
        g.valueLabels.append(label);
    }

    // Date ticks on calendar boundaries strictly between the first and the last date.
    g.timeStep = timeStepForSpan(g.span);
    g.unit = unitForTimeStep(g.timeStep);
    g.units = qint64(std::floor(g.span / g.unit));
    g.room = std::max<qint64>(0, qint64(std::floor(width / kRoomPerLabel)));
    g.labelEvery = labelSpacing(g.units, g.room);
    Date d = g.first;
    qint64 next = 0;
    for (qint64 i = 0; g.ticks.size() < kMaxTicks; ++i) {
        const Date stepped = stepDate(d, g.timeStep);
        if (!stepped.isFinite() || stepped <= d)
            break;
        d = stepped;
        const double off =
            d.timeIntervalSinceReferenceDate() - g.first.timeIntervalSinceReferenceDate();
        if (off >= g.span)
            break;
        Tick tick;
        tick.date = d;
        const double xo = width * off / g.span;
        tick.x = single(left + xo);
        if (xo < kMinTickOffset) {
            tick.skipped = true;
            g.ticks.append(tick);
            continue;
        }
        if (i >= next) {
            tick.labelled = true;
            tick.text = dateLabelText(d);
            const double textWidth = metrics.horizontalAdvance(tick.text);
            tick.labelTopLeft = QPointF(single(tick.x - textWidth / 2), single(bottom + 2));
            next = i + g.labelEvery;
        }
        g.ticks.append(tick);
    }

    // The selection marker, for a selected date on the time axis.
    const Date sel = selectedDate;
    if (sel.isFinite() && sel >= g.first && sel <= last) {
        g.hasSelection = true;
        g.selectionX = g.xForDate(sel);
    }
    return g;
}

void ChartGeometry::layoutAnnotations(const Input &input)
{
    if (empty)
        return;
    const QFontMetricsF metrics(labelFont());
    // One text line, in the upper half of the top margin, clear of the value labels.
    const double textTop = bounds.top() + 4;
    const double lineHeight = metrics.height();
    if (!input.unit.isEmpty()) {
        unitText = input.unit;
        unitTopLeft = QPointF(bounds.left() + 4, textTop);
    }

    constexpr double kSample = 16, kSampleGap = 4, kEntryGap = 12;
    QList<LegendEntry> entries;
    double width = 0;
    for (qsizetype n = 0; n < lines.size() && n < input.titles.size(); ++n) {
        if (input.titles.at(n).isEmpty() || lines.at(n).points.isEmpty())
            continue;
        LegendEntry entry;
        entry.title = input.titles.at(n);
        entry.color = lines.at(n).color.isValid() ? lines.at(n).color : QColor(Qt::black);
        const double w = kSample + kSampleGap + metrics.horizontalAdvance(entry.title);
        entry.rect = QRectF(0, textTop, w, lineHeight);
        if (!entries.isEmpty())
            width += kEntryGap;
        width += w;
        entries.append(entry);
    }
    double x =
        std::max(plot.right() - width,
                 unitText.isEmpty() ? plot.left()
                                    : unitTopLeft.x() + metrics.horizontalAdvance(unitText) + 16);
    for (LegendEntry &entry : entries) {
        entry.rect.moveLeft(x);
        const double middle = textTop + lineHeight / 2;
        entry.sample = QLineF(x, middle, x + kSample, middle);
        entry.textTopLeft = QPointF(x + kSample + kSampleGap, textTop);
        x += entry.rect.width() + kEntryGap;
    }
    legend = entries;

    for (qsizetype n = 0; n < input.thresholds.size() && n < lines.size(); ++n) {
        const double value = input.thresholds.at(n);
        if (!isValue(value) || value > ytop || value < 0)
            continue;
        Threshold threshold;
        threshold.value = value;
        threshold.y = yForValue(value);
        threshold.color = lines.at(n).color.isValid() ? lines.at(n).color : QColor(Qt::black);
        thresholds.append(threshold);
    }
}
