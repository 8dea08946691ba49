#include "Info.h"

#include "Forms.h"
#include "Help.h"
#include "Urllabel.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace {

// A rounded frame around the logo.
class RoundedFrame : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    }
};

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int left, int top)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QFrame* MakeBevel(QWidget* parent, const char* name, QFrame::Shape shape, const QRect& place)
{
    auto* bevel = new QFrame(parent);
    bevel->setObjectName(QLatin1String(name));
    bevel->setFrameShape(shape);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(place);
    return bevel;
}

// caption: what the label shows; url: what it opens; description: what the link is, for
// screen readers (the label's text stays its name).
TURLLabel* MakeLink(QWidget* parent, const char* name, const QString& caption, const QString& url,
                    const QString& description, int left, int top)
{
    auto* link = new TURLLabel(parent);
    link->setObjectName(QLatin1String(name));
    link->setText(caption);
    link->URL = url;
    link->setAccessibleDescription(description);
    // Blue in the dialog's face and size without style; underlined under the mouse.
    QFont plain = parent->font();
    plain.setBold(false);
    plain.setItalic(false);
    plain.setUnderline(false);
    plain.setStrikeOut(false);
    link->setCurrentFont({plain, QColor(0, 0, 255)});
    QFont over = plain;
    over.setUnderline(true);
    link->MouseOverFont = {over, QColor(0, 0, 255)};
    link->move(left, top);
    link->adjustSize();
    return link;
}

QString WithoutClosingSlash(const QString& address)
{
    return address.endsWith(QLatin1Char('/')) ? address.chopped(1) : address;
}

}  // namespace

TForm9::TForm9(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Info"));
    setFixedSize(kClientWidth, kClientHeight);

    Shape1 = new RoundedFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(8, 8, 465, 81);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    const QPixmap logo(QStringLiteral(":/LOGO"));
    Image1->setPixmap(logo);
    Image1->setGeometry(QRect(QPoint(16, 19), logo.isNull() ? QSize(448, 61) : logo.size()));
    Image1->setAccessibleName(QStringLiteral("Logo von Lernkompass"));

    Label5 = MakeLabel(this, "Label5", QStringLiteral("Version: 1.5"), 80, 104);
    Label4 = MakeLabel(this, "Label4", QStringLiteral("Stand: 20. Juni 2001"), 80, 120);
    Bevel1 = MakeBevel(this, "Bevel1", QFrame::VLine, QRect(240, 96, 2, 97));
    Label3 = MakeLabel(this, "Label3", QStringLiteral("Autor: ") + Product::kAuthorName, 312, 104);
    Bevel2 = MakeBevel(this, "Bevel2", QFrame::HLine, QRect(8, 144, 465, 2));

    Label1 = MakeLabel(this, "Label1", QStringLiteral("WWW:"), 31, 176);
    URLLabel1 = MakeLink(this, "URLLabel1", WithoutClosingSlash(Product::kSite), Product::kSite,
                         QStringLiteral("Homepage von Lernkompass"), 80, 176);
    Label6 = MakeLabel(this, "Label6", QStringLiteral("eMail:"), 272, 160);
    URLLabel2 = MakeLink(this, "URLLabel2", Product::kAuthorMail,
                         QStringLiteral("mailto:") + Product::kAuthorMail,
                         QStringLiteral("E-Mail an den Autor"), 312, 160);
    Label8 = MakeLabel(this, "Label8", QStringLiteral("WWW:"), 264, 176);
    URLLabel3 = MakeLink(this, "URLLabel3", WithoutClosingSlash(Product::kAuthorSite),
                         Product::kAuthorSite, QStringLiteral("Homepage des Autors"), 312, 176);

    // Tab goes through the links in reading order.
    setTabOrder(URLLabel2, URLLabel1);
    setTabOrder(URLLabel1, URLLabel3);

    if (FontGrowth(this) > 1.0) {
        GrowWithFont(this);
        // The logo keeps its size; it stays in the middle of its grown frame.
        Image1->move(Shape1->geometry().center() - Image1->rect().center());
    }
}

void TForm9::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CenterOnScreen(this);
}
