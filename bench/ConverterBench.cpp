#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "tools/Konverter.h"
#include "tools/WinVokLibrary.h"

#include <QBuffer>
#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

// Converting a library of 100,000 entries in 100 lessons: the conversion on its own, from
// file to file, and from the converter window's start button (with its repaints).

namespace {

constexpr int kLessons = 100;
constexpr int kEntriesPerLesson = 1'000;

QByteArray Counted(const QByteArray& text)
{
    return char(text.size()) + text;
}

QByteArray Word(int n)
{
    return QByteArray(1, char(n & 0xff)) + char(n >> 8);
}

// Entries as WinVok II stores them: a word with an annotation on the first side, a word and
// a synonym on the second.
const QByteArray& LargeLibrary()
{
    static const QByteArray bytes = [] {
        QByteArray library = Counted(kWinVokSignature) + Counted("Englisch") +
                             Counted("Grundwortschatz") + Word(kLessons);
        for (int l = 1; l <= kLessons; ++l) {
            library += Counted("Lektion " + QByteArray::number(l)) + Word(kEntriesPerLesson);
            for (int e = 1; e <= kEntriesPerLesson; ++e) {
                const QByteArray n = QByteArray::number(e);
                library += QByteArray("\x01\x02\0\0\0\0", 6) + Counted("Wort " + n) +
                           Counted("Bemerkung") + Counted("word " + n) + Counted("") +
                           Counted("synonym " + n) + Counted("");
            }
        }
        return library;
    }();
    return bytes;
}

const QString& LibraryPath()
{
    static const QString path = [] {
        const QString p = NewTestDirectory() + QStringLiteral("/gross.bib");
        WriteBytes(p, LargeLibrary());
        return p;
    }();
    return path;
}

void BM_ConvertInMemory(benchmark::State& state)
{
    for (auto _ : state) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        if (ConvertLibrary(LargeLibrary(), out) != ConversionResult::Converted)
            state.SkipWithError("conversion failed");
    }
}

void BM_ConvertFile(benchmark::State& state)
{
    const QString output = NewTestDirectory() + QStringLiteral("/gross.vok");
    for (auto _ : state)
        if (ConvertLibraryFile(LibraryPath(), output) != ConversionResult::Converted)
            state.SkipWithError("conversion failed");
}

void BM_ConverterWindow(benchmark::State& state)
{
    auto* platform = dynamic_cast<FakePlatform*>(&Platform::instance());
    const QString output = NewTestDirectory() + QStringLiteral("/gross.vok");
    TForm11 form;
    form.show();
    platform->fileAnswers << LibraryPath();
    form.Button1->click();
    form.Edit2->setText(output);
    for (auto _ : state) {
        platform->answers << MsgAnswer::Yes;  // overwrite the previous round's file
        form.Button3->click();
        if (form.StatusText() != QStringLiteral("Konvertierung erfolgreich abgeschlossen."))
            state.SkipWithError("conversion failed");
    }
}

}  // namespace

BENCHMARK(BM_ConvertInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConverterWindow)->Unit(benchmark::kMillisecond);
