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

#include <QAction>
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

QByteArray Field(const QString& text, int width)
{
    return text.leftJustified(width, QLatin1Char(' '), true).toLatin1();
}

// Every label the run fills, in one list: all of them are empty when no run is shown.
QStringList RunLabels()
{
    QStringList texts;
    for (QLabel* label : {Form5->Label8, Form5->Label9, Form5->Label10, Form5->Label11,
                          Form5->Label13, Form5->Label15, Form5->Label17, Form5->Label19,
                          Form5->Label21, Form5->Label22, Form5->Label24, Form5->Label25,
                          Form5->Label26})
        texts << label->text();
    return texts;
}

const QStringList kEmptyRunLabels(13);

// Total, remaining, known, notKnown, deleted as shown.
QString Counters()
{
    return QStringList{Form5->Label13->text(), Form5->Label15->text(), Form5->Label17->text(),
                       Form5->Label19->text(), Form5->Label21->text()}
        .join(QLatin1Char(' '));
}

bool FeedbackHidden()
{
    for (QWidget* w : std::initializer_list<QWidget*>{Form5->Label22, Form5->Label23,
                                                      Form5->Label24, Form5->Button1,
                                                      Form5->Button2, Form5->Button3})
        if (w->isVisible())
            return false;
    return true;
}

}  // namespace

class LernprogrammRunTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void lessonRun_keyboardOnly_writesRecord();
    void judging_data();
    void judging();
    void feedbackButtons_focusTabAndEnter_data();
    void feedbackButtons_focusTabAndEnter();
    void heldEnter_judgesNothingTwice();
    void percentage_data();
    void percentage();
    void randomRun_asksThirtyDistinctEntries();
    void runsThatDoNotStart_data();
    void runsThatDoNotStart();
    void runEndedEarly_writesNoRecord_data();
    void runEndedEarly_writesNoRecord();
    void unwritableStatistics_reported();
    void statistics_opensStatisticsWindow();

private:
    QString WriteFile(const QList<VocabularyEntry>& entries,
                      const QString& name = QStringLiteral("lektion.vok"));
    void OpenFile(const QString& path);
    // Starts a lesson run by F1 and choosing the lesson in the dialog with the keys.
    void StartLesson(const QString& lesson);
    // The answer to the question on screen.
    QString RightAnswer() const;
    QString StatisticsPath() const { return StatisticsFilePath(platform_.programDir); }

    FakePlatform platform_;
    QString dir_;
    QList<VocabularyEntry> entries_;
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
    for (QWidget* w : std::initializer_list<QWidget*>{Form8, Form6, Form5, Form1})
        delete w;
    Form8 = nullptr;
    Form6 = nullptr;
    Form5 = nullptr;
    Form1 = nullptr;
}

void LernprogrammRunTest::init()
{
    platform_.clear();
    platform_.onMessage = nullptr;
    platform_.soundPlayable = true;
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
    delete intruder_;
    intruder_ = nullptr;
    Form5->close();
}

QString LernprogrammRunTest::WriteFile(const QList<VocabularyEntry>& entries, const QString& name)
{
    entries_ = entries;
    return WriteVocabularyFile(dir_, name, entries);
}

void LernprogrammRunTest::OpenFile(const QString& path)
{
    platform_.fileAnswers.enqueue(path);
    Press(Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(Form5->Label7->text(), path);
}

void LernprogrammRunTest::StartLesson(const QString& lesson)
{
    bool listed = false;
    QTimer::singleShot(0, Form6, [&] {
        if (!QTest::qWaitForWindowActive(Form6)) {
            Form6->reject();
            return;
        }
        Press(Qt::Key_Home);
        for (int row = 0; row < Form6->ListBox1->count(); ++row) {
            if (Form6->ListBox1->currentItem()->text() == lesson) {
                listed = true;
                break;
            }
            Press(Qt::Key_Down);
        }
        Press(Qt::Key_Space);  // the current row is not yet selected when it is the first
        Press(listed ? Qt::Key_Return : Qt::Key_Escape);
    });
    Press(Qt::Key_F1);
    QVERIFY2(listed, qPrintable(lesson));
    QVERIFY(!Form6->isVisible());
    // Without a window manager nobody hands the keyboard back after a dialog.
    Form5->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Form5));
}

