// Inserting, deleting and exchanging entries from the editor window.

#include <QAction>
#include <QApplication>
#include <QClipboard>
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
    // "current/last bar value/maximum German-term", as the window shows them.
    QString view() const
    {
        return QStringLiteral("%1/%2 bar %3/%4 %5")
            .arg(editor->Label8->text(), editor->Label11->text(),
                 QString::number(editor->ScrollBar1->value()),
                 QString::number(editor->ScrollBar1->maximum()), editor->Edit2->text());
    }
    // Exactly this one message was shown, without icon.
    void verifyOnly(const QString& text, const QString& caption)
    {
        QCOMPARE(platform->messageTexts(), QStringList{text});
        QCOMPARE(platform->messages[0].caption, caption);
        QCOMPARE(platform->messages[0].icon, MsgIcon::None);
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
        QTest::addColumn<int>("current");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("at 1") << 1 << QList<int>{0, 1, 2, 3};
        QTest::newRow("in the middle") << 2 << QList<int>{1, 0, 2, 3};
        QTest::newRow("at the last") << 3 << QList<int>{1, 2, 0, 3};
    }
    void insert()
    {
        QFETCH(int, current);
        QFETCH(QList<int>, order);
        open(3, current);
        QTest::keyClick(editor->Edit3, Qt::Key_F5);
        QCOMPARE(ReadBytes(path), VocabularyBytes(Entries(order)));
        QCOMPARE(view(), QStringLiteral("%1/4 bar %1/4 ").arg(current));
        for (QLineEdit* f : {editor->Edit1, editor->Edit3, editor->Edit4, editor->Edit5})
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
        QCOMPARE(view(), QStringLiteral("2/4 bar 2/4 "));

        platform->clear();
        platform->answers << MsgAnswer::Yes;
        editor->Button3->click();
        QCOMPARE(platform->messageTexts(), QStringList{kQuestion});
        QCOMPARE(ReadBytes(path), VocabularyBytes(NumberedEntries(3)));
        QCOMPARE(view(), QStringLiteral("2/3 bar 2/3 deutsch2"));
    }

    // The edited entry is discarded, never stored.
    void deleteEntry_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QList<int>>("order");
        QTest::addColumn<QString>("view");
        QTest::newRow("in the middle")
            << 5 << 2 << true << QList<int>{1, 3, 4, 5} << "2/4 bar 2/4 deutsch3";
        QTest::newRow("the first") << 3 << 1 << true << QList<int>{2, 3} << "1/2 bar 1/2 deutsch2";
        QTest::newRow("at the end")
            << 5 << 5 << true << QList<int>{1, 2, 3, 4} << "4/4 bar 4/4 deutsch4";
        QTest::newRow("answered No")
            << 3 << 2 << false << QList<int>{1, 2, 3} << "2/3 bar 2/3 discarded";
    }
    void deleteEntry()
    {
        QFETCH(int, count);
        QFETCH(int, current);
        QFETCH(bool, yes);
        QFETCH(QList<int>, order);
        QFETCH(QString, view);
        open(count, current);
        editor->Edit2->setText(QStringLiteral("discarded"));
        platform->answers << (yes ? MsgAnswer::Yes : MsgAnswer::No);
        QTest::keyClick(editor->Edit2, Qt::Key_F6);
        verifyOnly(kQuestion, QStringLiteral("Frage"));
        QCOMPARE(platform->messages[0].buttons, MsgButtons::YesNo);
        QCOMPARE(ReadBytes(path), VocabularyBytes(Entries(order)));
        QCOMPARE(this->view(), view);
    }

    void delete_onlyEntry_refusedWithoutQuestion()
    {
        open(1, 1);
        platform->answers << MsgAnswer::Yes;
        editor->Button3->click();
        verifyOnly(QStringLiteral("Es muß mindestens ein Eintrag nach dem Löschen übrigbleiben!"),
                   QStringLiteral("Fehler"));
        QCOMPARE(ReadBytes(path), VocabularyBytes(NumberedEntries(1)));
    }

    void delete_newEntryBegunByAdvance_leavesFileWhole()
    {
        open(3, 3);
        editor->Button1->click();  // entry 4 exists only on screen
        QCOMPARE(view(), QStringLiteral("4/4 bar 4/4 "));
        editor->Edit2->setText(QStringLiteral("halb"));
        platform->answers << MsgAnswer::Yes;
        editor->Button3->click();
        QCOMPARE(platform->messageTexts(), QStringList{kQuestion});
        QCOMPARE(ReadBytes(path), VocabularyBytes(NumberedEntries(3)));
        QCOMPARE(view(), QStringLiteral("3/3 bar 3/3 deutsch3"));
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
        const QString pointless = QStringLiteral("Vertauschen ergibt keinen Sinn!");
        QTest::newRow("equal")             << "3"           << "3"  << pointless << "Meldung";
        QTest::newRow("equal with blanks") << " 2"          << "2 " << pointless << "Meldung";
        QTest::newRow("zero")              << "0"           << "2"  << kInvalid  << "Fehler";
        QTest::newRow("empty")             << "1"           << ""   << kInvalid  << "Fehler";
        QTest::newRow("letters")           << "zwei"        << "1"  << kInvalid  << "Fehler";
        QTest::newRow("number and letter") << "2a"          << "1"  << kInvalid  << "Fehler";
        QTest::newRow("negative")          << "-2"          << "1"  << kInvalid  << "Fehler";
        QTest::newRow("beyond the last")   << "2"           << "7"  << kInvalid  << "Fehler";
        QTest::newRow("far beyond")        << "99999999999" << "1"  << kInvalid  << "Fehler";
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
        verifyOnly(message, caption);
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

    // The edited current entry is stored first; when it takes part, the fields show the
    // entry now in its place.
    void exchange_data()
    {
        // clang-format off
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("blanks around numbers") << 1 << "  2 " << " 5" << QList<int>{1, 5, 3, 4, 2};
        QTest::newRow("the current entry") << 2 << "2" << "4" << QList<int>{1, 4, 3, 2, 5};
        // clang-format on
    }
    void exchange()
    {
        QFETCH(int, current);
        QFETCH(QString, left);
        QFETCH(QString, right);
        QFETCH(QList<int>, order);
        open(5, current);
        editor->Edit5->setText(QStringLiteral("gemerkt"));
        editor->Edit6->setText(left);
        editor->Edit7->setText(right);
        editor->Vertauschen1->trigger();
        QVERIFY(platform->messages.isEmpty());
        QCOMPARE(editor->Edit6->text() + QLatin1Char('|') + editor->Edit7->text(),
                 left.trimmed() + QLatin1Char('|') + right.trimmed());
        QList<VocabularyEntry> expected = Entries(order);
        expected[order.indexOf(current)].remark = QStringLiteral("gemerkt");
        QCOMPARE(ReadBytes(path), VocabularyBytes(expected));
        QCOMPARE(view(),
                 QStringLiteral("%1/5 bar %1/5 deutsch%2").arg(current).arg(order[current - 1]));
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
        QList<VocabularyEntry> expected = Entries({3, 2, 1});
        expected[0].lesson = QStringLiteral("L2");
        QCOMPARE(ReadBytes(path), VocabularyBytes(expected));
        QCOMPARE(editor->Edit2->text(), QStringLiteral("deutsch1"));
    }

    // F7 and F8 fill the swap fields with the current number; Ctrl+V in an entry field
    // exchanges instead of pasting, in a swap field it does neither.
    void keys_fillSwapFieldsAndExchange()
    {
        open(3, 1);
        QTest::keyClick(editor, Qt::Key_F7);
        editor->ScrollBar1->setValue(3);
        QTest::keyClick(editor, Qt::Key_F8);
        editor->ScrollBar1->setValue(1);
        QCOMPARE(editor->Edit6->text() + editor->Edit7->text(), QStringLiteral("13"));
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
        for (Qt::Key key : {Qt::Key_F5, Qt::Key_F6, Qt::Key_F7}) QTest::keyClick(editor, key);
        QVERIFY(platform->messages.isEmpty());
        QVERIFY(editor->Edit6->text().isEmpty());
        QVERIFY(!editor->EditorFunktionen1->menuAction()->isEnabled());
    }
};

LK_TEST_MAIN(EditorEntryEditingTest)
#include "EditorEntryEditingTest.moc"
