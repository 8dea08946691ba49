// Reading aloud in the learning window: the question when it appears, the right answer
// after a wrong one (after the sound), and the question again on a key.

#include "learn/Lernprogramm.h"
#include "speech/Languages.h"
#include "speech/ReadAloud.h"

#include "app/Platform.h"
#include "app/SettingsStore.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

void TForm5::BuildSpeechOptions()
{
    Optionen1->addSeparator();
    ReadAloud1 = new QAction(QStringLiteral("&Vorlesen"), this);
    ReadAloud1->setObjectName(QStringLiteral("ReadAloud1"));
    ReadAloud1->setCheckable(true);
    ReadAloud1->setChecked(ReadReadAloud());
    ForeignLanguage1 = new QAction(QStringLiteral("Sprache der &Fremdsprache ..."), this);
    ForeignLanguage1->setObjectName(QStringLiteral("ForeignLanguage1"));
    // Ctrl+R, because the design gives the function keys of this window other work or
    // leaves them to the desktop.
    SpeakQuestion1 = new QAction(QStringLiteral("Frage vor&lesen"), this);
    SpeakQuestion1->setObjectName(QStringLiteral("SpeakQuestion1"));
    SpeakQuestion1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    Optionen1->addActions({ReadAloud1, ForeignLanguage1, SpeakQuestion1});

    connect(ReadAloud1, &QAction::triggered, this, [](bool on) {
        WriteReadAloud(on);
        if (!on)
            Platform::instance().stopSpeaking();
    });
    connect(ForeignLanguage1, &QAction::triggered, this,
            [this] { ChooseForeignLanguage(this, learningFile_.path(), FileTitle()); });
    connect(SpeakQuestion1, &QAction::triggered, this, [this] { SpeakQuestion(true); });
    // The language belongs to a file; the question to a run.
    connect(Optionen1, &QMenu::aboutToShow, this, [this] {
        ForeignLanguage1->setEnabled(learningFile_.isOpen());
        SpeakQuestion1->setEnabled(run_.isRunning());
    });
}

QString TForm5::FileTitle()
{
    const auto header = learningFile_.readHeader();
    return header ? header->title : QString();
}

QString TForm5::SpeechLanguage(bool german)
{
    return german ? kGermanLanguage : ForeignLanguageOf(learningFile_.path(), FileTitle());
}

void TForm5::SpeakQuestion(bool always)
{
    if (!run_.isRunning() || !(always || ReadAloud1->isChecked()))
        return;
    ReadAloud(this, {{Label11->text(), SpeechLanguage(GermanToForeign())}});
}

void TForm5::SpeakAfterVerdict(bool right)
{
    // The sound of the verdict has been heard by now.
    if (!right && ReadAloud1->isChecked())
        ReadAloud(this, {{expectedAnswer_, SpeechLanguage(!GermanToForeign())}});
}
