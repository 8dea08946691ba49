#include "ReviewStore.h"

#include "app/AnsiText.h"

#include <QDir>
#include <QFileInfo>
#include <QHashFunctions>
#include <QStandardPaths>

#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <utility>

namespace {

const QString kFileName = QStringLiteral("Wiederholungen.sqlite");
// "LKWD" in the file header, so that tools (and we) can tell the store from other files.
constexpr int kApplicationId = 0x4C4B5744;
constexpr int kSchemaVersion = 1;

const char* const kSchema = R"(
CREATE TABLE cards (
  german_term  TEXT    NOT NULL,
  foreign_term TEXT    NOT NULL,
  direction    INTEGER NOT NULL,
  id           INTEGER NOT NULL UNIQUE,
  stability    REAL    NOT NULL,
  difficulty   REAL    NOT NULL,
  due_day      INTEGER NOT NULL,
  last_day     INTEGER NOT NULL,
  reviews      INTEGER NOT NULL,
  lapses       INTEGER NOT NULL,
  PRIMARY KEY (german_term, foreign_term, direction)
) WITHOUT ROWID;
CREATE TABLE review_log (
  id                INTEGER PRIMARY KEY,
  card_id           INTEGER NOT NULL REFERENCES cards (id),
  time_utc          TEXT    NOT NULL,
  day               INTEGER NOT NULL,
  rating            INTEGER NOT NULL,
  elapsed_days      INTEGER NOT NULL,
  stability_before  REAL,
  difficulty_before REAL,
  stability_after   REAL    NOT NULL,
  difficulty_after  REAL    NOT NULL,
  due_day           INTEGER NOT NULL
);
CREATE INDEX review_log_by_day ON review_log (day, card_id);
)";

// The file stores directions as these numbers.
static_assert(int(Direction::GermanToForeign) == 0 && int(Direction::ForeignToGerman) == 1);

// Cards are looked up by their terms, a whole file at a time: the table is kept in the
// order of its key, so that each lookup is a single search.
constexpr const char* kCardColumns =
    "direction, id, stability, difficulty, due_day, last_day, reviews, lapses";

// A prepared statement, reset before and after use; the texts bound must outlive its step.
class Statement {
public:
    Statement(sqlite3_stmt* statement) : statement_(statement) { sqlite3_reset(statement_); }
    ~Statement() { sqlite3_reset(statement_); }
    Statement& text(int index, const QByteArray& utf8)
    {
        sqlite3_bind_text(statement_, index, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
        return *this;
    }
    Statement& integer(int index, qint64 value)
    {
        sqlite3_bind_int64(statement_, index, value);
        return *this;
    }
    Statement& real(int index, double value)
    {
        sqlite3_bind_double(statement_, index, value);
        return *this;
    }
    Statement& null(int index)
    {
        sqlite3_bind_null(statement_, index);
        return *this;
    }
    operator sqlite3_stmt*() const { return statement_; }

private:
    sqlite3_stmt* statement_;
};

CardState ReadCard(sqlite3_stmt* row)
{
    CardState card;
    card.id = sqlite3_column_int64(row, 1);
    card.memory = {sqlite3_column_double(row, 2), sqlite3_column_double(row, 3)};
    card.dueDay = sqlite3_column_int64(row, 4);
    card.lastDay = sqlite3_column_int64(row, 5);
    card.reviews = sqlite3_column_int(row, 6);
    card.lapses = sqlite3_column_int(row, 7);
    return card;
}

bool Finished(int code)
{
    return code == SQLITE_OK || code == SQLITE_DONE;
}

}  // namespace

qint64 LearningDay(const QDateTime& localTime)
{
    const QDateTime local = localTime.toLocalTime();
    QDate date = local.date();
    if (local.time().hour() < kLearningDayStartHour)
        date = date.addDays(-1);
    return date.toJulianDay();
}

QDate LearningDate(qint64 day)
{
    return QDate::fromJulianDay(day);
}

CardKey CardKey::of(const VocabularyEntry& entry)
{
    return {TrimBlanks(entry.german), TrimBlanks(entry.foreign)};
}

size_t qHash(const CardKey& key, size_t seed)
{
    return qHashMulti(seed, key.german, key.foreign);
}

