#include "ChartRaster.h"

#include "ChartGeometry.h"
#include "ChartThreads.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

// The loops over many pixels are built twice on x86-64, for processors with AVX2 and for the
// rest, and the loader picks one. They compute in integers, so both give the same picture.
#if defined(__x86_64__) && defined(__GNUC__) && defined(__ELF__)
#define TENSILO_WIDE_LOOPS __attribute__((target_clones("avx2", "default")))
#else
#define TENSILO_WIDE_LOOPS
#endif

namespace {

constexpr qint64 kMaskMaxPixels = 64 * 1024 * 1024;
// Masks up to this size keep their buffer for the next drawing.
constexpr qint64 kKeptMaskPixels = 16 * 1024 * 1024;

// Antialiased discs of one radius in device pixels, at 4 x 4 sub-pixel phases, stamped into a
// coverage mask; the union of all stamps is painted once in the line's colour.
class DotStamps
{
public:
    static constexpr int kPhases = 4;

    explicit DotStamps(double radius) : fRadius(radius)
    {
        nSize = int(std::ceil(2 * radius + 1));
        pStamps.resize(size_t(kPhases * kPhases * nSize * nSize));
        pRows.resize(size_t(kPhases * kPhases * nSize));
        constexpr int kSamples = 8;
        for (int py = 0; py < kPhases; ++py) {
            for (int px = 0; px < kPhases; ++px) {
                const double cx = radius + double(px) / kPhases;
                const double cy = radius + double(py) / kPhases;
                quint8 *stamp = stampAt(px, py);
                for (int y = 0; y < nSize; ++y) {
                    for (int x = 0; x < nSize; ++x) {
                        int inside = 0;
                        for (int sy = 0; sy < kSamples; ++sy) {
                            const double dy = y + (sy + 0.5) / kSamples - cy;
                            for (int sx = 0; sx < kSamples; ++sx) {
                                const double dx = x + (sx + 0.5) / kSamples - cx;
                                if (dx * dx + dy * dy <= radius * radius)
                                    ++inside;
                            }
                        }
                        stamp[x * nSize + y] = quint8((inside * 255 + kSamples * kSamples / 2) /
                                                      (kSamples * kSamples));
                    }
                }
                for (int x = 0; x < nSize; ++x) {
                    const quint8 *column = stamp + x * nSize;
                    Rows &rows = pRows[size_t((py * kPhases + px) * nSize + x)];
                    rows.first = 0, rows.last = nSize - 1;
                    while (rows.first <= rows.last && !column[rows.first])
                        ++rows.first;
                    while (rows.last >= rows.first && !column[rows.last])
                        --rows.last;
                    // A disc's column: one run of full coverage, if any, in the middle.
                    rows.fullFirst = rows.first, rows.fullLast = rows.last;
                    while (rows.fullFirst <= rows.fullLast && column[rows.fullFirst] != 255)
                        ++rows.fullFirst;
                    while (rows.fullLast >= rows.fullFirst && column[rows.fullLast] != 255)
                        --rows.fullLast;
                }
                if (nSize <= kWide) {
                    // Each column again, padded with zeros to kWide rows.
                    pWide.resize(size_t(kPhases * kPhases * nSize * kWide));
                    quint8 *wide = pWide.data() + size_t((py * kPhases + px) * nSize * kWide);
                    for (int x = 0; x < nSize; ++x)
                        std::memcpy(wide + x * kWide, stamp + x * nSize, size_t(nSize));
                }
                Rows &span = pSpans[size_t(py * kPhases + px)];
                span.first = nSize, span.last = -1;
                for (int x = 0; x < nSize; ++x) {
                    span.first = std::min(span.first, rowsAt(px, py, x).first);
                    span.last = std::max(span.last, rowsAt(px, py, x).last);
                }
            }
        }
    }

    // Stamps of up to this many rows are also kept with their columns padded to it.
    static constexpr int kWide = 16;

    int size() const { return nSize; }
    double radius() const { return fRadius; }
    // The stamp of a phase with its columns kWide rows apart, or null when it is larger.
    const quint8 *wideAt(int px, int py) const
    {
        return pWide.empty() ? nullptr : pWide.data() + size_t((py * kPhases + px) * nSize * kWide);
    }
    // The stamp of a phase, column by column (x * size() + y).
    const quint8 *stampAt(int px, int py) const
    {
        return pStamps.data() + size_t((py * kPhases + px) * nSize * nSize);
    }
    quint8 *stampAt(int px, int py)
    {
        return pStamps.data() + size_t((py * kPhases + px) * nSize * nSize);
    }

