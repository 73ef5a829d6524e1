#include "../fuzz/csv_fuzz_body.h"
#include "../fuzz/exchange_fuzz_body.h"
#include "../fuzz/json_fuzz_body.h"
#include "../fuzz/monitor_fuzz_body.h"
#include "../fuzz/plist_fuzz_body.h"
#include "../fuzz/predicate_fuzz_body.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {

// Each fuzz target's checks and the folders (under tests/data) it is replayed over: its seeds
// and every input it once failed on.
struct Corpus
{
    const char *target;
    void (*body)(const QByteArray &);
    std::initializer_list<const char *> folders;
};
const Corpus kCorpora[] = {
    {"plist", fuzzing::plistOne, {"fuzz/plist", "plist", "documents"}},
    {"predicate", fuzzing::predicateOne, {"fuzz/predicate"}},
    {"csv", fuzzing::csvOne, {"fuzz/csv"}},
    {"json", fuzzing::jsonOne, {"fuzz/json", "documents"}},
    {"monitor", fuzzing::monitorOne, {"fuzz/monitor"}},
    {"fhir", fuzzing::fhirOne, {"fuzz/fhir"}},
    {"health", fuzzing::healthOne, {"fuzz/health"}},
};

} // namespace

// Replays the fuzz targets' corpora through the targets' own checks, which abort on a broken
// invariant.
class TestFuzzReplay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // As in the fuzz targets: a zone with clock changes and a fixed present.
        TestSupport::setTimeZone("Europe/Berlin");
        Date::setClock([] { return Date(732000000.0); });
    }

    void replay_data()
    {
        QTest::addColumn<int>("corpus");
        QTest::addColumn<QString>("path");
        for (int i = 0; i < int(std::size(kCorpora)); ++i) {
            for (const char *folder : kCorpora[i].folders) {
                const QDir dir(QStringLiteral(TENSILO_SOURCE_DIR "/tests/data/") +
                               QLatin1String(folder));
                const QFileInfoList files = dir.entryInfoList(QDir::Files, QDir::Name);
                QVERIFY2(!files.isEmpty(), folder);
                for (const QFileInfo &file : files)
                    QTest::addRow("%s: %s/%s", kCorpora[i].target, folder,
                                  qPrintable(file.fileName()))
                        << i << file.filePath();
            }
        }
    }

    void replay()
    {
        QFETCH(int, corpus);
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        kCorpora[corpus].body(file.readAll());
    }
};

TENSILO_TEST_MAIN(TestFuzzReplay)
#include "tst_fuzzreplay.moc"
