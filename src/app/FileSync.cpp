#include "FileSync.h"

#include <QFile>
#include <QFileDevice>
#include <QFileInfo>

#if defined(Q_OS_WIN)
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
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
