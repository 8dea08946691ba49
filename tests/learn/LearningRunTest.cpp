#include "learn/LearningRun.h"

#include "support/TestSupport.h"

#include <QApplication>
#include <QSet>
#include <QTest>

#include <memory>

namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);

std::unique_ptr<VocabularyFile> OpenFile(const QList<VocabularyEntry>& entries)
{
    const QString path = WriteVocabularyFile(NewTestDirectory(), QStringLiteral("v.vok"), entries);
    auto file = std::make_unique<VocabularyFile>();
    if (!file->open(path, VocabularyFile::Access::ReadOnly))
        return nullptr;
    return file;
}

// Plays a run through a script: A = right and OK, D = wrong and dropped, K = wrong and
// kept. Returns the step of each action.
QList<LearningRun::Step> Play(LearningRun& run, const QString& actions)
{
    QList<LearningRun::Step> steps;
    for (QChar a : actions) {
        if (a == u'A')
            steps << run.acceptAnswer();
        else if (a == u'D')
            steps << run.dropQuestion();
        else
            steps << run.keepQuestion();
    }
    return steps;
}

}  // namespace

class LearningRunTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void outcomes_data();
    void outcomes();
    void firstPassCountsEachQuestionOnce();
    void lessonCandidates_data();
    void lessonCandidates();
    void lessonRun_asksItsEntriesInUniformOrder();
    void randomRun_sizeOfFile_data();
    void randomRun_sizeOfFile();
    void randomRun_over30_asksEachEntryOnce();
    void randomRun_reachesTheWholeLargeFile();
    void unreadableFile_givesNoRun();
    void direction_choosesQuestionAndAnswer();
    void result_describesTheFinishedRun();
    void withoutRun_outcomesChangeNothing();
};

void LearningRunTest::outcomes_data()
{
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("actions");
    QTest::addColumn<int>("known");
    QTest::addColumn<int>("notKnown");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<QString>("percentage");

    QTest::newRow("one question right") << 1 << "A" << 1 << 0 << 0 << "100,00 %";
    QTest::newRow("one question wrong, dropped") << 1 << "D" << 0 << 1 << 1 << "0,00 %";
    QTest::newRow("kept, then right in the second pass") << 1 << "KA" << 0 << 1 << 0 << "0,00 %";
    QTest::newRow("dropped in a later pass counts nothing")
        << 1 << "KKD" << 0 << 1 << 0 << "0,00 %";
    QTest::newRow("two of three") << 3 << "AKAA" << 2 << 1 << 0 << "66,67 %";
    QTest::newRow("dropped in the first pass") << 3 << "ADA" << 2 << 1 << 1 << "66,67 %";
    QTest::newRow("mixed over three passes") << 4 << "KDKAKAD" << 1 << 3 << 1 << "25,00 %";
}

// Every action but the last moves on to the next question; the last one ends the run with
// these counts.
void LearningRunTest::outcomes()
{
    QFETCH(int, questions);
    QFETCH(QString, actions);
    auto file = OpenFile(NumberedEntries(questions, QStringLiteral("A")));
    QVERIFY(file);
    LearningRun run;
    QCOMPARE(run.startLessonRun(*file, QStringLiteral("A"), 7), LearningRun::Start::Started);
    QCOMPARE(run.percentageText(kGerman), QString());

    const QList<LearningRun::Step> steps = Play(run, actions);
    QList<LearningRun::Step> expected(actions.size() - 1, LearningRun::Step::Next);
    expected << LearningRun::Step::Ended;
    QCOMPARE(steps, expected);

    const RunCounters& c = run.counters();
    QCOMPARE(c.total, questions);
    QCOMPARE(c.remaining, 0);
    QTEST(c.known, "known");
    QTEST(c.notKnown, "notKnown");
    QTEST(c.deleted, "deleted");
    QTEST(run.percentageText(kGerman), "percentage");
    QVERIFY(!run.isRunning());
    QVERIFY(run.table().isEmpty());
}

