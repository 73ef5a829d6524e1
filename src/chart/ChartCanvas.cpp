#include "ChartCanvas.h"

#include "ChartDataSource.h"
#include "ChartPainter.h"
#include "ChartThreads.h"

#include <QPainter>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

// A drawing for the worker: the layout without its lines and what it is for, the image drawn
// into the memory given. The lines are laid out by the worker, from the summary kept here.
struct ChartCanvas::Job
{
    ChartGeometry geometry;
    std::shared_ptr<ChartSummary> summary;
    Date shownFirst, shownLast;
    QSize pixels;
    double ratio = 1, first = 0, last = 0;
    quint64 generation = 0;
    std::vector<QRgb> memory;
    QImage image;
};

// The canvas's own thread: draws the job handed to it, one at a time, and says when it is done.
// The same thread draws every time, so that the buffers the drawing keeps per thread are reused.
class ChartCanvas::Worker
{
public:
    Worker(std::function<void()> drawn, std::atomic<int> &draws)
        : pDrawn(std::move(drawn)), nDraws(draws), pThread([this] { run(); })
    {}
    // Waits for the drawing under way.
    ~Worker()
    {
        {
            const std::lock_guard<std::mutex> lock(pMutex);
            bQuit = true;
        }
        pChanged.notify_all();
        pThread.join();
    }

    // The job stays the caller's, untouched by it until done() answers true.
    void start(Job *job)
    {
        {
            const std::lock_guard<std::mutex> lock(pMutex);
            pJob = job;
            bDone = false;
        }
        pChanged.notify_all();
    }
    bool done()
    {
        const std::lock_guard<std::mutex> lock(pMutex);
        return bDone;
    }
    bool wait(int milliseconds)
    {
        std::unique_lock<std::mutex> lock(pMutex);
        return pChanged.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                 [this] { return bDone; });
    }

private:
    void run()
    {
        std::unique_lock<std::mutex> lock(pMutex);
        for (;;) {
            pChanged.wait(lock, [this] { return bQuit || (pJob && !bDone); });
            if (bQuit)
                return;
            Job &job = *pJob;
            lock.unlock();
            // Drawings in the background are of other sizes and periods of the same data, laid
            // out faster through the pyramids of their extremes, which are built here once.
            job.summary->buildTrees();
            job.summary->layoutLines(job.geometry, job.ratio, job.shownFirst, job.shownLast);
            job.image = drawLayer(job.geometry, job.pixels, job.ratio, job.memory);
            job.geometry.lines.clear();
            ++nDraws;
            lock.lock();
            bDone = true;
            pJob = nullptr;
            pChanged.notify_all();
            lock.unlock();
            if (pDrawn)
                pDrawn();
            lock.lock();
        }
    }

    const std::function<void()> pDrawn;
    std::atomic<int> &nDraws;
    std::mutex pMutex;
    std::condition_variable pChanged;
    Job *pJob = nullptr;
    bool bDone = false, bQuit = false;
    std::thread pThread; // last: it runs once the rest is there
};

ChartCanvas::ChartCanvas() : pSummary(std::make_shared<ChartSummary>()) {}

ChartCanvas::~ChartCanvas()
{
    pWorker.reset(); // before the job it may be drawing
}

bool ChartCanvas::waitForDrawing(int milliseconds)
{
    return !pJob || pWorker->wait(milliseconds);
}

void ChartCanvas::setDataSource(const ChartDataSource *source)
{
    if (source == pSource)
        return;
    pSource = source;
    summarise(source);
}

void ChartCanvas::summarise(const ChartDataSource *source)
{
    if (pJob && pWorker->done()) { // of the old data: dropped
        pSpareMemory = std::move(pJob->memory);
        pJob.reset();
    }
    if (pSummary.use_count() > 1)
        pSummary = std::make_shared<ChartSummary>(); // the drawing under way reads the old one
    ChartGeometry::Input input = pSummary->takeInput();
    ChartPainter::fillInputFromSource(source, input);
    pSummary->assign(std::move(input));
    nRevision = source ? source->dataRevision() : 0;
    ++nGeneration;
    pLayer = QImage();
}

