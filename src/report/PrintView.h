#pragma once

#include "Average.h"
#include "InformationItem.h"
#include "Measurement.h"
#include "PrintViewItem.h"

#include <QList>
#include <QObject>
#include <QPageLayout>
#include <QRectF>
#include <QStringList>

class ChartDataSource;
class MyDocument;
class QPagedPaintDevice;
class QPainter;

// The printable report of one document: up to four sections (information table, averages table,
// readings table, chart, in that order, each switched by a preference) built as a list of blocks
// and laid out down pages of the paper. The view is one tall strip of pages, in points, y growing
// downward: page n (from 1) is the rectangle (0, (n - 1) * paper height, paper width, paper height)
// and its blocks lie in its top-left content area (paper less margins). A table that continues on
// a new page gets a copy of its header row at the top.
//
// It works from plain data, so it runs without a window: the readings in the order to print, the
// averages, the information items, the chart data source and the page layout. It rebuilds itself
// whenever one of the preferences that shape the report changes.
class PrintView : public QObject
{
    Q_OBJECT
public:
    PrintView(const QPageLayout &printInfo, const ConstMeasurementList &items,
              const QList<AveragePtr> &averages, const InformationList &information,
              const ChartDataSource *chartSource, QObject *parent = nullptr);
    ~PrintView() override;

    // Rebuilds the blocks and the layout from the current preferences.
    void refresh();

    // The layout the report is laid out for: the one it was made with (the document's print
    // settings) until printTo() or setPageLayout() gives another.
    const QPageLayout &pageLayout() const { return printInfo; }
    // Lays the report out again for the layout, when it differs from the present one.
    void setPageLayout(const QPageLayout &layout);
    QSizeF paperSize() const;
    // The content area: paper less margins.
    QSizeF contentSize() const;
    // False when the page layout is invalid or its margins leave no content area; such a report
    // has no blocks and cannot be printed.
    bool hasContentArea() const;
    // (0, 0, paper width, totalPages() * paper height).
    QRectF frame() const;

    int totalPages() const { return nTotalPages; }
    QRectF rectForPage(int page) const;

    // Draws every block that is shown and meets the rectangle, in view coordinates.
    void drawRect(QPainter &painter, const QRectF &rect) const;
    // Draws one page with its top-left content corner at the painter's origin (points).
    void drawPage(QPainter &painter, int page) const;

    // Prints onto the device (a QPrinter, a QPdfWriter) as the device is set up: the report is
    // laid out again for the device's page layout (the paper and orientation chosen in a print
    // dialog or preview), and the pages of the device's page ranges are printed (every page when
    // none is chosen; pages beyond the report are left out), drawn in points at whatever
    // resolution the device has. Set the device to pageLayout() before showing it to the user, so
    // that the document's print settings are where the choice starts. False with a message when
    // the layout leaves no room, no chosen page exists or the device refuses.
    bool printTo(QPagedPaintDevice &device, QString *errorMessage = nullptr);
    // Writes the report in its own page layout as a PDF file; the file is replaced only when the
    // whole report has been written. False with a message otherwise.
    bool writePdf(const QString &fileName, QString *errorMessage = nullptr) const;

    // The filter whose readings are printed, named in the page header.
    void setFilterName(const QString &name);
    // The page header and footer ("printPageHeader"): in view coordinates, inside the content
    // area of the page, the header at its top and the footer at its foot; the blocks lie between
    // them. Empty rectangles when the switch is off.
    QRectF headerRect(int page) const;
    QRectF footerRect(int page) const;
    // Their lines: title and name; period and filter; print date and "Page x of y".
    QStringList headerLines() const;
    QStringList footerLines(int page) const;

    // The rows of the three tables, each a list of texts, one per column.
    QList<QStringList> rowsForInformation() const;
    QList<QStringList> rowsForAverages() const;
    QList<QStringList> rowsForReadings() const;

    const QList<PrintViewItemPtr> &printViewItems() const { return pPrintViewItems; }
    const QList<QRectF> &printViewItemRects() const { return pPrintViewItemRects; }

    // Point size of the table text for a "rowSize" preference: 0 gives 11, 1 gives 9.5, 2 gives 8
    // (any other value 9.5).
    static qreal tableFontSize(int rowSize);
    // The fourteen preferences whose change rebuilds the report.
    static const QStringList &observedKeys();

    // Blocks laid out down pages: their rectangles, the header rows inserted where a table
    // continues on a new page, and the first block of each page.
    struct Pagination
    {
        QList<PrintViewItemPtr> items;
        QList<QRectF> rects;              // one per item; empty for a hidden one
        QList<qsizetype> firstItemOfPage; // index into items, one per page
        int totalPages = 1;
    };
    static Pagination paginate(const QList<PrintViewItemPtr> &blocks, const QSizeF &contentSize,
                               qreal paperHeight);

    // The report of a document as the command-line tool prints it: its filtered readings in its
    // sort direction, its averages and printed information, the chart of its filtered readings,
    // on the page layout of its print settings, written to a PDF file.
    static bool writeDocumentReport(const MyDocument &document, const QString &fileName,
                                    QString *errorMessage = nullptr);

signals:
    // The blocks and the layout have been rebuilt.
    void refreshed();

private:
    void onPreferenceChanged(const QString &key);
    void appendTitle(const QString &key, const QSizeF &content);
    void appendHomeSummary(const QSizeF &content, qreal fontSize);
    void drawHeaderAndFooter(QPainter &painter, int page) const;
    // Draws the pages (from 1) onto a device already set to the view's page layout.
    bool printPages(QPagedPaintDevice &device, const QList<int> &pages,
                    QString *errorMessage) const;

    QPageLayout printInfo;
    ConstMeasurementList pItems;
    QList<AveragePtr> pAverages;
    InformationList pInformation;
    const ChartDataSource *pChartSource;

    QList<PrintViewItemPtr> pPrintViewItems;
    QList<QRectF> pPrintViewItemRects;
    QList<qsizetype> pFirstItemOfPage;
    int nTotalPages = 1;
    QString strFilterName;
    qreal fHeaderHeight = 0; // 0: no header and footer
    qreal fFooterHeight = 0;
};
