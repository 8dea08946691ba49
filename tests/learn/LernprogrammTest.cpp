#include "app/Forms.h"
#include "app/SettingsStore.h"
#include "app/Start.h"
#include "learn/Lektionauswahl.h"
#include "learn/Lernprogramm.h"
#include "learn/StatisticsFile.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "vocab/Dateiinfo.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace {

// The enabled controls of the learning window, one letter per group, so that a state
// can be compared in one line:
// o open, c close, a abort, m menu "Lernprogramm", r run starts, s statistics and info,
// d direction items, e answer field, t timer running.
QString EnabledControls(TForm5* w)
{
    const auto all = [](std::initializer_list<bool> flags) {
        const bool first = *flags.begin();
        for (bool f : flags)
            if (f != first)
                return '?';  // a group split: always a fault
        return first ? '1' : '0';
    };
    QString s;
    s += QLatin1Char(all({w->Dateiffnen1->isEnabled(), w->ToolButton1->isEnabled()}));
    s += QLatin1Char(all({w->Dateischlieen1->isEnabled(), w->ToolButton2->isEnabled()}));
    s += QLatin1Char(all({w->Abbrechen1->isEnabled(), w->ToolButton13->isEnabled()}));
    s += QLatin1Char(all({w->Lernprogramm1->menuAction()->isEnabled()}));
    s += QLatin1Char(all({w->Lektion1->isEnabled(), w->Zufall1->isEnabled(),
                          w->ToolButton5->isEnabled(), w->ToolButton3->isEnabled()}));
    s += QLatin1Char(all({w->Statistik1->isEnabled(), w->DateiInformationen1->isEnabled(),
                          w->ToolButton7->isEnabled(), w->ToolButton8->isEnabled()}));
    s += QLatin1Char(all({w->DeutschFremdsprache1->isEnabled(),
                          w->FremdspracheDeutsch1->isEnabled()}));
    s += QLatin1Char(all({w->Edit1->isEnabled()}));
    s += QLatin1Char(all({w->Timer1->isActive()}));
    return s;
}

const QString kNoFileControls = QStringLiteral("100000100");
const QString kFileOpenControls = QStringLiteral("010111100");
const QString kRunControls = QStringLiteral("011101011");

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
    void cancelledDialog_reportsAndStaysWithoutFile();
    void dialog_startsInAndStoresCurrentDirectory();
    void openFile_checksSize_data();
    void openFile_checksSize();
    void refusedFile_keepsTheOpenOne();
    void handedOverFile_openedAtEveryShowing();
    void closingWindow_everyWay_data();
    void closingWindow_everyWay();
    void direction_swapsCaptionsAndFonts_data();
    void direction_swapsCaptionsAndFonts();
    void direction_keptAcrossFilesAndShowings();
    void emptyFontSetting_keepsFonts();
    void fontItems_writeSettingAndApply();
    void optionTicks_writeSettings_andResetReadsThem();
    void fileInfo_readOnly();
    void keyboard_shortcutsReachCommands();
    void abortShortcut_winsOverSelectAll();

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
    for (QWidget* w : std::initializer_list<QWidget*>{Form6, Form5, Form4, Form1})
        delete w;
    Form6 = nullptr;
    Form5 = nullptr;
    Form4 = nullptr;
    Form1 = nullptr;
}

void LernprogrammTest::init()
{
    platform_.clear();
    platform_.programDir = NewTestDirectory();
    dir_ = NewTestDirectory();
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
    QTest::addColumn<QString>("road");
    QTest::addColumn<QString>("controls");
    QTest::newRow("reset") << "reset" << kNoFileControls;
    QTest::newRow("opened in the dialog") << "open" << kFileOpenControls;
    QTest::newRow("run") << "open run" << kRunControls;
    QTest::newRow("run aborted") << "open run abort" << kFileOpenControls;
    QTest::newRow("closed without run") << "open close" << kNoFileControls;
    QTest::newRow("closed during run") << "open run close" << kNoFileControls;
    QTest::newRow("closed, opened again") << "open run close open" << kFileOpenControls;
    QTest::newRow("handed over") << "handover show" << kFileOpenControls;
}

