#include "support/FakePlatform.h"
#include "support/TestSupport.h"

#include <QApplication>

#include <benchmark/benchmark.h>

// Windows are measured offscreen, with the fake platform answering every dialog.
int main(int argc, char* argv[])
{
    PrepareTestEnvironment();
    QApplication app(argc, argv);
    FakePlatform platform;
    platform.programDir = NewTestDirectory();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
