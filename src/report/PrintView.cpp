#include "PrintView.h"

#include "ArrayFormatter.h"
#include "AverageFormatter.h"
#include "AverageIntFormatter.h"
#include "ChartDataSource.h"
#include "DateFormatter.h"
#include "MyDocument.h"
#include "NumberFormatter.h"
#include "Preferences.h"
#include "PressureFormatter.h"
#include "ReadingValues.h"
#include "TimeFormatter.h"

#include <QPageRanges>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QtGlobal>

#include <algorithm>

namespace {

constexpr qreal kTitleFontSize = 16;
constexpr qreal kTitlePaddingBottom = 5;
constexpr qreal kGapHeight = 20;

// Every text that comes out missing is printed as a single blank.
QString orBlank(const QString &text)
{
    return text.isEmpty() ? QStringLiteral(" ") : text;
}

bool pref(const char *key)
{
    return Preferences::shared().boolForKey(QLatin1String(key));
}

// The values the preferences show, in table order.
QList<const ReadingValue *> shownValues()
{
    QList<const ReadingValue *> shown;
    for (const ReadingValue &value : ReadingValues::kAll) {
        if (ReadingValues::isShown(value))
            shown.append(&value);
    }
    return shown;
}

// A value's column title: its own text, or the user's title itself, never a null title (which
// the grid refuses), so that the column is there whatever the preference holds.
QString columnTitle(const ReadingValue &value)
{
    if (value.printTitleId)
        return qtTrId(value.printTitleId);
    const QString title = ReadingValues::userTitle(value);
    return title.isNull() ? QString(QLatin1String("")) : title;
}

} // namespace

PrintView::PrintView(const QPageLayout &printInfo, const ConstMeasurementList &items,
                     const QList<AveragePtr> &averages, const InformationList &information,
                     const ChartDataSource *chartSource, QObject *parent)
    : QObject(parent), printInfo(printInfo), pItems(items), pAverages(averages),
      pInformation(information), pChartSource(chartSource)
{
    connect(&Preferences::shared(), &Preferences::changed, this, &PrintView::onPreferenceChanged);
    refresh();
}

PrintView::~PrintView() = default;

const QStringList &PrintView::observedKeys()
{
    static const QStringList keys = [] {
        QStringList all = {
            QStringLiteral("printShowAverages"),
            QStringLiteral("printShowChart"),
            QStringLiteral("printShowMeasurements"),
            QStringLiteral("printShowInformation"),
            QStringLiteral("rowSize"),
        };
        for (const ReadingValue &value : ReadingValues::kAll) {
            if (!value.showKey.isEmpty())
                all.append(value.showKey);
        }
        for (const ReadingValue &value : ReadingValues::kAll) {
            if (!value.titleKey.isEmpty())
                all.append(value.titleKey);
        }
        all.append(QStringLiteral("showDeviationsInAverages"));
        return all;
    }();
    return keys;
}

void PrintView::onPreferenceChanged(const QString &key)
{
    if (observedKeys().contains(key))
        refresh();
}

qreal PrintView::tableFontSize(int rowSize)
{
    switch (rowSize) {
    case 0:
        return 11;
    case 2:
        return 8;
    default:
        return 9.5;
    }
}

QSizeF PrintView::paperSize() const
{
    return printInfo.fullRect(QPageLayout::Point).size();
}

QSizeF PrintView::contentSize() const
{
    const QSizeF paper = paperSize();
    const QMarginsF margins = printInfo.margins(QPageLayout::Point);
    return QSizeF(paper.width() - margins.left() - margins.right(),
                  paper.height() - margins.top() - margins.bottom());
}

bool PrintView::hasContentArea() const
{
    const QSizeF content = contentSize();
    return printInfo.isValid() && content.width() > 0 && content.height() > 0;
}

QRectF PrintView::frame() const
{
    const QSizeF paper = paperSize();
    return QRectF(0, 0, paper.width(), nTotalPages * paper.height());
}

QRectF PrintView::rectForPage(int page) const
{
    const QSizeF paper = paperSize();
    return QRectF(0, (page - 1) * paper.height(), paper.width(), paper.height());
}

void PrintView::appendTitle(const QString &key, const QSizeF &content)
{
    pPrintViewItems.append(PrintViewItem::textItemWithText(
        qtTrId(key.toUtf8().constData()), kTitleFontSize, true, 0, kTitlePaddingBottom, content));
}

