#include "app/Forms.h"
#include "app/Preferences.h"
#include "app/SettingsStore.h"
#include "learn/Lernprogramm.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "vocab/Editor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

void PlantSettings(const QStringList& lines)
{
    QDir().mkpath(QFileInfo(SettingsFilePath()).path());
    QVERIFY(WriteBytes(SettingsFilePath(), lines.join(QLatin1Char('\n')).toUtf8() + '\n'));
}

// The lines of the settings file, without the program version.
QStringList SettingLines()
{
    QStringList lines = QString::fromUtf8(ReadBytes(SettingsFilePath())).split(QLatin1Char('\n'));
    lines.removeIf([](const QString& l) { return l.isEmpty() || l.startsWith(QLatin1String("Version=")); });
    return lines;
}

// "Name=type:value" must be a line of the settings file; "-Name" must have none.
void CheckSetting(const QString& expected)
{
    const QStringList lines = SettingLines();
    if (expected.startsWith(QLatin1Char('-'))) {
        const QString prefix = expected.mid(1) + QLatin1Char('=');
        QVERIFY2(std::none_of(lines.begin(), lines.end(),
                              [&](const QString& l) { return l.startsWith(prefix); }),
                 qPrintable(expected));
    } else {
        QVERIFY2(lines.contains(expected), qPrintable(expected + u" in "_s + lines.join(u' ')));
    }
}

// Runs act while the dialog is shown modally; act must close it.
void WhileShown(QDialog* dialog, std::function<void()> act)
{
    QTimer::singleShot(0, dialog, [dialog, act] {
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        act();
        if (dialog->isVisible()) {
            QTest::qFail("the dialog did not close", __FILE__, __LINE__);
            dialog->done(QDialog::Rejected);
        }
    });
}

template <typename T>
T* Child(QWidget* parent, const QString& name)
{
    T* child = parent->findChild<T*>(name);
    if (!child)
        qFatal("no control %s", qPrintable(name));
    return child;
}

}  // namespace

class PreferencesTest : public QObject {
    Q_OBJECT

    FakePlatform platform;
    TForm7* shown = nullptr;  // one dialog through the rows of loadsSettings

    // Steps inside one showing: click:Control, type:Field:text, file:path and font:family
    // (the next dialog's answer), esc, closebox, has:Line / has:-Name (a settings check),
    // is:Control:text (a label's or field's text).
    void act(TForm7& form, const QString& steps)
    {
        for (const QString& step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            // Blanks in names and texts are written as "_".
            const QString arg = step.section(QLatin1Char(':'), 1).replace(u'_', u' ');
            const QString name = arg.section(QLatin1Char(':'), 0, 0);
            if (step.startsWith(QLatin1String("click:"))) {
                Child<QAbstractButton>(&form, arg)->click();
            } else if (step.startsWith(QLatin1String("type:"))) {
                auto* field = Child<QLineEdit>(&form, name);
                for (QWidget* tab : {form.TabSheet1, form.TabSheet2, form.TabSheet3})
                    if (tab->isAncestorOf(field))
                        form.PageControl1->setCurrentWidget(tab);
                QTest::mouseClick(field, Qt::LeftButton);
                TypeText(field, arg.section(QLatin1Char(':'), 1));
            } else if (step.startsWith(QLatin1String("file:"))) {
                platform.fileAnswers << arg;
            } else if (step.startsWith(QLatin1String("font:"))) {
                platform.fontAnswers << QFont(arg);
            } else if (step == QLatin1String("esc")) {
                QTest::keyClick(form.focusWidget() ? form.focusWidget() : &form, Qt::Key_Escape);
            } else if (step == QLatin1String("closebox")) {
                form.close();
            } else if (step.startsWith(QLatin1String("has:"))) {
                CheckSetting(arg);
            } else if (step.startsWith(QLatin1String("is:"))) {
                QWidget* w = Child<QWidget>(&form, name);
                auto* label = qobject_cast<QLabel*>(w);
                QCOMPARE(label ? label->text() : qobject_cast<QLineEdit*>(w)->text(),
                         arg.section(QLatin1Char(':'), 1));
            } else {
                QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
            }
        }
    }

