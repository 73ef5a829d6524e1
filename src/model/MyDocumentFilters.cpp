#include "MyDocument_p.h"

// The filters, the visible ones and the averages.

namespace {

const QString kKeyName = QStringLiteral("name");
const QString kKeyPredicate = QStringLiteral("predicate");
const QString kKeyUseInAverages = QStringLiteral("useInAverages");
const QString kKeyUseInFilters = QStringLiteral("useInFilters");

} // namespace

// --- Filters -------------------------------------------------------------------------------------

FilterList MyDocument::defaultFilters()
{
    return {Filter::filterNoFilter(), Filter::filterLastWeek(), Filter::filterLastMonth()};
}

qint32 MyDocument::indexOfFilter(const Filter *filter) const
{
    for (qsizetype i = 0; i < pAllFilters.size(); ++i) {
        if (pAllFilters[i].get() == filter)
            return qint32(i);
    }
    return -1;
}

void MyDocument::beginObserving(const FilterPtr &filter)
{
    FilterObservation &observation = pFilterObservations[filter.get()];
    if (observation.count++ > 0)
        return;
    Filter *raw = filter.get();
    observation.connection = connect(raw, &Filter::valueChanged, this,
                                     [this, raw](const QString &key, const QVariant &oldValue) {
                                         onFilterValueChanged(raw, key, oldValue);
                                     });
}

void MyDocument::endObserving(const FilterPtr &filter)
{
    const auto it = pFilterObservations.find(filter.get());
    if (it == pFilterObservations.end())
        return;
    if (--it->count > 0)
        return;
    disconnect(it->connection);
    pFilterObservations.erase(it);
}

void MyDocument::setFilter(const FilterPtr &filter)
{
    if (filter == pSelectedFilter)
        return;
    // The selected filter is observed even when it is not (or no longer) one of the document's
    // filters, so that a change of its predicate always rebuilds the filtered list.
    const FilterPtr previous = pSelectedFilter;
    pSelectedFilter = filter;
    if (filter)
        beginObserving(filter);
    if (previous)
        endObserving(previous);
    doFilter();
    emit filterChanged(pSelectedFilter);
}

void MyDocument::setFilters(const FilterList &filters)
{
    FilterList unique;
    unique.reserve(filters.size());
    for (const FilterPtr &filter : filters) {
        if (filter && !unique.contains(filter))
            unique.append(filter);
    }
    if (unique == pAllFilters)
        return;

    const FilterList previous = pAllFilters;
    {
        const ListChange bracket(*this, List::Filters);
        emit listAboutToBeReset(List::Filters);
        for (const FilterPtr &filter : previous)
            endObserving(filter);
        pAllFilters = unique;
        for (const FilterPtr &filter : std::as_const(pAllFilters))
            beginObserving(filter);
        emit listReset(List::Filters);
    }
    {
        const ListChange bracket(*this, List::VisibleFilters);
        emit listAboutToBeReset(List::VisibleFilters);
        pVisibleFilters.clear();
        for (const FilterPtr &filter : std::as_const(pAllFilters)) {
            if (filter->isUsedInFilters())
                pVisibleFilters.append(filter);
        }
        emit listReset(List::VisibleFilters);
    }
    const ListChange bracket(*this, List::Averages);
    emit listAboutToBeReset(List::Averages);
    pAverages.clear();
    for (const FilterPtr &filter : std::as_const(pAllFilters)) {
        if (filter->isUsedInAverages())
            pAverages.append(Average::averageWithArray(&pMeasurementsArray, filter));
    }
    emit listReset(List::Averages);
}

FilterPtr MyDocument::addFilter()
{
    const FilterPtr filter = std::make_shared<Filter>();
    insertFilter(filter, qint32(pAllFilters.size()));
    return filter;
}

void MyDocument::insertFilter(const FilterPtr &filter, qint32 index)
{
    if (!filter || index < 0 || index > pAllFilters.size() || indexOfFilter(filter.get()) >= 0) {
        qWarning("attempt to insert a filter twice or at a bad index");
        return;
    }
    const FilterPtr held = filter;
    const Change change(*this, "doc.ins_filter", [this, index] { removeFilterAtIndex(index); });
    {
        const ListChange bracket(*this, List::Filters);
        insertRow(List::Filters, pAllFilters, index, held);
        beginObserving(held);
    }

    if (held->isUsedInFilters())
        addFilterToVisible(held);
    if (held->isUsedInAverages())
        addFilterToAverages(held);
}

void MyDocument::removeFilterAtIndex(qint32 index)
{
    if (index < 0 || index >= pAllFilters.size()) {
        qWarning("attempt to remove a filter at a bad index");
        return;
    }
    const FilterPtr filter = pAllFilters[index];
    const Change change(*this, "doc.del_filter",
                        [this, filter, index] { insertFilter(filter, index); });
    {
        const ListChange bracket(*this, List::Filters);
        endObserving(filter);
        removeRow(List::Filters, pAllFilters, index);
    }

    // Whatever its flags say now, it leaves both derived lists.
    removeFilterFromVisible(filter);
    removeFilterFromAverages(filter);
}

