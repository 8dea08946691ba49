#include "LessonOverview.h"

#include "app/AnsiText.h"

#include <QHash>

QList<LessonCount> CountLessons(VocabularyFile& file, const std::function<void()>& progress)
{
    QList<LessonCount> rows;
    QHash<QString, qsizetype> rowOf;
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
            const QString lesson =
                TrimControls(FieldText(block.mid(qsizetype(r) * kRecordSize, kFieldWidth)));
            const auto it = rowOf.constFind(lesson);
            if (it != rowOf.constEnd()) {
                ++rows[*it].entries;
            } else {
                rowOf.insert(lesson, rows.size());
                rows.append({lesson, 1});
            }
        }
        if (whole < count)
            break;  // the file is shorter than its size said
        if (progress)
            progress();
    }
    return rows;
}
