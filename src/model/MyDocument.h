#pragma once

#include "Average.h"
#include "Filter.h"
#include "FilteredCounter.h"
#include "InformationItem.h"
#include "Measurement.h"
#include "PrintSettings.h"
#include "TagsCounter.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

class UndoManager;

using FilterList = QList<FilterPtr>;
using AverageList = QList<AveragePtr>;

// One document: all readings and the ones that pass the selected filter, the filters with the
// visible ones and their averages, the tag cache and the information list. Every change a user
// makes goes through an operation here that records its inverse with the document's undo
// manager under a localised action name, then changes the data and announces it.
//
// Undo steps. An operation opens a Change (MyDocument_p.h) before it touches anything: it records
// the inverse and names the step, and when the operation returns it replaces the filtered counter
// and invalidates the averages if readings changed. The undo manager gathers everything recorded
// in one turn of the event loop into one step: the first registration opens the step, and it
// closes when control returns to the event loop (a zero-time timer) or at
// UndoManager::closeGroup(); undo(), redo() and a save close an open step first. So one user
// action is one step however many operations it runs, and tests close the step by hand.
// Inverses recorded while undoing become the redo, so each operation records only its own
// inverse.
//
// Announcements. The five observable lists are named by List. Each change of a list is
// bracketed by listAboutToChange()/listChanged() (one bracket per operation step), and inside
// the bracket every row change is announced as an item model needs it: rowsAboutToBeInserted/
// rowsInserted, rowsAboutToBeRemoved/rowsRemoved and listAboutToBeReset/listReset, with the list
// already in its new state when the second signal of a pair comes. rowsChanged() tells of rows
// whose values changed in place (an edited reading that kept its row, a renamed filter, an edited
// information item). filteredCounterChanged() follows every replacement of the counter,
// filterChanged() every change of the selected filter.
//
// The main list (allItems) is never announced: its users learn of changes through the counter
// and the averages' invalidation (averagesInvalidated()).
class MyDocument : public QObject
{
    Q_OBJECT
    // The window's filter chooser binds to the selected filter.
    Q_PROPERTY(FilterPtr filter READ filter WRITE setFilter NOTIFY filterChanged)
    Q_PROPERTY(FilteredCounter filteredCounter READ filteredCounter NOTIFY filteredCounterChanged)
    Q_PROPERTY(bool sortItemsAscending READ sortItemsAscending WRITE setSortItemsAscending NOTIFY
                   sortItemsAscendingChanged)
    Q_PROPERTY(QVariantMap printInfo READ printInfo WRITE setPrintInfo NOTIFY printInfoChanged)
public:
    enum class List
    {
        Items,
        Filters,
        VisibleFilters,
        Averages,
        Information
    };
    Q_ENUM(List)

    explicit MyDocument(QObject *parent = nullptr);
    ~MyDocument() override;

    // The key under which a list is announced: "items", "filters", "visibleFilters",
    // "averages", "information".
    static QString keyOf(List list);

    UndoManager *undoManager() const { return pUndoManager; }

    // --- Readings -------------------------------------------------------------------------------

    // The live lists, both ascending by instant (readings at the same instant: the one placed
    // last stands first). The readings are read-only to everyone else: only the operations below
    // change them, so that each stays findable by its instant. To edit one, hand a changed copy
    // (Measurement::copy()) to updateMeasurement() or onMeasurementChangedFrom().
    const ConstMeasurementList &allItems() const { return pMeasurementsArray; }
    const ConstMeasurementList &items() const { return pFilteredArray; }
    FilteredCounter filteredCounter() const { return pFilteredCounter; }

    // A private copy of the reading last added through the editor or edited; null when none.
    ConstMeasurementPtr lastEditedMeasurement() const { return pLastEditedMeasurement; }
    void setLastEditedMeasurement(const ConstMeasurementPtr &reading);

    // Presentation order of the window (true: oldest first). Not undoable; saved with the file.
    // A change (also by reading a file) is announced by sortItemsAscendingChanged().
    bool sortItemsAscending() const { return bSortAscending; }
    void setSortItemsAscending(bool ascending);

    // Undoable operations ("doc.ins_record", "doc.del_record", "doc.edit_record",
    // "doc.replace_with_average"). New readings come in as MeasurementPtr and belong to the
    // document from then on; readings it holds are named by the ConstMeasurementPtr it handed
    // out and found by identity. Readings already in the document are not added again; readings
    // the document does not hold are not deleted (and a warning is logged), so the undo never
    // brings in a reading that was not there.
    void addMeasurements(const MeasurementList &readings);
    // The same as addMeasurements() under the action name "doc.import_records" (a CSV import)
    // or the one given (a localisation key, such as "doc.import_monitor"); its undo and redo
    // keep that name.
    void importMeasurements(const MeasurementList &readings,
                            const char *actionName = "doc.import_records");
    void deleteMeasurements(const ConstMeasurementList &readings);
    // The reading (of this document) takes over every value of newData and moves to its place.
    void updateMeasurement(const ConstMeasurementPtr &reading, const ConstMeasurementPtr &newData);
    void replaceReadings(const ConstMeasurementList &oldReadings,
                         const MeasurementList &newReadings);

