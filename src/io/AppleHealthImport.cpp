#include "AppleHealthImport.h"

#include "LocalTimeOffsets.h"

#include <QDate>
#include <QFile>
#include <QXmlStreamReader>

#include <cmath>
#include <optional>

namespace {

constexpr QStringView kPressureType = u"HKCorrelationTypeIdentifierBloodPressure";
constexpr QStringView kSystolicType = u"HKQuantityTypeIdentifierBloodPressureSystolic";
constexpr QStringView kDiastolicType = u"HKQuantityTypeIdentifierBloodPressureDiastolic";
constexpr QStringView kHeartRateType = u"HKQuantityTypeIdentifierHeartRate";
constexpr QStringView kBodyMassType = u"HKQuantityTypeIdentifierBodyMass";
constexpr qint64 kProgressStep = qint64(4) << 20;

int digits(QStringView text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// "2024-06-15 07:30:00 +0200": the zone is required and every value must exist.
std::optional<Date> parseDate(QStringView text)
{
    if (text.size() != 25 || text.at(4) != u'-' || text.at(7) != u'-' || text.at(10) != u' ' ||
        text.at(13) != u':' || text.at(16) != u':' || text.at(19) != u' ' ||
        (text.at(20) != u'+' && text.at(20) != u'-'))
        return std::nullopt;
    const int year = digits(text, 0, 4), month = digits(text, 5, 2), day = digits(text, 8, 2);
    const int hour = digits(text, 11, 2), minute = digits(text, 14, 2),
              second = digits(text, 17, 2);
    const int zoneHours = digits(text, 21, 2), zoneMinutes = digits(text, 23, 2);
    if (year < 1 || year > 9000 || !QDate::isValid(year, month, day) || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 59 || zoneHours < 0 || zoneHours > 14 ||
        zoneMinutes < 0 || zoneMinutes > 59)
        return std::nullopt;
    const int offset = (zoneHours * 3600 + zoneMinutes * 60) * (text.at(20) == u'-' ? -1 : 1);
    const qint64 seconds = LocalTimeOffsets::daysFromCivil(year, month, day) * 86400 + hour * 3600 +
                           minute * 60 + second - offset;
    return Date::fromTimeIntervalSince1970(double(seconds));
}

std::optional<double> parseValue(QStringView text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

class Reader
{
public:
    Reader(QIODevice *device, const MyDocument *document, const ImportProgress &progress,
           ImportResult *result)
        : pXml(device), pDevice(device), pProgress(progress), pResult(result),
          pCollector(document, result)
    {
        pXml.setNamespaceProcessing(false);
    }

    void run()
    {
        const qint64 total = pDevice->isSequential() ? -1 : pDevice->size();
        qint64 nextProgress = 0;
        while (!pXml.atEnd()) {
            const QXmlStreamReader::TokenType token = pXml.readNext();
            if (token == QXmlStreamReader::StartElement) {
                if (!startElement())
                    return;
            } else if (token == QXmlStreamReader::EndElement) {
                if (bInCorrelation && pXml.name() == u"Correlation")
                    endCorrelation();
            } else if (token == QXmlStreamReader::DTD) {
                // The file's own DTD only declares elements and attributes.
                if (!pXml.entityDeclarations().isEmpty()) {
                    fail(qtTrId("import.health.error.entities"));
                    return;
                }
            } else if (token == QXmlStreamReader::EntityReference) {
                fail(qtTrId("import.health.error.entities"));
                return;
            }
            if (pProgress && pDevice->pos() >= nextProgress) {
                nextProgress = pDevice->pos() + kProgressStep;
                if (!pProgress(pDevice->pos(), total)) {
                    *pResult = ImportResult();
                    pResult->bCancelled = true;
                    return;
                }
            }
        }
        if (pXml.hasError()) {
            fail(qtTrId("import.health.error.xml").arg(pXml.lineNumber()).arg(pXml.errorString()));
            return;
        }
        if (!bRoot) {
            fail(qtTrId("import.health.error.not_health"));
            return;
        }
        flushType();
        pJoiner.finish(pCollector);
        pCollector.finish();
        if (pProgress)
            pProgress(total, total);
    }

private:
    void fail(const QString &error)
    {
        *pResult = ImportResult();
        pResult->error = error;
    }

    // False when the reading stops.
    bool startElement()
    {
        const QStringView name = pXml.name();
        if (!bRoot) {
            if (name != u"HealthData") {
                fail(qtTrId("import.health.error.not_health"));
                return false;
            }
            bRoot = true;
            return true;
        }
        if (name == u"Record")
            record();
        else if (name == u"Correlation")
            correlation();
        return true;
    }

    void record()
    {
        const QXmlStreamAttributes attributes = pXml.attributes();
        const QStringView type = attributes.value(QLatin1String("type"));
        const qint64 line = pXml.lineNumber();
        if (bInCorrelation) {
            const bool systolic = type == kSystolicType;
            if (!systolic && type != kDiastolicType)
                return;
            std::optional<double> value = parseValue(attributes.value(QLatin1String("value")));
            if (!value || !ImportUnits::toMillimetresOfMercury(
                              attributes.value(QLatin1String("unit")), &*value)) {
                bCorrelationBad = true;
                return;
            }
            (systolic ? fSystolic : fDiastolic) = *value;
            return;
        }
        const bool heartRate = type == kHeartRateType;
        if (!heartRate && type != kBodyMassType) {
            // Pressure records outside a correlation repeat those inside one.
            if (type != kSystolicType && type != kDiastolicType)
                countType(type);
            return;
        }
        const std::optional<Date> time = parseDate(attributes.value(QLatin1String("startDate")));
        if (!time) {
            pCollector.addProblem(
                line, qtTrId("import.problem.bad_time")
                          .arg(attributes.value(QLatin1String("startDate")).left(40).toString()));
            return;
        }
        std::optional<double> value = parseValue(attributes.value(QLatin1String("value")));
        if (!value) {
            pCollector.addProblem(line, qtTrId("import.problem.no_value"));
            return;
        }
        const QStringView unit = attributes.value(QLatin1String("unit"));
        if (heartRate ? !ImportUnits::toPerMinute(unit, &*value)
                      : !ImportUnits::toKilograms(unit, &*value)) {
            pCollector.skip(qtTrId("import.skipped.unit").arg(unit.toString()));
            return;
        }
        if (heartRate)
            pJoiner.addPulse(*time, *value);
        else
            pJoiner.addWeight(*time, *value);
    }

    void correlation()
    {
        const QXmlStreamAttributes attributes = pXml.attributes();
        const QStringView type = attributes.value(QLatin1String("type"));
        if (type != kPressureType) {
            countType(type);
            return;
        }
        bInCorrelation = true;
        bCorrelationBad = false;
        fSystolic = fDiastolic = qQNaN();
        nCorrelationLine = pXml.lineNumber();
        pCorrelationDate = attributes.value(QLatin1String("startDate")).toString();
    }

    void endCorrelation()
    {
        bInCorrelation = false;
        const std::optional<Date> time = parseDate(pCorrelationDate);
        if (!time) {
            pCollector.addProblem(nCorrelationLine,
                                  qtTrId("import.problem.bad_time").arg(pCorrelationDate.left(40)));
            return;
        }
        if (bCorrelationBad || std::isnan(fSystolic) || std::isnan(fDiastolic)) {
            pCollector.addProblem(nCorrelationLine, qtTrId("import.problem.bad_pressure"));
            return;
        }
        pJoiner.addPressure(*time, fSystolic, fDiastolic, nCorrelationLine);
    }

    // Records of one type come together in an export: counted as a run, entered once a run.
    void countType(QStringView type)
    {
        if (type != pLastType) {
            flushType();
            pLastType = type.isEmpty() ? qtTrId("import.health.skipped.untyped") : type.toString();
        }
        ++nLastTypeCount;
    }
    void flushType()
    {
        if (nLastTypeCount > 0)
            pCollector.skip(pLastType, nLastTypeCount);
        nLastTypeCount = 0;
    }

    QXmlStreamReader pXml;
    QIODevice *pDevice;
    const ImportProgress &pProgress;
    ImportResult *pResult;
    ImportCollector pCollector;
    ReadingJoiner pJoiner;
    bool bRoot = false;
    bool bInCorrelation = false;
    bool bCorrelationBad = false;
    double fSystolic = 0, fDiastolic = 0;
    qint64 nCorrelationLine = 0;
    QString pCorrelationDate;
    QString pLastType;
    qint64 nLastTypeCount = 0;
};

} // namespace

ImportResult AppleHealthImport::read(QIODevice *device, const MyDocument *document,
                                     const ImportProgress &progress)
{
    ImportResult result;
    Reader reader(device, document, progress, &result);
    reader.run();
    return result;
}

ImportResult AppleHealthImport::readFile(const QString &path, const MyDocument *document,
                                         const ImportProgress &progress)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ImportResult result;
        result.error = qtTrId("import.error.open").arg(path, file.errorString());
        return result;
    }
    return read(&file, document, progress);
}
