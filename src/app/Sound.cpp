#include "Sound.h"

#include "Platform.h"
#include "SettingsStore.h"
#include "Widgets.h"

#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QtEndian>

namespace {

quint32 U32(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

quint16 U16(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

void PlayAnswerSound(const QString& setting, const QString& builtIn)
{
    const WaitCursor waitCursor;
    Platform& platform = Platform::instance();
    bool played = true;
    if (setting == QLatin1String("default"))
        played = platform.playSound(builtIn);
    else if (!setting.isEmpty())
        played = platform.playSound(setting);
    if (!played)
        platform.beep();
}

}  // namespace

void PlayRightSound()
{
    PlayAnswerSound(ReadRightSound(), kRightSoundResource);
}

void PlayWrongSound()
{
    PlayAnswerSound(ReadWrongSound(), kWrongSoundResource);
}

qint64 WaveInfo::durationMs() const
{
    return sampleRate > 0 ? (frames * 1000 + sampleRate - 1) / sampleRate : 0;
}

std::optional<WaveInfo> ReadWaveInfo(QIODevice& device)
{
    const qint64 size = device.size();
    const QByteArray riff = device.read(12);
    if (riff.size() != 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return std::nullopt;

    WaveInfo info;
    bool haveFormat = false;
    qint64 dataBytes = -1;
    qint64 pos = 12;
    // Walk the chunks; every step moves forward by at least 8 bytes, so this ends.
    while (pos + 8 <= size && (!haveFormat || dataBytes < 0)) {
        if (!device.seek(pos))
            return std::nullopt;
        const QByteArray header = device.read(8);
        if (header.size() != 8)
            return std::nullopt;
        const qint64 chunkSize = U32(header, 4);
        const qint64 body = pos + 8;
        if (header.startsWith("fmt ")) {
            if (chunkSize < 16)
                return std::nullopt;
            const QByteArray fmt = device.read(16);
            if (fmt.size() != 16)
                return std::nullopt;
            info.format = U16(fmt, 0);
            info.channels = U16(fmt, 2);
            info.sampleRate = static_cast<int>(qMin<quint32>(U32(fmt, 4), 1u << 30));
            info.bitsPerSample = U16(fmt, 14);
            if (info.format == 0xFFFE) {
                // The extensible header names the sample type in its sub-format.
                const QByteArray ext = chunkSize >= 40 ? device.read(24) : QByteArray();
                info.format = ext.size() == 24 ? U16(ext, 8) : 0;
            }
            haveFormat = true;
        } else if (header.startsWith("data")) {
            // A truncated file holds fewer bytes than its header claims.
            dataBytes = qMin(chunkSize, size - body);
            info.dataOffset = body;
        }
        pos = body + chunkSize + (chunkSize & 1);  // chunks are padded to even sizes
    }

    const bool knownFormat = info.format == 1 || info.format == 3;
    const bool knownBits = info.bitsPerSample == 8 || info.bitsPerSample == 16 ||
                           info.bitsPerSample == 24 || info.bitsPerSample == 32;
    if (!haveFormat || dataBytes <= 0 || !knownFormat || !knownBits || info.channels < 1 ||
        info.sampleRate < 1)
        return std::nullopt;
    info.frames = dataBytes / (info.channels * (info.bitsPerSample / 8));
    if (info.frames == 0)
        return std::nullopt;
    return info;
}

std::optional<WaveInfo> ReadWaveInfo(const QString& fileOrResource)
{
    QFile file(fileOrResource);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ReadWaveInfo(file);
}
