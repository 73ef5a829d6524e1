#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>

class ChartDataSource;
class QPainter;

// The style of a report text: font and colour. Texts wrap at word boundaries, and a word too long
// for its line is broken inside. Every measurement is made for a 72-dpi device, so one unit is one
// point whatever the machine's screen, and drawing through a painter whose user space is in points
// puts the glyphs exactly where they were measured.
class PrintTextAttributes
{
public:
    PrintTextAttributes() : PrintTextAttributes(userFontOfSize(12)) {}
    explicit PrintTextAttributes(const QFont &font, const QColor &color = Qt::black);

    // The report's user font: DejaVu Sans of the given point size, one weight heavier when bold.
    static QFont userFontOfSize(qreal size, bool bold = false);

    const QFont &font() const { return pFont; }
    const QColor &color() const { return pColor; }

    // The height of one line of text.
    qreal lineHeight() const { return fLineHeight; }
    // The widest line of the text laid out without wrapping.
    qreal singleLineWidth(const QString &text) const;
    // The height of the text wrapped into lines of the given width, at most maxHeight.
    qreal wrappedHeight(const QString &text, qreal width, qreal maxHeight) const;
    // Draws the text wrapped into the rectangle's width from its top-left corner; lines that do
    // not fit into its height are left out.
    void drawWrapped(QPainter &painter, const QRectF &rect, const QString &text) const;

private:
    QFont pFont;
    QColor pColor;
    qreal fLineHeight; // measured once, for the many blank cells of long tables
};

class PrintViewItem;
class PrintViewItem_Space;
class PrintViewItem_Text;
class PrintViewItem_Chart;
class PrintViewItem_GridRow;
using PrintViewItemPtr = std::shared_ptr<PrintViewItem>;

// One block of the printed report. A block knows its height and draws itself at a vertical
// position across the whole content width of a page; the report view stacks blocks down the pages.
// Coordinates are points, y grows downward, x = 0 is the left edge of the content area.
class PrintViewItem
{
public:
    PrintViewItem() = default;
    virtual ~PrintViewItem();
    PrintViewItem(const PrintViewItem &) = delete;
    PrintViewItem &operator=(const PrintViewItem &) = delete;

    virtual qreal height() const { return 0; }
    // Whether the block may be cut short to fill the rest of a page.
    virtual bool canBeTruncated() const { return false; }
    // The header row to repeat above this block when it starts a page, or none.
    virtual std::shared_ptr<PrintViewItem_GridRow> captionRow() const { return {}; }
    virtual void drawAt(QPainter &painter, qreal y, qreal height) const;

    // A hidden block takes no room and is not drawn.
    bool isHidden() const { return bHidden; }
    void setHidden(bool hidden) { bHidden = hidden; }

    static std::shared_ptr<PrintViewItem_Space> spaceOfHeight(qreal height);
    static std::shared_ptr<PrintViewItem_Text> textItemWithText(const QString &text, qreal fontSize,
                                                                bool boldFlag, qreal paddingTop,
                                                                qreal paddingBottom,
                                                                const QSizeF &pageSize);
    static std::shared_ptr<PrintViewItem_Chart> chartItemWithSource(const ChartDataSource *source,
                                                                    const QSizeF &pageSize);
    static std::shared_ptr<PrintViewItem_GridRow>
    rowWithItems(const QStringList &items, const QList<qreal> &widths,
                 const QList<PrintTextAttributes> &attributes,
                 const std::shared_ptr<PrintViewItem_GridRow> &captionRow);

protected:
    bool bHidden = false;
};

// A blank gap; the only block that can be cut at a page's foot.
class PrintViewItem_Space : public PrintViewItem
{
public:
    explicit PrintViewItem_Space(qreal height) : fHeight(height) {}
    qreal height() const override { return fHeight; }
    bool canBeTruncated() const override { return true; }

private:
    qreal fHeight;
};

// A text across the content width, such as a section title.
class PrintViewItem_Text : public PrintViewItem
{
public:
    PrintViewItem_Text(const QString &text, const PrintTextAttributes &attributes, qreal paddingTop,
                       qreal paddingBottom, const QSizeF &pageSize);
    qreal height() const override { return fHeight; }
    void drawAt(QPainter &painter, qreal y, qreal height) const override;

