#include "BluetoothMonitors.h"

#include "BluetoothSource.h"
#include "MonitorProtocol.h"

#include <QBluetoothAddress>
#include <QBluetoothDeviceDiscoveryAgent>
#include <QBluetoothLocalDevice>
#include <QBluetoothUuid>
#include <QLowEnergyController>
#include <QLowEnergyDescriptor>
#include <QTimer>

namespace {

QBluetoothUuid uuid16(quint16 value)
{
    return QBluetoothUuid(value);
}

quint16 shortUuid(const QBluetoothUuid &uuid)
{
    bool ok = false;
    const quint16 value = uuid.toUInt16(&ok);
    return ok ? value : 0;
}

} // namespace

// --- BluetoothTransport -------------------------------------------------------------------------

BluetoothTransport::BluetoothTransport(const QBluetoothDeviceInfo &device, QObject *parent)
    : MonitorTransport(parent), pDevice(device)
{}

BluetoothTransport::~BluetoothTransport()
{
    if (pController)
        pController->disconnect(this);
}

void BluetoothTransport::failLater(Error error, const QString &detail)
{
    QTimer::singleShot(0, this, [this, error, detail] { emit errorOccurred(error, detail); });
}

void BluetoothTransport::connectToDevice()
{
    if (!pController) {
        pController = QLowEnergyController::createCentral(pDevice, this);
        connect(pController, &QLowEnergyController::connected, this, [this] {
            bConnected = true;
            emit connected();
        });
        connect(pController, &QLowEnergyController::disconnected, this, [this] {
            bConnected = false;
            emit disconnected();
        });
        connect(pController, &QLowEnergyController::errorOccurred, this,
                [this](QLowEnergyController::Error error) {
                    const QString detail = pController->errorString();
                    if (!bConnected || error == QLowEnergyController::AuthorizationError)
                        emit errorOccurred(Error::ConnectFailed, detail);
                    else
                        emit errorOccurred(Error::Other, detail);
                });
        connect(pController, &QLowEnergyController::discoveryFinished, this,
                &BluetoothTransport::onServicesDiscovered);
    }
    if (pController->error() == QLowEnergyController::InvalidBluetoothAdapterError) {
        failLater(Error::ConnectFailed, pController->errorString());
        return;
    }
    pController->connectToDevice();
}

void BluetoothTransport::discoverCharacteristics()
{
    if (!pController || !bConnected) {
        failLater(Error::Other, QString());
        return;
    }
    pController->discoverServices();
}

void BluetoothTransport::onServicesDiscovered()
{
    for (quint16 id :
         {MonitorProtocol::kBloodPressureService, MonitorProtocol::kCurrentTimeService}) {
        if (!pController->services().contains(uuid16(id)))
            continue;
        QLowEnergyService *service = pController->createServiceObject(uuid16(id), this);
        if (!service)
            continue;
        pServices.append(service);
        watch(service);
    }
    if (pServices.isEmpty()) {
        emit discovered(); // no characteristics: the download reports what is missing
        return;
    }
    for (QLowEnergyService *service : std::as_const(pServices))
        service->discoverDetails();
}

void BluetoothTransport::watch(QLowEnergyService *service)
{
    connect(service, &QLowEnergyService::stateChanged, this, &BluetoothTransport::onServiceState);
    connect(service, &QLowEnergyService::characteristicChanged, this,
            [this](const QLowEnergyCharacteristic &c, const QByteArray &value) {
                emit valueArrived({shortUuid(c.uuid()), value, Date::now(), 0});
            });
    connect(service, &QLowEnergyService::characteristicRead, this,
            [this](const QLowEnergyCharacteristic &c, const QByteArray &value) {
                emit valueArrived({shortUuid(c.uuid()), value, Date::now(), 0});
            });
    connect(service, &QLowEnergyService::characteristicWritten, this,
            [this](const QLowEnergyCharacteristic &c, const QByteArray &value) {
                emit written(shortUuid(c.uuid()), value);
            });
    connect(service, &QLowEnergyService::descriptorWritten, this,
            [this, service](const QLowEnergyDescriptor &d, const QByteArray &) {
                for (const QLowEnergyCharacteristic &c : service->characteristics()) {
                    if (c.clientCharacteristicConfiguration() == d)
                        emit indicationsEnabled(shortUuid(c.uuid()));
                }
            });
    connect(service, &QLowEnergyService::errorOccurred, this,
            [this, service](QLowEnergyService::ServiceError error) {
                switch (error) {
                case QLowEnergyService::CharacteristicReadError:
                case QLowEnergyService::DescriptorReadError:
                    emit errorOccurred(Error::ReadFailed, QString());
                    break;
                case QLowEnergyService::CharacteristicWriteError:
                    emit errorOccurred(Error::WriteFailed, QString());
                    break;
                case QLowEnergyService::DescriptorWriteError:
                    emit errorOccurred(Error::IndicationsFailed, QString());
                    break;
                default:
                    emit errorOccurred(Error::Other, QStringLiteral("service %1: error %2")
                                                         .arg(service->serviceUuid().toString())
                                                         .arg(int(error)));
                    break;
                }
            });
}

void BluetoothTransport::onServiceState(QLowEnergyService::ServiceState)
{
    for (QLowEnergyService *service : std::as_const(pServices)) {
        if (service->state() != QLowEnergyService::RemoteServiceDiscovered)
            return;
    }
    if (!pCharacteristics.isEmpty())
        return; // announced already
    for (QLowEnergyService *service : std::as_const(pServices)) {
        for (const QLowEnergyCharacteristic &c : service->characteristics()) {
            if (const quint16 id = shortUuid(c.uuid()))
                pCharacteristics.append(id);
        }
    }
    emit discovered();
}