// The first pass asks the rows in table order, each once; later passes ask only the
// unfinished rows, again in table order, and change neither the counts nor the percentage.
void LearningRunTest::firstPassCountsEachQuestionOnce()
{
    auto file = OpenFile(NumberedEntries(5, QStringLiteral("A")));
    QVERIFY(file);
    LearningRun run;
    QCOMPARE(run.startLessonRun(*file, QStringLiteral("A"), 99), LearningRun::Start::Started);
    QList<int> tableOrder;
    for (const QuestionRow& row : run.table())
        tableOrder << row.entryNumber;

    QList<int> asked;
    const QString firstPass = QStringLiteral("KAKDK");  // rows 0, 2 and 4 stay
    for (QChar a : firstPass) {
        asked << run.currentRow().entryNumber;
        QVERIFY(!run.counters().repeatPass);
        Play(run, QString(a));
    }
    QCOMPARE(asked, tableOrder);
    RunCounters c = run.counters();
    QVERIFY(c.repeatPass);
    QCOMPARE(c.known + c.notKnown, c.total);
    QCOMPARE(c.remaining, 3);
    QCOMPARE(c.position, 0);
    const QString percentage = run.percentageText(kGerman);
    QCOMPARE(percentage, QStringLiteral("20,00 %"));
    QCOMPARE(run.percentageText(QLocale::c()), QStringLiteral("20.00 %"));

    asked.clear();
    for (QChar a : QStringLiteral("AKD")) {  // second pass: rows 0, 2, 4
        asked << run.currentRow().entryNumber;
        Play(run, QString(a));
    }
    QCOMPARE(asked, (QList<int>{tableOrder[0], tableOrder[2], tableOrder[4]}));
    QCOMPARE(run.currentRow().entryNumber, tableOrder[2]);  // the third pass: row 2 only
    QCOMPARE(run.counters().position, 2);
    QCOMPARE(run.keepQuestion(), LearningRun::Step::Next);
    QCOMPARE(run.currentRow().entryNumber, tableOrder[2]);
    QCOMPARE(run.acceptAnswer(), LearningRun::Step::Ended);

    c = run.counters();
    QCOMPARE(c.known, 1);
    QCOMPARE(c.notKnown, 4);
    QCOMPARE(c.deleted, 1);
    QCOMPARE(run.percentageText(kGerman), percentage);
}

void LearningRunTest::lessonCandidates_data()
{
    QTest::addColumn<QString>("lessons");  // lesson fields of the entries, split at '|'
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("A, B, A") << "A|B|A" << "A" << QList<int>{1, 3};
    QTest::newRow("blanks around are trimmed") << " A|A  |  A  " << "A" << QList<int>{1, 2, 3};
    QTest::newRow("leading tab never matches") << "\tA|\tA" << "A" << QList<int>{};
    QTest::newRow("case counts") << QStringLiteral("a|A|Ä|ä") << QStringLiteral("ä")
                                 << QList<int>{4};
    QTest::newRow("inner blanks count") << "Lektion  1|Lektion 1" << "Lektion 1" << QList<int>{2};
    QTest::newRow("no such lesson") << "A|B" << "C" << QList<int>{};
}

void LearningRunTest::lessonCandidates()
{
    QFETCH(QString, lessons);
    const QStringList fields = lessons.split(u'|');
    QList<VocabularyEntry> entries = NumberedEntries(static_cast<int>(fields.size()));
    for (int i = 0; i < fields.size(); ++i)
        entries[i].lesson = fields[i];
    auto file = OpenFile(entries);
    QVERIFY(file);
    QFETCH(QString, chosen);
    QTEST(LearningRun::lessonCandidates(*file, chosen).value(), "expected");
}

// Lesson A of A, B, A, A, tab+C: entries 1, 3 and 4 with all their fields, each of the six
// orders about equally often. Lesson C (listed without its tab) gives no run at all.
void LearningRunTest::lessonRun_asksItsEntriesInUniformOrder()
{
    QList<VocabularyEntry> entries = NumberedEntries(5, QStringLiteral("A"));
    entries[1].lesson = QStringLiteral("B");
    entries[4].lesson = QStringLiteral("\tC");
    entries[2].synonyms = QStringLiteral("Syn");
    entries[3].remark = QStringLiteral("Bem");
    auto file = OpenFile(entries);
    QVERIFY(file);

    QHash<QList<int>, int> seen;
    for (int seed = 0; seed < 6000; ++seed) {
        LearningRun run;
        QCOMPARE(run.startLessonRun(*file, QStringLiteral("A"), std::uint64_t(seed)),
                 LearningRun::Start::Started);
        QList<int> order;
        for (const QuestionRow& row : run.table()) {
            order << row.entryNumber;
            if (seed == 0)
                QCOMPARE(row.entry, entries[row.entryNumber - 1]);
        }
        ++seen[order];
    }
    QCOMPARE(seen.size(), 6);
    for (auto it = seen.cbegin(); it != seen.cend(); ++it) {
        QList<int> sorted = it.key();
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(sorted, (QList<int>{1, 3, 4}));
        QVERIFY2(it.value() > 850 && it.value() < 1150, qPrintable(QString::number(it.value())));
    }

    LearningRun run;
    QCOMPARE(run.startLessonRun(*file, QStringLiteral("C"), 1), LearningRun::Start::NoQuestions);
    QVERIFY(!run.isRunning());
    QCOMPARE(run.counters(), RunCounters{});
}

