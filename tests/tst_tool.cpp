#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString tool()
{
    return QStringLiteral(TENSILO_BINARY_DIR "/tensilo-tool");
}

struct Run
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run run(const QStringList &arguments, const QByteArray &input = QByteArray())
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    process.setProcessEnvironment(environment);
    process.start(tool(), arguments);
    process.write(input);
    process.closeWriteChannel();
    Run result;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.status = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

// Two readings, one filter used in averages that keeps the higher one, one that keeps both,
// the first selected.
const char kDocument[] = R"({
  "readings": [
    {"date": 700000000.0, "systolic": 120, "diastolic": 80, "pulse": 60, "weight": 70.0,
     "custom1": null, "custom2": null, "custom3": null, "comments": null, "tags": ["a"]},
    {"date": 700003600.5, "systolic": 140, "diastolic": 90, "pulse": null, "weight": 72.0,
     "custom1": 1, "custom2": null, "custom3": null, "comments": "later", "tags": null}
  ],
  "filters": [
    {"name": "High", "predicate": {"comparison": {"left": {"keyPath": "Systolic"},
      "right": {"constant": 130}, "operator": 2, "modifier": 0, "options": 0}},
     "format": "Systolic > 130", "useInFilters": true, "useInAverages": true},
    {"name": "All", "predicate": {"constant": true}, "format": "TRUEPREDICATE",
     "useInFilters": false, "useInAverages": true},
    {"name": "Hidden", "predicate": {"constant": false}, "format": "FALSEPREDICATE",
     "useInFilters": null, "useInAverages": null}
  ],
  "selectedFilter": 0,
  "sortAscending": true,
  "information": [{"name": "Doctor", "value": "Dr. Grün", "printed": true}],
  "printInfo": {"paperWidth": 612.0, "paperHeight": 792.0, "leftMargin": 36.0,
                "rightMargin": 36.0, "topMargin": 50.0, "bottomMargin": 50.0,
                "orientation": "landscape"}
})";

} // namespace