QString LernprogrammRunTest::RightAnswer() const
{
    const bool germanToForeign = Form5->GermanToForeign();
    for (const VocabularyEntry& e : entries_)
        if ((germanToForeign ? e.german : e.foreign) == Form5->Label11->text())
            return germanToForeign ? e.foreign : e.german;
    return QStringLiteral("(keine Frage)");
}

void LernprogrammRunTest::lessonRun_keyboardOnly_writesRecord()
{
    const QString path = WriteFile({{QStringLiteral("A"), QStringLiteral("Haus"),
                                     QStringLiteral("house"), QString(), QString()},
                                    {QStringLiteral("B"), QStringLiteral("Baum"),
                                     QStringLiteral("tree"), QString(), QString()},
                                    {QStringLiteral("A"), QStringLiteral("Katze"),
                                     QStringLiteral("cat"), QString(), QString()},
                                    {QStringLiteral("A"), QStringLiteral("Hund"),
                                     QStringLiteral("dog"), QString(), QString()}});
    OpenFile(path);
    StartLesson(QStringLiteral("A"));

    QCOMPARE(Counters(), QStringLiteral("3 3 0 0 0"));
    QVERIFY(Form5->Label25->text().isEmpty());
    QVERIFY(Form5->Label26->text().isEmpty());
    QCOMPARE(Form5->Label8->text(), QStringLiteral("A"));
    QCOMPARE(Focused(), Form5->Edit1);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QVERIFY(Form5->Timer1->isActive());
    QCOMPARE(Form5->Timer1->interval(), 1000);
    // The seconds are counted by hand from here, so that a slow machine cannot add one.
    Form5->Timer1->stop();

    QString missed;
    QStringList asked;
    QStringList countersAtEnd;
    platform_.onMessage = [&](const FakePlatform::Message&) {
        countersAtEnd = {Counters(), Form5->Label25->text(), Form5->Label26->text()};
    };
    for (int step = 0; step < 4; ++step) {
        QCOMPARE(Focused(), Form5->Edit1);
        QVERIFY(FeedbackHidden());
        asked << Form5->Label11->text();
        Form5->Timer1Timer();
        Form5->Timer1Timer();
        if (step == 0) {
            missed = Form5->Label11->text();
            Answer(QStringLiteral("weiß nicht"));
            QCOMPARE(Focused(), Form5->Button3);
        } else {
            Answer(RightAnswer());
            QCOMPARE(Focused(), Form5->Button1);
        }
        if (step == 3) {
            Form5->Timer1Timer();
            QCOMPARE(Form5->Label26->text(), QStringLiteral("9 s"));
        }
        Press(Qt::Key_Return);
    }
    // Three questions in the first pass, then the missed one again.
    QCOMPARE(QSet<QString>(asked.begin(), asked.begin() + 3),
             (QSet<QString>{QStringLiteral("Haus"), QStringLiteral("Katze"),
                            QStringLiteral("Hund")}));
    QCOMPARE(asked.last(), missed);
    QCOMPARE(countersAtEnd,
             (QStringList{QStringLiteral("3 0 2 1 0"), QStringLiteral("66,67 %"),
                          QStringLiteral("9 s")}));
    QCOMPARE(platform_.messages.size(), 1);
    QCOMPARE(platform_.messages.first().text, QStringLiteral("Lerndurchgang beendet!"));
    QCOMPARE(platform_.messages.first().caption, QStringLiteral("Meldung"));
    QCOMPARE(platform_.messages.first().buttons, MsgButtons::Ok);
    QCOMPARE(platform_.messages.first().icon, MsgIcon::None);
    QCOMPARE(platform_.soundsPlayed, (QStringList{kWrongSoundResource, kRightSoundResource,
                                                  kRightSoundResource, kRightSoundResource}));

    const QByteArray record = Field(QStringLiteral("lektion.vok"), 80) +
                              Field(QStringLiteral("A"), 80) + "3    2    1    0    9    " +
                              "05032001";
    QCOMPARE(ReadBytes(StatisticsPath()), record);

    // Back to the open file, ready for the next run, which counts from 0 again.
    QCOMPARE(RunLabels(), kEmptyRunLabels);
    QVERIFY(FeedbackHidden());
    QVERIFY(!Form5->Timer1->isActive());
    QCOMPARE(Form5->State(), TForm5::ControlState::FileOpen);
    QCOMPARE(Form5->Label7->text(), path);
    StartLesson(QStringLiteral("A"));
    QCOMPARE(Counters(), QStringLiteral("3 3 0 0 0"));
    Form5->Timer1Timer();
    QCOMPARE(Form5->Label26->text(), QStringLiteral("1 s"));
    Press(Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(ReadBytes(StatisticsPath()).size(), kStatisticsRecordSize);
}

void LernprogrammRunTest::judging_data()
{
    // The entry: Haus / house, synonym "home", remark "Gebäude".
    QTest::addColumn<bool>("germanToForeign");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<QString>("soundSetting");
    QTest::addColumn<bool>("right");
    QTest::newRow("German asked") << true << "house" << false << "default" << true;
    QTest::newRow("foreign asked, blanks around") << false << "  Haus  " << false << "default"
                                                  << true;
    QTest::newRow("case counts") << false << "haus" << false << "default" << false;
    QTest::newRow("case ignored") << false << "haus" << true << "default" << true;
    QTest::newRow("case ignored, other word") << false << "hose" << true << "default" << false;
    QTest::newRow("synonym is not the answer") << true << "home" << false << "default" << false;
    QTest::newRow("no sound") << true << "house" << false << "" << true;
}

void LernprogrammRunTest::judging()
{
    QFETCH(bool, germanToForeign);
    QFETCH(QString, typed);
    QFETCH(bool, ignoreCase);
    QFETCH(QString, soundSetting);
    QFETCH(bool, right);
    WriteRightSound(soundSetting);
    WriteWrongSound(soundSetting);
    const QString german = QStringLiteral("Haus");
    const QString foreign = QStringLiteral("house");
    OpenFile(WriteFile({{QStringLiteral("L"), german, foreign, QStringLiteral("home"),
                         QStringLiteral("Gebäude")}}));
    Press(germanToForeign ? Qt::Key_F5 : Qt::Key_F6);
    StartLesson(QStringLiteral("L"));

    QCOMPARE(Form5->Label11->text(), germanToForeign ? german : foreign);
    QCOMPARE(Form5->Label9->text(), QStringLiteral("home"));
    QCOMPARE(Form5->Label10->text(), QStringLiteral("Gebäude"));
    // The tick counts as it is at the moment of the answer.
    if (ignoreCase)
        Press(Qt::Key_F8);
    QCOMPARE(Form5->GroundKleinschreibungignorieren1->isChecked(), ignoreCase);
    Answer(typed);

    const QString expected = germanToForeign ? foreign : german;
    QCOMPARE(Form5->Label22->text(), right ? QStringLiteral("Richtig!") : QStringLiteral("Falsch!"));
    QVERIFY(Form5->Label22->isVisible());
    QCOMPARE(Form5->Label23->isVisible(), !right);
    QCOMPARE(Form5->Label24->isVisible(), !right);
    if (!right) {
        QCOMPARE(Form5->Label23->text(), QStringLiteral("Die richtige Antwort lautet:"));
        QCOMPARE(Form5->Label24->text(), expected);  // as stored, also when case is ignored
    }
    QStringList sounds;
    if (!soundSetting.isEmpty())
        sounds << (right ? kRightSoundResource : kWrongSoundResource);
    QCOMPARE(platform_.soundsPlayed, sounds);
    QCOMPARE(platform_.beeps, 0);
    QVERIFY(!Form5->Edit1->isEnabled());
}

void LernprogrammRunTest::feedbackButtons_focusTabAndEnter_data()
{
    QTest::addColumn<bool>("right");
    QTest::addColumn<bool>("autoDelete");
    QTest::addColumn<QString>("countersAfter");
    QTest::newRow("right: OK") << true << false << "2 1 1 0 0";
    QTest::newRow("wrong: keep") << false << false << "2 2 0 1 0";
    QTest::newRow("wrong, automatisch löschen: drop") << false << true << "2 1 0 1 1";
}

void LernprogrammRunTest::feedbackButtons_focusTabAndEnter()
{
    QFETCH(bool, right);
    QFETCH(bool, autoDelete);
    QFETCH(QString, countersAfter);
    OpenFile(WriteFile(NumberedEntries(2, QStringLiteral("L"))));
    StartLesson(QStringLiteral("L"));
    // Another widget that takes the focus, so that Tab has somewhere else to go.
    intruder_ = new QLineEdit(Form5->Panel2);
    intruder_->show();
    if (autoDelete)
        Press(Qt::Key_F7);  // ticked during the run: counts at the next answer
    Answer(right ? RightAnswer() : QStringLiteral("falsch"));

    QPushButton* focusButton = right ? Form5->Button1 : autoDelete ? Form5->Button2 : Form5->Button3;
    QCOMPARE(Focused(), focusButton);
    QCOMPARE(Form5->Button1->isVisible(), right);
    QCOMPARE(Form5->Button2->isVisible(), !right);
    QCOMPARE(Form5->Button3->isVisible(), !right);
    for (QPushButton* b : {Form5->Button1, Form5->Button2, Form5->Button3}) {
        QCOMPARE(b->isEnabled(), b->isVisible());
        QCOMPARE(b->focusPolicy(), b->isVisible() ? Qt::StrongFocus : Qt::NoFocus);
    }
    QVERIFY(!Form5->Edit1->isEnabled());

    // Tab, Backtab and a click elsewhere leave the focus on the offered buttons.
    QSet<QWidget*> visited;
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Backtab}) {
        Press(key);
        visited << Focused();
    }
    QTest::mouseClick(intruder_, Qt::LeftButton);
    visited << Focused();
    const QSet<QWidget*> offered = right ? QSet<QWidget*>{Form5->Button1}
                                         : QSet<QWidget*>{Form5->Button2, Form5->Button3};
    QCOMPARE(visited, offered);
    if (Focused() != focusButton)
        Press(Qt::Key_Tab);

    Press(Qt::Key_Return);
    QCOMPARE(Counters(), countersAfter);
    QVERIFY(FeedbackHidden());
    QCOMPARE(Focused(), Form5->Edit1);
    QVERIFY(Form5->Edit1->isEnabled());
    QVERIFY(Form5->Edit1->text().isEmpty());
    QVERIFY(!Form5->Label11->text().isEmpty());
    QVERIFY(platform_.messages.isEmpty());
}