bool ChartCanvas::isStale() const
{
    return (pSource && pSource->dataRevision() != nRevision) || (!pSource && pSummary->count() > 0);
}

const ChartSummary &ChartCanvas::summary()
{
    if (isStale())
        summarise(pSource);
    return *pSummary;
}

bool ChartCanvas::paint(QPainter &painter, const QSize &size, double devicePixelRatio,
                        Date shownFirst, Date shownLast, Drawing drawing)
{
    const QSize pixels = (QSizeF(size) * devicePixelRatio).toSize();
    // Other data are drawn afresh at once: a large image is filled white on another thread
    // while they are summarised and laid out here, and here too once that is done.
    std::atomic<int> whiteBands = 0;
    std::jthread whitening;
    bool white = false;
    if (isStale()) {
        pLayer = QImage(); // lets go of its memory
        if (fitMemory(pLayerMemory, pixels) && isLarge(pixels)) {
            try {
                whitening = std::jthread(
                    [this, pixels, &whiteBands] { fillWhite(pLayerMemory, pixels, whiteBands); });
                white = true;
            } catch (const std::system_error &) {
            }
        }
    }
    const ChartSummary &data = summary();
    if (!data.isEmpty() && (shownFirst.isNull() || shownLast.isNull())) {
        shownFirst = data.input().dates.first();
        shownLast = data.input().dates.last();
    }
    const double first = data.isEmpty() ? 0 : shownFirst.timeIntervalSinceReferenceDate();
    const double last = data.isEmpty() ? 0 : shownLast.timeIntervalSinceReferenceDate();
    takeDrawing(pixels, devicePixelRatio, first, last);
    const bool sameData = !pLayer.isNull() && pLayer.devicePixelRatio() == devicePixelRatio;
    const bool samePicture = sameData && first == fLayerFirst && last == fLayerLast;
    const bool owed = !samePicture || pLayer.size() != pixels;
    const Date selected = pSource ? pSource->selectedDate() : Date();
    const bool marked = selected.isFinite() && selected >= shownFirst && selected <= shownLast;
    if (drawing == Drawing::Background && sameData && owed && !pWorker) {
        try {
            pWorker = std::make_unique<Worker>(pDrawn, nDataDraws);
        } catch (const std::system_error &) {
            drawing = Drawing::Exact; // no thread to be had: drawn here
        }
    }
    const QRectF bounds(QPointF(0, 0), QSizeF(size));
    if (sameData && owed && drawing != Drawing::Exact && paintPreview(painter, size, first, last)) {
        if (marked) {
            // Where the exact drawing will put it.
            const QRectF plot = bounds.adjusted(ChartGeometry::kMargin, ChartGeometry::kMargin,
                                                -ChartGeometry::kMargin, -ChartGeometry::kMargin);
            const double t = selected.timeIntervalSinceReferenceDate() - first;
            paintMarker(painter, plot, float(plot.left() + plot.width() * t / (last - first)));
        }
        if (drawing == Drawing::Background && !pJob && !data.isEmpty()) {
            // The frame laid out here, where the formats of the labels live.
            auto job = std::make_unique<Job>();
            job->geometry = data.layoutFrame(bounds, shownFirst, shownLast);
            job->geometry.hasSelection = false;
            job->summary = pSummary;
            job->shownFirst = shownFirst;
            job->shownLast = shownLast;
            job->pixels = pixels;
            job->ratio = devicePixelRatio;
            job->first = first;
            job->last = last;
            job->generation = nGeneration;
            job->memory = std::move(pSpareMemory);
            pWorker->start(job.get());
            pJob = std::move(job);
        }
        return false;
    }
    if (owed) {
        ChartGeometry geometry = data.isEmpty()
                                     ? ChartGeometry::emptyChart(bounds)
                                     : data.layout(bounds, devicePixelRatio, shownFirst, shownLast);
        geometry.hasSelection = false;
        pLayer = QImage(); // its memory may go
        if (whitening.joinable()) {
            fillWhite(pLayerMemory, pixels, whiteBands);
            whitening.join();
        }
        pLayer = drawLayer(geometry, pixels, devicePixelRatio, pLayerMemory, white);
        ++nDataDraws;
        geometry.lines.clear();
        pFrame = std::move(geometry);
        fLayerFirst = first;
        fLayerLast = last;
    }
    painter.drawImage(QPointF(0, 0), pLayer);

    if (!pFrame.empty && marked)
        paintMarker(painter, pFrame.plot, pFrame.xForDate(selected));
    return true;
}

