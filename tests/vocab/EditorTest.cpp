// The vocabulary editor driven through its controls and keys.

#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>
#include <QToolButton>

#include "app/Fonts.h"
#include "app/Forms.h"
#include "app/SettingsStore.h"
#include "app/Start.h"
#include "support/VocabTests.h"
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
    // "current/last lesson German-term", as the window shows them.
    QString view() const
    {
        return QStringLiteral("%1/%2 %3 %4")
            .arg(editor->Label8->text(), editor->Label11->text(), editor->Edit1->text(),
                 editor->Edit2->text());
    }
    QStringList messages() const { return platform->messageLines(false); }
    void SetSwapFields(const QString& left, const QString& right)
    {
        editor->Edit6->setText(left);
        editor->Edit7->setText(right);
    }

    // The rows of a command table: a file of `entries` numbered entries, at entry `start`
    // the remark "  note " typed and, if given, lesson|german|foreign. Each step is a key
    // sequence sent to the focused field, "bar:N" (the scroll bar moved to N), "swap:A|B"
    // (the swap fields filled, '_' a blank), "yes" (the next question answered Yes) or
    // "Button1". `order` lists the file's entries afterwards: k numbered entry k, -k the
    // edited entry k, 0 a blank one.
    // The window stays open; `focus` empty: not checked.
    void addCommandColumns()
    {
        DataColumns<int, int, QString, QString, QStringList, QList<int>, QString, QString>(
            "entries", "start", "entry", "steps", "messages", "order", "view", "focus");
    }
    void runCommands()
    {
        const auto [entries, start, entry, steps, order, focus] =
            DataRow<int, int, QString, QString, QList<int>, QString>("entries", "start", "entry",
                                                                     "steps", "order", "focus");
        const QString path = openFile(entries);
        editor->ScrollBar1->setValue(start);
        const QList<VocabularyEntry> numbered = NumberedEntries(entries);
        VocabularyEntry edited = numbered[start - 1];
        edited.remark = QStringLiteral("note");
        editor->Edit5->setText(QStringLiteral("  note "));
        const QStringList fields = entry.split(u'|');
        for (int k = 0; k < 3 && !entry.isEmpty(); ++k) {
            editor->findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(k + 1))->setText(fields[k]);
            edited.field(k) = fields[k].trimmed();
        }
        editor->Edit5->setFocus();
        for (const QString& step : steps.split(u' ')) {
            const QString arg = step.section(u':', 1).replace(u'_', u' ');
            if (step.startsWith(QLatin1String("bar:")))
                editor->ScrollBar1->setValue(arg.toInt());
            else if (step.startsWith(QLatin1String("swap:")))
                SetSwapFields(arg.section(u'|', 0, 0), arg.section(u'|', 1));
            else if (step == QLatin1String("yes"))
                platform->answers << MsgAnswer::Yes;
            else if (step == QLatin1String("Button1"))
                editor->Button1->click();
            else
                QTest::keySequence(editor->focusWidget(), QKeySequence(step));
        }
        QTEST(messages(), "messages");
        QList<VocabularyEntry> expected;
        for (int k : order)
            expected << (k == 0 ? VocabularyEntry{} : k < 0 ? edited : numbered[k - 1]);
        QCOMPARE(ReadBytes(path), VocabularyBytes(expected));
        QTEST(view(), "view");
        QCOMPARE(QStringLiteral("%1/%2")
                     .arg(editor->ScrollBar1->value())
                     .arg(editor->ScrollBar1->maximum()),
                 view().section(u' ', 0, 0));
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
        const auto row = [](const char* name, int entries, int start, const char* entry,
                            const char* steps, const QStringList& messages, const QList<int>& order,
                            const char* view, const char* focus = "") {
            QTest::newRow(name) << entries << start << QString::fromUtf8(entry)
                                << QString::fromUtf8(steps) << messages << order
                                << QString::fromUtf8(view) << QString::fromUtf8(focus);
        };
        const QString missing = QStringLiteral("Eingabefehler: ");
        // clang-format off
        row("F2 at the first stays", 4, 1, "", "F2", {}, {-1, 2, 3, 4}, "1/4 L1 deutsch1");
        row("F3 at the last stays", 4, 4, "", "F3", {}, {1, 2, 3, -4}, "4/4 L4 deutsch4");
        row("F4 to the last", 4, 1, "", "F4", {}, {-1, 2, 3, 4}, "4/4 L4 deutsch4");
        row("scroll bar, no lesson", 4, 4, "|deutsch4|foreign4", "bar:2",
            {missing + kLessonMissing}, {1, 2, 3, 4}, "4/4  deutsch4");
        row("advance past the end", 3, 3, "", "Button1", {}, {1, 2, -3}, "4/4 L3 ", "Edit2");
        row("blanks trimmed", 1, 1, " L1| Haus |house  ", "F1", {}, {-1}, "1/1 L1 Haus");
        row("three lines", 2, 2, "||", "F1", {kAllMissing}, {1, 2}, "2/2  ", "Edit1");
        row("two lines", 2, 2, "L||", "F1", {kTwoMissing}, {1, 2}, "2/2 L ", "Edit2");
        row("one line", 2, 2, "L|Haus|", "F1", {missing + kForeignMissing}, {1, 2}, "2/2 L Haus",
            "Edit3");

        // Inserting stores the current entry first, deleting discards it, exchanging stores
        // it before it checks the swap fields.
        const QStringList asked{kQuestion};
        row("insert at 1", 3, 1, "", "F5", {}, {0, -1, 2, 3}, "1/4  ", "Edit1");
        row("insert at the last", 3, 3, "", "F5", {}, {1, 2, 0, -3}, "3/4  ", "Edit1");
        row("inserted blank deleted", 3, 2, "", "F5 F3 yes F6", {kAllMissing, kQuestion},
            {1, -2, 3}, "2/3 L2 deutsch2");
        row("delete in the middle", 5, 2, "", "yes F6", asked, {1, 3, 4, 5}, "2/4 L3 deutsch3");
        row("delete at the end", 5, 5, "", "yes F6", asked, {1, 2, 3, 4}, "4/4 L4 deutsch4");
        row("delete answered No", 3, 2, "", "F6", asked, {1, 2, 3}, "2/3 L2 deutsch2");
        row("delete the only entry", 1, 1, "", "yes F6", {QStringLiteral("Fehler: Es muß "
            "mindestens ein Eintrag nach dem Löschen übrigbleiben!")}, {1}, "1/1 L1 deutsch1");
        row("delete entry begun by advance", 3, 3, "", "Button1 yes F6", asked, {1, 2, -3},
            "3/3 L3 deutsch3");
        row("swap equal", 5, 1, "", "swap:3|3 Ctrl+V",
            {QStringLiteral("Meldung: Vertauschen ergibt keinen Sinn!")}, {-1, 2, 3, 4, 5},
            "1/5 L1 deutsch1");
        row("swap 0, empty, letters, beyond the last", 5, 1, "",
            "swap:0|2 Ctrl+V swap:1| Ctrl+V swap:zwei|1 Ctrl+V swap:2|6 Ctrl+V",
            QStringList(4, kInvalidSwap), {-1, 2, 3, 4, 5}, "1/5 L1 deutsch1");
        row("swap, blanks around numbers", 5, 1, "", "swap:__2_|_5 Ctrl+V", {},
            {-1, 5, 3, 4, 2}, "1/5 L1 deutsch1", "Edit1");
        row("swap the current entry", 5, 2, "", "swap:2|4 Ctrl+V", {}, {1, 4, 3, -2, 5},
            "2/5 L4 deutsch4");
        row("F7 and F8 fill the swap fields", 3, 1, "", "F7 bar:3 F8 bar:1 Ctrl+V", {},
            {3, 2, -1}, "1/3 L3 deutsch3");
        // clang-format on
    }
    void storingAndMoving() { runCommands(); }

    void newFile_data()
    {
        DataColumns<QString, bool, bool, QString>("chosen", "existing", "yes",
                                                  "created");  // created empty: none
        // clang-format off
        QTest::newRow("txt becomes vok") << "liste.txt" << false << false << "liste.vok";
        QTest::newRow("existing, yes") << "alt.vok" << true << true << "alt.vok";
        QTest::newRow("existing, no") << "alt.vok" << true << false << "";
        // clang-format on
    }
    void newFile()
    {
        const auto [chosen, existing, yes, created] =
            DataRow<QString, bool, bool, QString>("chosen", "existing", "yes", "created");
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
        // remark: entry 1's in the file; message: at storing, empty: stored
        DataColumns<QString, QString, QStringList, QString, QString>("remark", "typed", "pasted",
                                                                     "shown", "message");
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
        const auto [remark, typed, pasted, shown, message] =
            DataRow<QString, QString, QStringList, QString, QString>("remark", "typed", "pasted",
                                                                     "shown", "message");
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
        QCOMPARE(shown, path + QStringLiteral(" 1/2 L1 deutsch1"));
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
        // change: "remove", "rename" or "replace"; key: the command after the change
        DataColumns<QString, int>("change", "key");
        QTest::newRow("removed between two stores") << "remove" << int(Qt::Key_F3);
        QTest::newRow("renamed away, then closed") << "rename" << int(Qt::Key_Q);
        QTest::newRow("replaced, then deleted") << "replace" << int(Qt::Key_F6);
    }
    void fileGone()
    {
        const auto [change, key] = DataRow<QString, int>("change", "key");
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
        QCOMPARE(messages(),
                 QStringList{QStringLiteral("Fehler: Die Datei existiert nicht mehr!")});
        QCOMPARE(view(), QStringLiteral("2/3 L2 deutsch2"));
        QCOMPARE(editor->Edit5->text(), QStringLiteral("neu"));
        QCOMPARE(ReadBytes(path), change == QLatin1String("replace") ? other : QByteArray());
        QCOMPARE(ReadBytes(away), change == QLatin1String("rename")
                                      ? VocabularyBytes(NumberedEntries(3))
                                      : QByteArray());
        QVERIFY(!QFile::exists(dir + QStringLiteral("/liste.tmp")));
        for (const QString& left : {path, away})
            QVERIFY(!QFile::exists(left) || QFile::permissions(left) & QFile::WriteOwner);
        editor->close();  // the entry cannot be stored: the window stays
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
    void menuArrows()
    {
        QMenu* open = editor->Optionen1;
        editor->MainMenu1->setActiveAction(open->menuAction());
        QTRY_VERIFY(open->isVisible());
        for (const auto& [key, next] : {std::pair{Qt::Key_Right, editor->Hilfe1},
                                        {Qt::Key_Right, editor->Datei1},
                                        {Qt::Key_Left, editor->Hilfe1},
                                        {Qt::Key_Left, editor->Optionen1}}) {
            QTest::keyClick(open, key);
            QTRY_VERIFY(next->isVisible());
            QVERIFY(!open->isVisible());
            open = next;
        }
        open->hide();
    }

    // A counter that is no number ends the program; no record is read or written.
    void internalError()
    {
        const QString path = openFile(3);
        for (const auto& [label, command, code] :
             {std::array{"Label11", "Nchstes1", "005"}, {"Label8", "Eintraglschen1", "014"}}) {
            platform->clear();
            editor->findChild<QLabel*>(QString::fromLatin1(label))->setText(QStringLiteral("3x"));
            platform->answers << MsgAnswer::Yes;
            editor->findChild<QAction*>(QString::fromLatin1(command))->trigger();
            QCOMPARE(messages(), QStringList{QStringLiteral("Fehler: Es ist ein programminterner "
                                                            "Fehler aufgetreten.\nFehlercode: ") +
                                             QString::fromLatin1(code)});
            QCOMPARE(platform->quitRequests, 1);
            QCOMPARE(ReadBytes(path), VocabularyBytes(NumberedEntries(3)));
            QVERIFY(!QFile::exists(dir + QStringLiteral("/liste.tmp")));
            editor->findChild<QLabel*>(QString::fromLatin1(label))->setText(QStringLiteral("3"));
        }
    }
};

LK_TEST_MAIN(EditorTest)
#include "EditorTest.moc"
