#include <QDir>
#include <QLineEdit>
#include <QScrollBar>

#include "Screenshots.h"
#include "app/Fonts.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "vocab/Editor.h"

namespace {

const ShotRegistrar shots("Editor", [](const QString& dir) {
    InstallFontSubstitutions();
    TForm2 editor;
    editor.ResetEditor();
    SaveShot(&editor, dir, QStringLiteral("Editor-empty.png"));

    QList<VocabularyEntry> entries = NumberedEntries(12, QStringLiteral("Lektion 3: Im Haus"));
    entries[6] = {QStringLiteral("Lektion 3: Im Haus"), QStringLiteral("die Küche"),
                  QStringLiteral("the kitchen"), QStringLiteral("the galley"),
                  QStringLiteral("auch: kitchenette (kleine Küche)")};
    // A relative path keeps the picture the same from run to run.
    const QString oldCwd = QDir::currentPath();
    QDir::setCurrent(NewTestDirectory());
    QDir().mkpath(QStringLiteral("Vokabeln"));
    const QString path =
        WriteVocabularyFile(QStringLiteral("Vokabeln"), QStringLiteral("englisch.vok"), entries);
    auto* platform = dynamic_cast<FakePlatform*>(&Platform::instance());
    if (platform)
        platform->fileAnswers << path;
    editor.OeffnenClick();
    editor.ScrollBar1->setValue(7);
    editor.Edit6->setText(QStringLiteral("2"));
    editor.Edit3->setFocus();
    SaveShot(&editor, dir, QStringLiteral("Editor-entry.png"));
    editor.ResetEditor();
    QDir::setCurrent(oldCwd);
});

}  // namespace
