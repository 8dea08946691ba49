#pragma once

#include "ZipBuilder.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSlider;
class QStatusBar;

// The zip window: packs one file into a ZIP archive beside it, or unpacks an archive into
// the directory that holds it, with compression level, overwrite option, progress and
// cancel.
class TForm10 : public QDialog {
    Q_OBJECT

public:
    explicit TForm10(QWidget* parent = nullptr);

    // The text of the status bar.
    QString StatusText() const;
    bool Running() const { return running_; }

    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QSlider* TrackBar1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QCheckBox* CheckBox1;
    QProgressBar* ProgressBar1;
    QStatusBar* StatusBar1;
    TZipBuilder ZipBuilder1;

public Q_SLOTS:
    void TrackBar1Change();
    void CheckBox1Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void ZipBuilder1Progress(ProgressType kind, const QString& fileName, qint64 size);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Esc is the cancel button: it stops a running job and otherwise does nothing.
    void reject() override;

private:
    void FormShow();
    void Pack();
    void Unpack();
    void GoIdle();
    void GoRunning();
    // Runs Add or Extract and goes idle afterwards, also when the component ended without
    // its end-of-batch event.
    void RunJob(const QString& status, void (TZipBuilder::*job)());
    void EndJob();
    void SetStatus(const QString& text);
    void ShowBarPosition();

    QLabel* status_;
    bool running_ = false;
    bool endOfBatch_ = false;
    // Byte counts can pass what a progress bar holds; the bar shows them divided.
    qint64 barTotal_ = 100;
    qint64 barDone_ = 0;
    qint64 barDivisor_ = 1;
};