    // Replaces the readings (two or more, all of this document) by their average and returns
    // it; null, with nothing changed, when that is not possible.
    ConstMeasurementPtr replaceWithAverage(const ConstMeasurementList &readings);
    // The editor's result: updates `edited` from `entered` when there is an edited reading,
    // otherwise adds `entered` itself and makes a copy of it the last edited reading.
    void onMeasurementChangedFrom(const ConstMeasurementPtr &edited, const MeasurementPtr &entered);

    // From kBatchSize readings on, adding and deleting work in one pass over each list (the
    // same resulting order) and announce the filtered list as reset rather than row by row.
    static constexpr qsizetype kBatchSize = 32;
    // Rebuilds the filtered list from the main list and the selected filter's predicate.
    void doFilter();
    void updateFilteredCounter();

    // The index of the first element not earlier than the reading (binary search).
    static qint32 positionForMeasurement(const Measurement &reading,
                                         const ConstMeasurementList &list);
    // The index of the reading itself in an ascending list, or -1 (binary search, then a scan
    // over the readings of the same instant).
    static qint32 indexOfMeasurement(const Measurement *reading, const ConstMeasurementList &list);
    bool containsMeasurement(const ConstMeasurementPtr &reading) const;

    // Replaces every reading, with no undo record (building a document from a file): the list is
    // put in ascending order (a stable sort, so equal instants keep their order) without
    // duplicates, the tag cache is rebuilt, the last reading becomes the last edited one when
    // there is one, and the filtered list is rebuilt.
    void setAllMeasurements(const MeasurementList &readings);

    // --- Filters --------------------------------------------------------------------------------

    static FilterList defaultFilters();
    const FilterList &filters() const { return pAllFilters; }
    const FilterList &visibleFilters() const { return pVisibleFilters; }
    FilterPtr filter() const { return pSelectedFilter; }
    // Selects a filter (or none) and rebuilds the filtered list. Not undoable.
    void setFilter(const FilterPtr &filter);
    // Replaces all filters and rebuilds the visible list and the averages. Not undoable; undo
    // steps recorded earlier refer to filters by index, so a document with a history clears its
    // undo steps after replacing its filters (as after reading a file).
    void setFilters(const FilterList &filters);

    // Undoable ("doc.ins_filter", "doc.del_filter").
    FilterPtr addFilter();
    void insertFilter(const FilterPtr &filter, qint32 index);
    void removeFilterAtIndex(qint32 index);
    void removeFilter(const FilterPtr &filter);

    void addFilterToVisible(const FilterPtr &filter);
    void removeFilterFromVisible(const FilterPtr &filter);

    // Sets a value on a filter or an information item by key; the undo records of their edits
    // call it, and the item's own announcement records the opposite change.
    void changeKeyPath(const QString &keyPath, const FilterPtr &filter, const QVariant &value);
    void changeKeyPath(const QString &keyPath, const InformationItemPtr &item,
                       const QVariant &value);

    // --- Averages, tag cache, information ------------------------------------------------------

    // One average per filter used in averages, in the order of the filters. Each reads the
    // document's main list, so it must not outlive the document.
    const AverageList &averages() const { return pAverages; }
    void addFilterToAverages(const FilterPtr &filter);
    void removeFilterFromAverages(const FilterPtr &filter);
    void invalidateAverages();

    void addToTagsCache(const Measurement &reading);
    void removeFromTagsCache(const Measurement &reading);
    // Every tag some reading carries, sorted by plain (case-sensitive) comparison.
    QStringList tags() const { return pTagsCache.keys(); }
    const QMap<QString, TagsCounter> &tagsCache() const { return pTagsCache; }

    const InformationList &information() const { return pInformation; }
    // Undoable ("doc.information.list_changed"); edits of the items are undoable one by one
    // ("doc.information.item_changed").
    void setInformation(const InformationList &information);

    // --- Printing -------------------------------------------------------------------------------

    // The print settings as stored with the document (paper, margins, orientation and whatever
    // else the file carried). Not undoable. A change (also by reading a file) is announced by
    // printInfoChanged().
    QVariantMap printInfo() const { return pPrintInfo; }
    void setPrintInfo(const QVariantMap &printInfo);
    // The same settings with their page layout (PrintSettings).
    PrintSettings printSettings() const { return PrintSettings(pPrintInfo); }
    void setPrintSettings(const PrintSettings &settings) { setPrintInfo(settings.attributes()); }

    // --- File -----------------------------------------------------------------------------------

