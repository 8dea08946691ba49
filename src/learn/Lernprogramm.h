#pragma once

#include "learn/LearningRun.h"
#include "review/DueSelection.h"
#include "vocab/VocabularyFile.h"

#include <QDialog>

class AnswerComparison;
struct AnswerOptions;
class QAction;
class QActionGroup;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QTimer;
class QToolBar;
class QToolButton;

// The learning window: opens one vocabulary file read-only and quizzes the user on it.
// Its controls are public so that the run and the lesson dialog can reach them.
class TForm5 : public QDialog {
    Q_OBJECT

public:
    explicit TForm5(QWidget* parent = nullptr);

    enum class ControlState { NoFile, FileOpen, Run };

    // The window's file, open read-only while a file is shown in Label7. Every read of
    // the run and of the lesson dialog goes through it.
    VocabularyFile& LearningFile() { return learningFile_; }
    // True while the questions are asked in German and answered in the foreign language.
    bool GermanToForeign() const;

    void ResetLearningWindow();
    void CloseLearningFile();
    // Opens the file chosen in the file dialog.
    bool OpenLearningFile();
    // Checks and opens a file (the handed-over name); a refused file changes nothing.
    bool OpenLearningFile(const QString& path);
    void ResetRunDisplay();
    void ApplyLearningFonts();
    void NoFileState();
    void FileOpenState();
    void RunState();

    void ShowFileInfoReadOnly();
    void ShowStatistics();

    // The answer expected for the question on screen.
    const QString& ExpectedAnswer() const { return expectedAnswer_; }

    void BeginRun();
    void ShowQuestion();
    void UpdateCounters();
    void EndRun();
    // Judges the answer field against the expected answer and shows the feedback.
    void CheckAnswer();
    void HideFeedback();
    void PrepareAnswerField();

    static constexpr int kClientWidth = 714;
    static constexpr int kClientHeight = 391;  // below the menu bar, tool bar included

    QMenuBar* MainMenu1;
    QMenuBar* HelpMenuBar;  // "&Hilfe" at the right end of the bar
    QMenu* Datei1;
    QMenu* Lernprogramm1;
    QMenu* Optionen1;
    QMenu* Hilfe1;
    QAction* Dateiffnen1;
    QAction* Dateischlieen1;
    QAction* Abbrechen1;
    QAction* Beenden1;
    QAction* Lektion1;
    QAction* Zufall1;
    QAction* Statistik1;
    QAction* DateiInformationen1;
    QActionGroup* Richtung;
    QAction* DeutschFremdsprache1;
    QAction* FremdspracheDeutsch1;
    QAction* FalscheVokabelnautomatischlschen1;
    QAction* GroundKleinschreibungignorieren1;
    QAction* SchriftartMSSansSerif1;
    QAction* SchriftartSymbol1;
    QAction* Voreinstellungen1;
    QAction* LernkompassHilfe1;
    QAction* HomepagevonLernkompass1;
    QAction* HomepagedesAutors1;
    QAction* Info1;

    QToolBar* ToolBar1;
    QToolButton* ToolButton1;
    QToolButton* ToolButton2;
    QToolButton* ToolButton13;
    QToolButton* ToolButton5;
    QToolButton* ToolButton3;
    QToolButton* ToolButton7;
    QToolButton* ToolButton8;
    QToolButton* ToolButton11;
    QToolButton* ToolButton10;

    QLabel* Label1;  // "Ausgewählte Datei:"
    QLabel* Label7;
    QLabel* Label2;  // "Lektion:"
    QLabel* Label8;
    QFrame* Panel1;  // grey panel
    QLabel* Label3;  // "Synonym(e):"
    QLabel* Label9;
    QLabel* Label4;  // "Bemerkung:"
    QLabel* Label10;
    QLabel* Label5;  // question caption
    QLabel* Label11;
    QLabel* Label6;  // answer caption
    QLineEdit* Edit1;

    QFrame* Panel2;  // feedback frame
    QLabel* Label22;
    QLabel* Label23;
    QLabel* Label24;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;

