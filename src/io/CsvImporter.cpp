#include "CsvImporter.h"

#include "CsvExporter.h"
#include "DuplicateFinder.h"
#include "LocalTimeOffsets.h"
#include "MeasurementChecks.h"
#include "MyDocument.h"
#include "Number.h"
#include "Preferences.h"

#include <QDate>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QTranslator>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// --- Column titles ----------------------------------------------------------------------------

QString normalizedTitle(QStringView title)
{
    QString text;
    text.reserve(title.size());
    int depth = 0;
    for (const QChar c : title) {
        if (c == u'(' || c == u'[' || c == u'{') {
            ++depth;
        } else if (c == u')' || c == u']' || c == u'}') {
            depth = qMax(0, depth - 1);
        } else if (depth == 0) {
            if (c == u'.' || c == u'_' || c == u'-' || c == u':' || c == u'*' || c == u'#' ||
                c.isSpace())
                text.append(u' ');
            else
                text.append(c.toLower());
        }
    }
    return text.simplified();
}

// The texts of a key in every language the application has.
QStringList textsInAllLanguages(const char *key, const QString &table)
{
    QStringList texts;
    for (const char *language : {"en", "de"}) {
        QTranslator translator;
        if (translator.load(
                QStringLiteral(":/i18n/%1_%2.qm").arg(table, QLatin1String(language)))) {
            const QString text = translator.translate(nullptr, key);
            if (!text.isEmpty())
                texts.append(text);
        }
    }
    return texts;
}

const QHash<QString, CsvField> &titleTable()
{
    static const QHash<QString, CsvField> table = [] {
        QHash<QString, CsvField> t;
        const auto add = [&t](CsvField field, std::initializer_list<const char *> titles) {
            for (const char *title : titles)
                t.insert(normalizedTitle(QString::fromUtf8(title)), field);
        };
        add(CsvField::Date, {"date", "datum", "day", "messdatum", "date of measurement"});
        add(CsvField::Time,
            {"time", "uhrzeit", "zeit", "clock", "time of day", "messzeit", "uhr", "hour"});
        add(CsvField::DateTime, {"date/time", "date time", "datetime", "date and time", "timestamp",
                                 "time stamp", "instant", "measured at", "measurement time",
                                 "unix time", "epoch", "iso 8601", "datum/uhrzeit", "datum uhrzeit",
                                 "datum und uhrzeit", "zeitpunkt", "zeitstempel", "messzeitpunkt"});
        add(CsvField::Systolic,
            {"systolic", "sys", "syst", "systole", "systolisch", "systolischer wert",
             "systolic pressure", "systolic blood pressure", "systolischer blutdruck",
             "systolischer druck", "sbp", "upper", "oberer wert", "sys mmhg"});
        add(CsvField::Diastolic,
            {"diastolic", "dia", "diast", "diastole", "diastolisch", "diastolischer wert",
             "diastolic pressure", "diastolic blood pressure", "diastolischer blutdruck",
             "diastolischer druck", "dbp", "lower", "unterer wert", "dia mmhg"});
        add(CsvField::Pulse, {"pulse", "puls", "hr", "heart rate", "heartrate", "herzfrequenz",
                              "pulse rate", "pulsfrequenz", "bpm", "pul", "herzschlag"});
        add(CsvField::Weight, {"weight", "gewicht", "wt", "körpergewicht", "body weight", "kg"});
        add(CsvField::Comments,
            {"comment", "comments", "note", "notes", "remark", "remarks", "description",
             "kommentar", "kommentare", "bemerkung", "bemerkungen", "notiz", "notizen", "anmerkung",
             "anmerkungen", "beschreibung"});
        add(CsvField::Tags,
            {"tag", "tags", "label", "labels", "category", "categories", "schlagwort",
             "schlagwörter", "schlagworte", "stichwort", "stichwörter", "markierung",
             "markierungen", "etikett", "etiketten", "kategorie", "kategorien"});
        // The titles this program writes, in every language, and the default titles of the
        // values the user names.
        const auto addTexts = [&t](CsvField field, const char *key, const QString &table) {
            for (const QString &text : textsInAllLanguages(key, table))
                t.insert(normalizedTitle(text), field);
        };
        const QString csvTable = QStringLiteral("csv"), prefsTable = QStringLiteral("prefs");
        addTexts(CsvField::Date, "csv.columns.date", csvTable);
        addTexts(CsvField::Time, "csv.columns.time", csvTable);
        addTexts(CsvField::DateTime, "csv.columns.instant", csvTable);
        for (int s = 0; s < ReadingValues::kStoredCount; ++s) {
            const ReadingValue &value = *ReadingValues::kStored[s];
            if (value.csvTitleId)
                addTexts(fieldOfValue(s), value.csvTitleId, csvTable);
            if (value.defaultTitleId)
                addTexts(fieldOfValue(s), value.defaultTitleId, prefsTable);
        }
        addTexts(CsvField::Comments, "csv.columns.comments", csvTable);
        addTexts(CsvField::Tags, "csv.columns.tags", csvTable);
        return t;
    }();
    return table;
}