void LernprogrammTest::controlStates()
{
    QFETCH(QString, road);
    QFETCH(QString, controls);
    const QString file = WriteVocabularyFile(dir_, QStringLiteral("a.vok"), NumberedEntries(3));
    for (const QString& step : road.split(QLatin1Char(' '))) {
        if (step == QLatin1String("reset"))
            Form5->ResetLearningWindow();
        else if (step == QLatin1String("open"))
            OpenByDialog(file);
        else if (step == QLatin1String("run"))
            Form5->RunState();
        else if (step == QLatin1String("abort"))
            Form5->Abbrechen1->trigger();
        else if (step == QLatin1String("close"))
            Form5->Dateischlieen1->trigger();
        else if (step == QLatin1String("handover"))
            Form1->Label3->setText(file);
        else if (step == QLatin1String("show"))
            Form5->show();
    }
    QCOMPARE(EnabledControls(Form5), controls);
    QCOMPARE(platform_.messages.size(), 0);
    const bool fileShown = controls != kNoFileControls;
    QCOMPARE(Form5->LearningFile().isOpen(), fileShown);
    QCOMPARE(Form5->Label7->text(), fileShown ? file : QStringLiteral("(keine ausgewählt)"));
    if (!road.contains(QLatin1String("run")))
        return;
    // Whatever ends a run leaves its display empty.
    if (controls != kRunControls) {
        QVERIFY(Form5->Label8->text().isEmpty());
        QVERIFY(Form5->Edit1->text().isEmpty());
    }
}

void LernprogrammTest::cancelledDialog_reportsAndStaysWithoutFile()
{
    Form5->Dateiffnen1->trigger();  // no scripted answer: cancelled
    QCOMPARE(platform_.messages.size(), 1);
    const auto& m = platform_.messages.first();
    QCOMPARE(m.text, QStringLiteral("Fehler beim Öffnen der Datei!"));
    QCOMPARE(m.caption, QStringLiteral("Fehler"));
    QCOMPARE(m.buttons, MsgButtons::Ok);
    QCOMPARE(m.icon, MsgIcon::None);
    QCOMPARE(EnabledControls(Form5), kNoFileControls);
    QCOMPARE(Form5->Label7->text(), QStringLiteral("(keine ausgewählt)"));
    QVERIFY(ReadCurrentDirectory().isEmpty());
}

void LernprogrammTest::dialog_startsInAndStoresCurrentDirectory()
{
    const QString start = NewTestDirectory();
    WriteCurrentDirectory(start);
    const QString file = WriteVocabularyFile(dir_, QStringLiteral("c.vok"), NumberedEntries(2));
    OpenByDialog(file);
    QCOMPARE(platform_.fileDialogs.size(), 1);
    QCOMPARE(platform_.fileDialogs.first().title, QStringLiteral("Öffnen"));
    QCOMPARE(platform_.fileDialogs.first().filter, QStringLiteral("Vokabeldateien (*.vok)"));
    QCOMPARE(platform_.fileDialogs.first().startDirectory, start);
    QCOMPARE(ReadCurrentDirectory(), dir_);
    QCOMPARE(Form5->Label7->text(), file);
}

void LernprogrammTest::openFile_checksSize_data()
{
    QTest::addColumn<int>("size");  // -1: no such file
    QTest::addColumn<bool>("handedOver");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("entries");
    const QString missing = QStringLiteral("Datei existiert nicht!");
    const QString bad = QStringLiteral("Die Datei hat ein ungültiges Format!");
    for (const bool handedOver : {false, true}) {
        const char* way = handedOver ? "handed over" : "dialog";
        QTest::addRow("%s: header only", way) << 400 << handedOver << QString() << 0;
        QTest::addRow("%s: three entries", way) << 1600 << handedOver << QString() << 3;
        QTest::addRow("%s: 801 bytes", way) << 801 << handedOver << bad << 0;
        QTest::addRow("%s: 399 bytes", way) << 399 << handedOver << bad << 0;
        QTest::addRow("%s: empty", way) << 0 << handedOver << bad << 0;
        QTest::addRow("%s: missing", way) << -1 << handedOver << missing << 0;
    }
}

