#include "app/AnsiText.h"
#include "support/TestSupport.h"
#include "vocab/LessonOverview.h"
#include "vocab/Lektionen.h"
#include "vocab/RecordMoves.h"

#include <QFile>
#include <QTimer>

#include <benchmark/benchmark.h>

// Inserting and deleting at entry 1 of a 100,000-entry file, and the lesson overview of such
// a file with 1,000 lessons, each beside the record-by-record way as the baseline.

namespace {

constexpr int kEntries = 100'000;
constexpr int kLessons = 1'000;

// Entries in runs of 100 per lesson, as lessons stand in a real file.
const QByteArray& LargeFileBytes()
{
    static const QByteArray bytes = [] {
        QList<VocabularyEntry> entries = NumberedEntries(kEntries);
        for (int i = 0; i < kEntries; ++i)
            entries[i].lesson = QStringLiteral("Lektion %1").arg(i / (kEntries / kLessons) + 1);
        return VocabularyBytes(entries);
    }();
    return bytes;
}

QString LargeFilePath()
{
    static const QString dir = NewTestDirectory();
    return dir + QStringLiteral("/gross.vok");
}

// A fresh copy of the large file, opened.
void OpenFreshFile(VocabularyFile& file)
{
    file.close();
    WriteBytes(LargeFilePath(), LargeFileBytes());
    QFile::remove(TemporaryFilePath(LargeFilePath()));
    file.open(LargeFilePath());
}

// The same inside a timed loop, not timed.
void ResetFile(benchmark::State& state, VocabularyFile& file)
{
    state.PauseTiming();
    OpenFreshFile(file);
    state.ResumeTiming();
}

// Exchanging two records with two reads and two writes.
void PlainSwap(VocabularyFile& file, int i, int j)
{
    const QByteArray a = file.readRecord(i).value();
    const QByteArray b = file.readRecord(j).value();
    file.writeRecord(i, b);
    file.writeRecord(j, a);
}

void BM_InsertAt1_Blocks(benchmark::State& state)
{
    VocabularyFile file;
    for (auto _ : state) {
        ResetFile(state, file);
        if (!InsertBlankRecord(file, 1, kEntries))
            state.SkipWithError("insert failed");
    }
}

void BM_InsertAt1_RecordByRecord(benchmark::State& state)
{
    VocabularyFile file;
    for (auto _ : state) {
        ResetFile(state, file);
        file.writeRecord(kEntries + 1, QByteArray(kRecordSize, ' '));
        for (int i = kEntries + 1; i >= 2; --i)
            PlainSwap(file, i, i - 1);
    }
}

void BM_DeleteAt1_Blocks(benchmark::State& state)
{
    VocabularyFile file;
    for (auto _ : state) {
        ResetFile(state, file);
        if (DeleteRecord(file, 1, kEntries) != DeleteResult::Deleted)
            state.SkipWithError("delete failed");
    }
}

// Swapping the record to the end, then copying all but the last record through the
// temporary file, 400 bytes at a time.
void BM_DeleteAt1_RecordByRecord(benchmark::State& state)
{
    VocabularyFile file;
    for (auto _ : state) {
        ResetFile(state, file);
        for (int i = 1; i < kEntries; ++i)
            PlainSwap(file, i, i + 1);
        const QString path = file.path();
        const QString tmpPath = TemporaryFilePath(path);
        file.close();
        QFile in(path);
        QFile out(tmpPath);
        in.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
        const qint64 records = in.size() / kRecordSize - 1;
        for (qint64 k = 0; k < records; ++k)
            out.write(in.read(kRecordSize));
        in.close();
        out.close();
        QFile::remove(path);
        QFile::rename(tmpPath, path);
        file.open(path);
    }
}

void BM_LessonOverview_Counting(benchmark::State& state)
{
    VocabularyFile file;
    OpenFreshFile(file);
    for (auto _ : state) {
        const QList<LessonCount> rows = CountLessons(file);
        if (rows.size() != kLessons)
            state.SkipWithError("wrong rows");
    }
}

// The whole window: counting, filling the grid, showing and closing it.
void BM_LessonOverview_Window(benchmark::State& state)
{
    VocabularyFile file;
    OpenFreshFile(file);
    TForm3 form;
    for (auto _ : state) {
        QTimer::singleShot(0, &form, [&form] { form.reject(); });
        form.ShowOverview(file);
    }
}

// Each entry compared with the rows listed so far; a new lesson counted over all later
// entries.
void BM_LessonOverview_Quadratic(benchmark::State& state)
{
    VocabularyFile file;
    OpenFreshFile(file);
    for (auto _ : state) {
        const int n = file.entryCount();
        QStringList lessons;
        lessons.reserve(n);
        for (int i = 1; i <= n; ++i)
            lessons << TrimControls(file.readLesson(i).value_or(QString()));
        QList<LessonCount> rows;
        for (int i = 0; i < n; ++i) {
            bool listed = false;
            for (const LessonCount& row : rows) {
                if (row.lesson == lessons[i]) {
                    listed = true;
                    break;
                }
            }
            if (listed)
                continue;
            int count = 0;
            for (int j = i; j < n; ++j)
                count += lessons[j] == lessons[i] ? 1 : 0;
            rows.append({lessons[i], count});
        }
        if (rows.size() != kLessons)
            state.SkipWithError("wrong rows");
    }
}

}  // namespace

BENCHMARK(BM_InsertAt1_Blocks)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_InsertAt1_RecordByRecord)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_DeleteAt1_Blocks)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_DeleteAt1_RecordByRecord)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_LessonOverview_Counting)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_LessonOverview_Window)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_LessonOverview_Quadratic)->Unit(benchmark::kMillisecond)->Iterations(1);
