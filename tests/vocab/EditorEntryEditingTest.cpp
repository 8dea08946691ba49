// Inserting, deleting and exchanging entries from the editor window.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

#include "app/SettingsStore.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "vocab/Editor.h"

namespace {

const QString kInvalid = QStringLiteral("Beide Eingabefelder müssen gültige Werte enthalten!");
const QString kQuestion = QStringLiteral("Der aktuelle Eintrag wird gelöscht.\nSicher?");

// The numbered entries in the given order ("0" stands for a blank entry).
QList<VocabularyEntry> Entries(const QList<int>& order)
{
    const QList<VocabularyEntry> numbered = NumberedEntries(9);
    QList<VocabularyEntry> entries;
    for (int i : order) entries << (i == 0 ? VocabularyEntry{} : numbered[i - 1]);
    return entries;
}

}  // namespace

class EditorEntryEditingTest : public QObject {
    Q_OBJECT

    FakePlatform* platform = nullptr;
    TForm2* editor = nullptr;
    QString path;

    // Opens a file of n numbered entries and goes to entry `current`.
    void open(int n, int current)
    {
        path = WriteVocabularyFile(NewTestDirectory(), QStringLiteral("englisch.vok"),
                                   NumberedEntries(n));
        platform->fileAnswers << path;
        editor->OeffnenClick();
        editor->ScrollBar1->setValue(current);
        QCOMPARE(editor->Label8->text(), QString::number(current));
    }
    QStringList counters() const { return {editor->Label8->text(), editor->Label11->text()}; }
    static QStringList Counters(int current, int last)
    {
        return {QString::number(current), QString::number(last)};
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(WriteVersionCreatingStore()); }

