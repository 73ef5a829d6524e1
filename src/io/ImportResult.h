#pragma once

#include "Measurement.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QtNumeric>

#include <functional>
#include <unordered_set>
#include <vector>

class MyDocument;

// What an import of readings from another program's file found, before anything reaches a
// document: the readings, the problems (each with the line or entry it was found at and the
// reason), the readings skipped as duplicates, and what was left out, counted by kind (a
// resource or record type, a unit nobody converts, a pulse without a pressure to join).
struct ImportResult
{
    enum class Position
    {
        Line, // problems name a line of the file
        Entry // problems name an entry (a FHIR Bundle's entries, from 1)
    };
    struct Problem
    {
        qint64 line = 0;
        QString reason;
    };

    QString error;            // why nothing at all could be read; empty else
    bool bCancelled = false;  // the progress callback asked to stop; nothing was read
    MeasurementList readings; // in time order
    Position position = Position::Line;
    QList<Problem> problems; // the first kMaxProblems, by position
    qint64 problemCount = 0;
    qint64 duplicateCount = 0;
    QMap<QString, qint64> skipped; // what was left out, by kind

    static constexpr qsizetype kMaxProblems = 1000;

    qint64 skippedCount() const;
    // True when the file gave neither readings nor duplicates.
    bool isEmpty() const { return readings.isEmpty() && duplicateCount == 0; }

    // Adds the readings to the document as one undo step named by the localisation key
    // actionName (such as "doc.import_fhir"); returns how many were added.
    qsizetype apply(MyDocument *document, const char *actionName) const;
};

// Told how far a long import has come (bytes read of the total, or -1 when unknown); answering
// false cancels it.
using ImportProgress = std::function<bool(qint64 done, qint64 total)>;

// Collects the readings of an import: each passes the editor's checks or is refused with its
// position and the reason; a reading the document holds (same instant to the second, same
// pressures), or one the file repeats, is counted as a duplicate and left out.
class ImportCollector
{
public:
    ImportCollector(const MyDocument *document, ImportResult *result);

    void addProblem(qint64 line, const QString &reason);
    void skip(const QString &kind, qint64 count = 1);
    // True when the reading was taken.
    bool add(const MeasurementPtr &reading, qint64 line);
    // Sorts the readings by time and the problems by position, keeping the first kMaxProblems.
    void finish();

private:
    struct Key
    {
        qint64 second;
        double systolic;
        double diastolic;
        friend bool operator==(const Key &, const Key &) = default;
    };
    struct KeyHash
    {
        size_t operator()(const Key &key) const;
    };
    static Key keyOf(const Measurement &reading);

    ImportResult *pResult;
    std::unordered_set<Key, KeyHash> pSeen;
};

// Pressures, pulses and weights found apart (a FHIR Observation each, Apple Health records),
// joined into readings: a pulse or weight within kJoinSeconds of a pressure joins the nearest one
// that has none yet; the others are left out and counted.
class ReadingJoiner
{
public:
    static constexpr double kJoinSeconds = 120;

    void addPressure(Date time, double systolic, double diastolic, qint64 line,
                     const QString &comment = QString(), const QStringList &tags = {});
    void addPulse(Date time, double pulse);
    void addWeight(Date time, double kilograms);
    qsizetype pressureCount() const { return qsizetype(pPressures.size()); }

    // Hands the joined readings to the collector (in time order) and counts the rest.
    void finish(ImportCollector &collector);

private:
    struct Pressure
    {
        double time;
        double systolic, diastolic;
        qint64 line;
        QString comment;
        QStringList tags;
        double pulse = qQNaN(), weight = qQNaN();
        double pulseDistance = 0, weightDistance = 0;
    };
    // Sixteen bytes: an export may carry millions of heart-rate samples.
    struct Sample
    {
        double time;
        double value;
    };
    std::vector<Pressure> pPressures;
    std::vector<Sample> pPulses, pWeights;
};

// Unit conversions shared by the importers; false for a unit they do not know.
namespace ImportUnits {
bool toMillimetresOfMercury(QStringView unit, double *value);
bool toKilograms(QStringView unit, double *value);
bool toPerMinute(QStringView unit, double *value);
// A number as the reading keeps it: whole when it is whole.
QVariant readingNumber(double value);
} // namespace ImportUnits