void LernprogrammRunTest::heldEnter_judgesNothingTwice()
{
    OpenFile(WriteFile(NumberedEntries(3, QStringLiteral("L"))));
    StartLesson(QStringLiteral("L"));
    const auto heldEnter = [] {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"),
                         true);
        QApplication::sendEvent(Focused(), &repeat);
    };
    Answer(RightAnswer());
    heldEnter();  // on "&OK": not a second confirmation
    QCOMPARE(Focused(), Form5->Button1);
    Press(Qt::Key_Return);
    heldEnter();  // on the next question's empty field: not an answer
    QVERIFY(FeedbackHidden());
    QCOMPARE(Counters(), QStringLiteral("3 2 1 0 0"));
    QCOMPARE(platform_.soundsPlayed.size(), 1);
}

void LernprogrammRunTest::percentage_data()
{
    QTest::addColumn<QLocale>("locale");
    // One letter per answer: r right and OK, k wrong and kept, d wrong and dropped.
    QTest::addColumn<QString>("answers");
    // The percentage after each answer, separated by "|"; the last one while
    // "Lerndurchgang beendet!" is up.
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("counts");  // known notKnown deleted of the record

    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("German separator, frozen in the repeat pass")
        << german << "rkrr" << "100,00 %|50,00 %|66,67 %|66,67 %"
        << "2    1    0    ";
    QTest::newRow("English separator")
        << english << "krkrr" << "0.00 %|50.00 %|33.33 %|33.33 %|33.33 %"
        << "1    2    0    ";
    QTest::newRow("dropped in the first pass, dropped in the repeat pass")
        << german << "dkrd" << "0,00 %|0,00 %|33,33 %|33,33 %"
        << "1    2    1    ";
}

