#include "app/Preferences.h"
#include "learn/Lernprogramm.h"
#include "support/DataTables.h"
#include "support/TestSupport.h"
#include "vocab/Editor.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QTabWidget>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// "Name=type:value" must be a line of the settings file; "-Name" must have no line.
void CheckSetting(const QString& expected)
{
    const QString file = u'\n' + QString::fromUtf8(ReadBytes(SettingsFilePath()));
    const bool absent = expected.startsWith(u'-');
    QVERIFY2(absent != file.contains(u'\n' + (absent ? expected.mid(1) + u'=' : expected + u'\n')),
             qPrintable(expected + u" in"_s + file));
}

}  // namespace

class PreferencesTest : public QObject {
    Q_OBJECT

    FakePlatform platform;

    // Steps of one showing: click:Control, type:Field:text, file:path and font:family (the
    // next dialog's answer), closebox; checks: has:Setting (as CheckSetting),
    // on:Option, off:Option, focus:Control, is:Control:text. "_" stands for a blank.
    void act(TForm7& form, const QString& steps)
    {
        for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts)) {
            const QString what = step.section(u':', 0, 0);
            const QString arg = step.section(u':', 1).replace(u'_', u' ');
            const QString text = arg.section(u':', 1);
            QWidget* control = form.findChild<QWidget*>(arg.section(u':', 0, 0));
            if (what == u"click") {
                qobject_cast<QAbstractButton*>(control)->click();
            } else if (what == u"type") {  // on its tab, as the user would
                form.PageControl1->setCurrentWidget(control->parentWidget()->parentWidget());
                QTest::mouseClick(control, Qt::LeftButton);
                if (auto* spin = qobject_cast<QAbstractSpinBox*>(control))
                    spin->selectAll();
                TypeText(control, text);
            } else if (what == u"file") {
                platform.fileAnswers << arg;
            } else if (what == u"font") {
                platform.fontAnswers << QFont(arg);
            } else if (what == u"closebox") {
                form.close();
            } else if (what == u"has") {
                CheckSetting(arg);
            } else if (what == u"on" || what == u"off") {
                QVERIFY2(qobject_cast<QAbstractButton*>(control)->isChecked() == (what == u"on"),
                         qPrintable(step));
            } else if (what == u"focus") {
                QCOMPARE(form.focusWidget(), control);
            } else {
                QCOMPARE(control->property("text").toString(), text);
            }
        }
    }

    // The editor on a one-entry file, the German-term field focused, caret after "de".
    QLineEdit* openEditor(TForm2& editor)
    {
        platform.fileAnswers << WriteVocabularyFile(NewTestDirectory(), u"e.vok"_s,
                                                    NumberedEntries(1));
        editor.OeffnenClick();
        editor.show();
        editor.activateWindow();
        if (!QTest::qWaitForWindowActive(&editor))
            return nullptr;
        editor.Edit2->setFocus();
        editor.Edit2->setCursorPosition(2);
        return editor.Edit2;
    }

