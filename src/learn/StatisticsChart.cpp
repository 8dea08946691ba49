#include "StatisticsChart.h"

#include "app/AnsiText.h"

#include <QFontMetrics>
#include <QPainter>

#include <optional>

namespace {

constexpr int kLeft = 50;     // x of the vertical axis and of the first run
constexpr int kTop = 10;      // y of 100 %
constexpr int kBottom = 210;  // y of 0 %
constexpr int kStep = 20;     // pixels between runs and between the ten-percent ticks

// 210 - 200 * part / total, truncated towards zero, in exact integer arithmetic.
int CurveY(qint64 part, qint64 total)
{
    return static_cast<int>((kBottom * total - (kBottom - kTop) * part) / total);
}

struct Curve {
    QColor colour;
    std::optional<QPoint> previous;

    void add(QPainter& painter, QPoint point)
    {
        DrawMarker(painter, point.x(), point.y(), colour);
        if (previous) {
            painter.setPen(colour);
            painter.drawLine(*previous, point);
        }
        previous = point;
    }
};

void DrawText(QPainter& painter, int left, int top, const QString& text)
{
    painter.drawText(QPoint(left, top + painter.fontMetrics().ascent()), text);
}

// A number field: its digits between blanks; nothing when it holds anything else.
std::optional<int> StatisticsNumber(const QString& field)
{
    const QString digits = TrimBlanks(field);
    if (digits.isEmpty())
        return std::nullopt;
    for (QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    bool ok = false;
    const int value = digits.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

void Paint(QPainter& painter, QSize size, const QList<StatisticsRecord>& records, int first,
           int last, const QRect& area)
{
    const int m = static_cast<int>(records.size());
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int w = size.width();
    const int h = size.height();
    painter.fillRect(area, Qt::white);
    // Lines along the axes as one-pixel rectangles: exact in any piece of the chart.
    const auto line = [&painter](int x, int y, int width, int height) {
        painter.fillRect(x, y, width, height, Qt::black);
    };
    line(0, 0, w, 1);
    line(0, h - 1, w, 1);
    line(0, 0, 1, h);
    line(w - 1, 0, 1, h);
    painter.setPen(Qt::black);

    // The labels sit on a grid of 20 pixels: their size is the picture's, not the desktop's.
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    line(kLeft, kTop, 1, kBottom - kTop + 1);
    for (int k = 0; k <= 10; ++k) {
        const int y = kTop + kStep * k;
        line(kLeft - 5, y, 11, 1);
        const QString label = QString::number(100 - 10 * k) + QStringLiteral(" %");
        DrawText(painter, 40 - metrics.horizontalAdvance(label), 3 + kStep * k, label);
    }

    if (m > 0) {
        line(kLeft, kBottom, kStep * (m - 1) + 1, 1);
        for (int k = first; k <= last; ++k) {
            const int x = kLeft + kStep * k;
            line(x, kBottom - 5, 1, 11);
            const QString label = QString::number(k + 1);
            DrawText(painter, x - metrics.horizontalAdvance(label) / 2, 220, label);
        }
    }

    Curve known{kKnownColour, std::nullopt};
    Curve knownOrDeleted{kKnownOrDeletedColour, std::nullopt};
    for (int j = first; j <= last; ++j) {
        const StatisticsRecord& record = records.at(j);
        const auto total = StatisticsNumber(record.total);
        const auto right = StatisticsNumber(record.known);
        const auto deleted = StatisticsNumber(record.deleted);
        if (!total || *total == 0 || !right || !deleted) {
            // Nothing to draw here; a line across the gap would invent a value.
            known.previous.reset();
            knownOrDeleted.previous.reset();
            continue;
        }
        const int x = kLeft + kStep * j;
        known.add(painter, QPoint(x, CurveY(*right, *total)));
        knownOrDeleted.add(painter, QPoint(x, CurveY(qint64(*right) + *deleted, *total)));
    }
}

}  // namespace

int ChartWidthFor(int runs)
{
    return runs * kStep + kLeft;
}

void DrawMarker(QPainter& painter, int x, int y, const QColor& colour)
{
    const QPoint points[] = {{x, y},     {x, y - 1}, {x, y - 2}, {x, y + 1}, {x, y + 2},
                             {x - 1, y}, {x - 2, y}, {x + 1, y}, {x + 2, y}};
    painter.setPen(colour);
    painter.drawPoints(points, 9);
}

void DrawStatisticsChart(QImage& image, const QList<StatisticsRecord>& records)
{
    const int m = static_cast<int>(records.size());
    const int wanted = ChartWidthFor(m);
    const QSize size = image.isNull() ? QSize(kChartWidth, kChartHeight) : image.size();
    if (image.isNull() || wanted > size.width()) {
        QImage wider(std::max(wanted, size.width()), size.height(), QImage::Format_RGB32);
        // Too large to allocate: keep the old picture rather than paint into nothing.
        if (wider.isNull())
            return;
        image = wider;
    }

    QPainter painter(&image);
    Paint(painter, image.size(), records, 0, m - 1, image.rect());
}

QImage StatisticsChartPiece(QSize size, const QList<StatisticsRecord>& records, const QRect& part)
{
    // The runs whose ticks, labels, markers or lines reach into the piece: a label is a few
    // digits wide, well within three runs.
    const int m = static_cast<int>(records.size());
    const int first = std::max(0, (part.left() - kLeft) / kStep - 3);
    const int last = std::min(m - 1, (part.right() - kLeft) / kStep + 3);
    // A sloped line comes out pixel for pixel as in the whole chart only when nothing cuts
    // it: drawn here at full height and with every line of those runs whole.
    QRect drawn(part.left(), 0, part.width(), size.height());
    if (first <= last)
        drawn |= QRect(kLeft + kStep * first - 40, 0, kStep * (last - first) + 81, size.height());
    QImage piece(drawn.size(), QImage::Format_RGB32);
    if (piece.isNull())
        return piece;
    QPainter painter(&piece);
    painter.translate(-drawn.topLeft());
    Paint(painter, size, records, first, last, drawn);
    painter.end();
    return piece.copy(part.translated(-drawn.topLeft()));
}
