#include "Average.h"
#include "ChartDataSource.h"
#include "ChartPainter.h"
#include "Filter.h"
#include "HomeSummary.h"
#include "InformationItem.h"
#include "MyDocument.h"
#include "Preferences.h"
#include "PrintSettings.h"
#include "PrintView.h"
#include "PrintViewItem.h"
#include "TestHelpers.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <optional>

namespace {

QImage blankImage(int width, int height, int dpi = 72)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    return image;
}

// The block drawn at `y` with `height` on white paper of the given size.
QImage drawn(const PrintViewItemPtr &item, int width, int paperHeight, qreal y, qreal height)
{
    QImage image = blankImage(width, paperHeight);
    QPainter painter(&image);
    item->drawAt(painter, y, height);
    return image;
}

// The rightmost column holding a pixel darker than the grey of the grid lines, or -1.
int rightmostInk(const QImage &image)
{
    for (int x = image.width() - 1; x >= 0; --x) {
        for (int y = 0; y < image.height(); ++y) {
            if (qGray(image.pixel(x, y)) < 100)
                return x;
        }
    }
    return -1;
}

qreal lineHeight(const PrintTextAttributes &style)
{
    return style.wrappedHeight(u"Xg"_s, 1000, 1000);
}

// A block of a given height, for the pagination cases.
class FixedBlock : public PrintViewItem
{
public:
    explicit FixedBlock(qreal height) : fHeight(height) {}
    qreal height() const override { return fHeight; }

private:
    qreal fHeight;
};

PrintViewItemPtr fixedBlock(qreal height)
{
    return std::make_shared<FixedBlock>(height);
}

// Adds the columns, titles and widths (0: automatic); false when the grid refused one.
bool addColumns(GridOfPrintViewItems &grid, const QList<std::pair<QString, qreal>> &columns)
{
    for (const auto &[title, width] : columns)
        if (!grid.addColumnWithTitle(title, width))
            return false;
    return true;
}

constexpr qreal kPaperHeight = 842;
const QSizeF kContent(500, 700);

int pageOf(const QRectF &rect)
{
    return int(rect.top() / kPaperHeight) + 1;
}

QRectF rectOf(const PrintView::Pagination &pagination, const PrintViewItemPtr &item)
{
    const qsizetype i = pagination.items.indexOf(item);
    return i < 0 ? QRectF(-1, -1, -1, -1) : pagination.rects.at(i);
}

// A4 portrait with margins of half an inch: a content area of 523 x 770 points.
QPageLayout a4(QPageLayout::Orientation orientation = QPageLayout::Portrait)
{
    return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(36, 36, 36, 36),
                       QPageLayout::Point);
}

MeasurementPtr reading(int day, int hour, int systolic, int diastolic)
{
    return Measurement::create(Date::fromComponents(2024, 3, day, hour, 15), systolic, diastolic);
}

ConstMeasurementList someReadings(int count)
{
    ConstMeasurementList list;
    for (int i = 0; i < count; ++i) {
        auto r = reading(1 + i % 28, 6 + i % 12, 110 + i % 40, 70 + i % 20);
        r->setPulse(qlonglong(60 + i % 20));
        list.append(r);
    }
    return list;
}

void setPref(const char *key, const QVariant &value)
{
    QVERIFY(Preferences::shared().setValueForKey(value, QLatin1String(key)));
}

void showSections(bool information, bool averages, bool readings, bool chart)
{
    setPref("printShowInformation", information);
    setPref("printShowAverages", averages);
    setPref("printShowMeasurements", readings);
    setPref("printShowChart", chart);
}

// What a block is, for comparing section layouts: "title:TEXT", "header", "row", "gap", "chart".
QString kindOf(const PrintViewItemPtr &item)
{
    if (auto text = std::dynamic_pointer_cast<PrintViewItem_Text>(item))
        return u"title:"_s + text->text();
    if (auto row = std::dynamic_pointer_cast<PrintViewItem_GridRow>(item))
        return row->captionRow() ? u"row"_s : u"header"_s;
    if (std::dynamic_pointer_cast<PrintViewItem_Space>(item))
        return u"gap"_s;
    if (std::dynamic_pointer_cast<PrintViewItem_Chart>(item))
        return u"chart"_s;
    return u"?"_s;
}

QStringList kindsOf(const QList<PrintViewItemPtr> &items)
{
    QStringList kinds;
    for (const auto &item : items) {
        QString kind = kindOf(item);
        if (item->isHidden())
            kind += u"(hidden)"_s;
        if (kinds.isEmpty() || kinds.last() != kind || !kind.startsWith(QLatin1String("row")))
            kinds.append(kind);
    }
    return kinds; // runs of rows folded into one entry
}

// Runs a poppler tool; its standard output, or nothing when it failed.
std::optional<QString> runTool(const QString &program, const QStringList &arguments)
{
    const TestSupport::ProcessRun run = TestSupport::run(program, arguments);
    return run.exitCode == 0 ? std::optional(QString::fromUtf8(run.out)) : std::nullopt;
}

// Whether a dark line (the chart's grey axes) runs from a to b: every sampled point has a pixel
// darker than the light grid within one pixel.
bool hasLine(const QImage &image, QPointF a, QPointF b)
{
    for (int i = 0; i <= 50; ++i) {
        const QPointF p = a + (b - a) * (i / 50.0);
        bool found = false;
        for (int dx = -1; dx <= 1 && !found; ++dx) {
            for (int dy = -1; dy <= 1 && !found; ++dy) {
                const QPoint q(qRound(p.x()) + dx, qRound(p.y()) + dy);
                found = image.rect().contains(q) && qGray(image.pixel(q)) < 200;
            }
        }
        if (!found)
            return false;
    }
    return true;
}

// The view's block at `index` as a grid row, null when it is another kind of block.
std::shared_ptr<PrintViewItem_GridRow> gridRow(const PrintView &view, qsizetype index)
{
    return std::dynamic_pointer_cast<PrintViewItem_GridRow>(view.printViewItems().at(index));
}

