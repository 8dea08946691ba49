#pragma once

#include "learn/StatisticsFile.h"

#include <QDialog>
#include <QImage>
#include <QList>
#include <QString>

class QFrame;
class QGroupBox;
class QHeaderView;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;
class QTableWidget;
class QWidget;

// The statistics window: the recorded runs of the learning window's vocabulary file, for
// one lesson or for the random runs, as a table or as a chart. It only reads the file.
class TForm8 : public QDialog {
    Q_OBJECT

public:
    explicit TForm8(QWidget* parent = nullptr);

    // Set by the learning window before it shows this window: its vocabulary file, and the
    // statistics file (empty: the one beside the program).
    QString vocabularyPath;
    QString statisticsPath;

    QGroupBox* GroupBox1;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QPushButton* Button1;
    QListWidget* ListBox1;
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QScrollArea* ScrollBox1;
    QHeaderView* HeaderControl1;
    QTableWidget* StringGrid1;
    QScrollArea* ScrollBox2;
    QWidget* Image1;  // the chart, painted as it is exposed
    QLabel* Label1;
    QFrame* Shape1;
    QLabel* Label2;
    QFrame* Shape2;
    QPushButton* Button2;

    static constexpr int kClientWidth = 594;
    static constexpr int kClientHeight = 497;
    static constexpr int kRowHeight = 16;

public Q_SLOTS:
    void RadioButton1Click();
    void RadioButton2Click();
    void Button1Click();
    void PageControl1Change(int index);
    void HeaderControl1SectionResize(int section, int oldSize, int newSize);
    void Button2Click();

    void ShowTextEvaluation();
    void ShowGraphicalEvaluation();
    void FitGridToHeader();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void FormClose();
    // The records of the current file and filter, in file order, read within the file's
    // present size.
    QList<StatisticsRecord> MatchingRecords();
    QString CurrentFileName() const;

    StatisticsReader reader_;
    QString SelectedStatisticsLesson;
    int chartWidth_;  // grows with the runs shown, never shrinks
    QWidget* gridArea_;
    bool fitting_ = false;
};