void LernprogrammTest::openFile_checksSize()
{
    QFETCH(int, size);
    QFETCH(bool, handedOver);
    QFETCH(QString, message);
    QFETCH(int, entries);
    const QString path = dir_ + QStringLiteral("/probe.vok");
    QByteArray bytes(qMax(size, 0), ' ');
    if (size >= 0)
        QVERIFY(WriteBytes(path, bytes));
    if (handedOver) {
        Form1->Label3->setText(path);
        Form5->show();
    } else {
        OpenByDialog(path);
    }
    QCOMPARE(platform_.messageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty()) {
        QCOMPARE(platform_.messages.first().caption, QStringLiteral("Fehler"));
        QCOMPARE(EnabledControls(Form5), kNoFileControls);
        QCOMPARE(Form5->Label7->text(), QStringLiteral("(keine ausgewählt)"));
        QVERIFY(!Form5->LearningFile().isOpen());
        return;
    }
    QCOMPARE(EnabledControls(Form5), kFileOpenControls);
    QCOMPARE(Form5->LearningFile().entryCount(), entries);
    // Kept open for reading only: the window never writes its file.
    QVERIFY(!Form5->LearningFile().device().isWritable());
    QVERIFY(!Form5->LearningFile().writeRecord(0, QByteArray(400, 'x')));
    QCOMPARE(ReadBytes(path), bytes);
}

void LernprogrammTest::refusedFile_keepsTheOpenOne()
{
    const QString good = WriteVocabularyFile(dir_, QStringLiteral("gut.vok"), NumberedEntries(2));
    OpenByDialog(good);
    Form5->RunState();
    Form5->Label8->setText(QStringLiteral("L1"));
    // A handed-over name that turns out broken while a file is open.
    const QString broken = dir_ + QStringLiteral("/kaputt.vok");
    QVERIFY(WriteBytes(broken, QByteArray(801, ' ')));
    QVERIFY(!Form5->OpenLearningFile(broken));
    QCOMPARE(EnabledControls(Form5), kRunControls);
    QCOMPARE(Form5->Label7->text(), good);
    QCOMPARE(Form5->Label8->text(), QStringLiteral("L1"));
    QVERIFY(Form5->LearningFile().readEntry(2));
}

void LernprogrammTest::handedOverFile_openedAtEveryShowing()
{
    WriteVocabularyFile(dir_, QStringLiteral("englisch.vok"), NumberedEntries(4));
    // The name exactly as handed over, here relative to the working directory.
    const QString oldCwd = QDir::currentPath();
    QDir::setCurrent(dir_);
    Form1->Label3->setText(QStringLiteral("englisch.vok"));
    for (int showing = 0; showing < 2; ++showing) {
        Form5->ResetLearningWindow();
        Form5->show();
        QCOMPARE(Form5->Label7->text(), QStringLiteral("englisch.vok"));
        QCOMPARE(Form5->LearningFile().entryCount(), 4);
        QCOMPARE(EnabledControls(Form5), kFileOpenControls);
        Form5->close();
        QVERIFY(!Form5->LearningFile().isOpen());
    }
    QDir::setCurrent(oldCwd);
    QVERIFY(ReadCurrentDirectory().isEmpty());  // no dialog, nothing stored

    Form1->ClearHandedOverFile();
    Form5->ResetLearningWindow();
    Form5->show();
    QCOMPARE(EnabledControls(Form5), kNoFileControls);
    QCOMPARE(platform_.messages.size(), 0);
    QCOMPARE(platform_.fileDialogs.size(), 0);
}

