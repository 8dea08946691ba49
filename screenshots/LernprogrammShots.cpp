#include "Screenshots.h"

#include "app/Forms.h"
#include "learn/Lektionauswahl.h"
#include "learn/Lernprogramm.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QListWidget>

namespace {

QList<VocabularyEntry> SampleEntries()
{
    const QStringList lessons{QStringLiteral("Lektion 1: Begrüßung"),
                              QStringLiteral("Lektion 2: Familie"),
                              QStringLiteral("Lektion 3: Essen und Trinken"),
                              QStringLiteral("Lektion 4: Reisen"),
                              QStringLiteral("Unregelmäßige Verben")};
    QList<VocabularyEntry> entries = NumberedEntries(40);
    for (int i = 0; i < entries.size(); ++i)
        entries[i].lesson = lessons.at(i % lessons.size());
    return entries;
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

    lessons.show();
    lessons.ListBox1->setCurrentRow(2);
    SaveShot(&lessons, out, QStringLiteral("Lektionauswahl-list.png"));

    lessons.hide();
    window.close();
    Form6 = nullptr;
    Form5 = nullptr;
    QDir::setCurrent(oldCwd);
});

}  // namespace
