#pragma once

// The body of fuzz/fuzz_csv.cpp, shared with tests/tst_fuzzreplay.cpp.

#include "CsvExporter.h"
#include "CsvImporter.h"
#include "MeasurementChecks.h"
#include "MyDocument.h"
#include "UndoManager.h"

#include <QByteArray>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace fuzzing {

[[noreturn]] inline void csvFailure(const char *what)
{
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::abort();
}

inline bool sameReading(const Measurement &a, const Measurement &b)
{
    if (std::round(a.theWholeDate().timeIntervalSince1970() * 1000.0) !=
        std::round(b.theWholeDate().timeIntervalSince1970() * 1000.0))
        return false;
    for (auto key :
         {Measurement::Key::Systolic, Measurement::Key::Diastolic, Measurement::Key::Pulse,
          Measurement::Key::Weight, Measurement::Key::CustomValue1, Measurement::Key::CustomValue2,
          Measurement::Key::CustomValue3}) {
        const QVariant x = a.valueForKey(key);
        const QVariant y = b.valueForKey(key);
        if (x.isValid() != y.isValid() || (x.isValid() && x.toDouble() != y.toDouble()))
            return false;
    }
    return a.Comments() == b.Comments() && a.Tags() == b.Tags();
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
    for (qsizetype i = 0; i < copy.allItems().size(); ++i) {
        if (!sameReading(*document.allItems().at(i), *copy.allItems().at(i)))
            csvFailure("a reading changed on its way through an exported file");
    }
}

} // namespace fuzzing
