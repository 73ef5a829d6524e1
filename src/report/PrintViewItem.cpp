#include "PrintViewItem.h"

#include "ChartPainter.h"

#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>

namespace {

// Fonts are resolved for this device: 72 dots per inch, so a font's pixel size equals its point
// size and layouts measure in points whatever the machine's screen.
QPaintDevice *pointDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMeter = qRound(72 / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return &device;
}

QString withLineSeparators(const QString &text)
{
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString result = text;
    result.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    result.replace(QLatin1Char('\n'), QChar::LineSeparator);
    result.replace(QLatin1Char('\r'), QChar::LineSeparator);
    return result;
}

// Lays the text out in lines of the given width (or unwrapped for a negative width). Returns the
// total height of the lines; the layout is left ready for drawing.
qreal layOut(QTextLayout &layout, qreal width)
{
    QTextOption option;
    option.setWrapMode(width < 0 ? QTextOption::NoWrap : QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setUseDesignMetrics(true);
    layout.setTextOption(option);
    layout.setCacheEnabled(false);
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        if (width >= 0)
            line.setLineWidth(std::max<qreal>(width, 1));
        line.setPosition(QPointF(0, y));
        // The font's natural line height (QTextLine::height() rounds it up to a whole unit).
        y += line.ascent() + line.descent() + std::max<qreal>(line.leading(), 0);
    }
    layout.endLayout();
    return y;
}

// True for a text that shows nothing on a single line: empty or blanks only.
bool isBlankLine(const QString &text)
{
    for (const QChar c : text) {
        if (c != QLatin1Char(' '))
            return false;
    }
    return true;
}

} // namespace

// --- PrintTextAttributes -------------------------------------------------------------------------

PrintTextAttributes::PrintTextAttributes(const QFont &font, const QColor &color)
    : pFont(font), pColor(color)
{
    QTextLayout layout(QStringLiteral(" "), pFont, pointDevice());
    fLineHeight = layOut(layout, -1);
}

QFont PrintTextAttributes::userFontOfSize(qreal size, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(size);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setStretch(QFont::Unstretched);
    font.setStyle(QFont::StyleNormal);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

qreal PrintTextAttributes::singleLineWidth(const QString &text) const
{
    QTextLayout layout(withLineSeparators(text), pFont, pointDevice());
    layOut(layout, -1);
    qreal width = 0;
    for (int i = 0; i < layout.lineCount(); ++i)
        width = std::max(width, layout.lineAt(i).naturalTextWidth());
    return width;
}

qreal PrintTextAttributes::wrappedHeight(const QString &text, qreal width, qreal maxHeight) const
{
    if (!text.isEmpty() && isBlankLine(text))
        return std::min(lineHeight(), maxHeight);
    QTextLayout layout(withLineSeparators(text), pFont, pointDevice());
    return std::min(layOut(layout, std::max<qreal>(width, 0)), maxHeight);
}

void PrintTextAttributes::drawWrapped(QPainter &painter, const QRectF &rect,
                                      const QString &text) const
{
    if (isBlankLine(text))
        return;
    QTextLayout layout(withLineSeparators(text), pFont, pointDevice());
    layOut(layout, std::max<qreal>(rect.width(), 0));
    painter.setPen(pColor);
    const qreal limit = rect.height() + 0.01;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        if (line.y() + line.ascent() + line.descent() > limit)
            break;
        line.draw(&painter, rect.topLeft());
    }
}

// --- PrintViewItem -------------------------------------------------------------------------------

PrintViewItem::~PrintViewItem() = default;

void PrintViewItem::drawAt(QPainter &, qreal, qreal) const {}

std::shared_ptr<PrintViewItem_Space> PrintViewItem::spaceOfHeight(qreal height)
{
    return std::make_shared<PrintViewItem_Space>(height);
}

std::shared_ptr<PrintViewItem_Text>
PrintViewItem::textItemWithText(const QString &text, qreal fontSize, bool boldFlag,
                                qreal paddingTop, qreal paddingBottom, const QSizeF &pageSize)
{
    const PrintTextAttributes attributes(PrintTextAttributes::userFontOfSize(fontSize, boldFlag),
                                         Qt::black);
    return std::make_shared<PrintViewItem_Text>(text, attributes, paddingTop, paddingBottom,
                                                pageSize);
}

std::shared_ptr<PrintViewItem_Chart>
PrintViewItem::chartItemWithSource(const ChartDataSource *source, const QSizeF &pageSize)
{
    return std::make_shared<PrintViewItem_Chart>(source, pageSize);
}

