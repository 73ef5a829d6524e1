#include "MonitorDownload.h"

#include "LocalTimeOffsets.h"

using namespace MonitorProtocol;

MonitorDownload::MonitorDownload(MonitorTransport *transport, const Options &options,
                                 QObject *parent)
    : QObject(parent), pTransport(transport), pOptions(options)
{
    if (!pOptions.clock)
        pOptions.clock = [] { return Date::now(); };
    pTimer.setSingleShot(true);
    connect(&pTimer, &QTimer::timeout, this, &MonitorDownload::onTimeout);
}

void MonitorDownload::setState(State state)
{
    if (nState == state)
        return;
    nState = state;
    emit stateChanged(state);
}

void MonitorDownload::waitForAnswer()
{
    pTimer.start(pOptions.responseTimeout);
}

void MonitorDownload::start()
{
    if (nState != State::Idle || !pTransport)
        return;
    connect(pTransport, &MonitorTransport::connected, this, &MonitorDownload::onConnected);
    connect(pTransport, &MonitorTransport::discovered, this, &MonitorDownload::onDiscovered);
    connect(pTransport, &MonitorTransport::indicationsEnabled, this,
            &MonitorDownload::onIndicationsEnabled);
    connect(pTransport, &MonitorTransport::valueArrived, this, &MonitorDownload::onValue);
    connect(pTransport, &MonitorTransport::disconnected, this, &MonitorDownload::onDisconnected);
    connect(pTransport, &MonitorTransport::errorOccurred, this, &MonitorDownload::onError);
    setState(State::Connecting);
    waitForAnswer();
    pTransport->connectToDevice();
}

void MonitorDownload::cancel()
{
    if (nState != State::Idle && nState != State::Disconnecting && nState != State::Finished)
        finish(false, qtTrId("monitor.download.cancelled"));
}

void MonitorDownload::onConnected()
{
    if (nState != State::Connecting)
        return;
    setState(State::Discovering);
    waitForAnswer();
    pTransport->discoverCharacteristics();
}

void MonitorDownload::onDiscovered()
{
    if (nState != State::Discovering)
        return;
    if (!pTransport->hasCharacteristic(kMeasurement)) {
        finish(false, qtTrId("monitor.download.not_a_monitor"));
        return;
    }
    pResult.bClockWritable = pTransport->canWrite(kCurrentTime);
    setState(State::EnablingIndications);
    waitForAnswer();
    nPendingIndications = 1;
    pTransport->enableIndications(kMeasurement);
    if (pTransport->hasCharacteristic(kControlPoint)) {
        ++nPendingIndications;
        pTransport->enableIndications(kControlPoint);
    }
}

void MonitorDownload::onIndicationsEnabled(quint16)
{
    if (nState == State::EnablingIndications && --nPendingIndications == 0)
        readFeaturesOrNext();
}

void MonitorDownload::readFeaturesOrNext()
{
    if (!pTransport->hasCharacteristic(kFeature)) {
        readClockOrNext();
        return;
    }
    setState(State::ReadingFeatures);
    waitForAnswer();
    pTransport->read(kFeature);
}

void MonitorDownload::readClockOrNext()
{
    if (!pTransport->hasCharacteristic(kCurrentTime)) {
        requestRecords();
        return;
    }
    setState(State::ReadingClock);
    waitForAnswer();
    pTransport->read(kCurrentTime);
}

void MonitorDownload::requestRecords()
{
    if (!pTransport->hasCharacteristic(kControlPoint)) {
        setState(State::Collecting);
        pTimer.start(pOptions.quietInterval);
        return;
    }
    bFiltered = pOptions.firstRecordNumber.has_value();
    setState(State::CountingRecords);
    waitForAnswer();
    pTransport->write(kControlPoint,
                      bFiltered ? ControlPoint::requestFrom(ControlPoint::ReportNumberOfRecords,
                                                            *pOptions.firstRecordNumber)
                                : ControlPoint::request(ControlPoint::ReportNumberOfRecords));
}

void MonitorDownload::askForRecords()
{
    setState(State::Transferring);
    waitForAnswer();
    pTransport->write(kControlPoint,
                      bFiltered ? ControlPoint::requestFrom(ControlPoint::ReportStoredRecords,
                                                            *pOptions.firstRecordNumber)
                                : ControlPoint::request(ControlPoint::ReportStoredRecords));
}

