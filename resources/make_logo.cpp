// Paints the program's logo, 448 x 61 pixels on white: a compass rose, the name
// "Lernkompass" over a fading line with a short motto, and an open book at the right.
//
// Usage: make_logo <output file.png>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

#include <cstdio>

namespace {

const QColor kInk(0x1f, 0x3a, 0x68);     // dark blue
const QColor kAccent(0xc8, 0x3c, 0x28);  // red of the needle
const QColor kPale(0xdc, 0xe6, 0xf2);

void PaintRose(QPainter& p, QPointF centre, double radius)
{
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(kPale);
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius - 4, radius - 4);

    // Ticks every 30 degrees.
    for (int i = 0; i < 12; ++i) {
        const double a = qDegreesToRadians(i * 30.0);
        const double inner = i % 3 == 0 ? radius - 9 : radius - 6.5;
        p.drawLine(centre + QPointF(std::sin(a) * inner, -std::cos(a) * inner),
                   centre + QPointF(std::sin(a) * (radius - 4), -std::cos(a) * (radius - 4)));
    }

    // The needle, turned a little to the north-east: red half north, blue half south.
    p.save();
    p.translate(centre);
    p.rotate(35);
    const double len = radius - 8;
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawPolygon(QPolygonF{QPointF(0, -len), QPointF(4.5, 0), QPointF(-4.5, 0)});
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF{QPointF(0, len), QPointF(4.5, 0), QPointF(-4.5, 0)});
    p.restore();
    p.setBrush(Qt::white);
    p.setPen(QPen(kInk, 1));
    p.drawEllipse(centre, 2.2, 2.2);
}

// An open book seen from the front.
void PaintBook(QPainter& p, QPointF spineTop, double width, double height)
{
    p.setPen(QPen(kInk, 1.4));
    p.setBrush(Qt::white);
    for (int side : {-1, 1}) {
        QPainterPath page;
        page.moveTo(spineTop);
        page.quadTo(spineTop + QPointF(side * width * 0.5, -4),
                    spineTop + QPointF(side * width, 0));
        page.lineTo(spineTop + QPointF(side * width, height));
        page.quadTo(spineTop + QPointF(side * width * 0.5, height - 4),
                    spineTop + QPointF(0, height));
        page.closeSubpath();
        p.drawPath(page);
        p.setPen(QPen(kInk, 0.8));
        for (int line = 1; line <= 3; ++line) {
            const double y = spineTop.y() + line * height / 4.5;
            p.drawLine(QPointF(spineTop.x() + side * 4, y),
                       QPointF(spineTop.x() + side * (width - 4), y));
        }
        p.setPen(QPen(kInk, 1.4));
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_logo <output file.png>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QImage image(448, 61, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    PaintRose(p, QPointF(31, 30.5), 27);

    QFont name(QStringLiteral("DejaVu Sans"));
    name.setPixelSize(34);
    name.setBold(true);
    p.setFont(name);
    p.setPen(kInk);
    p.drawText(QRectF(68, 2, 300, 42), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Lernkompass"));

    QFont slogan(QStringLiteral("DejaVu Sans"));
    slogan.setPixelSize(12);
    slogan.setItalic(true);
    p.setFont(slogan);
    p.setPen(kAccent);
    p.drawText(QRectF(70, 42, 300, 16), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Vokabeln lernen mit Richtung"));

    QLinearGradient fade(QPointF(68, 0), QPointF(440, 0));
    fade.setColorAt(0, kInk);
    fade.setColorAt(1, Qt::white);
    p.setPen(QPen(QBrush(fade), 1.2));
    p.drawLine(QPointF(70, 42), QPointF(440, 42));

    PaintBook(p, QPointF(410, 14), 22, 28);
    p.end();

    if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