void PrintView::refresh()
{
    pPrintViewItems.clear();
    pPrintViewItemRects.clear();
    pFirstItemOfPage.clear();

    const QList<const ReadingValue *> shown = shownValues();
    const int rowSize = Preferences::shared().integerForKey(QStringLiteral("rowSize"));
    const QSizeF content = contentSize();
    const qreal fontSize = tableFontSize(rowSize);
    if (!hasContentArea()) {
        // Margins that leave no room would put every block on a page of its own; there is
        // nothing to lay out, and printing is refused.
        nTotalPages = 1;
        pFirstItemOfPage = {0};
        emit refreshed();
        return;
    }

    // Information: a table without its header row, left out when no item is printed.
    if (pref("printShowInformation")) {
        GridOfPrintViewItems grid(content, fontSize);
        grid.addColumnWithTitle(qtTrId("print.columns.Label"), 150);
        grid.addColumnWithTitle(qtTrId("print.columns.Value"), 0);
        grid.addRows(rowsForInformation());
        const QList<PrintViewItemPtr> blocks = grid.printViewItems();
        if (blocks.size() > 1) {
            blocks.first()->setHidden(true);
            appendTitle(QStringLiteral("print.Information"), content);
            pPrintViewItems.append(blocks);
        }
    }

    if (pref("printShowAverages")) {
        if (!pPrintViewItems.isEmpty())
            pPrintViewItems.append(PrintViewItem::spaceOfHeight(kGapHeight));
        appendTitle(QStringLiteral("print.Averages"), content);
        GridOfPrintViewItems grid(content, fontSize);
        grid.addColumnWithTitle(qtTrId("print.columns.Filter"), 0);
        for (const ReadingValue *value : shown)
            grid.addColumnWithTitle(columnTitle(*value), 0);
        grid.addRows(rowsForAverages());
        pPrintViewItems.append(grid.printViewItems());
    }

    if (pref("printShowMeasurements")) {
        if (!pPrintViewItems.isEmpty())
            pPrintViewItems.append(PrintViewItem::spaceOfHeight(kGapHeight));
        appendTitle(QStringLiteral("print.Readings"), content);
        GridOfPrintViewItems grid(content, fontSize);
        grid.addColumnWithTitle(qtTrId("print.columns.Date"), 100);
        grid.addColumnWithTitle(qtTrId("print.columns.Time"), 70);
        // The values every reading has share the pressure column; the optional ones have their
        // own.
        grid.addColumnWithTitle(qtTrId("print.columns.Pressure"), 150);
        for (const ReadingValue *value : shown) {
            if (value->presence == ReadingValue::Presence::Optional)
                grid.addColumnWithTitle(columnTitle(*value), 100);
        }
        grid.addColumnWithTitle(qtTrId("print.columns.Tags"), 200);
        grid.addColumnWithTitle(qtTrId("print.columns.Comments"), 0);
        grid.addRows(rowsForReadings());
        pPrintViewItems.append(grid.printViewItems());
    }

    // The chart, one content height tall, takes a page of its own; no gap before it.
    if (pref("printShowChart"))
        pPrintViewItems.append(PrintViewItem::chartItemWithSource(pChartSource, content));

    Pagination pagination = paginate(pPrintViewItems, content, paperSize().height());
    pPrintViewItems = std::move(pagination.items);
    pPrintViewItemRects = std::move(pagination.rects);
    pFirstItemOfPage = std::move(pagination.firstItemOfPage);
    nTotalPages = pagination.totalPages;
    emit refreshed();
}

PrintView::Pagination PrintView::paginate(const QList<PrintViewItemPtr> &blocks,
                                          const QSizeF &contentSize, qreal paperHeight)
{
    Pagination result;
    result.items.reserve(blocks.size());
    result.rects.reserve(blocks.size());
    result.firstItemOfPage.append(0);

    const qreal width = contentSize.width();
    const qreal contentHeight = contentSize.height();
    qreal y = 0;
    qreal room = contentHeight;
    bool pageIsEmpty = true;
    for (const PrintViewItemPtr &block : blocks) {
        if (block->isHidden()) {
            result.items.append(block);
            result.rects.append(QRectF());
            continue;
        }
        qreal h = block->height();
        // A block taller than a whole page goes on the page it meets when nothing is on that
        // page yet, rather than leave a blank page behind; like any block it then runs past.
        if (h > room && !pageIsEmpty) {
            if (block->canBeTruncated() && room >= kGapHeight) {
                h = room; // a gap is cut to fill the page
            } else {
                y = result.totalPages * paperHeight;
                ++result.totalPages;
                result.firstItemOfPage.append(result.items.size());
                room = contentHeight;
                const auto caption = block->captionRow();
                if (caption && !caption->isHidden()) {
                    const qreal captionHeight = caption->height();
                    result.items.append(caption);
                    result.rects.append(QRectF(0, y, width, captionHeight));
                    y += captionHeight;
                    room = contentHeight - captionHeight;
                }
            }
        }
        result.items.append(block);
        result.rects.append(QRectF(0, y, width, h));
        y += h;
        room -= h;
        pageIsEmpty = false;
    }
    return result;
}