    // The first and last row of a stamp's column that it covers at all, and those it covers fully.
    struct Rows
    {
        int first, last, fullFirst, fullLast;
    };
    const Rows &rowsAt(int px, int py, int x) const
    {
        return pRows[size_t((py * kPhases + px) * nSize + x)];
    }
    // The first and last row a stamp covers at all in any of its columns.
    const Rows &spanAt(int px, int py) const { return pSpans[size_t(py * kPhases + px)]; }

private:
    double fRadius;
    int nSize = 0;
    std::vector<quint8> pStamps, pWide;
    std::vector<Rows> pRows;
    std::array<Rows, kPhases * kPhases> pSpans;
};

// a + b - ab in 255ths: how Qt combines separately drawn shapes of one colour.
inline quint8 addCoverage(quint8 r, quint8 v)
{
    return quint8(r + v - (r * v + 127) / 255);
}

// Each channel of a premultiplied pixel times a / 255, rounded as Qt's raster engine does.
inline QRgb byteMul(QRgb x, uint a)
{
    uint t = (x & 0xff00ff) * a;
    t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
    t &= 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = (x + ((x >> 8) & 0xff00ff) + 0x800080);
    x &= 0xff00ff00;
    return x | t;
}

// A stroke as CoverageMask works with it: per pixel centre p, d = (p - a) . n is the signed
// distance from the line and t = (p - a) . v / |v|^2 the position along it; both are linear
// along a row and along a column. A pixel is covered by reach - |d| (at most 1) where that is
// positive and 0 <= t <= 1.
struct Stroke
{
    double nx, ny, ux, uy, reach, ax, ay, inverseUy, inverseNy;
    double d(double x, double y) const { return (x + 0.5 - ax) * nx + (y + 0.5 - ay) * ny; }
    double t(double x, double y) const { return (x + 0.5 - ax) * ux + (y + 0.5 - ay) * uy; }
    bool covers(int x, int y) const
    {
        const double tt = t(x, y);
        return tt >= 0 && tt <= 1 && reach - std::abs(d(x, y)) > 0;
    }
    bool coversFully(int x, int y) const { return reach - std::abs(d(x, y)) >= 1; }
};

// Buffers kept from one drawing to the next: the coverage (all zeros between uses), the
// strokes' parts left for later, and the image a mask is painted through when it cannot go
// straight into the device.
struct MaskBuffers
{
    std::vector<quint8> coverage;
    // The partly covered rows from..to of one column of a steep stroke, apart from the fully
    // covered fullFrom..fullTo; d at row y is d0 + y * ny.
    struct Partial
    {
        int x, from, to, fullFrom, fullTo;
        double d0, ny, reach;
    };
    std::vector<Partial> partials;
    // A flat stroke, with its rows and columns.
    struct Flat
    {
        QPointF a, b;
        int yFirst, yLast, xLow, xHigh;
        Stroke stroke;
    };
    std::vector<Flat> flat;
    // For each column a dot may start at: the rows fully covered in every column it reaches.
    std::vector<int> hiddenFrom, hiddenTo;
    QImage scratch;
};

// The coverage of one line (its segments and dots) in device pixels over a rectangle of the
// device, painted once in the line's colour. Shapes add up as painting one over the other
// would (a + b - ab), which is how Qt combines separately drawn segments and dots.
//
// The mask is kept column by column: a line of many readings is mostly near-vertical strokes
// (each device pixel column's extremes joined), which then run along memory. Each column
// remembers the rows it has touched (painting and clearing visit only those) and its longest
// run of full coverage, which later strokes skip: nothing adds to full coverage.
class CoverageMask
{
public:
    using Partial = MaskBuffers::Partial;
    using Flat = MaskBuffers::Flat;

    // A colour at each coverage, premultiplied.
    struct Shades
    {
        std::array<QRgb, 256> colors;
        bool opaque;
    };
    static Shades shadesOf(const QColor &color)
    {
        Shades shades;
        const QRgb rgba = color.rgba();
        for (int a = 0; a < 256; ++a) {
            const int alpha = (qAlpha(rgba) * a + 127) / 255;
            shades.colors[size_t(a)] =
                qPremultiply(qRgba(qRed(rgba), qGreen(rgba), qBlue(rgba), alpha));
        }
        shades.opaque = qAlpha(shades.colors[255]) == 255;
        return shades;
    }

    // A mask over the device rectangle, in a buffer that holds only zeros and is left so. It
    // may keep only the columns first..end (excluded) of the rectangle, counted from its left:
    // those come out as in the whole mask, and the others are left out.
    CoverageMask(const QRect &deviceRect, MaskBuffers &buffers, int first = 0,
                 int end = std::numeric_limits<int>::max())
        : pRect(deviceRect), nWidth(deviceRect.width()), nHeight(deviceRect.height()),
          nFirst(std::clamp(first, 0, nWidth)), nEnd(std::clamp(end, nFirst, nWidth)),
          pBuffers(buffers), pColumns(size_t(nEnd - nFirst))
    {
        const size_t need = size_t(nEnd - nFirst) * size_t(nHeight);
        if (buffers.coverage.size() < need)
            buffers.coverage.resize(need);
        pCoverage = buffers.coverage.data();
        buffers.partials.clear();
        buffers.flat.clear();
    }
    ~CoverageMask()
    {
        for (int x = nFirst; x < nEnd; ++x) {
            const Column &c = columnState(x);
            if (c.top <= c.bottom)
                std::memset(columnAt(x) + c.top, 0, size_t(c.bottom - c.top + 1));
        }
    }
    CoverageMask(const CoverageMask &) = delete;
    CoverageMask &operator=(const CoverageMask &) = delete;

    // A dot centred on the device point; prepareDots() must have been called for its stamps.
    void addDot(double x, double y, const DotStamps &stamps)
    {
        const int n = stamps.size();
        const double fx = x - stamps.radius() - pRect.x();
        const double fy = y - stamps.radius() - pRect.y();
        if (!(fx >= 0 && fy >= 0 && fx <= nWidth - n && fy <= nHeight - n))
            return; // not wholly inside: such dots lie off the chart
        int ix = int(fx), iy = int(fy);
        int px = int((fx - ix) * DotStamps::kPhases + 0.5); // fx >= 0: rounds to nearest
        int py = int((fy - iy) * DotStamps::kPhases + 0.5);
        if (px == DotStamps::kPhases) {
            px = 0;
            ++ix;
        }
        if (py == DotStamps::kPhases) {
            py = 0;
            ++iy;
        }
        if (ix + n > nWidth || iy + n > nHeight)
            return;
        if (ix == nLastX && iy == nLastY && px == nLastPx && py == nLastPy)
            return; // the same dot again
        nLastX = ix, nLastY = iy, nLastPx = px, nLastPy = py;
        // Most dots of a dense line lie within the full coverage of the strokes in each of
        // their columns, which nothing changes, as prepareDots() noted it; the columns of the
        // others are looked at one by one below, with what the dots so far added.
        Q_ASSERT(nDotSize == n);
        const DotStamps::Rows &span = stamps.spanAt(px, py);
        const int at = ix - (nFirst - n + 1);
        if (at < 0 || at >= int(pBuffers.hiddenFrom.size()))
            return; // no column kept
        if (iy + span.first >= pBuffers.hiddenFrom[size_t(at)] &&
            iy + span.last < pBuffers.hiddenTo[size_t(at)])
            return;
        const quint8 *stamp = stamps.stampAt(px, py);
        // Blending in no coverage, or into full coverage, changes nothing, nor does full
        // coverage blended in differ from setting it: within the mask's rows a column of the
        // stamp is blended in whole, padding and all, at once.
        const quint8 *wide = iy + DotStamps::kWide <= nHeight ? stamps.wideAt(px, py) : nullptr;
        for (int x = 0; x < n; ++x) {
            const DotStamps::Rows &rows = stamps.rowsAt(px, py, x);
            if (ix + x < nFirst || ix + x >= nEnd)
                continue; // a column left out
            Column &c = columnState(ix + x);
            if (rows.first > rows.last ||
                (iy + rows.first >= c.solidFrom && iy + rows.last < c.solidTo))
                continue; // nothing, or within the column's full coverage
            touch(ix + x, iy + rows.first, iy + rows.last);
            quint8 *column = columnAt(ix + x) + iy;
            if (wide) {
                blendWide(column, wide + x * DotStamps::kWide);
                if (rows.fullFirst <= rows.fullLast)
                    noteFull(c, iy + rows.fullFirst, iy + rows.fullLast);
                continue;
            }
            const quint8 *from = stamp + x * n;
            // Rows first..last of the stamp outside the column's full coverage, which nothing
            // changes.
            const int solidFrom = c.solidFrom - iy, solidTo = c.solidTo - iy;
            const auto blend = [&](int first, int last) {
                for (int y = first; y <= std::min(last, solidFrom - 1); ++y)
                    column[y] = addCoverage(column[y], from[y]);
                for (int y = std::max(first, solidTo); y <= last; ++y)
                    column[y] = addCoverage(column[y], from[y]);
            };
            if (rows.fullFirst > rows.fullLast) {
                blend(rows.first, rows.last);
                continue;
            }
            blend(rows.first, rows.fullFirst - 1);
            blend(rows.fullLast + 1, rows.last);
            // Full coverage stays full whatever is added: the rows are set, and the column's
            // run of it may grow for the dots and strokes still to come.
            fillFull(c, columnAt(ix + x), iy + rows.fullFirst, iy + rows.fullLast);
        }
    }

