#include "RecentDocuments.h"

#include "Preferences.h"

namespace {

const QString kRecentKey = QStringLiteral("recentDocuments");

} // namespace

QStringList RecentDocuments::paths() const
{
    return Preferences::shared().stateForKey(kRecentKey).toStringList();
}

void RecentDocuments::note(const QString &path)
{
    QStringList list = paths();
    list.removeAll(path);
    list.prepend(path);
    while (list.size() > kMaxCount)
        list.removeLast();
    Preferences::shared().setStateForKey(list, kRecentKey);
    emit changed();
}

bool RecentDocuments::remove(const QString &path)
{
    QStringList list = paths();
    if (list.removeAll(path) == 0)
        return false;
    Preferences::shared().setStateForKey(list, kRecentKey);
    emit changed();
    return true;
}

void RecentDocuments::clear()
{
    Preferences::shared().setStateForKey(QVariant(), kRecentKey);
    emit changed();
}