void LernprogrammRunTest::percentage()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, answers);
    QFETCH(QString, shown);
    QFETCH(QString, counts);
    platform_.fixedLocale = locale;
    OpenFile(WriteFile(NumberedEntries(3, QStringLiteral("L"))));
    StartLesson(QStringLiteral("L"));
    Form5->Timer1->stop();
    QVERIFY(Form5->Label25->text().isEmpty());

    QStringList seen;
    platform_.onMessage = [&](const FakePlatform::Message&) { seen << Form5->Label25->text(); };
    for (const QChar a : answers) {
        if (a == QLatin1Char('r')) {
            Answer(RightAnswer());
        } else {
            Answer(QStringLiteral("falsch"));
            if (a == QLatin1Char('d'))
                Press(Qt::Key_Tab);  // from "Antwort nicht löschen" to "Antwort löschen"
        }
        Press(Qt::Key_Return);
        if (Form5->Run().isRunning())
            seen << Form5->Label25->text();
    }
    QCOMPARE(seen.join(QLatin1Char('|')), shown);
    QCOMPARE(platform_.messageTexts(), QStringList{QStringLiteral("Lerndurchgang beendet!")});
    QCOMPARE(ReadBytes(StatisticsPath()).mid(160, 25), "3    " + counts.toLatin1() + "0    ");
}