    // Adds a stamp's column, padded to kWide rows, to as many rows of a mask's column.
    static void blendWide(quint8 *__restrict rows, const quint8 *__restrict stamp)
    {
        // addCoverage() in 16 bits: (x + 1 + x / 256) / 256 is x / 255 for every r * v + 127.
        for (int y = 0; y < DotStamps::kWide; ++y) {
            const quint16 x = quint16(rows[y] * stamp[y] + 127);
            rows[y] = quint8(rows[y] + stamp[y] - quint16((x + 1 + (x >> 8)) >> 8));
        }
    }

    // Notes, once the strokes are finished, for each column a dot of the stamps may start at
    // the rows fully covered in all the columns it reaches, so that most dots hidden by the
    // strokes are known at once.
    void prepareDots(const DotStamps &stamps)
    {
        const int n = stamps.size();
        const int first = nFirst - n + 1;
        const size_t count = size_t(std::max(0, nEnd - first));
        std::vector<int> &from = pBuffers.hiddenFrom, &to = pBuffers.hiddenTo;
        from.assign(count, std::numeric_limits<int>::min());
        to.assign(count, std::numeric_limits<int>::max());
        for (int x = nFirst; x < nEnd; ++x) {
            const Column &c = columnState(x);
            // Dots starting n - 1 columns before x up to x reach it.
            for (size_t at = size_t(x - n + 1 - first); at <= size_t(x - first); ++at) {
                from[at] = std::max(from[at], c.solidFrom);
                to[at] = std::min(to[at], c.solidTo);
            }
        }
        nDotSize = n;
    }

    // A straight stroke of the given half width between two dots; the ends are left to the
    // dots, which cover them wholly. A stroke steeper than 45 degrees sets its fully covered
    // pixels at once and leaves the rest to finishStrokes(), which then skips what others
    // covered fully: in a dense band the sides of one column's stroke mostly fall onto the
    // next columns' fully covered middles. Flatter strokes are left to it whole.
    void addSegment(QPointF a, QPointF b, double halfWidth)
    {
        a -= pRect.topLeft();
        b -= pRect.topLeft();
        const double vx = b.x() - a.x(), vy = b.y() - a.y();
        const double length2 = vx * vx + vy * vy;
        if (!(length2 > 0) || !std::isfinite(length2))
            return;
        const double length = std::sqrt(length2);
        // Per pixel centre p: d = (p - a) . n is the signed distance from the line, and
        // t = (p - a) . v / |v|^2 the position along it; both are linear along a row and along
        // a column. A pixel is covered by reach - |d| (at most 1) where that is positive and
        // 0 <= t <= 1.
        Stroke s;
        s.nx = -vy / length, s.ny = vx / length;
        s.ux = vx / length2, s.uy = vy / length2;
        s.reach = halfWidth + 0.5;
        s.ax = a.x(), s.ay = a.y();
        s.inverseUy = 1 / s.uy;
        s.inverseNy = s.ny != 0 ? 1 / s.ny : 0;
        const int w = nWidth, h = nHeight;
        const double reach = s.reach;
        const int yFirst = std::max(0, floorTo(std::min(a.y(), b.y()) - reach, h));
        const int yLast = std::min(h - 1, ceilTo(std::max(a.y(), b.y()) + reach, h));
        const int xLow = floorTo(std::min(a.x(), b.x()) - reach, w);
        const int xHigh = ceilTo(std::max(a.x(), b.x()) + reach, w);
        if (std::abs(vy) > std::abs(vx)) {
            // The pixel centres covered lie less than reach from the segment measured across it,
            // which is reach * |nx| along a row beyond its ends' columns.
            const double spread = reach * std::abs(s.nx) + 1e-9;
            const int first = floorTo(std::min(a.x(), b.x()) - spread - 0.5, w) + 1;
            const int last = ceilTo(std::max(a.x(), b.x()) + spread - 0.5, w) - 1;
            const int xFirst = std::max(nFirst, first), xLast = std::min(nEnd - 1, last);
            for (int x = xFirst; x <= xLast; x += ColumnRows::kColumns) {
                const int count = std::min(ColumnRows::kColumns, xLast - x + 1);
                ColumnRows rows;
                columnRows(s, x, count, rows);
                for (int k = 0; k < count; ++k)
                    strokeColumn(s, x + k, yFirst, yLast, rows, k);
            }
            return;
        }
        pBuffers.flat.push_back({a, b, yFirst, yLast, xLow, xHigh, s});
    }

