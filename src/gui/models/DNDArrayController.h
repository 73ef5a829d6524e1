#pragma once

#include "DocumentListModel.h"

#include <functional>

// A list model whose rows the user reorders by dragging them within their own table. A drag
// carries the dragged row numbers under the MIME type "MOVED_ROWS_TYPE", together with the
// model it came from: a drop is taken only from the same model, only as a move, and never with
// Alt held. The dragged rows land together, in their order, above the row they were dropped on;
// rowsDropped() then names the rows where they stand, for the view to select.
class DNDArrayController : public DocumentListModel
{
    Q_OBJECT
public:
    static const QString kMovedRowsType; // "MOVED_ROWS_TYPE"

    using DocumentListModel::DocumentListModel;

    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Moves the rows at `indexes` so that they stand together, in their old order, above the row
    // that stood at `toIndex` before the move (`toIndex` equal to the row count: after the
    // last). Answers the rows where they stand now.
    virtual QList<int> moveObjectsInArrangedObjectsFromIndexes(const QList<int> &indexes,
                                                               int toIndex) = 0;

    // How many of the (sorted, distinct) indexes lie in [location, location + length).
    static int countOfIndexesInRange(const QList<int> &indexes, int location, int length);

    // The keyboard state looked at when a drop comes (tests replace it).
    std::function<Qt::KeyboardModifiers()> keyboardModifiers;

signals:
    void rowsDropped(const QList<int> &rows);

private:
    bool decode(const QMimeData *data, Qt::DropAction action, QList<int> *rows) const;
};
