#include "Zipper.h"

#include "app/FileNames.h"
#include "app/Forms.h"
#include "app/Platform.h"
#include "app/SettingsStore.h"
#include "app/Widgets.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>
#include <QStatusBar>
#include <QVBoxLayout>

#include <limits>

namespace {

const QString kCancelled = QStringLiteral("Abgebrochen.");

}  // namespace

TForm10::TForm10(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("Zipper"));

    // Created in tab order.
    Label1 = Named<QLabel>(this, "Label1", QStringLiteral("Komprimierungsrate:"));
    Label9 = Named<QLabel>(this, "Label9");
    QFont bold = Label9->font();
    bold.setBold(true);
    Label9->setFont(bold);
    Label9->setAccessibleDescription(QStringLiteral("Komprimierungsrate"));
    TrackBar1 = Named<QSlider>(this, "TrackBar1", Qt::Horizontal);
    TrackBar1->setRange(0, 9);
    TrackBar1->setPageStep(1);
    TrackBar1->setTickInterval(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setValue(5);
    Label1->setBuddy(TrackBar1);
    Label2 = Named<QLabel>(this, "Label2", QStringLiteral("keine Komprimierung"));
    Label3 = Named<QLabel>(this, "Label3", QStringLiteral("beste Komprimierung"));
    Label4 = Named<QLabel>(this, "Label4", QStringLiteral("am schnellsten"));
    Label5 = Named<QLabel>(this, "Label5", QStringLiteral("am langsamsten"));
    CheckBox1 =
        new QCheckBox(QStringLiteral("&vorhandene Dateien automatisch überschreiben"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Label6 = Named<QLabel>(this, "Label6", QStringLiteral("Fortschritt:"));
    Label7 = Named<QLabel>(this, "Label7", QStringLiteral("0 %"));
    ProgressBar1 = Named<QProgressBar>(this, "ProgressBar1");
    ProgressBar1->setTextVisible(false);
    Label6->setBuddy(ProgressBar1);
    Label8 = Named<QLabel>(this, "Label8", QStringLiteral("100 %"));
    Button1 = Named<QPushButton>(this, "Button1", QStringLiteral("&Komprimieren"));
    Button1->setToolTip(QStringLiteral("Hier klicken, um eine Datei zu komprimieren."));
    Button2 = Named<QPushButton>(this, "Button2", QStringLiteral("&Dekomprimieren"));
    Button2->setToolTip(QStringLiteral("Hier klicken, um ein ZIP-Archiv zu dekomprimieren."));
    Button3 = Named<QPushButton>(this, "Button3", QStringLiteral("&Abbrechen"));
    Button3->setToolTip(QStringLiteral("Abbrechen"));
    StatusBar1 = Named<QStatusBar>(this, "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    // With a text from the start, the status line is as high as the texts it shows.
    status_ = Named<QLabel>(StatusBar1, "StatusText", QStringLiteral("Bereit."));
    status_->setTextFormat(Qt::PlainText);
    status_->setAccessibleDescription(QStringLiteral("Status"));
    status_->setContentsMargins(8, 0, 0, 0);
    StatusBar1->addWidget(status_, 1);

    auto* levelTitle = new QHBoxLayout;
    levelTitle->addWidget(Label1);
    levelTitle->addStretch();
    levelTitle->addWidget(Label9);
    auto* levelTexts = new QGridLayout;
    levelTexts->addWidget(Label2, 0, 0, Qt::AlignLeft);
    levelTexts->addWidget(Label3, 0, 1, Qt::AlignRight);
    levelTexts->addWidget(Label4, 1, 0, Qt::AlignLeft);
    levelTexts->addWidget(Label5, 1, 1, Qt::AlignRight);
    auto* bar = new QHBoxLayout;
    bar->addWidget(Label7);
    bar->addWidget(ProgressBar1, 1);
    bar->addWidget(Label8);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {Button1, Button2, Button3})
        buttons->addWidget(button);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(12, 12, 12, 8);
    body->addLayout(levelTitle);
    body->addWidget(TrackBar1);
    body->addLayout(levelTexts);
    body->addSpacing(10);
    body->addWidget(CheckBox1);
    body->addSpacing(10);
    body->addWidget(Label6);
    body->addLayout(bar);
    body->addSpacing(10);
    body->addLayout(buttons);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->setSpacing(0);
    window->addLayout(body);
    window->addWidget(StatusBar1);
    window->activate();
    setFixedSize(std::max(400, sizeHint().width()), sizeHint().height());

    connect(TrackBar1, &QSlider::valueChanged, this, &TForm10::TrackBar1Change);
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm10::CheckBox1Click);
    connect(Button1, &QPushButton::clicked, this, &TForm10::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm10::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm10::Button3Click);
    ZipBuilder1.OnProgress = [this](ProgressType kind, const QString& name, qint64 size) {
        ZipBuilder1Progress(kind, name, size);
    };
    // The component's own messages: a plain box with the program's title.
    ZipBuilder1.OnMessage = [this](int, const QString& text) {
        Platform::instance().messageBox(this, text, QCoreApplication::applicationName(),
                                        MsgButtons::Ok, MsgIcon::None);
    };
    GoIdle();
}

QString TForm10::StatusText() const
{
    return status_->text();
}

void TForm10::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm10::closeEvent(QCloseEvent* event)
{
    // A running job ends by itself or through the cancel button, never by closing.
    if (running_) {
        event->ignore();
        return;
    }
    setResult(QDialog::Rejected);
    event->accept();
}

void TForm10::reject()
{
    if (Button3->isEnabled())
        Button3->click();
}

void TForm10::FormShow()
{
    CenterOnScreen(this);
    GoIdle();
    CheckBox1->setChecked(ReadOverwrite());
    CheckBox1Click();
    TrackBar1->setValue(ReadCompression());
    ZipBuilder1.FSpecArgs.clear();
    Label9->setText(QString::number(TrackBar1->value()));
    SetStatus(QStringLiteral("Bereit."));
    Button1->setFocus();
}

void TForm10::TrackBar1Change()
{
    WriteCompression(TrackBar1->value());
    Label9->setText(QString::number(TrackBar1->value()));
}

void TForm10::CheckBox1Click()
{
    ZipBuilder1.ExtrOptions =
        CheckBox1->isChecked() ? ExtrOptionSet(ExtrOption::ExtrOverWrite) : ExtrOptionSet();
    WriteOverwrite(CheckBox1->isChecked());
}

void TForm10::Button1Click()
{
    try {
        Pack();
    } catch (...) {
        ShowError(this, QStringLiteral("Ein schwerwiegender Fehler ist aufgetreten!"));
        GoIdle();
    }
}

void TForm10::Button2Click()
{
    try {
        Unpack();
    } catch (...) {
        ShowError(this, QStringLiteral("Ein schwerwiegender Fehler ist aufgetreten!"));
        GoIdle();
    }
}

void TForm10::Pack()
{
    ZipBuilder1.AddCompLevel = TrackBar1->value();
    const std::optional<QString> chosen =
        ChooseFile(this, QStringLiteral("Komprimieren"),
                   QStringLiteral("Vokabeldateien (*.vok);;Alle Dateien (*)"));
    if (!chosen)
        return;
    // In any letter case: the archive's name would be the chosen file's own.
    if (ReplaceExtension(*chosen, QStringLiteral(".zip")).compare(*chosen, Qt::CaseInsensitive) ==
        0) {
        ShowNotice(this, QStringLiteral("Datei ist bereits komprimiert!"));
        return;
    }
    if (!QFileInfo(*chosen).isFile()) {
        ShowError(this, QStringLiteral("Datei existiert nicht!"));
        return;
    }
    const QString archive = ReplaceExtension(*chosen, QStringLiteral(".zip"));
    if (QFileInfo::exists(archive) &&
        !AskYesNo(this, QDir::toNativeSeparators(archive) +
                            QStringLiteral(" existiert bereits.\nÜberschreiben?")))
        return;
    // The old archive stays until the new one is complete; the component then replaces it.
    ZipBuilder1.SetFileName(archive);
    ZipBuilder1.FSpecArgs = QStringList{*chosen};
    RunJob(QStringLiteral("Kompression läuft ..."), &TZipBuilder::Add);
}

void TForm10::Unpack()
{
    ZipBuilder1.AddCompLevel = TrackBar1->value();
    const std::optional<QString> chosen =
        ChooseFile(this, QStringLiteral("Dekomprimieren"), QStringLiteral("Zip-Dateien (*.zip)"));
    if (!chosen)
        return;
    if (ReplaceExtension(*chosen, QStringLiteral(".zip")) != *chosen) {
        ShowError(this, QStringLiteral("Falsche Dateiendung!"));
        return;
    }
    if (!QFileInfo::exists(*chosen)) {
        ShowError(this, QStringLiteral("Datei existiert nicht!"));
        return;
    }
    ZipBuilder1.SetFileName(*chosen);
    ZipBuilder1.FSpecArgs.clear();
    RunJob(QStringLiteral("Dekompression läuft ..."), &TZipBuilder::Extract);
}

void TForm10::RunJob(const QString& status, void (TZipBuilder::*job)())
{
    GoRunning();
    SetStatus(status);
    endOfBatch_ = false;
    {
        const WaitCursor wait;
        (ZipBuilder1.*job)();
    }
    if (!endOfBatch_)
        EndJob();
}

void TForm10::EndJob()
{
    GoIdle();
    if (StatusText() != kCancelled)
        SetStatus(QStringLiteral("Beendet."));
}

void TForm10::ZipBuilder1Progress(ProgressType kind, const QString&, qint64 size)
{
    switch (kind) {
        case ProgressType::TotalSize2Process:
            if (!running_)
                return;
            barTotal_ = std::max<qint64>(size, 1);
            barDone_ = 0;
            barDivisor_ = barTotal_ / std::numeric_limits<int>::max() + 1;
            ShowBarPosition();
            break;
        case ProgressType::ProgressUpdate:
            // After a cancel the window is idle already; the job's last steps leave it so.
            if (!running_)
                return;
            barDone_ = std::min(barTotal_, barDone_ + std::max<qint64>(size, 0));
            ShowBarPosition();
            break;
        case ProgressType::EndOfBatch:
            endOfBatch_ = true;
            EndJob();
            break;
        case ProgressType::NewFile:
        case ProgressType::TotalFiles2Process: break;
    }
}

void TForm10::Button3Click()
{
    ZipBuilder1.Cancel = true;
    SetStatus(kCancelled);
    GoIdle();
}

void TForm10::GoIdle()
{
    running_ = false;
    Button1->setEnabled(true);
    Button2->setEnabled(true);
    TrackBar1->setEnabled(true);
    Button3->setEnabled(false);
    barTotal_ = 100;
    barDone_ = 0;
    barDivisor_ = 1;
    ShowBarPosition();
}

void TForm10::GoRunning()
{
    running_ = true;
    Button3->setEnabled(true);
    Button1->setEnabled(false);
    Button2->setEnabled(false);
    TrackBar1->setEnabled(false);
    Button3->setFocus();
}

void TForm10::SetStatus(const QString& text)
{
    status_->setText(text);
}

void TForm10::ShowBarPosition()
{
    ProgressBar1->setRange(0, int(barTotal_ / barDivisor_));
    ProgressBar1->setValue(int(barDone_ / barDivisor_));
}