void MonitorDownload::onValue(const MonitorValue &value)
{
    if (nState == State::Finished || nState == State::Idle)
        return;
    switch (value.characteristic) {
    case kMeasurement:
        pResult.records.append(value);
        emit progress(int(pResult.records.size()),
                      pResult.storedRecordCount ? int(*pResult.storedRecordCount) : -1);
        if (nState == State::Collecting)
            pTimer.start(pOptions.quietInterval);
        else if (nState == State::Transferring)
            waitForAnswer();
        break;
    case kFeature:
        if (nState == State::ReadingFeatures) {
            pResult.features = decodeFeatures(value.bytes);
            readClockOrNext();
        }
        break;
    case kCurrentTime:
        if (nState == State::ReadingClock) {
            LocalTimeOffsets offsets;
            const Date monitor = decodeCurrentTime(value.bytes, offsets);
            if (!monitor.isNull())
                pResult.clockOffset = monitor.timeIntervalSinceReferenceDate() -
                                      pOptions.clock().timeIntervalSinceReferenceDate();
            requestRecords();
        }
        break;
    case kControlPoint:
        onControlPoint(value);
        break;
    default:
        break;
    }
}

void MonitorDownload::onControlPoint(const MonitorValue &value)
{
    const std::optional<ControlPoint::Message> message = ControlPoint::decode(value.bytes);
    if (!message)
        return;
    const auto cannotFilter = [](quint8 response) {
        return response == ControlPoint::InvalidOperator ||
               response == ControlPoint::OperatorNotSupported ||
               response == ControlPoint::InvalidOperand ||
               response == ControlPoint::OperandNotSupported;
    };
    if (nState == State::CountingRecords) {
        if (message->op == ControlPoint::NumberOfRecordsResponse) {
            pResult.storedRecordCount = message->count;
            if (message->count == 0)
                finish(true);
            else
                askForRecords();
        } else if (message->op == ControlPoint::ResponseCode) {
            // Counting is a courtesy: ask for the records all the same.
            if (bFiltered && cannotFilter(message->response))
                bFiltered = false;
            askForRecords();
        }
        return;
    }
    if (nState != State::Transferring || message->op != ControlPoint::ResponseCode ||
        message->requestOp != ControlPoint::ReportStoredRecords)
        return;
    if (message->response == ControlPoint::Success ||
        message->response == ControlPoint::NoRecordsFound) {
        finish(true);
    } else if (bFiltered && cannotFilter(message->response)) {
        bFiltered = false;
        askForRecords();
    } else {
        finish(
            false,
            qtTrId("monitor.download.refused").arg(ControlPoint::responseText(message->response)));
    }
}

void MonitorDownload::onDisconnected()
{
    switch (nState) {
    case State::Idle:
    case State::Finished:
        return;
    case State::Disconnecting:
        break;
    case State::Collecting:
        // Monitors without a control point hang up when they have sent everything.
        pResult.bComplete = true;
        break;
    default:
        pResult.bComplete = false;
        pResult.error = qtTrId("monitor.download.connection_lost");
        break;
    }
    pTimer.stop();
    setState(State::Finished);
    emit finished();
}

void MonitorDownload::onError(MonitorTransport::Error error, const QString &detail)
{
    if (nState == State::Finished || nState == State::Disconnecting)
        return;
    // The features and the clock are extras: go on without them.
    if (error == MonitorTransport::Error::ReadFailed && nState == State::ReadingFeatures) {
        readClockOrNext();
        return;
    }
    if (error == MonitorTransport::Error::ReadFailed && nState == State::ReadingClock) {
        requestRecords();
        return;
    }
    if (error == MonitorTransport::Error::ConnectFailed) {
        pTimer.stop();
        pResult.error = detail;
        setState(State::Finished);
        emit finished();
        return;
    }
    finish(false, detail);
}

void MonitorDownload::onTimeout()
{
    switch (nState) {
    case State::Collecting:
        finish(true);
        break;
    case State::Disconnecting:
        setState(State::Finished);
        emit finished();
        break;
    case State::Connecting:
        pResult.error = qtTrId("monitor.download.no_answer");
        setState(State::Finished);
        emit finished();
        break;
    default:
        finish(false, qtTrId("monitor.download.no_answer"));
        break;
    }
}

