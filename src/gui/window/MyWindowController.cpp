#include "MyWindowController.h"

#include "AveragesModel.h"
#include "ChartDataSource.h"
#include "ChartView.h"
#include "CsvImportDialog.h"
#include "DateFormatter.h"
#include "Dialogs.h"
#include "DocumentArchive.h"
#include "EmptyReadingsHint.h"
#include "FhirBundle.h"
#include "FilteredCounterFormatter.h"
#include "ImportDialog.h"
#include "InformationArrayController.h"
#include "MonitorImportDialog.h"
#include "MyDocument.h"
#include "PageAverages.h"
#include "PageChart.h"
#include "PageFilters.h"
#include "PageInformation.h"
#include "Preferences.h"
#include "PrintView.h"
#include "UndoManager.h"
#include "VisibleFiltersModel.h"
#include "WindowPrinting.h"
#include "ui_MyDocument.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QStandardPaths>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

// The bundled icons live in this static library: registered before the first window needs them.
static void initIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace {

// An icon from the desktop's theme, or the one bundled with the program.
QIcon themedIcon(const char *name)
{
    const QString themeName = QLatin1String(name);
    return QIcon::fromTheme(themeName, QIcon(QStringLiteral(":/icons/%1.svg").arg(themeName)));
}

struct PageInfo
{
    const char *icon;
    const char *titleKey;
    const char *toolTipKey;
};

// Keys are spelled out so that the localisation check finds them.
const PageInfo kPages[] = {
    {"view-list-details", QT_TRID_NOOP("window.page.readings"),
     QT_TRID_NOOP("window.page.readings.tooltip")},
    {"office-chart-line", QT_TRID_NOOP("window.page.chart"),
     QT_TRID_NOOP("window.page.chart.tooltip")},
    {"view-statistics", QT_TRID_NOOP("window.page.averages"),
     QT_TRID_NOOP("window.page.averages.tooltip")},
    {"view-filter", QT_TRID_NOOP("window.page.filters"),
     QT_TRID_NOOP("window.page.filters.tooltip")},
    {"dialog-information", QT_TRID_NOOP("window.page.information"),
     QT_TRID_NOOP("window.page.information.tooltip")},
};

// A page's title as a name to be read out: its menu text without the mnemonic sign ("&&" is a
// plain "&").
QString pageTitle(int n)
{
    const QString text = qtTrId(kPages[n].titleKey);
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        plain.append(text.at(i));
    }
    return plain;
}

} // namespace

MyWindowController::MyWindowController(MyDocument *document, QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::MyDocument>()), pDocument(document),
      pArrayController(new ReadingsModel(document, this)),
      pFilterController(new VisibleFiltersModel(document, this)),
      pAveragesController(new AveragesModel(document, this)),
      pInformationController(new InformationArrayController(document, this)),
      pChartDataSource(new ChartDataSource(this)), pPrinting(new WindowPrinting(this))
{
    initIconResources();
    ui->setupUi(this);
    setObjectName(QStringLiteral("MyDocument"));
    setContextMenuPolicy(Qt::NoContextMenu);
    setupPages();
    setupToolbar();
    setupMenus();

    pCounterLabel = new QLabel(this);
    pCounterLabel->setObjectName(QStringLiteral("pCounterLabel"));
    pCounterLabel->setAccessibleName(qtTrId("window.counter"));
    pCounterLabel->setContentsMargins(6, 0, 6, 0);
    statusBar()->addWidget(pCounterLabel, 1);
    connect(document, &MyDocument::filteredCounterChanged, this,
            &MyWindowController::updateCounter);
    updateCounter();

    selectPage(ReadingsPage);

    syncFilterSelector();
    connect(document, &MyDocument::filterChanged, this, &MyWindowController::syncFilterSelector);
    connect(document, &MyDocument::listChanged, this, [this](MyDocument::List list) {
        if (list == MyDocument::List::VisibleFilters)
            syncFilterSelector();
        else if (list == MyDocument::List::Items)
            feedChart();
    });
    connect(pFilterSelector, &QComboBox::activated, this, &MyWindowController::onFilterActivated);

    connect(pPageGrid, &PageGrid::sortDescriptorsChanged, this,
            &MyWindowController::setSortDescriptors);
    connect(pPageGrid, &PageGrid::selectionChanged, this, [this] {
        pChartDataSource->setSelection(pPageGrid->singleSelectedReading());
        updateEditActions();
    });
    // The pages that delete drive Edit › Delete.
    connect(pPageGrid, &PageGrid::deleteEnabledChanged, this,
            &MyWindowController::updateEditActions);
    connect(pPageFilter, &PageFilters::deleteEnabledChanged, this,
            &MyWindowController::updateEditActions);
    connect(pPageInformation, &PageInformation::deleteEnabledChanged, this,
            &MyWindowController::updateEditActions);

    // The document prints through its first window that can (doPrintDocument()).
    document->addWindowController(this);
}

