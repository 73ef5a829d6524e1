#include "PrintViewItem.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QtTest>

#include <cstring>

namespace {

QImage blankImage(int width, int height, int dpi = 72)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
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
    return style.wrappedHeight(QStringLiteral("Xg"), 1000, 1000);
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void fixedColumnTakesTextWidthPlusTenUpToItsBound();
    void automaticColumnsShareTheRest();
    void gridWithoutRowsIsItsHeaderRow();
    void columnsKeepAReadableMinimumWhenFixedOnesFillThePage();
    void rowIsAsTallAsItsTallestCell_data();
    void rowIsAsTallAsItsTallestCell();
    void cellTallerThanTheLimitIsMeasuredAtTheLimit();
    void rowsShareHeaderAndStyles();
    void textBlockHeightIncludesPaddings();
    void spaceBlockIsTruncatableAndDrawsNothing();
    void wrappedTextStaysInsideItsBoxAtAnyResolution();
    void gridMisuseIsAProgrammingError_data();
    void gridMisuseIsAProgrammingError();
};

void TestReport::fixedColumnTakesTextWidthPlusTenUpToItsBound()
{
    GridOfPrintViewItems grid(QSizeF(500, 700), 11);
    QVERIFY(grid.addColumnWithTitle(QStringLiteral("N"), 100));
    QVERIFY(grid.addColumnWithTitle(QStringLiteral("Long"), 100));
    QVERIFY(grid.addColumnWithTitle(QStringLiteral("Rest"), 0));
    const QString shortText = QStringLiteral("12345");
    const QString longText =
        QStringLiteral("a text much wider than one hundred points that has to wrap in its column");
    QVERIFY(grid.addRow({QStringLiteral("1"), longText, QStringLiteral("x")}));
    QVERIFY(grid.addRow({shortText, QStringLiteral("y"), QStringLiteral("z")}));

    const PrintTextAttributes text = grid.textAttributes();
    const PrintTextAttributes header = grid.headerAttributes();
    const qreal need = std::max(text.singleLineWidth(shortText), header.singleLineWidth("N"));
    QVERIFY(need > 20 && need < 60);
    QCOMPARE(grid.maxWidthForColumn(0, header, text), need + 10);

    const QList<PrintViewItemPtr> items = grid.printViewItems();
    QCOMPARE(items.size(), 3);
    auto row = std::dynamic_pointer_cast<PrintViewItem_GridRow>(items.at(1));
    QVERIFY(row);
    QCOMPARE(row->widths().at(0), need + 10);
    QCOMPARE(row->widths().at(1), 100.0);
    QCOMPARE(row->widths().at(2), 500 - (need + 10) - 100);
    // The long text wraps within 90 points: more than one line, and each line fits.
    QCOMPARE(row->height(), text.wrappedHeight(longText, 90, 500) + 5);
    QVERIFY(row->height() > 2 * lineHeight(text));
}

void TestReport::automaticColumnsShareTheRest()
{
    GridOfPrintViewItems grid(QSizeF(500, 700), 9.5);
    const QString wide(60, QLatin1Char('W'));
    grid.addColumnWithTitle(QStringLiteral("A"), 60);
    grid.addColumnWithTitle(QStringLiteral("B"), 0);
    grid.addColumnWithTitle(QStringLiteral("C"), 140);
    grid.addColumnWithTitle(QStringLiteral("D"), 0);
    grid.addRow({wide, QStringLiteral("b"), wide, QStringLiteral("d")});
    QCOMPARE(grid.columnWidths(), (QList<qreal>{60, 150, 140, 150}));

    // Every column automatic: equal shares of the whole width.
    GridOfPrintViewItems averages(QSizeF(523, 770), 9.5);
    for (int i = 0; i < 6; ++i)
        averages.addColumnWithTitle(QString::number(i), 0);
    for (qreal width : averages.columnWidths())
        QCOMPARE(width, 523.0 / 6);
}

void TestReport::gridWithoutRowsIsItsHeaderRow()
{
    GridOfPrintViewItems grid(QSizeF(500, 700), 11);
    grid.addColumnWithTitle(QStringLiteral("Label"), 150);
    grid.addColumnWithTitle(QStringLiteral("Value"), 0);
    const QList<PrintViewItemPtr> items = grid.printViewItems();
    QCOMPARE(items.size(), 1);
    auto header = std::dynamic_pointer_cast<PrintViewItem_GridRow>(items.at(0));
    QVERIFY(header);
    QVERIFY(!header->captionRow());
    QCOMPARE(header->items(), (QStringList{"Label", "Value"}));
    const qreal titleWidth = grid.headerAttributes().singleLineWidth(QStringLiteral("Label")) + 10;
    QCOMPARE(header->widths().at(0), titleWidth);
    QCOMPARE(header->widths().at(1), 500 - titleWidth);
    // The header is bold, the rows are not.
    QVERIFY(header->attributes().at(0).font.bold());
}

