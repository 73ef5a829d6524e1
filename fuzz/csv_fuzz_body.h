#pragma once

// The body of fuzz/fuzz_csv.cpp, shared with tests/tst_fuzzreplay.cpp.

#include "CsvExporter.h"
#include "CsvImporter.h"
#include "MeasurementChecks.h"
#include "MyDocument.h"
#include "UndoManager.h"

#include <QByteArray>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace fuzzing {

[[noreturn]] inline void csvFailure(const char *what)
{
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::abort();
}

// What a round trip through a CSV file keeps of the readings: the instant to the millisecond and
// every value, sorted (the order of readings at the same instant is not kept).
inline QStringList kept(const ConstMeasurementList &readings)
{
    QStringList list;
    for (const auto &r : readings) {
        QString line =
            QString::number(std::round(r->theWholeDate().timeIntervalSince1970() * 1000.0), 'f', 0);
        for (auto key :
             {Measurement::Key::Systolic, Measurement::Key::Diastolic, Measurement::Key::Pulse,
              Measurement::Key::Weight, Measurement::Key::CustomValue1,
              Measurement::Key::CustomValue2, Measurement::Key::CustomValue3}) {
            const QVariant value = r->valueForKey(key);
            line += value.isValid() ? QLatin1Char('|') + QString::number(value.toDouble(), 'g', 17)
                                    : QStringLiteral("|-");
        }
        list.append(line + QLatin1Char('|') + r->Comments() + QLatin1Char('|') +
                    r->Tags().join(QLatin1Char('\n')));
    }
    std::sort(list.begin(), list.end());
    return list;
}

// Bytes as a CSV file from another program, read as the import dialog reads it (detected
// separator, encoding and header; the other date order when the dates leave it open). Whatever
// the bytes, every row is accounted for (a reading, a duplicate or a problem), every reading
// passes the editor's checks, the import is one undo step, and what was imported survives being
// exported and imported again unchanged.
inline void csvOne(const QByteArray &bytes)
{
    CsvImporter::Options options;
    CsvImporter::Result result = CsvImporter::read(bytes, options);
    if (result.bDateOrderAmbiguous) {
        options.dateOrder = CsvImporter::DateOrder::MonthFirst;
        result = CsvImporter::read(bytes, options);
    }
    if (!result.error.isEmpty()) {
        if (!result.readings.isEmpty())
            csvFailure("a refused file produced readings");
        return;
    }
    if (result.readings.size() + result.duplicateCount + result.problemCount != result.rowCount)
        csvFailure("a row was neither read, nor a duplicate, nor a problem");
    if (result.problems.size() > CsvImporter::kMaxProblems ||
        result.problems.size() > result.problemCount)
        csvFailure("more problems kept than allowed or counted");
    for (const auto &problem : result.problems) {
        if (problem.reason.isEmpty() || problem.line < 1)
            csvFailure("a problem without a reason or a line");
    }
    for (const auto &reading : result.readings) {
        if (!MeasurementChecks::firstFailure(*reading).isEmpty())
            csvFailure("an imported reading fails the editor's checks");
    }

    MyDocument document;
    if (CsvImporter::apply(result, &document) != result.readings.size())
        csvFailure("the import did not add every reading it read");
    document.undoManager()->closeGroup();
    if (!result.readings.isEmpty()) {
        document.undoManager()->undo();
        if (!document.allItems().isEmpty())
            csvFailure("undoing the import left readings behind");
        document.undoManager()->redo();
    }

    const QByteArray exported = CsvExporter({u',', true}).exportDocument(document);
    const CsvImporter::Result again = CsvImporter::read(exported, {});
    if (result.readings.isEmpty())
        return;
    MyDocument copy;
    if (!again.error.isEmpty() || again.problemCount != 0 ||
        CsvImporter::apply(again, &copy) != document.allItems().size())
        csvFailure("an exported file does not import completely");
    if (kept(copy.allItems()) != kept(document.allItems()))
        csvFailure("a reading changed on its way through an exported file");
}

} // namespace fuzzing
