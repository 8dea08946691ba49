#include "app/Forms.h"
#include "app/SettingsStore.h"
#include "app/Start.h"
#include "learn/Lernprogramm.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

#ifdef Q_OS_LINUX
#include "support/PrivateSoundServer.h"
#endif

// The learning window's reaction to Enter with reading aloud off and on: a wrong answer
// judged (sound, comparison, the answer read) and Enter again for the next question (read
// when it appears). Sounds are the fake's, so only the window's own work and the call into
// the real speech engine are timed; the engine speaks into a private sound server.

#ifdef Q_OS_LINUX
namespace {

// The fake platform, but reading aloud with the real engine.
class SpeakingPlatform : public FakePlatform {
public:
    using Platform::speak;
    SpeechStatus speak(const QList<SpeechPart>& parts) override { return engine.speak(parts); }
    void stopSpeaking() override { engine.stop(); }
    SpeechEngine engine;
};

void BM_LearningWindowEnter(benchmark::State& state)
{
    static PrivateSoundServer* server = [] {
        auto* s = new PrivateSoundServer;  // lives until the end of the program
        return s->start() ? s : nullptr;
    }();
    Platform* before = &Platform::instance();
    // Left installed until the end, as its destructor would install the Qt platform.
    static auto* platform = new SpeakingPlatform;
    Platform::install(platform);
    platform->programDir = NewTestDirectory();
    if (!server || !platform->engine.hasEngine()) {
        Platform::install(before);
        state.SkipWithError("no pulseaudio or no eSpeak NG here");
        return;
    }
    WriteVersionCreatingStore();
    WriteReadAloud(state.range(0) != 0);
    if (!Form1)
        Form1 = new TForm1();
    TForm5 window;
    window.show();
    const VocabularyEntry entry{QStringLiteral("L"), QStringLiteral("Wörterbuch"),
                                QStringLiteral("dictionary"), QString(), QString()};
    window.OpenLearningFile(WriteVocabularyFile(NewTestDirectory(), QStringLiteral("englisch.vok"),
                                                QList<VocabularyEntry>(30, entry)));
    window.StartRandomRun();
    for (auto _ : state) {
        window.Edit1->setText(QStringLiteral("Woerterbuhc"));
        QTest::keyClick(window.Edit1, Qt::Key_Return);
        QTest::keyClick(window.Button3, Qt::Key_Return);  // kept: the run never ends
    }
    window.AbortRun();
    platform->engine.stop();
    Platform::install(before);
}

}  // namespace

BENCHMARK(BM_LearningWindowEnter)
    ->ArgName("read_aloud")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(200);
#endif
