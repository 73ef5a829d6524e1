#include "PageGrid.h"

#include "EmptyReadingsHint.h"
#include "MeasurementSheet.h"
#include "MyDocument.h"
#include "Preferences.h"
#include "UniformRowsHeader.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSortFilterProxyModel>
#include <QStackedLayout>
#include <QTableView>
#include <QVBoxLayout>

#include <memory>

namespace {

// The reading's property key a column sorts by: a value column's value, the pressure column's
// first.
QString sortKeyOfColumn(int column)
{
    if (const ReadingValue *value = ReadingsModel::valueOfColumn(column))
        return value->name;
    switch (column) {
    case ReadingsModel::TimeColumn:
        return QStringLiteral("Time");
    case ReadingsModel::PressureColumn:
        return QStringLiteral("Systolic");
    case ReadingsModel::ClassColumn:
        return QStringLiteral("Class");
    case ReadingsModel::TagsColumn:
        return QStringLiteral("Tags");
    case ReadingsModel::CommentsColumn:
        return QStringLiteral("Comments");
    default:
        return QStringLiteral("theWholeDate");
    }
}

// Row heights in points of the three sizes, and the cell font's share of the regular size.
constexpr qreal kRowHeightPoints[] = {18, 14, 11};
constexpr qreal kFontScale[] = {1.0, 0.85, 0.72};

} // namespace

PageGrid::Editor &PageGrid::defaultEditor()
{
    static Editor editor = &MeasurementSheet::showForMeasurement;
    return editor;
}

