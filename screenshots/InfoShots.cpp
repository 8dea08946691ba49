#include "Screenshots.h"

#include "app/Info.h"

#include <QTimer>

namespace {

const ShotRegistrar shots("Info", [](const QString& dir) {
    TForm9 info;
    QTimer::singleShot(0, &info, [&] {
        SaveShot(&info, dir, QStringLiteral("Info-about.png"));
        info.reject();
    });
    info.exec();
});

}  // namespace
