#include "ChartPainter.h"

#include "ChartDataSource.h"
#include "ChartRaster.h"

#include <QFontMetricsF>
#include <QImage>
#include <QImageWriter>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

QColor axisColor()
{
    return QColor::fromRgbF(0.5f, 0.5f, 0.5f);
}
QColor gridColor()
{
    return QColor::fromRgbF(0.9f, 0.9f, 0.9f);
}
QColor emptyTextColor()
{
    return QColor::fromRgbF(0.6f, 0.6f, 0.6f);
}

QRectF dotRect(const QPointF &centre)
{
    const double half = ChartGeometry::kDotSize / 2;
    return QRectF(centre.x() - half, centre.y() - half, ChartGeometry::kDotSize,
                  ChartGeometry::kDotSize);
}

// All dots as one path, filled once.
void fillDotsPath(QPainter &painter, const QList<QPointF> &centres, const QColor &color)
{
    QPainterPath dots;
    dots.setFillRule(Qt::WindingFill);
    for (const QPointF &p : centres)
        dots.addEllipse(dotRect(p));
    painter.fillPath(dots, color);
}

// The dots that can be told apart on the device: centres closer than an eighth of a device
// pixel count once.
QList<QPointF> distinctDots(const QList<QPointF> &centres, const QTransform &toDevice)
{
    std::vector<std::pair<std::pair<qint64, qint64>, qsizetype>> keyed;
    keyed.reserve(size_t(centres.size()));
    for (qsizetype j = 0; j < centres.size(); ++j) {
        const QPointF d = toDevice.map(centres[j]);
        keyed.push_back({{qint64(std::llround(d.x() * 8)), qint64(std::llround(d.y() * 8))}, j});
    }
    std::sort(keyed.begin(), keyed.end());
    QList<QPointF> distinct;
    for (size_t i = 0; i < keyed.size(); ++i) {
        if (i == 0 || keyed[i].first != keyed[i - 1].first)
            distinct.append(centres[keyed[i].second]);
    }
    return distinct;
}

// Segments between consecutive points; where they meet, a dot covers the joint.
QList<QLineF> segmentsOf(const QList<QPointF> &points)
{
    QList<QLineF> segments;
    segments.reserve(points.size());
    for (qsizetype j = 1; j < points.size(); ++j)
        segments.append(QLineF(points[j - 1], points[j]));
    return segments;
}