void MyDocument::removeFilter(const FilterPtr &filter)
{
    const qint32 index = indexOfFilter(filter.get());
    if (index >= 0)
        removeFilterAtIndex(index);
}

void MyDocument::addFilterToVisible(const FilterPtr &filter)
{
    const qint32 index = indexOfFilter(filter.get());
    Q_ASSERT_X(index >= 0, "src/MyDocument", "bad filter");
    if (index < 0)
        return;
    // A repeated notification of the flag does not place the filter a second time.
    if (pVisibleFilters.contains(filter))
        return;
    // Its place: after every visible filter that stands before it among all filters.
    qint32 place = 0;
    for (const FilterPtr &visible : std::as_const(pVisibleFilters)) {
        if (indexOfFilter(visible.get()) < index)
            ++place;
    }
    const ListChange bracket(*this, List::VisibleFilters);
    insertRow(List::VisibleFilters, pVisibleFilters, place, filter);
}

void MyDocument::removeFilterFromVisible(const FilterPtr &filter)
{
    const ListChange bracket(*this, List::VisibleFilters);
    for (qsizetype i = pVisibleFilters.size() - 1; i >= 0; --i) {
        if (pVisibleFilters[i] == filter)
            removeRow(List::VisibleFilters, pVisibleFilters, qint32(i));
    }
}

void MyDocument::changeKeyPath(const QString &keyPath, const FilterPtr &filter,
                               const QVariant &value)
{
    if (filter)
        filter->setValueForKey(value, keyPath);
}

void MyDocument::onFilterValueChanged(Filter *filter, const QString &key, const QVariant &oldValue)
{
    if (key == kKeyPredicate) {
        // The filter's average drops its figures before anything is announced, so that a view
        // reading the averages row (or the filtered list) at the signal sees the new ones.
        for (const AveragePtr &average : std::as_const(pAverages)) {
            if (average->filter().get() == filter)
                average->invalidate();
        }
    }
    if (filter == pSelectedFilter.get() && key == kKeyPredicate)
        doFilter();
    const qint32 index = indexOfFilter(filter);
    if (index < 0)
        return;
    const bool isName = key == kKeyName;
    if (!isName && key != kKeyPredicate && key != kKeyUseInAverages && key != kKeyUseInFilters)
        return;
    const FilterPtr held = pAllFilters[index];
    const Change change(*this, isName ? "doc.rename_filter" : "doc.change_filter",
                        [this, held, key, oldValue] { changeKeyPath(key, held, oldValue); });

    if (key == kKeyUseInFilters) {
        if (held->isUsedInFilters())
            addFilterToVisible(held);
        else
            removeFilterFromVisible(held);
    } else if (key == kKeyUseInAverages) {
        if (held->isUsedInAverages())
            addFilterToAverages(held);
        else
            removeFilterFromAverages(held);
    }
    emitFilterRowsChanged(filter);
}

void MyDocument::emitFilterRowsChanged(const Filter *filter)
{
    const qint32 index = indexOfFilter(filter);
    if (index >= 0)
        emit rowsChanged(List::Filters, index, index);
    for (qsizetype i = 0; i < pVisibleFilters.size(); ++i) {
        if (pVisibleFilters[i].get() == filter)
            emit rowsChanged(List::VisibleFilters, qint32(i), qint32(i));
    }
    for (qsizetype i = 0; i < pAverages.size(); ++i) {
        if (pAverages[i]->filter().get() == filter)
            emit rowsChanged(List::Averages, qint32(i), qint32(i));
    }
}

// --- Averages ----------------------------------------------------------------------------------

void MyDocument::addFilterToAverages(const FilterPtr &filter)
{
    const qint32 index = indexOfFilter(filter.get());
    Q_ASSERT_X(index >= 0, "src/MyDocument", "bad filter");
    if (index < 0)
        return;
    qint32 place = 0;
    for (const AveragePtr &average : std::as_const(pAverages)) {
        const qint32 at = indexOfFilter(average->filter().get());
        if (at == index)
            return; // a repeated notification: the filter has its average already
        if (at < index)
            ++place;
    }
    const ListChange bracket(*this, List::Averages);
    insertRow(List::Averages, pAverages, place,
              Average::averageWithArray(&pMeasurementsArray, filter));
}

void MyDocument::removeFilterFromAverages(const FilterPtr &filter)
{
    for (qsizetype i = 0; i < pAverages.size(); ++i) {
        if (pAverages[i]->filter() == filter) {
            const ListChange bracket(*this, List::Averages);
            removeRow(List::Averages, pAverages, qint32(i));
            return;
        }
    }
}

void MyDocument::invalidateAverages()
{
    for (const AveragePtr &average : std::as_const(pAverages))
        average->invalidate();
    emit averagesInvalidated();
}