    // The editor with a one-entry file, the German-term field focused, caret after "de".
    QLineEdit* editorField(TForm2& editor)
    {
        const QString path = WriteVocabularyFile(NewTestDirectory(), QStringLiteral("e.vok"),
                                                 NumberedEntries(1));
        platform.fileAnswers << path;
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
    void initTestCase() { shown = new TForm7; }
    void cleanupTestCase() { delete shown; }
    void init()
    {
        platform.clear();
        RemoveSettingsFile();
        QVERIFY(WriteVersionCreatingStore());
    }

    // Each showing reloads the settings. Runs in order on one dialog: what one row left in
    // the fields must not show in the next; the font name stays while "Font" is empty.
    void loadsSettings_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QString>("checked");  // options and field boxes ticked, in order
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QStringList>("texts");  // Edit1, Edit2, Label2, Edit3 .. Edit14 joined
        const QString none = QStringLiteral("(noch keine ausgewählt)");
        const QString blanks(11, QLatin1Char('|'));
        QTest::newRow("files")
            << QStringList{u"RightSound=sz:/snd/ja.wav"_s, u"WrongSound=sz:C:\\\\Sounds\\\\oops.wav"_s,
                           u"FontField2=dword:00000001"_s, u"FontField5=dword:00000002"_s,
                           u"Shortcut1=sz:é"_s, u"Shortcut10=sz:zehn"_s}
            << u"CheckBox2 RadioButton2 RadioButton4"_s << u"RadioButton2"_s
            << QStringList{u"/snd/ja.wav"_s, u"C:\\Sounds\\oops.wav"_s, none,
                           QStringLiteral("é|||||||||zehn||")};
        QTest::newRow("default right, none wrong")
            << QStringList{u"RightSound=sz:default"_s, u"Font=sz:Symbol"_s, u"FontField1=dword:00000001"_s}
            << u"CheckBox1 RadioButton1 RadioButton6"_s << u"RadioButton1"_s
            << QStringList{u""_s, u""_s, u"Symbol"_s, blanks};
        QTest::newRow("none right, default wrong, font kept")
            << QStringList{u"WrongSound=sz:default"_s, u"Font=dword:00000001"_s}
            << u"RadioButton3 RadioButton5"_s << u"RadioButton5"_s
            << QStringList{u""_s, u""_s, u"Symbol"_s, blanks};
    }
    void loadsSettings()
    {
        QFETCH(QStringList, settings);
        QFETCH(QString, checked);
        QFETCH(QString, focus);
        QFETCH(QStringList, texts);
        PlantSettings(settings);
        WhileShown(shown, [&] {
            QStringList ticked;
            for (auto* b : shown->findChildren<QAbstractButton*>())
                if (b->isChecked())
                    ticked << b->objectName();
            ticked.sort();
            QStringList shortcuts;
            for (int k = 1; k <= TForm7::kShortcuts; ++k)
                shortcuts << shown->ShortcutField(k)->text();
            QCOMPARE(ticked.join(QLatin1Char(' ')), checked);
            QCOMPARE(shown->PageControl1->currentWidget(), shown->TabSheet1);
            QCOMPARE(shown->focusWidget()->objectName(), focus);
            QCOMPARE((QStringList{shown->Edit1->text(), shown->Edit2->text(), shown->Label2->text(),
                                  shortcuts.join(QLatin1Char('|'))}),
                     texts);
            shown->Button6->click();
        });
        shown->exec();
    }

