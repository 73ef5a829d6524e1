#pragma once

#include "ChartSummary.h"

#include <QImage>
#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class ChartDataSource;
class QPainter;

// The chart of a data source as the screen shows it, drawn quickly however often it is asked
// for. The chart without its selection marker is kept as an image at the device's pixel ratio;
// a repaint copies it and draws the marker over it. The image is drawn again only when the data
// (the readings, the lines switched on, their colours), the size, the pixel ratio or the period
// shown change, and then from the data's summary, at a cost that follows the pixel width.
//
// While a window is being resized or the chart explored, that drawing may be put off: a preview
// stretches the kept image to the new size and period instead, its margins kept and its plot
// mapped onto the new plot (what the old period did not show left blank), so that every reading
// shows where the exact drawing will put it.
//
// The screen need not wait for the exact drawing either: asked to draw it in the background, the
// canvas paints the preview at once and draws the exact image on a thread of its own, one drawing
// at a time: the frame (axes, labels) laid out here, the lines there, from the summary, which
// other data then leave as it is and go into another. When the drawing is done the drawn callback
// is called (on that thread) and the next paint shows it if it is still what is wanted: the same
// data, pixel ratio, size and period; otherwise it is dropped and what is wanted by then is drawn
// next. Other data are drawn at once, and so is anything without a kept image to preview from.
class ChartCanvas
{
public:
    enum class Drawing
    {
        Exact,
        Preview,   // the kept image stretched, when only the size or the period differs
        Background // the same, with the exact image drawn on the canvas's own thread meanwhile
    };

    ChartCanvas();
    // Waits for a drawing under way.
    ~ChartCanvas();
    ChartCanvas(const ChartCanvas &) = delete;
    ChartCanvas &operator=(const ChartCanvas &) = delete;

    void setDataSource(const ChartDataSource *source);
    // Called on the drawing thread whenever a drawing in the background is done: the owner asks
    // for a repaint (through its event loop) to show it. Set it before the first paint.
    void setDrawnCallback(std::function<void()> drawn) { pDrawn = std::move(drawn); }
    // Waits at most that long for the drawing under way, if any; false when it is not done.
    bool waitForDrawing(int milliseconds = 10000);

    // Paints the chart of the period shown (null dates: the whole) within (0, 0, size), on
    // white, for a device with devicePixelRatio pixels per point. Asked for a preview, paints
    // the kept image stretched when the data and the pixel ratio are those it was drawn for and
    // only the size or the period differs, and then returns false: the exact chart is still
    // owed (and, asked for Background, being drawn). Otherwise draws exactly and returns true.
    bool paint(QPainter &painter, const QSize &size, double devicePixelRatio,
               Date shownFirst = Date(), Date shownLast = Date(), Drawing drawing = Drawing::Exact);

    // The source's data as last summarised; brought up to date first.
    const ChartSummary &summary();
    // The layout last drawn exactly, without its lines.
    const ChartGeometry &frame() const { return pFrame; }
    // How often the chart's image has been drawn, here or in the background.
    int dataDraws() const { return nDataDraws.load(); }

private:
    struct Job;
    class Worker;
    // Takes the drawing done in the background: kept when it is of the data, pixels, ratio and
    // period wanted now, else dropped.
    void takeDrawing(const QSize &pixels, double ratio, double first, double last);
    // Whether the data summarised are not the source's.
    bool isStale() const;
    // Summarises the source's data (none: the empty chart).
    void summarise(const ChartDataSource *source);
    // Whether an image of the pixels is large enough for its filling to be worth a thread.
    static bool isLarge(const QSize &pixels);
    // Sizes the memory for an image of the pixels, kept from size to size; false when empty.
    static bool fitMemory(std::vector<QRgb> &memory, const QSize &pixels);
    // Fills the memory of an image of the pixels with white, band by band of rows, each taken
    // from `next`: threads that share the counter share the work.
    static void fillWhite(std::vector<QRgb> &memory, const QSize &pixels, std::atomic<int> &next);
    // Draws the layout into an image over the memory, filled white first unless `white`
    // (fitted and filled already).
    static QImage drawLayer(ChartGeometry &geometry, const QSize &pixels, double ratio,
                            std::vector<QRgb> &memory, bool white = false);
    // Stretches the kept image onto the bounds of the size and the period first..last (seconds
    // since the reference date); false when it cannot.
    bool paintPreview(QPainter &painter, const QSize &size, double first, double last);
    void paintMarker(QPainter &painter, const QRectF &plot, double x) const;

    QPointer<const ChartDataSource> pSource;
    // Shared with a drawing under way, which lays out its lines: other data then go into a new
    // summary.
    std::shared_ptr<ChartSummary> pSummary;
    quint64 nRevision = 0;
    quint64 nGeneration = 0;        // counts the summaries: tells a drawing of older data
    std::vector<QRgb> pLayerMemory; // pLayer's pixels
    QImage pLayer;
    ChartGeometry pFrame;
    double fLayerFirst = 0, fLayerLast = 0;
    std::atomic<int> nDataDraws = 0;
    std::vector<QRgb> pSpareMemory; // for the next drawing in the background
    std::function<void()> pDrawn;
    std::unique_ptr<Job> pJob;       // handed to the worker: under way, or done and not yet taken
    std::unique_ptr<Worker> pWorker; // started with the first drawing in the background
};
