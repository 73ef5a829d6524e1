#include "ChartView.h"

#include "ChartPainter.h"
#include "DateFormatter.h"
#include "NumberFormatter.h"
#include "Preferences.h"
#include "PressureFormatter.h"
#include "TimeFormatter.h"

#include <QApplication>
#include <QGestureEvent>
#include <QKeyEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPinchGesture>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include <chrono>
#include <cmath>

namespace {

// One key press zooms by this much; one wheel notch by kWheelZoom.
constexpr double kKeyZoom = 1.5;
constexpr double kWheelZoom = 1.25;
// The Left and Right keys move by this part of what is shown.
constexpr double kKeyPan = 0.1;
// A reading is hit within this many points of its x.
constexpr double kHitDistance = 6;
// Resizes, zooms or moves closer together than this (in milliseconds) are one live change, shown
// stretched; the chart is drawn again when none has followed for as long.
constexpr int kLiveGap = 150;

bool isZoomKey(const QKeyEvent *event, int *direction)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (event->matches(QKeySequence::ZoomIn) ||
        (ctrl && (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal)))
        *direction = 1;
    else if (event->matches(QKeySequence::ZoomOut) || (ctrl && event->key() == Qt::Key_Minus))
        *direction = -1;
    else if (ctrl && event->key() == Qt::Key_0)
        *direction = 0;
    else
        return false;
    return true;
}

} // namespace

ChartView::ChartView(QWidget *parent) : QWidget(parent), pSettleTimer(new QTimer(this))
{
    pSettleTimer->setObjectName(QStringLiteral("pChartSettleTimer"));
    pSettleTimer->setSingleShot(true);
    pSettleTimer->setInterval(kLiveGap);
    connect(pSettleTimer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    // Called on the canvas's thread.
    pCanvas.setDrawnCallback([this] {
        QMetaObject::invokeMethod(
            this, [this] { update(); }, Qt::QueuedConnection);
    });
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    grabGesture(Qt::PinchGesture);
}

ChartView::~ChartView() = default;

ChartDataSource *ChartView::chartDataSource() const
{
    return dataSource;
}

void ChartView::setDataSource(ChartDataSource *source)
{
    if (dataSource)
        disconnect(dataSource, nullptr, this, nullptr);
    dataSource = source;
    pCanvas.setDataSource(source);
    if (source)
        connect(source, &ChartDataSource::chartDataChanged, this, &ChartView::onChartDataChanged);
    onChartDataChanged();
}

void ChartView::onChartDataChanged()
{
    if (dataSource && dataSource->objects().size() >= 2) {
        const double first[] = {pViewport.shownFirst(), pViewport.shownLast()};
        pViewport.setPeriod(
            dataSource->objects().first()->theWholeDate().timeIntervalSinceReferenceDate(),
            dataSource->objects().last()->theWholeDate().timeIntervalSinceReferenceDate());
        if (first[0] != pViewport.shownFirst() || first[1] != pViewport.shownLast())
            emit shownPeriodChanged();
    }
    nToolTipReading = -1;
    update();
}

std::pair<Date, Date> ChartView::shownPeriod() const
{
    if (!dataSource || dataSource->objects().size() < 2)
        return {Date(), Date()};
    return {Date(pViewport.shownFirst()), Date(pViewport.shownLast())};
}

void ChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The device painted on: the screen's backing store or, when rendered, an image.
    const QPaintDevice *device =
        painter.paintEngine() ? painter.paintEngine()->paintDevice() : this;
    const double ratio = device ? device->devicePixelRatioF() : devicePixelRatioF();
    // While the view is being resized or explored, the chart's image stretched: drawn exactly
    // once it stops, in the background while the stretched image is shown.
    pCanvas.paint(painter, size(), ratio, Date(pViewport.shownFirst()), Date(pViewport.shownLast()),
                  pSettleTimer->isActive() ? ChartCanvas::Drawing::Preview
                                           : ChartCanvas::Drawing::Background);
}

void ChartView::setStepClock(std::function<qint64()> milliseconds)
{
    pStepClock = std::move(milliseconds);
}

void ChartView::pace(std::optional<qint64> &last)
{
    const qint64 now = pStepClock ? pStepClock()
                                  : std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count();
    // The first after a pause is drawn at once; those that follow it quickly are stretched until
    // they stop.
    if (last && now - *last < kLiveGap)
        pSettleTimer->start();
    else
        pSettleTimer->stop();
    last = now;
}

void ChartView::resizeEvent(QResizeEvent *event)
{
    pace(nLastResize);
    QWidget::resizeEvent(event);
}

void ChartView::drawChartUsingSource(QPainter &painter, const ChartDataSource *source,
                                     const QRectF &bounds, bool forPrint)
{
    ChartPainter::drawChartUsingSource(painter, source, bounds, forPrint);
}

// --- Exploring --------------------------------------------------------------------------------

