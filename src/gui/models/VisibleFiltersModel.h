#pragma once

#include "DocumentListModel.h"

// The document's visible filters (the ones offered for filtering), one column: the name.
class VisibleFiltersModel : public DocumentListModel
{
    Q_OBJECT
public:
    explicit VisibleFiltersModel(MyDocument *document, QObject *parent = nullptr);

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    FilterPtr filter(int row) const;
    // The row of the filter (by identity), or -1 when it is not visible.
    int rowOfFilter(const Filter *filter) const;

protected:
    int listCount() const override;
};