// --- Values -----------------------------------------------------------------------------------

// QStringView::trimmed() without the call when there is nothing to trim, the usual case.
inline QStringView trim(QStringView s)
{
    if (s.isEmpty() || (s.front().unicode() > u' ' && s.back().unicode() > u' '))
        return s;
    return s.trimmed();
}

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// Digits only, from to to (1 to 9 of them).
bool parseDigits(QStringView s, int *value)
{
    if (s.isEmpty() || s.size() > 9)
        return false;
    int v = 0;
    for (const QChar c : s) {
        if (!isDigit(c))
            return false;
        v = v * 10 + (c.unicode() - u'0');
    }
    *value = v;
    return true;
}

// A number with a decimal dot or comma: a whole number as qlonglong, else a double. An empty
// text is an absent value. False for anything else.
bool parseNumber(QStringView s, QVariant *value)
{
    s = trim(s);
    if (s.isEmpty()) {
        *value = QVariant();
        return true;
    }
    // Whole numbers of up to 18 digits, the usual case, without a copy.
    if (s.size() <= 18) {
        qsizetype i = s[0] == u'-' ? 1 : 0;
        qlonglong whole = 0;
        for (; i < s.size() && isDigit(s[i]); ++i)
            whole = whole * 10 + (s[i].unicode() - u'0');
        if (i == s.size() && (s[0] != u'-' || s.size() > 1)) {
            *value = QVariant(s[0] == u'-' ? -whole : whole);
            return true;
        }
    }
    char buffer[64] = {};
    if (s.size() >= qsizetype(sizeof buffer))
        return false;
    bool fraction = false;
    qsizetype n = 0;
    for (const QChar c : s) {
        char16_t u = c.unicode();
        if (u == u',')
            u = u'.';
        if (u == u'.' || u == u'e' || u == u'E')
            fraction = true;
        else if (!(u >= u'0' && u <= u'9') && u != u'-' && u != u'+')
            return false;
        buffer[n++] = char(u);
    }
    const char *begin = buffer[0] == '+' ? buffer + 1 : buffer;
    const char *end = buffer + n;
    if (!fraction) {
        qlonglong whole = 0;
        const auto result = std::from_chars(begin, end, whole);
        if (result.ec == std::errc() && result.ptr == end) {
            *value = QVariant(whole);
            return true;
        }
    }
    double real = 0;
    const auto result = std::from_chars(begin, end, real);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(real))
        return false;
    *value = QVariant(real);
    return true;
}

// "a/b/yyyy": the two leading numbers, for deciding the order of a column.
bool slashParts(QStringView s, int *first, int *second)
{
    s = s.trimmed();
    const qsizetype a = s.indexOf(u'/');
    if (a < 1)
        return false;
    const qsizetype b = s.indexOf(u'/', a + 1);
    if (b < 0)
        return false;
    return parseDigits(s.first(a), first) && parseDigits(s.sliced(a + 1, b - a - 1), second) &&
           a <= 2;
}

