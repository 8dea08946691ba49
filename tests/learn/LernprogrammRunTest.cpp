#include "app/Forms.h"
#include "app/SettingsStore.h"
#include "app/Sound.h"
#include "app/Start.h"
#include "learn/Lektionauswahl.h"
#include "learn/Lernprogramm.h"
#include "learn/StatisticsFile.h"
#include "learn/Statistik.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <memory>

// Learning runs played through the learning window the way a user does it: keys go to
// whatever widget has the focus.

namespace {

QWidget* Focused()
{
    return QApplication::focusWidget() ? QApplication::focusWidget() : Form5;
}

void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(Focused(), key, modifiers);
}

void Answer(const QString& text)
{
    TypeText(Focused(), text);
    Press(Qt::Key_Return);
}

// Enter still held down from the last press.
void HeldEnter()
{
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
    QApplication::sendEvent(Focused(), &repeat);
}

// The answer to the question on screen, German asked, for entries made by NumberedEntries.
QString RightAnswer()
{
    return Form5->Label11->text().replace(QStringLiteral("deutsch"), QStringLiteral("foreign"));
}

QByteArray Field(const QString& text, int width)
{
    return text.leftJustified(width, QLatin1Char(' '), true).toLatin1();
}

// Total, remaining, known, notKnown, deleted as shown.
QString Counters()
{
    return QStringList{Form5->Label13->text(), Form5->Label15->text(), Form5->Label17->text(),
                       Form5->Label19->text(), Form5->Label21->text()}
        .join(QLatin1Char(' '));
}

bool FeedbackHidden()
{
    const QList<QWidget*> feedback{Form5->Label22, Form5->Label23, Form5->Label24,
                                   Form5->Button1, Form5->Button2, Form5->Button3};
    return std::none_of(feedback.begin(), feedback.end(),
                        [](QWidget* w) { return w->isVisible(); });
}

// Nothing of a question left on screen; the lesson and the counters are checked apart.
bool NoQuestionShown()
{
    for (QLabel* label : {Form5->Label9, Form5->Label10, Form5->Label11, Form5->Label24,
                          Form5->Label25, Form5->Label26})
        if (!label->text().isEmpty())
            return false;
    return FeedbackHidden() && !Form5->Edit1->isEnabled() && Form5->Edit1->text().isEmpty();
}

}  // namespace

class LernprogrammRunTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void lessonRun_keyboardOnly_writesRecord_data();
    void lessonRun_keyboardOnly_writesRecord();
    void answer_feedbackFocusAndEnter_data();
    void answer_feedbackFocusAndEnter();
    void randomRun_asksThirtyDistinctEntries();
    void runNotFinished_writesNoRecord_data();
    void runNotFinished_writesNoRecord();
    void unwritableStatistics_reported();
    void statistics_opensStatisticsWindow();

private:
    // Writes the entries to a file and opens it by Ctrl+O.
    void OpenFile(const QList<VocabularyEntry>& entries,
                  const QString& name = QStringLiteral("lektion.vok"));
    // Starts a lesson run by F1 and choosing the lesson in the dialog with the keys; Esc
    // leaves the dialog when the lesson is empty.
    void StartLesson(const QString& lesson);
    QString StatisticsPath() const { return StatisticsFilePath(platform_.programDir); }

    FakePlatform platform_;
    QString dir_;
    QString path_;  // of the open file
    QWidget* intruder_ = nullptr;
};

void LernprogrammRunTest::initTestCase()
{
    QVERIFY(WriteVersionCreatingStore());
    Form1 = new TForm1();
    Form5 = new TForm5();
    Form6 = new TForm6();
    Form8 = new TForm8();
}

void LernprogrammRunTest::cleanupTestCase()
{
    delete std::exchange(Form8, nullptr);
    delete std::exchange(Form6, nullptr);
    delete std::exchange(Form5, nullptr);
    delete std::exchange(Form1, nullptr);
}

void LernprogrammRunTest::init()
{
    platform_.clear();
    platform_.onMessage = nullptr;
    platform_.fixedLocale = QLocale(QLocale::German, QLocale::Germany);
    platform_.programDir = NewTestDirectory();
    dir_ = NewTestDirectory();
    WriteAutoDelete(false);
    WriteIgnoreGrossKlein(false);
    WriteRightSound(QStringLiteral("default"));
    WriteWrongSound(QStringLiteral("default"));
    Form1->Label3->clear();
    Form5->DeutschFremdsprache1Click();
    Form5->CloseLearningFile();
    Form5->show();
    QVERIFY(QTest::qWaitForWindowActive(Form5));
}