PageGrid::PageGrid(MyDocument *document, ReadingsModel *model, QWidget *parent)
    : QWidget(parent), showEditor(defaultEditor()), pDocument(document), pArrayController(model),
      pGrid(new QTableView(this))
{
    setObjectName(QStringLiteral("pPageGrid"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    pStack = new QStackedLayout;
    layout->addLayout(pStack);
    pStack->addWidget(pGrid);
    pEmptyHint = new EmptyReadingsHint(this);
    pStack->addWidget(pEmptyHint);

    pGrid->setObjectName(QStringLiteral("pGrid"));
    pGrid->setAccessibleName(qtTrId("window.readings_table"));
    setFocusProxy(pGrid); // the page passes the focus on to its table
    pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    pGrid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    pGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pGrid->setAlternatingRowColors(true);
    pGrid->setShowGrid(false);
    pGrid->setWordWrap(false);
    pGrid->setCornerButtonEnabled(false);
    pGrid->setTabKeyNavigation(false);
    pGrid->setFrameShape(QFrame::NoFrame);
    // Every row the same height, so that a long list scrolls without measuring rows and loses a
    // row without renumbering the others.
    pGrid->setVerticalHeader(new UniformRowsHeader(pGrid));
    pGrid->verticalHeader()->hide();
    pGrid->verticalHeader()->setMinimumSectionSize(1);
    QHeaderView *header = pGrid->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setHighlightSections(false);
    header->setStretchLastSection(true);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setFont(QApplication::font());
    connect(header, &QHeaderView::sectionClicked, this, &PageGrid::onHeaderClicked);
    connect(pGrid, &QAbstractItemView::doubleClicked, this, &PageGrid::onTableDoubleClicked);
    pGrid->installEventFilter(this);

    showModel(pArrayController);
    setRowSize(Preferences::shared().integerForKey(Preferences::rowSize));
    // Sensible first widths; the user resizes from there.
    for (int column = 0; column < ReadingsModel::ColumnCount; ++column)
        header->resizeSection(column, defaultColumnWidth(column));
    updateColumns();
    // A heading is never cut: a column is at least as wide as its title. (A hidden column gets
    // its width when it is shown.)
    auto fitTitles = [header](Qt::Orientation orientation, int first, int last) {
        if (orientation != Qt::Horizontal)
            return;
        for (int column = first; column <= last; ++column) {
            if (!header->isSectionHidden(column))
                header->resizeSection(
                    column, std::max(header->sectionSize(column), header->sectionSizeHint(column)));
        }
    };
    fitTitles(Qt::Horizontal, 0, ReadingsModel::ColumnCount - 1);
    connect(pArrayController, &QAbstractItemModel::headerDataChanged, this, fitTitles);
    updateSortIndicator();
    // The direction also changes by undo and by reverting to the saved file.
    if (document)
        connect(document, &MyDocument::sortItemsAscendingChanged, this,
                &PageGrid::updateSortIndicator);

    connect(&Preferences::shared(), &Preferences::changed, this, &PageGrid::onPreferenceChanged);
    if (document)
        connect(document, &MyDocument::filteredCounterChanged, this, &PageGrid::updateEmptyHint);
    updateEmptyHint();
}

PageGrid::~PageGrid() = default;

bool PageGrid::isEmptyHintShown() const
{
    return pStack->currentWidget() == pEmptyHint;
}

void PageGrid::updateEmptyHint()
{
    const bool empty = pDocument && pDocument->allItems().isEmpty();
    QWidget *shown = empty ? static_cast<QWidget *>(pEmptyHint) : pGrid;
    if (pStack->currentWidget() == shown)
        return;
    const QWidget *focus = QApplication::focusWidget();
    const bool focusInside = focus && isAncestorOf(focus);
    setFocusProxy(shown);
    pStack->setCurrentWidget(shown);
    if (focusInside)
        shown->setFocus();
}

QAbstractItemModel *PageGrid::shownModel() const
{
    return pGrid->model();
}

void PageGrid::showModel(QAbstractItemModel *model)
{
    if (pGrid->model() == model)
        return;
    const ReadingList selected = pGrid->model() ? selectedReadings() : ReadingList();
    QItemSelectionModel *old = pGrid->selectionModel();
    for (const auto &connection : pResetConnections)
        disconnect(connection);
    pResetConnections.clear();
    pGrid->setModel(model);
    delete old;
    // A reset of the list (another filter, a large undo, reverting) clears the view's selection
    // without a word: the readings still listed are selected again, and the window told.
    pResetConnections.append(connect(model, &QAbstractItemModel::modelAboutToBeReset, this,
                                     [this] { pHeldSelection = selectedReadings(); }));
    pResetConnections.append(connect(model, &QAbstractItemModel::modelReset, this, [this] {
        selectReadings(pHeldSelection);
        pHeldSelection.clear();
        // The keyboard goes on from the first of them (Shift+Down extends from there).
        if (const QList<int> rows = selectedShownRows(); !rows.isEmpty())
            pGrid->selectionModel()->setCurrentIndex(pGrid->model()->index(rows.first(), 0),
                                                     QItemSelectionModel::NoUpdate);
        emit selectionChanged();
        emit deleteEnabledChanged(canDelete());
    }));
    connect(pGrid->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        emit selectionChanged();
        emit deleteEnabledChanged(canDelete());
    });
    selectReadings(selected);
    emit selectionChanged();
}

int PageGrid::sourceRow(int row) const
{
    if (pGrid->model() == pProxy && pProxy)
        return pProxy->mapToSource(pProxy->index(row, 0)).row();
    return row;
}

int PageGrid::shownRow(int row) const
{
    if (row < 0)
        return -1;
    if (pGrid->model() == pProxy && pProxy)
        return pProxy->mapFromSource(pArrayController->index(row, 0)).row();
    return row;
}

// From the selection's ranges, not selectedRows(), which checks every range for every row: a
// selection in thousands of pieces would take seconds.
QList<int> PageGrid::selectedShownRows() const
{
    QList<int> rows;
    if (!pGrid->selectionModel())
        return rows;
    for (const QItemSelectionRange &range : pGrid->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

ReadingList PageGrid::selectedReadings() const
{
    ReadingList readings;
    const QList<int> rows = selectedShownRows();
    readings.reserve(rows.size());
    for (const int row : rows) {
        if (auto reading = pArrayController->reading(sourceRow(row)))
            readings.append(reading);
    }
    return readings;
}

ReadingPtr PageGrid::singleSelectedReading() const
{
    if (!pGrid->selectionModel())
        return nullptr;
    const QItemSelection selection = pGrid->selectionModel()->selection();
    int row = -1;
    for (const QItemSelectionRange &range : selection) {
        if (range.top() != range.bottom() || (row >= 0 && range.top() != row))
            return nullptr;
        row = range.top();
    }
    return row < 0 ? nullptr : pArrayController->reading(sourceRow(row));
}

ReadingList PageGrid::readingsInShownOrder() const
{
    ReadingList readings;
    const int count = pArrayController->rowCount();
    readings.reserve(count);
    for (int row = 0; row < count; ++row)
        readings.append(pArrayController->reading(sourceRow(row)));
    return readings;
}

void PageGrid::selectReadings(const ReadingList &readings)
{
    QList<int> rows;
    rows.reserve(readings.size());
    for (const auto &reading : readings) {
        const int row = shownRow(pArrayController->rowOfReading(reading.get()));
        if (row >= 0)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    // One range per run of neighbouring rows: a whole list selected stays one range.
    QAbstractItemModel *model = pGrid->model();
    const int lastColumn = model->columnCount() - 1;
    QItemSelection selection;
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype j = i;
        while (j + 1 < rows.size() && rows[j + 1] <= rows[j] + 1)
            ++j;
        selection.append(
            QItemSelectionRange(model->index(rows[i], 0), model->index(rows[j], lastColumn)));
        i = j + 1;
    }
    pGrid->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void PageGrid::selectReading(const Measurement *reading)
{
    const int row = shownRow(pArrayController->rowOfReading(reading));
    if (row < 0) {
        // Not listed (the filter leaves it out): nothing is selected rather than something else.
        pGrid->clearSelection();
        return;
    }
    QAbstractItemModel *model = pGrid->model();
    const QModelIndex index = model->index(row, 0);
    pGrid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    pGrid->selectionModel()->select(
        QItemSelection(index, model->index(row, model->columnCount() - 1)),
        QItemSelectionModel::ClearAndSelect);
    pGrid->scrollTo(index);
}

void PageGrid::selectAll()
{
    pGrid->selectAll();
}

QString PageGrid::addButtonTooltip() const
{
    return qtTrId("button.add.reading");
}

bool PageGrid::canDelete() const
{
    return pGrid->selectionModel() && pGrid->selectionModel()->hasSelection();
}

bool PageGrid::canReplaceWithAverage() const
{
    return pGrid->selectionModel() && pGrid->selectionModel()->hasSelection() &&
           !singleSelectedReading();
}

// --- Editing --------------------------------------------------------------------------------

void PageGrid::onAddButton()
{
    showNewMeasurementWindow();
}

void PageGrid::onTableDoubleClicked()
{
    const ReadingList selected = selectedReadings();
    if (selected.size() == 1)
        beginEditMeasurement(selected.first());
}

void PageGrid::beginEditMeasurement(const ReadingPtr &reading)
{
    if (!showEditor || !pDocument || !reading)
        return;
    QPointer<PageGrid> self(this);
    showEditor(reading, pDocument, true, window(),
               [self](ConstMeasurementPtr edited, MeasurementPtr entered) {
                   if (self)
                       self->onMeasurementChangedFrom(edited, entered);
               });
}

void PageGrid::showNewMeasurementWindow()
{
    if (!showEditor || !pDocument)
        return;
    QPointer<PageGrid> self(this);
    showEditor(pDocument->lastEditedMeasurement(), pDocument, false, window(),
               [self](ConstMeasurementPtr edited, MeasurementPtr entered) {
                   if (self)
                       self->onMeasurementChangedFrom(edited, entered);
               });
}

void PageGrid::onMeasurementChangedFrom(const ConstMeasurementPtr &edited,
                                        const MeasurementPtr &entered)
{
    if (!pDocument || !entered)
        return;
    pDocument->onMeasurementChangedFrom(edited, entered);
    // A new reading is the only selection; after an edit the table keeps what it had.
    if (!edited)
        selectReading(entered.get());
}

void PageGrid::onReplaceWithAverage()
{
    const ReadingList selected = selectedReadings();
    if (selected.size() < 2 || !pDocument)
        return;
    const auto average = pDocument->replaceWithAverage(selected);
    if (average)
        selectReading(average.get());
}

void PageGrid::onDelete()
{
    const ReadingList selected = selectedReadings();
    if (selected.isEmpty() || !pDocument)
        return;
    const int firstRow = selectedShownRows().value(0);
    pDocument->deleteMeasurements(selected);
    // The selection is never left empty by a deletion: the reading that took the place of the
    // first one deleted (or the new last one) is selected, so that Delete can go on.
    QAbstractItemModel *model = pGrid->model();
    const int rows = model->rowCount();
    if (rows == 0)
        return;
    const QModelIndex index = model->index(std::min(firstRow, rows - 1), 0);
    pGrid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    pGrid->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect |
                                               QItemSelectionModel::Rows);
    pGrid->scrollTo(index);
}

bool PageGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == pGrid && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & ~Qt::KeypadModifier)) {
            onTableDoubleClicked();
            return true;
        }
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            onDelete();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- Columns and rows -----------------------------------------------------------------------

int PageGrid::defaultColumnWidth(int column) const
{
    const QFontMetrics metrics(pGrid->font());
    switch (column) {
    case ReadingsModel::DateColumn:
        return metrics.horizontalAdvance(QStringLiteral("00/00/0000")) + 24;
    case ReadingsModel::TimeColumn:
        return metrics.horizontalAdvance(QStringLiteral("00:00 PM")) + 24;
    case ReadingsModel::PressureColumn:
        return metrics.horizontalAdvance(QStringLiteral("000 / 000")) + 32;
    case ReadingsModel::ClassColumn:
        return metrics.horizontalAdvance(QStringLiteral("Isolated systolic")) + 24;
    case ReadingsModel::TagsColumn:
    case ReadingsModel::CommentsColumn:
        return metrics.horizontalAdvance(QStringLiteral("evening, tired")) + 24;
    default:
        return metrics.horizontalAdvance(QStringLiteral("0000.00")) + 32;
    }
}

// The header does not keep the width of a hidden column through every change of the model (a
// change of the row order leaves it at nothing), so a column is given its width when it is
// shown: the width it had when it was hidden, or its first width, and never less than its title.
void PageGrid::updateColumns()
{
    QHeaderView *header = pGrid->horizontalHeader();
    for (int column = 0; column < ReadingsModel::ColumnCount; ++column) {
        if (ReadingsModel::showKeyOfColumn(column).isEmpty())
            continue;
        const bool shown = ReadingsModel::isColumnShown(column);
        if (shown == !header->isSectionHidden(column))
            continue;
        if (!shown) {
            if (header->sectionSize(column) >= header->minimumSectionSize())
                nHiddenWidths[column] = header->sectionSize(column);
            pGrid->setColumnHidden(column, true);
            continue;
        }
        pGrid->setColumnHidden(column, false);
        const int width = nHiddenWidths.value(column, defaultColumnWidth(column));
        header->resizeSection(column, std::max(width, header->sectionSizeHint(column)));
    }
}

QFont PageGrid::fontFor(int rowSize)
{
    QFont font = QApplication::font();
    const qreal size = font.pointSizeF() > 0 ? font.pointSizeF() : 9.0;
    font.setPointSizeF(size * kFontScale[std::clamp(rowSize, 0, 2)]);
    return font;
}

int PageGrid::rowHeightFor(int rowSize, const QFont &font)
{
    // The design's heights are in points; a row is never lower than its text needs.
    const qreal dpi = QFontMetricsF(font).fontDpi();
    const int height = qRound(kRowHeightPoints[std::clamp(rowSize, 0, 2)] * dpi / 72.0);
    return std::max(height, QFontMetrics(font).height() + 4);
}

void PageGrid::setRowSize(int rowSize)
{
    rowSize = std::clamp(rowSize, 0, 2);
    if (rowSize == nRowSize)
        return;
    nRowSize = rowSize;
    const QFont font = fontFor(rowSize);
    pGrid->setFont(font);
    pGrid->horizontalHeader()->setFont(QApplication::font());
    pGrid->verticalHeader()->setDefaultSectionSize(rowHeightFor(rowSize, font));
}

void PageGrid::onPreferenceChanged(const QString &key)
{
    if (key == Preferences::rowSize)
        setRowSize(Preferences::shared().integerForKey(Preferences::rowSize));
    else if (key == Preferences::classificationScheme ||
             std::ranges::any_of(ReadingValues::kAll, [&key](const ReadingValue &value) {
                 return !value.showKey.isEmpty() && value.showKey == key;
             }))
        updateColumns();
}

// --- Sorting --------------------------------------------------------------------------------

QList<SortDescriptor> PageGrid::sortDescriptors() const
{
    if (nSortColumn == ReadingsModel::DateColumn)
        return {
            {QStringLiteral("theWholeDate"), pDocument ? pDocument->sortItemsAscending() : true}};
    return {{sortKeyOfColumn(nSortColumn), nProxyOrder == Qt::AscendingOrder}};
}

void PageGrid::onHeaderClicked(int column)
{
    if (column < 0 || column >= ReadingsModel::ColumnCount || !pDocument)
        return;
    QList<SortDescriptor> descriptors;
    if (column == ReadingsModel::DateColumn) {
        const bool ascending = nSortColumn == ReadingsModel::DateColumn
                                   ? !pDocument->sortItemsAscending()
                                   : pDocument->sortItemsAscending();
        nSortColumn = column;
        showModel(pArrayController);
        // A proxy nobody shows would still follow every change of the list.
        delete pProxy;
        pProxy = nullptr;
        descriptors = {{QStringLiteral("theWholeDate"), ascending}};
    } else {
        nProxyOrder = nSortColumn == column && nProxyOrder == Qt::AscendingOrder
                          ? Qt::DescendingOrder
                          : Qt::AscendingOrder;
        nSortColumn = column;
        if (!pProxy) {
            pProxy = new QSortFilterProxyModel(this);
            pProxy->setSortRole(ReadingsModel::SortRole);
            pProxy->setSourceModel(pArrayController);
        }
        pProxy->sort(column, nProxyOrder);
        showModel(pProxy);
        descriptors = sortDescriptors();
    }
    emit sortDescriptorsChanged(descriptors);
    updateSortIndicator();
    const QList<int> selected = selectedShownRows();
    if (!selected.isEmpty())
        pGrid->scrollTo(pGrid->model()->index(selected.first(), 0));
}

void PageGrid::sortByDate(bool ascending)
{
    if (!pDocument)
        return;
    if (nSortColumn != ReadingsModel::DateColumn)
        onHeaderClicked(ReadingsModel::DateColumn); // by date again, in the document's direction
    if (pDocument->sortItemsAscending() != ascending)
        onHeaderClicked(ReadingsModel::DateColumn);
}

void PageGrid::updateSortIndicator()
{
    Qt::SortOrder order = nProxyOrder;
    if (nSortColumn == ReadingsModel::DateColumn)
        order =
            pDocument && pDocument->sortItemsAscending() ? Qt::AscendingOrder : Qt::DescendingOrder;
    pGrid->horizontalHeader()->setSortIndicator(nSortColumn, order);
}
