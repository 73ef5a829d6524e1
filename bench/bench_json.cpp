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
#include "UndoManager.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

constexpr int kReadings = 100000;

std::unique_ptr<MyDocument> makeDocument()
{
    auto document = std::make_unique<MyDocument>();
    std::mt19937 random(20240501);
    const QStringList tagNames = {QStringLiteral("morning"), QStringLiteral("evening"),
                                  QStringLiteral("sport"),   QStringLiteral("medication"),
                                  QStringLiteral("stress"),  QStringLiteral("travel")};
    MeasurementList readings;
    readings.reserve(kReadings);
    for (int i = 0; i < kReadings; ++i) {
        auto m = Measurement::create(Date(3.0e8 + i * 28800.0 + random() % 600),
                                     100 + random() % 60, 60 + random() % 40);
        m->setPulse(QVariant(qlonglong(55 + random() % 40)));
        m->setWeight(QVariant(65.0 + double(random() % 200) / 10.0));
        QStringList tags;
        for (const QString &tag : tagNames) {
            if (random() % 4 == 0)
                tags << tag;
        }
        m->setTags(tags);
        if (i % 3 == 0)
            m->setComments(QStringLiteral("note %1 about the day").arg(i));
        if (i % 7 == 0)
            m->setCustomValue1(QVariant(double(random() % 1000) / 100.0));
        readings.append(m);
    }
    document->undoManager()->disableUndoRegistration();
    document->setAllMeasurements(readings);
    FilterList filters = document->filters();
    const FilterPtr sport = Filter::filterWithName(QStringLiteral("Sport"));
    sport->setPredicate(
        Predicate::predicateWithFormat(QStringLiteral("ANY Tags IN {'sport', 'travel'}")));
    filters.append(sport);
    document->setFilters(filters);
    InformationList information;
    for (int i = 0; i < 10; ++i)
        information.append(InformationItem::create(QStringLiteral("Item %1").arg(i),
                                                   QStringLiteral("Value %1").arg(i), i % 2 == 0));
    document->setInformation(information);
    document->undoManager()->enableUndoRegistration();
    return document;
}

const MyDocument &document()
{
    static const std::unique_ptr<MyDocument> doc = makeDocument();
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
