// The learning window's answer checking beyond exact comparison: two ticks in "O&ptionen"
// and the marked comparison below the right answer.

#include "checking/AnswerComparison.h"
#include "learn/Lernprogramm.h"

#include "app/SettingsStore.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QVBoxLayout>

void TForm5::BuildCheckingOptions()
{
    const auto addTick = [this](const char* name, const QString& text, bool checked,
                                void (*write)(bool)) {
        auto* tick = new QAction(text, this);
        tick->setObjectName(QLatin1String(name));
        tick->setCheckable(true);
        tick->setChecked(checked);
        // Written the moment it changes, like the other ticks of the menu.
        connect(tick, &QAction::triggered, this, [write](bool on) { write(on); });
        Optionen1->addAction(tick);
        return tick;
    };
    Optionen1->addSeparator();
    UmlautSpellings1 =
        addTick("UmlautSpellings1", QStringLiteral("&Umlaute auch als ae, oe, ue, ss"),
                ReadUmlautSpellings(), WriteUmlautSpellings);
    AnyMeaning1 = addTick("AnyMeaning1", QStringLiteral("&Mehrere Bedeutungen: eine genügt"),
                          ReadAnyMeaning(), WriteAnyMeaning);

    // Below the right answer; it takes the room the feedback frame has left, and a long
    // comparison is cut there on screen but read whole by a screen reader.
    Comparison = new AnswerComparison(Panel2);
    Comparison->setObjectName(QStringLiteral("Comparison"));
    Comparison->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Comparison->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    Comparison->hide();
    auto* feedback = static_cast<QVBoxLayout*>(Panel2->layout());
    const int below = feedback->indexOf(Label24) + 1;
    feedback->insertWidget(below, Comparison, 1);
    feedback->setStretch(below + 1, 0);  // the stretch that held the buttons at the bottom
}

AnswerOptions TForm5::CheckingOptions() const
{
    // The ticks as they are now: they may change during a run.
    return {GroundKleinschreibungignorieren1->isChecked(), UmlautSpellings1->isChecked(),
            AnyMeaning1->isChecked()};
}

void TForm5::ShowAnswerComparison(bool right)
{
    if (right) {
        Comparison->hide();
        return;
    }
    // The answers in the font of the right answer; the captions keep the window's.
    Comparison->setAnswerFontFamily(Label24->font().families().value(0));
    Comparison->showDifference(MarkDifference(Edit1->text(), expectedAnswer_, CheckingOptions()));
    Comparison->show();
}
