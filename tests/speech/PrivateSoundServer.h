#pragma once

#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// A PulseAudio server of our own with a null sink, reached through PULSE_SERVER, and what
// its sink plays, read back from the sink's monitor all the time (which also keeps the
// idle null sink from answering a new stream late). Linux only; for the speech tests and
// the speech bench.
class PrivateSoundServer {
public:
    static constexpr int kRate = 22050;
    using Clock = std::chrono::steady_clock;

    ~PrivateSoundServer()
    {
        m_recording = false;
        if (m_thread.joinable())
            m_thread.join();
        if (m_stream)
            pa_simple_free(m_stream);
        m_process.kill();
        m_process.waitForFinished();
    }

    // False when there is no pulseaudio here or it did not come up.
    bool start()
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        const QString socket = NewTestDirectory() + QStringLiteral("/pulse-native");
        if (program.isEmpty())
            return false;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), TestRoot());
        m_process.setProcessEnvironment(env);
        m_process.start(program, QStringLiteral("-n --daemonize=no --exit-idle-time=-1 "
                                                "--use-pid-file=no -Lmodule-null-sink")
                                         .split(QLatin1Char(' '))
                                     << QStringLiteral("-Lmodule-native-protocol-unix "
                                                       "auth-anonymous=1 socket=") +
                                            socket);
        qputenv("PULSE_SERVER", QFile::encodeName(QStringLiteral("unix:") + socket));
        if (!QTest::qWaitFor([&] { return QFile::exists(socket); }, 10000))
            return false;
        // 16-bit mono at kRate, read in blocks of 5 ms.
        const pa_sample_spec format{PA_SAMPLE_S16NE, kRate, 1};
        const pa_buffer_attr buffer{uint32_t(-1), 0, 0, 0, uint32_t(kRate / 200 * 2)};
        int error = 0;
        m_stream = pa_simple_new(nullptr, "SpeechTest", PA_STREAM_RECORD, "null.monitor",
                                 "Mitschnitt", &format, nullptr, &buffer, &error);
        if (!m_stream)
            return false;
        m_recording = true;
        m_thread = std::thread([this] {
            short block[kRate / 200];
            int error = 0;
            while (m_recording && pa_simple_read(m_stream, block, sizeof block, &error) == 0) {
                const std::lock_guard lock(m_mutex);
                m_samples.insert(m_samples.end(), std::begin(block), std::end(block));
                if (!m_loudAt && std::any_of(std::begin(block), std::end(block), IsLoud))
                    m_loudAt = Clock::now();
            }
        });
        // An idle null sink first finishes a long block of silence.
        return QTest::qWaitFor([&] { return !samples().empty(); }, 5000);
    }

    // Forgets what was played so far.
    void mark()
    {
        const std::lock_guard lock(m_mutex);
        m_samples.clear();
        m_loudAt.reset();
    }
    // What was played since the mark.
    std::vector<short> samples()
    {
        const std::lock_guard lock(m_mutex);
        return m_samples;
    }
    // When the first audible sample since the mark came out of the sink.
    std::optional<Clock::time_point> loudAt()
    {
        const std::lock_guard lock(m_mutex);
        return m_loudAt;
    }
    static bool IsLoud(short sample) { return sample > 1000 || sample < -1000; }

private:
    QProcess m_process;
    pa_simple* m_stream = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_recording{false};
    std::mutex m_mutex;
    std::vector<short> m_samples;
    std::optional<Clock::time_point> m_loudAt;
};
