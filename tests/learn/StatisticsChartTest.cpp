#include "app/AnsiText.h"
#include "learn/StatisticsChart.h"
#include "support/TestSupport.h"

#include <QApplication>

namespace {

StatisticsRecord Run(const QString& total, const QString& known, const QString& deleted)
{
    StatisticsRecord record;
    record.fileName = QStringLiteral("b.vok");
    record.total = total;
    record.known = known;
    record.deleted = deleted;
    return record;
}

// Numbers as the file stores them: left-aligned, blank-filled to five characters.
StatisticsRecord Run(int total, int known, int deleted)
{
    return Run(FitToWidth(QString::number(total), 5), FitToWidth(QString::number(known), 5),
               FitToWidth(QString::number(deleted), 5));
}

QImage Chart(const QList<StatisticsRecord>& records, int width = kChartWidth)
{
    QImage image(width, kChartHeight, QImage::Format_RGB32);
    image.fill(Qt::gray);
    DrawStatisticsChart(image, records);
    return image;
}

int CountPixels(const QImage& image, const QColor& colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour.rgb();
    return n;
}

QStringList Fields(const char* total, const char* known, const char* deleted)
{
    return {QLatin1String(total), QLatin1String(known), QLatin1String(deleted)};
}

bool IsMarker(const QImage& image, int x, int y, const QColor& colour)
{
    const QPoint plus[] = {{0, 0},  {0, -1}, {0, -2}, {0, 1}, {0, 2},
                           {-1, 0}, {-2, 0}, {1, 0},  {2, 0}};
    for (QPoint d : plus)
        if (image.pixel(x + d.x(), y + d.y()) != colour.rgb())
            return false;
    return true;
}

bool IsBlack(const QImage& image, int x, int y)
{
    return image.pixel(x, y) == qRgb(0, 0, 0);
}

bool IsWhite(const QImage& image, int x, int y)
{
    return image.pixel(x, y) == qRgb(255, 255, 255);
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
        QTest::newRow("one of 7, six dropped") << 7 << 1 << 6 << 181 << 10;
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
        QCOMPARE(CountPixels(image, kKnownColour), 9);
        QCOMPARE(CountPixels(image, kKnownOrDeletedColour), 9);
    }