void LernprogrammTest::closingWindow_everyWay_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Esc") << "esc";
    QTest::newRow("close box") << "close";
    QTest::newRow("Beenden") << "beenden";
    QTest::newRow("Ctrl+X") << "ctrlx";
    QTest::newRow("tool button") << "tool";
}

void LernprogrammTest::closingWindow_everyWay()
{
    QFETCH(QString, way);
    Form5->show();
    QVERIFY(QTest::qWaitForWindowActive(Form5));
    OpenByDialog(WriteVocabularyFile(dir_, QStringLiteral("d.vok"), NumberedEntries(2)));
    Form5->RunState();
    if (way == QLatin1String("esc"))
        QTest::keyClick(Form5, Qt::Key_Escape);
    else if (way == QLatin1String("close"))
        Form5->close();
    else if (way == QLatin1String("beenden"))
        Form5->Beenden1->trigger();
    else if (way == QLatin1String("ctrlx"))
        QTest::keyClick(Form5, Qt::Key_X, Qt::ControlModifier);
    else
        QTest::mouseClick(Form5->ToolButton10, Qt::LeftButton);
    QTRY_VERIFY(!Form5->isVisible());
    QVERIFY(!Form5->LearningFile().isOpen());
    QVERIFY(!Form5->Timer1->isActive());
    QCOMPARE(EnabledControls(Form5), kNoFileControls);
}

void LernprogrammTest::direction_swapsCaptionsAndFonts_data()
{
    QTest::addColumn<bool>("germanToForeign");
    QTest::addColumn<QList<int>>("symbolFields");
    // Families of Label8, Label11, Edit1, Label24, Label9, Label10.
    QTest::addColumn<QStringList>("families");
    const QString ms = QStringLiteral("MS Sans Serif");
    const QString sy = QStringLiteral("Symbol");
    QTest::newRow("field 3 only, German -> foreign")
        << true << QList<int>{3} << QStringList{ms, ms, sy, sy, ms, ms};
    QTest::newRow("field 3 only, foreign -> German")
        << false << QList<int>{3} << QStringList{ms, sy, ms, ms, ms, ms};
    QTest::newRow("field 2 only, German -> foreign")
        << true << QList<int>{2} << QStringList{ms, sy, ms, ms, ms, ms};
    QTest::newRow("field 2 only, foreign -> German")
        << false << QList<int>{2} << QStringList{ms, ms, sy, sy, ms, ms};
    QTest::newRow("lesson, synonyms, remark")
        << false << QList<int>{1, 4, 5} << QStringList{sy, ms, ms, ms, sy, sy};
}

void LernprogrammTest::direction_swapsCaptionsAndFonts()
{
    QFETCH(bool, germanToForeign);
    QFETCH(QList<int>, symbolFields);
    QFETCH(QStringList, families);
    WriteFont(QStringLiteral("Symbol"));
    for (int k = 1; k <= 5; ++k)
        WriteFontField(symbolFields.contains(k) ? 1 : 0, k);

    // Always switch, so that the handler has to do the work.
    if (germanToForeign) {
        Form5->FremdspracheDeutsch1->trigger();
        Form5->DeutschFremdsprache1->trigger();
    } else {
        Form5->FremdspracheDeutsch1->trigger();
    }
    QCOMPARE(Form5->GermanToForeign(), germanToForeign);
    QCOMPARE(Form5->DeutschFremdsprache1->isChecked(), germanToForeign);
    QCOMPARE(Form5->FremdspracheDeutsch1->isChecked(), !germanToForeign);
    QCOMPARE(Form5->Label5->text(),
             germanToForeign ? QStringLiteral("Deutsch:") : QStringLiteral("Fremdsprache:"));
    QCOMPARE(Form5->Label6->text(),
             germanToForeign ? QStringLiteral("Fremdsprache:") : QStringLiteral("Deutsch:"));
    const QStringList shown{Family(Form5->Label8), Family(Form5->Label11), Family(Form5->Edit1),
                            Family(Form5->Label24), Family(Form5->Label9), Family(Form5->Label10)};
    QCOMPARE(shown, families);
    // Only the name changes.
    QVERIFY(Form5->Label5->font().bold());
}

