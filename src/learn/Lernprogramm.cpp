#include "Lernprogramm.h"

#include "Lektionauswahl.h"
#include "StatisticsFile.h"
#include "Statistik.h"
#include "app/AnsiText.h"
#include "app/FileNames.h"
#include "app/Forms.h"
#include "app/Help.h"
#include "app/Info.h"
#include "app/Platform.h"
#include "app/Preferences.h"
#include "app/SettingsStore.h"
#include "app/Shortcuts.h"
#include "app/Sound.h"
#include "app/Start.h"
#include "app/Widgets.h"
#include "checking/AnswerComparison.h"
#include "vocab/Dateiinfo.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace {

const QString kDefaultFontName = QStringLiteral("MS Sans Serif");

void SetFontName(QWidget* widget, const QString& name)
{
    QFont font = widget->font();
    font.setFamilies({name});
    widget->setFont(font);
}

}  // namespace

TForm5::TForm5(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint)
{
    BuildLayout();

    // The run's Ctrl+A wins over the answer field's select-all; Enter judges the answer.
    Edit1->installEventFilter(this);
    InstallShortcutKeys(Edit1);
    // Enter confirms the focused feedback button; the focus stays among them.
    for (QPushButton* button : {Button1, Button2, Button3})
        button->installEventFilter(this);

    connect(Dateiffnen1, &QAction::triggered, this, &TForm5::Dateiffnen1Click);
    connect(ToolButton1, &QToolButton::clicked, this, &TForm5::Dateiffnen1Click);
    connect(Dateischlieen1, &QAction::triggered, this, &TForm5::Dateischlieen1Click);
    connect(ToolButton2, &QToolButton::clicked, this, &TForm5::Dateischlieen1Click);
    connect(Abbrechen1, &QAction::triggered, this, &TForm5::Abbrechen1Click);
    connect(ToolButton13, &QToolButton::clicked, this, &TForm5::Abbrechen1Click);
    connect(Beenden1, &QAction::triggered, this, &TForm5::Beenden1Click);
    connect(ToolButton10, &QToolButton::clicked, this, &TForm5::Beenden1Click);
    connect(Lektion1, &QAction::triggered, this, &TForm5::Lektion1Click);
    connect(ToolButton5, &QToolButton::clicked, this, &TForm5::Lektion1Click);
    connect(Zufall1, &QAction::triggered, this, &TForm5::Zufall1Click);
    connect(ToolButton3, &QToolButton::clicked, this, &TForm5::Zufall1Click);
    connect(Statistik1, &QAction::triggered, this, &TForm5::Statistik1Click);
    connect(ToolButton7, &QToolButton::clicked, this, &TForm5::Statistik1Click);
    connect(DateiInformationen1, &QAction::triggered, this, &TForm5::DateiInformationen1Click);
    connect(ToolButton8, &QToolButton::clicked, this, &TForm5::DateiInformationen1Click);
    connect(DeutschFremdsprache1, &QAction::triggered, this, &TForm5::DeutschFremdsprache1Click);
    connect(FremdspracheDeutsch1, &QAction::triggered, this, &TForm5::FremdspracheDeutsch1Click);
    connect(FalscheVokabelnautomatischlschen1, &QAction::triggered, this,
            &TForm5::FalscheVokabelnautomatischlschen1Click);
    connect(GroundKleinschreibungignorieren1, &QAction::triggered, this,
            &TForm5::GroundKleinschreibungignorieren1Click);
    connect(SchriftartMSSansSerif1, &QAction::triggered, this,
            &TForm5::SchriftartMSSansSerif1Click);
    connect(SchriftartSymbol1, &QAction::triggered, this, &TForm5::SchriftartSymbol1Click);
    connect(Voreinstellungen1, &QAction::triggered, this, &TForm5::Voreinstellungen1Click);
    connect(ToolButton11, &QToolButton::clicked, this, &TForm5::Voreinstellungen1Click);
    connect(LernkompassHilfe1, &QAction::triggered, this, &TForm5::LernkompassHilfe1Click);
    connect(HomepagevonLernkompass1, &QAction::triggered, this,
            &TForm5::HomepagevonLernkompass1Click);
    connect(HomepagedesAutors1, &QAction::triggered, this, &TForm5::HomepagedesAutors1Click);
    connect(Info1, &QAction::triggered, this, &TForm5::Info1Click);
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm5::Button3Click);
    connect(Timer1, &QTimer::timeout, this, &TForm5::Timer1Timer);

    BuildCheckingOptions();
    BuildSpeechOptions();

    // German to foreign language at program start; kept while the program runs.
    Label5->setText(QStringLiteral("Deutsch:"));
    Label6->setText(QStringLiteral("Fremdsprache:"));
    DeutschFremdsprache1->setChecked(true);
    ResetLearningWindow();

    BuildReviewControls();
}

