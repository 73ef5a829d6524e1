#include "MonitorImportDialog.h"

#include "BloodPressureRecord.h"
#include "Dialogs.h"
#include "MonitorProtocol.h"
#include "MyDocument.h"
#include "SessionLog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>
#include <set>
#include <tuple>

#ifdef TENSILO_HAVE_BLUETOOTH
#include "BluetoothSource.h"
#endif

namespace {

MonitorImportDialog::Environment defaultEnvironment()
{
    MonitorImportDialog::Environment environment;
#ifdef TENSILO_HAVE_BLUETOOTH
    environment.createSource = &createBluetoothDeviceSource;
#endif
    return environment;
}

MonitorImportDialog::Environment &currentEnvironment()
{
    static MonitorImportDialog::Environment environment = defaultEnvironment();
    return environment;
}

const QString kGroup = QStringLiteral("Monitors");

// The settings group of a remembered monitor: its address, hex-encoded so that any address
// makes one key.
QString groupOf(const QString &address)
{
    return kGroup + u'/' + QString::fromLatin1(address.toUtf8().toHex());
}

enum Column
{
    StatusColumn,
    DateColumn,
    SystolicColumn,
    DiastolicColumn,
    PulseColumn,
    UserColumn,
    ColumnCount
};

QString numberText(const QVariant &value)
{
    return value.isValid() ? QLocale().toString(value.toDouble()) : QString();
}

} // namespace

void MonitorImportDialog::setEnvironment(const Environment &environment)
{
    currentEnvironment() = environment;
}

void MonitorImportDialog::resetEnvironment()
{
    currentEnvironment() = defaultEnvironment();
}

bool MonitorImportDialog::isAvailable()
{
    return bool(currentEnvironment().createSource);
}

QString MonitorImportDialog::unavailableReason()
{
    return isAvailable() ? QString() : qtTrId("monitor.dialog.unavailable");
}

