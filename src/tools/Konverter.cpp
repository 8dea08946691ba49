#include "Konverter.h"

#include "WinVokLibrary.h"
#include "app/AnsiText.h"
#include "app/FileNames.h"
#include "app/Forms.h"
#include "app/Platform.h"
#include "app/SettingsStore.h"
#include "app/Widgets.h"
#include "exchange/ListImport.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <functional>

namespace {

const QString kRefused = QStringLiteral("Konvertierung nicht durchgeführt.");
const QString kReady = QStringLiteral("Bereit.");

// The names of the input formats by their index in the input dialog's filter.
QString FormatName(int format)
{
    return format == TForm11::kWinVokFormat ? QStringLiteral("WinVok II") : QString();
}

// A name that stands for a word list, whose format its content shows.
bool IsListName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const char* list : {"csv", "txt", "tsv", "kvtml"})
        if (suffix == QLatin1String(list))
            return true;
    return false;
}

QLabel* Caption(QWidget* parent, const char* name, const QString& text)
{
    auto* label = Named<QLabel>(parent, name, text);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// One group: "Dateiname:" with the field and its "..." button, "Format:" with the format.
QGroupBox* FileGroup(QWidget* parent, const char* name, const QString& title, QLabel*& nameCaption,
                     QLineEdit*& edit, QPushButton*& button, QLabel*& formatCaption,
                     QLabel*& format)
{
    auto* group = Named<QGroupBox>(parent, name, title);
    auto* grid = new QGridLayout(group);
    grid->addWidget(nameCaption, 0, 0);
    grid->addWidget(edit, 0, 1);
    grid->addWidget(button, 0, 2);
    grid->addWidget(formatCaption, 1, 0);
    grid->addWidget(format, 1, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    nameCaption->setBuddy(edit);
    edit->setAccessibleDescription(title + QStringLiteral("-Datei"));
    // The value keeps its text as what a screen reader hears; the caption describes it.
    format->setTextFormat(Qt::PlainText);
    format->setAccessibleDescription(title + QStringLiteral("-Format"));
    button->setAccessibleName(title + QStringLiteral("-Datei wählen"));
    button->setToolTip(button->accessibleName());
    button->setAutoDefault(false);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(button->text()) + 24);
    return group;
}

}  // namespace

TForm11::TForm11(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("Konverter"));

    // Created in tab order.
    Label1 = Caption(this, "Label1", QStringLiteral("Dateiname:"));
    Edit1 = Named<QLineEdit>(this, "Edit1");
    Button1 = Named<QPushButton>(this, "Button1", QStringLiteral("..."));
    Label2 = Caption(this, "Label2", QStringLiteral("Format:"));
    Label5 = Caption(this, "Label5", QString());
    GroupBox1 = FileGroup(this, "GroupBox1", QStringLiteral("Input"), Label1, Edit1, Button1,
                          Label2, Label5);

    Label3 = Caption(this, "Label3", QStringLiteral("Dateiname:"));
    Edit2 = Named<QLineEdit>(this, "Edit2");
    Button2 = Named<QPushButton>(this, "Button2", QStringLiteral("..."));
    Label4 = Caption(this, "Label4", QStringLiteral("Format:"));
    Label6 = Caption(this, "Label6", QString());
    GroupBox2 = FileGroup(this, "GroupBox2", QStringLiteral("Output"), Label3, Edit2, Button2,
                          Label4, Label6);

    Button3 = Named<QPushButton>(this, "Button3", QStringLiteral("&Starte Konvertierung"));
    Button4 = Named<QPushButton>(this, "Button4", QStringLiteral("&Felder löschen"));
    // Enter in a name field does nothing; on a button it presses that button.
    Button3->setAutoDefault(false);
    Button4->setAutoDefault(false);

    StatusBar1 = Named<QStatusBar>(this, "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    statusLabel_ = Caption(StatusBar1, "StatusText", kReady);
    statusLabel_->setAccessibleDescription(QStringLiteral("Status"));
    statusLabel_->setContentsMargins(6, 0, 0, 0);
    StatusBar1->addWidget(statusLabel_, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button3);
    buttons->addWidget(Button4);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(10, 8, 10, 4);
    body->addWidget(GroupBox1);
    body->addWidget(GroupBox2);
    body->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(body);
    layout->addWidget(StatusBar1);

    const QSize size(440, sizeHint().height());
    setFixedSize(size);

    connect(Button1, &QPushButton::clicked, this, &TForm11::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm11::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm11::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm11::Button4Click);
}

QString TForm11::StatusText() const
{
    return statusLabel_->text();
}

void TForm11::SetStatus(const QString& text)
{
    statusLabel_->setText(text);
}