void ChartCanvas::takeDrawing(const QSize &pixels, double ratio, double first, double last)
{
    if (!pJob || !pWorker->done())
        return;
    const std::unique_ptr<Job> job = std::move(pJob);
    if (job->generation == nGeneration && job->pixels == pixels && job->ratio == ratio &&
        job->first == first && job->last == last) {
        pLayer = std::move(job->image);
        std::swap(pLayerMemory, job->memory);
        pFrame = std::move(job->geometry);
        fLayerFirst = first;
        fLayerLast = last;
    }
    pSpareMemory = std::move(job->memory);
}

bool ChartCanvas::isLarge(const QSize &pixels)
{
    return qint64(pixels.width()) * pixels.height() >= qint64(1) << 20;
}

bool ChartCanvas::fitMemory(std::vector<QRgb> &memory, const QSize &pixels)
{
    // The image's memory is kept from size to size: fresh memory costs more to touch than the
    // drawing itself.
    const size_t count = size_t(std::max(pixels.width(), 0)) * size_t(std::max(pixels.height(), 0));
    if (count > memory.size() || count < memory.size() / 4)
        memory = std::vector<QRgb>(count);
    return count > 0;
}

void ChartCanvas::fillWhite(std::vector<QRgb> &memory, const QSize &pixels, std::atomic<int> &next)
{
    constexpr int kBand = 64;
    for (int top = next++ * kBand; top < pixels.height(); top = next++ * kBand) {
        const int bottom = std::min(pixels.height(), top + kBand);
        QRgb *from = memory.data() + size_t(top) * size_t(pixels.width());
        std::fill(from, from + size_t(bottom - top) * size_t(pixels.width()), QRgb(0xffffffff));
    }
}

QImage ChartCanvas::drawLayer(ChartGeometry &geometry, const QSize &pixels, double ratio,
                              std::vector<QRgb> &memory, bool white)
{
    if (!white) {
        // On two threads for a large image: filling it is bound by the memory's speed, which
        // one core alone does not reach.
        fitMemory(memory, pixels);
        std::atomic<int> bands = 0;
        if (isLarge(pixels))
            ChartThreads::onTwoThreads([&](int) { fillWhite(memory, pixels, bands); });
        else
            fillWhite(memory, pixels, bands);
    }
    QImage image(reinterpret_cast<uchar *>(memory.data()), pixels.width(), pixels.height(),
                 qsizetype(pixels.width()) * qsizetype(sizeof(QRgb)),
                 QImage::Format_RGB32); // opaque: copied to the screen as it is
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    ChartPainter::drawChart(painter, geometry, false);
    return image;
}

