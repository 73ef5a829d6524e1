#include "MyDocument.h"

#include "DocumentArchive.h"
#include "DocumentPrinter.h"

#include "UndoManager.h"

#include <QDebug>
#include <QFile>
#include <QMetaObject>
#include <QSaveFile>
#include <QSet>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString kKeyName = QStringLiteral("name");
const QString kKeyPredicate = QStringLiteral("predicate");
const QString kKeyUseInAverages = QStringLiteral("useInAverages");
const QString kKeyUseInFilters = QStringLiteral("useInFilters");

// The instant a reading is ordered by. A reading without a date sorts before every other, so
// that the lists stay totally ordered whatever they hold.
inline double orderKey(const Measurement &reading)
{
    const double seconds = reading.theWholeDate().timeIntervalSinceReferenceDate();
    return std::isnan(seconds) ? -std::numeric_limits<double>::infinity() : seconds;
}

// The first index of the list (leaving out the element at `skip`) whose reading is not earlier
// than `key`.
qsizetype lowerBound(const ConstMeasurementList &list, double key, qsizetype skip = -1)
{
    const qsizetype count = skip >= 0 ? list.size() - 1 : list.size();
    qsizetype lo = 0, hi = count;
    while (lo != hi) {
        const qsizetype mid = (lo + hi) / 2;
        const qsizetype at = skip >= 0 && mid >= skip ? mid + 1 : mid;
        if (orderKey(*list[at]) < key)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

} // namespace

MyDocument::MyDocument(QObject *parent) : QObject(parent), pUndoManager(new UndoManager(this))
{
    pFilteredCounter = FilteredCounter::newWithFiltered(0, 0);
    setFilters(defaultFilters());
    setFilter(pAllFilters.value(0));
}

MyDocument::~MyDocument()
{
    // Nobody hears a document that is going away; it only lets go of what it observes.
    const QSignalBlocker blocker(this);
    pUndoManager->disableUndoRegistration();
    setInformation({});
    pUndoManager->enableUndoRegistration();
    pLastEditedMeasurement.reset();
    pAverages.clear();
    for (const FilterObservation &observation : std::as_const(pFilterObservations))
        disconnect(observation.connection);
    pFilterObservations.clear();
    pSelectedFilter.reset();
    pVisibleFilters.clear();
    pAllFilters.clear();
}

QString MyDocument::keyOf(List list)
{
    switch (list) {
    case List::Items:
        return QStringLiteral("items");
    case List::Filters:
        return QStringLiteral("filters");
    case List::VisibleFilters:
        return QStringLiteral("visibleFilters");
    case List::Averages:
        return QStringLiteral("averages");
    case List::Information:
        break;
    }
    return QStringLiteral("information");
}

void MyDocument::setActionName(const char *key)
{
    if (!pUndoManager->isUndoing())
        pUndoManager->setActionName(qtTrId(key));
}

template <typename T>
void MyDocument::insertRow(List list, QList<T> &rows, qint32 index, const T &value)
{
    emit rowsAboutToBeInserted(list, index, index);
    rows.insert(index, value);
    emit rowsInserted(list, index, index);
}

template <typename T> void MyDocument::removeRow(List list, QList<T> &rows, qint32 index)
{
    emit rowsAboutToBeRemoved(list, index, index);
    // Whoever held the element through the list keeps it alive until the signal is out.
    const T held = rows.takeAt(index);
    emit rowsRemoved(list, index, index);
}

// --- Readings ------------------------------------------------------------------------------------

qint32 MyDocument::positionForMeasurement(const Measurement &reading,
                                          const ConstMeasurementList &list)
{
    return qint32(lowerBound(list, orderKey(reading)));
}

qint32 MyDocument::indexOfMeasurement(const Measurement *reading, const ConstMeasurementList &list)
{
    if (!reading)
        return -1;
    const double key = orderKey(*reading);
    for (qsizetype i = lowerBound(list, key); i < list.size(); ++i) {
        const Measurement *candidate = list[i].get();
        if (candidate == reading)
            return qint32(i);
        if (orderKey(*candidate) > key)
            break;
    }
    return -1;
}

bool MyDocument::containsMeasurement(const ConstMeasurementPtr &reading) const
{
    return indexOfMeasurement(reading.get(), pMeasurementsArray) >= 0;
}

void MyDocument::setLastEditedMeasurement(const ConstMeasurementPtr &reading)
{
    pLastEditedMeasurement = reading ? reading->copy() : nullptr;
}

PredicatePtr MyDocument::selectedPredicate() const
{
    return pSelectedFilter ? pSelectedFilter->predicate() : nullptr;
}

bool MyDocument::passes(const Predicate *predicate, const Measurement &reading) const
{
    if (!predicate)
        return true;
    try {
        return predicate->evaluateWithObject(reading);
    } catch (const PredicateEvaluationError &) {
        // A predicate that cannot judge a reading lets it not through. Decoded filters never
        // carry such a predicate (they are reset on reading).
        return false;
    }
}

ConstMeasurementList MyDocument::presentReadings(const ConstMeasurementList &readings) const
{
    ConstMeasurementList present;
    present.reserve(readings.size());
    QSet<const Measurement *> seen;
    for (const ConstMeasurementPtr &reading : readings) {
        if (!reading || (readings.size() > 1 && seen.contains(reading.get())))
            continue;
        if (!containsMeasurement(reading)) {
            qWarning("attempt to delete reading that it absent in the main list!");
            continue;
        }
        if (readings.size() > 1)
            seen.insert(reading.get());
        present.append(reading);
    }
    return present;
}

static ConstMeasurementList absentReadings(const MyDocument &document,
                                           const ConstMeasurementList &readings)
{
    ConstMeasurementList absent;
    absent.reserve(readings.size());
    QSet<const Measurement *> seen;
    for (const ConstMeasurementPtr &reading : readings) {
        if (!reading || document.containsMeasurement(reading))
            continue;
        if (readings.size() > 1) {
            if (seen.contains(reading.get()))
                continue;
            seen.insert(reading.get());
        }
        absent.append(reading);
    }
    return absent;
}

MeasurementPtr MyDocument::mutableReading(const ConstMeasurementPtr &reading)
{
    // Every reading in the document's lists came in as a MeasurementPtr (addMeasurements(),
    // replaceReadings(), setAllMeasurements()), so it is no const object: the document may
    // change the readings it holds.
    return std::const_pointer_cast<Measurement>(reading);
}

void MyDocument::addMeasurements(const MeasurementList &readings)
{
    addHeld(ConstMeasurementList(readings.cbegin(), readings.cend()));
}

void MyDocument::addHeld(const ConstMeasurementList &readings)
{
    const ConstMeasurementList added = absentReadings(*this, readings);
    if (added.isEmpty())
        return;
    pUndoManager->registerUndo([this, added] { deleteMeasurements(added); });
    setActionName("doc.ins_record");
    doAddMeasurements(added);
    updateFilteredCounter();
    invalidateAverages();
}

void MyDocument::importMeasurements(const MeasurementList &readings, const char *actionName)
{
    importHeld(ConstMeasurementList(readings.cbegin(), readings.cend()), actionName);
}

void MyDocument::importHeld(const ConstMeasurementList &readings, const char *actionName)
{
    const ConstMeasurementList added = absentReadings(*this, readings);
    if (added.isEmpty())
        return;
    // The inverse deletes them again and records the import once more as its own inverse, so
    // that the redo keeps the import's name.
    pUndoManager->registerUndo([this, added, actionName] {
        const ConstMeasurementList present = presentReadings(added);
        pUndoManager->registerUndo(
            [this, present, actionName] { importHeld(present, actionName); });
        doDeleteMeasurements(present);
        updateFilteredCounter();
        invalidateAverages();
    });
    setActionName(actionName);
    doAddMeasurements(added);
    updateFilteredCounter();
    invalidateAverages();
}

void MyDocument::deleteMeasurements(const ConstMeasurementList &readings)
{
    const ConstMeasurementList deleted = presentReadings(readings);
    if (deleted.isEmpty())
        return;
    pUndoManager->registerUndo([this, deleted] { addHeld(deleted); });
    setActionName("doc.del_record");
    doDeleteMeasurements(deleted);
    updateFilteredCounter();
    invalidateAverages();
}

void MyDocument::updateMeasurement(const ConstMeasurementPtr &reading,
                                   const ConstMeasurementPtr &newData)
{
    if (!reading || !newData)
        return;
    const qint32 mainIndex = indexOfMeasurement(reading.get(), pMeasurementsArray);
    if (mainIndex < 0) {
        qWarning("attempt to edit reading that is absent in the main list");
        return;
    }
    // Held for the whole edit: the caller's pointer may be the list element itself.
    const MeasurementPtr held = mutableReading(pMeasurementsArray[mainIndex]);
    // Read before the reading changes: newData may be the reading itself.
    const MeasurementPtr values = newData->copy();
    const MeasurementPtr saved = held->copy();
    pUndoManager->registerUndo([this, held, saved] { updateMeasurement(held, saved); });
    setActionName("doc.edit_record");

    const qint32 filteredIndex = indexOfMeasurement(held.get(), pFilteredArray);
    // New tags first, so a tag on both sides keeps its counter.
    addToTagsCache(*values);
    removeFromTagsCache(*held);
    held->copyFrom(*values);
    // To the place it would take if it were taken out and inserted again, moving only the
    // readings in between.
    const qint32 target = qint32(lowerBound(pMeasurementsArray, orderKey(*held), mainIndex));
    if (target != mainIndex)
        pMeasurementsArray.move(mainIndex, target);
    placeInFiltered(held, filteredIndex);

    setLastEditedMeasurement(held);
    updateFilteredCounter();
    invalidateAverages();
}

void MyDocument::replaceReadings(const ConstMeasurementList &oldReadings,
                                 const MeasurementList &newReadings)
{
    replaceHeld(oldReadings, ConstMeasurementList(newReadings.cbegin(), newReadings.cend()));
}

void MyDocument::replaceHeld(const ConstMeasurementList &oldReadings,
                             const ConstMeasurementList &newReadings)
{
    const ConstMeasurementList removed = presentReadings(oldReadings);
    const ConstMeasurementList added = absentReadings(*this, newReadings);
    if (removed.isEmpty() && added.isEmpty())
        return;
    pUndoManager->registerUndo([this, removed, added] { replaceHeld(added, removed); });
    setActionName("doc.replace_with_average");
    doAddMeasurements(added);
    doDeleteMeasurements(removed);
    updateFilteredCounter();
    invalidateAverages();
}

ConstMeasurementPtr MyDocument::replaceWithAverage(const ConstMeasurementList &readings)
{
    const ConstMeasurementList present = presentReadings(readings);
    if (present.size() < 2)
        return nullptr;
    const MeasurementPtr average = Measurement::averageOf(present);
    if (!average)
        return nullptr;
    replaceReadings(present, MeasurementList{average});
    return average;
}

void MyDocument::onMeasurementChangedFrom(const ConstMeasurementPtr &edited,
                                          const MeasurementPtr &entered)
{
    if (!entered)
        return;
    if (edited) {
        updateMeasurement(edited, entered);
        return;
    }
    addMeasurements(MeasurementList{entered});
    setLastEditedMeasurement(entered);
}

void MyDocument::insertIntoFiltered(const ConstMeasurementPtr &reading, bool *announced)
{
    if (!*announced) {
        *announced = true;
        emit listAboutToChange(List::Items);
    }
    insertRow(List::Items, pFilteredArray, positionForMeasurement(*reading, pFilteredArray),
              reading);
}

// Merges readings into an ascending list in one pass, giving the order that inserting them one
// by one at positionForMeasurement() gives: at each instant the new readings, last given first,
// before the readings already there.
static void mergeReadings(ConstMeasurementList &list, const ConstMeasurementList &readings)
{
    QList<qsizetype> order(readings.size());
    for (qsizetype i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&readings](qsizetype a, qsizetype b) {
        const double ka = orderKey(*readings[a]), kb = orderKey(*readings[b]);
        return ka < kb || (ka == kb && a > b);
    });
    ConstMeasurementList merged;
    merged.reserve(list.size() + readings.size());
    qsizetype i = 0;
    for (const qsizetype n : std::as_const(order)) {
        const double key = orderKey(*readings[n]);
        while (i < list.size() && orderKey(*list[i]) < key)
            merged.append(list[i++]);
        merged.append(readings[n]);
    }
    while (i < list.size())
        merged.append(list[i++]);
    list.swap(merged);
}

