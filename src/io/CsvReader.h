#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringView>

#include <vector>

// Splits CSV text into records as RFC 4180 describes them, tolerant of what spreadsheets and
// other programs write: CRLF, LF or CR line ends, quoted fields with doubled quotes and line
// breaks inside, text after a closing quote kept as part of the field. Works on text held in
// memory and bounds what one record may cost: a record longer than kMaxRecordLength characters,
// with more than kMaxColumns fields, or with a NUL character is reported as bad (its fields are
// not kept) and reading goes on with the next one.
class CsvReader
{
public:
    enum class Encoding
    {
        Automatic, // a byte order mark decides, else UTF-8 when the bytes are valid UTF-8, else
                   // Latin-1
        Utf8,
        Latin1
    };
    enum class RecordError
    {
        None,
        TooLong,
        TooManyColumns,
        NulCharacter,
        UnclosedQuote
    };

    static constexpr qsizetype kMaxRecordLength = 1 << 20;
    static constexpr qsizetype kMaxColumns = 1000;

    // Decodes a file's bytes, dropping a byte order mark (UTF-8 or UTF-16). *used tells which
    // encoding was taken (Utf8 for UTF-16 files too, which have a mark).
    static QString decode(const QByteArray &bytes, Encoding encoding, Encoding *used = nullptr);

    // The separator among comma, semicolon and tab that splits the first lines of the text into
    // the same number of fields as the first line; a comma when none does.
    static QChar detectSeparator(QStringView text);

    // The text must outlive the reader and the fields it hands out.
    CsvReader(QStringView text, QChar separator);

    // Reads the next record; false at the end of the text. Empty lines are skipped.
    bool readRecord();
    // The line on which the record read last begins (1-based).
    qint64 line() const { return nLine; }
    RecordError error() const { return nError; }
    // The fields of the record read last; valid until the next readRecord().
    const std::vector<QStringView> &fields() const { return pFields; }
    QStringList fieldList() const;

private:
    void addField(QStringView field);

    QStringView pText;
    const QChar *pPos;
    const QChar *pEnd;
    char16_t cSeparator;
    qint64 nNextLine = 1;
    qint64 nLine = 0;
    RecordError nError = RecordError::None;
    std::vector<QStringView> pFields;
    std::vector<QString> pUnquoted; // fields that held doubled quotes, with them made single
    size_t nUnquotedUsed = 0;
};
