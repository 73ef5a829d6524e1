#pragma once

#include "ChartCanvas.h"
#include "ChartDataSource.h"
#include "ChartViewport.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>
#include <utility>

class QPainter;
class QTimer;

// The chart page's view of a window's filtered readings. The drawing itself is ChartPainter's,
// shared with the printed report and image export; the view keeps it as an image (ChartCanvas),
// so that repainting without a change of data costs little. While the view is being resized or
// explored (a resize soon after another, a zoom or move soon after another), it shows that image
// stretched onto the new size and period, and draws the chart again once the steps stop. Only
// other data are drawn while the screen waits: another size or period is drawn in the background,
// the stretched image shown until the drawing is there.
//
// The view explores the chart: the wheel, a pinch or Ctrl+Plus and Ctrl+Minus zoom the time
// axis, dragging or the Left and Right keys move along it, Ctrl+0 or a double-click show the
// whole period again. Hovering a reading shows its date, time and values; a click chooses it,
// and Ctrl+Left and Ctrl+Right choose the reading before or after the chosen one.
class ChartView : public QWidget
{
    Q_OBJECT
public:
    explicit ChartView(QWidget *parent = nullptr);
    ~ChartView() override;

    ChartDataSource *chartDataSource() const;
    void setDataSource(ChartDataSource *source);

    // Draws the whole chart of the source within the bounds; see ChartPainter.
    static void drawChartUsingSource(QPainter &painter, const ChartDataSource *source,
                                     const QRectF &bounds, bool forPrint);

    const ChartViewport &viewport() const { return pViewport; }
    // The first and the last moment shown; null dates when the chart is empty.
    std::pair<Date, Date> shownPeriod() const;
    // How often the chart's image has been drawn (not merely copied to the screen).
    int dataDraws() const { return pCanvas.dataDraws(); }
    // Waits at most that long for the chart being drawn in the background; false when it is not
    // there yet. A repaint shows it once the events posted meanwhile are delivered.
    bool waitForDrawing(int milliseconds = 10000) { return pCanvas.waitForDrawing(milliseconds); }
    // The clock that tells resizes and exploring steps apart, in milliseconds; null: the
    // monotonic clock.
    void setStepClock(std::function<qint64()> milliseconds);

    // The text of a reading's tool tip: its date and time, then each value the chart shows.
    static QString toolTipForReading(const Measurement &reading);

    QSize sizeHint() const override { return QSize(600, 400); }
    QSize minimumSizeHint() const override { return QSize(200, 150); }

signals:
    // The user chose the reading on the chart (a click, Ctrl+Left or Ctrl+Right).
    void readingChosen(const ConstMeasurementPtr &reading);
    // Another part of the period is shown, or another period.
    void shownPeriodChanged();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void onChartDataChanged();
    QRectF plotRect() const;
    double secondsAtX(double x) const;
    double xAtSeconds(double seconds) const;
    void zoomBy(double factor, double anchorX);
    // A step is a zoom or a move that others may quickly follow; anything else (showing the
    // whole, going to a reading) is drawn at once.
    enum class Change
    {
        Step,
        Jump
    };
    void viewportChanged(bool changed, Change change);
    // Starts or goes on with a live change when this one follows the last of its kind (at
    // *last) quickly, else ends it.
    void pace(std::optional<qint64> &last);
    // The reading drawn nearest to the point horizontally, if close enough; -1 otherwise.
    qsizetype readingNear(const QPointF &pos);
    void showToolTip(qsizetype reading);
    void chooseNeighbour(int direction);

    QPointer<ChartDataSource> dataSource;
    ChartCanvas pCanvas;
    ChartViewport pViewport;
    QPointF pPressPos;
    double fPressFirst = 0;
    bool bPressed = false;
    bool bDragging = false;
    qsizetype nToolTipReading = -1;
    // A resize or a step within kLiveGap of the one before starts or goes on with a live
    // resize or exploration, which lasts while pSettleTimer runs.
    std::function<qint64()> pStepClock;
    std::optional<qint64> nLastResize, nLastStep;
    QTimer *pSettleTimer;
};
