#include "learn/LearningRun.h"

#include "support/TestSupport.h"

#include <QApplication>
#include <QSet>

#include <memory>

namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);
using Step = LearningRun::Step;
using Start = LearningRun::Start;

std::unique_ptr<VocabularyFile> OpenFile(const QList<VocabularyEntry>& entries)
{
    const QString path = WriteVocabularyFile(NewTestDirectory(), QStringLiteral("v.vok"), entries);
    auto file = std::make_unique<VocabularyFile>();
    if (!file->open(path, VocabularyFile::Access::ReadOnly))
        return nullptr;
    return file;
}

// Plays a run through a script: A = right, D = wrong and dropped, K = wrong and kept.
// Returns the step of each action.
QList<Step> Play(LearningRun& run, const QString& actions)
{
    QList<Step> steps;
    for (QChar a : actions)
        steps << (a == u'A'   ? run.acceptAnswer()
                  : a == u'D' ? run.dropQuestion()
                              : run.keepQuestion());
    return steps;
}

}  // namespace

class LearningRunTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void outcomes_data()
    {
        QTest::addColumn<int>("questions");
        QTest::addColumn<QString>("actions");
        QTest::addColumn<int>("known");
        QTest::addColumn<int>("notKnown");
        QTest::addColumn<int>("deleted");
        QTest::addColumn<QString>("percentage");
        QTest::newRow("one question right") << 1 << "A" << 1 << 0 << 0 << "100,00 %";
        QTest::newRow("one question wrong, dropped") << 1 << "D" << 0 << 1 << 1 << "0,00 %";
        QTest::newRow("kept, then right in pass 2") << 1 << "KA" << 0 << 1 << 0 << "0,00 %";
        QTest::newRow("dropped in a later pass") << 1 << "KKD" << 0 << 1 << 0 << "0,00 %";
        QTest::newRow("two of three") << 3 << "AKAA" << 2 << 1 << 0 << "66,67 %";
        QTest::newRow("dropped in the first pass") << 3 << "ADA" << 2 << 1 << 1 << "66,67 %";
        QTest::newRow("mixed over three passes") << 4 << "KDKAKAD" << 1 << 3 << 1 << "25,00 %";
    }
    // Every action but the last moves on to the next question; the last one ends the run.
    void outcomes()
    {
        QFETCH(int, questions);
        QFETCH(QString, actions);
        auto file = OpenFile(NumberedEntries(questions, QStringLiteral("A")));
        QVERIFY(file);
        LearningRun run;
        QCOMPARE(run.startLessonRun(*file, QStringLiteral("A"), 7), Start::Started);
        QCOMPARE(run.percentageText(kGerman), QString());

        QList<Step> expected(actions.size() - 1, Step::Next);
        QCOMPARE(Play(run, actions), expected << Step::Ended);
        const RunCounters& c = run.counters();
        QCOMPARE(c.total, questions);
        QCOMPARE(c.remaining, 0);
        QTEST(c.known, "known");
        QTEST(c.notKnown, "notKnown");
        QTEST(c.deleted, "deleted");
        QTEST(run.percentageText(kGerman), "percentage");
        QVERIFY(!run.isRunning());
    }

    // Later passes ask only the unfinished rows, again in table order, and change neither
    // the counts nor the percentage.
    void passes_askUnfinishedRowsInTableOrder()
    {
        auto file = OpenFile(NumberedEntries(5, QStringLiteral("A")));
        QVERIFY(file);
        LearningRun run;
        QCOMPARE(run.startLessonRun(*file, QStringLiteral("A"), 99), Start::Started);
        QList<int> row;
        for (const QuestionRow& r : run.table()) row << r.entryNumber;
        const auto askedDuring = [&](const QString& actions) {
            QList<int> asked;
            for (QChar a : actions) {
                asked << run.currentRow().entryNumber;
                Play(run, QString(a));
            }
            return asked;
        };

        QCOMPARE(askedDuring(QStringLiteral("KAKDK")), row);  // rows 0, 2 and 4 stay
        const RunCounters c = run.counters();
        QVERIFY(c.repeatPass);
        QCOMPARE(c.known + c.notKnown, c.total);
        QCOMPARE(c.remaining, 3);
        QCOMPARE(run.percentageText(kGerman), QStringLiteral("20,00 %"));
        QCOMPARE(run.percentageText(QLocale::c()), QStringLiteral("20.00 %"));

        QCOMPARE(askedDuring(QStringLiteral("AKD")), (QList<int>{row[0], row[2], row[4]}));
        QCOMPARE(askedDuring(QStringLiteral("K")), QList<int>{row[2]});
        QCOMPARE(run.currentRow().entryNumber, row[2]);
        QCOMPARE(run.acceptAnswer(), Step::Ended);
        QCOMPARE(run.counters().known, c.known);
        QCOMPARE(run.counters().notKnown, c.notKnown);
        QCOMPARE(run.counters().deleted, c.deleted);
        QCOMPARE(run.percentageText(kGerman), QStringLiteral("20,00 %"));
    }

    void lessonCandidates_data()
    {
        QTest::addColumn<QString>("lessons");  // lesson fields of the entries, split at '|'
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("A, B, A") << "A|B|A" << "A" << QList<int>{1, 3};
        QTest::newRow("blanks around trimmed") << " A|A  |  A  " << "A" << QList<int>{1, 2, 3};
        QTest::newRow("leading tab never matches") << "\tA|\tA" << "A" << QList<int>{};
        QTest::newRow("case counts") << "a|A|Ä|ä" << "ä" << QList<int>{4};
        QTest::newRow("inner blanks count") << "L  1|L 1" << "L 1" << QList<int>{2};
    }
    void lessonCandidates()
    {
        QFETCH(QString, lessons);
        QFETCH(QString, chosen);
        const QStringList fields = lessons.split(u'|');
        QList<VocabularyEntry> entries = NumberedEntries(static_cast<int>(fields.size()));
        for (int i = 0; i < fields.size(); ++i) entries[i].lesson = fields[i];
        auto file = OpenFile(entries);
        QVERIFY(file);
        QTEST(LearningRun::lessonCandidates(*file, chosen).value(), "expected");
    }

    // Lesson A of A, B, A, A, tab+C: entries 1, 3 and 4 with all their fields, each of the
    // six orders about equally often. Lesson C (listed without its tab) gives no run at all.
    void lessonRun_asksItsEntriesInUniformOrder()
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
                     Start::Started);
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
            QCOMPARE(QSet<int>(it.key().cbegin(), it.key().cend()), (QSet<int>{1, 3, 4}));
            const int n = it.value();
            QVERIFY2(n > 850 && n < 1150, qPrintable(QString::number(n)));
        }

        LearningRun run;
        QCOMPARE(run.startLessonRun(*file, QStringLiteral("C"), 1), Start::NoQuestions);
        QCOMPARE(run.counters(), RunCounters{});
    }

    void randomRun_needs30Entries_data()
    {
        QTest::addColumn<int>("entries");
        QTest::newRow("29 entries") << 29;
        QTest::newRow("30 entries") << 30;
    }
    // A refused random run leaves the run in progress alone; a file of exactly 30 entries
    // is asked whole, each entry once.
    void randomRun_needs30Entries()
    {
        QFETCH(int, entries);
        auto file = OpenFile(NumberedEntries(entries));
        QVERIFY(file);
        LearningRun run;
        run.startLessonRun(*file, QStringLiteral("L1"), 3);
        Play(run, QStringLiteral("K"));
        const RunCounters before = run.counters();
        if (entries < 30) {
            QCOMPARE(run.startRandomRun(*file, 11), Start::TooFewEntries);
            QCOMPARE(run.counters(), before);
            return;
        }
        QCOMPARE(run.startRandomRun(*file, 11), Start::Started);
        RunCounters fresh;
        fresh.total = fresh.remaining = fresh.tableSize = 30;
        fresh.randomRun = true;
        QCOMPARE(run.counters(), fresh);
        QCOMPARE(run.lesson(), QString());
        QSet<int> asked;
        do
            asked << run.currentRow().entryNumber;
        while (run.acceptAnswer() == Step::Next);
        QCOMPARE(asked.size(), 30);
        QVERIFY(!run.isRunning());
    }

    // Entries beyond 32,768 are drawn as often as any others.
    void randomRun_reachesTheWholeLargeFile()
    {
        const int n = 40000;
        auto file = OpenFile(NumberedEntries(n));
        QVERIFY(file);
        int beyond = 0;
        for (std::uint64_t seed = 0; seed < 100; ++seed) {
            LearningRun run;
            QCOMPARE(run.startRandomRun(*file, seed), Start::Started);
            QSet<int> distinct;
            for (const QuestionRow& row : run.table()) {
                QCOMPARE(row.entry.german, QStringLiteral("deutsch%1").arg(row.entryNumber));
                distinct.insert(row.entryNumber);
                beyond += row.entryNumber > 32768;
            }
            QCOMPARE(distinct.size(), 30);
        }
        // Expected share: 7,232 / 40,000 of 3,000 draws, about 542.
        QVERIFY2(beyond > 440 && beyond < 650, qPrintable(QString::number(beyond)));
    }

    // After an end or an abort the buttons have nothing to act on; a file that cannot be
    // read gives no run.
    void noRun_afterEndAbortOrReadFailure()
    {
        auto file = OpenFile(NumberedEntries(40, QStringLiteral("A")));
        QVERIFY(file);
        LearningRun run;
        run.startLessonRun(*file, QStringLiteral("A"), 1);
        Play(run, QString(40, u'A'));
        const RunCounters ended = run.counters();
        QCOMPARE(Play(run, QStringLiteral("ADK")), QList<Step>(3, Step::NoRun));
        QCOMPARE(run.counters(), ended);

        run.startLessonRun(*file, QStringLiteral("A"), 1);
        Play(run, QStringLiteral("K"));
        run.reset();  // abort
        QCOMPARE(Play(run, QStringLiteral("D")), QList<Step>{Step::NoRun});
        QCOMPARE(run.counters(), RunCounters{});

        file->close();
        QCOMPARE(run.startLessonRun(*file, QStringLiteral("A"), 1), Start::ReadFailed);
        QCOMPARE(run.startRandomRun(*file, 1), Start::ReadFailed);
        QCOMPARE(run.counters(), RunCounters{});
    }

    // The record of a finished run: lesson (none for a random run), counts, ticked
    // seconds. Ticks outside a run count nothing, and the next run starts at 0 s again.
    void result_describesTheFinishedRun()
    {
        auto file = OpenFile(NumberedEntries(40, QStringLiteral("Lektion 3")));
        QVERIFY(file);
        const QDate date(2001, 3, 5);
        const QString path = QStringLiteral("/x/vokabeln.vok");
        LearningRun run;
        run.tick();
        QCOMPARE(run.startLessonRun(*file, QStringLiteral("Lektion 3"), 8), Start::Started);
        const VocabularyEntry& asked = run.currentRow().entry;
        QCOMPARE(run.questionText(Direction::GermanToForeign), asked.german);
        QCOMPARE(run.expectedAnswer(Direction::GermanToForeign), asked.foreign);
        QCOMPARE(run.questionText(Direction::ForeignToGerman), asked.foreign);
        QCOMPARE(run.expectedAnswer(Direction::ForeignToGerman), asked.german);
        for (int i = 0; i < 17; ++i) run.tick();
        QCOMPARE(run.elapsedText(), QStringLiteral("17 s"));
        QCOMPARE(Play(run, QStringLiteral("DK") + QString(39, u'A')).last(), Step::Ended);
        run.tick();
        RunResult r = run.result(path, date);
        QCOMPARE(r.vocabularyPath, path);
        QCOMPARE(r.lesson, QStringLiteral("Lektion 3"));
        QCOMPARE(QList<int>({r.total, r.known, r.notKnown, r.deleted, r.seconds}),
                 QList<int>({40, 38, 2, 1, 17}));
        QCOMPARE(r.date, date);

        QCOMPARE(run.startRandomRun(*file, 8), Start::Started);
        QCOMPARE(run.counters().elapsedSeconds, 0);
        QCOMPARE(Play(run, QString(30, u'D')).last(), Step::Ended);
        r = run.result(path, date);
        QCOMPARE(r.lesson, QString());
        QCOMPARE(QList<int>({r.total, r.known, r.notKnown, r.deleted}),
                 QList<int>({30, 0, 30, 30}));
    }
};

LK_TEST_MAIN(LearningRunTest)
#include "LearningRunTest.moc"
