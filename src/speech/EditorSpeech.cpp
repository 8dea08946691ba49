// Reading the current entry aloud in the editor, to check a new entry by ear.

#include "speech/Languages.h"
#include "speech/ReadAloud.h"
#include "vocab/Editor.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

void TForm2::BuildSpeechItem()
{
    EditorFunktionen1->addSeparator();
    // Ctrl+R: every function key of the editor already has its work.
    Eintragvorlesen1 = new QAction(QStringLiteral("Eintrag v&orlesen"), this);
    Eintragvorlesen1->setObjectName(QStringLiteral("Eintragvorlesen1"));
    Eintragvorlesen1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    EditorFunktionen1->addAction(Eintragvorlesen1);
    connect(Eintragvorlesen1, &QAction::triggered, this, &TForm2::SpeakEntry);
}

void TForm2::SpeakEntry()
{
    if (!HasDocument())
        return;
    const auto header = file_.readHeader();
    const QString foreign = ForeignLanguageOf(file_.path(), header ? header->title : QString());
    ReadAloud(this, {{Edit2->text(), kGermanLanguage}, {Edit3->text(), foreign}});
}