MyWindowController::~MyWindowController()
{
    // The pages' tables go before the models they show.
    delete ui->pPagesHolder;
}

// --- Pages ----------------------------------------------------------------------------------

void MyWindowController::setupPages()
{
    pPageGrid = new PageGrid(pDocument, pArrayController);
    pPageChart = new PageChart;
    pPageChart->setObjectName(QStringLiteral("pPageChart"));
    pPageChart->setChartDataSource(pChartDataSource);
    pPageChart->chartView()->setAccessibleName(qtTrId("window.chart"));
    // Shown, the chart takes the focus, so that a screen reader reads out what it shows.
    pPageChart->chartView()->setFocusPolicy(Qt::TabFocus);
    pPageChart->setFocusProxy(pPageChart->chartView());
    // A reading chosen on the chart is selected in the readings table, which moves the marker.
    connect(
        pPageChart->chartView(), &ChartView::readingChosen, this,
        [this](const ConstMeasurementPtr &reading) { pPageGrid->selectReading(reading.get()); });
    connect(pPageChart->chartView(), &ChartView::shownPeriodChanged, this, [this] {
        if (nSelectedPage == ChartPage && pDocument)
            describeChart();
    });
    pPageAverages = new PageAverages(pAveragesController);
    pPageAverages->setDocument(pDocument);

    pPageFilter = new PageFilters(pDocument, nullptr);
    pPageFilter->setObjectName(QStringLiteral("pPageFilter"));

    pPageInformation = new PageInformation(pInformationController);

    const std::pair<QWidget *, WindowPage *> pages[] = {
        {pPageGrid, pPageGrid},
        {pPageChart, pPageChart},
        {pPageAverages, pPageAverages},
        {pPageFilter, pPageFilter},
        {pPageInformation, pPageInformation},
    };
    static_assert(std::size(pages) == PageCount);
    for (const auto &[view, page] : pages) {
        // A page takes the focus when it is shown: screen readers name it by its title.
        view->setAccessibleName(pageTitle(ui->pPagesHolder->count()));
        pWindowPages[ui->pPagesHolder->count()] = page;
        ui->pPagesHolder->addWidget(view);
    }
}

QWidget *MyWindowController::pageView(int n) const
{
    return n >= 0 && n < PageCount ? ui->pPagesHolder->widget(n) : nullptr;
}

QAction *MyWindowController::pageAction(int n) const
{
    return n >= 0 && n < PageCount ? pPageActions->actions().at(n) : nullptr;
}