void MyDocument::doAddMeasurements(const ConstMeasurementList &readings)
{
    // A copy keeps the loop safe when the caller hands in one of the document's own lists.
    ConstMeasurementList adding = readings;
    adding.removeAll(nullptr);
    if (adding.size() >= kBatchSize) {
        // Many at once (undoing the deletion of a large selection): merged in linear time, and
        // the filtered list announced as reset.
        const PredicatePtr predicate = selectedPredicate();
        ConstMeasurementList passing;
        for (const ConstMeasurementPtr &reading : std::as_const(adding)) {
            addToTagsCache(*reading);
            if (passes(predicate.get(), *reading))
                passing.append(reading);
        }
        mergeReadings(pMeasurementsArray, adding);
        if (!passing.isEmpty()) {
            emit listAboutToChange(List::Items);
            emit listAboutToBeReset(List::Items);
            mergeReadings(pFilteredArray, passing);
            emit listReset(List::Items);
            emit listChanged(List::Items);
        }
        return;
    }
    const PredicatePtr predicate = selectedPredicate();
    bool announced = false;
    for (const ConstMeasurementPtr &reading : adding) {
        if (!reading)
            continue;
        pMeasurementsArray.insert(positionForMeasurement(*reading, pMeasurementsArray), reading);
        addToTagsCache(*reading);
        if (!passes(predicate.get(), *reading))
            continue;
        insertIntoFiltered(reading, &announced);
    }
    if (announced)
        emit listChanged(List::Items);
}

