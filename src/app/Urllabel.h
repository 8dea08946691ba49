#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>

// A font with its colour: what a hyperlink label shows normally and under the mouse.
struct TCustomFont {
    QFont font;
    QColor color;
};

// A label that opens its address in the desktop's handler when a mouse button is pressed
// on it. Under the mouse it shows MouseOverFont and afterwards its own font again. It also
// takes the keyboard focus, shows it with the style's focus frame as other controls do, and
// opens on Enter or Space, so the links work without a mouse.
class TURLLabel : public QLabel {
    Q_OBJECT

public:
    explicit TURLLabel(QWidget* parent = nullptr);

    // The address handed to the desktop ("https://…", "mailto:…").
    QString URL;
    TCustomFont MouseOverFont;

    // The font and colour the label shows at the moment.
    TCustomFont currentFont() const;
    void setCurrentFont(const TCustomFont& font);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void OpenURL();

    TCustomFont plainFont_;  // the label's own font while MouseOverFont is shown
    bool hovered_ = false;
};