    // Adds what addSegment() left.
    void finishStrokes()
    {
        for (const Partial &p : pBuffers.partials) {
            quint8 *column = columnAt(p.x);
            const Column &c = columnState(p.x);
            // Partly covered rows, skipping those fully covered.
            const auto blend = [&](int first, int last) {
                for (int part = 0; part < 2; ++part) {
                    const int from = part == 0 ? first : std::max(first, c.solidTo);
                    const int to = part == 0 ? std::min(last, c.solidFrom - 1) : last;
                    if (from <= to)
                        blendRows(column + from, to - from + 1, p.d0 + from * p.ny, p.ny, p.reach);
                }
            };
            if (p.fullFrom > p.fullTo) {
                blend(p.from, p.to);
            } else {
                blend(p.from, p.fullFrom - 1);
                blend(p.fullTo + 1, p.to);
            }
        }
        pBuffers.partials.clear();
        for (const Flat &f : pBuffers.flat)
            strokeRows(f);
        pBuffers.flat.clear();
    }

    // Paints the coverage in the colour through the painter, whose units are mapped back from
    // the device so that every mask pixel lands on the device pixel it was made for.
    void paint(QPainter &painter, const QColor &color, const QTransform &toDevice,
               QImage &scratch) const
    {
        const Shades shades = shadesOf(color);
        // The rectangle of the rows and columns touched.
        int left = nWidth, right = -1, top = nHeight, bottom = -1;
        for (int x = nFirst; x < nEnd; ++x) {
            const Column &c = columnState(x);
            if (c.top > c.bottom)
                continue;
            left = std::min(left, x);
            right = x;
            top = std::min(top, c.top);
            bottom = std::max(bottom, c.bottom);
        }
        if (right < left)
            return;
        const QSize size(right - left + 1, bottom - top + 1);
        if (scratch.width() < size.width() || scratch.height() < size.height())
            scratch = QImage(size.expandedTo(scratch.size()), QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < size.height(); ++y)
            std::memset(scratch.scanLine(y), 0, size_t(size.width()) * 4);
        const qsizetype stride = scratch.bytesPerLine();
        for (int x = left; x <= right; ++x) {
            const Column &c = columnState(x);
            const quint8 *column = columnAt(x);
            uchar *pixel =
                scratch.bits() + qsizetype(c.top - top) * stride + qsizetype(x - left) * 4;
            for (int y = c.top; y <= c.bottom; ++y, pixel += stride)
                *reinterpret_cast<QRgb *>(pixel) = shades.colors[column[y]];
        }
        const QRectF device(pRect.x() + left, pRect.y() + top, size.width(), size.height());
        painter.drawImage(toDevice.inverted().mapRect(device), scratch,
                          QRectF(QPointF(0, 0), QSizeF(size)));
    }

    // Paints masks over each other, in their order, in their shades, straight into the image's
    // pixels (premultiplied or opaque 32-bit, painted over normally) within the area in device
    // pixels: each pixel of the image is visited once for all of them.
    TENSILO_WIDE_LOOPS static void paintTogether(const std::vector<const CoverageMask *> &masks,
                                                 const std::vector<const Shades *> &shades,
                                                 uchar *bits, qsizetype stride, const QRect &area)
    {
        if (area.isEmpty())
            return;
        // Row by row over a few columns at a time, which lie side by side in the image. Each
        // mask is zero outside the rows each of its columns touched.
        constexpr int kBlock = 16, kAhead = 12;
        struct Part
        {
            const QRgb *shades;
            int top, bottom; // rows touched in the block, in device pixels
            int from, to;    // columns of the block within the mask
            // Rows fully covered in every one of those columns by an opaque colour, which
            // replaces what lies below; hides lower masks there when the block is whole.
            int solidFrom, solidTo;
            bool hides;
            const quint8 *columns[kBlock];
        };
        std::vector<Part> parts(masks.size());
        for (int X0 = area.left(); X0 <= area.right(); X0 += kBlock) {
            const int X1 = std::min(X0 + kBlock, area.right() + 1);
            int top = area.bottom() + 1, bottom = area.top() - 1;
            size_t count = 0;
            for (size_t n = 0; n < masks.size(); ++n) {
                const CoverageMask &mask = *masks[n];
                Part &part = parts[count];
                part.from = std::max(X0, mask.pRect.left() + mask.nFirst) - X0;
                part.to = std::min(X1, mask.pRect.left() + mask.nEnd) - X0;
                part.top = std::numeric_limits<int>::max();
                part.bottom = -1;
                part.solidFrom = 0;
                part.solidTo = shades[n]->opaque ? std::numeric_limits<int>::max() : 0;
                for (int k = part.from; k < part.to; ++k) {
                    const int x = X0 + k - mask.pRect.x();
                    const Column &c = mask.columnState(x);
                    part.top = std::min(part.top, c.top);
                    part.bottom = std::max(part.bottom, c.bottom);
                    part.solidFrom = std::max(part.solidFrom, c.solidFrom);
                    part.solidTo = std::min(part.solidTo, c.solidTo);
                    // Indexed by the device row.
                    part.columns[k] = mask.columnAt(x) - mask.pRect.y();
                }
                if (part.top > part.bottom)
                    continue;
                part.top = std::max(part.top + mask.pRect.y(), area.top());
                part.bottom = std::min(part.bottom + mask.pRect.y(), area.bottom());
                if (part.top > part.bottom)
                    continue;
                if (part.solidFrom < part.solidTo) {
                    part.solidFrom += mask.pRect.y();
                    part.solidTo += mask.pRect.y();
                } else {
                    part.solidFrom = part.solidTo = 0;
                }
                part.hides = part.from == 0 && part.to == X1 - X0;
                part.shades = shades[n]->colors.data();
                top = std::min(top, part.top);
                bottom = std::max(bottom, part.bottom);
                ++count;
            }
            for (int y = top; y <= bottom; ++y) {
                QRgb *row = reinterpret_cast<QRgb *>(bits + qsizetype(y) * stride) + X0;
                // Rows lie too far apart for the processor to fetch them ahead by itself.
                if (y + kAhead <= bottom) {
                    const uchar *ahead = bits + qsizetype(y + kAhead) * stride;
                    __builtin_prefetch(ahead + qsizetype(X0) * 4, 1);
                    __builtin_prefetch(ahead + qsizetype(X1) * 4 - 1, 1);
                }
                // What lies below the last mask that covers the whole row of the block fully
                // is not seen.
                size_t first = count;
                while (first > 0) {
                    const Part &part = parts[--first];
                    if (part.hides && y >= part.solidFrom && y < part.solidTo)
                        break;
                }
                for (size_t n = first; n < count; ++n) {
                    const Part &part = parts[n];
                    if (y < part.top || y > part.bottom)
                        continue;
                    if (y >= part.solidFrom && y < part.solidTo) {
                        const QRgb color = part.shades[255];
                        for (int k = part.from; k < part.to; ++k)
                            row[k] = color;
                        continue;
                    }
                    // The row's coverage side by side first, so that the blend below runs
                    // over all the columns at once where the processor can.
                    quint8 coverage[kBlock];
                    for (int k = part.from; k < part.to; ++k)
                        coverage[k] = part.columns[k][y];
                    blendRow(row, coverage, part.shades, part.from, part.to);
                }
            }
        }
    }

