#include "PrintView.h"

#include "ArrayFormatter.h"
#include "AverageFormatter.h"
#include "AverageIntFormatter.h"
#include "ChartDataSource.h"
#include "DateFormatter.h"
#include "HomeSummary.h"
#include "MyDocument.h"
#include "NumberFormatter.h"
#include "Preferences.h"
#include "PressureClassification.h"
#include "PressureFormatter.h"
#include "ReadingValues.h"
#include "TimeFormatter.h"

#include <QLocale>
#include <QPageRanges>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QSaveFile>
#include <QtGlobal>

#include <algorithm>

namespace {

constexpr qreal kTitleFontSize = 16;
constexpr qreal kTitlePaddingBottom = 5;
constexpr qreal kGapHeight = 20;
constexpr qreal kHeaderFontSize = 8.5;
constexpr qreal kHeaderPadding = 8;

// The height of one line of the page header and footer.
qreal headerLineHeight()
{
    const PrintTextAttributes attributes(PrintTextAttributes::userFontOfSize(kHeaderFontSize));
    return attributes.wrappedHeight(QStringLiteral("Ag"), 1e6, 1e6);
}

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
        all << QStringLiteral("showDeviationsInAverages") << QStringLiteral("printHomeSummary")
            << QStringLiteral("homeSummaryDays") << QStringLiteral("homeMorningFrom")
            << QStringLiteral("homeMorningTo") << QStringLiteral("homeEveningFrom")
            << QStringLiteral("homeEveningTo") << QStringLiteral("homeThresholdSystolic")
            << QStringLiteral("homeThresholdDiastolic") << QStringLiteral("printPageHeader")
            << QStringLiteral("personName") << QStringLiteral("classificationScheme");
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
    QSizeF content = contentSize();
    const qreal fontSize = tableFontSize(rowSize);
    // A header and footer take their height off every page's room for blocks.
    fHeaderHeight = fFooterHeight = 0;
    if (pref("printPageHeader") && hasContentArea()) {
        const qreal line = headerLineHeight();
        fHeaderHeight = 2 * line + kHeaderPadding;
        fFooterHeight = line + kHeaderPadding;
        if (content.height() > 2 * (fHeaderHeight + fFooterHeight))
            content.setHeight(content.height() - fHeaderHeight - fFooterHeight);
        else
            fHeaderHeight = fFooterHeight = 0; // too little room: the pages go without
    }
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

    if (pref("printHomeSummary"))
        appendHomeSummary(content, fontSize);

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
        const auto scheme = PressureClassification::schemeFromPreferences();
        if (scheme != PressureClassification::Scheme::None)
            grid.addColumnWithTitle(
                qtTrId("print.columns.Class").arg(PressureClassification::schemeName(scheme)), 110);
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
    if (fHeaderHeight > 0) {
        for (QRectF &rect : pPrintViewItemRects) {
            if (!rect.isNull())
                rect.translate(0, fHeaderHeight);
        }
    }
    emit refreshed();
}

void PrintView::setFilterName(const QString &name)
{
    strFilterName = name; // the header's height stays: nothing to lay out again
}

QRectF PrintView::headerRect(int page) const
{
    if (fHeaderHeight <= 0)
        return QRectF();
    return QRectF(0, rectForPage(page).top(), contentSize().width(), fHeaderHeight);
}

QRectF PrintView::footerRect(int page) const
{
    if (fFooterHeight <= 0)
        return QRectF();
    return QRectF(0, rectForPage(page).top() + contentSize().height() - fFooterHeight,
                  contentSize().width(), fFooterHeight);
}

QStringList PrintView::headerLines() const
{
    QString first = qtTrId("print.header.title");
    const QString name = Preferences::shared().stringForKey(Preferences::personName).trimmed();
    if (!name.isEmpty())
        first += QStringLiteral(" \u2014 ") + name;
    QStringList second;
    double earliest = qInf(), latest = -qInf();
    for (const ConstMeasurementPtr &reading : pItems) {
        const double seconds = reading->theWholeDate().timeIntervalSinceReferenceDate();
        earliest = std::min(earliest, seconds);
        latest = std::max(latest, seconds);
    }
    if (earliest <= latest) {
        const QLocale locale;
        //: %1 and %2 are the dates of the first and the last printed reading
        second.append(
            qtTrId("print.header.period")
                .arg(locale.toString(Date(earliest).toDateTime().date(), QLocale::ShortFormat),
                     locale.toString(Date(latest).toDateTime().date(), QLocale::ShortFormat)));
    }
    if (!strFilterName.isEmpty())
        second.append(qtTrId("print.header.filter").arg(strFilterName));
    return {first, second.join(QStringLiteral("   \u00b7   "))};
}

