#pragma once

#include "DNDArrayController.h"

// The document's information list as an editable table (label, text, printed check box) whose
// rows are reordered by dragging. Every change goes through the document: an edit of a cell is
// one undoable edit of the item, adding, removing and moving rows replace the list as a whole.
class InformationArrayController : public DNDArrayController
{
    Q_OBJECT
public:
    enum Column
    {
        NameColumn,
        ValueColumn,
        PrintedColumn,
        ColumnCount
    };

    explicit InformationArrayController(MyDocument *document, QObject *parent = nullptr);

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    InformationItemPtr item(int row) const;

    // A new item: printed, with the localised default label and text.
    static InformationItemPtr newObject();
    // Appends a new item; answers its row.
    int add();
    // Removes the items at the rows.
    void remove(const QList<int> &rows);

    QList<int> moveObjectsInArrangedObjectsFromIndexes(const QList<int> &indexes,
                                                       int toIndex) override;

protected:
    int listCount() const override;
};