struct Moment
{
    qint64 days = 0;
    qint64 secondOfDay = 0;
    double fraction = 0;
    bool bOffset = false;
    int offset = 0; // seconds east of UTC
};

bool parseCalendarDate(QStringView s, CsvImporter::DateOrder order, Moment *moment)
{
    int y = 0, m = 0, d = 0;
    const auto parts = [&s](QChar sep, QStringView *a, QStringView *b, QStringView *c) {
        const qsizetype i = s.indexOf(sep);
        if (i < 0)
            return false;
        const qsizetype j = s.indexOf(sep, i + 1);
        if (j < 0)
            return false;
        *a = s.first(i);
        *b = s.sliced(i + 1, j - i - 1);
        *c = s.sliced(j + 1);
        return true;
    };
    QStringView a, b, c;
    if (parts(u'-', &a, &b, &c)) {
        if (a.size() != 4 || !parseDigits(a, &y) || !parseDigits(b, &m) || !parseDigits(c, &d))
            return false;
    } else if (parts(u'.', &a, &b, &c)) {
        if (!parseDigits(a, &d) || !parseDigits(b, &m) || !parseDigits(c, &y))
            return false;
        if (c.size() == 2)
            y += 2000;
        else if (c.size() != 4)
            return false;
    } else if (parts(u'/', &a, &b, &c)) {
        if (a.size() == 4) {
            if (!parseDigits(a, &y) || !parseDigits(b, &m) || !parseDigits(c, &d))
                return false;
        } else {
            int first = 0, second = 0;
            if (!parseDigits(a, &first) || !parseDigits(b, &second) || !parseDigits(c, &y))
                return false;
            if (c.size() == 2)
                y += 2000;
            else if (c.size() != 4)
                return false;
            if (order == CsvImporter::DateOrder::MonthFirst) {
                m = first;
                d = second;
            } else {
                d = first;
                m = second;
            }
        }
    } else {
        return false;
    }
    if (!QDate::isValid(y, m, d))
        return false;
    moment->days = LocalTimeOffsets::daysFromCivil(y, m, d);
    return true;
}