void MyWindowController::selectPage(int n)
{
    QWidget *page = pageView(n);
    if (!page)
        return;
    if (n == nSelectedPage && ui->pPagesHolder->currentWidget() == page)
        return;
    if (!commitEditing([this, n](bool proceed) {
            if (proceed)
                selectPage(n);
        })) {
        // The page shown keeps an edit it is asking about: its segment stays checked.
        if (QAbstractButton *shown = pModeSelector->button(nSelectedPage))
            shown->setChecked(true);
        if (QAction *shown = pageAction(nSelectedPage))
            shown->setChecked(true);
        return;
    }
    nSelectedPage = n;
    ui->pPagesHolder->setCurrentWidget(page);
    if (pModeSelector->checkedId() != n)
        pModeSelector->button(n)->setChecked(true);
    if (!pageAction(n)->isChecked())
        pageAction(n)->setChecked(true);

    const QString tooltip = pWindowPages[n]->addButtonTooltip();
    pAddButton->setVisible(!tooltip.isNull());
    pAddAction->setEnabled(!tooltip.isNull());
    if (!tooltip.isNull()) {
        pAddButton->setToolTip(tooltip);
        pAddButton->setAccessibleName(tooltip);
        pAddAction->setStatusTip(tooltip);
    }
    feedChart();
    updateEditActions();
    if (isVisible())
        page->setFocus();
}

bool MyWindowController::isAddButtonShown() const
{
    return !pAddButton->isHidden();
}

bool MyWindowController::commitEditing(const std::function<void(bool)> &then)
{
    WindowPage *page = shownPage();
    return !page || page->commitEditing(then);
}

void MyWindowController::onAddButtonPressed()
{
    if (!commitEditing([this](bool proceed) {
            if (proceed)
                onAddButtonPressed();
        }))
        return;
    if (WindowPage *page = shownPage())
        QTimer::singleShot(0, ui->pPagesHolder->currentWidget(), [page] { page->onAddButton(); });
}

// The chart is fed only while it is on show, so that a hidden chart holds no copy of the list.
void MyWindowController::feedChart()
{
    if (nSelectedPage == ChartPage && pDocument) {
        pChartDataSource->setObjects(pDocument->items());
        describeChart();
    } else if (!pChartDataSource->objects().isEmpty()) {
        pChartDataSource->setObjects({});
    }
}

// What the chart shows, in words, for those who cannot see it: how many readings and the days
// shown.
void MyWindowController::describeChart()
{
    QString text = FilteredCounterFormatter::stringForCounter(pDocument->filteredCounter());
    const auto [first, last] = pPageChart->chartView()->shownPeriod();
    const ConstMeasurementList &items = pDocument->items();
    if (!items.isEmpty()) {
        const Date from = first.isNull() ? items.first()->theWholeDate() : first;
        const Date to = last.isNull() ? items.last()->theWholeDate() : last;
        const auto dates = DateFormatter::formatter();
        text = qtTrId("window.chart.description")
                   .arg(text, dates->stringForObjectValue(QVariant::fromValue(from)),
                        dates->stringForObjectValue(QVariant::fromValue(to)));
    }
    pPageChart->chartView()->setAccessibleDescription(text);
}

// --- Toolbar --------------------------------------------------------------------------------

