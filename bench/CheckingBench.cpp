#include "checking/AnswerDifference.h"
#include "checking/AnswerMatching.h"

#include <benchmark/benchmark.h>

// Judging an answer and marking its difference for terms of 240 characters, the longest a
// term can get, with every option on (umlaut spellings make the texts longest).

namespace {

constexpr int kLength = 240;
const AnswerOptions kEveryOption{true, true, true};

// 240 characters of words with umlauts, and the same typed without umlauts and with a
// typing error in every word: the worst case for the alignment.
QString StoredTerm()
{
    QString term;
    while (term.size() < kLength)
        term += QStringLiteral("Mädchen grüßen Äpfel ");
    return term.left(kLength);
}

QString TypedTerm()
{
    QString term;
    while (term.size() < kLength)
        term += QStringLiteral("Madchen gruessen Aepfl ");
    return term.left(kLength);
}

// 40 meanings ("w000; w001; ..."), typed in reverse order.
QString Meanings(bool reversed)
{
    QStringList meanings;
    for (int i = 0; i < 40; ++i)
        meanings << QStringLiteral("w%1").arg(reversed ? 39 - i : i, 3, 10, QLatin1Char('0'));
    return meanings.join(QStringLiteral("; ")).left(kLength);
}

void BM_JudgeLongTerm(benchmark::State& state)
{
    const QString stored = StoredTerm();
    const QString typed = TypedTerm();
    for (auto _ : state)
        benchmark::DoNotOptimize(AnswerCounts(typed, stored, kEveryOption));
}

void BM_JudgeAllMeanings(benchmark::State& state)
{
    const QString stored = Meanings(false);
    const QString typed = Meanings(true);
    for (auto _ : state)
        if (!AnswerCounts(typed, stored, kEveryOption))
            state.SkipWithError("all meanings should count");
}

// 80 equal meanings, 60 of them typed with the other separator: every typed one fits every
// stored one, the worst case for pairing them up.
void BM_JudgeEqualMeanings(benchmark::State& state)
{
    const QString stored = QStringLiteral("w; ").repeated(kLength / 3);
    const QString typed = QStringLiteral("w / ").repeated(kLength / 4);
    for (auto _ : state)
        if (!AnswerCounts(typed, stored, kEveryOption))
            state.SkipWithError("the typed meanings should count");
}

void BM_MarkLongTerm(benchmark::State& state)
{
    const QString stored = StoredTerm();
    const QString typed = TypedTerm();
    for (auto _ : state)
        benchmark::DoNotOptimize(DifferenceSummary(MarkDifference(typed, stored, kEveryOption)));
}

void BM_MarkAgainstMeanings(benchmark::State& state)
{
    const QString stored = Meanings(false);
    const QString typed = TypedTerm();
    for (auto _ : state)
        benchmark::DoNotOptimize(DifferenceSummary(MarkDifference(typed, stored, kEveryOption)));
}

}  // namespace

BENCHMARK(BM_JudgeLongTerm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JudgeAllMeanings)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JudgeEqualMeanings)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MarkLongTerm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MarkAgainstMeanings)->Unit(benchmark::kMicrosecond);