void PrintView::drawRect(QPainter &painter, const QRectF &rect) const
{
    for (qsizetype i = 0; i < pPrintViewItems.size(); ++i) {
        const QRectF &r = pPrintViewItemRects.at(i);
        if (!pPrintViewItems.at(i)->isHidden() && r.intersects(rect))
            pPrintViewItems.at(i)->drawAt(painter, r.y(), r.height());
    }
}

void PrintView::drawPage(QPainter &painter, int page) const
{
    if (page < 1 || page > nTotalPages)
        return;
    const QRectF pageRect = rectForPage(page);
    painter.save();
    painter.translate(0, -pageRect.top());
    painter.setClipRect(pageRect, Qt::IntersectClip);
    // A block that ran past the foot of an earlier page may reach into this one.
    qsizetype first = pFirstItemOfPage.value(page - 1, 0);
    while (first > 0 && (pPrintViewItems.at(first - 1)->isHidden() ||
                         pPrintViewItemRects.at(first - 1).bottom() > pageRect.top()))
        --first;
    for (qsizetype i = first; i < pPrintViewItems.size(); ++i) {
        const QRectF &r = pPrintViewItemRects.at(i);
        if (pPrintViewItems.at(i)->isHidden())
            continue;
        if (r.top() >= pageRect.bottom())
            break;
        if (r.intersects(pageRect))
            pPrintViewItems.at(i)->drawAt(painter, r.y(), r.height());
    }
    painter.restore();
}

void PrintView::setPageLayout(const QPageLayout &layout)
{
    if (layout == printInfo)
        return;
    printInfo = layout;
    refresh();
}

bool PrintView::printTo(QPagedPaintDevice &device, QString *errorMessage)
{
    setPageLayout(device.pageLayout());
    if (!hasContentArea()) {
        if (errorMessage)
            *errorMessage = qtTrId("print.error.page_layout");
        return false;
    }
    const QPageRanges ranges = device.pageRanges();
    QList<int> pages;
    for (int page = 1; page <= nTotalPages; ++page) {
        if (ranges.isEmpty() || ranges.contains(page))
            pages.append(page);
    }
    if (pages.isEmpty()) {
        if (errorMessage)
            //: %1 is the number of pages of the report
            *errorMessage = qtTrId("print.error.page_range").arg(nTotalPages);
        return false;
    }
    return printPages(device, pages, errorMessage);
}

bool PrintView::printPages(QPagedPaintDevice &device, const QList<int> &pages,
                           QString *errorMessage) const
{
    QPainter painter;
    if (!painter.begin(&device)) {
        if (errorMessage)
            *errorMessage = qtTrId("print.error.device");
        return false;
    }
    // Everything is drawn in points, whatever the device's resolution.
    const qreal scaleX = device.logicalDpiX() / 72.0, scaleY = device.logicalDpiY() / 72.0;
    if (!qFuzzyCompare(scaleX, 1.0) || !qFuzzyCompare(scaleY, 1.0))
        painter.scale(scaleX, scaleY);
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            if (errorMessage)
                *errorMessage = qtTrId("print.error.device");
            return false;
        }
        drawPage(painter, pages.at(i));
    }
    return painter.end();
}

