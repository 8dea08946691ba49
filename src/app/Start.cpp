#include "Start.h"

#include "FileNames.h"
#include "Forms.h"
#include "SettingsStore.h"
#include "vocab/Editor.h"
#include "learn/Lernprogramm.h"
#include "tools/Drucker.h"
#include "tools/Konverter.h"
#include "tools/Zipper.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text,
                        QStyle::StandardPixmap glyph, const QRect& place)
{
    auto* button = new QPushButton(parent->style()->standardIcon(glyph), text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    button->setIconSize(QSize(32, 32));
    return button;
}

}  // namespace

TForm1::TForm1(QStringList arguments, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      arguments_(std::move(arguments))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Lernkompass 1.5"));
    setFixedSize(kClientWidth, kClientHeight);

    // Created in tab order.
    BitBtn1 = MakeButton(this, "BitBtn1", QStringLiteral("&Vokabel-Editor"),
                         QStyle::SP_FileDialogDetailedView, QRect(16, 16, 169, 57));
    BitBtn2 = MakeButton(this, "BitBtn2", QStringLiteral("&Lernprogramm"),
                         QStyle::SP_MediaPlay, QRect(216, 16, 169, 57));
    BitBtn3 = MakeButton(this, "BitBtn3", QStringLiteral("&Zipper"),
                         QStyle::SP_DriveHDIcon, QRect(416, 16, 169, 57));
    BitBtn4 = MakeButton(this, "BitBtn4", QStringLiteral("&Konverter"),
                         QStyle::SP_BrowserReload, QRect(112, 88, 169, 57));
    BitBtn6 = MakeButton(this, "BitBtn6", QStringLiteral("&Drucker"),
                         QStyle::SP_FileDialogContentsView, QRect(312, 88, 169, 57));

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(16, 160, 569, 2);

    Label1 = new QLabel(QStringLiteral("Übergebener Dateiname:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(16, 174, 124, 20);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(144, 174, 345, 20);
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    Label2->setStyleSheet(QStringLiteral("color: #008000;"));
    Label2->setTextFormat(Qt::PlainText);
    // The name is what a screen reader must say; the caption only describes it.
    Label2->setAccessibleDescription(QStringLiteral("Übergebener Dateiname"));
    BitBtn5 = MakeButton(this, "BitBtn5", QStringLiteral("L&öschen"),
                         QStyle::SP_DialogCancelButton, QRect(504, 170, 81, 25));
    BitBtn5->setIconSize(QSize(16, 16));
    BitBtn5->setToolTip(QStringLiteral("Übergebenen Dateinamen vergessen"));

    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setTextFormat(Qt::PlainText);
    Label3->hide();

    GrowWithFont(this);
    // Label1 reads better with its width taken from its text.
    Label1->adjustSize();
    Label1->move(Label1->x(), GrownForFont(176, this));
    Label2->move(Label1->x() + Label1->width() + 6, Label1->y());
    Label2->resize(BitBtn5->x() - Label2->x() - 8, Label1->height());

    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm1::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm1::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TForm1::BitBtn4Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TForm1::BitBtn5Click);
    connect(BitBtn6, &QPushButton::clicked, this, &TForm1::BitBtn6Click);
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    FormShow();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // Closing the start screen ends the program, also while hidden windows exist.
    event->accept();
    QApplication::quit();
}

void TForm1::FormShow()
{
    // Only here is the settings file created; a failure is not reported.
    if (WriteVersionCreatingStore()) {
        if (!ReadAutoDelete())
            WriteAutoDelete(false);
        if (ReadSynonyme())
            WriteSynonyme(true);
        if (ReadBeschreibung())
            WriteBeschreibung(true);
        if (!ReadOverwrite())
            WriteOverwrite(false);
        if (ReadCompression() == 5)
            WriteCompression(5);
    }

    if (!arguments_.isEmpty()) {
        Label2->setText(FileNamePart(arguments_.first()));
        Label3->setText(arguments_.first());
    } else {
        ClearHandedOverFile();
    }
    CenterOnScreen(this);
}

void TForm1::ClearHandedOverFile()
{
    Label1->hide();
    Label2->hide();
    BitBtn5->hide();
    Label2->clear();
    Label3->clear();
    setFixedSize(width(), GrownForFont(kCompactClientHeight, this));
    BitBtn1->setFocus();
}

void TForm1::BitBtn1Click()
{
    if (!Form2)
        return;
    Form2->ResetEditor();
    Form2->exec();
}

void TForm1::BitBtn2Click()
{
    if (!Form5)
        return;
    Form5->ResetLearningWindow();
    Form5->exec();
}

void TForm1::BitBtn3Click()
{
    if (!Form10)
        return;
    Form10->exec();
}

void TForm1::BitBtn4Click()
{
    if (Form11)
        Form11->exec();
}

void TForm1::BitBtn5Click()
{
    ClearHandedOverFile();
}

void TForm1::BitBtn6Click()
{
    if (!Form12)
        return;
    Form12->exec();
}

QString HandedOverFileName()
{
    return Form1 ? Form1->Label3->text() : QString();
}
