#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QTransform>

#include <memory>

class QImage;
class QPainter;

// Long lines on raster devices, drawn the way Qt's antialiased stroke would draw them but at a cost
// that follows the pixels covered rather than the number of points: runs of points within one
// device pixel column are thinned to their extremes, and the strokes and dots are summed in a
// coverage mask that is blended once.
namespace ChartRaster {

// Lines of up to this many points are drawn by Qt segment by segment and dot by dot; longer
// ones through a coverage mask, on raster devices at scales up to kMaskMaxScale.
inline constexpr qsizetype kFewDots = 500;
inline constexpr double kMaskMaxScale = 8;

// Runs of more points than this in one device pixel column are thinned to their extremes;
// shorter ones are kept whole, since the slight sideways spread of their segments still shows.
inline constexpr qsizetype kThinRun = 12;

// Keeps of every long run of points that fall into one device pixel column the first, the
// lowest, the highest and the last (in their order): the stroked line covers the same pixels.
QList<QPointF> thinnedToColumns(const QList<QPointF> &points, const QTransform &toDevice);

// Lines drawn one after the other, each through a coverage mask: the line through `thinned`
// and a dot of `dotRadius` device pixels at each of `points`. Into a target image (within
// `clip`, in device pixels) the lines wait until flush() or the end and are then made and
// painted together, over each other in their order, strip by strip of columns and on two
// threads where there are two cores; the picture is the same however the work is shared.
// Without a target each line is painted through the painter as it is added. Dots are drawn
// only within `limit` (in the painter's units).
class LineBatch
{
public:
    LineBatch(QPainter &painter, QImage *target, const QRect &clip, const QRectF &limit);
    ~LineBatch();
    LineBatch(const LineBatch &) = delete;
    LineBatch &operator=(const LineBatch &) = delete;

    // False when the mask would be too large: nothing was drawn, and the caller draws the line
    // itself, after flush().
    bool add(const QList<QPointF> &points, const QList<QPointF> &thinned, const QColor &color,
             double dotRadius);
    void flush();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace ChartRaster