void MyWindowController::setupToolbar()
{
    QToolBar *toolbar = ui->myToolbar;
    toolbar->setIconSize(QSize(24, 24));
    toolbar->toggleViewAction()->setVisible(false);

    // The Add button keeps its room when hidden, so that the toolbar does not change height
    // from page to page.
    auto *addHolder = new QWidget(toolbar);
    auto *addLayout = new QHBoxLayout(addHolder);
    addLayout->setContentsMargins(0, 0, 0, 0);
    pAddButton = new QToolButton(addHolder);
    addLayout->addWidget(pAddButton);
    QSizePolicy keepRoom = pAddButton->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    pAddButton->setSizePolicy(keepRoom);
    pAddButton->setIconSize(QSize(24, 24));
    pAddButton->setObjectName(QStringLiteral("pAddButton"));
    pAddButton->setIcon(themedIcon("list-add"));
    pAddButton->setAutoRaise(true);
    pAddButton->setFocusPolicy(Qt::TabFocus);
    connect(pAddButton, &QToolButton::clicked, this, &MyWindowController::onAddButtonPressed);
    toolbar->addWidget(addHolder);

    auto spacer = [toolbar] {
        auto *space = new QWidget(toolbar);
        space->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        return space;
    };
    toolbar->addWidget(spacer());

    // The page selector: five exclusive segments drawn as one group.
    auto *modes = new QWidget(toolbar);
    modes->setObjectName(QStringLiteral("pModeSelector"));
    modes->setAccessibleName(qtTrId("window.pages"));
    auto *modesLayout = new QHBoxLayout(modes);
    modesLayout->setContentsMargins(0, 0, 0, 0);
    modesLayout->setSpacing(2);
    pModeSelector = new QButtonGroup(this);
    pModeSelector->setExclusive(true);
    for (int n = 0; n < PageCount; ++n) {
        auto *segment = new QToolButton(modes);
        segment->setObjectName(QStringLiteral("pModeSegment%1").arg(n));
        segment->setCheckable(true);
        segment->setAutoRaise(true);
        segment->setFocusPolicy(Qt::TabFocus);
        segment->setIconSize(QSize(24, 24));
        segment->setIcon(themedIcon(kPages[n].icon));
        segment->setToolTip(QStringLiteral("%1 (%2)").arg(
            qtTrId(kPages[n].toolTipKey),
            QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + n)).toString(QKeySequence::NativeText)));
        segment->setAccessibleName(pageTitle(n));
        pModeSelector->addButton(segment, n);
        modesLayout->addWidget(segment);
    }
    connect(pModeSelector, &QButtonGroup::idClicked, this, &MyWindowController::selectPage);
    toolbar->addWidget(modes);
    toolbar->addWidget(spacer());

    pFilterSelector = new QComboBox(toolbar);
    pFilterSelector->setObjectName(QStringLiteral("pFilterSelector"));
    pFilterSelector->setAccessibleName(qtTrId("window.filter_selector"));
    pFilterSelector->setToolTip(qtTrId("window.filter_selector.tooltip"));
    pFilterSelector->setModel(pFilterController);
    pFilterSelector->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    pFilterSelector->setMinimumContentsLength(12);
    pFilterSelector->setPlaceholderText(qtTrId("window.filter_selector.none"));
    // The label names the selector for screen readers too (on Linux a combo box's name is its
    // label's text) and takes the focus there with its mnemonic.
    auto *label = new QLabel(qtTrId("window.filter_selector.label"), toolbar);
    label->setObjectName(QStringLiteral("pFilterSelectorLabel"));
    label->setBuddy(pFilterSelector);
    label->setContentsMargins(0, 0, 6, 0);
    toolbar->addWidget(label);
    toolbar->addWidget(pFilterSelector);
}

void MyWindowController::syncFilterSelector()
{
    if (!pDocument)
        return;
    const FilterPtr selected = pDocument->filter();
    // A selected filter that is not offered shows no entry rather than a wrong one.
    pFilterSelector->setCurrentIndex(pFilterController->rowOfFilter(selected.get()));
}

void MyWindowController::onFilterActivated(int row)
{
    const FilterPtr filter = pFilterController->filter(row);
    if (filter && pDocument && filter != pDocument->filter())
        pDocument->setFilter(filter); // not undoable
    syncFilterSelector();
}

void MyWindowController::updateCounter()
{
    if (!pDocument)
        return;
    const QString text = FilteredCounterFormatter::stringForCounter(pDocument->filteredCounter());
    pCounterLabel->setText(text);
    // The accessible name says what the line is; screen readers read the count from here.
    pCounterLabel->setAccessibleDescription(text);
    if (nSelectedPage == ChartPage)
        describeChart();
}

// --- Menus ----------------------------------------------------------------------------------

