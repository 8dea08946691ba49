#include "app/Forms.h"
#include "app/SettingsStore.h"
#include "app/Start.h"
#include "learn/Lektionauswahl.h"
#include "learn/Lernprogramm.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "vocab/Dateiinfo.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

// One letter per group of controls, '?' when a group is split (always a fault):
// o open, c close, a abort, m menu "Lernprogramm", r run starts, s statistics and info,
// d direction items, e answer field, t timer running.
QString EnabledControls(TForm5* w)
{
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

const QString kNoFileControls = QStringLiteral("100000100");
const QString kFileOpenControls = QStringLiteral("010111100");
const QString kRunControls = QStringLiteral("011101011");
const QString kNoFile = QStringLiteral("(keine ausgewählt)");

QString Family(QWidget* widget)
{
    return widget->font().family();
}

}  // namespace

class LernprogrammTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void controlStates_data();
    void controlStates();
    void openFile_data();
    void openFile();
    void direction_swapsCaptionsAndFonts_data();
    void direction_swapsCaptionsAndFonts();
    void optionTicks_writeSettings_andResetReadsThem();
    void fileInfo_showsHeaderReadOnly();
    void keyboard_menuCommands();

private:
    void OpenByDialog(const QString& path);

    FakePlatform platform_;
    QString dir_;
};

void LernprogrammTest::initTestCase()
{
    QVERIFY(WriteVersionCreatingStore());
    Form1 = new TForm1();
    Form4 = new TForm4();
    Form5 = new TForm5();
    Form6 = new TForm6();
}

void LernprogrammTest::cleanupTestCase()
{
    delete std::exchange(Form6, nullptr);
    delete std::exchange(Form5, nullptr);
    delete std::exchange(Form4, nullptr);
    delete std::exchange(Form1, nullptr);
}

void LernprogrammTest::init()
{
    platform_.clear();
    platform_.programDir = NewTestDirectory();
    dir_ = NewTestDirectory();
    QDir::setCurrent(dir_);  // where a handed-over name without a directory is found
    WriteFont(QString());
    for (int k = 1; k <= 5; ++k)
        WriteFontField(-1, k);
    WriteAutoDelete(false);
    WriteIgnoreGrossKlein(false);
    WriteCurrentDirectory(QString());
    Form1->Label3->clear();
    Form5->hide();
    Form5->DeutschFremdsprache1Click();
    Form5->CloseLearningFile();
}

void LernprogrammTest::OpenByDialog(const QString& path)
{
    platform_.fileAnswers.enqueue(path);
    Form5->Dateiffnen1->trigger();
}

void LernprogrammTest::controlStates_data()
{
    QTest::addColumn<QString>("road");  // after showing the window
    QTest::addColumn<QString>("controls");
    QTest::addColumn<bool>("visible");
    QTest::newRow("no file") << "" << kNoFileControls << true;
    QTest::newRow("opened") << "open" << kFileOpenControls << true;
    QTest::newRow("run") << "open run" << kRunControls << true;
    QTest::newRow("run aborted") << "open run abort" << kFileOpenControls << true;
    QTest::newRow("closed without run") << "open close" << kNoFileControls << true;
    QTest::newRow("closed during run") << "open run close" << kNoFileControls << true;
    QTest::newRow("closed, opened again") << "open run close open" << kFileOpenControls << true;
    // Every way out of the window during a run closes the file and stops the timer.
    QTest::newRow("window left: Esc") << "open run esc" << kNoFileControls << false;
    QTest::newRow("window left: close box") << "open run closebox" << kNoFileControls << false;
    QTest::newRow("window left: Ctrl+X") << "open run ctrl+x" << kNoFileControls << false;
    QTest::newRow("window left: tool button") << "open run tool" << kNoFileControls << false;
    // A handed-over name is opened as it is, at every showing.
    QTest::newRow("handed over") << "handover closebox show" << kFileOpenControls << true;
    QTest::newRow("handed over, shown again")
        << "handover closebox show closebox show" << kFileOpenControls << true;
    QTest::newRow("hand-over cleared")
        << "handover closebox show closebox clear show" << kNoFileControls << true;
}