void drawEmptyChart(QPainter &painter, const ChartGeometry &g, bool forPrint)
{
    painter.setFont(ChartGeometry::emptyTextFont());
    painter.setPen(emptyTextColor());
    painter.drawText(g.emptyTextBox, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                     g.emptyText);
    if (forPrint) {
        painter.setPen(QPen(axisColor(), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(g.plot);
    }
}

void drawLabel(QPainter &painter, const QPointF &topLeft, double ascent, const QString &text)
{
    painter.drawText(QPointF(topLeft.x(), topLeft.y() + ascent), text);
}

// Dashed lines at the threshold values, under the data.
void drawThresholds(QPainter &painter, const ChartGeometry &g)
{
    if (g.thresholds.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const ChartGeometry::Threshold &threshold : g.thresholds) {
        QPen pen(threshold.color, 1, Qt::DashLine);
        pen.setDashPattern({6, 4});
        painter.setPen(pen);
        painter.drawLine(QLineF(g.plot.left() + 1, threshold.y, g.plot.right(), threshold.y));
    }
    painter.restore();
}

// The legend and the unit of the value axis, in the margin above the plot.
void drawLegend(QPainter &painter, const ChartGeometry &g)
{
    if (g.legend.isEmpty() && g.unitText.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setFont(ChartGeometry::labelFont());
    const double ascent = QFontMetricsF(ChartGeometry::labelFont()).ascent();
    painter.setPen(Qt::black);
    if (!g.unitText.isEmpty())
        drawLabel(painter, g.unitTopLeft, ascent, g.unitText);
    for (const ChartGeometry::LegendEntry &entry : g.legend) {
        painter.setPen(QPen(entry.color, ChartGeometry::kLineWidth));
        painter.drawLine(entry.sample);
        painter.setPen(Qt::black);
        drawLabel(painter, entry.textTopLeft, ascent, entry.title);
    }
    painter.restore();
}

} // namespace

ChartGeometry::Input ChartPainter::inputFromSource(const ChartDataSource *source)
{
    ChartGeometry::Input input;
    fillInputFromSource(source, input);
    return input;
}

void ChartPainter::fillInputFromSource(const ChartDataSource *source, ChartGeometry::Input &input)
{
    input.selectedDate = Date();
    input.titles.clear();
    input.unit.clear();
    input.thresholds.clear();
    input.colors.clear();
    if (!source) {
        input.dates.clear();
        input.lines.clear();
        return;
    }
    if (source->objects().size() < 2) {
        source->fillDates(input.dates);
        input.lines.clear();
        return;
    }
    source->fillDatesAndLines(input.dates, input.lines);
    for (int n = 0; n < source->numberOfLines(); ++n)
        input.colors.append(source->colorForLine(n));
    input.selectedDate = source->selectedDate();
    input.titles = source->legendTitles();
    input.unit = source->valueUnit();
    input.thresholds = source->thresholds();
}

void ChartPainter::drawChartUsingSource(QPainter &painter, const ChartDataSource *source,
                                        const QRectF &bounds, bool forPrint)
{
    drawChart(painter, ChartGeometry::compute(inputFromSource(source), bounds), forPrint);
}

void ChartPainter::drawChart(QPainter &painter, const ChartGeometry &g, bool forPrint,
                             Rendering rendering)
{
    painter.save();
    if (g.empty) {
        drawEmptyChart(painter, g, forPrint);
        painter.restore();
        return;
    }
    const double left = g.plot.left(), top = g.plot.top();
    const double right = left + g.plot.width(), bottom = top + g.plot.height();

    // Axes, then the horizontal grid.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, forPrint);
    painter.setPen(QPen(axisColor(), 1));
    const QPointF axes[] = {{left, top}, {left, bottom}, {right, bottom}};
    painter.drawPolyline(axes, 3);
    painter.setPen(QPen(gridColor(), forPrint ? 0.3 : 1));
    QList<QLineF> grid;
    grid.reserve(g.gridValues.size());
    for (double v : g.gridValues) {
        const double y = g.yForValue(v);
        grid.append(QLineF(left + 1, y, right, y));
    }
    painter.drawLines(grid);
    painter.restore();

    // Value labels and date labels.
    painter.setFont(ChartGeometry::labelFont());
    painter.setPen(Qt::black);
    const double ascent = QFontMetricsF(ChartGeometry::labelFont()).ascent();
    for (const ChartGeometry::ValueLabel &label : g.valueLabels)
        drawLabel(painter, label.topLeft, ascent, label.text);
    QList<QLineF> ticks;
    for (const ChartGeometry::Tick &tick : g.ticks) {
        if (tick.skipped)
            continue;
        ticks.append(QLineF(tick.x, bottom - 1, tick.x, top));
        if (tick.labelled)
            drawLabel(painter, tick.labelTopLeft, ascent, tick.text);
    }

    // Vertical grid.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(gridColor(), forPrint ? 0.3 : 1));
    painter.drawLines(ticks);
    painter.restore();
    drawThresholds(painter, g);

    // Data: each line stroked, then its dots filled, later lines over earlier ones.
    //
    // Exact strokes each line as one polyline and fills its dots as one path, which Qt does
    // very slowly for wide antialiased lines with many points. Fast draws the same picture: the
    // line thinned to what a device pixel column shows, as separate segments (their joints lie
    // under the dots), and the dots one by one or, on raster devices when there are many,
    // together with the segments through a coverage mask. Vector devices (paper, PDF, print
    // preview) get only the dots that can be told apart.
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QTransform toDevice = painter.deviceTransform();
    const bool simpleTransform = toDevice.type() <= QTransform::TxScale && toDevice.m11() > 0 &&
                                 qFuzzyCompare(toDevice.m11(), toDevice.m22());
    const bool raster =
        painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster;
    // Masks go straight into an image painted on plainly, within the data's clip.
    QImage *target = nullptr;
    QRect deviceClip;
    if (raster && simpleTransform && !painter.hasClipping() &&
        painter.compositionMode() == QPainter::CompositionMode_SourceOver &&
        painter.opacity() == 1 && painter.device() &&
        painter.device()->devType() == QInternal::Image) {
        auto *image = static_cast<QImage *>(painter.device());
        if (image->format() == QImage::Format_ARGB32_Premultiplied ||
            image->format() == QImage::Format_RGB32) {
            target = image;
            deviceClip = image->rect();
        }
    }
    if (!g.dataClip.isNull()) {
        if (simpleTransform) {
            // On whole device pixels, so that the mask is cut where Qt cuts.
            const QRectF d = toDevice.mapRect(g.dataClip);
            const QRect aligned(QPoint(qRound(d.left()), qRound(d.top())),
                                QPoint(qRound(d.right()) - 1, qRound(d.bottom()) - 1));
            painter.setClipRect(toDevice.inverted().mapRect(QRectF(aligned)), Qt::IntersectClip);
            deviceClip &= aligned;
        } else {
            painter.setClipRect(g.dataClip, Qt::IntersectClip);
        }
    }
    const QRectF limit = g.bounds.adjusted(-ChartGeometry::kDotSize, -ChartGeometry::kDotSize,
                                           ChartGeometry::kDotSize, ChartGeometry::kDotSize);
    ChartRaster::LineBatch masked(painter, target, deviceClip, limit);
    for (const ChartGeometry::Line &line : g.lines) {
        if (line.points.isEmpty())
            continue;
        const QColor color = line.color.isValid() ? line.color : QColor(Qt::black);
        if (rendering == Rendering::Exact) {
            painter.setPen(
                QPen(color, ChartGeometry::kLineWidth, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
            painter.setBrush(Qt::NoBrush);
            painter.drawPolyline(line.points.constData(), int(line.points.size()));
            fillDotsPath(painter, line.points, color);
            continue;
        }
        // Points thinned for these device columns (the summary's layout) keep every run as it
        // is: thinning them again would give the same points.
        const bool thinnedAlready = line.thinnedFor == toDevice.m11() && toDevice.dx() == 0;
        const QList<QPointF> thinned = simpleTransform && !thinnedAlready
                                           ? ChartRaster::thinnedToColumns(line.points, toDevice)
                                           : line.points;
        if (raster && simpleTransform && toDevice.m11() <= ChartRaster::kMaskMaxScale &&
            line.points.size() > ChartRaster::kFewDots &&
            masked.add(line.points, thinned, color, ChartGeometry::kDotSize / 2 * toDevice.m11()))
            continue;
        masked.flush();
        painter.setPen(
            QPen(color, ChartGeometry::kLineWidth, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawLines(segmentsOf(thinned));
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        for (const QPointF &p : raster ? line.points : distinctDots(line.points, toDevice))
            painter.drawEllipse(dotRect(p));
    }
    masked.flush();

    drawLegend(painter, g);

    // Selection marker, on screen only.
    if (!forPrint && g.hasSelection) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(QColor::fromRgbF(0, 1, 0), 1));
        painter.drawLine(QLineF(g.selectionX, top, g.selectionX, bottom));
    }
    painter.restore();
}

QImage ChartPainter::renderImage(const ChartDataSource *source, const QSize &size,
                                 bool withSelection)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    ChartGeometry geometry =
        ChartGeometry::compute(inputFromSource(source), QRectF(QPointF(0, 0), QSizeF(size)));
    if (!withSelection)
        geometry.hasSelection = false;
    drawChart(painter, geometry, false);
    painter.end();
    return image;
}

bool ChartPainter::renderPng(const ChartDataSource *source, const QString &fileName,
                             const QSize &size, QString *errorMessage)
{
    if (size.width() <= 0 || size.height() <= 0 || size.width() > 20000 || size.height() > 20000) {
        if (errorMessage)
            *errorMessage = qtTrId("chart.image_size_invalid").arg(size.width()).arg(size.height());
        return false;
    }
    const QImage image = renderImage(source, size).convertToFormat(QImage::Format_RGB32);
    QImageWriter writer(fileName, "png");
    if (!writer.write(image)) {
        if (errorMessage)
            *errorMessage = qtTrId("chart.image_write_failed").arg(fileName, writer.errorString());
        return false;
    }
    return true;
}