void LernprogrammTest::direction_keptAcrossFilesAndShowings()
{
    Form5->FremdspracheDeutsch1->trigger();
    OpenByDialog(WriteVocabularyFile(dir_, QStringLiteral("e.vok"), NumberedEntries(2)));
    Form5->RunState();
    QVERIFY(!Form5->DeutschFremdsprache1->isEnabled());
    Form5->show();
    Form5->close();
    Form5->ResetLearningWindow();
    QVERIFY(Form5->FremdspracheDeutsch1->isChecked());
    QCOMPARE(Form5->Label5->text(), QStringLiteral("Fremdsprache:"));
    // Not stored: a window created anew (the next program start) asks German first.
    TForm5 fresh;
    QVERIFY(fresh.GermanToForeign());
    QCOMPARE(fresh.Label5->text(), QStringLiteral("Deutsch:"));
}

void LernprogrammTest::emptyFontSetting_keepsFonts()
{
    for (QWidget* w : std::initializer_list<QWidget*>{Form5->Label8, Form5->Label11,
                                                      Form5->Edit1})
        w->setFont(QFont(QStringLiteral("Vorher")));
    WriteFontField(1, 2);
    Form5->FremdspracheDeutsch1->trigger();
    Form5->ResetLearningWindow();
    for (QWidget* w : std::initializer_list<QWidget*>{Form5->Label8, Form5->Label11,
                                                      Form5->Edit1})
        QCOMPARE(Family(w), QStringLiteral("Vorher"));
}