    void init()
    {
        platform = new FakePlatform;
        editor = new TForm2;
        editor->ResetEditor();
        editor->show();
        editor->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(editor));
    }

    void cleanup()
    {
        delete editor;
        delete platform;
    }

    void insert_data()
    {
        // clang-format off
        QTest::addColumn<int>("current");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("at 1") << 1 << QList<int>{0, 1, 2, 3};
        QTest::newRow("in the middle") << 2 << QList<int>{1, 0, 2, 3};
        QTest::newRow("at the last") << 3 << QList<int>{1, 2, 0, 3};
        // clang-format on
    }

    void insert()
    {
        QFETCH(int, current);
        QFETCH(QList<int>, order);
        open(3, current);
        QTest::keyClick(editor->Edit3, Qt::Key_F5);
        QCOMPARE(ReadBytes(path), VocabularyBytes(Entries(order)));
        QCOMPARE(counters(), Counters(current, 4));
        QCOMPARE(editor->ScrollBar1->maximum(), 4);
        QCOMPARE(editor->ScrollBar1->value(), current);
        for (QLineEdit* f :
             {editor->Edit1, editor->Edit2, editor->Edit3, editor->Edit4, editor->Edit5})
            QVERIFY(f->text().isEmpty());
        QCOMPARE(editor->focusWidget(), editor->Edit1);
    }

    void insertedBlank_refusesNavigationUntilCompletedOrDeleted()
    {
        open(3, 2);
        editor->Button2->click();
        editor->Nchstes1->trigger();
        QCOMPARE(platform->messages.size(), 1);
        QCOMPARE(platform->messages[0].caption, QStringLiteral("Eingabefehler"));
        QCOMPARE(counters(), Counters(2, 4));

        platform->clear();
        platform->answers << MsgAnswer::Yes;
        editor->Button3->click();
        QCOMPARE(platform->messageTexts(), QStringList{kQuestion});
        QCOMPARE(ReadBytes(path), VocabularyBytes(NumberedEntries(3)));
        QCOMPARE(counters(), Counters(2, 3));
        QCOMPARE(editor->Edit2->text(), QStringLiteral("deutsch2"));
    }

    void deleteEntry_data()
    {
        // clang-format off
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("current");
        QTest::addColumn<QList<int>>("order");
        QTest::addColumn<int>("shown");
        QTest::newRow("in the middle") << 5 << 2 << QList<int>{1, 3, 4, 5} << 2;
        QTest::newRow("the first") << 3 << 1 << QList<int>{2, 3} << 1;
        QTest::newRow("at the end") << 5 << 5 << QList<int>{1, 2, 3, 4} << 4;
        // clang-format on
    }

    void deleteEntry()
    {
        QFETCH(int, count);
        QFETCH(int, current);
        QFETCH(QList<int>, order);
        QFETCH(int, shown);
        open(count, current);
        editor->Edit2->setText(QStringLiteral("discarded"));
        platform->answers << MsgAnswer::Yes;
        QTest::keyClick(editor->Edit2, Qt::Key_F6);

        QCOMPARE(platform->messages.size(), 1);
        QCOMPARE(platform->messages[0].text, kQuestion);
        QCOMPARE(platform->messages[0].caption, QStringLiteral("Frage"));
        QCOMPARE(platform->messages[0].buttons, MsgButtons::YesNo);
        QCOMPARE(platform->messages[0].icon, MsgIcon::None);
        QCOMPARE(ReadBytes(path), VocabularyBytes(Entries(order)));
        QCOMPARE(counters(), Counters(shown, count - 1));
        QCOMPARE(editor->ScrollBar1->maximum(), count - 1);
        QCOMPARE(editor->ScrollBar1->value(), shown);
        QCOMPARE(editor->Edit2->text(), QStringLiteral("deutsch%1").arg(order[shown - 1]));
        QVERIFY(
            !QFile::exists(QString(path).replace(QStringLiteral(".vok"), QStringLiteral(".tmp"))));
        // The file stays open for the next command.
        editor->Edit5->setText(QStringLiteral("x"));
        editor->Beginn1->trigger();
        QCOMPARE(DecodeEntry(ReadBytes(path).mid(shown * kRecordSize, kRecordSize)).remark,
                 QStringLiteral("x"));
    }

    void delete_answeredNo_changesNothing()
    {
        open(3, 2);
        platform->answers << MsgAnswer::No;
        editor->Eintraglschen1->trigger();
        QCOMPARE(platform->messageTexts(), QStringList{kQuestion});
        QCOMPARE(ReadBytes(path), VocabularyBytes(NumberedEntries(3)));
        QCOMPARE(counters(), Counters(2, 3));
    }

    void delete_onlyEntry_refusedWithoutQuestion()
    {
        open(1, 1);
        platform->answers << MsgAnswer::Yes;
        editor->Button3->click();
        QCOMPARE(platform->messageTexts(),
                 QStringList{QStringLiteral("Es muß mindestens ein Eintrag nach dem Löschen "
                                            "übrigbleiben!")});
        QCOMPARE(platform->messages[0].caption, QStringLiteral("Fehler"));
        QCOMPARE(ReadBytes(path), VocabularyBytes(NumberedEntries(1)));
    }

    void delete_newEntryBegunByAdvance_leavesFileWhole()
    {
        open(3, 3);
        editor->Button1->click();  // entry 4 exists only on screen
        QCOMPARE(counters(), Counters(4, 4));
        editor->Edit2->setText(QStringLiteral("halb"));
        platform->answers << MsgAnswer::Yes;
        editor->Button3->click();
        QCOMPARE(platform->messageTexts(), QStringList{kQuestion});
        QCOMPARE(ReadBytes(path), VocabularyBytes(NumberedEntries(3)));
        QCOMPARE(counters(), Counters(3, 3));
        QCOMPARE(editor->ScrollBar1->maximum(), 3);
        QCOMPARE(editor->Edit2->text(), QStringLiteral("deutsch3"));
        editor->Beginn1->trigger();
        QCOMPARE(ReadBytes(path), VocabularyBytes(NumberedEntries(3)));
    }

    void exchangeRefused_data()
    {
        // clang-format off
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("caption");
        QTest::newRow("equal") << "3" << "3" << "Vertauschen ergibt keinen Sinn!" << "Meldung";
        QTest::newRow("equal with blanks") << " 2" << "2 " << "Vertauschen ergibt keinen Sinn!"
                                           << "Meldung";
        QTest::newRow("zero") << "0" << "2" << kInvalid << "Fehler";
        QTest::newRow("empty") << "1" << "" << kInvalid << "Fehler";
        QTest::newRow("letters") << "zwei" << "1" << kInvalid << "Fehler";
        QTest::newRow("number and letter") << "2a" << "1" << kInvalid << "Fehler";
        QTest::newRow("negative") << "-2" << "1" << kInvalid << "Fehler";
        QTest::newRow("beyond the last") << "2" << "7" << kInvalid << "Fehler";
        QTest::newRow("far beyond") << "99999999999" << "1" << kInvalid << "Fehler";
        // clang-format on
    }

    void exchangeRefused()
    {
        QFETCH(QString, left);
        QFETCH(QString, right);
        QFETCH(QString, message);
        QFETCH(QString, caption);
        open(5, 1);
        editor->Edit6->setText(left);
        editor->Edit7->setText(right);
        editor->SpeedButton7->click();
        QCOMPARE(platform->messageTexts(), QStringList{message});
        QCOMPARE(platform->messages[0].caption, caption);
        QCOMPARE(ReadBytes(path), VocabularyBytes(NumberedEntries(5)));
        QCOMPARE(editor->Edit6->text(), left.trimmed());
    }

    void exchange_incompleteEntry_refusedFirst()
    {
        open(3, 1);
        editor->Edit6->setText(QStringLiteral("1"));
        editor->Edit7->setText(QStringLiteral("2"));
        editor->Edit3->setText(QStringLiteral("  "));
        editor->Vertauschen1->trigger();
        QCOMPARE(platform->messages.size(), 1);
        QCOMPARE(platform->messages[0].caption, QStringLiteral("Eingabefehler"));
        QCOMPARE(ReadBytes(path), VocabularyBytes(NumberedEntries(3)));
    }

    void exchange_blanksAroundNumbers_accepted()
    {
        open(5, 1);
        editor->Edit6->setText(QStringLiteral("  2 "));
        editor->Edit7->setText(QStringLiteral(" 5"));
        editor->Vertauschen1->trigger();
        QVERIFY(platform->messages.isEmpty());
        QCOMPARE(editor->Edit6->text(), QStringLiteral("2"));
        QCOMPARE(editor->Edit7->text(), QStringLiteral("5"));
        QCOMPARE(ReadBytes(path), VocabularyBytes(Entries({1, 5, 3, 4, 2})));
        QCOMPARE(counters(), Counters(1, 5));
        QCOMPARE(editor->Edit2->text(), QStringLiteral("deutsch1"));
    }

    void exchange_currentEntry_showsTheOneInItsPlace()
    {
        open(5, 2);
        editor->Edit5->setText(QStringLiteral("gemerkt"));
        QTest::keyClick(editor, Qt::Key_F7);  // left := 2
        editor->ScrollBar1->setValue(4);
        QTest::keyClick(editor, Qt::Key_F8);  // right := 4
        editor->ScrollBar1->setValue(2);
        QCOMPARE(editor->Edit6->text(), QStringLiteral("2"));
        QCOMPARE(editor->Edit7->text(), QStringLiteral("4"));

        editor->Vertauschen1->trigger();
        QList<VocabularyEntry> expected = Entries({1, 4, 3, 2, 5});
        expected[3].remark = QStringLiteral("gemerkt");
        QCOMPARE(ReadBytes(path), VocabularyBytes(expected));
        QCOMPARE(counters(), Counters(2, 5));
        QCOMPARE(editor->Edit2->text(), QStringLiteral("deutsch4"));
        QCOMPARE(editor->focusWidget(), editor->Edit1);
    }

    void exchange_newEntryAtTheEnd_isStoredFirst()
    {
        open(2, 2);
        editor->Button1->click();
        editor->Edit2->setText(QStringLiteral("deutsch3"));
        editor->Edit3->setText(QStringLiteral("foreign3"));
        editor->Edit6->setText(QStringLiteral("1"));
        editor->Edit7->setText(QStringLiteral("3"));
        editor->Vertauschen1->trigger();
        QVERIFY(platform->messages.isEmpty());
        QList<VocabularyEntry> expected = Entries({0, 2, 1});
        expected[0] = {QStringLiteral("L2"), QStringLiteral("deutsch3"), QStringLiteral("foreign3"),
                       QString(), QString()};
        QCOMPARE(ReadBytes(path), VocabularyBytes(expected));
        QCOMPARE(editor->Edit2->text(), QStringLiteral("deutsch1"));
    }

    void ctrlV_inField_exchangesInsteadOfPasting()
    {
        open(3, 1);
        editor->Edit6->setText(QStringLiteral("1"));
        editor->Edit7->setText(QStringLiteral("3"));
        QApplication::clipboard()->setText(QStringLiteral("EINGEFÜGT"));
        editor->Edit2->setFocus();
        QTest::keyClick(editor->Edit2, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(ReadBytes(path), VocabularyBytes(Entries({3, 2, 1})));
        QCOMPARE(editor->Edit2->text(), QStringLiteral("deutsch3"));

        editor->Edit6->setFocus();
        QTest::keyClick(editor->Edit6, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(editor->Edit6->text(), QStringLiteral("1"));
        QCOMPARE(ReadBytes(path), VocabularyBytes(NumberedEntries(3)));
    }

    void commands_disabledWithoutDocument()
    {
        QTest::keyClick(editor, Qt::Key_F5);
        QTest::keyClick(editor, Qt::Key_F6);
        QTest::keyClick(editor, Qt::Key_F7);
        QVERIFY(platform->messages.isEmpty());
        QVERIFY(editor->Edit6->text().isEmpty());
        QVERIFY(!editor->EditorFunktionen1->menuAction()->isEnabled());
    }
};

LK_TEST_MAIN(EditorEntryEditingTest)
#include "EditorEntryEditingTest.moc"
