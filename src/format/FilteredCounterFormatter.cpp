#include "FilteredCounterFormatter.h"

#include "FilteredCounter.h"

std::unique_ptr<FilteredCounterFormatter> FilteredCounterFormatter::formatter()
{
    return std::make_unique<FilteredCounterFormatter>();
}

QString FilteredCounterFormatter::stringForCounter(const FilteredCounter &counter)
{
    // The noun counts the readings in all: "1 of 3 readings", "0 of 1 reading".
    const qint32 total = counter.totalCount();
    const QString format = total == 1 ? qtTrId("filtered_counter.measurement")
                                      : qtTrId("filtered_counter.measurements");
    return format.arg(counter.filteredCount()).arg(total);
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
