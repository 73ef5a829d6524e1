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
using TestSupport::writeFile;

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

using TestSupport::row;

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
        const QString path = file("full.tensilo");
        ToolRun run = tool({"build", path}, json);
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QVERIFY(QFileInfo(path).size() > 0);
        run = tool({"dump", path});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(run.out, json);
        QVERIFY(run.err.isEmpty());
    }

    void toolRefusesBadInput_data()
    {
        QTest::addColumn<QString>("command"); // the arguments, split at blanks
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message"); // what stderr says, in English

        const QString missing = QStringLiteral("/nonexistent/dir/none.tensilo");
        const QString notOpened = qtTrId("error.file_open").arg(QString());
        const QString notSaved = qtTrId("error.file_save").arg(QString());
        auto unreadable = [](const char *reason) {
            return qtTrId("doc.file_unreadable").arg(qtTrId(reason));
        };
        const QString truncated = unreadable("plist.error.trailer");
        // A command that fails (exit 1), and one used wrongly (exit 2, with the usage).
        const auto fails = [](const char *name, const QString &command, const QString &message,
                              const QByteArray &input = QByteArray()) {
            row(name, command, input, 1, message);
        };
        const auto misused = [](const char *name, const QString &command, const char *key,
                                const QString &argument) {
            row(name, command, QByteArray(), 2,
                qtTrId(key).arg(argument) + QLatin1Char('\n') + qtTrId("tool.usage"));
        };
        const auto badValue = [](const char *name, const QString &command, const char *value,
                                 const char *key) {
            row(name, command, QByteArray(), 2,
                qtTrId("tool.error.bad_preference_value").arg(value, key));
        };
        fails("dump missing", "dump " + missing, notOpened);
        fails("dump corrupt", "dump @corrupt", truncated);
        fails("dump json", "dump @json", unreadable("plist.error.not_plist"));
        fails("stats of a plain property list",
              "stats " TENSILO_SOURCE_DIR "/tests/data/plist/plistlib-sample.bplist",
              unreadable("archive.error.not_archive"));
        fails("stats corrupt", "stats @corrupt", truncated);
        fails("chart corrupt", "chart @corrupt @out.png", truncated);
        fails("report missing", "report " + missing + " @out.pdf", notOpened);
        fails("convert corrupt", "convert @corrupt @new.tensilo", truncated);
        fails("convert over a file, from a missing one", "convert " + missing + " @doc", notOpened);
        fails("convert to an unwritable place", "convert @doc /nonexistent/dir/x.tensilo",
              notSaved);
        fails("build bad json", "build @new.tensilo",
              qtTrId("tool.json.expected_number").arg(QStringLiteral("readings[0].date")),
              R"({"readings": [{"date": "x"}]})");
        fails("build selected out of range", "build @new.tensilo",
              qtTrId("tool.json.bad_index").arg(QStringLiteral("selectedFilter"), "2"),
              R"({"readings": [], "filters": [], "selectedFilter": 2})");
        fails("build reading without systolic", "build @new.tensilo",
              qtTrId("tool.error.unstorable_reading").arg("2001-01-01T00:00:00"),
              R"({"readings": [{"date": 0.0, "diastolic": 80}]})");
        fails("build unwritable", "build /nonexistent/dir/x.tensilo", notSaved,
              R"({"readings": [], "filters": []})");
        fails("import-ble: no record", "import-ble @json @new.tensilo",
              qtTrId("tool.ble.error.nothing_read"));
        fails("import-ble: missing log", "import-ble " + missing + " @new.tensilo",
              qtTrId("monitor.log.error.read").arg(missing, QString()));
        row("import-ble: bad user", QStringLiteral("import-ble @json @new.tensilo --user x"),
            QByteArray(), 2, qtTrId("tool.csv.error.bad_option_value").arg("x", "--user"));
        row("no command", QString(), QByteArray(), 2, qtTrId("tool.usage"));
        misused("unknown command", "print x", "tool.error.unknown_command", "print");
        misused("too many", "dump a b", "tool.error.arguments", "dump");
        misused("too few", "convert a", "tool.error.arguments", "convert");
        misused("unknown option", "dump a --verbose", "tool.error.unknown_option", "--verbose");
        misused("bad size", "chart @doc @out.png --size 12x", "tool.error.bad_size", "12x");
        misused("zero size", "chart @doc @out.png --size=0x10", "tool.error.bad_size", "0x10");
        misused("unknown preference", "chart @doc @out.png --set showPulses=false",
                "tool.error.unknown_preference", "showPulses");
        badValue("bad bool", "report @doc @out.pdf --set printShowChart=maybe", "maybe",
                 "printShowChart");
        badValue("bad integer", "report @doc @out.pdf --set rowSize=two", "two", "rowSize");
        badValue("bad colour", "chart @doc @out.png --set chartColorPulse=#zz", "#zz",
                 "chartColorPulse");
        misused("no equals", "chart @doc @out.png --set showPulse", "tool.error.bad_setting",
                "showPulse");
        misused("set without value", "chart @doc @out.png --set", "tool.error.missing_value",
                "--set");
        misused("set on dump", "dump @doc --set rowSize=1", "tool.error.unknown_option", "--set");
        misused("size on report", "report @doc @out.pdf --size 10x10", "tool.error.unknown_option",
                "--size");
    }
    void toolRefusesBadInput()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, input);
        QFETCH(int, exitCode);
        QFETCH(QString, message);

        QTemporaryDir dir;
        const auto path = [&dir](const QString &name) { return dir.filePath(name); };
        QVERIFY(writeFile(path("corrupt"), QByteArray("bplist00") + QByteArray(100, '\xff')));
        QVERIFY(writeFile(path("json"), "{\"readings\": []}"));
        MyDocument document;
        DocumentBuilder::everyKindOfValue(true).fill(document);
        QVERIFY(document.writeToFile(path("doc")));
        const QByteArray docBytes = readFile(path("doc"));
        QVERIFY(docBytes.startsWith("bplist00"));
        QStringList arguments = command.split(u' ', Qt::SkipEmptyParts);
        for (QString &argument : arguments) {
            if (argument.startsWith(u'@'))
                argument = path(argument.mid(1));
        }

        const ToolRun run = tool(arguments, input);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(run.out.isEmpty());
        QVERIFY(!message.trimmed().isEmpty());
        QVERIFY2(run.err.contains(message.trimmed().toUtf8()), run.err.constData());
        // Nothing is left behind by a failed command, and a file in the way stays as it was.
        QCOMPARE(readFile(path("doc")), docBytes);
        for (const char *made : {"new.tensilo", "out.png", "out.pdf"})
            QVERIFY2(!QFile::exists(path(made)), made);
    }

    void toolHelpAndVersion()
    {
        for (const char *option : {"--help", "-h"}) {
            const ToolRun run = tool({option});
            QCOMPARE(run.exitCode, 0);
            const QString out = QString::fromUtf8(run.out);
            QVERIFY2(out.startsWith(qtTrId("tool.usage") + QLatin1Char('\n')), qPrintable(out));
            for (const char *command : {"export-csv", "import-csv", "import-ble"})
                QVERIFY(out.contains(QLatin1String("tensilo-tool ") + QLatin1String(command)));
        }
        const ToolRun run = tool({"--version"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(QRegularExpression(QStringLiteral("^tensilo-tool \\d+\\.\\d+\\.\\d+\n$"))
                     .match(QString::fromUtf8(run.out))
                     .hasMatch(),
                 run.out.constData());
    }

    // A session log into a new document, then into that one again: nothing is added twice.
    void toolImportsSessionLog()
    {
        const QString log = file("session.log"), out = file("out.tensilo");
        QVERIFY(writeFile(log, "2026-12-07T08:15:02 < 2a35 00 7c 00 56 00 61 00\n"
                               "< 2a35 167c0056006100e807060f11111b33000000\n"
                               "< 2a35 00 7c 00\n"));
        ToolRun run = tool({"import-ble", log, out});
        QCOMPARE(run.exitCode, 0);
        const QString refused = qtTrId("tool.csv.problem")
                                    .arg(3)
                                    .arg(qtTrId("monitor.problem.short_record").arg(3).arg(7));
        QVERIFY2(run.err.contains(refused.toUtf8()), run.err.constData());
        QVERIFY(run.err.contains(qtTrId("tool.ble.summary").arg(2).arg(0).arg(1).toUtf8()));
        MyDocument document;
        QVERIFY(document.readFromFile(out));
        QCOMPARE(document.allItems().size(), 2);

        run = tool({"import-ble", log, out, "--into", out});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.contains(qtTrId("tool.ble.summary").arg(0).arg(2).arg(1).toUtf8()));
    }

    // Every form the application reads comes out in the current binary form, with the same
    // content; a file already in that form comes out byte for byte the same.
    void toolConvert_data()
    {
        QTest::addColumn<QString>("source");
        const QString dir = QStringLiteral(TENSILO_SOURCE_DIR "/tests/data/documents/");
        row("XML form", dir + QStringLiteral("full-xml.tensilo"));
        row("older-form readings", dir + QStringLiteral("older-readings.tensilo"));
        row("current form", dir + QStringLiteral("full.tensilo"));
    }
    void toolConvert()
    {
        QFETCH(QString, source);
        const QString out = file("converted.tensilo"), again = file("again.tensilo");
        QFile::remove(out);
        ToolRun run = tool({"convert", source, out});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QVERIFY(run.out.isEmpty());
        const QByteArray converted = readFile(out);
        QVERIFY(converted.startsWith("bplist00"));

        const ToolRun before = tool({"dump", source});
        const ToolRun after = tool({"dump", out});
        QCOMPARE(after.exitCode, 0);
        QVERIFY(!after.out.isEmpty());
        QCOMPARE(wholeSecondIntervals(after.out), wholeSecondIntervals(before.out));

        // Converting the result again changes nothing.
        run = tool({"convert", out, again});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(readFile(again), converted);
    }

    // The figures are checked in process (tst_documentjson, tst_average); the command must give
    // them for the file it reads, with its selected filter.
    void toolStats()
    {
        const QString path = file("stats.tensilo");
        const auto built =
            DocumentBuilder()
                .reading(Date(100), 120, 80)
                .reading(Date(200), 150, 95)
                .filter(QStringLiteral("All"), QStringLiteral("TRUEPREDICATE"))
                .filter(QStringLiteral("High"), QStringLiteral("Systolic >= 140"))
                .filter(QStringLiteral("Hidden"), QStringLiteral("FALSEPREDICATE"), true, false)
                .selectFilter(1)
                .build();
        QVERIFY(built->writeToFile(path));
        const ToolRun run = tool({"stats", path});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        MyDocument document;
        QVERIFY(document.readFromFile(path));
        QCOMPARE(run.out, DocumentJson::statsJson(document));
        const QJsonObject stats = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(stats.value("filtered").toInt(), 1);
        QCOMPARE(stats.value("averages").toArray().size(), 2);
    }

    // The home-measurement summary against figures worked out by hand: four measured days, the
    // first left out; then a filter that leaves too few days for a verdict.
    void toolProtocol()
    {
        const double day = 86400, march1 = 730944000; // 2024-03-01 00:00 UTC
        // Day of March, hour, systolic, diastolic, pulse (0: none).
        const int table[][5] = {{1, 7, 150, 95, 0},   {1, 20, 140, 90, 0},  {2, 7, 130, 80, 60},
                                {2, 20, 126, 78, 64}, {3, 7, 136, 86, 66},  {3, 20, 128, 80, 0},
                                {4, 7, 134, 84, 62},  {4, 20, 124, 76, 58}, {5, 3, 200, 120, 0}};
        QStringList readings;
        for (const auto &r : table) {
            readings << QStringLiteral("{\"date\": %1, \"systolic\": %2, \"diastolic\": %3%4}")
                            .arg(march1 + (r[0] - 1) * day + r[1] * 3600.0, 0, 'f', 0)
                            .arg(r[2])
                            .arg(r[3])
                            .arg(r[4] ? QStringLiteral(", \"pulse\": %1").arg(r[4]) : QString());
        }
        const QByteArray json = ("{\"readings\": [" + readings.join(u',') + R"(],
          "filters": [
            {"name": "All", "predicate": {"constant": true}, "useInFilters": true},
            {"name": "High", "predicate": {"comparison": {"left": {"keyPath": "Systolic"},
             "right": {"constant": 135}, "operator": 3}}, "useInFilters": true}],
          "selectedFilter": 0, "sortAscending": true})")
                                    .toUtf8();
        const QString path = file("protocol.tensilo");
        ToolRun run = tool({"build", path}, json);
        QVERIFY2(run.exitCode == 0, run.err.constData());

        run = tool({"protocol", path});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        const QJsonObject summary = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(summary.value("filter").toString(), QStringLiteral("All"));
        QCOMPARE(summary["period"]["first"].toString(), "2024-02-28");
        QCOMPARE(summary["period"]["last"].toString(), "2024-03-05");
        QCOMPARE(summary.value("countedDays").toInt(), 3);
        QCOMPARE(summary.value("countedReadings").toInt(), 6);
        const auto near = [](const QJsonValue &value, double expected) {
            return qAbs(value.toDouble() - expected) < 1e-9;
        };
        QVERIFY(near(summary["all"]["systolic"]["mean"], 129.66666666666666));
        QVERIFY(near(summary["all"]["systolic"]["deviation"], 4.229525846816698));
        QVERIFY(near(summary["all"]["diastolic"]["mean"], 484.0 / 6));
        QVERIFY(near(summary["all"]["pulse"]["mean"], 62));
        QCOMPARE(summary["morning"]["readings"].toInt(), 3);
        QVERIFY(near(summary["morning"]["systolic"]["mean"], 133.33333333333334));
        QVERIFY(near(summary["morning"]["systolic"]["deviation"], 2.494438257848646));
        QVERIFY(near(summary["evening"]["pulse"]["mean"], 61));
        QVERIFY(near(summary["evening"]["pulse"]["deviation"], 3));
        QCOMPARE(summary.value("complete").toBool(), true);
        QCOMPARE(summary.value("verdict").toString(), QStringLiteral("belowThreshold"));

        run = tool({"protocol", path, "--filter", "High"});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        const QJsonObject high = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(high["period"]["first"].toString(), "2024-02-28");
        QCOMPARE(high.value("countedDays").toInt(), 2); // fewer than four: none left out
        QCOMPARE(high.value("countedReadings").toInt(), 3);
        QCOMPARE(high["evening"]["pulse"], QJsonValue(QJsonValue::Null));
        QCOMPARE(high.value("complete").toBool(), false);
        QCOMPARE(high.value("missingDays").toInt(), 2);
        QCOMPARE(high.value("verdict"), QJsonValue(QJsonValue::Null));

        run = tool({"protocol", path, "--filter", "Nope"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains("Nope"));
    }

    void toolChartAndReport()
    {
        MyDocument document;
        DocumentBuilder::everyKindOfValue(true).fill(document);
        document.setFilter(document.filters().at(0)); // every reading
        const QString path = file("chart.tensilo");
        ToolRun run = tool({"build", path}, DocumentJson::toJson(document));
        QVERIFY2(run.exitCode == 0, run.err.constData());

        // A user's store that must come out untouched.
        const QString storeDir = file("config/Tensilo"), store = storeDir + "/Tensilo.conf";
        const QByteArray storeText = "[General]\nshowPulse=true\nrowSize=1\n";
        QVERIFY(QDir().mkpath(storeDir) && writeFile(store, storeText));
        const QDateTime storeTime = QFileInfo(store).lastModified();

        const QString plain = file("plain.png"), small = file("small.png");
        const QString green = file("green.png"), pdf = file("report.pdf");
        run = tool({"chart", path, plain});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QImage image(plain);
        QCOMPARE(image.size(), QSize(1200, 800));

        run = tool({"chart", path, small, "--size", "300x200"});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(QImage(small).size(), QSize(300, 200));

        run = tool({"chart", path, green, "--set", "chartColorSystolic=#00ff00",
                    "--set=showWeight=false"});
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

        run = tool({"report", path, pdf, "--set", "printShowChart=false", "--set", "rowSize=2"});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        const QByteArray report = readFile(pdf);
        QVERIFY(report.startsWith("%PDF-"));
        QVERIFY(report.size() > 500);

        // The overrides held for their runs only.
        QCOMPARE(QFileInfo(store).lastModified(), storeTime);
        QCOMPARE(readFile(store), storeText);
        QCOMPARE(QDir(storeDir).entryList(QDir::Files), QStringList{"Tensilo.conf"});
    }

private:
    QTemporaryDir home;

    QString file(const char *name) const { return home.filePath(QLatin1String(name)); }
    ToolRun tool(const QStringList &arguments, const QByteArray &input = QByteArray()) const
    {
        return runTool(arguments, home.path(), input);
    }
};

TENSILO_TEST_MAIN(TestTool)

#include "tst_tool.moc"
