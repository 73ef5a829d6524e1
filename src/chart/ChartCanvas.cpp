#include "ChartCanvas.h"

#include "ChartDataSource.h"
#include "ChartPainter.h"

#include <QPainter>

ChartCanvas::ChartCanvas() : pSummary(std::make_unique<ChartSummary>()) {}

ChartCanvas::~ChartCanvas() = default;

void ChartCanvas::setDataSource(const ChartDataSource *source)
{
    if (source == pSource)
        return;
    pSource = source;
    ChartGeometry::Input input = pSummary->takeInput();
    ChartPainter::fillInputFromSource(source, input);
    pSummary->assign(std::move(input));
    nRevision = source ? source->dataRevision() : 0;
    pLayer = QImage();
}

const ChartSummary &ChartCanvas::summary()
{
    if (pSource && pSource->dataRevision() != nRevision) {
        ChartGeometry::Input input = pSummary->takeInput();
        ChartPainter::fillInputFromSource(pSource, input);
        pSummary->assign(std::move(input));
        nRevision = pSource->dataRevision();
        pLayer = QImage();
    } else if (!pSource && pSummary->count() > 0) {
        pSummary->assign(ChartGeometry::Input());
        pLayer = QImage();
    }
    return *pSummary;
}

void ChartCanvas::paint(QPainter &painter, const QSize &size, double devicePixelRatio,
                        Date shownFirst, Date shownLast)
{
    const ChartSummary &data = summary();
    if (!data.isEmpty() && (shownFirst.isNull() || shownLast.isNull())) {
        shownFirst = data.input().dates.first();
        shownLast = data.input().dates.last();
    }
    const QSize pixels = (QSizeF(size) * devicePixelRatio).toSize();
    const double first = data.isEmpty() ? 0 : shownFirst.timeIntervalSinceReferenceDate();
    const double last = data.isEmpty() ? 0 : shownLast.timeIntervalSinceReferenceDate();
    if (pLayer.isNull() || pLayer.size() != pixels ||
        pLayer.devicePixelRatio() != devicePixelRatio || !(first == fLayerFirst) ||
        !(last == fLayerLast)) {
        const QRectF bounds(QPointF(0, 0), QSizeF(size));
        ChartGeometry geometry = data.isEmpty()
                                     ? ChartGeometry::emptyChart(bounds)
                                     : data.layout(bounds, devicePixelRatio, shownFirst, shownLast);
        geometry.hasSelection = false;
        // The image's memory is kept from size to size: fresh memory costs more to touch
        // than the drawing itself.
        const size_t count =
            size_t(std::max(pixels.width(), 0)) * size_t(std::max(pixels.height(), 0));
        if (count > pLayerMemory.size() || count < pLayerMemory.size() / 4)
            pLayerMemory = std::vector<QRgb>(count);
        pLayer = QImage(reinterpret_cast<uchar *>(pLayerMemory.data()), pixels.width(),
                        pixels.height(), qsizetype(pixels.width()) * qsizetype(sizeof(QRgb)),
                        QImage::Format_RGB32); // opaque: copied to the screen as it is
        pLayer.setDevicePixelRatio(devicePixelRatio);
        pLayer.fill(Qt::white);
        {
            QPainter layer(&pLayer);
            ChartPainter::drawChart(layer, geometry, false);
        }
        geometry.lines.clear();
        pFrame = std::move(geometry);
        fLayerFirst = first;
        fLayerLast = last;
        ++nDataDraws;
    }
    painter.drawImage(QPointF(0, 0), pLayer);

    // The marker at the selected reading, as the painter draws it.
    const Date selected = pSource ? pSource->selectedDate() : Date();
    if (!pFrame.empty && selected.isFinite() && selected >= shownFirst && selected <= shownLast) {
        const double x = pFrame.xForDate(selected);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(QColor::fromRgbF(0, 1, 0), 1));
        painter.drawLine(QLineF(x, pFrame.plot.top(), x, pFrame.plot.bottom()));
        painter.restore();
    }
}
