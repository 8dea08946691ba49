// A statistics file from elsewhere: the reader, the lessons and runs the statistics window
// lists for a file, the table's date column and the chart; then the same once more after
// another program has cut the open file short.

#include "FuzzSupport.h"
#include "app/AnsiText.h"
#include "learn/StatisticsChart.h"
#include "learn/StatisticsFile.h"

#include <QGuiApplication>
#include <QImage>

namespace {

void Evaluate(StatisticsReader& reader, const QString& fileName, bool whole)
{
    const QStringList lessons = StatisticsLessons(reader, fileName);
    FUZZ_CHECK(!whole || lessons.size() <= reader.recordCount());
    QStringList selections = lessons.mid(0, 3);
    selections << QString();  // the random runs
    for (const QString& lesson : selections) {
        const QList<StatisticsRecord> runs =
            MatchingStatisticsRecords(reader, fileName, TrimBlanks(lesson));
        FUZZ_CHECK(runs.size() <= reader.recordCount());
        for (const StatisticsRecord& run : runs) {
            FUZZ_CHECK(TrimBlanks(run.fileName) == fileName);
            FUZZ_CHECK(TrimBlanks(run.lesson) == TrimBlanks(lesson));
            // The table's date column.
            const QString& date = run.date;
            const QString shown = date.mid(0, 2) + QLatin1Char('.') + date.mid(2, 2) +
                                  QLatin1Char('.') + date.mid(4, 4);
            FUZZ_CHECK(shown.size() <= 10);
        }
        QImage chart(kChartWidth, kChartHeight, QImage::Format_RGB32);
        DrawStatisticsChart(chart, runs);
        FUZZ_CHECK(chart.width() == std::max(kChartWidth, ChartWidthFor(int(runs.size()))));
        FUZZ_CHECK(chart.height() == kChartHeight);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The chart writes its scale with the application's font.
    static int argc = 1;
    static char name[] = "StatisticsFileFuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    Q_UNUSED(app);

    const QByteArray bytes = FuzzBytes(data, size);
    // Any length decodes without reading past it.
    const StatisticsRecord raw = DecodeStatisticsRecord(bytes);
    FUZZ_CHECK(raw.fileName.size() <= 80 && raw.date.size() <= 8);

    const QString path = FuzzFilePath(QStringLiteral("Lernkompass.dat"));
    if (!WriteFuzzFile(path, bytes))
        return 0;
    StatisticsReader reader;
    const StatisticsReader::Status status = reader.open(path);
    const qint64 length = bytes.size();
    const bool valid = length > 0 && length % kStatisticsRecordSize == 0;
    FUZZ_CHECK((status == StatisticsReader::Status::Ok) == valid);
    if (!valid)
        return 0;
    FUZZ_CHECK(reader.recordCount() == length / kStatisticsRecordSize);

    const auto first = reader.read(0);
    FUZZ_CHECK(first.has_value());
    FUZZ_CHECK(!reader.read(reader.recordCount()) && !reader.read(-1));
    const QString fileName = TrimBlanks(first->fileName);
    Evaluate(reader, fileName, true);

    // Cut short while the window has it open.
    QFile::resize(path, length * data[0] / 256);
    Evaluate(reader, fileName, false);
    return 0;
}
