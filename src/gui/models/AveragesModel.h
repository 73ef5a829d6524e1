#pragma once

#include "DocumentListModel.h"

#include <memory>

class AverageFormatter;
class AverageIntFormatter;

// The document's averages, one row per filter used in averages: the filter's name, then the
// mean (with its deviation when "showDeviationsInAverages" is on) of systolic, diastolic, pulse
// pressure, pulse, weight and the three custom values. Values are computed when a view asks for
// them; when the document drops them, every row is announced as changed.
class AveragesModel : public DocumentListModel
{
    Q_OBJECT
public:
    enum Column
    {
        FilterColumn,
        SystolicColumn,
        DiastolicColumn,
        PulsePressureColumn,
        PulseColumn,
        WeightColumn,
        Custom1Column,
        Custom2Column,
        Custom3Column,
        ColumnCount
    };

    explicit AveragesModel(MyDocument *document, QObject *parent = nullptr);
    ~AveragesModel() override;

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    AveragePtr average(int row) const;
    // The preference that shows an optional column, or empty for the columns always shown.
    static QString showKeyOfColumn(int column);
    // The average's key of a value column ("Systolic", ...), or empty for the name column.
    static QString valueKeyOfColumn(int column);

protected:
    int listCount() const override;

private:
    void onAveragesInvalidated();
    void onPreferenceChanged(const QString &key);

    std::unique_ptr<AverageIntFormatter> fmtWhole;
    std::unique_ptr<AverageFormatter> fmtDecimal;
};