    // Paints the shades of the coverage over the pixels from..to of a row. Without branches,
    // which the pixels would make hard to foresee: no coverage keeps the pixel, and full
    // coverage in an opaque colour replaces it.
    static void blendRow(QRgb *__restrict row, const quint8 *__restrict coverage,
                         const QRgb *__restrict shades, int from, int to)
    {
        for (int k = from; k < to; ++k) {
            const QRgb shade = shades[coverage[k]];
            row[k] = shade + byteMul(row[k], 255 - qAlpha(shade));
        }
    }

    const QRect &rect() const { return pRect; }

private:
    struct Column
    {
        int top = std::numeric_limits<int>::max(), bottom = -1; // rows touched
        int solidFrom = 0, solidTo = 0; // a run of rows fully covered, to excluded
    };

    // Rows and columns are limited in floating point first: points far off the chart must not
    // overflow an int. Rounding is done by hand, once limited: std::floor is a call on plain
    // x86-64, and this runs for every row of every segment.
    static int floorTo(double v, int last)
    {
        v = std::clamp(v, -1.0, double(last) + 1);
        const int i = int(v);
        return i - (v < i);
    }
    static int ceilTo(double v, int last)
    {
        v = std::clamp(v, -1.0, double(last) + 1);
        const int i = int(v);
        return i + (v > i);
    }
    static quint8 coverageOf(double c) { return c >= 1 ? 255 : quint8(c * 255 + 0.5); }

    // The rows first..last of y0 + k * step within [low, high] (a linear function of the row,
    // step != 0, given as 1 / step). Where a bound lies clearly between two rows its row is
    // certain; elsewhere the row beyond is given too, which rounding may have moved in or out,
    // and certain is false: the caller then checks the ends, moving inwards. Without branches,
    // so that the compiler can work out several columns at once (where std::ceil and
    // std::floor are single instructions).
    static void rowsWithin(double y0, double inverseStep, double low, double high, double &first,
                           double &last, qint64 &certain)
    {
        // Far more than the rounding of the pixels' own d and t, far less than a row.
        constexpr double kMargin = 1e-6;
        constexpr double kFar = std::numeric_limits<int>::max() / 2;
        const double ra = (low - y0) * inverseStep, rb = (high - y0) * inverseStep;
        const double r0 = std::min(ra, rb), r1 = std::max(ra, rb);
        const double up = std::ceil(std::clamp(r0, -1.0, kFar + 1));
        const double down = std::floor(std::clamp(r1, -1.0, kFar + 1));
        // A bound beyond the limits leaves every row in.
        const double above = up - r0, below = r1 - down;
        const bool firstCertain = (r0 < -1) | ((above > kMargin) & (above < 1 - kMargin));
        const bool lastCertain = (r1 > kFar) | ((below > kMargin) & (below < 1 - kMargin));
        first = firstCertain ? up : up - 1;
        last = lastCertain ? down : down + 1;
        certain = firstCertain & lastCertain;
    }

    // The rows of up to kColumns neighbouring columns of a steep stroke that it covers,
    // from..to, and covers fully, fullFrom..fullTo; see rowsWithin() for when they are
    // certain. Worked out together, a vector of columns at a time where the processor can.
    struct ColumnRows
    {
        static constexpr int kColumns = 8;
        int from[kColumns], to[kColumns], fullFrom[kColumns], fullTo[kColumns];
        // As wide as a double, which keeps the flags in step with the values they come from.
        qint64 certain[kColumns], fullCertain[kColumns];
    };
    TENSILO_WIDE_LOOPS static void columnRows(const Stroke &s, int x, int count, ColumnRows &rows)
    {
        constexpr int kNone = std::numeric_limits<int>::max() / 2;
        const double y0 = 0.5 - s.ay;
        for (int k = 0; k < count; ++k) {
            const double px = (x + k) + 0.5 - s.ax;
            const double d0 = px * s.nx + y0 * s.ny; // d and t at row 0
            const double t0 = px * s.ux + y0 * s.uy;
            double from, to, dFrom, dTo, fullFrom, fullTo;
            qint64 tCertain, dCertain, fullCertain;
            rowsWithin(t0, s.inverseUy, 0, 1, from, to, tCertain);
            rowsWithin(d0, s.inverseNy, -s.reach, s.reach, dFrom, dTo, dCertain);
            rowsWithin(d0, s.inverseNy, 1 - s.reach, s.reach - 1, fullFrom, fullTo, fullCertain);
            rows.from[k] = int(std::max(from, dFrom));
            rows.to[k] = int(std::min(to, dTo));
            rows.certain[k] = tCertain & dCertain;
            rows.fullFrom[k] = int(fullFrom);
            rows.fullTo[k] = int(fullTo);
            rows.fullCertain[k] = fullCertain;
        }
        if (s.ny == 0) {
            // Upright: d is the same all along the column, and only t bounds its rows.
            for (int k = 0; k < count; ++k) {
                const double px = (x + k) + 0.5 - s.ax;
                const double d0 = px * s.nx + y0 * s.ny, t0 = px * s.ux + y0 * s.uy;
                double from, to;
                rowsWithin(t0, s.inverseUy, 0, 1, from, to, rows.certain[k]);
                const bool in = std::abs(d0) < s.reach;
                rows.from[k] = in ? int(from) : kNone, rows.to[k] = in ? int(to) : -kNone;
                const bool full = s.reach - std::abs(d0) >= 1;
                rows.fullFrom[k] = full ? -kNone : kNone, rows.fullTo[k] = full ? kNone : -kNone;
                rows.fullCertain[k] = true;
            }
        }
    }

