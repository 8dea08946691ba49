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
    std::optional<QString> openFileName(QWidget*, const QString& title, const QString& filter,
                                        const QString& startDirectory, FileChoice choice) override
    {
        fileDialogs << FileDialog{title, filter, startDirectory, choice};
        return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.dequeue();
    }
    std::optional<QFont> chooseFont(QWidget*, const QFont& initial) override
    {
        fontDialogs << initial;
        return fontAnswers.isEmpty() ? std::nullopt : fontAnswers.dequeue();
    }
    bool playSound(const QString& file) override
    {
        soundsPlayed << file;
        return soundPlayable;
    }
    void beep() override { ++beeps; }
    bool openUrl(const QString& url) override
    {
        urlsOpened << url;
        return true;
    }
    QString programDirectory() override { return programDir; }
    QDate today() override { return fixedToday; }
    QDateTime now() override { return fixedNow; }
    QLocale locale() override { return fixedLocale; }
    void quit() override { ++quitRequests; }
};
