#pragma once

#include "learn/LearningRun.h"
#include "review/Fsrs.h"
#include "vocab/VocabularyFile.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>

#include <array>
#include <functional>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

// Days of learning begin at 04:00 local time, so that a session after midnight still counts
// to the evening before. A learning day is the Julian day number of the date it begins on
// (QDate::toJulianDay; SQLite's date(day) shows it).
inline constexpr int kLearningDayStartHour = 4;
qint64 LearningDay(const QDateTime& localTime);
QDate LearningDate(qint64 day);

// A card is one direction of an entry, known by its German and foreign terms as trimmed
// texts: moving an entry or changing its lesson, synonyms or remark keeps the card; the
// same pair in two files is one card.
struct CardKey {
    QString german;
    QString foreign;
    static CardKey of(const VocabularyEntry& entry);
    bool operator==(const CardKey&) const = default;
};
size_t qHash(const CardKey& key, size_t seed = 0);

// What the store knows of a card that has been reviewed at least once.
struct CardState {
    qint64 id = 0;
    MemoryState memory;
    qint64 dueDay = 0;   // learning day it is due again
    qint64 lastDay = 0;  // learning day of its last review
    int reviews = 0;
    int lapses = 0;  // Again after at least a day: forgotten
    bool operator==(const CardState&) const = default;
};

// The per-user review store: an SQLite database with the cards and a log of every review.
// Two program instances share it (WAL journal, waiting for each other's writes up to a
// limit). Every answer is committed before record() returns.
//
// Problems are values: an operation that cannot give its result returns nothing, and
// lastStatus() says why. A damaged file is moved aside (never deleted) and a fresh store
// takes its place, so the operation goes on on the empty store and reports Damaged.
// Locked and Unavailable leave the store as it is: the caller goes on without scheduling.
// takeMessage() gives the German text of the first problem since it was last called.
class ReviewStore {
public:
    enum class Status {
        Ok,
        Unavailable,  // cannot be opened, created or written (the path, the disk, rights)
        Locked,       // another program held it longer than the busy timeout
        Damaged,      // not a sound store: moved aside, a fresh one was started
    };

    ReviewStore() = default;
    ~ReviewStore();
    ReviewStore(const ReviewStore&) = delete;
    ReviewStore& operator=(const ReviewStore&) = delete;

    // "Wiederholungen.sqlite" in the user's data directory.
    static QString defaultPath();

    // Opens or creates the store. Returns the status (also lastStatus()); the store is
    // usable afterwards when it is Ok or Damaged.
    Status open(const QString& path);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    QString path() const { return path_; }
    // How long an operation waits for another instance's write.
    void setBusyTimeout(int milliseconds);

    Status lastStatus() const { return status_; }
    // Where the damaged file went (after Damaged).
    QString movedAsidePath() const { return movedAside_; }
    // The German text of the first problem since the last call (then forgotten); empty
    // when there was none.
    QString takeMessage();

    // Records one rating given at now (local time) and returns the card's new state. A
    // same-day review (sameDay, or a card already reviewed today) uses the same-day
    // formula; days since the last review never count below 0, even when the clock has
    // run backwards.
    std::optional<CardState> record(const CardKey& key, Direction direction, Rating rating,
                                    const QDateTime& now,
                                    double desiredRetention = fsrs::kDefaultRetention,
                                    bool sameDay = false);

    // Called every few thousand cards by the lookups below, so that a window can repaint.
    using Progress = std::function<void()>;

    // The states of these cards in one direction, in the order of keys; nothing for a card
    // never reviewed. One read transaction, so the answer is a consistent snapshot.
    std::optional<QList<std::optional<CardState>>> cardsFor(const QList<CardKey>& keys,
                                                            Direction direction,
                                                            const Progress& progress = {});

    struct BothDirections {
        QList<std::optional<CardState>> germanToForeign;
        QList<std::optional<CardState>> foreignToGerman;
    };
    // Both cards of each entry in one pass (the progress window).
    std::optional<BothDirections> cardsInBothDirections(const QList<CardKey>& keys,
                                                        const Progress& progress = {});

    // The cards whose first review was on this learning day (for the daily limit of new
    // cards).
    std::optional<QSet<qint64>> cardsFirstReviewedOn(qint64 day);

    // Reviews per learning day from first to last (both included), all files together:
    // one count per day, 0 where nothing was reviewed.
    std::optional<QList<int>> reviewsPerDay(qint64 first, qint64 last);
    // Consecutive learning days with a review that end today, or yesterday while today has
    // none yet.
    std::optional<int> streak(qint64 today);

private:
    Status connect();
    Status createSchema();
    bool prepare();
    void disconnect();
    std::optional<std::array<QList<std::optional<CardState>>, 2>> lookup(
        const QList<CardKey>& keys, std::optional<Direction> direction, const Progress& progress);
    // Classifies an SQLite result code; a damaged store is replaced by a fresh one.
    void fail(int code);
    bool moveAside();
    // Runs work (which returns an SQLite code) and sets the status; see the class comment.
    bool attempt(const std::function<int()>& work);
    void rollback();
    void setStatus(Status status);
    QString describe(Status status) const;

    sqlite3* db_ = nullptr;
    sqlite3_stmt* find_ = nullptr;
    sqlite3_stmt* findBoth_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    sqlite3_stmt* update_ = nullptr;
    sqlite3_stmt* log_ = nullptr;
    sqlite3_stmt* lastDay_ = nullptr;
    sqlite3_stmt* firstReviews_ = nullptr;
    sqlite3_stmt* perDay_ = nullptr;
    QString path_;
    QString movedAside_;
    Status status_ = Status::Ok;
    QString pendingMessage_;
    int busyTimeout_ = 2000;
};
