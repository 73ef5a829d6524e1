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
class ChartCanvas
{
public:
    ChartCanvas();
    ~ChartCanvas();

    void setDataSource(const ChartDataSource *source);

    // Paints the chart of the period shown (null dates: the whole) within (0, 0, size), on
    // white, for a device with devicePixelRatio pixels per point.
    void paint(QPainter &painter, const QSize &size, double devicePixelRatio,
               Date shownFirst = Date(), Date shownLast = Date());

    // The source's data as last summarised; brought up to date first.
    const ChartSummary &summary();
    // The layout last drawn, without its lines.
    const ChartGeometry &frame() const { return pFrame; }
    // How often the chart's image has been drawn.
    int dataDraws() const { return nDataDraws; }

private:
    QPointer<const ChartDataSource> pSource;
    std::unique_ptr<ChartSummary> pSummary;
    quint64 nRevision = 0;
    std::vector<QRgb> pLayerMemory; // pLayer's pixels
    QImage pLayer;
    ChartGeometry pFrame;
    double fLayerFirst = 0, fLayerLast = 0;
    int nDataDraws = 0;
};