void MyDocument::doDeleteMeasurements(const ConstMeasurementList &readings)
{
    const ConstMeasurementList deleting = readings;
    if (deleting.size() >= kBatchSize) {
        deleteBatch(deleting);
        return;
    }
    bool announced = false;
    for (const ConstMeasurementPtr &reading : deleting) {
        if (!reading)
            continue;
        const qint32 filteredIndex = indexOfMeasurement(reading.get(), pFilteredArray);
        if (filteredIndex >= 0) {
            if (!announced) {
                announced = true;
                emit listAboutToChange(List::Items);
            }
            removeRow(List::Items, pFilteredArray, filteredIndex);
        }
        const qint32 mainIndex = indexOfMeasurement(reading.get(), pMeasurementsArray);
        if (mainIndex < 0) {
            // Its tags were never counted in, so they are not counted out either.
            qWarning("attempt to delete reading that it absent in the main list!");
            continue;
        }
        removeFromTagsCache(*reading);
        pMeasurementsArray.removeAt(mainIndex);
    }
    if (announced)
        emit listChanged(List::Items);
}

// Takes many readings out of both lists in one pass over each; the filtered list is announced
// as reset.
void MyDocument::deleteBatch(const ConstMeasurementList &readings)
{
    QSet<const Measurement *> doomed;
    doomed.reserve(readings.size());
    for (const ConstMeasurementPtr &reading : readings) {
        if (reading)
            doomed.insert(reading.get());
    }
    const auto compact = [&doomed](ConstMeasurementList &list, ConstMeasurementList *removed) {
        ConstMeasurementList kept;
        kept.reserve(list.size());
        for (const ConstMeasurementPtr &reading : std::as_const(list)) {
            if (!doomed.contains(reading.get()))
                kept.append(reading);
            else if (removed)
                removed->append(reading);
        }
        const bool changed = kept.size() != list.size();
        list.swap(kept);
        return changed;
    };

    bool inFiltered = false;
    for (const ConstMeasurementPtr &reading : std::as_const(pFilteredArray)) {
        if (doomed.contains(reading.get())) {
            inFiltered = true;
            break;
        }
    }
    if (inFiltered) {
        emit listAboutToChange(List::Items);
        emit listAboutToBeReset(List::Items);
        compact(pFilteredArray, nullptr);
        emit listReset(List::Items);
    }
    ConstMeasurementList removed;
    compact(pMeasurementsArray, &removed);
    for (const ConstMeasurementPtr &reading : std::as_const(removed)) {
        removeFromTagsCache(*reading);
        doomed.remove(reading.get());
    }
    for (qsizetype i = 0; i < doomed.size(); ++i)
        qWarning("attempt to delete reading that it absent in the main list!");
    if (inFiltered)
        emit listChanged(List::Items);
}

