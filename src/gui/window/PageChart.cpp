#include "PageChart.h"

#include "ChartDataSource.h"
#include "ChartView.h"

#include <QVBoxLayout>

PageChart::PageChart(QWidget *parent) : QWidget(parent), pChartView(new ChartView(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pChartView);
}

PageChart::~PageChart() = default;

void PageChart::setChartDataSource(ChartDataSource *source)
{
    if (source == pChartDataSource)
        return;
    if (pChartDataSource)
        disconnect(pChartDataSource, nullptr, this, nullptr);
    pChartDataSource = source;
    pChartView->setDataSource(source);
    if (source)
        connect(source, &ChartDataSource::chartDataChanged, this, &PageChart::onChartDataChanged);
    onChartDataChanged();
}

void PageChart::onChartDataChanged()
{
    update();
    pChartView->update();
}
