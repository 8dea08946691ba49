#include "app/Sound.h"

#include "app/SettingsStore.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QAudioDevice>
#include <QBuffer>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QTest>
#include <QtEndian>

#include <cmath>

namespace {

// The samples of a 16-bit mono WAVE file with the canonical 44-byte header.
QList<qint16> Samples(const QByteArray& wave)
{
    QList<qint16> samples;
    for (qsizetype pos = 44; pos + 2 <= wave.size(); pos += 2)
        samples << qFromLittleEndian<qint16>(wave.constData() + pos);
    return samples;
}

// Zero crossings per second, halved: about the fundamental frequency of a soft tone.
double Pitch(const QList<qint16>& samples, double from, double to)
{
    const int first = static_cast<int>(from * 44100);
    const int last = static_cast<int>(to * 44100);
    int crossings = 0;
    for (int i = first; i < last; ++i)
        crossings += (samples[i] < 0) != (samples[i + 1] < 0);
    return crossings / (to - from) / 2;
}

QByteArray Le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray Le16(quint16 v)
{
    QByteArray b(2, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray FormatChunk(quint16 format, quint16 channels, quint32 rate, quint16 bits)
{
    const quint16 align = static_cast<quint16>(channels * bits / 8);
    return "fmt " + Le32(16) + Le16(format) + Le16(channels) + Le32(rate) + Le32(rate * align) +
           Le16(align) + Le16(bits);
}

QByteArray Riff(const QByteArray& chunks)
{
    return "RIFF" + Le32(static_cast<quint32>(4 + chunks.size())) + "WAVE" + chunks;
}

QByteArray DataChunk(int bytes)
{
    return "data" + Le32(static_cast<quint32>(bytes)) + QByteArray(bytes, '\0');
}

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
    void initTestCase();
    void builtInSound_data();
    void builtInSound();
    void readWaveInfo_data();
    void readWaveInfo();
    void answerSound_data();
    void answerSound();
    void qtPlatform_withoutDevice_returnsAtOnce();
    void qtPlatform_refusesWhatIsNoSound_data();
    void qtPlatform_refusesWhatIsNoSound();
    void qtPlatform_waitsNoLongerThanTheSound();
};

void SoundTest::initTestCase()
{
    QVERIFY(WriteVersionCreatingStore());
}

void SoundTest::builtInSound_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<bool>("rising");
    QTest::newRow("right") << kRightSoundResource << 0.73 << true;
    QTest::newRow("wrong") << kWrongSoundResource << 0.58 << false;
}

// 16-bit mono PCM at 44,100 samples/s of the given length, starting and ending in silence
// (no click), loud enough but not clipped, and rising or falling in pitch.
void SoundTest::builtInSound()
{
    QFETCH(QString, resource);
    QFETCH(double, seconds);
    QFile file(resource);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray wave = file.readAll();
    QVERIFY(wave.size() > 44);
    auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wave.constData() + at); };
    auto u16 = [&](int at) { return qFromLittleEndian<quint16>(wave.constData() + at); };

    QCOMPARE(wave.left(4), QByteArray("RIFF"));
    QCOMPARE(u32(4), quint32(wave.size() - 8));
    QCOMPARE(wave.mid(8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(u32(16), 16u);     // format chunk size
    QCOMPARE(u16(20), 1);       // PCM
    QCOMPARE(u16(22), 1);       // mono
    QCOMPARE(u32(24), 44100u);  // samples per second
    QCOMPARE(u32(28), 88200u);  // bytes per second
    QCOMPARE(u16(32), 2);       // bytes per frame
    QCOMPARE(u16(34), 16);      // bits per sample
    QCOMPARE(wave.mid(36, 4), QByteArray("data"));
    QCOMPARE(u32(40), quint32(wave.size() - 44));

    const QList<qint16> samples = Samples(wave);
    QVERIFY(std::abs(samples.size() - seconds * 44100) <= 1.0);
    QVERIFY(std::abs(samples.first()) < 64);
    QVERIFY(std::abs(samples.last()) < 64);
    int peak = 0;
    for (qint16 s : samples)
        peak = std::max(peak, std::abs(int(s)));
    QVERIFY2(peak > 8000 && peak < 30000, qPrintable(QString::number(peak)));

    const double early = Pitch(samples, 0.02, 0.10);
    const double late = Pitch(samples, seconds - 0.30, seconds - 0.15);
    QFETCH(bool, rising);
    QVERIFY2(rising ? late > early * 1.15 : late < early / 1.15,
             qPrintable(QStringLiteral("%1 Hz -> %2 Hz").arg(early).arg(late)));

    const auto info = ReadWaveInfo(resource);
    QVERIFY(info);
    QVERIFY(std::abs(info->durationMs() - seconds * 1000) <= 1.0);
}

void SoundTest::readWaveInfo_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("frames");  // -1: refused

    const QByteArray pcm16 = FormatChunk(1, 1, 44100, 16);
    QTest::newRow("plain") << Riff(pcm16 + DataChunk(200)) << qint64(100);
    QTest::newRow("stereo 24 bit") << Riff(FormatChunk(1, 2, 48000, 24) + DataChunk(60))
                                   << qint64(10);
    QTest::newRow("odd chunk before fmt is padded")
        << Riff("LIST" + Le32(3) + "abc" + QByteArray(1, '\0') + pcm16 + DataChunk(20))
        << qint64(10);
    QTest::newRow("data claims more than the file holds")
        << Riff(pcm16 + "data" + Le32(100000) + QByteArray(50, '\0')) << qint64(25);
    QTest::newRow("not RIFF") << QByteArray("RIFX") + Riff(pcm16).mid(4) << qint64(-1);
    QTest::newRow("header cut short") << Riff(pcm16 + DataChunk(20)).left(30) << qint64(-1);
    QTest::newRow("format chunk too small")
        << Riff("fmt " + Le32(8) + QByteArray(8, '\0') + DataChunk(20)) << qint64(-1);
    QTest::newRow("no data chunk") << Riff(pcm16) << qint64(-1);
    QTest::newRow("no samples") << Riff(pcm16 + DataChunk(0)) << qint64(-1);
    QTest::newRow("compressed") << Riff(FormatChunk(2, 1, 44100, 4) + DataChunk(20))
                                << qint64(-1);
    QTest::newRow("empty") << QByteArray() << qint64(-1);
}

