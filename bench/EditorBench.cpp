#include <benchmark/benchmark.h>

#include <QAction>
#include <QLabel>
#include <QScrollBar>

#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "vocab/Editor.h"

// Paging through a large file: every command stores the current entry (one 400-byte write)
// and loads another (one 400-byte read), whatever the file's size.

namespace {

constexpr int kEntries = 100000;

struct LargeFileEditor {
    LargeFileEditor()
    {
        static const QString path = WriteVocabularyFile(
            NewTestDirectory(), QStringLiteral("gross.vok"), NumberedEntries(kEntries));
        // bench/main.cpp installs the fake platform; it answers the file dialog.
        if (auto* platform = dynamic_cast<FakePlatform*>(&Platform::instance()))
            platform->fileAnswers << path;
        editor.ResetEditor();
        editor.OeffnenClick();
    }
    bool ready() { return editor.Label11->text() == QString::number(kEntries); }
    TForm2 editor;
};

void BM_EditorFirst(benchmark::State& state)
{
    LargeFileEditor f;
    if (!f.ready())
        state.SkipWithError("the large file did not open");
    for (auto _ : state) f.editor.Beginn1->trigger();
}

void BM_EditorNext(benchmark::State& state)
{
    LargeFileEditor f;
    if (!f.ready())
        state.SkipWithError("the large file did not open");
    for (auto _ : state) {
        f.editor.Nchstes1->trigger();
        if (f.editor.Label8->text() == QString::number(kEntries)) {
            state.PauseTiming();
            f.editor.Beginn1->trigger();
            state.ResumeTiming();
        }
    }
}

void BM_EditorLast(benchmark::State& state)
{
    LargeFileEditor f;
    if (!f.ready())
        state.SkipWithError("the large file did not open");
    for (auto _ : state) f.editor.Letztes1->trigger();
}

void BM_EditorScrollToMiddle(benchmark::State& state)
{
    LargeFileEditor f;
    if (!f.ready())
        state.SkipWithError("the large file did not open");
    bool middle = false;
    for (auto _ : state) {
        middle = !middle;
        f.editor.ScrollBar1->setValue(middle ? kEntries / 2 : 1);
    }
}

}  // namespace

BENCHMARK(BM_EditorFirst)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditorNext)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditorLast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditorScrollToMiddle)->Unit(benchmark::kMicrosecond);
