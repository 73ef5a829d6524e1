// The filters page over 100,000 readings. Editing a comparison in the page's editor (the editor
// rebuilds its predicate, the filter takes it, the document filters its readings and the
// averages recompute) is measured against the document's own predicate change alone with the
// same recomputation; the "ratio" counter is the quotient. Loading a filter of 200 rows into the
// editor is reported as a time.

#include "Average.h"
#include "CompoundPredicate.h"
#include "Localization.h"
#include "MyDocument.h"
#include "NumberField.h"
#include "PageFilters.h"
#include "PredicateEditor.h"
#include "Preferences.h"
#include "UndoManager.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QRandomGenerator>

#include <chrono>

namespace {

constexpr int kReadings = 100000;
const Date kNow = Date(732202200.0);

struct Fixture
{
    MyDocument document;
    FilterPtr filter;

    Fixture()
    {
        Date::setClock([] { return kNow; });
        QRandomGenerator random(42);
        MeasurementList readings;
        double t = kNow.timeIntervalSinceReferenceDate() - kReadings * 960.0;
        for (int i = 0; i < kReadings; ++i) {
            t += 960.0 * (0.5 + random.generateDouble());
            readings.append(
                Measurement::create(Date(t), 100 + random.bounded(80), 60 + random.bounded(40)));
        }
        document.setAllMeasurements(readings);
        filter = document.filters()[0];
        document.setFilter(filter);
    }

    // What a view does after a change: read the counter and every average of the filter.
    void follow()
    {
        benchmark::DoNotOptimize(document.filteredCounter());
        for (const AveragePtr &average : document.averages())
            benchmark::DoNotOptimize(average->values().size());
        document.undoManager()->removeAllActions();
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

double gDocumentSeconds = 0;

void BM_DocumentPredicateChange(benchmark::State &state)
{
    Fixture &f = fixture();
    const PredicatePtr a = Predicate::predicateWithFormat(QStringLiteral("Systolic > 140"));
    const PredicatePtr b = Predicate::predicateWithFormat(QStringLiteral("Systolic > 150"));
    bool flip = false;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        f.filter->setPredicate((flip = !flip) ? a : b);
        f.follow();
    }
    gDocumentSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
        double(state.iterations());
}
BENCHMARK(BM_DocumentPredicateChange)->Unit(benchmark::kMillisecond);

void BM_EditorComparisonEdit(benchmark::State &state)
{
    Fixture &f = fixture();
    f.filter->setPredicate(Predicate::predicateWithFormat(QStringLiteral("Systolic > 140")));
    PageFilters page(&f.document, nullptr);
    page.selectFilter(f.filter);
    NumberField *field = page.predicateEditor()->templateOfRow(1)->numberField();
    bool flip = false;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        field->setText((flip = !flip) ? QStringLiteral("150") : QStringLiteral("140"));
        field->setModified(true);
        emit field->editingFinished();
        f.follow();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
        double(state.iterations());
    if (gDocumentSeconds > 0)
        state.counters["ratio"] = seconds / gDocumentSeconds;
}
BENCHMARK(BM_EditorComparisonEdit)->Unit(benchmark::kMillisecond);

void BM_LoadFilterOf200Rows(benchmark::State &state)
{
    QList<PredicatePtr> comparisons;
    for (int i = 0; i < 200; ++i) {
        const char *forms[] = {"Systolic > %1", "Pulse <= %1", "ANY Tags IN {'t%1'}",
                               "Tags.@count == 0", "Weight != %1.5"};
        QString form = QString::fromLatin1(forms[i % 5]);
        if (form.contains(QLatin1String("%1")))
            form = form.arg(i);
        comparisons.append(Predicate::predicateWithFormat(form));
    }
    const PredicatePtr large = CompoundPredicate::andPredicateWithSubpredicates(comparisons);
    PredicateEditor editor;
    PageFilters::installRowTemplates(&editor);
    editor.resize(800, 600);
    for (auto _ : state) {
        editor.setObjectValue(large);
        benchmark::DoNotOptimize(editor.numberOfRows());
    }
    if (editor.numberOfRows() != 201 || !Predicate::equal(editor.objectValue(), large))
        state.SkipWithError("the rows do not show the filter");
}
BENCHMARK(BM_LoadFilterOf200Rows)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Localization::install(QLocale(QLocale::English));
    Preferences::useTemporaryStore();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