MonitorImportDialog::MonitorImportDialog(MyDocument *document, QWidget *parent)
    : QDialog(parent), pDocument(document), pEnvironment(currentEnvironment())
{
    setWindowTitle(qtTrId("monitor.dialog.title"));
    setWindowModality(Qt::WindowModal);

    auto *devicesLabel = new QLabel(qtTrId("monitor.dialog.devices"), this);
    pDevices = new QListWidget(this);
    pDevices->setAccessibleName(qtTrId("monitor.dialog.devices"));
    pDevices->setMaximumHeight(fontMetrics().height() * 6);
    devicesLabel->setBuddy(pDevices);
    pStatus = new QLabel(this);
    pStatus->setWordWrap(true);
    pStatus->setAccessibleName(qtTrId("monitor.dialog.status"));
    pSearch = new QPushButton(qtTrId("monitor.dialog.search"), this);
    pSearch->setAccessibleName(qtTrId("monitor.dialog.search"));
    pDownload = new QPushButton(qtTrId("monitor.dialog.download"), this);
    pDownload->setAccessibleName(qtTrId("monitor.dialog.download"));
    pDownload->setAutoDefault(false);
    pSearch->setAutoDefault(false);

    pProgress = new QProgressBar(this);
    pProgress->setAccessibleName(qtTrId("monitor.dialog.progress"));
    pProgress->setRange(0, 1);
    pProgress->setValue(0);
    pReceived = new QLabel(this);
    pStop = new QPushButton(qtTrId("monitor.dialog.stop"), this);
    pStop->setAccessibleName(qtTrId("monitor.dialog.stop"));
    pStop->setAutoDefault(false);
    pClock = new QLabel(this);
    pClock->setWordWrap(true);
    pClock->setAccessibleName(qtTrId("monitor.dialog.clock"));
    pSetClock = new QPushButton(qtTrId("monitor.dialog.set_clock"), this);
    pSetClock->setAccessibleName(qtTrId("monitor.dialog.set_clock"));
    pSetClock->setAutoDefault(false);
    pSetClock->hide();

    pUserLabel = new QLabel(qtTrId("monitor.dialog.user"), this);
    pUser = new QComboBox(this);
    pUser->setAccessibleName(qtTrId("monitor.dialog.user"));
    pUserLabel->setBuddy(pUser);

    pReview = new QTableWidget(0, ColumnCount, this);
    pReview->setAccessibleName(qtTrId("monitor.dialog.review"));
    pReview->setHorizontalHeaderLabels(
        {qtTrId("csv.import.status"), qtTrId("monitor.dialog.column.date"),
         qtTrId("monitor.dialog.column.systolic"), qtTrId("monitor.dialog.column.diastolic"),
         qtTrId("monitor.dialog.column.pulse"), qtTrId("monitor.dialog.column.user")});
    pReview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pReview->setSelectionBehavior(QAbstractItemView::SelectRows);
    pReview->verticalHeader()->hide();
    pReview->horizontalHeader()->setStretchLastSection(true);
    pReview->setTabKeyNavigation(false);
    pSummary = new QLabel(this);
    pSummary->setWordWrap(true);
    pSummary->setAccessibleName(qtTrId("monitor.dialog.summary"));

    auto *buttons = new QDialogButtonBox(this);
    pSaveLog = buttons->addButton(qtTrId("monitor.dialog.save_log"), QDialogButtonBox::ActionRole);
    pSaveLog->setAccessibleName(qtTrId("monitor.dialog.save_log"));
    pSaveLog->setAutoDefault(false);
    pImport = buttons->addButton(qtTrId("csv.import.button"), QDialogButtonBox::AcceptRole);
    pImport->setAccessibleName(qtTrId("csv.import.button"));
    QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setText(qtTrId("monitor.dialog.cancel"));
    cancel->setAccessibleName(qtTrId("monitor.dialog.cancel"));
    cancel->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(devicesLabel);
    layout->addWidget(pDevices);
    auto *deviceRow = new QHBoxLayout;
    deviceRow->addWidget(pStatus, 1);
    deviceRow->addWidget(pSearch);
    deviceRow->addWidget(pDownload);
    layout->addLayout(deviceRow);
    auto *progressRow = new QHBoxLayout;
    progressRow->addWidget(pProgress, 1);
    progressRow->addWidget(pReceived);
    progressRow->addWidget(pStop);
    layout->addLayout(progressRow);
    auto *clockRow = new QHBoxLayout;
    clockRow->addWidget(pClock, 1);
    clockRow->addWidget(pSetClock, 0, Qt::AlignTop);
    layout->addLayout(clockRow);
    auto *userRow = new QHBoxLayout;
    userRow->addWidget(pUserLabel);
    userRow->addWidget(pUser);
    userRow->addStretch(1);
    layout->addLayout(userRow);
    layout->addWidget(pReview, 1);
    layout->addWidget(pSummary);
    layout->addWidget(buttons);
    resize(640, 560);

    connect(pSearch, &QPushButton::clicked, this, &MonitorImportDialog::search);
    connect(pDownload, &QPushButton::clicked, this, &MonitorImportDialog::startDownload);
    connect(pDevices, &QListWidget::itemActivated, this, &MonitorImportDialog::startDownload);
    connect(pDevices, &QListWidget::currentRowChanged, this, &MonitorImportDialog::updateButtons);
    connect(pStop, &QPushButton::clicked, this, &MonitorImportDialog::stopDownload);
    connect(pSaveLog, &QPushButton::clicked, this, &MonitorImportDialog::saveLog);
    connect(pSetClock, &QPushButton::clicked, this, &MonitorImportDialog::setClock);
    connect(pUser, &QComboBox::currentIndexChanged, this, &MonitorImportDialog::review);
    connect(buttons, &QDialogButtonBox::accepted, this, &MonitorImportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MonitorImportDialog::reject);

    // The monitors remembered from earlier imports come first, by name.
    QSettings *settings = state();
    settings->beginGroup(kGroup);
    QList<MonitorDevice> remembered;
    for (const QString &group : settings->childGroups()) {
        MonitorDevice device{settings->value(group + QLatin1String("/name")).toString(),
                             settings->value(group + QLatin1String("/address")).toString()};
        if (!device.address.isEmpty())
            remembered.append(device);
    }
    settings->endGroup();
    std::sort(remembered.begin(), remembered.end(), [](const auto &a, const auto &b) {
        return std::tie(a.name, a.address) < std::tie(b.name, b.address);
    });
    for (const MonitorDevice &device : remembered)
        addDevice(device, true);
    if (pDevices->count() > 0)
        pDevices->setCurrentRow(0);

    pLog.open(QIODevice::ReadWrite);
    if (pEnvironment.createSource) {
        pSource = pEnvironment.createSource(this);
        connect(pSource, &MonitorDeviceSource::deviceFound, this,
                [this](const MonitorDevice &device) { addDevice(device, false); });
        connect(pSource, &MonitorDeviceSource::searchFinished, this, [this] {
            bSearching = false;
            if (!pTask)
                pStatus->setText(pDevices->count() > 0 ? qtTrId("monitor.dialog.choose")
                                                       : qtTrId("monitor.dialog.none_found"));
            updateButtons();
        });
        connect(pSource, &MonitorDeviceSource::problemOccurred, this,
                &MonitorImportDialog::onProblem);
        search();
    } else {
        pStatus->setText(qtTrId("monitor.dialog.unavailable"));
    }
    pDevices->setFocus();
    review();
}

