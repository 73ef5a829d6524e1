// The command-line contract of tensilo-tool: commands, exit status, messages, and files left
// alone when a command fails. The JSON form itself is tested in process by tst_documentjson.

#include "DocumentBuilder.h"
#include "DocumentJson.h"
#include "Localization.h"
#include "MyDocument.h"

#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <ctime>

namespace {

QString toolPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tensilo-tool");
}

struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the tool with its own home, so that the user's preferences are never read or written.
ToolRun runTool(const QStringList &arguments, const QString &home,
                const QByteArray &input = QByteArray())
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.start(toolPath(), arguments);
    ToolRun run;
    if (!process.waitForStarted())
        return run;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

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
        QTest::addColumn<QString>("message"); // part of what stderr says

        const QString missing = QStringLiteral("/nonexistent/dir/none.tensilo");
        QTest::newRow("dump missing")
            << QStringList{"dump", missing} << QByteArray() << 1 << QString();
        QTest::newRow("dump corrupt")
            << QStringList{"dump", "@corrupt"} << QByteArray() << 1 << QString();
        QTest::newRow("dump json")
            << QStringList{"dump", "@json"} << QByteArray() << 1 << QString();
        QTest::newRow("stats of a plain property list")
            << QStringList{"stats", TENSILO_SOURCE_DIR "/tests/data/plist/plistlib-sample.bplist"}
            << QByteArray() << 1 << "keyed archive";
        QTest::newRow("stats corrupt")
            << QStringList{"stats", "@corrupt"} << QByteArray() << 1 << QString();
        QTest::newRow("chart corrupt")
            << QStringList{"chart", "@corrupt", "@out.png"} << QByteArray() << 1 << QString();
        QTest::newRow("report missing")
            << QStringList{"report", missing, "@out.pdf"} << QByteArray() << 1 << QString();
        QTest::newRow("build bad json")
            << QStringList{"build", "@new.tensilo"}
            << QByteArray(R"({"readings": [{"date": "x"}]})") << 1 << "readings[0].date";
        QTest::newRow("build selected out of range")
            << QStringList{"build", "@new.tensilo"}
            << QByteArray(R"({"readings": [], "filters": [], "selectedFilter": 2})") << 1
            << "selectedFilter";
        QTest::newRow("build reading without systolic")
            << QStringList{"build", "@new.tensilo"}
            << QByteArray(R"({"readings": [{"date": 0.0, "diastolic": 80}]})") << 1
            << "2001-01-01T00:00:00";
        QTest::newRow("build unwritable")
            << QStringList{"build", "/nonexistent/dir/x.tensilo"}
            << QByteArray(R"({"readings": [], "filters": []})") << 1 << QString();
        QTest::newRow("no command") << QStringList{} << QByteArray() << 2 << "Usage";
        QTest::newRow("unknown command")
            << QStringList{"print", "x"} << QByteArray() << 2 << "print";
        QTest::newRow("too many") << QStringList{"dump", "a", "b"} << QByteArray() << 2 << "dump";
        QTest::newRow("bad size") << QStringList{"chart", "@doc", "@out.png", "--size", "12x"}
                                  << QByteArray() << 2 << "12x";
        QTest::newRow("zero size") << QStringList{"chart", "@doc", "@out.png", "--size=0x10"}
                                   << QByteArray() << 2 << "0x10";
        QTest::newRow("unknown preference")
            << QStringList{"chart", "@doc", "@out.png", "--set", "showPulses=false"} << QByteArray()
            << 2 << "showPulses";
        QTest::newRow("bad bool") << QStringList{"report", "@doc", "@out.pdf", "--set",
                                                 "printShowChart=maybe"}
                                  << QByteArray() << 2 << "maybe";
        QTest::newRow("bad integer")
            << QStringList{"report", "@doc", "@out.pdf", "--set", "rowSize=two"} << QByteArray()
            << 2 << "two";
        QTest::newRow("bad colour")
            << QStringList{"chart", "@doc", "@out.png", "--set", "chartColorPulse=#zz"}
            << QByteArray() << 2 << "#zz";
        QTest::newRow("no equals") << QStringList{"chart", "@doc", "@out.png", "--set", "showPulse"}
                                   << QByteArray() << 2 << "showPulse";
        QTest::newRow("set without value")
            << QStringList{"chart", "@doc", "@out.png", "--set"} << QByteArray() << 2 << "--set";
        QTest::newRow("set on dump")
            << QStringList{"dump", "@doc", "--set", "rowSize=1"} << QByteArray() << 2 << "--set";
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
        for (QString &argument : arguments) {
            if (argument.startsWith(u'@'))
                argument = dir.filePath(argument.mid(1));
        }

        const ToolRun run = runTool(arguments, home.path(), input);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(run.out.isEmpty());
        QVERIFY(!run.err.trimmed().isEmpty());
        QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
        QVERIFY2(!run.err.contains("tool."), run.err.constData()); // texts are translated
        // Nothing is left behind by a failed command.
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("new.tensilo"))));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("out.png"))));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("out.pdf"))));
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

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TZ", "UTC");
    tzset();
    QGuiApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Localization::install(QLocale(QLocale::English, QLocale::UnitedStates));
    TestTool test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tool.moc"
