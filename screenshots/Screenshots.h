#pragma once

#include <QString>

#include <functional>

class QWidget;

// A picture generator: gets the output directory, builds a window in some state and
// saves it with SaveShot. Registered at static-initialisation time by a ShotRegistrar.
using ShotFunction = std::function<void(const QString& outputDirectory)>;

struct ShotRegistrar {
    ShotRegistrar(const char* unit, ShotFunction function);
};

// Shows the window offscreen, lets it lay out and saves it as <dir>/<fileName>.
void SaveShot(QWidget* window, const QString& outputDirectory, const QString& fileName);
