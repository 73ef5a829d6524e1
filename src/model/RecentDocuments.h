#pragma once

#include <QObject>
#include <QStringList>

// The documents opened or saved lately, newest first, at most kMaxCount, kept with the
// application's state in Preferences so that the next launch finds them.
class RecentDocuments : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMaxCount = 10;

    using QObject::QObject;

    QStringList paths() const;
    // Puts the path first (moving it there when listed already) and drops the oldest beyond the
    // limit. The caller passes one spelling per file.
    void note(const QString &path);
    // False when the path was not listed.
    bool remove(const QString &path);
    void clear();

signals:
    void changed();
};
