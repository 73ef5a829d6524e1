#include "ChartCanvas.h"
#include "ChartDataSource.h"
#include "ChartGeometry.h"
#include "ChartPainter.h"
#include "ChartRaster.h"
#include "ChartSummary.h"
#include "ChartView.h"
#include "Localization.h"
#include "Measurement.h"
#include "Number.h"
#include "PageChart.h"
#include "Preferences.h"
#include "TestHelpers.h"
#include "TestMain.h"
#include "TestRandom.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>
#include <ctime>
#include <map>

namespace {

// Ends a live resize of the view, as its pause would, and paints what follows.
void settle(ChartView &view)
{
    if (auto *settling = view.findChild<QTimer *>(QStringLiteral("pChartSettleTimer")))
        settling->start(0);
    QCoreApplication::processEvents();
}

// Ends a live change as the settling timer does when it runs out, and paints what follows with
// nothing else delivered: the news of a drawing in the background waits.
void settleNow(ChartView &view)
{
    auto *settling = view.findChild<QTimer *>(QStringLiteral("pChartSettleTimer"));
    QVERIFY(settling);
    settling->stop();
    QMetaObject::invokeMethod(settling, "timeout");
    QCoreApplication::sendPostedEvents(&view, QEvent::UpdateRequest);
}

// Repaints the view, waits for the chart it draws in the background, shows it and answers how
// often the chart has been drawn; -1 when the drawing does not end.
int drawnAndShown(ChartView &view)
{
    view.repaint();
    if (!view.waitForDrawing())
        return -1;
    QCoreApplication::sendPostedEvents();
    view.repaint();
    return view.dataDraws();
}

// What the screen shows of the view, as last painted.
QImage shown(const ChartView &view)
{
    return view.screen()->grabWindow(view.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

constexpr double kDay = 86400;
const double kNo = ChartGeometry::kNoValue;

Date day(int year, int month, int dayOfMonth, int hour = 0, int minute = 0)
{
    return Date::fromComponents(year, month, dayOfMonth, hour, minute);
}

// Two or more dates with systolic values only.
ChartGeometry::Input inputWith(const QList<Date> &dates, const QList<QList<double>> &lines)
{
    ChartGeometry::Input input;
    input.dates = dates;
    input.lines = lines;
    for (qsizetype n = 0; n < lines.size(); ++n)
        input.colors.append(QColor(Qt::blue));
    return input;
}

ChartGeometry::Input spanning(double seconds, const Date &first = day(2024, 3, 5, 12))
{
    return inputWith({first, first.addingSeconds(seconds)}, {{120, 130}, {80, 85}});
}

QList<int> labelledIndexes(const ChartGeometry &g)
{
    QList<int> indexes;
    for (qsizetype i = 0; i < g.ticks.size(); ++i) {
        if (g.ticks[i].labelled)
            indexes.append(int(i));
    }
    return indexes;
}

bool near(double a, double b, double tolerance = 1e-3)
{
    return std::abs(a - b) <= tolerance;
}

// How far two colours are apart, as the largest difference of a channel.
int distance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// The smallest distance to the colour among the pixels of a row around x.
int nearest(const QImage &image, double x, int y, QRgb color)
{
    int best = 255;
    for (int dx = -1; dx <= 1; ++dx) {
        const int px = int(std::floor(x)) + dx;
        if (px >= 0 && px < image.width())
            best = std::min(best, distance(image.pixel(px, y), color));
    }
    return best;
}

QImage blankImage(const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

QImage render(const ChartGeometry &g, const QSize &size, bool forPrint,
              ChartPainter::Rendering rendering = ChartPainter::Rendering::Fast, double scale = 1)
{
    QImage image = blankImage(size * scale);
    QPainter painter(&image);
    painter.scale(scale, scale);
    ChartPainter::drawChart(painter, g, forPrint, rendering);
    return image;
}

// The chart of the period from..to with every point of every line, clipped at the plot's sides.
ChartGeometry everyPointOver(const ChartGeometry::Input &input, Date from, Date to,
                             const QRectF &bounds)
{
    double vmax = 0;
    for (const auto &values : input.lines) {
        for (double v : values)
            vmax = ChartGeometry::isValue(v) ? std::max(vmax, v) : vmax;
    }
    ChartGeometry g = ChartGeometry::computeFrame(from, to, vmax, Date(), bounds);
    g.dataClip = QRectF(g.plot.left(), bounds.top(), g.plot.width(), bounds.height());
    for (qsizetype n = 0; n < input.lines.size(); ++n) {
        ChartGeometry::Line line{input.colors.value(n), {}};
        for (qsizetype j = 0; j < input.dates.size(); ++j) {
            if (ChartGeometry::isValue(input.lines[n][j]))
                line.points.append(
                    QPointF(g.xForDate(input.dates[j]), g.yForValue(input.lines[n][j])));
        }
        g.lines.append(line);
    }
    return g;
}

// Edges of overlapping shapes may differ slightly; hardly any pixel differs clearly (at most
// one in `clearly`).
void expectAlike(const QImage &image, const QImage &reference, const char *what,
                 int clearly = 10000)
{
    qint64 total = 0, visible = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int d = distance(image.pixel(x, y), reference.pixel(x, y));
            total += d;
            if (d > 96)
                ++visible;
        }
    }
    const double pixels = double(image.width()) * image.height();
    const double mean = double(total) / pixels;
    qInfo("%s: mean difference %.3f, pixels differing by more than 96: %lld", what, mean, visible);
    QVERIFY2(mean < 2.0, what);
    QVERIFY2(visible < pixels / clearly, what);
}

// Readings twice a day for the given number of days, with values that wander like real ones.
ConstMeasurementList typicalReadings(const Date &start, int days, int perDay, quint32 seed)
{
    TestRandom random(seed); // the same readings with every standard library
    ConstMeasurementList readings;
    double drift = 0;
    for (int d = 0; d < days; ++d) {
        drift = 0.97 * drift + random.normal();
        for (int k = 0; k < perDay; ++k) {
            const Date when = start.addingSeconds(d * kDay + 7 * 3600 + k * (12.0 / perDay) * 3600 +
                                                  600 * random.normal());
            auto r = Measurement::create(when, int(132 + 3 * drift + 9 * random.normal()),
                                         int(84 + 2 * drift + 6 * random.normal()));
            if (random.normal() > -1.5)
                r->setPulse(Number::integer(qint64(68 + 7 * random.normal())));
            if (k == 0 && random.normal() > 0)
                r->setWeight(Number::real(std::round((78.5 + 0.5 * drift) * 10) / 10));
            readings.append(r);
        }
    }
    return readings;
}

// A shown chart view over 200 typical readings, one of them chosen, whose steps are timed by a
// clock the test moves by hand.
struct SteppedView
{
    explicit SteppedView(qsizetype selected)
    {
        source.setObjects(typicalReadings(day(2023, 1, 1), 100, 2, 5));
        source.setSelection(source.objects().at(selected));
        view.setStepClock([this] { return now; });
        view.setDataSource(&source);
        view.resize(500, 300);
        view.show();
    }
    ChartDataSource source;
    ChartView view;
    qint64 now = 0;
};

// The column of the selection marker halfway down the picture; -1 when there is none.
int markerX(const QImage &image)
{
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, image.height() / 2) == qRgb(0, 255, 0))
            return x;
    }
    return -1;
}

} // namespace

