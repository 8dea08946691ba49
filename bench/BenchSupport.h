#pragma once

#include <benchmark/benchmark.h>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

// The process's peak memory so far as the counter "peak_MB" (Unix only).
inline void ReportPeak(benchmark::State& state)
{
#ifdef Q_OS_UNIX
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = double(usage.ru_maxrss) / 1024.0;
#else
    (void)state;
#endif
}
