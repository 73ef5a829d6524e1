// Drawing the chart of many readings with all seven lines into a 1600x1000 image, beside the
// floor: as many plain 1-pixel segments drawn with QPainter::drawLines.
//
// BM_ChartDrawUsingSource is what every repaint of the screen cost when the chart was drawn afresh
// each time. The screen now keeps the chart as an image (ChartCanvas):
//   BM_CanvasRepaint      a repaint without a change of data (an expose, the marker moved)
//   BM_CanvasResize       a repaint at another size: the image drawn again from the summary
//   BM_CanvasResizePreview  the same during a live resize: the kept image stretched
//   BM_CanvasDataChange   a repaint after the data changed: summary and image built afresh
//   BM_CanvasZoomStep     a repaint after one zoom step (a third of the period, in and out)
//   BM_CanvasZoomPreview  the same while zooming goes on: the kept image mapped onto the period
// each at a device pixel ratio of 1 and 2 (second argument). BM_FloorDrawLinesZoomed is the
// floor of a zoom step: the segments of the readings shown.

#include "ChartCanvas.h"
#include "ChartDataSource.h"
#include "ChartGeometry.h"
#include "ChartPainter.h"
#include "Measurement.h"
#include "Number.h"
#include "Preferences.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace {

const QSize kImageSize(1600, 1000);

// Readings over five years at random moments, every value present.
ConstMeasurementList makeReadings(int count)
{
    std::mt19937 random(12345);
    std::normal_distribution<double> noise(0.0, 1.0);
    std::uniform_real_distribution<double> moment(0.0, 5 * 365.25 * 86400.0);
    std::vector<double> moments(static_cast<size_t>(count));
    for (double &m : moments)
        m = moment(random);
    std::sort(moments.begin(), moments.end());
    ConstMeasurementList readings;
    readings.reserve(count);
    const Date start = Date::fromComponents(2019, 1, 1);
    for (double m : moments) {
        auto r = Measurement::create(start.addingSeconds(m), int(130 + 15 * noise(random)),
                                     int(85 + 10 * noise(random)));
        r->setPulse(Number::integer(qint64(70 + 10 * noise(random))));
        r->setWeight(Number::real(std::round((80 + 3 * noise(random)) * 10) / 10));
        r->setCustomValue1(Number::real(std::round((36.6 + 0.4 * noise(random)) * 10) / 10));
        r->setCustomValue2(Number::real(std::round((5.5 + noise(random)) * 10) / 10));
        r->setCustomValue3(Number::integer(qint64(200 + 30 * noise(random))));
        readings.append(r);
    }
    return readings;
}

struct Fixture
{
    explicit Fixture(int count) { source.setObjects(makeReadings(count)); }
    ChartDataSource source;
};

Fixture &fixture(int count)
{
    static std::map<int, std::unique_ptr<Fixture>> fixtures;
    auto &f = fixtures[count];
    if (!f)
        f = std::make_unique<Fixture>(count);
    return *f;
}