MonitorImportDialog::~MonitorImportDialog()
{
    if (pTask)
        pTask->disconnect(this);
    if (pClockTask)
        pClockTask->disconnect(this);
}

QSettings *MonitorImportDialog::state()
{
    if (pEnvironment.state)
        return pEnvironment.state;
    if (!pOwnState)
        pOwnState = std::make_unique<QSettings>();
    return pOwnState.get();
}

QString MonitorImportDialog::statusText() const
{
    return pStatus->text();
}

QString MonitorImportDialog::clockText() const
{
    return pClock->text();
}

void MonitorImportDialog::search()
{
    if (!pSource)
        return;
    bSearching = true;
    pStatus->setText(qtTrId("monitor.dialog.searching"));
    updateButtons();
    pSource->startSearch();
}

void MonitorImportDialog::addDevice(const MonitorDevice &device, bool remembered)
{
    for (int row = 0; row < pDevices->count(); ++row) {
        if (pDevices->item(row)->data(Qt::UserRole + 1).toString() == device.address)
            return;
    }
    const QString name = device.name.isEmpty() ? qtTrId("monitor.dialog.unnamed") : device.name;
    auto *item = new QListWidgetItem(
        qtTrId(remembered ? "monitor.dialog.device_remembered" : "monitor.dialog.device")
            .arg(name, device.address));
    item->setData(Qt::UserRole, device.name);
    item->setData(Qt::UserRole + 1, device.address);
    pDevices->addItem(item);
    if (pDevices->currentRow() < 0)
        pDevices->setCurrentRow(0);
    updateButtons();
}

void MonitorImportDialog::onProblem(MonitorDeviceSource::Problem problem, const QString &detail)
{
    bSearching = false;
    switch (problem) {
    case MonitorDeviceSource::Problem::NoAdapter:
        pStatus->setText(qtTrId("monitor.dialog.no_adapter"));
        break;
    case MonitorDeviceSource::Problem::BluetoothOff:
        pStatus->setText(qtTrId("monitor.dialog.bluetooth_off"));
        break;
    case MonitorDeviceSource::Problem::NotAllowed:
        pStatus->setText(qtTrId("monitor.dialog.not_allowed"));
        break;
    case MonitorDeviceSource::Problem::Other:
        pStatus->setText(qtTrId("monitor.dialog.search_failed").arg(detail));
        break;
    }
    updateButtons();
}

