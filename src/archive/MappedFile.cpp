#include "MappedFile.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#endif

namespace {

#ifdef Q_OS_UNIX
// The one guarded mapping of the process, read by the signal handler.
std::atomic<bool> gGuardTaken{false};
std::atomic<std::uintptr_t> gBegin{0};
std::atomic<std::uintptr_t> gEnd{0};
std::atomic<bool> gZeroed{false};
struct sigaction gPrevious = {};

// A SIGBUS inside the guarded mapping is a page the file no longer backs: a page of zeros takes
// its place and the access is made again. Any other SIGBUS goes to whoever handled it before, or,
// when nobody did, stops the process as it would have without us (the default action restored,
// the faulting access runs again). Only async-signal-safe calls (mmap, sigaction) are made.
void onBusError(int signal, siginfo_t *info, void *context)
{
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    if (address >= gBegin.load() && address < gEnd.load()) {
        const auto pageSize = std::uintptr_t(sysconf(_SC_PAGESIZE));
        void *page = reinterpret_cast<void *>(address & ~(pageSize - 1));
        if (mmap(page, pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) !=
            MAP_FAILED) {
            gZeroed.store(true);
            return;
        }
    }
    if ((gPrevious.sa_flags & SA_SIGINFO) && gPrevious.sa_sigaction) {
        gPrevious.sa_sigaction(signal, info, context);
    } else if (gPrevious.sa_handler != SIG_DFL && gPrevious.sa_handler != SIG_IGN) {
        gPrevious.sa_handler(signal);
    } else {
        struct sigaction fallback = {};
        fallback.sa_handler = SIG_DFL;
        sigaction(SIGBUS, &fallback, nullptr);
    }
}

// Maps the file read-only, its pages at once, one page past a boundary of large pages (2 MB on
// common systems). A file written in one go sits in the system's cache in large pages, which a
// mapping aligned with them takes 2 MB at a time: reading a few bytes here and there would make
// all of the file resident again after releasePages(). Off the boundary the pages are mapped a
// few at a time.
void *mapOffLargePages(int fd, size_t size)
{
    const auto page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    constexpr std::uintptr_t kLargePage = std::uintptr_t(2) << 20;
    const std::uintptr_t span = (size + page - 1) / page * page + kLargePage;
    void *reserved =
        mmap(nullptr, span, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (reserved == MAP_FAILED)
        return mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    const auto begin = reinterpret_cast<std::uintptr_t>(reserved);
    const std::uintptr_t at = ((begin + kLargePage - 1) & ~(kLargePage - 1)) + page;
    void *map = mmap(reinterpret_cast<void *>(at), size, PROT_READ,
                     MAP_PRIVATE | MAP_FIXED | MAP_POPULATE, fd, 0);
    if (map == MAP_FAILED) {
        munmap(reserved, span);
        return MAP_FAILED;
    }
    // The rest of the reserved range, before and after the file.
    munmap(reserved, at - begin);
    const std::uintptr_t end = at + (size + page - 1) / page * page;
    if (end < begin + span)
        munmap(reinterpret_cast<void *>(end), begin + span - end);
    return map;
}

qint64 modificationTime(const struct stat &status)
{
    return qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
}
#endif

} // namespace

MappedFile::~MappedFile()
{
    unmap();
}

bool MappedFile::fail(QString *error, const QString &reason)
{
    unmap();
    m_bytes.clear();
    if (error)
        *error = reason;
    return false;
}

bool MappedFile::open(const QString &path, qint64 largest, QString *error)
{
    unmap();
    m_largest = largest;
    m_zeroed = false;
    m_file = std::make_unique<QFile>(path);
    if (!m_file->open(QIODevice::ReadOnly))
        return fail(error, m_file->errorString());
    if (m_file->size() > largest)
        return fail(error, qtTrId("error.file_too_large"));
#ifdef Q_OS_UNIX
    struct stat status = {};
    const int fd = m_file->handle();
    if (fd >= 0 && fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0 &&
        status.st_size <= largest) {
        // Private and read-only: nothing we do reaches the file. The pages are mapped at once,
        // since the reader touches nearly all of them.
        void *map = mapOffLargePages(fd, size_t(status.st_size));
        if (map != MAP_FAILED) {
            m_map = static_cast<uchar *>(map);
            m_size = status.st_size;
            m_modified = modificationTime(status);
            m_bytes =
                QByteArray::fromRawData(reinterpret_cast<const char *>(m_map), qsizetype(m_size));
            if (error)
                error->clear();
            return true;
        }
    }
#endif
    return load(error);
}

bool MappedFile::load(QString *error)
{
    unmap();
    m_zeroed = false;
    if (!m_file || !m_file->isOpen())
        return fail(error, QFile().errorString());
    if (!m_file->seek(0))
        return fail(error, m_file->errorString());
    m_bytes = m_file->readAll();
    if (m_file->error() != QFileDevice::NoError)
        return fail(error, m_file->errorString());
    if (m_bytes.size() > m_largest)
        return fail(error, qtTrId("error.file_too_large"));
    if (error)
        error->clear();
    return true;
}

void MappedFile::releasePages()
{
#ifdef Q_OS_UNIX
    if (m_map)
        madvise(m_map, size_t(m_size), MADV_DONTNEED);
#endif
}

void MappedFile::unmap()
{
    if (!m_map)
        return;
    m_bytes.clear();
#ifdef Q_OS_UNIX
    munmap(m_map, size_t(m_size));
#endif
    m_map = nullptr;
    m_size = 0;
}

bool MappedFile::sameFile() const
{
#ifdef Q_OS_UNIX
    struct stat status = {};
    return m_file && fstat(m_file->handle(), &status) == 0 && status.st_size == m_size &&
           modificationTime(status) == m_modified;
#else
    return true;
#endif
}

bool MappedFile::changed() const
{
    return m_zeroed || (m_map && !sameFile());
}

MappedFile::Guard::Guard(MappedFile &file) : m_file(file)
{
    if (!file.m_map) {
        m_active = true; // a copy needs no guard
        return;
    }
#ifdef Q_OS_UNIX
    if (gGuardTaken.exchange(true))
        return;
    m_installed = true;
    gZeroed.store(false);
    gBegin.store(reinterpret_cast<std::uintptr_t>(file.m_map));
    gEnd.store(reinterpret_cast<std::uintptr_t>(file.m_map) + std::uintptr_t(file.m_size));
    struct sigaction action = {};
    action.sa_sigaction = onBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    if (sigaction(SIGBUS, &action, &gPrevious) != 0) {
        gBegin.store(0);
        gEnd.store(0);
        gGuardTaken.store(false);
        m_installed = false;
        return;
    }
    m_active = true;
#endif
}

MappedFile::Guard::~Guard()
{
#ifdef Q_OS_UNIX
    if (!m_installed)
        return;
    sigaction(SIGBUS, &gPrevious, nullptr);
    gBegin.store(0);
    gEnd.store(0);
    if (gZeroed.exchange(false))
        m_file.m_zeroed = true;
    gGuardTaken.store(false);
#endif
}
