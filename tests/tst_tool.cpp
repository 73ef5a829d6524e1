// The command-line contract of tensilo-tool: commands, exit status, messages, and files left
// alone when a command fails. The JSON form itself is tested in process by tst_documentjson.

#include "DocumentBuilder.h"
#include "DocumentJson.h"
#include "MyDocument.h"
#include "TestMain.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using TestSupport::readFile;

// The JSON text with relative dates' intervals rounded to whole seconds: the stock filters a file
// without filters gets are made when it is read, and making one reads the clock twice.
QString wholeSecondIntervals(const QByteArray &json)
{
    static const QRegularExpression interval(
        QStringLiteral(R"((\"interval\": |RELATIVEDATE\()(-?[0-9.e+]+))"));
    QString text = QString::fromUtf8(json);
    QString result;
    qsizetype last = 0;
    for (const QRegularExpressionMatch &m : interval.globalMatch(text)) {
        result += text.mid(last, m.capturedStart(2) - last);
        result += QString::number(qRound64(m.captured(2).toDouble()));
        last = m.capturedEnd(2);
    }
    return result + text.mid(last);
}

QString toolPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tensilo-tool");
}

using ToolRun = TestSupport::ProcessRun;
using TestSupport::runTool;

} // namespace

class TestTool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(home.isValid());
        QVERIFY2(QFileInfo(toolPath()).isExecutable(), qPrintable(toolPath()));
    }

    // --- The tool ------------------------------------------------------------------------------

    void toolBuildThenDump()
    {
        MyDocument document;
        DocumentBuilder::everyKindOfValue(true).fill(document);
        const QByteArray json = DocumentJson::toJson(document);
        const QString file = home.filePath(QStringLiteral("full.tensilo"));
        ToolRun run = runTool({QStringLiteral("build"), file}, home.path(), json);
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QVERIFY(QFileInfo(file).size() > 0);
        run = runTool({QStringLiteral("dump"), file}, home.path());
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(run.out, json);
        QVERIFY(run.err.isEmpty());
    }

    void toolRefusesBadInput_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message"); // what stderr says, in English

        const QString missing = QStringLiteral("/nonexistent/dir/none.tensilo");
        const QString notOpened = qtTrId("error.file_open").arg(QString());
        auto unreadable = [](const char *reason) {
            return qtTrId("doc.file_unreadable").arg(qtTrId(reason));
        };
        const QString truncated = unreadable("plist.error.trailer");
        auto usage = [](const char *key, const QString &argument) {
            return qtTrId(key).arg(argument) + QLatin1Char('\n') + qtTrId("tool.usage");
        };
        QTest::newRow("dump missing")
            << QStringList{"dump", missing} << QByteArray() << 1 << notOpened;
        QTest::newRow("dump corrupt")
            << QStringList{"dump", "@corrupt"} << QByteArray() << 1 << truncated;
        QTest::newRow("dump json") << QStringList{"dump", "@json"} << QByteArray() << 1
                                   << unreadable("plist.error.not_plist");
        QTest::newRow("stats of a plain property list")
            << QStringList{"stats", TENSILO_SOURCE_DIR "/tests/data/plist/plistlib-sample.bplist"}
            << QByteArray() << 1 << unreadable("archive.error.not_archive");
        QTest::newRow("stats corrupt")
            << QStringList{"stats", "@corrupt"} << QByteArray() << 1 << truncated;
        QTest::newRow("chart corrupt")
            << QStringList{"chart", "@corrupt", "@out.png"} << QByteArray() << 1 << truncated;
        QTest::newRow("report missing")
            << QStringList{"report", missing, "@out.pdf"} << QByteArray() << 1 << notOpened;
        QTest::newRow("convert corrupt")
            << QStringList{"convert", "@corrupt", "@new.tensilo"} << QByteArray() << 1 << truncated;
        QTest::newRow("convert over a file, from a missing one")
            << QStringList{"convert", missing, "@doc"} << QByteArray() << 1 << notOpened;
        QTest::newRow("convert to an unwritable place")
            << QStringList{"convert", "@doc", "/nonexistent/dir/x.tensilo"} << QByteArray() << 1
            << qtTrId("error.file_save").arg(QString());
        QTest::newRow("build bad json")
            << QStringList{"build", "@new.tensilo"}
            << QByteArray(R"({"readings": [{"date": "x"}]})") << 1
            << qtTrId("tool.json.expected_number").arg(QStringLiteral("readings[0].date"));
        QTest::newRow("build selected out of range")
            << QStringList{"build", "@new.tensilo"}
            << QByteArray(R"({"readings": [], "filters": [], "selectedFilter": 2})") << 1
            << qtTrId("tool.json.bad_index").arg(QStringLiteral("selectedFilter"), "2");
        QTest::newRow("build reading without systolic")
            << QStringList{"build", "@new.tensilo"}
            << QByteArray(R"({"readings": [{"date": 0.0, "diastolic": 80}]})") << 1
            << qtTrId("tool.error.unstorable_reading").arg("2001-01-01T00:00:00");
        QTest::newRow("build unwritable") << QStringList{"build", "/nonexistent/dir/x.tensilo"}
                                          << QByteArray(R"({"readings": [], "filters": []})") << 1
                                          << qtTrId("error.file_save").arg(QString());
        QTest::newRow("import-ble: no record")
            << QStringList{"import-ble", "@json", "@new.tensilo"} << QByteArray() << 1
            << qtTrId("tool.ble.error.nothing_read");
        QTest::newRow("import-ble: missing log")
            << QStringList{"import-ble", missing, "@new.tensilo"} << QByteArray() << 1
            << qtTrId("monitor.log.error.read").arg(missing, QString());
        QTest::newRow("import-ble: bad user")
            << QStringList{"import-ble", "@json", "@new.tensilo", "--user", "x"} << QByteArray()
            << 2 << qtTrId("tool.csv.error.bad_option_value").arg("x", "--user");
        QTest::newRow("no command") << QStringList{} << QByteArray() << 2 << qtTrId("tool.usage");
        QTest::newRow("unknown command") << QStringList{"print", "x"} << QByteArray() << 2
                                         << usage("tool.error.unknown_command", "print");
        QTest::newRow("too many") << QStringList{"dump", "a", "b"} << QByteArray() << 2
                                  << usage("tool.error.arguments", "dump");
        QTest::newRow("too few") << QStringList{"convert", "a"} << QByteArray() << 2
                                 << usage("tool.error.arguments", "convert");
        QTest::newRow("unknown option") << QStringList{"dump", "a", "--verbose"} << QByteArray()
                                        << 2 << usage("tool.error.unknown_option", "--verbose");
        QTest::newRow("bad size") << QStringList{"chart", "@doc", "@out.png", "--size", "12x"}
                                  << QByteArray() << 2 << usage("tool.error.bad_size", "12x");
        QTest::newRow("zero size") << QStringList{"chart", "@doc", "@out.png", "--size=0x10"}
                                   << QByteArray() << 2 << usage("tool.error.bad_size", "0x10");
        QTest::newRow("unknown preference")
            << QStringList{"chart", "@doc", "@out.png", "--set", "showPulses=false"} << QByteArray()
            << 2 << usage("tool.error.unknown_preference", "showPulses");
        QTest::newRow("bad bool")
            << QStringList{"report", "@doc", "@out.pdf", "--set", "printShowChart=maybe"}
            << QByteArray() << 2
            << qtTrId("tool.error.bad_preference_value").arg("maybe", "printShowChart");
        QTest::newRow("bad integer")
            << QStringList{"report", "@doc", "@out.pdf", "--set", "rowSize=two"} << QByteArray()
            << 2 << qtTrId("tool.error.bad_preference_value").arg("two", "rowSize");
        QTest::newRow("bad colour")
            << QStringList{"chart", "@doc", "@out.png", "--set", "chartColorPulse=#zz"}
            << QByteArray() << 2
            << qtTrId("tool.error.bad_preference_value").arg("#zz", "chartColorPulse");
        QTest::newRow("no equals")
            << QStringList{"chart", "@doc", "@out.png", "--set", "showPulse"} << QByteArray() << 2
            << usage("tool.error.bad_setting", "showPulse");
        QTest::newRow("set without value")
            << QStringList{"chart", "@doc", "@out.png", "--set"} << QByteArray() << 2
            << usage("tool.error.missing_value", "--set");
        QTest::newRow("set on dump")
            << QStringList{"dump", "@doc", "--set", "rowSize=1"} << QByteArray() << 2
            << usage("tool.error.unknown_option", "--set");
        QTest::newRow("size on report")
            << QStringList{"report", "@doc", "@out.pdf", "--size", "10x10"} << QByteArray() << 2
            << usage("tool.error.unknown_option", "--size");
    }
    void toolRefusesBadInput()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(int, exitCode);
        QFETCH(QString, message);

        QTemporaryDir dir;
        QFile corrupt(dir.filePath(QStringLiteral("corrupt")));
        QVERIFY(corrupt.open(QIODevice::WriteOnly));
        corrupt.write(QByteArray("bplist00") + QByteArray(100, '\xff'));
        corrupt.close();
        QFile json(dir.filePath(QStringLiteral("json")));
        QVERIFY(json.open(QIODevice::WriteOnly));
        json.write("{\"readings\": []}");
        json.close();
        MyDocument document;
        DocumentBuilder::everyKindOfValue(true).fill(document);
        QVERIFY(runTool({QStringLiteral("build"), dir.filePath(QStringLiteral("doc"))}, home.path(),
                        DocumentJson::toJson(document))
                    .exitCode == 0);
        const QByteArray docBytes = readFile(dir.filePath(QStringLiteral("doc")));
        QVERIFY(docBytes.startsWith("bplist00"));
        for (QString &argument : arguments) {
            if (argument.startsWith(u'@'))
                argument = dir.filePath(argument.mid(1));
        }

        const ToolRun run = runTool(arguments, home.path(), input);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(run.out.isEmpty());
        QVERIFY(!message.trimmed().isEmpty());
        QVERIFY2(run.err.contains(message.trimmed().toUtf8()), run.err.constData());
        // Nothing is left behind by a failed command, and a file in the way stays as it was.
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("new.tensilo"))));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("doc"))), docBytes);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("out.png"))));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("out.pdf"))));
    }

    void toolHelpAndVersion()
    {
        for (const char *option : {"--help", "-h"}) {
            const ToolRun run = runTool({QString::fromLatin1(option)}, home.path());
            QCOMPARE(run.exitCode, 0);
            const QString out = QString::fromUtf8(run.out);
            QVERIFY2(out.startsWith(qtTrId("tool.usage") + QLatin1Char('\n')), qPrintable(out));
            QVERIFY(out.contains(QLatin1String("tensilo-tool export-csv")));
            QVERIFY(out.contains(QLatin1String("tensilo-tool import-csv")));
            QVERIFY(out.contains(QLatin1String("tensilo-tool import-ble")));
        }
        const ToolRun run = runTool({QStringLiteral("--version")}, home.path());
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(QRegularExpression(QStringLiteral("^tensilo-tool \\d+\\.\\d+\\.\\d+\n$"))
                     .match(QString::fromUtf8(run.out))
                     .hasMatch(),
                 run.out.constData());
    }

    // A session log into a new document, then into that one again: nothing is added twice.
    void toolImportsSessionLog()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("session.log"));
        QFile file(log);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("2026-12-07T08:15:02 < 2a35 00 7c 00 56 00 61 00\n"
                   "< 2a35 167c0056006100e807060f11111b33000000\n"
                   "< 2a35 00 7c 00\n");
        file.close();
        const QString out = dir.filePath(QStringLiteral("out.tensilo"));
        ToolRun run = runTool({QStringLiteral("import-ble"), log, out}, home.path());
        QCOMPARE(run.exitCode, 0);
        const QString refused = qtTrId("tool.csv.problem")
                                    .arg(3)
                                    .arg(qtTrId("monitor.problem.short_record").arg(3).arg(7));
        QVERIFY2(run.err.contains(refused.toUtf8()), run.err.constData());
        QVERIFY(run.err.contains(qtTrId("tool.ble.summary").arg(2).arg(0).arg(1).toUtf8()));
        MyDocument document;
        QVERIFY(document.readFromFile(out));
        QCOMPARE(document.allItems().size(), 2);

        run = runTool({QStringLiteral("import-ble"), log, out, QStringLiteral("--into"), out},
                      home.path());
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.contains(qtTrId("tool.ble.summary").arg(0).arg(2).arg(1).toUtf8()));
    }

    // Every form the application reads comes out in the current binary form, with the same
    // content; a file already in that form comes out byte for byte the same.
    void toolConvert_data()
    {
        QTest::addColumn<QString>("source");
        const QString dir = QStringLiteral(TENSILO_SOURCE_DIR "/tests/data/documents/");
        QTest::newRow("XML form") << dir + QStringLiteral("full-xml.tensilo");
        QTest::newRow("older-form readings") << dir + QStringLiteral("older-readings.tensilo");
        QTest::newRow("current form") << dir + QStringLiteral("full.tensilo");
    }
    void toolConvert()
    {
        QFETCH(QString, source);
        const QString out = home.filePath(QStringLiteral("converted.tensilo"));
        QFile::remove(out);
        ToolRun run = runTool({QStringLiteral("convert"), source, out}, home.path());
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QVERIFY(run.out.isEmpty());
        const QByteArray converted = readFile(out);
        QVERIFY(converted.startsWith("bplist00"));

        const ToolRun before = runTool({QStringLiteral("dump"), source}, home.path());
        const ToolRun after = runTool({QStringLiteral("dump"), out}, home.path());
        QCOMPARE(after.exitCode, 0);
        QVERIFY(!after.out.isEmpty());
        QCOMPARE(wholeSecondIntervals(after.out), wholeSecondIntervals(before.out));

        // Converting the result again changes nothing.
        const QString again = home.filePath(QStringLiteral("again.tensilo"));
        run = runTool({QStringLiteral("convert"), out, again}, home.path());
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(readFile(again), converted);
    }

    void toolStats()
    {
        const QByteArray json = R"({"readings": [
            {"date": 100, "systolic": 120, "diastolic": 80, "pulse": 60},
            {"date": 200, "systolic": 130, "diastolic": 85.5, "pulse": 70},
            {"date": 300, "systolic": 150, "diastolic": 95}],
          "filters": [
            {"name": "All", "predicate": {"constant": true}, "useInFilters": true,
             "useInAverages": true},
            {"name": "High", "predicate": {"comparison": {"left": {"keyPath": "Systolic"},
             "right": {"constant": 140}, "operator": 2}}, "useInAverages": true},
            {"name": "Not averaged", "predicate": {"constant": false}, "useInAverages": false}],
          "selectedFilter": 1, "sortAscending": true})";
        const QString file = home.filePath(QStringLiteral("stats.tensilo"));
        ToolRun run = runTool({QStringLiteral("build"), file}, home.path(), json);
        QVERIFY2(run.exitCode == 0, run.err.constData());
        run = runTool({QStringLiteral("stats"), file}, home.path());
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QJsonParseError error;
        const QJsonObject stats = QJsonDocument::fromJson(run.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(stats.value("total").toInt(), 3);
        QCOMPARE(stats.value("filtered").toInt(), 1);
        const QJsonArray averages = stats.value("averages").toArray();
        QCOMPARE(averages.size(), 2);
        const QJsonObject all = averages.at(0).toObject().value("values").toObject();
        QCOMPARE(averages.at(0).toObject().value("count").toInt(), 3);
        QCOMPARE(all.value("Systolic").toObject().value("mean").toDouble(), 400.0 / 3);
        QCOMPARE(all.value("Diastolic").toObject().value("mean").toDouble(), 260.5 / 3);
        QCOMPARE(all.value("Pulse").toObject().value("mean").toDouble(), 65.0);
        QCOMPARE(all.value("Pulse").toObject().value("deviation").toDouble(), 5.0);
        QCOMPARE(all.value("PulsePressure").toObject().value("valid").toBool(), true);
        QCOMPARE(all.value("Weight").toObject().value("valid").toBool(), false);
        QCOMPARE(averages.at(1).toObject().value("name").toString(), QStringLiteral("High"));
        QCOMPARE(averages.at(1).toObject().value("count").toInt(), 1);
    }

    // The home-measurement summary against figures worked out by hand: four measured days, the
    // first left out; then a filter that leaves too few days for a verdict.
    void toolProtocol()
    {
        const double day = 86400, march1 = 730944000; // 2024-03-01 00:00 UTC
        const auto at = [&](int d, int hour) {
            return QString::number(march1 + (d - 1) * day + hour * 3600.0, 'f', 0);
        };
        const QString readings = "{\"date\": " + at(1, 7) +
                                 ", \"systolic\": 150, \"diastolic\": 95},"
                                 "{\"date\": " +
                                 at(1, 20) +
                                 ", \"systolic\": 140, \"diastolic\": 90},"
                                 "{\"date\": " +
                                 at(2, 7) +
                                 ", \"systolic\": 130, \"diastolic\": 80, \"pulse\": 60},"
                                 "{\"date\": " +
                                 at(2, 20) +
                                 ", \"systolic\": 126, \"diastolic\": 78, \"pulse\": 64},"
                                 "{\"date\": " +
                                 at(3, 7) +
                                 ", \"systolic\": 136, \"diastolic\": 86, \"pulse\": 66},"
                                 "{\"date\": " +
                                 at(3, 20) +
                                 ", \"systolic\": 128, \"diastolic\": 80},"
                                 "{\"date\": " +
                                 at(4, 7) +
                                 ", \"systolic\": 134, \"diastolic\": 84, \"pulse\": 62},"
                                 "{\"date\": " +
                                 at(4, 20) +
                                 ", \"systolic\": 124, \"diastolic\": 76, \"pulse\": 58},"
                                 "{\"date\": " +
                                 at(5, 3) + ", \"systolic\": 200, \"diastolic\": 120}";
        const QByteArray json = ("{\"readings\": [" + readings + R"(],
          "filters": [
            {"name": "All", "predicate": {"constant": true}, "useInFilters": true},
            {"name": "High", "predicate": {"comparison": {"left": {"keyPath": "Systolic"},
             "right": {"constant": 135}, "operator": 3}}, "useInFilters": true}],
          "selectedFilter": 0, "sortAscending": true})")
                                    .toUtf8();
        const QString file = home.filePath(QStringLiteral("protocol.tensilo"));
        ToolRun run = runTool({QStringLiteral("build"), file}, home.path(), json);
        QVERIFY2(run.exitCode == 0, run.err.constData());

        run = runTool({QStringLiteral("protocol"), file}, home.path());
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QJsonObject summary = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(summary.value("filter").toString(), QStringLiteral("All"));
        QCOMPARE(summary.value("period").toObject().value("first").toString(), "2024-02-28");
        QCOMPARE(summary.value("period").toObject().value("last").toString(), "2024-03-05");
        QCOMPARE(summary.value("countedDays").toInt(), 3);
        QCOMPARE(summary.value("countedReadings").toInt(), 6);
        const auto near = [](const QJsonValue &value, double expected) {
            return qAbs(value.toDouble() - expected) < 1e-9;
        };
        const QJsonObject all = summary.value("all").toObject();
        QVERIFY(near(all.value("systolic").toObject().value("mean"), 129.66666666666666));
        QVERIFY(near(all.value("systolic").toObject().value("deviation"), 4.229525846816698));
        QVERIFY(near(all.value("diastolic").toObject().value("mean"), 484.0 / 6));
        QVERIFY(near(all.value("pulse").toObject().value("mean"), 62));
        const QJsonObject morning = summary.value("morning").toObject();
        QCOMPARE(morning.value("readings").toInt(), 3);
        QVERIFY(near(morning.value("systolic").toObject().value("mean"), 133.33333333333334));
        QVERIFY(near(morning.value("systolic").toObject().value("deviation"), 2.494438257848646));
        const QJsonObject evening = summary.value("evening").toObject();
        QVERIFY(near(evening.value("pulse").toObject().value("mean"), 61));
        QVERIFY(near(evening.value("pulse").toObject().value("deviation"), 3));
        QCOMPARE(summary.value("complete").toBool(), true);
        QCOMPARE(summary.value("verdict").toString(), QStringLiteral("belowThreshold"));

        run = runTool(
            {QStringLiteral("protocol"), file, QStringLiteral("--filter"), QStringLiteral("High")},
            home.path());
        QVERIFY2(run.exitCode == 0, run.err.constData());
        summary = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(summary.value("period").toObject().value("first").toString(), "2024-02-28");
        QCOMPARE(summary.value("countedDays").toInt(), 2); // fewer than four: none left out
        QCOMPARE(summary.value("countedReadings").toInt(), 3);
        QCOMPARE(summary.value("evening").toObject().value("pulse"), QJsonValue(QJsonValue::Null));
        QCOMPARE(summary.value("complete").toBool(), false);
        QCOMPARE(summary.value("missingDays").toInt(), 2);
        QCOMPARE(summary.value("verdict"), QJsonValue(QJsonValue::Null));

        run = runTool(
            {QStringLiteral("protocol"), file, QStringLiteral("--filter"), QStringLiteral("Nope")},
            home.path());
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains("Nope"));
    }

    void toolChartAndReport()
    {
        MyDocument document;
        DocumentBuilder::everyKindOfValue(true).fill(document);
        document.setFilter(document.filters().at(0)); // every reading
        const QString file = home.filePath(QStringLiteral("chart.tensilo"));
        ToolRun run =
            runTool({QStringLiteral("build"), file}, home.path(), DocumentJson::toJson(document));
        QVERIFY2(run.exitCode == 0, run.err.constData());

        // A user's store that must come out untouched.
        const QString storeDir = home.filePath(QStringLiteral("config/Tensilo"));
        QVERIFY(QDir().mkpath(storeDir));
        const QString store = storeDir + QStringLiteral("/Tensilo.conf");
        const QByteArray storeText = "[General]\nshowPulse=true\nrowSize=1\n";
        QFile storeFile(store);
        QVERIFY(storeFile.open(QIODevice::WriteOnly));
        storeFile.write(storeText);
        storeFile.close();
        const QDateTime storeTime = QFileInfo(store).lastModified();

        const QString plain = home.filePath(QStringLiteral("plain.png"));
        run = runTool({QStringLiteral("chart"), file, plain}, home.path());
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QImage image(plain);
        QCOMPARE(image.size(), QSize(1200, 800));

        const QString small = home.filePath(QStringLiteral("small.png"));
        run = runTool({QStringLiteral("chart"), file, small, QStringLiteral("--size"),
                       QStringLiteral("300x200")},
                      home.path());
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(QImage(small).size(), QSize(300, 200));

        const QString green = home.filePath(QStringLiteral("green.png"));
        run = runTool({QStringLiteral("chart"), file, green, QStringLiteral("--set"),
                       QStringLiteral("chartColorSystolic=#00ff00"),
                       QStringLiteral("--set=showWeight=false")},
                      home.path());
        QVERIFY2(run.exitCode == 0, run.err.constData());
        const QImage greenImage(green);
        QCOMPARE(greenImage.size(), image.size());
        QVERIFY(greenImage != image);
        bool hasGreen = false;
        for (int y = 0; y < greenImage.height() && !hasGreen; ++y) {
            for (int x = 0; x < greenImage.width() && !hasGreen; ++x)
                hasGreen = greenImage.pixel(x, y) == qRgb(0, 255, 0);
        }
        QVERIFY(hasGreen);

        const QString pdf = home.filePath(QStringLiteral("report.pdf"));
        run = runTool({QStringLiteral("report"), file, pdf, QStringLiteral("--set"),
                       QStringLiteral("printShowChart=false"), QStringLiteral("--set"),
                       QStringLiteral("rowSize=2")},
                      home.path());
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QFile report(pdf);
        QVERIFY(report.open(QIODevice::ReadOnly));
        QVERIFY(report.read(5) == "%PDF-");
        QVERIFY(report.size() > 500);

        // The overrides held for their runs only.
        QCOMPARE(QFileInfo(store).lastModified(), storeTime);
        QVERIFY(storeFile.open(QIODevice::ReadOnly));
        QCOMPARE(storeFile.readAll(), storeText);
        QCOMPARE(QDir(storeDir).entryList(QDir::Files),
                 QStringList{QStringLiteral("Tensilo.conf")});
    }

private:
    QTemporaryDir home;
};

TENSILO_TEST_MAIN(TestTool)

#include "tst_tool.moc"
