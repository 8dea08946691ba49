#include "review/Fsrs.h"

#include "support/TestSupport.h"

#include <QApplication>

#include <cmath>

namespace {

bool Near(double actual, double expected)
{
    return std::abs(actual - expected) <= 1e-4 * std::abs(expected);
}

}  // namespace

// The published reference values of FSRS-6 with its default parameters.
class FsrsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void retrievability_data()
    {
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("s");
        QTest::addColumn<double>("r");
        QTest::newRow("(0,1)") << 0.0 << 1.0 << 1.0;
        QTest::newRow("(1,2)") << 1.0 << 2.0 << 0.9403443;
        QTest::newRow("(2,3)") << 2.0 << 3.0 << 0.9253786;
        QTest::newRow("(3,4)") << 3.0 << 4.0 << 0.9185229;
        QTest::newRow("(4,4)") << 4.0 << 4.0 << 0.9;
        QTest::newRow("(5,2)") << 5.0 << 2.0 << 0.8261359;
        QTest::newRow("a clock gone backwards counts as no time") << -3.0 << 2.0 << 1.0;
    }
    void retrievability()
    {
        QFETCH(double, t);
        QFETCH(double, s);
        QFETCH(double, r);
        QVERIFY2(Near(fsrs::Retrievability(t, s), r),
                 qPrintable(QString::number(fsrs::Retrievability(t, s), 'g', 10)));
    }

    void nextDifficulty_data()
    {
        QTest::addColumn<int>("rating");
        QTest::addColumn<double>("d");
        QTest::newRow("Again") << 1 << 8.341763;
        QTest::newRow("Hard") << 2 << 6.6659956;
        QTest::newRow("Good") << 3 << 4.990228;
        QTest::newRow("Easy") << 4 << 3.3144615;
    }
    void nextDifficulty()
    {
        QFETCH(int, rating);
        QFETCH(double, d);
        QVERIFY(Near(fsrs::NextDifficulty(5, Rating(rating)), d));
    }

    // Ratings 1,3,3,3,3,3 at day gaps 0,0,1,3,8,21: the first is the first rating, the
    // second a same-day review.
    void memoryStateAfterHistory()
    {
        const int ratings[] = {1, 3, 3, 3, 3, 3};
        const int gaps[] = {0, 0, 1, 3, 8, 21};
        MemoryState state = fsrs::Initial(Rating(ratings[0]));
        for (int k = 1; k < 6; ++k) state = fsrs::Next(state, gaps[k], Rating(ratings[k]));
        QVERIFY2(Near(state.stability, 53.62691), qPrintable(QString::number(state.stability)));
        QVERIFY2(Near(state.difficulty, 6.3574867), qPrintable(QString::number(state.difficulty)));
    }

    void intervalsOfGoodOnDueDays_data()
    {
        QTest::addColumn<double>("retention");
        QTest::addColumn<QList<int>>("intervals");
        QTest::newRow("90 %") << 0.9 << QList<int>{2, 11, 46, 163, 497};
        // A lower retention waits longer, a higher one asks sooner.
        QTest::newRow("80 %") << 0.8 << QList<int>{8, 75, 521, 2762, 11761};
        QTest::newRow("97 %") << 0.97 << QList<int>{1, 2, 4, 7, 13};
    }
    void intervalsOfGoodOnDueDays()
    {
        QFETCH(double, retention);
        QFETCH(QList<int>, intervals);
        QList<int> seen;
        MemoryState state = fsrs::Initial(Rating::Good);
        for (int k = 0; k < 5; ++k) {
            seen << fsrs::Interval(state.stability, retention);
            state = fsrs::Next(state, seen.last(), Rating::Good);
        }
        QCOMPARE(seen, intervals);
    }

    void clamps_data()
    {
        QTest::addColumn<double>("stability");
        QTest::addColumn<int>("interval");
        QTest::newRow("a fraction of a day: 1") << 0.212 << 1;
        QTest::newRow("beyond 100 years: 36500") << 1e9 << 36500;
    }
    void clamps()
    {
        QFETCH(double, stability);
        QFETCH(int, interval);
        QCOMPARE(fsrs::Interval(stability), interval);
        // Same-day failures shrink stability at most to its floor; successes never lower it.
        MemoryState state{fsrs::kMinStability, 10};
        for (int k = 0; k < 50; ++k) state = fsrs::Next(state, 0, Rating::Again);
        QCOMPARE(state.stability, fsrs::kMinStability);
        QVERIFY(state.difficulty > 9.9 && state.difficulty <= 10);
        const MemoryState big{30000, 1};
        QVERIFY(fsrs::Next(big, 0, Rating::Good).stability >= big.stability);
        QCOMPARE(fsrs::Next(big, 36500, Rating::Easy).stability, fsrs::kMaxStability);
    }
};

LK_TEST_MAIN(FsrsTest)
#include "FsrsTest.moc"