void LernprogrammRunTest::cleanup()
{
    delete std::exchange(intruder_, nullptr);
    Form5->close();
}

void LernprogrammRunTest::OpenFile(const QList<VocabularyEntry>& entries, const QString& name)
{
    path_ = WriteVocabularyFile(dir_, name, entries);
    platform_.fileAnswers.enqueue(path_);
    Press(Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(Form5->Label7->text(), path_);
}

void LernprogrammRunTest::StartLesson(const QString& lesson)
{
    const auto shown = std::make_shared<bool>(false);
    QTimer::singleShot(0, Form6, [lesson, shown] {
        *shown = QTest::qWaitForWindowActive(Form6);
        if (*shown && !lesson.isEmpty()) {
            QListWidget* list = Form6->ListBox1;
            Press(Qt::Key_Home);
            for (int row = 1; row < list->count() && list->currentItem()->text() != lesson; ++row)
                Press(Qt::Key_Down);
            Press(Qt::Key_Space);  // the first row is current but not yet selected
            Press(Qt::Key_Return);
        }
        if (Form6->isVisible())
            QTest::keyClick(Form6, Qt::Key_Escape);
    });
    Press(Qt::Key_F1);
    QVERIFY(*shown);
    QCOMPARE(Form5->Label8->text(), lesson);
    // Without a window manager nobody hands the keyboard back after a dialog.
    Form5->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Form5));
}

void LernprogrammRunTest::lessonRun_keyboardOnly_writesRecord_data()
{
    QTest::addColumn<QLocale>("locale");
    // One letter per answer: r right and OK, k wrong and kept, d wrong and dropped.
    QTest::addColumn<QString>("answers");
    // The percentage after each answer; the last one while "Lerndurchgang beendet!" is up.
    QTest::addColumn<QString>("percentages");
    QTest::addColumn<QString>("counters");
    QTest::addColumn<QByteArray>("recordCounts");  // total known notKnown deleted seconds
    QTest::newRow("kept, then right in the repeat pass")
        << QLocale(QLocale::German, QLocale::Germany) << "krrr"
        << "0,00 %|50,00 %|66,67 %|66,67 %"
        << "3 0 2 1 0" << QByteArray("3    2    1    0    8    ");
    QTest::newRow("English separator, dropped in the first and in the repeat pass")
        << QLocale(QLocale::English, QLocale::UnitedStates) << "dkrd"
        << "0.00 %|0.00 %|33.33 %|33.33 %"
        << "3 0 1 2 1" << QByteArray("3    1    2    1    8    ");
}

