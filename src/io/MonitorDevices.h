#pragma once

#include "MonitorTransport.h"

#include <QMetaType>
#include <QObject>
#include <QString>

// A monitor found nearby, offering the blood-pressure service.
struct MonitorDevice
{
    QString name;
    QString address; // how the system names the device (a Bluetooth address or identifier)
};
Q_DECLARE_METATYPE(MonitorDevice)

// Finds monitors and opens transports to them. The Bluetooth implementation searches the air;
// tests hand out devices and replayed sessions.
class MonitorDeviceSource : public QObject
{
    Q_OBJECT
public:
    enum class Problem
    {
        NoAdapter,    // the computer has no Bluetooth
        BluetoothOff, // it has, but Bluetooth is switched off
        NotAllowed,   // the system does not let the application search
        Other
    };
    Q_ENUM(Problem)

    using QObject::QObject;

    // Searches for monitors: deviceFound() for each, then searchFinished(), or problemOccurred().
    virtual void startSearch() = 0;
    virtual void stopSearch() = 0;
    // A transport to the device, owned by `parent`; nothing when it cannot be reached at all.
    virtual MonitorTransport *createTransport(const MonitorDevice &device, QObject *parent) = 0;

signals:
    void deviceFound(const MonitorDevice &device);
    void searchFinished();
    void problemOccurred(MonitorDeviceSource::Problem problem, const QString &detail);
};
