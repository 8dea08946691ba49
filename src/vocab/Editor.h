#pragma once

#include <QDialog>
#include <optional>

#include "VocabularyFile.h"
#include "app/Widgets.h"

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QScrollBar;
class QToolBar;
class QToolButton;

// Accepts what a field of the file can hold. A field keeps the control characters it was
// loaded with (another program may have written them), so that its text stays acceptable
// and every keystroke is still checked; no more are typed or pasted in.
class LoadedFieldValidator : public AnsiLineValidator {
public:
    using AnsiLineValidator::AnsiLineValidator;
    State validate(QString& input, int& pos) const override;
    // Gives a field that carries this validator a text read from the file.
    static void setLoadedText(QLineEdit* field, const QString& text);

private:
    qsizetype loadedControls_ = 0;
};

// The vocabulary editor: creates and opens a vocabulary file and changes it entry by entry,
// directly on disk. Its document state lives in its controls: the path in Label2, the
// current and the last entry number in Label8 and Label11, the current entry in Edit1 to
// Edit5. Every command stores the current entry first and does nothing if that fails.
class TForm2 : public QDialog {
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);

    // Switches to the no-document state and closes the open file.
    void ResetEditor();
    // Reads entry i into the five fields; counters and scroll bar stay.
    void LoadEntry(int i);
    void TrimFields();
    // Validates the fields and writes them at the current entry number. With advance, moves
    // on to the next entry, beginning a new one past the end.
    bool StoreCurrentEntry(bool advance);
    void ApplyFieldFonts();
    void EnableDocumentControls();
    void DisableDocumentControls();

    // The counters as read back from their labels. A label that does not hold a
    // non-negative number raises the internal error report with the given code and gives
    // nothing: the caller stops without touching the file.
    std::optional<int> CurrentEntryNumber(const QString& code);
    std::optional<int> LastEntryNumber(const QString& code);

    void InsertEntry();
    void DeleteEntry();
    void ExchangeEntries();

    static constexpr int kClientWidth = 593;
    static constexpr int kClientHeight = 441;

    QMenuBar* MainMenu1;
    QMenuBar* HelpMenuBar;  // holds "&Hilfe" at the right end of the menu bar
    QMenu* Datei1;
    QMenu* Steuerung1;
    QMenu* EditorFunktionen1;
    QMenu* Zubehr1;
    QMenu* Optionen1;
    QMenu* Hilfe1;
    QAction* Neu;
    QAction* Oeffnen;
    QAction* Schlieenohnespeichern1;
    QAction* Beenden1;
    QAction* Beginn1;
    QAction* Vorheriges1;
    QAction* Nchstes1;
    QAction* Letztes1;
    QAction* Eintrageinfgen1;
    QAction* Eintraglschen1;
    QAction* Links1;
    QAction* Rechts1;
    QAction* Vertauschen1;
    QAction* Lektionenbersicht1;
    QAction* DateiInformationen1;
    QAction* NachSynonymenfragen1;
    QAction* NacheinerBeschreibungfragen1;
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
    QToolButton* ToolButton3;
    QToolButton* ToolButton7;
    QToolButton* ToolButton8;
    QToolButton* ToolButton5;
    QToolButton* ToolButton10;

    QLabel* Label1;
    QLabel* Label2;
    QFrame* Panel1;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    QPushButton* Button1;

    QGroupBox* GroupBox1;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QToolButton* SpeedButton3;
    QToolButton* SpeedButton4;
    QLabel* Label9;
    QLabel* Label8;
    QLabel* Label10;
    QLabel* Label11;
    QScrollBar* ScrollBar1;

    QGroupBox* GroupBox2;
    QPushButton* Button2;
    QPushButton* Button3;

    QGroupBox* GroupBox3;
    QLineEdit* Edit6;
    QLineEdit* Edit7;
    QToolButton* SpeedButton5;
    QToolButton* SpeedButton6;
    QToolButton* SpeedButton7;

    // Word lists from and for other programs ("&Datei", after a separator).
    QAction* Importieren1 = nullptr;
    QAction* Exportieren1 = nullptr;

    // Reading the entry aloud (speech/EditorSpeech.cpp).
    void BuildSpeechItem();
    void SpeakEntry();
    QAction* Eintragvorlesen1 = nullptr;

public Q_SLOTS:
    void NeuClick();
    void OeffnenClick();
    void Schlieenohnespeichern1Click();
    void Beenden1Click();
    void Beginn1Click();
    void Vorheriges1Click();
    void Nchstes1Click();
    void Letztes1Click();
    void Eintrageinfgen1Click();
    void Eintraglschen1Click();
    void Links1Click();
    void Rechts1Click();
    void Vertauschen1Click();
    void Lektionenbersicht1Click();
    void DateiInformationen1Click();
    void NachSynonymenfragen1Click();
    void NacheinerBeschreibungfragen1Click();
    void SchriftartMSSansSerif1Click();
    void SchriftartSymbol1Click();
    void Voreinstellungen1Click();
    void LernkompassHilfe1Click();
    void HomepagevonLernkompass1Click();
    void HomepagedesAutors1Click();
    void Info1Click();
    void Button1Click();
    void ScrollBar1Change(int position);
    // Esc does nothing here; the close box and "&Beenden" go through closeEvent.
    void reject() override;
    // In exchange/EditorExchange.cpp.
    void Importieren1Click();
    void Exportieren1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Makes the controls, menus and tool bar (EditorLayout.cpp).
    void BuildLayout();
    static QString NoFileText();
    void FormShow();
    bool FormClose();
    void EditKeyDown(int field);
    // Opens a checked vocabulary file as the document; reports every failure itself.
    void OpenDocument(const QString& path);
    void SetDocumentControls(bool open);
    void ShowCounters(int current, int last);
    // Loads entry i and makes it the current one.
    void ShowEntry(int i);
    void ExchangeNumberedEntries();
    std::optional<int> ReadCounter(const QLabel* label, const QString& code);
    QLineEdit* Field(int k) const;
    // A character the file cannot hold: says which and where, and gives false.
    bool RefuseUnstorableText();
    // Whether the open file is still the one on screen: same name, same length. Says what
    // changed otherwise; a changed length also reloads the counters.
    bool FileIsAsKnown();
    void ReloadCounters();
    bool HasDocument() const;
    // The word list items and their handlers, in exchange/EditorExchange.cpp.
    void BuildExchangeMenu();

    VocabularyFile file_;
};
