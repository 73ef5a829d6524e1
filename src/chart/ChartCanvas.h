#pragma once

#include "ChartSummary.h"

#include <QImage>
#include <QPointer>

#include <memory>
#include <vector>

class ChartDataSource;
class QPainter;

// The chart of a data source as the screen shows it, drawn quickly however often it is asked
// for. The chart without its selection marker is kept as an image at the device's pixel ratio;
// a repaint copies it and draws the marker over it. The image is drawn again only when the data
// (the readings, the lines switched on, their colours), the size, the pixel ratio or the period
// shown change, and then from the data's summary, at a cost that follows the pixel width.
//
// While a window is being resized or the chart explored, that drawing may be put off: a preview
// stretches the kept image to the new size and period instead, its margins kept and its plot
// mapped onto the new plot (what the old period did not show left blank), so that every reading
// shows where the exact drawing will put it.
class ChartCanvas
{
public:
    enum class Drawing
    {
        Exact,
        Preview // the kept image stretched, when only the size or the period differs
    };

    ChartCanvas();
    ~ChartCanvas();

    void setDataSource(const ChartDataSource *source);

    // Paints the chart of the period shown (null dates: the whole) within (0, 0, size), on
    // white, for a device with devicePixelRatio pixels per point. Asked for a preview, paints
    // the kept image stretched when the data and the pixel ratio are those it was drawn for and
    // only the size or the period differs, and then returns false: the exact chart is still
    // owed. Otherwise draws exactly and returns true.
    bool paint(QPainter &painter, const QSize &size, double devicePixelRatio,
               Date shownFirst = Date(), Date shownLast = Date(), Drawing drawing = Drawing::Exact);

    // The source's data as last summarised; brought up to date first.
    const ChartSummary &summary();
    // The layout last drawn exactly, without its lines.
    const ChartGeometry &frame() const { return pFrame; }
    // How often the chart's image has been drawn.
    int dataDraws() const { return nDataDraws; }

private:
    // Stretches the kept image onto the bounds of the size and the period first..last (seconds
    // since the reference date); false when it cannot.
    bool paintPreview(QPainter &painter, const QSize &size, double first, double last);
    void paintMarker(QPainter &painter, const QRectF &plot, double x) const;

    QPointer<const ChartDataSource> pSource;
    std::unique_ptr<ChartSummary> pSummary;
    quint64 nRevision = 0;
    std::vector<QRgb> pLayerMemory; // pLayer's pixels
    QImage pLayer;
    ChartGeometry pFrame;
    double fLayerFirst = 0, fLayerLast = 0;
    int nDataDraws = 0;
};