    // What each way of closing writes, across one or more showings ("|" between them).
    void closing_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QStringList>("platformCalls");
        // clang-format off
        QTest::newRow("file option, empty field, OK")
            << QStringList{u"RightSound=sz:default"_s} << u"click:RadioButton2 click:Button5"_s
            << QStringList{u"RightSound=sz:"_s, u"WrongSound=sz:"_s} << QStringList();
        QTest::newRow("chosen file, close box: directory only read")
            << QStringList{u"CurrentDirectory=sz:/vok"_s}
            << u"file:/snd/ja.wav click:Button1 is:Edit1:/snd/ja.wav closebox"_s
            << QStringList{u"RightSound=sz:/snd/ja.wav"_s, u"CurrentDirectory=sz:/vok"_s}
            << QStringList{u"file Sounddatei auswählen|Sounddateien (*.wav)|/vok"_s};
        QTest::newRow("file dialog cancelled")
            << QStringList{u"WrongSound=sz:default"_s} << u"click:Button2 click:Button5"_s
            << QStringList{u"WrongSound=sz:default"_s, u"-CurrentDirectory"_s}
            << QStringList{u"file Sounddatei auswählen|Sounddateien (*.wav)|"_s};
        QTest::newRow("typing a file name selects the file option")
            << QStringList{u"WrongSound=sz:default"_s} << u"type:Edit2:/snd/nein.wav click:Button5"_s
            << QStringList{u"WrongSound=sz:/snd/nein.wav"_s} << QStringList();
        QTest::newRow("play saves, Abbrechen keeps what was saved")
            << QStringList{u"RightSound=sz:"_s}
            << u"click:RadioButton1 type:Edit3:a click:BitBtn1 has:RightSound=sz:default "_s
               u"click:RadioButton5 type:Edit3:b click:Button6"_s
            << QStringList{u"RightSound=sz:default"_s, u"Shortcut1=sz:a"_s}
            << QStringList{u"sound :/SNDRICHTIG"_s};
        QTest::newRow("Esc discards")
            << QStringList{u"RightSound=sz:default"_s} << u"click:RadioButton5 type:Edit14:x esc"_s
            << QStringList{u"RightSound=sz:default"_s, u"-Shortcut12"_s} << QStringList();
        QTest::newRow("font never chosen, dialog cancelled: field boxes written")
            << QStringList() << u"click:Button3 click:CheckBox2 click:CheckBox4 click:Button5"_s
            << QStringList{u"-Font"_s, u"FontField1=dword:00000000"_s, u"FontField2=dword:00000001"_s,
                           u"FontField4=dword:00000001"_s, u"FontField5=dword:00000000"_s}
            << QStringList{u"font"_s};
        QTest::newRow("font chosen, Abbrechen, shown again, OK")
            << QStringList()
            << u"font:DejaVu_Serif click:Button3 is:Label2:DejaVu_Serif click:Button6 "_s
               u"has:-Font | is:Label2:DejaVu_Serif click:Button5"_s
            << QStringList{u"Font=sz:DejaVu Serif"_s} << QStringList{u"font"_s};
        QTest::newRow("Standardschriftart, close box")
            << QStringList() << u"click:Button4 closebox"_s
            << QStringList{u"Font=sz:MS Sans Serif"_s} << QStringList();
        // clang-format on
    }
    void closing()
    {
        QFETCH(QStringList, settings);
        QFETCH(QString, steps);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, platformCalls);
        PlantSettings(QStringList{u"Version=hex:0000000000000000"_s} + settings);
        TForm7 form;
        for (const QString& showing : steps.split(u'|')) {
            WhileShown(&form, [&] { act(form, showing); });
            form.exec();
        }
        for (const QString& line : expected)
            CheckSetting(line);
        QStringList calls;
        for (const auto& d : platform.fileDialogs)
            calls << QStringLiteral("file ") + d.title + QLatin1Char('|') + d.filter +
                         QLatin1Char('|') + d.startDirectory;
        for (int i = 0; i < platform.fontDialogs.size(); ++i)
            calls << QStringLiteral("font");
        for (const QString& s : platform.soundsPlayed)
            calls << QStringLiteral("sound ") + s;
        QCOMPARE(calls, platformCalls);
    }

    // "&OK" on a fresh store writes every value of the dialog under its exact name and type,
    // and no font while none was chosen.
    void ok_writesEveryValue()
    {
        TForm7 form;
        WhileShown(&form, [&] {
            TypeText(form.Edit12, QStringLiteral("zehn"));
            form.CheckBox4->click();
            form.Button5->click();
        });
        form.exec();
        QStringList expected{u"FontField1=dword:00000000"_s, u"FontField2=dword:00000000"_s,
                             u"FontField3=dword:00000000"_s, u"FontField4=dword:00000001"_s,
                             u"FontField5=dword:00000000"_s, u"RightSound=sz:"_s};
        for (int k = 1; k <= TForm7::kShortcuts; ++k)
            expected << QStringLiteral("Shortcut%1=sz:%2").arg(k).arg(k == 10 ? u"zehn"_s : QString());
        expected << u"WrongSound=sz:"_s;
        QStringList lines = SettingLines();
        lines.sort();
        expected.sort();
        QCOMPARE(lines, expected);
    }

    // Ctrl+F1 to Ctrl+F12 in the editor's German-term field ("deutsch1", caret after "de"),
    // with the clipboard holding "alt" as text and HTML beforehand.
    void shortcutKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("selectAll");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("clipboard");
        const int ctrl = Qt::ControlModifier;
        const QString old = QStringLiteral("alt");
        QTest::newRow("Ctrl+F3 at the caret") << int(Qt::Key_F3) << ctrl << false
                                              << QStringLiteral("deéutsch1") << QStringLiteral("é");
        QTest::newRow("Ctrl+Shift+F3") << int(Qt::Key_F3) << int(Qt::ControlModifier | Qt::ShiftModifier) << false
                                       << QStringLiteral("deéutsch1") << QStringLiteral("é");
        QTest::newRow("Ctrl+F3 over the selection") << int(Qt::Key_F3) << ctrl << true
                                                    << QStringLiteral("é") << QStringLiteral("é");
        QTest::newRow("F3 alone") << int(Qt::Key_F3) << 0 << false << u"deutsch1"_s << old;
        QTest::newRow("Alt+F3") << int(Qt::Key_F3) << int(Qt::AltModifier) << false << u"deutsch1"_s
                                << old;
        QTest::newRow("Ctrl+F5 empty") << int(Qt::Key_F5) << ctrl << false << u"deutsch1"_s << u""_s;
        QTest::newRow("Ctrl+F12 cut at the field length")
            << int(Qt::Key_F12) << ctrl << false
            << QStringLiteral("de") + QString(72, QLatin1Char('x')) + QStringLiteral("utsch1")
            << QString(90, QLatin1Char('x'));
        QTest::newRow("Ctrl+F1 refused: not storable")
            << int(Qt::Key_F1) << ctrl << false << u"deutsch1"_s << QStringLiteral("Ω");
    }
    void shortcutKeys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, selectAll);
        QFETCH(QString, field);
        QFETCH(QString, clipboard);
        WriteShortcut(QStringLiteral("é"), 3);
        WriteShortcut(QString(90, QLatin1Char('x')), 12);
        WriteShortcut(QStringLiteral("Ω"), 1);
        auto* old = new QMimeData;
        old->setText(QStringLiteral("alt"));
        old->setHtml(QStringLiteral("<b>alt</b>"));
        QApplication::clipboard()->setMimeData(old);
        TForm2 editor;
        QLineEdit* edit = editorField(editor);
        QVERIFY(edit);
        if (selectAll)
            edit->selectAll();
        QTest::keyClick(edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(edit->text(), field);
        QCOMPARE(QApplication::clipboard()->text(), clipboard);
        if (clipboard != QLatin1String("alt"))
            QCOMPARE(QApplication::clipboard()->mimeData()->formats(),
                     QStringList{QStringLiteral("text/plain")});
    }

    // Every entry field of the editor and the learning window's answer field take the texts.
    void shortcutKeys_everyField()
    {
        WriteShortcut(QStringLiteral("ü"), 4);
        TForm2 editor;
        QVERIFY(editorField(editor));
        for (QLineEdit* edit : {editor.Edit1, editor.Edit2, editor.Edit3, editor.Edit4, editor.Edit5}) {
            edit->clear();
            QTest::keyClick(edit, Qt::Key_F4, Qt::ControlModifier);
            QCOMPARE(edit->text(), QStringLiteral("ü"));
        }
        TForm5 learning;
        learning.Edit1->setEnabled(true);
        QTest::keyClick(learning.Edit1, Qt::Key_F4, Qt::ControlModifier);
        QCOMPARE(learning.Edit1->text(), QStringLiteral("ü"));
    }

    // "&Voreinstellungen" (menu item or tool button) shows the dialog modally; the chosen
    // font shows in the ticked fields afterwards.
    void preferencesFromWindows_data()
    {
        QTest::addColumn<bool>("learningWindow");
        QTest::addColumn<bool>("toolButton");
        QTest::newRow("editor, menu") << false << false;
        QTest::newRow("editor, tool button") << false << true;
        QTest::newRow("learning window, menu") << true << false;
        QTest::newRow("learning window, tool button") << true << true;
    }
    void preferencesFromWindows()
    {
        QFETCH(bool, learningWindow);
        QFETCH(bool, toolButton);
        Form7 = shown;
        TForm2 editor;
        TForm5 learning;
        QWidget* window = learningWindow ? static_cast<QWidget*>(&learning) : &editor;
        QWidget* lessonField = learningWindow ? static_cast<QWidget*>(learning.Label8) : editor.Edit1;
        WhileShown(shown, [&] {
            platform.fontAnswers << QFont(QStringLiteral("Symbol"));
            shown->Button3->click();
            shown->CheckBox1->click();
            shown->Button5->click();
        });
        if (toolButton)
            Child<QToolButton>(window, learningWindow ? u"ToolButton11"_s : u"ToolButton5"_s)->click();
        else
            Child<QAction>(window, QStringLiteral("Voreinstellungen1"))->trigger();
        Form7 = nullptr;
        QCOMPARE(ReadFont(), QStringLiteral("Symbol"));
        QCOMPARE(lessonField->font().family(), QStringLiteral("Symbol"));
    }
};

LK_TEST_MAIN(PreferencesTest)
#include "PreferencesTest.moc"
