#include "Screenshots.h"

#include "support/TestSupport.h"
#include "tools/Drucker.h"

#include <QDir>
#include <QLineEdit>

namespace {

const ShotRegistrar shots("Drucker", [](const QString& dir) {
    // A name relative to the working directory, so the picture is the same on every run.
    const QString before = QDir::currentPath();
    QDir::setCurrent(NewTestDirectory());
    WriteVocabularyFile(QStringLiteral("."), QStringLiteral("englisch.vok"),
                        NumberedEntries(120, QStringLiteral("Lektion 1")));
    TForm12 form;
    form.show();
    form.Edit1->setText(QStringLiteral("englisch.vok"));
    SaveShot(&form, dir, QStringLiteral("Drucker-ready.png"));
    form.Button2Click();
    SaveShot(&form, dir, QStringLiteral("Drucker-done.png"));
    QDir::setCurrent(before);
});

}  // namespace