std::shared_ptr<PrintViewItem_GridRow>
PrintViewItem::rowWithItems(const QStringList &items, const QList<qreal> &widths,
                            const QList<PrintTextAttributes> &attributes,
                            const std::shared_ptr<PrintViewItem_GridRow> &captionRow)
{
    return std::make_shared<PrintViewItem_GridRow>(items, widths, attributes, captionRow);
}

// --- PrintViewItem_Text --------------------------------------------------------------------------

PrintViewItem_Text::PrintViewItem_Text(const QString &text, const PrintTextAttributes &attributes,
                                       qreal paddingTop, qreal paddingBottom,
                                       const QSizeF &pageSize)
    : strText(text), szPage(pageSize), pAttributes(attributes), fPaddingTop(paddingTop),
      fPaddingBottom(paddingBottom)
{
    fHeight = fPaddingTop + pAttributes.wrappedHeight(strText, szPage.width(), szPage.height()) +
              fPaddingBottom;
}

void PrintViewItem_Text::drawAt(QPainter &painter, qreal y, qreal height) const
{
    pAttributes.drawWrapped(painter, QRectF(0, y + fPaddingTop, szPage.width(), height), strText);
}

// --- PrintViewItem_GridRow -----------------------------------------------------------------------

PrintViewItem_GridRow::PrintViewItem_GridRow(
    const QStringList &items, const QList<qreal> &widths,
    const QList<PrintTextAttributes> &attributes,
    const std::shared_ptr<PrintViewItem_GridRow> &captionRow)
    : pItems(items), pWidths(widths), pAttributesArray(attributes), pCaptionRow(captionRow)
{
    prepare();
}

void PrintViewItem_GridRow::prepare()
{
    fHeight = 0;
    const qsizetype cells = std::min({pItems.size(), pWidths.size(), pAttributesArray.size()});
    for (qsizetype i = 0; i < cells; ++i) {
        const qreal h =
            pAttributesArray.at(i).wrappedHeight(pItems.at(i), pWidths.at(i) - 10, kMaxCellHeight);
        fHeight = std::max(fHeight, h);
    }
}

void PrintViewItem_GridRow::drawAt(QPainter &painter, qreal y, qreal height) const
{
    painter.save();
    QPen grid(QColor::fromRgbF(2.0 / 3, 2.0 / 3, 2.0 / 3)); // light grey
    grid.setWidthF(0.3);
    const qsizetype cells = std::min({pItems.size(), pWidths.size(), pAttributesArray.size()});
    qreal x = 0;
    for (qsizetype i = 0; i < cells; ++i) {
        const qreal w = pWidths.at(i);
        painter.setPen(grid);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(x, y, w, height));
        pAttributesArray.at(i).drawWrapped(painter, QRectF(x + 5, y + 2.5, w - 10, height - 5),
                                           pItems.at(i));
        x += w;
    }
    painter.restore();
}

// --- GridOfPrintViewItems ------------------------------------------------------------------------

GridOfPrintViewItems::GridOfPrintViewItems(const QSizeF &pageSize, qreal fontSize)
    : szPage(pageSize), fFontSize(fontSize)
{}

bool GridOfPrintViewItems::addColumnWithTitle(const QString &title, qreal width)
{
    Q_ASSERT_X(pRows.isEmpty(), "src/PrintViewItem", "Can't add column to non-empty grid");
    Q_ASSERT_X(!title.isNull(), "src/PrintViewItem", "Can't add empty title");
    if (!pRows.isEmpty() || title.isNull())
        return false;
    pColumns.append(Column{title, width});
    return true;
}

bool GridOfPrintViewItems::addRow(const QStringList &row)
{
    Q_ASSERT_X(row.size() == pColumns.size(), "src/PrintViewItem",
               "Number of items in row doesn't match number of columns");
    if (row.size() != pColumns.size())
        return false;
    pRows.append(row);
    return true;
}

bool GridOfPrintViewItems::addRows(const QList<QStringList> &rows)
{
    for (const QStringList &row : rows) {
        if (!addRow(row))
            return false;
    }
    return true;
}

PrintTextAttributes GridOfPrintViewItems::textAttributes() const
{
    return PrintTextAttributes(PrintTextAttributes::userFontOfSize(fFontSize, false));
}

PrintTextAttributes GridOfPrintViewItems::headerAttributes() const
{
    return PrintTextAttributes(PrintTextAttributes::userFontOfSize(fFontSize, true));
}