class TestChart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"))); }

    // The chart as it is without its optional legend; tests switch it on themselves.
    void init() { Preferences::useTemporaryStore("[General]\nchartShowLegend=false\n"); }

    // --- Layout ---------------------------------------------------------------------------

    void scaleTopFollowsTheLargestValue_data()
    {
        QTest::addColumn<double>("vmax");
        QTest::addColumn<double>("ytop");
        QTest::newRow("0") << 0.0 << 110.0;
        QTest::newRow("99") << 99.0 << 110.0;
        QTest::newRow("99.9") << 99.9 << 110.0;
        QTest::newRow("100") << 100.0 << 210.0;
        QTest::newRow("185") << 185.0 << 210.0;
        QTest::newRow("200") << 200.0 << 310.0;
        QTest::newRow("negative only") << -40.0 << 110.0;
    }
    void scaleTopFollowsTheLargestValue()
    {
        QFETCH(double, vmax);
        QFETCH(double, ytop);
        const Date first = day(2024, 1, 1);
        const auto g = ChartGeometry::compute(
            inputWith({first, first.addingSeconds(kDay)}, {{vmax, std::min(vmax, 0.0)}}),
            QRectF(0, 0, 400, 300));
        QCOMPARE(g.vmax, std::max(vmax, 0.0));
        QCOMPARE(g.ytop, ytop);
        // 0 on the bottom edge of the plot, ytop on its top edge.
        QCOMPARE(g.yForValue(0), g.plot.bottom());
        QCOMPARE(g.yForValue(ytop), g.plot.top());
    }

    void valueLabelsOfA270PointPlot()
    {
        const Date first = day(2024, 1, 1);
        const auto g = ChartGeometry::compute(
            inputWith({first, first.addingSeconds(kDay)}, {{185, 120}, {90, 80}}),
            QRectF(10, 20, 500, 330));
        QCOMPARE(g.plot, QRectF(40, 50, 440, 270));
        QCOMPARE(g.ytop, 210.0);
        QCOMPARE(g.labelStep, 50);
        QStringList texts;
        for (const auto &label : g.valueLabels) {
            texts.append(label.text);
            // Half the label step above the value's height, 20 points left of the axis.
            QVERIFY(near(label.topLeft.y(), g.yForValue(label.value) - 25));
            QCOMPARE(label.topLeft.x(), 20.0);
        }
        QCOMPARE(texts, QStringList({"  0", " 50", "100", "150", "200"}));
        QCOMPARE(g.gridValues.size(), 20);
        QCOMPARE(g.gridValues.first(), 10.0);
        QCOMPARE(g.gridValues.last(), 200.0);
    }

    void valueLabelStep_data()
    {
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("ytop");
        QTest::addColumn<int>("step");
        QTest::newRow("270 high, 210") << 270.0 << 210.0 << 50;
        QTest::newRow("270 high, 110") << 270.0 << 110.0 << 20;
        QTest::newRow("600 high, 110") << 600.0 << 110.0 << 10;
        QTest::newRow("60 high, 310") << 60.0 << 310.0 << 100;
        QTest::newRow("below 30 points") << 29.0 << 110.0 << 100;
        QTest::newRow("negative height") << -40.0 << 110.0 << 100;
    }
    void valueLabelStep()
    {
        QFETCH(double, height);
        QFETCH(double, ytop);
        QFETCH(int, step);
        QCOMPARE(ChartGeometry::valueLabelStep(height, ytop), step);
    }

    void timeStepSwitchesAtExactSpans_data()
    {
        QTest::addColumn<double>("span");
        QTest::addColumn<int>("step");
        using S = ChartGeometry::TimeStep;
        QTest::newRow("10 days") << 10 * kDay << int(S::Day);
        QTest::newRow("14 days less a second") << 14 * kDay - 1 << int(S::Day);
        QTest::newRow("14 days") << 14 * kDay << int(S::Week);
        QTest::newRow("61 days less a second") << 61 * kDay - 1 << int(S::Week);
        QTest::newRow("61 days") << 61 * kDay << int(S::Month);
        QTest::newRow("730.5 days less a second") << 730.5 * kDay - 1 << int(S::Month);
        QTest::newRow("730.5 days") << 730.5 * kDay << int(S::Year);
    }
    void timeStepSwitchesAtExactSpans()
    {
        QFETCH(double, span);
        QFETCH(int, step);
        const auto g = ChartGeometry::compute(spanning(span), QRectF(0, 0, 800, 400));
        QCOMPARE(int(g.timeStep), step);
        QCOMPARE(g.unit, ChartGeometry::unitForTimeStep(ChartGeometry::TimeStep(step)));
        // Every tick is a calendar boundary strictly between the first and the last date.
        QVERIFY(!g.ticks.isEmpty());
        Date previous = g.first;
        for (const auto &tick : g.ticks) {
            QVERIFY(tick.date > previous);
            QVERIFY(tick.date.timeIntervalSinceReferenceDate() <
                    g.first.timeIntervalSinceReferenceDate() + span);
            const Date::Components c = tick.date.components();
            QCOMPARE(c.hour, 0);
            QCOMPARE(c.minute, 0);
            switch (ChartGeometry::TimeStep(step)) {
            case ChartGeometry::TimeStep::Year:
                QCOMPARE(c.month, 1);
                Q_FALLTHROUGH();
            case ChartGeometry::TimeStep::Month:
                QCOMPARE(c.day, 1);
                break;
            case ChartGeometry::TimeStep::Week:
                QCOMPARE(c.weekday, Date::firstWeekday());
                break;
            case ChartGeometry::TimeStep::Day:
                break;
            }
            previous = tick.date;
        }
    }

    void dayTicksFallOnEachMidnight()
    {
        const auto g = ChartGeometry::compute(spanning(10 * kDay), QRectF(0, 0, 730, 400));
        QCOMPARE(g.ticks.size(), 10); // 6 March ... 15 March, each at midnight
        QCOMPARE(g.ticks.first().date, day(2024, 3, 6));
        QCOMPARE(g.ticks.last().date, day(2024, 3, 15));
        // x(t) = left + W * t / span
        QVERIFY(near(g.ticks.first().x, 30 + 670 * 0.5 / 10));
        QCOMPARE(g.units, 10);
        QCOMPARE(g.room, 9);
        QCOMPARE(g.labelEvery, 2);
        QCOMPARE(labelledIndexes(g), QList<int>({0, 2, 4, 6, 8}));
        const auto &tick = g.ticks.first();
        QCOMPARE(tick.text, QStringLiteral("3/6/24"));
        const double width = QFontMetricsF(ChartGeometry::labelFont()).horizontalAdvance(tick.text);
        QVERIFY(near(tick.labelTopLeft.x(), tick.x - width / 2));
        QCOMPARE(tick.labelTopLeft.y(), g.plot.bottom() + 2);
    }

    void labelSpacing_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<qint64>("room");
        QTest::addColumn<qint64>("k");
        QTest::newRow("36 units, room 5") << qint64(36) << qint64(5) << qint64(7);
        QTest::newRow("35 units, room 5") << qint64(35) << qint64(5) << qint64(6);
        QTest::newRow("5 units, room 5") << qint64(5) << qint64(5) << qint64(1);
        QTest::newRow("6 units, room 5") << qint64(6) << qint64(5) << qint64(2);
        QTest::newRow("no room") << qint64(10) << qint64(0) << qint64(11);
        QTest::newRow("no units") << qint64(0) << qint64(0) << qint64(1);
    }
    void labelSpacing()
    {
        QFETCH(qint64, units);
        QFETCH(qint64, room);
        QFETCH(qint64, k);
        QCOMPARE(ChartGeometry::labelSpacing(units, room), k);
        // The smallest such k.
        QVERIFY(units / k <= room);
        QVERIFY(k == 1 || units / (k - 1) > room);
    }

    void every7thYearIsLabelledOver36Years()
    {
        // 36.5 years on a plot 350 points wide: room 5, units 36, k 7. The first tick (1 January
        // 2001, less than 10 points from the axis) is skipped but still counts.
        const Date first = day(2000, 1, 2);
        const auto g =
            ChartGeometry::compute(spanning(36.5 * 365.25 * kDay, first), QRectF(0, 0, 410, 300));
        QCOMPARE(g.timeStep, ChartGeometry::TimeStep::Year);
        QCOMPARE(g.units, 36);
        QCOMPARE(g.room, 5);
        QCOMPARE(g.labelEvery, 7);
        QVERIFY(g.ticks.first().skipped);
        QCOMPARE(g.ticks.first().date, day(2001, 1, 1));
        QCOMPARE(labelledIndexes(g), QList<int>({1, 8, 15, 22, 29}));
        QCOMPARE(g.ticks[1].text, QStringLiteral("1/1/02"));
    }

    void everyWeekIsLabelledOver40Days()
    {
        const auto g = ChartGeometry::compute(spanning(40 * kDay), QRectF(0, 0, 410, 300));
        QCOMPARE(g.timeStep, ChartGeometry::TimeStep::Week);
        QCOMPARE(g.units, 5);
        QCOMPARE(g.labelEvery, 1);
        for (const auto &tick : g.ticks)
            QCOMPARE(tick.labelled, !tick.skipped);
    }

    void tickNearTheAxisIsSkipped()
    {
        // Ten days from 23:00: the first midnight comes an hour later, 2.8 points from the
        // axis. It gets no line and no label; the first label goes on the next tick.
        const auto g = ChartGeometry::compute(spanning(10 * kDay, day(2024, 3, 5, 23)),
                                              QRectF(0, 0, 730, 400));
        QCOMPARE(g.ticks.size(), 10);
        QVERIFY(g.ticks[0].skipped);
        QVERIFY(!g.ticks[0].labelled);
        QVERIFY(g.ticks[0].x - g.plot.left() < 10);
        QCOMPARE(labelledIndexes(g), QList<int>({1, 3, 5, 7, 9}));

        // On the image: no grid line at the skipped tick, one at the next.
        const QImage image = render(g, QSize(730, 400), false);
        const int y = int(g.plot.top()) + 3;
        const auto gridAt = [&](double x) {
            return qRed(image.pixel(int(std::floor(x)), y)) < 250 ||
                   qRed(image.pixel(int(std::floor(x)) + 1, y)) < 250;
        };
        QVERIFY(!gridAt(g.ticks[0].x));
        QVERIFY(gridAt(g.ticks[1].x));
    }

    void narrowPlotLabelsOnlyTheFirstDrawnTick()
    {
        const auto g = ChartGeometry::compute(spanning(12 * kDay), QRectF(0, 0, 125, 300));
        QCOMPARE(g.room, 0);
        QCOMPARE(g.labelEvery, g.units + 1);
        QCOMPARE(labelledIndexes(g).size(), 1);
    }

    void singleWeightLiftsTheScaleButDrawsNothing()
    {
        const Date first = day(2024, 5, 1, 8);
        const QList<Date> dates = {first, first.addingSeconds(kDay), first.addingSeconds(2 * kDay)};
        const auto g = ChartGeometry::compute(inputWith(dates, {{125, 130, 128},
                                                                {82, 85, 80},
                                                                {kNo, kNo, kNo},
                                                                {kNo, 250, kNo},
                                                                {kNo, kNo, kNo},
                                                                {kNo, kNo, kNo},
                                                                {kNo, kNo, kNo}}),
                                              QRectF(0, 0, 600, 400));
        QCOMPARE(g.ytop, 310.0);
        QCOMPARE(g.lines.size(), 7);
        QCOMPARE(g.lines[0].points.size(), 3);
        QCOMPARE(g.lines[1].points.size(), 3);
        for (int n = 2; n < 7; ++n)
            QVERIFY(g.lines[n].points.isEmpty());
    }

    void missingValuesAreSkippedAndTheLineJoinsAcross()
    {
        const Date first = day(2024, 5, 1, 8);
        QList<Date> dates;
        for (int j = 0; j < 5; ++j)
            dates.append(first.addingSeconds(j * kDay));
        const auto g = ChartGeometry::compute(
            inputWith(dates, {{120, 121, 122, 123, 124}, {kNo, 70, kNo, 72, kNo}}),
            QRectF(0, 0, 430, 300));
        QCOMPARE(g.lines[1].points.size(), 2);
        QCOMPARE(g.lines[1].points[0], QPointF(g.xForDate(dates[1]), g.yForValue(70)));
        QCOMPARE(g.lines[1].points[1], QPointF(g.xForDate(dates[3]), g.yForValue(72)));
        QCOMPARE(g.lines[0].points.first().x(), g.plot.left());
        QCOMPARE(g.lines[0].points.last().x(), g.plot.right());
    }

    void equalDatesPutEverythingInTheMiddle()
    {
        const Date when = day(2024, 5, 1, 8);
        auto input = inputWith({when, when, when}, {{120, 140, 130}, {80, 90, 85}});
        input.selectedDate = when;
        const auto g = ChartGeometry::compute(input, QRectF(0, 0, 400, 300));
        QVERIFY(!g.empty);
        QCOMPARE(g.span, 0.0);
        QVERIFY(g.ticks.isEmpty());
        for (const auto &p : g.lines[0].points)
            QCOMPARE(p.x(), 200.0);
        QVERIFY(g.hasSelection);
        QCOMPARE(g.selectionX, 200.0);
    }

    void selectionMarkerOnlyForDatesOnTheAxis()
    {
        const Date first = day(2024, 5, 1);
        auto input = spanning(10 * kDay, first);
        input.selectedDate = first.addingSeconds(4 * kDay);
        auto g = ChartGeometry::compute(input, QRectF(0, 0, 530, 300));
        QVERIFY(g.hasSelection);
        QVERIFY(near(g.selectionX, 30 + 470 * 0.4));
        input.selectedDate = first.addingSeconds(11 * kDay);
        QVERIFY(!ChartGeometry::compute(input, QRectF(0, 0, 530, 300)).hasSelection);
        input.selectedDate = Date();
        QVERIFY(!ChartGeometry::compute(input, QRectF(0, 0, 530, 300)).hasSelection);
    }

    void fewerThanTwoDatesMakeTheEmptyChart_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("none") << 0;
        QTest::newRow("one") << 1;
    }
    void fewerThanTwoDatesMakeTheEmptyChart()
    {
        QFETCH(int, count);
        ChartGeometry::Input input;
        for (int j = 0; j < count; ++j)
            input.dates.append(day(2024, 1, 1));
        input.lines = {QList<double>(count, 120.0)};
        const auto g = ChartGeometry::compute(input, QRectF(0, 0, 400, 300));
        QVERIFY(g.empty);
        QCOMPARE(g.emptyText, QStringLiteral("No data for the chart"));
        const double h = QFontMetricsF(ChartGeometry::emptyTextFont()).height();
        QVERIFY(near(g.emptyTextBox.height(), 2 * h));
        QCOMPARE(g.emptyTextBox.left(), g.plot.left());
        QCOMPARE(g.emptyTextBox.width(), g.plot.width());
        QVERIFY(near(g.emptyTextBox.center().y(), g.plot.center().y()));
    }

    void absurdValuesAndDatesStayBounded()
    {
        // Values no reading should hold, and dates far apart, must neither hang nor crash.
        const Date first = day(2024, 1, 1);
        const auto big = ChartGeometry::compute(
            inputWith({first, first.addingSeconds(kDay)},
                      {{1e12, std::numeric_limits<double>::infinity()}, {kNo, qQNaN()}}),
            QRectF(0, 0, 400, 300));
        QVERIFY(big.gridValues.size() <= ChartGeometry::kMaxGridLines);
        QVERIFY(big.valueLabels.size() <= ChartGeometry::kMaxGridLines + 1);
        QCOMPARE(big.lines[0].points.size(), 0); // one finite value only

        const auto far = ChartGeometry::compute(inputWith({Date(-3e11), Date(3e11)}, {{120, 130}}),
                                                QRectF(0, 0, 400, 300));
        QVERIFY(far.ticks.size() <= 100000);

        const auto broken = ChartGeometry::compute(
            inputWith({Date(), first, Date()}, {{120, 130, 140}}), QRectF(0, 0, 400, 300));
        QCOMPARE(broken.span, 0.0);

        // Many points, some far below the chart, drawn through the coverage mask.
        QList<Date> dates;
        QList<double> wild;
        for (int j = 0; j < 600; ++j) {
            dates.append(first.addingSeconds(j * 3600.0));
            wild.append(j % 7 == 0 ? -1e12 : 120.0 + j % 13);
        }
        const auto offChart =
            ChartGeometry::compute(inputWith(dates, {wild, wild}), QRectF(0, 0, 300, 200));
        QCOMPARE(offChart.lines[0].points.size(), 600);
        const QImage drawn = render(offChart, QSize(300, 200), false);
        QVERIFY(distance(drawn.pixel(offChart.lines[1].points[1].toPoint()), qRgb(0, 0, 255)) < 8);

        const auto tiny = ChartGeometry::compute(spanning(10 * kDay), QRectF(0, 0, 20, 20));
        QCOMPARE(tiny.room, 0);
        render(tiny, QSize(20, 20), false);
    }

    // --- Data source ----------------------------------------------------------------------

    void dataSourceAnswersSevenLinesWithNulls()
    {
        const Date first = day(2024, 2, 1, 7);
        auto a = Measurement::create(first, 121, 81);
        a->setPulse(Number::integer(66));
        a->setWeight(Number::real(80.5));
        a->setCustomValue1(Number::real(36.6));
        auto b = Measurement::create(first.addingSeconds(kDay), 135, 88);
        b->setPulse(Number::integer(70));
        b->setCustomValue3(Number::integer(7));
        auto c = Measurement::create(first.addingSeconds(2 * kDay), 128, 84);
        c->setWeight(Number::real(80.1));

        ChartDataSource source;
        source.setObjects({a, b, c});
        QCOMPARE(source.numberOfLines(), 7);
        QCOMPARE(source.arrayOfDates(),
                 QList<Date>({first, first.addingSeconds(kDay), first.addingSeconds(2 * kDay)}));

        auto same = [](const QList<double> &got, const QList<double> &want) {
            if (got.size() != want.size())
                return false;
            for (qsizetype j = 0; j < got.size(); ++j) {
                if (std::isnan(want[j]) ? !std::isnan(got[j]) : got[j] != want[j])
                    return false;
            }
            return true;
        };
        // Defaults: pulse and weight shown, custom values not.
        QVERIFY(same(source.arrayOfPointsForLine(0), {121, 135, 128}));
        QVERIFY(same(source.arrayOfPointsForLine(1), {81, 88, 84}));
        QVERIFY(same(source.arrayOfPointsForLine(2), {66, 70, kNo}));
        QVERIFY(same(source.arrayOfPointsForLine(3), {80.5, kNo, 80.1}));
        QVERIFY(same(source.arrayOfPointsForLine(4), {kNo, kNo, kNo}));
        QVERIFY(same(source.arrayOfPointsForLine(6), {kNo, kNo, kNo}));
        QVERIFY(same(source.arrayOfPointsForLine(7), {kNo, kNo, kNo}));
        QVERIFY(same(source.arrayOfPointsForLine(-1), {kNo, kNo, kNo}));

        Preferences::shared().setValueForKey(false, Preferences::showPulse);
        Preferences::shared().setValueForKey(true, Preferences::customShow1);
        Preferences::shared().setValueForKey(true, Preferences::customShow3);
        QVERIFY(same(source.arrayOfPointsForLine(2), {kNo, kNo, kNo}));
        QVERIFY(same(source.arrayOfPointsForLine(4), {36.6, kNo, kNo}));
        QVERIFY(same(source.arrayOfPointsForLine(5), {kNo, kNo, kNo}));
        QVERIFY(same(source.arrayOfPointsForLine(6), {kNo, 7, kNo}));

        QVERIFY(source.selectedDate().isNull());
        source.setSelection(b);
        QCOMPARE(source.selectedDate(), b->theWholeDate());
    }

    void dataSourceReadsColoursAtEachCall()
    {
        ChartDataSource source;
        QCOMPARE(source.colorForLine(0), QColor::fromRgbF(0, 0, 1));
        QCOMPARE(source.colorForLine(1), source.colorForLine(0));
        QCOMPARE(source.colorForLine(3).rgb(), QColor::fromRgbF(0.6f, 0.4f, 0.2f).rgb());
        Preferences::shared().setValueForKey(QColor(Qt::red), Preferences::chartColorPulse);
        QCOMPARE(source.colorForLine(2), QColor(Qt::red));
        QVERIFY(!source.colorForLine(7).isValid());
    }

    void dataSourceSignalsChanges()
    {
        ChartDataSource source;
        QSignalSpy spy(&source, &ChartDataSource::chartDataChanged);
        auto a = Measurement::create(day(2024, 1, 1), 120, 80);
        auto b = Measurement::create(day(2024, 1, 2), 125, 82);
        const ConstMeasurementList list = {a, b};
        source.setObjects(list);
        QCOMPARE(spy.count(), 1);
        source.setObjects(list); // the same list again still tells
        QCOMPARE(spy.count(), 2);
        source.setSelection(a);
        QCOMPARE(spy.count(), 3);
        source.setSelection(a); // the same reading does not
        QCOMPARE(spy.count(), 3);
        source.setSelection(nullptr);
        QCOMPARE(spy.count(), 4);

        // The preferences the chart shows, each of which redraws it.
        const QStringList shown = {"showWeight",
                                   "showPulse",
                                   "customShow1",
                                   "customShow2",
                                   "customShow3",
                                   "chartColorSystolic",
                                   "chartColorDiastolic",
                                   "chartColorPulse",
                                   "chartColorWeight",
                                   "chartColorCustom1",
                                   "chartColorCustom2",
                                   "chartColorCustom3",
                                   "customTitle1",
                                   "customTitle2",
                                   "customTitle3",
                                   "chartShowLegend",
                                   "chartShowThreshold",
                                   "homeThresholdSystolic",
                                   "homeThresholdDiastolic"};
        QStringList observed = ChartDataSource::observedKeys(), expected = shown;
        observed.sort();
        expected.sort();
        QCOMPARE(observed, expected); // in no particular order
        for (const QString &key : shown) {
            spy.clear();
            const auto type = Preferences::typeOfKey(key);
            const QVariant value = type == Preferences::Type::Color ? QVariant(QColor(Qt::darkCyan))
                                   : type == Preferences::Type::Integer ? QVariant(100)
                                   : type == Preferences::Type::String
                                       ? QVariant(QStringLiteral("Sugar"))
                                       : QVariant(!Preferences::shared().boolForKey(key));
            QVERIFY(Preferences::shared().setValueForKey(value, key));
            QVERIFY2(spy.count() == 1, qPrintable(key));
        }
        spy.clear();
        Preferences::shared().setValueForKey(2, Preferences::rowSize);
        Preferences::shared().setValueForKey(false, Preferences::printPageHeader);
        QCOMPARE(spy.count(), 0);
    }

    // The legend names each drawn line in its colour, with the user's titles, above the plot;
    // the axis says its unit; the threshold lines come only when asked for.
    void legendUnitAndThreshold()
    {
        Preferences &prefs = Preferences::shared();
        ChartDataSource source;
        source.setObjects(typicalReadings(day(2024, 2, 1), 20, 2, 7));
        QVERIFY(source.legendTitles().isEmpty());
        QVERIFY(source.thresholds().isEmpty());

        prefs.setValueForKey(true, Preferences::chartShowLegend);
        prefs.setValueForKey(false, Preferences::showWeight);
        prefs.setValueForKey(true, Preferences::customShow2);
        prefs.setValueForKey(QStringLiteral("Sugar"), Preferences::customTitle2);
        prefs.setValueForKey(QColor(Qt::red), Preferences::chartColorPulse);
        ChartGeometry g =
            ChartGeometry::compute(ChartPainter::inputFromSource(&source), QRectF(0, 0, 900, 500));
        QStringList titles;
        for (const auto &entry : g.legend) {
            titles.append(entry.title);
            QVERIFY(!entry.rect.intersects(g.plot));
            QVERIFY(g.bounds.contains(entry.rect));
        }
        // The custom line has no values: it is not drawn and not named.
        QCOMPARE(titles, (QStringList{"Systolic", "Diastolic", "Pulse"}));
        QCOMPARE(g.legend.at(2).color, QColor(Qt::red));
        QCOMPARE(g.unitText, QStringLiteral("mmHg"));
        QVERIFY(g.thresholds.isEmpty());
        QCOMPARE(source.legendTitles().at(ChartDataSource::Custom2), QStringLiteral("Sugar"));
        QVERIFY(source.legendTitles().at(ChartDataSource::Weight).isEmpty());

        prefs.setValueForKey(true, Preferences::chartShowThreshold);
        prefs.setValueForKey(140, Preferences::homeThresholdSystolic);
        g = ChartGeometry::compute(ChartPainter::inputFromSource(&source), QRectF(0, 0, 900, 500));
        QCOMPARE(g.thresholds.size(), 2);
        QCOMPARE(g.thresholds.at(0).value, 140.0);
        QCOMPARE(g.thresholds.at(0).y, g.yForValue(140));
        QCOMPARE(g.thresholds.at(1).value, 85.0);

        // Drawn: the legend's sample strokes carry the line colours.
        const QImage image = ChartPainter::renderImage(&source, QSize(900, 500));
        const QPointF mid = g.legend.at(2).sample.center();
        const QColor drawn = image.pixelColor(mid.toPoint());
        QVERIFY(drawn.red() > 240 && drawn.green() < 20 && drawn.blue() < 20);
    }

    void pageRedrawsForItsOwnSourceOnly()
    {
        ChartDataSource first, second;
        PageChart pageA, pageB;
        pageA.setChartDataSource(&first);
        pageB.setChartDataSource(&second);
        pageA.resize(300, 200);
        pageB.resize(300, 200);
        pageA.show();
        pageB.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pageA));
        QVERIFY(QTest::qWaitForWindowExposed(&pageB));

        struct PaintCounter : QObject
        {
            int count = 0;
            bool eventFilter(QObject *, QEvent *event) override
            {
                if (event->type() == QEvent::Paint)
                    ++count;
                return false;
            }
        } paintsA, paintsB;
        pageA.chartView()->installEventFilter(&paintsA);
        pageB.chartView()->installEventFilter(&paintsB);
        QCoreApplication::processEvents();
        paintsA.count = paintsB.count = 0;

        // Paints arrive through the event loop: wait for them, within a bound. A page that must
        // not paint is checked once the other page's paint of the same moment has arrived.
        first.setObjects({Measurement::create(day(2024, 1, 1), 120, 80),
                          Measurement::create(day(2024, 1, 2), 130, 85)});
        QTRY_VERIFY_WITH_TIMEOUT(paintsA.count >= 1, 5000);
        QCOMPARE(paintsB.count, 0);

        paintsA.count = 0;
        Preferences::shared().setValueForKey(QColor(Qt::red), Preferences::chartColorSystolic);
        QTRY_VERIFY_WITH_TIMEOUT(paintsA.count >= 1 && paintsB.count >= 1, 5000);

        pageA.setChartDataSource(nullptr);
        paintsB.count = 0;
        second.notifyObservers(); // once B has painted, whatever A had coming has come
        QTRY_VERIFY_WITH_TIMEOUT(paintsB.count >= 1, 5000);
        paintsA.count = paintsB.count = 0;
        first.notifyObservers();
        second.notifyObservers();
        QTRY_VERIFY_WITH_TIMEOUT(paintsB.count >= 1, 5000);
        QCOMPARE(paintsA.count, 0);
    }

    // --- Drawing --------------------------------------------------------------------------

    void linesDotsAndMarkerLandWhereTheyShould()
    {
        Preferences::shared().setValueForKey(QColor(Qt::red), Preferences::chartColorSystolic);
        const Date first = day(2024, 4, 1, 8);
        auto a = Measurement::create(first, 150, 95);
        auto b = Measurement::create(first.addingSeconds(3 * kDay), 120, 70);
        auto c = Measurement::create(first.addingSeconds(6 * kDay), 160, 100);
        ChartDataSource source;
        source.setObjects({a, b, c});
        source.setSelection(b);
        const QSize size(600, 400);
        const QRectF bounds(QPointF(0, 0), QSizeF(size));
        const auto g = ChartGeometry::compute(ChartPainter::inputFromSource(&source), bounds);

        for (bool forPrint : {false, true}) {
            QImage image = blankImage(size);
            {
                QPainter painter(&image);
                ChartPainter::drawChartUsingSource(painter, &source, bounds, forPrint);
            }
            // Dots: the line's own colour at each point (beside the marker's column).
            for (const QPointF &p : g.lines[0].points)
                QVERIFY(distance(image.pixel(p.toPoint() + QPoint(1, 0)), qRgb(255, 0, 0)) < 8);
            for (const QPointF &p : g.lines[1].points)
                QVERIFY(distance(image.pixel(p.toPoint() + QPoint(1, 0)), qRgb(0, 0, 255)) < 8);
            // Halfway between two dots lies the line, and nothing a few points beside it.
            const QPointF mid = (g.lines[1].points[1] + g.lines[1].points[2]) / 2;
            QVERIFY(nearest(image, mid.x(), int(mid.y()), qRgb(0, 0, 255)) < 100);
            QVERIFY(qBlue(image.pixel(mid.toPoint() + QPoint(0, 5))) <= 240 ||
                    qRed(image.pixel(mid.toPoint() + QPoint(0, 5))) > 200);
            QVERIFY(nearest(image, mid.x(), int(mid.y()) + 5, qRgb(0, 0, 255)) > 150);
            // The marker: green on screen at the selected reading's x, away from the dots.
            const int x = int(std::floor(g.selectionX));
            int green = 0;
            for (int dx = -1; dx <= 1; ++dx) {
                if (image.pixel(x + dx, int(g.plot.top()) + 20) == qRgb(0, 255, 0))
                    ++green;
            }
            QCOMPARE(green > 0, !forPrint);
            // The value axis in grey.
            // The value axis in grey: crisp on screen, antialiased (over two columns) on paper.
            QVERIFY(nearest(image, g.plot.left(), int(g.plot.center().y()), qRgb(128, 128, 128)) <
                    (forPrint ? 70 : 30));
        }

        // Without a marker there is no green at all.
        const QImage plain = ChartPainter::renderImage(&source, size);
        for (int y = 0; y < size.height(); y += 2) {
            for (int x = 0; x < size.width(); ++x)
                QVERIFY(plain.pixel(x, y) != qRgb(0, 255, 0));
        }
    }

    void emptyChartTextLandsInItsBand()
    {
        ChartDataSource source;
        source.setObjects({Measurement::create(day(2024, 1, 1), 120, 80)});
        const QSize size(500, 300);
        const auto g = ChartGeometry::compute(ChartPainter::inputFromSource(&source),
                                              QRectF(QPointF(0, 0), QSizeF(size)));
        for (bool forPrint : {false, true}) {
            QImage image = blankImage(size);
            {
                QPainter painter(&image);
                ChartPainter::drawChartUsingSource(painter, &source, QRectF(QPointF(0, 0), size),
                                                   forPrint);
            }
            QRect inked;
            for (int y = 0; y < size.height(); ++y) {
                for (int x = 0; x < size.width(); ++x) {
                    const QPoint p(x, y);
                    const bool outline =
                        forPrint && (std::abs(x - 30) <= 1 || std::abs(x - 470) <= 1 ||
                                     std::abs(y - 30) <= 1 || std::abs(y - 270) <= 1);
                    if (image.pixel(p) != qRgb(255, 255, 255) && !outline)
                        inked |= QRect(p, QSize(1, 1));
                }
            }
            QVERIFY(!inked.isEmpty());
            QVERIFY(g.emptyTextBox.contains(inked));
            QVERIFY(near(inked.center().x(), g.emptyTextBox.center().x(), 2));
            QVERIFY(inked.bottom() < g.plot.center().y() + 2); // just above the middle
            // On paper the plot has a grey outline; on screen it has none.
            QCOMPARE(nearest(image, 30, 150, qRgb(128, 128, 128)) < 40, forPrint);
        }
    }

    void fastDrawingLooksLikeExactDrawing_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("perDay");
        QTest::addColumn<double>("scale");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("shown"); // the part of the period shown, around its middle
        const QSize size(900, 500);
        QTest::newRow("a month") << 30 << 2 << 1.0 << size << 1.0;
        QTest::newRow("three years") << 1095 << 2 << 1.0 << size << 1.0;
        QTest::newRow("three years, dense") << 1095 << 6 << 1.0 << size << 1.0;
        QTest::newRow("a year at twice the resolution") << 365 << 3 << 2.0 << size << 1.0;
        QTest::newRow("many in a small chart") << 1000 << 6 << 1.0 << QSize(250, 200) << 1.0;
        QTest::newRow("a month of three years") << 1095 << 3 << 1.0 << size << 1 / 36.0;
        QTest::newRow("a third, small, twice the resolution")
            << 1000 << 6 << 2.0 << QSize(250, 200) << 1 / 3.0;
        // Dots too large for the stamps kept padded to a fixed height.
        QTest::newRow("a third, small, three times the resolution")
            << 1000 << 6 << 3.0 << QSize(250, 200) << 1 / 3.0;
    }
    void fastDrawingLooksLikeExactDrawing()
    {
        QFETCH(int, days);
        QFETCH(int, perDay);
        QFETCH(double, scale);
        QFETCH(QSize, size);
        QFETCH(double, shown);
        ChartDataSource source;
        source.setObjects(typicalReadings(day(2021, 1, 1), days, perDay, 7));
        const QRectF bounds(QPointF(0, 0), QSizeF(size));
        const ChartGeometry::Input input = ChartPainter::inputFromSource(&source);
        const double first = input.dates.first().timeIntervalSinceReferenceDate();
        const double period = input.dates.last().timeIntervalSinceReferenceDate() - first;
        const Date from(first + period * (1 - shown) / 2), to(from.addingSeconds(period * shown));
        const auto g = shown < 1 ? everyPointOver(input, from, to, bounds)
                                 : ChartGeometry::compute(input, bounds);
        const QImage exact = render(g, size, false, ChartPainter::Rendering::Exact, scale);
        const QImage fast = render(g, size, false, ChartPainter::Rendering::Fast, scale);
        // What the screen draws: thinned from the summary, for the period shown.
        const QImage thinned = render(ChartSummary(input).layout(bounds, scale, from, to), size,
                                      false, ChartPainter::Rendering::Fast, scale);
        expectAlike(fast, exact, "fast");
        // Where more than a dozen readings share a pixel column the dots between a column's
        // extremes are left out: a few gaps show at the ragged edge of a dense band.
        expectAlike(thinned, exact, "thinned from the summary", 200);
    }

    // Many points go straight into an image painted on plainly; anything else (here a clip of
    // the caller's) gets the same picture through the painter.
    void denseLinesLookTheSameStraightOrThroughThePainter()
    {
        ChartDataSource source;
        source.setObjects(typicalReadings(day(2021, 1, 1), 1000, 6, 7));
        const ChartGeometry::Input input = ChartPainter::inputFromSource(&source);
        const ChartSummary summary(input);
        const QSize size(250, 200);
        const QRectF bounds(QPointF(0, 0), QSizeF(size));
        const double first = input.dates.first().timeIntervalSinceReferenceDate();
        const double period = input.dates.last().timeIntervalSinceReferenceDate() - first;
        for (const double scale : {1.0, 2.0, 3.0}) {
            const Date from(first + period / 3), to(from.addingSeconds(period / 3));
            for (const ChartGeometry &g :
                 {ChartGeometry::compute(input, bounds), summary.layout(bounds, scale, from, to)}) {
                const QImage straight =
                    render(g, size, false, ChartPainter::Rendering::Fast, scale);
                QImage through = blankImage(size * scale);
                QPainter painter(&through);
                painter.scale(scale, scale);
                painter.setClipRect(bounds);
                ChartPainter::drawChart(painter, g, false);
                painter.end();
                int worst = 0;
                for (int y = 0; y < through.height(); ++y) {
                    for (int x = 0; x < through.width(); ++x)
                        worst =
                            std::max(worst, distance(straight.pixel(x, y), through.pixel(x, y)));
                }
                QVERIFY2(worst <= 2, qPrintable(QString::number(worst)));
            }
        }
    }

    // A long line's strokes, drawn through a coverage mask, cover each pixel by how far its
    // centre lies within reach of the stroke (half the line's width and half a pixel), between
    // the stroke's ends, and add up as painting one over the other would. The ends and sides of
    // the strokes fall on pixel centres, a hair beside them or anywhere between: the rows found
    // for them must be the same either way. Upright, steep and flat strokes; at half, single and
    // double resolution, so with and without fully covered middles; into the image and through
    // the painter. Dots of no size leave the strokes alone.
    void maskStrokesCoverPixelsByTheirReach()
    {
        TestRandom random(11);
        const double hairs[] = {0, 0.5, 0.25, 1e-9, 0.5 - 1e-9, 0.5 + 1e-9, 1 - 1e-9};
        const auto offset = [&] {
            const int pick = int(random.uniform() * 10);
            return pick < 7 ? hairs[pick] : random.uniform();
        };
        // Between a top and a bottom band, now and then upright, or flat within a band.
        QList<QPointF> points{QPointF(6 + offset(), 6 + offset())};
        for (int i = 1; i < 50; ++i) {
            const QPointF &p = points.last();
            const bool top = p.y() < 30;
            if (i % 11 == 0)
                points.append(QPointF(p.x() + 20 + offset(), (top ? 6 : 52) + offset()));
            else if (i % 7 == 0)
                points.append(QPointF(p.x(), (top ? 52 : 6) + offset()));
            else
                points.append(QPointF(std::floor(p.x()) + int(random.uniform() * 6) + offset(),
                                      (top ? 52 : 6) + offset()));
        }
        const QSize size(int(points.last().x()) + 10, 64);
        for (const double scale : {0.5, 1.0, 2.0}) {
            // Each pixel's coverage in 255ths.
            const QSize pixels = size * scale;
            std::vector<int> expected(size_t(pixels.width() * pixels.height()), 0);
            const double reach = ChartGeometry::kLineWidth / 2 * scale + 0.5;
            for (qsizetype j = 0; j + 1 < points.size(); ++j) {
                const QPointF a = points[j] * scale, v = points[j + 1] * scale - a;
                const double length2 = QPointF::dotProduct(v, v), length = std::sqrt(length2);
                const QRect around =
                    QRectF(a, a + v).normalized().toAlignedRect().adjusted(-3, -3, 3, 3);
                for (int y = std::max(0, around.top());
                     y <= std::min(pixels.height() - 1, around.bottom()); ++y) {
                    for (int x = std::max(0, around.left());
                         x <= std::min(pixels.width() - 1, around.right()); ++x) {
                        const QPointF p = QPointF(x + 0.5, y + 0.5) - a;
                        const double t = QPointF::dotProduct(p, v) / length2;
                        const double c = reach - std::abs(p.x() * -v.y() + p.y() * v.x()) / length;
                        if (t < 0 || t > 1 || c <= 0)
                            continue;
                        const int add = c >= 1 ? 255 : int(c * 255 + 0.5);
                        int &r = expected[size_t(y * pixels.width() + x)];
                        r = r + add - (r * add + 127) / 255;
                    }
                }
            }
            for (const bool straight : {true, false}) {
                QImage image = blankImage(pixels);
                {
                    QPainter painter(&image);
                    painter.scale(scale, scale);
                    ChartRaster::LineBatch batch(painter, straight ? &image : nullptr, image.rect(),
                                                 QRectF(QPointF(0, 0), size));
                    QVERIFY(batch.add(points, points, Qt::black, 0));
                }
                int worst = 0, covered = 0;
                for (int y = 0; y < pixels.height(); ++y) {
                    for (int x = 0; x < pixels.width(); ++x) {
                        const int coverage = 255 - qRed(image.pixel(x, y));
                        const int want = expected[size_t(y * pixels.width() + x)];
                        worst = std::max(worst, std::abs(coverage - want));
                        covered += want > 0;
                    }
                }
                // Rounding the sums in another order moves a level or two.
                QVERIFY2(worst <= 2, qPrintable(QStringLiteral("scale %1, %2: %3")
                                                    .arg(scale)
                                                    .arg(straight ? "straight" : "painter")
                                                    .arg(worst)));
                QVERIFY(covered > pixels.width() * 4);
            }
        }
    }

    // Each device pixel column shows the same highest and lowest value of every line whether the
    // summary thins the readings or every reading is drawn; with enough readings for the lines to
    // be summarised and laid out on two threads. The summary's pyramids of extremes pick the
    // same points as going through every value.
    void thinningKeepsEachColumnsExtremes()
    {
        ChartDataSource source;
        source.setObjects(typicalReadings(day(2021, 1, 1), 3500, 6, 7));
        const ChartGeometry::Input input = ChartPainter::inputFromSource(&source);
        ChartSummary summary(input);
        const ChartSummary withoutPyramids(input);
        summary.buildTrees();
        const QRectF bounds(0, 0, 250, 200);
        const double first = input.dates.first().timeIntervalSinceReferenceDate();
        const double period = input.dates.last().timeIntervalSinceReferenceDate() - first;
        using Extremes = std::map<std::pair<qsizetype, int>, std::pair<double, double>>;
        const auto extremes = [](const ChartGeometry &g, double scale) {
            Extremes columns;
            for (qsizetype n = 0; n < g.lines.size(); ++n) {
                for (const QPointF &p : g.lines[n].points) {
                    if (p.x() < g.plot.left() || p.x() >= g.plot.right())
                        continue;
                    const auto at = std::make_pair(n, int(std::floor(p.x() * scale)));
                    const auto found = columns.find(at);
                    if (found == columns.end())
                        columns[at] = {p.y(), p.y()};
                    else
                        found->second = {std::min(found->second.first, p.y()),
                                         std::max(found->second.second, p.y())};
                }
            }
            return columns;
        };
        for (const double scale : {1.0, 2.0}) {
            for (const double shown : {1.0, 1 / 3.0}) {
                const Date from(first + period * (1 - shown) / 2);
                const Date to = from.addingSeconds(period * shown);
                const ChartGeometry thinned = summary.layout(bounds, scale, from, to);
                const ChartGeometry every = everyPointOver(input, from, to, bounds);
                qsizetype kept = 0, all = 0;
                for (qsizetype n = 0; n < every.lines.size(); ++n) {
                    kept += thinned.lines[n].points.size();
                    all += every.lines[n].points.size();
                }
                QVERIFY(kept < all / 2); // thinned indeed
                QCOMPARE(extremes(thinned, scale), extremes(every, scale));
                const ChartGeometry scanned = withoutPyramids.layout(bounds, scale, from, to);
                for (qsizetype n = 0; n < every.lines.size(); ++n)
                    QCOMPARE(scanned.lines[n].points, thinned.lines[n].points);
            }
        }
    }

    // A line with fewer values than there are times (an input made by hand) is laid out over
    // its own values only.
    void shortLineIsLaidOutOverItsOwnValues()
    {
        QList<Date> dates;
        QList<double> values;
        for (int j = 0; j < 30000; ++j) {
            dates.append(day(2021, 1, 1).addingSeconds(j * 600.0));
            values.append(100 + j % 37);
        }
        const ChartSummary summary(inputWith(dates, {values, values.mid(0, 15000)}));
        const ChartGeometry g = summary.layout(QRectF(0, 0, 250, 200), 1.0);
        QCOMPARE(g.lines.size(), 2);
        QVERIFY(!g.lines[1].points.isEmpty());
        QCOMPARE(g.lines[1].points.last().x(), g.xForDate(dates[14999]));
        QCOMPARE(g.lines[0].points.last().x(), g.xForDate(dates.last()));
    }

    void pdfOutputIsVector()
    {
        ChartDataSource source;
        source.setObjects(typicalReadings(day(2022, 6, 1), 200, 2, 3));
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("chart.pdf"));
        {
            QPdfWriter writer(fileName);
            writer.setResolution(72);
            QPainter painter(&writer);
            ChartPainter::drawChartUsingSource(painter, &source, QRectF(20, 20, 500, 320), true);
        }
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.size() > 1000);
        QVERIFY(file.readAll().startsWith("%PDF"));
    }

    void pngIsWrittenAtItsSizeOrRefused()
    {
        ChartDataSource source;
        source.setObjects(typicalReadings(day(2024, 2, 1), 3, 2, 1));
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("chart.png"));
        QString error;
        QVERIFY2(ChartPainter::renderPng(&source, png, QSize(320, 200), &error), qPrintable(error));
        QCOMPARE(QImage(png).size(), QSize(320, 200));
        QVERIFY(!ChartPainter::renderPng(&source, png, QSize(0, 5), &error));
        QVERIFY(error.contains(QStringLiteral("0×5")));
        QVERIFY(!ChartPainter::renderPng(&source, QStringLiteral("/nonexistent/dir/chart.png"),
                                         QSize(100, 100), &error));
        QVERIFY(error.contains(QLatin1String("/nonexistent/dir/chart.png")));
    }

    // --- On screen ------------------------------------------------------------------------

    void screenKeepsItsImageUntilWhatItShowsChanges()
    {
        ChartDataSource source;
        source.setObjects(typicalReadings(day(2023, 1, 1), 100, 2, 5));
        source.setSelection(source.objects().at(30));
        ChartView view;
        view.setDataSource(&source);
        view.resize(500, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const auto drawsAfterRepaint = [&view] {
            view.repaint();
            return view.dataDraws();
        };
        int draws = drawsAfterRepaint();
        // The screen shows the painter's picture, marker included.
        QCOMPARE(view.grab().toImage().convertToFormat(QImage::Format_RGB32),
                 ChartPainter::renderImage(&source, view.size(), true)
                     .convertToFormat(QImage::Format_RGB32));
        QCOMPARE(drawsAfterRepaint(), draws); // exposed again
        source.setSelection(source.objects().at(40));
        QCOMPARE(drawsAfterRepaint(), draws); // the marker moved
        Preferences::shared().setValueForKey(2, Preferences::rowSize);
        QCOMPARE(drawsAfterRepaint(), draws); // a preference the chart does not show

        source.setObjects(source.objects()); // the same list may hold changed readings
        QCOMPARE(drawsAfterRepaint(), ++draws);
        Preferences::shared().setValueForKey(QColor(Qt::red), Preferences::chartColorDiastolic);
        QCOMPARE(drawsAfterRepaint(), ++draws);
        Preferences::shared().setValueForKey(false, Preferences::showPulse);
        QCOMPARE(drawsAfterRepaint(), ++draws);
        view.resize(520, 310);
        settle(view); // soon after the first resize, this one may be shown stretched until now
        QCOMPARE(drawnAndShown(view), ++draws);
        QTest::keyClick(&view, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(drawnAndShown(view), ++draws);
        QImage sharp(view.size() * 2, QImage::Format_ARGB32_Premultiplied);
        sharp.setDevicePixelRatio(2);
        view.render(&sharp);
        QCOMPARE(view.dataDraws(), ++draws);
        view.render(&sharp);
        QCOMPARE(view.dataDraws(), draws);
    }

    // Resizes in quick succession show the kept image stretched, with the marker and the hit
    // readings where the exact drawing puts them, and draw the chart once they stop, in the
    // background: the screen shows the stretched image until the drawing is there, and only a
    // drawing of what is still wanted. Other data and another pixel ratio are drawn at once.
    void liveResizeStretchesTheChartUntilItStops()
    {
        SteppedView stepped(30);
        auto &[source, view, now] = stepped;
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const auto drawsAfterRepaint = [&view] {
            view.repaint();
            return view.dataDraws();
        };
        const auto exact = [&source, &view] {
            return ChartPainter::renderImage(&source, view.size(), true)
                .convertToFormat(QImage::Format_RGB32);
        };
        // The view's size stretched from the kept image of the whole at that size.
        const auto previewFrom = [&source, &view](const QSize &kept) {
            ChartCanvas fresh;
            fresh.setDataSource(&source);
            QImage image(view.size(), QImage::Format_RGB32);
            QPainter painter(&image);
            fresh.paint(painter, kept, 1);
            fresh.paint(painter, view.size(), 1, Date(), Date(), ChartCanvas::Drawing::Preview);
            return image;
        };
        auto *settling = view.findChild<QTimer *>(QStringLiteral("pChartSettleTimer"));
        QVERIFY(settling);
        int draws = drawsAfterRepaint();

        now += 1000; // the first resize after a pause is drawn at once, in the background
        view.resize(520, 310);
        QCOMPARE(drawnAndShown(view), ++draws);
        for (const QSize size : {QSize(560, 330), QSize(700, 420), QSize(640, 380)}) {
            now += 40;
            view.resize(size);
            QCOMPARE(drawsAfterRepaint(), draws);
            QVERIFY(settling->isActive());
        }
        const QImage preview = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(preview, previewFrom(QSize(520, 310)));
        QCOMPARE(markerX(preview), markerX(exact()));
        // The pointer finds the reading where the exact drawing will put it.
        const auto at = [&source](qsizetype i) {
            return source.objects().at(i)->theWholeDate().timeIntervalSinceReferenceDate();
        };
        const QPoint hover(qRound(30 + 580 * (at(60) - at(0)) / (at(199) - at(0))), 150);
        QHelpEvent rest(QEvent::ToolTip, hover, view.mapToGlobal(hover));
        QApplication::sendEvent(&view, &rest);
        QCOMPARE(QToolTip::text(), ChartView::toolTipForReading(*source.objects().at(60)));
        QToolTip::hideText();

        // While resizing, another pixel ratio and other data are drawn at once, another period
        // in the background.
        now += 40;
        view.resize(600, 400);
        QImage sharp(view.size() * 2, QImage::Format_ARGB32_Premultiplied);
        sharp.setDevicePixelRatio(2);
        view.render(&sharp);
        QCOMPARE(view.dataDraws(), ++draws);
        source.setObjects(source.objects());
        QCOMPARE(drawsAfterRepaint(), ++draws);
        QTest::keyClick(&view, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(drawnAndShown(view), ++draws);
        QTest::keyClick(&view, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(drawnAndShown(view), ++draws);
        now += 40;
        view.resize(620, 390);
        QCOMPARE(drawsAfterRepaint(), draws);

        // Once the resizing stops: the stretched image at once, then one drawing, the same as a
        // fresh one.
        settleNow(view);
        QCOMPARE(shown(view), previewFrom(QSize(600, 400)));
        QVERIFY(view.waitForDrawing());
        QCOMPARE(view.dataDraws(), ++draws);
        QCOMPARE(drawnAndShown(view), draws);
        QCOMPARE(shown(view), exact());

        // A drawing overtaken by another size is never shown: the other is drawn next.
        for (const QSize size : {QSize(600, 380), QSize(640, 400)}) {
            now += 1000;
            view.resize(size);
            view.repaint();
            QCOMPARE(shown(view), previewFrom(QSize(620, 390)));
        }
        QVERIFY(view.waitForDrawing());
        QCoreApplication::sendPostedEvents();
        view.repaint();
        const QImage next = shown(view);
        QVERIFY(next == previewFrom(QSize(620, 390)) || next == exact());
        QCOMPARE(drawnAndShown(view), draws += 2);
        QCOMPARE(shown(view), exact());

        // Other data (over the same period) while a drawing is under way: drawn at once, the
        // drawing of the old data dropped.
        now += 1000;
        view.resize(600, 400);
        view.repaint();
        ConstMeasurementList fewer = source.objects();
        fewer.remove(40, 100);
        source.setObjects(fewer);
        view.repaint();
        QCOMPARE(shown(view), exact());
        QVERIFY(view.waitForDrawing());
        QCOMPARE(view.dataDraws(), draws += 2);
        QCOMPARE(drawnAndShown(view), draws);
        QCOMPARE(shown(view), exact());

        // The view goes with a drawing under way.
        now += 1000;
        view.resize(560, 360);
        view.repaint();
    }

    // Zooms and moves in quick succession show the kept image mapped onto the new period, with
    // the marker and the readings under the pointer where the exact drawing puts them, and
    // draw the chart once they stop. The first after a pause draws at once. Either is drawn in
    // the background.
    void quickStepsShowThePreviewUntilTheyStop_data()
    {
        QTest::addColumn<int>("key"); // none: a notch of the wheel
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Ctrl+Plus") << int(Qt::Key_Plus) << int(Qt::ControlModifier);
        QTest::newRow("Ctrl+Minus") << int(Qt::Key_Minus) << int(Qt::ControlModifier);
        QTest::newRow("wheel") << 0 << 0;
        QTest::newRow("Right") << int(Qt::Key_Right) << 0;
        QTest::newRow("Left") << int(Qt::Key_Left) << 0;
    }

    void quickStepsShowThePreviewUntilTheyStop()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        SteppedView stepped(100);
        auto &[source, view, now] = stepped;
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const auto grab = [&view] {
            return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        const auto exact = [&source, &view] {
            ChartCanvas fresh;
            fresh.setDataSource(&source);
            QImage image(view.size(), QImage::Format_RGB32);
            QPainter painter(&image);
            fresh.paint(painter, view.size(), 1, view.shownPeriod().first,
                        view.shownPeriod().second);
            return image;
        };
        const auto step = [&] {
            now += 40;
            if (key) {
                QTest::keyClick(&view, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            } else {
                const QPointF at(30 + 440 * 0.3, 150);
                QWheelEvent event(at, view.mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                                  Qt::NoModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(&view, &event);
            }
            view.repaint();
        };
        auto *settling = view.findChild<QTimer *>(QStringLiteral("pChartSettleTimer"));
        QVERIFY(settling);
        // Zoomed in first, with pauses, so that there is room to move and to zoom out.
        for (int i = 0; i < 4; ++i) {
            now += 1000;
            QTest::keyClick(&view, Qt::Key_Plus, Qt::ControlModifier);
            drawnAndShown(view);
        }
        QVERIFY(!settling->isActive());
        int draws = view.dataDraws();

        now += 1000;
        step();
        QCOMPARE(drawnAndShown(view), ++draws);
        const QImage before = grab();
        const double firstBefore = view.shownPeriod().first.timeIntervalSinceReferenceDate();
        for (int i = 0; i < 2; ++i) {
            step();
            QCOMPARE(view.dataDraws(), draws);
            QVERIFY(settling->isActive());
        }
        const QImage preview = grab();
        QCOMPARE(markerX(preview), markerX(exact()));
        const auto [first, last] = view.shownPeriod();
        const double span =
            last.timeIntervalSinceReferenceDate() - first.timeIntervalSinceReferenceDate();
        if (modifiers == 0 && key != 0) {
            // A move shifts the plot and the dates below it by whole pixels; what it brings in
            // is blank; the value axis stays.
            const int shift =
                qRound(440 * (first.timeIntervalSinceReferenceDate() - firstBefore) / span);
            QVERIFY(shift != 0);
            for (int y = 40; y < 300; y += 25) {
                for (int x = 30; x < 470; ++x) {
                    const int from = x + shift;
                    QCOMPARE(preview.pixel(x, y), x == 30                   ? before.pixel(x, y)
                                                  : from > 30 && from < 470 ? before.pixel(from, y)
                                                                            : qRgb(255, 255, 255));
                }
            }
        }
        // A click picks the reading under the pointer as the exact drawing places it.
        const double middle =
            (first.timeIntervalSinceReferenceDate() + last.timeIntervalSinceReferenceDate()) / 2;
        const qsizetype j =
            ChartSummary(ChartPainter::inputFromSource(&source)).nearestReading(middle);
        const double t = source.objects().at(j)->theWholeDate().timeIntervalSinceReferenceDate();
        QSignalSpy chosen(&view, &ChartView::readingChosen);
        QTest::mouseClick(&view, Qt::LeftButton, {},
                          QPoint(qRound(30 + 440 * (t - first.timeIntervalSinceReferenceDate()) /
                                                 (last.timeIntervalSinceReferenceDate() -
                                                  first.timeIntervalSinceReferenceDate())),
                                 150));
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(0).value<ConstMeasurementPtr>(), source.objects().at(j));
        QCOMPARE(view.dataDraws(), draws);

        // Once the steps stop: the preview at once, then one drawing in the background, the same
        // as a fresh one of that period.
        settleNow(view);
        QCOMPARE(shown(view), preview);
        QCOMPARE(drawnAndShown(view), ++draws);
        QCOMPARE(grab(), exact());
        // Showing the whole is drawn at once, however soon.
        now += 40;
        QTest::keyClick(&view, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(drawnAndShown(view), ++draws);
        QCOMPARE(grab(), exact());
    }

    void zoomAndPanFromKeysWheelAndMouse()
    {
        ChartDataSource source;
        source.setObjects(typicalReadings(day(2023, 1, 1), 100, 2, 5));
        ChartView view;
        view.setDataSource(&source);
        view.resize(630, 300); // a plot 570 points wide
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const ChartViewport &v = view.viewport();
        const double first = v.periodFirst(), period = v.periodLast() - first;
        QCOMPARE(first, source.objects().first()->theWholeDate().timeIntervalSinceReferenceDate());
        QVERIFY(v.showsAll());
        QSignalSpy changes(&view, &ChartView::shownPeriodChanged);

        // Keys: Ctrl+Plus zooms in around the middle, Left and Right move by a tenth, not past
        // either end; Ctrl+Minus zooms out no further than the whole, Ctrl+0 shows the whole.
        QTest::keyClick(&view, Qt::Key_Left);
        QCOMPARE(changes.count(), 0); // the whole is shown: nowhere to go
        QTest::keyClick(&view, Qt::Key_Plus, Qt::ControlModifier);
        QVERIFY(near(v.shownSpan(), period / 1.5, 1));
        QVERIFY(near(v.shownFirst(), first + period / 6, 1));
        QTest::keyClick(&view, Qt::Key_Left);
        QVERIFY(near(v.shownFirst(), first + period / 6 - v.shownSpan() / 10, 1));
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(&view, Qt::Key_Left);
        QCOMPARE(v.shownFirst(), first);
        for (int i = 0; i < 10; ++i)
            QTest::keyClick(&view, Qt::Key_Right);
        QCOMPARE(v.shownLast(), v.periodLast());
        QTest::keyClick(&view, Qt::Key_Minus, Qt::ControlModifier);
        QTest::keyClick(&view, Qt::Key_Minus, Qt::ControlModifier);
        QVERIFY(v.showsAll());
        QTest::keyClick(&view, Qt::Key_Plus, Qt::ControlModifier);
        changes.clear();
        QTest::keyClick(&view, Qt::Key_0, Qt::ControlModifier);
        QVERIFY(v.showsAll());
        QCOMPARE(changes.count(), 1);

        // The wheel zooms around the moment under the pointer, in to an hour at most.
        const QPointF at(30 + 570 * 0.25, 150);
        const auto wheel = [&](int notches) {
            QWheelEvent event(at, view.mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&view, &event);
        };
        wheel(3);
        QVERIFY(near(v.shownSpan(), period / std::pow(1.25, 3), 1));
        QVERIFY(near(v.shownFirst() + 0.25 * v.shownSpan(), first + 0.25 * period, 1));
        wheel(100);
        QCOMPARE(v.shownSpan(), ChartViewport::kShortestSpan);
        QVERIFY(near(v.shownFirst() + 0.25 * v.shownSpan(), first + 0.25 * period, 1));
        wheel(-100);
        QVERIFY(v.showsAll());

        // Dragging to the left shows later readings; a double-click shows the whole again.
        wheel(2);
        const double from = v.shownFirst(), span = v.shownSpan();
        QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(300, 150));
        QTest::mouseMove(&view, QPoint(270, 150));
        QTest::mouseMove(&view, QPoint(243, 150));
        QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(243, 150));
        QVERIFY(near(v.shownFirst(), from + span * 57 / 570, 1));
        QCOMPARE(v.shownSpan(), span);
        QTest::mouseDClick(&view, Qt::LeftButton, {}, QPoint(300, 150));
        QVERIFY(v.showsAll());
    }

    void toolTipGivesTheReadingInTheUsersLanguage()
    {
        Preferences &preferences = Preferences::shared();
        preferences.setValueForKey(true, Preferences::customShow1);
        preferences.setValueForKey(QStringLiteral("Sugar"), Preferences::customTitle1);
        auto a = Measurement::create(day(2024, 3, 5, 7, 30), 128, 84);
        a->setPulse(Number::integer(66));
        a->setWeight(Number::real(80.5));
        a->setCustomValue1(Number::real(5.4));
        auto b = Measurement::create(day(2024, 3, 9, 19), 135, 88);
        QCOMPARE(ChartView::toolTipForReading(*a),
                 QStringLiteral("3/5/24, 7:30 AM\nPressure: 128 / 84\nPulse: 66\nWeight: "
                                "80.5\nSugar: 5.4"));
        // Only what the chart shows and the reading has.
        preferences.setValueForKey(false, Preferences::showPulse);
        QCOMPARE(ChartView::toolTipForReading(*b),
                 QStringLiteral("3/9/24, 7:00 PM\nPressure: 135 / 88"));

        // Hovering the first reading shows its tip.
        ChartDataSource source;
        source.setObjects({a, b});
        ChartView view;
        view.setDataSource(&source);
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        // The tool tip event comes once the pointer rests.
        QHelpEvent rest(QEvent::ToolTip, QPoint(32, 120), view.mapToGlobal(QPoint(32, 120)));
        QApplication::sendEvent(&view, &rest);
        QTRY_COMPARE(QToolTip::text(), ChartView::toolTipForReading(*a));

        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        Localization::install(QLocale(QLocale::German, QLocale::Germany));
        const QString german = ChartView::toolTipForReading(*a);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        Localization::install(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(
            german,
            QStringLiteral("05.03.24, 07:30 Uhr\nBlutdruck: 128 / 84\nGewicht: 80,5\nSugar: 5,4"));
    }
};

TENSILO_TEST_MAIN(TestChart)
#include "tst_chart.moc"
