#pragma once

#include "review/ReviewStore.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

// Which cards a run of due reviews asks, which answer is which rating, and the figures of
// the progress window: everything about reviews that needs no window.

struct ReviewSettings {
    double desiredRetention = 0.9;  // 0.70 to 0.97
    int newCardsPerDay = 20;        // across runs, per file and direction
    int runSize = 100;
};

// The key of every entry of the file, in file order (entry i at index i - 1), read in
// blocks; progress is called between blocks. Nothing when a read fails.
std::optional<QList<CardKey>> ReadCardKeys(VocabularyFile& file,
                                           const std::function<void()>& progress = {});

struct DueSelection {
    QList<int> entries;  // entry numbers (1-based) in the order to ask them
    int dueCount = 0;    // the first dueCount of them are due reviews, the rest new cards
    // With no entries: the learning day the next card is due (tomorrow when only the daily
    // limit keeps new cards back); nothing when no card will ever be due.
    std::optional<qint64> nextDueDay;
};

// The run of a file's cards in one direction: the due cards, least likely to be recalled
// first, then new cards in file order while the day's limit allows, at most runSize in
// all. cards[i] is the state of keys[i] (nothing: never reviewed); introducedToday holds
// the cards first reviewed today. An entry whose pair occurs earlier in the file is the
// same card and is asked once.
DueSelection SelectDueCards(const QList<CardKey>& keys,
                            const QList<std::optional<CardState>>& cards,
                            const QSet<qint64>& introducedToday, qint64 today,
                            const ReviewSettings& settings);

// Looks the cards up in the store and selects. Nothing when the store failed; after
// the call, store.takeMessage() gives the text to show, if any.
std::optional<DueSelection> PlanDueRun(ReviewStore& store, const QList<CardKey>& keys,
                                       Direction direction, const QDateTime& now,
                                       const ReviewSettings& settings,
                                       const ReviewStore::Progress& progress = {});

// The notice when a selection is empty: "Heute ist keine Vokabel fällig." and when the
// next ones are due.
QString NothingDueMessage(const DueSelection& selection, qint64 today);

// Which answer of a run is which rating, for every kind of run. The first answer of an
// entry in the run is a review: right is Good, wrong is Again (a question dropped was
// answered wrong first). Each later answer of that entry in the run (a missed question
// asked again) is a same-day review. After the store's first failure the run records
// nothing more, so the learner sees one message and goes on without scheduling.
class RunReviews {
public:
    RunReviews() = default;
    RunReviews(ReviewStore* store, Direction direction, double desiredRetention);

    // Records the judged answer of entry entryNumber. Returns the message to show when the
    // store had a problem (once per run).
    std::optional<QString> answered(int entryNumber, const CardKey& key, bool right,
                                    const QDateTime& now);
    bool recording() const { return store_ != nullptr; }

private:
    ReviewStore* store_ = nullptr;
    Direction direction_ = Direction::GermanToForeign;
    double retention_ = fsrs::kDefaultRetention;
    QSet<int> answered_;
};

// The figures of the progress window for one file.
struct DirectionFigures {
    int fresh = 0;      // never reviewed
    int dueToday = 0;   // due today or overdue
    int dueWeek = 0;    // due on one of the next 7 days after today
    int wellKnown = 0;  // chance to recall today at least 90 %
    bool operator==(const DirectionFigures&) const = default;
};

struct ProgressFigures {
    static constexpr int kForecastDays = 30;

    qint64 today = 0;
    DirectionFigures germanToForeign;
    DirectionFigures foreignToGerman;
    QList<int> forecast;          // due cards of both directions on today + k; overdue ones today
    qint64 firstCalendarDay = 0;  // the Monday 52 weeks before this week's
    QList<int> calendar;          // reviews of all files per day from firstCalendarDay to today
    int streak = 0;               // learning days in a row with reviews
};

// The figures of one direction from the states of its cards (each card once).
DirectionFigures CountDirection(const QList<std::optional<CardState>>& cards, qint64 today,
                                QList<int>* forecast = nullptr);

// Everything the progress window shows. Nothing when the store failed (then, as after a
// replaced damaged store, store.takeMessage() gives the text to show).
std::optional<ProgressFigures> LoadProgress(ReviewStore& store, const QList<CardKey>& keys,
                                            const QDateTime& now,
                                            const ReviewStore::Progress& progress = {});
