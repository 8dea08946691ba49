#include "LessonOverview.h"

#include "app/AnsiText.h"

#include <QHash>

QByteArrayView LessonKey(QByteArrayView field)
{
    const qsizetype nul = field.indexOf('\0');
    if (nul >= 0)
        field.truncate(nul);
    while (!field.isEmpty() && static_cast<unsigned char>(field.front()) <= 32)
        field = field.sliced(1);
    while (!field.isEmpty() && static_cast<unsigned char>(field.back()) <= 32)
        field.chop(1);
    return field;
}

QList<LessonCount> CountLessons(VocabularyFile& file, const std::function<void()>& progress)
{
    QList<LessonCount> rows;
    QHash<QByteArray, qsizetype> rowOf;
    file.scanEntries(
        [&](int, QByteArrayView record) {
            const QByteArray lesson = LessonKey(record.first(kFieldWidth)).toByteArray();
            const auto it = rowOf.constFind(lesson);
            if (it != rowOf.constEnd()) {
                ++rows[*it].entries;
            } else {
                rowOf.insert(lesson, rows.size());
                rows.append({FromAnsi(lesson), 1});
            }
        },
        progress);
    return rows;
}