void MonitorImportDialog::startDownload()
{
    QListWidgetItem *item = pDevices->currentItem();
    if (pTask || pClockTask || !pSource || !item)
        return;
    pSource->stopSearch();
    bSearching = false;
    pCurrent = {item->data(Qt::UserRole).toString(), item->data(Qt::UserRole + 1).toString()};
    pTransport = pSource->createTransport(pCurrent, this);
    if (!pTransport) {
        pStatus->setText(qtTrId("monitor.dialog.failed").arg(QString()));
        return;
    }

    MonitorDownload::Options options;
    options.clock = pEnvironment.clock;
    options.quietInterval = pEnvironment.quietInterval;
    pFirstRecord.reset();
    pLastRecord.reset();
    const QVariant last = state()->value(groupOf(pCurrent.address) + QLatin1String("/lastRecord"));
    if (last.isValid() && last.toUInt() < 0xFFFF)
        pFirstRecord = quint16(last.toUInt() + 1);
    options.firstRecordNumber = pFirstRecord;

    pLog.buffer().clear();
    pLog.seek(0);
    SessionLog::Writer writer(&pLog);
    writer.comment(QStringLiteral("%1 %2").arg(pCurrent.name, pCurrent.address));
    writer.record(pTransport);

    pTask = new MonitorDownload(pTransport, options, this);
    connect(pTask, &MonitorDownload::progress, this, &MonitorImportDialog::onProgress);
    connect(pTask, &MonitorDownload::finished, this, &MonitorImportDialog::onFinished);
    pRecords.clear();
    pClock->clear();
    bOfferClock = false;
    pProgress->setRange(0, 0);
    pReceived->setText(qtTrId("monitor.dialog.received").arg(0));
    pStatus->setText(qtTrId("monitor.dialog.downloading").arg(item->text()));
    review();
    pTask->start();
    pStop->setFocus();
}

void MonitorImportDialog::stopDownload()
{
    if (pTask)
        pTask->cancel();
}

void MonitorImportDialog::onProgress(int received, int expected)
{
    if (expected > 0) {
        pProgress->setRange(0, expected);
        pProgress->setValue(std::min(received, expected));
    }
    pReceived->setText(qtTrId("monitor.dialog.received").arg(received));
}

void MonitorImportDialog::onFinished()
{
    MonitorDownload *task = pTask;
    pTask = nullptr;
    const MonitorDownload::Result &result = task->result();
    pRecords = result.records;
    pProgress->setRange(0, 1);
    pProgress->setValue(1);
    pReceived->setText(qtTrId("monitor.dialog.received").arg(pRecords.size()));

    if (result.clockOffset) {
        const Date now = pEnvironment.clock ? pEnvironment.clock() : Date::now();
        const Date monitor =
            Date::fromTimeIntervalSince1970(now.timeIntervalSince1970() + *result.clockOffset);
        const QLocale locale;
        QString text = qtTrId("monitor.dialog.clock_compare")
                           .arg(locale.toString(monitor.toDateTime(), QLocale::ShortFormat),
                                locale.toString(now.toDateTime(), QLocale::ShortFormat));
        if (std::abs(*result.clockOffset) > kClockTolerance)
            text += u' ' + qtTrId("monitor.dialog.clock_warning")
                               .arg(qRound(std::abs(*result.clockOffset) / 60));
        pClock->setText(text);
    } else {
        pClock->setText(qtTrId("monitor.dialog.no_clock"));
    }
    // Offered where the monitor lets its clock be set and it is off, or its time is not known.
    bOfferClock = result.bClockWritable &&
                  (!result.clockOffset || std::abs(*result.clockOffset) > kClockSetTolerance);

    if (result.bComplete) {
        pStatus->setText(qtTrId("monitor.dialog.done"));
        remember(pCurrent);
        // A monitor that counted its records (with the filter, when one was asked for) numbers
        // them from 1 and sent those from the first asked for.
        if (result.storedRecordCount)
            pLastRecord = (pFirstRecord ? uint(*pFirstRecord) - 1 : 0) + uint(pRecords.size());
    } else if (pRecords.isEmpty()) {
        pStatus->setText(qtTrId("monitor.dialog.failed").arg(result.error));
    } else {
        pStatus->setText(qtTrId("monitor.dialog.incomplete").arg(result.error));
    }
    if (pTransport)
        pTransport->deleteLater();
    task->deleteLater();
    fillUsers();
    review();
    emit downloadFinished();
}