qreal GridOfPrintViewItems::maxWidthForColumn(int column, const PrintTextAttributes &attrsTitle,
                                              const PrintTextAttributes &attrsText) const
{
    if (column < 0 || column >= pColumns.size())
        return 10;
    qreal m = attrsTitle.singleLineWidth(pColumns.at(column).title);
    for (const QStringList &row : pRows)
        m = std::max(m, attrsText.singleLineWidth(row.at(column)));
    return m + 10;
}

QList<qreal> GridOfPrintViewItems::columnWidths() const
{
    const PrintTextAttributes text = textAttributes();
    const PrintTextAttributes header = headerAttributes();
    const qreal minimum = minimumColumnWidth();

    QList<qreal> widths(pColumns.size(), 0);
    qreal fixedTotal = 0;
    int automatic = 0;
    for (int i = 0; i < pColumns.size(); ++i) {
        const qreal bound = pColumns.at(i).width;
        if (bound != 0) {
            widths[i] = std::min(bound, maxWidthForColumn(i, header, text));
            fixedTotal += widths[i];
        } else {
            ++automatic;
        }
    }
    if (automatic == 0)
        return widths;

    // When the fixed columns leave the automatic ones less than the minimum each, the fixed
    // columns wider than the minimum give up width in proportion to their excess, down to the
    // minimum at most; should even that not suffice, the table runs past the content width rather
    // than give any column a width nobody can read.
    qreal share = (szPage.width() - fixedTotal) / automatic;
    if (share < minimum) {
        const qreal need = fixedTotal - (szPage.width() - automatic * minimum);
        qreal excess = 0;
        for (int i = 0; i < pColumns.size(); ++i) {
            if (pColumns.at(i).width != 0 && widths.at(i) > minimum)
                excess += widths.at(i) - minimum;
        }
        if (excess > 0) {
            const qreal factor = std::min<qreal>(1, need / excess);
            fixedTotal = 0;
            for (int i = 0; i < pColumns.size(); ++i) {
                if (pColumns.at(i).width == 0)
                    continue;
                if (widths.at(i) > minimum)
                    widths[i] -= (widths.at(i) - minimum) * factor;
                fixedTotal += widths.at(i);
            }
        }
        share = std::max(minimum, (szPage.width() - fixedTotal) / automatic);
    }
    for (int i = 0; i < pColumns.size(); ++i) {
        if (pColumns.at(i).width == 0)
            widths[i] = share;
    }
    return widths;
}

QList<PrintViewItemPtr> GridOfPrintViewItems::printViewItems() const
{
    const QList<qreal> widths = columnWidths();
    QStringList titles;
    titles.reserve(pColumns.size());
    for (const Column &column : pColumns)
        titles.append(column.title);

    const QList<PrintTextAttributes> headerStyles(pColumns.size(), headerAttributes());
    const QList<PrintTextAttributes> textStyles(pColumns.size(), textAttributes());

    QList<PrintViewItemPtr> items;
    items.reserve(pRows.size() + 1);
    const auto header = PrintViewItem::rowWithItems(titles, widths, headerStyles, nullptr);
    items.append(header);
    for (const QStringList &row : pRows)
        items.append(PrintViewItem::rowWithItems(row, widths, textStyles, header));
    return items;
}

// --- PrintViewItem_Chart -------------------------------------------------------------------------

PrintViewItem_Chart::PrintViewItem_Chart(const ChartDataSource *source, const QSizeF &pageSize)
    : pChartDataSource(source), szPage(pageSize)
{}

void PrintViewItem_Chart::drawAt(QPainter &painter, qreal y, qreal height) const
{
    const qreal width = szPage.width();
    if (!drawsTurned(height)) {
        ChartPainter::drawChartUsingSource(painter, pChartDataSource, QRectF(0, y, width, height),
                                           true);
        return;
    }
    // Turned a quarter turn so that the chart's long side runs down the page: a point at offset
    // (dx, dy) from the centre goes to (dy, -dx). The time axis comes to lie along the right
    // side, earliest dates at the bottom; the sheet is read turned clockwise.
    const QPointF centre(width / 2, y + height / 2);
    painter.save();
    painter.translate(centre);
    painter.rotate(-90);
    painter.translate(-centre);
    ChartPainter::drawChartUsingSource(
        painter, pChartDataSource,
        QRectF(centre.x() - height / 2, centre.y() - width / 2, height, width), true);
    painter.restore();
}
