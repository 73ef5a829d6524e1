#pragma once

#include "AverageItem.h"
#include "Filter.h"
#include "Measurement.h"
#include "ReadingValues.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

class Average;
using AveragePtr = std::shared_ptr<Average>;

// The statistics of the readings that pass one filter: an AverageItem for each numeric value of
// the table of values (eight). It reads the document's live list of all readings through a pointer
// (never a copy); the document calls invalidate() after changing that list. The filtered readings
// are taken once per invalidation and shared by the eight items. A change of the filter's predicate
// invalidates the average; a change of its name is passed on as nameChanged().
class Average : public QObject
{
    Q_OBJECT
public:
    Average(const ConstMeasurementList *allReadings, FilterPtr filter);
    ~Average() override;

    static AveragePtr averageWithArray(const ConstMeasurementList *allReadings, FilterPtr filter)
    {
        return std::make_shared<Average>(allReadings, std::move(filter));
    }

    // The keys of the values, in the table's order: "Systolic", "Diastolic", "PulsePressure",
    // "Pulse", "Weight", "customValue1", "customValue2", "customValue3".
    static const QStringList &keys();

    // The readings that pass the filter, in order; computed on first call after creation or
    // invalidation. A filter without a predicate lets every reading through; one whose predicate
    // cannot be evaluated lets none through.
    ConstMeasurementList measurements() const;
    // Drops the filtered readings and marks every item dirty. Announces nothing.
    void invalidate();

    QString name() const;
    FilterPtr filter() const { return pFilter; }
    // The items by key.
    QHash<QString, AverageItemPtr> values() const;
    // The item of one of keys(); nullptr for any other key.
    AverageItemPtr item(const QString &key) const;

    void beginObserveFilter();
    void endObserveFilter();

signals:
    // The name shown for this average has changed (the filter was renamed).
    void nameChanged();

private:
    friend class AverageItem;
    void onFilterValueChanged(const QString &key);
    // Computes every dirty item in one pass over the filtered readings.
    void computeDirtyItems() const;

    const ConstMeasurementList *pMeasurements;
    FilterPtr pFilter;
    mutable std::optional<ConstMeasurementList> pFilteredMeasurements;
    std::array<AverageItemPtr, ReadingValues::kCount> pValues;
    QMetaObject::Connection pFilterConnection;
};
