#pragma once

#include "WindowPage.h"

#include <QPointer>
#include <QWidget>

class AveragesModel;
class HomeSummaryPane;
class MyDocument;
class QTableView;

// The averages page: one row per filter used in averages, its optional columns following the
// show preferences. Turning deviations on or off redraws the table; nothing is rebuilt.
class PageAverages : public QWidget, public WindowPage
{
    Q_OBJECT
public:
    PageAverages(AveragesModel *model, QWidget *parent = nullptr);

    QTableView *tableView() const { return pTableView; }
    void updateColumns();
    void selectAll();
    // Shows the home-measurement summary of the document's selected filter under the table
    // while "showHomeSummary" is on.
    void setDocument(MyDocument *document);
    HomeSummaryPane *homeSummaryPane() const { return pSummaryPane; }

private:
    void onPreferenceChanged(const QString &key);

    AveragesModel *pModel;
    QTableView *pTableView;
    HomeSummaryPane *pSummaryPane = nullptr;
};
