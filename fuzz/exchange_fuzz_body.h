#pragma once

// The bodies of fuzz/fuzz_fhir.cpp and fuzz/fuzz_health.cpp, shared with
// tests/tst_fuzzreplay.cpp, which replays every input that once made them fail.

#include "AppleHealthImport.h"
#include "FhirBundle.h"
#include "MeasurementChecks.h"
#include "MyDocument.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdio>
#include <cstdlib>

namespace fuzzing {

[[noreturn]] inline void exchangeFailure(const char *what, const QString &detail = QString())
{
    std::fprintf(stderr, "fuzz invariant broken: %s %s\n", what, qPrintable(detail));
    std::abort();
}

// What every import answers: an error and nothing else, or readings in time order that pass the
// editor's checks, problems with a reason, and one undo step that takes them all back.
inline void checkImport(const ImportResult &result)
{
    if (!result.error.isEmpty() && (!result.readings.isEmpty() || result.problemCount != 0))
        exchangeFailure("an error with readings or problems");
    for (qsizetype i = 0; i < result.readings.size(); ++i) {
        if (!MeasurementChecks::firstFailure(*result.readings.at(i)).isEmpty())
            exchangeFailure("a reading fails the editor's checks");
        if (i > 0 &&
            result.readings.at(i)->theWholeDate() < result.readings.at(i - 1)->theWholeDate())
            exchangeFailure("readings out of order");
    }
    for (const ImportResult::Problem &problem : result.problems) {
        if (problem.reason.isEmpty())
            exchangeFailure("a problem without a reason");
    }
    if (result.problems.size() > ImportResult::kMaxProblems ||
        result.problems.size() > result.problemCount)
        exchangeFailure("problems miscounted");
    MyDocument document;
    if (result.apply(&document, "doc.import_fhir") != result.readings.size())
        exchangeFailure("a reading went missing on the way into the document");
}

inline void fhirOne(const QByteArray &bytes)
{
    const ImportResult result = FhirBundle::read(bytes);
    checkImport(result);
    // What was read is written and read back the same.
    MyDocument document;
    result.apply(&document, "doc.import_fhir");
    FhirBundle::ExportOptions options;
    options.bAll = true;
    const ImportResult again = FhirBundle::read(FhirBundle::exportDocument(document, options).json);
    if (again.readings.size() + again.duplicateCount != result.readings.size() ||
        again.problemCount != 0)
        exchangeFailure("exported readings do not read back");
}

inline void healthOne(const QByteArray &bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    checkImport(AppleHealthImport::read(&buffer));
}

} // namespace fuzzing
