#include "learn/LearningRun.h"

#include "app/AnsiText.h"
#include "support/VocabTests.h"

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
        qFatal("test file not readable");
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
        DataColumns<int, QString, QString, QList<int>, QString>(
            "questions", "actions", "askedRows", "knownNotKnownDeleted", "percentage");
        const auto row = [](const char* name, int questions, const char* actions, const char* asked,
                            QList<int> counts, const char* percentage) {
            QTest::newRow(name) << questions << actions << asked << counts << percentage;
        };
        row("one question right", 1, "A", "0", {1, 0, 0}, "100,00 %");
        row("one question wrong", 1, "D", "0", {0, 1, 1}, "0,00 %");
        row("kept, then right in pass 2", 1, "KA", "00", {0, 1, 0}, "0,00 %");
        row("dropped in a later pass", 1, "KKD", "000", {0, 1, 0}, "0,00 %");
        row("dropped in the first pass", 3, "ADA", "012", {2, 1, 1}, "66,67 %");
        // Later passes ask the unfinished rows in table order and count nothing more.
        row("three passes", 5, "KAKDKAKAA", "012340242", {1, 4, 1}, "20,00 %");
    }
    // The run ends with the last action, not before.
    void outcomes()
    {
        const auto [questions, actions] = DataRow<int, QString>("questions", "actions");
        auto file = OpenFile(NumberedEntries(questions, QStringLiteral("A")));
        LearningRun run;
        QCOMPARE(run.startLessonRun(*file, QStringLiteral("A"), 7), Start::Started);
        QString asked;
        for (QChar a : actions) {
            QVERIFY(run.isRunning());
            asked += QString::number(run.counters().position);
            Play(run, a);
        }
        QVERIFY(!run.isRunning());
        QTEST(asked, "askedRows");
        const RunCounters& c = run.counters();
        QCOMPARE(c.known + c.notKnown, c.total);
        QTEST((QList<int>{c.known, c.notKnown, c.deleted}), "knownNotKnownDeleted");
        QTEST(run.percentageText(kGerman), "percentage");
    }

    // The lesson's entries are those whose lesson field, blanks and control characters
    // trimmed, is the name exactly (case and inner characters count); each of their orders
    // comes about equally often.
    void lessonRun_asksItsEntriesInUniformOrder()
    {
        QList<VocabularyEntry> entries = NumberedEntries(5, QStringLiteral("A"));
        entries[1].lesson = QStringLiteral("a");
        entries[2].lesson = QStringLiteral(" A\t ");
        entries[3].lesson = QStringLiteral("A\tA");
        auto file = OpenFile(entries);

        QHash<QList<int>, int> seen;
        for (int seed = 0; seed < 6000; ++seed) {
            LearningRun run;
            QCOMPARE(run.startLessonRun(*file, QStringLiteral("A"), std::uint64_t(seed)),
                     Start::Started);
            QList<int> order;
            for (const QuestionRow& row : run.table())
                order << row.entryNumber;
            ++seen[order];
        }
        QCOMPARE(seen.size(), 6);
        for (auto it = seen.cbegin(); it != seen.cend(); ++it) {
            QCOMPARE(QSet<int>(it.key().cbegin(), it.key().cend()), (QSet<int>{1, 3, 5}));
            QVERIFY2(it.value() > 850 && it.value() < 1150, qPrintable(QString::number(*it)));
        }
    }

    // Candidates come from blocks of records: the same as reading each lesson field alone,
    // across block ends, with a NUL ending a field early.
    void lessonCandidates_matchReadingEachField()
    {
        const QStringList lessons{QStringLiteral("A"), QStringLiteral(" A "), QStringLiteral("Ä"),
                                  QStringLiteral("A\tx"), QStringLiteral("\tA\x01")};
        QList<VocabularyEntry> entries = NumberedEntries(4200);
        for (int i = 0; i < entries.size(); ++i)
            entries[i].lesson = lessons[i % 6 % 5];
        QByteArray bytes = VocabularyBytes(entries);
        for (int i = 5; i < entries.size(); i += 6)  // "A", a NUL, then "xyz"
            bytes.replace(qsizetype(i + 1) * kRecordSize, 5, QByteArray("A\0xyz", 5));
        const QString path = NewTestDirectory() + QStringLiteral("/v.vok");
        QVERIFY(WriteBytes(path, bytes));
        VocabularyFile file;
        QVERIFY(file.open(path, VocabularyFile::Access::ReadOnly));
        for (const QString& lesson : {QStringLiteral("A"), QStringLiteral("Ä"),
                                      QStringLiteral("A\tx"), QStringLiteral("Ж")}) {
            QList<int> expected;
            for (int i = 1; i <= file.entryCount(); ++i)
                if (TrimControls(file.readLesson(i).value()) == lesson)
                    expected << i;
            QCOMPARE(LearningRun::lessonCandidates(file, lesson).value(), expected);
        }
    }

    void randomRun_data()
    {
        DataColumns<int, int>("entries", "runs");
        QTest::newRow("29 entries: refused") << 29 << 1;
        QTest::newRow("30 entries: each once") << 30 << 1;
        QTest::newRow("40,000 entries: those beyond 32,768 too") << 40000 << 100;
    }
    // 30 distinct entries drawn uniformly from the whole file, with their own fields.
    void randomRun()
    {
        const auto [entries, runs] = DataRow<int, int>("entries", "runs");
        auto file = OpenFile(NumberedEntries(entries));
        int beyond = 0;
        for (int seed = 0; seed < runs; ++seed) {
            LearningRun run;
            const Start start = run.startRandomRun(*file, std::uint64_t(seed));
            QCOMPARE(start, entries < 30 ? Start::TooFewEntries : Start::Started);
            QSet<int> distinct;
            for (const QuestionRow& row : run.table()) {
                QCOMPARE(row.entry.german, QStringLiteral("deutsch%1").arg(row.entryNumber));
                distinct.insert(row.entryNumber);
                beyond += row.entryNumber > 32768;
            }
            QCOMPARE(distinct.size(), entries < 30 ? 0 : 30);
        }
        // Expected share: 7,232 / 40,000 of 3,000 draws, about 542.
        if (entries > 32768)
            QVERIFY2(beyond > 440 && beyond < 650, qPrintable(QString::number(beyond)));
    }

    // The record of a finished run holds its counts and ticked seconds; after an abort
    // there is no run left to finish.
    void result_describesTheFinishedRun()
    {
        auto file = OpenFile(NumberedEntries(40, QStringLiteral("Lektion 3")));
        LearningRun run;
        QCOMPARE(run.startLessonRun(*file, QStringLiteral("Lektion 3"), 8), Start::Started);
        for (int i = 0; i < 17; ++i)
            run.tick();
        QCOMPARE(Play(run, QStringLiteral("DK") + QString(39, u'A')).last(), Step::Ended);
        run.tick();  // after the end: not counted
        const RunResult r = run.result(QStringLiteral("/x/v.vok"), QDate(2001, 3, 5));
        QCOMPARE(r.lesson, QStringLiteral("Lektion 3"));
        QCOMPARE(QList<int>({r.total, r.known, r.notKnown, r.deleted, r.seconds}),
                 QList<int>({40, 38, 2, 1, 17}));

        QCOMPARE(run.startRandomRun(*file, 8), Start::Started);
        QCOMPARE(run.counters().elapsedSeconds, 0);
        Play(run, QStringLiteral("K"));
        run.reset();  // abort
        QCOMPARE(Play(run, QStringLiteral("ADK")), QList<Step>(3, Step::NoRun));
        QCOMPARE(run.counters(), RunCounters{});
    }
};

LK_TEST_MAIN(LearningRunTest)
#include "LearningRunTest.moc"
