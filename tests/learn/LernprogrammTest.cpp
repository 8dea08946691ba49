#include "app/Forms.h"
#include "app/SettingsStore.h"
#include "app/Sound.h"
#include "app/Start.h"
#include "checking/AnswerComparison.h"
#include "learn/Lektionauswahl.h"
#include "learn/Lernprogramm.h"
#include "learn/StatisticsFile.h"
#include "review/ProgressWindow.h"
#include "support/VocabTests.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMenu>
#include <QToolButton>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

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
         w->ToolButton3->isEnabled(), w->DueReviewsAction->isEnabled(),
         w->DueReviewsButton->isEnabled()},
        {w->Statistik1->isEnabled(), w->DateiInformationen1->isEnabled(),
         w->ToolButton7->isEnabled(), w->ToolButton8->isEnabled(), w->ProgressAction->isEnabled()},
        {w->DeutschFremdsprache1->isEnabled(), w->FremdspracheDeutsch1->isEnabled()},
        {w->Edit1->isEnabled()},
        {w->Timer1->isActive()}};
    QString s;
    for (const QList<bool>& g : groups)
        s += g.count(g.first()) != g.size() ? u'?' : g.first() ? u'1' : u'0';
    return s;
}

// Chooses an item of "O&ptionen" with the keys: its own key, or the menu and its mnemonic.
void ChooseOption(const QString& name)
{
    auto* item = Form5->findChild<QAction*>(name);
    QVERIFY(item);
    if (!item->shortcut().isEmpty()) {
        QTest::keySequence(Focused(), item->shortcut());
        return;
    }
    Press(Qt::Key_P, Qt::AltModifier);
    QTRY_VERIFY(Form5->Optionen1->isVisible());
    const QChar mnemonic = item->text().at(item->text().indexOf(u'&') + 1);
    QTest::keyClick(Form5->Optionen1, mnemonic.toLower().toLatin1());
    QTRY_VERIFY(!Form5->Optionen1->isVisible());
}

const QString kNoFile = QStringLiteral("100000100");
const QString kFileOpen = QStringLiteral("010111100");
const QString kRun = QStringLiteral("011101011");

// The ratings logged for the cards whose German term ends in "-" + tag, in order.
QString LoggedRatings(const QString& tag)
{
    sqlite3* db = nullptr;
    sqlite3_open(ReviewStore::defaultPath().toUtf8().constData(), &db);
    const QByteArray sql =
        "SELECT group_concat(rating, ' ') FROM (SELECT rating FROM review_log"
        " JOIN cards ON cards.id = card_id WHERE german_term LIKE '%-" +
        tag.toUtf8() + "' ORDER BY review_log.id)";
    QString ratings;
    sqlite3_exec(
        db, sql.constData(),
        [](void* out, int, char** values, char**) {
            *static_cast<QString*>(out) = QString::fromLatin1(values[0]);
            return 0;
        },
        &ratings, nullptr);
    sqlite3_close(db);
    return ratings;
}

}  // namespace

