#include "Screenshots.h"

#include "app/Forms.h"
#include "learn/Lektionauswahl.h"
#include "learn/Lernprogramm.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTimer>

namespace {

QList<VocabularyEntry> SampleEntries()
{
    const auto e = [](const char* lesson, const char* german, const char* foreign,
                      const char* synonyms = "", const char* remark = "") {
        return VocabularyEntry{QString::fromUtf8(lesson), QString::fromUtf8(german),
                               QString::fromUtf8(foreign), QString::fromUtf8(synonyms),
                               QString::fromUtf8(remark)};
    };
    const char* greeting = "Lektion 1: Begrüßung";
    const char* family = "Lektion 2: Familie";
    const char* food = "Lektion 3: Essen und Trinken";
    const char* travel = "Lektion 4: Reisen";
    const char* verbs = "Unregelmäßige Verben";
    return {
        e(greeting, "Guten Morgen", "good morning"),
        e(greeting, "Auf Wiedersehen", "goodbye", "bye, see you", "beim Abschied"),
        e(greeting, "Wie geht es dir?", "how are you?"),
        e(greeting, "Danke", "thank you", "thanks"),
        e(family, "die Mutter", "mother", "mum"),
        e(family, "der Bruder", "brother"),
        e(family, "die Großeltern", "grandparents", "", "nur Mehrzahl"),
        e(family, "der Onkel", "uncle"),
        e(food, "das Brot", "bread"),
        e(food, "der Apfel", "apple"),
        e(food, "das Frühstück", "breakfast"),
        e(food, "trinken", "to drink"),
        e(travel, "der Bahnhof", "station", "railway station", "britisch auch: railway station"),
        e(travel, "die Fahrkarte", "ticket"),
        e(travel, "das Gepäck", "luggage", "baggage", "amerikanisch: baggage"),
        e(travel, "der Flughafen", "airport"),
        e(verbs, "gehen", "to go", "", "went, gone"),
        e(verbs, "sehen", "to see", "", "saw, seen"),
        e(verbs, "nehmen", "to take", "", "took, taken"),
        e(verbs, "schreiben", "to write", "", "wrote, written"),
    };
}

const ShotRegistrar shots("Lernprogramm", [](const QString& out) {
    // Opened by a name relative to the working directory, so that the picture shows a
    // short path.
    const QString oldCwd = QDir::currentPath();
    QDir::setCurrent(NewTestDirectory());
    QDir().mkpath(QStringLiteral("Vokabeln"));
    WriteVocabularyFile(QStringLiteral("Vokabeln"), QStringLiteral("englisch-grundwortschatz.vok"),
                        SampleEntries());

    TForm5 window;
    TForm6 lessons;
    Form5 = &window;
    Form6 = &lessons;

    window.ResetLearningWindow();
    SaveShot(&window, out, QStringLiteral("Lernprogramm-nofile.png"));
    window.OpenLearningFile(QStringLiteral("Vokabeln/englisch-grundwortschatz.vok"));
    SaveShot(&window, out, QStringLiteral("Lernprogramm-file.png"));
    // The menu with the due reviews and the Lernstand.
    window.Lernprogramm1->popup(window.mapToGlobal(QPoint(0, 0)));
    window.Lernprogramm1->setActiveAction(window.DueReviewsAction);
    SaveShot(window.Lernprogramm1, out, QStringLiteral("Lernprogramm-menu.png"));
    window.Lernprogramm1->hide();

    lessons.show();
    lessons.ListBox1->setCurrentRow(2);
    SaveShot(&lessons, out, QStringLiteral("Lektionauswahl-list.png"));
    lessons.hide();

    // A run over the travel lesson: one answer right, one missed, then the third question.
    QTimer::singleShot(0, &lessons, [&lessons] {
        lessons.ListBox1->setCurrentRow(3);
        lessons.ChooseLesson();
    });
    window.StartLessonRun();
    window.Timer1->stop();  // the pictures show a fixed time
    for (int second = 0; second < 37; ++second)
        window.Timer1Timer();
    window.Edit1->setText(window.ExpectedAnswer());
    window.CheckAnswer();
    window.AcceptAnswer();
    window.Edit1->setText(QStringLiteral("train station"));
    window.CheckAnswer();
    window.KeepQuestion();
    window.Edit1->setText(window.ExpectedAnswer());
    SaveShot(&window, out, QStringLiteral("Lernprogramm-question.png"));
    window.CheckAnswer();
    SaveShot(&window, out, QStringLiteral("Lernprogramm-right.png"));
    window.AcceptAnswer();
    window.Edit1->setText(QStringLiteral("Luggage"));
    window.CheckAnswer();
    SaveShot(&window, out, QStringLiteral("Lernprogramm-wrong.png"));
    window.AbortRun();

    window.close();
    Form6 = nullptr;
    Form5 = nullptr;
    QDir::setCurrent(oldCwd);
});

}  // namespace
