#include "MonitorImport.h"

#include "BloodPressureRecord.h"
#include "LocalTimeOffsets.h"
#include "MonitorProtocol.h"
#include "MyDocument.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <unordered_set>

namespace {

struct DuplicateKey
{
    qint64 second;
    double systolic;
    double diastolic;
    friend bool operator==(const DuplicateKey &, const DuplicateKey &) = default;
};

struct DuplicateHash
{
    size_t operator()(const DuplicateKey &key) const
    {
        quint64 h = quint64(key.second) * 0x9E3779B97F4A7C15ull;
        h ^= std::bit_cast<quint64>(key.systolic) + 0x632BE59BD9B4E019ull + (h << 6) + (h >> 2);
        h ^= std::bit_cast<quint64>(key.diastolic) + 0x85157AF5ull + (h << 6) + (h >> 2);
        h ^= h >> 29;
        return size_t(h * 0xBF58476D1CE4E5B9ull);
    }
};

DuplicateKey keyOf(const Measurement &reading)
{
    double systolic = 0, diastolic = 0;
    reading.numberForKey(Measurement::Key::Systolic, &systolic);
    reading.numberForKey(Measurement::Key::Diastolic, &diastolic);
    const double second = std::floor(reading.theWholeDate().timeIntervalSince1970());
    // + 0.0 makes -0 and 0 one key.
    return {std::isfinite(second) ? qint64(qBound(-9e18, second, 9e18)) : 0, systolic + 0.0,
            diastolic + 0.0};
}

class Reader
{
public:
    Reader(const MonitorImport::Options &options, const MyDocument *document,
           MonitorImport::Result *result)
        : pOptions(options), pResult(result)
    {
        if (document) {
            pSeen.reserve(size_t(document->allItems().size()));
            for (const ConstMeasurementPtr &reading : document->allItems())
                pSeen.insert(keyOf(*reading));
        }
    }

    void reserve(qsizetype records)
    {
        pSeen.reserve(pSeen.size() + size_t(records));
        pResult->readings.reserve(records);
    }

    // Problems come in line order from each source (the log's lines, the records), each source
    // keeping its first kMaxProblems; done() merges them.
    void addProblem(qint64 line, const QString &reason)
    {
        if (pResult->problems.size() - nLogProblems < MonitorImport::kMaxProblems)
            pResult->problems.append({line, reason});
        ++pResult->problemCount;
    }
    void addLogProblems(const SessionLog::Result &log)
    {
        for (const SessionLog::Problem &problem : log.problems)
            pResult->problems.append({problem.line, problem.reason});
        nLogProblems = log.problems.size();
        pResult->problemCount += log.problemCount;
    }

    void read(QByteArrayView bytes, Date arrived, qint64 line)
    {
        ++pResult->recordCount;
        QString problem;
        const std::optional<BloodPressureRecord> record =
            BloodPressureRecord::decode(bytes, &problem);
        if (!record) {
            addProblem(line, problem);
            return;
        }
        if (pOptions.userId && record->userId &&
            *record->userId != BloodPressureRecord::kUnknownUser &&
            *record->userId != *pOptions.userId) {
            ++pResult->otherUserCount;
            return;
        }
        const MeasurementPtr reading = record->toReading(arrived, pOffsets, &problem);
        if (!reading) {
            addProblem(line, problem);
            return;
        }
        if (!pSeen.insert(keyOf(*reading)).second) {
            ++pResult->duplicateCount;
            return;
        }
        pResult->readings.append(reading);
    }

    // Problems by line, the first kMaxProblems.
    void done()
    {
        QList<MonitorImport::Problem> &problems = pResult->problems;
        std::stable_sort(problems.begin(), problems.end(),
                         [](const auto &a, const auto &b) { return a.line < b.line; });
        if (problems.size() > MonitorImport::kMaxProblems)
            problems.resize(MonitorImport::kMaxProblems);
    }

private:
    const MonitorImport::Options &pOptions;
    MonitorImport::Result *pResult;
    std::unordered_set<DuplicateKey, DuplicateHash> pSeen;
    LocalTimeOffsets pOffsets;
    qsizetype nLogProblems = 0;
};

} // namespace

MonitorImport::Result MonitorImport::read(const QList<MonitorValue> &records,
                                          const Options &options, const MyDocument *document)
{
    Result result;
    Reader reader(options, document, &result);
    reader.reserve(records.size());
    for (const MonitorValue &value : records) {
        if (value.characteristic == MonitorProtocol::kMeasurement)
            reader.read(value.bytes, value.receivedAt, value.line);
    }
    reader.done();
    return result;
}

MonitorImport::Result MonitorImport::readLog(const SessionLog::Result &log, const Options &options,
                                             const MyDocument *document)
{
    Result result;
    Reader reader(options, document, &result);
    reader.reserve(log.entries.size());
    reader.addLogProblems(log);
    for (const SessionLog::Entry &entry : log.entries) {
        if (entry.direction == SessionLog::Direction::Received &&
            entry.characteristic == MonitorProtocol::kMeasurement)
            reader.read(entry.value, entry.time, entry.line);
    }
    reader.done();
    return result;
}

qsizetype MonitorImport::apply(const Result &result, MyDocument *document)
{
    if (!document || result.readings.isEmpty())
        return 0;
    const qsizetype before = document->allItems().size();
    document->importMeasurements(result.readings, "doc.import_monitor");
    return document->allItems().size() - before;
}