void TestReport::columnsKeepAReadableMinimumWhenFixedOnesFillThePage()
{
    GridOfPrintViewItems grid(QSizeF(300, 700), 11);
    const QString wide(80, QLatin1Char('W'));
    grid.addColumnWithTitle(QStringLiteral("A"), 200);
    grid.addColumnWithTitle(QStringLiteral("B"), 200);
    grid.addColumnWithTitle(QStringLiteral("C"), 0);
    grid.addColumnWithTitle(QStringLiteral("D"), 0);
    grid.addRow({wide, wide, QStringLiteral("c"), QStringLiteral("d")});
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
    narrow.addColumnWithTitle(QStringLiteral("A"), 200);
    narrow.addColumnWithTitle(QStringLiteral("B"), 0);
    narrow.addRow({wide, QStringLiteral("b")});
    QCOMPARE(narrow.columnWidths(), (QList<qreal>{minimum, minimum}));
}

void TestReport::rowIsAsTallAsItsTallestCell_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("lines");
    QTest::newRow("one word") << QStringLiteral("Wordone") << 1;
    QTest::newRow("line breaks") << QStringLiteral("Wordone\nWordtwo\r\nWordthree") << 3;
    QTest::newRow("wrapped words") << QStringLiteral("Wordone Wordtwo Wordthree") << 3;
    QTest::newRow("long word broken") << QStringLiteral("WordoneWordtwoWordthre") << 3;
}

void TestReport::rowIsAsTallAsItsTallestCell()
{
    QFETCH(QString, cell);
    QFETCH(int, lines);
    const PrintTextAttributes style(PrintTextAttributes::userFontOfSize(11));
    // A column just wide enough for the widest of the three words.
    const qreal textWidth = style.singleLineWidth(QStringLiteral("Wordthree")) + 1;
    QVERIFY(style.singleLineWidth(QStringLiteral("Wordone Wordtwo")) > textWidth);

    const auto row = PrintViewItem::rowWithItems({QStringLiteral("x"), cell}, {50, textWidth + 10},
                                                 {style, style}, nullptr);
    QCOMPARE(row->height(), lines * lineHeight(style) + 5);

    // The other cell is drawn in a cell of the full row height: its ruling reaches the bottom.
    QImage image = blankImage(200, 120);
    QPainter painter(&image);
    row->drawAt(painter, 10, row->height());
    painter.end();
    const int bottom = qFloor(10 + row->height());
    QVERIFY(qGray(image.pixel(25, bottom)) < 250);
    QCOMPARE(qGray(image.pixel(25, bottom + 3)), 255);
}

void TestReport::cellTallerThanTheLimitIsMeasuredAtTheLimit()
{
    const PrintTextAttributes style(PrintTextAttributes::userFontOfSize(11));
    const QString tall = QStringList(80, QStringLiteral("line")).join(QLatin1Char('\n'));
    QVERIFY(style.wrappedHeight(tall, 100, 10000) > 500);
    const auto row = PrintViewItem::rowWithItems({tall}, {110}, {style}, nullptr);
    QCOMPARE(row->height(), 505.0);
}

void TestReport::rowsShareHeaderAndStyles()
{
    GridOfPrintViewItems grid(QSizeF(500, 700), 8);
    grid.addColumnWithTitle(QStringLiteral("A"), 0);
    grid.addColumnWithTitle(QString(""), 0); // an empty title is accepted
    grid.addRows({{"1", "2"}, {"3", "4"}, {"5", "6"}});
    const QList<PrintViewItemPtr> items = grid.printViewItems();
    QCOMPARE(items.size(), 4);
    for (int i = 1; i < 4; ++i) {
        auto row = std::dynamic_pointer_cast<PrintViewItem_GridRow>(items.at(i));
        QCOMPARE(row->captionRow(), items.at(0));
        QCOMPARE(row->items().at(0), QString::number(2 * i - 1));
        QVERIFY(!row->attributes().at(1).font.bold());
        QCOMPARE(row->attributes().at(1).font.pointSizeF(), 8.0);
    }
}

