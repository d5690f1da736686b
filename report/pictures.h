// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The pictures of the teacher's program, drawn with a plain QPainter into a given rectangle,
// so that one drawing serves the windows, the printer and the PDF. Sizes inside follow the
// rectangle and the painter's font, never the device.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "figures.h"
#include "tables.h"

namespace report {

// The drill's Japanese face list, at a size in points.
QFont reportFont(qreal pointSize, bool bold = false);

// The chart over time: one point per drill, the time per problem of the finished drills as a
// line against the left scale and the wrong answers as bars against the right scale; a drill
// ended early is a hollow point off the line over a hatched bar. The drills' dates below.
void drawDrillChart(QPainter& painter, const QRectF& rect, const std::vector<DrillFigures>& drills);

// The colour of a divisor's mean time between the learner's quickest and slowest divisor:
// green for the quickest, through yellow, to red for the slowest; all green when the means
// lie within a tenth of the slowest. Grey for a divisor never asked.
QColor meanTimeColour(const DivisorCell& cell, double quickestMean, double slowestMean);

// Where a divisor stands among the learner's divisors by mean time: the tile's colour, and
// the marks that say the same when printed in grey.
struct DivisorStanding {
    int rank = 0;        // 1 for the quickest mean (equal means share a rank); 0 never asked
    bool quick = false;  // the green third, marked "◎はやい", when the means lie apart
    bool slow = false;   // the red third, marked "▲おそい", when the means lie apart
    QColor colour;       // meanTimeColour
};

std::array<DivisorStanding, 9> divisorStandings(const std::array<DivisorCell, 9>& cells);

// "◎はやい", "▲おそい", or nothing.
QString divisorMark(const DivisorStanding& standing);

// One divisor's tile in the box: its colour, the mark top left and the rank ("3位") top
// right, then "÷6", the mean time, how often asked and the wrong tries.
void drawDivisorTile(QPainter& painter, const QRectF& box, const DivisorCell& cell,
                     const DivisorStanding& standing);

// Nine tiles, one per divisor, in a row of nine (wide rectangles) or a square of 3 × 3.
void drawDivisorGrid(QPainter& painter, const QRectF& rect,
                     const std::array<DivisorCell, 9>& cells);

// Draws a table with its header row; columns share the width in proportion to their widths.
// A header breaks only after "：" or before "（", in a smaller font when it must; the sorted
// column's header has the sort arrow. A cell's text too wide is set smaller, then shortened.
// Draws rows from `firstRow` on, as many as fit under the header (1.6 rows high), each
// `rowHeight` high; gives the index of the first row not drawn (rows.size() when all were
// drawn). The table's height is tableHeight(drawn rows, rowHeight).
std::size_t drawTable(QPainter& painter, const QRectF& rect, const TableText& table,
                      std::size_t firstRow, qreal rowHeight);
qreal tableHeight(std::size_t rows, qreal rowHeight);

}  // namespace report