void LernprogrammRunTest::randomRun_asksThirtyDistinctEntries()
{
    const QString path = WriteFile(NumberedEntries(30), QStringLiteral("vokabeln.vok"));
    OpenFile(path);
    Press(Qt::Key_F2);
    QCOMPARE(Counters(), QStringLiteral("30 30 0 0 0"));
    Form5->Timer1->stop();
    QSet<QString> asked;
    while (Form5->Run().isRunning()) {
        // The lesson label follows the entry asked: "L<i>" belongs to "deutsch<i>".
        QCOMPARE(Form5->Label8->text().mid(1), Form5->Label11->text().mid(7));
        asked << Form5->Label11->text();
        Answer(RightAnswer());
        Press(Qt::Key_Return);
        QVERIFY(asked.size() <= 30);
    }
    QCOMPARE(asked.size(), 30);
    const QByteArray record = Field(QStringLiteral("vokabeln.vok"), 80) + QByteArray(80, ' ') +
                              "30   30   0    0    0    05032001";
    QCOMPARE(ReadBytes(StatisticsPath()), record);
}

void LernprogrammRunTest::runsThatDoNotStart_data()
{
    QTest::addColumn<int>("entryCount");
    QTest::addColumn<QString>("storedLesson");
    QTest::addColumn<QString>("command");  // "random", or the lesson to choose, or "" for Esc
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("counters");
    const QString tooFew =
        QStringLiteral("Für diese Funktion muß die Datei mindestens 30 Einträge enthalten!");
    QTest::newRow("random run over 29 entries") << 29 << "A" << "random" << tooFew << "    ";
    QTest::newRow("random run over no entries") << 0 << "A" << "random" << tooFew << "    ";
    QTest::newRow("lesson stored behind a tab") << 2 << "\tA" << "A" << "" << "0 0 0 0 0";
    QTest::newRow("lesson dialog closed without a choice") << 2 << "A" << "" << "" << "    ";
}