// Puts the reading, which stands at currentIndex of the filtered list (or -1), where the
// selected filter wants it: out of the list, or at its place by instant. A reading that keeps
// its row is announced as changed in place, one that changes row as moved.
void MyDocument::placeInFiltered(const ConstMeasurementPtr &reading, qint32 currentIndex)
{
    const PredicatePtr predicate = selectedPredicate();
    const bool pass = passes(predicate.get(), *reading);
    const ConstMeasurementPtr held = reading;
    emit listAboutToChange(List::Items);
    if (currentIndex >= 0 && pass) {
        const qint32 target = qint32(lowerBound(pFilteredArray, orderKey(*held), currentIndex));
        if (target == currentIndex) {
            emit rowsChanged(List::Items, currentIndex, currentIndex);
        } else {
            emit rowAboutToBeMoved(List::Items, currentIndex, target);
            pFilteredArray.move(currentIndex, target);
            emit rowMoved(List::Items, currentIndex, target);
        }
    } else if (currentIndex >= 0) {
        removeRow(List::Items, pFilteredArray, currentIndex);
    } else if (pass) {
        insertRow(List::Items, pFilteredArray, positionForMeasurement(*held, pFilteredArray), held);
    }
    emit listChanged(List::Items);
}

void MyDocument::doFilter()
{
    emit listAboutToChange(List::Items);
    emit listAboutToBeReset(List::Items);
    const PredicatePtr predicate = selectedPredicate();
    ConstMeasurementList filtered;
    if (!predicate) {
        // A list of its own, so that the next change of either list copies nothing.
        filtered.reserve(pMeasurementsArray.size());
        for (const ConstMeasurementPtr &reading : std::as_const(pMeasurementsArray))
            filtered.append(reading);
    } else {
        try {
            // One present moment for the whole list.
            filtered = predicate->filteredArray(pMeasurementsArray);
        } catch (const PredicateEvaluationError &) {
            filtered.clear();
        }
    }
    pFilteredArray.swap(filtered);
    emit listReset(List::Items);
    updateFilteredCounter();
    emit listChanged(List::Items);
}