bool TForm5::GermanToForeign() const
{
    return DeutschFremdsprache1->isChecked();
}

void TForm5::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())  // not when it comes back from the task bar
        FormShow();
}

void TForm5::FormShow()
{
    CenterOnScreen(this);
    const QString handedOver = HandedOverFileName();
    if (!handedOver.isEmpty())
        OpenLearningFile(handedOver);
}

void TForm5::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TForm5::reject() {}

void TForm5::closeEvent(QCloseEvent* event)
{
    if (preparing_) {
        event->ignore();
        return;
    }
    // QDialog's own would go through reject(), which does nothing here.
    done(QDialog::Rejected);
    event->accept();
}

void TForm5::FormClose()
{
    // Ends a run without a record and leaves nothing open or ticking behind a hidden
    // window; the start screen resets the window again before it shows it.
    CloseLearningFile();
}

bool TForm5::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit1 && event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_A)) {
            event->ignore();
            return true;
        }
    }
    if (watched == Edit1 && event->type() == QEvent::KeyPress)
        return Edit1KeyDown(static_cast<QKeyEvent*>(event));

    auto* button = qobject_cast<QPushButton*>(watched);
    if (button && (button == Button1 || button == Button2 || button == Button3)) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                // A held Enter must not run through the next questions.
                if (!key->isAutoRepeat())
                    button->click();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            FeedbackButtonExit(button, static_cast<QFocusEvent*>(event)->reason());
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TForm5::Edit1KeyDown(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    // An Enter still held from confirming the last question does not judge the empty
    // field of the next one.
    if (!event->isAutoRepeat())
        CheckAnswer();
    return true;
}

