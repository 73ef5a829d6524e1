#pragma once

#include "CsvField.h"
#include "CsvReader.h"
#include "ImportResult.h"
#include "Measurement.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class MyDocument;

// Reads readings from a CSV file written elsewhere: comma, semicolon or tab separated (detected
// unless given), UTF-8 or Latin-1 with or without a byte order mark, a header row mapped to the
// reading's values by name in English or German (with the usual abbreviations), or a mapping the
// caller gives. Dates and times in ISO 8601 (with or without offset), dd.MM.yyyy, MM/dd/yyyy or
// dd/MM/yyyy (the order decided over the whole column, or left to the caller when the column
// cannot tell), 12- and 24-hour times, Unix timestamps in seconds or milliseconds; numbers with
// a decimal comma or dot.
//
// Every row must pass the editor's checks (MeasurementChecks). Rows that fail or cannot be read
// are listed with their line and the reason and left out; a reading the document already holds
// (same instant to the millisecond, same pressures), or that the file repeats, is skipped and
// counted. Nothing reaches a document until apply().
//
// Bounds: files up to kMaxFileSize bytes, records as CsvReader bounds them, at most kMaxProblems
// problems kept (all are counted).
class CsvImporter
{
public:
    enum class DateOrder
    {
        Automatic,
        DayFirst,  // dd/MM/yyyy
        MonthFirst // MM/dd/yyyy
    };
    enum class Header
    {
        Automatic, // the first row is a header when one of its cells names a value
        Present,
        Absent
    };

    struct Options
    {
        QChar separator; // null: detected
        CsvReader::Encoding encoding = CsvReader::Encoding::Automatic;
        Header header = Header::Automatic;
        QList<CsvField> mapping; // empty: from the header row (or guessed from the first row)
        DateOrder dateOrder = DateOrder::Automatic;
    };

    struct Problem
    {
        qint64 line = 0;
        QString reason;
    };

    // One of the first rows, as the import reads it.
    struct PreviewRow
    {
        qint64 line = 0;
        QStringList fields;
        MeasurementPtr reading; // null when the row is refused
        QString problem;
        bool bDuplicate = false;
    };

    struct Result
    {
        // Why nothing at all can be read (too large, no date or pressure column); empty else.
        QString error;
        QChar separator;
        CsvReader::Encoding encoding = CsvReader::Encoding::Utf8;
        bool bHeader = false;
        QStringList header; // the header row's cells, or empty
        qsizetype columnCount = 0;
        QList<CsvField> mapping;                   // one per column
        DateOrder dateOrder = DateOrder::DayFirst; // the order the slashed dates were read in
        // The date column has dates with slashes that read in both orders: the caller must
        // choose (the rows were read day first meanwhile).
        bool bDateOrderAmbiguous = false;
        QList<PreviewRow> preview;

        MeasurementList readings; // in file order
        QList<Problem> problems;  // the first kMaxProblems, by line
        qint64 problemCount = 0;
        qint64 duplicateCount = 0;
        qint64 rowCount = 0; // data rows, blank ones not counted
    };

    static constexpr qint64 kMaxFileSize = qint64(128) << 20;
    static constexpr qsizetype kMaxProblems = 1000;
    static constexpr qsizetype kPreviewRows = 20;

    // Reads CSV bytes; readings the document holds count as duplicates.
    static Result read(const QByteArray &bytes, const Options &options,
                       const MyDocument *document = nullptr);
    static Result readFile(const QString &path, const Options &options,
                           const MyDocument *document = nullptr);

    // The value a column title names, in English or German; Ignore for none.
    static CsvField fieldForTitle(QStringView title);

    // Adds the readings to the document as one undo step, "doc.import_records"; returns how many
    // were added.
    static qsizetype apply(const Result &result, MyDocument *document);

    // The readings, duplicates and refused rows in the form every import is reviewed in
    // (readings in time order, problems by line). Read without a document, the readings the
    // document holds are left for the review to find.
    static ImportResult toImportResult(const Result &result);
};
