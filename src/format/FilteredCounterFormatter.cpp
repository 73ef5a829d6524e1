#include "FilteredCounterFormatter.h"

#include "FilteredCounter.h"

std::unique_ptr<FilteredCounterFormatter> FilteredCounterFormatter::formatter()
{
    return std::make_unique<FilteredCounterFormatter>();
}

QString FilteredCounterFormatter::stringForCounter(const FilteredCounter &counter)
{
    const qint32 filtered = counter.filteredCount();
    const QString format = filtered == 1 ? qtTrId("filtered_counter.measurement")
                                         : qtTrId("filtered_counter.measurements");
    return format.arg(filtered).arg(counter.totalCount());
}

QString FilteredCounterFormatter::stringForObjectValue(const QVariant &value) const
{
    if (value.metaType() != QMetaType::fromType<FilteredCounter>())
        return QString();
    return stringForCounter(value.value<FilteredCounter>());
}

bool FilteredCounterFormatter::getObjectValue(QVariant *, const QString &,
                                              QString *errorDescription) const
{
    return refuseOneWay(errorDescription);
}
