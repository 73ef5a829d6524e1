// FHIR Bundles and Apple Health exports: export and import, joining, detection, bad input, and
// the tool's import and export commands.

#include "AppleHealthImport.h"
#include "DocumentBuilder.h"
#include "FhirBundle.h"
#include "ImportDetector.h"
#include "TestHelpers.h"
#include "TestMain.h"
#include "UndoManager.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kData = QStringLiteral(TENSILO_SOURCE_DIR "/tests/data/exchange/");

Date utc(int y, int mo, int d, int h, int mi, double s = 0)
{
    return Date::fromDateTime(QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC)).addingSeconds(s);
}

// JSON written with single quotes, for tables of it.
QByteArray json(const char *text)
{
    return QByteArray(text).replace('\'', '"');
}

constexpr auto readAll = &TestSupport::readFile;

// A small JSON schema checker (type, const, enum, pattern, required, properties, items,
// minItems, anyOf, $ref to a definition); answers where the value breaks the schema, or empty.
QString violation(const QJsonValue &value, const QJsonObject &schema, const QJsonObject &defs,
                  const QString &at = QStringLiteral("$"))
{
    if (schema.contains("$ref"))
        return violation(value, defs.value(schema.value("$ref").toString()).toObject(), defs, at);
    if (schema.contains("anyOf")) {
        QStringList reasons;
        for (const QJsonValue &option : schema.value("anyOf").toArray()) {
            reasons << violation(value, option.toObject(), defs, at);
            if (reasons.last().isEmpty())
                return QString();
        }
        return reasons.join(" / ");
    }
    const QString type = schema.value("type").toString();
    if ((type == "object" && !value.isObject()) || (type == "array" && !value.isArray()) ||
        (type == "string" && !value.isString()) || (type == "number" && !value.isDouble()))
        return at + ": not of type " + type;
    if (schema.contains("const") && value != schema.value("const"))
        return at + ": not the constant";
    if (schema.contains("enum") && !schema.value("enum").toArray().contains(value))
        return at + ": not in the enumeration";
    if (schema.contains("pattern") &&
        !QRegularExpression(schema.value("pattern").toString()).match(value.toString()).hasMatch())
        return at + ": " + value.toString() + " breaks the pattern";
    const QJsonObject object = value.toObject();
    for (const QJsonValue &key : schema.value("required").toArray())
        if (!object.contains(key.toString()))
            return at + ": lacks " + key.toString();
    const QJsonObject properties = schema.value("properties").toObject();
    QStringList found;
    for (auto it = properties.begin(); it != properties.end(); ++it) {
        if (object.contains(it.key()))
            found << violation(object.value(it.key()), it.value().toObject(), defs,
                               at + u'.' + it.key());
    }
    const QJsonArray array = value.toArray();
    if (array.size() < schema.value("minItems").toInt())
        return at + ": too few items";
    for (qsizetype i = 0; i < array.size(); ++i)
        found << violation(array.at(i), schema.value("items").toObject(), defs,
                           at + QStringLiteral("[%1]").arg(i));
    found.removeAll(QString());
    return found.value(0);
}

using ToolRun = TestSupport::ProcessRun;
using TestSupport::runTool;

QString describe(const Measurement &r)
{
    return QStringLiteral("%1 %2/%3 p%4 w%5 \"%6\" [%7]")
        .arg(r.theWholeDate().toDateTime().toUTC().toString(Qt::ISODateWithMs))
        .arg(r.Systolic().toString(), r.Diastolic().toString(), r.Pulse().toString(),
             r.Weight().toString(), r.Comments(), r.Tags().join(u','));
}

QStringList describeAll(const MeasurementList &readings)
{
    QStringList out;
    for (const MeasurementPtr &r : readings)
        out << describe(*r);
    return out;
}

} // namespace

using TestSupport::row;

