// The vocabulary editor driven through its controls and keys.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>

#include "app/Fonts.h"
#include "app/Forms.h"
#include "app/SettingsStore.h"
#include "app/Start.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "vocab/Editor.h"

namespace {

const QString kLessonMissing =
    QStringLiteral("Es muß ein Name für die Lektion angegeben werden!\n");
const QString kGermanMissing =
    QStringLiteral("Es muß die deutsche Bezeichnung angegeben werden!\n");
const QString kForeignMissing =
    QStringLiteral("Es muß die Entsprechung in der Fremdsprache angegeben werden!\n");
const QString kTwoMissing = QStringLiteral("Eingabefehler: ") + kGermanMissing + kForeignMissing;
const QString kAllMissing =
    QStringLiteral("Eingabefehler: ") + kLessonMissing + kGermanMissing + kForeignMissing;
const QString kQuestion = QStringLiteral("Frage: Der aktuelle Eintrag wird gelöscht.\nSicher?");
const QString kChanged = QStringLiteral(
    "Fehler: Die Datei wurde inzwischen von einem anderen "
    "Programm geändert! Es wurde nichts geschrieben.");
const QString kInvalidSwap =
    QStringLiteral("Fehler: Beide Eingabefelder müssen gültige Werte enthalten!");

// chattr +i/-i also stops a user whom permissions do not stop.
void SetImmutable(const QString& path, bool on)
{
    if (!QStandardPaths::findExecutable(QStringLiteral("chattr")).isEmpty())
        QProcess::execute(QStringLiteral("chattr"),
                          {on ? QStringLiteral("+i") : QStringLiteral("-i"), path});
}

}  // namespace

class EditorTest : public QObject {
    Q_OBJECT

    FakePlatform* platform = nullptr;
    TForm2* editor = nullptr;
    QString dir;

    QString openFile(int entries, const QString& name = QStringLiteral("liste.vok"))
    {
        const QString path = WriteVocabularyFile(dir, name, NumberedEntries(entries));
        platform->fileAnswers << path;
        editor->OeffnenClick();
        return path;
    }
    // "current/last bar value/maximum lesson German-term", as the window shows them.
    QString view() const
    {
        return QStringLiteral("%1/%2 bar %3/%4 %5 %6")
            .arg(editor->Label8->text(), editor->Label11->text(),
                 QString::number(editor->ScrollBar1->value()),
                 QString::number(editor->ScrollBar1->maximum()), editor->Edit1->text(),
                 editor->Edit2->text());
    }
    // Every message shown, as "caption: text".
    QStringList messages() const
    {
        QStringList shown;
        for (const FakePlatform::Message& m : platform->messages)
            shown << m.caption + QStringLiteral(": ") + m.text;
        return shown;
    }

    // The rows of a command table: a file of `entries` numbered entries, at entry `start`
    // the remark "  note " typed and, if given, lesson|german|foreign; the swap fields
    // filled with left|right. Each step is a key sequence sent to the focused field,
    // "bar:N" (the scroll bar moved to N), "cut:N" (another program cuts the file to N
    // entries) or "Button1". `order` lists the file's entries afterwards: k numbered entry
    // k, -k the edited entry k, 0 a blank one. The window stays open.
    void addCommandColumns()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("swap");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QList<int>>("order");
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("focus");  // empty: not checked
    }
    void runCommands()
    {
        QFETCH(int, entries);
        QFETCH(int, start);
        QFETCH(QString, entry);
        QFETCH(QString, swap);
        QFETCH(QString, steps);
        QFETCH(bool, yes);
        QFETCH(QStringList, messages);
        QFETCH(QList<int>, order);
        QFETCH(QString, view);
        QFETCH(QString, focus);
        const QString path = openFile(entries);
        editor->ScrollBar1->setValue(start);
        const QList<VocabularyEntry> numbered = NumberedEntries(entries);
        VocabularyEntry edited = numbered[start - 1];
        edited.remark = QStringLiteral("note");
        editor->Edit5->setText(QStringLiteral("  note "));
        if (!entry.isEmpty()) {
            const QStringList fields = entry.split(QLatin1Char('|'));
            for (int k = 0; k < 3; ++k) {
                editor->findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(k + 1))
                    ->setText(fields[k]);
                edited.field(k) = fields[k].trimmed();
            }
        }
        if (!swap.isEmpty()) {
            editor->Edit6->setText(swap.section(QLatin1Char('|'), 0, 0));
            editor->Edit7->setText(swap.section(QLatin1Char('|'), 1, 1));
        }
        if (yes)
            platform->answers << MsgAnswer::Yes;
        editor->Edit5->setFocus();
        for (const QString& step : steps.split(QLatin1Char(' '))) {
            if (step.startsWith(QLatin1String("bar:")))
                editor->ScrollBar1->setValue(step.mid(4).toInt());
            else if (step.startsWith(QLatin1String("cut:")))
                QVERIFY(QFile::resize(path, (step.mid(4).toInt() + 1) * kRecordSize));
            else if (step == QLatin1String("Button1"))
                editor->Button1->click();
            else
                QTest::keySequence(editor->focusWidget(), QKeySequence(step));
        }
        QCOMPARE(this->messages(), messages);
        QList<VocabularyEntry> expected;
        for (int k : order)
            expected << (k == 0 ? VocabularyEntry{} : k < 0 ? edited : numbered[k - 1]);
        QCOMPARE(ReadBytes(path), VocabularyBytes(expected));
        QCOMPARE(this->view(), view);
        QVERIFY(editor->isVisible());
        if (!focus.isEmpty())
            QCOMPARE(editor->focusWidget()->objectName(), focus);
    }

