#include "app/Sound.h"
#include "learn/Lernprogramm.h"
#include "speech/ReadAloud.h"
#include "support/VocabTests.h"
#include "vocab/Editor.h"

#include <QFileInfo>

using Status = SpeechEngine::Status;
using namespace Qt::StringLiterals;

// Reading aloud as the windows do it, through the fake platform: what is read, in which
// language, and in which order with the sounds of the verdict.

namespace {

// The platform's events joined by "|", the sounds of the verdict as "RIGHT" and "WRONG".
QString Events(const FakePlatform& platform)
{
    return platform.events.join(u'|')
        .replace(QStringLiteral("sound:") + kRightSoundResource, QStringLiteral("RIGHT"))
        .replace(QStringLiteral("sound:") + kWrongSoundResource, QStringLiteral("WRONG"));
}

// 30 times the same entry, so that a random run asks "Haus" or "house" each time.
QString WriteHausFile(const QString& dir, const QString& name)
{
    const VocabularyEntry haus{QStringLiteral("L"), QStringLiteral("Haus"), QStringLiteral("house"),
                               QString(), QString()};
    return WriteVocabularyFile(dir, name, QList<VocabularyEntry>(30, haus));
}

}  // namespace

class ReadAloudTest : public QObject {
    Q_OBJECT

    FakePlatform platform_;
    LearningForms forms_;

private Q_SLOTS:
    // steps: "tick" (reading aloud on), "right" or "wrong" (typed, Enter), or keys pressed.
    void learningWindow_data()
    {
        // chosen: the language kept for the file
        DataColumns<QString, QString, Status, QString, QString, QStringList>(
            "file", "chosen", "status", "steps", "events", "messages");
        const QString en = u"englisch.vok"_s;
        QTest::newRow("German asked, wrong: the answer after the sound")
            << en << "" << Status::Ready << "tick F5 F2 wrong"
            << "speak:de:Haus|stop|WRONG|speak:en:house" << QStringList();
        QTest::newRow("foreign asked, right: the sound only")
            << en << "" << Status::Ready << "tick F6 F2 right" << "speak:en:house|stop|RIGHT"
            << QStringList();
        QTest::newRow("the language kept for the file beats the guess")
            << en << "fr" << Status::Ready << "tick F5 F2 wrong"
            << "speak:de:Haus|stop|WRONG|speak:fr:house" << QStringList();
        QTest::newRow("tick off: only the key reads")
            << en << "" << Status::Ready << "F5 F2 Ctrl+R wrong" << "speak:de:Haus|stop|WRONG"
            << QStringList();
        QTest::newRow("no voice for the language: told once")
            << en << "es" << Status::Ready << "tick F6 F2 Ctrl+R Ctrl+R wrong"
            << "stop|WRONG|speak:de:Haus" << QStringList{SpeechProblemText(Status::NoVoice, u"es"_s)};
        QTest::newRow("language unknown: told once, German still read")
            << u"liste.vok"_s << "" << Status::Ready << "tick F5 F2 Ctrl+R wrong"
            << "speak:de:Haus|speak:de:Haus|stop|WRONG"
            << QStringList{u"Die Fremdsprache dieser Datei ist nicht bekannt.\nWählen Sie sie unter "
                           "„Optionen“ → „Sprache der Fremdsprache ...“ im Lernprogramm."_s};
        QTest::newRow("no engine: told once, then silent")
            << en << "" << Status::NoEngine << "tick F5 F2 Ctrl+R wrong" << "stop|WRONG"
            << QStringList{SpeechProblemText(Status::NoEngine, QString())};
    }
    void learningWindow()
    {
        const auto [file, chosen, status, steps] =
            DataRow<QString, QString, Status, QString>("file", "chosen", "status", "steps");
        platform_.clear();
        platform_.speechStatus = status;
        WriteRightSound(u"default"_s);
        WriteWrongSound(u"default"_s);
        const QString path = WriteHausFile(NewTestDirectory(), file);
        WriteForeignLanguage(QFileInfo(path).absoluteFilePath(), chosen);
        WriteReadAloud(false);
        Form5->ReadAloud1->setChecked(false);
        Form5->show();
        QVERIFY(QTest::qWaitForWindowActive(Form5));
        QVERIFY(Form5->OpenLearningFile(path));
        for (const QString& step : steps.split(u' ')) {
            if (step == u"tick"_s) {
                Form5->ReadAloud1->trigger();
            } else if (step == u"right"_s || step == u"wrong"_s) {
                TypeText(Form5->Edit1, step == u"right"_s ? Form5->ExpectedAnswer() : u"falsch"_s);
                QTest::keyClick(Form5->Edit1, Qt::Key_Return);
            } else {
                const QKeyCombination key = QKeySequence::fromString(step)[0];
                PressKey(Form5, key.key(), key.keyboardModifiers());
            }
        }
        QTest::qWait(1);  // messages come after the event that read aloud
        QTEST(Events(platform_), "events");
        QTEST(platform_.messageTexts(), "messages");
        Form5->CloseLearningFile();
        Form5->close();
        platform_.speechStatus = Status::Ready;
    }

    // The language dialog offers the guess first, is worked by keys and keeps the choice
    // for the file; the tick and the choice survive a restart of the window.
    void languageDialog()
    {
        platform_.clear();
        const QString path = WriteHausFile(NewTestDirectory(), QStringLiteral("englisch.vok"));
        QVERIFY(Form5->OpenLearningFile(path));
        WriteReadAloud(false);
        Form5->ReadAloud1->setChecked(false);
        Form5->ReadAloud1->trigger();
        QString offered;
        QTimer::singleShot(0, Form5, [&] {
            auto* dialog = qobject_cast<LanguageDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            offered = dialog->Languages->currentItem()->text();
            QTest::keyClicks(dialog->Languages, QStringLiteral("Fr"));
            QTest::keyClick(dialog->Languages, Qt::Key_Return);
        });
        Form5->ForeignLanguage1->trigger();
        QCOMPARE(offered, QStringLiteral("Englisch"));
        QCOMPARE(ReadForeignLanguage(QFileInfo(path).absoluteFilePath()), QStringLiteral("fr"));
        Form5->CloseLearningFile();
        TForm5 restarted;
        QVERIFY(restarted.ReadAloud1->isChecked());
        QCOMPARE(ForeignLanguageOf(path, QString()), QStringLiteral("fr"));
    }

    // Ctrl+R in the editor reads the German and then the foreign term of the entry.
    void editorReadsEntry()
    {
        platform_.clear();
        TForm2 editor;
        editor.ResetEditor();
        editor.show();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        platform_.fileAnswers << WriteVocabularyFile(
            NewTestDirectory(), QStringLiteral("Französisch 1.vok"), NumberedEntries(2));
        editor.OeffnenClick();
        QTest::keyClick(editor.Edit3, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(Events(platform_), QStringLiteral("speak:de:deutsch1|speak:fr:foreign1"));
    }
};

LK_TEST_MAIN(ReadAloudTest)
#include "ReadAloudTest.moc"
