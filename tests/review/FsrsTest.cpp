#include "review/Fsrs.h"

#include "support/DataTables.h"
#include "support/TestSupport.h"

// The published reference values of FSRS-6 with its default parameters, within 1e-4.
class FsrsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void referenceValues_data()
    {
        QTest::addColumn<double>("actual");
        QTest::addColumn<double>("expected");
        const auto r = [](const char* name, double t, double s, double expected) {
            QTest::newRow(name) << fsrs::Retrievability(t, s) << expected;
        };
        r("R(0,1)", 0, 1, 1.0);
        r("R(1,2)", 1, 2, 0.9403443);
        r("R(2,3)", 2, 3, 0.9253786);
        r("R(3,4)", 3, 4, 0.9185229);
        r("R(4,4)", 4, 4, 0.9);
        r("R(5,2)", 5, 2, 0.8261359);
        r("a clock gone backwards counts as no time", -3, 2, 1.0);
        const double d[] = {8.341763, 6.6659956, 4.990228, 3.3144615};
        for (int g = 1; g <= 4; ++g)
            QTest::addRow("difficulty after %d from 5", g)
                << fsrs::NextDifficulty(5, Rating(g)) << d[g - 1];
        // Ratings 1,3,3,3,3,3 at day gaps 0,0,1,3,8,21: a first rating, then a same-day
        // review.
        const int gaps[] = {0, 1, 3, 8, 21};
        MemoryState state = fsrs::Initial(Rating::Again);
        for (const int t : gaps)
            state = fsrs::Next(state, t, Rating::Good);
        QTest::newRow("stability after the history") << state.stability << 53.62691;
        QTest::newRow("difficulty after the history") << state.difficulty << 6.3574867;
    }
    void referenceValues()
    {
        const auto [actual, expected] = DataRow<double, double>("actual", "expected");
        QVERIFY2(qAbs(actual - expected) <= 1e-4 * expected, qPrintable(QString::number(actual)));
    }

    // Good on each due day: the published intervals at 90 %; a lower retention waits
    // longer, a higher one asks sooner.
    void intervalsOfGoodOnDueDays_data()
    {
        QTest::addColumn<double>("retention");
        QTest::addColumn<QList<int>>("intervals");
        QTest::newRow("90 %") << 0.9 << QList<int>{2, 11, 46, 163, 497};
        QTest::newRow("80 %") << 0.8 << QList<int>{8, 75, 521, 2762, 11761};
        QTest::newRow("70 %: capped at 100 years")
            << 0.7 << QList<int>{21, 310, 3002, 20889, 36500};
    }
    void intervalsOfGoodOnDueDays()
    {
        const auto [retention, intervals] = DataRow<double, QList<int>>("retention", "intervals");
        QList<int> seen;
        MemoryState state = fsrs::Initial(Rating::Good);
        for (int k = 0; k < 5; ++k) {
            seen << fsrs::Interval(state.stability, retention);
            state = fsrs::Next(state, seen.last(), Rating::Good);
        }
        QCOMPARE(seen, intervals);
    }

    void clamps()
    {
        QCOMPARE(fsrs::Interval(0.212), 1);  // never the same day
        // Same-day failures shrink stability at most to its floor.
        MemoryState state{fsrs::kMinStability, 10};
        for (int k = 0; k < 50; ++k)
            state = fsrs::Next(state, 0, Rating::Again);
        QCOMPARE(state.stability, fsrs::kMinStability);
    }
};

LK_TEST_MAIN(FsrsTest)
#include "FsrsTest.moc"