private Q_SLOTS:
    void initTestCase()
    {
        InstallFontSubstitutions();
        QVERIFY(WriteVersionCreatingStore());
    }

    void init()
    {
        platform = new FakePlatform;
        dir = NewTestDirectory();
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

    // Every move stores the entry it leaves, trimmed; an incomplete entry stops it.
    void storingAndMoving_data()
    {
        addCommandColumns();
        const QString none;
        // clang-format off
        QTest::newRow("F2 at the first stays") << 4 << 1 << none << none << "F2" << false
            << QStringList() << QList<int>{-1, 2, 3, 4} << "1/4 bar 1/4 L1 deutsch1" << none;
        QTest::newRow("F3 at the last stays") << 4 << 4 << none << none << "F3" << false
            << QStringList() << QList<int>{1, 2, 3, -4} << "4/4 bar 4/4 L4 deutsch4" << none;
        QTest::newRow("F4 to the last") << 4 << 1 << none << none << "F4" << false
            << QStringList() << QList<int>{-1, 2, 3, 4} << "4/4 bar 4/4 L4 deutsch4" << none;
        QTest::newRow("scroll bar, no lesson") << 4 << 4 << "|deutsch4|foreign4" << none
            << "bar:2" << false << QStringList{QStringLiteral("Eingabefehler: ") + kLessonMissing}
            << QList<int>{1, 2, 3, 4} << "4/4 bar 4/4  deutsch4" << none;
        QTest::newRow("advance past the end") << 3 << 3 << none << none << "Button1" << false
            << QStringList() << QList<int>{1, 2, -3} << "4/4 bar 4/4 L3 " << "Edit2";
        QTest::newRow("blanks trimmed") << 1 << 1 << " L1| Haus |house  " << none << "F1"
            << false << QStringList() << QList<int>{-1} << "1/1 bar 1/1 L1 Haus" << none;
        QTest::newRow("three lines") << 2 << 2 << "||" << none << "F1" << false
            << QStringList{kAllMissing} << QList<int>{1, 2} << "2/2 bar 2/2  " << "Edit1";
        QTest::newRow("two lines") << 2 << 2 << "L||" << none << "F1" << false
            << QStringList{kTwoMissing}
            << QList<int>{1, 2} << "2/2 bar 2/2 L " << "Edit2";
        QTest::newRow("one line") << 2 << 2 << "L|Haus|" << none << "F1" << false
            << QStringList{QStringLiteral("Eingabefehler: ") + kForeignMissing}
            << QList<int>{1, 2} << "2/2 bar 2/2 L Haus" << "Edit3";
        // Cut by another program: nothing written, the entry stays as a new one after the
        // file's last.
        QTest::newRow("file cut meanwhile") << 3 << 3 << none << none << "cut:1 Button1"
            << false << QStringList{kChanged} << QList<int>{1} << "2/2 bar 2/2 L3 deutsch3"
            << none;
        // clang-format on
    }
    void storingAndMoving() { runCommands(); }

    // Inserting stores the current entry first, deleting discards it, exchanging stores
    // it before it checks the swap fields.
    void entryEditing_data()
    {
        addCommandColumns();
        const QString none;
        const QStringList asked{kQuestion};
        // clang-format off
        QTest::newRow("insert at 1") << 3 << 1 << none << none << "F5" << false
            << QStringList() << QList<int>{0, -1, 2, 3} << "1/4 bar 1/4  " << "Edit1";
        QTest::newRow("insert at the last") << 3 << 3 << none << none << "F5" << false
            << QStringList() << QList<int>{1, 2, 0, -3} << "3/4 bar 3/4  " << "Edit1";
        QTest::newRow("inserted blank deleted") << 3 << 2 << none << none << "F5 F3 F6" << true
            << QStringList{kAllMissing, kQuestion} << QList<int>{1, -2, 3}
            << "2/3 bar 2/3 L2 deutsch2" << none;
        QTest::newRow("delete in the middle") << 5 << 2 << none << none << "F6" << true << asked
            << QList<int>{1, 3, 4, 5} << "2/4 bar 2/4 L3 deutsch3" << none;
        QTest::newRow("delete at the end") << 5 << 5 << none << none << "F6" << true << asked
            << QList<int>{1, 2, 3, 4} << "4/4 bar 4/4 L4 deutsch4" << none;
        QTest::newRow("delete answered No") << 3 << 2 << none << none << "F6" << false << asked
            << QList<int>{1, 2, 3} << "2/3 bar 2/3 L2 deutsch2" << none;
        QTest::newRow("delete the only entry") << 1 << 1 << none << none << "F6" << true
            << QStringList{QStringLiteral("Fehler: Es muß mindestens ein Eintrag nach dem "
                                          "Löschen übrigbleiben!")}
            << QList<int>{1} << "1/1 bar 1/1 L1 deutsch1" << none;
        QTest::newRow("delete entry begun by advance") << 3 << 3 << none << none << "Button1 F6"
            << true << asked << QList<int>{1, 2, -3} << "3/3 bar 3/3 L3 deutsch3" << none;
        QTest::newRow("swap equal") << 5 << 1 << none << "3|3" << "Ctrl+V" << false
            << QStringList{QStringLiteral("Meldung: Vertauschen ergibt keinen Sinn!")}
            << QList<int>{-1, 2, 3, 4, 5} << "1/5 bar 1/5 L1 deutsch1" << none;
        QTest::newRow("swap 0") << 5 << 1 << none << "0|2" << "Ctrl+V" << false
            << QStringList{kInvalidSwap} << QList<int>{-1, 2, 3, 4, 5}
            << "1/5 bar 1/5 L1 deutsch1" << none;
        QTest::newRow("swap empty") << 5 << 1 << none << "1|" << "Ctrl+V" << false
            << QStringList{kInvalidSwap} << QList<int>{-1, 2, 3, 4, 5}
            << "1/5 bar 1/5 L1 deutsch1" << none;
        QTest::newRow("swap letters") << 5 << 1 << none << "zwei|1" << "Ctrl+V" << false
            << QStringList{kInvalidSwap} << QList<int>{-1, 2, 3, 4, 5}
            << "1/5 bar 1/5 L1 deutsch1" << none;
        QTest::newRow("swap beyond the last") << 5 << 1 << none << "2|6" << "Ctrl+V" << false
            << QStringList{kInvalidSwap} << QList<int>{-1, 2, 3, 4, 5}
            << "1/5 bar 1/5 L1 deutsch1" << none;
        QTest::newRow("swap, blanks around numbers") << 5 << 1 << none << "  2 | 5" << "Ctrl+V"
            << false << QStringList() << QList<int>{-1, 5, 3, 4, 2} << "1/5 bar 1/5 L1 deutsch1"
            << "Edit1";
        QTest::newRow("swap the current entry") << 5 << 2 << none << "2|4" << "Ctrl+V" << false
            << QStringList() << QList<int>{1, 4, 3, -2, 5} << "2/5 bar 2/5 L4 deutsch4" << none;
        QTest::newRow("F7 and F8 fill the swap fields") << 3 << 1 << none << none
            << "F7 bar:3 F8 bar:1 Ctrl+V" << false << QStringList() << QList<int>{3, 2, -1}
            << "1/3 bar 1/3 L3 deutsch3" << none;
        // clang-format on
    }
    void entryEditing() { runCommands(); }

    void newFile_data()
    {
        // clang-format off
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("existing");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("created");  // empty: none
        QTest::newRow("txt becomes vok") << "liste.txt" << false << false << "liste.vok";
        QTest::newRow("existing, yes") << "alt.vok" << true << true << "alt.vok";
        QTest::newRow("existing, no") << "alt.vok" << true << false << "";
        // clang-format on
    }
    void newFile()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, existing);
        QFETCH(bool, yes);
        QFETCH(QString, created);
        const QString old = WriteVocabularyFile(dir, QStringLiteral("alt.vok"), NumberedEntries(3));
        if (!existing)
            QFile::remove(old);
        platform->fileAnswers << dir + QLatin1Char('/') + chosen;
        platform->answers << (yes ? MsgAnswer::Yes : MsgAnswer::No);
        editor->ToolButton1->click();
        QCOMPARE(messages(), existing ? QStringList{QStringLiteral(
                                            "Frage: Datei existiert bereits.\nWollen Sie die "
                                            "vorhandene Datei löschen und neu anlegen?")}
                                      : QStringList());
        const QString path = created.isEmpty() ? old : dir + QLatin1Char('/') + created;
        QCOMPARE(ReadBytes(path), created.isEmpty() ? VocabularyBytes(NumberedEntries(3))
                                                    : QByteArray(kRecordSize, ' '));
        QCOMPARE(editor->Label2->text(),
                 created.isEmpty() ? QStringLiteral("(keine ausgewählt)") : path);
    }

    void open_unwritableFile_reported()
    {
        const QString path =
            WriteVocabularyFile(dir, QStringLiteral("fest.vok"), NumberedEntries(2));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        QFile probe(path);
        if (probe.open(QIODevice::ReadWrite)) {
            probe.close();
            SetImmutable(path, true);
            if (probe.open(QIODevice::ReadWrite))
                QSKIP("cannot make a file unwritable here");
        }
        platform->fileAnswers << path;
        editor->Oeffnen->trigger();
        SetImmutable(path, false);
        QCOMPARE(messages(), QStringList{QStringLiteral(
                                 "Fehler: Die Datei kann nicht zum Schreiben geöffnet werden!")});
        QCOMPARE(platform->messages[0].icon, MsgIcon::None);
        QVERIFY(!editor->Button1->isEnabled());
    }

    void leaving_incompleteFirstEntry_refused()
    {
        const QString path = dir + QStringLiteral("/neu.vok");
        platform->fileAnswers << path;
        editor->NeuClick();
        editor->Edit1->setText(QStringLiteral("L"));
        QTest::keyClick(editor->Edit1, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(messages(),
                 (QStringList{kTwoMissing, QStringLiteral("Fehler: Es muß mindestens ein "
                                                          "Eintrag vorhanden sein!")}));
        QVERIFY(editor->isVisible());
        QCOMPARE(ReadBytes(path), QByteArray(kRecordSize, ' '));

        editor->Edit2->setText(QStringLiteral("Haus"));
        editor->Edit3->setText(QStringLiteral("house"));
        editor->close();
        QVERIFY(!editor->isVisible());
        QCOMPARE(ReadBytes(path).size(), 2 * kRecordSize);
    }

    // The foreign field alone takes the chosen font, at its size.
    void fonts()
    {
        WriteFontField(1, 3);
        WriteFontField(0, 1);
        const int size = editor->Edit3->font().pointSize();
        QTest::keyClick(editor, Qt::Key_F2, Qt::ShiftModifier);
        QCOMPARE(ReadFont(), QStringLiteral("Symbol"));
        QCOMPARE(editor->Edit3->font().family(), QStringLiteral("Symbol"));
        QCOMPARE(editor->Edit3->font().pointSize(), size);
        QCOMPARE(editor->Edit2->font().family(), QStringLiteral("MS Sans Serif"));

        editor->SchriftartMSSansSerif1->trigger();
        QCOMPARE(ReadFont(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(editor->Edit3->font().family(), QStringLiteral("MS Sans Serif"));
    }

    // Every keystroke and paste is checked, also in a field loaded with control characters
    // (written by another program), which stay. Text set past the check is refused at
    // storing with a word on the text. "=" sets the text instead of typing it.
    void fieldInput_data()
    {
        QTest::addColumn<QString>("remark");  // entry 1's remark in the file
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("pasted");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("message");  // at storing; empty: stored
        const QStringList pasted{QStringLiteral("Zeile\u03B1"), QStringLiteral("x\ty"),
                                 QStringLiteral(" \u00C4hre")};
        // clang-format off
        QTest::newRow("empty field") << "" << "Straße €\u0100" << pasted << "Straße € Ähre"
            << "";
        QTest::newRow("loaded with control characters") << "a\tb\x01" << "Erdős" << pasted
            << "a\tb\x01" "Erds Ähre" << "";
        QTest::newRow("set past the check") << "" << "=Erdős" << QStringList() << "Erdős"
            << "Fehler: Das Zeichen „ő“ im Feld „Bemerkung“ kann in einer Vokabeldatei nicht "
               "gespeichert werden!";
        // clang-format on
    }
    void fieldInput()
    {
        QFETCH(QString, remark);
        QFETCH(QString, typed);
        QFETCH(QStringList, pasted);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        QList<VocabularyEntry> entries = NumberedEntries(1);
        entries[0].remark = remark;
        const QString path = WriteVocabularyFile(dir, QStringLiteral("liste.vok"), entries);
        platform->fileAnswers << path;
        editor->OeffnenClick();
        editor->Edit5->setFocus();
        if (typed.startsWith(u'='))
            editor->Edit5->setText(typed.mid(1));
        else
            TypeText(editor->Edit5, typed);
        for (const QString& text : pasted) {
            QApplication::clipboard()->setText(text);
            editor->Edit5->paste();
        }
        QCOMPARE(editor->Edit5->text(), shown);
        editor->Beginn1->trigger();
        QCOMPARE(messages(), message.isEmpty() ? QStringList() : QStringList{message});
        if (message.isEmpty())
            entries[0].remark = shown;
        QCOMPARE(ReadBytes(path), VocabularyBytes(entries));
    }

    // The start screen's button shows the editor modally with the handed-over file open,
    // without a file dialog; the close box stores the entry and leaves.
    void startScreen_handedOverFile_closeBoxLeaves()
    {
        const QString path =
            WriteVocabularyFile(dir, QStringLiteral("englisch.vok"), NumberedEntries(2));
        TForm1 start({path});
        start.show();
        Form1 = &start;
        Form2 = editor;
        editor->hide();
        QString shown;
        QTimer::singleShot(0, editor, [&] {
            shown = editor->Label2->text() + QLatin1Char(' ') + view();
            editor->Edit3->setText(QStringLiteral("geändert"));
            editor->close();
        });
        // Should the close box not leave, the test fails instead of hanging.
        QTimer::singleShot(3000, editor, [&] { editor->done(QDialog::Rejected); });
        start.BitBtn1->click();
        Form1 = nullptr;
        Form2 = nullptr;
        QCOMPARE(shown, path + QStringLiteral(" 1/2 bar 1/2 L1 deutsch1"));
        QVERIFY(platform->fileDialogs.isEmpty());
        QVERIFY(!editor->isVisible());
        QList<VocabularyEntry> expected = NumberedEntries(2);
        expected[0].foreign = QStringLiteral("geändert");
        QCOMPARE(ReadBytes(path), VocabularyBytes(expected));
    }

    // Another program removes, renames or replaces the open file. Whatever the command,
    // the editor says so, writes nothing, brings no file back and keeps the typed entry.
    void fileGone_data()
    {
        QTest::addColumn<QString>("change");  // "remove", "rename" or "replace"
        QTest::addColumn<int>("key");         // the command after the change
        // clang-format off
        QTest::newRow("removed between two stores") << "remove" << int(Qt::Key_F3);
        QTest::newRow("removed between a store and a delete") << "remove" << int(Qt::Key_F6);
        QTest::newRow("renamed away, then closed") << "rename" << int(Qt::Key_Q);
        QTest::newRow("replaced, then stored") << "replace" << int(Qt::Key_F1);
        QTest::newRow("replaced, then deleted") << "replace" << int(Qt::Key_F6);
        // clang-format on
    }
    void fileGone()
    {
        QFETCH(QString, change);
        QFETCH(int, key);
        const QString path = openFile(3);
        const QString away = dir + QStringLiteral("/weg.vok");
        const QByteArray other = VocabularyBytes(NumberedEntries(1, QStringLiteral("fremd")));
        editor->Edit1->setFocus();
        editor->Button1->click();  // entry 1 stored, entry 2 shown
        QVERIFY(messages().isEmpty());
        if (change == QLatin1String("remove")) {
            QVERIFY(QFile::remove(path));
        } else if (change == QLatin1String("rename")) {
            QVERIFY(QFile::rename(path, away));
        } else {
            QVERIFY(WriteBytes(away, other));
            QVERIFY(QFile::remove(path) && QFile::rename(away, path));
        }
        editor->Edit5->setText(QStringLiteral("neu"));
        platform->answers << MsgAnswer::Yes;
        QTest::keyClick(editor->focusWidget(), Qt::Key(key),
                        key == Qt::Key_Q ? Qt::ControlModifier : Qt::NoModifier);
        QCOMPARE(messages(), QStringList{QStringLiteral("Fehler: Die Datei existiert nicht mehr!")});
        QCOMPARE(view(), QStringLiteral("2/3 bar 2/3 L2 deutsch2"));
        QCOMPARE(editor->Edit5->text(), QStringLiteral("neu"));
        QCOMPARE(ReadBytes(path), change == QLatin1String("replace") ? other : QByteArray());
        QCOMPARE(ReadBytes(away), change == QLatin1String("rename")
                                      ? VocabularyBytes(NumberedEntries(3))
                                      : QByteArray());
        QVERIFY(!QFile::exists(dir + QStringLiteral("/liste.tmp")));
        for (const QString& left : {path, away})
            QVERIFY(!QFile::exists(left) || QFile::permissions(left) & QFile::WriteOwner);
        QVERIFY(editor->isVisible());
    }

    // The file vanishes while the deletion is asked for: the editor ends in the
    // no-document state, and nothing is brought back.
    void fileGone_duringDeletion()
    {
        const QString path = openFile(3);
        platform->answers << MsgAnswer::Yes;
        platform->onMessage = [&](const FakePlatform::Message&) { QFile::remove(path); };
        editor->Eintraglschen1->trigger();
        platform->onMessage = nullptr;
        QCOMPARE(messages(), (QStringList{kQuestion, QStringLiteral("Fehler: Die Datei existiert "
                                                                   "nicht mehr!")}));
        QVERIFY(!QFile::exists(path));
        QVERIFY(!QFile::exists(dir + QStringLiteral("/liste.tmp")));
        QCOMPARE(editor->Label2->text(), QStringLiteral("(keine ausgewählt)"));
        QVERIFY(!editor->Button1->isEnabled());
    }

    // The arrow keys in an open menu go on to "&Hilfe" at the right end of the bar and back.
    void menuArrows_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("to");
        QTest::newRow("right from the last") << "Optionen1" << int(Qt::Key_Right) << "Hilfe1";
        QTest::newRow("left from the help") << "Hilfe1" << int(Qt::Key_Left) << "Optionen1";
        QTest::newRow("right from the help") << "Hilfe1" << int(Qt::Key_Right) << "Datei1";
        QTest::newRow("left from the first") << "Datei1" << int(Qt::Key_Left) << "Hilfe1";
    }
    void menuArrows()
    {
        QFETCH(QString, from);
        QFETCH(int, key);
        QFETCH(QString, to);
        auto* open = editor->findChild<QMenu*>(from);
        auto* next = editor->findChild<QMenu*>(to);
        QMenuBar* bar = open == editor->Hilfe1 ? editor->HelpMenuBar : editor->MainMenu1;
        bar->setActiveAction(open->menuAction());
        QTRY_VERIFY(open->isVisible());
        QTest::keyClick(open, Qt::Key(key));
        QTRY_VERIFY(next->isVisible());
        QVERIFY(!open->isVisible());
        next->hide();
    }

    // A counter that is no number ends the program; no record is read or written.
    void internalError_data()
    {
        // clang-format off
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("code");
        QTest::newRow("next, last") << "Label11" << "Nchstes1" << "005";
        QTest::newRow("delete, current") << "Label8" << "Eintraglschen1" << "014";
        // clang-format on
    }
    void internalError()
    {
        QFETCH(QString, label);
        QFETCH(QString, command);
        QFETCH(QString, code);
        const QString path = openFile(3);
        editor->findChild<QLabel*>(label)->setText(QStringLiteral("3x"));
        platform->answers << MsgAnswer::Yes;
        editor->findChild<QAction*>(command)->trigger();
        QCOMPARE(messages(), QStringList{QStringLiteral("Fehler: Es ist ein programminterner "
                                                        "Fehler aufgetreten.\nFehlercode: ") +
                                         code});
        QCOMPARE(platform->quitRequests, 1);
        QCOMPARE(ReadBytes(path), VocabularyBytes(NumberedEntries(3)));
        QVERIFY(!QFile::exists(dir + QStringLiteral("/liste.tmp")));
    }
};

LK_TEST_MAIN(EditorTest)
#include "EditorTest.moc"
