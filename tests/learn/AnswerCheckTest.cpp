#include "learn/AnswerCheck.h"

#include "support/VocabTests.h"

class AnswerCheckTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void checkAnswer_data()
    {
        // The results with case counting and with case ignored.
        DataColumns<QString, QString, bool, bool>("typed", "expected", "exactCase", "ignoredCase");
        QTest::newRow("blanks around") << "  Haus  "
                                       << "Haus" << true << true;
        QTest::newRow("tab is not a blank") << "\tHaus"
                                            << "Haus" << false << false;
        QTest::newRow("two inner blanks") << "to  go"
                                          << "to go" << false << false;
        QTest::newRow("Häuser/HÄUSER") << "HÄUSER"
                                       << "Häuser" << false << true;
        QTest::newRow("accents, œ, ÿ") << "ÀÉŒŸ"
                                       << "àéœÿ" << false << true;
        QTest::newRow("every letter")
            << "ABCDEFGHIJKLMNOPQRSTUVWXYZÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞŠŒŽŸ"
            << "abcdefghijklmnopqrstuvwxyzàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþšœžÿ" << false << true;
        QTest::newRow("÷ is no letter") << "×"
                                        << "÷" << false << false;
        QTest::newRow("Straße/STRASSE") << "STRASSE"
                                        << "Straße" << false << false;
        QTest::newRow("ß stays ß") << "STRAßE"
                                   << "Straße" << false << true;
        QTest::newRow("a synonym is not the answer") << "home"
                                                     << "house" << false << false;
        QTest::newRow("empty answer") << ""
                                      << "Haus" << false << false;
    }
    void checkAnswer()
    {
        const auto [typed, expected] = DataRow<QString, QString>("typed", "expected");
        QTEST(CheckAnswer(typed, expected, false), "exactCase");
        QTEST(CheckAnswer(typed, expected, true), "ignoredCase");
    }
};

LK_TEST_MAIN(AnswerCheckTest)
#include "AnswerCheckTest.moc"
