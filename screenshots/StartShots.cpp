#include "Screenshots.h"

#include "app/Forms.h"
#include "app/Start.h"

namespace {

const ShotRegistrar shots("Start", [](const QString& dir) {
    TForm1 withStrip({QStringLiteral("/home/anna/Vokabeln/englisch-grundwortschatz.vok")});
    SaveShot(&withStrip, dir, QStringLiteral("Start-strip.png"));
    TForm1 compact;
    SaveShot(&compact, dir, QStringLiteral("Start-compact.png"));
});

}  // namespace
