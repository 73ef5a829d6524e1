#pragma once

// The body of fuzz/fuzz_monitor.cpp, shared with tests/tst_fuzzreplay.cpp, which replays every
// input that once made it fail.

#include "BloodPressureRecord.h"
#include "LocalTimeOffsets.h"
#include "MeasurementChecks.h"
#include "MonitorImport.h"
#include "SessionLog.h"

#include <QByteArray>

#include <cstdio>
#include <cstdlib>

namespace fuzzing {

[[noreturn]] inline void monitorFailure(const char *what, const QString &detail = QString())
{
    std::fprintf(stderr, "fuzz invariant broken: %s %s\n", what, qPrintable(detail));
    std::abort();
}

// Bytes as one measurement record and as a session log. A record is decoded or refused with a
// reason, and a reading it gives passes the editor's checks. Every line of a log is an entry or a
// problem with its number; entries written back read back the same.
inline void monitorOne(const QByteArray &bytes)
{
    QString problem;
    LocalTimeOffsets offsets;
    const auto record = BloodPressureRecord::decode(bytes, &problem);
    if (!record && problem.isEmpty())
        monitorFailure("a refused record has no reason");
    if (record) {
        const MeasurementPtr reading = record->toReading(Date(732000000.0), offsets, &problem);
        if (!reading && problem.isEmpty())
            monitorFailure("a refused reading has no reason");
        if (reading && !MeasurementChecks::firstFailure(*reading).isEmpty())
            monitorFailure("a reading fails the editor's checks");
    }

    const SessionLog::Result log = SessionLog::parse(bytes);
    const qint64 lines = bytes.count('\n') + 1;
    qint64 last = 0;
    QByteArray written;
    for (const SessionLog::Entry &entry : log.entries) {
        if (entry.line <= last || entry.line > lines ||
            entry.value.size() > SessionLog::kMaxValueSize)
            monitorFailure("an entry out of order or too long");
        last = entry.line;
        written += SessionLog::formatEntry(entry) + '\n';
    }
    for (const SessionLog::Problem &p : log.problems) {
        if (p.line < 1 || p.line > lines || p.reason.isEmpty())
            monitorFailure("a bad line without its number or reason");
    }
    const SessionLog::Result again = SessionLog::parse(written);
    if (again.problemCount != 0 || again.entries.size() != log.entries.size())
        monitorFailure("written entries do not read back:", again.problems.value(0).reason);
    for (qsizetype i = 0; i < again.entries.size(); ++i) {
        const SessionLog::Entry &a = again.entries.at(i), &b = log.entries.at(i);
        if (a.direction != b.direction || a.characteristic != b.characteristic ||
            a.value != b.value || !(a.time == b.time || (a.time.isNull() && b.time.isNull())))
            monitorFailure("an entry changed on its way through the writer");
    }
    const MonitorImport::Result imported = MonitorImport::readLog(bytes);
    if (imported.readings.size() + imported.duplicateCount + imported.problemCount <
        imported.recordCount)
        monitorFailure("a record went missing in the import");
}

} // namespace fuzzing