// The pages of a PDF file, each as the text on it.
QStringList pdfPages(const QString &file)
{
    const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
    QStringList pages =
        runTool(pdftotext, {"-layout", file, "-"}).value_or(QString()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// The child side of gridMisuseIsAProgrammingError: returns 0 when the misuse was refused and the
// grid kept its state.
int runMisuse(const QString &misuse)
{
    GridOfPrintViewItems grid(QSizeF(500, 700), 11);
    addColumns(grid, {{"A", 0}, {"B", 0}});
    bool refused = false;
    if (misuse == QLatin1String("short-row")) {
        refused = !grid.addRow({u"1"_s});
    } else if (misuse == QLatin1String("long-row")) {
        grid.addRow({u"1"_s, u"2"_s});
        refused = !grid.addRows({{"3", "4"}, {"5", "6", "7"}});
        refused = refused && grid.rowCount() == 2;
    } else if (misuse == QLatin1String("late-column")) {
        grid.addRow({u"1"_s, u"2"_s});
        refused = !grid.addColumnWithTitle(u"C"_s, 0);
    } else if (misuse == QLatin1String("null-title")) {
        refused = !grid.addColumnWithTitle(QString(), 0);
    }
    const bool unchanged =
        grid.columnCount() == 2 && grid.printViewItems().size() == grid.rowCount() + 1;
    return refused && unchanged ? 0 : 1;
}

} // namespace

using TestSupport::row;

class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void fixedColumnTakesTextWidthPlusTenUpToItsBound()
    {
        GridOfPrintViewItems grid(QSizeF(500, 700), 11);
        QVERIFY(addColumns(grid, {{"N", 100}, {"Long", 100}, {"Rest", 0}}));
        const QString shortText = u"12345"_s;
        const QString longText = QStringLiteral(
            "a text much wider than one hundred points that has to wrap in its column");
        QVERIFY(grid.addRow({u"1"_s, longText, u"x"_s}));
        QVERIFY(grid.addRow({shortText, u"y"_s, u"z"_s}));

        const PrintTextAttributes text = grid.textAttributes();
        const PrintTextAttributes header = grid.headerAttributes();
        const qreal need = std::max(text.singleLineWidth(shortText), header.singleLineWidth("N"));
        QVERIFY(need > 20 && need < 60);
        QCOMPARE(grid.maxWidthForColumn(0, header, text), need + 10);

        const QList<PrintViewItemPtr> items = grid.printViewItems();
        QCOMPARE(items.size(), 3);
        auto row = std::dynamic_pointer_cast<PrintViewItem_GridRow>(items.at(1));
        QVERIFY(row);
        QCOMPARE(row->widths(), (QList<qreal>{need + 10, 100, 500 - (need + 10) - 100}));
        // The long text wraps within 90 points: more than one line, and each line fits.
        QCOMPARE(row->height(), text.wrappedHeight(longText, 90, 500) + 5);
        QVERIFY(row->height() > 2 * lineHeight(text));
    }

    void automaticColumnsShareTheRest()
    {
        GridOfPrintViewItems grid(QSizeF(500, 700), 9.5);
        const QString wide(60, QLatin1Char('W'));
        QVERIFY(addColumns(grid, {{"A", 60}, {"B", 0}, {"C", 140}, {"D", 0}}));
        grid.addRow({wide, u"b"_s, wide, u"d"_s});
        QCOMPARE(grid.columnWidths(), (QList<qreal>{60, 150, 140, 150}));
    }

    void gridWithoutRowsIsItsHeaderRow()
    {
        GridOfPrintViewItems grid(QSizeF(500, 700), 11);
        QVERIFY(addColumns(grid, {{"Label", 150}, {"Value", 0}}));
        const QList<PrintViewItemPtr> items = grid.printViewItems();
        QCOMPARE(items.size(), 1);
        auto header = std::dynamic_pointer_cast<PrintViewItem_GridRow>(items.at(0));
        QVERIFY(header);
        QVERIFY(!header->captionRow());
        QCOMPARE(header->items(), (QStringList{"Label", "Value"}));
        const qreal titleWidth = grid.headerAttributes().singleLineWidth(u"Label"_s) + 10;
        QCOMPARE(header->widths(), (QList<qreal>{titleWidth, 500 - titleWidth}));
        // The header is bold, the rows are not.
        QVERIFY(header->attributes().at(0).font().bold());
    }

    void columnsKeepAReadableMinimumWhenFixedOnesFillThePage()
    {
        GridOfPrintViewItems grid(QSizeF(300, 700), 11);
        const QString wide(80, QLatin1Char('W'));
        QVERIFY(addColumns(grid, {{"A", 200}, {"B", 200}, {"C", 0}, {"D", 0}}));
        grid.addRow({wide, wide, u"c"_s, u"d"_s});
        const QList<qreal> widths = grid.columnWidths();
        const qreal minimum = grid.minimumColumnWidth();
        qreal total = 0;
        for (qreal width : widths) {
            QVERIFY2(width >= minimum - 1e-9, qPrintable(QString::number(width)));
            total += width;
        }
        QCOMPARE(total, 300.0);
        QCOMPARE(widths.at(2), minimum);
        QCOMPARE(widths.at(0), widths.at(1));

        // Columns that cannot all have their minimum keep it and the table runs wider.
        GridOfPrintViewItems narrow(QSizeF(50, 700), 11);
        QVERIFY(addColumns(narrow, {{"A", 200}, {"B", 0}}));
        narrow.addRow({wide, u"b"_s});
        QCOMPARE(narrow.columnWidths(), (QList<qreal>{minimum, minimum}));
    }

    void rowIsAsTallAsItsTallestCell_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("lines");
        row("one word", u"Wordone"_s, 1);
        row("line breaks", u"Wordone\nWordtwo\r\nWordthree"_s, 3);
        row("wrapped words", u"Wordone Wordtwo Wordthree"_s, 3);
        row("long word broken", u"WordoneWordtwoWordthre"_s, 3);
    }

    void rowIsAsTallAsItsTallestCell()
    {
        QFETCH(QString, cell);
        QFETCH(int, lines);
        const PrintTextAttributes style(PrintTextAttributes::userFontOfSize(11));
        // A column just wide enough for the widest of the three words.
        const qreal textWidth = style.singleLineWidth(u"Wordthree"_s) + 1;
        QVERIFY(style.singleLineWidth(u"Wordone Wordtwo"_s) > textWidth);

        const auto row = PrintViewItem::rowWithItems({u"x"_s, cell}, {50, textWidth + 10},
                                                     {style, style}, nullptr);
        QCOMPARE(row->height(), lines * lineHeight(style) + 5);

        // The other cell is drawn in a cell of the full row height: its ruling reaches the bottom.
        const QImage image = drawn(row, 200, 120, 10, row->height());
        const int bottom = qFloor(10 + row->height());
        QVERIFY(qGray(image.pixel(25, bottom)) < 250);
        QCOMPARE(qGray(image.pixel(25, bottom + 3)), 255);
    }

    void cellTallerThanTheLimitIsMeasuredAtTheLimit()
    {
        const PrintTextAttributes style(PrintTextAttributes::userFontOfSize(11));
        const QString tall = QStringList(80, u"line"_s).join(QLatin1Char('\n'));
        QVERIFY(style.wrappedHeight(tall, 100, 10000) > 500);
        const auto row = PrintViewItem::rowWithItems({tall}, {110}, {style}, nullptr);
        QCOMPARE(row->height(), 505.0);
    }

    void rowsShareHeaderAndStyles()
    {
        GridOfPrintViewItems grid(QSizeF(500, 700), 8);
        QVERIFY(addColumns(grid, {{"A", 0}, {"", 0}})); // an empty title is accepted
        grid.addRows({{"1", "2"}, {"3", "4"}, {"5", "6"}});
        const QList<PrintViewItemPtr> items = grid.printViewItems();
        QCOMPARE(items.size(), 4);
        for (int i = 1; i < 4; ++i) {
            auto row = std::dynamic_pointer_cast<PrintViewItem_GridRow>(items.at(i));
            QCOMPARE(row->captionRow(), items.at(0));
            QCOMPARE(row->items().at(0), QString::number(2 * i - 1));
            QVERIFY(!row->attributes().at(1).font().bold());
            QCOMPARE(row->attributes().at(1).font().pointSizeF(), 8.0);
        }
    }

    void textBlockHeightIncludesPaddings()
    {
        const auto title =
            PrintViewItem::textItemWithText(u"Readings"_s, 16, true, 0, 5, QSizeF(523, 770));
        const PrintTextAttributes bold(PrintTextAttributes::userFontOfSize(16, true));
        QVERIFY(bold.font().bold());
        QCOMPARE(title->height(), lineHeight(bold) + 5);
        QVERIFY(!title->canBeTruncated());

        const auto padded =
            PrintViewItem::textItemWithText(u"Readings"_s, 16, true, 7, 3, QSizeF(523, 770));
        QCOMPARE(padded->height(), lineHeight(bold) + 10);
    }

    void wrappedTextStaysInsideItsBoxAtAnyResolution()
    {
        // Layouts are measured in points; drawn at 300 dpi through a scaled painter the text must
        // still end within the box it was measured for.
        const PrintTextAttributes style(PrintTextAttributes::userFontOfSize(11));
        const QString text = u"Morning reading after a walk, felt fine WWWWWWWWWWWWWWW"_s;
        const qreal width = 80;
        for (int dpi : {72, 300}) {
            const qreal scale = dpi / 72.0;
            QImage image = blankImage(qCeil(200 * scale), qCeil(200 * scale), dpi);
            QPainter painter(&image);
            painter.scale(scale, scale);
            style.drawWrapped(painter, QRectF(10, 10, width, 180), text);
            painter.end();
            const int right = rightmostInk(image);
            QVERIFY(right > 0);
            QVERIFY2(right / scale <= 10 + width + 1,
                     qPrintable(u"dpi %1: ink to %2"_s.arg(dpi).arg(right / scale)));
            QVERIFY(right / scale >= 10 + width - 25); // and it does use the width
        }
    }

    // Each case is run in a child process (this program with "--misuse NAME"), because in a debug
    // build a misuse of the grid stops the program with an assertion naming the source file.
    void gridMisuseIsAProgrammingError_data()
    {
        QTest::addColumn<QString>("misuse");
        QTest::addColumn<QString>("message");
        const char *mismatch = "Number of items in row doesn't match number of columns";
        row("row too short", "short-row", mismatch);
        row("row too long", "long-row", mismatch);
        row("column after row", "late-column", "Can't add column to non-empty grid");
        row("null title", "null-title", "Can't add empty title");
    }

    void gridMisuseIsAProgrammingError()
    {
        QFETCH(QString, misuse);
        QFETCH(QString, message);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {u"--misuse"_s, misuse});
        QVERIFY(child.waitForFinished(30000));
        const QString output = QString::fromUtf8(child.readAllStandardError());