void MyWindowController::setupMenus()
{
    ui->menuFile->setObjectName(QStringLiteral("menuFile"));
    connect(ui->actionPageSetup, &QAction::triggered, this, &MyWindowController::onPageSetup);
    connect(ui->actionPrintPreview, &QAction::triggered, this, &MyWindowController::onPrintPreview);
    connect(ui->actionPrint, &QAction::triggered, this,
            qOverload<>(&MyWindowController::doPrintDocument));
    ui->actionPrint->setShortcut(QKeySequence::Print);
    connect(ui->actionExportPdf, &QAction::triggered, this, &MyWindowController::onExportPdf);

    // File > Import... (any kind the program reads), File > Import > Readings from CSV...,
    // File > Export > Readings as CSV..., FHIR Bundle...
    QAction *importAny = new QAction(qtTrId("menu.file.import_any"), this);
    importAny->setObjectName(QStringLiteral("actionImport"));
    importAny->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    connect(importAny, &QAction::triggered, this, &MyWindowController::onImport);
    ui->menuFile->insertAction(ui->actionPageSetup, importAny);
    auto *importMenu = new QMenu(qtTrId("menu.file.import"), this);
    importMenu->setObjectName(QStringLiteral("menuImport"));
    QAction *importCsv = importMenu->addAction(qtTrId("menu.file.import_csv"));
    importCsv->setObjectName(QStringLiteral("actionImportCsv"));
    connect(importCsv, &QAction::triggered, this, &MyWindowController::onImportCsv);
    auto *exportMenu = new QMenu(qtTrId("menu.file.export"), this);
    exportMenu->setObjectName(QStringLiteral("menuExport"));
    QAction *exportCsv = exportMenu->addAction(qtTrId("menu.file.export_csv"));
    exportCsv->setObjectName(QStringLiteral("actionExportCsv"));
    connect(exportCsv, &QAction::triggered, this, &MyWindowController::onExportCsv);
    QAction *exportFhir = exportMenu->addAction(qtTrId("menu.file.export_fhir"));
    exportFhir->setObjectName(QStringLiteral("actionExportFhir"));
    connect(exportFhir, &QAction::triggered, this, &MyWindowController::onExportFhir);
    ui->menuFile->insertMenu(ui->actionPageSetup, importMenu);
    QAction *importMonitor = new QAction(qtTrId("menu.file.import_monitor"), this);
    importMonitor->setObjectName(QStringLiteral("actionImportMonitor"));
    importMonitor->setEnabled(MonitorImportDialog::isAvailable());
    importMonitor->setToolTip(MonitorImportDialog::unavailableReason());
    importMonitor->setStatusTip(MonitorImportDialog::unavailableReason());
    connect(importMonitor, &QAction::triggered, this, &MyWindowController::onImportMonitor);
    ui->menuFile->insertAction(ui->actionPageSetup, importMonitor);
    ui->menuFile->insertMenu(ui->actionPageSetup, exportMenu);
    // The empty readings page offers the same ways to start.
    EmptyReadingsHint *hint = pPageGrid->emptyHint();
    hint->setMonitorUnavailable(MonitorImportDialog::unavailableReason());
    connect(hint, &EmptyReadingsHint::addRequested, this, &MyWindowController::onAddButtonPressed);
    connect(hint, &EmptyReadingsHint::importRequested, this, &MyWindowController::onImport);
    connect(hint, &EmptyReadingsHint::importMonitorRequested, this,
            &MyWindowController::onImportMonitor);
    ui->menuFile->insertSeparator(ui->actionPageSetup);

    QAction *undo = pDocument->undoManager()->createUndoAction(this);
    undo->setShortcut(QKeySequence::Undo);
    QAction *redo = pDocument->undoManager()->createRedoAction(this);
    redo->setShortcut(QKeySequence::Redo);
    undo->setObjectName(QStringLiteral("actionUndo"));
    redo->setObjectName(QStringLiteral("actionRedo"));
    QAction *first = ui->menuEdit->actions().value(0);
    ui->menuEdit->insertAction(first, undo);
    ui->menuEdit->insertAction(first, redo);
    ui->menuEdit->insertSeparator(first);
    // Edit > Add: what the toolbar's Add does on the page shown.
    pAddAction = new QAction(qtTrId("window.menu.add"), this);
    pAddAction->setObjectName(QStringLiteral("actionAdd"));
    pAddAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    connect(pAddAction, &QAction::triggered, this, &MyWindowController::onAddButtonPressed);
    // Insert adds too, but not while text is typed: a text field does not claim the key, and
    // adding would take the typed text away.
    auto *insert = new QShortcut(QKeySequence(Qt::Key_Insert), this);
    connect(insert, &QShortcut::activated, this, [this] {
        QWidget *focus = QApplication::focusWidget();
        const bool typing =
            qobject_cast<QLineEdit *>(focus) || qobject_cast<QAbstractSpinBox *>(focus) ||
            qobject_cast<QPlainTextEdit *>(focus) || qobject_cast<QTextEdit *>(focus);
        if (!typing && pAddAction->isEnabled())
            onAddButtonPressed();
    });
    ui->menuEdit->insertAction(ui->actionDelete, pAddAction);
    // The menu shows Delete's key, but the key belongs to the table or list that has the focus
    // (the pages handle it there): pressed anywhere else (the filter selector, the page buttons,
    // a menu of a condition row) it must not delete what the page has selected.
    ui->actionDelete->setShortcut(QKeySequence::Delete);
    ui->actionDelete->setShortcutContext(Qt::WidgetShortcut);
    ui->actionSelectAll->setShortcut(QKeySequence::SelectAll);
    connect(ui->actionDelete, &QAction::triggered, this, &MyWindowController::onDelete);
    connect(ui->actionSelectAll, &QAction::triggered, this, &MyWindowController::onSelectAll);
    connect(ui->actionReplaceWithAverage, &QAction::triggered, pPageGrid,
            &PageGrid::onReplaceWithAverage);

    pPageActions = new QActionGroup(this);
    pPageActions->setExclusive(true);
    const QList<QAction *> pages = {ui->actionPageReadings, ui->actionPageChart,
                                    ui->actionPageAverages, ui->actionPageFilters,
                                    ui->actionPageInformation};
    for (int n = 0; n < PageCount; ++n) {
        QAction *action = pages.at(n);
        action->setData(n);
        action->setIcon(themedIcon(kPages[n].icon));
        action->setIconVisibleInMenu(false);
        pPageActions->addAction(action);
        connect(action, &QAction::triggered, this, [this, n] { selectPage(n); });
    }

    // View > Newest First / Oldest First: the date order of the readings, from the keyboard as
    // from the date column's heading. Neither is checked while another column sorts the table.
    auto *order = new QActionGroup(this);
    order->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    ui->menuView->addSeparator();
    for (const bool ascending : {false, true}) {
        QAction *action = ui->menuView->addAction(ascending ? qtTrId("window.menu.oldest_first")
                                                            : qtTrId("window.menu.newest_first"));
        action->setObjectName(ascending ? QStringLiteral("actionOldestFirst")
                                        : QStringLiteral("actionNewestFirst"));
        action->setCheckable(true);
        order->addAction(action);
        connect(action, &QAction::triggered, this, [this, ascending] {
            pPageGrid->sortByDate(ascending);
            updateDateOrderActions();
        });
    }
    pDateOrderActions = order;
    connect(pPageGrid, &PageGrid::sortDescriptorsChanged, this,
            &MyWindowController::updateDateOrderActions);
    connect(pDocument, &MyDocument::sortItemsAscendingChanged, this,
            &MyWindowController::updateDateOrderActions);
    updateDateOrderActions();
}

