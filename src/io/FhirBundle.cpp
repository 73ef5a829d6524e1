#include "FhirBundle.h"

#include "LocalTimeOffsets.h"
#include "MyDocument.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <QUuid>

#include <cmath>
#include <optional>

namespace {

const QString kLoinc = QStringLiteral("http://loinc.org");
const QString kUcum = QStringLiteral("http://unitsofmeasure.org");
const QString kCategorySystem =
    QStringLiteral("http://terminology.hl7.org/CodeSystem/observation-category");
// Names the resources of one export (name-based UUIDs, so that the same readings give the same
// Bundle).
const QUuid kNamespace(QStringLiteral("{6b3f7a4e-2c1d-4f0a-9b8e-5d7c3a1e9f20}"));

// The instant with the local offset: 2026-12-07T08:15:00+01:00, milliseconds when it has them.
QString dateTimeText(Date date, LocalTimeOffsets &offsets)
{
    const double msecs = std::round(date.timeIntervalSince1970() * 1000.0);
    const qint64 ms = qint64(msecs);
    const qint64 seconds = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
    const int millis = int(ms - seconds * 1000);
    const int offset = offsets.offsetAt(seconds);
    const qint64 local = seconds + offset;
    const qint64 days = local >= 0 ? local / 86400 : (local - 86399) / 86400;
    const qint64 inDay = local - days * 86400;
    int year = 0, month = 0, day = 0;
    LocalTimeOffsets::civilFromDays(days, &year, &month, &day);
    QString text = QStringLiteral("%1-%2-%3T%4:%5:%6")
                       .arg(year, 4, 10, QLatin1Char('0'))
                       .arg(month, 2, 10, QLatin1Char('0'))
                       .arg(day, 2, 10, QLatin1Char('0'))
                       .arg(inDay / 3600, 2, 10, QLatin1Char('0'))
                       .arg(inDay / 60 % 60, 2, 10, QLatin1Char('0'))
                       .arg(inDay % 60, 2, 10, QLatin1Char('0'));
    if (millis != 0)
        text += QStringLiteral(".%1").arg(millis, 3, 10, QLatin1Char('0'));
    const int a = std::abs(offset);
    text += QStringLiteral("%1%2:%3")
                .arg(QChar(offset < 0 ? u'-' : u'+'))
                .arg(a / 3600, 2, 10, QLatin1Char('0'))
                .arg(a / 60 % 60, 2, 10, QLatin1Char('0'));
    return text;
}

QJsonObject coding(const QString &system, const QString &code, const QString &display)
{
    return QJsonObject{{QStringLiteral("system"), system},
                       {QStringLiteral("code"), code},
                       {QStringLiteral("display"), display}};
}

QJsonObject codeableConcept(const QString &code, const QString &display)
{
    return QJsonObject{{QStringLiteral("coding"), QJsonArray{coding(kLoinc, code, display)}},
                       {QStringLiteral("text"), display}};
}

QJsonObject quantity(const QVariant &value, const QString &unit, const QString &code)
{
    const QJsonValue number = value.typeId() == QMetaType::LongLong
                                  ? QJsonValue(qint64(value.toLongLong()))
                                  : QJsonValue(value.toDouble());
    return QJsonObject{{QStringLiteral("value"), number},
                       {QStringLiteral("unit"), unit},
                       {QStringLiteral("system"), kUcum},
                       {QStringLiteral("code"), code}};
}

} // namespace

