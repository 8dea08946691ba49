#include "Drucker.h"

#include "app/FileNames.h"
#include "app/Forms.h"
#include "app/Platform.h"
#include "app/SettingsStore.h"
#include "app/Start.h"
#include "app/Widgets.h"
#include "vocab/VocabularyFile.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

// The short date with a four-digit year where the locale's short format has two, as
// German systems show it ("07.12.2026").
QString PageDate(const QLocale& locale, QDate date)
{
    static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    return locale.toString(
        date,
        locale.dateFormat(QLocale::ShortFormat).replace(twoDigitYear, QStringLiteral("yyyy")));
}

}  // namespace

TForm12::TForm12(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("Drucker"));

    GroupBox1 = Named<QGroupBox>(this, "GroupBox1", QStringLiteral("HTML"));
    Label1 = Named<QLabel>(GroupBox1, "Label1", QStringLiteral("Vokabeldatei:"));
    Edit1 = Named<QLineEdit>(GroupBox1, "Edit1");
    Edit1->setAccessibleName(QStringLiteral("Vokabeldatei"));
    Edit1->setMinimumWidth(300);
    Label1->setBuddy(Edit1);
    Button1 = Named<QPushButton>(GroupBox1, "Button1", QStringLiteral("..."));
    Button1->setAccessibleName(QStringLiteral("Vokabeldatei auswählen"));
    Button1->setToolTip(Button1->accessibleName());
    Button1->setAutoDefault(false);
    Button1->setFixedWidth(32);

    Label2 = Named<QLabel>(GroupBox1, "Label2", QStringLiteral("Sortierung:"));
    QFont underlined = Label2->font();
    underlined.setUnderline(true);
    Label2->setFont(underlined);
    Label2->setCursor(Qt::PointingHandCursor);
    Label2->installEventFilter(this);
    RadioButton1 =
        Named<QRadioButton>(GroupBox1, "RadioButton1", QStringLiteral("nach den &Lektionen"));
    RadioButton2 = Named<QRadioButton>(GroupBox1, "RadioButton2",
                                       QStringLiteral("nach den &deutschen Vokabeln"));
    RadioButton3 = Named<QRadioButton>(GroupBox1, "RadioButton3",
                                       QStringLiteral("nach den fremd&sprachigen Vokabeln"));
    RadioButton4 =
        Named<QRadioButton>(GroupBox1, "RadioButton4", QStringLiteral("überhaupt &nicht"));
    RadioButton1->setChecked(true);
    CheckBox3 = Named<QCheckBox>(GroupBox1, "CheckBox3",
                                 QStringLiteral("&Groß/Kleinschreibung berücksichtigen"));
    CheckBox3->setChecked(true);
    CheckBox1 =
        Named<QCheckBox>(GroupBox1, "CheckBox1", QStringLiteral("Tabelle &farbig hinterlegt"));
    CheckBox1->setChecked(true);
    CheckBox2 = Named<QCheckBox>(GroupBox1, "CheckBox2", QStringLiteral("Tabellen&rahmen"));
    Button2 = Named<QPushButton>(GroupBox1, "Button2", QStringLiteral("&HTML-Datei speichern"));
    // Enter in the file field does nothing; on a button it presses that button.
    Button2->setAutoDefault(false);

    auto* grid = new QGridLayout(GroupBox1);
    grid->setColumnMinimumWidth(0, 16);
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(Edit1, 0, 2);
    grid->addWidget(Button1, 0, 3);
    grid->setRowMinimumHeight(1, 6);
    grid->addWidget(Label2, 2, 0, 1, 3, Qt::AlignLeft);
    int row = 3;
    for (QWidget* option :
         {static_cast<QWidget*>(RadioButton1), static_cast<QWidget*>(RadioButton2),
          static_cast<QWidget*>(RadioButton3), static_cast<QWidget*>(RadioButton4),
          static_cast<QWidget*>(CheckBox3)})
        grid->addWidget(option, row++, 1, 1, 3);
    grid->setRowMinimumHeight(row++, 6);
    grid->addWidget(CheckBox1, row++, 0, 1, 4);
    grid->addWidget(CheckBox2, row++, 0, 1, 4);
    grid->setRowMinimumHeight(row++, 6);
    grid->addWidget(Button2, row, 0, 1, 4, Qt::AlignRight);

    StatusBar1 = Named<QStatusBar>(this, "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    // With a text from the start, the status line is as high as the texts it shows.
    StatusText = Named<QLabel>(StatusBar1, "StatusText", QStringLiteral("Bereit."));
    StatusText->setTextFormat(Qt::PlainText);
    StatusText->setAccessibleDescription(QStringLiteral("Status"));
    StatusBar1->addWidget(StatusText, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* margins = new QVBoxLayout;
    margins->setContentsMargins(10, 8, 10, 10);
    margins->addWidget(GroupBox1);
    layout->addLayout(margins);
    layout->addWidget(StatusBar1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button1, &QPushButton::clicked, this, &TForm12::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm12::Button2Click);
}

void TForm12::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
        CenterOnScreen(this);
    }
}

