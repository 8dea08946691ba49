#include "SpeechOutput.h"

#include <QFile>

#include <espeak-ng/espeak_ng.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

namespace speech {

namespace {

// The library keeps one voice and one synthesis at a time for the whole process.
std::mutex g_libraryMutex;
std::atomic<const Voices*> g_voices{nullptr};
int g_sampleRate = 0;
QByteArray g_currentVoice;

// The utterance being synthesised on this thread; the library's callback finds it here.
struct Job {
    pa_simple* stream = nullptr;
    const std::function<bool()>& cancelled;
    const std::function<void()>& firstSamples;
    int piece = 1;  // frames
    qint64 frames = 0;
    bool stopped = false;
    bool failed = false;
};
thread_local Job* t_job = nullptr;

// Receives the samples as the library makes them, 20 ms at a time, so that the first
// reach the server early.
int OnSamples(short* samples, int count, espeak_EVENT*)
{
    Job* job = t_job;
    if (!job)
        return 1;
    // In pieces of the server's smallest request, so that a write waits only briefly and
    // a newer word is not held up by this one.
    for (int done = 0; samples && done < count; done += job->piece) {
        if (job->cancelled()) {
            job->stopped = true;
            return 1;
        }
        const int frames = std::min(job->piece, count - done);
        int error = 0;
        if (pa_simple_write(job->stream, samples + done, sizeof(short) * frames, &error) < 0) {
            job->failed = true;
            return 1;
        }
        if (job->frames == 0)
            job->firstSamples();
        job->frames += frames;
    }
    return 0;
}

Voices ListVoices()
{
    Voices voices;
    std::map<QString, int> priorities;
    for (const espeak_VOICE** voice = espeak_ListVoices(nullptr); voice && *voice; ++voice) {
        // The languages are pairs of a priority byte (lower is better) and a code, ending
        // with a zero byte; the first is the voice's own language.
        const char* entry = (*voice)->languages;
        bool first = true;
        while (entry && *entry) {
            const int priority = static_cast<unsigned char>(*entry);
            const QString code = QString::fromLatin1(entry + 1).toLower();
            entry += std::strlen(entry + 1) + 2;
            if (first)
                voices.languages.emplace(code.section(QLatin1Char('-'), 0, 0),
                                         QString::fromUtf8((*voice)->name));
            first = false;
            const auto known = priorities.find(code);
            if (known == priorities.end() || priority < known->second) {
                priorities[code] = priority;
                voices.voiceFor[code] = (*voice)->identifier;
            }
        }
    }
    return voices;
}

}  // namespace

std::optional<Voices> LoadEngine(const QString& dataPath)
{
    // Once loaded, the voices never change: no lock, so that a synthesis cannot hold up
    // the caller.
    if (const Voices* voices = g_voices.load())
        return *voices;
    const std::lock_guard lock(g_libraryMutex);
    if (const Voices* voices = g_voices.load())
        return *voices;
    const QByteArray path = QFile::encodeName(dataPath);
    espeak_ng_InitializePath(dataPath.isEmpty() ? nullptr : path.constData());
    if (espeak_ng_Initialize(nullptr) != ENS_OK ||
        espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 20, nullptr) != ENS_OK)
        return std::nullopt;
    espeak_SetSynthCallback(OnSamples);
    g_sampleRate = espeak_ng_GetSampleRate();
    auto* voices = new Voices(ListVoices());  // kept for the life of the process
    if (voices->languages.empty() || g_sampleRate <= 0) {
        delete voices;
        return std::nullopt;
    }
    g_voices = voices;
    return *voices;
}

Outcome Say(const QByteArray& voice, const QByteArray& text, const std::function<bool()>& cancelled,
            const std::function<void()>& firstSamples)
{
    if (!g_voices.load())
        return Outcome::Failed;
    const pa_sample_spec format{PA_SAMPLE_S16NE, static_cast<uint32_t>(g_sampleRate), 1};
    // A short buffer, asked to refill in small steps, that starts playing with the first
    // samples: a new word cuts in without a long tail of the old one.
    const int pieceFrames = g_sampleRate / 100;
    const auto pieceBytes = static_cast<uint32_t>(pieceFrames * 2);
    const pa_buffer_attr buffer{static_cast<uint32_t>(-1), 15 * pieceBytes, 2, pieceBytes,
                                static_cast<uint32_t>(-1)};
    int error = 0;
    pa_simple* stream = pa_simple_new(nullptr, "Lernkompass", PA_STREAM_PLAYBACK, nullptr,
                                      "Vorlesen", &format, nullptr, &buffer, &error);
    if (!stream)
        return Outcome::NoSoundServer;
    Job job{stream, cancelled, firstSamples, pieceFrames};
    {
        const std::lock_guard lock(g_libraryMutex);
        if (g_currentVoice != voice) {
            g_currentVoice.clear();
            if (espeak_ng_SetVoiceByName(voice.constData()) == ENS_OK)
                g_currentVoice = voice;
        }
        if (!g_currentVoice.isEmpty()) {
            t_job = &job;
            espeak_ng_Synthesize(text.constData(), static_cast<size_t>(text.size()) + 1, 0,
                                 POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
            t_job = nullptr;
        } else {
            job.failed = true;
        }
    }
    // The server's latency says when the last sample will have been heard; without it,
    // the speech's length and a margin.
    using namespace std::chrono;
    const pa_usec_t latency = job.failed || job.stopped ? 0 : pa_simple_get_latency(stream, &error);
    const auto heard =
        steady_clock::now() + (latency == static_cast<pa_usec_t>(-1)
                                   ? milliseconds(job.frames * 1000 / g_sampleRate + 2000)
                                   : ceil<milliseconds>(microseconds(latency)));
    while (!cancelled() && steady_clock::now() < heard)
        std::this_thread::sleep_for(milliseconds(5));
    const bool cut = job.stopped || cancelled();
    if (cut)
        pa_simple_flush(stream, &error);
    pa_simple_free(stream);
    return job.failed ? Outcome::Failed : cut ? Outcome::Cancelled : Outcome::Played;
}

}  // namespace speech