    void noRuns_drawsFrameAndVerticalAxisOnly()
    {
        const QImage image = Chart({});
        QCOMPARE(image.size(), QSize(kChartWidth, kChartHeight));
        for (QPoint corner : {QPoint(0, 0), QPoint(549, 0), QPoint(0, 235), QPoint(549, 235),
                              QPoint(300, 0), QPoint(300, 235), QPoint(0, 100), QPoint(549, 100)})
            QVERIFY2(IsBlack(image, corner.x(), corner.y()), "frame");
        QVERIFY(IsWhite(image, 1, 1));
        QVERIFY(IsWhite(image, 548, 234));
        for (int y = 10; y <= 210; ++y) QVERIFY2(IsBlack(image, 50, y), "vertical axis");
        QVERIFY(IsWhite(image, 50, 9));
        QVERIFY(IsWhite(image, 50, 211));
        for (int k = 0; k <= 10; ++k) {
            const int y = 10 + 20 * k;
            QVERIFY2(IsBlack(image, 45, y) && IsBlack(image, 55, y), "tick");
            QVERIFY(IsWhite(image, 44, y) && IsWhite(image, 56, y));
            // The label "100 %" .. "0 %" ends left of x = 40, just below its tick's height.
            bool ink = false;
            for (int ly = 3 + 20 * k; ly < 3 + 20 * k + 14; ++ly)
                for (int lx = 1; lx < 40; ++lx) ink = ink || !IsWhite(image, lx, ly);
            QVERIFY2(ink, qPrintable(QStringLiteral("label %1").arg(100 - 10 * k)));
        }
        // No horizontal axis, no label below it, no curve.
        for (int x = 56; x < 549; ++x)
            for (int y = 1; y < 235; ++y)
                QVERIFY2(IsWhite(image, x, y), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        for (int x = 40; x < 45; ++x)
            for (int y = 1; y < 235; ++y) QVERIFY(IsWhite(image, x, y));
    }

    void runs_drawHorizontalAxisTicksAndLabels()
    {
        const QImage image = Chart({Run(10, 5, 1), Run(10, 5, 1), Run(10, 5, 1)});
        // The axis ends at the last run.
        for (int x = 50; x <= 90; ++x) QVERIFY(IsBlack(image, x, 210));
        QVERIFY(IsWhite(image, 91, 210));
        for (int k = 0; k < 3; ++k) {
            const int x = 50 + 20 * k;
            QVERIFY(IsBlack(image, x, 205) && IsBlack(image, x, 215));
            QVERIFY(IsWhite(image, x, 216));
            QVERIFY(k == 0 || IsWhite(image, x, 204));  // the first tick meets the y axis
            bool ink = false;
            for (int y = 220; y < 234; ++y)
                for (int lx = x - 6; lx <= x + 6; ++lx) ink = ink || !IsWhite(image, lx, y);
            QVERIFY2(ink, "run number below the tick");
        }
        QVERIFY(IsWhite(image, 50, 219));
    }

    void runs_areJoinedByLines()
    {
        const QImage image = Chart({Run(10, 7, 2), Run(10, 7, 2), Run(10, 2, 1)});
        // Equal runs: horizontal lines between x = 50 and 70.
        for (int x = 50; x <= 70; ++x) {
            QCOMPARE(image.pixel(x, 70), kKnownColour.rgb());
            QCOMPARE(image.pixel(x, 30), kKnownOrDeletedColour.rgb());
        }
        // Then down to 170 (blue) and 150 (lime) at x = 90.
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
        QTest::newRow("none") << 550 << 0 << 550;
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
        QVERIFY(IsBlack(image, width - 1, 100));
        QVERIFY(IsWhite(image, width - 2, 100));
        if (runs > 0)
            QVERIFY(IsMarker(image, 50 + 20 * (runs - 1), 70, kKnownColour));
    }

    void unusableRecord_drawsNoMarkerAndBreaksTheCurves_data()
    {
        QTest::addColumn<QStringList>("fields");  // total, known, deleted as stored
        QTest::newRow("total 0") << Fields("0    ", "0    ", "0    ");
        QTest::newRow("letters") << Fields("abc  ", "7    ", "2    ");
        QTest::newRow("known letters") << Fields("10   ", "x    ", "2    ");
        QTest::newRow("deleted blank") << Fields("10   ", "7    ", "     ");
        QTest::newRow("cut by NUL") << Fields("", "", "");
        QTest::newRow("sign") << Fields("-10  ", "-7   ", "2    ");
        QTest::newRow("inner blank") << Fields("1 0  ", "7    ", "2    ");
    }
    void unusableRecord_drawsNoMarkerAndBreaksTheCurves()
    {
        QFETCH(QStringList, fields);
        const StatisticsRecord unusable = Run(fields.at(0), fields.at(1), fields.at(2));
        const QImage alone = Chart({unusable});
        QCOMPARE(CountPixels(alone, kKnownColour), 0);
        QCOMPARE(CountPixels(alone, kKnownOrDeletedColour), 0);
        QVERIFY2(IsBlack(alone, 50, 215), "it keeps its tick on the axis");

        // Between two good runs: two markers per curve, no line across the gap.
        const QImage between = Chart({Run(10, 7, 2), unusable, Run(10, 7, 2)});
        QVERIFY(IsMarker(between, 50, 70, kKnownColour));
        QVERIFY(IsMarker(between, 90, 70, kKnownColour));
        QCOMPARE(CountPixels(between, kKnownColour), 18);
        QCOMPARE(CountPixels(between, kKnownOrDeletedColour), 18);
    }
};

LK_TEST_MAIN(StatisticsChartTest)
#include "StatisticsChartTest.moc"
