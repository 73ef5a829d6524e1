#pragma once

#include "ChartGeometry.h"

#include <QSize>
#include <QString>

class ChartDataSource;
class QImage;
class QPainter;
class QRectF;

// Draws the chart: coloured lines with dots over time, a value axis with labels,
// calendar-aligned date ticks, a light grid and, on screen, a green marker at the selected
// reading. One drawing serves the screen, the printed report and image export, onto any paint
// device; it needs no widgets.
class ChartPainter
{
public:
    // Draws the whole chart of the source within the bounds (in the painter's units, points).
    // On paper (forPrint) the axes are antialiased, the grid is finer, the selection marker is
    // left out and an empty chart gets an outline. A null source draws the empty chart.
    static void drawChartUsingSource(QPainter &painter, const ChartDataSource *source,
                                     const QRectF &bounds, bool forPrint);

    // How lines and dots reach the device. Fast draws the same picture as Exact, but thins each
    // line to what one device pixel column can show (keeping the extremes) and, on raster
    // devices, stamps the dots into a coverage mask, so that many readings draw quickly.
    enum class Rendering
    {
        Fast,
        Exact
    };

    // The data of the source as the layout takes it.
    static ChartGeometry::Input inputFromSource(const ChartDataSource *source);
    // The same into an input whose lists are filled again in their own memory.
    static void fillInputFromSource(const ChartDataSource *source, ChartGeometry::Input &input);
    // Paints a computed layout.
    static void drawChart(QPainter &painter, const ChartGeometry &geometry, bool forPrint,
                          Rendering rendering = Rendering::Fast);

    // The chart as the screen shows it, on white, into a new image of the given size in pixels
    // (one pixel per point); without the selection marker unless asked for.
    static QImage renderImage(const ChartDataSource *source, const QSize &size,
                              bool withSelection = false);
    // The same, written as a PNG file; false with a message when the file cannot be written.
    static bool renderPng(const ChartDataSource *source, const QString &fileName,
                          const QSize &size = QSize(1200, 800), QString *errorMessage = nullptr);
};
