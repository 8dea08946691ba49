#include "SpeechEngine.h"

#include "Languages.h"
#include "SpeechOutput.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

// What the user-interface thread and the speech thread share. The speech thread keeps it
// alive while it runs, also when it has to be left behind at the end.
struct SpeechEngine::Shared {
    struct Part {
        QByteArray voice;
        QByteArray text;
    };
    using Request = std::vector<Part>;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable ended;
    std::optional<Request> pending;
    // Counts speak() and stop(): speech of an older count is cut off.
    std::atomic<quint64> generation{0};
    std::atomic<bool> quitting{false};
    bool speaking = false;
    bool saying = false;  // the speech thread is at a request
    bool threadEnded = false;
    std::mutex ownerMutex;
    SpeechEngine* owner = nullptr;  // cleared when the engine goes
    std::set<std::pair<Status, QString>> reported;
};

SpeechEngine::SpeechEngine(QObject* parent, const QString& dataPath)
    : QObject(parent), m_shared(std::make_shared<Shared>())
{
    m_shared->owner = this;
    if (const auto voices = speech::LoadEngine(dataPath)) {
        m_hasEngine = true;
        m_voiceFor = voices->voiceFor;
        for (const auto& [language, engineName] : voices->languages) {
            const QString name = SpeechLanguageName(language);
            m_voices.append({language, name == language ? engineName : name});
        }
        QCollator collator(QLocale(QLocale::German, QLocale::Germany));
        std::sort(m_voices.begin(), m_voices.end(), [&](const auto& a, const auto& b) {
            return collator.compare(a.name, b.name) < 0;
        });
        m_thread = std::thread(Run, m_shared);
    }
}

SpeechEngine::~SpeechEngine()
{
    if (!m_thread.joinable())
        return;
    {
        const std::lock_guard ownerLock(m_shared->ownerMutex);
        m_shared->owner = nullptr;
    }
    std::unique_lock lock(m_shared->mutex);
    m_shared->pending.reset();
    ++m_shared->generation;
    m_shared->quitting = true;
    m_shared->wake.notify_all();
    // A sound server that stops answering can hold the speech thread for good; the program
    // ends without it then.
    if (m_shared->ended.wait_for(lock, std::chrono::seconds(1),
                                 [this] { return m_shared->threadEnded; })) {
        lock.unlock();
        m_thread.join();
    } else {
        m_thread.detach();
    }
}

QList<SpeechVoice> SpeechEngine::voices() const
{
    return m_voices;
}

bool SpeechEngine::hasVoiceFor(const QString& language) const
{
    return !VoiceFor(language).isEmpty();
}

QByteArray SpeechEngine::VoiceFor(const QString& language) const
{
    const QString code = language.toLower();
    if (const auto exact = m_voiceFor.find(code); exact != m_voiceFor.end())
        return exact->second;
    // "pt" is also spoken by a voice that only claims "pt-br".
    const auto regional = m_voiceFor.lower_bound(code + QLatin1Char('-'));
    if (!code.isEmpty() && regional != m_voiceFor.end() &&
        regional->first.startsWith(code + QLatin1Char('-')))
        return regional->second;
    return {};
}

SpeechEngine::Status SpeechEngine::speak(const QString& text, const QString& language)
{
    return speak(QList<SpeechPart>{{text, language}});
}

SpeechEngine::Status SpeechEngine::speak(const QList<SpeechPart>& parts)
{
    if (!m_hasEngine) {
        Report(Status::NoEngine, QString());
        return Status::NoEngine;
    }
    Shared::Request request;
    bool noVoice = false;
    for (const SpeechPart& part : parts) {
        if (part.text.trimmed().isEmpty())
            continue;
        const QByteArray voice = VoiceFor(part.language);
        if (voice.isEmpty()) {
            Report(Status::NoVoice, part.language);
            noVoice = true;
            continue;
        }
        // Terms are short; a pasted novel is not read to its end.
        request.push_back({voice, part.text.left(1000).toUtf8()});
    }
    if (request.empty()) {
        stop();
        return noVoice ? Status::NoVoice : Status::Ready;
    }
    const std::lock_guard lock(m_shared->mutex);
    m_shared->pending = std::move(request);
    ++m_shared->generation;
    m_shared->speaking = true;
    m_shared->wake.notify_all();
    return Status::Ready;
}