void LernprogrammTest::controlStates()
{
    QFETCH(QString, road);
    QFETCH(QString, controls);
    QFETCH(bool, visible);
    Form5->show();
    QVERIFY(QTest::qWaitForWindowActive(Form5));
    const QString name = QStringLiteral("a.vok");  // handed over without its directory
    const QString file = WriteVocabularyFile(dir_, name, NumberedEntries(3));
    QString opened;  // the name shown for the open file
    const QHash<QString, std::function<void()>> steps{
        {QStringLiteral("open"), [&] { OpenByDialog(opened = file); }},
        {QStringLiteral("handover"), [&] { Form1->Label3->setText(opened = name); }},
        {QStringLiteral("clear"), [] { Form1->ClearHandedOverFile(); }},
        {QStringLiteral("show"), [] { Form5->ResetLearningWindow(); Form5->show(); }},
        {QStringLiteral("run"), [] { Form5->RunState(); }},
        {QStringLiteral("abort"), [] { Form5->Abbrechen1->trigger(); }},
        {QStringLiteral("close"), [] { Form5->Dateischlieen1->trigger(); }},
        {QStringLiteral("esc"), [] { QTest::keyClick(Form5, Qt::Key_Escape); }},
        {QStringLiteral("closebox"), [] { Form5->close(); }},
        {QStringLiteral("ctrl+x"), [] { QTest::keyClick(Form5, Qt::Key_X, Qt::ControlModifier); }},
        {QStringLiteral("tool"), [] { QTest::mouseClick(Form5->ToolButton10, Qt::LeftButton); }}};
    for (const QString& step : road.split(u' ', Qt::SkipEmptyParts))
        steps.value(step)();
    QCOMPARE(EnabledControls(Form5), controls);
    QCOMPARE(Form5->isVisible(), visible);
    QCOMPARE(platform_.messages.size(), 0);
    const bool fileShown = controls != kNoFileControls;
    QCOMPARE(Form5->LearningFile().isOpen(), fileShown);
    QCOMPARE(Form5->Label7->text(), fileShown ? opened : kNoFile);
}

void LernprogrammTest::openFile_data()
{
    QTest::addColumn<bool>("handedOver");
    QTest::addColumn<int>("size");  // -1: no such file, -2: dialog cancelled
    QTest::addColumn<QString>("message");
    const QString bad = QStringLiteral("Die Datei hat ein ungültiges Format!");
    QTest::newRow("dialog: header only") << false << 400 << QString();
    QTest::newRow("dialog: 801 bytes") << false << 801 << bad;
    QTest::newRow("dialog: missing") << false << -1 << QStringLiteral("Datei existiert nicht!");
    QTest::newRow("dialog cancelled") << false << -2 << "Fehler beim Öffnen der Datei!";
    QTest::newRow("handed over: header only") << true << 400 << QString();
    QTest::newRow("handed over: 801 bytes") << true << 801 << bad;
}

