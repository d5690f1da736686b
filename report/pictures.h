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

// The chart over time: one point per drill, the total time as a line against the left scale
// and the wrong answers as bars against the right scale; the drills' dates below.
void drawDrillChart(QPainter& painter, const QRectF& rect, const std::vector<DrillFigures>& drills);

// The colour of a divisor's mean time between the learner's quickest and slowest divisor:
// green for the quickest, through yellow, to red for the slowest; all green when the means
// lie within a tenth of the slowest. Grey for a divisor never asked.
QColor meanTimeColour(const DivisorCell& cell, double quickestMean, double slowestMean);

// Nine cells, one per divisor, in a row of nine (wide rectangles) or a square of 3 × 3,
// coloured by mean time, each with "÷ 6", the mean time, how often asked and the wrong tries.
void drawDivisorGrid(QPainter& painter, const QRectF& rect,
                     const std::array<DivisorCell, 9>& cells);

// Draws a table with its header row; columns share the width in proportion to their widths.
// Draws rows from `firstRow` on, as many as fit under the header (1.6 rows high), each
// `rowHeight` high; gives the index of the first row not drawn (rows.size() when all were
// drawn). The table's height is tableHeight(drawn rows, rowHeight).
std::size_t drawTable(QPainter& painter, const QRectF& rect, const TableText& table,
                      std::size_t firstRow, qreal rowHeight);
qreal tableHeight(std::size_t rows, qreal rowHeight);

}  // namespace report
