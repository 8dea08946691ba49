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
    beeps = quitRequests = 0;
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
