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
    const int n = file.entryCount();
    constexpr int kBlock = 2048;  // records per read
    for (int first = 1; first <= n; first += kBlock) {
        const int count = std::min(kBlock, n - first + 1);
        QFile& device = file.device();
        if (!device.seek(qint64(first) * kRecordSize))
            break;
        const QByteArray block = device.read(qint64(count) * kRecordSize);
        const int whole = static_cast<int>(block.size() / kRecordSize);
        for (int r = 0; r < whole; ++r) {
            const QByteArray lesson =
                LessonKey(QByteArrayView(block).sliced(qsizetype(r) * kRecordSize, kFieldWidth))
                    .toByteArray();
            const auto it = rowOf.constFind(lesson);
            if (it != rowOf.constEnd()) {
                ++rows[*it].entries;
            } else {
                rowOf.insert(lesson, rows.size());
                rows.append({FromAnsi(lesson), 1});
            }
        }
        if (whole < count)
            break;  // the file is shorter than its size said
        if (progress)
            progress();
    }
    return rows;
}
