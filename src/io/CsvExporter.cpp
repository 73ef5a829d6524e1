#include "CsvExporter.h"

#include "Measurement.h"
#include "MyDocument.h"
#include "Preferences.h"

#include <QSaveFile>

#include <charconv>
#include <cmath>

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// Digits with leading zeros to the width.
inline char *putDigits(char *p, qint64 value, int width)
{
    for (int i = width - 1; i >= 0; --i) {
        p[i] = char('0' + value % 10);
        value /= 10;
    }
    return p + width;
}

char *putYear(char *p, int year)
{
    if (year >= 0 && year <= 9999)
        return putDigits(p, year, 4);
    return std::to_chars(p, p + 12, year).ptr;
}

// yyyy-MM-dd and HH:mm:ss of a count of seconds since 1970 on some clock.
char *putDate(char *p, qint64 clockSeconds)
{
    const qint64 days = clockSeconds >= 0 ? clockSeconds / 86400 : (clockSeconds - 86399) / 86400;
    int year, month, day;
    LocalTimeOffsets::civilFromDays(days, &year, &month, &day);
    p = putYear(p, year);
    *p++ = '-';
    p = putDigits(p, month, 2);
    *p++ = '-';
    return putDigits(p, day, 2);
}

char *putTime(char *p, qint64 clockSeconds)
{
    const qint64 secondOfDay = ((clockSeconds % 86400) + 86400) % 86400;
    p = putDigits(p, secondOfDay / 3600, 2);
    *p++ = ':';
    p = putDigits(p, secondOfDay / 60 % 60, 2);
    *p++ = ':';
    return putDigits(p, secondOfDay % 60, 2);
}

} // namespace

CsvExporter::CsvExporter(const Options &options) : pOptions(options)
{
    pColumns = {CsvField::Date, CsvField::Time, CsvField::DateTime};
    for (int s = 0; s < ReadingValues::kStoredCount; ++s) {
        if (options.bAll || ReadingValues::isShown(*ReadingValues::kStored[s]))
            pColumns.append(fieldOfValue(s));
    }
    pColumns.append(CsvField::Comments);
    pColumns.append(CsvField::Tags);
}

QChar CsvExporter::defaultSeparator(const QLocale &locale)
{
    return locale.decimalPoint() == QLatin1String(",") ? QChar(u';') : QChar(u',');
}

QString CsvExporter::columnTitle(CsvField field)
{
    if (const ReadingValue *value = valueOfField(field)) {
        if (value->csvTitleId)
            return qtTrId(value->csvTitleId);
        // The user's title, or the default one when the user's is blank.
        const QString title = ReadingValues::userTitle(*value).trimmed();
        return title.isEmpty() ? Preferences::defaultValueForKey(value->titleKey).toString()
                               : title;
    }
    switch (field) {
    case CsvField::Ignore:
        return qtTrId("csv.columns.ignore");
    case CsvField::Date:
        return qtTrId("csv.columns.date");
    case CsvField::Time:
        return qtTrId("csv.columns.time");
    case CsvField::DateTime:
        return qtTrId("csv.columns.instant");
    case CsvField::Comments:
        return qtTrId("csv.columns.comments");
    case CsvField::Tags:
        return qtTrId("csv.columns.tags");
    default:
        return QString();
    }
}

void CsvExporter::appendText(QByteArray &out, const QString &text) const
{
    const QByteArray utf8 = text.toUtf8();
    const char separator = char(pOptions.separator.unicode());
    bool quote = false;
    for (const char c : utf8) {
        if (c == separator || c == '"' || c == '\n' || c == '\r') {
            quote = true;
            break;
        }
    }
    if (!quote) {
        out.append(utf8);
        return;
    }
    out.append('"');
    for (const char c : utf8) {
        if (c == '"')
            out.append('"');
        out.append(c);
    }
    out.append('"');
}

