#pragma once

#include <QString>
#include <QTemporaryFile>

// A whole file written beside its target under a fresh name and moved over it in one step
// once complete, so that the target is either as it was or entirely new; the temporary file
// goes with the object unless committed.
class SafeFile {
public:
    explicit SafeFile(const QString& target);

    // Creates the temporary file, exclusively.
    bool open();
    QFile& device() { return temp_; }

    // Flushes the file to the disk and gives it the target's name. An existing target (a
    // link included, which is replaced itself, never written through) is replaced only
    // with replaceExisting; otherwise a name taken meanwhile makes the commit fail.
    bool commit(bool replaceExisting);

private:
    QString target_;
    QTemporaryFile temp_;
};