void LernprogrammRunTest::lessonRun_keyboardOnly_writesRecord()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, answers);
    QFETCH(QString, percentages);
    QFETCH(QString, counters);
    QFETCH(QByteArray, recordCounts);
    platform_.fixedLocale = locale;
    QList<VocabularyEntry> entries = NumberedEntries(4, QStringLiteral("A"));
    entries[1].lesson = QStringLiteral("B");
    OpenFile(entries);
    StartLesson(QStringLiteral("A"));
    QCOMPARE(Counters(), QStringLiteral("3 3 0 0 0"));
    QVERIFY(Form5->Label25->text().isEmpty());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QVERIFY(Form5->Timer1->isActive());
    // The seconds are counted by hand from here, so that a slow machine cannot add one.
    Form5->Timer1->stop();

    QStringList asked, kept, shown, sounds, atEnd;
    platform_.onMessage = [&](const FakePlatform::Message&) {
        atEnd = {Counters(), Form5->Label25->text(), Form5->Label26->text()};
    };
    for (const QChar a : answers) {
        QCOMPARE(Focused(), Form5->Edit1);
        QVERIFY(FeedbackHidden());
        QCOMPARE(Form5->Label8->text(), QStringLiteral("A"));
        asked << Form5->Label11->text();
        Form5->Timer1Timer();
        Form5->Timer1Timer();
        const bool right = a == u'r';
        Answer(right ? RightAnswer() : QStringLiteral("weiß nicht"));
        sounds << (right ? kRightSoundResource : kWrongSoundResource);
        QCOMPARE(Focused(), right ? Form5->Button1 : Form5->Button3);
        if (a == u'k')
            kept << asked.last();
        if (a == u'd')
            Press(Qt::Key_Tab);  // from "Antwort nicht löschen" to "Antwort löschen"
        Press(Qt::Key_Return);
        if (Form5->Run().isRunning())
            shown << Form5->Label25->text();
    }
    // Each question once in the first pass, then the kept ones again.
    QCOMPARE(QSet<QString>(asked.begin(), asked.begin() + 3),
             (QSet<QString>{QStringLiteral("deutsch1"), QStringLiteral("deutsch3"),
                            QStringLiteral("deutsch4")}));
    QCOMPARE(asked.mid(3), kept);
    shown << atEnd.value(1);
    QCOMPARE(shown.join(u'|'), percentages);
    QCOMPARE(atEnd.value(0), counters);
    QCOMPARE(atEnd.value(2), QStringLiteral("8 s"));
    QCOMPARE(platform_.messageTexts(), QStringList{QStringLiteral("Lerndurchgang beendet!")});
    QCOMPARE(platform_.messages.first().caption, QStringLiteral("Meldung"));
    QCOMPARE(platform_.soundsPlayed, sounds);
    QCOMPARE(ReadBytes(StatisticsPath()), Field(QStringLiteral("lektion.vok"), 80) +
                                              Field(QStringLiteral("A"), 80) + recordCounts +
                                              "05032001");

    // Back to the open file, ready for the next run, which counts from 0 again.
    QVERIFY(NoQuestionShown());
    QCOMPARE(Counters(), QStringLiteral("    "));
    QVERIFY(Form5->Label8->text().isEmpty());
    QCOMPARE(Form5->State(), TForm5::ControlState::FileOpen);
    StartLesson(QStringLiteral("A"));
    QCOMPARE(Counters(), QStringLiteral("3 3 0 0 0"));
    Form5->Timer1Timer();
    QCOMPARE(Form5->Label26->text(), QStringLiteral("1 s"));
    // No Windows-1252 byte for Ж; a term has 80 characters at most.
    QCOMPARE(Focused(), Form5->Edit1);
    TypeText(Focused(), QStringLiteral("HäuserЖx") + QString(80, u'y'));
    QCOMPARE(Form5->Edit1->text(), QStringLiteral("Häuserx") + QString(73, u'y'));
    // Ctrl+A aborts also in the answer field, where it would select all.
    Press(Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(Form5->State(), TForm5::ControlState::FileOpen);
    QCOMPARE(ReadBytes(StatisticsPath()).size(), kStatisticsRecordSize);
}

void LernprogrammRunTest::answer_feedbackFocusAndEnter_data()
{
    QTest::addColumn<bool>("germanToForeign");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("tickKey");  // pressed during the run: counts at the next answer
    QTest::addColumn<QString>("sound");
    QTest::addColumn<bool>("right");
    QTest::addColumn<QString>("countersAfter");
    QTest::newRow("German asked") << true << "house" << 0 << "default" << true << "2 1 1 0 0";
    QTest::newRow("foreign asked, blanks around")
        << false << "  Haus  " << 0 << "default" << true << "2 1 1 0 0";
    QTest::newRow("case counts: kept") << false << "haus" << 0 << "default" << false << "2 2 0 1 0";
    QTest::newRow("case ignored")
        << false << "haus" << int(Qt::Key_F8) << "default" << true << "2 1 1 0 0";
    QTest::newRow("synonym is not the answer")
        << true << "home" << 0 << "default" << false << "2 2 0 1 0";
    QTest::newRow("automatisch löschen: dropped")
        << true << "falsch" << int(Qt::Key_F7) << "default" << false << "2 1 0 1 1";
    QTest::newRow("no sound") << true << "house" << 0 << "" << true << "2 1 1 0 0";
}

