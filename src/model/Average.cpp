#include "Average.h"

#include <QDebug>

Average::Average(const ConstMeasurementList *allReadings, FilterPtr filter)
    : pMeasurements(allReadings), pFilter(std::move(filter))
{
    beginObserveFilter();
    for (size_t i = 0; i < pValues.size(); ++i)
        pValues[i] = AverageItem::itemWithOwner(this, ReadingValues::kAll[i].key);
}

Average::~Average()
{
    endObserveFilter();
    // Items that someone still holds must not reach back into this average.
    for (const AverageItemPtr &item : pValues) {
        item->pOwner = nullptr;
        item->invalidate();
    }
}

const QStringList &Average::keys()
{
    static const QStringList list = [] {
        QStringList names;
        for (const ReadingValue &value : ReadingValues::kAll)
            names.append(value.name);
        return names;
    }();
    return list;
}

ConstMeasurementList Average::measurements() const
{
    if (!pFilteredMeasurements) {
        static const ConstMeasurementList none;
        const ConstMeasurementList &all = pMeasurements ? *pMeasurements : none;
        const PredicatePtr predicate = pFilter ? pFilter->predicate() : nullptr;
        if (!predicate) {
            pFilteredMeasurements = all;
        } else {
            try {
                pFilteredMeasurements = predicate->filteredArray(all);
            } catch (const PredicateEvaluationError &error) {
                qWarning() << "Average: the filter" << name()
                           << "cannot be evaluated:" << error.message();
                pFilteredMeasurements = ConstMeasurementList();
            }
        }
    }
    return *pFilteredMeasurements;
}

void Average::invalidate()
{
    pFilteredMeasurements.reset();
    for (const AverageItemPtr &item : pValues)
        item->invalidate();
}

QString Average::name() const
{
    return pFilter ? pFilter->name() : QString();
}

QHash<QString, AverageItemPtr> Average::values() const
{
    QHash<QString, AverageItemPtr> result;
    for (size_t i = 0; i < pValues.size(); ++i)
        result.insert(ReadingValues::kAll[i].name, pValues[i]);
    return result;
}

AverageItemPtr Average::item(const QString &key) const
{
    const ReadingValue *value = ReadingValues::find(key);
    return value ? pValues[value - ReadingValues::kAll] : nullptr;
}

void Average::beginObserveFilter()
{
    if (!pFilter || pFilterConnection)
        return;
    pFilterConnection = connect(pFilter.get(), &Filter::valueChanged, this,
                                [this](const QString &key) { onFilterValueChanged(key); });
}

void Average::endObserveFilter()
{
    if (pFilterConnection)
        disconnect(pFilterConnection);
    pFilterConnection = QMetaObject::Connection();
}

void Average::onFilterValueChanged(const QString &key)
{
    if (key == QLatin1String("name"))
        emit nameChanged();
    else if (key == QLatin1String("predicate"))
        invalidate();
}

void Average::computeDirtyItems() const
{
    struct Sums
    {
        double sum = 0, sumOfSquares = 0;
        qint64 count = 0;
    };
    std::array<Sums, ReadingValues::kCount> sums;
    std::array<size_t, ReadingValues::kCount> dirty;
    size_t dirtyCount = 0;
    for (size_t i = 0; i < pValues.size(); ++i) {
        if (pValues[i]->bIsDirty)
            dirty[dirtyCount++] = i;
    }
    if (dirtyCount == 0)
        return;

    // Sum and sum of squares of the readings that have a value, in reading order: the same
    // additions, in the same order, as one pass for the mean and another for the squares.
    const ConstMeasurementList filtered = measurements();
    for (const ConstMeasurementPtr &reading : filtered) {
        for (size_t d = 0; d < dirtyCount; ++d) {
            const size_t i = dirty[d];
            double value;
            if (reading->numberForKey(ReadingValues::kAll[i].key, &value)) {
                sums[i].sum += value;
                sums[i].sumOfSquares += value * value;
                ++sums[i].count;
            }
        }
    }
    for (size_t d = 0; d < dirtyCount; ++d) {
        const size_t i = dirty[d];
        pValues[i]->setComputed(sums[i].sum, sums[i].sumOfSquares, sums[i].count);
    }
}
