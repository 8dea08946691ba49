#include "SoundOutput.h"

#include "Sound.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>

namespace {

// Shared by the waiting UI thread and the thread that streams the samples; the latter
// may outlive the wait when a server stops answering.
struct Playback {
    pa_sample_spec sampleFormat{};
    QByteArray samples;
    std::atomic<bool> connected{false};
    std::atomic<bool> finished{false};
    std::atomic<bool> played{false};
};

void Stream(const std::shared_ptr<Playback>& playback)
{
    int error = 0;
    pa_simple* stream = pa_simple_new(nullptr, "Lernkompass", PA_STREAM_PLAYBACK, nullptr,
                                      "Antwort", &playback->sampleFormat, nullptr, nullptr, &error);
    if (stream) {
        playback->connected = true;
        // Drain returns once the server has played the last sample.
        playback->played = pa_simple_write(stream, playback->samples.constData(),
                                           static_cast<size_t>(playback->samples.size()),
                                           &error) == 0 &&
                           pa_simple_drain(stream, &error) == 0;
        pa_simple_free(stream);
    }
    playback->finished = true;
}

std::optional<pa_sample_format_t> SampleFormat(const WaveInfo& wave)
{
    if (wave.format == 3)
        return wave.bitsPerSample == 32 ? std::optional(PA_SAMPLE_FLOAT32LE) : std::nullopt;
    switch (wave.bitsPerSample) {
    case 8: return PA_SAMPLE_U8;
    case 16: return PA_SAMPLE_S16LE;
    case 24: return PA_SAMPLE_S24LE;
    case 32: return PA_SAMPLE_S32LE;
    default: return std::nullopt;
    }
}

}  // namespace

bool PlayWave(const QString& fileOrResource)
{
    QFile file(fileOrResource);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const auto wave = ReadWaveInfo(file);
    if (!wave)
        return false;
    const auto format = SampleFormat(*wave);
    if (!format || wave->channels > int(PA_CHANNELS_MAX))
        return false;
    auto playback = std::make_shared<Playback>();
    playback->sampleFormat = {*format, static_cast<uint32_t>(wave->sampleRate),
                      static_cast<uint8_t>(wave->channels)};
    if (!pa_sample_spec_valid(&playback->sampleFormat))
        return false;

    // A header may claim any length: ten minutes, and 128 MiB, is the most we play.
    const qint64 frameBytes = wave->channels * (wave->bitsPerSample / 8);
    const qint64 frames = std::min({wave->frames, qint64(wave->sampleRate) * 600,
                                     (qint64(128) << 20) / frameBytes});
    if (!file.seek(wave->dataOffset))
        return false;
    playback->samples = file.read(frames * frameBytes);
    if (playback->samples.size() != frames * frameBytes)
        return false;

    std::thread(Stream, playback).detach();
    // Without a server the connection is refused within milliseconds. A busy server can
    // take two seconds to start a stream; one that stops answering is given up on after
    // the sound's length and a margin.
    constexpr qint64 kMarginMs = 3000;
    const qint64 limitMs = (frames * 1000 + wave->sampleRate - 1) / wave->sampleRate + kMarginMs;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (playback->finished)
            loop.quit();
    });
    QTimer::singleShot(static_cast<int>(limitMs), &loop, &QEventLoop::quit);
    poll.start(10);
    // User input waits until the sound is over, as with any synchronous sound.
    if (!playback->finished)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return playback->finished ? playback->played.load() : playback->connected.load();
}
