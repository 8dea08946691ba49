#include "app/Widgets.h"
#include "review/DueSelection.h"
#include "review/ProgressWindow.h"
#include "review/ReviewStore.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <map>

#include "BenchSupport.h"

// Due reviews on large files: starting a due run (reading the file's terms, looking up
// their cards, choosing the run), recording one answer, and the figures of the progress
// window. Every store holds a card for each entry of its file (a third of them due today)
// and 1,000,000 rows of review log over the last two years.

namespace {

constexpr int kLogRows = 1'000'000;
const QDateTime kNow(QDate(2001, 3, 5), QTime(19, 0));

CardKey Key(int i)
{
    return {QStringLiteral("deutsch %1").arg(i), QStringLiteral("foreign %1").arg(i)};
}

struct Fixture {
    QString vocabularyPath;
    QString storePath;
};

// A vocabulary file of n entries and a store with their cards and the log, made once.
const Fixture& Prepare(int n)
{
    static std::map<int, Fixture> made;
    if (auto found = made.find(n); found != made.end())
        return found->second;
    const QString dir = NewTestDirectory();
    Fixture fixture{dir + QStringLiteral("/gross.vok"),
                    dir + QStringLiteral("/Wiederholungen.sqlite")};

    QFile file(fixture.vocabularyPath);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write the vocabulary file");
    QByteArray slice = QByteArray(kRecordSize, ' ');
    for (int i = 1; i <= n; ++i) {
        const CardKey key = Key(i);
        slice += EncodeEntry({QStringLiteral("Lektion %1").arg(i % 10), key.german, key.foreign,
                              QString(), QString()})
                     .value();
        if (slice.size() >= (1 << 22) || i == n) {
            file.write(slice);
            slice.clear();
        }
    }
    file.close();

    ReviewStore store;
    if (store.open(fixture.storePath) != ReviewStore::Status::Ok)
        qFatal("cannot create the store");
    store.close();
    sqlite3* db = nullptr;
    sqlite3_open(fixture.storePath.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* card = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO cards (german_term, foreign_term, direction, id, stability,"
                       " difficulty, due_day, last_day, reviews, lapses)"
                       " VALUES (?1, ?2, 0, ?6, ?3, 5, ?4, ?5, 3, 0)",
                       -1, &card, nullptr);
    const qint64 today = LearningDay(kNow);
    for (int i = 1; i <= n; ++i) {
        const CardKey key = Key(i);
        const QByteArray german = key.german.toUtf8();
        const QByteArray foreign = key.foreign.toUtf8();
        sqlite3_bind_text(card, 1, german.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(card, 2, foreign.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(card, 3, 1 + i % 97);
        sqlite3_bind_int64(card, 4, today + i % 30 - 10);
        sqlite3_bind_int64(card, 5, today - 20 - i % 11);
        sqlite3_bind_int64(card, 6, i);
        sqlite3_step(card);
        sqlite3_reset(card);
    }
    sqlite3_finalize(card);
    sqlite3_stmt* log = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO review_log (card_id, time_utc, day, rating, elapsed_days,"
                       " stability_before, difficulty_before, stability_after, difficulty_after,"
                       " due_day) VALUES (?1, '2000-01-01T18:00:00.000Z', ?2, 3, 4, 3, 5, 9, 5,"
                       " ?2 + 9)",
                       -1, &log, nullptr);
    for (int r = 0; r < kLogRows; ++r) {
        sqlite3_bind_int64(log, 1, 1 + r % n);
        sqlite3_bind_int64(log, 2, today - 730 + qint64(r) * 731 / kLogRows);
        sqlite3_step(log);
        sqlite3_reset(log);
    }
    sqlite3_finalize(log);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return made.emplace(n, fixture).first->second;
}

// Starting a due run: the file's terms, their cards, the choice, repainting meanwhile.
void BM_DueRunStart(benchmark::State& state)
{
    const Fixture& fixture = Prepare(int(state.range(0)));
    ReviewStore store;
    store.open(fixture.storePath);
    VocabularyFile file;
    file.open(fixture.vocabularyPath, VocabularyFile::Access::ReadOnly);
    std::optional<DueSelection> plan;
    RepaintPacer repaint;  // as the learning window keeps itself painted
    const auto progress = [&repaint] { repaint(); };
    for (auto _ : state) {
        const auto keys = ReadCardKeys(file, progress);
        plan = PlanDueRun(store, keys.value(), Direction::GermanToForeign, kNow, {}, progress);
    }
    if (!plan || plan->entries.size() != 100)
        state.SkipWithError("no run of 100 cards");
    ReportPeak(state);
}
BENCHMARK(BM_DueRunStart)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// One answer, committed, in a store of 100,000 cards and 1,000,000 log rows: the median
// of 200 answers to different cards.
void BM_RecordAnswer(benchmark::State& state)
{
    const Fixture& fixture = Prepare(100'000);
    ReviewStore store;
    store.open(fixture.storePath);
    QList<double> times;
    int i = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        if (!store.record(Key(1 + (i++ * 7919) % 100'000), Direction::GermanToForeign, Rating::Good,
                          kNow))
            state.SkipWithError("not recorded");
        times << double(timer.nsecsElapsed()) / 1e6;
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times.at(times.size() / 2);
    state.counters["max_ms"] = times.last();
}
BENCHMARK(BM_RecordAnswer)->Unit(benchmark::kMillisecond)->Iterations(200);

// The progress window of a 100,000-entry file: its cards in both directions, the log's
// year, the streak, the labels and charts filled.
void BM_ProgressWindow(benchmark::State& state)
{
    const Fixture& fixture = Prepare(100'000);
    ReviewStore store;
    store.open(fixture.storePath);
    VocabularyFile file;
    file.open(fixture.vocabularyPath, VocabularyFile::Access::ReadOnly);
    const QList<CardKey> keys = ReadCardKeys(file).value();
    ProgressWindow window;
    for (auto _ : state)
        if (!window.load(store, fixture.vocabularyPath, keys, kNow))
            state.SkipWithError("store failed");
    ReportPeak(state);
}
BENCHMARK(BM_ProgressWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