// "HH:mm[:ss[.fff]]", "H.mm", with "am"/"pm" or "Uhr", and an offset ("Z", "+01:00", "+0100").
bool parseTimeOfDay(QStringView s, Moment *moment)
{
    s = trim(s);
    qsizetype i = 0;
    const auto number = [&s, &i](int maxDigits, int *value) {
        const qsizetype start = i;
        while (i < s.size() && isDigit(s[i]) && i - start < maxDigits)
            ++i;
        return i > start && parseDigits(s.sliced(start, i - start), value);
    };
    int hour = 0, minute = 0, second = 0;
    if (!number(2, &hour) || i >= s.size() || (s[i] != u':' && s[i] != u'.'))
        return false;
    const QChar separator = s[i++];
    if (!number(2, &minute))
        return false;
    if (i < s.size() && s[i] == separator && i + 1 < s.size() && isDigit(s[i + 1])) {
        ++i;
        if (!number(2, &second))
            return false;
        if (i < s.size() && (s[i] == u'.' || s[i] == u',') && i + 1 < s.size() &&
            isDigit(s[i + 1])) {
            const qsizetype start = ++i;
            while (i < s.size() && isDigit(s[i]))
                ++i;
            QStringView digits = s.sliced(start, i - start).first(qMin<qsizetype>(i - start, 9));
            int value = 0;
            parseDigits(digits, &value);
            moment->fraction = value / std::pow(10.0, double(digits.size()));
        }
    }
    QStringView rest = s.sliced(i).trimmed();
    // 12-hour clock.
    const auto eat = [&rest](QLatin1String word) {
        if (rest.startsWith(word, Qt::CaseInsensitive)) {
            rest = rest.sliced(word.size()).trimmed();
            return true;
        }
        return false;
    };
    const bool words = !rest.isEmpty() && rest[0].isLetter() && rest[0] != u'Z' && rest[0] != u'z';
    if (!words) {
        // An offset or nothing follows.
    } else if (eat(QLatin1String("am")) || eat(QLatin1String("a.m.")) ||
               eat(QLatin1String("a. m."))) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour == 12 ? 0 : hour;
    } else if (eat(QLatin1String("pm")) || eat(QLatin1String("p.m.")) ||
               eat(QLatin1String("p. m."))) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour == 12 ? 12 : hour + 12;
    } else {
        eat(QLatin1String("uhr")) || eat(QLatin1String("h"));
    }
    if (hour > 23 || minute > 59 || second > 60)
        return false;
    moment->secondOfDay = hour * 3600 + minute * 60 + qMin(second, 59);
    // Offset.
    if (rest.isEmpty())
        return true;
    if (rest == u'Z' || rest == u'z') {
        moment->bOffset = true;
        moment->offset = 0;
        return true;
    }
    if (rest[0] != u'+' && rest[0] != u'-' && rest[0] != QChar(0x2212))
        return false;
    const int sign = rest[0] == u'+' ? 1 : -1;
    QStringView digits = rest.sliced(1);
    int oh = 0, om = 0;
    if (digits.size() == 5 && digits[2] == u':') {
        if (!parseDigits(digits.first(2), &oh) || !parseDigits(digits.sliced(3), &om))
            return false;
    } else if (digits.size() == 4) {
        if (!parseDigits(digits.first(2), &oh) || !parseDigits(digits.sliced(2), &om))
            return false;
    } else if (digits.size() == 2) {
        if (!parseDigits(digits, &oh))
            return false;
    } else {
        return false;
    }
    if (oh > 18 || om > 59)
        return false;
    moment->bOffset = true;
    moment->offset = sign * (oh * 3600 + om * 60);
    return true;
}

