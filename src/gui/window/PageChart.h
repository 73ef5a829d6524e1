#pragma once

#include "ChartDataSource.h"
#include "WindowPage.h"

#include <QPointer>
#include <QWidget>

class ChartView;

// The window's chart page: holds the chart view and redraws it whenever its own window's data
// source says the chart data changed.
class PageChart : public QWidget, public WindowPage
{
    Q_OBJECT
public:
    explicit PageChart(QWidget *parent = nullptr);
    ~PageChart() override;

    ChartView *chartView() const { return pChartView; }
    ChartDataSource *chartDataSource() const { return pChartDataSource; }
    // Connects the page and its chart view to the window's data source (none: disconnects).
    void setChartDataSource(ChartDataSource *source);

    void onChartDataChanged();

private:
    QPointer<ChartDataSource> pChartDataSource;
    ChartView *pChartView = nullptr;
};
