#pragma once

#include "ChartDataSource.h"

#include <QPointer>
#include <QWidget>

class QPainter;

// The chart page's view of a window's filtered readings. The drawing itself is ChartPainter's,
// shared with the printed report and image export; every drawing asks the data source afresh.
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

    QSize sizeHint() const override { return QSize(600, 400); }
    QSize minimumSizeHint() const override { return QSize(200, 150); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<ChartDataSource> dataSource;
};