void MyWindowController::updateDateOrderActions()
{
    const QList<SortDescriptor> keys = pPageGrid->sortDescriptors();
    const bool byDate = !keys.isEmpty() && keys.first().key == QLatin1String("theWholeDate");
    const QList<QAction *> actions = pDateOrderActions->actions();
    actions.at(0)->setChecked(byDate && !keys.first().ascending);
    actions.at(1)->setChecked(byDate && keys.first().ascending);
}

WindowPage *MyWindowController::shownPage() const
{
    const int n = ui->pPagesHolder->currentIndex();
    return n >= 0 && n < PageCount ? pWindowPages[n] : nullptr;
}

void MyWindowController::updateEditActions()
{
    QWidget *page = ui->pPagesHolder->currentWidget();
    ui->actionDelete->setEnabled(shownPage() && shownPage()->canDelete());
    ui->actionSelectAll->setEnabled(page && page != pPageChart);
    ui->actionReplaceWithAverage->setEnabled(page == pPageGrid &&
                                             pPageGrid->canReplaceWithAverage());
}

void MyWindowController::onDelete()
{
    WindowPage *page = shownPage();
    if (page && page->canDelete())
        page->onDelete();
}

void MyWindowController::onSelectAll()
{
    QWidget *page = ui->pPagesHolder->currentWidget();
    if (auto *view = qobject_cast<QAbstractItemView *>(page))
        view->selectAll();
    else if (page && page != pPageChart)
        if (auto *view = page->findChild<QAbstractItemView *>())
            view->selectAll();
}

