#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

// The bytes of a file for one read: mapped into memory when the system allows it, so that opening
// a document costs no copy, otherwise read into a buffer. The bytes are as untrusted as any
// file's and only valid while the MappedFile lives; whoever reads them keeps nothing that points
// into them (QByteArray::fromRawData: copies of bytes() share the mapping).
//
// A mapped file can change while it is read. Bytes that change are merely other untrusted bytes;
// a file cut short would make the pages beyond its new end fault (SIGBUS). While a Guard lives,
// such a page reads as zeros instead, and changed() tells afterwards that the bytes read were not
// the file's: the caller reads it again with load() (the copy of what the file holds then).
// changed() also notices a file whose size or modification time differs from when it was opened.
class MappedFile
{
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;

    // Opens the file and maps it (or reads it when it cannot be mapped). False, with
    // *error (the system's reason, or "error.file_too_large"), when it cannot be read or holds
    // more than `largest` bytes.
    bool open(const QString &path, qint64 largest, QString *error);
    // Drops the mapping and reads the file into a buffer instead. False, with *error, on failure.
    bool load(QString *error);

    QByteArray bytes() const { return m_bytes; }
    bool isMapped() const { return m_map != nullptr; }
    // Gives the mapping's pages back to the system. A page is read in again (from the system's
    // cache of the file) when it is next used, with the file's bytes of that moment: a file
    // written meanwhile shows in changed(). For a reader that goes through a large file once, so
    // that the process does not end up holding all of it.
    // Nothing happens for a file read into a buffer.
    void releasePages();
    // True when the bytes read may not be the file's (see above).
    bool changed() const;

    // Pages of the mapping that lose their file read as zeros while the guard lives. Only one
    // mapped file is guarded at a time in the process; a second guard leaves its file unguarded
    // and says so (isActive() false), and the caller reads a copy (load()) instead.
    class Guard
    {
    public:
        explicit Guard(MappedFile &file);
        ~Guard();
        Guard(const Guard &) = delete;
        Guard &operator=(const Guard &) = delete;
        // The bytes may be read: the file is not mapped, or its mapping is guarded.
        bool isActive() const { return m_active; }

    private:
        MappedFile &m_file;
        bool m_active = false;
        bool m_installed = false;
    };

private:
    void unmap();
    bool fail(QString *error, const QString &reason);
    bool sameFile() const;

    std::unique_ptr<QFile> m_file;
    qint64 m_largest = 0;
    uchar *m_map = nullptr;
    qint64 m_size = 0;
    qint64 m_modified = 0; // nanoseconds since the epoch, when opened
    bool m_zeroed = false; // a guard replaced a page of the mapping
    QByteArray m_bytes;
};
