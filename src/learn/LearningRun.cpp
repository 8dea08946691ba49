#include "LearningRun.h"

#include "app/AnsiText.h"
#include "vocab/LessonOverview.h"

#include <random>
#include <utility>

namespace {

// A uniform number in [0, n), n > 0. Rejection keeps it free of the modulo bias, and the
// 64-bit generator reaches every entry of any file.
int UniformBelow(std::mt19937_64& generator, int n)
{
    const std::uint64_t range = static_cast<std::uint64_t>(n);
    const std::uint64_t limit = std::mt19937_64::max() - std::mt19937_64::max() % range;
    std::uint64_t r;
    do
        r = generator();
    while (r >= limit);
    return static_cast<int>(r % range);
}

std::optional<QuestionTable> ReadRows(VocabularyFile& file, const QList<int>& entryNumbers,
                                      const std::function<void()>& progress = {})
{
    QuestionTable table;
    table.reserve(entryNumbers.size());
    for (int number : entryNumbers) {
        if (progress && table.size() % 2048 == 2047)
            progress();
        auto entry = file.readEntry(number);
        if (!entry)
            return std::nullopt;
        // The lesson is shown as the lesson lists show it.
        entry->lesson = TrimControls(entry->lesson);
        table.append(QuestionRow{std::move(*entry), number, false});
    }
    return table;
}

}  // namespace

QString LearningRun::tooFewEntriesMessage()
{
    return QStringLiteral("Für diese Funktion muß die Datei mindestens 30 Einträge enthalten!");
}

std::optional<QList<int>> LearningRun::lessonCandidates(VocabularyFile& file, const QString& lesson,
                                                        const std::function<void()>& progress)
{
    QList<int> candidates;
    // Lesson fields hold only Windows-1252 text: a lesson it cannot store matches nothing.
    // Otherwise comparing bytes equals comparing the decoded texts.
    const auto wanted = ToAnsi(lesson);
    const auto visit = [&](int number, QByteArrayView record) {
        // The lists' own rule, so that every lesson they offer runs all of its entries.
        if (wanted && LessonKey(record.first(kFieldWidth)) == *wanted)
            candidates.append(number);
    };
    if (file.scanEntries(visit, progress) != file.entryCount())
        return std::nullopt;  // shortened meanwhile
    return candidates;
}

LearningRun::Start LearningRun::startLessonRun(VocabularyFile& file, const QString& lesson,
                                               std::uint64_t seed,
                                               const std::function<void()>& progress)
{
    reset();
    auto candidates = lessonCandidates(file, lesson, progress);
    if (!candidates)
        return Start::ReadFailed;
    if (candidates->isEmpty())
        return Start::NoQuestions;

    std::mt19937_64 generator(seed);
    for (int i = static_cast<int>(candidates->size()) - 1; i > 0; --i)
        candidates->swapItemsAt(i, UniformBelow(generator, i + 1));

    auto table = ReadRows(file, *candidates, progress);
    if (!table)
        return Start::ReadFailed;
    beginTable(std::move(*table), false, lesson);
    return Start::Started;
}

LearningRun::Start LearningRun::startRandomRun(VocabularyFile& file, std::uint64_t seed)
{
    const int n = file.entryCount();
    if (n < kRandomRunSize)
        return Start::TooFewEntries;
    reset();

    // Distinct entries, kept in drawing order. Redrawing on a repeat is cheap: at worst
    // (30 entries) it takes about 120 draws.
    std::mt19937_64 generator(seed);
    QList<int> numbers;
    while (numbers.size() < kRandomRunSize) {
        const int number = UniformBelow(generator, n) + 1;
        if (!numbers.contains(number))
            numbers.append(number);
    }

    auto table = ReadRows(file, numbers);
    if (!table)
        return Start::ReadFailed;
    beginTable(std::move(*table), true, QString());
    return Start::Started;
}

