#pragma once

#include "MonitorProtocol.h"
#include "MonitorTransport.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <optional>

// Fetches the stored measurement records from a monitor over a transport:
//
//   connect, discover, indications on for the records (and the control point), read the
//   features and the monitor's clock where it has them, then
//   - with a record access control point: ask for the number of records, then for all stored
//     records (or, when the caller knows where the last import ended and the monitor numbers
//     its records, for those from that number on, falling back to all when the monitor cannot
//     filter), until the monitor answers the request;
//   - without one: collect the records the monitor sends until it disconnects or stays quiet
//     for quietInterval;
//   then disconnect.
//
// Records are kept as they arrive, undecoded (MonitorImport decodes and checks them): a
// connection that drops keeps what came before. finished() comes once, after which result()
// holds everything.
class MonitorDownload : public QObject
{
    Q_OBJECT
public:
    enum class State
    {
        Idle,
        Connecting,
        Discovering,
        EnablingIndications,
        ReadingFeatures,
        ReadingClock,
        CountingRecords,
        Transferring, // asked the control point for the records
        Collecting,   // no control point: taking what the monitor sends
        Disconnecting,
        Finished
    };
    Q_ENUM(State)

    struct Options
    {
        // The sequence number of the first record wanted; none: every stored record.
        std::optional<quint16> firstRecordNumber;
        int quietInterval = 5000;    // ms without a record that ends collecting
        int responseTimeout = 30000; // ms a request may go unanswered
        std::function<Date()> clock; // the computer's clock; Date::now() when empty
    };

    struct Result
    {
        QList<MonitorValue> records; // the measurement values in the order they came
        std::optional<MonitorProtocol::Features> features;
        std::optional<quint16> storedRecordCount; // as the control point counted them
        std::optional<double>
            clockOffset;             // seconds the monitor's clock is ahead (negative: behind)
        bool bClockWritable = false; // the monitor lets its clock be set
        bool bComplete = false;      // every record the monitor meant to send came
        QString error;               // why not, in the current language; empty when complete
    };

    explicit MonitorDownload(MonitorTransport *transport, QObject *parent = nullptr)
        : MonitorDownload(transport, Options(), parent)
    {}
    MonitorDownload(MonitorTransport *transport, const Options &options, QObject *parent = nullptr);

    void start();
    // Ends a download that is under way, keeping what has come.
    void cancel();

    State state() const { return nState; }
    const Result &result() const { return pResult; }

signals:
    void stateChanged(MonitorDownload::State state);
    // A record came; `expected` is the number of records the monitor announced, or -1.
    void progress(int received, int expected);
    void finished();

private:
    void setState(State state);
    void onConnected();
    void onDiscovered();
    void onIndicationsEnabled(quint16 characteristic);
    void onValue(const MonitorValue &value);
    void onControlPoint(const MonitorValue &value);
    void onDisconnected();
    void onError(MonitorTransport::Error error, const QString &detail);
    void onTimeout();
    void readFeaturesOrNext();
    void readClockOrNext();
    void requestRecords();
    void askForRecords();
    void finish(bool complete, const QString &error = QString());
    void waitForAnswer();

    QPointer<MonitorTransport> pTransport;
    Options pOptions;
    Result pResult;
    State nState = State::Idle;
    QTimer pTimer;
    int nPendingIndications = 0;
    bool bFiltered = false; // the current request asks from a record number on
};

// Sets a monitor's clock to the computer's over a transport of its own: connect, discover, write
// the current time (read from the clock at the moment of writing), disconnect. finished() comes
// once; a monitor whose clock cannot be written, a refused write, a dropped connection and a
// monitor that does not answer end it unsuccessfully, with the reason.
class MonitorClockSetting : public QObject
{
    Q_OBJECT
public:
    MonitorClockSetting(MonitorTransport *transport, std::function<Date()> clock,
                        QObject *parent = nullptr);

    void start();
    // Valid after finished().
    bool succeeded() const { return bSucceeded; }
    QString error() const { return strError; }
    // How long a request may go unanswered, in ms.
    void setResponseTimeout(int milliseconds) { nResponseTimeout = milliseconds; }

signals:
    void finished(bool succeeded);

private:
    enum class Step
    {
        Idle,
        Connecting,
        Discovering,
        Writing,
        Disconnecting,
        Finished
    };
    void onConnected();
    void onDiscovered();
    void onWritten(quint16 characteristic);
    void onDisconnected();
    void onError(MonitorTransport::Error error, const QString &detail);
    void fail(const QString &error);
    void end(bool succeeded, const QString &error);
    void done();

    QPointer<MonitorTransport> pTransport;
    std::function<Date()> pClock;
    QTimer pTimer;
    Step nStep = Step::Idle;
    int nResponseTimeout = 30000;
    bool bSucceeded = false;
    QString strError;
};
