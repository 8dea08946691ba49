#include "ReadAloud.h"

#include "speech/Languages.h"

#include "app/Platform.h"
#include "app/SettingsStore.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <set>

namespace {

using Status = SpeechEngine::Status;

void TellProblem(QWidget* parent, Status status, const QString& language)
{
    // Once per kind and language for the whole program; no engine is one problem only.
    static std::set<std::pair<Status, QString>> told;
    const QString which = status == Status::NoVoice ? language : QString();
    if (status == Status::Ready || !told.insert({status, which}).second)
        return;
    // After the current event: a question or a verdict is never held up by the message.
    const QString text =
        status == Status::NoVoice && language.isEmpty()
            ? QStringLiteral(
                  "Die Fremdsprache dieser Datei ist nicht bekannt.\nWählen Sie sie "
                  "unter „Optionen“ → „Sprache der Fremdsprache ...“ im Lernprogramm.")
            : SpeechProblemText(status, language);
    QTimer::singleShot(0, parent, [parent, text] { ShowNotice(parent, text); });
}

}  // namespace

void ReadAloud(QWidget* parent, const QList<SpeechPart>& parts)
{
    Platform& platform = Platform::instance();
    QPointer<QWidget> window(parent);
    platform.setSpeechProblemHandler([window](Status status, const QString& language) {
        if (window)
            TellProblem(window, status, language);
    });
    const Status status = platform.speak(parts);
    if (status == Status::NoVoice) {
        for (const SpeechPart& part : parts)
            if (!platform.hasVoiceFor(part.language))
                TellProblem(parent, status, part.language);
    } else {
        TellProblem(parent, status, QString());
    }
}

QString ForeignLanguageOf(const QString& path, const QString& title)
{
    const QFileInfo file(path);
    const QString chosen = ReadForeignLanguage(file.absoluteFilePath());
    return chosen.isEmpty() ? GuessLanguage(file.fileName(), title) : chosen;
}

LanguageDialog::LanguageDialog(QWidget* parent, const QList<SpeechVoice>& voices,
                               const QString& current)
    : QDialog(parent), voices_(voices)
{
    setObjectName(QStringLiteral("LanguageDialog"));
    setWindowTitle(QStringLiteral("Sprache der Fremdsprache"));
    auto* caption = new QLabel(QStringLiteral("&Sprache, in der die Fremdsprache dieser Datei "
                                              "vorgelesen wird:"),
                               this);
    caption->setObjectName(QStringLiteral("Caption"));
    caption->setWordWrap(true);
    Languages = new QListWidget(this);
    Languages->setObjectName(QStringLiteral("Languages"));
    Languages->setAccessibleName(QStringLiteral("Sprache der Fremdsprache"));
    caption->setBuddy(Languages);
    for (const SpeechVoice& voice : voices_) {
        Languages->addItem(voice.name);
        if (voice.language == current)
            Languages->setCurrentRow(Languages->count() - 1);
    }
    if (Languages->currentRow() < 0 && Languages->count() > 0)
        Languages->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OkButton"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Abbrechen"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(Languages, &QListWidget::itemActivated, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(Languages);
    layout->addWidget(buttons);
    resize(360, 420);
}

void LanguageDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The current language in sight, not the top of a list of a hundred.
    if (Languages->currentItem())
        Languages->scrollToItem(Languages->currentItem(), QAbstractItemView::PositionAtCenter);
}

QString LanguageDialog::chosenLanguage() const
{
    const int row = Languages->currentRow();
    return row < 0 ? QString() : voices_.at(row).language;
}

bool ChooseForeignLanguage(QWidget* parent, const QString& path, const QString& title)
{
    const QList<SpeechVoice> voices = Platform::instance().speechVoices();
    if (voices.isEmpty()) {
        ShowNotice(parent, SpeechProblemText(Status::NoEngine, QString()));
        return false;
    }
    LanguageDialog dialog(parent, voices, ForeignLanguageOf(path, title));
    if (dialog.exec() != QDialog::Accepted || dialog.chosenLanguage().isEmpty())
        return false;
    WriteForeignLanguage(QFileInfo(path).absoluteFilePath(), dialog.chosenLanguage());
    return true;
}