QRectF ChartView::plotRect() const
{
    const double m = ChartGeometry::kMargin;
    return QRectF(rect()).adjusted(m, m, -m, -m);
}

double ChartView::secondsAtX(double x) const
{
    const QRectF plot = plotRect();
    if (!(plot.width() > 0))
        return pViewport.shownFirst() + pViewport.shownSpan() / 2;
    return pViewport.shownFirst() + (x - plot.left()) / plot.width() * pViewport.shownSpan();
}

double ChartView::xAtSeconds(double seconds) const
{
    const QRectF plot = plotRect();
    const double span = pViewport.shownSpan();
    if (!(span > 0))
        return plot.center().x();
    return plot.left() + plot.width() * (seconds - pViewport.shownFirst()) / span;
}

void ChartView::viewportChanged(bool changed, Change change)
{
    if (!changed)
        return;
    if (change == Change::Step) {
        pace(nLastStep);
    } else {
        pSettleTimer->stop();
        nLastStep.reset();
    }
    nToolTipReading = -1;
    QToolTip::hideText();
    update();
    emit shownPeriodChanged();
}

void ChartView::zoomBy(double factor, double anchorX)
{
    const QRectF plot = plotRect();
    anchorX = std::clamp(anchorX, plot.left(), std::max(plot.left(), plot.right()));
    viewportChanged(pViewport.zoom(factor, secondsAtX(anchorX)), Change::Step);
}

qsizetype ChartView::readingNear(const QPointF &pos)
{
    if (!dataSource)
        return -1;
    const ChartSummary &summary = pCanvas.summary();
    if (summary.isEmpty() || summary.count() != dataSource->objects().size())
        return -1;
    const QRectF plot = plotRect();
    if (pos.x() < plot.left() - kHitDistance || pos.x() > plot.right() + kHitDistance ||
        pos.y() < plot.top() - kHitDistance || pos.y() > plot.bottom() + kHitDistance)
        return -1;
    const qsizetype j = summary.nearestReading(secondsAtX(pos.x()));
    const double t = summary.secondsAt(j);
    if (j < 0 || t < pViewport.shownFirst() || t > pViewport.shownLast() ||
        std::abs(xAtSeconds(t) - pos.x()) > kHitDistance)
        return -1;
    return j;
}

QString ChartView::toolTipForReading(const Measurement &reading)
{
    const QVariant when = QVariant::fromValue(reading.theWholeDate());
    QStringList lines = {qtTrId("window.chart.reading_when")
                             .arg(DateFormatter::formatter()->stringForObjectValue(when),
                                  TimeFormatter::formatter()->stringForObjectValue(when))};
    const auto line = [&](const QString &title, const QString &value) {
        lines.append(qtTrId("window.chart.reading_value").arg(title, value));
    };
    line(qtTrId("window.column.pressure"),
         PressureFormatter::stringForMeasurement(reading).simplified());

    NumberFormatter whole, decimal;
    whole.setNumberStyle(NumberFormatter::Style::None);
    whole.setMaximumFractionDigits(0);
    decimal.setNumberStyle(NumberFormatter::Style::Decimal);
    struct Shown
    {
        int line;
        Measurement::Key key;
        QString title;
        const NumberFormatter *format;
    };
    const Preferences &preferences = Preferences::shared();
    const Shown shown[] = {
        {ChartDataSource::Pulse, Measurement::Key::Pulse, qtTrId("window.column.pulse"), &whole},
        {ChartDataSource::Weight, Measurement::Key::Weight, qtTrId("window.column.weight"),
         &decimal},
        {ChartDataSource::Custom1, Measurement::Key::CustomValue1,
         preferences.stringForKey(Preferences::customTitle1), &decimal},
        {ChartDataSource::Custom2, Measurement::Key::CustomValue2,
         preferences.stringForKey(Preferences::customTitle2), &decimal},
        {ChartDataSource::Custom3, Measurement::Key::CustomValue3,
         preferences.stringForKey(Preferences::customTitle3), &decimal},
    };
    for (const Shown &value : shown) {
        double number;
        if (preferences.boolForKey(ChartDataSource::switchKeyForLine(value.line)) &&
            reading.numberForKey(value.key, &number))
            line(value.title, value.format->stringFromNumber(reading.valueForKey(value.key)));
    }
    return lines.join(QLatin1Char('\n'));
}

void ChartView::showToolTip(qsizetype reading)
{
    nToolTipReading = reading;
    if (reading < 0 || !dataSource || reading >= dataSource->objects().size()) {
        QToolTip::hideText();
        return;
    }
    const QPointF at(xAtSeconds(pCanvas.summary().secondsAt(reading)), plotRect().top());
    QToolTip::showText(mapToGlobal(at.toPoint()),
                       toolTipForReading(*dataSource->objects().at(reading)), this);
}