void drawChart(benchmark::State &state, ChartPainter::Rendering rendering)
{
    Fixture &f = fixture(int(state.range(0)));
    QImage image(kImageSize, QImage::Format_ARGB32_Premultiplied);
    const QRectF bounds(QPointF(0, 0), QSizeF(kImageSize));
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        const ChartGeometry geometry =
            ChartGeometry::compute(ChartPainter::inputFromSource(&f.source), bounds);
        ChartPainter::drawChart(painter, geometry, false, rendering);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ChartDraw(benchmark::State &state)
{
    drawChart(state, ChartPainter::Rendering::Fast);
}

void BM_ChartDrawExact(benchmark::State &state)
{
    drawChart(state, ChartPainter::Rendering::Exact);
}

// The whole public operation as the screen called it on every repaint, data source questions
// included; at the device pixel ratio of the second argument.
void BM_ChartDrawUsingSource(benchmark::State &state)
{
    Fixture &f = fixture(int(state.range(0)));
    QImage image((QSizeF(kImageSize) * double(state.range(1))).toSize(),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(double(state.range(1)));
    const QRectF bounds(QPointF(0, 0), QSizeF(kImageSize));
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        ChartPainter::drawChartUsingSource(painter, &f.source, bounds, false);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The floor: one plain segment per reading and line, between the same points.
void BM_FloorDrawLines(benchmark::State &state)
{
    Fixture &f = fixture(int(state.range(0)));
    const ChartGeometry geometry = ChartGeometry::compute(
        ChartPainter::inputFromSource(&f.source), QRectF(QPointF(0, 0), QSizeF(kImageSize)));
    QList<QLineF> segments;
    for (const ChartGeometry::Line &line : geometry.lines) {
        for (qsizetype j = 1; j < line.points.size(); ++j)
            segments.append(QLineF(line.points[j - 1], line.points[j]));
    }
    QImage image(kImageSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(QPen(Qt::blue, 1));
        painter.drawLines(segments);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["segments"] = double(segments.size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The periods a zoom step shows: a third of the whole around its middle, and a third of that.
std::pair<Date, Date> zoomedPeriod(Fixture &f, int step)
{
    const Date first = f.source.objects().first()->theWholeDate();
    const Date last = f.source.objects().last()->theWholeDate();
    const double span =
        last.timeIntervalSinceReferenceDate() - first.timeIntervalSinceReferenceDate();
    const double shown = span / (step % 2 ? 3 : 9);
    const Date from = first.addingSeconds((span - shown) / 2);
    return {from, from.addingSeconds(shown)};
}

// The floor of a zoom step: the segments between the readings shown (and one on either side).
void BM_FloorDrawLinesZoomed(benchmark::State &state)
{
    Fixture &f = fixture(int(state.range(0)));
    const ChartGeometry::Input input = ChartPainter::inputFromSource(&f.source);
    std::vector<QList<QLineF>> periods;
    for (int step : {1, 2}) {
        const auto [from, to] = zoomedPeriod(f, step);
        const ChartGeometry g = ChartGeometry::computeFrame(
            from, to, 400, Date(), QRectF(QPointF(0, 0), QSizeF(kImageSize)));
        QList<QLineF> segments;
        for (const QList<double> &values : input.lines) {
            QPointF previous;
            bool hasPrevious = false;
            for (qsizetype j = 0; j < input.dates.size(); ++j) {
                if (!ChartGeometry::isValue(values[j]))
                    continue;
                const QPointF p(g.xForDate(input.dates[j]), g.yForValue(values[j]));
                const bool inside = input.dates[j] >= from && input.dates[j] <= to;
                if (hasPrevious && (inside || previous.x() >= g.plot.left()))
                    segments.append(QLineF(previous, p));
                previous = p;
                hasPrevious = true;
                if (!inside && input.dates[j] > to)
                    break;
            }
        }
        periods.push_back(segments);
    }
    QImage image(kImageSize, QImage::Format_ARGB32_Premultiplied);
    int i = 0;
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(QPen(Qt::blue, 1));
        painter.drawLines(periods[size_t(++i % 2 ? 0 : 1)]);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["segments"] = double(periods[0].size() + periods[1].size()) / 2;
}

// A canvas whose image is drawn, and a screen to paint it on at the pixel ratio.
struct Screen
{
    Screen(Fixture &f, double ratio)
        : image((QSizeF(kImageSize) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied)
    {
        image.setDevicePixelRatio(ratio);
        canvas.setDataSource(&f.source);
        f.source.setSelection(f.source.objects().at(f.source.objects().size() / 2));
        paint();
    }
    void paint(const QSize &size = kImageSize, Date first = Date(), Date last = Date(),
               ChartCanvas::Drawing drawing = ChartCanvas::Drawing::Exact)
    {
        QPainter painter(&image);
        canvas.paint(painter, size, image.devicePixelRatio(), first, last, drawing);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    QImage image;
    ChartCanvas canvas;
};

void BM_CanvasRepaint(benchmark::State &state)
{
    Screen screen(fixture(int(state.range(0))), double(state.range(1)));
    for (auto _ : state)
        screen.paint();
    state.counters["draws"] = screen.canvas.dataDraws();
}

// Repaints alternating between two sizes, drawn as asked.
void resizes(benchmark::State &state, QSize grown, ChartCanvas::Drawing drawing)
{
    Screen screen(fixture(int(state.range(0))), double(state.range(1)));
    const QSize sizes[] = {kImageSize - QSize(10, 10), grown};
    int i = 0;
    for (auto _ : state)
        screen.paint(sizes[++i % 2], Date(), Date(), drawing);
    state.counters["draws"] = screen.canvas.dataDraws();
}

void BM_CanvasResize(benchmark::State &state)
{
    resizes(state, kImageSize, ChartCanvas::Drawing::Exact);
}

void BM_CanvasResizePreview(benchmark::State &state)
{
    resizes(state, kImageSize + QSize(10, 10), ChartCanvas::Drawing::Preview);
}

void BM_CanvasDataChange(benchmark::State &state)
{
    Fixture &f = fixture(int(state.range(0)));
    Screen screen(f, double(state.range(1)));
    const ConstMeasurementList readings = f.source.objects();
    for (auto _ : state) {
        f.source.setObjects(readings); // a list set again may hold changed readings
        screen.paint();
    }
    state.counters["draws"] = screen.canvas.dataDraws();
}

// Repaints alternating between two zoomed periods, drawn as asked.
void zoomSteps(benchmark::State &state, ChartCanvas::Drawing drawing)
{
    Fixture &f = fixture(int(state.range(0)));
    Screen screen(f, double(state.range(1)));
    int i = 0;
    for (auto _ : state) {
        const auto [from, to] = zoomedPeriod(f, ++i);
        screen.paint(kImageSize, from, to, drawing);
    }
    state.counters["draws"] = screen.canvas.dataDraws();
}

void BM_CanvasZoomStep(benchmark::State &state)
{
    zoomSteps(state, ChartCanvas::Drawing::Exact);
}

void BM_CanvasZoomPreview(benchmark::State &state)
{
    zoomSteps(state, ChartCanvas::Drawing::Preview);
}

void canvasArguments(benchmark::internal::Benchmark *b)
{
    for (int ratio : {1, 2}) {
        for (int count : {1000, 10000, 100000})
            b->Args({count, ratio});
    }
    // The chart may be drawn on more than one thread: CPU time is the whole process's.
    b->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
}

} // namespace

BENCHMARK(BM_CanvasRepaint)->Apply(canvasArguments);
BENCHMARK(BM_CanvasResize)->Apply(canvasArguments);
BENCHMARK(BM_CanvasResizePreview)->Apply(canvasArguments);
BENCHMARK(BM_CanvasDataChange)->Apply(canvasArguments);
BENCHMARK(BM_CanvasZoomStep)->Apply(canvasArguments);
BENCHMARK(BM_CanvasZoomPreview)->Apply(canvasArguments);
BENCHMARK(BM_ChartDraw)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartDrawUsingSource)->Apply(canvasArguments);
BENCHMARK(BM_FloorDrawLines)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorDrawLinesZoomed)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartDrawExact)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setFont(QFont(QStringLiteral("DejaVu Sans")));
    Preferences::useTemporaryStore();
    Preferences &preferences = Preferences::shared();
    for (const char *key : {"showPulse", "showWeight", "customShow1", "customShow2", "customShow3"})
        preferences.setValueForKey(true, QString::fromLatin1(key));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// A repaint at another size with the exact drawing handed to the canvas's thread, as the screen
// asks for it: what the repaint costs the screen's thread (the kept image stretched and the
// layout computed), and how long until the exact image is shown (the repaint, the drawing
// waited for and the repaint that shows it).
namespace {

void canvasResizeInTheBackground(benchmark::State &state, bool untilShown)
{
    Screen screen(fixture(int(state.range(0))), double(state.range(1)));
    const QSize sizes[] = {kImageSize - QSize(10, 10), kImageSize};
    int i = 0;
    for (auto _ : state) {
        const QSize size = sizes[++i % 2];
        screen.paint(size, Date(), Date(), ChartCanvas::Drawing::Background);
        if (!untilShown)
            state.PauseTiming();
        screen.canvas.waitForDrawing();
        screen.paint(size, Date(), Date(), ChartCanvas::Drawing::Background);
        if (!untilShown)
            state.ResumeTiming();
    }
    state.counters["draws"] = screen.canvas.dataDraws();
}

void BM_CanvasResizeBackground(benchmark::State &state)
{
    canvasResizeInTheBackground(state, false);
}

void BM_CanvasResizeBackgroundShown(benchmark::State &state)
{
    canvasResizeInTheBackground(state, true);
}

} // namespace

BENCHMARK(BM_CanvasResizeBackground)
    ->Args({100000, 1})
    ->Args({100000, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_CanvasResizeBackgroundShown)
    ->Args({100000, 1})
    ->Args({100000, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
