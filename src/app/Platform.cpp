#include "Platform.h"

#include "Sound.h"

#include <QApplication>
#include <QAudioDevice>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontDialog>
#include <QMediaDevices>
#include <QMessageBox>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

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
                                                FileChoice choice)
{
    // Qt's own dialog, so that it speaks German through the loaded translation.
    QFileDialog dialog(parent, title, startDirectory, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(choice == FileChoice::MayBeNew ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
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
    // Without an output device a sound effect never ends, and a file that is not a sound
    // never finishes loading: both are refused before anything waits for them.
    if (QMediaDevices::audioOutputs().isEmpty())
        return false;
    QString path = fileOrResource;
    if (path.startsWith(QLatin1String("qrc:/")))
        path.remove(0, 3);
    const auto wave = ReadWaveInfo(path);
    if (!wave)
        return false;
    const QUrl url = path.startsWith(QLatin1String(":/"))
                         ? QUrl(QLatin1String("qrc") + path)
                         : QUrl::fromLocalFile(path);

    // The end is signalled late or not at all on some outputs, so the wait is capped at
    // the sound's own length plus a short margin.
    constexpr int kMarginMs = 500;
    QSoundEffect effect;
    QEventLoop loop;
    bool done = false;
    bool failed = false;
    const auto finish = [&] {
        done = true;
        loop.quit();
    };
    QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, [&] {
        if (effect.status() == QSoundEffect::Error) {
            failed = true;
            finish();
        }
    });
    QObject::connect(&effect, &QSoundEffect::playingChanged, &loop, [&] {
        if (!effect.isPlaying())
            finish();
    });
    // A header may claim any length; ten minutes is the most we wait.
    const qint64 lengthMs = qMin<qint64>(wave->durationMs(), 600'000);
    QTimer::singleShot(static_cast<int>(lengthMs) + kMarginMs, &loop, finish);
    effect.setSource(url);
    effect.play();
    // User input waits until the sound is over, as with any synchronous sound.
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    effect.stop();
    return !failed;
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
