#include "SessionLogTransport.h"

#include "MonitorProtocol.h"

#include <QTimer>

#include <algorithm>

SessionLogTransport::SessionLogTransport(const QList<SessionLog::Entry> &entries, QObject *parent)
    : MonitorTransport(parent), pEntries(entries), pConsumed(entries.size(), false),
      pCharacteristics({MonitorProtocol::kMeasurement})
{
    for (const SessionLog::Entry &entry : entries) {
        if (!pCharacteristics.contains(entry.characteristic))
            pCharacteristics.append(entry.characteristic);
    }
    std::sort(pCharacteristics.begin(), pCharacteristics.end());
}

void SessionLogTransport::later(std::function<void()> step)
{
    QTimer::singleShot(0, this, std::move(step));
}

void SessionLogTransport::connectToDevice()
{
    later([this] {
        if (pEntries.isEmpty()) {
            emit errorOccurred(Error::ConnectFailed, qtTrId("monitor.replay.empty"));
            return;
        }
        bConnected = true;
        emit connected();
    });
}

void SessionLogTransport::discoverCharacteristics()
{
    later([this] {
        if (bConnected)
            emit discovered();
    });
}

void SessionLogTransport::enableIndications(quint16 characteristic)
{
    later([this, characteristic] {
        if (!bConnected)
            return;
        if (!pCharacteristics.contains(characteristic)) {
            emit errorOccurred(Error::IndicationsFailed,
                               qtTrId("monitor.replay.no_characteristic")
                                   .arg(characteristic, 4, 16, QLatin1Char('0')));
            return;
        }
        pIndicating.insert(characteristic);
        emit indicationsEnabled(characteristic);
        schedulePump();
    });
}

void SessionLogTransport::read(quint16 characteristic)
{
    later([this, characteristic] {
        if (!bConnected)
            return;
        for (qsizetype i = nCursor; i < pEntries.size(); ++i) {
            const SessionLog::Entry &entry = pEntries.at(i);
            if (!pConsumed.at(i) && entry.direction == SessionLog::Direction::Received &&
                entry.characteristic == characteristic) {
                pConsumed[i] = true;
                emit valueArrived(valueOf(entry));
                schedulePump();
                return;
            }
        }
        emit errorOccurred(
            Error::ReadFailed,
            qtTrId("monitor.replay.no_value").arg(characteristic, 4, 16, QLatin1Char('0')));
    });
}

void SessionLogTransport::write(quint16 characteristic, const QByteArray &value)
{
    later([this, characteristic, value] {
        if (!bConnected)
            return;
        if (!canWrite(characteristic) || pRefusing.contains(characteristic)) {
            emit errorOccurred(Error::WriteFailed,
                               qtTrId("monitor.replay.write_refused")
                                   .arg(characteristic, 4, 16, QLatin1Char('0')));
            return;
        }
        for (qsizetype i = nCursor; i < pEntries.size(); ++i) {
            const SessionLog::Entry &entry = pEntries.at(i);
            if (!pConsumed.at(i) && entry.direction == SessionLog::Direction::Sent &&
                entry.characteristic == characteristic) {
                pConsumed[i] = true;
                break;
            }
        }
        pWrites.append({characteristic, value});
        emit written(characteristic, value);
        schedulePump();
    });
}

void SessionLogTransport::disconnectFromDevice()
{
    bDisconnecting = true;
    later([this] { dropConnection(); });
}

void SessionLogTransport::dropConnection()
{
    if (!bConnected)
        return;
    bConnected = false;
    bDisconnecting = false;
    emit disconnected();
}

void SessionLogTransport::schedulePump()
{
    if (bPumpScheduled)
        return;
    bPumpScheduled = true;
    later([this] {
        bPumpScheduled = false;
        pump();
    });
}

// Runs the script on: the values that arrive by themselves, in one go, up to the next value that
// waits for a read or a write, or to the end.
void SessionLogTransport::pump()
{
    while (bConnected && !bDisconnecting) {
        while (nCursor < pEntries.size() && pConsumed.at(nCursor))
            ++nCursor;
        if (nCursor == pEntries.size()) {
            if (bDisconnectAtEnd)
                dropConnection();
            return;
        }
        const SessionLog::Entry &entry = pEntries.at(nCursor);
        if (entry.direction == SessionLog::Direction::Sent ||
            !pIndicating.contains(entry.characteristic))
            return; // waits for a write or a read
        pConsumed[nCursor] = true;
        ++nCursor;
        emit valueArrived(valueOf(entry));
    }
}

MonitorValue SessionLogTransport::valueOf(const SessionLog::Entry &entry) const
{
    return {entry.characteristic, entry.value, entry.time, entry.line};
}