LearningRun::Start LearningRun::startOrderedRun(VocabularyFile& file,
                                                const QList<int>& entryNumbers,
                                                const std::function<void()>& progress)
{
    reset();
    if (entryNumbers.isEmpty())
        return Start::NoQuestions;
    auto table = ReadRows(file, entryNumbers, progress);
    if (!table)
        return Start::ReadFailed;
    beginTable(std::move(*table), true, QString());
    return Start::Started;
}

void LearningRun::beginTable(QuestionTable table, bool randomRun, const QString& lesson)
{
    table_ = std::move(table);
    lesson_ = lesson;
    const int size = static_cast<int>(table_.size());
    counters_ = RunCounters{};
    counters_.total = size;
    counters_.remaining = size;
    counters_.tableSize = size;
    counters_.randomRun = randomRun;
}

void LearningRun::reset()
{
    table_.clear();
    counters_ = RunCounters{};
    lesson_.clear();
}

const QuestionRow& LearningRun::currentRow() const
{
    Q_ASSERT(isRunning());
    return table_.at(counters_.position);
}

QString LearningRun::questionText(Direction direction) const
{
    const VocabularyEntry& entry = currentRow().entry;
    return direction == Direction::GermanToForeign ? entry.german : entry.foreign;
}

QString LearningRun::expectedAnswer(Direction direction) const
{
    const VocabularyEntry& entry = currentRow().entry;
    return direction == Direction::GermanToForeign ? entry.foreign : entry.german;
}

LearningRun::Step LearningRun::acceptAnswer()
{
    return answer(Outcome::Accept);
}

LearningRun::Step LearningRun::dropQuestion()
{
    return answer(Outcome::Drop);
}

LearningRun::Step LearningRun::keepQuestion()
{
    return answer(Outcome::Keep);
}

LearningRun::Step LearningRun::answer(Outcome outcome)
{
    if (!isRunning())
        return Step::NoRun;

    RunCounters& c = counters_;
    // Only the first asking of a question counts, and the first pass asks each one once.
    if (!c.repeatPass) {
        if (outcome == Outcome::Accept) {
            ++c.known;
        } else {
            ++c.notKnown;
            if (outcome == Outcome::Drop)
                ++c.deleted;
        }
    }
    if (outcome != Outcome::Keep) {
        table_[c.position].finished = true;
        --c.remaining;
    }
    ++c.position;

    if (c.remaining == 0) {
        // The run is over: the table goes, the counts stay for the display and the record.
        table_.clear();
        c.tableSize = 0;
        return Step::Ended;
    }
    if (c.position >= c.tableSize) {
        c.position = 0;
        c.repeatPass = true;
    }
    skipFinishedRows();
    return Step::Next;
}

void LearningRun::skipFinishedRows()
{
    // Terminates: remaining > 0, so some row is unfinished.
    while (table_.at(counters_.position).finished) {
        if (++counters_.position >= counters_.tableSize)
            counters_.position = 0;
    }
}

void LearningRun::tick()
{
    if (isRunning())
        ++counters_.elapsedSeconds;
}

QString LearningRun::percentageText(const QLocale& locale) const
{
    const int counted = counters_.known + counters_.notKnown;
    if (counted == 0)
        return QString();
    const float percent =
        static_cast<float>(counters_.known) / static_cast<float>(counted) * 100.0f;
    return locale.toString(percent, 'f', 2) + QStringLiteral(" %");
}

QString LearningRun::elapsedText() const
{
    return QString::number(counters_.elapsedSeconds) + QStringLiteral(" s");
}

RunResult LearningRun::result(const QString& vocabularyPath, const QDate& date) const
{
    RunResult run;
    run.vocabularyPath = vocabularyPath;
    run.lesson = lesson_;  // empty for a random run
    run.total = counters_.total;
    run.known = counters_.known;
    run.notKnown = counters_.notKnown;
    run.deleted = counters_.deleted;
    run.seconds = counters_.elapsedSeconds;
    run.date = date;
    return run;
}
