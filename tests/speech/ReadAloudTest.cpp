#include "app/Forms.h"
#include "app/SettingsStore.h"
#include "app/Sound.h"
#include "app/Start.h"
#include "learn/Lektionauswahl.h"
#include "learn/Lernprogramm.h"
#include "speech/ReadAloud.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "vocab/Editor.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

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

    // Steps after the run started: "key" (Ctrl+R), "wrong" or "right" (typed, Enter).
    void learningWindow_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("chosen");  // the language kept for the file
        QTest::addColumn<bool>("germanAsked");
        QTest::addColumn<bool>("tick");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("events");
        QTest::addColumn<QStringList>("messages");
        const int ready = int(SpeechEngine::Status::Ready);
        const QString en = QStringLiteral("englisch.vok");
        const QStringList none;
        QTest::newRow("German asked, wrong: the answer after the sound")
            << en << "" << true << true << ready << "wrong"
            << "speak:de:Haus|stop|WRONG|speak:en:house" << none;
        QTest::newRow("foreign asked, right: the sound only")
            << en << "" << false << true << ready << "right"
            << "speak:en:house|stop|RIGHT" << none;
        QTest::newRow("the language kept for the file beats the guess")
            << en << "fr" << true << true << ready << "wrong"
            << "speak:de:Haus|stop|WRONG|speak:fr:house" << none;
        QTest::newRow("tick off: only the key reads")
            << en << "" << true << false << ready << "key wrong"
            << "speak:de:Haus|stop|WRONG" << none;
        QTest::newRow("no voice for the language: told once")
            << en << "es" << false << true << ready << "key key wrong"
            << "stop|WRONG|speak:de:Haus"
            << QStringList{SpeechProblemText(SpeechEngine::Status::NoVoice, QStringLiteral("es"))};
        QTest::newRow("language unknown: told once, German still read")
            << "liste.vok"
            << "" << true << true << ready << "key wrong"
            << "speak:de:Haus|speak:de:Haus|stop|WRONG"
            << QStringList{QStringLiteral(
                   "Die Fremdsprache dieser Datei ist nicht bekannt.\nWählen Sie sie unter "
                   "„Optionen“ → „Sprache der Fremdsprache ...“ im Lernprogramm.")};
        QTest::newRow("no engine: told once, then silent")
            << en << "" << true << true << int(SpeechEngine::Status::NoEngine) << "key wrong"
            << "stop|WRONG"
            << QStringList{SpeechProblemText(SpeechEngine::Status::NoEngine, QString())};
    }
    void learningWindow()
    {
        QFETCH(QString, file);
        QFETCH(QString, chosen);
        QFETCH(bool, germanAsked);
        QFETCH(bool, tick);
        QFETCH(int, status);
        QFETCH(QString, steps);
        platform_.clear();
        platform_.speechStatus = SpeechEngine::Status(status);
        WriteRightSound(QStringLiteral("default"));
        WriteWrongSound(QStringLiteral("default"));
        const QString path = WriteHausFile(NewTestDirectory(), file);
        WriteForeignLanguage(QFileInfo(path).absoluteFilePath(), chosen);
        WriteReadAloud(false);
        Form5->ReadAloud1->setChecked(false);
        if (tick)
            Form5->ReadAloud1->trigger();
        QCOMPARE(ReadReadAloud(), tick);
        Form5->show();
        QVERIFY(QTest::qWaitForWindowActive(Form5));
        QVERIFY(Form5->OpenLearningFile(path));
        QTest::keyClick(Form5, germanAsked ? Qt::Key_F5 : Qt::Key_F6);
        QTest::keyClick(Form5, Qt::Key_F2);
        for (const QString& step : steps.split(u' ')) {
            if (step == QStringLiteral("key")) {
                QTest::keyClick(Form5->Edit1, Qt::Key_R, Qt::ControlModifier);
                continue;
            }
            TypeText(Form5->Edit1, step == QStringLiteral("right") ? Form5->ExpectedAnswer()
                                                                   : QStringLiteral("falsch"));
            QTest::keyClick(Form5->Edit1, Qt::Key_Return);
        }
        QTest::qWait(1);  // messages come after the event that read aloud
        QTEST(Events(platform_), "events");
        QTEST(platform_.messageTexts(), "messages");
        Form5->CloseLearningFile();
        Form5->close();
        platform_.speechStatus = SpeechEngine::Status::Ready;
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
