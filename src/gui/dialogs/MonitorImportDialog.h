#pragma once

#include "Date.h"
#include "MonitorDevices.h"
#include "MonitorDownload.h"
#include "MonitorImport.h"

#include <QBuffer>
#include <QDialog>
#include <QList>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class MyDocument;
class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSettings;
class QTableWidget;

// File › Import from Monitor…: finds the monitors nearby (those remembered from earlier imports
// first), downloads the readings of the one chosen, shows its clock against the computer's and
// lists every record as new, already in the document or refused before anything is imported.
// A monitor whose clock is off by more than a minute (or cannot tell its time) and lets it be set
// is offered to have it set to the computer's.
// Import adds the new readings as one undo step ("doc.import_monitor"). A connection that drops
// keeps what arrived. The session's traffic is kept so that it can be saved as a session log.
// Open with open().
class MonitorImportDialog : public QDialog
{
    Q_OBJECT
public:
    // Where monitors, their transports, the remembered monitors and the time come from.
    struct Environment
    {
        // Nothing: this build cannot reach monitors.
        std::function<MonitorDeviceSource *(QObject *parent)> createSource;
        QSettings *state = nullptr;  // the application's settings when null
        std::function<Date()> clock; // Date::now() when empty
        int quietInterval = 5000;    // ms, for monitors without a control point
    };
    // The environment dialogs opened from now on use (tests); the default searches by Bluetooth
    // when the build has it.
    static void setEnvironment(const Environment &environment);
    static void resetEnvironment();
    // Whether monitors can be reached at all; when not, the reason, for the menu item.
    static bool isAvailable();
    static QString unavailableReason();

    explicit MonitorImportDialog(MyDocument *document, QWidget *parent = nullptr);
    ~MonitorImportDialog() override;

    QListWidget *deviceList() const { return pDevices; }
    QTableWidget *reviewTable() const { return pReview; }
    QPushButton *downloadButton() const { return pDownload; }
    QPushButton *importButton() const { return pImport; }
    QComboBox *userChooser() const { return pUser; }
    QPushButton *setClockButton() const { return pSetClock; }
    QString statusText() const;
    QString clockText() const;
    bool isDownloading() const { return pTask != nullptr; }
    bool isSettingClock() const { return pClockTask != nullptr; }
    const MonitorImport::Result &result() const { return pResult; }

    // How many clock seconds apart the monitor and the computer may be without a warning.
    static constexpr double kClockTolerance = 5 * 60;
    // How many seconds apart they may be before setting the monitor's clock is offered.
    static constexpr double kClockSetTolerance = 60;

public slots:
    void accept() override;
    void reject() override;

signals:
    void imported(qsizetype count);
    void downloadFinished();
    void clockSettingFinished(bool succeeded);

private:
    void search();
    void addDevice(const MonitorDevice &device, bool remembered);
    void onProblem(MonitorDeviceSource::Problem problem, const QString &detail);
    void startDownload();
    void stopDownload();
    void onProgress(int received, int expected);
    void onFinished();
    void remember(const MonitorDevice &device);
    void fillUsers();
    void review();
    void saveLog();
    void setClock();
    void onClockSet(bool succeeded);
    void updateButtons();
    QSettings *state();

    MyDocument *pDocument;
    Environment pEnvironment;
    std::unique_ptr<QSettings> pOwnState;
    QPointer<MonitorDeviceSource> pSource;
    QPointer<MonitorTransport> pTransport;
    QPointer<MonitorDownload> pTask;
    QPointer<MonitorClockSetting> pClockTask;
    bool bOfferClock = false;
    MonitorDevice pCurrent;
    std::optional<quint16> pFirstRecord;
    std::optional<uint> pLastRecord; // the monitor's number of the last record downloaded
    QBuffer pLog;
    QList<MonitorValue> pRecords;
    MonitorImport::Result pResult;
    bool bSearching = false;

    QListWidget *pDevices;
    QLabel *pStatus;
    QPushButton *pSearch;
    QPushButton *pDownload;
    QProgressBar *pProgress;
    QLabel *pReceived;
    QPushButton *pStop;
    QLabel *pClock;
    QPushButton *pSetClock;
    QLabel *pUserLabel;
    QComboBox *pUser;
    QTableWidget *pReview;
    QLabel *pSummary;
    QPushButton *pSaveLog;
    QPushButton *pImport;
};
