#pragma once

#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

// A PulseAudio server of our own with a null sink, reached through PULSE_SERVER, and what
// its sink plays, recorded from the sink's monitor by parec (16-bit mono, kRate). Linux
// only; for the speech tests and the speech bench.
class PrivateSoundServer {
public:
    static constexpr int kRate = 22050;

    // False when there is no pulseaudio here or it did not come up.
    bool start()
    {
        const QString server = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        const QString socket = NewTestDirectory() + QStringLiteral("/pulse-native");
        if (server.isEmpty())
            return false;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(TestRoot()));
        m_server.start(server,
                       {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                        QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
                        QStringLiteral("-Lmodule-null-sink"),
                        QStringLiteral("-Lmodule-native-protocol-unix "
                                       "auth-anonymous=1 socket=") +
                            socket});
        qputenv("PULSE_SERVER", QFile::encodeName(QStringLiteral("unix:") + socket));
        if (!QTest::qWaitFor([&] { return QFile::exists(socket); }, 10000))
            return false;
        m_recorder.start(QStringLiteral("parec"),
                         QStringLiteral("-d null.monitor --raw --format=s16ne --channels=1 "
                                        "--rate=22050 --latency-msec=5")
                             .split(QLatin1Char(' ')));
        // An idle null sink first plays out a long block of silence; the recording keeps
        // it short from then on.
        return QTest::qWaitFor([&] { return m_recorder.bytesAvailable() > 0; }, 5000);
    }

    // What the sink played since the last call.
    QByteArray played() { return m_recorder.readAll(); }

private:
    QProcess m_server;
    QProcess m_recorder;
};
