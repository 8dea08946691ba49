#include "Screenshots.h"

#include "app/Widgets.h"

#include "support/FakePlatform.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFont>
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

// Added before ".png" to every name, so that the sets of two font sizes sit side by side.
QString g_suffix;

}  // namespace

ShotRegistrar::ShotRegistrar(const char* unit, ShotFunction function)
{
    Registry().emplace(unit, std::move(function));
}

void SaveShot(QWidget* window, const QString& outputDirectory, const QString& fileName)
{
    window->show();
    QTest::qWait(50);
    QString name = fileName;
    name.insert(name.lastIndexOf(QLatin1Char('.')), g_suffix);
    const QString path = outputDirectory + QLatin1Char('/') + name;
    if (!window->grab().save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}

// lernkompass_screenshots [directory [system font size in points [suffix of the names]]]
int main(int argc, char* argv[])
{
    PrepareTestEnvironment();
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    if (argc > 2) {
        // As a desktop whose font setting says this size.
        QFont font = QApplication::font();
        font.setPointSize(QString::fromLocal8Bit(argv[2]).toInt());
        QApplication::setFont(font);
    }
    if (argc > 3)
        g_suffix = QString::fromLocal8Bit(argv[3]);
    QDir().mkpath(out);
    InstallButtonKeys();    // as the program does: no button shows itself as the default
    FakePlatform platform;  // no real dialogs while rendering
    platform.programDir = NewTestDirectory();
    for (const auto& [unit, shot] : Registry())
        shot(out);
    return 0;
}
