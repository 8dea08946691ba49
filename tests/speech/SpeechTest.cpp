#include "speech/Languages.h"
#include "speech/SpeechEngine.h"
#include "support/VocabTests.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>

#include <memory>

#ifdef Q_OS_LINUX
#include "support/PrivateSoundServer.h"
#endif

using Status = SpeechEngine::Status;
using namespace Qt::StringLiterals;

class SpeechTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The languages the guesses name have voices, shown in German. Broken engine data, no
    // voice for a language, no sound server: each reported once and never waited for.
    // First, as the engine's data can only be swapped before it has been loaded.
    void voicesAndProblems()
    {
        const QString data = NewTestDirectory();
        QVERIFY(QDir(data).mkpath(QStringLiteral("espeak-ng-data")));
        SpeechEngine broken(nullptr, data);
        QSignalSpy brokenProblems(&broken, &SpeechEngine::problem);
        QCOMPARE(broken.speak(QStringLiteral("Haus"), kGermanLanguage), Status::NoEngine);
        QCOMPARE(broken.speak(QStringLiteral("Baum"), kGermanLanguage), Status::NoEngine);
        QVERIFY(brokenProblems.wait(1000) && brokenProblems.size() == 1);

        qputenv("PULSE_SERVER", QFile::encodeName(TestRoot() + QStringLiteral("/no-server")));
        SpeechEngine engine;
        if (!engine.hasEngine())
            QSKIP("eSpeak NG is not installed here");
        for (const char* code : {"de", "en", "fr", "es", "nb", "la", "cmn", "grc", "pt"})
            QVERIFY2(engine.hasVoiceFor(QLatin1String(code)), code);
        QVERIFY(engine.voices().contains(SpeechVoice{u"en"_s, u"Englisch"_s}));
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
    }

    void guessLanguage_data()
    {
        DataColumns<QString, QString, QString>("fileName", "title", "language");
        QTest::newRow("file name") << u"/home/anna/englisch.vok"_s << QString() << u"en"_s;
        QTest::newRow("title") << u"lektion3.vok"_s << u"Französisch Lektion 3"_s << u"fr"_s;
        QTest::newRow("file name first") << u"Latein.vok"_s << u"Spanisch"_s << u"la"_s;
        QTest::newRow("no umlaut") << u"franzoesisch_1.vok"_s << QString() << u"fr"_s;
        QTest::newRow("umlaut dropped") << u"Turkisch.vok"_s << QString() << u"tr"_s;
        QTest::newRow("compound") << u"Lateinvokabeln.vok"_s << QString() << u"la"_s;
        QTest::newRow("native name") << u"Vocabulario español.vok"_s << QString() << u"es"_s;
        QTest::newRow("German not") << u"Deutsch-Englisch.vok"_s << QString() << u"en"_s;
        QTest::newRow("ancient first") << u"altgriechisch.vok"_s << QString() << u"grc"_s;
        QTest::newRow("Mandarin") << QString() << u"Chinesisch für Anfänger"_s << u"cmn"_s;
        QTest::newRow("folder ignored") << u"/home/Englisch/liste.vok"_s << QString() << QString();
        QTest::newRow("nothing") << u"wortschatz.vok"_s << u"Meine Wörter"_s << QString();
    }
    void guessLanguage()
    {
        const auto [fileName, title] = DataRow<QString, QString>("fileName", "title");
        QTEST(GuessLanguage(fileName, title), "language");
    }

#ifdef Q_OS_LINUX
    // Real audio through a sound server: a word sounds for about its length, loud enough
    // to hear; a new word, stop() or the end of the program cut off a running sentence.
    void speech_reachesSoundServer_data()
    {
        // shortest, longest: seconds from the first to the last audible sample
        DataColumns<QString, QString, QString, double, double>("action", "word", "language",
                                                               "shortest", "longest");
        QTest::newRow("German word") << u"speak"_s << u"Haus"_s << u"de"_s << 0.2 << 1.2;
        QTest::newRow("English word") << u"speak"_s << u"house"_s << u"en"_s << 0.2 << 1.2;
        QTest::newRow("new word cuts in") << u"replace"_s << u"Baum"_s << u"de"_s << 0.5 << 1.8;
        QTest::newRow("stop") << u"stop"_s << QString() << u"de"_s << 0.1 << 0.9;
        QTest::newRow("engine ends") << u"destroy"_s << QString() << u"de"_s << 0.1 << 0.9;
    }
    void speech_reachesSoundServer()
    {
        const auto [action, word, language, shortest, longest] =
            DataRow<QString, QString, QString, double, double>("action", "word", "language",
                                                               "shortest", "longest");
        if (PrivateSoundServer::program().isEmpty())
            QSKIP("no pulseaudio here to play through");
        QVERIFY(m_server.processId() || m_server.start());
        auto engine = std::make_unique<SpeechEngine>();
        if (!engine->hasEngine())
            QSKIP("eSpeak NG is not installed here");
        QSignalSpy finished(engine.get(), &SpeechEngine::finished);
        m_server.played();
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
        const QByteArray bytes = m_server.played();
        const auto* samples = reinterpret_cast<const qint16*>(bytes.constData());
        const auto loud = [](qint16 sample) { return std::abs(sample) > 1000; };
        const auto* first = std::find_if(samples, samples + bytes.size() / 2, loud);
        const auto* end = std::find_if(std::reverse_iterator(samples + bytes.size() / 2),
                                       std::reverse_iterator(first), loud)
                              .base();
        const double seconds = double(end - first) / PrivateSoundServer::kRate;
        QVERIFY2(seconds >= shortest && seconds <= longest, qPrintable(QString::number(seconds)));
        QVERIFY(*std::max_element(first, end) > 8000);
    }

private:
    PrivateSoundServer m_server;
#endif
};

LK_TEST_MAIN(SpeechTest)
#include "SpeechTest.moc"
