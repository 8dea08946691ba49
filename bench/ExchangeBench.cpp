#include "exchange/ListExport.h"
#include "exchange/ListImport.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>

#include "BenchSupport.h"

// Word lists in and out: export of a vocabulary file as CSV, Anki text and KVTML, and the
// import of such a list (the count the dialog shows, then the import into a new file), for
// 100,000 entries and for 1,000,000. Each reports the process's peak memory so far
// ("peak_MB") and the list's size ("list_MB"); run the 1,000,000-entry cases one at a time
// (--benchmark_filter) to see each one's own peak.

namespace {

VocabularyEntry Entry(int i)
{
    return {QStringLiteral("Lektion %1").arg(i / 1000 + 1), QStringLiteral("das Wört %1").arg(i),
            QStringLiteral("the word %1").arg(i),
            i % 3 == 0 ? QStringLiteral("Synonym %1").arg(i) : QString(),
            i % 5 == 0 ? QStringLiteral("Bemerkung; mit \"Zeichen\"") : QString()};
}

// A vocabulary file of n entries, written in slices.
const QString& Vocabulary(int n)
{
    static std::map<int, QString> paths;
    QString& path = paths[n];
    if (!path.isEmpty())
        return path;
    path = NewTestDirectory() + QStringLiteral("/liste.vok");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return path = QString();
    QByteArray slice = EncodeHeader({QStringLiteral("Groß"), QString(), QString()}).value();
    for (int i = 0; i < n; ++i) {
        slice += EncodeEntry(Entry(i)).value();
        if (slice.size() >= (1 << 22) || i == n - 1) {
            if (file.write(slice) != slice.size())
                return path = QString();
            slice.clear();
        }
    }
    return path;
}

QString Extension(ListFormat format)
{
    switch (format) {
        case ListFormat::Csv: return QStringLiteral(".csv");
        case ListFormat::AnkiText: return QStringLiteral(".txt");
        case ListFormat::Kvtml: return QStringLiteral(".kvtml");
    }
    return QString();
}

// The list of n entries in the format, exported once.
const QString& List(int n, ListFormat format)
{
    static std::map<std::pair<int, int>, QString> paths;
    QString& path = paths[{n, int(format)}];
    if (path.isEmpty()) {
        path = NewTestDirectory() + QStringLiteral("/liste") + Extension(format);
        if (!ExportWordList(Vocabulary(n), format, path, true).ok())
            path.clear();
    }
    return path;
}

void Report(benchmark::State& state, const QString& list)
{
    state.counters["list_MB"] = double(QFileInfo(list).size()) / (1 << 20);
    ReportPeak(state);
}

void BM_Export(benchmark::State& state, ListFormat format)
{
    const int n = int(state.range(0));
    const QString target = NewTestDirectory() + QStringLiteral("/export") + Extension(format);
    if (Vocabulary(n).isEmpty())
        return state.SkipWithError("the vocabulary file could not be written");
    for (auto _ : state)
        if (ExportWordList(Vocabulary(n), format, target, true).entries != n)
            state.SkipWithError("export failed");
    Report(state, target);
}

void BM_Count(benchmark::State& state, ListFormat format)
{
    const int n = int(state.range(0));
    const QString& list = List(n, format);
    const ImportSettings settings = DetectImport(list).settings;
    for (auto _ : state)
        if (CountImportFile(list, settings).counts.entries != n)
            state.SkipWithError("count failed");
    Report(state, list);
}

void BM_Import(benchmark::State& state, ListFormat format)
{
    const int n = int(state.range(0));
    const QString& list = List(n, format);
    const ImportSettings settings = DetectImport(list).settings;
    const QString target = NewTestDirectory() + QStringLiteral("/import.vok");
    for (auto _ : state) {
        const ImportResult result =
            ImportListFile(list, settings, {target, TargetMode::NewFile, true, -1}, false);
        if (!result.ok() || result.counts.entries != n)
            state.SkipWithError("import failed");
    }
    Report(state, list);
}

// 200 MB of one quoted field that never ends: read in bounded memory, counted as one entry
// with a field too long.
void BM_CountEndlessField(benchmark::State& state)
{
    const QString list = NewTestDirectory() + QStringLiteral("/endlos.csv");
    {
        QFile file(list);
        if (!file.open(QIODevice::WriteOnly) || file.write("Haus;\"") != 6)
            return state.SkipWithError("cannot write the list");
        const QByteArray slice(1 << 22, 'a');
        for (int i = 0; i < 50; ++i)
            if (file.write(slice) != slice.size())
                return state.SkipWithError("cannot write the list");
    }
    ImportSettings settings;
    settings.mapping.column = {-1, 0, 1, -1, -1};
    settings.defaultLesson = QStringLiteral("Import");
    for (auto _ : state)
        if (CountImportFile(list, settings).counts.cut != 1)
            state.SkipWithError("count failed");
    Report(state, list);
}

}  // namespace

BENCHMARK(BM_CountEndlessField)->Iterations(1)->Unit(benchmark::kMillisecond);
// Each direction for each format at 100,000 entries, and once at a million.
const bool kFormatBenchmarks = [] {
    using Job = void (*)(benchmark::State&, ListFormat);
    const std::pair<const char*, Job> jobs[] = {
        {"BM_Export", BM_Export}, {"BM_Count", BM_Count}, {"BM_Import", BM_Import}};
    const std::pair<const char*, ListFormat> formats[] = {
        {"Csv", ListFormat::Csv}, {"Anki", ListFormat::AnkiText}, {"Kvtml", ListFormat::Kvtml}};
    for (const auto& [job, run] : jobs) {
        for (const auto& [format, value] : formats) {
            const std::string name = std::string(job) + "/" + format;
            benchmark::RegisterBenchmark(name.c_str(), run, value)
                ->Arg(100'000)
                ->Unit(benchmark::kMillisecond);
            if (run != BM_Count)
                benchmark::RegisterBenchmark((name + "/huge").c_str(), run, value)
                    ->Arg(1'000'000)
                    ->Iterations(1)
                    ->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}();