void TForm12::FormShow()
{
    Edit1->clear();
    SetStatus(QStringLiteral("Bereit."));
    const QString handedOver = HandedOverFileName();
    if (!handedOver.isEmpty())
        Edit1->setText(handedOver);
}

void TForm12::Label2Click()
{
    // Not while an export runs: it would write "Bereit." over the phase.
    if (!exporting_)
        FormShow();
}

bool TForm12::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label2 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Label2Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TForm12::reject() {}

void TForm12::closeEvent(QCloseEvent* event)
{
    // QDialog::closeEvent would go through reject(). A running export is never cut short.
    if (exporting_) {
        event->ignore();
        return;
    }
    setResult(QDialog::Rejected);
    event->accept();
}

void TForm12::Button1Click()
{
    const std::optional<QString> chosen =
        ChooseFile(this, QStringLiteral("Vokabeldatei zum Drucken öffen"),
                   QStringLiteral("Vokabeldateien (*.vok)"));
    if (!chosen)
        return;
    Edit1->setText(*chosen);
}

void TForm12::Warn(const QString& text)
{
    Platform::instance().messageBox(this, text, QStringLiteral("Fehler"), MsgButtons::Ok,
                                    MsgIcon::Warning);
}

SortKey TForm12::ChosenSortKey() const
{
    if (RadioButton2->isChecked())
        return SortKey::German;
    if (RadioButton3->isChecked())
        return SortKey::Foreign;
    if (RadioButton4->isChecked())
        return SortKey::None;
    return SortKey::Lesson;
}

void TForm12::SetControlsEnabled(bool enabled)
{
    Edit1->setEnabled(enabled);
    Button1->setEnabled(enabled);
    Button2->setEnabled(enabled);
}

void TForm12::SetStatus(const QString& text)
{
    StatusText->setText(text);
    Q_EMIT StatusChanged(text);
}

void TForm12::ShowCount(const QString& phase, int done, int total)
{
    if (done < total && !repaint_.due())
        return;
    SetStatus(phase.arg(done).arg(total));
    repaint_.now();
}

void TForm12::Button2Click()
{
    if (exporting_)
        return;
    const QString input = Edit1->text();
    const QString output = ReplaceExtension(input, QStringLiteral(".html"));
    const FileCheck check = CheckVocabularyFile(input, true).status;
    if (check != FileCheck::Valid) {
        Warn(CheckMessage(check));
        return;
    }
    if (QFileInfo::exists(output)) {
        // A vocabulary file named like its page (or linked to it) would be lost.
        if (QFileInfo(output) == QFileInfo(input)) {
            Warn(QStringLiteral("Die HTML-Datei würde die Vokabeldatei überschreiben!"));
            return;
        }
        const MsgAnswer answer = Platform::instance().messageBox(
            this,
            QStringLiteral("Ausgabedatei ") + FileNamePart(output) +
                QStringLiteral(" existiert bereits. Überschreiben?"),
            QStringLiteral("Frage"), MsgButtons::YesNo, MsgIcon::Question);
        if (answer != MsgAnswer::Yes)
            return;
    }

    Platform& platform = Platform::instance();
    ExportRequest request;
    request.vocabularyPath = input;
    request.htmlPath = output;
    request.sortKey = ChosenSortKey();
    request.caseSensitive = CheckBox3->isChecked();
    request.page = {CheckBox1->isChecked(), CheckBox2->isChecked(), FileNamePart(input),
                    PageDate(platform.locale(), platform.today())};
    ExportObserver observer;
    observer.reading = [this] {
        SetStatus(QStringLiteral("Lese Datei ..."));
        repaint_.now();
    };
    observer.sorting = [this](int done, int total) {
        ShowCount(QStringLiteral("Sortierung läuft (%1/%2) ..."), done, total);
    };
    observer.saving = [this](int done, int total) {
        ShowCount(QStringLiteral("Speichere Datei (%1/%2) ..."), done, total);
    };

    exporting_ = true;
    SetControlsEnabled(false);
    ExportResult result;
    {
        WaitCursor wait;
        result = ExportVocabularyList(request, observer);
    }
    exporting_ = false;
    SetControlsEnabled(true);
    SetStatus(result == ExportResult::Written ? QStringLiteral("Fertig.")
                                              : QStringLiteral("Bereit."));
    switch (result) {
        case ExportResult::Written: break;
        case ExportResult::Missing: Warn(CheckMessage(FileCheck::Missing)); break;
        case ExportResult::BadFormat: Warn(CheckMessage(FileCheck::BadFormat)); break;
        case ExportResult::WriteFailed:
            Warn(QStringLiteral("Die HTML-Datei konnte nicht geschrieben werden!"));
            break;
    }
}
