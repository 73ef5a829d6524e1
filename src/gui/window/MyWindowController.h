#pragma once

#include "DocumentPrinter.h"
#include "PageGrid.h"
#include "PendingEdits.h"

#include <QHash>
#include <QMainWindow>
#include <QPageLayout>
#include <QPointer>

#include <functional>
#include <memory>

class AveragesModel;
class ChartDataSource;
class VisibleFiltersModel;
class PageFilters;
class InformationArrayController;
class MyDocument;
class PageAverages;
class PageChart;
class PageInformation;
class PrintAccessoryView;
class PrintView;
class QActionGroup;
class QButtonGroup;
class QComboBox;
class QDialog;
class QLabel;
class QPrinter;
class QToolButton;
class WindowPage;
class WindowPrinting;

namespace Ui {
class MyDocument;
}

// The window of one document: a toolbar with Add at the left, the page selector (five exclusive
// segments) in the middle and the filter selector at the right; the five pages (readings, chart,
// averages, filters, information) in a stacked holder; the counter line in the status bar; and
// the menus of the document's printing and exports (page setup, print, print preview, PDF and CSV
// export), which WindowPrinting carries out, and of its imports and other exports (Import..., CSV
// import, import from a monitor, FHIR Bundle export), which open their own dialogs.
//
// The window never closes or saves its document: its closing is the document controller's.
class MyWindowController : public QMainWindow, public DocumentPrinter, public PendingEdits
{
    Q_OBJECT
public:
    enum Page
    {
        ReadingsPage,
        ChartPage,
        AveragesPage,
        FiltersPage,
        InformationPage,
        PageCount
    };

    explicit MyWindowController(MyDocument *document, QWidget *parent = nullptr);
    ~MyWindowController() override;

    MyDocument *document() const { return pDocument; }

    // --- Pages ------------------------------------------------------------------------------
    int selectedPage() const { return nSelectedPage; }
    // Shows page n (0 to 4); the page already shown changes nothing.
    void selectPage(int n);
    QWidget *pageView(int n) const;
    PageGrid *pageGrid() const { return pPageGrid; }
    PageChart *pageChart() const { return pPageChart; }
    PageAverages *pageAverages() const { return pPageAverages; }
    PageInformation *pageInformation() const { return pPageInformation; }
    PageFilters *pageFilter() const { return pPageFilter; }

    // The shown page's pending edits go to the document (see PendingEdits): called before the
    // page changes, before Add and before printing; the document controller calls it before
    // saving and closing.
    bool commitEditing(const std::function<void(bool proceed)> &then = {}) override;

    // The toolbar's Add: passed to the page on show, on the next turn of the event loop.
    void onAddButtonPressed();
    QToolButton *addButton() const { return pAddButton; }
    bool isAddButtonShown() const;
    QButtonGroup *modeSelector() const { return pModeSelector; }
    QComboBox *filterSelector() const { return pFilterSelector; }
    QAction *pageAction(int n) const;
    QLabel *counterLabel() const { return pCounterLabel; }

    ReadingsModel *readingsModel() const { return pArrayController; }
    VisibleFiltersModel *filtersModel() const { return pFilterController; }
    AveragesModel *averagesModel() const { return pAveragesController; }
    InformationArrayController *informationController() const { return pInformationController; }
    ChartDataSource *chartDataSource() const { return pChartDataSource; }

    // --- Sorting ----------------------------------------------------------------------------
    QList<SortDescriptor> sortDescriptors() const;
    // Descriptors whose first key is "theWholeDate" set the document's sort direction; an empty
    // list or any other first key changes nothing.
    void setSortDescriptors(const QList<SortDescriptor> &descriptors);

    // --- Printing ---------------------------------------------------------------------------
    // The document's page layout as stored with it.
    QPageLayout pageLayout() const;
    void onPageSetup();
    void onPrintPreview();
    Q_INVOKABLE void doPrintDocument();
    // The document's print request: through the print dialog, or straight to the default printer.
    void doPrintDocument(bool showPanel) override;
    void onExportPdf();
    void onExportCsv();
    // File > Import > Readings from CSV...: the column mapping, then the same review.
    void onImportCsv();
    void onImportMonitor();
    // File > Import...: a file of any kind the program reads, told by its content, reviewed in one
    // window (ImportDialog); CSV passes through its column mapping on the way.
    void onImport();
    // File > Export > FHIR Bundle...: the readings the filter shows, or all of them.
    void onExportFhir();
    // The print options tab of the print dialog, made on first use and kept.
    PrintAccessoryView *printAccessoryView();
    // A fresh report view of the document as the window shows it, on the page layout.
    std::unique_ptr<PrintView> makePrintView(const QPageLayout &layout) const;
    // Prints the pages the printer's range names (all when it names none); false with a message
    // when the printer refuses.
    bool printOn(QPrinter &printer, QString *errorMessage = nullptr);

    // Tests: called with every dialog the window opens (page setup, print, preview) right after
    // it opened, to answer it without a person.
    std::function<void(QDialog *)> onDialogOpened;
    // Counts the report views alive and made, for the tests of their release.
    static int livePrintViews();
    static int madePrintViews();

protected:
    QMenu *createPopupMenu() override { return nullptr; } // the toolbar cannot be customised

private:
    void setupToolbar();
    void setupPages();
    void setupMenus();
    void syncFilterSelector();
    void onFilterActivated(int row);
    void updateCounter();
    void updateEditActions();
    WindowPage *shownPage() const;
    void feedChart();
    void describeChart();
    void updateDateOrderActions();
    void onDelete();
    void onSelectAll();
    friend class WindowPrinting;
    // Every dialog the window opens comes here right after it opened.
    void dialogOpened(QDialog *dialog);
    void openImportDialog(QDialog *dialog);

    std::unique_ptr<Ui::MyDocument> ui;
    QPointer<MyDocument> pDocument;
    int nSelectedPage = -1;

    ReadingsModel *pArrayController;
    VisibleFiltersModel *pFilterController;
    AveragesModel *pAveragesController;
    InformationArrayController *pInformationController;
    ChartDataSource *pChartDataSource;

    QToolButton *pAddButton = nullptr;
    QAction *pAddAction = nullptr;
    QButtonGroup *pModeSelector = nullptr;
    QComboBox *pFilterSelector = nullptr;
    QActionGroup *pPageActions = nullptr;
    QActionGroup *pDateOrderActions = nullptr;
    QLabel *pCounterLabel = nullptr;

    PageGrid *pPageGrid = nullptr;
    PageChart *pPageChart = nullptr;
    PageAverages *pPageAverages = nullptr;
    PageFilters *pPageFilter = nullptr;
    PageInformation *pPageInformation = nullptr;

    WindowPage *pWindowPages[PageCount] = {};

    WindowPrinting *pPrinting;
};