void LearningRunTest::randomRun_sizeOfFile_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<bool>("started");
    QTest::newRow("header only") << 0 << false;
    QTest::newRow("29 entries") << 29 << false;
    QTest::newRow("30 entries") << 30 << true;
    QTest::newRow("31 entries") << 31 << true;
}

void LearningRunTest::randomRun_sizeOfFile()
{
    QFETCH(int, entries);
    QFETCH(bool, started);
    auto file = OpenFile(NumberedEntries(entries));
    QVERIFY(file);
    LearningRun run;
    run.startLessonRun(*file, QStringLiteral("L1"), 3);  // a run in progress
    Play(run, QStringLiteral("K"));
    const RunCounters before = run.counters();

    const LearningRun::Start result = run.startRandomRun(*file, 11);
    QCOMPARE(result == LearningRun::Start::Started, started);
    if (!started) {
        QCOMPARE(result, LearningRun::Start::TooFewEntries);
        QCOMPARE(run.counters(), before);  // refused: nothing changes
        QCOMPARE(LearningRun::tooFewEntriesMessage(),
                 QStringLiteral("Für diese Funktion muß die Datei mindestens 30 Einträge "
                                "enthalten!"));
        return;
    }
    RunCounters fresh;
    fresh.total = fresh.remaining = fresh.tableSize = 30;
    fresh.randomRun = true;
    QCOMPARE(run.counters(), fresh);
    QCOMPARE(run.lesson(), QString());
}

// A file of exactly 30 entries: every entry asked once, in an order that changes with the
// seed.
void LearningRunTest::randomRun_over30_asksEachEntryOnce()
{
    auto file = OpenFile(NumberedEntries(30));
    QVERIFY(file);
    QSet<QList<int>> orders;
    for (std::uint64_t seed : {1u, 2u}) {
        LearningRun run;
        QCOMPARE(run.startRandomRun(*file, seed), LearningRun::Start::Started);
        QList<int> asked;
        LearningRun::Step step = LearningRun::Step::Next;
        while (step == LearningRun::Step::Next) {
            asked << run.currentRow().entryNumber;
            step = run.acceptAnswer();
        }
        QCOMPARE(step, LearningRun::Step::Ended);
        orders.insert(asked);
        std::sort(asked.begin(), asked.end());
        for (int i = 0; i < 30; ++i)
            QCOMPARE(asked.value(i), i + 1);
    }
    QCOMPARE(orders.size(), 2);
}

// Entries beyond 32,768 are drawn as often as any others.
void LearningRunTest::randomRun_reachesTheWholeLargeFile()
{
    const int n = 40000;
    auto file = OpenFile(NumberedEntries(n));
    QVERIFY(file);
    int beyond = 0;
    int draws = 0;
    for (std::uint64_t seed = 0; seed < 100; ++seed) {
        LearningRun run;
        QCOMPARE(run.startRandomRun(*file, seed), LearningRun::Start::Started);
        QSet<int> distinct;
        for (const QuestionRow& row : run.table()) {
            QVERIFY(row.entryNumber >= 1 && row.entryNumber <= n);
            QCOMPARE(row.entry.german, QStringLiteral("deutsch%1").arg(row.entryNumber));
            distinct.insert(row.entryNumber);
            beyond += row.entryNumber > 32768;
            ++draws;
        }
        QCOMPARE(distinct.size(), 30);
    }
    // Expected share: 7,232 / 40,000 of 3,000 draws, about 542.
    QVERIFY2(beyond > 440 && beyond < 650, qPrintable(QString::number(beyond)));
    QCOMPARE(draws, 3000);
}

