#include "learn/AnswerCheck.h"

#include "support/VocabTests.h"

class AnswerCheckTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void checkAnswer_data()
    {
        // The results with case counting and with case ignored.
        DataColumns<QString, QString, bool, bool>("typed", "expected", "exactCase", "ignoredCase");
        const auto row = [](const char* name, const char* typed, const char* expected,
                            bool exact, bool ignored) {
            QTest::newRow(name) << typed << expected << exact << ignored;
        };
        row("Häuser/HÄUSER", "HÄUSER", "Häuser", false, true);
        row("accents, œ, ÿ", "ÀÉŒŸ", "àéœÿ", false, true);
        row("every letter",
            "ABCDEFGHIJKLMNOPQRSTUVWXYZÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞŠŒŽŸ",
            "abcdefghijklmnopqrstuvwxyzàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþšœžÿ", false, true);
        row("÷ is no letter", "×", "÷", false, false);
        row("ß stays ß", "STRAßE", "Straße", false, true);
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
