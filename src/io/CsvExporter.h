#pragma once

#include "CsvField.h"
#include "LocalTimeOffsets.h"

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QLocale>
#include <QString>

class Measurement;
class MyDocument;

// Writes readings as CSV for a spreadsheet: UTF-8 with a byte order mark (so that spreadsheets
// take it as UTF-8), CRLF line ends, fields quoted as RFC 4180 says when they hold the separator,
// a quote or a line break. A header row carries the localised column titles and the user's
// custom titles. Each reading gives the local date (yyyy-MM-dd) and time (HH:mm:ss), the instant
// in ISO 8601 with its offset from UTC (in UTC where the offset is not whole minutes, as in local
// mean time; milliseconds only when the instant has them), numbers with a dot and whole numbers
// without a fraction, the comment, and the tags joined by "; ".
class CsvExporter
{
public:
    struct Options
    {
        QChar separator = u',';
        // Every reading of the document with every value; otherwise the readings that pass the
        // selected filter, with the optional values the preferences show.
        bool bAll = false;
    };

    explicit CsvExporter(const Options &options);

    // The separator a spreadsheet of the locale expects: a semicolon where numbers are written
    // with a decimal comma, a comma elsewhere.
    static QChar defaultSeparator(const QLocale &locale = QLocale());

    // The columns written: date, time, instant, systolic, diastolic, then pulse, weight and the
    // three custom values (each when shown in the preferences, or always for bAll), comments,
    // tags.
    QList<CsvField> columns() const { return pColumns; }
    // The title of a column in the running language; the custom values carry the user's titles.
    static QString columnTitle(CsvField field);

    QByteArray header() const;
    void appendReading(QByteArray &out, const Measurement &reading);

    // The whole file for a document (its filtered readings, or all of them for bAll), in date
    // order.
    QByteArray exportDocument(const MyDocument &document);
    // Writes it through QSaveFile; on failure *error tells why and no file is left half written.
    bool writeDocument(const MyDocument &document, const QString &path, QString *error = nullptr);

private:
    void appendText(QByteArray &out, const QString &text) const;
    void appendNumber(QByteArray &out, const QVariant &value) const;

    Options pOptions;
    QList<CsvField> pColumns;
    LocalTimeOffsets pOffsets;
};
