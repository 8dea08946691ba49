#pragma once

#include "app/Platform.h"

#include <QList>
#include <QQueue>
#include <QStringList>

#include <functional>

// Records every contact with the desktop and answers dialogs from a script.
class FakePlatform : public Platform {
public:
    struct Message {
        QString text;
        QString caption;
        MsgButtons buttons;
        MsgIcon icon;
    };
    struct FileDialog {
        QString title;
        QString filter;
        QString startDirectory;
        FileChoice choice;
    };

    FakePlatform() { Platform::install(this); }
    ~FakePlatform() override { Platform::install(nullptr); }  // restores the Qt platform

    // Scripted answers. A message box without a scripted answer returns Ok (OK boxes) or
    // No (questions); a file dialog without one is cancelled.
    QQueue<MsgAnswer> answers;
    QQueue<std::optional<QString>> fileAnswers;
    // The file type a file dialog reports as chosen; without one, its filter's first.
    QQueue<QString> filterAnswers;
    // A font dialog without a scripted answer is cancelled.
    QQueue<std::optional<QFont>> fontAnswers;
    // Runs inside messageBox (e.g. to check the state of a window while a box is up).
    std::function<void(const Message&)> onMessage;

    QList<Message> messages;
    QList<FileDialog> fileDialogs;
    QList<QFont> fontDialogs;  // the font each font dialog started at
    QStringList soundsPlayed;
    QStringList urlsOpened;
    int beeps = 0;
    int quitRequests = 0;
    bool soundPlayable = true;

    // Every sound, speech and stop in the order they came: "sound:<file>",
    // "speak:<language>:<text>", "stop".
    QStringList events;
    // NoEngine: speak() reads nothing; a language without a voice in voices gives NoVoice.
    SpeechStatus speechStatus = SpeechStatus::Ready;
    QList<SpeechVoice> voices{{QStringLiteral("de"), QStringLiteral("Deutsch")},
                              {QStringLiteral("en"), QStringLiteral("Englisch")},
                              {QStringLiteral("fr"), QStringLiteral("Französisch")}};

    QString programDir;
    QDate fixedToday = QDate(2001, 3, 5);
    QDateTime fixedNow = QDateTime(QDate(2001, 3, 5), QTime(12, 0));
    QLocale fixedLocale = QLocale(QLocale::German, QLocale::Germany);

    // Texts of all messages shown, in order.
    QStringList messageTexts() const;
    // All messages shown, as "caption: text", or "caption/icon: text" with the icon's number.
    QStringList messageLines(bool withIcon = false) const;
    // Forgets what was recorded and scripted; the fixed answers (today, locale, ...) stay.
    void clear();

    MsgAnswer messageBox(QWidget* parent, const QString& text, const QString& caption,
                         MsgButtons buttons, MsgIcon icon) override;
    std::optional<QString> openFileName(QWidget* parent, const QString& title,
                                        const QString& filter, const QString& startDirectory,
                                        FileChoice choice, QString* selectedFilter) override;
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override;
    bool playSound(const QString& fileOrResource) override;
    void beep() override;
    bool openUrl(const QString& url) override;
    QString programDirectory() override;
    QDate today() override;
    QDateTime now() override;
    QLocale locale() override;
    void quit() override;
    using Platform::speak;
    SpeechStatus speak(const QList<SpeechPart>& parts) override;
    void stopSpeaking() override;
    QList<SpeechVoice> speechVoices() override;
    bool hasVoiceFor(const QString& language) override;
};