// --- Sorting --------------------------------------------------------------------------------

QList<SortDescriptor> MyWindowController::sortDescriptors() const
{
    return {{QStringLiteral("theWholeDate"), pDocument ? pDocument->sortItemsAscending() : false}};
}

void MyWindowController::setSortDescriptors(const QList<SortDescriptor> &descriptors)
{
    if (descriptors.isEmpty() || !pDocument)
        return;
    if (descriptors.first().key != QLatin1String("theWholeDate"))
        return;
    pArrayController->setSortAscending(descriptors.first().ascending);
}

// --- Printing -------------------------------------------------------------------------------

int MyWindowController::livePrintViews()
{
    return WindowPrinting::livePrintViews();
}

int MyWindowController::madePrintViews()
{
    return WindowPrinting::madePrintViews();
}

QPageLayout MyWindowController::pageLayout() const
{
    return pPrinting->pageLayout();
}

PrintAccessoryView *MyWindowController::printAccessoryView()
{
    return pPrinting->printAccessoryView();
}

std::unique_ptr<PrintView> MyWindowController::makePrintView(const QPageLayout &layout) const
{
    return pPrinting->makePrintView(layout);
}

bool MyWindowController::printOn(QPrinter &printer, QString *errorMessage)
{
    return pPrinting->printOn(printer, errorMessage);
}

void MyWindowController::dialogOpened(QDialog *dialog)
{
    Dialogs::returnFocusWhenFinished(dialog);
    if (onDialogOpened)
        onDialogOpened(dialog);
}

void MyWindowController::onPageSetup()
{
    pPrinting->pageSetup();
}

void MyWindowController::doPrintDocument(bool showPanel)
{
    if (!commitEditing([this, showPanel](bool proceed) {
            if (proceed)
                doPrintDocument(showPanel);
        }))
        return;
    if (showPanel)
        doPrintDocument();
    else
        pPrinting->printWithoutPanel();
}

void MyWindowController::doPrintDocument()
{
    if (!pDocument || !commitEditing([this](bool proceed) {
            if (proceed)
                doPrintDocument();
        }))
        return;
    pPrinting->printWithPanel();
}

void MyWindowController::onPrintPreview()
{
    if (!pDocument || !commitEditing([this](bool proceed) {
            if (proceed)
                onPrintPreview();
        }))
        return;
    pPrinting->printPreview();
}

void MyWindowController::onExportPdf()
{
    if (!pDocument || !commitEditing([this](bool proceed) {
            if (proceed)
                onExportPdf();
        }))
        return;
    pPrinting->exportPdf();
}

