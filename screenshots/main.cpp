#include "Screenshots.h"

#include "support/FakePlatform.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QWidget>

#include <cstdio>
#include <map>
#include <string>

namespace {

std::multimap<std::string, ShotFunction>& Registry()
{
    static std::multimap<std::string, ShotFunction> registry;
    return registry;
}

}  // namespace

ShotRegistrar::ShotRegistrar(const char* unit, ShotFunction function)
{
    Registry().emplace(unit, std::move(function));
}

void SaveShot(QWidget* window, const QString& outputDirectory, const QString& fileName)
{
    window->show();
    QTest::qWait(50);
    const QString path = outputDirectory + QLatin1Char('/') + fileName;
    if (!window->grab().save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}

int main(int argc, char* argv[])
{
    PrepareTestEnvironment();
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    FakePlatform platform;  // no real dialogs while rendering
    platform.programDir = NewTestDirectory();
    for (const auto& [unit, shot] : Registry())
        shot(out);
    return 0;
}
