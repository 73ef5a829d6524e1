#include "CsvImporter.h"

#include "CsvExporter.h"
#include "CsvValueParsers.h"
#include "DuplicateFinder.h"
#include "LocalTimeOffsets.h"
#include "MeasurementChecks.h"
#include "MyDocument.h"
#include "Number.h"
#include "Preferences.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QTranslator>

#include <algorithm>
#include <cmath>

namespace {

using namespace CsvValueParsers;

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
        if (!date &&
            (parseCalendarDate(text.first(qMin<qsizetype>(10, text.size())), false, &moment) ||
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
    if (!parseCalendarDate(datePart, pResult->dateOrder == CsvImporter::DateOrder::MonthFirst,
                           &moment)) {
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

ImportResult CsvImporter::toImportResult(const Result &result)
{
    ImportResult converted;
    converted.error = result.error;
    converted.position = ImportResult::Position::Line;
    converted.duplicateCount = result.duplicateCount;
    ImportCollector collector(nullptr, &converted);
    for (const Problem &problem : result.problems)
        collector.addProblem(problem.line, problem.reason);
    // Counted in full even when only the first problems are kept.
    converted.problemCount = result.problemCount;
    // The rows passed the editor's checks and the file's own duplicates are counted already.
    converted.readings = result.readings;
    collector.finish();
    return converted;
}