void LernprogrammRunTest::answer_feedbackFocusAndEnter()
{
    QFETCH(bool, germanToForeign);
    QFETCH(QString, typed);
    QFETCH(int, tickKey);
    QFETCH(QString, sound);
    QFETCH(bool, right);
    QFETCH(QString, countersAfter);
    WriteRightSound(sound);
    WriteWrongSound(sound);
    // Twice the same entry, so that the run goes on after the first answer.
    const VocabularyEntry haus{QStringLiteral("L"), QStringLiteral("Haus"), QStringLiteral("house"),
                               QStringLiteral("home"), QStringLiteral("Gebäude")};
    OpenFile({haus, haus});
    Press(germanToForeign ? Qt::Key_F5 : Qt::Key_F6);
    StartLesson(QStringLiteral("L"));
    QCOMPARE(Form5->Label11->text(), germanToForeign ? haus.german : haus.foreign);
    QCOMPARE(Form5->Label9->text(), haus.synonyms);
    QCOMPARE(Form5->Label10->text(), haus.remark);
    // Another widget that takes the focus, so that Tab has somewhere else to go.
    intruder_ = new QLineEdit(Form5->Panel2);
    intruder_->show();
    if (tickKey)
        Press(Qt::Key(tickKey));
    Answer(typed);

    QCOMPARE(Form5->Label22->text(),
             right ? QStringLiteral("Richtig!") : QStringLiteral("Falsch!"));
    QVERIFY(Form5->Label22->isVisible());
    QCOMPARE(Form5->Label23->isVisible(), !right);
    QCOMPARE(Form5->Label24->isVisible(), !right);
    if (!right) {
        QCOMPARE(Form5->Label23->text(), QStringLiteral("Die richtige Antwort lautet:"));
        QCOMPARE(Form5->Label24->text(), germanToForeign ? haus.foreign : haus.german);
    }
    QCOMPARE(platform_.soundsPlayed,
             sound.isEmpty() ? QStringList()
                             : QStringList{right ? kRightSoundResource : kWrongSoundResource});
    QCOMPARE(platform_.beeps, 0);
    QVERIFY(!Form5->Edit1->isEnabled());

    QPushButton* focusButton =
        right ? Form5->Button1 : tickKey == Qt::Key_F7 ? Form5->Button2 : Form5->Button3;
    QCOMPARE(Focused(), focusButton);
    const QSet<QWidget*> offered =
        right ? QSet<QWidget*>{Form5->Button1} : QSet<QWidget*>{Form5->Button2, Form5->Button3};
    QSet<QWidget*> visible;
    for (QPushButton* b : {Form5->Button1, Form5->Button2, Form5->Button3})
        if (b->isVisible())
            visible << b;
    QCOMPARE(visible, offered);
    // Tab, Backtab and a click elsewhere leave the focus on the offered buttons.
    QSet<QWidget*> visited;
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Backtab}) {
        Press(key);
        visited << Focused();
    }
    QTest::mouseClick(intruder_, Qt::LeftButton);
    visited << Focused();
    QCOMPARE(visited, offered);
    if (Focused() != focusButton)
        Press(Qt::Key_Tab);

    HeldEnter();  // not a confirmation
    QCOMPARE(Counters(), QStringLiteral("2 2 0 0 0"));
    Press(Qt::Key_Return);
    HeldEnter();  // on the next question's empty field: not an answer
    QCOMPARE(Counters(), countersAfter);
    QVERIFY(FeedbackHidden());
    QCOMPARE(Focused(), Form5->Edit1);
    QVERIFY(Form5->Edit1->isEnabled());
    QVERIFY(Form5->Edit1->text().isEmpty());
    QVERIFY(!Form5->Label11->text().isEmpty());
    QVERIFY(platform_.messages.isEmpty());
}

void LernprogrammRunTest::randomRun_asksThirtyDistinctEntries()
{
    OpenFile(NumberedEntries(30), QStringLiteral("vokabeln.vok"));
    Press(Qt::Key_F2);
    QCOMPARE(Counters(), QStringLiteral("30 30 0 0 0"));
    Form5->Timer1->stop();
    QSet<QString> asked;
    while (Form5->Run().isRunning() && asked.size() <= 30) {
        // The lesson label follows the entry asked: "L<i>" belongs to "deutsch<i>".
        QCOMPARE(Form5->Label8->text().mid(1), Form5->Label11->text().mid(7));
        asked << Form5->Label11->text();
        Answer(RightAnswer());
        Press(Qt::Key_Return);
    }
    QCOMPARE(asked.size(), 30);
    QCOMPARE(ReadBytes(StatisticsPath()), Field(QStringLiteral("vokabeln.vok"), 80) +
                                              QByteArray(80, ' ') +
                                              "30   30   0    0    0    05032001");
}

