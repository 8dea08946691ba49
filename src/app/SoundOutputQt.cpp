#include "SoundOutput.h"

#include "Sound.h"

#include <QAudioDevice>
#include <QEventLoop>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

bool PlayWave(const QString& path)
{
    // Without an output device a sound effect never ends, and a file that is not a sound
    // never finishes loading: both are refused before anything waits for them.
    if (QMediaDevices::audioOutputs().isEmpty())
        return false;
    const auto wave = ReadWaveInfo(path);
    if (!wave)
        return false;
    const QUrl url = path.startsWith(QLatin1String(":/"))
                         ? QUrl(QLatin1String("qrc") + path)
                         : QUrl::fromLocalFile(path);

    // The end is signalled late or not at all on some outputs, so the wait is capped at
    // the sound's own length plus a short margin.
    constexpr int kMarginMs = 500;
    QSoundEffect effect;
    QEventLoop loop;
    bool done = false;
    bool failed = false;
    const auto finish = [&] {
        done = true;
        loop.quit();
    };
    QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, [&] {
        if (effect.status() == QSoundEffect::Error) {
            failed = true;
            finish();
        }
    });
    QObject::connect(&effect, &QSoundEffect::playingChanged, &loop, [&] {
        if (!effect.isPlaying())
            finish();
    });
    // A header may claim any length; ten minutes is the most we wait.
    const qint64 lengthMs = qMin<qint64>(wave->durationMs(), 600'000);
    QTimer::singleShot(static_cast<int>(lengthMs) + kMarginMs, &loop, finish);
    effect.setSource(url);
    effect.play();
    // User input waits until the sound is over, as with any synchronous sound.
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    effect.stop();
    return !failed;
}
