#pragma once

#include "Date.h"

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>

// A value that came from a monitor (an indication or the answer to a read).
struct MonitorValue
{
    quint16 characteristic = 0;
    QByteArray bytes;
    Date receivedAt; // on the computer's clock; null when not known
    qint64 line = 0; // where it stands in a session log (0: a live session)
};
Q_DECLARE_TYPEINFO(MonitorValue, Q_RELOCATABLE_TYPE);
Q_DECLARE_METATYPE(MonitorValue)

// The way to a monitor, by 16-bit characteristic identifiers. Every request is answered later,
// by a signal, never from inside the call: connectToDevice() by connected(),
// discoverCharacteristics() by discovered(), enableIndications() by indicationsEnabled(), read()
// by valueArrived() with the answer, write() by written(), disconnectFromDevice() by
// disconnected(). Indications arrive through valueArrived() too. A request that fails is answered
// by errorOccurred(); a connection that drops by disconnected() without having been asked.
//
// SessionLogTransport replays a recorded session; a Bluetooth implementation maps the requests
// onto a low-energy controller and the services it discovers.
class MonitorTransport : public QObject
{
    Q_OBJECT
public:
    enum class Error
    {
        ConnectFailed,
        NoSuchCharacteristic,
        ReadFailed,
        WriteFailed,
        IndicationsFailed,
        Other
    };
    Q_ENUM(Error)

    using QObject::QObject;

    virtual void connectToDevice() = 0;
    virtual void discoverCharacteristics() = 0;
    // The characteristics found, valid after discovered().
    virtual QList<quint16> characteristics() const = 0;
    bool hasCharacteristic(quint16 characteristic) const
    {
        return characteristics().contains(characteristic);
    }
    // Whether the monitor lets the characteristic be written (valid after discovered()).
    virtual bool canWrite(quint16 characteristic) const
    {
        return hasCharacteristic(characteristic);
    }
    // Writes "indications on" to the characteristic's client configuration descriptor.
    virtual void enableIndications(quint16 characteristic) = 0;
    virtual void read(quint16 characteristic) = 0;
    virtual void write(quint16 characteristic, const QByteArray &value) = 0;
    virtual void disconnectFromDevice() = 0;

signals:
    void connected();
    void discovered();
    void indicationsEnabled(quint16 characteristic);
    void valueArrived(const MonitorValue &value);
    void written(quint16 characteristic, const QByteArray &value);
    void disconnected();
    void errorOccurred(MonitorTransport::Error error, const QString &detail);
};