    // The document as the bytes of its file (a keyed archive, see DocumentArchive). Empty, with
    // *error ("error.file_save" with the reason), when it cannot be archived; the document is
    // unchanged either way. The type name is not looked at: every type has the same format.
    QByteArray dataOfType(const QString &typeName, QString *error = nullptr) const;
    // Rebuilds the document from a file's bytes, with undo recording off and the undo steps
    // cleared, so that the document is clean afterwards. A file that is refused (see
    // DocumentArchive::unarchive()) leaves the document exactly as it was.
    // With `detail`, *error is in plain words and *detail the technical reason (see
    // DocumentArchive::unarchive()).
    bool readFromData(const QByteArray &data, const QString &typeName, QString *error = nullptr,
                      QString *detail = nullptr);
    // Saves through QSaveFile, so an interrupted or failed save leaves the previous file intact.
    // On success the document is marked clean; on failure *error is "error.file_save" with the
    // reason and the document stays edited.
    bool writeToFile(const QString &path, QString *error = nullptr);
    // Writes the document to a file as writeToFile() does, but leaves its clean state alone: a
    // copy that is not the user's save (the autosaved recovery copy).
    bool writeCopyToFile(const QString &path, QString *error = nullptr) const;
    // Reads the file (readFromData()); "error.file_open" with the reason when it cannot be read.
    bool readFromFile(const QString &path, QString *error = nullptr, QString *detail = nullptr);

    // The document's windows, in the order they were added; gone ones are left out.
    void addWindowController(QObject *controller);
    QList<QObject *> windowControllers() const;
    // Asks the first window controller that is a DocumentPrinter to print; false (and an
    // assertion failure) when none is.
    bool printShowingPrintPanel(bool showPanel = true);

signals:
    void listAboutToChange(MyDocument::List list);
    void listChanged(MyDocument::List list);
    void rowsAboutToBeInserted(MyDocument::List list, int first, int last);
    void rowsInserted(MyDocument::List list, int first, int last);
    void rowsAboutToBeRemoved(MyDocument::List list, int first, int last);
    void rowsRemoved(MyDocument::List list, int first, int last);
    // One row moves from `from` to `to`, its index once moved.
    void rowAboutToBeMoved(MyDocument::List list, int from, int to);
    void rowMoved(MyDocument::List list, int from, int to);
    void listAboutToBeReset(MyDocument::List list);
    void listReset(MyDocument::List list);
    void rowsChanged(MyDocument::List list, int first, int last);

    void filteredCounterChanged(const FilteredCounter &counter);
    void filterChanged(const FilterPtr &filter);
    // Every average has dropped what it had computed; views showing averages redraw.
    void averagesInvalidated();
    void sortItemsAscendingChanged(bool ascending);
    void printInfoChanged(const QVariantMap &printInfo);

private:
    // The bookkeeping of every operation (MyDocument_p.h).
    class Change;
    class ListChange;

    void setActionName(const char *key);
    bool passes(const Predicate *predicate, const Measurement &reading) const;
    PredicatePtr selectedPredicate() const;

    // Readings. Everything in the lists came in as a MeasurementPtr; the lists hold them as
    // const so that they can be handed out as they are, and mutableReading() is the one place that
    // turns a held reading back into one the document may change.
    static MeasurementPtr mutableReading(const ConstMeasurementPtr &reading);
    void addHeld(const ConstMeasurementList &readings);
    void importHeld(const ConstMeasurementList &readings, const char *actionName);
    void replaceHeld(const ConstMeasurementList &oldReadings,
                     const ConstMeasurementList &newReadings);
    // The workers behind the undoable operations: no undo record, counter or averages work.
    void doAddMeasurements(const ConstMeasurementList &readings);
    void doDeleteMeasurements(const ConstMeasurementList &readings);
    void insertIntoFiltered(const ConstMeasurementPtr &reading, ListChange &bracket);
    void placeInFiltered(const ConstMeasurementPtr &reading, qint32 currentIndex);
    ConstMeasurementList presentReadings(const ConstMeasurementList &readings) const;
    void deleteBatch(const ConstMeasurementList &readings);

    // Filters
    void beginObserving(const FilterPtr &filter);
    void endObserving(const FilterPtr &filter);
    void onFilterValueChanged(Filter *filter, const QString &key, const QVariant &oldValue);
    qint32 indexOfFilter(const Filter *filter) const;
    qint32 placeAmongFlagged(const Filter *filter, bool (Filter::*flag)() const) const;
    void emitFilterRowsChanged(const Filter *filter);

    // Information
    void onInformationValueChanged(InformationItem *item, const QString &key,
                                   const QVariant &oldValue);
    void observeInformation(bool observe);
    void replaceInformation(const InformationList &items);

    // Generic list signalling
    template <typename T> void insertRow(List list, QList<T> &rows, qint32 index, const T &value);
    template <typename T> void removeRow(List list, QList<T> &rows, qint32 index);

    UndoManager *pUndoManager;

    ConstMeasurementList pMeasurementsArray;
    ConstMeasurementList pFilteredArray;
    FilteredCounter pFilteredCounter;
    ConstMeasurementPtr pLastEditedMeasurement;
    bool bSortAscending = false;
    FilterList pAllFilters;
    FilterList pVisibleFilters;
    FilterPtr pSelectedFilter;
    InformationList pInformation;
    AverageList pAverages;
    QMap<QString, TagsCounter> pTagsCache;
    QVariantMap pPrintInfo;

    struct FilterObservation
    {
        QMetaObject::Connection connection;
        int count = 0;
    };
    QHash<const Filter *, FilterObservation> pFilterObservations;
    QList<QMetaObject::Connection> pInformationConnections;
    QList<QPointer<QObject>> pWindowControllers;
};