void SoundTest::readWaveInfo()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, frames);
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    const auto info = ReadWaveInfo(buffer);
    QCOMPARE(info ? info->frames : -1, frames);
}

void SoundTest::answerSound_data()
{
    QTest::addColumn<bool>("right");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<bool>("playable");
    QTest::addColumn<QStringList>("played");
    QTest::addColumn<int>("beeps");

    const QString file = QStringLiteral("/home/klang/tusch.wav");
    QTest::newRow("right, built in") << true << "default" << true
                                     << QStringList{kRightSoundResource} << 0;
    QTest::newRow("wrong, built in") << false << "default" << true
                                     << QStringList{kWrongSoundResource} << 0;
    QTest::newRow("right, none") << true << "" << true << QStringList{} << 0;
    QTest::newRow("wrong, a file") << false << file << true << QStringList{file} << 0;
    QTest::newRow("a file that cannot be played beeps")
        << true << file << false << QStringList{file} << 1;
    QTest::newRow("built in without output beeps")
        << false << "default" << false << QStringList{kWrongSoundResource} << 1;
}

// Each sound reads its own setting, plays under the hourglass and restores the cursor.
void SoundTest::answerSound()
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

void SoundTest::qtPlatform_withoutDevice_returnsAtOnce()
{
    if (!QMediaDevices::audioOutputs().isEmpty())
        QSKIP("this machine has an audio output");
    QtPlatform platform;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!platform.playSound(kRightSoundResource));
    QVERIFY(!platform.playSound(QStringLiteral("qrc") + kWrongSoundResource));
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
}

void SoundTest::qtPlatform_refusesWhatIsNoSound_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");  // null: no file
    QTest::newRow("missing file") << "fehlt.wav" << QByteArray();
    QTest::newRow("text named .wav") << "text.wav" << QByteArray("kein Klang");
    QTest::newRow("header only")
        << "leer.wav" << Riff(FormatChunk(1, 1, 44100, 16) + DataChunk(0));
}

void SoundTest::qtPlatform_refusesWhatIsNoSound()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    const QString path = NewTestDirectory() + QLatin1Char('/') + name;
    if (!bytes.isNull())
        QVERIFY(WriteBytes(path, bytes));
    QtPlatform platform;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!platform.playSound(path));
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
}

// With an output device the call returns when the sound is over, at most a short margin
// after its length.
void SoundTest::qtPlatform_waitsNoLongerThanTheSound()
{
    if (QMediaDevices::audioOutputs().isEmpty())
        QSKIP("no audio output on this machine");
    QtPlatform platform;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(platform.playSound(kWrongSoundResource));
    QVERIFY2(timer.elapsed() < 580 + 1000, qPrintable(QString::number(timer.elapsed())));
}

LK_TEST_MAIN(SoundTest)
#include "SoundTest.moc"
