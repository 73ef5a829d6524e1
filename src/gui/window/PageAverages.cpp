#include "PageAverages.h"

#include "AveragesModel.h"
#include "HomeSummaryPane.h"
#include "Preferences.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

PageAverages::PageAverages(AveragesModel *model, QWidget *parent)
    : QWidget(parent), pModel(model), pTableView(new QTableView(this))
{
    setObjectName(QStringLiteral("pPageAverages"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pTableView);
    pTableView->setObjectName(QStringLiteral("pTableView"));
    pTableView->setAccessibleName(qtTrId("window.averages_table"));
    setFocusProxy(pTableView); // the page passes the focus on to its table
    pTableView->setModel(model);
    pTableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    pTableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pTableView->setAlternatingRowColors(true);
    pTableView->setShowGrid(false);
    pTableView->setWordWrap(false);
    pTableView->setTabKeyNavigation(false);
    pTableView->setFrameShape(QFrame::NoFrame);
    pTableView->verticalHeader()->hide();
    pTableView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView *header = pTableView->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    updateColumns();
    header->resizeSection(AveragesModel::FilterColumn, 180);
    for (int column = AveragesModel::SystolicColumn; column < AveragesModel::ColumnCount; ++column)
        header->resizeSection(column, 120);
    connect(&Preferences::shared(), &Preferences::changed, this,
            &PageAverages::onPreferenceChanged);
}

void PageAverages::updateColumns()
{
    for (int column = 0; column < AveragesModel::ColumnCount; ++column) {
        const QString key = AveragesModel::showKeyOfColumn(column);
        if (!key.isEmpty())
            pTableView->setColumnHidden(column, !Preferences::shared().boolForKey(key));
    }
}

void PageAverages::setDocument(MyDocument *document)
{
    delete pSummaryPane;
    pSummaryPane = new HomeSummaryPane(document, this);
    auto *box = static_cast<QVBoxLayout *>(layout());
    box->setStretchFactor(pTableView, 1);
    box->addWidget(pSummaryPane);
    pSummaryPane->setVisible(Preferences::shared().boolForKey(Preferences::showHomeSummary));
}

void PageAverages::selectAll()
{
    pTableView->selectAll();
}

void PageAverages::onPreferenceChanged(const QString &key)
{
    if (key == Preferences::showDeviationsInAverages)
        pTableView->viewport()->update(); // the formatters follow the preference themselves
    else if (key == Preferences::showPulse || key == Preferences::showWeight ||
             key == Preferences::customShow1 || key == Preferences::customShow2 ||
             key == Preferences::customShow3)
        updateColumns();
    else if (key == Preferences::showHomeSummary && pSummaryPane)
        pSummaryPane->setVisible(Preferences::shared().boolForKey(key));
}
