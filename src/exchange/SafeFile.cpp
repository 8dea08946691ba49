#include "SafeFile.h"

#include "app/FileSync.h"

#include <QFileInfo>

#include <filesystem>
#include <system_error>

SafeFile::SafeFile(const QString& target) : target_(target)
{
    const QFileInfo info(target);
    temp_.setFileTemplate(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                          QStringLiteral(".XXXXXX"));
}

bool SafeFile::open()
{
    if (!temp_.open())
        return false;
    const QFileInfo old(target_);
    temp_.setPermissions(old.exists() ? old.permissions()
                                      : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadUser | QFileDevice::WriteUser |
                                            QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return true;
}

bool SafeFile::commit(bool replaceExisting)
{
    // On the disk before it takes the target's name, so that a power loss leaves the old
    // file or the new one, never a cut one.
    if (!temp_.isOpen() || !SyncFile(temp_))
        return false;
    if (replaceExisting) {
        temp_.close();
        if (temp_.error() != QFileDevice::NoError)
            return false;
        std::error_code error;
        std::filesystem::rename(std::filesystem::path(temp_.fileName().toStdU16String()),
                                std::filesystem::path(target_.toStdU16String()), error);
        if (error)
            return false;
    } else if (!temp_.rename(target_)) {
        // Qt renames without replacing.
        return false;
    }
    temp_.setAutoRemove(false);
    SyncDirectory(QFileInfo(target_).absolutePath());
    return true;
}
