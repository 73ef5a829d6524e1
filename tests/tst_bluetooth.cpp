// The Bluetooth transport and search without a monitor: what a computer without an adapter (as
// the test machines are) answers, and that every answer comes later, never inside the call.

#include "BluetoothMonitors.h"
#include "MonitorProtocol.h"
#include "TestMain.h"

#include <QBluetoothLocalDevice>
#include <QSignalSpy>
#include <QtTest>

class TestBluetooth : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (QBluetoothLocalDevice().isValid())
            QSKIP("this computer has a Bluetooth adapter");
    }

    void searchWithoutAdapterSaysSo()
    {
        BluetoothDeviceSource source;
        QSignalSpy problems(&source, &MonitorDeviceSource::problemOccurred);
        QSignalSpy found(&source, &MonitorDeviceSource::deviceFound);
        source.startSearch();
        QCOMPARE(problems.size(), 0);
        QVERIFY(problems.wait(5000));
        QCOMPARE(problems.at(0).at(0).value<MonitorDeviceSource::Problem>(),
                 MonitorDeviceSource::Problem::NoAdapter);
        QCOMPARE(found.size(), 0);
        source.stopSearch();
    }

    void transportWithoutAdapterFailsLater()
    {
        BluetoothDeviceSource source;
        std::unique_ptr<MonitorTransport> transport(source.createTransport(
            {QStringLiteral("BP"), QStringLiteral("00:1B:DC:0F:00:01")}, nullptr));
        QVERIFY(transport);
        QSignalSpy errors(transport.get(), &MonitorTransport::errorOccurred);
        QSignalSpy disconnected(transport.get(), &MonitorTransport::disconnected);
        QSignalSpy connected(transport.get(), &MonitorTransport::connected);

        transport->read(MonitorProtocol::kFeature);
        QCOMPARE(errors.size(), 0);
        QVERIFY(errors.wait(5000));
        QCOMPARE(errors.at(0).at(0).value<MonitorTransport::Error>(),
                 MonitorTransport::Error::NoSuchCharacteristic);

        transport->connectToDevice();
        QTRY_COMPARE(errors.size(), 2);
        QCOMPARE(errors.at(1).at(0).value<MonitorTransport::Error>(),
                 MonitorTransport::Error::ConnectFailed);
        QCOMPARE(connected.size(), 0);

        transport->disconnectFromDevice();
        QCOMPARE(disconnected.size(), 0);
        QTRY_COMPARE(disconnected.size(), 1);
    }
};

TENSILO_TEST_MAIN(TestBluetooth)
#include "tst_bluetooth.moc"
