#pragma once

#include <QDialog>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QWidget;

// The preferences: the sounds after a right and a wrong answer, one font and the entry
// fields that show it, and the twelve shortcut texts. Loads its settings each time it is
// shown and saves them when closed with "&OK" or the close box; "&Abbrechen" and Esc
// leave the settings as they are.
class TForm7 : public QDialog {
    Q_OBJECT

public:
    explicit TForm7(QWidget* parent = nullptr);

    // Writes every setting of the dialog.
    void SavePreferences();

    // Saving on closing; switched off by "&Abbrechen", on again at every showing.
    bool SaveOnClose = true;

    static constexpr int kClientWidth = 586;
    static constexpr int kClientHeight = 433;
    static constexpr int kShortcuts = 12;
    static constexpr int kFontFields = 5;

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;

    // "Sounds im Lernprogramm": right answer, wrong answer.
    QGroupBox* GroupBox2;
    QGroupBox* GroupBox3;
    QRadioButton* RadioButton1;  // "Standardsignal", right answer
    QRadioButton* RadioButton5;  // "Kein Signal", right answer
    QRadioButton* RadioButton2;  // sound file, right answer
    QRadioButton* RadioButton3;  // "Standardsignal", wrong answer
    QRadioButton* RadioButton6;  // "Kein Signal", wrong answer
    QRadioButton* RadioButton4;  // sound file, wrong answer
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QPushButton* Button1;
    QPushButton* Button2;
    QFrame* Bevel1;
    QFrame* Bevel2;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

    // "Schriftart".
    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLabel* Label2;  // the font name
    QLabel* Label3;  // the preview
    QLabel* Label4;
    QPushButton* Button3;
    QPushButton* Button4;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox5;

    // "Shortcuts": Edit3 to Edit14 hold the texts of Ctrl+F1 to Ctrl+F12.
    QGroupBox* GroupBox4;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    QLineEdit* Edit7;
    QLineEdit* Edit8;
    QLineEdit* Edit9;
    QLineEdit* Edit10;
    QLineEdit* Edit11;
    QLineEdit* Edit12;
    QLineEdit* Edit13;
    QLineEdit* Edit14;

    // "Wiederholung": how due reviews are planned.
    QWidget* ReviewSheet;
    QGroupBox* ReviewGroup;
    QLabel* RetentionLabel;
    QSpinBox* RetentionBox;  // percent
    QLabel* RetentionNote;
    QLabel* NewCardsLabel;
    QSpinBox* NewCardsBox;
    QLabel* RunSizeLabel;
    QSpinBox* RunSizeBox;

    QPushButton* Button5;  // "&OK"
    QPushButton* Button6;  // "&Abbrechen"

    // Field box k (1 to 5) and shortcut field k (1 to 12).
    QCheckBox* FontFieldBox(int k) const;
    QLineEdit* ShortcutField(int k) const;

public Q_SLOTS:
    // Every way of closing ends here; saves when SaveOnClose is on.
    void done(int result) override;
    // Esc acts as "&Abbrechen".
    void reject() override;

    void Button1Click();
    void Button2Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void FormClose();
    void ChooseSoundFile(QLineEdit* field, QRadioButton* fileOption);
    void ShowFontName(const QString& name);
    void BuildReviewSheet(int pageWidth);

    // 1 once a font is known (from the setting or chosen here); only then is "Font" written.
    int fontChosenMark_ = 0;
    // While the settings are loaded, the tab switches move the focus around; that must not
    // select a file option.
    bool loading_ = false;
};
