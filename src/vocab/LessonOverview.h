#pragma once

#include "VocabularyFile.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>

struct LessonCount {
    QString lesson;
    int entries = 0;
    bool operator==(const LessonCount&) const = default;
};

// The lesson an entry belongs to, the one rule of the lesson overview, the lesson dialog
// and the lesson run: the lesson field's bytes up to its first NUL, without the bytes up to
// code 32 (blanks and control characters such as a tab) at either end. Two entries are in
// the same lesson when these bytes are equal, case and inner characters included.
QByteArrayView LessonKey(QByteArrayView field);

// The distinct lessons of a file's entries (their LessonKey, decoded), in the order of
// their first occurrence, with the number of entries of each. Reads the lesson fields in
// large blocks; progress is called between blocks, so that a window can repaint.
QList<LessonCount> CountLessons(VocabularyFile& file, const std::function<void()>& progress = {});
