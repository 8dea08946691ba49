#include "app/AnsiText.h"
#include "learn/StatisticsChart.h"
#include "support/TestSupport.h"

#include <QApplication>

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

StatisticsRecord Run(const QString& total, const QString& known, const QString& deleted)
{
    return {QString(), QString(), total, known, QString(), deleted, QString(), QString()};
}

// Numbers as the file stores them: left-aligned, blank-filled to five characters.
StatisticsRecord Run(int total, int known, int deleted)
{
    const auto field = [](int n) { return FitToWidth(QString::number(n), 5); };
    return Run(field(total), field(known), field(deleted));
}

QImage Chart(const QList<StatisticsRecord>& records)
{
    QImage image(kChartWidth, kChartHeight, QImage::Format_RGB32);
    image.fill(Qt::gray);
    DrawStatisticsChart(image, records);
    return image;
}

// A plus sign five pixels wide and high centred on (x, y).
bool IsMarker(const QImage& image, int x, int y, const QColor& colour)
{
    for (int d = -2; d <= 2; ++d)
        if (image.pixel(x + d, y) != colour.rgb() || image.pixel(x, y + d) != colour.rgb())
            return false;
    return true;
}

// True when something other than white is drawn inside the rectangle.
bool Ink(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != kWhite)
                return true;
    return false;
}

}  // namespace

class StatisticsChartTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void markers_sitAtTheSharesOfTheRun_data()
    {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("known");
        QTest::addColumn<int>("deleted");
        QTest::addColumn<int>("knownY");
        QTest::addColumn<int>("knownOrDeletedY");
        QTest::newRow("7 of 10, 2 dropped") << 10 << 7 << 2 << 70 << 30;
        // 210 - 66.67 = 143.33 and 210 - 133.33 = 76.67: the whole value is truncated,
        // not the share alone.
        QTest::newRow("thirds") << 3 << 1 << 1 << 143 << 76;
        QTest::newRow("none known, all dropped") << 4 << 0 << 4 << 210 << 10;
    }
    void markers_sitAtTheSharesOfTheRun()
    {
        QFETCH(int, total);
        QFETCH(int, known);
        QFETCH(int, deleted);
        QFETCH(int, knownY);
        QFETCH(int, knownOrDeletedY);
        const QImage image = Chart({Run(total, known, deleted)});
        QVERIFY(IsMarker(image, 50, knownY, kKnownColour));
        QVERIFY(IsMarker(image, 50, knownOrDeletedY, kKnownOrDeletedColour));
        // One run: two plus signs and no line between runs.
        QCOMPARE(CountPixels(image, kKnownColour.rgb()), 9);
        QCOMPARE(CountPixels(image, kKnownOrDeletedColour.rgb()), 9);
    }

    void noRuns_drawsFrameAndVerticalAxisOnly()
    {
        const QImage image = Chart({});
        QCOMPARE(image.size(), QSize(kChartWidth, kChartHeight));
        for (QPoint p : {QPoint(0, 0), QPoint(549, 0), QPoint(0, 235), QPoint(549, 235),
                         QPoint(300, 0), QPoint(300, 235), QPoint(0, 100), QPoint(549, 100)})
            QVERIFY2(image.pixel(p) == kBlack, "frame");
        for (int y = 10; y <= 210; ++y)
            QVERIFY2(image.pixel(50, y) == kBlack, "vertical axis");
        QCOMPARE(image.pixel(50, 9), kWhite);
        QCOMPARE(image.pixel(50, 211), kWhite);
        for (int k = 0; k <= 10; ++k) {
            const int y = 10 + 20 * k;
            QVERIFY2(image.pixel(45, y) == kBlack && image.pixel(55, y) == kBlack, "tick");
            QVERIFY(image.pixel(44, y) == kWhite && image.pixel(56, y) == kWhite);
            // The label "100 %" .. "0 %" ends left of x = 40, just below its tick's height.
            QVERIFY2(Ink(image, QRect(1, 3 + 20 * k, 39, 14)),
                     qPrintable(QStringLiteral("label %1").arg(100 - 10 * k)));
        }
        // No horizontal axis, no label below it, no curve.
        QVERIFY(!Ink(image, QRect(56, 1, 493, 234)));
        QVERIFY(!Ink(image, QRect(40, 1, 5, 234)));
    }

    void runs_drawHorizontalAxisAndAreJoinedByLines()
    {
        const QImage image = Chart({Run(10, 7, 2), Run(10, 7, 2), Run(10, 2, 1)});
        for (int x = 50; x <= 90; ++x) QCOMPARE(image.pixel(x, 210), kBlack);
        QCOMPARE(image.pixel(91, 210), kWhite);  // the axis ends at the last run
        for (int k = 0; k < 3; ++k) {
            const int x = 50 + 20 * k;
            QVERIFY(image.pixel(x, 205) == kBlack && image.pixel(x, 215) == kBlack);
            QCOMPARE(image.pixel(x, 216), kWhite);
            QVERIFY(k == 0 || image.pixel(x, 204) == kWhite);  // the first meets the y axis
            QVERIFY2(Ink(image, QRect(x - 6, 220, 13, 14)), "run number below the tick");
        }
        QCOMPARE(image.pixel(50, 219), kWhite);
        // Equal runs joined by level lines, then down to 170 (blue) and 150 (lime).
        for (int x = 50; x <= 70; ++x) {
            QCOMPARE(image.pixel(x, 70), kKnownColour.rgb());
            QCOMPARE(image.pixel(x, 30), kKnownOrDeletedColour.rgb());
        }
        QVERIFY(IsMarker(image, 90, 170, kKnownColour));
        QVERIFY(IsMarker(image, 90, 150, kKnownOrDeletedColour));
        QCOMPARE(image.pixel(80, 120), kKnownColour.rgb());
        QCOMPARE(image.pixel(80, 90), kKnownOrDeletedColour.rgb());
    }

    void width_growsWithTheRunsAndNeverShrinks_data()
    {
        QTest::addColumn<int>("startWidth");
        QTest::addColumn<int>("runs");
        QTest::addColumn<int>("width");
        QTest::newRow("25 fit exactly") << 550 << 25 << 550;
        QTest::newRow("26") << 550 << 26 << 570;
        QTest::newRow("30") << 550 << 30 << 650;
        QTest::newRow("kept wide") << 650 << 3 << 650;
        QTest::newRow("null image") << 0 << 2 << 550;
    }
    void width_growsWithTheRunsAndNeverShrinks()
    {
        QFETCH(int, startWidth);
        QFETCH(int, runs);
        QFETCH(int, width);
        QImage image;
        if (startWidth > 0) {
            image = QImage(startWidth, kChartHeight, QImage::Format_RGB32);
            image.fill(Qt::gray);
        }
        DrawStatisticsChart(image, QList<StatisticsRecord>(runs, Run(10, 7, 2)));
        QCOMPARE(image.size(), QSize(width, kChartHeight));
        // Filled and framed across the whole width, the last run included.
        QCOMPARE(image.pixel(width - 1, 100), kBlack);
        QCOMPARE(image.pixel(width - 2, 100), kWhite);
        QVERIFY(IsMarker(image, 50 + 20 * (runs - 1), 70, kKnownColour));
    }

    void unusableRecord_drawsNoMarkerAndBreaksTheCurves_data()
    {
        QTest::addColumn<QString>("total");  // fields as stored
        QTest::addColumn<QString>("known");
        QTest::addColumn<QString>("deleted");
        QTest::newRow("total 0") << "0    " << "0    " << "0    ";
        QTest::newRow("letters") << "abc  " << "7    " << "2    ";
        QTest::newRow("known letters") << "10   " << "x    " << "2    ";
        QTest::newRow("deleted blank") << "10   " << "7    " << "     ";
        QTest::newRow("cut by NUL") << "" << "" << "";
        QTest::newRow("sign") << "-10  " << "-7   " << "2    ";
        QTest::newRow("inner blank") << "1 0  " << "7    " << "2    ";
    }
    void unusableRecord_drawsNoMarkerAndBreaksTheCurves()
    {
        QFETCH(QString, total);
        QFETCH(QString, known);
        QFETCH(QString, deleted);
        const StatisticsRecord unusable = Run(total, known, deleted);
        const QImage alone = Chart({unusable});
        QCOMPARE(CountPixels(alone, kKnownColour.rgb()), 0);
        QCOMPARE(CountPixels(alone, kKnownOrDeletedColour.rgb()), 0);
        QVERIFY2(alone.pixel(50, 215) == kBlack, "it keeps its tick on the axis");

        // Between two good runs: two markers per curve, no line across the gap.
        const QImage between = Chart({Run(10, 7, 2), unusable, Run(10, 7, 2)});
        QVERIFY(IsMarker(between, 50, 70, kKnownColour));
        QVERIFY(IsMarker(between, 90, 70, kKnownColour));
        QCOMPARE(CountPixels(between, kKnownColour.rgb()), 18);
        QCOMPARE(CountPixels(between, kKnownOrDeletedColour.rgb()), 18);
    }
};

LK_TEST_MAIN(StatisticsChartTest)
#include "StatisticsChartTest.moc"
