#include "Platform.h"

#include "FileNames.h"
#include "SettingsStore.h"
#include "SoundOutput.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QUrl>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

Platform* g_installed = nullptr;

}  // namespace

Platform& Platform::instance()
{
    static QtPlatform qtPlatform;
    return g_installed ? *g_installed : qtPlatform;
}

void Platform::install(Platform* p)
{
    g_installed = p;
}

MsgAnswer QtPlatform::messageBox(QWidget* parent, const QString& text, const QString& caption,
                                 MsgButtons buttons, MsgIcon icon)
{
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    switch (icon) {
    case MsgIcon::None: break;
    case MsgIcon::Warning: qtIcon = QMessageBox::Warning; break;
    case MsgIcon::Question: qtIcon = QMessageBox::Question; break;
    case MsgIcon::Information: qtIcon = QMessageBox::Information; break;
    case MsgIcon::Error: qtIcon = QMessageBox::Critical; break;
    }
    const QMessageBox::StandardButtons qtButtons =
        buttons == MsgButtons::YesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok;
    QMessageBox box(qtIcon, caption, text, qtButtons, parent);
    box.setTextFormat(Qt::PlainText);
    const int result = box.exec();
    if (buttons == MsgButtons::Ok)
        return MsgAnswer::Ok;
    return result == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

std::optional<QString> QtPlatform::openFileName(QWidget* parent, const QString& title,
                                                const QString& filter,
                                                const QString& startDirectory,
                                                FileChoice choice, QString* selectedFilter)
{
    // Qt's own dialog, so that it speaks German through the loaded translation.
    QFileDialog dialog(parent, title, startDirectory, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(choice == FileChoice::MayBeNew ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    if (selectedFilter)
        *selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

std::optional<QFont> QtPlatform::chooseFont(QWidget* parent, const QFont& initial)
{
    // Qt's own dialog, German through the loaded translation; any size may be chosen.
    QFontDialog dialog(initial, parent);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
}

bool QtPlatform::playSound(const QString& fileOrResource)
{
    QString path = fileOrResource;
    if (path.startsWith(QLatin1String("qrc:/")))
        path.remove(0, 3);
    return PlayWave(path);
}

void QtPlatform::beep()
{
    QApplication::beep();
}

bool QtPlatform::openUrl(const QString& url)
{
    return QDesktopServices::openUrl(QUrl::fromUserInput(url));
}

QString QtPlatform::programDirectory()
{
    return QCoreApplication::applicationDirPath();
}

QDate QtPlatform::today()
{
    return QDate::currentDate();
}

QDateTime QtPlatform::now()
{
    return QDateTime::currentDateTime();
}

QLocale QtPlatform::locale()
{
    return QLocale::system();
}

void QtPlatform::quit()
{
    // exit() stops every running event loop, the modal windows' loops included.
    QCoreApplication::exit(0);
}

SpeechEngine& QtPlatform::speech()
{
    // Made on first use, so that a program that never reads aloud never loads the engine;
    // owned by the application, so that it cuts off speech before Qt ends.
    if (!speech_) {
        speech_ = new SpeechEngine(QCoreApplication::instance());
        QObject::connect(speech_, &SpeechEngine::problem, speech_,
                         [this](SpeechStatus status, const QString& language) {
                             if (speechProblem_)
                                 speechProblem_(status, language);
                         });
    }
    return *speech_;
}

Platform::SpeechStatus QtPlatform::speak(const QList<SpeechPart>& parts)
{
    return speech().speak(parts);
}

void QtPlatform::stopSpeaking()
{
    if (speech_)
        speech_->stop();
}

QList<SpeechVoice> QtPlatform::speechVoices()
{
    return speech().voices();
}

bool QtPlatform::hasVoiceFor(const QString& language)
{
    return speech().hasVoiceFor(language);
}

void ShowError(QWidget* parent, const QString& text)
{
    Platform::instance().messageBox(parent, text, QStringLiteral("Fehler"), MsgButtons::Ok,
                                    MsgIcon::None);
}

void ShowNotice(QWidget* parent, const QString& text)
{
    Platform::instance().messageBox(parent, text, QStringLiteral("Meldung"), MsgButtons::Ok,
                                    MsgIcon::None);
}

bool AskYesNo(QWidget* parent, const QString& text)
{
    return Platform::instance().messageBox(parent, text, QStringLiteral("Frage"),
                                           MsgButtons::YesNo, MsgIcon::None) == MsgAnswer::Yes;
}

std::optional<QString> ChooseFile(QWidget* parent, const QString& title, const QString& filter,
                                  FileChoice choice, QString* selectedFilter)
{
    std::optional<QString> chosen = Platform::instance().openFileName(
        parent, title, filter, ReadCurrentDirectory(), choice, selectedFilter);
    if (chosen)
        WriteCurrentDirectory(DirectoryPart(*chosen));
    return chosen;
}

bool PathNamesOpenFile(const QFile& file)
{
    if (!file.isOpen())
        return false;
#ifdef Q_OS_UNIX
    struct stat held {};
    struct stat named {};
    return fstat(file.handle(), &held) == 0 &&
           stat(QFile::encodeName(file.fileName()).constData(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
#else
    // Windows refuses to remove or rename a file Qt holds open, so only its absence is
    // possible here.
    return QFileInfo::exists(file.fileName());
#endif
}
