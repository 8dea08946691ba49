#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include "support/TestSupport.h"
#include "tools/ZipBuilder.h"

// Packing and unpacking a 100 MB text file at level 5, each iteration timed against
// Info-ZIP's zip and unzip on the same file right after it; the longest gap between two
// progress steps; how long a cancel request takes to end the job.

namespace {

constexpr qsizetype kFileSize = 100 * 1000 * 1000;

struct Files {
    QString text;          // the 100 MB file
    QString ours;          // our archive of it, beside it
    QString theirs;        // Info-ZIP's archive of it, in a directory of its own
    QString unpackOurs;    // a directory holding a copy of Info-ZIP's archive
    QString unpackTheirs;  // where unzip unpacks to
};

const Files& TestFiles()
{
    static const Files files = [] {
        Files f;
        const QString dir = NewTestDirectory();
        f.text = dir + QStringLiteral("/wortschatz.vok");
        f.ours = dir + QStringLiteral("/wortschatz.zip");
        f.theirs = NewTestDirectory() + QStringLiteral("/wortschatz.zip");
        f.unpackOurs = NewTestDirectory();
        f.unpackTheirs = NewTestDirectory();
        // Vocabulary-like text: words, lesson numbers and line ends in a varying order.
        static const char* const words[] = {"Haus",    "house",   "Baum",   "tree",   "laufen",
                                            "to run",  "schnell", "quick",  "Wasser", "water",
                                            "Lektion", "Schule",  "school", "Freund", "friend"};
        QByteArray text;
        text.reserve(kFileSize + 64);
        quint32 state = 4711;
        while (text.size() < kFileSize) {
            state = state * 1103515245u + 12345u;
            text += words[(state >> 16) % 15];
            text += (state >> 8) % 7 == 0 ? QByteArray::number((state >> 4) % 100) + "\r\n"
                                          : QByteArray(" ");
        }
        text.truncate(kFileSize);
        WriteBytes(f.text, text);
        return f;
    }();
    return files;
}

// Runs a program and returns its time in seconds (negative when it failed).
double RunProcess(const QString& program, const QStringList& arguments)
{
    QElapsedTimer clock;
    clock.start();
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return -1;
    return double(clock.nsecsElapsed()) / 1e9;
}

// A component that notes the longest time between two progress steps.
struct TimedBuilder {
    TZipBuilder zb;
    QElapsedTimer sinceStep;
    double longestStepMs = 0;
    int steps = 0;
    int stepsOver100Ms = 0;
    TimedBuilder()
    {
        zb.AddCompLevel = 5;
        zb.ExtrOptions = ExtrOption::ExtrOverWrite;
        zb.OnProgress = [this](ProgressType kind, const QString&, qint64) {
            if (kind == ProgressType::TotalSize2Process)
                sinceStep.start();
            if (kind != ProgressType::ProgressUpdate)
                return;
            const double ms = double(sinceStep.nsecsElapsed()) / 1e6;
            longestStepMs = std::max(longestStepMs, ms);
            ++steps;
            stepsOver100Ms += ms > 100 ? 1 : 0;
            sinceStep.start();
        };
        zb.OnMessage = [](int, const QString& text) { qWarning("%s", qPrintable(text)); };
    }
    double Run(bool pack)
    {
        QElapsedTimer clock;
        clock.start();
        pack ? zb.Add() : zb.Extract();
        return double(clock.nsecsElapsed()) / 1e9;
    }
};

void Report(benchmark::State& state, double ours, double theirs, const TimedBuilder& b)
{
    const double n = double(state.iterations());
    state.counters["ours_s"] = ours / n;
    state.counters["infozip_s"] = theirs / n;
    state.counters["ratio"] = ours / theirs;
    state.counters["longest_step_ms"] = b.longestStepMs;
    state.counters["steps"] = b.steps;
    state.counters["steps_over_100ms"] = b.stepsOver100Ms;
}

void BM_Pack100MBLevel5(benchmark::State& state)
{
    const Files& f = TestFiles();
    TimedBuilder b;
    double ours = 0, theirs = 0;
    for (auto _ : state) {
        b.zb.SetFileName(f.ours);
        b.zb.FSpecArgs = {f.text};
        const double t = b.Run(true);
        QFile::remove(f.theirs);  // zip adds to an existing archive
        const double z = RunProcess(
            QStringLiteral("/usr/bin/zip"),
            {QStringLiteral("-5"), QStringLiteral("-q"), QStringLiteral("-j"), f.theirs, f.text});
        if (z < 0 || !QFile::exists(f.ours))
            return state.SkipWithError("packing failed");
        ours += t;
        theirs += z;
        state.SetIterationTime(t);
    }
    Report(state, ours, theirs, b);
}

void BM_Unpack100MB(benchmark::State& state)
{
    const Files& f = TestFiles();
    const QString archive = f.unpackOurs + QStringLiteral("/wortschatz.zip");
    if (!QFile::exists(archive) &&
        (RunProcess(QStringLiteral("/usr/bin/zip"), {QStringLiteral("-5"), QStringLiteral("-q"),
                                                     QStringLiteral("-j"), archive, f.text}) < 0))
        return state.SkipWithError("no archive to unpack");
    TimedBuilder b;
    double ours = 0, theirs = 0;
    for (auto _ : state) {
        b.zb.SetFileName(archive);
        const double t = b.Run(false);
        const double z = RunProcess(QStringLiteral("/usr/bin/unzip"),
                                    {QStringLiteral("-o"), QStringLiteral("-qq"), archive,
                                     QStringLiteral("-d"), f.unpackTheirs});
        if (z < 0 ||
            QFileInfo(f.unpackOurs + QStringLiteral("/wortschatz.vok")).size() != kFileSize)
            return state.SkipWithError("unpacking failed");
        ours += t;
        theirs += z;
        state.SetIterationTime(t);
    }
    Report(state, ours, theirs, b);
}

// A cancel request arriving 300 ms into the job, as a click would, through the event
// queue; the time reported is from the request until Add or Extract has returned.
void BM_CancelLatency(benchmark::State& state)
{
    const bool pack = state.range(0) == 1;
    const Files& f = TestFiles();
    const QString archive = f.unpackOurs + QStringLiteral("/wortschatz.zip");
    if (!pack && !QFile::exists(archive))
        return state.SkipWithError("no archive to unpack");
    TimedBuilder b;
    double longest = 0;
    for (auto _ : state) {
        b.zb.SetFileName(pack ? f.ours : archive);
        b.zb.FSpecArgs = pack ? QStringList{f.text} : QStringList();
        QTimer::singleShot(300, [&b] { b.zb.Cancel = true; });
        const double t = b.Run(pack);
        longest = std::max(longest, t * 1000 - 300);
        state.SetIterationTime(t);
    }
    state.counters["cancel_ms_max"] = longest;
}

}  // namespace

BENCHMARK(BM_Pack100MBLevel5)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Unpack100MB)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CancelLatency)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
