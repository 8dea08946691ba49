#pragma once

#include "HtmlExport.h"
#include "app/Widgets.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;

// The HTML export: writes a vocabulary file as a word list page beside it, optionally
// sorted, with coloured rows and a frame.
class TForm12 : public QDialog {
    Q_OBJECT

public:
    explicit TForm12(QWidget* parent = nullptr);

    // True while an export runs.
    bool IsExporting() const { return exporting_; }

    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QLabel* Label2;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton4;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QPushButton* Button2;
    QStatusBar* StatusBar1;
    QLabel* StatusText;  // the one line of StatusBar1

Q_SIGNALS:
    // Every text the status line takes.
    void StatusChanged(const QString& text);

public Q_SLOTS:
    void Button1Click();
    void Button2Click();
    void Label2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Esc has no meaning here.
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void SetStatus(const QString& text);
    // Shows a phase's count, at most every few tens of milliseconds; the last count always.
    void ShowCount(const QString& phase, int done, int total);
    void SetControlsEnabled(bool enabled);
    SortKey ChosenSortKey() const;
    void Warn(const QString& text);

    bool exporting_ = false;
    // How long the status may stand before an export lets the window repaint.
    RepaintPacer repaint_{RepaintPacer::Input::LetThrough, 40, RepaintPacer::First::AtOnce};
};