// Whole digits with an optional fraction, nine digits or more: a Unix timestamp.
bool parseTimestamp(QStringView s, double *unixSeconds)
{
    qsizetype digits = 0;
    qsizetype i = 0;
    while (i < s.size() && isDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (digits < 9 || digits > 16)
        return false;
    if (i < s.size()) {
        if (s[i] != u'.' || i + 1 == s.size())
            return false;
        for (qsizetype k = i + 1; k < s.size(); ++k) {
            if (!isDigit(s[k]))
                return false;
        }
    }
    char buffer[40];
    if (s.size() >= qsizetype(sizeof buffer))
        return false;
    for (qsizetype k = 0; k < s.size(); ++k)
        buffer[k] = char(s[k].unicode());
    double value = 0;
    std::from_chars(buffer, buffer + s.size(), value);
    // Milliseconds from 1973 on, seconds before the year 5138.
    *unixSeconds = value >= 1e11 ? value / 1000.0 : value;
    return true;
}

// --- The reading of one file --------------------------------------------------------------------

QString recordErrorText(CsvReader::RecordError error)
{
    switch (error) {
    case CsvReader::RecordError::None:
        break;
    case CsvReader::RecordError::TooLong:
        return qtTrId("csv.problem.too_long").arg(CsvReader::kMaxRecordLength);
    case CsvReader::RecordError::TooManyColumns:
        return qtTrId("csv.problem.too_many_columns").arg(CsvReader::kMaxColumns);
    case CsvReader::RecordError::NulCharacter:
        return qtTrId("csv.problem.nul");
    case CsvReader::RecordError::UnclosedQuote:
        return qtTrId("csv.problem.unclosed_quote");
    }
    return QString();
}

// The integer part of a value, as the checks see it, for a message.
QString wholePart(const QVariant &value)
{
    const double number = value.toDouble();
    return std::isfinite(number) ? QString::number(std::trunc(number), 'f', 0)
                                 : QString::number(number);
}

// The reason a row is refused, from the check that failed: the stem and the value it is about.
QString checkFailureText(const QString &stem, MeasurementChecks::Field field,
                         const Measurement &reading)
{
    if (stem == QLatin1String("record_bad_pressure"))
        return qtTrId("csv.problem.bad_pressure")
            .arg(wholePart(reading.Systolic()), wholePart(reading.Diastolic()));
    const ReadingValue &value = *ReadingValues::kStored[int(field) - 1];
    const QString text = qtTrId(value.csvProblemId);
    // A value with bounds is named with its integer part; any other fails only as no number.
    return value.isBounded() ? text.arg(wholePart(reading.valueForKey(value.key))) : text;
}

// A cell shortened for a message.
QString shown(QStringView text)
{
    constexpr qsizetype kShown = 40;
    text = text.trimmed();
    if (text.size() <= kShown)
        return text.toString();
    return text.first(kShown).toString() + QChar(0x2026);
}

bool isBlank(const std::vector<QStringView> &fields)
{
    for (QStringView field : fields) {
        if (!trim(field).isEmpty())
            return false;
    }
    return true;
}

// A mapping for a file without a header, from its first row: a date, a time, then the numbers as
// systolic, diastolic and pulse.
QList<CsvField> guessedMapping(const std::vector<QStringView> &fields)
{
    QList<CsvField> mapping;
    const CsvField numbers[] = {CsvField::Systolic, CsvField::Diastolic, CsvField::Pulse};
    int nextNumber = 0;
    bool date = false, time = false;
    for (QStringView field : fields) {
        CsvField guess = CsvField::Ignore;
        Moment moment;
        double seconds = 0;
        QVariant number;
        const QStringView text = field.trimmed();
        if (!date && (parseCalendarDate(text.first(qMin<qsizetype>(10, text.size())),
                                        CsvImporter::DateOrder::DayFirst, &moment) ||
                      parseTimestamp(text, &seconds))) {
            guess = text.size() > 10 || seconds != 0 ? CsvField::DateTime : CsvField::Date;
            date = true;
        } else if (!time && parseTimeOfDay(text, &moment)) {
            guess = CsvField::Time;
            time = true;
        } else if (!text.isEmpty() && nextNumber < 3 && parseNumber(text, &number)) {
            guess = numbers[nextNumber++];
        }
        mapping.append(guess);
    }
    return mapping;
}

class FileReader
{
public:
    FileReader(const CsvImporter::Options &options, const MyDocument *document,
               CsvImporter::Result *result)
        : pOptions(options), pResult(result)
    {
        if (document) {
            pSeen.addDocument(document->allItems());
        }
    }

    void read(const QByteArray &bytes);

private:
    int column(CsvField field) const { return pColumns[int(field)]; }
    QStringView cell(const std::vector<QStringView> &fields, CsvField field) const
    {
        const int index = column(field);
        return index >= 0 && size_t(index) < fields.size() ? fields[size_t(index)] : QStringView();
    }
    void decideDateOrder(QStringView text);
    MeasurementPtr readingOf(const std::vector<QStringView> &fields, QString *problem);
    bool readMoment(const std::vector<QStringView> &fields, double *unixSeconds, QString *problem);
    void addProblem(qint64 line, const QString &reason);

    const CsvImporter::Options &pOptions;
    CsvImporter::Result *pResult;
    int pColumns[int(CsvField::Tags) + 1];
    DuplicateFinder pSeen{DuplicateFinder::Resolution::Millisecond};
    LocalTimeOffsets pOffsets;
};

void FileReader::addProblem(qint64 line, const QString &reason)
{
    if (pResult->problems.size() < CsvImporter::kMaxProblems)
        pResult->problems.append({line, reason});
    ++pResult->problemCount;
}

void FileReader::decideDateOrder(QStringView text)
{
    pResult->dateOrder = CsvImporter::DateOrder::DayFirst;
    pResult->bDateOrderAmbiguous = false;
    if (pOptions.dateOrder != CsvImporter::DateOrder::Automatic) {
        pResult->dateOrder = pOptions.dateOrder;
        return;
    }
    const int dateColumn =
        column(CsvField::DateTime) >= 0 ? column(CsvField::DateTime) : column(CsvField::Date);
    const int otherColumn = column(CsvField::DateTime) >= 0 ? column(CsvField::Date) : -1;
    if (!text.contains(u'/'))
        return;
    // Over the whole column: a first number above 12 reads only day first, a second one only
    // month first.
    qint64 dayFirst = 0, monthFirst = 0, slashed = 0;
    CsvReader reader(text, pResult->separator);
    bool first = true;
    while (reader.readRecord()) {
        if (first && pResult->bHeader) {
            first = false;
            continue;
        }
        first = false;
        for (const int index : {dateColumn, otherColumn}) {
            if (index < 0 || size_t(index) >= reader.fields().size())
                continue;
            int a = 0, b = 0;
            if (!slashParts(reader.fields()[size_t(index)], &a, &b))
                continue;
            ++slashed;
            if (a > 12 && b <= 12)
                ++dayFirst;
            else if (b > 12 && a <= 12)
                ++monthFirst;
        }
    }
    if (slashed == 0)
        return;
    if (dayFirst == 0 && monthFirst == 0) {
        pResult->bDateOrderAmbiguous = true;
        return;
    }
    pResult->dateOrder = monthFirst > dayFirst ? CsvImporter::DateOrder::MonthFirst
                                               : CsvImporter::DateOrder::DayFirst;
}

bool FileReader::readMoment(const std::vector<QStringView> &fields, double *unixSeconds,
                            QString *problem)
{
    QStringView dateText = trim(cell(fields, CsvField::DateTime));
    if (dateText.isEmpty())
        dateText = trim(cell(fields, CsvField::Date));
    const QStringView timeText = trim(cell(fields, CsvField::Time));
    if (dateText.isEmpty()) {
        *problem = qtTrId("csv.problem.no_date");
        return false;
    }
    if (parseTimestamp(dateText, unixSeconds))
        return true;

    // The date part, then the time of day in the same cell or in the time column.
    qsizetype split = -1;
    for (qsizetype i = 6; i < dateText.size(); ++i) {
        if (dateText[i] == u'T' || dateText[i] == u' ' || dateText[i] == u',') {
            split = i;
            break;
        }
    }
    Moment moment;
    const QStringView datePart = split < 0 ? dateText : dateText.first(split);
    if (!parseCalendarDate(datePart, pResult->dateOrder, &moment)) {
        *problem = qtTrId("csv.problem.bad_date").arg(shown(dateText));
        return false;
    }
    QStringView timePart = split < 0 ? QStringView() : dateText.sliced(split + 1).trimmed();
    // A time in the date's own cell wins over the time column (an instant with its offset
    // next to the local time).
    if (timePart.isEmpty())
        timePart = timeText;
    if (!timePart.isEmpty() && !parseTimeOfDay(timePart, &moment)) {
        *problem = qtTrId("csv.problem.bad_time").arg(shown(timePart));
        return false;
    }
    const qint64 local = moment.days * 86400 + moment.secondOfDay;
    const qint64 instant = moment.bOffset ? local - moment.offset : pOffsets.instantOfLocal(local);
    *unixSeconds = double(instant) + moment.fraction;
    return true;
}

MeasurementPtr FileReader::readingOf(const std::vector<QStringView> &fields, QString *problem)
{
    double unixSeconds = 0;
    if (!readMoment(fields, &unixSeconds, problem))
        return nullptr;

    auto reading = std::make_shared<Measurement>();
    reading->setTheWholeDate(Date::fromTimeIntervalSince1970(unixSeconds));
    for (int s = 0; s < ReadingValues::kStoredCount; ++s) {
        const CsvField field = fieldOfValue(s);
        const int index = column(field);
        if (index < 0)
            continue;
        const QStringView text = cell(fields, field);
        if (text.isEmpty())
            continue; // absent, as a new reading has it
        QVariant value;
        if (!parseNumber(text, &value)) {
            *problem =
                qtTrId("csv.problem.bad_number").arg(CsvExporter::columnTitle(field), shown(text));
            return nullptr;
        }
        reading->setValueForKey(value, ReadingValues::kStored[s]->key);
    }
    for (const ReadingValue *value : ReadingValues::kStored) {
        double number = 0;
        if (value->isRequired() && !reading->numberForKey(value->key, &number)) {
            *problem = qtTrId(value->csvMissingId);
            return nullptr;
        }
    }
    MeasurementChecks::Field failed = MeasurementChecks::Field::None;
    const QString failure = MeasurementChecks::firstFailure(*reading, &failed);
    if (!failure.isEmpty()) {
        *problem = checkFailureText(failure, failed, *reading);
        return nullptr;
    }
    const QStringView comments = cell(fields, CsvField::Comments);
    if (!trim(comments).isEmpty())
        reading->setComments(comments.toString());
    const QStringView tagsText = cell(fields, CsvField::Tags);
    if (!trim(tagsText).isEmpty()) {
        QStringList tags;
        for (QStringView tag : tagsText.split(u';')) {
            tag = tag.trimmed();
            if (!tag.isEmpty() && !tags.contains(tag))
                tags.append(tag.toString());
        }
        if (!tags.isEmpty())
            reading->setTags(tags);
    }
    return reading;
}

void FileReader::read(const QByteArray &bytes)
{
    CsvImporter::Result &result = *pResult;
    const QString text = CsvReader::decode(bytes, pOptions.encoding, &result.encoding);
    result.separator =
        pOptions.separator.isNull() ? CsvReader::detectSeparator(text) : pOptions.separator;

    CsvReader reader(text, result.separator);
    // The first row: a header, or the first readings.
    bool pendingFirst = false;
    while (reader.readRecord()) {
        if (reader.error() == CsvReader::RecordError::None && isBlank(reader.fields()))
            continue;
        pendingFirst = true;
        break;
    }
    if (!pendingFirst) {
        result.error = qtTrId("csv.error.empty");
        return;
    }
    if (reader.error() != CsvReader::RecordError::None) {
        result.error = qtTrId("csv.error.first_line").arg(recordErrorText(reader.error()));
        return;
    }
    QList<CsvField> fromHeader;
    for (QStringView cell : reader.fields())
        fromHeader.append(CsvImporter::fieldForTitle(cell));
    const bool named = std::any_of(fromHeader.begin(), fromHeader.end(),
                                   [](CsvField f) { return f != CsvField::Ignore; });
    result.bHeader = pOptions.header == CsvImporter::Header::Present ||
                     (pOptions.header == CsvImporter::Header::Automatic && named);
    result.columnCount = qsizetype(reader.fields().size());
    if (result.bHeader)
        result.header = reader.fieldList();
    if (!pOptions.mapping.isEmpty())
        result.mapping = pOptions.mapping;
    else
        result.mapping = result.bHeader ? fromHeader : guessedMapping(reader.fields());
    result.mapping.resize(qMax(result.mapping.size(), result.columnCount), CsvField::Ignore);

    std::fill(std::begin(pColumns), std::end(pColumns), -1);
    for (qsizetype i = 0; i < result.mapping.size(); ++i) {
        const CsvField field = result.mapping.at(i);
        if (field != CsvField::Ignore && pColumns[int(field)] < 0)
            pColumns[int(field)] = int(i);
    }
    QStringList missing;
    if (column(CsvField::Date) < 0 && column(CsvField::DateTime) < 0)
        missing.append(CsvExporter::columnTitle(CsvField::Date));
    for (int s = 0; s < ReadingValues::kStoredCount; ++s) {
        if (ReadingValues::kStored[s]->isRequired() && column(fieldOfValue(s)) < 0)
            missing.append(CsvExporter::columnTitle(fieldOfValue(s)));
    }

    decideDateOrder(text);

    // About one reading per line.
    const qsizetype lines =
        qMin<qsizetype>(std::count(bytes.cbegin(), bytes.cend(), '\n') + 1, 10'000'000);
    pSeen.reserve(lines);
    result.readings.reserve(lines);

    // The rows. The first record is read again when it holds readings.
    CsvReader rows(text, result.separator);
    bool skipHeader = result.bHeader;
    while (rows.readRecord()) {
        const bool fine = rows.error() == CsvReader::RecordError::None;
        if (fine && isBlank(rows.fields()))
            continue;
        if (skipHeader) {
            skipHeader = false;
            continue;
        }
        ++result.rowCount;
        const bool previewing = result.preview.size() < CsvImporter::kPreviewRows;
        CsvImporter::PreviewRow row;
        if (previewing) {
            row.line = rows.line();
            row.fields = rows.fieldList();
        }
        QString problem;
        MeasurementPtr reading;
        if (!fine)
            problem = recordErrorText(rows.error());
        else if (missing.isEmpty())
            reading = readingOf(rows.fields(), &problem);
        if (reading) {
            if (!pSeen.insert(*reading)) {
                ++result.duplicateCount;
                row.bDuplicate = true;
            } else {
                result.readings.append(reading);
            }
        } else if (!problem.isEmpty()) {
            addProblem(rows.line(), problem);
        }
        if (previewing) {
            row.reading = reading;
            row.problem = problem;
            result.preview.append(row);
        }
    }
    if (!missing.isEmpty())
        result.error = qtTrId("csv.error.missing_columns").arg(missing.join(QLatin1String(", ")));
    else if (result.rowCount == 0)
        result.error = qtTrId("csv.error.empty");
}

} // namespace

