#pragma once

#include "MonitorDevices.h"
#include "MonitorTransport.h"

#include <QBluetoothDeviceInfo>
#include <QHash>
#include <QList>
#include <QLowEnergyService>
#include <QPointer>

class QBluetoothDeviceDiscoveryAgent;
class QLowEnergyController;

// A monitor over Bluetooth Low Energy: the transport's requests on a low-energy controller and the
// blood-pressure and current-time services it discovers. Pairing is left to the system: a monitor
// that insists on it before it answers fails with the controller's reason.
class BluetoothTransport : public MonitorTransport
{
    Q_OBJECT
public:
    explicit BluetoothTransport(const QBluetoothDeviceInfo &device, QObject *parent = nullptr);
    ~BluetoothTransport() override;

    void connectToDevice() override;
    void discoverCharacteristics() override;
    QList<quint16> characteristics() const override { return pCharacteristics; }
    bool canWrite(quint16 characteristic) const override;
    void enableIndications(quint16 characteristic) override;
    void read(quint16 characteristic) override;
    void write(quint16 characteristic, const QByteArray &value) override;
    void disconnectFromDevice() override;

private:
    struct Found
    {
        QLowEnergyService *service = nullptr;
        QLowEnergyCharacteristic characteristic;
    };
    Found find(quint16 characteristic) const;
    void failLater(Error error, const QString &detail);
    void onServicesDiscovered();
    void onServiceState(QLowEnergyService::ServiceState state);
    void watch(QLowEnergyService *service);

    QBluetoothDeviceInfo pDevice;
    QLowEnergyController *pController = nullptr;
    QList<QLowEnergyService *> pServices;
    QList<quint16> pCharacteristics;
    bool bConnected = false;
};

// Searches the air for monitors that offer the blood-pressure service.
class BluetoothDeviceSource : public MonitorDeviceSource
{
    Q_OBJECT
public:
    explicit BluetoothDeviceSource(QObject *parent = nullptr);

    void startSearch() override;
    void stopSearch() override;
    MonitorTransport *createTransport(const MonitorDevice &device, QObject *parent) override;

private:
    void onDevice(const QBluetoothDeviceInfo &info);

    QBluetoothDeviceDiscoveryAgent *pAgent = nullptr;
    QHash<QString, QBluetoothDeviceInfo> pFound; // by address
};