bool TForm11::StartWriting(bool outputExists)
{
    if (outputExists &&
        Platform::instance().messageBox(
            this, QStringLiteral("Die Output-Datei existiert bereits. Überschreiben?"),
            QStringLiteral("Frage"), MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes) {
        SetStatus(kRefused);
        return false;
    }
    SetStatus(QStringLiteral("Starte Konvertierung ..."));
    return true;
}

void TForm11::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TForm11::closeEvent(QCloseEvent* event)
{
    // A running conversion is never cut short; QDialog::closeEvent would go through
    // reject(), which does nothing here.
    if (converting_) {
        event->ignore();
        return;
    }
    setResult(QDialog::Rejected);
    event->accept();
}

void TForm11::FormShow()
{
    Button4Click();
    CenterOnScreen(this);
    Edit1->setFocus();
}

void TForm11::Button4Click()
{
    SetStatus(kReady);
    inputFormat_ = -1;
    Edit1->clear();
    Edit2->clear();
    Label5->clear();
    Label6->clear();
}

void TForm11::Button1Click()
{
    const std::optional<QString> chosen =
        ChooseFile(this, QStringLiteral("Input-Datei wählen"),
                   QStringLiteral("WinVok II (*.bib);;Wortlisten (*.csv *.txt *.tsv *.kvtml)"));
    if (!chosen)
        return;
    Edit1->setText(*chosen);
    if (IsListName(*chosen)) {
        ImportSettings settings;
        inputFormat_ = ShowListFormat(*chosen, settings) ? kListFormat : -1;
        return;
    }
    inputFormat_ = kWinVokFormat;
    Label5->setText(FormatName(inputFormat_));
}

void TForm11::Button2Click()
{
    const std::optional<QString> chosen =
        ChooseFile(this, QStringLiteral("Output-Datei wählen"),
                   QStringLiteral("Lernkompass (*.vok)"), FileChoice::MayBeNew);
    if (!chosen)
        return;
    Edit2->setText(ReplaceExtension(*chosen, QStringLiteral(".vok")));
    Label6->setText(QStringLiteral("Lernkompass"));
}

void TForm11::Refuse(const QString& message)
{
    Platform::instance().messageBox(this, message, QStringLiteral("Fehler"), MsgButtons::Ok,
                                    MsgIcon::Warning);
    SetStatus(kRefused);
}

void TForm11::Button3Click()
{
    if (converting_)
        return;
    Edit1->setText(TrimControls(Edit1->text()));
    Edit2->setText(TrimControls(Edit2->text()));
    const QString input = Edit1->text();
    const QString output = Edit2->text();
    if (input.isEmpty() || output.isEmpty()) {
        Refuse(QStringLiteral("Es müssen zwei Dateinamen angegeben werden!"));
        return;
    }
    // Two names of one file would empty the input before it is read.
    if (input == output || NamesSameFile(input, output)) {
        Refuse(QStringLiteral(
            "Die Konvertierung ergibt keinen Sinn, da beide Dateien identisch sind!"));
        return;
    }
    if (!QFileInfo::exists(input)) {
        Refuse(QStringLiteral("Die Input-Datei existiert nicht!"));
        return;
    }
    if (IsListName(input)) {
        ConvertList(input, output);
        return;
    }
    // A typed name: the format from the file itself, before anything is asked or written.
    if (inputFormat_ != kWinVokFormat) {
        const std::optional<bool> library = HasLibrarySignature(input);
        if (!library || !*library) {
            SetStatus(ConversionStatusText(library ? ConversionResult::WrongFormat
                                                   : ConversionResult::InputNotRead));
            return;
        }
        inputFormat_ = kWinVokFormat;
        Label5->setText(FormatName(inputFormat_));
    }
    if (!StartWriting(QFileInfo::exists(output)))
        return;
    if (Konvertieren())
        SetStatus(QStringLiteral("Konvertierung erfolgreich abgeschlossen."));
}

void TForm11::RunBusy(const std::function<void(const std::function<void()>& pace)>& job)
{
    const QPointer<QWidget> focus = focusWidget();
    converting_ = true;
    setEnabled(false);
    {
        const WaitCursor waitCursor;
        // The first call shows the disabled window and the status at once; later ones
        // repaint it only now and then.
        RepaintPacer repaint(RepaintPacer::Input::LetThrough, kRepaintIntervalMs,
                             RepaintPacer::First::AtOnce);
        job(std::ref(repaint));
    }
    setEnabled(true);
    converting_ = false;
    if (focus)
        focus->setFocus();
}

bool TForm11::Konvertieren()
{
    ConversionResult result;
    RunBusy([&](const std::function<void()>& pace) {
        result = ConvertLibraryFile(Edit1->text(), Edit2->text(), pace);
    });
    if (result != ConversionResult::Converted) {
        SetStatus(ConversionStatusText(result));
        return false;
    }
    return true;
}

bool TForm11::ShowListFormat(const QString& input, ImportSettings& settings)
{
    DetectedImport detected;
    RunBusy([&](const std::function<void()>& pace) {
        detected = DetectImport(input, [&](int) { pace(); });
    });
    if (!detected.error.isEmpty()) {
        Label5->clear();
        SetStatus(detected.error);
        return false;
    }
    settings = detected.settings;
    Label5->setText(::FormatName(settings.list.format));
    return true;
}

void TForm11::ConvertList(const QString& input, const QString& output)
{
    ImportSettings settings;
    if (!ShowListFormat(input, settings))
        return;
    inputFormat_ = kListFormat;
    const QFileInfo target(output);
    const bool exists = target.exists() || target.isSymLink();
    if (!StartWriting(exists))
        return;
    ImportResult result;
    RunBusy([&](const std::function<void()>& pace) {
        result = CountImportFile(input, settings, TargetMode::NewFile, [&](int) { pace(); });
    });
    // Nothing is cut or replaced without the user's word.
    const bool fitting = result.ok() && result.counts.needsFitting();
    if (fitting && Platform::instance().messageBox(this, FittingQuestion(result.counts),
                                                   QStringLiteral("Frage"), MsgButtons::YesNo,
                                                   MsgIcon::Question) != MsgAnswer::Yes) {
        SetStatus(kRefused);
        return;
    }
    if (result.ok())
        RunBusy([&](const std::function<void()>& pace) {
            result =
                ImportListFile(input, settings, {output, TargetMode::NewFile, exists, -1, nullptr},
                               fitting, [&](int) { pace(); });
        });
    SetStatus(result.ok() ? QStringLiteral("Konvertierung erfolgreich abgeschlossen.")
                          : result.error);
}