ReviewStore::~ReviewStore()
{
    close();
}

QString ReviewStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QLatin1Char('/') +
           kFileName;
}

void ReviewStore::setBusyTimeout(int milliseconds)
{
    busyTimeout_ = milliseconds;
    if (db_)
        sqlite3_busy_timeout(db_, busyTimeout_);
}

QString ReviewStore::takeMessage()
{
    return std::exchange(pendingMessage_, QString());
}

void ReviewStore::setStatus(Status status)
{
    status_ = status;
    if (status != Status::Ok && pendingMessage_.isEmpty())
        pendingMessage_ = describe(status);
}

QString ReviewStore::describe(Status status) const
{
    const QString path = QDir::toNativeSeparators(path_);
    switch (status) {
        case Status::Ok: return {};
        case Status::Unavailable:
            return QStringLiteral(
                       "Die Wiederholungsdatenbank lässt sich nicht öffnen oder nicht "
                       "schreiben:\n%1\nDas Lernen geht ohne Wiederholungsplanung weiter.")
                .arg(path);
        case Status::Locked:
            return QStringLiteral(
                       "Die Wiederholungsdatenbank ist zu lange von einem anderen Programm "
                       "gesperrt:\n%1\nDas Lernen geht ohne Wiederholungsplanung weiter.")
                .arg(path);
        case Status::Damaged:
            return QStringLiteral(
                       "Die Wiederholungsdatenbank war beschädigt. Sie wurde unverändert "
                       "aufbewahrt als\n%1\nund durch eine neue, leere ersetzt.")
                .arg(QDir::toNativeSeparators(movedAside_));
    }
    return {};
}

ReviewStore::Status ReviewStore::open(const QString& path)
{
    close();
    path_ = path;
    movedAside_.clear();
    Status status = connect();
    if (status == Status::Damaged) {
        disconnect();
        if (!moveAside() || connect() != Status::Ok)
            status = Status::Unavailable;
    }
    if (status != Status::Ok && status != Status::Damaged)
        disconnect();
    setStatus(status);
    return status;
}

void ReviewStore::close()
{
    disconnect();
}

ReviewStore::Status ReviewStore::connect()
{
    const QFileInfo info(path_);
    // The store is written in place: never through a link someone else put there. (Links
    // among the folders above it are the user's own arrangement.)
    for (const char* suffix : {"", "-wal", "-shm"})
        if (QFileInfo(path_ + QLatin1String(suffix)).isSymLink())
            return Status::Unavailable;
    if (!QDir().mkpath(info.absolutePath()))
        return Status::Unavailable;
    const QByteArray name = QDir::toNativeSeparators(path_).toUtf8();
    if (sqlite3_open_v2(name.constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        const int code = db_ ? sqlite3_errcode(db_) : SQLITE_CANTOPEN;
        return code == SQLITE_NOTADB || code == SQLITE_CORRUPT ? Status::Damaged
                                                               : Status::Unavailable;
    }
    sqlite3_extended_result_codes(db_, 0);
    sqlite3_busy_timeout(db_, busyTimeout_);

    int code = SQLITE_OK;
    const auto pragma = [&](const char* sql) -> qint64 {
        sqlite3_stmt* statement = nullptr;
        qint64 value = 0;
        code = sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr);
        if (code == SQLITE_OK) {
            code = sqlite3_step(statement);
            if (code == SQLITE_ROW) {
                value = sqlite3_column_int64(statement, 0);
                code = SQLITE_OK;
            }
        }
        sqlite3_finalize(statement);
        return value;
    };
    const auto failed = [&] {
        if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
            return Status::Locked;
        if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT)
            return Status::Damaged;
        return Status::Unavailable;
    };

    // Nothing is changed before the file is known to be ours.
    const qint64 applicationId = pragma("PRAGMA application_id");
    const qint64 version = Finished(code) ? pragma("PRAGMA user_version") : 0;
    const qint64 tables = Finished(code) ? pragma("SELECT count(*) FROM sqlite_master") : 0;
    if (!Finished(code))
        return failed();
    if (tables > 0 && applicationId != kApplicationId)
        return Status::Damaged;  // some other database in our place
    if (tables > 0 && version != kSchemaVersion)
        return Status::Unavailable;  // written by a newer version: leave it alone
    // WAL lets a second instance read while one writes; each commit is synced to disk.
    pragma("PRAGMA journal_mode = WAL");
    if (Finished(code))
        pragma("PRAGMA synchronous = FULL");
    if (!Finished(code))
        return failed();
    if (tables == 0) {
        const Status created = createSchema();
        if (created != Status::Ok)
            return created;
    }
    return prepare() ? Status::Ok : failed();
}

