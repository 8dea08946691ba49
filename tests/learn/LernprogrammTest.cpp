#include "app/Forms.h"
#include "app/SettingsStore.h"
#include "app/Sound.h"
#include "app/Start.h"
#include "learn/Lektionauswahl.h"
#include "learn/Lernprogramm.h"
#include "learn/StatisticsFile.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <QToolButton>

#include <functional>

// The learning window driven the way a user does it: keys go to whatever has the focus.

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

// Enter still held down from the last press: neither an answer nor a confirmation.
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

// Total, remaining, known, notKnown, deleted as shown.
QString Counters()
{
    return QStringList{Form5->Label13->text(), Form5->Label15->text(), Form5->Label17->text(),
                       Form5->Label19->text(), Form5->Label21->text()}
        .join(u' ');
}

// One letter per group of controls, '?' when a group is split (always a fault): open,
// close, abort, menu "Lernprogramm", run starts, statistics and information, direction,
// answer field, timer running.
QString EnabledControls()
{
    const TForm5* w = Form5;
    const QList<QList<bool>> groups{
        {w->Dateiffnen1->isEnabled(), w->ToolButton1->isEnabled()},
        {w->Dateischlieen1->isEnabled(), w->ToolButton2->isEnabled()},
        {w->Abbrechen1->isEnabled(), w->ToolButton13->isEnabled()},
        {w->Lernprogramm1->menuAction()->isEnabled()},
        {w->Lektion1->isEnabled(), w->Zufall1->isEnabled(), w->ToolButton5->isEnabled(),
         w->ToolButton3->isEnabled()},
        {w->Statistik1->isEnabled(), w->DateiInformationen1->isEnabled(),
         w->ToolButton7->isEnabled(), w->ToolButton8->isEnabled()},
        {w->DeutschFremdsprache1->isEnabled(), w->FremdspracheDeutsch1->isEnabled()},
        {w->Edit1->isEnabled()},
        {w->Timer1->isActive()}};
    QString s;
    for (const QList<bool>& g : groups)
        s += g.count(g.first()) != g.size() ? u'?' : g.first() ? u'1' : u'0';
    return s;
}

const QString kNoFile = QStringLiteral("100000100");
const QString kFileOpen = QStringLiteral("010111100");
const QString kRun = QStringLiteral("011101011");

}  // namespace

class LernprogrammTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(WriteVersionCreatingStore());
        Form1 = new TForm1();
        Form5 = new TForm5();
        Form6 = new TForm6();
    }
    void cleanupTestCase()
    {
        delete std::exchange(Form6, nullptr);
        delete std::exchange(Form5, nullptr);
        delete std::exchange(Form1, nullptr);
    }
    void init()
    {
        platform_.clear();
        platform_.onMessage = nullptr;
        platform_.fixedLocale = QLocale(QLocale::German, QLocale::Germany);
        platform_.programDir = NewTestDirectory();
        dir_ = NewTestDirectory();
        QDir::setCurrent(dir_);  // where a handed-over name without a directory is found
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
    void cleanup()
    {
        delete std::exchange(intruder_, nullptr);
        Form5->close();
    }

    // Ways through the window by keyboard: the controls, messages and record at the end.
    void roads_data()
    {
        QTest::addColumn<QByteArray>("file");  // the vocabulary file's bytes
        // Steps once the window is shown; each answer after two seconds. After a wrong
        // answer, Enter keeps the question and Tab, Enter drops it.
        QTest::addColumn<QString>("road");
        QTest::addColumn<QString>("controls");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("atEnd");          // counters|percentage|seconds at the end
        QTest::addColumn<QByteArray>("statistics");  // the file's bytes afterwards
        QList<VocabularyEntry> entries = NumberedEntries(4, QStringLiteral("L"));
        entries[1].lesson = QStringLiteral("M");
        const QByteArray four = VocabularyBytes(entries);
        const QByteArray tooLong(801, ' ');
        const QStringList bad{QStringLiteral("Die Datei hat ein ungültiges Format!")};
        const QStringList end{QStringLiteral("Lerndurchgang beendet!")};
        const QStringList none;
        const QByteArray start =
            QByteArray("l.vok").leftJustified(80) + QByteArray("L").leftJustified(80);
        QTest::newRow("no file") << four << "" << kNoFile << none << "" << QByteArray();
        QTest::newRow("header only: no entries")
            << QByteArray(400, ' ') << "open" << kFileOpen << none << "" << QByteArray();
        QTest::newRow("801 bytes refused")
            << tooLong << "open" << kNoFile << bad << "" << QByteArray();
        QTest::newRow("lesson run") << four << "open lesson" << kRun << none << "" << QByteArray();
        QTest::newRow("kept, then right in the repeat pass")
            << four << "open lesson wrong enter right enter right enter right enter" << kFileOpen
            << end << "3 0 2 1 0|66,67 %|8 s" << start + "3    2    1    0    8    05032001";
        QTest::newRow("English separator, dropped in the first and in the repeat pass")
            << four << "open lesson en wrong tab enter wrong enter right enter wrong tab enter"
            << kFileOpen << end << "3 0 1 2 1|33.33 %|8 s"
            << start + "3    1    2    1    8    05032001";
        QTest::newRow("statistics file cannot be written")
            << four << "nostats open lesson right enter right enter right enter" << kFileOpen
            << QStringList{QStringLiteral("Fehler beim Schreiben der Statistikdatei!"), end[0]}
            << "3 0 3 0 0|100,00 %|6 s" << QByteArray();
        QTest::newRow("lesson behind a tab: its run")
            << VocabularyBytes(NumberedEntries(2, QStringLiteral("\tL"))) << "open lesson" << kRun
            << none << "" << QByteArray();
        QTest::newRow("29 entries: no random run")
            << VocabularyBytes(NumberedEntries(29)) << "open random" << kFileOpen
            << QStringList{QStringLiteral(
                   "Für diese Funktion muß die Datei mindestens 30 Einträge enthalten!")}
            << "" << QByteArray();
        // At the last question, answered wrongly: one press of "&OK" would end the run.
        QTest::newRow("aborted by Ctrl+A")
            << four << "open lesson right enter right enter wrong ctrl+a" << kFileOpen << none << ""
            << QByteArray();
        QTest::newRow("window left by the close box")
            << four << "open lesson right enter right enter wrong close" << kNoFile << none << ""
            << QByteArray();
        // A handed-over name is opened as it is, at every showing, until it is cleared.
        QTest::newRow("handed over, shown again")
            << four << "hand close show close show" << kFileOpen << none << "" << QByteArray();
        QTest::newRow("hand-over cleared")
            << four << "hand close show close clear show" << kNoFile << none << "" << QByteArray();
    }
    void roads()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, road);
        QFETCH(QString, controls);
        const QString name = QStringLiteral("l.vok");
        const QString statistics = StatisticsFilePath(platform_.programDir);
        QVERIFY(WriteBytes(dir_ + u'/' + name, file));
        QString atEnd;
        platform_.onMessage = [&](const FakePlatform::Message& message) {
            if (message.caption == QStringLiteral("Meldung"))
                atEnd = Counters() + u'|' + Form5->Label25->text() + u'|' + Form5->Label26->text();
        };
        const auto answer = [](const QString& text) {
            // The seconds are counted by hand, so that a slow machine cannot add one.
            Form5->Timer1->stop();
            Form5->Timer1Timer();
            Form5->Timer1Timer();
            Answer(text);
        };
        const QHash<QString, std::function<void()>> steps{
            {QStringLiteral("open"), [&] { OpenFile(dir_ + u'/' + name); }},
            {QStringLiteral("hand"), [&] { Form1->Label3->setText(name); }},
            {QStringLiteral("clear"), [] { Form1->ClearHandedOverFile(); }},
            {QStringLiteral("show"),
             [] {
                 Form5->ResetLearningWindow();
                 Form5->show();
             }},
            {QStringLiteral("nostats"), [&] { QDir().mkpath(statistics); }},
            {QStringLiteral("en"), [this] { platform_.fixedLocale = QLocale(QLocale::English); }},
            {QStringLiteral("lesson"), [this] { StartLesson(QStringLiteral("L")); }},
            {QStringLiteral("random"), [] { Press(Qt::Key_F2); }},
            {QStringLiteral("right"), [&] { answer(RightAnswer()); }},
            {QStringLiteral("wrong"), [&] { answer(QStringLiteral("falsch")); }},
            {QStringLiteral("enter"), [] { Press(Qt::Key_Return); }},
            {QStringLiteral("tab"), [] { Press(Qt::Key_Tab); }},
            {QStringLiteral("ctrl+a"), [] { Press(Qt::Key_A, Qt::ControlModifier); }},
            {QStringLiteral("close"), [] { Form5->close(); }}};
        for (const QString& step : road.split(u' ', Qt::SkipEmptyParts))
            steps.value(step)();
        QCOMPARE(EnabledControls(), controls);
        QTEST(platform_.messageTexts(), "messages");
        for (const FakePlatform::Message& shown : platform_.messages)
            QCOMPARE(shown.caption, shown.text.startsWith(u'L') ? QStringLiteral("Meldung")
                                                                : QStringLiteral("Fehler"));
        QTEST(atEnd, "atEnd");
        QTEST(ReadBytes(statistics), "statistics");
        const QString opened = road.startsWith(u"hand") ? name : dir_ + u'/' + name;
        QCOMPARE(Form5->Label7->text(),
                 controls == kNoFile ? QStringLiteral("(keine ausgewählt)") : opened);
        QCOMPARE(Form5->isVisible(), !road.endsWith(u"close"));
        // Nothing of a question is left on screen once the run is over.
        QString left;
        for (QLabel* label : {Form5->Label9, Form5->Label10, Form5->Label11, Form5->Label24,
                              Form5->Label25, Form5->Label26})
            left += label->text();
        QCOMPARE(left.isEmpty(), controls != kRun);
    }

    // The feedback to an answer, where the focus goes and stays, and what Enter does.
    void answer_data()
    {
        QTest::addColumn<bool>("germanAsked");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("tickKey");  // pressed during the run: counts at the next answer
        QTest::addColumn<QString>("feedback");
        QTest::addColumn<QString>("counters");
        const QString wrong = QStringLiteral("Falsch!|Die richtige Antwort lautet:|");
        QTest::newRow("German asked, right") << true << "house" << 0 << "Richtig!"
                                             << "2 1 1 0 0";
        QTest::newRow("foreign asked, case counts: kept")
            << false << "haus" << 0 << wrong + QStringLiteral("Haus") << "2 2 0 1 0";
        QTest::newRow("case ignored") << false << "haus" << int(Qt::Key_F8) << "Richtig!"
                                      << "2 1 1 0 0";
        QTest::newRow("automatisch löschen: dropped")
            << true << "falsch" << int(Qt::Key_F7) << wrong + QStringLiteral("house")
            << "2 1 0 1 1";
    }
    void answer()
    {
        QFETCH(bool, germanAsked);
        QFETCH(QString, typed);
        QFETCH(int, tickKey);
        // Twice the same entry, so that the run goes on after the first answer.
        const VocabularyEntry haus{QStringLiteral("L"), QStringLiteral("Haus"),
                                   QStringLiteral("house"), QStringLiteral("home"), QString()};
        OpenFile(WriteVocabularyFile(dir_, QStringLiteral("haus.vok"), {haus, haus}));
        Press(germanAsked ? Qt::Key_F5 : Qt::Key_F6);
        StartLesson(QStringLiteral("L"));
        QCOMPARE(Form5->Label11->text(), germanAsked ? haus.german : haus.foreign);
        // Another widget that takes the focus, so that Tab has somewhere else to go.
        intruder_ = new QLineEdit(Form5->Panel2);
        intruder_->show();
        if (tickKey)
            Press(Qt::Key(tickKey));
        // Both ticks are stored at once.
        QCOMPARE(ReadAutoDelete(), tickKey == Qt::Key_F7);
        QCOMPARE(ReadIgnoreGrossKlein(), tickKey == Qt::Key_F8);
        Answer(typed);

        QStringList feedback;
        for (QLabel* label : {Form5->Label22, Form5->Label23, Form5->Label24})
            if (label->isVisible())
                feedback << label->text();
        QTEST(feedback.join(u'|'), "feedback");
        const bool right = feedback.size() == 1;
        QCOMPARE(platform_.soundsPlayed,
                 QStringList{right ? kRightSoundResource : kWrongSoundResource});
        QPushButton* focus = right                   ? Form5->Button1
                             : tickKey == Qt::Key_F7 ? Form5->Button2
                                                     : Form5->Button3;
        QCOMPARE(Focused(), focus);
        // Tab, Backtab and a click elsewhere leave the focus on the offered buttons.
        QSet<QWidget*> visited;
        for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Backtab}) {
            Press(key);
            visited << Focused();
        }
        QTest::mouseClick(intruder_, Qt::LeftButton);
        visited << Focused();
        const QSet<QWidget*> offered =
            right ? QSet<QWidget*>{Form5->Button1} : QSet<QWidget*>{Form5->Button2, Form5->Button3};
        QCOMPARE(visited, offered);
        if (Focused() != focus)
            Press(Qt::Key_Tab);

        HeldEnter();
        QCOMPARE(Counters(), QStringLiteral("2 2 0 0 0"));
        Press(Qt::Key_Return);
        HeldEnter();  // on the next question's empty field
        QTEST(Counters(), "counters");
        QCOMPARE(Focused(), Form5->Edit1);
        QVERIFY(!Form5->Label22->isVisible() && Form5->Edit1->text().isEmpty());
        QVERIFY(platform_.messages.isEmpty());
    }

    void direction_swapsCaptionsAndFonts_data()
    {
        QTest::addColumn<bool>("germanAsked");
        QTest::addColumn<QList<int>>("fontFields");
        // Captions of Label5, Label6; families of Label8, Label11, Edit1, Label24, Label9,
        // Label10.
        QTest::addColumn<QStringList>("shown");
        const QString ms = QStringLiteral("MS Sans Serif");
        const QString sy = QStringLiteral("Symbol");
        const QString de = QStringLiteral("Deutsch:");
        const QString fr = QStringLiteral("Fremdsprache:");
        QTest::newRow("German asked, foreign in Symbol")
            << true << QList<int>{3} << QStringList{de, fr, ms, ms, sy, sy, ms, ms};
        QTest::newRow("foreign asked, foreign in Symbol")
            << false << QList<int>{3} << QStringList{fr, de, ms, sy, ms, ms, ms, ms};
        QTest::newRow("lesson, synonyms and remark in Symbol")
            << false << QList<int>{1, 4, 5} << QStringList{fr, de, sy, ms, ms, ms, sy, sy};
    }
    void direction_swapsCaptionsAndFonts()
    {
        QFETCH(bool, germanAsked);
        QFETCH(QList<int>, fontFields);
        WriteFont(QStringLiteral("Symbol"));
        for (int k = 1; k <= 5; ++k)
            WriteFontField(fontFields.contains(k) ? 1 : 0, k);
        // Always switch, so that the handler has to do the work.
        Form5->FremdspracheDeutsch1->trigger();
        if (germanAsked)
            Form5->DeutschFremdsprache1->trigger();
        QStringList shown{Form5->Label5->text(), Form5->Label6->text()};
        for (QWidget* w : QList<QWidget*>{Form5->Label8, Form5->Label11, Form5->Edit1,
                                          Form5->Label24, Form5->Label9, Form5->Label10})
            shown << w->font().family();
        QTEST(shown, "shown");
        // Kept when the window is shown again, but not stored: a new start asks German.
        Form5->ResetLearningWindow();
        QCOMPARE(Form5->GermanToForeign(), germanAsked);
        QVERIFY(TForm5().GermanToForeign());
    }

private:
    void OpenFile(const QString& path)
    {
        platform_.fileAnswers.enqueue(path);
        Press(Qt::Key_O, Qt::ControlModifier);
    }

    // Starts a lesson run by F1, choosing the lesson in the dialog with the keys.
    void StartLesson(const QString& lesson)
    {
        bool shown = false;
        QTimer::singleShot(0, Form6, [&] {
            shown = QTest::qWaitForWindowActive(Form6);
            QListWidget* list = Form6->ListBox1;
            Press(Qt::Key_Home);
            for (int row = 1; row < list->count() && list->currentItem()->text() != lesson; ++row)
                Press(Qt::Key_Down);
            Press(Qt::Key_Space);  // the first row is current but not yet selected
            Press(Qt::Key_Return);
        });
        Press(Qt::Key_F1);
        QVERIFY(shown);
        QCOMPARE(Form5->Label8->text(), lesson);
        // Without a window manager nobody hands the keyboard back after a dialog.
        Form5->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Form5));
    }

    FakePlatform platform_;
    QString dir_;
    QWidget* intruder_ = nullptr;
};

LK_TEST_MAIN(LernprogrammTest)
#include "LernprogrammTest.moc"