void TestReport::textBlockHeightIncludesPaddings()
{
    const auto title = PrintViewItem::textItemWithText(QStringLiteral("Readings"), 16, true, 0, 5,
                                                       QSizeF(523, 770));
    const PrintTextAttributes bold(PrintTextAttributes::userFontOfSize(16, true));
    QVERIFY(bold.font.bold());
    QCOMPARE(title->height(), lineHeight(bold) + 5);
    QVERIFY(!title->canBeTruncated());

    const auto padded = PrintViewItem::textItemWithText(QStringLiteral("Readings"), 16, true, 7, 3,
                                                        QSizeF(523, 770));
    QCOMPARE(padded->height(), lineHeight(bold) + 10);
}

void TestReport::spaceBlockIsTruncatableAndDrawsNothing()
{
    const auto space = PrintViewItem::spaceOfHeight(20);
    QCOMPARE(space->height(), 20.0);
    QVERIFY(space->canBeTruncated());
    QVERIFY(!space->captionRow());
    QImage image = blankImage(100, 100);
    const QImage before = image;
    QPainter painter(&image);
    space->drawAt(painter, 10, 20);
    painter.end();
    QCOMPARE(image, before);

    PrintViewItem plain;
    QCOMPARE(plain.height(), 0.0);
    QVERIFY(!plain.isHidden());
    plain.setHidden(true);
    QVERIFY(plain.isHidden());
}

void TestReport::wrappedTextStaysInsideItsBoxAtAnyResolution()
{
    // Layouts are measured in points; drawn at 300 dpi through a scaled painter the text must
    // still end within the box it was measured for.
    const PrintTextAttributes style(PrintTextAttributes::userFontOfSize(11));
    const QString text = QStringLiteral("Morning reading after a walk, felt fine WWWWWWWWWWWWWWW");
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
                 qPrintable(QStringLiteral("dpi %1: ink to %2").arg(dpi).arg(right / scale)));
        QVERIFY(right / scale >= 10 + width - 25); // and it does use the width
    }
}

// Each case is run in a child process (this program with "--misuse NAME"), because in a debug
// build a misuse of the grid stops the program with an assertion naming the source file.
void TestReport::gridMisuseIsAProgrammingError_data()
{
    QTest::addColumn<QString>("misuse");
    QTest::addColumn<QString>("message");
    QTest::newRow("row too short") << "short-row"
                                   << "Number of items in row doesn't match number of columns";
    QTest::newRow("row too long") << "long-row"
                                  << "Number of items in row doesn't match number of columns";
    QTest::newRow("column after row") << "late-column"
                                      << "Can't add column to non-empty grid";
    QTest::newRow("null title") << "null-title"
                                << "Can't add empty title";
}

void TestReport::gridMisuseIsAProgrammingError()
{
    QFETCH(QString, misuse);
    QFETCH(QString, message);
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--misuse"), misuse});
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

// The child side of gridMisuseIsAProgrammingError: returns 0 when the misuse was refused and the
// grid kept its state.
static int runMisuse(const QString &misuse)
{
    GridOfPrintViewItems grid(QSizeF(500, 700), 11);
    grid.addColumnWithTitle(QStringLiteral("A"), 0);
    grid.addColumnWithTitle(QStringLiteral("B"), 0);
    bool refused = false;
    if (misuse == QLatin1String("short-row")) {
        refused = !grid.addRow({QStringLiteral("1")});
    } else if (misuse == QLatin1String("long-row")) {
        grid.addRow({QStringLiteral("1"), QStringLiteral("2")});
        refused = !grid.addRows({{"3", "4"}, {"5", "6", "7"}});
        refused = refused && grid.rowCount() == 2;
    } else if (misuse == QLatin1String("late-column")) {
        grid.addRow({QStringLiteral("1"), QStringLiteral("2")});
        refused = !grid.addColumnWithTitle(QStringLiteral("C"), 0);
    } else if (misuse == QLatin1String("null-title")) {
        refused = !grid.addColumnWithTitle(QString(), 0);
    }
    const bool unchanged =
        grid.columnCount() == 2 && grid.printViewItems().size() == grid.rowCount() + 1;
    return refused && unchanged ? 0 : 1;
}

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--misuse") == 0)
        return runMisuse(QString::fromLocal8Bit(argv[2]));
    TestReport test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_report.moc"
