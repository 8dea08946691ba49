#pragma once

#include <QStringList>
#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;

// The start screen: five large buttons that open the program's windows, and a strip
// showing the vocabulary file handed over on the command line.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    // arguments: the command line without the program name.
    explicit TForm1(QStringList arguments = {}, QWidget* parent = nullptr);

    void ClearHandedOverFile();
    // The command line without the program name; read when the window is first shown.
    void setCommandLine(QStringList arguments) { arguments_ = std::move(arguments); }

    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;
    QPushButton* BitBtn4;
    QPushButton* BitBtn6;
    QPushButton* BitBtn5;
    QFrame* Bevel1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;  // never visible: the whole handed-over name, read by other windows

    static constexpr int kClientWidth = 602;
    static constexpr int kClientHeight = 201;
    // Compact, the window is 182 pixels high from the top of its title bar; less 27 for
    // title bar and border, the client area ends above the strip.
    static constexpr int kCompactClientHeight = 182 - 27;

public Q_SLOTS:
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void BitBtn6Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();

    QStringList arguments_;
    bool shown_ = false;
};

// The handed-over file name (empty when none): the text of the start screen's Label3.
QString HandedOverFileName();