    // Adds reach - |d| (at most 1) to the rows, d going from d0 by step a row; in fixed point,
    // so that the compiler vectorises it.
    TENSILO_WIDE_LOOPS static void blendRows(quint8 *__restrict rows, int count, double d0,
                                             double step, double reach)
    {
        constexpr double kOne = 65536;
        const auto fixed = [](double v) { return qint32(v * kOne + (v < 0 ? -0.5 : 0.5)); };
        const qint32 start = fixed(d0), delta = fixed(step), limit = fixed(reach);
        for (int i = 0; i < count; ++i) {
            const qint32 v = std::clamp(limit - std::abs(start + i * delta), 0, qint32(kOne));
            const qint32 c = (v * 255 + 32768) >> 16;
            const qint32 r = rows[i];
            rows[i] = quint8(r + c - (r * c + 127) / 255);
        }
    }

    // A stroke of at most 45 degrees, row by row.
    void strokeRows(const Flat &f)
    {
        const Stroke &s = f.stroke;
        const QPointF a = f.a;
        const int w = nWidth;
        const double reach = s.reach;
        const int yFirst = f.yFirst, yLast = f.yLast, xLow = f.xLow, xHigh = f.xHigh;
        const bool steep = std::abs(s.nx) > 1e-9;
        const double inverseNx = steep ? 1 / s.nx : 0;
        for (int y = yFirst; y <= yLast; ++y) {
            const double py = y + 0.5 - a.y();
            // Columns where the distance from the line is below reach, within the segment's.
            int from = xLow, to = xHigh;
            if (steep) {
                const double x0 = (-reach - py * s.ny) * inverseNx;
                const double x1 = (reach - py * s.ny) * inverseNx;
                from = std::max(from, floorTo(std::min(x0, x1) + a.x() - 0.5, w));
                to = std::min(to, ceilTo(std::max(x0, x1) + a.x() - 0.5, w));
            }
            const int xFirst = std::max(0, from);
            const int xLast = std::min(w - 1, to);
            double px = xFirst + 0.5 - a.x();
            double d = px * s.nx + py * s.ny;
            double t = px * s.ux + py * s.uy;
            for (int x = xFirst; x <= xLast; ++x, d += s.nx, t += s.ux) {
                if (t < 0 || t > 1 || x < nFirst || x >= nEnd)
                    continue;
                const double c = reach - std::abs(d);
                if (c <= 0)
                    continue;
                touch(x, y, y);
                quint8 &pixel = columnAt(x)[y];
                pixel = addCoverage(pixel, coverageOf(c));
            }
        }
    }

    // Column x of a stroke steeper than 45 degrees, whose rows are the k-th of `rows`: the rows
    // it covers are one run, and those it covers fully a run within that.
    void strokeColumn(const Stroke &s, int x, int yFirst, int yLast, const ColumnRows &rows, int k)
    {
        int from = std::max(rows.from[k], yFirst), to = std::min(rows.to[k], yLast);
        const Column &solid = columnState(x);
        if (from >= solid.solidFrom && to < solid.solidTo)
            return; // nothing adds to full coverage
        if (!rows.certain[k]) {
            while (from <= to && !s.covers(x, from))
                ++from;
            while (to >= from && !s.covers(x, to))
                --to;
        }
        if (from > to)
            return;
        int fullFrom = std::max(rows.fullFrom[k], from), fullTo = std::min(rows.fullTo[k], to);
        if (s.reach - 1 <= 0) {
            fullFrom = to + 1;
        } else if (!rows.fullCertain[k]) {
            while (fullFrom <= fullTo && !s.coversFully(x, fullFrom))
                ++fullFrom;
            while (fullTo >= fullFrom && !s.coversFully(x, fullTo))
                --fullTo;
        }
        const double d0 = (x + 0.5 - s.ax) * s.nx + (0.5 - s.ay) * s.ny;
        touch(x, from, to);
        quint8 *column = columnAt(x);
        Column &c = columnState(x);
        if (fullFrom > fullTo || from < fullFrom || fullTo < to)
            pBuffers.partials.push_back({x, from, to, fullFrom, fullTo, d0, s.ny, s.reach});
        if (fullFrom > fullTo)
            return;
        fillFull(c, column, fullFrom, fullTo);
    }

    // Rows first..last of a column, all fully covered now: those not yet so are set, and they
    // join the column's run of full coverage where they meet it, or replace it when longer.
    static void fillFull(Column &c, quint8 *column, int first, int last)
    {
        const int solidFrom = c.solidFrom, solidTo = c.solidTo;
        const auto fill = [&](int from, int to) {
            if (from <= to)
                std::memset(column + from, 255, size_t(to - from + 1));
        };
        fill(first, std::min(last, solidFrom - 1));
        fill(std::max(first, solidTo), last);
        noteFull(c, first, last);
    }
    // Rows first..last of a column, set to full coverage already, join its run of it.
    static void noteFull(Column &c, int first, int last)
    {
        const int solidFrom = c.solidFrom, solidTo = c.solidTo;
        if (first <= solidTo && last + 1 >= solidFrom) {
            c.solidFrom = std::min(solidFrom, first);
            c.solidTo = std::max(solidTo, last + 1);
        } else if (last + 1 - first > solidTo - solidFrom) {
            c.solidFrom = first;
            c.solidTo = last + 1;
        }
    }

    void touch(int x, int top, int bottom)
    {
        Column &c = columnState(x);
        c.top = std::min(c.top, top);
        c.bottom = std::max(c.bottom, bottom);
    }
    // Column x of the rectangle, which must be one of those kept.
    quint8 *columnAt(int x) { return pCoverage + size_t(x - nFirst) * size_t(nHeight); }
    const quint8 *columnAt(int x) const { return pCoverage + size_t(x - nFirst) * size_t(nHeight); }
    Column &columnState(int x) { return pColumns[size_t(x - nFirst)]; }
    const Column &columnState(int x) const { return pColumns[size_t(x - nFirst)]; }