class TestExchange : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::setTimeZone("Europe/Berlin"); }

    // Export → schema → import gives back every value FHIR carries, with the local offsets.
    void fhirRoundTrip()
    {
        auto full = Measurement::create(utc(2026, 12, 7, 7, 15), 131, 84);
        full->setPulse(qlonglong(66));
        full->setWeight(81.4);
        full->setComments(QStringLiteral("after \"coffee\"\nsecond line"));
        full->setTags({QStringLiteral("morning"), QStringLiteral("left arm")});
        full->setCustomValue1(qlonglong(5));
        auto summer = Measurement::create(utc(2026, 7, 1, 18, 0, 0.25), 142.5, 90);
        auto plain = Measurement::create(utc(2026, 3, 29, 0, 59), 118, 76);
        auto document = DocumentBuilder()
                            .reading(full)
                            .reading(summer)
                            .reading(plain)
                            .filter(QStringLiteral("High"), QStringLiteral("Systolic >= 130"))
                            .selectFilter(0)
                            .build();

        FhirBundle::ExportOptions options;
        QCOMPARE(FhirBundle::exportDocument(*document, options).readingCount, 2); // the filter's
        options.bAll = true;
        options.patientName = QStringLiteral("Erika Muster");
        const FhirBundle::ExportResult exported = FhirBundle::exportDocument(*document, options);
        QCOMPARE(exported.readingCount, 3);
        QCOMPARE(exported.customValueCount, 1);

        const QJsonObject schema =
            QJsonDocument::fromJson(readAll(kData + QStringLiteral("fhir_vitals_schema.json")))
                .object();
        const QJsonObject bundle = QJsonDocument::fromJson(exported.json).object();
        QCOMPARE(violation(bundle, schema, schema["definitions"].toObject()), QString());
        const QJsonArray entries = bundle["entry"].toArray();
        QCOMPARE(entries.size(), 1 + 3 + 2); // patient, three pressures, a pulse, a weight
        QStringList times;
        for (const QJsonValue &entry : entries)
            times << entry["resource"]["effectiveDateTime"].toString();
        QVERIFY(times.contains(QStringLiteral("2026-12-07T08:15:00+01:00")));
        QVERIFY(times.contains(QStringLiteral("2026-07-01T20:00:00.250+02:00")));
        QVERIFY(times.contains(QStringLiteral("2026-03-29T01:59:00+01:00")));

        const ImportResult imported = FhirBundle::read(exported.json);
        QVERIFY2(imported.error.isEmpty(), qPrintable(imported.error));
        QCOMPARE(imported.problemCount, 0);
        QCOMPARE(imported.skipped, (QMap<QString, qint64>{{QStringLiteral("Patient"), 1}}));
        QCOMPARE(describeAll(imported.readings), describeAll({plain, summer, full}));

        // Into the same document: every reading is a duplicate.
        const ImportResult again = FhirBundle::read(exported.json, document.get());
        QCOMPARE(again.readings.size(), 0);
        QCOMPARE(again.duplicateCount, 3);
    }

    void imports_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("readings");
        QTest::addColumn<QList<qint64>>("problemLines");
        QTest::addColumn<QStringList>("skipped");

        row("another system's Bundle", "other_system_bundle.json",
            QStringList{"2024-06-15T05:30:00.000Z 128/82 p64 w75.07 \"\" []",
                        "2024-06-16T23:00:00.250Z 135/86.3 p w \"\" []"},
            QList<qint64>{8},
            QStringList{"Condition=1", "Observation (entered-in-error)=1", "Observation 8310-5=1",
                        "Patient=1", "pulses without a blood pressure within two minutes=1"});
        // Across the change to summer time; heart rate joined within two minutes and not
        // beyond; pounds; pressure records outside correlations passed over.
        row("Apple Health", "health_export.xml",
            QStringList{"2024-03-30T06:30:00.000Z 131/84 p66 w \"\" []",
                        "2024-03-31T00:59:00.000Z 118/76 p w \"\" []",
                        "2024-03-31T05:30:00.000Z 124.5/79 p71 w80.014 \"\" []"},
            QList<qint64>{47},
            QStringList{"HKCorrelationTypeIdentifierFood=1",
                        "HKQuantityTypeIdentifierDietaryEnergyConsumed=1",
                        "HKQuantityTypeIdentifierStepCount=2",
                        "pulses without a blood pressure within two minutes=1",
                        "weights without a blood pressure within two minutes=1"});
    }
    void imports()
    {
        QFETCH(QString, file);
        const QString path = kData + file;
        const bool fhir = file.endsWith(QLatin1String(".json"));
        QCOMPARE(ImportDetector::detectFile(path),
                 fhir ? ImportDetector::Kind::FhirBundle : ImportDetector::Kind::AppleHealth);
        MyDocument document;
        qint64 lastProgress = -2;
        const ImportResult result =
            fhir ? FhirBundle::readFile(path, &document)
                 : AppleHealthImport::readFile(path, &document, [&](qint64 done, qint64) {
                       lastProgress = done;
                       return true;
                   });
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        QTEST(describeAll(result.readings), "readings");
        QList<qint64> lines;
        for (const ImportResult::Problem &problem : result.problems)
            lines << problem.line;
        QTEST(lines, "problemLines");
        QStringList skipped;
        for (auto it = result.skipped.cbegin(); it != result.skipped.cend(); ++it)
            skipped << it.key() + u'=' + QString::number(it.value());
        QTEST(skipped, "skipped");
        if (!fhir)
            QCOMPARE(lastProgress, QFileInfo(path).size());

        // One undo step, named for the source.
        QCOMPARE(result.apply(&document, fhir ? "doc.import_fhir" : "doc.import_health"),
                 result.readings.size());
        QCOMPARE(document.undoManager()->undoActionName(),
                 fhir ? QStringLiteral("Import FHIR Bundle")
                      : QStringLiteral("Import from Apple Health"));
        document.undoManager()->undo();
        QVERIFY(document.allItems().isEmpty());
    }

    // Every bad file gets a message and adds nothing, in bounded time and memory.
    void badInput_data()
    {
        QTest::addColumn<bool>("fhir");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray bp = json(
            "{'resourceType':'Bundle','type':'collection','entry':[{'resource': {'resourceType':"
            "'Observation','status':'final','code':{'coding':[{'system':'http://loinc.org','code':"
            "'85354-9'}]}, 'effectiveDateTime':'TIME','component':[ {'code':{'coding':[{'system':"
            "'http://loinc.org','code':'8480-6'}]},'valueQuantity':{'value':SYS,'code':'mm[Hg]'}}, "
            "{'code':{'coding':[{'system':'http://loinc.org','code':'8462-4'}]},'valueQuantity':"
            "{'value':80,'code':'mm[Hg]'}}]}}]}");
        const auto fhir = [&](const char *time, const char *systolic) {
            return QByteArray(bp).replace("TIME", time).replace("SYS", systolic);
        };
        row("fhir truncated", true, fhir("2024-01-01T08:00:00Z", "120").left(300));
        row("fhir wrong types", true, QByteArray(json("{'resourceType':'Bundle','entry':'x'}")));
        row("fhir value a string", true, fhir("2024-01-01T08:00:00Z", "\"120\""));
        row("fhir exponent", true, fhir("2024-01-01T08:00:00Z", "1e400"));
        row("fhir no zone", true, fhir("2024-01-01T08:00:00", "120"));
        row("fhir impossible date", true, fhir("2024-02-30T08:00:00Z", "120"));
        row("fhir deep", true,
            QByteArray(json("{'resourceType':'Bundle','entry':")) + QByteArray(100000, '[') +
                QByteArray(100000, ']') + '}');
        row("fhir not a bundle", true, QByteArray(json("{'resourceType':'Patient'}")));

        const QByteArray record =
            "<Correlation type='HKCorrelationTypeIdentifierBloodPressure' startDate='DATE'> "
            "<Record type='HKQuantityTypeIdentifierBloodPressureSystolic' unit='mmHg' "
            "value='SYS'/> <Record type='HKQuantityTypeIdentifierBloodPressureDiastolic' "
            "unit='mmHg' value='80'/> </Correlation>";
        const auto health = [&](const char *date, const char *systolic) {
            return "<?xml version=\"1.0\"?>\n<HealthData>" +
                   QByteArray(record).replace("DATE", date).replace("SYS", systolic) +
                   "</HealthData>";
        };
        row("health truncated", false, health("2024-01-01 08:00:00 +0100", "120").chopped(20));
        row("health billion laughs", false,
            QByteArray(
                "<?xml version=\"1.0\"?>\n<!DOCTYPE HealthData [\n"
                "<!ENTITY a \"aaaaaaaaaa\">\n<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n"
                "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n"
                "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">\n]>\n"
                "<HealthData><Record type=\"&d;&d;&d;&d;&d;&d;&d;&d;\"/></HealthData>"));
        row("health deep", false,
            "<HealthData>" + QByteArray(200000, 'x').replace("x", "<a>") + "</HealthData>");
        row("health exponent", false, health("2024-01-01 08:00:00 +0100", "1e400"));
        row("health not a number", false, health("2024-01-01 08:00:00 +0100", "high"));
        row("health no zone", false, health("2024-01-01 08:00:00", "120"));
        row("health impossible date", false, health("2024-02-30 08:00:00 +0100", "120"));
        row("health other XML", false, QByteArray("<html><body/></html>"));
    }
    void badInput()
    {
        QFETCH(bool, fhir);
        QFETCH(QByteArray, bytes);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        const ImportResult result =
            fhir ? FhirBundle::read(bytes) : AppleHealthImport::read(&buffer);
        QVERIFY(result.readings.isEmpty());
        QVERIFY(!result.error.isEmpty() || !result.problems.value(0).reason.isEmpty());
    }

    void tooLargeAndCancelled()
    {
        QTemporaryDir dir;
        QFile huge(dir.filePath(QStringLiteral("huge.json")));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(FhirBundle::kMaxFileSize + 1));
        huge.close();
        QCOMPARE(FhirBundle::readFile(huge.fileName()).error, qtTrId("import.error.too_large"));

        qint64 calls = 0;
        const ImportResult cancelled = AppleHealthImport::readFile(
            kData + QStringLiteral("health_export.xml"), nullptr, [&](qint64, qint64) {
                ++calls;
                return false;
            });
        QVERIFY(cancelled.bCancelled && cancelled.readings.isEmpty());
        QCOMPARE(calls, 1);
    }

    void detect_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<int>("kind");
        using K = ImportDetector::Kind;
        row("csv", QByteArray("Date;Time;Systolic;Diastolic\n07.12.2026;08:15;120;80\n"),
            int(K::Csv));
        row("fhir with BOM", QByteArray("\xEF\xBB\xBF\n {\"resourceType\": \"Bundle\""),
            int(K::FhirBundle));
        row("health", readAll(kData + QStringLiteral("health_export.xml")).left(600),
            int(K::AppleHealth));
        row("session log",
            QByteArray("# monitor\n2026-12-07T08:15:02 < 2a35 1e7800500000\n> 2a52 0101\n"),
            int(K::MonitorLog));
        row("other JSON", QByteArray("{\"readings\": []}"), int(K::Unknown));
        row("other XML", QByteArray("<?xml version=\"1.0\"?><svg/>"), int(K::Unknown));
        row("prose", QByteArray("Dear doctor,\nmy readings are fine.\n"), int(K::Unknown));
        row("binary", QByteArray("bplist00\0\x01\x02", 11), int(K::Unknown));
    }
    void detect()
    {
        QFETCH(QByteArray, head);
        QTEST(int(ImportDetector::detect(head)), "kind");
    }

    void tool()
    {
        QTemporaryDir dir;
        const auto path = [&](const char *name) { return dir.filePath(QLatin1String(name)); };
        auto document = DocumentBuilder().reading(utc(2026, 12, 7, 7, 15), 131, 84).build();
        QVERIFY(document->writeToFile(path("doc.tensilo")));

        struct Case
        {
            int exitCode;
            const char *message;
            QStringList args;
        };
        const QList<Case> cases{
            {0,
             "1 readings exported",
             {"export-fhir", path("doc.tensilo"), path("out.json"), "--patient", "Erika"}},
            {0, "1 readings imported", {"import", path("out.json"), path("new.tensilo")}},
            {0,
             "0 readings imported, 1 already present",
             {"import", path("out.json"), path("same.tensilo"), "--into", path("new.tensilo")}},
            {0, "3 readings imported", {"import", kData + "health_export.xml", path("h.tensilo")}},
            {1, "is neither CSV", {"import", path("doc.tensilo"), path("x.tensilo")}},
            {1, "could not be opened", {"import", path("missing"), path("x.tensilo")}},
            {2, "Wrong number", {"import", path("out.json")}},
            {2, "--into", {"export-fhir", path("doc.tensilo"), path("o.json"), "--into", "x"}},
        };
        for (const Case &c : cases) {
            const ToolRun run = runTool(c.args, dir.path());
            QVERIFY2(run.exitCode == c.exitCode && run.err.contains(c.message),
                     qPrintable(c.args.join(u' ') + QStringLiteral(" → ") +
                                QString::number(run.exitCode) + u' ' + QString::fromUtf8(run.err)));
        }
        QVERIFY(!QFile::exists(path("x.tensilo")));
        MyDocument imported;
        QVERIFY(imported.readFromFile(path("new.tensilo")));
        QCOMPARE(imported.allItems().size(), 1);
        QCOMPARE(describe(*imported.allItems().at(0)), describe(*document->allItems().at(0)));
    }
};

TENSILO_TEST_MAIN(TestExchange)
#include "tst_exchange.moc"
