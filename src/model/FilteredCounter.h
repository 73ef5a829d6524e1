#pragma once

#include <QMetaType>

// How many readings pass the selected filter, out of how many in all. An immutable value.
class FilteredCounter
{
public:
    FilteredCounter() = default;
    FilteredCounter(qint32 filtered, qint32 total) : nFiltered(filtered), nTotal(total) {}

    static FilteredCounter newWithFiltered(qint32 filtered, qint32 total)
    {
        return FilteredCounter(filtered, total);
    }

    qint32 filteredCount() const { return nFiltered; }
    qint32 totalCount() const { return nTotal; }

    friend bool operator==(const FilteredCounter &a, const FilteredCounter &b)
    {
        return a.nFiltered == b.nFiltered && a.nTotal == b.nTotal;
    }

private:
    qint32 nFiltered = 0;
    qint32 nTotal = 0;
};

Q_DECLARE_METATYPE(FilteredCounter)