private Q_SLOTS:
    void init()
    {
        platform.clear();
        RemoveSettingsFile();
        QVERIFY(WriteVersionCreatingStore());
    }

    // Each showing (separated by "|") opens on the sounds tab with the settings loaded;
    // afterwards the settings hold the expected lines, and the platform saw the sounds and
    // dialogs listed. Lists are separated by blanks; "_" stands for a blank.
    void closing_data()
    {
        DataColumns<QString, QString, QString, QString>("settings", "steps", "expected",
                                                        "platformCalls");
        const QString fileDialog = u"Sounddatei_auswählen|Sounddateien_(*.wav)|"_s;
        // The second showing must not keep the file name of the first.
        QTest::newRow("files; shown again after the built-in sound was chosen")
            << u"RightSound=sz:/snd/ja.wav WrongSound=sz:C:\\\\S\\\\oops.wav "
               u"FontField2=dword:00000001 FontField5=dword:00000002 Shortcut1=sz:é "
               u"Shortcut10=sz:zehn"_s
            << u"on:RadioButton2 on:RadioButton4 focus:RadioButton2 is:Edit1:/snd/ja.wav "
               u"is:Edit2:C:\\S\\oops.wav is:Label2:(noch_keine_ausgewählt) on:CheckBox2 "
               u"off:CheckBox5 is:Edit3:é is:Edit12:zehn click:RadioButton1 click:Button5 | "
               u"on:RadioButton1 focus:RadioButton1 is:Edit1: on:RadioButton4 click:Button6"_s
            << u"RightSound=sz:default FontField5=dword:00000000 -Font"_s << QString();
        QTest::newRow("none right, default wrong, font; Abbrechen discards")
            << u"WrongSound=sz:default Font=sz:Symbol"_s
            << u"on:RadioButton5 on:RadioButton3 focus:RadioButton5 is:Label2:Symbol "
               u"click:RadioButton1 type:Edit14:x click:Button6"_s
            << u"-RightSound -Shortcut12"_s << QString();
        QTest::newRow("file option with empty field, Standardschriftart, OK")
            << u"RightSound=sz:default"_s << u"click:RadioButton2 click:Button4 click:Button5"_s
            << u"RightSound=sz: WrongSound=sz: Font=sz:MS_Sans_Serif"_s << QString();
        QTest::newRow("Kein Signal while the file fields still hold names")
            << u"RightSound=sz:/snd/ja.wav WrongSound=sz:/snd/nein.wav"_s
            << u"click:RadioButton5 click:RadioButton6 is:Edit1:/snd/ja.wav "
               u"is:Edit2:/snd/nein.wav click:Button5"_s
            << u"RightSound=sz: WrongSound=sz:"_s << QString();
        QTest::newRow("chosen file, close box; directory only read")
            << u"CurrentDirectory=sz:/vok"_s
            << u"file:/snd/ja.wav click:Button1 is:Edit1:/snd/ja.wav closebox"_s
            << u"RightSound=sz:/snd/ja.wav CurrentDirectory=sz:/vok"_s << fileDialog + u"/vok"_s;
        QTest::newRow("dialog cancelled, typed file name, shortcut 10")
            << u"WrongSound=sz:default"_s
            << u"click:Button2 type:Edit2:/snd/nein.wav type:Edit12:zehn click:Button5"_s
            << u"WrongSound=sz:/snd/nein.wav Shortcut10=sz:zehn -CurrentDirectory"_s << fileDialog;
        QTest::newRow("play saves, Abbrechen keeps what was saved")
            << u"RightSound=sz:"_s
            << u"click:RadioButton1 type:Edit3:a click:BitBtn1 click:RadioButton5 "
               u"type:Edit3:b click:Button6"_s
            << u"RightSound=sz:default Shortcut1=sz:a"_s << u":/SNDRICHTIG"_s;
        QTest::newRow("Wiederholung: a retention out of range reads as 90 %")
            << u"DesiredRetention=dword:00000005 NewCardsPerDay=dword:0000000a"_s
            << u"is:RetentionBox:90_% is:NewCardsBox:10 is:RunSizeBox:100 "
               u"type:RetentionBox:85 type:RunSizeBox:40 click:Button5"_s
            << u"DesiredRetention=dword:00000055 NewCardsPerDay=dword:0000000a "
               u"RunSize=dword:00000028"_s
            << QString();
        QTest::newRow("font never chosen, dialog cancelled: boxes written")
            << QString() << u"click:Button3 click:CheckBox4 click:Button5"_s
            << u"-Font FontField1=dword:00000000 FontField4=dword:00000001"_s << u"font"_s;
        QTest::newRow("font chosen, Abbrechen, shown again, OK")
            << QString()
            << u"font:DejaVu_Serif click:Button3 is:Label2:DejaVu_Serif click:Button6 "
               u"has:-Font | is:Label2:DejaVu_Serif click:Button5"_s
            << u"Font=sz:DejaVu_Serif"_s << u"font"_s;
    }
    void closing()
    {
        const auto [settings, steps, expected, platformCalls] =
            DataRow<QString, QString, QString, QString>("settings", "steps", "expected",
                                                        "platformCalls");
        const auto list = [](const QString& s) {
            return s.split(u' ', Qt::SkipEmptyParts).replaceInStrings(u"_"_s, u" "_s);
        };
        const QStringList lines = QStringList{u"Version=hex:00"_s} + list(settings);
        QVERIFY(WriteSettingsFile((lines.join(u'\n') + u'\n').toUtf8()));
        TForm7 form;
        for (const QString& showing : steps.split(u'|')) {
            QVERIFY(WhileShown(
                &form, [&] { form.exec(); },
                [&] {
                    QCOMPARE(form.PageControl1->currentWidget(), form.TabSheet1);
                    act(form, showing);
                }));
        }
        for (const QString& line : list(expected))
            CheckSetting(line);
        QStringList calls = platform.soundsPlayed;
        for (const auto& d : platform.fileDialogs)
            calls << d.title + u'|' + d.filter + u'|' + d.startDirectory;
        calls += QStringList(platform.fontDialogs.size(), u"font"_s);
        QCOMPARE(calls, list(platformCalls));
    }

    // The row's key in the editor's German-term field ("deutsch1", caret after "de"), or the
    // item of its context menu's "Sonderzeichen einfügen"; the clipboard held "alt" as text
    // and HTML before.
    void shortcutKeys_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("clipboard");
        const QString same = u"deutsch1"_s;
        QTest::newRow("Ctrl+F3") << u"deéutsch1"_s << u"é"_s;
        QTest::newRow("Ctrl+Shift+F3") << u"deéutsch1"_s << u"é"_s;
        QTest::newRow("F3") << same << u"alt"_s;
        QTest::newRow("Ctrl+F5 empty") << same << QString();
        QTest::newRow("Ctrl+F12 cut at the field length")
            << u"de"_s + QString(72, u'x') + u"utsch1"_s << QString(90, u'x');
        QTest::newRow("Ctrl+F1 not storable: refused") << same << u"Ω"_s;
        QTest::newRow("menu F3") << u"deéutsch1"_s << u"é"_s;
    }
    void shortcutKeys()
    {
        const auto [field, clipboard] = DataRow<QString, QString>("field", "clipboard");
        WriteShortcut(u"Ω"_s, 1);
        WriteShortcut(u"é"_s, 3);
        WriteShortcut(QString(90, u'x'), 12);
        auto* old = new QMimeData;
        old->setText(u"alt"_s);
        old->setHtml(u"<b>alt</b>"_s);
        QApplication::clipboard()->setMimeData(old);
        TForm2 editor;
        QLineEdit* edit = openEditor(editor);
        QVERIFY(edit);
        const QString tag = QString::fromLatin1(QTest::currentDataTag()).section(u' ', 0, 0);
        if (tag == u"menu") {
            QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(4, 4),
                                      edit->mapToGlobal(QPoint(4, 4)));
            QApplication::sendEvent(edit, &request);
            auto* menu = edit->findChild<QMenu*>();
            QVERIFY(menu);
            QMenu* texts = nullptr;
            for (QAction* item : menu->actions())
                if (item->text() == u"Sonderzeichen einfügen")
                    texts = item->menu();
            QVERIFY(texts);
            const QList<QAction*> items = texts->actions();
            QCOMPARE(items.size(), 12);
            QCOMPARE(items[2]->text(), u"é\tStrg+F3"_s);
            QCOMPARE(items[4]->isEnabled(), false);  // shortcut 5 holds no text
            items[2]->trigger();
            menu->close();
        } else {
            const QKeyCombination key = QKeySequence(tag)[0];
            QTest::keyClick(edit, key.key(), key.keyboardModifiers());
        }
        QCOMPARE(edit->text(), field);
        QCOMPARE(QApplication::clipboard()->text(), clipboard);
        if (clipboard != u"alt")  // replaced, not added to
            QCOMPARE(QApplication::clipboard()->mimeData()->formats(),
                     QStringList{u"text/plain"_s});
    }

    // "&Voreinstellungen" of the editor (menu) and of the learning window (tool button) shows
    // the dialog modally; afterwards the lesson field shows the font as ticked there, and
    // Ctrl+F4 types the text set there into every entry field and the answer field.
    void fromWindows()
    {
        TForm7 form;
        Form7 = &form;
        TForm2 editor;
        TForm5 learning;
        QVERIFY(openEditor(editor));
        learning.Edit1->setEnabled(true);
        platform.fontAnswers << QFont(u"Symbol"_s);
        QVERIFY(WhileShown(
            &form, [&] { editor.Voreinstellungen1->trigger(); },
            [&] { act(form, u"click:Button3 click:CheckBox1 type:Edit6:ü click:Button5"_s); }));
        QCOMPARE(editor.Edit1->font().family(), u"Symbol"_s);
        QVERIFY(WhileShown(
            &form, [&] { learning.ToolButton11->click(); },
            [&] { act(form, u"click:CheckBox1 click:Button5"_s); }));
        Form7 = nullptr;
        QCOMPARE(learning.Label8->font().family(), u"MS Sans Serif"_s);
        for (QLineEdit* edit : {editor.Edit1, editor.Edit2, editor.Edit3, editor.Edit4,
                                editor.Edit5, learning.Edit1}) {
            edit->clear();
            QTest::keyClick(edit, Qt::Key_F4, Qt::ControlModifier);
            QCOMPARE(edit->text(), u"ü"_s);
        }
    }
};

LK_TEST_MAIN(PreferencesTest)
#include "PreferencesTest.moc"