void MyWindowController::onExportCsv()
{
    pPrinting->exportCsv();
}

void MyWindowController::onImportCsv()
{
    if (!pDocument)
        return;
    QPointer<MyWindowController> self(this);
    Dialogs::choosePath(this, Dialogs::FileMode::Open, qtTrId("window.import_csv.caption"),
                        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                        qtTrId("window.import_csv.filter"), [self](const QString &path) {
                            if (!self || path.isEmpty() || !self->pDocument)
                                return;
                            self->openImportDialog(
                                new CsvImportDialog(self->pDocument, path, self));
                        });
}

void MyWindowController::onImportMonitor()
{
    if (!pDocument)
        return;
    auto *dialog = new MonitorImportDialog(pDocument, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    dialogOpened(dialog);
}

void MyWindowController::openImportDialog(QDialog *dialog)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    dialogOpened(dialog);
}

void MyWindowController::onImport()
{
    if (!pDocument)
        return;
    QPointer<MyWindowController> self(this);
    Dialogs::choosePath(
        this, Dialogs::FileMode::Open, qtTrId("window.import.caption"),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
        qtTrId("window.import.filter"), [self](const QString &path) {
            if (!self || path.isEmpty() || !self->pDocument)
                return;
            QString error;
            const ImportDetector::Kind kind = ImportDetector::detectFile(path, &error);
            if (!error.isEmpty()) {
                Dialogs::informText(self, qtTrId("window.import.failed"), error);
                return;
            }
            switch (kind) {
            case ImportDetector::Kind::Unknown:
                Dialogs::inform(self, QStringLiteral("window.import.unknown"),
                                {QFileInfo(path).fileName()});
                return;
            case ImportDetector::Kind::Csv:
                // A CSV file needs its columns mapped before the review.
                self->openImportDialog(new CsvImportDialog(self->pDocument, path, self));
                return;
            case ImportDetector::Kind::FhirBundle:
            case ImportDetector::Kind::AppleHealth:
            case ImportDetector::Kind::MonitorLog:
                self->openImportDialog(new ImportDialog(self->pDocument, path, kind, self));
                return;
            }
        });
}

void MyWindowController::onExportFhir()
{
    if (!pDocument || !commitEditing([this](bool proceed) {
            if (proceed)
                onExportFhir();
        }))
        return;
    QPointer<MyWindowController> self(this);
    const auto save = [self](bool all) {
        if (!self)
            return;
        Dialogs::chooseSavePath(
            self, qtTrId("window.export_fhir.caption"),
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
            qtTrId("window.export_fhir.filter"), QStringLiteral("json"),
            [self, all](const QString &path) {
                if (!self || path.isEmpty() || !self->pDocument)
                    return;
                FhirBundle::ExportOptions options;
                options.bAll = all;
                options.patientName = Preferences::shared().stringForKey(Preferences::personName);
                FhirBundle::ExportResult result;
                QString error;
                if (!FhirBundle::writeDocument(*self->pDocument, path, options, &result, &error)) {
                    Dialogs::informText(self, qtTrId("window.export_fhir.failed"), error);
                    return;
                }
                if (result.customValueCount > 0)
                    Dialogs::inform(self, QStringLiteral("window.export_fhir.custom"),
                                    {QLocale().toString(result.customValueCount)});
            });
    };
    // A filter that hides readings: the filtered ones, as the window shows them, or all?
    const qsizetype filtered = pDocument->items().size(), total = pDocument->allItems().size();
    if (filtered == total) {
        save(true);
        return;
    }
    const QLocale locale;
    Dialogs::ask(this, QStringLiteral("window.export_fhir.which"),
                 {QStringLiteral("filtered"), QStringLiteral("all"), QStringLiteral("cancel")},
                 [save](int button) {
                     if (button < 2)
                         save(button == 1);
                 },
                 {locale.toString(filtered), locale.toString(total)});
}