void TForm5::FeedbackButtonExit(QPushButton* button, Qt::FocusReason reason)
{
    // Menus and other windows may take the focus for a while.
    if (!feedbackShown_ || reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
        return;
    if (button == Button1 && Button1->isVisible())
        Button1->setFocus(reason);
    else if (button == Button2 && Button3->isVisible())
        Button3->setFocus(reason);
    else if (button == Button3 && Button2->isVisible())
        Button2->setFocus(reason);
}

void TForm5::ResetLearningWindow()
{
    NoFileState();
    Label7->setText(QStringLiteral("(keine ausgewählt)"));
    Label7->setToolTip(QString());
    ResetRunDisplay();
}

void TForm5::CloseLearningFile()
{
    ResetLearningWindow();
    learningFile_.close();
}

bool TForm5::OpenLearningFile()
{
    const auto chosen =
        ChooseFile(this, QStringLiteral("Öffnen"), QStringLiteral("Vokabeldateien (*.vok)"));
    if (!chosen) {
        ShowError(this, QStringLiteral("Fehler beim Öffnen der Datei!"));
        return false;
    }
    return OpenLearningFile(*chosen);
}

bool TForm5::OpenLearningFile(const QString& path)
{
    const FileCheckResult check = CheckVocabularyFile(path, false);
    if (check.status != FileCheck::Valid) {
        ShowError(this, CheckMessage(check.status));
        return false;
    }
    if (learningFile_.isOpen())
        CloseLearningFile();
    if (!learningFile_.open(path, VocabularyFile::Access::ReadOnly)) {
        ShowError(this, QStringLiteral("Fehler beim Öffnen der Datei!"));
        return false;
    }
    Label7->setText(path);
    Label7->setToolTip(path);  // a long path is cut at the window's edge
    FileOpenState();
    return true;
}

void TForm5::ResetRunDisplay()
{
    for (QLabel* label : {Label8, Label9, Label10, Label11, Label13, Label15, Label17, Label19,
                          Label21, Label22, Label24, Label25, Label26})
        label->clear();
    HideFeedback();
    FalscheVokabelnautomatischlschen1->setChecked(ReadAutoDelete());
    GroundKleinschreibungignorieren1->setChecked(ReadIgnoreGrossKlein());
    Edit1->clear();
    run_.reset();
    expectedAnswer_.clear();
    ApplyLearningFonts();
}

void TForm5::ApplyLearningFonts()
{
    const QString font = ReadFont();
    if (font.isEmpty())
        return;
    const auto nameOf = [&font](int field) {
        return ReadFontField(field) == 1 ? font : kDefaultFontName;
    };
    const int questionField = GermanToForeign() ? 2 : 3;
    const int answerField = GermanToForeign() ? 3 : 2;
    SetFontName(Label8, nameOf(1));
    SetFontName(Label11, nameOf(questionField));
    SetFontName(Edit1, nameOf(answerField));
    SetFontName(Label24, nameOf(answerField));
    SetFontName(Label9, nameOf(4));
    SetFontName(Label10, nameOf(5));
}

void TForm5::NoFileState()
{
    SetControlState(ControlState::NoFile);
}

void TForm5::FileOpenState()
{
    SetControlState(ControlState::FileOpen);
}

void TForm5::RunState()
{
    SetControlState(ControlState::Run);
}

void TForm5::SetControlState(ControlState state)
{
    const bool noFile = state == ControlState::NoFile;
    const bool fileOpen = state == ControlState::FileOpen;
    const bool run = state == ControlState::Run;

    Dateiffnen1->setEnabled(noFile);
    ToolButton1->setEnabled(noFile);
    Dateischlieen1->setEnabled(!noFile);
    ToolButton2->setEnabled(!noFile);
    Abbrechen1->setEnabled(run);
    ToolButton13->setEnabled(run);
    // The items follow their menu, also for their shortcuts.
    Lernprogramm1->menuAction()->setEnabled(!noFile);
    Statistik1->setEnabled(!noFile);
    DateiInformationen1->setEnabled(!noFile);
    ToolButton7->setEnabled(!noFile);
    ToolButton8->setEnabled(!noFile);
    Lektion1->setEnabled(fileOpen);
    Zufall1->setEnabled(fileOpen);
    ToolButton5->setEnabled(fileOpen);
    ToolButton3->setEnabled(fileOpen);
    Richtung->setEnabled(!run);
    Edit1->setEnabled(run);
    if (!run)
        Timer1->stop();
    else if (!Timer1->isActive())
        Timer1->start();
}

void TForm5::SetDirection(bool germanToForeign)
{
    DeutschFremdsprache1->setChecked(germanToForeign);
    FremdspracheDeutsch1->setChecked(!germanToForeign);
    Label5->setText(germanToForeign ? QStringLiteral("Deutsch:") : QStringLiteral("Fremdsprache:"));
    Label6->setText(germanToForeign ? QStringLiteral("Fremdsprache:") : QStringLiteral("Deutsch:"));
    ApplyLearningFonts();
}

void TForm5::ShowFileInfoReadOnly()
{
    const auto header = learningFile_.readHeader();
    if (!header) {
        ShowError(this, QStringLiteral("Fehler beim Lesen der Datei!"));
        return;
    }
    if (Form4)
        Form4->ShowReadOnly(*header);
}

void TForm5::ShowStatistics()
{
    QFile statistics(StatisticsFilePath(Platform::instance().programDirectory()));
    if (!statistics.open(QIODevice::ReadOnly)) {
        ShowError(this, QStringLiteral("Statistikdatei nicht vorhanden!"));
        return;
    }
    statistics.close();
    if (!Form8)
        return;
    Form8->vocabularyPath = learningFile_.path();
    Form8->statisticsPath = statistics.fileName();
    Form8->exec();
}

void TForm5::StartLessonRun()
{
    if (!Form6 || !learningFile_.isOpen())
        return;
    const auto seed = static_cast<std::uint64_t>(Platform::instance().now().toMSecsSinceEpoch());
    // The dialog writes the chosen lesson here; closed without a choice it writes nothing.
    Label8->clear();
    Form6->exec();
    const QString lesson = Label8->text();
    if (lesson.isEmpty())
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    // A lesson of a huge file takes a while to read: the window keeps repainting.
    RepaintPacer repaint;
    LearningRun::Start start;
    {
        const QScopedValueRollback guard(preparing_, true);
        start = run_.startLessonRun(learningFile_, lesson, seed, std::ref(repaint));
    }
    if (!RefuseRun(start)) {
        UpdateCounters();
        BeginRun();
    }
}

void TForm5::StartRandomRun()
{
    if (!learningFile_.isOpen())
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    const auto seed = static_cast<std::uint64_t>(Platform::instance().now().toMSecsSinceEpoch());
    if (!RefuseRun(run_.startRandomRun(learningFile_, seed))) {
        UpdateCounters();
        Label8->clear();
        BeginRun();
    }
}

bool TForm5::RefuseRun(LearningRun::Start start)
{
    if (start == LearningRun::Start::Started)
        return false;
    QGuiApplication::restoreOverrideCursor();
    switch (start) {
        case LearningRun::Start::NoQuestions:
            UpdateCounters();  // all 0: the lesson has no entry to ask
            break;
        case LearningRun::Start::TooFewEntries:
            ShowError(this, LearningRun::tooFewEntriesMessage());
            break;
        case LearningRun::Start::ReadFailed:
            Label8->clear();
            ShowError(this, QStringLiteral("Fehler beim Lesen der Datei!"));
            break;
        case LearningRun::Start::Started: break;
    }
    return true;
}

void TForm5::BeginRun()
{
    QGuiApplication::restoreOverrideCursor();
    if (!run_.isRunning())
        return;
    BeginReviews();
    ShowQuestion();
    RunState();  // starts the timer and enables the answer field
    Edit1->setFocus();
}

void TForm5::ShowQuestion()
{
    const VocabularyEntry& entry = run_.currentRow().entry;
    Label8->setText(entry.lesson);
    Label9->setText(entry.synonyms);
    Label10->setText(entry.remark);
    const Direction direction =
        GermanToForeign() ? Direction::GermanToForeign : Direction::ForeignToGerman;
    Label11->setText(run_.questionText(direction));
    expectedAnswer_ = run_.expectedAnswer(direction);
    SpeakQuestion(false);
}

void TForm5::UpdateCounters()
{
    const RunCounters& c = run_.counters();
    Label13->setText(QString::number(c.total));
    Label15->setText(QString::number(c.remaining));
    Label17->setText(QString::number(c.known));
    Label19->setText(QString::number(c.notKnown));
    Label21->setText(QString::number(c.deleted));
    Label25->setText(run_.percentageText(Platform::instance().locale()));
}

void TForm5::Timer1Timer()
{
    if (!run_.isRunning())
        return;
    run_.tick();
    Label26->setText(run_.elapsedText());
}

void TForm5::EndRun()
{
    UpdateCounters();
    Timer1->stop();
    Platform& platform = Platform::instance();
    const RunResult result = run_.result(learningFile_.path(), platform.today());
    if (!WriteStatisticsRecord(StatisticsFilePath(platform.programDirectory()), result))
        ShowError(this, QStringLiteral("Fehler beim Schreiben der Statistikdatei!"));
    // The final counts stay on screen while the notice is up.
    ShowNotice(this, QStringLiteral("Lerndurchgang beendet!"));
    ResetRunDisplay();
    FileOpenState();
}

void TForm5::AbortRun()
{
    ResetRunDisplay();
    FileOpenState();
}

void TForm5::CheckAnswer()
{
    if (!run_.isRunning() || feedbackShown_)
        return;
    const bool right = AnswerCounts(Edit1->text(), expectedAnswer_, CheckingOptions());
    Platform::instance().stopSpeaking();  // the sound of the verdict comes first
    if (right)
        PlayRightSound();
    else
        PlayWrongSound();

    feedbackShown_ = true;
    Label22->setText(right ? QStringLiteral("Richtig!") : QStringLiteral("Falsch!"));
    Label22->show();
    // Stored case, also when case is ignored.
    Label24->setText(right ? QString() : expectedAnswer_);
    Label23->setVisible(!right);
    Label24->setVisible(!right);
    ShowAnswerComparison(right);
    SpeakAfterVerdict(right);
    // Only the buttons on show are in the tab chain.
    const auto offer = [](QPushButton* button, bool shown) {
        button->setFocusPolicy(shown ? Qt::StrongFocus : Qt::NoFocus);
        button->setEnabled(shown);
        button->setVisible(shown);
    };
    offer(Button1, right);
    offer(Button2, !right);
    offer(Button3, !right);
    Edit1->setEnabled(false);  // Enter cannot judge twice
    if (right)
        Button1->setFocus();
    else if (FalscheVokabelnautomatischlschen1->isChecked())
        Button2->setFocus();
    else
        Button3->setFocus();

    RecordReview(right);
}

void TForm5::HideFeedback()
{
    feedbackShown_ = false;
    for (QWidget* feedback : std::initializer_list<QWidget*>{Label22, Label23, Label24, Comparison,
                                                             Button1, Button2, Button3})
        feedback->hide();
}

void TForm5::PrepareAnswerField()
{
    Edit1->clear();
    Edit1->setEnabled(true);
    Edit1->setFocus();
}

void TForm5::AcceptAnswer()
{
    HideFeedback();
    FinishStep(run_.acceptAnswer());
}

void TForm5::DropQuestion()
{
    HideFeedback();
    FinishStep(run_.dropQuestion());
}

void TForm5::KeepQuestion()
{
    HideFeedback();
    FinishStep(run_.keepQuestion());
}

void TForm5::FinishStep(LearningRun::Step step)
{
    switch (step) {
        case LearningRun::Step::Ended: EndRun(); break;
        case LearningRun::Step::Next:
            UpdateCounters();
            ShowQuestion();
            PrepareAnswerField();
            break;
        case LearningRun::Step::NoRun: break;
    }
}

void TForm5::Button1Click()
{
    AcceptAnswer();
}

void TForm5::Button2Click()
{
    DropQuestion();
}

void TForm5::Button3Click()
{
    KeepQuestion();
}

void TForm5::Dateiffnen1Click()
{
    OpenLearningFile();
}

void TForm5::Dateischlieen1Click()
{
    CloseLearningFile();
}

void TForm5::Abbrechen1Click()
{
    AbortRun();
}

void TForm5::Beenden1Click()
{
    close();
}

void TForm5::Lektion1Click()
{
    StartLessonRun();
}

void TForm5::Zufall1Click()
{
    StartRandomRun();
}

void TForm5::Statistik1Click()
{
    ShowStatistics();
}

void TForm5::DateiInformationen1Click()
{
    ShowFileInfoReadOnly();
}

void TForm5::DeutschFremdsprache1Click()
{
    SetDirection(true);
}

void TForm5::FremdspracheDeutsch1Click()
{
    SetDirection(false);
}

void TForm5::FalscheVokabelnautomatischlschen1Click(bool checked)
{
    WriteAutoDelete(checked);
}

void TForm5::GroundKleinschreibungignorieren1Click(bool checked)
{
    WriteIgnoreGrossKlein(checked);
}

void TForm5::SchriftartMSSansSerif1Click()
{
    WriteFont(kDefaultFontName);
    ApplyLearningFonts();
}

void TForm5::SchriftartSymbol1Click()
{
    WriteFont(QStringLiteral("Symbol"));
    ApplyLearningFonts();
}

void TForm5::Voreinstellungen1Click()
{
    if (Form7)
        Form7->exec();
    // The preferences may have changed the font settings.
    ApplyLearningFonts();
}

void TForm5::LernkompassHilfe1Click()
{
    ShowHelpFile(this);
}

void TForm5::HomepagevonLernkompass1Click()
{
    OpenProductSite();
}

void TForm5::HomepagedesAutors1Click()
{
    OpenAuthorSite();
}

void TForm5::Info1Click()
{
    if (Form9)
        Form9->exec();
}