void LernprogrammRunTest::runNotFinished_writesNoRecord_data()
{
    QTest::addColumn<int>("entryCount");
    QTest::addColumn<QString>("storedLesson");
    QTest::addColumn<QString>("road");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("counters");
    QTest::addColumn<bool>("fileStaysOpen");
    const QString tooFew =
        QStringLiteral("Für diese Funktion muß die Datei mindestens 30 Einträge enthalten!");
    QTest::newRow("random, 29 entries") << 29 << "A" << "random" << tooFew << "    " << true;
    QTest::newRow("lesson behind a tab") << 2 << "\tA" << "lesson" << "" << "0 0 0 0 0" << true;
    QTest::newRow("lesson dialog left with Esc") << 2 << "A" << "nolesson" << "" << "    " << true;
    // At the last question, answered wrongly: one press of "&OK" would end the run.
    QTest::newRow("Abbrechen, Ctrl+A") << 2 << "L" << "lesson last ctrl+a" << "" << "    " << true;
    QTest::newRow("abort tool button") << 2 << "L" << "lesson last tool" << "" << "    " << true;
    QTest::newRow("Schließen, Ctrl+Q") << 2 << "L" << "lesson last ctrl+q" << "" << "    " << false;
    QTest::newRow("window left with Esc") << 2 << "L" << "lesson last esc" << "" << "    " << false;
}

void LernprogrammRunTest::runNotFinished_writesNoRecord()
{
    QFETCH(int, entryCount);
    QFETCH(QString, storedLesson);
    QFETCH(QString, road);
    QFETCH(QString, message);
    QFETCH(bool, fileStaysOpen);
    OpenFile(NumberedEntries(entryCount, storedLesson));
    const QHash<QString, std::function<void()>> steps{
        {QStringLiteral("random"), [] { Press(Qt::Key_F2); }},
        {QStringLiteral("lesson"), [&] { StartLesson(storedLesson.trimmed()); }},
        {QStringLiteral("nolesson"), [this] { StartLesson(QString()); }},
        {QStringLiteral("last"),
         [this] {
             Form5->Timer1Timer();
             Answer(RightAnswer());
             Press(Qt::Key_Return);
             Answer(QStringLiteral("falsch"));
             QVERIFY(Form5->Button3->hasFocus());
         }},
        {QStringLiteral("ctrl+a"), [] { Press(Qt::Key_A, Qt::ControlModifier); }},
        {QStringLiteral("tool"), [] { QTest::mouseClick(Form5->ToolButton13, Qt::LeftButton); }},
        {QStringLiteral("ctrl+q"), [] { Press(Qt::Key_Q, Qt::ControlModifier); }},
        {QStringLiteral("esc"), [] { Press(Qt::Key_Escape); }}};
    for (const QString& step : road.split(u' '))
        steps.value(step)();

    QCOMPARE(platform_.messageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty())
        QCOMPARE(platform_.messages.first().caption, QStringLiteral("Fehler"));
    QTEST(Counters(), "counters");
    QVERIFY(NoQuestionShown());
    QVERIFY(!Form5->Run().isRunning());
    QVERIFY(!Form5->Timer1->isActive());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QVERIFY(!QFile::exists(StatisticsPath()));
    QCOMPARE(Form5->Label7->text(), fileStaysOpen ? path_ : QStringLiteral("(keine ausgewählt)"));
}

void LernprogrammRunTest::unwritableStatistics_reported()
{
    // A directory where the statistics file should be: the append must fail.
    QVERIFY(QDir().mkpath(StatisticsPath()));
    OpenFile(NumberedEntries(1, QStringLiteral("L")));
    StartLesson(QStringLiteral("L"));
    Answer(RightAnswer());
    Press(Qt::Key_Return);
    QCOMPARE(platform_.messageTexts(),
             (QStringList{QStringLiteral("Fehler beim Schreiben der Statistikdatei!"),
                          QStringLiteral("Lerndurchgang beendet!")}));
    QCOMPARE(platform_.messages.first().caption, QStringLiteral("Fehler"));
    QCOMPARE(Form5->State(), TForm5::ControlState::FileOpen);
}

void LernprogrammRunTest::statistics_opensStatisticsWindow()
{
    OpenFile(NumberedEntries(1, QStringLiteral("L")));
    QVERIFY(WriteStatisticsRecord(StatisticsPath(),
                                  {path_, QStringLiteral("L"), 1, 1, 0, 0, 0, QDate(2001, 3, 4)}));
    QStringList shown;
    QTimer::singleShot(0, Form8, [&] {
        if (Form8->isVisible())
            shown = {Form8->vocabularyPath, Form8->statisticsPath};
        Form8->reject();
    });
    Press(Qt::Key_F3);
    QCOMPARE(shown, (QStringList{path_, StatisticsPath()}));
    QVERIFY(platform_.messages.isEmpty());
}

LK_TEST_MAIN(LernprogrammRunTest)
#include "LernprogrammRunTest.moc"
