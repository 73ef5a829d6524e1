#pragma once

#include <QHeaderView>

// A vertical header for a table whose rows all have the same height, are never hidden and never
// moved (the readings table). Qt's header walks every row to renumber its hidden rows whenever
// one row is removed, which makes deleting one reading from a long list cost time in proportion
// to its length. With uniform rows removing row k leaves the header in the same state as removing
// the last row, so this header only trims itself to the model's new row count (on a reset of
// the model too, where Qt's header walks the rows as well).
//
// Where Qt's own handler cannot be replaced (a Qt that connects it differently), the header keeps
// it: slower, never wrong.
class UniformRowsHeader : public QHeaderView
{
    Q_OBJECT
public:
    explicit UniformRowsHeader(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;
    void reset() override;
    void doItemsLayout() override;

    // Whether removals take the short way for the current model.
    bool trimsOnRemoval() const { return bool(trimConnection); }

private:
    // Brings the number of sections in line with the model's rows without visiting the rows
    // kept.
    void followRowCount();

    QMetaObject::Connection trimConnection;
};
