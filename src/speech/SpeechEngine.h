#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <map>
#include <memory>
#include <thread>

// A language the engine can read aloud in.
struct SpeechVoice {
    QString language;  // the engine's code: "de", "en", "cmn"
    QString name;      // for the user, in German where we know it: "Englisch"
    bool operator==(const SpeechVoice&) const = default;
};

// One text to read, in a language.
struct SpeechPart {
    QString text;
    QString language;
};

// Reads words aloud on a thread of its own: speak() returns at once, and a new speak()
// cuts off the one before. The speech goes straight to the desktop's sound server, not
// through the desktop's speech service, which a screen reader may be using.
class SpeechEngine : public QObject {
    Q_OBJECT
public:
    enum class Status {
        Ready,
        NoEngine,       // the synthesiser or its data is missing
        NoVoice,        // no voice for the language asked for
        NoSoundServer,  // nothing to play the speech on
    };
    Q_ENUM(Status)

    // dataPath: a folder holding the synthesiser's data instead of the installed one;
    // only the first engine of a process that loads successfully uses it.
    explicit SpeechEngine(QObject* parent = nullptr, const QString& dataPath = {});
    // Cuts off what is being read. Returns within a second also when the sound server
    // has stopped answering.
    ~SpeechEngine() override;

    bool hasEngine() const { return m_hasEngine; }
    // Every language with a voice, sorted by name.
    QList<SpeechVoice> voices() const;
    bool hasVoiceFor(const QString& language) const;

    // Starts reading text in language and returns at once: Ready, or NoEngine or NoVoice
    // when nothing will be read. Whether a sound server plays it turns out later
    // (problem()). An empty text only stops.
    Status speak(const QString& text, const QString& language);
    // Reads the parts one after the other as one request: a part without a voice is left
    // out (and reported); NoEngine or NoVoice when nothing will be read.
    Status speak(const QList<SpeechPart>& parts);
    void stop();
    // From speak() until the speech has been heard, cut off or given up.
    bool isSpeaking() const;

Q_SIGNALS:
    // The first samples of a speak() have reached the sound server. Emitted on the speech
    // thread: a directly connected slot may call the engine but must not delete it.
    void started();
    // Speaking has ended and nothing new was asked for meanwhile.
    void finished();
    // Reading aloud fails; emitted once per kind and language, after speak() returned,
    // so that a message about it is shown once and then all stays silent.
    void problem(SpeechEngine::Status status, const QString& language);

private:
    struct Shared;
    static void Run(std::shared_ptr<Shared> shared);
    void Report(Status status, const QString& language);
    QByteArray VoiceFor(const QString& language) const;

    bool m_hasEngine = false;
    QList<SpeechVoice> m_voices;
    std::map<QString, QByteArray> m_voiceFor;
    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
};

// The name of a language for the user: German where we know it, otherwise its own name
// or the engine's code.
QString SpeechLanguageName(const QString& language);

// The German message that tells about a problem of reading aloud, ready for a message
// box ("Meldung").
QString SpeechProblemText(SpeechEngine::Status status, const QString& language);