ReviewStore::Status ReviewStore::createSchema()
{
    // Two instances may create it at the same moment: the second finds it made.
    const QByteArray sql = QByteArrayLiteral("BEGIN IMMEDIATE;") + kSchema +
                           QByteArrayLiteral("PRAGMA application_id = ") +
                           QByteArray::number(kApplicationId) +
                           QByteArrayLiteral("; PRAGMA user_version = ") +
                           QByteArray::number(kSchemaVersion) + QByteArrayLiteral("; COMMIT;");
    const int code = sqlite3_exec(db_, sql.constData(), nullptr, nullptr, nullptr);
    if (code == SQLITE_OK)
        return Status::Ok;
    rollback();
    if (code == SQLITE_ERROR && sqlite3_exec(db_, "SELECT 1 FROM cards, review_log LIMIT 1",
                                             nullptr, nullptr, nullptr) == SQLITE_OK)
        return Status::Ok;
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        return Status::Locked;
    return code == SQLITE_CORRUPT || code == SQLITE_NOTADB ? Status::Damaged : Status::Unavailable;
}

bool ReviewStore::prepare()
{
    const QByteArray find = QByteArrayLiteral("SELECT ") + kCardColumns +
                            " FROM cards WHERE german_term = ?1 AND foreign_term = ?2"
                            " AND direction = ?3";
    const QByteArray findBoth = QByteArrayLiteral("SELECT ") + kCardColumns +
                                " FROM cards WHERE german_term = ?1 AND foreign_term = ?2";
    const auto make = [this](const char* sql, sqlite3_stmt** statement) {
        return sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, statement, nullptr) ==
               SQLITE_OK;
    };
    return make(find.constData(), &find_) && make(findBoth.constData(), &findBoth_) &&
           make(
               "INSERT INTO cards (german_term, foreign_term, direction, stability, difficulty,"
               " due_day, last_day, reviews, lapses, id) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7,"
               " ?8, ?9, (SELECT coalesce(max(id), 0) + 1 FROM cards))",
               &insert_) &&
           make(
               "UPDATE cards SET stability = ?4, difficulty = ?5, due_day = ?6, last_day = ?7,"
               " reviews = ?8, lapses = ?9"
               " WHERE german_term = ?1 AND foreign_term = ?2 AND direction = ?3",
               &update_) &&
           make(
               "INSERT INTO review_log (card_id, time_utc, day, rating, elapsed_days,"
               " stability_before, difficulty_before, stability_after, difficulty_after,"
               " due_day) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)",
               &log_) &&
           make("SELECT max(day) FROM review_log WHERE day <= ?1", &lastDay_) &&
           make("SELECT card_id FROM review_log WHERE day = ?1 AND stability_before IS NULL",
                &firstReviews_) &&
           make("SELECT day, count(*) FROM review_log WHERE day BETWEEN ?1 AND ?2 GROUP BY day",
                &perDay_);
}

