#include "support/TestSupport.h"
#include "tools/HtmlExport.h"

#include <QRandomGenerator>

#include <benchmark/benchmark.h>

// The HTML export of a 100,000-entry file (read, sort, page written), sorted by lesson
// (50 lessons, mixed through the file), by German term (all distinct) and unsorted;
// beside it the plain exchange sort and the fast order on 10,000 entries.

namespace {

constexpr int kEntries = 100'000;
constexpr int kSmall = 10'000;
constexpr int kLessons = 50;

QString LargeFile()
{
    static const QString path = [] {
        QRandomGenerator random(12);
        QList<VocabularyEntry> entries = NumberedEntries(kEntries);
        for (int i = 0; i < kEntries; ++i) {
            entries[i].lesson = QStringLiteral("Lektion %1").arg(random.bounded(kLessons) + 1);
            entries[i].german = QStringLiteral("Wort %1 %2").arg(random.generate()).arg(i);
        }
        return WriteVocabularyFile(NewTestDirectory(), QStringLiteral("gross.vok"), entries);
    }();
    return path;
}

void Export(benchmark::State& state, SortKey key, bool caseSensitive)
{
    QString html = LargeFile();
    html.replace(QStringLiteral(".vok"), QStringLiteral(".html"));
    const ExportRequest request{
        LargeFile(),
        html,
        key,
        caseSensitive,
        {true, false, QStringLiteral("gross.vok"), QStringLiteral("05.03.01")}};
    for (auto _ : state)
        if (ExportVocabularyList(request) != ExportResult::Written)
            state.SkipWithError("export failed");
}

void BM_Export100k_ByLesson(benchmark::State& state)
{
    Export(state, SortKey::Lesson, true);
}
void BM_Export100k_ByGerman(benchmark::State& state)
{
    Export(state, SortKey::German, true);
}
void BM_Export100k_ByGermanIgnoringCase(benchmark::State& state)
{
    Export(state, SortKey::German, false);
}
void BM_Export100k_Unsorted(benchmark::State& state)
{
    Export(state, SortKey::None, true);
}

// The first 10,000 entries of the large file.
WorkingList SmallList()
{
    WorkingList list;
    ReadWorkingList(LargeFile(), list);
    list.count = kSmall;
    list.fields.truncate(qsizetype(kSmall) * kExportFields * kExportFieldWidth);
    return list;
}

// The exchange sort by lesson on whole elements of three strings, as the export once ran.
void BM_Sort10k_ByLesson_ExchangeSort(benchmark::State& state)
{
    const WorkingList list = SmallList();
    struct Element {
        QByteArray lesson, german, foreign;
    };
    for (auto _ : state) {
        std::vector<Element> elements;
        for (int i = 0; i < list.count; ++i)
            elements.push_back({list.field(i, 0).toByteArray(), list.field(i, 1).toByteArray(),
                                list.field(i, 2).toByteArray()});
        for (std::size_t i = 0; i < elements.size(); ++i)
            for (std::size_t j = i; j < elements.size(); ++j)
                if (elements[j].lesson < elements[i].lesson)
                    std::swap(elements[i], elements[j]);
        benchmark::DoNotOptimize(elements.data());
    }
}

void BM_Sort10k_ByLesson_Fast(benchmark::State& state)
{
    const WorkingList list = SmallList();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            ExchangeSortOrder(SortKeys(list, SortKey::Lesson, true), kExportFieldWidth));
}

// The order alone, over the whole large file.
void SortLarge(benchmark::State& state, SortKey key)
{
    WorkingList list;
    ReadWorkingList(LargeFile(), list);
    for (auto _ : state)
        benchmark::DoNotOptimize(ExchangeSortOrder(SortKeys(list, key, true), kExportFieldWidth));
}

void BM_Sort100k_ByLesson_Fast(benchmark::State& state)
{
    SortLarge(state, SortKey::Lesson);
}
void BM_Sort100k_ByGerman_Fast(benchmark::State& state)
{
    SortLarge(state, SortKey::German);
}

}  // namespace

BENCHMARK(BM_Sort100k_ByLesson_Fast)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Sort100k_ByGerman_Fast)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Export100k_ByLesson)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Export100k_ByGerman)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Export100k_ByGermanIgnoringCase)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Export100k_Unsorted)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Sort10k_ByLesson_ExchangeSort)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Sort10k_ByLesson_Fast)->Unit(benchmark::kMillisecond)->Iterations(10);
