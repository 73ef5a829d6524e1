#include "MyDocument_p.h"

#include <QDebug>
#include <QMetaObject>
#include <QSet>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

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
    const Change change(
        *this, "doc.ins_record", [this, added] { deleteMeasurements(added); }, Change::Readings);
    doAddMeasurements(added);
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
    const auto inverse = [this, added, actionName] {
        const ConstMeasurementList present = presentReadings(added);
        const Change undo(
            *this, nullptr, [this, present, actionName] { importHeld(present, actionName); },
            Change::Readings);
        doDeleteMeasurements(present);
    };
    const Change change(*this, actionName, inverse, Change::Readings);
    doAddMeasurements(added);
}

void MyDocument::deleteMeasurements(const ConstMeasurementList &readings)
{
    const ConstMeasurementList deleted = presentReadings(readings);
    if (deleted.isEmpty())
        return;
    const Change change(
        *this, "doc.del_record", [this, deleted] { addHeld(deleted); }, Change::Readings);
    doDeleteMeasurements(deleted);
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
    const Change change(
        *this, "doc.edit_record", [this, held, saved] { updateMeasurement(held, saved); },
        Change::Readings);

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
    const Change change(
        *this, "doc.replace_with_average", [this, removed, added] { replaceHeld(added, removed); },
        Change::Readings);
    doAddMeasurements(added);
    doDeleteMeasurements(removed);
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

void MyDocument::insertIntoFiltered(const ConstMeasurementPtr &reading, ListChange &bracket)
{
    bracket.open();
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
            const ListChange bracket(*this, List::Items);
            emit listAboutToBeReset(List::Items);
            mergeReadings(pFilteredArray, passing);
            emit listReset(List::Items);
        }
        return;
    }
    const PredicatePtr predicate = selectedPredicate();
    ListChange bracket(*this, List::Items, ListChange::Lazy);
    for (const ConstMeasurementPtr &reading : adding) {
        if (!reading)
            continue;
        pMeasurementsArray.insert(positionForMeasurement(*reading, pMeasurementsArray), reading);
        addToTagsCache(*reading);
        if (!passes(predicate.get(), *reading))
            continue;
        insertIntoFiltered(reading, bracket);
    }
}

void MyDocument::doDeleteMeasurements(const ConstMeasurementList &readings)
{
    const ConstMeasurementList deleting = readings;
    if (deleting.size() >= kBatchSize) {
        deleteBatch(deleting);
        return;
    }
    ListChange bracket(*this, List::Items, ListChange::Lazy);
    for (const ConstMeasurementPtr &reading : deleting) {
        if (!reading)
            continue;
        const qint32 filteredIndex = indexOfMeasurement(reading.get(), pFilteredArray);
        if (filteredIndex >= 0) {
            bracket.open();
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
    ListChange bracket(*this, List::Items, ListChange::Lazy);
    if (inFiltered) {
        bracket.open();
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
}

// Puts the reading, which stands at currentIndex of the filtered list (or -1), where the
// selected filter wants it: out of the list, or at its place by instant. A reading that keeps
// its row is announced as changed in place, one that changes row as moved.
void MyDocument::placeInFiltered(const ConstMeasurementPtr &reading, qint32 currentIndex)
{
    const PredicatePtr predicate = selectedPredicate();
    const bool pass = passes(predicate.get(), *reading);
    const ConstMeasurementPtr held = reading;
    const ListChange bracket(*this, List::Items);
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
}

void MyDocument::doFilter()
{
    const ListChange bracket(*this, List::Items);
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
}

void MyDocument::updateFilteredCounter()
{
    pFilteredCounter = FilteredCounter::newWithFiltered(qint32(pFilteredArray.size()),
                                                        qint32(pMeasurementsArray.size()));
    emit filteredCounterChanged(pFilteredCounter);
}

// Removes repeated readings (the same object again) from a list in ascending order, keeping the
// first: a repeated reading has the same instant, so it stands in the same run of equal instants.
static void removeRepeated(ConstMeasurementList &list)
{
    constexpr qsizetype kShortRun = 16;
    qsizetype kept = 0;            // the readings kept are list[0, kept)
    qsizetype runStart = 0;        // the first reading kept of the present run
    QSet<const Measurement *> run; // the run's readings kept, once the run is long
    bool usingSet = false;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const Measurement *reading = list[i].get();
        if (kept > runStart && orderKey(*reading) != orderKey(*list[runStart])) {
            runStart = kept;
            run.clear();
            usingSet = false;
        }
        bool repeated = false;
        if (kept - runStart < kShortRun) {
            for (qsizetype j = runStart; j < kept && !repeated; ++j)
                repeated = list[j].get() == reading;
        } else {
            // Many readings at one instant: looked up rather than compared one by one.
            if (!usingSet) {
                usingSet = true;
                for (qsizetype j = runStart; j < kept; ++j)
                    run.insert(list[j].get());
            }
            repeated = run.contains(reading);
        }
        if (repeated)
            continue;
        if (usingSet)
            run.insert(reading);
        if (kept != i)
            list[kept] = list[i];
        ++kept;
    }
    list.resize(kept);
}

void MyDocument::setAllMeasurements(const MeasurementList &readings)
{
    ConstMeasurementList all;
    all.reserve(readings.size());
    for (const MeasurementPtr &reading : readings) {
        if (reading)
            all.append(reading);
    }
    // Files hold their readings in order already: check before sorting.
    const auto earlier = [](const ConstMeasurementPtr &a, const ConstMeasurementPtr &b) {
        return orderKey(*a) < orderKey(*b);
    };
    if (!std::is_sorted(all.cbegin(), all.cend(), earlier))
        std::stable_sort(all.begin(), all.end(), earlier);
    removeRepeated(all);

    pTagsCache.clear();
    pMeasurementsArray.swap(all);
    for (const ConstMeasurementPtr &reading : std::as_const(pMeasurementsArray))
        addToTagsCache(*reading);
    if (!pMeasurementsArray.isEmpty())
        setLastEditedMeasurement(pMeasurementsArray.constLast());
    doFilter();
    invalidateAverages();
}

// --- Tag cache ---------------------------------------------------------------------------------

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
