#include "Start.h"

#include "FileNames.h"
#include "Forms.h"
#include "SettingsStore.h"
#include "Widgets.h"
#include "learn/Lernprogramm.h"
#include "tools/Drucker.h"
#include "tools/Konverter.h"
#include "tools/Zipper.h"
#include "vocab/Editor.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

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
    const auto icon = [this](QStyle::StandardPixmap glyph) { return style()->standardIcon(glyph); };
    BitBtn1 = Placed<QPushButton>(this, "BitBtn1", QRect(16, 16, 169, 57),
                                  icon(QStyle::SP_FileDialogDetailedView),
                                  QStringLiteral("&Vokabel-Editor"));
    BitBtn2 = Placed<QPushButton>(this, "BitBtn2", QRect(216, 16, 169, 57),
                                  icon(QStyle::SP_MediaPlay), QStringLiteral("&Lernprogramm"));
    BitBtn3 = Placed<QPushButton>(this, "BitBtn3", QRect(416, 16, 169, 57),
                                  icon(QStyle::SP_DriveHDIcon), QStringLiteral("&Zipper"));
    BitBtn4 = Placed<QPushButton>(this, "BitBtn4", QRect(112, 88, 169, 57),
                                  icon(QStyle::SP_BrowserReload), QStringLiteral("&Konverter"));
    BitBtn6 =
        Placed<QPushButton>(this, "BitBtn6", QRect(312, 88, 169, 57),
                            icon(QStyle::SP_FileDialogContentsView), QStringLiteral("&Drucker"));
    for (QPushButton* button : {BitBtn1, BitBtn2, BitBtn3, BitBtn4, BitBtn6})
        button->setIconSize(QSize(32, 32));

    Bevel1 = Placed<QFrame>(this, "Bevel1", QRect(16, 160, 569, 2));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);

    Label1 = Placed<QLabel>(this, "Label1", QRect(16, 174, 124, 20),
                            QStringLiteral("Übergebener Dateiname:"));

    Label2 = ValueLabel(this, "Label2", QStringLiteral("Übergebener Dateiname"));
    Label2->setGeometry(144, 174, 345, 20);
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    Label2->setStyleSheet(QStringLiteral("color: #008000;"));
    BitBtn5 = Placed<QPushButton>(this, "BitBtn5", QRect(504, 170, 81, 25),
                                  icon(QStyle::SP_DialogCancelButton), QStringLiteral("L&öschen"));
    BitBtn5->setIconSize(QSize(16, 16));
    BitBtn5->setToolTip(QStringLiteral("Übergebenen Dateinamen vergessen"));

    Label3 = Named<QLabel>(this, "Label3");
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
