#include "speech/Languages.h"
#include "speech/SpeechEngine.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>

#include <memory>

#ifdef Q_OS_LINUX
#include "speech/PrivateSoundServer.h"
#endif

using Status = SpeechEngine::Status;

class SpeechTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // First: the engine's data can only be swapped before it has been loaded.
    void brokenEngineData_saysSoOnce()
    {
        const QString data = NewTestDirectory();
        QVERIFY(QDir(data).mkpath(QStringLiteral("espeak-ng-data")));
        SpeechEngine engine(nullptr, data);
        QSignalSpy problems(&engine, &SpeechEngine::problem);
        QCOMPARE(engine.speak(QStringLiteral("Haus"), kGermanLanguage), Status::NoEngine);
        QCOMPARE(engine.speak(QStringLiteral("Baum"), kGermanLanguage), Status::NoEngine);
        QVERIFY(engine.voices().isEmpty());
        QVERIFY(problems.wait(1000));
        QCOMPARE(problems.size(), 1);
    }

    void guessLanguage_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("language");
        const auto row = [](const char* name, const char* file, const char* title,
                            const char* language) {
            QTest::newRow(name) << QString::fromUtf8(file) << QString::fromUtf8(title)
                                << QString::fromLatin1(language);
        };
        row("file name", "/home/anna/englisch.vok", "", "en");
        row("title", "lektion3.vok", "Französisch Lektion 3", "fr");
        row("file name before title", "Latein.vok", "Spanisch", "la");
        row("no umlaut", "franzoesisch_1.vok", "", "fr");
        row("umlaut dropped", "Turkisch.vok", "", "tr");
        row("compound", "Lateinvokabeln.vok", "", "la");
        row("English name", "spanish-words.vok", "", "es");
        row("native name", "Vocabulario español.vok", "", "es");
        row("German does not count", "Deutsch-Englisch.vok", "", "en");
        row("ancient before modern", "altgriechisch.vok", "", "grc");
        row("Chinese is Mandarin", "", "Chinesisch für Anfänger", "cmn");
        row("Norwegian", "", "Norwegisch", "nb");
        row("folder ignored", "/home/Englisch/liste.vok", "", "");
        row("nothing", "wortschatz.vok", "Meine Wörter", "");
    }
    void guessLanguage()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, title);
        QTEST(GuessLanguage(fileName, title), "language");
    }

    // The guesses name languages the engine has, and the user sees them in German.
    void voices_areOfferedInGerman()
    {
        SpeechEngine engine;
        if (!engine.hasEngine())
            QSKIP("eSpeak NG is not installed here");
        const auto voices = engine.voices();
        for (const char* code : {"de", "en", "fr", "es", "it", "nb", "la", "cmn", "grc", "pt"})
            QVERIFY2(engine.hasVoiceFor(QLatin1String(code)), code);
        QVERIFY(!engine.hasVoiceFor(QStringLiteral("xx")));
        QVERIFY(voices.contains(SpeechVoice{QStringLiteral("en"), QStringLiteral("Englisch")}));
        QVERIFY(voices.contains(SpeechVoice{QStringLiteral("cy"), QStringLiteral("Walisisch")}));
        QVERIFY(voices.size() > 80);
    }

    // No voice for a language, or no sound server: reported once each, never waiting.
    void problems_areReportedOnce()
    {
        qputenv("PULSE_SERVER", QFile::encodeName(TestRoot() + QStringLiteral("/no-server")));
        SpeechEngine engine;
        if (!engine.hasEngine())
            QSKIP("eSpeak NG is not installed here");
        QSignalSpy problems(&engine, &SpeechEngine::problem);
        QSignalSpy finished(&engine, &SpeechEngine::finished);
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(engine.speak(QStringLiteral("Haus"), QStringLiteral("xx")), Status::NoVoice);
            QCOMPARE(engine.speak(QStringLiteral("Haus"), kGermanLanguage), Status::Ready);
            QVERIFY(finished.wait(2000));
        }
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(problems.size(), 2);
        QCOMPARE(problems.at(0).at(0).value<Status>(), Status::NoVoice);
        QCOMPARE(problems.at(1).at(0).value<Status>(), Status::NoSoundServer);
        QCOMPARE(SpeechProblemText(Status::NoVoice, QStringLiteral("fr")),
                 QStringLiteral("Für die Sprache Französisch gibt es keine Stimme.\nWörter "
                                "in dieser Sprache werden nicht vorgelesen."));
    }

#ifdef Q_OS_LINUX
    // Real audio through a sound server: a word sounds for about its length, loud enough
    // to hear; a new word, stop() or the end of the program cut off a running sentence.
    void speech_reachesSoundServer_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("language");
        QTest::addColumn<double>("shortest");  // seconds from first to last audible sample
        QTest::addColumn<double>("longest");
        QTest::newRow("German word") << "speak"
                                     << "Haus"
                                     << "de" << 0.2 << 1.2;
        QTest::newRow("English word") << "speak"
                                      << "house"
                                      << "en" << 0.2 << 1.2;
        QTest::newRow("new word cuts in") << "replace"
                                          << "Baum"
                                          << "de" << 0.5 << 1.8;
        QTest::newRow("stop") << "stop"
                              << ""
                              << "de" << 0.1 << 0.9;
        QTest::newRow("engine ends") << "destroy"
                                     << ""
                                     << "de" << 0.1 << 0.9;
    }
    void speech_reachesSoundServer()
    {
        QFETCH(QString, action);
        QFETCH(QString, word);
        QFETCH(QString, language);
        QFETCH(double, shortest);
        QFETCH(double, longest);
        if (!m_server && !(m_server = std::make_unique<PrivateSoundServer>())->start())
            QSKIP("no pulseaudio here to play through");
        auto engine = std::make_unique<SpeechEngine>();
        if (!engine->hasEngine())
            QSKIP("eSpeak NG is not installed here");
        QSignalSpy finished(engine.get(), &SpeechEngine::finished);
        m_server->mark();
        QElapsedTimer timer;
        timer.start();
        if (action == QLatin1String("speak")) {
            QCOMPARE(engine->speak(word, language), Status::Ready);
        } else {
            // About five seconds when heard to its end.
            engine->speak(QStringLiteral("Der Wortschatz einer Sprache wächst mit jeder "
                                         "Lektion, die man gründlich wiederholt."),
                          language);
            QTest::qWait(400);
            timer.restart();
            if (action == QLatin1String("replace"))
                engine->speak(word, language);
            else if (action == QLatin1String("stop"))
                engine->stop();
            else
                engine.reset();
        }
        QVERIFY(timer.elapsed() < 100);
        QVERIFY(!engine || finished.wait(5000));
        QTest::qWait(300);
        const std::vector<short> samples = m_server->samples();
        const auto first = std::find_if(samples.begin(), samples.end(), PrivateSoundServer::IsLoud);
        const auto last =
            std::find_if(samples.rbegin(), samples.rend(), PrivateSoundServer::IsLoud);
        QVERIFY(first != samples.end());
        const double seconds = double(last.base() - first) / PrivateSoundServer::kRate;
        QVERIFY2(seconds >= shortest && seconds <= longest, qPrintable(QString::number(seconds)));
        QVERIFY(*std::max_element(first, last.base()) > 8000);
    }

private:
    std::unique_ptr<PrivateSoundServer> m_server;
#endif
};

LK_TEST_MAIN(SpeechTest)
#include "SpeechTest.moc"