void MonitorDownload::finish(bool complete, const QString &error)
{
    pResult.bComplete = complete;
    pResult.error = complete ? QString() : error;
    setState(State::Disconnecting);
    pTimer.start(pOptions.responseTimeout);
    if (pTransport)
        pTransport->disconnectFromDevice();
}

// --- Setting the clock ---------------------------------------------------------------------------

MonitorClockSetting::MonitorClockSetting(MonitorTransport *transport, std::function<Date()> clock,
                                         QObject *parent)
    : QObject(parent), pTransport(transport), pClock(std::move(clock))
{
    if (!pClock)
        pClock = [] { return Date::now(); };
    pTimer.setSingleShot(true);
    connect(&pTimer, &QTimer::timeout, this, [this] {
        if (nStep == Step::Disconnecting)
            done();
        else
            fail(qtTrId("monitor.download.no_answer"));
    });
}

void MonitorClockSetting::start()
{
    if (nStep != Step::Idle)
        return;
    if (!pTransport) {
        end(false, qtTrId("monitor.download.connection_lost"));
        return;
    }
    connect(pTransport, &MonitorTransport::connected, this, &MonitorClockSetting::onConnected);
    connect(pTransport, &MonitorTransport::discovered, this, &MonitorClockSetting::onDiscovered);
    connect(pTransport, &MonitorTransport::written, this, &MonitorClockSetting::onWritten);
    connect(pTransport, &MonitorTransport::disconnected, this,
            &MonitorClockSetting::onDisconnected);
    connect(pTransport, &MonitorTransport::errorOccurred, this, &MonitorClockSetting::onError);
    nStep = Step::Connecting;
    pTimer.start(nResponseTimeout);
    pTransport->connectToDevice();
}

void MonitorClockSetting::onConnected()
{
    if (nStep != Step::Connecting)
        return;
    nStep = Step::Discovering;
    pTimer.start(nResponseTimeout);
    pTransport->discoverCharacteristics();
}

void MonitorClockSetting::onDiscovered()
{
    if (nStep != Step::Discovering)
        return;
    if (!pTransport->canWrite(kCurrentTime)) {
        fail(qtTrId("monitor.clock.not_settable"));
        return;
    }
    LocalTimeOffsets offsets;
    const QByteArray value = encodeCurrentTime(pClock(), offsets);
    if (value.isEmpty()) {
        fail(qtTrId("monitor.clock.not_settable"));
        return;
    }
    nStep = Step::Writing;
    pTimer.start(nResponseTimeout);
    pTransport->write(kCurrentTime, value);
}

void MonitorClockSetting::onWritten(quint16 characteristic)
{
    if (nStep == Step::Writing && characteristic == kCurrentTime)
        end(true, QString());
}

void MonitorClockSetting::onDisconnected()
{
    if (nStep == Step::Disconnecting)
        done();
    else if (nStep != Step::Idle && nStep != Step::Finished) {
        bSucceeded = false;
        strError = qtTrId("monitor.download.connection_lost");
        done();
    }
}

void MonitorClockSetting::onError(MonitorTransport::Error error, const QString &detail)
{
    if (nStep == Step::Idle || nStep == Step::Disconnecting || nStep == Step::Finished)
        return;
    if (error == MonitorTransport::Error::ConnectFailed) {
        bSucceeded = false;
        strError = detail;
        done(); // never connected: nothing to hang up
        return;
    }
    fail(detail.isEmpty() ? qtTrId("monitor.clock.refused") : detail);
}

void MonitorClockSetting::fail(const QString &error)
{
    end(false, error);
}

void MonitorClockSetting::end(bool succeeded, const QString &error)
{
    bSucceeded = succeeded;
    strError = error;
    if (!pTransport) {
        done();
        return;
    }
    nStep = Step::Disconnecting;
    pTimer.start(nResponseTimeout);
    pTransport->disconnectFromDevice();
}

void MonitorClockSetting::done()
{
    if (nStep == Step::Finished)
        return;
    nStep = Step::Finished;
    pTimer.stop();
    emit finished(bSucceeded);
}
