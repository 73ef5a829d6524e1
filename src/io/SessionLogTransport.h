#pragma once

#include "MonitorTransport.h"
#include "SessionLog.h"

#include <QSet>

#include <functional>

// Plays a recorded session back as the monitor did. The monitor has the blood-pressure
// measurement and the characteristics the log names (unless told otherwise). The log is a
// script, followed in order:
//   - a received value of a characteristic with indications on arrives by itself;
//   - a received value of any other characteristic is the answer to a read, given when the
//     characteristic is read (a read of a characteristic whose value stands further on is
//     answered from there; one with no value left fails);
//   - a sent value is where the monitor waits until the characteristic is written; the bytes
//     written need not be the logged ones.
// At the end of the log the monitor disconnects, unless told to stay.
class SessionLogTransport : public MonitorTransport
{
    Q_OBJECT
public:
    explicit SessionLogTransport(const QList<SessionLog::Entry> &entries,
                                 QObject *parent = nullptr);

    // False: the monitor stays connected and silent at the end of the log.
    void setDisconnectAtEnd(bool disconnect) { bDisconnectAtEnd = disconnect; }
    void setCharacteristics(const QList<quint16> &characteristics)
    {
        pCharacteristics = characteristics;
    }
    // Characteristics the monitor does not let be written.
    void setReadOnly(const QList<quint16> &characteristics) { pReadOnly = characteristics; }
    // Characteristics the monitor says can be written but whose writes it refuses.
    void setRefusingWrites(const QList<quint16> &characteristics) { pRefusing = characteristics; }
    // What was written to the monitor, in order.
    const QList<std::pair<quint16, QByteArray>> &writes() const { return pWrites; }

    void connectToDevice() override;
    void discoverCharacteristics() override;
    QList<quint16> characteristics() const override { return pCharacteristics; }
    bool canWrite(quint16 characteristic) const override
    {
        return hasCharacteristic(characteristic) && !pReadOnly.contains(characteristic);
    }
    void enableIndications(quint16 characteristic) override;
    void read(quint16 characteristic) override;
    void write(quint16 characteristic, const QByteArray &value) override;
    void disconnectFromDevice() override;

private:
    void later(std::function<void()> step);
    void schedulePump();
    void pump();
    MonitorValue valueOf(const SessionLog::Entry &entry) const;
    void dropConnection();

    QList<SessionLog::Entry> pEntries;
    QList<bool> pConsumed;
    QList<quint16> pCharacteristics;
    QList<quint16> pReadOnly;
    QList<quint16> pRefusing;
    QSet<quint16> pIndicating;
    QList<std::pair<quint16, QByteArray>> pWrites;
    qsizetype nCursor = 0;
    bool bConnected = false;
    bool bDisconnecting = false;
    bool bPumpScheduled = false;
    bool bDisconnectAtEnd = true;
};