void ChartView::chooseNeighbour(int direction)
{
    if (!dataSource)
        return;
    const ChartSummary &summary = pCanvas.summary();
    const ConstMeasurementList &readings = dataSource->objects();
    if (summary.isEmpty() || summary.count() != readings.size())
        return;
    qsizetype next;
    if (const ConstMeasurementPtr &selected = dataSource->selection()) {
        qsizetype j =
            summary.nearestReading(selected->theWholeDate().timeIntervalSinceReferenceDate());
        while (j + 1 < readings.size() && readings.at(j) != selected &&
               readings.at(j + 1)->theWholeDate() == readings.at(j)->theWholeDate())
            ++j;
        next = std::clamp<qsizetype>(j + direction, 0, readings.size() - 1);
    } else {
        // From the edge of what is shown.
        next =
            summary.nearestReading(direction > 0 ? pViewport.shownFirst() : pViewport.shownLast());
    }
    const double t = summary.secondsAt(next);
    if (t < pViewport.shownFirst() || t > pViewport.shownLast())
        viewportChanged(pViewport.pan(t - (pViewport.shownFirst() + pViewport.shownLast()) / 2),
                        Change::Jump);
    emit readingChosen(readings.at(next));
    showToolTip(next);
}

bool ChartView::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // The chart's own keys win over shortcuts of the window while it has the focus.
        auto *key = static_cast<QKeyEvent *>(event);
        int direction;
        if (isZoomKey(key, &direction)) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::ToolTip: {
        const qsizetype j = readingNear(static_cast<QHelpEvent *>(event)->pos());
        showToolTip(j);
        if (j < 0)
            event->ignore();
        return true;
    }
    case QEvent::NativeGesture: {
        auto *gesture = static_cast<QNativeGestureEvent *>(event);
        if (gesture->gestureType() == Qt::ZoomNativeGesture) {
            zoomBy(1 + gesture->value(), gesture->position().x());
            return true;
        }
        break;
    }
    case QEvent::Gesture: {
        auto *gestures = static_cast<QGestureEvent *>(event);
        if (auto *pinch = static_cast<QPinchGesture *>(gestures->gesture(Qt::PinchGesture))) {
            if (pinch->changeFlags() & QPinchGesture::ScaleFactorChanged)
                zoomBy(pinch->scaleFactor(), mapFromGlobal(pinch->centerPoint()).x());
            gestures->accept(pinch);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::event(event);
}

void ChartView::keyPressEvent(QKeyEvent *event)
{
    int direction;
    if (isZoomKey(event, &direction)) {
        if (direction == 0)
            viewportChanged(pViewport.showAll(), Change::Jump);
        else
            zoomBy(direction > 0 ? kKeyZoom : 1 / kKeyZoom, plotRect().center().x());
        return;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
        const int step = event->key() == Qt::Key_Left ? -1 : 1;
        if (modifiers == Qt::NoModifier) {
            viewportChanged(pViewport.pan(step * kKeyPan * pViewport.shownSpan()), Change::Step);
            return;
        }
        if (modifiers == Qt::ControlModifier) {
            chooseNeighbour(step);
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void ChartView::wheelEvent(QWheelEvent *event)
{
    const QPoint delta = event->angleDelta();
    if (delta.y() != 0)
        zoomBy(std::pow(kWheelZoom, delta.y() / 120.0), event->position().x());
    else if (delta.x() != 0)
        viewportChanged(pViewport.pan(-delta.x() / 120.0 * kKeyPan * pViewport.shownSpan()),
                        Change::Step);
    event->accept();
}

void ChartView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    bPressed = true;
    bDragging = false;
    pPressPos = event->position();
    fPressFirst = pViewport.shownFirst();
}

void ChartView::mouseMoveEvent(QMouseEvent *event)
{
    if (!bPressed) {
        const qsizetype j = readingNear(event->position());
        if (j != nToolTipReading)
            showToolTip(j);
        return;
    }
    const QPointF moved = event->position() - pPressPos;
    if (!bDragging && moved.manhattanLength() < QApplication::startDragDistance())
        return;
    if (!bDragging) {
        bDragging = true;
        setCursor(Qt::ClosedHandCursor);
        QToolTip::hideText();
    }
    const double width = plotRect().width();
    if (width > 0) {
        const double wanted = fPressFirst - moved.x() / width * pViewport.shownSpan();
        viewportChanged(pViewport.pan(wanted - pViewport.shownFirst()), Change::Step);
    }
}

void ChartView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !bPressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const bool click = !bDragging;
    bPressed = bDragging = false;
    unsetCursor();
    if (!click)
        return;
    const qsizetype j = readingNear(event->position());
    if (j >= 0)
        emit readingChosen(dataSource->objects().at(j));
}

void ChartView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        viewportChanged(pViewport.showAll(), Change::Jump);
}

void ChartView::leaveEvent(QEvent *event)
{
    nToolTipReading = -1;
    QWidget::leaveEvent(event);
}
