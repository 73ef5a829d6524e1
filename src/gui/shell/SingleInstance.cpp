#include "SingleInstance.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>

#include <unistd.h>

namespace {

constexpr qint64 kLargestMessage = 1 << 20;

} // namespace

SingleInstance::SingleInstance(const QString &serverName, QObject *parent)
    : QObject(parent), strServerName(serverName)
{}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultServerName()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/tensilo-%1.socket").arg(getuid());
}

bool SingleInstance::sendToRunning(const QStringList &files, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(strServerName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    const QByteArray message =
        QJsonDocument(QJsonArray::fromStringList(files)).toJson(QJsonDocument::Compact) + '\n';
    socket.write(message);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The running instance answers once it has taken the files.
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readLine().trimmed() == "ok";
}

bool SingleInstance::listen()
{
    if (!pServer) {
        pServer = new QLocalServer(this);
        pServer->setSocketOptions(QLocalServer::UserAccessOption);
        connect(pServer, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    }
    // Someone answers there: not ours to take (a socket with access options would otherwise be
    // moved over the running one's). Nobody answers: a crashed instance's socket, or none.
    QLocalSocket probe;
    probe.connectToServer(strServerName);
    if (probe.waitForConnected(500))
        return false;
    QLocalServer::removeServer(strServerName);
    return pServer->listen(strServerName);
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket *socket = pServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kLargestMessage)
                    socket->abort();
                return;
            }
            const QJsonDocument json = QJsonDocument::fromJson(socket->readLine());
            if (!json.isArray()) {
                socket->abort();
                return;
            }
            QStringList files;
            for (const QJsonValue &value : json.array()) {
                if (value.isString() && QDir::isAbsolutePath(value.toString()))
                    files.append(value.toString());
            }
            socket->write("ok\n");
            socket->flush();
            emit argumentsReceived(files);
        });
    }
}
