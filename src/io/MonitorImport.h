#pragma once

#include "Measurement.h"
#include "MonitorTransport.h"
#include "SessionLog.h"

#include <QList>
#include <QString>

#include <optional>

class MyDocument;

// Turns measurement records from a monitor (a download, or every record a session log received)
// into readings for a document. Each record is decoded, converted (BloodPressureRecord) and
// passes the editor's checks, or is refused with its line and the reason. A record without a
// time of its own takes the time it arrived. A reading the document holds (same instant to the
// second, same pressures), or one the records repeat, is skipped and counted. Nothing reaches a
// document until apply().
class MonitorImport
{
public:
    struct Options
    {
        // Keeps only the records of this user; records that name no user (or the unknown user)
        // are kept.
        std::optional<quint8> userId;
    };
    struct Problem
    {
        qint64 line = 0;
        QString reason;
    };
    struct Result
    {
        QString error;            // why nothing at all could be read (a log too large); empty else
        MeasurementList readings; // in the order the records came
        QList<Problem> problems;  // the first kMaxProblems, in the order of the lines
        qint64 problemCount = 0;
        qint64 duplicateCount = 0;
        qint64 otherUserCount = 0; // records of other users, left out
        qint64 recordCount = 0;
    };

    static constexpr qsizetype kMaxProblems = 1000;

    static Result read(const QList<MonitorValue> &records, const Options &options = {},
                       const MyDocument *document = nullptr);
    // Every measurement record a session log (SessionLog) received; its bad lines are among the
    // problems.
    static Result readLog(const QByteArray &log, const Options &options = {},
                          const MyDocument *document = nullptr);

    // Adds the readings to the document as one undo step, "doc.import_monitor"; returns how many
    // were added.
    static qsizetype apply(const Result &result, MyDocument *document);
};
