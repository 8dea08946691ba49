// The editor's document handling and navigation, driven through its controls.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
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

QByteArray Field(const char* text)
{
    return QByteArray(text).leftJustified(kFieldWidth, ' ');
}

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
    // "current/last bar value/maximum German-term", as the window shows them.
    QString view() const
    {
        return QStringLiteral("%1/%2 bar %3/%4 %5")
            .arg(editor->Label8->text(), editor->Label11->text(),
                 QString::number(editor->ScrollBar1->value()),
                 QString::number(editor->ScrollBar1->maximum()), editor->Edit2->text());
    }
    void setFields(const QString& lesson, const QString& german, const QString& foreign)
    {
        editor->Edit1->setText(lesson);
        editor->Edit2->setText(german);
        editor->Edit3->setText(foreign);
    }
    bool hasDocument() const { return editor->Button1->isEnabled(); }
    // Exactly this one message was shown, without icon.
    void verifyOnly(const QString& text, const QString& caption = QStringLiteral("Fehler"))
    {
        QCOMPARE(platform->messageTexts(), QStringList{text});
        QCOMPARE(platform->messages[0].caption, caption);
        QCOMPARE(platform->messages[0].icon, MsgIcon::None);
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
        WriteSynonyme(true);
        WriteBeschreibung(true);
        WriteFont(QString());
        WriteCurrentDirectory(QString());
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

    void controlStates_followTheDocument()
    {
        QCOMPARE(editor->windowTitle(), QStringLiteral("Vokabel-Editor"));
        // "&Hilfe" sits in its own bar at the right end.
        QCOMPARE(editor->MainMenu1->cornerWidget(Qt::TopRightCorner), editor->HelpMenuBar);
        QVERIFY(editor->HelpMenuBar->x() > editor->width() / 2);
        QVERIFY(!editor->Edit1->isEnabled() && !editor->Nchstes1->isEnabled());
        QVERIFY(editor->Neu->isEnabled() && editor->ToolButton2->isEnabled());
        QCOMPARE(editor->Label2->text(), QStringLiteral("(keine ausgewählt)"));
        QCOMPARE(view(), QStringLiteral("0/0 bar 1/1 "));

        const QString path = openFile(3);
        QVERIFY(editor->Edit1->isEnabled() && editor->Nchstes1->isEnabled());
        QVERIFY(!editor->Neu->isEnabled() && !editor->ToolButton1->isEnabled());
        QCOMPARE(editor->Label2->text(), path);
        QCOMPARE(view(), QStringLiteral("1/3 bar 1/3 deutsch1"));
        QCOMPARE(editor->focusWidget(), editor->Edit1);

        editor->Edit6->setText(QStringLiteral("2"));
        editor->Schlieenohnespeichern1->trigger();
        QVERIFY(!hasDocument());
        QVERIFY(editor->Edit1->text().isEmpty());
        QCOMPARE(editor->Edit6->text(), QStringLiteral("2"));  // swap fields keep their text
        QCOMPARE(ReadBytes(path), VocabularyBytes(NumberedEntries(3)));

        editor->ToolButton10->click();  // leaving without a document asks nothing
        QVERIFY(!editor->isVisible());
        QVERIFY(platform->messages.isEmpty());
    }

    void storeWithAdvance_pastTheEnd_beginsNewEntryKeepingLesson()
    {
        const QString path = openFile(3);
        editor->Letztes1->trigger();
        editor->Edit4->setText(QStringLiteral("syn"));
        QTest::mouseClick(editor->Button1, Qt::LeftButton);
        QCOMPARE(view(), QStringLiteral("4/4 bar 4/4 "));
        QCOMPARE(editor->Edit1->text(), QStringLiteral("L3"));
        for (QLineEdit* f : {editor->Edit3, editor->Edit4, editor->Edit5})
            QVERIFY(f->text().isEmpty());
        QCOMPARE(editor->focusWidget(), editor->Edit2);
        QList<VocabularyEntry> expected = NumberedEntries(3);
        expected[2].synonyms = QStringLiteral("syn");
        QCOMPARE(ReadBytes(path), VocabularyBytes(expected));  // still 3 entries

        QTest::keyClicks(editor->Edit2, QStringLiteral("Baum"));
        editor->Edit3->setText(QStringLiteral("tree"));
        QTest::mouseClick(editor->Button1, Qt::LeftButton);
        expected << VocabularyEntry{QStringLiteral("L3"), QStringLiteral("Baum"),
                                    QStringLiteral("tree"), QString(), QString()};
        QCOMPARE(ReadBytes(path), VocabularyBytes(expected));
        QCOMPARE(view(), QStringLiteral("5/5 bar 5/5 "));
    }

    void blanks_trimmedBeforeStoring()
    {
        const QString path = openFile(1);
        setFields(QStringLiteral(" L1"), QStringLiteral(" Haus "), QStringLiteral("house  "));
        editor->Edit4->setText(QStringLiteral("   "));
        editor->Edit5->setText(QStringLiteral("a\tb "));
        editor->Beginn1->trigger();
        QCOMPARE(editor->Edit2->text(), QStringLiteral("Haus"));
        QCOMPARE(ReadBytes(path).mid(kRecordSize),
                 Field("L1") + Field("Haus") + Field("house") + Field("") + Field("a\tb"));
    }

    void validation_data()
    {
        // clang-format off
        QTest::addColumn<QString>("lesson");
        QTest::addColumn<QString>("german");
        QTest::addColumn<QString>("foreign");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const QString two = kGermanMissing + kForeignMissing;
        const QString all = kLessonMissing + two;
        QTest::newRow("all three")    << ""    << ""     << ""      << all             << "Edit1";
        QTest::newRow("foreign only") << "L"   << "Haus" << ""      << kForeignMissing << "Edit3";
        QTest::newRow("two")          << "L"   << ""     << ""      << two             << "Edit2";
        QTest::newRow("blank lesson") << "   " << "Haus" << "house" << kLessonMissing  << "Edit1";
        // clang-format on
    }
    void validation()
    {
        QFETCH(QString, lesson);
        QFETCH(QString, german);
        QFETCH(QString, foreign);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        const QString path = openFile(2);
        editor->Nchstes1->trigger();
        setFields(lesson, german, foreign);
        editor->Edit5->setFocus();
        editor->Beginn1->trigger();
        verifyOnly(message, QStringLiteral("Eingabefehler"));
        QCOMPARE(editor->focusWidget()->objectName(), focus);
        QCOMPARE(editor->Label8->text(), QStringLiteral("2"));
        QCOMPARE(ReadBytes(path), VocabularyBytes(NumberedEntries(2)));
    }

    // Every move stores the entry it leaves.
    void navigation_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("F1 to the first") << 3 << int(Qt::Key_F1) << 1;
        QTest::newRow("F2 back") << 3 << int(Qt::Key_F2) << 2;
        QTest::newRow("F2 at the first stays") << 1 << int(Qt::Key_F2) << 1;
        QTest::newRow("F3 on") << 2 << int(Qt::Key_F3) << 3;
        QTest::newRow("F3 at the last stays") << 4 << int(Qt::Key_F3) << 4;
        QTest::newRow("F4 to the last") << 1 << int(Qt::Key_F4) << 4;
    }
    void navigation()
    {
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, expected);
        const QString path = openFile(4);
        editor->ScrollBar1->setValue(start);
        editor->Edit5->setText(QStringLiteral("  note "));
        QTest::keyClick(editor->Edit2, Qt::Key(key));
        QCOMPARE(view(), QStringLiteral("%1/4 bar %1/4 deutsch%1").arg(expected));
        QList<VocabularyEntry> stored = NumberedEntries(4);
        stored[start - 1].remark = QStringLiteral("note");
        QCOMPARE(ReadBytes(path), VocabularyBytes(stored));
        QVERIFY(platform->messages.isEmpty());
    }

    void scrollBar_movesAndRefusesIncompleteEntry()
    {
        const QString path = openFile(5);
        editor->ScrollBar1->setFocus();
        QTest::keyClick(editor->ScrollBar1, Qt::Key_End);
        QCOMPARE(view(), QStringLiteral("5/5 bar 5/5 deutsch5"));
        editor->ScrollBar1->setValue(4);
        QCOMPARE(view(), QStringLiteral("4/5 bar 4/5 deutsch4"));

        editor->Edit1->clear();
        editor->ScrollBar1->setValue(2);
        QCOMPARE(platform->messageTexts(), QStringList{kLessonMissing});
        QCOMPARE(view(), QStringLiteral("4/5 bar 4/5 deutsch4"));
        QCOMPARE(ReadBytes(path), VocabularyBytes(NumberedEntries(5)));
    }

    void newFile_data()
    {
        // clang-format off
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("existing");
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<QString>("created");
        QTest::newRow("new name") << "neu.vok" << false << false << "neu.vok";
        QTest::newRow("txt becomes vok") << "liste.txt" << false << false << "liste.vok";
        QTest::newRow("no extension") << "liste" << false << false << "liste.vok";
        QTest::newRow("existing, yes") << "alt.vok" << true << true << "alt.vok";
        QTest::newRow("existing, no") << "alt.vok" << true << false << "";
        // clang-format on
    }
    void newFile()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, existing);
        QFETCH(bool, answerYes);
        QFETCH(QString, created);
        const QString old = dir + QStringLiteral("/alt.vok");
        if (existing)
            WriteVocabularyFile(dir, QStringLiteral("alt.vok"), NumberedEntries(3));
        WriteCurrentDirectory(QStringLiteral("/somewhere"));
        platform->fileAnswers << dir + QLatin1Char('/') + chosen;
        platform->answers << (answerYes ? MsgAnswer::Yes : MsgAnswer::No);
        editor->ToolButton1->click();

        QCOMPARE(platform->fileDialogs.size(), 1);
        QCOMPARE(platform->fileDialogs[0].title, QStringLiteral("Neu"));
        QCOMPARE(platform->fileDialogs[0].filter, QStringLiteral("Vokabeldateien (*.vok)"));
        QCOMPARE(platform->fileDialogs[0].startDirectory, QStringLiteral("/somewhere"));
        QCOMPARE(platform->fileDialogs[0].choice, FileChoice::MayBeNew);
        QCOMPARE(ReadCurrentDirectory(), dir);
        if (existing) {
            verifyOnly(QStringLiteral("Datei existiert bereits.\nWollen Sie die vorhandene "
                                      "Datei löschen und neu anlegen?"),
                       QStringLiteral("Frage"));
            QCOMPARE(platform->messages[0].buttons, MsgButtons::YesNo);
        } else {
            QVERIFY(platform->messages.isEmpty());
        }
        if (created.isEmpty()) {
            QVERIFY(!hasDocument());
            QCOMPARE(ReadBytes(old), VocabularyBytes(NumberedEntries(3)));
            return;
        }
        const QString path = dir + QLatin1Char('/') + created;
        QCOMPARE(editor->Label2->text(), path);
        QCOMPARE(ReadBytes(path), QByteArray(kRecordSize, ' '));
        QCOMPARE(view(), QStringLiteral("1/1 bar 1/1 "));
        QCOMPARE(editor->focusWidget(), editor->Edit1);
    }

    // The editor stays without a document and the file as it was.
    void fileFailures_data()
    {
        // clang-format off
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name");      // empty: dialog cancelled
        QTest::addColumn<QByteArray>("bytes");  // null: no file
        QTest::addColumn<QString>("message");
        QTest::newRow("cancelled") << "Oeffnen" << "" << QByteArray()
            << QStringLiteral("Fehler beim Öffnen der Datei!");
        QTest::newRow("missing") << "Oeffnen" << "datei.vok" << QByteArray()
            << QStringLiteral("Datei existiert nicht!");
        QTest::newRow("header only") << "Oeffnen" << "datei.vok" << QByteArray(400, ' ')
            << QStringLiteral("Die Datei hat ein ungültiges Format!");
        QTest::newRow("not creatable") << "Neu" << "fehlt/neu.vok" << QByteArray()
            << QStringLiteral("Fehler beim Erzeugen der Datei!");
        // clang-format on
    }
    void fileFailures()
    {
        QFETCH(QString, command);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString path = dir + QLatin1Char('/') + name;
        if (!bytes.isNull())
            QVERIFY(WriteBytes(path, bytes));
        if (!name.isEmpty())
            platform->fileAnswers << path;
        editor->findChild<QAction*>(command)->trigger();
        verifyOnly(message);
        QVERIFY(!hasDocument());
        QCOMPARE(editor->Label2->text(), QStringLiteral("(keine ausgewählt)"));
        if (!bytes.isNull())
            QCOMPARE(ReadBytes(path), bytes);
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
        verifyOnly(QStringLiteral("Die Datei kann nicht zum Schreiben geöffnet werden!"));
        QVERIFY(!hasDocument());
    }

    void store_failedWrite_reportedAndEntryKept()
    {
        const QString path = openFile(3);
        editor->Letztes1->trigger();
        // Another program shortens the file under the editor.
        QVERIFY(QFile::resize(path, 2 * kRecordSize));
        editor->Edit2->setText(QStringLiteral("neu"));
        editor->Button1->click();
        verifyOnly(QStringLiteral("Fehler beim Schreiben der Datei!"));
        QCOMPARE(view(), QStringLiteral("3/3 bar 3/3 neu"));
        QCOMPARE(ReadBytes(path).size(), 2 * kRecordSize);
        // Nor does the window close as if the entry were safe.
        editor->reject();
        QVERIFY(editor->isVisible());
    }

    void load_failedRead_reported()
    {
        const QString path = openFile(3);
        QVERIFY(QFile::resize(path, 2 * kRecordSize));
        editor->Nchstes1->trigger();
        verifyOnly(QStringLiteral("Fehler beim Lesen der Datei!"));
        QVERIFY(editor->Edit2->text().isEmpty());
    }

    void leaving_incompleteFirstEntry_refused()
    {
        const QString path = dir + QStringLiteral("/neu.vok");
        platform->fileAnswers << path;
        editor->NeuClick();
        editor->Edit1->setText(QStringLiteral("L"));
        QTest::keyClick(editor->Edit1, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(platform->messageTexts(),
                 (QStringList{kGermanMissing + kForeignMissing,
                              QStringLiteral("Es muß mindestens ein Eintrag vorhanden sein!")}));
        QCOMPARE(platform->messages[1].caption, QStringLiteral("Fehler"));
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->Edit1->text(), QStringLiteral("L"));  // Ctrl+X did not cut

        platform->clear();
        QTest::keyClick(editor->Edit2, Qt::Key_Escape);
        QCOMPARE(platform->messageTexts(), QStringList{kGermanMissing + kForeignMissing});
        QVERIFY(editor->isVisible());
        QCOMPARE(ReadBytes(path), QByteArray(kRecordSize, ' '));

        setFields(QStringLiteral("L"), QStringLiteral("Haus"), QStringLiteral("house"));
        editor->close();
        QVERIFY(!editor->isVisible());
        QVERIFY(!hasDocument());
        QCOMPARE(ReadBytes(path).size(), 2 * kRecordSize);
    }

    void enterKey_data()
    {
        // clang-format off
        QTest::addColumn<bool>("synonyms");
        QTest::addColumn<bool>("remark");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("result");  // the focused field, or "stored"
        QTest::newRow("lesson") << true << true << "Edit1" << "Edit2";
        QTest::newRow("foreign, synonyms") << true << false << "Edit3" << "Edit4";
        QTest::newRow("foreign, remark") << false << true << "Edit3" << "Edit5";
        QTest::newRow("foreign, neither") << false << false << "Edit3" << "stored";
        QTest::newRow("synonyms, no remark") << true << false << "Edit4" << "stored";
        QTest::newRow("remark") << true << true << "Edit5" << "stored";
        // clang-format on
    }
    void enterKey()
    {
        QFETCH(bool, synonyms);
        QFETCH(bool, remark);
        QFETCH(QString, field);
        QFETCH(QString, result);
        openFile(3);
        if (!synonyms)
            QTest::keyClick(editor, Qt::Key_F11);
        if (!remark)
            QTest::keyClick(editor, Qt::Key_F12);
        QCOMPARE(ReadSynonyme(), synonyms);
        QCOMPARE(ReadBeschreibung(), remark);
        auto* edit = editor->findChild<QLineEdit*>(field);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        // Storing with advance lands on the German term of entry 2.
        const bool stored = result == QLatin1String("stored");
        QCOMPARE(editor->focusWidget()->objectName(), stored ? QStringLiteral("Edit2") : result);
        QCOMPARE(editor->Label8->text(), stored ? QStringLiteral("2") : QStringLiteral("1"));
        QVERIFY(platform->messages.isEmpty());
    }

    void fonts()
    {
        const QString before = editor->Edit3->font().family();
        editor->ApplyFieldFonts();  // no font chosen: nothing changes
        QCOMPARE(editor->Edit3->font().family(), before);

        WriteFontField(1, 3);
        WriteFontField(0, 1);
        const int size = editor->Edit3->font().pointSize();
        QTest::keyClick(editor, Qt::Key_F2, Qt::ShiftModifier);
        QCOMPARE(ReadFont(), QStringLiteral("Symbol"));
        QCOMPARE(editor->Edit3->font().family(), QStringLiteral("Symbol"));
        QCOMPARE(editor->Edit3->font().pointSize(), size);
        for (QLineEdit* f : {editor->Edit1, editor->Edit2, editor->Edit4, editor->Edit5})
            QCOMPARE(f->font().family(), QStringLiteral("MS Sans Serif"));

        editor->SchriftartMSSansSerif1->trigger();
        QCOMPARE(ReadFont(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(editor->Edit3->font().family(), QStringLiteral("MS Sans Serif"));
    }

    void fieldInput_refusesWhatTheFileCannotHold()
    {
        openFile(1);
        editor->Edit2->clear();
        TypeText(editor->Edit2, QStringLiteral("Straße €"));
        TypeText(editor->Edit2, QString(QChar(0x0100)));  // outside Windows-1252
        QCOMPARE(editor->Edit2->text(), QStringLiteral("Straße €"));

        QApplication::clipboard()->setText(QStringLiteral("Zeile") + QChar(0x3B1));
        editor->Edit2->paste();
        QApplication::clipboard()->setText(QStringLiteral("eins\nzwei"));
        editor->Edit2->paste();
        QCOMPARE(editor->Edit2->text(), QStringLiteral("Straße €"));
        QApplication::clipboard()->setText(QStringLiteral(" Ähre"));
        editor->Edit2->paste();
        QCOMPARE(editor->Edit2->text(), QStringLiteral("Straße € Ähre"));

        editor->Edit2->setText(QString(100, QLatin1Char('x')));
        QCOMPARE(editor->Edit2->text().size(), kFieldWidth);
    }

    // The start screen's button shows the editor modally with the handed-over file open,
    // without a file dialog; Esc stores the entry and leaves.
    void startScreen_handedOverFile_escLeaves()
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
            QTest::keyClick(editor->Edit3, Qt::Key_Escape);
        });
        // Should Esc not leave, the test fails instead of hanging.
        QTimer::singleShot(3000, editor, [&] { editor->done(QDialog::Rejected); });
        start.BitBtn1->click();
        Form1 = nullptr;
        Form2 = nullptr;
        QCOMPARE(shown, path + QStringLiteral(" 1/2 bar 1/2 deutsch1"));
        QVERIFY(platform->fileDialogs.isEmpty());
        QVERIFY(ReadCurrentDirectory().isEmpty());
        QVERIFY(!editor->isVisible());
        QList<VocabularyEntry> expected = NumberedEntries(2);
        expected[0].foreign = QStringLiteral("geändert");
        QCOMPARE(ReadBytes(path), VocabularyBytes(expected));
    }

    // A counter that is no number ends the program; no record is read or written.
    void internalError_data()
    {
        // clang-format off
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("code");
        QTest::newRow("store, current") << "Label8" << "abc" << "Button1" << "001";
        QTest::newRow("advance, last") << "Label11" << "abc" << "Button1" << "002";
        QTest::newRow("next, last") << "Label11" << "3x" << "Nchstes1" << "005";
        QTest::newRow("end, last") << "Label11" << "" << "Letztes1" << "006";
        QTest::newRow("scroll bar, current") << "Label8" << "abc" << "ScrollBar1" << "008";
        QTest::newRow("delete, last") << "Label11" << "abc" << "Eintraglschen1" << "010";
        QTest::newRow("leave, last") << "Label11" << "-7" << "Beenden1" << "011";
        QTest::newRow("insert, last") << "Label11" << "abc" << "Eintrageinfgen1" << "012";
        QTest::newRow("delete, current") << "Label8" << "abc" << "Eintraglschen1" << "014";
        QTest::newRow("exchange, last") << "Label11" << "abc" << "Vertauschen1" << "015";
        // clang-format on
    }
    void internalError()
    {
        QFETCH(QString, label);
        QFETCH(QString, value);
        QFETCH(QString, command);
        QFETCH(QString, code);
        const QString path = openFile(3);
        editor->Edit6->setText(QStringLiteral("1"));
        editor->Edit7->setText(QStringLiteral("2"));
        editor->findChild<QLabel*>(label)->setText(value);
        platform->answers << MsgAnswer::Yes;

        QObject* target = editor->findChild<QObject*>(command);
        if (auto* action = qobject_cast<QAction*>(target))
            action->trigger();
        else if (auto* button = qobject_cast<QPushButton*>(target))
            button->click();
        else
            qobject_cast<QScrollBar*>(target)->setValue(3);

        verifyOnly(QStringLiteral("Es ist ein programminterner Fehler aufgetreten.\nFehlercode: ") +
                   code);
        QCOMPARE(platform->quitRequests, 1);
        QCOMPARE(ReadBytes(path), VocabularyBytes(NumberedEntries(3)));
        QVERIFY(!QFile::exists(dir + QStringLiteral("/liste.tmp")));
    }
};

LK_TEST_MAIN(EditorTest)
#include "EditorTest.moc"
