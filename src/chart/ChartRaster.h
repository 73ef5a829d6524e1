#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QTransform>

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

// Keeps of every long run of points that fall into one device pixel column the first, the
// lowest, the highest and the last (in their order): the stroked line covers the same pixels.
QList<QPointF> thinnedToColumns(const QList<QPointF> &points, const QTransform &toDevice);

// Draws the line through `thinned` and a dot of `dotRadius` device pixels at each of `points`
// through a coverage mask, straight into `target` when given (clipped to `clip`, in device
// pixels); false when the mask would be too large, and nothing was drawn.
bool drawLine(QPainter &painter, const QList<QPointF> &points, const QList<QPointF> &thinned,
              const QColor &color, double dotRadius, const QRectF &limit, QImage *target,
              const QRect &clip);

} // namespace ChartRaster
