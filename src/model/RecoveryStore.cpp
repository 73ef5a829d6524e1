#include "RecoveryStore.h"

#include "MyDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>

namespace {

bool writeWhole(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

} // namespace

RecoveryStore::RecoveryStore(QString fileExtension)
    : strDirectory(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                   QStringLiteral("/recovery")),
      strExtension(std::move(fileExtension))
{}

bool RecoveryStore::makeDirectory() const
{
    return QDir().mkpath(strDirectory);
}

QString RecoveryStore::copyPath(const QString &id) const
{
    return strDirectory + QLatin1Char('/') + id + QLatin1Char('.') + strExtension;
}

bool RecoveryStore::write(const MyDocument &document, QString *id, const Original &original,
                          QString *error) const
{
    if (id->isEmpty())
        *id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (!document.writeCopyToFile(copyPath(*id), error))
        return false;
    QJsonObject index;
    index.insert(QStringLiteral("original"), original.path);
    if (original.size >= 0) {
        index.insert(QStringLiteral("originalModified"),
                     original.modified.toUTC().toString(Qt::ISODateWithMs));
        index.insert(QStringLiteral("originalSize"), double(original.size));
    }
    index.insert(QStringLiteral("name"), original.displayName);
    index.insert(QStringLiteral("autosaved"),
                 QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    if (!writeWhole(strDirectory + QLatin1Char('/') + *id + QStringLiteral(".json"),
                    QJsonDocument(index).toJson())) {
        if (error)
            *error = QStringLiteral("cannot write the index");
        return false;
    }
    return true;
}

void RecoveryStore::remove(const QString &id) const
{
    if (id.isEmpty())
        return;
    QFile::remove(strDirectory + QLatin1Char('/') + id + QStringLiteral(".json"));
    QFile::remove(copyPath(id));
}

QList<RecoveryStore::Recovery> RecoveryStore::pending(const QStringList &skip) const
{
    QList<Recovery> list;
    const QDir dir(strDirectory);
    for (const QFileInfo &info : dir.entryInfoList({QStringLiteral("*.json")}, QDir::Files)) {
        const QString id = info.completeBaseName();
        const QString dataPath = copyPath(id);
        if (skip.contains(id) || !QFileInfo::exists(dataPath))
            continue;
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly) || file.size() > 64 * 1024)
            continue;
        const QJsonObject index = QJsonDocument::fromJson(file.readAll()).object();
        Recovery recovery;
        recovery.dataPath = dataPath;
        recovery.indexPath = info.filePath();
        recovery.originalPath = index.value(QStringLiteral("original")).toString();
        recovery.originalModified = QDateTime::fromString(
            index.value(QStringLiteral("originalModified")).toString(), Qt::ISODateWithMs);
        recovery.originalSize = qint64(index.value(QStringLiteral("originalSize")).toDouble(-1));
        recovery.displayName = index.value(QStringLiteral("name")).toString();
        if (recovery.displayName.isEmpty())
            recovery.displayName = recovery.originalPath.isEmpty()
                                       ? qtTrId("doc.untitled")
                                       : QFileInfo(recovery.originalPath).fileName();
        recovery.autosaved = QDateTime::fromString(
            index.value(QStringLiteral("autosaved")).toString(), Qt::ISODateWithMs);
        if (!recovery.autosaved.isValid())
            recovery.autosaved = info.lastModified();
        list.append(recovery);
    }
    std::sort(list.begin(), list.end(),
              [](const Recovery &a, const Recovery &b) { return a.autosaved < b.autosaved; });
    return list;
}

QString RecoveryStore::idOf(const Recovery &recovery)
{
    return QFileInfo(recovery.dataPath).completeBaseName();
}

void RecoveryStore::discard(const Recovery &recovery)
{
    QFile::remove(recovery.indexPath);
    QFile::remove(recovery.dataPath);
}

void RecoveryStore::setAside(const Recovery &recovery)
{
    QFile::rename(recovery.indexPath, recovery.indexPath + QStringLiteral(".unreadable"));
}
