#include "Screenshots.h"

#include "support/TestSupport.h"
#include "tools/Drucker.h"

#include <QFile>
#include <QLineEdit>

namespace {

const ShotRegistrar shots("Drucker", [](const QString& dir) {
    const QString path = WriteVocabularyFile(NewTestDirectory(), QStringLiteral("englisch.vok"),
                                             NumberedEntries(120, QStringLiteral("Lektion 1")));
    TForm12 form;
    form.show();
    form.Edit1->setText(path);
    SaveShot(&form, dir, QStringLiteral("Drucker-ready.png"));
    form.Button2Click();
    SaveShot(&form, dir, QStringLiteral("Drucker-done.png"));
});

}  // namespace
