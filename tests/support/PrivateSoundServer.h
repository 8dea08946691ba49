#pragma once

#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <csignal>

#include <sys/prctl.h>

// A PulseAudio server of our own with a null sink, reached through PULSE_SERVER, and what
// its sink plays, recorded from the sink's monitor by parec (16-bit mono, kRate). Linux
// only; for the sound and speech tests and the speech benches.
class PrivateSoundServer {
public:
    static constexpr int kRate = 22050;

    static QString program() { return QStandardPaths::findExecutable(QStringLiteral("pulseaudio")); }

    // False when there is no pulseaudio here or it did not come up (or, with record, the
    // recording did not).
    bool start(bool record = true)
    {
        const QString socket = NewTestDirectory() + QStringLiteral("/pulse-native");
        if (program().isEmpty())
            return false;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(TestRoot()));
        // Both end with us, also when a test or a bench ends without destroying us.
        for (QProcess* process : {&m_server, &m_recorder})
            process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_server.start(program(),
                       {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                        QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
                        QStringLiteral("-Lmodule-null-sink"),
                        QStringLiteral("-Lmodule-native-protocol-unix "
                                       "auth-anonymous=1 socket=") +
                            socket});
        qputenv("PULSE_SERVER", QFile::encodeName(QStringLiteral("unix:") + socket));
        if (!QTest::qWaitFor([&] { return QFile::exists(socket); }, 10000))
            return false;
        if (!record)
            return true;
        m_recorder.start(QStringLiteral("parec"),
                         QStringLiteral("-d null.monitor --raw --format=s16ne --channels=1 "
                                        "--rate=22050 --latency-msec=5")
                             .split(QLatin1Char(' ')));
        // An idle null sink first plays out a long block of silence; the recording keeps
        // it short from then on.
        return QTest::qWaitFor([&] { return m_recorder.bytesAvailable() > 0; }, 5000);
    }

    ~PrivateSoundServer()
    {
        for (QProcess* process : {&m_recorder, &m_server}) {
            process->kill();
            process->waitForFinished();
        }
    }

    qint64 processId() const { return m_server.processId(); }

    // What the sink played since the last call.
    QByteArray played() { return m_recorder.readAll(); }

private:
    QProcess m_server;
    QProcess m_recorder;
};
