// File › Import from Monitor, offscreen, over replayed sessions: the review, the one undo step,
// duplicates on the second import, a dropped connection, Cancel, several users, the saved
// session log, and every control named in English and German.

#include "Dialogs.h"
#include "Localization.h"
#include "MonitorImportDialog.h"
#include "MyDocument.h"
#include "SessionLog.h"
#include "SessionLogTransport.h"
#include "TestHelpers.h"
#include "TestMain.h"
#include "UndoManager.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// A record taken on 2024-06-<day> at 08:00 with pulse 60, for `user` when given.
QByteArray recordLine(int systolic, int diastolic, int day, int user = -1)
{
    QByteArray line = u"< 2a35 %1 %2 00 %3 00 60 00 e8 07 06 %4 08 00 00 3c 00"_s
                          .arg(user < 0 ? 0x06 : 0x0e, 2, 16, QLatin1Char('0'))
                          .arg(systolic, 2, 16, QLatin1Char('0'))
                          .arg(diastolic, 2, 16, QLatin1Char('0'))
                          .arg(day, 2, 16, QLatin1Char('0'))
                          .toLatin1();
    if (user >= 0)
        line += ' ' + QByteArray::number(user, 16).rightJustified(2, '0');
    return line + '\n';
}

// Features, the monitor's clock (2024-06-20 09:00:00), three records counted and requested.
const QByteArray kStart = "< 2a49 27 00\n"
                          "< 2a2b e8 07 06 14 09 00 00 04 00 00\n"
                          "> 2a52 0401\n< 2a52 05 00 03 00\n> 2a52 0101\n";
const QByteArray kSession = kStart + recordLine(0x78, 0x50, 1) + recordLine(0x82, 0x55, 2) +
                            recordLine(0x8c, 0x5a, 3) + "< 2a52 06 00 01 01\n";

// Hands out one monitor whose session is replayed from `log`, or reports a problem.
class FakeSource : public MonitorDeviceSource
{
public:
    static inline QByteArray log;
    static inline std::optional<Problem> problem;
    static inline QList<QByteArray> writes; // hex, every session's
    static inline QList<quint16> readOnly;  // characteristics the monitor does not let be written
    static inline QList<quint16> refusing;  // ... whose writes it refuses all the same

    using MonitorDeviceSource::MonitorDeviceSource;
    void startSearch() override
    {
        QTimer::singleShot(0, this, [this] {
            if (problem) {
                emit problemOccurred(*problem, QString());
                return;
            }
            emit deviceFound({u"BP 7"_s, u"00:1B:DC:0F:00:01"_s});
            emit searchFinished();
        });
    }
    void stopSearch() override {}
    MonitorTransport *createTransport(const MonitorDevice &, QObject *parent) override
    {
        auto *transport = new SessionLogTransport(SessionLog::parse(log).entries, parent);
        transport->setReadOnly(readOnly);
        transport->setRefusingWrites(refusing);
        connect(transport, &MonitorTransport::written, this,
                [](quint16, const QByteArray &value) { writes.append(value.toHex()); });
        return transport;
    }
};

QStringList column(const QTableWidget *table, int column)
{
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row)
        texts.append(table->item(row, column) ? table->item(row, column)->text() : QString());
    return texts;
}

// Opens the dialog, waits for the monitor to be listed and downloads with the keyboard.
void download(MonitorImportDialog &dialog)
{
    dialog.open();
    QTRY_COMPARE(dialog.deviceList()->count(), 1);
    QSignalSpy finished(&dialog, &MonitorImportDialog::downloadFinished);
    dialog.deviceList()->setFocus();
    QTest::keyClick(dialog.deviceList(), Qt::Key_Return);
    QVERIFY(dialog.isDownloading());
    QVERIFY(finished.wait(5000));
}

} // namespace

class TestMonitorDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::setTimeZone("Europe/Berlin"); }
    void init()
    {
        TestSupport::useLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        Dialogs::clearRecord();
        FakeSource::log = kSession;
        FakeSource::problem.reset();
        FakeSource::writes.clear();
        FakeSource::readOnly.clear();
        FakeSource::refusing.clear();
        pState = std::make_unique<QSettings>(pDir.filePath(u"state.ini"_s), QSettings::IniFormat);
        pState->clear();
        MonitorImportDialog::Environment environment;
        environment.createSource = [](QObject *parent) { return new FakeSource(parent); };
        environment.state = pState.get();
        // The computer's clock is ten minutes ahead of the monitor's.
        environment.clock = [] { return Date::fromComponents(2024, 6, 20, 9, 10); };
        MonitorImportDialog::setEnvironment(environment);
    }
    void cleanup() { MonitorImportDialog::resetEnvironment(); }

    void importsNewReadingsAsOneStepThenFindsThemDuplicates()
    {
        MyDocument document;
        {
            MonitorImportDialog dialog(&document);
            download(dialog);
            QCOMPARE(column(dialog.reviewTable(), 0), QStringList(3, u"New"_s));
            QCOMPARE(column(dialog.reviewTable(), 2), (QStringList{"120", "130", "140"}));
            QVERIFY(dialog.clockText().contains(u"10 minutes"_s));
            QVERIFY(!dialog.userChooser()->isVisible());
            QVERIFY(document.allItems().isEmpty());

            // The session's traffic goes to the chosen file and reads back as the same records.
            QTemporaryDir dir;
            Dialogs::setNextPath(dir.filePath(u"session"_s));
            const auto buttons = dialog.findChildren<QPushButton *>();
            for (QPushButton *button : buttons) {
                if (button->accessibleName() == qtTrId("monitor.dialog.save_log"))
                    QTest::mouseClick(button, Qt::LeftButton);
            }
            QTRY_VERIFY(QFile::exists(dir.filePath(u"session.log"_s)));
            QByteArray saved;
            QString error;
            QVERIFY(SessionLog::load(dir.filePath(u"session.log"_s), &saved, &error));
            QCOMPARE(MonitorImport::readLog(saved).readings.size(), 3);

            QSignalSpy imported(&dialog, &MonitorImportDialog::imported);
            QTest::mouseClick(dialog.importButton(), Qt::LeftButton);
            QCOMPARE(imported.size(), 1);
            QCOMPARE(imported.at(0).at(0).value<qsizetype>(), 3);
        }
        QCOMPARE(document.allItems().size(), 3);
        document.undoManager()->closeGroup();
        QCOMPARE(document.undoManager()->undoActionName(), qtTrId("doc.import_monitor"));
        document.undoManager()->undo();
        QVERIFY(document.allItems().isEmpty());
        document.undoManager()->redo();
        QCOMPARE(document.allItems().size(), 3);

        // The monitor is remembered and listed before the search ends; the next download asks
        // for the records after the last one imported, and what comes is already there.
        MonitorImportDialog again(&document);
        QCOMPARE(again.deviceList()->count(), 1);
        QVERIFY(again.deviceList()->item(0)->text().startsWith(u"BP 7 ("_s));
        FakeSource::writes.clear();
        download(again);
        QCOMPARE(FakeSource::writes.first(), QByteArray("0403010400"));
        QCOMPARE(column(again.reviewTable(), 0), QStringList(3, qtTrId("csv.import.duplicate")));
        QVERIFY(!again.importButton()->isEnabled());
        again.accept();
        QCOMPARE(document.allItems().size(), 3);
    }

    void droppedConnectionKeepsWhatArrivedAndCancelAddsNothing()
    {
        FakeSource::log = kStart + recordLine(0x78, 0x50, 1) + recordLine(0x82, 0x55, 2);
        MyDocument document;
        MonitorImportDialog dialog(&document);
        download(dialog);
        QCOMPARE(column(dialog.reviewTable(), 0), QStringList(2, u"New"_s));
        QVERIFY(dialog.importButton()->isEnabled());
        QVERIFY(dialog.statusText().contains(u"ended early"_s));
        QVERIFY(document.allItems().isEmpty());

        QSignalSpy finished(&dialog, &QDialog::finished);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.at(0).at(0).toInt(), int(QDialog::Rejected));
        QVERIFY(document.allItems().isEmpty());
        QVERIFY(!document.undoManager()->canUndo());
        // A cancelled import remembers no record to start from.
        QVERIFY(!pState->allKeys().join(u' ').contains(u"lastRecord"_s));
    }

    void chosenUserIsImported()
    {
        FakeSource::log = kStart + recordLine(0x78, 0x50, 1, 1) + recordLine(0x82, 0x55, 2, 2) +
                          recordLine(0x8c, 0x5a, 3, 2) + "< 2a52 06 00 01 01\n";
        MyDocument document;
        MonitorImportDialog dialog(&document);
        download(dialog);
        QVERIFY(dialog.userChooser()->isVisible());
        QCOMPARE(column(dialog.reviewTable(), 5), (QStringList{"1", "2", "2"}));
        dialog.userChooser()->setFocus();
        QTest::keyClick(dialog.userChooser(), Qt::Key_Down);
        QTest::keyClick(dialog.userChooser(), Qt::Key_Down);
        QCOMPARE(dialog.userChooser()->currentText(), u"User 2"_s);
        QCOMPARE(column(dialog.reviewTable(), 5), (QStringList{"2", "2"}));
        dialog.accept();
        QCOMPARE(document.allItems().size(), 2);
    }

    void explainsWhatToDo_data()
    {
        QTest::addColumn<int>("problem"); // -1: the build has no Bluetooth
        QTest::addColumn<QString>("key");
        QTest::newRow("no adapter")
            << int(MonitorDeviceSource::Problem::NoAdapter) << u"monitor.dialog.no_adapter"_s;
        QTest::newRow("Bluetooth off")
            << int(MonitorDeviceSource::Problem::BluetoothOff) << u"monitor.dialog.bluetooth_off"_s;
        QTest::newRow("no Bluetooth in the build") << -1 << u"monitor.dialog.unavailable"_s;
    }
    void explainsWhatToDo()
    {
        QFETCH(int, problem);
        QFETCH(QString, key);
        if (problem < 0) {
            MonitorImportDialog::Environment none;
            none.state = pState.get();
            MonitorImportDialog::setEnvironment(none);
            QVERIFY(!MonitorImportDialog::isAvailable());
            QCOMPARE(MonitorImportDialog::unavailableReason(), qtTrId(qPrintable(key)));
        } else {
            FakeSource::problem = MonitorDeviceSource::Problem(problem);
        }
        MyDocument document;
        MonitorImportDialog dialog(&document);
        dialog.open();
        QTRY_COMPARE(dialog.statusText(), qtTrId(qPrintable(key)));
        QVERIFY(!dialog.downloadButton()->isEnabled());
    }

    void pairingHintWhenNothingArrives()
    {
        FakeSource::log = QByteArray();
        MyDocument document;
        MonitorImportDialog dialog(&document);
        download(dialog);
        QCOMPARE(dialog.reviewTable()->rowCount(), 0);
        QVERIFY(dialog.statusText().contains(u"pair"_s));
    }

    // The monitor's clock ten minutes behind: Set Monitor's Clock writes the computer's time and
    // says so; a refused write says why and stays offered. Not offered for a clock within a
    // minute, nor where the monitor does not let its clock be set.
    void offersToSetTheMonitorsClock()
    {
        MyDocument document;
        FakeSource::refusing = {0x2A2B};
        MonitorImportDialog dialog(&document);
        download(dialog);
        QPushButton *button = dialog.setClockButton();
        QVERIFY(button->isVisible() && button->isEnabled());
        QSignalSpy set(&dialog, &MonitorImportDialog::clockSettingFinished);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Space);
        QVERIFY(dialog.isSettingClock());
        QVERIFY(!button->isEnabled() && !dialog.downloadButton()->isEnabled());
        QVERIFY(set.wait(5000));
        QCOMPARE(set.takeFirst().at(0).toBool(), false);
        QVERIFY2(dialog.clockText().contains(qtTrId("monitor.replay.write_refused").arg("2a2b")),
                 qPrintable(dialog.clockText()));
        QVERIFY(button->isVisible() && button->isEnabled());

        FakeSource::refusing.clear();
        FakeSource::writes.clear();
        QTest::keyClick(button, Qt::Key_Space);
        QVERIFY(set.wait(5000));
        QCOMPARE(set.takeFirst().at(0).toBool(), true);
        // 2024-06-20 09:10:00 on the computer's clock, a Thursday, set by hand.
        QCOMPARE(FakeSource::writes, QList<QByteArray>{"e8070614090a00040001"});
        QVERIFY(
            dialog.clockText().startsWith(qtTrId("monitor.dialog.clock_set").section(u'(', 0, 0)));
        QVERIFY(!button->isVisible());
        QVERIFY(dialog.importButton()->isEnabled()); // the review is untouched

        // Within a minute of the computer's clock; a clock that cannot be written.
        FakeSource::log.replace("e8 07 06 14 09 00 00", "e8 07 06 14 09 09 1e");
        MonitorImportDialog close(&document);
        download(close);
        QVERIFY(!close.setClockButton()->isVisible());
        FakeSource::log = kSession;
        FakeSource::readOnly = {0x2A2B};
        MonitorImportDialog readOnly(&document);
        download(readOnly);
        QVERIFY(readOnly.clockText().contains(u"10 minutes"_s));
        QVERIFY(!readOnly.setClockButton()->isVisible());
    }

    void everyControlIsNamedInBothLanguages()
    {
        for (const char *language : {"en", "de"}) {
            const QLocale locale{QString::fromLatin1(language)};
            QLocale::setDefault(locale);
            Localization::install(locale);
            MyDocument document;
            MonitorImportDialog dialog(&document);
            download(dialog);
            for (QWidget *widget : dialog.findChildren<QWidget *>()) {
                if (widget->focusPolicy() != Qt::NoFocus && widget->isVisible() &&
                    !widget->inherits("QScrollBar") && !widget->inherits("QHeaderView"))
                    QVERIFY2(!widget->accessibleName().isEmpty(),
                             widget->metaObject()->className());
            }
        }
    }

private:
    QTemporaryDir pDir;
    std::unique_ptr<QSettings> pState;
};

TENSILO_TEST_MAIN(TestMonitorDialog)
#include "tst_monitordialog.moc"
