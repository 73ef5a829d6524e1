// The application shell: launch to the first window shown, and opening a document of 100,000
// readings to its window shown, against reading the same file alone (the window may add at most
// 30 %). The heap the opened window holds beyond the document alone is reported as counters.

#include "ApplicationMenus.h"
#include "DocumentController.h"
#include "Localization.h"
#include "Measurement.h"
#include "MyAppDelegate.h"
#include "MyDocument.h"
#include "MyWindowController.h"
#include "Preferences.h"

#include <QApplication>
#include <QMainWindow>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>

namespace {

const Date kStart = Date::fromTimeIntervalSince1970(1.5e9);

QString documentFile(qsizetype count)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("%1.tensilo").arg(count));
    if (!QFile::exists(path)) {
        MyDocument document;
        MeasurementList readings;
        for (qsizetype i = 0; i < count; ++i) {
            auto r = Measurement::create(kStart.addingSeconds(double(i) * 21600.0),
                                         qint32(100 + i % 60), qint32(60 + i % 40));
            r->setPulse(QVariant(qlonglong(60 + i % 30)));
            if (i % 3 == 0)
                r->setTags({QStringLiteral("morning")});
            readings.append(r);
        }
        document.addMeasurements(readings);
        document.writeToFile(path);
    }
    return path;
}

std::unique_ptr<DocumentController> makeController(MyAppDelegate **delegateOut = nullptr)
{
    auto controller = std::make_unique<DocumentController>();
    auto *delegate = new MyAppDelegate(controller.get(), controller.get());
    delegate->setQuitFunction([] {});
    controller->setWindowFactory([c = controller.get(), delegate](MyDocument *document) {
        auto *window = new MyWindowController(document);
        ApplicationMenus::install(window, c, delegate);
        return window;
    });
    if (delegateOut)
        *delegateOut = delegate;
    return controller;
}

// Until the window is on screen and has painted once.
void waitUntilShown(QWidget *window)
{
    while (!window || !window->isVisible())
        QCoreApplication::processEvents();
    window->repaint();
    QCoreApplication::processEvents();
}

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

void BM_LaunchToFirstWindow(benchmark::State &state)
{
    Preferences::useTemporaryStore();
    for (auto _ : state) {
        MyAppDelegate *delegate = nullptr;
        auto controller = makeController(&delegate);
        delegate->launch({});
        waitUntilShown(controller->windowForDocument(controller->documents().first()));
        state.PauseTiming();
        controller.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LaunchToFirstWindow)->Unit(benchmark::kMillisecond);

void BM_ReadDocumentAlone(benchmark::State &state)
{
    const QString path = documentFile(state.range(0));
    size_t held = 0;
    for (auto _ : state) {
        const size_t before = heapInUse();
        auto document = std::make_unique<MyDocument>();
        document->readFromFile(path);
        held = heapInUse() - before;
        benchmark::DoNotOptimize(document->allItems().size());
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.counters["heap_MB"] = double(held) / (1 << 20);
}
BENCHMARK(BM_ReadDocumentAlone)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_OpenDocumentToWindowShown(benchmark::State &state)
{
    Preferences::useTemporaryStore();
    const QString path = documentFile(state.range(0));
    auto controller = makeController();
    size_t held = 0;
    for (auto _ : state) {
        const size_t before = heapInUse();
        MyDocument *document = controller->openDocumentWithContentsOfFile(path, true);
        waitUntilShown(controller->windowForDocument(document));
        held = heapInUse() - before;
        state.PauseTiming();
        controller->closeDocument(document);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["heap_MB"] = double(held) / (1 << 20);
}
BENCHMARK(BM_OpenDocumentToWindowShown)->Arg(100'000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Localization::install(QLocale(QLocale::English));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
