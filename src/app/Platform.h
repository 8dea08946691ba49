#pragma once

#include <QDate>
#include <QDateTime>
#include <QFont>
#include <QLocale>
#include <QPointer>
#include <QString>

#include "speech/SpeechEngine.h"

#include <functional>
#include <optional>

class QFile;
class QWidget;

// Every contact with the desktop goes through this interface: message boxes, file
// dialogs, sound, desktop links, the program's directory, the clock and the locale. The
// program installs QtPlatform at start; tests install a recording fake.

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Warning, Question, Information, Error };
enum class MsgAnswer { Ok, Yes, No };
// Whether the file chosen in a file dialog must exist already.
enum class FileChoice { Existing, MayBeNew };

class Platform {
public:
    virtual ~Platform() = default;

    // A modal message box; returns the button pressed.
    virtual MsgAnswer messageBox(QWidget* parent, const QString& text, const QString& caption,
                                 MsgButtons buttons, MsgIcon icon) = 0;

    // An open-file dialog. filter uses Qt's syntax ("Vokabeldateien (*.vok)"); an empty
    // startDirectory keeps the dialog's default. Returns the chosen path, or nothing when
    // the user cancelled. selectedFilter, where given, receives the file type chosen.
    virtual std::optional<QString> openFileName(QWidget* parent, const QString& title,
                                                const QString& filter,
                                                const QString& startDirectory,
                                                FileChoice choice = FileChoice::Existing,
                                                QString* selectedFilter = nullptr) = 0;

    // The font dialog, starting at initial. Returns the chosen font, or nothing when the
    // user cancelled.
    virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) = 0;

    // Plays a WAVE file or a Qt resource (":/…") and returns when it has finished. Returns
    // false when it could not be played.
    virtual bool playSound(const QString& fileOrResource) = 0;
    // The system's default sound.
    virtual void beep() = 0;

    // Opens a document, web address or mail address with the desktop's default handler.
    virtual bool openUrl(const QString& url) = 0;

    virtual QString programDirectory() = 0;
    virtual QDate today() = 0;
    virtual QDateTime now() = 0;
    virtual QLocale locale() = 0;

    // Ends the program: every running event loop, modal ones included, stops at its next
    // turn.
    virtual void quit() = 0;

    // Reading aloud: speak() returns at once (Ready, or why nothing will be read) and cuts
    // off what is being read; language is the engine's code ("de", "en").
    using SpeechStatus = SpeechEngine::Status;
    virtual SpeechStatus speak(const QList<SpeechPart>& parts) = 0;  // one after the other
    SpeechStatus speak(const QString& text, const QString& language)
    {
        return speak(QList<SpeechPart>{{text, language}});
    }
    virtual void stopSpeaking() = 0;
    virtual QList<SpeechVoice> speechVoices() = 0;
    virtual bool hasVoiceFor(const QString& language) = 0;
    // Called when reading aloud turns out to fail after speak() returned (no sound server),
    // once per kind and language.
    void setSpeechProblemHandler(std::function<void(SpeechStatus, const QString&)> handler)
    {
        speechProblem_ = std::move(handler);
    }

    static Platform& instance();
    // Installs p (not owned) as the platform; nullptr restores the Qt implementation.
    static void install(Platform* p);

protected:
    std::function<void(SpeechStatus, const QString&)> speechProblem_;
};

// The real implementation on Qt.
class QtPlatform : public Platform {
public:
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

private:
    SpeechEngine& speech();
    QPointer<SpeechEngine> speech_;
};

// Shorthands for the message boxes the windows show.
void ShowError(QWidget* parent, const QString& text);    // "Fehler", OK, no icon
void ShowNotice(QWidget* parent, const QString& text);   // "Meldung", OK, no icon
bool AskYesNo(QWidget* parent, const QString& text);     // "Frage", Yes/No, no icon

// The file dialog, opened in the current directory, which then becomes the chosen file's
// directory. Nothing when the user cancels.
std::optional<QString> ChooseFile(QWidget* parent, const QString& title, const QString& filter,
                                  FileChoice choice = FileChoice::Existing,
                                  QString* selectedFilter = nullptr);

// Whether the path of an open file still names that file: false once another program has
// removed it, renamed it away or put another file in its place.
bool PathNamesOpenFile(const QFile& file);
