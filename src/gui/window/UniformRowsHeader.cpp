#include "UniformRowsHeader.h"

UniformRowsHeader::UniformRowsHeader(QWidget *parent) : QHeaderView(Qt::Vertical, parent)
{
    setSectionResizeMode(QHeaderView::Fixed);
    setSectionsMovable(false);
}

void UniformRowsHeader::setModel(QAbstractItemModel *newModel)
{
    if (newModel == model())
        return; // QHeaderView keeps its connections then, and so does this header
    if (trimConnection)
        disconnect(trimConnection);
    trimConnection = {};
    QHeaderView::setModel(newModel);
    if (!newModel)
        return;
    // QHeaderView's handler is a private slot connected by its signature.
    const bool replaced = disconnect(newModel, SIGNAL(rowsRemoved(QModelIndex, int, int)), this,
                                     SLOT(_q_sectionsRemoved(QModelIndex, int, int)));
    if (!replaced)
        return;
    trimConnection = connect(newModel, &QAbstractItemModel::rowsRemoved, this,
                             [this](const QModelIndex &parent) {
                                 if (parent == rootIndex())
                                     followRowCount();
                             });
}

// Qt's own reset and layout walk every row when the list has got shorter, as its removal does.
void UniformRowsHeader::reset()
{
    if (!trimConnection) {
        QHeaderView::reset();
        return;
    }
    QAbstractItemView::reset();
    followRowCount();
}

void UniformRowsHeader::doItemsLayout()
{
    if (!trimConnection) {
        QHeaderView::doItemsLayout();
        return;
    }
    followRowCount();
    QAbstractItemView::doItemsLayout();
}

// count() first carries out a layout that is due, which comes back here: the second call does
// the work, and the first then finds nothing left to do.
void UniformRowsHeader::followRowCount()
{
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    if (rows == 0 || rows > count())
        initializeSections(); // clears the header, or adds sections at the end
    else if (rows < count())
        initializeSections(rows - 1, rows - 1); // cuts the sections past the new last row
}
