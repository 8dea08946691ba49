#include "review/DueSelection.h"
#include "review/ReviewStore.h"

#include "support/DataTables.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"

#include <QFile>

#include <sqlite3.h>

namespace {

using Status = ReviewStore::Status;
constexpr auto kDe = Direction::GermanToForeign;
const QDate kDay0(2001, 3, 5);

QDateTime At(int day, int hour, int minute = 0)
{
    return QDateTime(kDay0.addDays(day), QTime(hour, minute));
}

CardKey Key(int i)
{
    return {QStringLiteral("deutsch%1").arg(i), QStringLiteral("foreign%1").arg(i)};
}

QList<CardKey> Keys(int n)
{
    QList<CardKey> keys;
    for (int i = 1; i <= n; ++i)
        keys << Key(i);
    return keys;
}

QString NewStorePath()
{
    return NewTestDirectory() + QStringLiteral("/Wiederholungen.sqlite");
}

// The first column of each row of a query, run on a connection of its own.
QList<qint64> Query(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_stmt* statement = nullptr;
    QList<qint64> values;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK)
        while (sqlite3_step(statement) == SQLITE_ROW)
            values << sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return values;
}

struct Answer {
    QDateTime at;
    Rating rating;
    bool sameDay;
    int elapsed;  // days the store should count
};

std::optional<CardState> Card(ReviewStore& store, const CardKey& key)
{
    const auto cards = store.cardsFor({key}, kDe);
    return cards ? cards->first() : std::nullopt;
}

}  // namespace

Q_DECLARE_METATYPE(QList<Answer>)
Q_DECLARE_METATYPE(QList<std::optional<CardState>>)

class ReviewStoreTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // What the store makes of a card's answers: days counted, state, lapses, the log.
    void record_data()
    {
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<int>("lapses");
        const Rating good = Rating::Good;
        const Rating again = Rating::Again;
        QTest::newRow("first answer wrong: due the next day")
            << QList<Answer>{{At(0, 19), again, false, 0}} << 0;
        QTest::newRow("wrong after two days: a lapse")
            << QList<Answer>{{At(0, 19), good, false, 0}, {At(2, 19), again, false, 2}} << 1;
        QTest::newRow("wrong again the same day: no lapse")
            << QList<Answer>{{At(0, 19), good, false, 0}, {At(0, 20), again, false, 0}} << 0;
        QTest::newRow("03:59 belongs to the day before")
            << QList<Answer>{{At(0, 19), again, false, 0}, {At(1, 3, 59), good, false, 0}} << 0;
        QTest::newRow("04:00 is the next day")
            << QList<Answer>{{At(0, 19), good, false, 0}, {At(1, 4), good, false, 1}} << 0;
        QTest::newRow("a run across 04:00 stays one day")
            << QList<Answer>{{At(0, 3, 50), again, false, 0}, {At(0, 4, 10), good, true, 0}} << 0;
        QTest::newRow("the clock ran backwards: no negative days")
            << QList<Answer>{{At(5, 19), good, false, 0}, {At(2, 19), good, false, 0}} << 0;
    }
    void record()
    {
        const auto [answers, lapses] = DataRow<QList<Answer>, int>("answers", "lapses");
        const QString path = NewStorePath();
        ReviewStore store;
        QCOMPARE(store.open(path), Status::Ok);
        MemoryState expected;
        for (int k = 0; k < answers.size(); ++k) {
            const Answer& a = answers.at(k);
            expected = k == 0 ? fsrs::Initial(a.rating) : fsrs::Next(expected, a.elapsed, a.rating);
            const auto card = store.record(Key(1), kDe, a.rating, a.at, 0.9, a.sameDay);
            QVERIFY(card);
            QCOMPARE(card->memory, expected);
            QCOMPARE(card->dueDay, LearningDay(a.at) + fsrs::Interval(expected.stability));
        }
        const auto stored = Card(store, Key(1));
        QVERIFY(stored);
        QCOMPARE(stored->reviews, answers.size());
        QCOMPARE(stored->lapses, lapses);
        QList<qint64> elapsed;
        for (const Answer& a : answers)
            elapsed << a.elapsed;
        QCOMPARE(Query(path, "SELECT elapsed_days FROM review_log ORDER BY id"), elapsed);
        // The other direction is another card.
        QCOMPARE(store.cardsFor({Key(1)}, Direction::ForeignToGerman)->first(), std::nullopt);
    }

    void select_data()
    {
        // message: when nothing is due
        DataColumns<QList<std::optional<CardState>>, int, int, QList<int>, int, QString>(
            "cards", "newPerDay", "runSize", "entries", "dueCount", "message");
        const qint64 t = kDay0.toJulianDay();
        // Stability 1 ten days after the review is less likely recalled than stability 50.
        const CardState sure{1, {50, 5}, t, t - 10, 3, 0};
        const CardState shaky{3, {1, 5}, t - 1, t - 10, 3, 0};
        const CardState later{4, {10, 5}, t + 2, t - 5, 2, 0};
        const CardState introduced{9, {2, 5}, t + 3, t, 1, 0};  // first reviewed today
        using Cards = QList<std::optional<CardState>>;
        const Cards mixed{sure, std::nullopt, shaky, later, std::nullopt};
        const QString none = QStringLiteral("Heute ist keine Vokabel fällig.");
        QTest::newRow("due, least likely recalled first, then new in file order")
            << mixed << 20 << 100 << QList<int>{3, 1, 2, 5} << 2 << QString();
        QTest::newRow("run size: the due ones that are most at risk")
            << mixed << 20 << 1 << QList<int>{3} << 1 << QString();
        QTest::newRow("new cards of today count against the limit")
            << Cards{introduced, std::nullopt, std::nullopt} << 2 << 100 << QList<int>{2} << 0
            << QString();
        QTest::newRow("limit reached: new ones again tomorrow")
            << Cards{introduced, std::nullopt} << 1 << 100 << QList<int>() << 0
            << none + QStringLiteral("\nDie nächsten Vokabeln sind morgen fällig.");
        QTest::newRow("nothing due: the earliest due day")
            << Cards{introduced, later} << 20 << 100 << QList<int>() << 0
            << none +
                   QStringLiteral("\nDie nächsten Vokabeln sind am Mittwoch, 07.03.2001 fällig.");
        QTest::newRow("no new cards wanted and none reviewed: never")
            << Cards{std::nullopt} << 0 << 100 << QList<int>() << 0 << none;
        QTest::newRow("a pair twice in the file is asked once")
            << Cards{shaky, shaky, std::nullopt, std::nullopt} << 20 << 100 << QList<int>{1, 3} << 1
            << QString();
    }
    void select()
    {
        const auto [cards, newPerDay, runSize, entries, dueCount, message] =
            DataRow<QList<std::optional<CardState>>, int, int, QList<int>, int, QString>(
                "cards", "newPerDay", "runSize", "entries", "dueCount", "message");
        QList<CardKey> keys = Keys(int(cards.size()));
        if (QByteArray(QTest::currentDataTag()).contains("twice"))
            keys[3] = keys[2];
        const qint64 today = kDay0.toJulianDay();
        const DueSelection selection =
            SelectDueCards(keys, cards, {9}, today, {0.9, newPerDay, runSize});
        QCOMPARE(selection.entries, entries);
        QCOMPARE(selection.dueCount, dueCount);
        QCOMPARE(entries.isEmpty() ? NothingDueMessage(selection, today) : QString(), message);
    }

    // A year of daily runs at 19:00 through the platform's clock, every answer of entries
    // 5, 10, ... wrong on every third day and right when asked again.
    void simulatedYear()
    {
        FakePlatform platform;
        platform.fixedNow = At(0, 19);
        const QString path = NewStorePath();
        ReviewStore store;
        QCOMPARE(store.open(path), Status::Ok);
        const QList<CardKey> keys = Keys(60);
        int answers = 0;
        QList<int> fresh;
        for (int day = 0; day < 365; ++day) {
            const QDateTime now = Platform::instance().now();
            const qint64 today = LearningDay(now);
            const auto before = store.cardsFor(keys, kDe);
            const auto plan = PlanDueRun(store, keys, kDe, now, {});
            QVERIFY(plan && before);
            int dueNow = 0;
            for (const auto& card : *before)
                dueNow += card && card->dueDay <= today;
            QCOMPARE(plan->dueCount, dueNow);
            fresh << int(plan->entries.size()) - plan->dueCount;
            RunReviews run(&store, kDe, 0.9);
            for (const int e : plan->entries) {
                const bool wrong = e % 5 == 0 && day % 3 == 0;
                QCOMPARE(run.answered(e, keys.at(e - 1), !wrong, now), std::nullopt);
                if (wrong)
                    QCOMPARE(run.answered(e, keys.at(e - 1), true, now.addSecs(60)), std::nullopt);
                answers += wrong ? 2 : 1;
            }
            if (day == 0) {
                // The day's new cards are used up across runs: the rest come tomorrow.
                const auto second = PlanDueRun(store, keys, kDe, now.addSecs(600), {});
                QVERIFY(second && second->entries.isEmpty());
                QCOMPARE(second->nextDueDay, today + 1);
            }
            platform.fixedNow = platform.fixedNow.addDays(1);
        }
        QCOMPARE(fresh.mid(0, 4), (QList<int>{20, 20, 20, 0}));
        QCOMPARE(Query(path, "SELECT count(*) FROM review_log").first(), answers);
        QCOMPARE(Query(path, "SELECT sum(reviews) FROM cards").first(), answers);
        // Entry 1, always right, comes back after 2, 11, 46 and 163 days.
        const qint64 d0 = LearningDay(At(0, 19));
        QCOMPARE(Query(path,
                       "SELECT day FROM review_log JOIN cards ON cards.id = card_id"
                       " WHERE german_term = 'deutsch1' ORDER BY review_log.id"),
                 (QList<qint64>{d0, d0 + 2, d0 + 13, d0 + 59, d0 + 222}));
        // Each wrong first answer was followed by a same-day review of the same card.
        QCOMPARE(Query(path,
                       "SELECT count(*) FROM review_log a JOIN review_log b"
                       " ON b.id = a.id + 1 WHERE a.rating = 1 AND (b.rating != 3"
                       " OR b.elapsed_days != 0 OR b.card_id != a.card_id)")
                     .first(),
                 0);
    }

    void damagedStoreIsMovedAside_data()
    {
        QTest::addColumn<QByteArray>("sql");  // empty: a text file in its place
        QTest::newRow("not a database") << QByteArray();
        QTest::newRow("another program's database") << QByteArray("CREATE TABLE notes (x);");
    }
    void damagedStoreIsMovedAside()
    {
        QFETCH(QByteArray, sql);
        const QString path = NewStorePath();
        QByteArray bytes = QByteArray("Meine Notizen\n").repeated(500);
        if (sql.isEmpty()) {
            QVERIFY(WriteBytes(path, bytes));
        } else {
            Query(path, sql.constData());
            bytes = ReadBytes(path);
        }
        ReviewStore store;
        QCOMPARE(store.open(path), Status::Damaged);
        const QString aside =
            QFileInfo(path).absolutePath() + QStringLiteral("/Wiederholungen-defekt-1.sqlite");
        QCOMPARE(ReadBytes(aside), bytes);
        QCOMPARE(store.takeMessage(),
                 QStringLiteral("Die Wiederholungsdatenbank war beschädigt. Sie wurde unverändert "
                                "aufbewahrt als\n%1\nund durch eine neue, leere ersetzt.")
                     .arg(QDir::toNativeSeparators(aside)));
        QVERIFY(store.record(Key(1), kDe, Rating::Good, At(0, 19)));
        QCOMPARE(store.takeMessage(), QString());
    }

    // Damage inside the file shows only when it is read: the answer then goes into a
    // fresh store, and the damaged one is kept.
    void damageFoundWhileLearning()
    {
        const QString path = NewStorePath();
        {
            ReviewStore store;
            QCOMPARE(store.open(path), Status::Ok);
            for (int i = 1; i <= 300; ++i)
                store.record(Key(i), kDe, Rating::Good, At(0, 19));
        }
        QByteArray bytes = ReadBytes(path);
        QVERIFY(bytes.size() > 8 * 4096);
        bytes.replace(4096, bytes.size() - 4096, QByteArray(bytes.size() - 4096, '\x5a'));
        QVERIFY(WriteBytes(path, bytes));
        ReviewStore store;
        store.open(path);
        RunReviews run(&store, kDe, 0.9);
        const auto message = run.answered(1, Key(1), true, At(3, 19));
        QVERIFY(message && message->contains(QStringLiteral("beschädigt")));
        QCOMPARE(ReadBytes(store.movedAsidePath()), bytes);
        QCOMPARE(Card(store, Key(1))->reviews, 1);
        QCOMPARE(run.answered(2, Key(2), true, At(3, 19)), std::nullopt);  // goes on
    }

    void unavailableStore()
    {
        const QString dir = NewTestDirectory();
        QVERIFY(WriteBytes(dir + QStringLiteral("/file"), "x"));
        ReviewStore store;
        QCOMPARE(store.open(dir + QStringLiteral("/file/Wiederholungen.sqlite")),
                 Status::Unavailable);
        QVERIFY(store.takeMessage().startsWith(
            QStringLiteral("Die Wiederholungsdatenbank lässt sich nicht öffnen oder nicht "
                           "schreiben:\n")));
        RunReviews run(&store, kDe, 0.9);
        QVERIFY(!run.recording());
        QCOMPARE(run.answered(1, Key(1), true, At(0, 19)), std::nullopt);
        QCOMPARE(PlanDueRun(store, Keys(3), kDe, At(0, 19), {}), std::nullopt);
#ifdef Q_OS_UNIX
        // Never through a link someone else put there.
        const QString target = NewStorePath();
        QVERIFY(QFile::link(target, dir + QStringLiteral("/link.sqlite")));
        QCOMPARE(store.open(dir + QStringLiteral("/link.sqlite")), Status::Unavailable);
        QVERIFY(!QFileInfo::exists(target));
        // A linked folder above it is the user's own arrangement.
        QVERIFY(QFile::link(QFileInfo(target).absolutePath(), dir + QStringLiteral("/folder")));
        QCOMPARE(store.open(dir + QStringLiteral("/folder/Wiederholungen.sqlite")), Status::Ok);
#endif
    }

    // Two instances: each sees the other's answers; one waits for the other's write and
    // reports a lock held too long, then goes on.
    void twoConnections()
    {
        const QString path = NewStorePath();
        ReviewStore first;
        ReviewStore second;
        QCOMPARE(first.open(path), Status::Ok);
        QCOMPARE(second.open(path), Status::Ok);
        QVERIFY(first.record(Key(1), kDe, Rating::Good, At(0, 19)));
        QCOMPARE(Card(second, Key(1))->reviews, 1);
        QVERIFY(second.record(Key(1), kDe, Rating::Good, At(2, 19)));
        QCOMPARE(Card(first, Key(1))->reviews, 2);

        sqlite3* other = nullptr;
        sqlite3_open(path.toUtf8().constData(), &other);
        QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        first.setBusyTimeout(50);
        RunReviews run(&first, kDe, 0.9);
        const auto message = run.answered(2, Key(2), true, At(2, 19));
        QVERIFY(message && message->startsWith(QStringLiteral(
                               "Die Wiederholungsdatenbank ist zu lange von einem anderen")));
        QVERIFY(!run.recording());
        QCOMPARE(Card(first, Key(1))->reviews, 2);  // reading goes on meanwhile
        sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QVERIFY(first.record(Key(2), kDe, Rating::Good, At(2, 19)));
    }

    void streak_data()
    {
        QTest::addColumn<QList<int>>("reviewDays");  // days before today
        QTest::addColumn<int>("streak");
        QTest::newRow("today not yet: the streak holds") << QList<int>{1, 2, 3} << 3;
        QTest::newRow("a gap ends it") << QList<int>{0, 2, 3} << 1;
        QTest::newRow("nothing since the day before yesterday") << QList<int>{2, 3} << 0;
    }
    void streak()
    {
        const auto [reviewDays, streak] = DataRow<QList<int>, int>("reviewDays", "streak");
        ReviewStore store;
        QCOMPARE(store.open(NewStorePath()), Status::Ok);
        for (const int ago : reviewDays)
            store.record(Key(1), kDe, Rating::Good, At(400 - ago, 19));
        const auto figures = LoadProgress(store, {Key(1), Key(2), Key(1)}, At(400, 12));
        QVERIFY(figures);
        QCOMPARE(figures->streak, streak);
        // A pair twice in the file is one card.
        QCOMPARE(figures->germanToForeign.fresh + figures->foreignToGerman.fresh, 3);
        QCOMPARE(LearningDate(figures->firstCalendarDay).dayOfWeek(), 1);  // a Monday
    }
};

LK_TEST_MAIN(ReviewStoreTest)
#include "ReviewStoreTest.moc"