void MyDocument::updateFilteredCounter()
{
    pFilteredCounter = FilteredCounter::newWithFiltered(qint32(pFilteredArray.size()),
                                                        qint32(pMeasurementsArray.size()));
    emit filteredCounterChanged(pFilteredCounter);
}

void MyDocument::setAllMeasurements(const MeasurementList &readings)
{
    ConstMeasurementList all;
    all.reserve(readings.size());
    QSet<const Measurement *> seen;
    seen.reserve(readings.size());
    for (const MeasurementPtr &reading : readings) {
        if (!reading || seen.contains(reading.get()))
            continue;
        seen.insert(reading.get());
        all.append(reading);
    }
    // Files hold their readings in order already: check before sorting.
    const auto earlier = [](const ConstMeasurementPtr &a, const ConstMeasurementPtr &b) {
        return orderKey(*a) < orderKey(*b);
    };
    if (!std::is_sorted(all.cbegin(), all.cend(), earlier))
        std::stable_sort(all.begin(), all.end(), earlier);

    pTagsCache.clear();
    pMeasurementsArray.swap(all);
    for (const ConstMeasurementPtr &reading : std::as_const(pMeasurementsArray))
        addToTagsCache(*reading);
    if (!pMeasurementsArray.isEmpty())
        setLastEditedMeasurement(pMeasurementsArray.constLast());
    doFilter();
    invalidateAverages();
}

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
    emit listAboutToChange(List::Filters);
    emit listAboutToBeReset(List::Filters);
    for (const FilterPtr &filter : previous)
        endObserving(filter);
    pAllFilters = unique;
    for (const FilterPtr &filter : std::as_const(pAllFilters))
        beginObserving(filter);
    emit listReset(List::Filters);
    emit listChanged(List::Filters);

    emit listAboutToChange(List::VisibleFilters);
    emit listAboutToBeReset(List::VisibleFilters);
    pVisibleFilters.clear();
    for (const FilterPtr &filter : std::as_const(pAllFilters)) {
        if (filter->isUsedInFilters())
            pVisibleFilters.append(filter);
    }
    emit listReset(List::VisibleFilters);
    emit listChanged(List::VisibleFilters);

    emit listAboutToChange(List::Averages);
    emit listAboutToBeReset(List::Averages);
    pAverages.clear();
    for (const FilterPtr &filter : std::as_const(pAllFilters)) {
        if (filter->isUsedInAverages())
            pAverages.append(Average::averageWithArray(&pMeasurementsArray, filter));
    }
    emit listReset(List::Averages);
    emit listChanged(List::Averages);
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
    pUndoManager->registerUndo([this, index] { removeFilterAtIndex(index); });
    setActionName("doc.ins_filter");

    emit listAboutToChange(List::Filters);
    insertRow(List::Filters, pAllFilters, index, held);
    beginObserving(held);
    emit listChanged(List::Filters);

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
    pUndoManager->registerUndo([this, filter, index] { insertFilter(filter, index); });
    setActionName("doc.del_filter");

    emit listAboutToChange(List::Filters);
    endObserving(filter);
    removeRow(List::Filters, pAllFilters, index);
    emit listChanged(List::Filters);

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
    emit listAboutToChange(List::VisibleFilters);
    insertRow(List::VisibleFilters, pVisibleFilters, place, filter);
    emit listChanged(List::VisibleFilters);
}

