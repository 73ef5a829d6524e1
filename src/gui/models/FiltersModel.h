#pragma once

#include "MyDocument.h"

#include <QAbstractTableModel>
#include <QPointer>

// The document's filters as a table: the name (edited in place: "doc.rename_filter"), whether
// the filter is offered in the filter menu and whether the averages show it (check boxes:
// "doc.change_filter"). Follows the document's announcements of its filters row by row.
class FiltersModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        NameColumn,
        UseInFiltersColumn,
        UseInAveragesColumn,
        ColumnCount
    };

    explicit FiltersModel(MyDocument *document, QObject *parent = nullptr);

    FilterPtr filterAt(int row) const;
    int rowOfFilter(const FilterPtr &filter) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QPointer<MyDocument> pDocument;
};