void LernprogrammTest::openFile()
{
    QFETCH(bool, handedOver);
    QFETCH(int, size);
    QFETCH(QString, message);
    const QString start = NewTestDirectory();
    WriteCurrentDirectory(start);
    const QString path = dir_ + QStringLiteral("/probe.vok");
    const QByteArray bytes(qMax(size, 0), ' ');
    if (size >= 0)
        QVERIFY(WriteBytes(path, bytes));
    if (handedOver) {
        Form1->Label3->setText(path);
        Form5->show();
    } else if (size == -2) {
        Form5->Dateiffnen1->trigger();
    } else {
        OpenByDialog(path);
    }

    // The dialog starts in the stored directory and stores the chosen one.
    QCOMPARE(platform_.fileDialogs.size(), handedOver ? 0 : 1);
    if (!handedOver) {
        QCOMPARE(platform_.fileDialogs.first().title, QStringLiteral("Öffnen"));
        QCOMPARE(platform_.fileDialogs.first().filter, QStringLiteral("Vokabeldateien (*.vok)"));
        QCOMPARE(platform_.fileDialogs.first().startDirectory, start);
    }
    QCOMPARE(ReadCurrentDirectory(), handedOver || size == -2 ? start : dir_);

    QCOMPARE(platform_.messageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty()) {
        QCOMPARE(platform_.messages.first().caption, QStringLiteral("Fehler"));
        QCOMPARE(platform_.messages.first().buttons, MsgButtons::Ok);
        QCOMPARE(platform_.messages.first().icon, MsgIcon::None);
        QCOMPARE(EnabledControls(Form5), kNoFileControls);
        QCOMPARE(Form5->Label7->text(), kNoFile);
        QVERIFY(!Form5->LearningFile().isOpen());
        return;
    }
    QCOMPARE(EnabledControls(Form5), kFileOpenControls);
    QCOMPARE(Form5->Label7->text(), path);
    QCOMPARE(Form5->LearningFile().entryCount(), 0);
    // Open for reading only: the window never writes its file.
    QVERIFY(!Form5->LearningFile().writeRecord(0, QByteArray(400, 'x')));
    QCOMPARE(ReadBytes(path), bytes);
}

void LernprogrammTest::direction_swapsCaptionsAndFonts_data()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<bool>("germanToForeign");
    QTest::addColumn<QList<int>>("fontFields");
    // Families of Label8, Label11, Edit1, Label24, Label9, Label10.
    QTest::addColumn<QStringList>("families");
    const QString ms = QStringLiteral("MS Sans Serif");
    const QString sy = QStringLiteral("Symbol");
    const QString kept = QStringLiteral("Vorher");
    QTest::newRow("field 3, German -> foreign")
        << sy << true << QList<int>{3} << QStringList{ms, ms, sy, sy, ms, ms};
    QTest::newRow("field 3, foreign -> German")
        << sy << false << QList<int>{3} << QStringList{ms, sy, ms, ms, ms, ms};
    QTest::newRow("field 2, German -> foreign")
        << sy << true << QList<int>{2} << QStringList{ms, sy, ms, ms, ms, ms};
    QTest::newRow("lesson, synonyms, remark")
        << sy << false << QList<int>{1, 4, 5} << QStringList{sy, ms, ms, ms, sy, sy};
    QTest::newRow("no font chosen: fonts kept")
        << QString() << false << QList<int>{2} << QStringList(6, kept);
}

void LernprogrammTest::direction_swapsCaptionsAndFonts()
{
    QFETCH(QString, font);
    QFETCH(bool, germanToForeign);
    QFETCH(QList<int>, fontFields);
    QFETCH(QStringList, families);
    const QList<QWidget*> widgets{Form5->Label8,  Form5->Label11, Form5->Edit1,
                                  Form5->Label24, Form5->Label9,  Form5->Label10};
    for (QWidget* w : widgets)
        w->setFont(QFont(QStringLiteral("Vorher")));
    WriteFont(font);
    for (int k = 1; k <= 5; ++k)
        WriteFontField(fontFields.contains(k) ? 1 : 0, k);

    // Always switch, so that the handler has to do the work.
    Form5->FremdspracheDeutsch1->trigger();
    if (germanToForeign)
        Form5->DeutschFremdsprache1->trigger();
    QCOMPARE(Form5->GermanToForeign(), germanToForeign);
    QCOMPARE(Form5->FremdspracheDeutsch1->isChecked(), !germanToForeign);
    QCOMPARE(Form5->Label5->text(),
             germanToForeign ? QStringLiteral("Deutsch:") : QStringLiteral("Fremdsprache:"));
    QCOMPARE(Form5->Label6->text(),
             germanToForeign ? QStringLiteral("Fremdsprache:") : QStringLiteral("Deutsch:"));
    QStringList shown;
    for (QWidget* w : widgets)
        shown << Family(w);
    QCOMPARE(shown, families);

    // Kept when the window is shown again, but not stored: the next program start asks
    // German first.
    Form5->ResetLearningWindow();
    QCOMPARE(Form5->GermanToForeign(), germanToForeign);
    QVERIFY(TForm5().GermanToForeign());
}