void MyDocument::removeFilterFromVisible(const FilterPtr &filter)
{
    emit listAboutToChange(List::VisibleFilters);
    for (qsizetype i = pVisibleFilters.size() - 1; i >= 0; --i) {
        if (pVisibleFilters[i] == filter)
            removeRow(List::VisibleFilters, pVisibleFilters, qint32(i));
    }
    emit listChanged(List::VisibleFilters);
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
    pUndoManager->registerUndo([this, held, key, oldValue] { changeKeyPath(key, held, oldValue); });
    setActionName(isName ? "doc.rename_filter" : "doc.change_filter");

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

// --- Averages and tag cache ----------------------------------------------------------------------

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
    emit listAboutToChange(List::Averages);
    insertRow(List::Averages, pAverages, place,
              Average::averageWithArray(&pMeasurementsArray, filter));
    emit listChanged(List::Averages);
}

void MyDocument::removeFilterFromAverages(const FilterPtr &filter)
{
    for (qsizetype i = 0; i < pAverages.size(); ++i) {
        if (pAverages[i]->filter() == filter) {
            emit listAboutToChange(List::Averages);
            removeRow(List::Averages, pAverages, qint32(i));
            emit listChanged(List::Averages);
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

void MyDocument::addToTagsCache(const Measurement &reading)
{
    if (!reading.hasTags())
        return;
    const QStringList tags = reading.Tags(); // const: iterating does not copy the strings
    for (const QString &tag : tags) {
        const auto it = pTagsCache.find(tag);
        if (it != pTagsCache.end())
            it->increment();
        else
            pTagsCache.insert(tag, TagsCounter::counter());
    }
}

void MyDocument::removeFromTagsCache(const Measurement &reading)
{
    if (!reading.hasTags())
        return;
    const QStringList tags = reading.Tags(); // const: iterating does not copy the strings
    for (const QString &tag : tags) {
        const auto it = pTagsCache.find(tag);
        if (it != pTagsCache.end() && it->decrement())
            pTagsCache.erase(it);
    }
}

// --- Information ---------------------------------------------------------------------------------

void MyDocument::observeInformation(bool observe)
{
    for (const QMetaObject::Connection &connection : std::as_const(pInformationConnections))
        disconnect(connection);
    pInformationConnections.clear();
    if (!observe)
        return;
    QSet<const InformationItem *> seen;
    for (const InformationItemPtr &item : std::as_const(pInformation)) {
        if (seen.contains(item.get()))
            continue;
        seen.insert(item.get());
        InformationItem *raw = item.get();
        pInformationConnections.append(
            connect(raw, &InformationItem::valueChanged, this,
                    [this, raw](const QString &key, const QVariant &oldValue) {
                        onInformationValueChanged(raw, key, oldValue);
                    }));
    }
}

void MyDocument::setInformation(const InformationList &information)
{
    InformationList items;
    items.reserve(information.size());
    for (const InformationItemPtr &item : information) {
        if (item)
            items.append(item);
    }
    if (items == pInformation)
        return;
    const InformationList previous = pInformation;
    pUndoManager->registerUndo([this, previous] { setInformation(previous); });
    setActionName("doc.information.list_changed");

    observeInformation(false);
    emit listAboutToChange(List::Information);
    // Announce only the rows between the common head and the common tail, so that views keep
    // their selection when one note is added, removed or moved.
    const qsizetype oldCount = pInformation.size();
    const qsizetype newCount = items.size();
    qsizetype head = 0;
    while (head < oldCount && head < newCount && pInformation[head] == items[head])
        ++head;
    qsizetype tail = 0;
    while (tail < oldCount - head && tail < newCount - head &&
           pInformation[oldCount - 1 - tail] == items[newCount - 1 - tail])
        ++tail;
    if (oldCount - head - tail > 0) {
        emit rowsAboutToBeRemoved(List::Information, qint32(head), qint32(oldCount - tail - 1));
        const InformationList held = pInformation;
        pInformation.remove(head, oldCount - head - tail);
        emit rowsRemoved(List::Information, qint32(head), qint32(oldCount - tail - 1));
    }
    if (newCount - head - tail > 0) {
        emit rowsAboutToBeInserted(List::Information, qint32(head), qint32(newCount - tail - 1));
        pInformation = items;
        emit rowsInserted(List::Information, qint32(head), qint32(newCount - tail - 1));
    }
    pInformation = items;
    emit listChanged(List::Information);
    observeInformation(true);
}

void MyDocument::changeKeyPath(const QString &keyPath, const InformationItemPtr &item,
                               const QVariant &value)
{
    if (item)
        item->setValueForKey(value, keyPath);
}

void MyDocument::onInformationValueChanged(InformationItem *item, const QString &key,
                                           const QVariant &oldValue)
{
    if (key != InformationItem::kPrinted && key != InformationItem::kName &&
        key != InformationItem::kValue)
        return;
    InformationItemPtr held;
    for (const InformationItemPtr &candidate : std::as_const(pInformation)) {
        if (candidate.get() == item) {
            held = candidate;
            break;
        }
    }
    if (!held)
        return;
    pUndoManager->registerUndo([this, held, key, oldValue] { changeKeyPath(key, held, oldValue); });
    setActionName("doc.information.item_changed");
    for (qsizetype i = 0; i < pInformation.size(); ++i) {
        if (pInformation[i] == held)
            emit rowsChanged(List::Information, qint32(i), qint32(i));
    }
}

void MyDocument::setSortItemsAscending(bool ascending)
{
    if (ascending == bSortAscending)
        return;
    bSortAscending = ascending;
    emit sortItemsAscendingChanged(bSortAscending);
}

// --- Printing ------------------------------------------------------------------------------------

void MyDocument::setPrintInfo(const QVariantMap &printInfo)
{
    if (printInfo == pPrintInfo)
        return;
    pPrintInfo = printInfo;
    emit printInfoChanged(pPrintInfo);
}

void MyDocument::addWindowController(QObject *controller)
{
    if (controller && !pWindowControllers.contains(controller))
        pWindowControllers.append(controller);
}

QList<QObject *> MyDocument::windowControllers() const
{
    QList<QObject *> controllers;
    for (const QPointer<QObject> &controller : pWindowControllers) {
        if (controller)
            controllers.append(controller.data());
    }
    return controllers;
}

bool MyDocument::printShowingPrintPanel(bool showPanel)
{
    for (QObject *controller : windowControllers()) {
        if (auto *printer = dynamic_cast<DocumentPrinter *>(controller)) {
            printer->doPrintDocument(showPanel);
            return true;
        }
    }
    Q_ASSERT_X(false, "src/MyDocument", "window controllers don't support printing");
    return false;
}

// --- File ----------------------------------------------------------------------------------------

QByteArray MyDocument::dataOfType(const QString &typeName, QString *error) const
{
    Q_UNUSED(typeName);
    return DocumentArchive::archive(*this, error);
}

bool MyDocument::readFromData(const QByteArray &data, const QString &typeName, QString *error,
                              QString *detail)
{
    Q_UNUSED(typeName);
    DocumentArchive::Contents contents;
    if (!DocumentArchive::unarchive(data, &contents, error, detail))
        return false;

    pUndoManager->disableUndoRegistration();
    setAllMeasurements(contents.measurements);
    if (contents.filters)
        setFilters(*contents.filters);
    if (contents.selectedFilter)
        setFilter(contents.selectedFilter);
    if (contents.printInfo)
        setPrintInfo(*contents.printInfo);
    if (contents.sortAscending)
        setSortItemsAscending(*contents.sortAscending);
    if (contents.information)
        setInformation(*contents.information);
    pUndoManager->enableUndoRegistration();
    doFilter();
    // Steps recorded before refer to the state that was replaced.
    pUndoManager->removeAllActions();
    return true;
}

bool MyDocument::writeToFile(const QString &path, QString *error)
{
    if (!writeCopyToFile(path, error))
        return false;
    pUndoManager->setClean();
    return true;
}

bool MyDocument::writeCopyToFile(const QString &path, QString *error) const
{
    const QByteArray data = dataOfType(QString(), error);
    if (data.isEmpty())
        return false;
    QSaveFile file(path);
    QString reason;
    if (!file.open(QIODevice::WriteOnly))
        reason = file.errorString();
    // QSaveFile::commit() can miss a short write of its buffer (a full device): flush and check
    // the size first.
    else if (file.write(data) != data.size() || !file.flush() || file.size() != data.size())
        reason = file.errorString();
    else if (!file.commit())
        reason = file.errorString();
    if (!reason.isEmpty()) {
        file.cancelWriting();
        if (error)
            //: %1 is the reason, a sentence
            *error = qtTrId("error.file_save").arg(reason);
        return false;
    }
    if (error)
        error->clear();
    return true;
}

bool MyDocument::readFromFile(const QString &path, QString *error, QString *detail)
{
    if (detail)
        detail->clear();
    // Documents are a few megabytes; a file far beyond that is not one of ours.
    constexpr qint64 kLargestFile = qint64(1) << 30;
    QFile file(path);
    QString reason;
    QByteArray data;
    if (!file.open(QIODevice::ReadOnly))
        reason = file.errorString();
    else if (file.size() > kLargestFile)
        reason = qtTrId("error.file_too_large");
    else if (data = file.readAll(); file.error() != QFileDevice::NoError)
        reason = file.errorString();
    if (!reason.isEmpty()) {
        if (error)
            //: %1 is the reason, a sentence
            *error = qtTrId("error.file_open").arg(reason);
        return false;
    }
    return readFromData(data, QString(), error, detail);
}
