#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class TURLLabel;

// The about box: logo, version, date and author, and three links to the product's web
// site, the author's e-mail address and the author's web site. It has no buttons; the
// close box or Esc close it.
class TForm9 : public QDialog {
    Q_OBJECT

public:
    explicit TForm9(QWidget* parent = nullptr);

    static constexpr int kClientWidth = 481;
    static constexpr int kClientHeight = 199;

    QWidget* Shape1;
    QLabel* Image1;
    QLabel* Label5;
    QLabel* Label4;
    QFrame* Bevel1;
    QLabel* Label3;
    QFrame* Bevel2;
    QLabel* Label1;
    TURLLabel* URLLabel1;
    QLabel* Label6;
    TURLLabel* URLLabel2;
    QLabel* Label8;
    TURLLabel* URLLabel3;

protected:
    void showEvent(QShowEvent* event) override;
};