// A file that cannot be read gives no run with empty questions.
void LearningRunTest::unreadableFile_givesNoRun()
{
    auto file = OpenFile(NumberedEntries(40, QStringLiteral("A")));
    QVERIFY(file);
    file->close();
    LearningRun run;
    QCOMPARE(run.startLessonRun(*file, QStringLiteral("A"), 1), LearningRun::Start::ReadFailed);
    QVERIFY(!run.isRunning());
    QCOMPARE(run.startRandomRun(*file, 1), LearningRun::Start::ReadFailed);
    QVERIFY(!run.isRunning());
    QCOMPARE(run.counters(), RunCounters{});
}

void LearningRunTest::direction_choosesQuestionAndAnswer()
{
    auto file = OpenFile(NumberedEntries(1, QStringLiteral("A")));
    QVERIFY(file);
    LearningRun run;
    QCOMPARE(run.startLessonRun(*file, QStringLiteral("A"), 1), LearningRun::Start::Started);
    QCOMPARE(run.questionText(Direction::GermanToForeign), QStringLiteral("deutsch1"));
    QCOMPARE(run.expectedAnswer(Direction::GermanToForeign), QStringLiteral("foreign1"));
    QCOMPARE(run.questionText(Direction::ForeignToGerman), QStringLiteral("foreign1"));
    QCOMPARE(run.expectedAnswer(Direction::ForeignToGerman), QStringLiteral("deutsch1"));
}

// The record of a finished run: lesson (none for a random run), counts, ticked seconds.
// Ticks outside a run count nothing, and the next run starts at 0 s again.
void LearningRunTest::result_describesTheFinishedRun()
{
    auto file = OpenFile(NumberedEntries(40, QStringLiteral("Lektion 3")));
    QVERIFY(file);
    const QDate date(2001, 3, 5);
    LearningRun run;
    run.tick();
    QCOMPARE(run.startLessonRun(*file, QStringLiteral("Lektion 3"), 8),
             LearningRun::Start::Started);
    for (int i = 0; i < 17; ++i)
        run.tick();
    QCOMPARE(run.elapsedText(), QStringLiteral("17 s"));
    const QString actions = QStringLiteral("DK") + QString(38, u'A') + QStringLiteral("A");
    QCOMPARE(Play(run, actions).last(), LearningRun::Step::Ended);
    run.tick();
    RunResult r = run.result(QStringLiteral("/x/vokabeln.vok"), date);
    QCOMPARE(r.vocabularyPath, QStringLiteral("/x/vokabeln.vok"));
    QCOMPARE(r.lesson, QStringLiteral("Lektion 3"));
    QCOMPARE(r.total, 40);
    QCOMPARE(r.known, 38);
    QCOMPARE(r.notKnown, 2);
    QCOMPARE(r.deleted, 1);
    QCOMPARE(r.seconds, 17);
    QCOMPARE(r.date, date);

    QCOMPARE(run.startRandomRun(*file, 8), LearningRun::Start::Started);
    QCOMPARE(run.counters().elapsedSeconds, 0);
    QCOMPARE(Play(run, QString(30, u'D')).last(), LearningRun::Step::Ended);
    r = run.result(QStringLiteral("/x/vokabeln.vok"), date);
    QCOMPARE(r.lesson, QString());
    QCOMPARE(r.total, 30);
    QCOMPARE(r.notKnown, 30);
    QCOMPARE(r.deleted, 30);
}

// After an end or an abort the buttons have nothing to act on.
void LearningRunTest::withoutRun_outcomesChangeNothing()
{
    auto file = OpenFile(NumberedEntries(2, QStringLiteral("A")));
    QVERIFY(file);
    LearningRun run;
    run.startLessonRun(*file, QStringLiteral("A"), 1);
    Play(run, QStringLiteral("AA"));
    const RunCounters ended = run.counters();
    QCOMPARE(Play(run, QStringLiteral("ADK")),
             (QList<LearningRun::Step>(3, LearningRun::Step::NoRun)));
    QCOMPARE(run.counters(), ended);

    run.startLessonRun(*file, QStringLiteral("A"), 1);
    Play(run, QStringLiteral("K"));
    run.reset();  // abort
    QVERIFY(!run.isRunning());
    QCOMPARE(run.counters(), RunCounters{});
    QCOMPARE(run.dropQuestion(), LearningRun::Step::NoRun);
    QCOMPARE(run.counters(), RunCounters{});
}

LK_TEST_MAIN(LearningRunTest)
#include "LearningRunTest.moc"