FhirBundle::ExportResult FhirBundle::exportDocument(const MyDocument &document,
                                                    const ExportOptions &options)
{
    ExportResult result;
    LocalTimeOffsets offsets;
    QJsonArray entries;
    QJsonObject subject;
    const auto addEntry = [&](const QString &name, QJsonObject resource) {
        const QString url = QStringLiteral("urn:uuid:") +
                            QUuid::createUuidV5(kNamespace, name).toString(QUuid::WithoutBraces);
        entries.append(
            QJsonObject{{QStringLiteral("fullUrl"), url}, {QStringLiteral("resource"), resource}});
        return url;
    };
    if (!options.patientName.isEmpty()) {
        const QString url = addEntry(
            QStringLiteral("patient"),
            QJsonObject{{QStringLiteral("resourceType"), QStringLiteral("Patient")},
                        {QStringLiteral("name"),
                         QJsonArray{QJsonObject{{QStringLiteral("text"), options.patientName}}}}});
        subject = QJsonObject{{QStringLiteral("reference"), url}};
    }
    const QJsonArray category{QJsonObject{
        {QStringLiteral("coding"), QJsonArray{coding(kCategorySystem, QStringLiteral("vital-signs"),
                                                     QStringLiteral("Vital Signs"))}},
        {QStringLiteral("text"), QStringLiteral("Vital Signs")}}};
    const auto observation = [&](const QString &profile, const QJsonObject &code,
                                 const QString &time) {
        QJsonObject o{
            {QStringLiteral("resourceType"), QStringLiteral("Observation")},
            {QStringLiteral("meta"),
             QJsonObject{{QStringLiteral("profile"),
                          QJsonArray{QStringLiteral("http://hl7.org/fhir/StructureDefinition/") +
                                     profile}}}},
            {QStringLiteral("status"), QStringLiteral("final")},
            {QStringLiteral("category"), category},
            {QStringLiteral("code"), code},
            {QStringLiteral("effectiveDateTime"), time}};
        if (!subject.isEmpty())
            o.insert(QStringLiteral("subject"), subject);
        return o;
    };

    const ConstMeasurementList &readings = options.bAll ? document.allItems() : document.items();
    qsizetype index = 0;
    for (const ConstMeasurementPtr &reading : readings) {
        ++index;
        const QString time = dateTimeText(reading->theWholeDate(), offsets);
        const QString name = QString::number(index) + u'/' + time;
        QJsonObject pressure = observation(
            QStringLiteral("bp"),
            codeableConcept(QStringLiteral("85354-9"),
                            QStringLiteral("Blood pressure panel with all children optional")),
            time);
        pressure.insert(
            QStringLiteral("component"),
            QJsonArray{QJsonObject{{QStringLiteral("code"),
                                    codeableConcept(QStringLiteral("8480-6"),
                                                    QStringLiteral("Systolic blood pressure"))},
                                   {QStringLiteral("valueQuantity"),
                                    quantity(reading->Systolic(), QStringLiteral("mmHg"),
                                             QStringLiteral("mm[Hg]"))}},
                       QJsonObject{{QStringLiteral("code"),
                                    codeableConcept(QStringLiteral("8462-4"),
                                                    QStringLiteral("Diastolic blood pressure"))},
                                   {QStringLiteral("valueQuantity"),
                                    quantity(reading->Diastolic(), QStringLiteral("mmHg"),
                                             QStringLiteral("mm[Hg]"))}}});
        if (reading->hasTags() && !reading->Tags().isEmpty()) {
            QJsonArray tags;
            for (const QString &tag : reading->Tags())
                tags.append(QJsonObject{{QStringLiteral("system"), QLatin1String(kTagSystem)},
                                        {QStringLiteral("code"), tag}});
            QJsonObject meta = pressure.value(QStringLiteral("meta")).toObject();
            meta.insert(QStringLiteral("tag"), tags);
            pressure.insert(QStringLiteral("meta"), meta);
        }
        if (!reading->Comments().isEmpty())
            pressure.insert(QStringLiteral("note"),
                            QJsonArray{QJsonObject{{QStringLiteral("text"), reading->Comments()}}});
        addEntry(name + QStringLiteral("/bp"), pressure);
        if (reading->Pulse().isValid()) {
            QJsonObject pulse = observation(
                QStringLiteral("heartrate"),
                codeableConcept(QStringLiteral("8867-4"), QStringLiteral("Heart rate")), time);
            pulse.insert(
                QStringLiteral("valueQuantity"),
                quantity(reading->Pulse(), QStringLiteral("beats/minute"), QStringLiteral("/min")));
            addEntry(name + QStringLiteral("/pulse"), pulse);
        }
        if (reading->Weight().isValid()) {
            QJsonObject weight = observation(
                QStringLiteral("bodyweight"),
                codeableConcept(QStringLiteral("29463-7"), QStringLiteral("Body weight")), time);
            weight.insert(QStringLiteral("valueQuantity"),
                          quantity(reading->Weight(), QStringLiteral("kg"), QStringLiteral("kg")));
            addEntry(name + QStringLiteral("/weight"), weight);
        }
        if (reading->customValue1().isValid() || reading->customValue2().isValid() ||
            reading->customValue3().isValid())
            ++result.customValueCount;
    }
    result.readingCount = readings.size();
    const QJsonObject bundle{{QStringLiteral("resourceType"), QStringLiteral("Bundle")},
                             {QStringLiteral("type"), QStringLiteral("collection")},
                             {QStringLiteral("entry"), entries}};
    result.json = QJsonDocument(bundle).toJson(QJsonDocument::Indented);
    return result;
}

