#include "app/Sound.h"

#include "app/SettingsStore.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QAudioDevice>
#include <QBuffer>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QtEndian>

#include <cmath>

namespace {

QByteArray Le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

// "fmt " chunk of PCM, mono, 44,100 samples/s, 16 bits.
const QByteArray kPcm16("fmt \x10\0\0\0\x01\0\x01\0\x44\xAC\0\0\x88\x58\x01\0\x02\0\x10\0", 24);

QByteArray Riff(const QByteArray& chunks)
{
    return "RIFF" + Le32(static_cast<quint32>(4 + chunks.size())) + "WAVE" + chunks;
}

}  // namespace

class SoundTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(WriteVersionCreatingStore()); }

    void builtInSound_data()
    {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<double>("seconds");
        QTest::newRow("right") << kRightSoundResource << 0.73;
        QTest::newRow("wrong") << kWrongSoundResource << 0.58;
    }
    void builtInSound()
    {
        QFETCH(QString, resource);
        QFETCH(double, seconds);
        QFile file(resource);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray wave = file.readAll();
        const auto size = static_cast<quint32>(wave.size());
        QCOMPARE(wave.left(44),
                 "RIFF" + Le32(size - 8) + "WAVE" + kPcm16 + "data" + Le32(size - 44));
        QVERIFY(std::abs(ReadWaveInfo(resource).value().durationMs() - seconds * 1000) <= 1.0);
    }

    // What a file's header claims decides how long playing waits, or whether it is refused.
    void readWaveInfo_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("frames");  // -1: refused
        const QByteArray data20 = "data" + Le32(20) + QByteArray(20, '\0');
        QTest::newRow("odd chunk before fmt is padded")
            << Riff("LIST" + Le32(3) + "abc" + QByteArray(1, '\0') + kPcm16 + data20) << qint64(10);
        QTest::newRow("data claims more than the file holds")
            << Riff(kPcm16 + "data" + Le32(100000) + QByteArray(50, '\0')) << qint64(25);
        QTest::newRow("not RIFF") << "RIFX" + Riff(kPcm16 + data20).mid(4) << qint64(-1);
        QTest::newRow("compressed")
            << Riff(QByteArray(kPcm16).replace(8, 1, "\x02") + data20) << qint64(-1);
    }
    void readWaveInfo()
    {
        QFETCH(QByteArray, bytes);
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        const auto info = ReadWaveInfo(buffer);
        QTEST(info ? info->frames : -1, "frames");
    }

    // Each sound follows its own setting: built in, none, a file; what cannot be played
    // beeps instead. No hourglass is left behind.
    void answerSounds_followTheirSettings()
    {
        FakePlatform platform;
        const QString file = QStringLiteral("/home/klang/tusch.wav");
        WriteRightSound(QStringLiteral("default"));
        WriteWrongSound(file);
        PlayRightSound();
        PlayWrongSound();
        WriteRightSound(QString());
        PlayRightSound();
        WriteWrongSound(QStringLiteral("default"));
        platform.soundPlayable = false;
        PlayWrongSound();
        QCOMPARE(platform.soundsPlayed,
                 (QStringList{kRightSoundResource, file, kWrongSoundResource}));
        QCOMPARE(platform.beeps, 1);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    // Without an output device a sound would never end: playing fails at once.
    void qtPlatform_withoutOutput_refusesAtOnce()
    {
        if (!QMediaDevices::audioOutputs().isEmpty())
            QSKIP("this machine has an audio output");
        QtPlatform platform;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!platform.playSound(kRightSoundResource));
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    }
};

LK_TEST_MAIN(SoundTest)
#include "SoundTest.moc"
