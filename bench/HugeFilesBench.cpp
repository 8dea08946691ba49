#include "app/AnsiText.h"
#include "learn/LearningRun.h"
#include "learn/StatisticsChart.h"
#include "learn/StatisticsFile.h"
#include "learn/Statistik.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "tools/HtmlExport.h"
#include "vocab/Editor.h"
#include "vocab/LessonOverview.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"

// The file-heavy operations on a 1,000,000-entry vocabulary file (400 MB: ten lessons of
// 100,000 entries) and a 1,000,000-record statistics file in which 10,000 runs belong to
// one lesson of that file. Each benchmark also reports the process's peak memory so far
// ("peak_MB"); run one at a time (--benchmark_filter) to see each operation's own peak.

namespace {

constexpr int kEntries = 1'000'000;
constexpr int kLessons = 10;
constexpr int kRecords = 1'000'000;
constexpr int kMatchingEvery = 100;  // 10,000 runs of "Lektion 1"

QString Lesson(int k)
{
    return QStringLiteral("Lektion %1").arg(k);
}

// Written in slices, so that the file never stands in memory whole.
bool WriteInSlices(const QString& path, int count, const std::function<QByteArray(int)>& record)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray slice;
    for (int i = 0; i < count; ++i) {
        slice += record(i);
        if (slice.size() >= (1 << 22) || i == count - 1) {
            if (file.write(slice) != slice.size())
                return false;
            slice.clear();
        }
    }
    return true;
}

const QString& HugeVocabularyFile()
{
    static const QString path = [] {
        const QString p = NewTestDirectory() + QStringLiteral("/gross.vok");
        const bool written = WriteInSlices(p, kEntries + 1, [](int i) {
            if (i == 0)
                return EncodeHeader({QStringLiteral("Groß"), QString(), QString()}).value();
            return EncodeEntry({Lesson((i - 1) / (kEntries / kLessons) + 1),
                                QStringLiteral("deutsch%1").arg(i),
                                QStringLiteral("foreign%1").arg(i), QString(), QString()})
                .value();
        });
        return written ? p : QString();
    }();
    return path;
}

const QString& HugeStatisticsFile()
{
    static const QString path = [] {
        const QString p = NewTestDirectory() + QStringLiteral("/Lernkompass.dat");
        const bool written = WriteInSlices(p, kRecords, [](int i) {
            const bool matching = i % kMatchingEvery == 0;
            const RunResult run{matching ? QStringLiteral("/v/gross.vok")
                                         : QStringLiteral("/v/andere%1.vok").arg(i % 7),
                                matching ? Lesson(1) : Lesson(i % 13),
                                30, i % 31, 30 - i % 31, i % 3, 100 + i % 500,
                                QDate(2026, 1, 1).addDays(i % 365)};
            return EncodeStatisticsRecord(run).value();
        });
        return written ? p : QString();
    }();
    return path;
}

bool OpenHuge(benchmark::State& state, VocabularyFile& file)
{
    if (HugeVocabularyFile().isEmpty() ||
        !file.open(HugeVocabularyFile(), VocabularyFile::Access::ReadOnly)) {
        state.SkipWithError("the huge vocabulary file could not be written");
        return false;
    }
    return true;
}

void BM_HugeCheckAndOpen(benchmark::State& state)
{
    HugeVocabularyFile();
    for (auto _ : state) {
        const FileCheckResult check = CheckVocabularyFile(HugeVocabularyFile(), true);
        VocabularyFile file;
        if (check.entryCount != kEntries || !OpenHuge(state, file) || !file.readHeader())
            state.SkipWithError("check or open failed");
    }
    ReportPeak(state);
}

// The lesson overview of the editor and the lesson dialog's list count the same way.
void BM_HugeLessonOverview(benchmark::State& state)
{
    VocabularyFile file;
    if (!OpenHuge(state, file))
        return;
    for (auto _ : state)
        if (CountLessons(file).size() != kLessons)
            state.SkipWithError("wrong lessons");
    ReportPeak(state);
}

void BM_HugeLessonRun(benchmark::State& state)
{
    VocabularyFile file;
    if (!OpenHuge(state, file))
        return;
    LearningRun run;
    for (auto _ : state)
        if (run.startLessonRun(file, Lesson(7), 42) != LearningRun::Start::Started ||
            run.counters().total != kEntries / kLessons)
            state.SkipWithError("the lesson run did not start");
    ReportPeak(state);
}

