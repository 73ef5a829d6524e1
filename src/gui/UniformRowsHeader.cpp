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
                                 if (parent != rootIndex())
                                     return;
                                 const int rows = model()->rowCount(rootIndex());
                                 if (rows == 0) {
                                     initializeSections(); // clears the header
                                     return;
                                 }
                                 // Cuts the sections past the new last row; the sections kept
                                 // are not visited.
                                 if (rows < count())
                                     initializeSections(rows - 1, rows - 1);
                             });
}
