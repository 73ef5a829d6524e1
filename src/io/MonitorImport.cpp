#include "MonitorImport.h"

#include "BloodPressureRecord.h"
#include "DuplicateFinder.h"
#include "LocalTimeOffsets.h"
#include "MonitorProtocol.h"
#include "MyDocument.h"

namespace {

class Reader
{
public:
    Reader(const MonitorImport::Options &options, const MyDocument *document,
           MonitorImport::Result *result)
        : pOptions(options), pResult(result)
    {
        if (document)
            pSeen.addDocument(document->allItems());
    }

    void reserve(qsizetype records)
    {
        pSeen.reserve(records);
        pResult->readings.reserve(records);
    }

    // Problems come in the order of the lines and records, the first kMaxProblems kept.
    void addProblem(qint64 line, const QString &reason)
    {
        if (pResult->problems.size() < MonitorImport::kMaxProblems)
            pResult->problems.append({line, reason});
        ++pResult->problemCount;
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
        if (!pSeen.insert(*reading)) {
            ++pResult->duplicateCount;
            return;
        }
        pResult->readings.append(reading);
    }

private:
    const MonitorImport::Options &pOptions;
    MonitorImport::Result *pResult;
    DuplicateFinder pSeen{DuplicateFinder::Resolution::Second};
    LocalTimeOffsets pOffsets;
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
    return result;
}

MonitorImport::Result MonitorImport::readLog(const QByteArray &log, const Options &options,
                                             const MyDocument *document)
{
    Result result;
    Reader reader(options, document, &result);
    reader.reserve(log.count('\n') + 1);
    SessionLog::scan(
        log,
        [&reader](const SessionLog::EntryView &entry) {
            if (entry.direction == SessionLog::Direction::Received &&
                entry.characteristic == MonitorProtocol::kMeasurement)
                reader.read(entry.value, entry.time, entry.line);
        },
        [&reader](qint64 line, const QString &reason) { reader.addProblem(line, reason); },
        &result.error);
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
