#pragma once

#include "learn/StatisticsFile.h"

#include <QColor>
#include <QImage>
#include <QList>

class QPainter;

// The chart of the statistics window: two success curves over the runs of one lesson (or
// of the random runs), 100 % at y = 10 and 0 % at y = 210.

// The colour of the share known at the first asking, and of the share known or dropped.
inline const QColor kKnownColour = QColor(0, 0, 255);
inline const QColor kKnownOrDeletedColour = QColor(0, 255, 0);

inline constexpr int kChartWidth = 550;
inline constexpr int kChartHeight = 236;

// The width the chart needs for m runs: 20 pixels per run after the 50-pixel margin.
int ChartWidthFor(int runs);

// Draws the chart of these records (all of them, in order) into image. The image widens to
// ChartWidthFor(m) when that is at least its width and never shrinks; its height stays.
// A record whose total, known or deleted field holds no number, or whose total is 0, keeps
// its place on the horizontal axis but draws no marker, and neither curve's line crosses
// it: the curves resume at the next record that can be drawn.
void DrawStatisticsChart(QImage& image, const QList<StatisticsRecord>& records);

// The pixels within part (chart coordinates) of the chart of these records at the given
// size, exactly as DrawStatisticsChart draws them: only the runs near the piece are drawn,
// so a chart of many runs can be shown piece by piece.
QImage StatisticsChartPiece(QSize size, const QList<StatisticsRecord>& records, const QRect& part);

// A plus sign five pixels wide and high centred on (x, y).
void DrawMarker(QPainter& painter, int x, int y, const QColor& colour);