    QGroupBox* GroupBox1;  // "Vokabel-Auswertung"
    QLabel* Label12;
    QLabel* Label13;
    QLabel* Label14;
    QLabel* Label15;
    QLabel* Label16;
    QLabel* Label17;
    QLabel* Label18;
    QLabel* Label19;
    QLabel* Label20;
    QLabel* Label21;
    QGroupBox* GroupBox2;  // "Prozentsatz"
    QLabel* Label25;
    QGroupBox* GroupBox3;  // "Zeit"
    QLabel* Label26;

    QTimer* Timer1;

    // Due reviews and the Lernstand window (LearningWindowReview.cpp).
    QAction* DueReviewsAction;
    QAction* ProgressAction;
    QToolButton* DueReviewsButton;
    void BuildReviewControls();
    void StartDueRun();
    void ShowProgress();

    // Answer checking beyond exact comparison (checking/LearningWindowChecking.cpp).
    void BuildCheckingOptions();
    AnswerOptions CheckingOptions() const;
    void ShowAnswerComparison(bool right);
    QAction* UmlautSpellings1 = nullptr;
    QAction* AnyMeaning1 = nullptr;
    AnswerComparison* Comparison = nullptr;  // below Label24 after a wrong answer

    // Reading aloud (speech/LearningWindowSpeech.cpp).
    void BuildSpeechOptions();
    QString FileTitle();
    QString SpeechLanguage(bool german);  // the engine's code; empty when unknown
    void SpeakQuestion(bool always);      // always: on the key, also with the tick off
    void SpeakAfterVerdict(bool right);
    QAction* ReadAloud1 = nullptr;
    QAction* ForeignLanguage1 = nullptr;
    QAction* SpeakQuestion1 = nullptr;

public Q_SLOTS:
    void Dateiffnen1Click();
    void Dateischlieen1Click();
    void Abbrechen1Click();
    void Beenden1Click();
    void Lektion1Click();
    void Zufall1Click();
    void Statistik1Click();
    void DateiInformationen1Click();
    void DeutschFremdsprache1Click();
    void FremdspracheDeutsch1Click();
    void FalscheVokabelnautomatischlschen1Click(bool checked);
    void GroundKleinschreibungignorieren1Click(bool checked);
    void SchriftartMSSansSerif1Click();
    void SchriftartSymbol1Click();
    void Voreinstellungen1Click();
    void LernkompassHilfe1Click();
    void HomepagevonLernkompass1Click();
    void HomepagedesAutors1Click();
    void Info1Click();

    // The run commands.
    void StartLessonRun();
    void StartRandomRun();
    void AbortRun();
    void AcceptAnswer();
    void DropQuestion();
    void KeepQuestion();

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Timer1Timer();

    // Every way of closing (close box, "&Beenden") ends here.
    void done(int result) override;
    // Esc does nothing: it must not throw away a run.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Makes the controls, menus and tool bar (LernprogrammLayout.cpp).
    void BuildLayout();
    void FormShow();
    void FormClose();
    void SetControlState(ControlState state);
    void SetDirection(bool germanToForeign);
    // Enter judges the answer; the key and its character go no further.
    bool Edit1KeyDown(QKeyEvent* event);
    // Keeps the keyboard on the feedback buttons until one of them is pressed.
    void FeedbackButtonExit(QPushButton* button, Qt::FocusReason reason);
    // Reports a run that could not start; false when it did start.
    bool RefuseRun(LearningRun::Start start);
    void FinishStep(LearningRun::Step step);

    VocabularyFile learningFile_;
    LearningRun run_;
    bool preparing_ = false;  // a lesson run is being read: closing waits for it
    QString expectedAnswer_;
    bool feedbackShown_ = false;

    // Due reviews (LearningWindowReview.cpp): every run records its answers in the store.
    bool OpenReviewStore(bool reportEveryFailure);
    void BeginReviews();
    void RecordReview(bool right);
    ReviewStore reviewStore_;
    RunReviews reviews_;
    bool runMessageShown_ = false;    // a problem of the store was shown in this run
    bool storeFailureShown_ = false;  // the store could not be opened, and that was shown
};