bool FhirBundle::writeDocument(const MyDocument &document, const QString &path,
                               const ExportOptions &options, ExportResult *result, QString *error)
{
    *result = exportDocument(document, options);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(result->json) != result->json.size() ||
        !file.commit()) {
        if (error)
            *error = qtTrId("csv.error.write").arg(path, file.errorString());
        return false;
    }
    return true;
}

namespace {

// Refuses JSON nested deeper than the limit, before a parser sees it.
bool withinDepth(const QByteArray &json, int limit)
{
    int depth = 0;
    bool inString = false;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json.at(i);
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            if (++depth > limit)
                return false;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return true;
}

// A FHIR dateTime with a time: a zone is required, the values must exist.
std::optional<Date> parseDateTime(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})T(\\d{2}):(\\d{2}):(\\d{2})(\\.\\d{1,9})?(Z|([+-"
                       "])(\\d{2}):(\\d{2}))$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int year = m.capturedView(1).toInt(), month = m.capturedView(2).toInt(),
              day = m.capturedView(3).toInt(), hour = m.capturedView(4).toInt(),
              minute = m.capturedView(5).toInt(), second = m.capturedView(6).toInt();
    if (year < 1 || year > 9000 || !QDate::isValid(year, month, day) || hour > 23 || minute > 59 ||
        second > 59)
        return std::nullopt;
    int offset = 0;
    if (m.capturedView(8) != u"Z") {
        const int oh = m.capturedView(10).toInt(), om = m.capturedView(11).toInt();
        if (oh > 14 || om > 59)
            return std::nullopt;
        offset = (oh * 3600 + om * 60) * (m.capturedView(9) == u"-" ? -1 : 1);
    }
    const double fraction = m.capturedView(7).isEmpty() ? 0 : m.capturedView(7).toDouble();
    const qint64 seconds = LocalTimeOffsets::daysFromCivil(year, month, day) * 86400 + hour * 3600 +
                           minute * 60 + second - offset;
    return Date::fromTimeIntervalSince1970(double(seconds) + fraction);
}

QString loincCode(const QJsonObject &codeable)
{
    for (const QJsonValue &c : codeable.value(QStringLiteral("coding")).toArray()) {
        const QJsonObject o = c.toObject();
        if (o.value(QStringLiteral("system")).toString() == kLoinc)
            return o.value(QStringLiteral("code")).toString();
    }
    return QString();
}

// The quantity's value and unit (its UCUM code, else its unit text); false when it has none.
bool quantityOf(const QJsonObject &holder, double *value, QString *unit)
{
    const QJsonValue q = holder.value(QStringLiteral("valueQuantity"));
    if (!q.isObject())
        return false;
    const QJsonValue v = q.toObject().value(QStringLiteral("value"));
    if (!v.isDouble() || !std::isfinite(v.toDouble()))
        return false;
    *value = v.toDouble();
    *unit = q.toObject().value(QStringLiteral("code")).toString();
    if (unit->isEmpty())
        *unit = q.toObject().value(QStringLiteral("unit")).toString();
    return true;
}

} // namespace

ImportResult FhirBundle::read(const QByteArray &json, const MyDocument *document)
{
    ImportResult result;
    result.position = ImportResult::Position::Entry;
    if (json.size() > kMaxFileSize) {
        result.error = qtTrId("import.error.too_large");
        return result;
    }
    if (!withinDepth(json, kMaxDepth)) {
        result.error = qtTrId("import.fhir.error.too_deep").arg(kMaxDepth);
        return result;
    }
    QJsonParseError parseError;
    const QJsonDocument parsed = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        result.error =
            qtTrId("import.fhir.error.json").arg(parseError.offset).arg(parseError.errorString());
        return result;
    }
    const QJsonObject bundle = parsed.object();
    if (bundle.value(QStringLiteral("resourceType")).toString() != QLatin1String("Bundle")) {
        result.error = qtTrId("import.fhir.error.not_bundle");
        return result;
    }
    const QJsonValue entryValue = bundle.value(QStringLiteral("entry"));
    if (!entryValue.isArray() && !entryValue.isUndefined()) {
        result.error = qtTrId("import.fhir.error.not_bundle");
        return result;
    }

    ImportCollector collector(document, &result);
    ReadingJoiner joiner;
    const QJsonArray entries = entryValue.toArray();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const qint64 position = i + 1;
        const QJsonObject resource =
            entries.at(i).toObject().value(QStringLiteral("resource")).toObject();
        const QString type = resource.value(QStringLiteral("resourceType")).toString();
        if (type != QLatin1String("Observation")) {
            collector.skip(type.isEmpty() ? qtTrId("import.fhir.skipped.no_resource") : type);
            continue;
        }
        const QString status = resource.value(QStringLiteral("status")).toString();
        if (status == QLatin1String("entered-in-error") || status == QLatin1String("cancelled")) {
            collector.skip(QStringLiteral("Observation (%1)").arg(status));
            continue;
        }
        const QString code = loincCode(resource.value(QStringLiteral("code")).toObject());
        const bool pressure = code == QLatin1String("85354-9") || code == QLatin1String("55284-4");
        const bool pulse = code == QLatin1String("8867-4");
        const bool weight = code == QLatin1String("29463-7") || code == QLatin1String("3141-9");
        if (!pressure && !pulse && !weight) {
            collector.skip(
                QStringLiteral("Observation %1").arg(code.isEmpty() ? QStringLiteral("?") : code));
            continue;
        }
        QJsonValue when = resource.value(QStringLiteral("effectiveDateTime"));
        if (when.isUndefined())
            when = resource.value(QStringLiteral("effectiveInstant"));
        if (!when.isString()) {
            collector.addProblem(position, qtTrId("import.problem.no_time"));
            continue;
        }
        const std::optional<Date> time = parseDateTime(when.toString());
        if (!time) {
            collector.addProblem(position,
                                 qtTrId("import.problem.bad_time").arg(when.toString().left(40)));
            continue;
        }
        double value = 0;
        QString unit;
        if (pressure) {
            double systolic = qQNaN(), diastolic = qQNaN();
            bool bad = false;
            for (const QJsonValue &c : resource.value(QStringLiteral("component")).toArray()) {
                const QJsonObject component = c.toObject();
                const QString part = loincCode(component.value(QStringLiteral("code")).toObject());
                if (part != QLatin1String("8480-6") && part != QLatin1String("8462-4"))
                    continue;
                if (!quantityOf(component, &value, &unit) ||
                    !ImportUnits::toMillimetresOfMercury(unit, &value)) {
                    bad = true;
                    break;
                }
                (part == QLatin1String("8480-6") ? systolic : diastolic) = value;
            }
            if (bad || std::isnan(systolic) || std::isnan(diastolic)) {
                collector.addProblem(position, qtTrId("import.problem.bad_pressure"));
                continue;
            }
            QString comment;
            const QJsonArray notes = resource.value(QStringLiteral("note")).toArray();
            if (!notes.isEmpty())
                comment = notes.at(0).toObject().value(QStringLiteral("text")).toString();
            QStringList tags;
            const QJsonObject meta = resource.value(QStringLiteral("meta")).toObject();
            for (const QJsonValue &t : meta.value(QStringLiteral("tag")).toArray()) {
                const QJsonObject tag = t.toObject();
                if (tag.value(QStringLiteral("system")).toString() == QLatin1String(kTagSystem) &&
                    !tag.value(QStringLiteral("code")).toString().isEmpty())
                    tags.append(tag.value(QStringLiteral("code")).toString());
            }
            joiner.addPressure(*time, systolic, diastolic, position, comment, tags);
            continue;
        }
        if (!quantityOf(resource, &value, &unit)) {
            collector.addProblem(position, qtTrId("import.problem.no_value"));
            continue;
        }
        if (pulse ? !ImportUnits::toPerMinute(unit, &value)
                  : !ImportUnits::toKilograms(unit, &value)) {
            collector.skip(qtTrId("import.skipped.unit").arg(unit));
            continue;
        }
        if (pulse)
            joiner.addPulse(*time, value);
        else
            joiner.addWeight(*time, value);
    }
    joiner.finish(collector);
    collector.finish();
    return result;
}

ImportResult FhirBundle::readFile(const QString &path, const MyDocument *document)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ImportResult result;
        result.error = qtTrId("import.error.open").arg(path, file.errorString());
        return result;
    }
    if (file.size() > kMaxFileSize) {
        ImportResult result;
        result.error = qtTrId("import.error.too_large");
        return result;
    }
    return read(file.readAll(), document);
}