void SpeechEngine::stop()
{
    const std::lock_guard lock(m_shared->mutex);
    m_shared->pending.reset();
    ++m_shared->generation;
    // A request the speech thread has not taken up yet ends here.
    if (m_shared->speaking && !m_shared->saying) {
        m_shared->speaking = false;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!isSpeaking())
                    Q_EMIT finished();
            },
            Qt::QueuedConnection);
    }
}

bool SpeechEngine::isSpeaking() const
{
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->speaking;
}

void SpeechEngine::Report(Status status, const QString& language)
{
    const std::lock_guard lock(m_shared->mutex);
    if (!m_shared->reported.insert({status, language}).second)
        return;
    QMetaObject::invokeMethod(
        this, [this, status, language] { Q_EMIT problem(status, language); }, Qt::QueuedConnection);
}

void SpeechEngine::Run(std::shared_ptr<Shared> shared)
{
    // Signals go out holding the owner's lock but not the state's, so that a directly
    // connected slot may call the engine.
    const auto toOwner = [&](const std::function<void(SpeechEngine*)>& send) {
        const std::lock_guard lock(shared->ownerMutex);
        if (shared->owner)
            send(shared->owner);
    };
    std::unique_lock lock(shared->mutex);
    for (;;) {
        shared->wake.wait(lock, [&] { return shared->quitting || shared->pending; });
        if (shared->quitting)
            break;
        const Shared::Request request = *std::exchange(shared->pending, std::nullopt);
        const quint64 generation = shared->generation;
        shared->saying = true;
        lock.unlock();
        const auto cancelled = [&] { return shared->generation != generation || shared->quitting; };
        auto outcome = speech::Outcome::Played;
        for (std::size_t i = 0; i < request.size() && outcome == speech::Outcome::Played; ++i)
            outcome = speech::Say(request[i].voice, request[i].text, cancelled, [&, i] {
                if (i == 0)
                    toOwner([](SpeechEngine* owner) { Q_EMIT owner->started(); });
            });
        lock.lock();
        shared->saying = false;
        const bool noServer = outcome == speech::Outcome::NoSoundServer &&
                              shared->reported.insert({Status::NoSoundServer, QString()}).second;
        // A newer speak() is read next; otherwise the engine falls silent.
        const bool silent = !shared->pending;
        if (silent)
            shared->speaking = false;
        lock.unlock();
        toOwner([&](SpeechEngine* owner) {
            if (noServer)
                QMetaObject::invokeMethod(
                    owner, [owner] { Q_EMIT owner->problem(Status::NoSoundServer, QString()); },
                    Qt::QueuedConnection);
            if (silent)
                QMetaObject::invokeMethod(
                    owner,
                    [owner] {
                        if (!owner->isSpeaking())
                            Q_EMIT owner->finished();
                    },
                    Qt::QueuedConnection);
        });
        lock.lock();
    }
    shared->threadEnded = true;
    shared->ended.notify_all();
}

QString SpeechLanguageName(const QString& language)
{
    const QString german = GermanLanguageName(language);
    if (!german.isEmpty())
        return german;
    const QLocale locale(language);
    if (locale.language() != QLocale::C && !locale.nativeLanguageName().isEmpty() &&
        QLocale::languageToCode(locale.language()) == language)
        return locale.nativeLanguageName();
    return language;
}

QString SpeechProblemText(SpeechEngine::Status status, const QString& language)
{
    switch (status) {
        case SpeechEngine::Status::Ready: return {};
        case SpeechEngine::Status::NoEngine:
            return QStringLiteral(
                "Vorlesen ist nicht möglich: Die Sprachausgabe eSpeak NG ist "
                "nicht installiert.\nEs wird nichts vorgelesen.");
        case SpeechEngine::Status::NoVoice:
            return QStringLiteral(
                       "Für die Sprache %1 gibt es keine Stimme.\nWörter in dieser "
                       "Sprache werden nicht vorgelesen.")
                .arg(SpeechLanguageName(language));
        case SpeechEngine::Status::NoSoundServer:
            return QStringLiteral(
                "Vorlesen ist nicht möglich: Es ist keine Tonausgabe erreichbar "
                "(PulseAudio oder PipeWire).\nEs wird nichts vorgelesen.");
    }
    return {};
}