QStringList PrintView::footerLines(int page) const
{
    const QLocale locale;
    return {qtTrId("print.footer.printed")
                .arg(locale.toString(Date::now().toDateTime().date(), QLocale::ShortFormat)),
            //: %1 is the page, %2 the number of pages
            qtTrId("print.footer.page").arg(page).arg(nTotalPages)};
}

void PrintView::drawHeaderAndFooter(QPainter &painter, int page) const
{
    const PrintTextAttributes plain(PrintTextAttributes::userFontOfSize(kHeaderFontSize));
    const PrintTextAttributes bold(PrintTextAttributes::userFontOfSize(kHeaderFontSize, true));
    const qreal line = headerLineHeight();
    // Each text gets one line: a box of a line and a half holds one line and never two.
    const qreal box = line * 1.5;
    const QRectF header = headerRect(page), footer = footerRect(page);
    const QStringList lines = headerLines();
    bold.drawWrapped(painter, QRectF(header.left(), header.top(), header.width(), box),
                     lines.at(0));
    plain.drawWrapped(painter, QRectF(header.left(), header.top() + line, header.width(), box),
                      lines.at(1));
    painter.save();
    painter.setPen(QPen(QColor(160, 160, 160), 0.5));
    const qreal below = header.bottom() - kHeaderPadding / 2;
    painter.drawLine(QPointF(header.left(), below), QPointF(header.right(), below));
    const qreal above = footer.top() + kHeaderPadding / 2;
    painter.drawLine(QPointF(footer.left(), above), QPointF(footer.right(), above));
    painter.restore();
    const QStringList foot = footerLines(page);
    const qreal top = footer.bottom() - line;
    plain.drawWrapped(painter, QRectF(footer.left(), top, footer.width() / 2, box), foot.at(0));
    const qreal pageWidth = plain.singleLineWidth(foot.at(1)) + 1;
    plain.drawWrapped(painter, QRectF(footer.right() - pageWidth, top, pageWidth, box), foot.at(1));
}

void PrintView::appendHomeSummary(const QSizeF &content, qreal fontSize)
{
    const HomeSummary summary = HomeSummary::compute(pItems);
    if (!pPrintViewItems.isEmpty())
        pPrintViewItems.append(PrintViewItem::spaceOfHeight(kGapHeight));
    appendTitle(QStringLiteral("summary.title"), content);
    if (summary.hasPeriod()) {
        pPrintViewItems.append(PrintViewItem::textItemWithText(
            summary.periodText() + u'\n' + summary.countedText(), fontSize, false, 0, 4, content));
        GridOfPrintViewItems grid(content, fontSize);
        for (const QString &title : HomeSummary::columnTitles())
            grid.addColumnWithTitle(title, 0);
        QList<QStringList> rows;
        for (int part = 0; part < HomeSummary::PartCount; ++part)
            rows.append(summary.rowTexts(HomeSummary::Part(part)));
        grid.addRows(rows);
        pPrintViewItems.append(grid.printViewItems());
    }
    pPrintViewItems.append(
        PrintViewItem::textItemWithText(summary.verdictText(), fontSize, true, 4, 2, content));
    pPrintViewItems.append(PrintViewItem::textItemWithText(qtTrId("summary.note"), fontSize * 0.85,
                                                           false, 0, 0, content));
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
    if (fHeaderHeight > 0) {
        // Blocks stay between the header and the footer, even one that runs past.
        painter.save();
        const QRectF header = headerRect(page), footer = footerRect(page);
        painter.setClipRect(QRectF(pageRect.left(), header.bottom(), pageRect.width(),
                                   footer.top() - header.bottom()),
                            Qt::IntersectClip);
    }
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
    if (fHeaderHeight > 0) {
        painter.restore();
        drawHeaderAndFooter(painter, page);
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
    const auto scheme = PressureClassification::schemeFromPreferences();

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
        if (scheme != PressureClassification::Scheme::None) {
            const QVariant systolic = reading->Systolic(), diastolic = reading->Diastolic();
            row.append(orBlank(systolic.isValid() && diastolic.isValid()
                                   ? PressureClassification::category(scheme, systolic.toDouble(),
                                                                      diastolic.toDouble())
                                   : QString()));
        }
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
    PrintView view(document.printSettings().pageLayout(), readings, document.averages(),
                   document.information(), &chart);
    if (document.filter())
        view.setFilterName(document.filter()->name());
    return view.writePdf(fileName, errorMessage);
}