BluetoothTransport::Found BluetoothTransport::find(quint16 characteristic) const
{
    for (QLowEnergyService *service : pServices) {
        const QLowEnergyCharacteristic c = service->characteristic(uuid16(characteristic));
        if (c.isValid())
            return {service, c};
    }
    return {};
}

bool BluetoothTransport::canWrite(quint16 characteristic) const
{
    // Only writes the monitor acknowledges: the transport answers a write with written().
    const Found found = find(characteristic);
    return found.service &&
           found.characteristic.properties().testFlag(QLowEnergyCharacteristic::Write);
}

void BluetoothTransport::enableIndications(quint16 characteristic)
{
    const Found found = find(characteristic);
    const QLowEnergyDescriptor descriptor =
        found.service ? found.characteristic.clientCharacteristicConfiguration()
                      : QLowEnergyDescriptor();
    if (!descriptor.isValid()) {
        failLater(Error::NoSuchCharacteristic, QString::number(characteristic, 16));
        return;
    }
    found.service->writeDescriptor(descriptor, MonitorProtocol::indicationsOn());
}

void BluetoothTransport::read(quint16 characteristic)
{
    const Found found = find(characteristic);
    if (!found.service) {
        failLater(Error::NoSuchCharacteristic, QString::number(characteristic, 16));
        return;
    }
    found.service->readCharacteristic(found.characteristic);
}

void BluetoothTransport::write(quint16 characteristic, const QByteArray &value)
{
    const Found found = find(characteristic);
    if (!found.service) {
        failLater(Error::NoSuchCharacteristic, QString::number(characteristic, 16));
        return;
    }
    found.service->writeCharacteristic(found.characteristic, value);
}

void BluetoothTransport::disconnectFromDevice()
{
    if (pController && pController->state() != QLowEnergyController::UnconnectedState) {
        pController->disconnectFromDevice();
        return;
    }
    QTimer::singleShot(0, this, [this] { emit disconnected(); });
}

// --- BluetoothDeviceSource ----------------------------------------------------------------------

BluetoothDeviceSource::BluetoothDeviceSource(QObject *parent) : MonitorDeviceSource(parent) {}

void BluetoothDeviceSource::startSearch()
{
    // What the agent would report less clearly: no adapter at all, or one switched off.
    const QBluetoothLocalDevice local;
    std::optional<Problem> problem;
    if (!local.isValid())
        problem = Problem::NoAdapter;
    else if (local.hostMode() == QBluetoothLocalDevice::HostPoweredOff)
        problem = Problem::BluetoothOff;
    if (problem) {
        QTimer::singleShot(0, this, [this, problem] { emit problemOccurred(*problem, QString()); });
        return;
    }
    if (!pAgent) {
        pAgent = new QBluetoothDeviceDiscoveryAgent(this);
        pAgent->setLowEnergyDiscoveryTimeout(15000);
        connect(pAgent, &QBluetoothDeviceDiscoveryAgent::deviceDiscovered, this,
                &BluetoothDeviceSource::onDevice);
        connect(pAgent, &QBluetoothDeviceDiscoveryAgent::deviceUpdated, this,
                [this](const QBluetoothDeviceInfo &info) { onDevice(info); });
        connect(pAgent, &QBluetoothDeviceDiscoveryAgent::finished, this,
                &MonitorDeviceSource::searchFinished);
        connect(pAgent, &QBluetoothDeviceDiscoveryAgent::errorOccurred, this,
                [this](QBluetoothDeviceDiscoveryAgent::Error error) {
                    switch (error) {
                    case QBluetoothDeviceDiscoveryAgent::PoweredOffError:
                        emit problemOccurred(Problem::BluetoothOff, pAgent->errorString());
                        break;
                    case QBluetoothDeviceDiscoveryAgent::InvalidBluetoothAdapterError:
                        emit problemOccurred(Problem::NoAdapter, pAgent->errorString());
                        break;
                    case QBluetoothDeviceDiscoveryAgent::LocationServiceTurnedOffError:
                    case QBluetoothDeviceDiscoveryAgent::MissingPermissionsError:
                        emit problemOccurred(Problem::NotAllowed, pAgent->errorString());
                        break;
                    default:
                        emit problemOccurred(Problem::Other, pAgent->errorString());
                        break;
                    }
                });
    }
    pAgent->start(QBluetoothDeviceDiscoveryAgent::LowEnergyMethod);
}

void BluetoothDeviceSource::stopSearch()
{
    if (pAgent && pAgent->isActive())
        pAgent->stop();
}

void BluetoothDeviceSource::onDevice(const QBluetoothDeviceInfo &info)
{
    if (!(info.coreConfigurations() & QBluetoothDeviceInfo::LowEnergyCoreConfiguration) ||
        !info.serviceUuids().contains(uuid16(MonitorProtocol::kBloodPressureService)))
        return;
    const QString address =
        info.address().isNull() ? info.deviceUuid().toString() : info.address().toString();
    const bool known = pFound.contains(address);
    pFound.insert(address, info);
    if (!known)
        emit deviceFound({info.name(), address});
}

MonitorTransport *BluetoothDeviceSource::createTransport(const MonitorDevice &device,
                                                         QObject *parent)
{
    QBluetoothDeviceInfo info = pFound.value(device.address);
    if (!info.isValid()) {
        // A monitor remembered from before, not seen in this search.
        info = QBluetoothDeviceInfo(QBluetoothAddress(device.address), device.name, 0);
        info.setCoreConfigurations(QBluetoothDeviceInfo::LowEnergyCoreConfiguration);
    }
    return new BluetoothTransport(info, parent);
}

MonitorDeviceSource *createBluetoothDeviceSource(QObject *parent)
{
    return new BluetoothDeviceSource(parent);
}
