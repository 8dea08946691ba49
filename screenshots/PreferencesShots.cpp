#include "Screenshots.h"

#include "app/Preferences.h"
#include "app/SettingsStore.h"

#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

namespace {

const ShotRegistrar shots("Preferences", [](const QString& dir) {
    WriteVersionCreatingStore();
    WriteRightSound(QStringLiteral("default"));
    WriteWrongSound(QStringLiteral("/home/anna/Klänge/falsch.wav"));
    WriteFont(QStringLiteral("MS Sans Serif"));
    WriteFontField(1, 2);
    WriteFontField(1, 3);
    const char* const texts[] = {"é", "è", "ê", "à", "ç", "œ", "", "", "", "le, la, les", "", "…"};
    for (int k = 1; k <= TForm7::kShortcuts; ++k)
        WriteShortcut(QString::fromUtf8(texts[k - 1]), k);

    TForm7 form;
    QTimer::singleShot(0, &form, [&form, dir] {
        SaveShot(&form, dir, QStringLiteral("Preferences-sounds.png"));
        form.PageControl1->setCurrentWidget(form.TabSheet2);
        SaveShot(&form, dir, QStringLiteral("Preferences-font.png"));
        form.PageControl1->setCurrentWidget(form.TabSheet3);
        SaveShot(&form, dir, QStringLiteral("Preferences-shortcuts.png"));
        form.PageControl1->setCurrentWidget(form.ReviewSheet);
        SaveShot(&form, dir, QStringLiteral("Preferences-review.png"));
        form.Button6->click();
    });
    form.exec();
});

}  // namespace
