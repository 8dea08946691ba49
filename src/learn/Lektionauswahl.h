#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

// The lesson dialog: lists the distinct lessons of the learning window's file and writes
// the chosen one (or the empty text) into the learning window's lesson label.
class TForm6 : public QDialog {
    Q_OBJECT

public:
    explicit TForm6(QWidget* parent = nullptr);

    void FillLessonList();

    static constexpr int kClientWidth = 322;
    static constexpr int kClientHeight = 232;

    QListWidget* ListBox1;
    QPushButton* Button1;

public Q_SLOTS:
    void ChooseLesson();
    void Button1Click();
    void ListBox1DblClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
};
