#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

// One running Tensilo per user. A second start hands its files to the running one over a local
// socket that only this user can reach, and exits; the running one hears argumentsReceived()
// (no files: the user asked to reopen the application).
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &serverName = defaultServerName(),
                            QObject *parent = nullptr);
    ~SingleInstance() override;

    // A socket in the user's runtime folder, named with the user's id, so that users on one
    // machine never meet.
    static QString defaultServerName();
    QString serverName() const { return strServerName; }

    // True when a running instance took the files (absolute paths); false when none runs.
    bool sendToRunning(const QStringList &files, int timeoutMs = 3000);
    // Becomes the running instance; a socket left by a crashed one is replaced.
    bool listen();

signals:
    void argumentsReceived(const QStringList &files);

private:
    void onNewConnection();

    QString strServerName;
    QLocalServer *pServer = nullptr;
};