#ifdef QT_NO_DEBUG
        // Release: the operation is refused and the grid is as it was.
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QVERIFY2(child.exitCode() == 0, qPrintable(output));
        Q_UNUSED(message);
#else
        QVERIFY(child.exitStatus() == QProcess::CrashExit || child.exitCode() != 0);
        QVERIFY2(output.contains(QLatin1String("src/PrintViewItem")), qPrintable(output));
        QVERIFY2(output.contains(message), qPrintable(output));
#endif
    }

    // Pagination

    void rowThatDoesNotFitStartsNextPageAfterHeaderCopy()
    {
        GridOfPrintViewItems grid(kContent, 11);
        QVERIFY(addColumns(grid, {{"Date", 100}, {"Comments", 0}}));
        for (int i = 0; i < 120; ++i)
            grid.addRow({QString::number(i), u"comment %1"_s.arg(i)});
        const QList<PrintViewItemPtr> table = grid.printViewItems();
        const auto title = PrintViewItem::textItemWithText(u"Readings"_s, 16, true, 0, 5, kContent);
        QList<PrintViewItemPtr> blocks{title};
        blocks += table;

        const PrintView::Pagination p = PrintView::paginate(blocks, kContent, kPaperHeight);
        QVERIFY(p.totalPages >= 3);
        QCOMPARE(p.firstItemOfPage.size(), p.totalPages);
        QCOMPARE(p.items.count(title), 1); // the title is not repeated
        QCOMPARE(p.items.count(table.first()), p.totalPages);
        for (int page = 2; page <= p.totalPages; ++page) {
            const qsizetype first = p.firstItemOfPage.at(page - 1);
            QCOMPARE(p.items.at(first), table.first());
            QCOMPARE(p.rects.at(first).top(), (page - 1) * kPaperHeight);
            // The row that did not fit follows the copy directly.
            QCOMPARE(p.rects.at(first + 1).top(), p.rects.at(first).bottom());
            // ... and it really did not fit: the page before ended with less room than it needs.
            const QRectF last = p.rects.at(first - 1);
            QVERIFY(last.bottom() - (page - 2) * kPaperHeight + p.items.at(first + 1)->height() >
                    kContent.height());
        }
        // Every data row once, in order, inside a page's content area.
        int next = 1;
        for (qsizetype i = 0; i < p.items.size(); ++i) {
            const QRectF r = p.rects.at(i);
            QVERIFY(r.bottom() - (pageOf(r) - 1) * kPaperHeight <= kContent.height() + 1e-9);
            QCOMPARE(r.width(), kContent.width());
            if (p.items.at(i) != title && p.items.at(i) != table.first())
                QCOMPARE(p.items.at(i), table.at(next++));
        }
        QCOMPARE(next, table.size());
    }

    void titleStaysAtThePageFoot()
    {
        const auto title = PrintViewItem::textItemWithText(u"Averages"_s, 16, true, 0, 5, kContent);
        GridOfPrintViewItems grid(kContent, 11);
        grid.addColumnWithTitle(u"Filter"_s, 0);
        grid.addRow({u"All"_s});
        const QList<PrintViewItemPtr> table = grid.printViewItems();
        // Room for the title and one point more, not for the header row.
        const auto filler = fixedBlock(kContent.height() - title->height() - 1);
        const PrintView::Pagination p =
            PrintView::paginate({filler, title, table.at(0), table.at(1)}, kContent, kPaperHeight);
        QCOMPARE(p.totalPages, 2);
        QCOMPARE(p.items.size(), 4); // the header moved, it is not copied
        QCOMPARE(rectOf(p, title), QRectF(0, filler->height(), 500, title->height()));
        QCOMPARE(rectOf(p, table.at(0)).top(), kPaperHeight);
        QCOMPARE(rectOf(p, table.at(1)).top(), kPaperHeight + table.at(0)->height());
        QCOMPARE(p.firstItemOfPage, (QList<qsizetype>{0, 2}));
    }

    // Where a block lands after blocks of the given heights (a negative one hidden), and where a
    // block of 10 points after it then goes.
    void blockPlacement_data()
    {
        QTest::addColumn<QList<qreal>>("before");
        QTest::addColumn<QString>("block");
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<qreal>("nextTop");
        QTest::addColumn<int>("pages");
        const qreal paper = kPaperHeight;
        // 15 points left: the gap of 20 goes to the top of the next page, uncut.
        row("gap moved", QList<qreal>{685}, "gap 20", QRectF(0, paper, 500, 20), paper + 20, 2);
        // A taller gap with at least 20 points left is cut to fill the page.
        row("gap cut", QList<qreal>{670}, "gap 50", QRectF(0, 670, 500, 30), paper, 2);
        // Less than 20 points left: not cut, moved whole.
        row("gap not cut", QList<qreal>{690}, "gap 50", QRectF(0, paper, 500, 50), paper + 50, 2);
        // The chart starts a page of its own, the first when nothing is shown before it.
        row("chart", QList<qreal>{30}, "chart", QRectF(0, paper, 500, 700), 2 * paper, 3);
        row("chart first", QList<qreal>{-30}, "chart", QRectF(0, 0, 500, 700), paper, 2);
        // A block taller than a page starts a new page and runs past its foot; first on the
        // report it stays on the first page, which is not left blank.
        row("tall", QList<qreal>{10}, "block 900", QRectF(0, paper, 500, 900), 2 * paper, 3);
        row("tall first", QList<qreal>{}, "block 900", QRectF(0, 0, 500, 900), paper, 2);
    }

    void blockPlacement()
    {
        QFETCH(QList<qreal>, before);
        QFETCH(QString, block);
        QFETCH(QRectF, rect);
        QFETCH(qreal, nextTop);
        QFETCH(int, pages);
        QList<PrintViewItemPtr> blocks;
        for (const qreal height : before) {
            blocks.append(fixedBlock(qAbs(height)));
            blocks.last()->setHidden(height < 0);
        }
        const qreal height = block.section(u' ', 1).toDouble();
        const PrintViewItemPtr item =
            block == u"chart"          ? PrintViewItem::chartItemWithSource(nullptr, kContent)
            : block.startsWith(u"gap") ? PrintViewItem::spaceOfHeight(height)
                                       : fixedBlock(height);
        QCOMPARE(item->canBeTruncated(), block.startsWith(u"gap"));
        if (block.startsWith(u"gap")) // a gap draws nothing
            QCOMPARE(drawn(item, 100, 100, 10, height), blankImage(100, 100));
        const auto next = fixedBlock(10);
        blocks << item << next;
        const PrintView::Pagination p = PrintView::paginate(blocks, kContent, kPaperHeight);
        QCOMPARE(rectOf(p, item), rect);
        QCOMPARE(rectOf(p, next).top(), nextTop);
        QCOMPARE(p.totalPages, pages);
        // No blocks at all: one page.
        const PrintView::Pagination none = PrintView::paginate({}, kContent, kPaperHeight);
        QVERIFY(none.totalPages == 1 && none.items.isEmpty());
    }

    void hiddenBlocksTakeNoRoomAndHiddenHeadersAreNotRepeated()
    {
        GridOfPrintViewItems grid(kContent, 11);
        QVERIFY(addColumns(grid, {{"Label", 150}, {"Value", 0}}));
        for (int i = 0; i < 100; ++i)
            grid.addRow({u"label %1"_s.arg(i), u"value"_s});
        const QList<PrintViewItemPtr> table = grid.printViewItems();
        table.first()->setHidden(true);
        const auto first = fixedBlock(10);
        QList<PrintViewItemPtr> blocks{first};
        blocks += table;
        const PrintView::Pagination p = PrintView::paginate(blocks, kContent, kPaperHeight);
        QVERIFY(p.totalPages >= 2);
        QCOMPARE(p.items.count(table.first()), 1);
        QCOMPARE(rectOf(p, table.first()), QRectF());
        QCOMPARE(rectOf(p, table.at(1)).top(), 10.0);
        const qsizetype secondPage = p.firstItemOfPage.at(1);
        QVERIFY(p.items.at(secondPage) != table.first());
        QCOMPARE(p.rects.at(secondPage).top(), kPaperHeight);
    }

    void chartIsTurnedOnPortraitAndUprightOnLandscape()
    {
        ChartDataSource source;
        source.setObjects(
            {reading(1, 8, 120, 80), reading(9, 8, 135, 85), reading(20, 8, 128, 82)});
        const QSizeF portrait(523, 770);
        const QSizeF landscape(770, 523);

        // Portrait: the value axis runs along the bottom of the slot, the time axis along its
        // right.
        const auto turned = PrintViewItem::chartItemWithSource(&source, portrait);
        QVERIFY(turned->drawsTurned(770));
        const QImage page = drawn(turned, 523, 770 + 100, 100, 770);
        QVERIFY(hasLine(page, {40, 100 + 740}, {483, 100 + 740}));
        QVERIFY(hasLine(page, {493, 100 + 40}, {493, 100 + 730}));
        QVERIFY(!hasLine(page, {30, 100 + 40}, {30, 100 + 730}));

        // Landscape: upright, the value axis on the left, the time axis along the bottom.
        const auto upright = PrintViewItem::chartItemWithSource(&source, landscape);
        QVERIFY(!upright->drawsTurned(523));
        const QImage wide = drawn(upright, 770, 523, 0, 523);
        QVERIFY(hasLine(wide, {30, 40}, {30, 483}));
        QVERIFY(hasLine(wide, {40, 493}, {730, 493}));
        QVERIFY(!hasLine(wide, {740, 40}, {740, 483}));

        // The turned chart is the upright one turned a quarter turn anticlockwise, so that the
        // sheet is read turned clockwise: earliest dates at the bottom, high values on the left.
        QImage direct = blankImage(770, 523);
        {
            QPainter painter(&direct);
            ChartPainter::drawChartUsingSource(painter, &source, QRectF(0, 0, 770, 523), true);
        }
        const QImage rotated = direct.transformed(QTransform().rotate(-90));
        const QImage slot = page.copy(0, 100, 523, 770);
        QCOMPARE(rotated.size(), slot.size());
        int differing = 0;
        for (int y = 0; y < slot.height(); ++y) {
            for (int x = 0; x < slot.width(); ++x)
                differing += qAbs(qGray(slot.pixel(x, y)) - qGray(rotated.pixel(x, y))) > 60;
        }
        QVERIFY2(differing < slot.width() * slot.height() / 200,
                 qPrintable(QString::number(differing)));

        // In the report: a portrait page turns it, a landscape page does not.
        showSections(false, false, true, true);
        PrintView onPortrait(a4(), source.objects(), {}, {}, &source);
        QCOMPARE(onPortrait.totalPages(), 2);
        auto chart =
            std::dynamic_pointer_cast<PrintViewItem_Chart>(onPortrait.printViewItems().last());
        QVERIFY(chart && chart->drawsTurned(onPortrait.printViewItemRects().last().height()));
        PrintView onLandscape(a4(QPageLayout::Landscape), source.objects(), {}, {}, &source);
        QCOMPARE(onLandscape.contentSize(), landscape);
        chart = std::dynamic_pointer_cast<PrintViewItem_Chart>(onLandscape.printViewItems().last());
        QVERIFY(chart && !chart->drawsTurned(onLandscape.printViewItemRects().last().height()));
        QCOMPARE(onLandscape.printViewItemRects().last().top(), 595.0);
    }

    // The report view

    void init()
    {
        // The report as it is without its optional additions, which tests switch on themselves.
        Preferences::useTemporaryStore("[General]\nprintPageHeader=false\nprintHomeSummary=false\n"
                                       "chartShowLegend=false\n");
    }

    void allSectionsOffGiveOneBlankPage()
    {
        showSections(false, false, false, false);
        PrintView view(a4(), someReadings(5), {}, {}, nullptr);
        QVERIFY(view.printViewItems().isEmpty());
        QCOMPARE(view.totalPages(), 1);
        QCOMPARE(view.frame(), QRectF(0, 0, 595, 842));
        QImage image = blankImage(595, 842);
        QPainter painter(&image);
        view.drawPage(painter, 1);
        painter.end();
        QCOMPARE(image, blankImage(595, 842));
    }

    void sectionsComeInTheirOrderWithGaps()
    {
        showSections(true, true, true, false);
        ConstMeasurementList all = someReadings(3);
        const auto average = Average::averageWithArray(&all, Filter::filterWithName("All"));
        const InformationList information = {InformationItem::create(u"Name"_s, u"Jane"_s, true)};
        PrintView view(a4(), all, {average}, information, nullptr);
        QCOMPARE(view.contentSize(), QSizeF(523, 770));
        const QString info = qtTrId("print.Information");
        const QString averages = qtTrId("print.Averages");
        const QString readings = qtTrId("print.Readings");
        QCOMPARE(kindsOf(view.printViewItems()),
                 (QStringList{"title:" + info, "header(hidden)", "row", "gap", "title:" + averages,
                              "header", "row", "gap", "title:" + readings, "header", "row"}));
        QCOMPARE(view.totalPages(), 1);
        for (const auto &item : view.printViewItems()) {
            if (auto title = std::dynamic_pointer_cast<PrintViewItem_Text>(item)) {
                QCOMPARE(title->attributes().font().pointSizeF(), 16.0);
                QVERIFY(title->attributes().font().bold());
            }
            if (auto gap = std::dynamic_pointer_cast<PrintViewItem_Space>(item))
                QCOMPARE(gap->height(), 20.0);
        }
        // The blocks are stacked without overlap.
        const QList<QRectF> &rects = view.printViewItemRects();
        qreal y = 0;
        for (qsizetype i = 0; i < rects.size(); ++i) {
            if (view.printViewItems().at(i)->isHidden())
                continue;
            QCOMPARE(rects.at(i).top(), y);
            y = rects.at(i).bottom();
        }

        // Tables print their title and header even when they have no rows.
        showSections(false, true, true, false);
        PrintView empty(a4(), {}, {}, {}, nullptr);
        QCOMPARE(kindsOf(empty.printViewItems()), (QStringList{"title:" + averages, "header", "gap",
                                                               "title:" + readings, "header"}));
    }

    void informationTableIsHeaderlessWithItsLabelColumnFitted()
    {
        showSections(true, false, false, false);
        auto noValue = InformationItem::fromDictionary(
            {{InformationItem::kName, u"Doctor"_s}, {InformationItem::kPrinted, true}});
        const InformationList information = {InformationItem::create(u"Name"_s, u"Jane"_s, true),
                                             InformationItem::create(u"Hidden"_s, u"x"_s, false),
                                             noValue};
        PrintView view(a4(), {}, {}, information, nullptr);
        QCOMPARE(view.rowsForInformation(),
                 (QList<QStringList>{{"Name", "Jane"}, {"Doctor", "-"}}));
        const auto header = gridRow(view, 1);
        QVERIFY(header && header->isHidden());
        const qreal fontSize = PrintView::tableFontSize(1);
        const PrintTextAttributes bold(PrintTextAttributes::userFontOfSize(fontSize, true));
        const PrintTextAttributes plain(PrintTextAttributes::userFontOfSize(fontSize));
        const qreal label =
            std::max({bold.singleLineWidth(qtTrId("print.columns.Label")),
                      plain.singleLineWidth("Doctor"), plain.singleLineWidth("Name")}) +
            10;
        QCOMPARE(header->widths(), (QList<qreal>{label, 523 - label}));

        // With no item to print the section is left out.
        showSections(true, true, false, false);
        PrintView unprinted(a4(), {}, {}, {information.at(1)}, nullptr);
        QCOMPARE(kindsOf(unprinted.printViewItems()),
                 (QStringList{"title:" + qtTrId("print.Averages"), "header"}));
    }

    void averagesColumnsShareTheWidth()
    {
        showSections(false, true, false, false);
        setPref("showPulse", true);
        setPref("showWeight", true);
        PrintView view(a4(), {}, {}, {}, nullptr);
        const auto header = gridRow(view, 1);
        QVERIFY(header);
        QCOMPARE(
            header->items(),
            (QStringList{qtTrId("print.columns.Filter"), qtTrId("print.columns.Systolic"),
                         qtTrId("print.columns.Diastolic"), qtTrId("print.columns.PulsePressure"),
                         qtTrId("print.columns.Pulse"), qtTrId("print.columns.Weight")}));
        for (qreal width : header->widths())
            QCOMPARE(width, 523.0 / 6);

        // Custom values are titled with the preference's text itself.
        setPref("customShow2", true);
        setPref("customTitle2", u"Glucose"_s);
        QCOMPARE(gridRow(view, 1)->items().mid(6), QStringList{u"Glucose"_s});
        setPref("customTitle2", QString());
        QCOMPARE(gridRow(view, 1)->items().mid(6), QStringList{QString()});
    }

    void averagesRowsUseWholeAndDecimalNumbers()
    {
        setPref("showPulse", false);
        setPref("showWeight", true);
        setPref("customShow1", true);
        ConstMeasurementList all;
        auto a = reading(1, 8, 130, 85);
        a->setWeight(72.25);
        auto b = reading(2, 8, 135, 80);
        b->setWeight(72.75);
        all << a << b;
        const auto named = Average::averageWithArray(&all, Filter::filterWithName("All"));
        const auto unnamed = Average::averageWithArray(&all, Filter::filterWithName(QString()));
        PrintView view(a4(), {}, {named, unnamed}, {}, nullptr);
        const QString notAvailable = qtTrId("not_available");
        QCOMPARE(view.rowsForAverages(),
                 (QList<QStringList>{{"All", "132", "82", "50", "72.50", notAvailable},
                                     {" ", "132", "82", "50", "72.50", notAvailable}}));
    }

    void readingsRowsFollowTheShownColumns()
    {
        setPref("showPulse", true);
        setPref("showWeight", true);
        setPref("customShow3", true);
        auto older = reading(3, 7, 120, 80);
        older->setPulse(qlonglong(64));
        older->setWeight(1234.5);
        older->setTags({u"morning"_s, u"left arm"_s});
        older->setComments(u"first line\nsecond line"_s);
        auto newer = reading(4, 19, 95, 60);
        newer->setCustomValue3(0.5);
        // Newest first, as the readings table shows them.
        PrintView view(a4(), {newer, older}, {}, {}, nullptr);
        const QLocale locale;
        const QList<QStringList> rows = view.rowsForReadings();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(0).size(), 8);
        QCOMPARE(rows.at(0).mid(2), (QStringList{" 95 /  60", " ", " ", "0.5", " ", " "}));
        QCOMPARE(rows.at(1).mid(2), (QStringList{"120 /  80", "64", locale.toString(1234.5), " ",
                                                 "morning, left arm", "first line\nsecond line"}));
        QCOMPARE(rows.at(0).at(0), locale.toString(QDate(2024, 3, 4), QLocale::ShortFormat));
        QCOMPARE(rows.at(1).at(1), locale.toString(QTime(7, 15), QLocale::ShortFormat));
        const auto header = std::dynamic_pointer_cast<PrintViewItem_GridRow>(
            view.printViewItems().at(view.printViewItems().size() - 3));
        QVERIFY(header);
        QCOMPARE(header->items().size(), 8);
        // The comments column takes what the others leave.
        qreal others = 0;
        for (int i = 0; i < 7; ++i)
            others += header->widths().at(i);
        QCOMPARE(header->widths().at(7), 523 - others);
    }

    void readingsContinueOnTheNextPageUnderAHeaderCopy()
    {
        showSections(false, false, true, false);
        PrintView view(a4(), someReadings(150), {}, {}, nullptr);
        QVERIFY(view.totalPages() >= 3);
        const auto &items = view.printViewItems();
        const PrintViewItemPtr header = items.at(1);
        QCOMPARE(kindOf(header), u"header"_s);
        QCOMPARE(items.count(header), view.totalPages());
        QCOMPARE(items.count(items.at(0)), 1);
        for (int page = 2; page <= view.totalPages(); ++page) {
            const QRectF pageRect = view.rectForPage(page);
            qsizetype first = 0;
            while (view.printViewItemRects().at(first).top() < pageRect.top())
                ++first;
            QCOMPARE(items.at(first), header);
            QCOMPARE(view.printViewItemRects().at(first).top(), pageRect.top());
        }
        QCOMPARE(view.frame().height(), view.totalPages() * 842.0);
    }

    void smallerRowSizeFitsMoreRowsOnAPage()
    {
        showSections(false, false, true, false);
        const ConstMeasurementList readings = someReadings(300);
        int pages[3];
        qreal rowHeights[3];
        for (int size = 0; size < 3; ++size) {
            setPref("rowSize", size);
            PrintView view(a4(), readings, {}, {}, nullptr);
            pages[size] = view.totalPages();
            const auto row = gridRow(view, 2);
            QCOMPARE(row->attributes().at(0).font().pointSizeF(), PrintView::tableFontSize(size));
            rowHeights[size] = row->height();
            const auto title =
                std::dynamic_pointer_cast<PrintViewItem_Text>(view.printViewItems().at(0));
            QCOMPARE(title->attributes().font().pointSizeF(), 16.0);
        }
        QCOMPARE(PrintView::tableFontSize(0), 11.0);
        QCOMPARE(PrintView::tableFontSize(1), 9.5);
        QCOMPARE(PrintView::tableFontSize(2), 8.0);
        QVERIFY(rowHeights[0] > rowHeights[1] && rowHeights[1] > rowHeights[2]);
        QVERIFY(pages[0] > pages[1] && pages[1] > pages[2]);
    }

    void observedPreferenceChangesRebuildTheReport()
    {
        showSections(false, false, true, false);
        PrintView view(a4(), someReadings(3), {}, {}, nullptr);
        QSignalSpy rebuilt(&view, &PrintView::refreshed);
        QCOMPARE(view.totalPages(), 1);

        setPref("printShowChart", true);
        QCOMPARE(view.totalPages(), 2);
        QCOMPARE(kindOf(view.printViewItems().last()), u"chart"_s);
        QCOMPARE(view.printViewItemRects().last(), QRectF(0, 842, 523, 770));

        setPref("customShow1", true);
        setPref("customTitle1", u"Sugar"_s);
        QVERIFY(gridRow(view, 1)->items().contains(u"Sugar"_s));
        // Preferences the report does not show leave it alone.
        rebuilt.clear();
        setPref("chartColorPulse", QColor(Qt::red));
        setPref("autosaveDocuments", false);
        QCOMPARE(rebuilt.size(), 0);

        // The preferences the report shows, each of which rebuilds it once.
        const QStringList shown =
            QStringLiteral("printShowAverages printShowChart printShowMeasurements "
                           "printShowInformation rowSize showWeight showPulse customShow1 "
                           "customShow2 customShow3 customTitle1 customTitle2 customTitle3 "
                           "showDeviationsInAverages printHomeSummary homeSummaryDays "
                           "homeMorningFrom homeMorningTo homeEveningFrom homeEveningTo "
                           "homeThresholdSystolic homeThresholdDiastolic printPageHeader "
                           "personName classificationScheme")
                .split(u' ');
        QStringList observed = PrintView::observedKeys(), expected = shown;
        observed.sort();
        expected.sort();
        QCOMPARE(observed, expected); // in no particular order
        for (const QString &key : shown) {
            rebuilt.clear();
            const QVariant old = Preferences::shared().valueForKey(key);
            const auto type = Preferences::typeOfKey(key);
            const QVariant changed =
                key == u"rowSize" ? QVariant((old.toInt() + 1) % 3)
                : type == Preferences::Type::Integer
                    ? QVariant(old.toInt() > 0 ? old.toInt() - 1 : 1)
                : type == Preferences::Type::String ? QVariant(old.toString() + QLatin1Char('x'))
                : key.startsWith(u"customTitle")    ? QVariant(old.toString() + QLatin1Char('x'))
                                                    : QVariant(!old.toBool());
            QVERIFY(Preferences::shared().setValueForKey(changed, key));
            QVERIFY2(rebuilt.size() == 1, qPrintable(key));
        }
    }

    void homeSummaryComesBeforeTheAverages()
    {
        showSections(false, true, false, false);
        setPref("printHomeSummary", true);
        ConstMeasurementList readings;
        for (int day = 1; day <= 3; ++day) {
            readings.append(reading(day, 7, 140, 90));
            readings.append(reading(day, 20, 130, 80));
        }
        PrintView view(a4(), readings, {}, {}, nullptr);
        const HomeSummary summary = HomeSummary::compute(readings);
        const QString verdict = qtTrId("summary.verdict.at_or_above").arg(135).arg(85);
        QCOMPARE(
            kindsOf(view.printViewItems()),
            (QStringList{"title:" + qtTrId("summary.title"),
                         "title:" + summary.periodText() + "\n" + summary.countedText(), "header",
                         "row", "title:" + verdict, "title:" + qtTrId("summary.note"), "gap",
                         "title:" + qtTrId("print.Averages"), "header"}));
        // Each part of the day is a row: all, morning, evening.
        QCOMPARE(gridRow(view, 4)->items().at(2), u"140.0 \u00b1 0.0"_s);

        setPref("printHomeSummary", false);
        QCOMPARE(kindsOf(view.printViewItems()).first(), "title:" + qtTrId("print.Averages"));
    }

    void classColumnFollowsTheScheme()
    {
        showSections(false, false, true, false);
        const ConstMeasurementList readings = {reading(1, 7, 142, 88)};
        PrintView view(a4(), readings, {}, {}, nullptr);
        const QStringList before = view.rowsForReadings().first();
        setPref("classificationScheme", 1);
        QStringList row = view.rowsForReadings().first();
        QCOMPARE(row.size(), before.size() + 1);
        QCOMPARE(row.at(3), qtTrId("class.esh.isolated_systolic"));
        const auto header = gridRow(view, 1);
        QCOMPARE(header->items().at(3), qtTrId("print.columns.Class").arg("ESH/ESC 2023"));
        setPref("classificationScheme", 2);
        QCOMPARE(view.rowsForReadings().first().at(3), qtTrId("class.acc.stage_2"));
    }

    // A header and a footer on every page of a long report: the blocks lie between them on every
    // page, the pages are counted, and the PDF's pages say so.
    void headerAndFooterOnEveryPage()
    {
        showSections(false, false, true, true);
        const ConstMeasurementList readings = someReadings(150);
        ChartDataSource chart;
        chart.setObjects(readings);
        PrintView plain(a4(), readings, {}, {}, &chart);
        setPref("printPageHeader", true);
        setPref("personName", u"Jane Doe"_s);
        Date::setClock([] { return Date::fromComponents(2024, 4, 2, 12); });
        PrintView view(a4(), readings, {}, {}, &chart);
        view.setFilterName(u"Mornings"_s);
        const int pages = view.totalPages();
        QVERIFY(pages >= 4);
        QVERIFY2(view.headerRect(1).height() > 20, QByteArray::number(view.headerRect(1).height()));
        QVERIFY(pages >= plain.totalPages());

        const qreal contentHeight = view.contentSize().height();
        for (int page = 1; page <= pages; ++page) {
            const QRectF header = view.headerRect(page), footer = view.footerRect(page);
            const qreal top = view.rectForPage(page).top();
            QCOMPARE(header.top(), top);
            QCOMPARE(footer.bottom(), top + contentHeight);
            QVERIFY(header.bottom() < footer.top());
            for (qsizetype i = 0; i < view.printViewItems().size(); ++i) {
                const QRectF r = view.printViewItemRects().at(i);
                if (r.isNull() || pageOf(r) != page)
                    continue;
                QVERIFY2(r.top() >= header.bottom() - 0.001 && r.bottom() <= footer.top() + 0.001,
                         qPrintable(u"page %1 block %2"_s.arg(page).arg(i)));
            }
            QCOMPARE(view.footerLines(page).at(1),
                     qtTrId("print.footer.page").arg(page).arg(pages));
        }
        QVERIFY(view.headerLines().at(0).endsWith(u"Jane Doe"_s));

        const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        const QString pdf = TestSupport::outputPath(u"report-header.pdf"_s);
        QString error;
        QVERIFY2(view.writePdf(pdf, &error), qPrintable(error));
        Date::setClock(nullptr);
        const QString period = view.headerLines().at(1).section(u"   "_s, 0, 0);
        for (int page = 1; page <= pages; ++page) {
            const QString text = runTool(pdftotext, {"-f", QString::number(page), "-l",
                                                     QString::number(page), pdf, "-"})
                                     .value_or(QString());
            QVERIFY2(text.contains(u"Page %1 of %2"_s.arg(page).arg(pages)), qPrintable(text));
            QVERIFY(text.contains(u"Jane Doe"_s));
            QVERIFY(text.contains(u"Filter: Mornings"_s));
            QVERIFY2(text.contains(period), qPrintable(period));
            QVERIFY(text.contains(
                qtTrId("print.footer.printed")
                    .arg(QLocale().toString(QDate(2024, 4, 2), QLocale::ShortFormat))));
        }
    }

    // Paper

    void pdfOfASmallDocument()
    {
        const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
        const QString pdfinfo = QStandardPaths::findExecutable(u"pdfinfo"_s);
        if (pdftotext.isEmpty() || pdfinfo.isEmpty())
            QSKIP("pdftotext and pdfinfo (poppler-utils) are not installed");
        Date::setClock([] { return Date::fromComponents(2024, 3, 20, 12); });

        MyDocument document;
        document.setInformation({InformationItem::create(u"Name"_s, u"Jane Doe"_s, true),
                                 InformationItem::create(u"Secret"_s, u"not printed"_s, false),
                                 InformationItem::create(u"Doctor"_s, u"Dr. Who"_s, true)});
        MeasurementList readings;
        for (int day = 1; day <= 12; ++day) {
            auto r = reading(day, 7, 118 + day, 76 + day % 5);
            r->setPulse(qlonglong(60 + day));
            if (day % 3 == 0)
                r->setWeight(71.5 + day / 10.0);
            if (day == 5) {
                r->setTags({u"evening"_s, u"stress"_s});
                r->setComments(u"Headache in the morning\nMeasured twice"_s);
            }
            readings.append(r);
        }
        document.addMeasurements(readings);
        document.setSortItemsAscending(false);

        const QString pdf = TestSupport::outputPath(u"report.pdf"_s);
        QFile::remove(pdf);
        PrintSettings settings(document.printInfo());
        settings.setPageLayout(a4());
        document.setPrintSettings(settings);
        QString error;
        QVERIFY2(PrintView::writeDocumentReport(document, pdf, &error), qPrintable(error));

        // Tables on page 1, the chart alone on page 2.
        const QString info = runTool(pdfinfo, {pdf}).value_or(QString());
        QVERIFY2(info.contains(QRegularExpression(u"Pages:\\s+2\\n"_s)), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(u"Page size:\\s+595(\\.\\d+)? x 842"_s)),
                 qPrintable(info));

        const QString first =
            runTool(pdftotext, {"-f", "1", "-l", "1", "-layout", pdf, "-"}).value_or(QString());
        for (const QString &expected :
             {qtTrId("print.Information"), qtTrId("print.Averages"), qtTrId("print.Readings"),
              u"Jane Doe"_s, u"Dr. Who"_s, qtTrId("print.columns.Comments"),
              u"Headache in the morning"_s, u"Measured twice"_s, u"evening, stress"_s, u"71.8"_s})
            QVERIFY2(first.contains(expected), qPrintable(expected + u" in:\n"_s + first));
        QVERIFY(first.contains(QRegularExpression(u"130 /\\s+78"_s)));
        QVERIFY(!first.contains(u"not printed"_s));
        QVERIFY(!first.contains(qtTrId("print.columns.Label"))); // the information header is hidden
        // Newest first, as the document sorts.
        const QLocale locale;
        const auto at = [&](int day) {
            return first.indexOf(locale.toString(QDate(2024, 3, day), QLocale::ShortFormat));
        };
        QVERIFY(at(12) > 0 && at(1) > at(12));

        const QString second =
            runTool(pdftotext, {"-f", "2", "-l", "2", pdf, "-"}).value_or(QString());
        QVERIFY(!second.contains(qtTrId("print.Readings")));
        Date::setClock({});
    }

    void pdfThatCannotBeWrittenIsReported()
    {
        QTemporaryDir dir;
        const QString existing = dir.filePath(u"keep.pdf"_s);
        QVERIFY(TestSupport::writeFile(existing, "old contents"));
        PrintView view(a4(), someReadings(2), {}, {}, nullptr);
        QString error;
        QVERIFY(!view.writePdf(dir.filePath(u"missing/dir/report.pdf"_s), &error));
        QVERIFY(error.contains(QLatin1String("report.pdf")));

        // A page layout the paper cannot take leaves the existing file as it was.
        QPageLayout broken(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                           QMarginsF(400, 0, 400, 0), QPageLayout::Point, QMarginsF(0, 0, 0, 0));
        PrintView bad(broken, someReadings(200), {}, {}, nullptr);
        QVERIFY(!bad.hasContentArea());
        QCOMPARE(bad.totalPages(), 1);
        error.clear();
        QVERIFY(!bad.writePdf(existing, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(TestSupport::readFile(existing), QByteArray("old contents"));
    }

    void printerLayoutAndPageRangeAreHonoured()
    {
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        showSections(false, false, true, true);
        ChartDataSource source;
        source.setObjects(someReadings(150));
        PrintView view(a4(), source.objects(), {}, {}, &source);
        const int portraitPages = view.totalPages();
        QVERIFY(portraitPages >= 3);
        QTemporaryDir dir;
        const QString all = dir.filePath(u"all.pdf"_s);
        QVERIFY(view.writePdf(all));
        const QStringList allPages = pdfPages(all);
        QCOMPARE(allPages.size(), portraitPages);

        // A writer at its default resolution and a high-resolution printer draw the same report;
        // both start from the report's layout, as a print dialog does. The print dialog's page
        // range: only those pages, in order; pages past the end are left out.
        const QString whole = dir.filePath(u"default.pdf"_s);
        {
            QPdfWriter writer(whole);
            QVERIFY(writer.setPageLayout(view.pageLayout()));
            QVERIFY(view.printTo(writer, nullptr));
        }
        QCOMPARE(pdfPages(whole), allPages);
        const QString ranged = dir.filePath(u"ranged.pdf"_s);
        {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(ranged);
            QVERIFY(printer.setPageLayout(view.pageLayout()));
            QPageRanges ranges;
            ranges.addPage(2);
            ranges.addRange(portraitPages, portraitPages + 5);
            printer.setPageRanges(ranges);
            QString error;
            QVERIFY2(view.printTo(printer, &error), qPrintable(error));
        }
        QCOMPARE(pdfPages(ranged), (QStringList{allPages.at(1), allPages.last()}));

        // A range that names no page of the report prints nothing and says why.
        {
            QPdfWriter writer(dir.filePath(u"none.pdf"_s));
            QVERIFY(writer.setPageLayout(view.pageLayout()));
            QPageRanges ranges;
            ranges.addRange(portraitPages + 1, portraitPages + 3);
            writer.setPageRanges(ranges);
            QString error;
            QVERIFY(!view.printTo(writer, &error));
            QCOMPARE(error, qtTrId("print.error.page_range").arg(portraitPages));
        }

        // Paper turned in the preview: the report is laid out again for the wider, lower page.
        const QString turned = dir.filePath(u"turned.pdf"_s);
        {
            QPdfWriter writer(turned);
            QVERIFY(writer.setPageLayout(view.pageLayout()));
            QVERIFY(writer.setPageOrientation(QPageLayout::Landscape));
            QString error;
            QVERIFY2(view.printTo(writer, &error), qPrintable(error));
        }
        QCOMPARE(view.pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(view.contentSize(), QSizeF(842 - 72, 595 - 72));
        QVERIFY(view.totalPages() > portraitPages);
        QCOMPARE(pdfPages(turned).size(), view.totalPages());
        const QString pdfinfo = QStandardPaths::findExecutable(u"pdfinfo"_s);
        if (!pdfinfo.isEmpty()) {
            const QString info = runTool(pdfinfo, {turned}).value_or(QString());
            QVERIFY2(info.contains(QRegularExpression(u"Page size:\\s+842 x 595"_s)),
                     qPrintable(info));
        }
    }

    void printSettingsRoundTripKeepsUnknownAttributes()
    {
        // What the document keeps: the file's attributes with the layout's written over them.
        QVariantMap stored{{PrintSettings::kPaperSize, QSizeF(612, 792)},
                           {PrintSettings::kPaperName, u"na-letter"_s},
                           {u"NSHorizontallyCentered"_s, true},
                           {u"NSScalingFactor"_s, 0.9}};
        PrintSettings settings(stored);
        const QPageLayout letter = settings.pageLayout();
        QCOMPARE(letter.pageSize().id(), QPageSize::Letter);
        QCOMPARE(letter.margins(QPageLayout::Point), QMarginsF(72, 90, 72, 90));

        // Same paper, other margins and turned: the paper's name stays, so do the unknown ones.
        QPageLayout changed = letter;
        changed.setOrientation(QPageLayout::Landscape);
        QVERIFY(changed.setMargins(QMarginsF(10, 20, 30, 40)));
        settings.setPageLayout(changed);
        QVariantMap attributes = settings.attributes();
        QCOMPARE(attributes.value(PrintSettings::kPaperSize).toSizeF(), QSizeF(792, 612));
        QCOMPARE(attributes.value(PrintSettings::kOrientation).toLongLong(), 1);
        QCOMPARE(attributes.value(PrintSettings::kLeftMargin).toDouble(), 10.0);
        QCOMPARE(attributes.value(PrintSettings::kBottomMargin).toDouble(), 40.0);
        QCOMPARE(attributes.value(u"NSHorizontallyCentered"_s), QVariant(true));
        QCOMPARE(attributes.value(u"NSScalingFactor"_s), QVariant(0.9));
        // Read back, the layout is the one written.
        const QPageLayout back = PrintSettings(attributes).pageLayout();
        QCOMPARE(back.orientation(), QPageLayout::Landscape);
        QCOMPARE(back.fullRect(QPageLayout::Point), changed.fullRect(QPageLayout::Point));
        QCOMPARE(back.margins(QPageLayout::Point), QMarginsF(10, 20, 30, 40));
        QCOMPARE(back.pageSize().id(), QPageSize::Letter);
        QCOMPARE(attributes.value(PrintSettings::kPaperName), QVariant(u"na-letter"_s));

        // Other paper: the old paper's name goes, the rest stays.
        settings.setPageLayout(a4());
        attributes = settings.attributes();
        QVERIFY(!attributes.contains(PrintSettings::kPaperName));
        QCOMPARE(attributes.value(u"NSScalingFactor"_s), QVariant(0.9));
        QCOMPARE(PrintSettings(attributes).pageLayout().pageSize().id(), QPageSize::A4);

        // Through the document and its file, nothing is lost.
        MyDocument document;
        document.setPrintSettings(settings);
        MyDocument copy;
        QVERIFY(copy.readFromData(document.dataOfType(QString()), QString()));
        QCOMPARE(copy.printSettings(), settings);
        QCOMPARE(copy.printSettings().pageLayout().margins(QPageLayout::Point),
                 QMarginsF(36, 36, 36, 36));

        // An invalid layout changes nothing.
        settings.setPageLayout(QPageLayout());
        QCOMPARE(settings.attributes(), attributes);
    }
};

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TestSupport::setUpEnvironment();
    if (argc == 3 && std::strcmp(argv[1], "--misuse") == 0)
        return runMisuse(QString::fromLocal8Bit(argv[2]));
    TestReport test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_report.moc"
