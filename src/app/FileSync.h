#pragma once

#include <QString>

class QFileDevice;

// Writes that must survive a power loss. The system keeps written bytes and renames in
// its cache and may store them in any order; these calls wait until they are on the disk.

// Flushes the bytes written to an open file to the disk. False when that fails.
bool SyncFile(QFileDevice& file);

// Flushes a directory's entries (a rename or a new file in it) to the disk. Does nothing
// where the system has no such call.
bool SyncDirectory(const QString& directory);

// The file a path finally names: links followed to their end, also to a file that does not
// exist yet. A replace-by-rename of that file keeps every link to it a link.
QString ResolveLinks(const QString& path);

enum class FileLock {
    Locked,      // this open holds the lock
    Busy,        // another open holds it, in this program or another
    Unsupported  // the file system keeps no locks: nothing to hold
};

// Takes the advisory write lock on an open file. It lasts as long as this open of the
// file; the system drops it when the file is closed and when the program ends or dies.
// Only opens that ask for the lock are refused; readers are not blocked.
FileLock LockOpenFile(QFileDevice& file);
