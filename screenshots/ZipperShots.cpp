#include "Screenshots.h"

#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "tools/Zipper.h"

#include <QProgressBar>
#include <QPushButton>

namespace {

const ShotRegistrar shots("Zipper", [](const QString& dir) {
    TForm10 zipper;
    SaveShot(&zipper, dir, QStringLiteral("Zipper-idle.png"));

    // Packing a large file: the picture is taken when the bar is a good way along, then
    // the job is cancelled.
    const QString file = NewTestDirectory() + QStringLiteral("/englisch.vok");
    QByteArray text;
    for (int i = 0; text.size() < 40'000'000; ++i)
        text += "Lektion " + QByteArray::number(i % 97) + " house Haus tree Baum to run laufen ";
    WriteBytes(file, text);
    if (auto* platform = dynamic_cast<FakePlatform*>(&Platform::instance()))
        platform->fileAnswers << file;
    const TZipBuilder::ProgressEvent forward = zipper.ZipBuilder1.OnProgress;
    bool shot = false;
    zipper.ZipBuilder1.OnProgress = [&](ProgressType kind, const QString& name, qint64 size) {
        forward(kind, name, size);
        const QProgressBar* bar = zipper.ProgressBar1;
        if (!shot && kind == ProgressType::ProgressUpdate &&
            bar->value() * 10 >= bar->maximum() * 4) {
            shot = true;
            SaveShot(&zipper, dir, QStringLiteral("Zipper-running.png"));
            zipper.Button3->click();
        }
    };
    zipper.Button1->click();
});

}  // namespace
