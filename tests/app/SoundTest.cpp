#include "app/Sound.h"

#include "support/TestSupport.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QtEndian>

#include <cmath>

#ifdef Q_OS_LINUX
#include "support/PrivateSoundServer.h"

#include <csignal>
#else
#include <QAudioDevice>
#include <QMediaDevices>
#endif

using namespace Qt::StringLiterals;

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

// A sound of silence; an extensible header (format 0xFFFE) carries sub as its sample type.
QByteArray Wave(int format, int channels, int rate, int bits, int ms, int sub = 0)
{
    const auto Le16 = [](int v) { return Le32(static_cast<quint32>(v)).left(2); };
    const int align = channels * bits / 8;
    QByteArray fmt =
        Le16(format) + Le16(channels) + Le32(rate) + Le32(rate * align) + Le16(align) + Le16(bits);
    if (format == 0xFFFE)
        fmt += Le16(22) + Le16(bits) + Le32(0) + Le16(sub) + QByteArray(14, '\x11');
    const int bytes = rate / 1000 * ms * align;
    return Riff("fmt " + Le32(fmt.size()) + fmt + "data" + Le32(bytes) + QByteArray(bytes, '\0'));
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
        QTest::newRow("extensible float") << Wave(0xFFFE, 2, 8000, 32, 10, 3) << qint64(80);
        QTest::newRow("extensible compressed") << Wave(0xFFFE, 1, 8000, 16, 10, 2) << qint64(-1);
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
        const QString file = u"/home/klang/tusch.wav"_s;
        WriteRightSound(u"default"_s);
        WriteWrongSound(file);
        PlayRightSound();
        PlayWrongSound();
        WriteRightSound(QString());
        PlayRightSound();
        WriteWrongSound(u"default"_s);
        platform.soundPlayable = false;
        PlayWrongSound();
        QCOMPARE(platform.soundsPlayed,
                 (QStringList{kRightSoundResource, file, kWrongSoundResource}));
        QCOMPARE(platform.beeps, 1);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    // Without a sound server (an output device elsewhere) a sound would never end: playing
    // fails at once, and the answer beeps instead.
    void qtPlatform_withoutServer_refusesAtOnce()
    {
#ifdef Q_OS_LINUX
        qputenv("PULSE_SERVER", QFile::encodeName(TestRoot() + u"/no-server"_s));
#else
        if (!QMediaDevices::audioOutputs().isEmpty())
            QSKIP("this machine has an audio output");
#endif
        QtPlatform platform;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!platform.playSound(kRightSoundResource));
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    }

#ifdef Q_OS_LINUX
    // Through a server every sample type plays to its end; a server that stops answering
    // costs the sound's length and a margin, never a hang.
    void qtPlatform_throughServer_data()
    {
        QTest::addColumn<QByteArray>("wave");  // empty: the built-in right sound
        QTest::addColumn<int>("ms");
        QTest::addColumn<bool>("stopped");
        QTest::newRow("built in") << QByteArray() << 730 << false;
        QTest::newRow("8 bit stereo") << Wave(1, 2, 8000, 8, 400) << 400 << false;
        QTest::newRow("24 bit mono") << Wave(1, 1, 48000, 24, 400) << 400 << false;
        QTest::newRow("extensible float") << Wave(0xFFFE, 2, 22000, 32, 400, 3) << 400 << false;
        QTest::newRow("server stops answering") << QByteArray() << 730 << true;
    }
    void qtPlatform_throughServer()
    {
        QFETCH(QByteArray, wave);
        QFETCH(int, ms);
        QFETCH(bool, stopped);
        if (PrivateSoundServer::program().isEmpty())
            QSKIP("no pulseaudio here to play through");
        QVERIFY(m_server.processId() || m_server.start(false));
        QString file = kRightSoundResource;
        if (!wave.isEmpty())
            QVERIFY(WriteBytes(file = NewTestDirectory() + u"/ton.wav"_s, wave));
        const auto pid = static_cast<pid_t>(m_server.processId());
        if (stopped)
            ::kill(pid, SIGSTOP);
        QtPlatform platform;
        QElapsedTimer timer;
        timer.start();
        const bool played = platform.playSound(file);
        const qint64 elapsed = timer.elapsed();
        ::kill(pid, SIGCONT);
        QCOMPARE(played, !stopped);
        QVERIFY2((stopped || elapsed >= ms) && elapsed < ms + 3300,
                 qPrintable(QString::number(elapsed)));
    }

private:
    PrivateSoundServer m_server;
#endif
};

LK_TEST_MAIN(SoundTest)
#include "SoundTest.moc"
