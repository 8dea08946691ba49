#include "Screenshots.h"

#include "support/TestSupport.h"
#include "vocab/Dateiinfo.h"
#include "vocab/Lektionen.h"

#include <QTimer>

namespace {

QString SampleFile()
{
    const QList<std::pair<const char*, int>> lessons{
        {"Lektion 1", 24}, {"Lektion 2", 18}, {"Unregelmäßige Verben", 31}, {"Lektion 3", 20},
        {"Farben", 12},    {"Zahlen", 21},    {"Lektion 4", 16},             {"Redewendungen", 9},
        {"Lektion 5", 22}, {"Essen und Trinken", 27}, {"Reisen", 14},       {"Lektion 6", 11},
        {"Berufe", 8},     {"Wetter", 10}};
    QList<VocabularyEntry> entries;
    for (const auto& [lesson, count] : lessons)
        entries += NumberedEntries(count, QString::fromUtf8(lesson));
    const VocabularyHeader header{
        QStringLiteral("Englisch – Grundwortschatz"), QStringLiteral("Anna Bergmann"),
        QStringLiteral("Wörter der ersten beiden Lernjahre, nach Lektionen des Lehrbuchs geordnet")};
    return WriteVocabularyFile(NewTestDirectory(), QStringLiteral("englisch.vok"), entries,
                               header);
}

// Saves the picture from inside the dialog's modal loop, then closes it.
void ShootModal(QDialog* dialog, const QString& dir, const QString& name)
{
    QTimer::singleShot(0, dialog, [=] {
        SaveShot(dialog, dir, name);
        dialog->reject();
    });
}

const ShotRegistrar shots("Lektionen", [](const QString& dir) {
    VocabularyFile file;
    file.open(SampleFile());

    TForm3 overview;
    ShootModal(&overview, dir, QStringLiteral("Lektionen-overview.png"));
    overview.ShowOverview(file);

    TForm4 info;
    ShootModal(&info, dir, QStringLiteral("Dateiinfo-edit.png"));
    info.ShowForEditor(file);
    ShootModal(&info, dir, QStringLiteral("Dateiinfo-readonly.png"));
    info.ShowReadOnly(file.readHeader().value_or(VocabularyHeader{}));
});

}  // namespace
