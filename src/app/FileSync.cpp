#include "FileSync.h"

#include <QFile>
#include <QFileDevice>
#include <QFileInfo>

#if defined(Q_OS_WIN)
#include <io.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>
#endif

bool SyncFile(QFileDevice& file)
{
    if (!file.isOpen() || !file.flush())
        return false;
    const int fd = file.handle();
#if defined(Q_OS_WIN)
    // Without a C descriptor from Qt the system's own write-back has to do.
    return fd < 0 || _commit(fd) == 0;
#else
    return fd >= 0 && ::fsync(fd) == 0;
#endif
}

bool SyncDirectory(const QString& directory)
{
#if defined(Q_OS_WIN)
    // Windows has no handle on a directory's entries to flush.
    Q_UNUSED(directory);
    return true;
#else
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
#endif
}

QString ResolveLinks(const QString& path)
{
    QFileInfo info(path);
    // A loop of links ends somewhere: the last link reached is then replaced itself.
    for (int depth = 0; depth < 40 && info.isSymbolicLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.filePath();
}

FileLock LockOpenFile(QFileDevice& file)
{
    const int fd = file.isOpen() ? file.handle() : -1;
    if (fd < 0)
        return FileLock::Unsupported;
#if defined(Q_OS_WIN)
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    if (handle == INVALID_HANDLE_VALUE)
        return FileLock::Unsupported;
    // Windows locks keep everyone else from the bytes they cover: lock one byte far beyond
    // any data, so that readers are not stopped.
    OVERLAPPED at{};
    at.OffsetHigh = 0x7FFFFFFF;
    if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
        return FileLock::Locked;
    return GetLastError() == ERROR_LOCK_VIOLATION ? FileLock::Busy : FileLock::Unsupported;
#else
    // flock belongs to this open of the file, unlike fcntl locks, which belong to the
    // process and vanish when any other handle on the file is closed.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return FileLock::Locked;
    return errno == EWOULDBLOCK ? FileLock::Busy : FileLock::Unsupported;
#endif
}