void BM_HugeRandomRun(benchmark::State& state)
{
    VocabularyFile file;
    if (!OpenHuge(state, file))
        return;
    LearningRun run;
    std::uint64_t seed = 1;
    for (auto _ : state)
        if (run.startRandomRun(file, seed++) != LearningRun::Start::Started)
            state.SkipWithError("the random run did not start");
    ReportPeak(state);
}

// The statistics window over the huge file: its lesson list when shown, then the table
// and the chart of the 10,000 runs of one lesson.
struct HugeStatistics {
    HugeStatistics()
    {
        window.statisticsPath = HugeStatisticsFile();
        window.vocabularyPath = QStringLiteral("/v/gross.vok");
        window.show();
    }
    bool select()
    {
        // Listed as stored, blanks included.
        const auto items = window.ListBox1->findItems(Lesson(1), Qt::MatchStartsWith);
        if (items.isEmpty())
            return false;
        window.ListBox1->setCurrentItem(items.first());
        return true;
    }
    TForm8 window;
};

void BM_HugeStatisticsShow(benchmark::State& state)
{
    HugeStatisticsFile();
    for (auto _ : state) {
        HugeStatistics statistics;
        if (!statistics.select())
            state.SkipWithError("the lesson is not listed");
    }
    ReportPeak(state);
}

void BM_HugeStatisticsTable(benchmark::State& state)
{
    HugeStatistics statistics;
    if (!statistics.select())
        state.SkipWithError("the lesson is not listed");
    for (auto _ : state) {
        statistics.window.Button1->click();
        if (statistics.window.StringGrid1->rowCount() != kRecords / kMatchingEvery)
            state.SkipWithError("wrong number of rows");
    }
    ReportPeak(state);
}

void BM_HugeStatisticsChart(benchmark::State& state)
{
    HugeStatistics statistics;
    if (!statistics.select())
        state.SkipWithError("the lesson is not listed");
    statistics.window.Button1->click();
    for (auto _ : state) {
        statistics.window.PageControl1->setCurrentIndex(1);
        state.PauseTiming();
        statistics.window.PageControl1->setCurrentIndex(0);
        state.ResumeTiming();
    }
    ReportPeak(state);
}

// The editor on the huge file: opening it, and paging (next entry, the middle by the scroll
// bar, the last entry; each stores the entry shown and loads another).
struct HugeEditor {
    HugeEditor()
    {
        // bench/main.cpp installs the fake platform; it answers the file dialog.
        if (auto* platform = dynamic_cast<FakePlatform*>(&Platform::instance()))
            platform->fileAnswers << HugeVocabularyFile();
        editor.ResetEditor();
        editor.OeffnenClick();
    }
    bool ready() const { return editor.Label11->text() == QString::number(kEntries); }
    TForm2 editor;
};

void BM_HugeEditorOpen(benchmark::State& state)
{
    HugeVocabularyFile();
    for (auto _ : state)
        if (!HugeEditor().ready())
            state.SkipWithError("the huge file did not open");
    ReportPeak(state);
}

void BM_HugeEditorPaging(benchmark::State& state)
{
    HugeVocabularyFile();
    HugeEditor f;
    if (!f.ready())
        state.SkipWithError("the huge file did not open");
    for (auto _ : state) {
        f.editor.Nchstes1->trigger();
        f.editor.ScrollBar1->setValue(kEntries / 2);
        f.editor.Letztes1->trigger();
        f.editor.Beginn1->trigger();
    }
    ReportPeak(state);
}

// The HTML export of the whole file, sorted by lesson: its working list holds every entry.
void BM_HugeHtmlExport(benchmark::State& state)
{
    if (HugeVocabularyFile().isEmpty()) {
        state.SkipWithError("the huge vocabulary file could not be written");
        return;
    }
    QString html = HugeVocabularyFile();
    html.replace(QStringLiteral(".vok"), QStringLiteral(".html"));
    const ExportRequest request{
        HugeVocabularyFile(),
        html,
        SortKey::Lesson,
        true,
        {true, false, QStringLiteral("gross.vok"), QStringLiteral("05.03.01")}};
    for (auto _ : state)
        if (ExportVocabularyList(request) != ExportResult::Written)
            state.SkipWithError("export failed");
    QFile::remove(html);
    ReportPeak(state);
}

}  // namespace

BENCHMARK(BM_HugeCheckAndOpen)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_HugeLessonOverview)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_HugeLessonRun)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_HugeRandomRun)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_HugeStatisticsShow)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_HugeStatisticsTable)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_HugeStatisticsChart)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_HugeEditorOpen)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_HugeEditorPaging)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_HugeHtmlExport)->Unit(benchmark::kMillisecond)->Iterations(1);