void ReviewStore::disconnect()
{
    for (sqlite3_stmt** statement :
         {&find_, &findBoth_, &insert_, &update_, &log_, &lastDay_, &firstReviews_, &perDay_}) {
        sqlite3_finalize(*statement);
        *statement = nullptr;
    }
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

bool ReviewStore::moveAside()
{
    // The journal files belong to the damaged file: they move with it, under the same name.
    const QFileInfo info(path_);
    const QString stem = info.absolutePath() + QLatin1Char('/') + info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QStringList journals = {QStringLiteral("-wal"), QStringLiteral("-shm")};
    for (int n = 1; n < 1000; ++n) {
        const QString target = stem + QStringLiteral("-defekt-%1").arg(n) + suffix;
        const bool taken =
            std::any_of(journals.begin(), journals.end(),
                        [&](const QString& j) { return QFileInfo::exists(target + j); }) ||
            QFileInfo::exists(target);
        if (taken)
            continue;
        if (!QFile::rename(path_, target))
            return false;
        for (const QString& journal : journals)
            if (QFileInfo::exists(path_ + journal))
                QFile::rename(path_ + journal, target + journal);
        movedAside_ = target;
        return true;
    }
    return false;
}

void ReviewStore::fail(int code)
{
    rollback();
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED) {
        setStatus(Status::Locked);
        return;
    }
    if (code != SQLITE_CORRUPT && code != SQLITE_NOTADB) {
        setStatus(Status::Unavailable);
        return;
    }
    disconnect();
    const bool fresh = moveAside() && connect() == Status::Ok;
    if (!fresh)
        disconnect();
    setStatus(fresh ? Status::Damaged : Status::Unavailable);
}

