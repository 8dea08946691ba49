#pragma once

#include "learn/StatisticsFile.h"
#include "vocab/VocabularyFile.h"

#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

// One quiz over the entries of a vocabulary file, without any window: the question table,
// the counters and what each answer does to them. The learning window drives it and shows
// its state.
//
// Rules: the first pass asks every row once, in table order, and counts each question
// exactly once (known, or notKnown and perhaps deleted). Once the position wraps past the
// end of the table the run is in its repeat pass: the unfinished rows come again in table
// order and nothing more is counted. The run ends when every row is finished.

// One question: the five fields of an entry (blanks trimmed; the lesson as LessonKey
// trims it) and whether it is done.
struct QuestionRow {
    VocabularyEntry entry;
    int entryNumber = 0;  // 1-based number of the entry in the file
    bool finished = false;
};
using QuestionTable = QList<QuestionRow>;

struct RunCounters {
    int total = 0;      // questions of the run
    int remaining = 0;  // questions not yet finished
    int known = 0;      // right at their first asking
    int notKnown = 0;   // wrong at their first asking
    int deleted = 0;    // wrong at their first asking and dropped at once
    int position = 0;   // row of the question on screen
    int tableSize = 0;  // 0: no run prepared
    bool repeatPass = false;
    bool randomRun = false;
    int elapsedSeconds = 0;
    bool operator==(const RunCounters&) const = default;
};

enum class Direction { GermanToForeign, ForeignToGerman };

class LearningRun {
public:
    static constexpr int kRandomRunSize = 30;

    enum class Start {
        Started,        // a run is prepared; the first question is current
        NoQuestions,    // no entry of the lesson: counters are all 0, no run
        TooFewEntries,  // random run over a file of fewer than 30 entries; nothing changed
        ReadFailed,     // the file could not be read (e.g. shortened meanwhile); no run
    };
    enum class Step {
        Next,   // the next question is current
        Ended,  // that was the last unfinished question; the counters hold the final counts
        NoRun,  // called without a run; nothing changed
    };

    // "Für diese Funktion muß die Datei mindestens 30 Einträge enthalten!"
    static QString tooFewEntriesMessage();

    // The numbers (1-based, file order) of the entries whose LessonKey is lesson exactly
    // (case included): the entries of a lesson as the lesson lists show it. Nothing when a
    // read fails.
    // progress is called between blocks of entries, so that a window can repaint.
    static std::optional<QList<int>> lessonCandidates(VocabularyFile& file, const QString& lesson,
                                                      const std::function<void()>& progress = {});

    // A lesson run over every entry of the lesson, in a uniformly random order drawn from
    // seed. Any earlier run is discarded.
    Start startLessonRun(VocabularyFile& file, const QString& lesson, std::uint64_t seed,
                         const std::function<void()>& progress = {});
    // A random run over 30 distinct entries drawn uniformly from the whole file.
    Start startRandomRun(VocabularyFile& file, std::uint64_t seed);
    // A run over these entries (1-based numbers) in exactly this order: the run of due
    // reviews. Like a random run's, its record names no lesson.
    Start startOrderedRun(VocabularyFile& file, const QList<int>& entryNumbers,
                          const std::function<void()>& progress = {});

    // Back to "no run": table discarded, every counter 0, both flags cleared.
    void reset();

    bool isRunning() const { return counters_.tableSize > 0; }
    const RunCounters& counters() const { return counters_; }
    const QuestionTable& table() const { return table_; }
    // The lesson of a lesson run; empty for a random run.
    const QString& lesson() const { return lesson_; }

    // The question on screen (only while running).
    const QuestionRow& currentRow() const;
    QString questionText(Direction direction) const;
    QString expectedAnswer(Direction direction) const;

    // After a right answer: the question is finished.
    Step acceptAnswer();
    // After a wrong answer, the question leaves the run.
    Step dropQuestion();
    // After a wrong answer, the question stays for a later pass.
    Step keepQuestion();

    // One second of the run has passed (ignored without a run).
    void tick();

    // known / (known + notKnown) in percent, two decimals with the locale's separator and
    // " %" ("66,67 %"); empty while nothing has been counted.
    QString percentageText(const QLocale& locale) const;
    // The elapsed time as shown: "17 s".
    QString elapsedText() const;

    // The statistics record of the run as it stands (after Ended: the finished run).
    RunResult result(const QString& vocabularyPath, const QDate& date) const;

private:
    enum class Outcome { Accept, Drop, Keep };
    Step answer(Outcome outcome);
    // Moves the position past finished rows, wrapping at the end of the table.
    void skipFinishedRows();
    void beginTable(QuestionTable table, bool randomRun, const QString& lesson);

    QuestionTable table_;
    RunCounters counters_;
    QString lesson_;
};