CsvField CsvImporter::fieldForTitle(QStringView title)
{
    const QString normalized = normalizedTitle(title);
    if (normalized.isEmpty())
        return CsvField::Ignore;
    const auto found = titleTable().constFind(normalized);
    if (found != titleTable().constEnd())
        return found.value();
    // The user's own titles of the values the user names.
    for (int s = 0; s < ReadingValues::kStoredCount; ++s) {
        const ReadingValue &value = *ReadingValues::kStored[s];
        if (!value.titleKey.isEmpty() &&
            normalizedTitle(ReadingValues::userTitle(value)) == normalized)
            return fieldOfValue(s);
    }
    return CsvField::Ignore;
}

CsvImporter::Result CsvImporter::read(const QByteArray &bytes, const Options &options,
                                      const MyDocument *document)
{
    Result result;
    if (bytes.size() > kMaxFileSize) {
        result.error = qtTrId("csv.error.too_large").arg(kMaxFileSize >> 20);
        return result;
    }
    FileReader reader(options, document, &result);
    reader.read(bytes);
    return result;
}

CsvImporter::Result CsvImporter::readFile(const QString &path, const Options &options,
                                          const MyDocument *document)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Result result;
        result.error = qtTrId("csv.error.read").arg(path, file.errorString());
        return result;
    }
    // Refused before reading a byte when too large; a device that grows meanwhile is cut off
    // one byte past the limit, which the reading refuses.
    if (file.size() > kMaxFileSize) {
        Result result;
        result.error = qtTrId("csv.error.too_large").arg(kMaxFileSize >> 20);
        return result;
    }
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        Result result;
        result.error = qtTrId("csv.error.read").arg(path, file.errorString());
        return result;
    }
    return read(bytes, options, document);
}

qsizetype CsvImporter::apply(const Result &result, MyDocument *document)
{
    if (!document || result.readings.isEmpty())
        return 0;
    const qsizetype before = document->allItems().size();
    document->importMeasurements(result.readings);
    return document->allItems().size() - before;
}