bool PrintView::writePdf(const QString &fileName, QString *errorMessage) const
{
    if (!hasContentArea()) {
        if (errorMessage)
            *errorMessage =
                qtTrId("print.error.pdf_write").arg(fileName, qtTrId("print.error.page_layout"));
        return false;
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (errorMessage)
            *errorMessage = qtTrId("print.error.pdf_open").arg(fileName, file.errorString());
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setCreator(qtTrId("app.name"));
        writer.setTitle(qtTrId("print.pdf_title"));
        QString reason;
        QList<int> pages;
        for (int page = 1; page <= nTotalPages; ++page)
            pages.append(page);
        if (!writer.setPageLayout(printInfo))
            reason = qtTrId("print.error.page_layout");
        if (!reason.isEmpty() || !printPages(writer, pages, &reason)) {
            file.cancelWriting();
            if (errorMessage)
                *errorMessage = qtTrId("print.error.pdf_write").arg(fileName, reason);
            return false;
        }
    }
    if (!file.commit()) {
        if (errorMessage)
            *errorMessage = qtTrId("print.error.pdf_write").arg(fileName, file.errorString());
        return false;
    }
    return true;
}

QList<QStringList> PrintView::rowsForInformation() const
{
    QList<QStringList> rows;
    for (const InformationItemPtr &item : pInformation) {
        if (!item || !item->isPrinted())
            continue;
        const QVariant name = item->valueForKey(InformationItem::kName);
        const QVariant value = item->valueForKey(InformationItem::kValue);
        rows.append({name.isValid() ? name.toString() : QStringLiteral("-"),
                     value.isValid() ? value.toString() : QStringLiteral("-")});
    }
    return rows;
}

QList<QStringList> PrintView::rowsForAverages() const
{
    const QList<const ReadingValue *> shown = shownValues();
    const auto wholeFormatter = AverageIntFormatter::formatter();
    const auto decimalFormatter = AverageFormatter::formatter();

    QList<QStringList> rows;
    rows.reserve(pAverages.size());
    for (const AveragePtr &average : pAverages) {
        if (!average)
            continue;
        QStringList row;
        row.reserve(shown.size() + 1);
        row.append(orBlank(average->name()));
        for (const ReadingValue *value : shown) {
            const Formatter &formatter = value->format == ReadingValue::Format::Whole
                                             ? static_cast<const Formatter &>(*wholeFormatter)
                                             : static_cast<const Formatter &>(*decimalFormatter);
            row.append(orBlank(
                formatter.stringForObjectValue(QVariant::fromValue(average->item(value->name)))));
        }
        rows.append(row);
    }
    return rows;
}

QList<QStringList> PrintView::rowsForReadings() const
{
    QList<const ReadingValue *> columns;
    for (const ReadingValue *value : shownValues()) {
        if (value->presence == ReadingValue::Presence::Optional)
            columns.append(value);
    }

    const auto dateFormatter = DateFormatter::formatter();
    const auto timeFormatter = TimeFormatter::formatter();
    const auto tagsFormatter = ArrayFormatter::formatter();
    NumberFormatter wholeNumbers;
    wholeNumbers.setNumberStyle(NumberFormatter::Style::None);
    wholeNumbers.setMaximumFractionDigits(0);
    wholeNumbers.setNilSymbol(QString());
    NumberFormatter decimals;
    decimals.setNumberStyle(NumberFormatter::Style::Decimal);
    decimals.setNilSymbol(QString());

    QList<QStringList> rows;
    rows.reserve(pItems.size());
    for (const ConstMeasurementPtr &reading : pItems) {
        if (!reading)
            continue;
        QStringList row;
        row.reserve(10);
        const QVariant date = QVariant::fromValue(reading->theWholeDate());
        row.append(orBlank(dateFormatter->stringForObjectValue(date)));
        row.append(orBlank(timeFormatter->stringForObjectValue(date)));
        row.append(orBlank(PressureFormatter::stringForMeasurement(*reading)));
        for (const ReadingValue *value : std::as_const(columns)) {
            const NumberFormatter &formatter =
                value->format == ReadingValue::Format::Whole ? wholeNumbers : decimals;
            row.append(orBlank(formatter.stringFromNumber(reading->valueForKey(value->key))));
        }
        row.append(orBlank(tagsFormatter->stringForObjectValue(reading->Tags())));
        row.append(orBlank(reading->Comments()));
        rows.append(row);
    }
    return rows;
}

bool PrintView::writeDocumentReport(const MyDocument &document, const QString &fileName,
                                    QString *errorMessage)
{
    // The chart always runs from the oldest reading to the newest: the stored order.
    ChartDataSource chart;
    chart.setObjects(document.items());
    ConstMeasurementList readings = document.items();
    if (!document.sortItemsAscending())
        std::reverse(readings.begin(), readings.end());
    const PrintView view(document.printSettings().pageLayout(), readings, document.averages(),
                         document.information(), &chart);
    return view.writePdf(fileName, errorMessage);
}