void CsvExporter::appendNumber(QByteArray &out, const QVariant &value) const
{
    char buffer[40];
    std::to_chars_result end;
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        const double number = value.toDouble();
        if (!std::isfinite(number))
            return; // no spreadsheet reads these; the cell stays empty
        end = std::to_chars(buffer, buffer + sizeof buffer, number);
    } else {
        end = std::to_chars(buffer, buffer + sizeof buffer, value.toLongLong());
    }
    out.append(buffer, end.ptr - buffer);
}

QByteArray CsvExporter::header() const
{
    QByteArray out(kByteOrderMark);
    for (qsizetype i = 0; i < pColumns.size(); ++i) {
        if (i > 0)
            out.append(char(pOptions.separator.unicode()));
        appendText(out, columnTitle(pColumns.at(i)));
    }
    out.append("\r\n");
    return out;
}

void CsvExporter::appendReading(QByteArray &out, const Measurement &reading)
{
    const char separator = char(pOptions.separator.unicode());
    const ::Date date = reading.theWholeDate();
    // The instant to the millisecond, and the local clock at it.
    char dateText[16], timeText[16], instantText[48];
    qsizetype dateLength = 0, timeLength = 0, instantLength = 0;
    const double msecs = std::round(date.timeIntervalSince1970() * 1000.0);
    if (std::isfinite(msecs) && std::fabs(msecs) < 1e17) {
        const qint64 ms = qint64(msecs);
        const qint64 seconds = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
        const int millis = int(ms - seconds * 1000);
        const int offset = pOffsets.offsetAt(seconds);
        dateLength = putDate(dateText, seconds + offset) - dateText;
        timeLength = putTime(timeText, seconds + offset) - timeText;

        // An ISO 8601 offset holds whole minutes; local mean time (before the zones) is not
        // that, so its instants are written in UTC.
        const bool wholeMinutes = offset % 60 == 0;
        char *p = wholeMinutes ? std::copy(dateText, dateText + dateLength, instantText)
                               : putDate(instantText, seconds);
        *p++ = 'T';
        p = wholeMinutes ? std::copy(timeText, timeText + timeLength, p) : putTime(p, seconds);
        if (millis != 0) {
            *p++ = '.';
            p = putDigits(p, millis, 3);
        }
        if (!wholeMinutes) {
            *p++ = 'Z';
        } else {
            *p++ = offset < 0 ? '-' : '+';
            const int absolute = offset < 0 ? -offset : offset;
            p = putDigits(p, absolute / 3600, 2);
            *p++ = ':';
            p = putDigits(p, absolute / 60 % 60, 2);
        }
        instantLength = p - instantText;
    }

    for (qsizetype i = 0; i < pColumns.size(); ++i) {
        if (i > 0)
            out.append(separator);
        const CsvField field = pColumns.at(i);
        switch (field) {
        case CsvField::Date:
            out.append(dateText, dateLength);
            break;
        case CsvField::Time:
            out.append(timeText, timeLength);
            break;
        case CsvField::DateTime:
            out.append(instantText, instantLength);
            break;
        case CsvField::Comments: {
            const QString comments = reading.Comments();
            if (!comments.isEmpty())
                appendText(out, comments);
            break;
        }
        case CsvField::Tags: {
            const QStringList tags = reading.Tags();
            if (!tags.isEmpty())
                appendText(out, tags.join(QLatin1String("; ")));
            break;
        }
        case CsvField::Ignore:
            break;
        default: {
            const QVariant value = reading.valueForKey(valueOfField(field)->key);
            if (value.isValid())
                appendNumber(out, value);
            break;
        }
        }
    }
    out.append("\r\n");
}

QByteArray CsvExporter::exportDocument(const MyDocument &document)
{
    const auto &readings = pOptions.bAll ? document.allItems() : document.items();
    QByteArray out = header();
    out.reserve(out.size() + readings.size() * 80);
    for (const auto &reading : readings)
        appendReading(out, *reading);
    return out;
}

bool CsvExporter::writeDocument(const MyDocument &document, const QString &path, QString *error)
{
    const QByteArray bytes = exportDocument(document);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = qtTrId("csv.error.write").arg(path, file.errorString());
        return false;
    }
    return true;
}
