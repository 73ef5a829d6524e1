#pragma once

#include "WindowPage.h"

#include <QPointer>
#include <QWidget>

class AveragesModel;
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

private:
    void onPreferenceChanged(const QString &key);

    AveragesModel *pModel;
    QTableView *pTableView;
};
