#include "app/AnsiText.h"
#include "learn/StatisticsChart.h"
#include "support/VocabTests.h"

#include <algorithm>

namespace {

using Records = QList<StatisticsRecord>;
using Points = QList<QPoint>;
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

// Numbers as the file stores them: left-aligned, blank-filled to five characters.
StatisticsRecord Run(const char* total, const char* known, const char* deleted)
{
    const auto field = [](const char* n) { return FitToWidth(QString::fromLatin1(n), 5); };
    return {QString(), QString(),      field(total), field(known),
            QString(), field(deleted), QString(),    QString()};
}

QImage Chart(const Records& records, int width = kChartWidth)
{
    QImage image(width, kChartHeight, QImage::Format_RGB32);
    image.fill(Qt::gray);
    DrawStatisticsChart(image, records);
    return image;
}

// A plus sign five pixels wide and high centred on the point.
bool IsMarker(const QImage& image, QPoint at, QRgb colour)
{
    for (int d = -2; d <= 2; ++d)
        if (image.pixel(at.x() + d, at.y()) != colour || image.pixel(at.x(), at.y() + d) != colour)
            return false;
    return true;
}

}  // namespace

class StatisticsChartTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Marker centres of the two curves and all pixels of each colour, lines included.
    void curves_data()
    {
        DataColumns<Records, Points, Points, QList<int>>("records", "known", "knownOrDeleted",
                                                         "pixels");  // pixels: blue, lime
        const StatisticsRecord good = Run("10", "7", "2");
        const StatisticsRecord zero = Run("0", "0", "0");
        const QList<int> none{0, 0};
        QTest::newRow("no runs: the vertical axis only")
            << Records() << Points() << Points() << none;
        QTest::newRow("one run of 10, 7 known, 2 dropped: no line")
            << Records{good} << Points{{50, 70}} << Points{{50, 30}} << QList<int>{9, 9};
        // 210 - 66.67 and 210 - 133.33: the whole value is truncated, not the share.
        QTest::newRow("thirds") << Records{Run("3", "1", "1")} << Points{{50, 143}}
                                << Points{{50, 76}} << QList<int>{9, 9};
        QTest::newRow("three runs joined")
            << Records{good, good, Run("10", "2", "1")} << Points{{50, 70}, {70, 70}, {90, 170}}
            << Points{{50, 30}, {70, 30}, {90, 150}} << QList<int>{139, 159};
        // Unusable records keep their place but draw nothing, and no line crosses them.
        QTest::newRow("total or known letters, deleted blank")
            << Records{Run("abc", "7", "2"), Run("10", "x", "2"), Run("10", "7", "")} << Points()
            << Points() << none;
        QTest::newRow("total 0 between two runs")
            << Records{good, zero, good} << Points{{50, 70}, {90, 70}} << Points{{50, 30}, {90, 30}}
            << QList<int>{18, 18};
    }
    void curves()
    {
        const auto [records, known, knownOrDeleted] =
            DataRow<Records, Points, Points>("records", "known", "knownOrDeleted");
        const QImage image = Chart(records);
        for (QPoint p : known)
            QVERIFY(IsMarker(image, p, kKnownColour.rgb()));
        for (QPoint p : knownOrDeleted)
            QVERIFY(IsMarker(image, p, kKnownOrDeletedColour.rgb()));
        QTEST((QList<int>{CountPixels(image, kKnownColour.rgb()),
                          CountPixels(image, kKnownOrDeletedColour.rgb())}),
              "pixels");
        // The vertical axis always; the horizontal one up to the last record, drawn or not,
        // with a tick for each.
        QVERIFY(image.pixel(50, 10) == kBlack && image.pixel(50, 9) == kWhite);
        const int n = int(records.size());
        for (int k = 0; k < n; ++k)
            QVERIFY(image.pixel(50 + 20 * k, 210) == kBlack &&
                    image.pixel(50 + 20 * k, 215) == kBlack);
        // The axis ends at the last record, and never left of the 0 % tick's end.
        QCOMPARE(image.pixel(std::max(56, 51 + 20 * (n - 1)), 210), kWhite);
    }

    // 25 runs fit exactly, each further one adds 20 pixels; a wide chart is kept wide.
    void width_growsWithTheRunsAndNeverShrinks()
    {
        for (const auto [startWidth, runs, width] :
             {std::array{550, 25, 550}, {550, 26, 570}, {550, 30, 650}, {650, 3, 650}}) {
            const QImage image = Chart(Records(runs, Run("10", "7", "2")), startWidth);
            QCOMPARE(image.size(), QSize(width, kChartHeight));
            // Filled and framed across the whole width, the last run included.
            QVERIFY(image.pixel(width - 1, 100) == kBlack && image.pixel(width - 2, 100) == kWhite);
            QVERIFY(IsMarker(image, QPoint(50 + 20 * (runs - 1), 70), kKnownColour.rgb()));
        }
    }

    // The window paints the chart a piece at a time as it scrolls: each piece must show
    // exactly the pixels of the whole chart there (labels, markers, lines across its edges).
    void pieces_matchTheWholeChart()
    {
        Records records;
        for (int i = 0; i < 120; ++i)
            records << (i % 17 == 5 ? Run("0", "0", "0")
                                    : Run("30", QByteArray::number(i * 7 % 31).constData(), "1"));
        const QImage whole = Chart(records, ChartWidthFor(120));
        for (const QRect& piece : {QRect(0, 0, 550, kChartHeight), QRect(1033, 17, 207, 200),
                                   QRect(ChartWidthFor(120) - 300, 0, 300, kChartHeight)})
            QCOMPARE(StatisticsChartPiece(whole.size(), records, piece), whole.copy(piece));
    }
};
LK_TEST_MAIN(StatisticsChartTest)
#include "StatisticsChartTest.moc"