void MonitorImportDialog::remember(const MonitorDevice &device)
{
    QSettings *settings = state();
    const QString group = groupOf(device.address);
    settings->setValue(group + QLatin1String("/name"), device.name);
    settings->setValue(group + QLatin1String("/address"), device.address);
}

void MonitorImportDialog::fillUsers()
{
    std::set<quint8> users;
    for (const MonitorValue &value : std::as_const(pRecords)) {
        const auto record = BloodPressureRecord::decode(value.bytes);
        if (record && record->userId && *record->userId != BloodPressureRecord::kUnknownUser)
            users.insert(*record->userId);
    }
    const QSignalBlocker blocker(pUser);
    pUser->clear();
    pUser->addItem(qtTrId("monitor.dialog.all_users"));
    for (quint8 user : users)
        pUser->addItem(qtTrId("monitor.dialog.user_number").arg(user), int(user));
    pUser->setVisible(users.size() > 1);
    pUserLabel->setVisible(users.size() > 1);
}

void MonitorImportDialog::review()
{
    MonitorImport::Options options;
    if (pUser->currentData().isValid())
        options.userId = quint8(pUser->currentData().toInt());
    pResult = MonitorImport::read(pRecords, options, pDocument);

    // One row per record: each is read alone, against nothing and against the document, and
    // checked against the records before it.
    pReview->setRowCount(0);
    std::set<std::tuple<qint64, QString, QString>> seen;
    for (const MonitorValue &value : std::as_const(pRecords)) {
        const auto record = BloodPressureRecord::decode(value.bytes);
        // The record's user, or -1 when it names none.
        const int user =
            record && record->userId && *record->userId != BloodPressureRecord::kUnknownUser
                ? int(*record->userId)
                : -1;
        if (options.userId && user >= 0 && user != int(*options.userId))
            continue;
        const MonitorImport::Result alone = MonitorImport::read({value});
        QString status;
        MeasurementPtr reading = alone.readings.value(0);
        if (!reading) {
            status = qtTrId("monitor.dialog.refused")
                         .arg(alone.problems.isEmpty() ? QString() : alone.problems[0].reason);
        } else {
            const auto key =
                std::tuple(qint64(std::floor(reading->theWholeDate().timeIntervalSince1970())),
                           reading->Systolic().toString(), reading->Diastolic().toString());
            const bool repeated = !seen.insert(key).second;
            if (repeated || MonitorImport::read({value}, {}, pDocument).duplicateCount > 0)
                status = qtTrId("csv.import.duplicate");
            else
                status = qtTrId("monitor.dialog.new");
        }
        const int row = pReview->rowCount();
        pReview->insertRow(row);
        const auto set = [&](int column, const QString &text) {
            pReview->setItem(row, column, new QTableWidgetItem(text));
        };
        set(StatusColumn, status);
        if (reading) {
            set(DateColumn,
                QLocale().toString(reading->theWholeDate().toDateTime(), QLocale::ShortFormat));
            set(SystolicColumn, numberText(reading->Systolic()));
            set(DiastolicColumn, numberText(reading->Diastolic()));
            set(PulseColumn, numberText(reading->Pulse()));
        }
        set(UserColumn, user >= 0 ? QString::number(user) : QString());
    }
    pReview->resizeColumnsToContents();

    if (!pRecords.isEmpty() || pResult.problemCount > 0)
        pSummary->setText(qtTrId("monitor.dialog.summary")
                              .arg(pResult.readings.size())
                              .arg(pResult.duplicateCount)
                              .arg(pResult.problemCount));
    else
        pSummary->clear();
    updateButtons();
}

