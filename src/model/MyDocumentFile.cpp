#include "MyDocument_p.h"

#include "DocumentArchive.h"

#include "MappedFile.h"

#include <QSaveFile>

// Reading and writing the document's file.

// --- File ----------------------------------------------------------------------------------------

QByteArray MyDocument::dataOfType(const QString &typeName, QString *error) const
{
    Q_UNUSED(typeName);
    DocumentArchive::Contents contents;
    contents.filters = pAllFilters;
    contents.selectedFilter = pSelectedFilter;
    contents.printInfo = pPrintInfo;
    contents.sortAscending = bSortAscending;
    contents.information = pInformation;
    return DocumentArchive::archive(contents, pMeasurementsArray, error);
}

namespace {

// Rebuilds the document from a file's contents, with undo recording off and the undo steps
// cleared.
void takeContents(MyDocument &document, const DocumentArchive::Contents &contents)
{
    UndoManager *undoManager = document.undoManager();
    undoManager->disableUndoRegistration();
    document.setAllMeasurements(contents.measurements);
    if (contents.filters)
        document.setFilters(*contents.filters);
    if (contents.selectedFilter)
        document.setFilter(contents.selectedFilter);
    if (contents.printInfo)
        document.setPrintInfo(*contents.printInfo);
    if (contents.sortAscending)
        document.setSortItemsAscending(*contents.sortAscending);
    if (contents.information)
        document.setInformation(*contents.information);
    undoManager->enableUndoRegistration();
    document.doFilter();
    // Steps recorded before refer to the state that was replaced.
    undoManager->removeAllActions();
}

} // namespace

bool MyDocument::readFromData(const QByteArray &data, const QString &typeName, QString *error,
                              QString *detail)
{
    Q_UNUSED(typeName);
    DocumentArchive::Contents contents;
    if (!DocumentArchive::unarchive(data, &contents, error, detail))
        return false;
    takeContents(*this, contents);
    return true;
}

bool MyDocument::writeToFile(const QString &path, QString *error)
{
    if (!writeCopyToFile(path, error))
        return false;
    pUndoManager->setClean();
    return true;
}

bool MyDocument::writeCopyToFile(const QString &path, QString *error) const
{
    const QByteArray data = dataOfType(QString(), error);
    if (data.isEmpty())
        return false;
    QSaveFile file(path);
    QString reason;
    if (!file.open(QIODevice::WriteOnly))
        reason = file.errorString();
    // QSaveFile::commit() can miss a short write of its buffer (a full device): flush and check
    // the size first.
    else if (file.write(data) != data.size() || !file.flush() || file.size() != data.size())
        reason = file.errorString();
    else if (!file.commit())
        reason = file.errorString();
    if (!reason.isEmpty()) {
        file.cancelWriting();
        if (error)
            //: %1 is the reason, a sentence
            *error = qtTrId("error.file_save").arg(reason);
        return false;
    }
    if (error)
        error->clear();
    return true;
}

bool MyDocument::readFromFile(const QString &path, QString *error, QString *detail)
{
    if (detail)
        detail->clear();
    const auto refuse = [error](const QString &reason) {
        if (error)
            //: %1 is the reason, a sentence
            *error = qtTrId("error.file_open").arg(reason);
        return false;
    };
    // Documents are a few megabytes; a file far beyond that is not one of ours.
    constexpr qint64 kLargestFile = qint64(1) << 30;
    DocumentArchive::Contents contents;
    {
        // Decoded straight from the mapped file, whose pages are given back as the decoding goes
        // through it; the mapping goes before the document is built.
        MappedFile file;
        QString reason;
        if (!file.open(path, kLargestFile, &reason))
            return refuse(reason);
        const auto decode = [&] {
            return DocumentArchive::unarchive(file.bytes(), &contents, error, detail,
                                              [&file] { file.releasePages(); });
        };
        bool decoded = false;
        bool settled = false;
        {
            const MappedFile::Guard guard(file);
            if (guard.isActive()) {
                decoded = decode();
                settled = !file.changed();
            }
        }
        if (!settled) {
            // Changed while it was read (or not guarded): what it holds now, as a copy.
            contents = DocumentArchive::Contents();
            if (!file.load(&reason))
                return refuse(reason);
            decoded = decode();
        }
        if (!decoded)
            return false;
    }
    takeContents(*this, contents);
    return true;
}