class TestTool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QFile::exists(tool()))
            QSKIP("tensilo-tool is not built");
    }

    void buildThenDumpGivesTheSameJson()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("d.tensilo"));
        const Run build = run({QStringLiteral("build"), path}, kDocument);
        QVERIFY2(build.status == 0, build.err.constData());
        const Run dump = run({QStringLiteral("dump"), path});
        QCOMPARE(dump.status, 0);
        // Build the dump again: the JSON is a fixed point.
        const QString again = dir.filePath(QStringLiteral("e.tensilo"));
        QCOMPARE(run({QStringLiteral("build"), again}, dump.out).status, 0);
        QCOMPARE(run({QStringLiteral("dump"), again}).out, dump.out);
        // And it says what was given: numbers keep their kinds.
        QVERIFY(dump.out.contains("\"systolic\": 120,"));
        QVERIFY(dump.out.contains("\"weight\": 70.0,"));
        QVERIFY(dump.out.contains("\"date\": 700003600.5,"));
        QVERIFY(dump.out.contains("\"selectedFilter\": 0,"));
        QVERIFY(dump.out.contains("\"orientation\": \"landscape\""));
        QVERIFY(dump.out.contains("Dr. Grün"));
    }

    void statsShowTheAverages()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("d.tensilo"));
        QCOMPARE(run({QStringLiteral("build"), path}, kDocument).status, 0);
        const Run stats = run({QStringLiteral("stats"), path});
        QCOMPARE(stats.status, 0);
        const QJsonObject root = QJsonDocument::fromJson(stats.out).object();
        QCOMPARE(root.value(QStringLiteral("total")).toInt(), 2);
        QCOMPARE(root.value(QStringLiteral("filtered")).toInt(), 1);
        const QJsonArray averages = root.value(QStringLiteral("averages")).toArray();
        QCOMPARE(averages.size(), 2); // "Hidden" is not used in averages
        const QJsonObject all = averages[1].toObject();
        QCOMPARE(all.value(QStringLiteral("name")).toString(), QStringLiteral("All"));
        QCOMPARE(all.value(QStringLiteral("count")).toInt(), 2);
        const QJsonObject values = all.value(QStringLiteral("values")).toObject();
        QCOMPARE(values.keys().size(), 8);
        const QJsonObject systolic = values.value(QStringLiteral("Systolic")).toObject();
        QCOMPARE(systolic.value(QStringLiteral("valid")).toBool(), true);
        QCOMPARE(systolic.value(QStringLiteral("mean")).toDouble(), 130.0);
        QCOMPARE(systolic.value(QStringLiteral("deviation")).toDouble(), 10.0); // population
        QCOMPARE(values.value(QStringLiteral("PulsePressure"))
                     .toObject()
                     .value(QStringLiteral("mean"))
                     .toDouble(),
                 45.0);
        QCOMPARE(values.value(QStringLiteral("Pulse"))
                     .toObject()
                     .value(QStringLiteral("mean"))
                     .toDouble(),
                 60.0);
        QCOMPARE(values.value(QStringLiteral("customValue2"))
                     .toObject()
                     .value(QStringLiteral("valid"))
                     .toBool(),
                 false);
        QCOMPARE(averages[0].toObject().value(QStringLiteral("count")).toInt(), 1);
    }

    void refusedInputs_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("no arguments") << QStringList() << QByteArray() << 2 << QByteArray("Usage");
        QTest::newRow("unknown command")
            << QStringList{QStringLiteral("print"), QStringLiteral("x")} << QByteArray() << 2
            << QByteArray("Usage");
        QTest::newRow("missing file")
            << QStringList{QStringLiteral("dump"), QStringLiteral("/nonexistent/x")} << QByteArray()
            << 1 << QByteArray("could not be opened");
        QTest::newRow("not a document")
            << QStringList{QStringLiteral("dump"),
                           QStringLiteral(TENSILO_SOURCE_DIR "/tests/tst_tool.cpp")}
            << QByteArray() << 1 << QByteArray("cannot be read");
        QTest::newRow("stats of no document")
            << QStringList{QStringLiteral("stats"),
                           QStringLiteral(TENSILO_SOURCE_DIR
                                          "/tests/data/plist/plistlib-sample.bplist")}
            << QByteArray() << 1 << QByteArray("not a keyed archive");
        QTest::newRow("bad JSON") << QStringList{QStringLiteral("build"), QString()}
                                  << QByteArray("{\"readings\": [") << 1 << QByteArray("JSON");
        QTest::newRow("reading without date")
            << QStringList{QStringLiteral("build"), QString()}
            << QByteArray(R"({"readings": [{"systolic": 1}]})") << 1 << QByteArray("date");
        QTest::newRow("bad operator")
            << QStringList{QStringLiteral("build"), QString()}
            << QByteArray(R"({"readings": [], "filters": [{"name": "x", "predicate":
                                         {"comparison": {"left": {"keyPath": "Systolic"}, "right": {"constant": 1}, "operator": 42}}}]})")
            << 1 << QByteArray("operator");
        QTest::newRow("selection out of range")
            << QStringList{QStringLiteral("build"), QString()}
            << QByteArray(R"({"readings": [], "filters": [], "selectedFilter": 3})") << 1
            << QByteArray("selectedFilter");
    }

    void refusedInputs()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(int, status);
        QFETCH(QByteArray, message);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("out.tensilo"));
        if (arguments.size() == 2 && arguments[1].isEmpty())
            arguments[1] = out;
        const Run result = run(arguments, input);
        QCOMPARE(result.status, status);
        QVERIFY(result.out.isEmpty());
        QVERIFY2(result.err.contains(message), result.err.constData());
        QVERIFY(!QFile::exists(out)); // nothing written
    }
};

QTEST_GUILESS_MAIN(TestTool)
#include "tst_tool.moc"
