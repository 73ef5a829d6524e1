// Readings from blood-pressure monitors: the record decoder, the session log, downloads replayed
// through the transport, and the import into a document.

#include "BloodPressureRecord.h"
#include "LocalTimeOffsets.h"
#include "MonitorDownload.h"
#include "MonitorImport.h"
#include "MonitorProtocol.h"
#include "MyDocument.h"
#include "SessionLog.h"
#include "SessionLogTransport.h"
#include "TestHelpers.h"
#include "TestMain.h"
#include "UndoManager.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QtTest>

namespace {

QDateTime local(int y, int mo, int d, int h, int mi, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

// A record with time stamp and pulse, taken on 2024-06-<day> at 08:00.
QByteArray recordLine(int systolic, int diastolic, int day, int pulse = 60)
{
    return QStringLiteral("< 2a35 06 %1 00 %2 00 60 00 e8 07 06 %3 08 00 00 %4 00\n")
        .arg(systolic, 2, 16, QLatin1Char('0'))
        .arg(diastolic, 2, 16, QLatin1Char('0'))
        .arg(day, 2, 16, QLatin1Char('0'))
        .arg(pulse, 2, 16, QLatin1Char('0'))
        .toLatin1();
}

// A monitor with features, a clock (2024-06-20 09:00:00) and a control point, up to the request
// for the records.
const QByteArray kHeader = "# features, clock\n"
                           "< 2a49 27 00\n"
                           "< 2a2b e8 07 06 14 09 00 00 04 00 00\n";
const QByteArray kThreeRecords =
    recordLine(0x78, 0x50, 1) + recordLine(0x82, 0x55, 2) + recordLine(0x8c, 0x5a, 3);

struct Download
{
    MonitorDownload::Result result;
    QList<QByteArray> writes; // hex
};

Download download(const QByteArray &log,
                  const MonitorDownload::Options &given = MonitorDownload::Options(),
                  bool disconnectAtEnd = true, const QList<quint16> &characteristics = {})
{
    const SessionLog::Result parsed = SessionLog::parse(log);
    if (parsed.problemCount != 0)
        qWarning("%s", qPrintable(parsed.problems.value(0).reason));
    SessionLogTransport transport(parsed.entries);
    transport.setDisconnectAtEnd(disconnectAtEnd);
    if (!characteristics.isEmpty())
        transport.setCharacteristics(characteristics);
    MonitorDownload::Options options = given;
    options.clock = [] { return Date::fromDateTime(local(2024, 6, 20, 8, 59, 30)); };
    MonitorDownload task(&transport, options);
    QSignalSpy finished(&task, &MonitorDownload::finished);
    task.start();
    if (!finished.wait(5000))
        qWarning("the download did not finish");
    Download d{task.result(), {}};
    for (const auto &[characteristic, value] : transport.writes())
        d.writes.append(value.toHex());
    return d;
}

} // namespace

using TestSupport::row;

class TestMonitor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::setTimeZone("Europe/Berlin"); }

    // --- Records --------------------------------------------------------------------------------

    void decodeRecord_data()
    {
        QTest::addColumn<QByteArray>("hex");
        QTest::addColumn<bool>("lineTime");       // the line gives 2026-12-07 08:15:02
        QTest::addColumn<QString>("refusal");     // empty: a reading comes out
        QTest::addColumn<QVariantList>("values"); // systolic, diastolic, pulse of the reading
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<QStringList>("tags");

        const QVariant none;
        const QDateTime lineTime = local(2026, 12, 7, 8, 15, 2);
        const QDateTime example = local(2024, 6, 15, 17, 17, 27);
        const auto n = [](qlonglong v) { return QVariant(v); };
        // 120/80 without a pulse at the line's time, with the tags given.
        const auto plain = [&](const char *name, const QByteArray &hex, const QStringList &tags) {
            row(name, hex, true, QString(), QVariantList{n(120), n(80), none}, lineTime, tags);
        };
        const auto refused = [&](const char *name, const QByteArray &hex, const QString &refusal,
                                 bool timed = true) {
            row(name, hex, timed, refusal, QVariantList(), QDateTime(), QStringList());
        };
        row("time, pulse, status", QByteArray("167c0056006100e807060f11111b3300 0000"), false,
            QString(), QVariantList{n(124), n(86), n(51)}, example, QStringList());
        row("over-long: extra bytes ignored",
            QByteArray("167c0056006100e807060f11111b33000000ffff"), false, QString(),
            QVariantList{n(124), n(86), n(51)}, example, QStringList());
        row("reserved flag bits ignored", QByteArray("e07c0056006100"), true, QString(),
            QVariantList{n(124), n(86), none}, lineTime, QStringList());
        row("pressures only take the line's time", QByteArray("007c0056006100"), true, QString(),
            QVariantList{n(124), n(86), none}, lineTime, QStringList());
        plain("year 0 takes the line's time", "02780050005a00 0000 060f111100", {});
        plain("kPa rounded to whole mmHg", "01a0f06bf078f0", {});
        row("fractional pulse, user ID", QByteArray("0c780050005a00d5f203"), true, QString(),
            QVariantList{n(120), n(80), QVariant(72.5)}, lineTime, QStringList());
        for (const auto &[name, raw] : {std::pair{"NaN", "ff07"},
                                        {"NRes", "0008"},
                                        {"+INF", "fe07"},
                                        {"-INF", "0208"},
                                        {"reserved", "0108"}})
            plain(qPrintable(QStringLiteral("pulse %1 is no pulse").arg(name)),
                  QByteArray("04780050005a00") + raw, {});
        const QString systolic = qtTrId("monitor.value.systolic");
        const auto failed = [](const QString &value, const char *condition) {
            return qtTrId("monitor.problem.failed_measurement").arg(value, qtTrId(condition));
        };
        refused("systolic NaN", "00ff0750005a00", failed(systolic, "monitor.condition.nan"));
        refused("systolic NRes", "00000850005a00", failed(systolic, "monitor.condition.nres"));
        refused("systolic +INF", "00fe0750005a00", failed(systolic, "monitor.condition.too_high"));
        refused("systolic -INF", "00020850005a00", failed(systolic, "monitor.condition.too_low"));
        refused("diastolic reserved", "00780001085a00",
                failed(qtTrId("monitor.value.diastolic"), "monitor.condition.reserved"));
        refused("empty", QByteArray(), qtTrId("monitor.problem.empty_record"));
        refused("truncated", "167c0056006100e807060f11",
                qtTrId("monitor.problem.short_record").arg(12).arg(18));
        refused("status cut off", "10780050005a0001",
                qtTrId("monitor.problem.short_record").arg(8).arg(9));
        refused("no time at all", "00780050005a00", qtTrId("monitor.problem.no_time"), false);
        refused("time stamp not a date", "02780050005a00e8070d0f111100",
                qtTrId("monitor.problem.bad_time_stamp").arg("2024-13-15 17:17:00"));
        refused("editor's check: systolic", "00280050005a00",
                qtTrId("csv.problem.bad_systolic").arg(40));
        refused("editor's check: kPa pressures the wrong way round", "016bf0a0f078f0",
                qtTrId("csv.problem.bad_pressure").arg("80", "120"));
        refused("editor's check: pulse", "04780050005a000a00",
                qtTrId("csv.problem.bad_pulse").arg(10));
        const auto tags = [](std::initializer_list<const char *> keys) {
            QStringList list;
            for (const char *key : keys)
                list.append(qtTrId(key));
            return list;
        };
        plain("status: movement, cuff, irregular, position", "10780050005a002700",
              tags({"monitor.tag.body_movement", "monitor.tag.cuff_too_loose",
                    "monitor.tag.irregular_pulse", "monitor.tag.improper_position"}));
        plain("status: pulse above range", "10780050005a000800",
              tags({"monitor.tag.pulse_above_range"}));
        plain("status: pulse below range", "10780050005a001000",
              tags({"monitor.tag.pulse_below_range"}));
        plain("status: reserved range and bits give no tag", "10780050005a0018ff", {});
    }
    void decodeRecord()
    {
        QFETCH(QByteArray, hex);
        QFETCH(bool, lineTime);
        QFETCH(QString, refusal);

        QString problem;
        LocalTimeOffsets offsets;
        const Date fallback = lineTime ? Date::fromDateTime(local(2026, 12, 7, 8, 15, 2)) : Date();
        const auto record = BloodPressureRecord::decode(QByteArray::fromHex(hex), &problem);
        const MeasurementPtr reading =
            record ? record->toReading(fallback, offsets, &problem) : MeasurementPtr();
        if (!refusal.isEmpty()) {
            QVERIFY(!reading);
            QCOMPARE(problem, refusal);
            return;
        }
        QVERIFY2(reading, qPrintable(problem));
        QFETCH(QVariantList, values);
        QFETCH(QDateTime, time);
        QFETCH(QStringList, tags);
        QCOMPARE((QVariantList{reading->Systolic(), reading->Diastolic(), reading->Pulse()}),
                 values);
        QCOMPARE(reading->theWholeDate(), Date::fromDateTime(time));
        QCOMPARE(reading->Tags(), tags);
    }

    void recordFields()
    {
        // User ID, mean pressure and the exponent's sign, which the reading does not show.
        const auto record =
            BloodPressureRecord::decode(QByteArray::fromHex("0e780050005affe8070101000000ff0707"));
        QVERIFY(record);
        QCOMPARE(record->userId, std::optional<quint8>(7));
        QCOMPARE(record->meanArterialPressure.value(), -16.6);
        QVERIFY(!record->pulseRate->isNumber());
        QVERIFY(!record->status);
    }

    void protocolMessages()
    {
        using namespace MonitorProtocol;
        QCOMPARE(ControlPoint::request(ControlPoint::ReportStoredRecords).toHex(), "0101");
        QCOMPARE(ControlPoint::requestFrom(ControlPoint::ReportNumberOfRecords, 0x1234).toHex(),
                 "0403013412");
        const auto count = ControlPoint::decode(QByteArray::fromHex("05000201"));
        QVERIFY(count && count->op == ControlPoint::NumberOfRecordsResponse);
        QCOMPARE(count->count, 0x0102);
        const auto answer = ControlPoint::decode(QByteArray::fromHex("06000106"));
        QVERIFY(answer && answer->requestOp == 1 && answer->response == 6);
        QVERIFY(!ControlPoint::decode(QByteArray::fromHex("0600")));
        QVERIFY(!ControlPoint::decode(QByteArray::fromHex("01010000")));

        const auto features = decodeFeatures(QByteArray::fromHex("2100"));
        QVERIFY(features && features->has(Features::BodyMovement) &&
                features->has(Features::MultipleBonds) && !features->has(Features::CuffFit));
        QVERIFY(!decodeFeatures(QByteArray::fromHex("21")));

        LocalTimeOffsets offsets;
        QCOMPARE(decodeCurrentTime(QByteArray::fromHex("e807060f11111b0600"), offsets),
                 Date::fromDateTime(local(2024, 6, 15, 17, 17, 27)));
        QVERIFY(decodeCurrentTime(QByteArray::fromHex("0000060f11111b"), offsets).isNull());
        QVERIFY(decodeCurrentTime(QByteArray::fromHex("e807060f1111"), offsets).isNull());
    }

    // The current time value that sets a monitor's clock: the local wall clock with its day of
    // the week, 1/256 parts of a second and the reason; it reads back as the same instant.
    void currentTimeValue()
    {
        using namespace MonitorProtocol;
        LocalTimeOffsets offsets;
        const auto at = [](QDateTime local, int milliseconds = 0) {
            return Date::fromDateTime(local.addMSecs(milliseconds));
        };
        // Summer time, a Saturday, half a second.
        const Date summer = at(local(2024, 6, 15, 17, 17, 27), 500);
        QCOMPARE(encodeCurrentTime(summer, offsets).toHex(), "e807060f11111b068001");
        // Winter time, a Sunday, the last second of the day.
        QCOMPARE(encodeCurrentTime(at(local(2024, 12, 29, 23, 59, 59), 999), offsets).toHex(),
                 "e8070c1d173b3b07ff01");
        // A Monday, and another reason.
        QCOMPARE(
            encodeCurrentTime(at(local(2024, 1, 1, 0, 0)), offsets, ExternalReferenceTimeUpdate)
                .toHex(),
            "e8070101000000010002");
        QCOMPARE(decodeCurrentTime(encodeCurrentTime(summer, offsets), offsets),
                 at(local(2024, 6, 15, 17, 17, 27)));
        QVERIFY(encodeCurrentTime(at(local(1500, 1, 1, 12, 0)), offsets).isEmpty());
        QVERIFY(encodeCurrentTime(Date(), offsets).isEmpty());
    }

    // Setting the clock over the transport: the value of the clock's time is written and the
    // monitor left; a monitor that does not let its clock be written, or refuses the value, ends
    // it with the reason.
    void settingTheClock()
    {
        const Date now = Date::fromDateTime(local(2024, 6, 20, 9, 10));
        // What came of it: "set" or the error, the values written and the disconnections.
        const auto set = [&now](const QList<quint16> &readOnly, const QList<quint16> &refusing) {
            SessionLogTransport transport(SessionLog::parse(kHeader).entries);
            transport.setReadOnly(readOnly);
            transport.setRefusingWrites(refusing);
            MonitorClockSetting task(&transport, [&now] { return now; });
            QSignalSpy finished(&task, &MonitorClockSetting::finished);
            QSignalSpy disconnected(&transport, &MonitorTransport::disconnected);
            task.start();
            if (!finished.wait(5000) || finished.size() != 1)
                qWarning("setting the clock did not finish once");
            QStringList outcome{task.succeeded() ? QStringLiteral("set") : task.error()};
            for (const auto &[characteristic, value] : transport.writes())
                outcome << QString::number(characteristic, 16) + u' ' + value.toHex();
            return outcome << QStringLiteral("%1 disconnected").arg(disconnected.size());
        };
        using MonitorProtocol::kCurrentTime;
        QCOMPARE(set({}, {}), (QStringList{"set", "2a2b e8070614090a00040001", "1 disconnected"}));
        QCOMPARE(set({kCurrentTime}, {}),
                 (QStringList{qtTrId("monitor.clock.not_settable"), "1 disconnected"}));
        const QStringList refused = set({}, {kCurrentTime});
        QCOMPARE(refused.first(), qtTrId("monitor.replay.write_refused").arg("2a2b"));
        QCOMPARE(refused.last(), QStringLiteral("1 disconnected"));
        // The download says whether the clock can be set.
        QVERIFY(download(kHeader).result.bClockWritable);
    }

    // --- Session logs ---------------------------------------------------------------------------

    void logLines()
    {
        const QByteArray text = "\xEF\xBB\xBF# a session\n"
                                "\n"
                                "2026-12-07T08:15:02 < 2a35 007c0056006100   # pressures\r\n"
                                "> 2A52 01 01\n"
                                "  < 2a2b\n"
                                "2026-13-07T08:15:02 < 2a35 00\n"
                                "2026-12-07 08:15:02 < 2a35 00\n"
                                "<< 2a35 00\n"
                                "< 2a3 00\n"
                                "< 2a35 0 0\n"
                                "< 2a35 7c0g\n"
                                "< 2a35 " +
                                QByteArray(513, 'a').toHex() + "\n< 2a35 01";
        const SessionLog::Result log = SessionLog::parse(text);
        QVERIFY(log.error.isEmpty());
        QCOMPARE(log.entries.size(), 4);
        const SessionLog::Entry &first = log.entries.at(0);
        QCOMPARE(first.line, 3);
        QCOMPARE(first.direction, SessionLog::Direction::Received);
        QCOMPARE(first.characteristic, 0x2a35);
        QCOMPARE(first.value.toHex(), "007c0056006100");
        QCOMPARE(first.time, Date::fromDateTime(local(2026, 12, 7, 8, 15, 2)));
        QCOMPARE(log.entries.at(1).direction, SessionLog::Direction::Sent);
        QCOMPARE(log.entries.at(1).characteristic, 0x2a52);
        QVERIFY(log.entries.at(1).time.isNull());
        QVERIFY(log.entries.at(2).value.isEmpty());
        QCOMPARE(log.entries.at(3).line, 13);

        const QList<std::pair<qint64, QString>> expected = {
            {6, qtTrId("monitor.log.bad_time").arg("2026-13-07T08:15:02")},
            {7, qtTrId("monitor.log.bad_time").arg("2026-12-07")},
            {8, qtTrId("monitor.log.bad_direction").arg("<<")},
            {9, qtTrId("monitor.log.bad_characteristic").arg("2a3")},
            {10, qtTrId("monitor.log.bad_hex").arg("0 0")},
            {11, qtTrId("monitor.log.bad_hex").arg("7c0g")},
            {12, qtTrId("monitor.log.too_long").arg(512)},
        };
        QCOMPARE(log.problemCount, expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QCOMPARE(log.problems.at(i).line, expected.at(i).first);
            QCOMPARE(log.problems.at(i).reason, expected.at(i).second);
        }

        // The writer's lines read back as they were.
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        SessionLog::Writer writer(&buffer);
        writer.comment(QStringLiteral("recorded\nby a test"));
        for (const SessionLog::Entry &entry : log.entries)
            writer.write(entry);
        const SessionLog::Result again = SessionLog::parse(buffer.data());
        QCOMPARE(again.problemCount, 0);
        QCOMPARE(again.entries.size(), log.entries.size());
        for (qsizetype i = 0; i < again.entries.size(); ++i) {
            const SessionLog::Entry &a = again.entries.at(i), &b = log.entries.at(i);
            QCOMPARE(a.line, i + 3);
            QVERIFY(a.direction == b.direction && a.characteristic == b.characteristic &&
                    a.value == b.value &&
                    (a.time == b.time || (a.time.isNull() && b.time.isNull())));
        }
    }

    // --- Downloads ------------------------------------------------------------------------------

    // Three records over the control point, twice: the second time every one is a duplicate.
    void downloadThenAgain()
    {
        const QByteArray log = kHeader + "> 2a52 0401\n< 2a52 05 00 03 00\n> 2a52 0101\n" +
                               kThreeRecords + "< 2a52 06 00 01 01\n";
        const Download d = download(log);
        QVERIFY2(d.result.bComplete, qPrintable(d.result.error));
        QCOMPARE(d.result.records.size(), 3);
        QCOMPARE(d.result.storedRecordCount, std::optional<quint16>(3));
        QCOMPARE(d.result.features->bits, 0x27);
        QCOMPARE(d.result.clockOffset, std::optional<double>(30.0));
        QCOMPARE(d.writes, QList<QByteArray>({"0401", "0101"}));

        MyDocument document;
        MonitorImport::Result imported = MonitorImport::read(d.result.records, {}, &document);
        QCOMPARE(MonitorImport::apply(imported, &document), 3);
        document.undoManager()->closeGroup();
        QCOMPARE(document.undoManager()->undoActionName(), qtTrId("doc.import_monitor"));
        QCOMPARE(document.allItems().at(2)->theWholeDate(),
                 Date::fromDateTime(local(2024, 6, 3, 8, 0)));
        QCOMPARE(document.allItems().at(2)->Systolic(), QVariant(qlonglong(140)));

        imported = MonitorImport::read(download(log).result.records, {}, &document);
        QCOMPARE(imported.duplicateCount, 3);
        QCOMPARE(MonitorImport::apply(imported, &document), 0);
        document.undoManager()->undo();
        QVERIFY(document.allItems().isEmpty());
        QCOMPARE(document.undoManager()->redoActionName(), qtTrId("doc.import_monitor"));
    }

    // A connection that drops keeps what came; the next download adds only what is new.
    void droppedConnection()
    {
        const QByteArray start = kHeader + "> 2a52 0401\n< 2a52 05 00 03 00\n> 2a52 0101\n";
        const Download cut =
            download(start + recordLine(0x78, 0x50, 1) + recordLine(0x82, 0x55, 2));
        QVERIFY(!cut.result.bComplete);
        QCOMPARE(cut.result.error, qtTrId("monitor.download.connection_lost"));
        MyDocument document;
        const auto importInto = [&document](const Download &d) {
            return MonitorImport::apply(MonitorImport::read(d.result.records, {}, &document),
                                        &document);
        };
        QCOMPARE(importInto(cut), 2);
        QCOMPARE(importInto(download(start + kThreeRecords + "< 2a52 06 00 01 01\n")), 1);
        QCOMPARE(document.allItems().size(), 3);
    }

    void controlPointAnswers_data()
    {
        QTest::addColumn<QByteArray>("session"); // after the clock
        QTest::addColumn<int>("firstRecord");    // -1: all
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("error"); // empty: complete
        QTest::addColumn<QList<QByteArray>>("writes");

        row("nothing stored", QByteArray("> 2a52 0401\n< 2a52 05000000\n"), -1, 0, QString(),
            QList<QByteArray>{"0401"});
        row("no records found",
            QByteArray("> 2a52 0401\n< 2a52 06000406\n> 2a52 0101\n< 2a52 06000106\n"), -1, 0,
            QString(), QList<QByteArray>{"0401", "0101"});
        row("from a record number",
            QByteArray("> 2a52 0401\n< 2a52 05000100\n> 2a52 0101\n" + recordLine(0x78, 0x50, 9) +
                       "< 2a52 06000101\n"),
            5, 1, QString(), QList<QByteArray>{"0403010500", "0103010500"});
        row("cannot filter: all records",
            QByteArray("> 2a52 0401\n< 2a52 06000404\n> 2a52 0101\n" + kThreeRecords +
                       "< 2a52 06000101\n"),
            5, 3, QString(), QList<QByteArray>{"0403010500", "0101"});
        row("request not supported",
            QByteArray("> 2a52 0401\n< 2a52 06000402\n> 2a52 0101\n< 2a52 06000102\n"), -1, 0,
            qtTrId("monitor.download.refused")
                .arg(qtTrId("monitor.response.op_code_not_supported")),
            QList<QByteArray>{"0401", "0101"});
        row("not completed keeps what came",
            QByteArray("> 2a52 0401\n< 2a52 05000300\n> 2a52 0101\n" + recordLine(0x78, 0x50, 1) +
                       "< 2a52 06000108\n"),
            -1, 1, qtTrId("monitor.download.refused").arg(qtTrId("monitor.response.not_completed")),
            QList<QByteArray>{"0401", "0101"});
    }
    void controlPointAnswers()
    {
        QFETCH(QByteArray, session);
        QFETCH(int, firstRecord);
        QFETCH(int, records);
        QFETCH(QString, error);
        QFETCH(QList<QByteArray>, writes);
        MonitorDownload::Options options;
        if (firstRecord >= 0)
            options.firstRecordNumber = quint16(firstRecord);
        const Download d = download(kHeader + session, options);
        QCOMPARE(d.result.error, error);
        QCOMPARE(d.result.bComplete, error.isEmpty());
        QCOMPARE(d.result.records.size(), records);
        QCOMPARE(d.writes, writes);
    }

    // Without a control point the records come by themselves, until the monitor hangs up or
    // stays quiet.
    void downloadWithoutControlPoint()
    {
        for (const bool hangsUp : {true, false}) {
            MonitorDownload::Options options;
            options.quietInterval = 0;
            const Download d =
                download("< 2a2b e8 07 06 14 09 00 00\n" + kThreeRecords, options, hangsUp);
            QVERIFY(d.result.bComplete);
            QCOMPARE(d.result.records.size(), 3);
            QVERIFY(d.writes.isEmpty());
            QVERIFY(!d.result.features);
        }
        // Not a monitor, and an empty log.
        Download d = download("< 2a2b e8 07 06 14 09 00 00\n", {}, true, {0x2a2b});
        QCOMPARE(d.result.error, qtTrId("monitor.download.not_a_monitor"));
        d = download("# nothing\n");
        QCOMPARE(d.result.error, qtTrId("monitor.replay.empty"));
    }

    // --- Import ---------------------------------------------------------------------------------

    void importFromLog()
    {
        MyDocument document;
        document.addMeasurements({TestSupport::reading(
            Date::fromDateTime(local(2024, 6, 1, 8, 0, 0).addMSecs(400)), 0x78, 0x50)});
        const QByteArray text =
            recordLine(0x78, 0x50, 1)   // in the document, to the second
            + recordLine(0x78, 0x51, 1) // other pressures
            + recordLine(0x78, 0x51, 1) // repeated in the log
            + "x\n"                     // a bad line
            + "< 2a35 0e 8c 00 5a 00 60 00 e8 07 06 05 08 00 00 40 00 02\n" // user 2
            + "< 2a35 0e 8c 00 5a 00 60 00 e8 07 06 06 08 00 00 40 00 ff\n" // unknown user
            + "< 2a35 00 28 00 5a 00 60 00\n";                              // no time, and refused
        MonitorImport::Options options;
        options.userId = 1;
        const MonitorImport::Result result = MonitorImport::readLog(text, options, &document);
        QCOMPARE(result.readings.size(), 2);
        QCOMPARE(result.duplicateCount, 2);
        QCOMPARE(result.otherUserCount, 1);
        QCOMPARE(result.recordCount, 6);
        QCOMPARE(result.problemCount, 2);
        QCOMPARE(result.problems.at(0).line, 4);
        QCOMPARE(result.problems.at(1).line, 7);
        QCOMPARE(result.problems.at(1).reason, qtTrId("monitor.problem.no_time"));
        QCOMPARE(result.readings.at(1)->theWholeDate(),
                 Date::fromDateTime(local(2024, 6, 6, 8, 0)));
    }
};

TENSILO_TEST_MAIN(TestMonitor)
#include "tst_monitor.moc"