void ReviewStore::rollback()
{
    if (db_ && !sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool ReviewStore::attempt(const std::function<int()>& work)
{
    if (!db_) {
        setStatus(Status::Unavailable);
        return false;
    }
    int code = work();
    if (Finished(code)) {
        status_ = Status::Ok;
        return true;
    }
    fail(code);
    // A damaged store has been replaced by a fresh one: the work goes there.
    if (status_ != Status::Damaged)
        return false;
    code = work();
    if (Finished(code))
        return true;  // Damaged is still to be told
    fail(code);
    setStatus(Status::Unavailable);
    return false;
}

std::optional<CardState> ReviewStore::record(const CardKey& key, Direction direction, Rating rating,
                                             const QDateTime& now, double desiredRetention,
                                             bool sameDay)
{
    const QByteArray german = key.german.toUtf8();
    const QByteArray foreign = key.foreign.toUtf8();
    const qint64 today = LearningDay(now);
    const QByteArray time = now.toUTC().toString(Qt::ISODateWithMs).toUtf8();
    CardState card;
    const auto work = [&]() -> int {
        if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
            return sqlite3_errcode(db_);
        std::optional<CardState> before;
        {
            Statement find(find_);
            find.text(1, german).text(2, foreign).integer(3, int(direction));
            const int code = sqlite3_step(find);
            if (code == SQLITE_ROW)
                before = ReadCard(find);
            else if (code != SQLITE_DONE)
                return code;
        }
        qint64 elapsed = 0;
        if (before) {
            // A clock that ran backwards gives 0 days, never fewer.
            elapsed = sameDay ? 0 : std::max<qint64>(0, today - before->lastDay);
            card = *before;
            card.memory = fsrs::Next(before->memory, double(elapsed), rating);
            if (rating == Rating::Again && elapsed >= 1)
                ++card.lapses;
        } else {
            card = {};
            card.memory = fsrs::Initial(rating);
        }
        ++card.reviews;
        card.lastDay = today;
        card.dueDay = today + fsrs::Interval(card.memory.stability, desiredRetention);

        Statement write(before ? update_ : insert_);
        write.text(1, german)
            .text(2, foreign)
            .integer(3, int(direction))
            .real(4, card.memory.stability)
            .real(5, card.memory.difficulty)
            .integer(6, card.dueDay)
            .integer(7, card.lastDay)
            .integer(8, card.reviews)
            .integer(9, card.lapses);
        if (int code = sqlite3_step(write); code != SQLITE_DONE)
            return code;
        if (!before) {
            Statement find(find_);
            find.text(1, german).text(2, foreign).integer(3, int(direction));
            if (int code = sqlite3_step(find); code != SQLITE_ROW)
                return code;
            card.id = ReadCard(find).id;
        }

        Statement log(log_);
        log.integer(1, card.id)
            .text(2, time)
            .integer(3, today)
            .integer(4, int(rating))
            .integer(5, elapsed)
            .real(8, card.memory.stability)
            .real(9, card.memory.difficulty)
            .integer(10, card.dueDay);
        if (before)
            log.real(6, before->memory.stability).real(7, before->memory.difficulty);
        else
            log.null(6).null(7);
        if (int code = sqlite3_step(log); code != SQLITE_DONE)
            return code;
        return sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    };
    if (!attempt(work))
        return std::nullopt;
    return card;
}

std::optional<QList<std::optional<CardState>>> ReviewStore::cardsFor(const QList<CardKey>& keys,
                                                                     Direction direction,
                                                                     const Progress& progress)
{
    auto cards = lookup(keys, direction, progress);
    if (!cards)
        return std::nullopt;
    return std::move(cards->at(int(direction)));
}

std::optional<ReviewStore::BothDirections> ReviewStore::cardsInBothDirections(
    const QList<CardKey>& keys, const Progress& progress)
{
    auto cards = lookup(keys, std::nullopt, progress);
    if (!cards)
        return std::nullopt;
    return BothDirections{std::move(cards->at(0)), std::move(cards->at(1))};
}

std::optional<std::array<QList<std::optional<CardState>>, 2>> ReviewStore::lookup(
    const QList<CardKey>& keys, std::optional<Direction> direction, const Progress& progress)
{
    std::array<QList<std::optional<CardState>>, 2> cards;
    const auto work = [&]() -> int {
        for (int d = 0; d < 2; ++d) {
            cards[d].clear();
            if (!direction || int(*direction) == d)
                cards[d].resize(keys.size());
        }
        if (sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
            return sqlite3_errcode(db_);
        QByteArray german;
        QByteArray foreign;
        for (qsizetype i = 0; i < keys.size(); ++i) {
            german = keys.at(i).german.toUtf8();
            foreign = keys.at(i).foreign.toUtf8();
            Statement find(direction ? find_ : findBoth_);
            find.text(1, german).text(2, foreign);
            if (direction)
                find.integer(3, int(*direction));
            int code;
            while ((code = sqlite3_step(find)) == SQLITE_ROW) {
                const int d = sqlite3_column_int(find, 0);
                if (d == 0 || d == 1)
                    cards[d][i] = ReadCard(find);
            }
            if (code != SQLITE_DONE)
                return code;
            if (progress && i % 4096 == 4095)
                progress();
        }
        return sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    };
    if (!attempt(work))
        return std::nullopt;
    return cards;
}

std::optional<QSet<qint64>> ReviewStore::cardsFirstReviewedOn(qint64 day)
{
    QSet<qint64> ids;
    const auto work = [&]() -> int {
        ids.clear();
        Statement query(firstReviews_);
        query.integer(1, day);
        int code;
        while ((code = sqlite3_step(query)) == SQLITE_ROW)
            ids.insert(sqlite3_column_int64(query, 0));
        return code;
    };
    if (!attempt(work))
        return std::nullopt;
    return ids;
}

std::optional<QList<int>> ReviewStore::reviewsPerDay(qint64 first, qint64 last)
{
    QList<int> counts;
    const auto work = [&]() -> int {
        counts = QList<int>(std::max<qint64>(0, last - first + 1), 0);
        Statement query(perDay_);
        query.integer(1, first).integer(2, last);
        int code;
        while ((code = sqlite3_step(query)) == SQLITE_ROW)
            counts[sqlite3_column_int64(query, 0) - first] = sqlite3_column_int(query, 1);
        return code;
    };
    if (!attempt(work))
        return std::nullopt;
    return counts;
}

std::optional<int> ReviewStore::streak(qint64 today)
{
    int days = 0;
    const auto work = [&]() -> int {
        // One search per day of the streak, however many reviews each day holds.
        days = 0;
        for (qint64 expected = today;; --expected) {
            Statement last(lastDay_);
            last.integer(1, expected);
            const int code = sqlite3_step(last);
            if (code != SQLITE_ROW)
                return code;
            const bool none = sqlite3_column_type(last, 0) == SQLITE_NULL;
            const qint64 day = sqlite3_column_int64(last, 0);
            // Today without a review yet does not break the streak.
            if (!none && days == 0 && expected == today && day == today - 1)
                expected = day;
            if (none || day != expected)
                return SQLITE_DONE;
            ++days;
        }
    };
    if (!attempt(work))
        return std::nullopt;
    return days;
}
