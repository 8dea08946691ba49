#include "Screenshots.h"

#include "app/Platform.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "tools/Konverter.h"
#include "tools/WinVokLibrary.h"

#include <QDir>
#include <QPushButton>

namespace {

QByteArray Counted(const QByteArray& text)
{
    return char(text.size()) + text;
}

// A small library: one lesson of three entries.
QByteArray Library()
{
    QByteArray bytes = Counted(kWinVokSignature) + Counted("Englisch") + Counted("Lektion 1") +
                       QByteArray("\x01\0", 2) + Counted("Lektion 1") + QByteArray("\x03\0", 2);
    for (const char* pair : {"Haus|house", "gehen|go", "rot|red"}) {
        const QList<QByteArray> words = QByteArray(pair).split('|');
        bytes += QByteArray("\x01\x01\0\0\0\0", 6) + Counted(words[0]) + Counted("") +
                 Counted(words[1]) + Counted("");
    }
    return bytes;
}

const ShotRegistrar shots("Konverter", [](const QString& dir) {
    auto* platform = dynamic_cast<FakePlatform*>(&Platform::instance());
    const QString files = NewTestDirectory();
    WriteBytes(files + QStringLiteral("/englisch.bib"), Library());

    TForm11 form;
    SaveShot(&form, dir, QStringLiteral("Konverter-ready.png"));

    // Names relative to the working directory keep the picture the same from run to run.
    const QString workingDirectory = QDir::currentPath();
    QDir::setCurrent(files);
    platform->fileAnswers << QStringLiteral("englisch.bib") << QStringLiteral("englisch.txt");
    form.Button1->click();
    form.Button2->click();
    form.Button3->click();
    SaveShot(&form, dir, QStringLiteral("Konverter-done.png"));
    QDir::setCurrent(workingDirectory);
});

}  // namespace