void LernprogrammTest::fontItems_writeSettingAndApply()
{
    WriteFontField(1, 1);
    Form5->SchriftartSymbol1->trigger();
    QCOMPARE(ReadFont(), QStringLiteral("Symbol"));
    QCOMPARE(Family(Form5->Label8), QStringLiteral("Symbol"));
    QCOMPARE(Family(Form5->Label9), QStringLiteral("MS Sans Serif"));
    Form5->SchriftartMSSansSerif1->trigger();
    QCOMPARE(ReadFont(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(Family(Form5->Label8), QStringLiteral("MS Sans Serif"));
}

void LernprogrammTest::optionTicks_writeSettings_andResetReadsThem()
{
    Form5->FalscheVokabelnautomatischlschen1->trigger();
    QVERIFY(Form5->FalscheVokabelnautomatischlschen1->isChecked());
    QVERIFY(ReadAutoDelete());
    QVERIFY(!ReadIgnoreGrossKlein());
    Form5->GroundKleinschreibungignorieren1->trigger();
    QVERIFY(ReadIgnoreGrossKlein());
    Form5->FalscheVokabelnautomatischlschen1->trigger();
    QVERIFY(!ReadAutoDelete());

    // Changed elsewhere (the other program copy): the next reset shows the settings.
    WriteAutoDelete(true);
    WriteIgnoreGrossKlein(false);
    Form5->ResetLearningWindow();
    QVERIFY(Form5->FalscheVokabelnautomatischlschen1->isChecked());
    QVERIFY(!Form5->GroundKleinschreibungignorieren1->isChecked());
}

void LernprogrammTest::fileInfo_readOnly()
{
    const VocabularyHeader header{QStringLiteral("Englisch Grundwortschatz"),
                                  QStringLiteral("Anna Müller"), QStringLiteral("Band 1")};
    const QString path =
        WriteVocabularyFile(dir_, QStringLiteral("info.vok"), NumberedEntries(1), header);
    const QByteArray before = ReadBytes(path);
    OpenByDialog(path);

    QString title, text1, text2, text3;
    bool readOnly = false;
    int mode = 0;
    QTimer::singleShot(0, Form4, [&] {
        title = Form4->windowTitle();
        text1 = Form4->Edit1->text();
        text2 = Form4->Edit2->text();
        text3 = Form4->Edit3->text();
        readOnly = Form4->Edit1->isReadOnly() && Form4->Edit2->isReadOnly() &&
                   Form4->Edit3->isReadOnly();
        mode = Form4->mode();
        Form4->Edit1->setText(QStringLiteral("geändert"));
        Form4->reject();
    });
    Form5->DateiInformationen1->trigger();
    QCOMPARE(title, QStringLiteral("Datei-Informationen (nur lesen)"));
    QCOMPARE(mode, 2);
    QVERIFY(readOnly);
    QCOMPARE(text1, header.title);
    QCOMPARE(text2, header.author);
    QCOMPARE(text3, header.remarks);
    QCOMPARE(ReadBytes(path), before);
    QCOMPARE(platform_.messages.size(), 0);
}

void LernprogrammTest::keyboard_shortcutsReachCommands()
{
    Form5->show();
    QVERIFY(QTest::qWaitForWindowActive(Form5));
    platform_.fileAnswers.enqueue(
        WriteVocabularyFile(dir_, QStringLiteral("k.vok"), NumberedEntries(2)));
    QTest::keyClick(Form5, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(EnabledControls(Form5), kFileOpenControls);
    QTest::keyClick(Form5, Qt::Key_F6);
    QVERIFY(!Form5->GermanToForeign());
    QTest::keyClick(Form5, Qt::Key_F5);
    QVERIFY(Form5->GermanToForeign());
    QTest::keyClick(Form5, Qt::Key_F7);
    QVERIFY(ReadAutoDelete());
    QTest::keyClick(Form5, Qt::Key_F2, Qt::ShiftModifier);
    QCOMPARE(ReadFont(), QStringLiteral("Symbol"));
    QTest::keyClick(Form5, Qt::Key_F3);
    QCOMPARE(platform_.messageTexts(), QStringList{QStringLiteral("Statistikdatei nicht vorhanden!")});
    QCOMPARE(platform_.messages.first().caption, QStringLiteral("Fehler"));
    QVERIFY(WriteBytes(StatisticsFilePath(platform_.programDir), QByteArray(193, ' ')));
    QTest::keyClick(Form5, Qt::Key_F3);
    QCOMPARE(platform_.messages.size(), 1);
    QTest::keyClick(Form5, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(EnabledControls(Form5), kNoFileControls);
    // Without a file the commands of the menu "Lernprogramm" do nothing.
    platform_.clear();
    QTest::keyClick(Form5, Qt::Key_F3);
    QCOMPARE(platform_.messages.size(), 0);

    // "&Hilfe" sits in its own bar at the right end and still opens with Alt+H.
    QCOMPARE(Form5->MainMenu1->cornerWidget(Qt::TopRightCorner), Form5->HelpMenuBar);
    QVERIFY(Form5->HelpMenuBar->actions().contains(Form5->Hilfe1->menuAction()));
    QTest::keyClick(Form5, Qt::Key_H, Qt::AltModifier);
    QTRY_VERIFY(Form5->Hilfe1->isVisible());
    Form5->Hilfe1->close();
}

void LernprogrammTest::abortShortcut_winsOverSelectAll()
{
    Form5->show();
    QVERIFY(QTest::qWaitForWindowActive(Form5));
    OpenByDialog(WriteVocabularyFile(dir_, QStringLiteral("x.vok"), NumberedEntries(2)));
    Form5->RunState();
    Form5->Edit1->setFocus();
    TypeText(Form5->Edit1, QStringLiteral("Häuser"));
    TypeText(Form5->Edit1, QStringLiteral("Жx"));  // no Windows-1252 byte for Ж
    QCOMPARE(Form5->Edit1->text(), QStringLiteral("Häuserx"));
    QCOMPARE(Form5->Edit1->maxLength(), 80);
    QTest::keyClick(Form5->Edit1, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(EnabledControls(Form5), kFileOpenControls);
    QVERIFY(Form5->Edit1->text().isEmpty());
}

LK_TEST_MAIN(LernprogrammTest)
#include "LernprogrammTest.moc"
