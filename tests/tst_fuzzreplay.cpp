#include "../fuzz/exchange_fuzz_body.h"
#include "../fuzz/monitor_fuzz_body.h"
#include "../fuzz/plist_fuzz_body.h"

#include "Localization.h"

#include <QDir>
#include <QFile>
#include <QtTest>

// Replays every input the fuzz targets once failed on (tests/data/fuzz), and the seed files,
// through the fuzz targets' own checks.
class TestFuzzReplay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // As in the fuzz target: texts from the tables and a fixed present.
        Localization::install(QLocale(QStringLiteral("en")));
        Date::setClock([] { return Date(732000000.0); });
    }

    void replay_data()
    {
        QTest::addColumn<QString>("path");
        for (const QString &sub :
             {QStringLiteral("fuzz"), QStringLiteral("plist"), QStringLiteral("documents")}) {
            const QDir dir(QStringLiteral(TENSILO_SOURCE_DIR "/tests/data/") + sub);
            for (const QFileInfo &file : dir.entryInfoList(QDir::Files, QDir::Name))
                QTest::newRow(qPrintable(sub + QLatin1Char('/') + file.fileName()))
                    << file.filePath();
        }
    }

    void replay()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        fuzzing::plistOne(file.readAll()); // aborts on a broken invariant
    }

    void replayMonitor_data()
    {
        QTest::addColumn<QString>("path");
        const QDir dir(QStringLiteral(TENSILO_SOURCE_DIR "/tests/data/fuzz/monitor"));
        for (const QFileInfo &file : dir.entryInfoList(QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(file.fileName())) << file.filePath();
    }
    void replayMonitor()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        fuzzing::monitorOne(file.readAll());
    }

    void replayExchange_data()
    {
        QTest::addColumn<QString>("path");
        for (const QString &kind : {QStringLiteral("fhir"), QStringLiteral("health")}) {
            const QDir dir(QStringLiteral(TENSILO_SOURCE_DIR "/tests/data/fuzz/") + kind);
            for (const QFileInfo &file : dir.entryInfoList(QDir::Files, QDir::Name))
                QTest::newRow(qPrintable(kind + u'/' + file.fileName())) << file.filePath();
        }
    }
    void replayExchange()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        if (path.contains(QLatin1String("/fhir/")))
            fuzzing::fhirOne(file.readAll());
        else
            fuzzing::healthOne(file.readAll());
    }
};

QTEST_GUILESS_MAIN(TestFuzzReplay)
#include "tst_fuzzreplay.moc"
