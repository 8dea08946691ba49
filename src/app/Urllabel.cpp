#include "Urllabel.h"

#include "Platform.h"
#include "ProductInfo.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionFocusRect>

TURLLabel::TURLLabel(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setTextFormat(Qt::PlainText);
    URL = Product::kSite;
    setText(Product::kSite);

    QFont plain = font();
    plain.setBold(false);
    plain.setItalic(false);
    plain.setUnderline(false);
    plain.setStrikeOut(false);
    setCurrentFont({plain, Qt::black});
    QFont over = plain;
    over.setUnderline(true);
    MouseOverFont = {over, QColor(0, 0, 255)};
}

TCustomFont TURLLabel::currentFont() const
{
    return {font(), palette().color(QPalette::WindowText)};
}

void TURLLabel::setCurrentFont(const TCustomFont& f)
{
    setFont(f.font);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, f.color);
    setPalette(p);
    update();
}

void TURLLabel::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    if (hovered_)
        return;
    hovered_ = true;
    plainFont_ = currentFont();
    setCurrentFont(MouseOverFont);
}

void TURLLabel::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    if (!hovered_)
        return;
    hovered_ = false;
    setCurrentFont(plainFont_);
}

void TURLLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(backgroundRole());
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

// Any button opens the address, the right one too.
void TURLLabel::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    OpenURL();
}

void TURLLabel::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (event->modifiers() & ~Qt::KeypadModifier)
                break;
            event->accept();
            OpenURL();
            return;
        default: break;
    }
    QLabel::keyPressEvent(event);
}

void TURLLabel::OpenURL()
{
    Platform::instance().openUrl(URL);
}
