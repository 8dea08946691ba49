#include "Urllabel.h"

#include "Platform.h"
#include "ProductInfo.h"

#include <QKeyEvent>
#include <QPalette>

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

void TURLLabel::UpdateHighlight()
{
    const bool wanted = hovered_ || focused_;
    if (wanted == highlighted_)
        return;
    highlighted_ = wanted;
    if (wanted) {
        plainFont_ = currentFont();
        setCurrentFont(MouseOverFont);
    } else {
        setCurrentFont(plainFont_);
    }
}

void TURLLabel::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    hovered_ = true;
    UpdateHighlight();
}

void TURLLabel::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    hovered_ = false;
    UpdateHighlight();
}

void TURLLabel::focusInEvent(QFocusEvent* event)
{
    QLabel::focusInEvent(event);
    focused_ = true;
    UpdateHighlight();
}

void TURLLabel::focusOutEvent(QFocusEvent* event)
{
    QLabel::focusOutEvent(event);
    focused_ = false;
    UpdateHighlight();
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
