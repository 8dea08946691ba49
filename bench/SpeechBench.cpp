#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "speech/SpeechEngine.h"

#ifdef Q_OS_LINUX
#include "support/PrivateSoundServer.h"
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>
#include <vector>

// From speak() to the first samples at the sound server (a private PulseAudio server with a
// null sink), twenty words in German and English: the median, and (idle only) the median
// until the sink has played the first audible sample. Idle: each word after the last has ended;
// cutting in: each word while the one before is still being read. speak_us is what the
// call itself costs the user-interface thread.

#ifdef Q_OS_LINUX
namespace {

using Clock = std::chrono::steady_clock;

const char* const kWords[][2] = {
    {"Haus", "de"},       {"house", "en"},      {"Baum", "de"},          {"tree", "en"},
    {"laufen", "de"},     {"to run", "en"},     {"schnell", "de"},       {"quick", "en"},
    {"Wasser", "de"},     {"water", "en"},      {"Schule", "de"},        {"school", "en"},
    {"Freund", "de"},     {"friend", "en"},     {"Fenster", "de"},       {"window", "en"},
    {"Wörterbuch", "de"}, {"dictionary", "en"}, {"Schmetterling", "de"}, {"butterfly", "en"}};

double Median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MsSince(Clock::time_point start, Clock::time_point end)
{
    return std::chrono::duration<double, std::milli>(end - start).count();
}

void SpeakWords(benchmark::State& state, bool cuttingIn)
{
    static PrivateSoundServer* server = [] {
        auto* s = new PrivateSoundServer;  // lives until the end of the program
        return s->start() ? s : nullptr;
    }();
    SpeechEngine engine;
    if (!server || !engine.hasEngine()) {
        state.SkipWithError("no pulseaudio or no eSpeak NG here");
        return;
    }
    std::atomic<Clock::rep> startedAt{0};
    QObject::connect(
        &engine, &SpeechEngine::started, &engine,
        [&] { startedAt = Clock::now().time_since_epoch().count(); }, Qt::DirectConnection);
    const auto waitFor = [](const auto& done) {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    };
    std::vector<double> toServer, toSink, call;
    int word = 0;
    for (auto _ : state) {
        const auto* entry = kWords[word++ % std::size(kWords)];
        if (cuttingIn) {
            engine.speak(QStringLiteral("Ein langer Satz, der noch gelesen wird."),
                         QString::fromLatin1(entry[1]));
            waitFor([&] { return startedAt != 0; });
            QThread::msleep(200);
        } else {
            waitFor([&] { return !engine.isSpeaking(); });
            QThread::msleep(100);  // the sink plays out the last word's tail
        }
        server->played();
        startedAt = 0;
        std::optional<Clock::time_point> heard;
        const auto start = Clock::now();
        engine.speak(QString::fromUtf8(entry[0]), QString::fromLatin1(entry[1]));
        call.push_back(MsSince(start, Clock::now()) * 1000);
        waitFor([&] {
            const QByteArray bytes = server->played();
            const auto* samples = reinterpret_cast<const qint16*>(bytes.constData());
            if (std::any_of(samples, samples + bytes.size() / 2,
                            [](qint16 s) { return std::abs(s) > 1000; }))
                heard = heard.value_or(Clock::now());
            return startedAt != 0 && heard;
        });
        const Clock::time_point started{Clock::duration(startedAt.load())};
        const double ms = MsSince(start, started);
        state.SetIterationTime(ms / 1000);
        toServer.push_back(ms);
        if (heard && !cuttingIn)
            toSink.push_back(MsSince(start, *heard));
    }
    waitFor([&] { return !engine.isSpeaking(); });
    state.counters["median_ms"] = Median(toServer);
    state.counters["heard_median_ms"] = Median(toSink);
    state.counters["speak_us"] = Median(call);
}

void BM_SpeakIdle(benchmark::State& state)
{
    SpeakWords(state, false);
}

void BM_SpeakCuttingIn(benchmark::State& state)
{
    SpeakWords(state, true);
}

}  // namespace

BENCHMARK(BM_SpeakIdle)->Unit(benchmark::kMillisecond)->Iterations(20)->UseManualTime();
BENCHMARK(BM_SpeakCuttingIn)->Unit(benchmark::kMillisecond)->Iterations(20)->UseManualTime();
#endif
