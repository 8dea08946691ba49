#pragma once

#include "VocabularyFile.h"

#include <QList>
#include <QString>

#include <functional>

struct LessonCount {
    QString lesson;
    int entries = 0;
    bool operator==(const LessonCount&) const = default;
};

// The distinct lessons of a file's entries, each lesson field trimmed of every character
// up to code 32 at both ends, in the order of their first occurrence, with the number of
// entries of each. Lessons are equal only when equal character for character (case
// included). Reads the lesson fields in large blocks; progress is called between blocks, so
// that a window can repaint.
QList<LessonCount> CountLessons(VocabularyFile& file, const std::function<void()>& progress = {});
