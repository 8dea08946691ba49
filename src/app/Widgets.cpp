#include "Widgets.h"

#include "AnsiText.h"

#include <QCursor>
#include <QGuiApplication>

QValidator::State AnsiLineValidator::validate(QString& input, int&) const
{
    for (QChar c : input)
        if (c.unicode() < 32 || !IsAnsiChar(c))
            return Invalid;
    return Acceptable;
}

WaitCursor::WaitCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QGuiApplication::restoreOverrideCursor();
}
