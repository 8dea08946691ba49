#pragma once

#include <QString>

#include <optional>

class QIODevice;

// The answer sounds. Each reads its setting (RightSound/WrongSound) when called:
// "default" plays the built-in sound, an empty text plays nothing, anything else is the
// name of a WAVE file. A sound that cannot be played gives the system's beep instead.
// Playback is synchronous: the call returns when the sound has finished.
void PlayRightSound();
void PlayWrongSound();

// The built-in sounds as Qt resources.
inline const QString kRightSoundResource = QStringLiteral(":/SNDRICHTIG");
inline const QString kWrongSoundResource = QStringLiteral(":/SNDFALSCH");

// What the header of a WAVE file says about its sound.
struct WaveInfo {
    int format = 0;  // 1 PCM, 3 IEEE float (an extensible header gives its sub-format)
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    qint64 frames = 0;  // sample frames the data chunk holds, within the file's size
    qint64 dataOffset = 0;  // where the samples begin

    // Length of the sound in milliseconds, rounded up.
    qint64 durationMs() const;
};

// Reads the RIFF header and chunk list of a WAVE file or resource. Nothing when it is
// not a WAVE file we can play: another format, a damaged or truncated header, or no
// samples at all.
std::optional<WaveInfo> ReadWaveInfo(QIODevice& device);
std::optional<WaveInfo> ReadWaveInfo(const QString& fileOrResource);
