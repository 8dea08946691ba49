#pragma once

#include <QDialog>

#include <functional>

struct ImportSettings;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

// The converter: turns a WinVok II library (".bib") into a vocabulary file. The input
// format is the one chosen in the dialog; for a typed input name it is read from the file.
// A word list (".csv", ".txt", ".tsv", ".kvtml") is recognised by its content and converted
// with the settings found there.
class TForm11 : public QDialog {
    Q_OBJECT

public:
    explicit TForm11(QWidget* parent = nullptr);

    // The conversion of the file named in Edit1 into the one named in Edit2. On failure
    // the status line tells why.
    bool Konvertieren();

    // The text of the status line.
    QString StatusText() const;
    int InputFormat() const { return inputFormat_; }

    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QLabel* Label2;
    QLabel* Label5;
    QGroupBox* GroupBox2;
    QLabel* Label3;
    QLineEdit* Edit2;
    QPushButton* Button2;
    QLabel* Label4;
    QLabel* Label6;
    QPushButton* Button3;
    QPushButton* Button4;
    QStatusBar* StatusBar1;

    // The only input format: the first (and only) entry of the input dialog's filter.
    static constexpr int kWinVokFormat = 1;
    // A word list, its format found in the file.
    static constexpr int kListFormat = 2;
    // How long a conversion runs before the window repaints again.
    static constexpr int kRepaintIntervalMs = 40;

public Q_SLOTS:
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Esc has no meaning here: the window has no cancel button.
    void reject() override {}

private:
    void FormShow();
    void SetStatus(const QString& text);
    void Refuse(const QString& message);
    // Asks before an existing output file is replaced and then says in the status line that
    // the conversion starts; false, with the refusal there, when the user says no.
    bool StartWriting(bool outputExists);
    // Runs a long job with the window disabled and the hourglass; the job calls pace now
    // and then, which repaints the window at most every kRepaintIntervalMs.
    void RunBusy(const std::function<void(const std::function<void()>& pace)>& job);
    // The format of a word list into Label5; false, with the reason in the status line,
    // when the file is no word list.
    bool ShowListFormat(const QString& input, ImportSettings& settings);
    void ConvertList(const QString& input, const QString& output);

    QLabel* statusLabel_;
    int inputFormat_ = -1;
    bool converting_ = false;
};