void LernprogrammTest::optionTicks_writeSettings_andResetReadsThem()
{
    Form5->FalscheVokabelnautomatischlschen1->trigger();
    Form5->GroundKleinschreibungignorieren1->trigger();
    QVERIFY(ReadAutoDelete() && ReadIgnoreGrossKlein());
    Form5->FalscheVokabelnautomatischlschen1->trigger();
    QVERIFY(!ReadAutoDelete() && ReadIgnoreGrossKlein());

    // Changed elsewhere (another copy of the program): the next reset shows the settings.
    WriteAutoDelete(true);
    WriteIgnoreGrossKlein(false);
    Form5->ResetLearningWindow();
    QVERIFY(Form5->FalscheVokabelnautomatischlschen1->isChecked());
    QVERIFY(!Form5->GroundKleinschreibungignorieren1->isChecked());
}

void LernprogrammTest::fileInfo_showsHeaderReadOnly()
{
    const VocabularyHeader header{QStringLiteral("Englisch Grundwortschatz"),
                                  QStringLiteral("Anna Müller"), QStringLiteral("Band 1")};
    OpenByDialog(WriteVocabularyFile(dir_, QStringLiteral("info.vok"), NumberedEntries(1), header));
    QStringList shown;
    QTimer::singleShot(0, Form4, [&] {
        shown = {Form4->windowTitle(), Form4->Edit1->text(), Form4->Edit2->text(),
                 Form4->Edit3->text()};
        Form4->reject();
    });
    Form5->DateiInformationen1->trigger();
    QCOMPARE(shown, (QStringList{QStringLiteral("Datei-Informationen (nur lesen)"), header.title,
                                 header.author, header.remarks}));
    QCOMPARE(platform_.messages.size(), 0);
}

void LernprogrammTest::keyboard_menuCommands()
{
    Form5->show();
    QVERIFY(QTest::qWaitForWindowActive(Form5));
    OpenByDialog(WriteVocabularyFile(dir_, QStringLiteral("k.vok"), NumberedEntries(2)));
    WriteFontField(1, 1);
    QTest::keyClick(Form5, Qt::Key_F2, Qt::ShiftModifier);
    QCOMPARE(ReadFont(), QStringLiteral("Symbol"));
    QCOMPARE(Family(Form5->Label8), QStringLiteral("Symbol"));
    QCOMPARE(Family(Form5->Label9), QStringLiteral("MS Sans Serif"));
    QTest::keyClick(Form5, Qt::Key_F1, Qt::ShiftModifier);
    QCOMPARE(ReadFont(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(Family(Form5->Label8), QStringLiteral("MS Sans Serif"));

    QTest::keyClick(Form5, Qt::Key_F3);
    QCOMPARE(platform_.messageTexts(),
             QStringList{QStringLiteral("Statistikdatei nicht vorhanden!")});
    QCOMPARE(platform_.messages.first().caption, QStringLiteral("Fehler"));
    QTest::keyClick(Form5, Qt::Key_Q, Qt::ControlModifier);
    QTest::keyClick(Form5, Qt::Key_F3);  // without a file the menu's commands do nothing
    QCOMPARE(platform_.messages.size(), 1);

    // "&Hilfe" in its own bar at the right end still opens with Alt+H.
    QTest::keyClick(Form5, Qt::Key_H, Qt::AltModifier);
    QTRY_VERIFY(Form5->Hilfe1->isVisible());
    Form5->Hilfe1->close();
}

LK_TEST_MAIN(LernprogrammTest)
#include "LernprogrammTest.moc"
