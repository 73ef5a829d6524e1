#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class MyDocument;

// Recovery copies of edited documents, kept in one folder (by default "recovery" under the
// application's data location). Each copy has a small index beside it naming the original file,
// so a copy left behind by a crash or a kill can be offered at the next launch. The copy is
// written before its index and removed after it: an index always names a complete copy, and a
// copy without an index is never offered.
class RecoveryStore
{
public:
    // A copy found in the folder.
    struct Recovery
    {
        QString dataPath;
        QString indexPath;
        QString originalPath;       // empty for a document never saved
        QDateTime originalModified; // the original file as the autosaving session knew it
        qint64 originalSize = -1;
        QString displayName;
        QDateTime autosaved;
    };
    // What the index says of the document a copy is written for.
    struct Original
    {
        QString path; // empty for a document never saved
        QDateTime modified;
        qint64 size = -1; // negative when the file's state is unknown
        QString displayName;
    };

    // The copies are documents with this file extension.
    explicit RecoveryStore(QString fileExtension);

    void setDirectory(const QString &directory) { strDirectory = directory; }
    QString directory() const { return strDirectory; }
    // Makes the folder when it is missing; false when it cannot be made.
    bool makeDirectory() const;

    // The copy's file for an id.
    QString copyPath(const QString &id) const;
    // Writes the document's copy and then its index under *id, choosing a new id when it is
    // empty. On failure *error says what went wrong.
    bool write(const MyDocument &document, QString *id, const Original &original,
               QString *error) const;
    // Removes the index and then the copy.
    void remove(const QString &id) const;

    // The copies with an index, except those with an id in `skip` (the open documents' own),
    // oldest first.
    QList<Recovery> pending(const QStringList &skip = {}) const;
    static QString idOf(const Recovery &recovery);
    static void discard(const Recovery &recovery);
    // Keeps the copy on disk but never offers it again.
    static void setAside(const Recovery &recovery);

private:
    QString strDirectory;
    QString strExtension;
};