bool ChartCanvas::paintPreview(QPainter &painter, const QSize &size, double first, double last)
{
    // The empty chart is cheap to draw; a plot too small to stretch is drawn exactly too.
    const double m = ChartGeometry::kMargin;
    const QRectF from = pFrame.plot;
    const QRectF to = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(m, m, -m, -m);
    if (pFrame.empty || !(from.width() > 0) || !(from.height() > 0) || !(to.width() > 0) ||
        !(to.height() > 0) || !(pFrame.span > 0) || !(last - first > 0))
        return false;
    const double ratio = pLayer.devicePixelRatio();
    const double fromX[] = {0, from.left(), from.right(), pLayer.width() / ratio};
    const double fromY[] = {0, from.top(), from.bottom(), pLayer.height() / ratio};
    const double toX[] = {0, to.left(), to.right(), double(size.width())};
    const double toY[] = {0, to.top(), to.bottom(), double(size.height())};
    painter.save();
    // Nearest pixels: smoothing a whole HiDPI window costs more than a frame.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Nine parts: the corners as they are, the margins stretched along their length, the plot
    // both ways. For another period the plot and the strip below it follow.
    const bool moved = !(first == fLayerFirst && last == fLayerLast);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            if (moved && column == 1 && row > 0)
                continue;
            const QRectF source(QPointF(fromX[column], fromY[row]) * ratio,
                                QPointF(fromX[column + 1], fromY[row + 1]) * ratio);
            const QRectF target(QPointF(toX[column], toY[row]),
                                QPointF(toX[column + 1], toY[row + 1]));
            painter.drawImage(target, pLayer, source);
        }
    }
    if (moved) {
        // Another period: within the plot's columns (right of the value axis) and below them
        // (the date labels), what is still shown moves to where it now lies in time, stretched
        // or shifted; the rest is left blank. The axes and the margins stay as they are: the
        // values' scale does not follow the period.
        const double fromLeft = from.left() + 1, toLeft = to.left() + 1;
        painter.drawImage(QRectF(to.topLeft(), QPointF(toLeft, toY[3])), pLayer,
                          QRectF(from.topLeft() * ratio, QPointF(fromLeft, fromY[3]) * ratio));
        painter.drawImage(
            QRectF(to.bottomLeft(), QPointF(to.right(), to.bottom() + 1)), pLayer,
            QRectF(from.bottomLeft() * ratio, QPointF(from.right(), from.bottom() + 1) * ratio));
        // x on the new plot of x on the old one, through the time it stands for.
        const double scale = pFrame.span / from.width() * to.width() / (last - first);
        const auto toNew = [&](double x) {
            return to.left() +
                   ((fLayerFirst - first) / pFrame.span * from.width() + x - from.left()) * scale;
        };
        const double left = std::max(toLeft, toNew(fromLeft));
        const double right = std::min(to.right(), toNew(from.right()));
        const double bands[][4] = {{from.top(), from.bottom(), to.top(), to.bottom()},
                                   {from.bottom() + 1, fromY[3], to.bottom() + 1, toY[3]}};
        for (const auto &band : bands) {
            if (!(right > left)) {
                painter.fillRect(QRectF(QPointF(toLeft, band[2]), QPointF(to.right(), band[3])),
                                 Qt::white);
                continue;
            }
            if (left > toLeft)
                painter.fillRect(QRectF(QPointF(toLeft, band[2]), QPointF(left, band[3])),
                                 Qt::white);
            if (right < to.right())
                painter.fillRect(QRectF(QPointF(right, band[2]), QPointF(to.right(), band[3])),
                                 Qt::white);
            const double sourceLeft = from.left() + (left - toNew(from.left())) / scale;
            const double sourceRight = from.left() + (right - toNew(from.left())) / scale;
            painter.drawImage(QRectF(QPointF(left, band[2]), QPointF(right, band[3])), pLayer,
                              QRectF(QPointF(sourceLeft, band[0]) * ratio,
                                     QPointF(sourceRight, band[1]) * ratio));
        }
    }
    painter.restore();
    return true;
}

void ChartCanvas::paintMarker(QPainter &painter, const QRectF &plot, double x) const
{
    // The marker at the selected reading, as the painter draws it.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor::fromRgbF(0, 1, 0), 1));
    painter.drawLine(QLineF(x, plot.top(), x, plot.bottom()));
    painter.restore();
}
