#pragma once

#include "Measurement.h"

#include <QMetaType>

#include <memory>

class Average;
class AverageItem;
using AverageItemPtr = std::shared_ptr<AverageItem>;

// The mean and population standard deviation of one numeric property over the readings that
// pass an average's filter, counting only readings that have a value for it. Computed on first
// read and kept until invalidated. Items belong to their Average; one that outlives it reads as
// not valid.
class AverageItem
{
public:
    AverageItem(Average *owner, Measurement::Key selector);

    static AverageItemPtr itemWithOwner(Average *owner, Measurement::Key selector)
    {
        return std::make_shared<AverageItem>(owner, selector);
    }

    double average() const;
    double deviation() const;
    // True when at least one filtered reading has a value for the property.
    bool isValid() const;
    bool isDirty() const { return bIsDirty; }

    // Back to dirty: the numbers are computed again when next read.
    void invalidate();
    // Computes the numbers now (from the owner's filtered readings).
    void compute() const;

    Measurement::Key selector() const { return selector_; }
    Average *owner() const { return pOwner; }

    // Variance below this is taken as 0.
    static constexpr double kVarianceThreshold = 0.00001;

private:
    friend class Average;
    // Stores the result of a computation done by the owner.
    void setComputed(double sum, double sumOfSquares, qint64 count) const;

    Average *pOwner;
    Measurement::Key selector_;
    mutable bool bIsDirty = true;
    mutable bool bIsValid = false;
    mutable double fDeviation = 0;
    mutable double fAverage = 0;
};

Q_DECLARE_METATYPE(AverageItemPtr)
