#include "ChartView.h"

#include "ChartDataSource.h"
#include "ChartPainter.h"

#include <QPainter>

ChartView::ChartView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

ChartView::~ChartView() = default;

ChartDataSource *ChartView::chartDataSource() const
{
    return dataSource;
}

void ChartView::setDataSource(ChartDataSource *source)
{
    dataSource = source;
    update();
}

void ChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    drawChartUsingSource(painter, dataSource, QRectF(rect()), false);
}

void ChartView::drawChartUsingSource(QPainter &painter, const ChartDataSource *source,
                                     const QRectF &bounds, bool forPrint)
{
    ChartPainter::drawChartUsingSource(painter, source, bounds, forPrint);
}