    QRect pRect;
    int nWidth, nHeight;
    int nFirst, nEnd; // the columns kept
    MaskBuffers &pBuffers;
    quint8 *pCoverage = nullptr;
    std::vector<Column> pColumns;
    int nLastX = -1, nLastY = -1, nLastPx = -1, nLastPy = -1;
    int nDotSize = -1; // the size of the dots prepareDots() was for
};

// The buffers of the masks of one drawing, kept for the next.
MaskBuffers &maskBuffers(size_t n)
{
    thread_local std::vector<std::unique_ptr<MaskBuffers>> kept;
    while (kept.size() <= n)
        kept.push_back(std::make_unique<MaskBuffers>());
    return *kept[n];
}

// The stamps of dots of the radius, kept for the next drawing.
const DotStamps &dotStamps(double radius)
{
    thread_local std::unique_ptr<DotStamps> kept;
    if (!kept || kept->radius() != radius)
        kept = std::make_unique<DotStamps>(radius);
    return *kept;
}

} // namespace

// Keeps of every long run of points that fall into one device pixel column the first, the
// lowest, the highest and the last (in their order): the stroked line covers the same pixels.
// Shorter runs are kept whole, since the slight sideways spread of their segments still shows.
QList<QPointF> ChartRaster::thinnedToColumns(const QList<QPointF> &points,
                                             const QTransform &toDevice)
{
    const qsizetype n = points.size();
    QList<QPointF> out;
    out.reserve(n);
    qsizetype runStart = 0;
    auto flush = [&](qsizetype begin, qsizetype end) {
        if (end - begin <= ChartRaster::kThinRun) {
            for (qsizetype j = begin; j < end; ++j)
                out.append(points[j]);
            return;
        }
        qsizetype lo = begin, hi = begin;
        for (qsizetype j = begin + 1; j < end; ++j) {
            if (points[j].y() < points[lo].y())
                lo = j;
            if (points[j].y() > points[hi].y())
                hi = j;
        }
        std::array<qsizetype, 4> keep = {begin, std::min(lo, hi), std::max(lo, hi), end - 1};
        qsizetype last = -1;
        for (qsizetype j : keep) {
            if (j != last)
                out.append(points[j]);
            last = j;
        }
    };
    double column = 0;
    for (qsizetype j = 0; j < n; ++j) {
        const double c = std::floor(toDevice.m11() * points[j].x() + toDevice.dx());
        if (j == 0) {
            column = c;
        } else if (c != column) {
            flush(runStart, j);
            runStart = j;
            column = c;
        }
    }
    if (n > 0)
        flush(runStart, n);
    return out;
}

struct ChartRaster::LineBatch::Private
{
    QPainter &painter;
    QTransform toDevice;
    QImage *target;
    QRect clip;
    QRectF limit;
    // Lines waiting to be drawn into the target, in order.
    struct Pending
    {
        QList<QPointF> points, thinned;
        QColor color;
        QRect rect;
        const DotStamps *stamps;
    };
    std::vector<Pending> pending;

    void build(CoverageMask &mask, const QList<QPointF> &points, const QList<QPointF> &thinned,
               const DotStamps &stamps) const
    {
        const double halfWidth = ChartGeometry::kLineWidth / 2 * toDevice.m11();
        const qsizetype count = thinned.size();
        std::vector<QPointF> at(static_cast<size_t>(count));
        for (qsizetype j = 0; j < count; ++j)
            at[size_t(j)] = toDevice.map(thinned[j]);
        for (qsizetype j = 0; j + 1 < count; ++j)
            mask.addSegment(at[size_t(j)], at[size_t(j + 1)], halfWidth);
        mask.finishStrokes();
        mask.prepareDots(stamps);
        const double sx = toDevice.m11(), sy = toDevice.m22(), tx = toDevice.dx(),
                     ty = toDevice.dy();
        for (const QPointF &p : points)
            mask.addDot(sx * p.x() + tx, sy * p.y() + ty, stamps);
    }
};

ChartRaster::LineBatch::LineBatch(QPainter &painter, QImage *target, const QRect &clip,
                                  const QRectF &limit)
    : d(new Private{painter, painter.deviceTransform(), target, clip, limit, {}})
{}

ChartRaster::LineBatch::~LineBatch()
{
    flush();
}

bool ChartRaster::LineBatch::add(const QList<QPointF> &points, const QList<QPointF> &thinned,
                                 const QColor &color, double dotRadius)
{
    if (!d->pending.empty() && d->pending.back().stamps->radius() != dotRadius)
        flush(); // the earlier lines' stamps make way for these
    const DotStamps &stamps = dotStamps(dotRadius);
    const QTransform &toDevice = d->toDevice;
    const QRectF &limit = d->limit;
    double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
    for (const QPointF &p : points) {
        minX = std::min(minX, p.x());
        maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y());
        maxY = std::max(maxY, p.y());
    }
    minX = std::max(minX, limit.left());
    maxX = std::min(maxX, limit.right());
    minY = std::max(minY, limit.top());
    maxY = std::min(maxY, limit.bottom());
    if (!(minX <= maxX && minY <= maxY))
        return true; // nothing within the limit
    const QRectF device = toDevice.mapRect(QRectF(QPointF(minX, minY), QPointF(maxX, maxY)));
    const double margin = stamps.radius() + 2;
    const QRect rect(
        QPoint(int(std::floor(device.left() - margin)), int(std::floor(device.top() - margin))),
        QPoint(int(std::ceil(device.right() + margin)), int(std::ceil(device.bottom() + margin))));
    if (rect.isEmpty() || qint64(rect.width()) * rect.height() > kMaskMaxPixels)
        return false;
    if (d->target) {
        d->pending.push_back({points, thinned, color, rect, &stamps});
        return true;
    }
    MaskBuffers &buffers = maskBuffers(0);
    {
        CoverageMask mask(rect, buffers);
        d->build(mask, points, thinned, stamps);
        mask.paint(d->painter, color, toDevice, buffers.scratch);
    }
    // An unusually large chart does not keep its buffers.
    if (buffers.coverage.size() > size_t(kKeptMaskPixels)) {
        buffers.coverage = std::vector<quint8>();
        buffers.scratch = QImage();
    }
    return true;
}