void MonitorImportDialog::setClock()
{
    if (pTask || pClockTask || !pSource || pCurrent.address.isEmpty())
        return;
    MonitorTransport *transport = pSource->createTransport(pCurrent, this);
    if (!transport) {
        onClockSet(false);
        return;
    }
    SessionLog::Writer(&pLog).record(transport);
    pClockTask = new MonitorClockSetting(transport, pEnvironment.clock, this);
    transport->setParent(pClockTask); // goes with the task
    connect(pClockTask, &MonitorClockSetting::finished, this, &MonitorImportDialog::onClockSet);
    pClock->setText(qtTrId("monitor.dialog.setting_clock"));
    updateButtons();
    pClockTask->start();
}

void MonitorImportDialog::onClockSet(bool succeeded)
{
    MonitorClockSetting *task = pClockTask;
    pClockTask = nullptr;
    const QString error = task ? task->error() : qtTrId("monitor.download.no_answer");
    if (succeeded) {
        const Date now = pEnvironment.clock ? pEnvironment.clock() : Date::now();
        pClock->setText(qtTrId("monitor.dialog.clock_set")
                            .arg(QLocale().toString(now.toDateTime(), QLocale::ShortFormat)));
        bOfferClock = false;
    } else {
        pClock->setText(qtTrId("monitor.dialog.clock_not_set").arg(error));
    }
    if (task)
        task->deleteLater();
    updateButtons();
    if (pSetClock->isVisible())
        pSetClock->setFocus();
    emit clockSettingFinished(succeeded);
}

void MonitorImportDialog::updateButtons()
{
    const bool busy = pTask != nullptr || pClockTask != nullptr;
    pDownload->setEnabled(!busy && pSource && pDevices->currentItem());
    pSearch->setEnabled(!busy && pSource && !bSearching);
    pDevices->setEnabled(!busy);
    pStop->setEnabled(pTask != nullptr);
    pSaveLog->setEnabled(!busy && !pLog.buffer().isEmpty());
    pImport->setEnabled(!busy && !pResult.readings.isEmpty());
    pSetClock->setVisible(bOfferClock);
    pSetClock->setEnabled(!busy);
    pImport->setDefault(pImport->isEnabled());
    pDownload->setDefault(!pImport->isEnabled());
}

void MonitorImportDialog::saveLog()
{
    QPointer<MonitorImportDialog> self(this);
    Dialogs::chooseSavePath(
        this, qtTrId("monitor.dialog.save_log.caption"),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
        qtTrId("monitor.dialog.save_log.filter"), QStringLiteral("log"),
        [self](const QString &path) {
            if (!self || path.isEmpty())
                return;
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                file.write(self->pLog.buffer()) != self->pLog.buffer().size() || !file.flush())
                Dialogs::informText(self, qtTrId("monitor.dialog.save_log.failed"),
                                    file.errorString());
        });
}

void MonitorImportDialog::accept()
{
    if (pTask || pClockTask || pResult.readings.isEmpty())
        return;
    const qsizetype added = MonitorImport::apply(pResult, pDocument);
    if (added > 0 && !pCurrent.address.isEmpty()) {
        const QString group = groupOf(pCurrent.address);
        const Date newest = std::max_element(pResult.readings.cbegin(), pResult.readings.cend(),
                                             [](const auto &a, const auto &b) {
                                                 return a->theWholeDate() < b->theWholeDate();
                                             })
                                ->get()
                                ->theWholeDate();
        state()->setValue(group + QLatin1String("/lastImported"), newest.toDateTime());
        if (pLastRecord)
            state()->setValue(group + QLatin1String("/lastRecord"), *pLastRecord);
    }
    emit imported(added);
    QDialog::accept();
}

void MonitorImportDialog::reject()
{
    if (pTask) {
        pTask->disconnect(this);
        pTask->cancel();
    }
    if (pClockTask)
        pClockTask->disconnect(this); // it ends by itself and goes with the window
    QDialog::reject();
}