    const QString &text() const { return strText; }
    const PrintTextAttributes &attributes() const { return pAttributes; }

private:
    QString strText;
    QSizeF szPage;
    PrintTextAttributes pAttributes;
    qreal fPaddingTop;
    qreal fPaddingBottom;
    qreal fHeight; // measured once when made
};

// The chart of the readings, one content height tall so that it has a page of its own; turned a
// quarter turn when the content area is taller than wide.
class PrintViewItem_Chart : public PrintViewItem
{
public:
    PrintViewItem_Chart(const ChartDataSource *source, const QSizeF &pageSize);
    qreal height() const override { return szPage.height(); }
    void drawAt(QPainter &painter, qreal y, qreal height) const override;

    // Whether a slot of the given height is drawn turned.
    bool drawsTurned(qreal height) const { return height > szPage.width(); }

private:
    const ChartDataSource *pChartDataSource;
    QSizeF szPage;
};

// One row of a table: a text per column, drawn in grey-ruled cells of the given widths.
class PrintViewItem_GridRow : public PrintViewItem
{
public:
    PrintViewItem_GridRow(const QStringList &items, const QList<qreal> &widths,
                          const QList<PrintTextAttributes> &attributes,
                          const std::shared_ptr<PrintViewItem_GridRow> &captionRow);

    qreal height() const override { return fHeight + 5; }
    std::shared_ptr<PrintViewItem_GridRow> captionRow() const override { return pCaptionRow; }
    void drawAt(QPainter &painter, qreal y, qreal height) const override;

    const QStringList &items() const { return pItems; }
    const QList<qreal> &widths() const { return pWidths; }
    const QList<PrintTextAttributes> &attributes() const { return pAttributesArray; }

    // The tallest cell text wrapped into its column (width - 10), at most kMaxCellHeight.
    void prepare();

    static constexpr qreal kMaxCellHeight = 500;

private:
    QStringList pItems;
    QList<qreal> pWidths;
    QList<PrintTextAttributes> pAttributesArray;
    std::shared_ptr<PrintViewItem_GridRow> pCaptionRow;
    qreal fHeight = 0;
};

// Turns a table, given as column titles with width rules and rows of ready-made texts, into a
// header row block and one row block per data row, with the column widths settled for the page.
class GridOfPrintViewItems
{
public:
    GridOfPrintViewItems(const QSizeF &pageSize, qreal fontSize);
    static std::unique_ptr<GridOfPrintViewItems> gridWithPageSize(const QSizeF &pageSize,
                                                                  qreal fontSize)
    {
        return std::make_unique<GridOfPrintViewItems>(pageSize, fontSize);
    }

    // Appends a column. Width 0 asks for an automatic width; any other width is the column's
    // upper bound. A null title, or a column added after a row, is a programming error: it asserts
    // in a debug build and is refused (false, nothing changed) otherwise.
    bool addColumnWithTitle(const QString &title, qreal width);
    // Appends a row of texts, one per column; a row of another length asserts or is refused.
    bool addRow(const QStringList &row);
    // Adds each row in order; stops at the first refused one.
    bool addRows(const QList<QStringList> &rows);

    // The header row first, then one row block per data row in the order added.
    QList<PrintViewItemPtr> printViewItems() const;

    // The width the column's widest single-line text needs (title in the header style, texts in
    // the table style), plus 10.
    qreal maxWidthForColumn(int column, const PrintTextAttributes &attrsTitle,
                            const PrintTextAttributes &attrsText) const;

    // The column widths that printViewItems() gives its blocks.
    QList<qreal> columnWidths() const;

    // No column is made narrower than this; see columnWidths().
    qreal minimumColumnWidth() const { return 10 + 3 * fFontSize; }

    PrintTextAttributes textAttributes() const;
    PrintTextAttributes headerAttributes() const;

    int columnCount() const { return int(pColumns.size()); }
    int rowCount() const { return int(pRows.size()); }

private:
    struct Column
    {
        QString title;
        qreal width; // 0: automatic; otherwise the upper bound
    };

    QSizeF szPage;
    qreal fFontSize;
    QList<Column> pColumns;
    QList<QStringList> pRows;
};
