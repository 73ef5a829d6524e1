#include "AverageItem.h"

#include "Average.h"

#include <cmath>

AverageItem::AverageItem(Average *owner, Measurement::Key selector)
    : pOwner(owner), selector_(selector)
{}

double AverageItem::average() const
{
    if (bIsDirty)
        compute();
    return fAverage;
}

double AverageItem::deviation() const
{
    if (bIsDirty)
        compute();
    return fDeviation;
}

bool AverageItem::isValid() const
{
    if (bIsDirty)
        compute();
    return bIsValid;
}

void AverageItem::invalidate()
{
    bIsDirty = true;
    bIsValid = false;
    fAverage = 0;
    fDeviation = 0;
}

void AverageItem::compute() const
{
    if (pOwner) {
        // The owner computes every dirty item in one pass over the filtered readings.
        pOwner->computeDirtyItems();
        if (!bIsDirty)
            return;
    }
    setComputed(0, 0, 0);
}

void AverageItem::setComputed(double sum, double sumOfSquares, qint64 count) const
{
    bIsDirty = false;
    bIsValid = false;
    fAverage = 0;
    fDeviation = 0;
    if (count == 0)
        return;
    const double k = double(count);
    const double mean = sum / k;
    double variance = sumOfSquares / k - mean * mean;
    if (!(variance >= kVarianceThreshold)) // also absorbs negative rounding results
        variance = 0;
    bIsValid = true;
    fAverage = mean;
    fDeviation = std::sqrt(variance);
}