class LernprogrammTest : public QObject {
    Q_OBJECT
    LearningForms forms_;

private Q_SLOTS:
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
        WriteUmlautSpellings(false);
        WriteAnyMeaning(false);
        for (QAction* tick : {Form5->UmlautSpellings1, Form5->AnyMeaning1})
            tick->setChecked(false);
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
        // file: the vocabulary file's bytes; road: steps once the window is shown, each
        // answer after two seconds (after a wrong answer, Enter keeps the question and Tab,
        // Enter drops it); atEnd: counters|percentage|seconds at the end; statistics: the
        // file's bytes afterwards.
        DataColumns<QByteArray, QString, QString, QStringList, QString, QByteArray>(
            "file", "road", "controls", "messages", "atEnd", "statistics");
        QList<VocabularyEntry> entries = NumberedEntries(4, QStringLiteral("L"));
        entries[1].lesson = QStringLiteral("M");
        const QByteArray four = VocabularyBytes(entries);
        const QStringList end{u"Lerndurchgang beendet!"_s};
        const QByteArray start =
            QByteArray("l.vok").leftJustified(80) + QByteArray("L").leftJustified(80);
        const auto row = [](const char* name, const QByteArray& file, const char* road,
                            const QString& controls, const QStringList& messages = {},
                            const char* atEnd = "", const QByteArray& statistics = {}) {
            QTest::newRow(name) << file << road << controls << messages << atEnd << statistics;
        };
        row("no file", four, "", kNoFile);
        row("header only: no entries", QByteArray(400, ' '), "open", kFileOpen);
        row("801 bytes refused", QByteArray(801, ' '), "open", kNoFile,
            {u"Die Datei hat ein ungültiges Format!"_s});
        row("lesson run", four, "open lesson", kRun);
        row("kept, then right in the repeat pass", four,
            "open lesson wrong enter right enter right enter right enter", kFileOpen, end,
            "3 0 2 1 0|66,67 %|8 s", start + "3    2    1    0    8    05032001");
        row("English separator, dropped in the first and in the repeat pass", four,
            "open lesson en wrong tab enter wrong enter right enter wrong tab enter", kFileOpen,
            end, "3 0 1 2 1|33.33 %|8 s", start + "3    1    2    1    8    05032001");
        row("statistics file cannot be written", four,
            "nostats open lesson right enter right enter right enter", kFileOpen,
            {u"Fehler beim Schreiben der Statistikdatei!"_s, end[0]}, "3 0 3 0 0|100,00 %|6 s");
        row("29 entries: no random run", VocabularyBytes(NumberedEntries(29)), "open random",
            kFileOpen, {u"Für diese Funktion muß die Datei mindestens 30 Einträge enthalten!"_s});
        // At the last question, answered wrongly: one press of "&OK" would end the run.
        row("aborted by Ctrl+A", four, "open lesson right enter right enter wrong ctrl+a",
            kFileOpen);
        row("window left by the close box", four,
            "open lesson right enter right enter wrong close", kNoFile);
        // A handed-over name is opened as it is, at every showing, until it is cleared.
        row("handed over, shown again", four, "hand close show close show", kFileOpen);
        row("hand-over cleared", four, "hand close show close clear show", kNoFile);
    }
    void roads()
    {
        const auto [file, road, controls] =
            DataRow<QByteArray, QString, QString>("file", "road", "controls");
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
        // tick: chosen during the run: counts at the next answer
        DataColumns<bool, QString, QString, QString, QString, QString>(
            "germanAsked", "foreign", "typed", "tick", "feedback", "counters");
        const QString wrong = u"Falsch!|Die richtige Antwort lautet:|"_s;
        const QString right = u"Richtig!"_s;
        const auto row = [](const char* name, bool germanAsked, const char* foreign,
                            const char* typed, const char* tick, const QString& feedback,
                            const char* counters) {
            QTest::newRow(name) << germanAsked << foreign << typed << tick << feedback << counters;
        };
        row("German asked, right", true, "house", "house", "", right, "2 1 1 0 0");
        row("foreign asked, case counts: kept", false, "house", "haus", "",
            wrong + u"Haus|Ihre Antwort: haus. Richtig: Haus. 1 Zeichen falsch."_s, "2 2 0 1 0");
        row("case ignored", false, "house", "haus", "GroundKleinschreibungignorieren1", right,
            "2 1 1 0 0");
        row("automatisch löschen: dropped", true, "house", "falsch",
            "FalscheVokabelnautomatischlschen1",
            wrong + u"house|Ihre Antwort: falsch. Richtig: house. 5 Zeichen falsch."_s,
            "2 1 0 1 1");
        row("umlauts spelt out", true, "Grüße", "Gruesse", "UmlautSpellings1", right, "2 1 1 0 0");
        row("one meaning", true, "house; home", "home", "AnyMeaning1", right, "2 1 1 0 0");
    }
    void answer()
    {
        const auto [germanAsked, foreign, typed, tick] =
            DataRow<bool, QString, QString, QString>("germanAsked", "foreign", "typed", "tick");
        // Twice the same entry, so that the run goes on after the first answer.
        const VocabularyEntry haus{QStringLiteral("L"), QStringLiteral("Haus"), foreign,
                                   QStringLiteral("home"), QString()};
        OpenFile(WriteVocabularyFile(dir_, QStringLiteral("haus.vok"), {haus, haus}));
        Press(germanAsked ? Qt::Key_F5 : Qt::Key_F6);
        StartLesson(QStringLiteral("L"));
        QCOMPARE(Form5->Label11->text(), germanAsked ? haus.german : haus.foreign);
        // Another widget that takes the focus, so that Tab has somewhere else to go.
        intruder_ = new QLineEdit(Form5->Panel2);
        intruder_->show();
        if (!tick.isEmpty())
            ChooseOption(tick);
        // Every tick is stored at once.
        QCOMPARE(ReadAutoDelete(), tick == QStringLiteral("FalscheVokabelnautomatischlschen1"));
        QCOMPARE(ReadIgnoreGrossKlein(), tick == QStringLiteral("GroundKleinschreibungignorieren1"));
        QCOMPARE(ReadUmlautSpellings(), tick == QStringLiteral("UmlautSpellings1"));
        QCOMPARE(ReadAnyMeaning(), tick == QStringLiteral("AnyMeaning1"));
        Answer(typed);

        QStringList feedback;
        for (QLabel* label : std::initializer_list<QLabel*>{Form5->Label22, Form5->Label23,
                                                            Form5->Label24, Form5->Comparison})
            if (label->isVisible())  // the comparison as a screen reader hears it
                feedback << QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
        QTEST(feedback.join(u'|'), "feedback");
        const bool right = feedback.size() == 1;
        QCOMPARE(platform_.soundsPlayed,
                 QStringList{right ? kRightSoundResource : kWrongSoundResource});
        QPushButton* focus = right ? Form5->Button1
                             : tick == QStringLiteral("FalscheVokabelnautomatischlschen1")
                                 ? Form5->Button2
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
        QVERIFY(!Form5->Label22->isVisible() && !Form5->Comparison->isVisible() &&
                Form5->Edit1->text().isEmpty());
        QVERIFY(platform_.messages.isEmpty());
    }

    // Due runs by keyboard on the platform's clock: the entries F9 asks, the messages, the
    // Lernstand reached through the menu, the ratings logged (1 Again, 3 Good).
    void dueRun_data()
    {
        // road: a wrong answer is kept
        // seen: asked|messages and Lernstand|ratings
        DataColumns<int, QString, QString>("newPerDay", "road", "seen");
        QTest::newRow("nothing due today; two days later all three")
            << 20 << "due right right right due later:2 stand due right right right"
            << "1 2 3 1 2 3|Lerndurchgang beendet!|Heute ist keine Vokabel fällig.\nDie nächsten "
               "Vokabeln sind am Mittwoch, 07.03.2001 fällig.|Lernstand 0 3 0 3|Lerndurchgang "
               "beendet!|3 3 3 3 3 3";
        // Entry 2 missed twice, the second time a same-day review, then the run aborted.
        QTest::newRow("aborted; the day's new cards used up; tomorrow the missed one first")
            << 2 << "due right wrong wrong ctrl+a due stand later:1 due right right"
            << "1 2 2 2 3|Heute ist keine Vokabel fällig.\nDie nächsten Vokabeln sind morgen "
               "fällig.|Lernstand 1 0 2 2|Lerndurchgang beendet!|3 1 1 3 3";
    }
    void dueRun()
    {
        const auto [newPerDay, road] = DataRow<int, QString>("newPerDay", "road");
        WriteNewCardsPerDay(newPerDay);
        platform_.fixedNow = QDateTime(QDate(2001, 3, 5), QTime(19, 0));
        // Terms of their own: no other run has reviewed these cards.
        const QString tag = QString::fromLatin1(QTest::currentDataTag()).left(3);
        QList<VocabularyEntry> entries;
        for (const QString& i : {u"1"_s, u"2"_s, u"3"_s})
            entries << VocabularyEntry{
                u"L"_s, u"Wort"_s + i + u'-' + tag, u"word"_s + i + u'-' + tag, {}, {}};
        OpenFile(WriteVocabularyFile(dir_, u"f.vok"_s, entries));
        QStringList asked, shown;
        platform_.onMessage = [&](const FakePlatform::Message& m) { shown << m.text; };
        for (const QString& step : road.split(u' ')) {
            const QString word = Form5->Label11->text();
            if (step == u"right" || step == u"wrong") {
                asked << word.mid(4, 1);
                Answer(step == u"right" ? u"word"_s + word.mid(4) : u"falsch"_s);
                Press(Qt::Key_Return);
            } else if (step.startsWith(u"later:")) {
                platform_.fixedNow = platform_.fixedNow.addDays(step.mid(6).toInt());
            } else if (step == u"stand") {
                Press(Qt::Key_L, Qt::AltModifier);  // then "s" twice: "&Statistik" comes first
                QTRY_VERIFY(QApplication::activePopupWidget() == Form5->Lernprogramm1);
                QTimer::singleShot(0, Form5, [&] {
                    auto* window = qobject_cast<ProgressWindow*>(QApplication::activeModalWidget());
                    QVERIFY(window);
                    shown << u"Lernstand"_s;
                    for (int r = 0; r < 4; ++r)
                        shown.last() += u' ' + window->FigureLabels[r][0]->text();
                    QTest::keyClick(window, Qt::Key_Escape);
                });
                for (Qt::Key key : {Qt::Key_S, Qt::Key_S, Qt::Key_Return})
                    QTest::keyClick(Form5->Lernprogramm1, key);
                QTRY_VERIFY(!QApplication::activeModalWidget());
                Form5->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(Form5));
            } else {
                Press(step == u"due" ? Qt::Key_F9 : Qt::Key_A,
                      step == u"due" ? Qt::NoModifier : Qt::ControlModifier);
            }
        }
        QTEST(QStringList(QStringList{asked.join(u' ')} + shown + QStringList{LoggedRatings(tag)})
                  .join(u'|'),
              "seen");
        // Recorded as a random run is: no lesson.
        if (shown.contains(u"Lerndurchgang beendet!"_s))
            QCOMPARE(ReadBytes(StatisticsFilePath(platform_.programDir)).mid(80, 80),
                     QByteArray(80, ' '));
        WriteNewCardsPerDay(20);
    }

    void direction_swapsCaptionsAndFonts_data()
    {
        // shown: captions of Label5, Label6; families of Label8, Label11, Edit1, Label24,
        // Label9, Label10.
        DataColumns<bool, QList<int>, QStringList>("germanAsked", "fontFields", "shown");
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
        const auto [germanAsked, fontFields] =
            DataRow<bool, QList<int>>("germanAsked", "fontFields");
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
