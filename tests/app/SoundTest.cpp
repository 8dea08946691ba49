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

template <typename T>
QByteArray Le(T v)
{
    QByteArray b(sizeof(T), '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray FormatChunk(quint16 format, quint16 channels, quint32 rate, quint16 bits)
{
    const quint16 align = static_cast<quint16>(channels * bits / 8);
    return "fmt " + Le<quint32>(16) + Le(format) + Le(channels) + Le(rate) + Le(rate * align) +
           Le(align) + Le(bits);
}

QByteArray Riff(const QByteArray& chunks)
{
    return "RIFF" + Le(static_cast<quint32>(4 + chunks.size())) + "WAVE" + chunks;
}

QByteArray DataChunk(int bytes)
{
    return "data" + Le(static_cast<quint32>(bytes)) + QByteArray(bytes, '\0');
}

const QByteArray kPcm16 = FormatChunk(1, 1, 44100, 16);

// Records the cursor shown while a sound plays.
class CursorPlatform : public FakePlatform {
public:
    bool playSound(const QString& fileOrResource) override
    {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        cursorsWhilePlaying << (cursor ? cursor->shape() : Qt::ArrowCursor);
        return FakePlatform::playSound(fileOrResource);
    }
    QList<Qt::CursorShape> cursorsWhilePlaying;
};

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
    // 16-bit mono PCM at 44,100 samples/s of the given length, starting and ending in
    // silence (no click), loud enough but not clipped.
    void builtInSound()
    {
        QFETCH(QString, resource);
        QFETCH(double, seconds);
        QFile file(resource);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray wave = file.readAll();
        QVERIFY(wave.size() > 44);
        const auto size = static_cast<quint32>(wave.size());
        QCOMPARE(wave.left(44), "RIFF" + Le(size - 8) + "WAVE" + kPcm16 + "data" + Le(size - 44));

        const qsizetype count = (wave.size() - 44) / 2;
        const auto sample = [&](qsizetype i) {
            return std::abs(int(qFromLittleEndian<qint16>(wave.constData() + 44 + 2 * i)));
        };
        QVERIFY(std::abs(count - seconds * 44100) <= 1.0);
        QVERIFY(sample(0) < 64 && sample(count - 1) < 64);
        int peak = 0;
        for (qsizetype i = 0; i < count; ++i) peak = std::max(peak, sample(i));
        QVERIFY2(peak > 8000 && peak < 30000, qPrintable(QString::number(peak)));
        QVERIFY(std::abs(ReadWaveInfo(resource).value().durationMs() - seconds * 1000) <= 1.0);
    }

    void readWaveInfo_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("frames");  // -1: refused
        QTest::newRow("plain") << Riff(kPcm16 + DataChunk(200)) << qint64(100);
        QTest::newRow("stereo 24 bit")
            << Riff(FormatChunk(1, 2, 48000, 24) + DataChunk(60)) << qint64(10);
        QTest::newRow("odd chunk before fmt is padded")
            << Riff("LIST" + Le<quint32>(3) + "abc" + QByteArray(1, '\0') + kPcm16 + DataChunk(20))
            << qint64(10);
        QTest::newRow("data claims more than the file holds")
            << Riff(kPcm16 + "data" + Le<quint32>(100000) + QByteArray(50, '\0')) << qint64(25);
        QTest::newRow("not RIFF") << QByteArray("RIFX") + Riff(kPcm16).mid(4) << qint64(-1);
        QTest::newRow("header cut short") << Riff(kPcm16 + DataChunk(20)).left(30) << qint64(-1);
        QTest::newRow("format chunk too small")
            << Riff("fmt " + Le<quint32>(8) + QByteArray(8, '\0') + DataChunk(20)) << qint64(-1);
        QTest::newRow("no samples") << Riff(kPcm16 + DataChunk(0)) << qint64(-1);
        QTest::newRow("compressed")
            << Riff(FormatChunk(2, 1, 44100, 4) + DataChunk(20)) << qint64(-1);
    }
    void readWaveInfo()
    {
        QFETCH(QByteArray, bytes);
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        const auto info = ReadWaveInfo(buffer);
        QTEST(info ? info->frames : -1, "frames");
    }

    void answerSound_data()
    {
        QTest::addColumn<bool>("right");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<bool>("playable");
        QTest::addColumn<QStringList>("played");
        QTest::addColumn<int>("beeps");
        const QString file = QStringLiteral("/home/klang/tusch.wav");
        const QStringList right{kRightSoundResource}, wrong{kWrongSoundResource};
        QTest::newRow("right, built in") << true << "default" << true << right << 0;
        QTest::newRow("wrong, built in") << false << "default" << true << wrong << 0;
        QTest::newRow("right, none") << true << "" << true << QStringList{} << 0;
        QTest::newRow("wrong, a file") << false << file << true << QStringList{file} << 0;
        QTest::newRow("a file that cannot be played beeps")
            << true << file << false << QStringList{file} << 1;
        QTest::newRow("built in without output beeps") << false << "default" << false << wrong << 1;
    }
    // Each sound reads its own setting, plays under the hourglass and restores the cursor.
    void answerSound()
    {
        QFETCH(bool, right);
        QFETCH(QString, setting);
        QFETCH(bool, playable);
        CursorPlatform platform;
        platform.soundPlayable = playable;
        // The other sound's setting names a file that must not be played.
        const QString other = QStringLiteral("/nicht/dieser.wav");
        WriteRightSound(right ? setting : other);
        WriteWrongSound(right ? other : setting);

        right ? PlayRightSound() : PlayWrongSound();

        QTEST(platform.soundsPlayed, "played");
        QTEST(platform.beeps, "beeps");
        for (Qt::CursorShape shape : std::as_const(platform.cursorsWhilePlaying))
            QCOMPARE(shape, Qt::WaitCursor);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void qtPlatform_refusesAtOnce_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");  // null: no file
        QTest::newRow("built-in, no device") << kRightSoundResource << QByteArray();
        QTest::newRow("built-in as URL, no device")
            << QStringLiteral("qrc") + kWrongSoundResource << QByteArray();
        QTest::newRow("missing file") << "fehlt.wav" << QByteArray();
        QTest::newRow("text named .wav") << "text.wav" << QByteArray("kein Klang");
        QTest::newRow("header only") << "leer.wav" << Riff(kPcm16 + DataChunk(0));
    }
    // Without an output device, or with a file that is no sound, playing fails at once.
    void qtPlatform_refusesAtOnce()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QString path = name;
        if (!name.contains(u':')) {
            path = NewTestDirectory() + QLatin1Char('/') + name;
            if (!bytes.isNull())
                QVERIFY(WriteBytes(path, bytes));
        } else if (!QMediaDevices::audioOutputs().isEmpty()) {
            QSKIP("this machine has an audio output");
        }
        QtPlatform platform;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!platform.playSound(path));
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    }

    // With an output device the call returns when the sound is over, at most a short margin
    // after its length.
    void qtPlatform_waitsNoLongerThanTheSound()
    {
        if (QMediaDevices::audioOutputs().isEmpty())
            QSKIP("no audio output on this machine");
        QtPlatform platform;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(platform.playSound(kWrongSoundResource));
        QVERIFY2(timer.elapsed() < 580 + 1000, qPrintable(QString::number(timer.elapsed())));
    }
};

LK_TEST_MAIN(SoundTest)
#include "SoundTest.moc"
