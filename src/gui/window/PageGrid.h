#pragma once

#include "ReadingsModel.h"
#include "WindowPage.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <functional>

class EmptyReadingsHint;
class QSortFilterProxyModel;
class QStackedLayout;
class QTableView;

// One sort key of the readings table: a reading's property key and its direction.
struct SortDescriptor
{
    QString key;
    bool ascending = true;
    friend bool operator==(const SortDescriptor &, const SortDescriptor &) = default;
};

// The readings page: a table of the document's filtered readings. From it the user opens the
// reading editor to add or change a reading, deletes readings and replaces several by their
// average. The optional columns and the row size follow the preferences.
//
// While the document holds no reading at all, the page shows how to start (EmptyReadingsHint) in
// place of the table.
//
// Order: by date the table shows the document's presentation order, a mapping of the model's
// rows; a click on another column's heading sorts the view alone (through a proxy, which is
// dropped again when the date column is chosen).
class PageGrid : public QWidget, public WindowPage
{
    Q_OBJECT
public:
    // The reading editor: opens for `reading` (null: a new reading) and calls back on success.
    using EditorCallback = std::function<void(ConstMeasurementPtr edited, MeasurementPtr entered)>;
    using Editor = std::function<void(ConstMeasurementPtr reading, MyDocument *document,
                                      bool forEditing, QWidget *window, EditorCallback callback)>;
    // The editor every new page starts with.
    static Editor &defaultEditor();

    PageGrid(MyDocument *document, ReadingsModel *model, QWidget *parent = nullptr);
    ~PageGrid() override;

    MyDocument *document() const { return pDocument; }
    QTableView *tableView() const { return pGrid; }
    EmptyReadingsHint *emptyHint() const { return pEmptyHint; }
    bool isEmptyHintShown() const;
    ReadingsModel *model() const { return pArrayController; }
    // The model the table shows: the readings model or the sorting proxy over it.
    QAbstractItemModel *shownModel() const;

    // Opens the reading editor; tests replace it.
    Editor showEditor;

    int rowSize() const { return nRowSize; }
    void setRowSize(int rowSize);
    // The row height in pixels and the cell font of a row size.
    static int rowHeightFor(int rowSize, const QFont &font);
    static QFont fontFor(int rowSize);

    // The selected readings, in the order the table shows them.
    ReadingList selectedReadings() const;
    // The one selected reading, or null when none or several are selected. Cheap however many
    // rows are selected.
    ReadingPtr singleSelectedReading() const;
    // Every reading in the order the table shows them (what the report prints).
    ReadingList readingsInShownOrder() const;
    // Makes the reading the only selected row and scrolls to it; one the table does not list
    // leaves no row selected.
    void selectReading(const Measurement *reading);
    // Selects those of the readings the table lists, and no others.
    void selectReadings(const ReadingList &readings);

    QString addButtonTooltip() const override;
    bool canDelete() const override;
    bool canReplaceWithAverage() const;

    // The table's sort keys: the date column, or the column the view is sorted by.
    QList<SortDescriptor> sortDescriptors() const;

public slots:
    void onAddButton() override;
    void onAddReading() { onAddButton(); }
    void onTableDoubleClicked();
    void beginEditMeasurement(const ReadingPtr &reading);
    void showNewMeasurementWindow();
    void onMeasurementChangedFrom(const ConstMeasurementPtr &edited, const MeasurementPtr &entered);
    void onReplaceWithAverage();
    void onDelete() override;
    void selectAll();
    void updateColumns();
    // Sorts as a click on the column's heading does.
    void onHeaderClicked(int column);
    // Sorts by date in the given direction, as one or two clicks on the date heading do.
    void sortByDate(bool ascending);

signals:
    void deleteEnabledChanged(bool enabled);
    void selectionChanged();
    // The user sorted the table (clicked a heading).
    void sortDescriptorsChanged(const QList<SortDescriptor> &descriptors);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showModel(QAbstractItemModel *model);
    int sourceRow(int shownRow) const;
    // The rows of the table that are selected, top to bottom.
    QList<int> selectedShownRows() const;
    int shownRow(int sourceRow) const;
    void updateSortIndicator();
    void onPreferenceChanged(const QString &key);
    // The width a column starts with, for the table's font.
    int defaultColumnWidth(int column) const;
    void updateEmptyHint();

    QPointer<MyDocument> pDocument;
    ReadingsModel *pArrayController;
    QSortFilterProxyModel *pProxy = nullptr;
    QTableView *pGrid;
    QStackedLayout *pStack;
    EmptyReadingsHint *pEmptyHint;
    int nRowSize = -1;
    int nSortColumn = ReadingsModel::DateColumn;
    Qt::SortOrder nProxyOrder = Qt::AscendingOrder;
    ReadingList pHeldSelection;    // across a reset of the list
    QHash<int, int> nHiddenWidths; // optional columns' widths when they were last hidden
    QList<QMetaObject::Connection> pResetConnections;
};