void ChartRaster::LineBatch::flush()
{
    const std::vector<Private::Pending> pending = std::exchange(d->pending, {});
    if (pending.empty())
        return;
    const QTransform &toDevice = d->toDevice;
    const double halfWidth = ChartGeometry::kLineWidth / 2 * toDevice.m11();
    // Each line's segments and dots in device pixels: the same list where the line's points
    // are its segments' ends.
    struct Line
    {
        std::vector<QPointF> at, ownDots;
        const std::vector<QPointF> *dots = nullptr;
        bool ordered = true; // x never falls: the part of a strip of columns can be searched for
        CoverageMask::Shades shades;
    };
    const double sx = toDevice.m11(), sy = toDevice.m22(), tx = toDevice.dx(), ty = toDevice.dy();
    const auto toPixels = [&](const QList<QPointF> &points, std::vector<QPointF> &pixels) {
        pixels.resize(size_t(points.size()));
        for (qsizetype j = 0; j < points.size(); ++j)
            pixels[size_t(j)] = QPointF(sx * points[j].x() + tx, sy * points[j].y() + ty);
    };
    const auto ordered = [](const std::vector<QPointF> &list) {
        for (size_t j = 1; j < list.size(); ++j) {
            if (!(list[j].x() >= list[j - 1].x()))
                return false;
        }
        return true;
    };
    std::vector<Line> lines(pending.size());
    QRect bounds;
    int heights = 0;
    for (size_t n = 0; n < pending.size(); ++n) {
        const Private::Pending &p = pending[n];
        Line &line = lines[n];
        toPixels(p.thinned, line.at);
        line.ordered = ordered(line.at);
        line.dots = &line.at;
        if (p.points.constData() != p.thinned.constData() || p.points.size() != p.thinned.size()) {
            toPixels(p.points, line.ownDots);
            line.ordered = line.ordered && ordered(line.ownDots);
            line.dots = &line.ownDots;
        }
        line.shades = CoverageMask::shadesOf(p.color);
        bounds |= p.rect;
        heights += p.rect.height();
    }
    const QRect area = d->clip.intersected(d->target->rect()).intersected(bounds);
    if (area.isEmpty())
        return;
    uchar *bits = d->target->bits();
    const qsizetype stride = d->target->bytesPerLine();

    // Strip by strip of columns, the masks of all lines together small enough to stay in the
    // cache while they are made and painted; a strip's masks come out as the whole masks would.
    constexpr int kStripBytes = 512 * 1024;
    const int width = std::max(16, kStripBytes / std::max(1, heights) / 16 * 16);
    // The last columns in narrower strips, so that neither thread waits long for the other at
    // the end: a quarter of what is left each, down to a block of columns.
    std::vector<int> starts;
    for (int c = area.left(), left = area.width(); left > 0;) {
        const int w =
            left >= 4 * width ? width : std::min(left, std::max(16, (left / 4 + 15) / 16 * 16));
        starts.push_back(c);
        c += w;
        left -= w;
    }
    starts.push_back(area.right() + 1);
    const int strips = int(starts.size()) - 1;
    // The calling thread's buffers, a set for each thread.
    std::vector<MaskBuffers *> buffers(2 * pending.size());
    for (size_t n = 0; n < buffers.size(); ++n)
        buffers[n] = &maskBuffers(n);
    std::atomic<int> next{0};
    // Strip by strip on two threads: each strip comes out the same whichever thread does it.
    ChartThreads::onTwoThreads([&](int thread) {
        std::vector<std::unique_ptr<CoverageMask>> masks;
        std::vector<const CoverageMask *> painted;
        std::vector<const CoverageMask::Shades *> shades;
        for (int strip = next++; strip < strips; strip = next++) {
            const int c0 = starts[size_t(strip)], c1 = starts[size_t(strip) + 1];
            for (size_t n = 0; n < pending.size(); ++n) {
                const QRect &rect = pending[n].rect;
                if (rect.right() < c0 || rect.left() >= c1)
                    continue;
                const Line &line = lines[n];
                const DotStamps &stamps = *pending[n].stamps;
                auto mask = std::make_unique<CoverageMask>(
                    rect, *buffers[size_t(thread) * pending.size() + n], c0 - rect.left(),
                    c1 - rect.left());
                // The segments and dots that may reach the strip, in their order.
                const auto part = [&line](const std::vector<QPointF> &list, double from,
                                          double to) {
                    if (!line.ordered)
                        return std::make_pair(size_t(0), list.size());
                    const auto x = [](const QPointF &p, double v) { return p.x() < v; };
                    return std::make_pair(
                        size_t(std::lower_bound(list.begin(), list.end(), from, x) - list.begin()),
                        size_t(std::lower_bound(list.begin(), list.end(), to, x) - list.begin()));
                };
                const double reach = halfWidth + 2;
                const auto [a0, a1] = part(line.at, c0 - reach, c1 + reach);
                for (size_t j = a0 > 0 ? a0 - 1 : 0; j < a1 && j + 1 < line.at.size(); ++j)
                    mask->addSegment(line.at[j], line.at[j + 1], halfWidth);
                mask->finishStrokes();
                mask->prepareDots(stamps);
                const double radius = stamps.radius() + 2;
                const std::vector<QPointF> &dots = *line.dots;
                const auto [d0, d1] = part(dots, c0 - radius, c1 + radius);
                for (size_t j = d0; j < d1; ++j)
                    mask->addDot(dots[j].x(), dots[j].y(), stamps);
                masks.push_back(std::move(mask));
                shades.push_back(&line.shades);
            }
            for (const auto &mask : masks)
                painted.push_back(mask.get());
            CoverageMask::paintTogether(painted, shades, bits, stride,
                                        QRect(c0, area.top(), c1 - c0, area.height()));
            masks.clear();
            painted.clear();
            shades.clear();
        }
    });
    for (MaskBuffers *kept : buffers) {
        if (kept->coverage.size() > size_t(kKeptMaskPixels))
            kept->coverage = std::vector<quint8>();
    }
}