void LernprogrammRunTest::runsThatDoNotStart()
{
    QFETCH(int, entryCount);
    QFETCH(QString, storedLesson);
    QFETCH(QString, command);
    QFETCH(QString, message);
    QFETCH(QString, counters);
    OpenFile(WriteFile(NumberedEntries(entryCount, storedLesson)));
    if (command == QLatin1String("random")) {
        Press(Qt::Key_F2);
    } else if (command.isEmpty()) {
        QTimer::singleShot(0, Form6, [] {
            QVERIFY(QTest::qWaitForWindowActive(Form6));
            Press(Qt::Key_Escape);
        });
        Press(Qt::Key_F1);
    } else {
        StartLesson(command);
    }
    QCOMPARE(platform_.messageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty())
        QCOMPARE(platform_.messages.first().caption, QStringLiteral("Fehler"));
    QCOMPARE(Counters(), counters);
    QCOMPARE(Form5->State(), TForm5::ControlState::FileOpen);
    QVERIFY(!Form5->Run().isRunning());
    QVERIFY(!Form5->Timer1->isActive());
    QVERIFY(!Form5->Edit1->isEnabled());
    QVERIFY(Form5->Label11->text().isEmpty());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void LernprogrammRunTest::runEndedEarly_writesNoRecord_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("fileStaysOpen");
    QTest::newRow("Abbrechen, Ctrl+A") << "ctrl+a" << true;
    QTest::newRow("Lerndurchgang abbrechen, tool button") << "tool" << true;
    QTest::newRow("Schließen, Ctrl+Q") << "ctrl+q" << false;
    QTest::newRow("window closed with Esc") << "esc" << false;
}

void LernprogrammRunTest::runEndedEarly_writesNoRecord()
{
    QFETCH(QString, way);
    QFETCH(bool, fileStaysOpen);
    const QString path = WriteFile(NumberedEntries(2, QStringLiteral("L")));
    OpenFile(path);
    StartLesson(QStringLiteral("L"));
    Form5->Timer1Timer();
    // The last question, answered wrongly: one press of "&OK" would end the run.
    Answer(RightAnswer());
    Press(Qt::Key_Return);
    Answer(QStringLiteral("falsch"));
    QVERIFY(Form5->Button3->hasFocus());

    if (way == QLatin1String("ctrl+a"))
        Press(Qt::Key_A, Qt::ControlModifier);
    else if (way == QLatin1String("tool"))
        QTest::mouseClick(Form5->ToolButton13, Qt::LeftButton);
    else if (way == QLatin1String("ctrl+q"))
        Press(Qt::Key_Q, Qt::ControlModifier);
    else
        Press(Qt::Key_Escape);

    QVERIFY(!QFile::exists(StatisticsPath()));
    QVERIFY(platform_.messages.isEmpty());
    QVERIFY(!Form5->Run().isRunning());
    QVERIFY(!Form5->Timer1->isActive());
    QCOMPARE(RunLabels(), kEmptyRunLabels);
    QVERIFY(FeedbackHidden());
    QVERIFY(!Form5->Edit1->isEnabled());
    QVERIFY(Form5->Edit1->text().isEmpty());
    QCOMPARE(Form5->Label7->text(), fileStaysOpen ? path : QStringLiteral("(keine ausgewählt)"));
    QCOMPARE(Form5->State(), fileStaysOpen ? TForm5::ControlState::FileOpen
                                           : TForm5::ControlState::NoFile);
}

void LernprogrammRunTest::unwritableStatistics_reported()
{
    // A directory where the statistics file should be: the append must fail.
    QVERIFY(QDir().mkpath(StatisticsPath()));
    OpenFile(WriteFile(NumberedEntries(1, QStringLiteral("L"))));
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
    const QString path = WriteFile(NumberedEntries(1, QStringLiteral("L")));
    OpenFile(path);
    RunResult run;
    run.vocabularyPath = path;
    run.lesson = QStringLiteral("L");
    run.total = run.known = 1;
    run.date = QDate(2001, 3, 4);
    QVERIFY(WriteStatisticsRecord(StatisticsPath(), run));

    bool shown = false;
    QString vocabulary, statistics;
    QTimer::singleShot(0, Form8, [&] {
        shown = Form8->isVisible();
        vocabulary = Form8->vocabularyPath;
        statistics = Form8->statisticsPath;
        Form8->reject();
    });
    Press(Qt::Key_F3);
    QVERIFY(shown);
    QCOMPARE(vocabulary, path);
    QCOMPARE(statistics, StatisticsPath());
    QVERIFY(platform_.messages.isEmpty());
}

LK_TEST_MAIN(LernprogrammRunTest)
#include "LernprogrammRunTest.moc"
