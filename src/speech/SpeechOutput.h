#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <map>
#include <optional>

// The synthesiser and the sound server behind SpeechEngine. On Linux eSpeak NG's library
// synthesises and the desktop's sound server (PulseAudio, or PipeWire's PulseAudio service)
// plays; elsewhere there is no engine yet.
namespace speech {

struct Voices {
    // Each language the engine speaks, once, by its short code ("en", "fr", "cmn"), with
    // the engine's own (English) name for it.
    std::map<QString, QString> languages;
    // Every language code a voice answers to ("en", "en-gb", "zh") and the voice that
    // speaks it best.
    std::map<QString, QByteArray> voiceFor;
};

// Loads the engine once per process and lists its voices; nothing when it cannot be
// loaded. dataPath names a folder holding the engine's data instead of the installed
// one; it counts until a load has succeeded.
std::optional<Voices> LoadEngine(const QString& dataPath);

enum class Outcome { Played, Cancelled, NoSoundServer, Failed };

// Synthesises text (UTF-8) with voice and plays it, returning when it has been heard or
// cancelled() said true. firstSamples is called once the server holds the first samples.
// Runs on the speech thread; never call it on the user-interface thread.
Outcome Say(const QByteArray& voice, const QByteArray& text, const std::function<bool()>& cancelled,
            const std::function<void()>& firstSamples);

}  // namespace speech
