// Draws the program's icon into PNG files of the hicolor sizes. The shapes are those of
// lernkompass.svg, on the same 256-unit grid; change both together.
//   make_icons <output directory>   writes <size>.png for every size below

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>

#include <cstdio>

namespace {

const QColor kCover(0x2e, 0x6e, 0x4f);
const QColor kPaper(0xf7, 0xf3, 0xe8);
const QColor kRing(0x1f, 0x5f, 0x8b);
const QColor kNorth(0xc8, 0x37, 0x2d);
const QColor kSouth(0x3b, 0x3b, 0x3b);

void Polygon(QPainter& p, std::initializer_list<QPointF> points, const QColor& color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(QPolygonF(QList<QPointF>(points)));
}

void Circle(QPainter& p, double r, const QColor& color)
{
    p.setBrush(color);
    p.drawEllipse(QPointF(128, 110), r, r);
}

QImage Draw(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);

    Polygon(p, {{24, 168}, {128, 188}, {232, 168}, {232, 236}, {128, 252}, {24, 236}}, kCover);
    Polygon(p, {{32, 172}, {124, 190}, {124, 242}, {32, 228}}, kPaper);
    Polygon(p, {{132, 190}, {224, 172}, {224, 228}, {132, 242}}, kPaper);
    Circle(p, 104, kRing);
    Circle(p, 86, kPaper);
    p.setBrush(kRing);
    p.drawRect(QRectF(123, 28, 10, 18));
    p.drawRect(QRectF(123, 174, 10, 18));
    p.drawRect(QRectF(46, 105, 18, 10));
    p.drawRect(QRectF(192, 105, 18, 10));
    Polygon(p, {{128, 38}, {150, 110}, {106, 110}}, kNorth);
    Polygon(p, {{128, 182}, {150, 110}, {106, 110}}, kSouth);
    p.setPen(QPen(kSouth, 4));
    Circle(p, 12, kPaper);
    return image;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons <output directory>\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString file = dir + QLatin1Char('/') + QString::number(size) +
                             QStringLiteral(".png");
        if (!Draw(size).save(file, "PNG")) {
            std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
