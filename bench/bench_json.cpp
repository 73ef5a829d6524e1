// The tool's JSON form against the document file, both ways, for a document of 100,000 readings
// (tags, comments, fractional weights, some custom values, four filters, information items):
//
//   BM_JsonDump           the document as JSON text (tensilo-tool dump, after reading the file)
//   BM_JsonBuild          a document from that text (tensilo-tool build, before writing the file)
//   BM_DocumentFileWrite  the document as the bytes of its file
//   BM_DocumentFileRead   a document from those bytes
//
// The JSON side should cost at most twice the file side: dump against write, build against read.

#include "DocumentJson.h"
#include "MyDocument.h"
#include "TaggedDocument.h"
#include "UndoManager.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

const MyDocument &document()
{
    static const std::unique_ptr<MyDocument> doc = makeTaggedDocument();
    return *doc;
}

const QByteArray &fileBytes()
{
    static const QByteArray data = document().dataOfType(QString());
    return data;
}

const QByteArray &jsonText()
{
    static const QByteArray text = DocumentJson::toJson(document());
    return text;
}

void BM_DocumentFileWrite(benchmark::State &state)
{
    const MyDocument &doc = document();
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.dataOfType(QString()));
    state.counters["bytes"] = double(fileBytes().size());
}
BENCHMARK(BM_DocumentFileWrite)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_JsonDump(benchmark::State &state)
{
    const MyDocument &doc = document();
    for (auto _ : state)
        benchmark::DoNotOptimize(DocumentJson::toJson(doc));
    state.counters["bytes"] = double(jsonText().size());
}
BENCHMARK(BM_JsonDump)->Unit(benchmark::kMillisecond)->MinTime(2);

// Reads a document with `read`, freeing it outside the timing.
template <typename Read> void readDocuments(benchmark::State &state, Read read)
{
    for (auto _ : state) {
        auto doc = std::make_unique<MyDocument>();
        if (!read(doc.get()) || doc->allItems().size() != kReadings)
            state.SkipWithError("read failed");
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}

void BM_DocumentFileRead(benchmark::State &state)
{
    const QByteArray &data = fileBytes();
    readDocuments(state, [&data](MyDocument *doc) { return doc->readFromData(data, QString()); });
}
BENCHMARK(BM_DocumentFileRead)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_JsonBuild(benchmark::State &state)
{
    const QByteArray &text = jsonText();
    readDocuments(state, [&text](MyDocument *doc) { return DocumentJson::fromJson(text, doc); });
}
BENCHMARK(BM_JsonBuild)->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace

BENCHMARK_MAIN();
