#include "FakePlatform.h"

QStringList FakePlatform::messageTexts() const
{
    QStringList texts;
    for (const Message& m : messages)
        texts << m.text;
    return texts;
}

QStringList FakePlatform::messageLines(bool withIcon) const
{
    QStringList lines;
    for (const Message& m : messages)
        lines << m.caption + (withIcon ? u'/' + QString::number(int(m.icon)) : QString()) +
                     QStringLiteral(": ") + m.text;
    return lines;
}

void FakePlatform::clear()
{
    answers.clear();
    fileAnswers.clear();
    fontAnswers.clear();
    fontDialogs.clear();
    messages.clear();
    fileDialogs.clear();
    soundsPlayed.clear();
    urlsOpened.clear();
    beeps = 0;
    quitRequests = 0;
    events.clear();
}

MsgAnswer FakePlatform::messageBox(QWidget*, const QString& text, const QString& caption,
                                   MsgButtons buttons, MsgIcon icon)
{
    const Message message{text, caption, buttons, icon};
    messages << message;
    if (onMessage)
        onMessage(message);
    if (buttons == MsgButtons::Ok)
        return MsgAnswer::Ok;
    return answers.isEmpty() ? MsgAnswer::No : answers.dequeue();
}

std::optional<QString> FakePlatform::openFileName(QWidget*, const QString& title,
                                                  const QString& filter,
                                                  const QString& startDirectory,
                                                  FileChoice choice, QString* selectedFilter)
{
    fileDialogs << FileDialog{title, filter, startDirectory, choice};
    const QString chosenFilter = filterAnswers.isEmpty()
                                     ? filter.section(QStringLiteral(";;"), 0, 0)
                                     : filterAnswers.dequeue();
    if (selectedFilter)
        *selectedFilter = chosenFilter;
    return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.dequeue();
}

std::optional<QFont> FakePlatform::chooseFont(QWidget*, const QFont& initial)
{
    fontDialogs << initial;
    return fontAnswers.isEmpty() ? std::nullopt : fontAnswers.dequeue();
}

bool FakePlatform::playSound(const QString& fileOrResource)
{
    soundsPlayed << fileOrResource;
    events << QStringLiteral("sound:") + fileOrResource;
    return soundPlayable;
}

void FakePlatform::beep()
{
    ++beeps;
}

bool FakePlatform::openUrl(const QString& url)
{
    urlsOpened << url;
    return true;
}

QString FakePlatform::programDirectory()
{
    return programDir;
}

QDate FakePlatform::today()
{
    return fixedToday;
}

QDateTime FakePlatform::now()
{
    return fixedNow;
}

QLocale FakePlatform::locale()
{
    return fixedLocale;
}

void FakePlatform::quit()
{
    ++quitRequests;
}

Platform::SpeechStatus FakePlatform::speak(const QList<SpeechPart>& parts)
{
    if (speechStatus == SpeechStatus::NoEngine)
        return speechStatus;
    SpeechStatus status = SpeechStatus::Ready;
    for (const SpeechPart& part : parts) {
        if (!hasVoiceFor(part.language)) {
            status = SpeechStatus::NoVoice;
            continue;
        }
        events << QStringLiteral("speak:%1:%2").arg(part.language, part.text);
    }
    return status;
}

void FakePlatform::stopSpeaking()
{
    events << QStringLiteral("stop");
}

QList<SpeechVoice> FakePlatform::speechVoices()
{
    return speechStatus == SpeechStatus::NoEngine ? QList<SpeechVoice>() : voices;
}

bool FakePlatform::hasVoiceFor(const QString& language)
{
    for (const SpeechVoice& voice : speechVoices())
        if (voice.language == language)
            return true;
    return false;
}
