#include "Info.h"

#include "Forms.h"
#include "Help.h"
#include "Urllabel.h"
#include "Widgets.h"

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

// caption: what the label shows; url: what it opens; description: what the link is, for
// screen readers (the label's text stays its name).
TURLLabel* MakeLink(QWidget* parent, const char* name, const QString& caption, const QString& url,
                    const QString& description, int left, int top)
{
    auto* link = Named<TURLLabel>(parent, name);
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
    : QDialog(parent, kFixedToolWindow)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Info"));
    setFixedSize(kClientWidth, kClientHeight);

    Shape1 = Placed<RoundedFrame>(this, "Shape1", QRect(8, 8, 465, 81));

    Image1 = Named<QLabel>(this, "Image1");
    const QPixmap logo(QStringLiteral(":/LOGO"));
    Image1->setPixmap(logo);
    Image1->setGeometry(QRect(QPoint(16, 19), logo.isNull() ? QSize(448, 61) : logo.size()));
    Image1->setAccessibleName(QStringLiteral("Logo von Lernkompass"));

    Label5 = Named<QLabel>(this, "Label5", QStringLiteral("Version: 1.5"));
    Label5->move(80, 104);
    Label4 = Named<QLabel>(this, "Label4", QStringLiteral("Stand: 20. Juni 2001"));
    Label4->move(80, 120);
    Bevel1 = Placed<QFrame>(this, "Bevel1", QRect(240, 96, 2, 97));
    Bevel1->setFrameShape(QFrame::VLine);
    Label3 = Named<QLabel>(this, "Label3", QStringLiteral("Autor: ") + Product::kAuthorName);
    Label3->move(312, 104);
    Bevel2 = Placed<QFrame>(this, "Bevel2", QRect(8, 144, 465, 2));
    Bevel2->setFrameShape(QFrame::HLine);
    for (QFrame* bevel : {Bevel1, Bevel2})
        bevel->setFrameShadow(QFrame::Sunken);

    Label1 = Named<QLabel>(this, "Label1", QStringLiteral("WWW:"));
    Label1->move(31, 176);
    URLLabel1 = MakeLink(this, "URLLabel1", WithoutClosingSlash(Product::kSite), Product::kSite,
                         QStringLiteral("Homepage von Lernkompass"), 80, 176);
    Label6 = Named<QLabel>(this, "Label6", QStringLiteral("eMail:"));
    Label6->move(272, 160);
    URLLabel2 = MakeLink(this, "URLLabel2", Product::kAuthorMail,
                         QStringLiteral("mailto:") + Product::kAuthorMail,
                         QStringLiteral("E-Mail an den Autor"), 312, 160);
    Label8 = Named<QLabel>(this, "Label8", QStringLiteral("WWW:"));
    Label8->move(264, 176);
    URLLabel3 = MakeLink(this, "URLLabel3", WithoutClosingSlash(Product::kAuthorSite),
                         Product::kAuthorSite, QStringLiteral("Homepage des Autors"), 312, 176);
    for (QLabel* label : {Label5, Label4, Label3, Label1, Label6, Label8}) {
        label->setTextFormat(Qt::PlainText);
        label->adjustSize();
    }

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
