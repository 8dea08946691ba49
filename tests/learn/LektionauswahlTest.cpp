#include "app/Forms.h"
#include "learn/LearningRun.h"
#include "learn/Lektionauswahl.h"
#include "learn/Lernprogramm.h"
#include "support/VocabTests.h"

constexpr auto L = &SplitTexts;

class LektionauswahlTest : public QObject {
    Q_OBJECT
    LearningForms forms_;

private Q_SLOTS:
    // The list of distinct lessons, what each way of leaving hands back in Label8, and the
    // number of questions a run over each listed lesson asks: all of its entries.
    void choose_data()
    {
        // lessons: of the entries, in file order; row -1: nothing selected; key 0: the
        // button; questions: per item, an empty item starts nothing
        DataColumns<QStringList, QStringList, int, int, QString, QList<int>>(
            "lessons", "items", "row", "key", "label", "questions");
        QTest::newRow("A, B, a, A, B")
            << L("A|B|a|A|B") << L("A|B|a") << 2 << 0 << "a" << QList<int>{2, 2, 1};
        QTest::newRow("header only, button without selection")
            << QStringList() << QStringList() << -1 << 0 << "" << QList<int>{};
        QTest::newRow("blank lessons: one empty item")
            << L("|   |X|") << L("|X") << 0 << int(Qt::Key_Return) << "" << QList<int>{0, 1};
        QTest::newRow("tabs before, after and inside a name")
            << L("\tVerben|Verben| Verben\t|Ver ben|Ti\tere|Tiere\t|\x01Ti\tere\t")
            << L("Verben|Ver ben|Ti\tere|Tiere") << 2 << 0 << "Ti\tere" << QList<int>{3, 1, 2, 1};
    }
    void choose()
    {
        const auto [lessons, row, key, questions] =
            DataRow<QStringList, int, int, QList<int>>("lessons", "row", "key", "questions");
        QList<VocabularyEntry> entries = NumberedEntries(int(lessons.size()));
        for (int i = 0; i < lessons.size(); ++i)
            entries[i].lesson = lessons.at(i);
        QVERIFY(Form5->OpenLearningFile(
            WriteVocabularyFile(NewTestDirectory(), QStringLiteral("l.vok"), entries)));
        Form5->Label8->setText(QStringLiteral("vorher"));
        Form6->show();
        QVERIFY(QTest::qWaitForWindowActive(Form6));
        QListWidget* list = Form6->ListBox1;
        const QStringList items = ListTexts(list);
        QTEST(items, "items");
        QVERIFY(list->selectedItems().isEmpty());
        if (row >= 0)
            list->setCurrentRow(row);
        if (key)
            QTest::keyClick(list, Qt::Key(key));
        else
            QTest::mouseClick(Form6->Button1, Qt::LeftButton);
        QTEST(Form5->Label8->text(), "label");
        QVERIFY(!Form6->isVisible());
        QList<int> asked;
        for (const QString& item : items) {
            LearningRun run;
            if (!item.isEmpty())
                run.startLessonRun(Form5->LearningFile(), item, 1);
            asked << run.counters().total;
        }
        QCOMPARE(asked, questions);
    }

private:
    FakePlatform platform_;
};

LK_TEST_MAIN(LektionauswahlTest)
#include "LektionauswahlTest.moc"
