// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "face.h"

namespace report {
namespace {

const QColor kTimeColour{0, 90, 200};
const QColor kWrongColour{220, 60, 40};
const QColor kGridLine{200, 200, 200};
const QColor kHeaderBack{230, 234, 240};
const QColor kNeverAsked{225, 225, 225};

// A font of the painter's family list at a height in the painter's own units.
QFont fontOfHeight(const QPainter& painter, qreal height, bool bold = false) {
    QFont font = painter.font();
    font.setFamilies(ui::faceFamilies());
    font.setPixelSize(std::max(1, static_cast<int>(std::floor(height))));
    font.setBold(bold);
    return font;
}

// A scale's top: 1, 2 or 5 times a power of ten, at or above the value (at least `least`).
double niceCeiling(double value, double least) {
    value = std::max(value, least);
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (const double step : {1.0, 2.0, 5.0, 10.0}) {
        if (step * power >= value)
            return step * power;
    }
    return 10 * power;
}

QString numberText(double value) {
    return QString::number(value, 'g', 6);
}

// A drill ended early: a hollow point beside the line, and a hatched bar.
void drawUnfinishedPoint(QPainter& painter, const QPointF& point, qreal unit) {
    painter.setPen(QPen(kTimeColour, unit * 0.3));
    painter.setBrush(Qt::white);
    painter.drawEllipse(point, unit * 0.9, unit * 0.9);
}

void fillUnfinishedBar(QPainter& painter, const QRectF& bar) {
    painter.fillRect(bar, Qt::white);
    painter.fillRect(bar, QBrush(kWrongColour, Qt::BDiagPattern));
    painter.setPen(QPen(kWrongColour, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar);
}

void drawLegend(QPainter& painter, const QRectF& line, qreal unit, bool anyUnfinished) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    qreal x = line.left();
    const qreal middle = line.center().y();
    const auto text = [&](const QString& words) {
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x, line.top(), line.width(), line.height()), Qt::AlignVCenter,
                         words);
        x += metrics.horizontalAdvance(words) + unit * 2;
    };
    painter.setPen(QPen(kTimeColour, unit * 0.4));
    painter.drawLine(QPointF(x, middle), QPointF(x + unit * 3, middle));
    x += unit * 4;
    text(QStringLiteral("1問あたりの時間（秒・左の目盛り）"));
    painter.fillRect(QRectF(x, middle - unit, unit * 2, unit * 2), kWrongColour);
    x += unit * 3;
    text(QStringLiteral("誤答（回・右の目盛り）"));
    if (anyUnfinished) {
        drawUnfinishedPoint(painter, QPointF(x + unit, middle), unit);
        x += unit * 3;
        text(QStringLiteral("%1（線に入れない）").arg(QString::fromUtf16(kUnfinishedMark)));
    }
}

// The parts of a column's header between which it may break: after "：" and before "（", so
// that a word such as 「正答」 is never cut in two.
QStringList headerParts(const QString& header) {
    QStringList parts;
    QString part;
    for (const QChar c : header) {
        if (c == u'（' && !part.isEmpty()) {
            parts << part;
            part.clear();
        }
        part += c;
        if (c == u'：') {
            parts << part;
            part.clear();
        }
    }
    if (!part.isEmpty())
        parts << part;
    return parts;
}

// The parts joined into as few lines as fit the width; empty when one part alone is wider.
QStringList headerLines(const QStringList& parts, const QFontMetricsF& metrics, qreal width) {
    QStringList lines;
    for (const QString& part : parts) {
        if (metrics.horizontalAdvance(part) > width)
            return {};
        if (!lines.isEmpty() && metrics.horizontalAdvance(lines.back() + part) <= width)
            lines.back() += part;
        else
            lines << part;
    }
    return lines;
}

// A header in its cell: whole parts on each line, in a smaller font when they don't fit.
void drawHeader(QPainter& painter, const QRectF& cell, const QString& header, qreal fontHeight) {
    const QStringList parts = headerParts(header);
    QStringList lines;
    for (qreal scale = 1; scale > 0.45; scale -= 0.05) {
        painter.setFont(fontOfHeight(painter, fontHeight * scale, true));
        const QFontMetricsF metrics(painter.font(), painter.device());
        lines = headerLines(parts, metrics, cell.width());
        if (!lines.isEmpty() && lines.size() * metrics.lineSpacing() <= cell.height())
            break;
    }
    if (lines.isEmpty())
        lines = parts;
    const QFontMetricsF metrics(painter.font(), painter.device());
    const qreal top = cell.center().y() - lines.size() * metrics.lineSpacing() / 2;
    for (qsizetype k = 0; k < lines.size(); ++k) {
        painter.drawText(QRectF(cell.left(), top + k * metrics.lineSpacing(), cell.width(),
                                metrics.lineSpacing()),
                         Qt::AlignCenter, lines[k]);
    }
}

// A cell's text in its cell: in a smaller font when too wide, and shortened only below
// three quarters of the size.
void drawCellText(QPainter& painter, const QRectF& cell, const QString& text, qreal fontHeight,
                  Qt::Alignment align, Qt::TextElideMode elide) {
    QFont font = fontOfHeight(painter, fontHeight);
    QFontMetricsF metrics(font, painter.device());
    const qreal width = metrics.horizontalAdvance(text);
    if (width > cell.width()) {
        const qreal scale = std::max(0.75, cell.width() / width);
        font = fontOfHeight(painter, fontHeight * scale);
        metrics = QFontMetricsF(font, painter.device());
    }
    painter.setFont(font);
    painter.drawText(cell, align, metrics.elidedText(text, elide, cell.width()));
}

}  // namespace

QFont reportFont(qreal pointSize, bool bold) {
    QFont font(ui::faceFamilies().front());
    font.setFamilies(ui::faceFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void drawDrillChart(QPainter& painter, const QRectF& rect,
                    const std::vector<DrillFigures>& drills) {
    painter.save();
    const QFontMetricsF metrics(painter.font(), painter.device());
    const qreal unit = metrics.height() / 4;
    painter.setPen(Qt::black);
    if (drills.empty()) {
        painter.drawText(rect, Qt::AlignCenter, QStringLiteral("記録がありません"));
        painter.restore();
        return;
    }

    double mostSeconds = 0;
    int mostWrong = 0;
    bool anyUnfinished = false;
    for (const DrillFigures& drill : drills) {
        mostSeconds = std::max(mostSeconds, drill.secondsPerProblem());
        mostWrong = std::max(mostWrong, drill.wrongAnswers);
        anyUnfinished = anyUnfinished || !drill.finished();
    }
    const double secondsTop = niceCeiling(mostSeconds, 5);
    const double wrongTop = niceCeiling(mostWrong, 5);

    const QRectF legend(rect.left(), rect.top(), rect.width(), metrics.height() * 1.2);
    drawLegend(painter, legend, unit, anyUnfinished);
    const qreal leftScale = metrics.horizontalAdvance(numberText(secondsTop)) + unit * 2;
    const qreal rightScale = metrics.horizontalAdvance(numberText(wrongTop)) + unit * 2;
    const QRectF plot(rect.left() + leftScale, legend.bottom() + unit * 2,
                      rect.width() - leftScale - rightScale,
                      rect.height() - legend.height() - unit * 2 - metrics.height() * 1.6);
    if (plot.width() <= 0 || plot.height() <= 0) {
        painter.restore();
        return;
    }

    // Scales: five steps, the time on the left and the wrong answers on the right.
    constexpr int kSteps = 5;
    for (int k = 0; k <= kSteps; ++k) {
        const qreal y = plot.bottom() - plot.height() * k / kSteps;
        painter.setPen(QPen(kGridLine, 0));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(kTimeColour);
        painter.drawText(
            QRectF(rect.left(), y - metrics.height() / 2, leftScale - unit, metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter, numberText(secondsTop * k / kSteps));
        painter.setPen(kWrongColour);
        painter.drawText(
            QRectF(plot.right() + unit, y - metrics.height() / 2, rightScale, metrics.height()),
            Qt::AlignLeft | Qt::AlignVCenter, numberText(wrongTop * k / kSteps));
    }

    const auto count = static_cast<qreal>(drills.size());
    const qreal step = plot.width() / count;
    const auto xOf = [&](std::size_t k) {
        return plot.left() + step * (static_cast<qreal>(k) + 0.5);
    };

    // Wrong answers as bars.
    const qreal barWidth = std::max<qreal>(1, std::min(step * 0.5, unit * 6));
    for (std::size_t k = 0; k < drills.size(); ++k) {
        const qreal height = plot.height() * drills[k].wrongAnswers / wrongTop;
        if (height <= 0)
            continue;
        const QRectF bar(xOf(k) - barWidth / 2, plot.bottom() - height, barWidth, height);
        if (drills[k].finished())
            painter.fillRect(bar, kWrongColour);
        else
            fillUnfinishedBar(painter, bar);
    }

    // The time per problem of the finished drills as a line with a point per drill (points
    // only while they stay apart); a drill ended early is a hollow point off the line.
    const auto pointOf = [&](std::size_t k) {
        return QPointF(xOf(k),
                       plot.bottom() - plot.height() * drills[k].secondsPerProblem() / secondsTop);
    };
    QPainterPath line;
    for (std::size_t k = 0; k < drills.size(); ++k) {
        if (!drills[k].finished())
            continue;
        line.elementCount() == 0 ? line.moveTo(pointOf(k)) : line.lineTo(pointOf(k));
    }
    painter.setPen(QPen(kTimeColour, unit * 0.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(line);
    if (step > unit * 3) {
        painter.setBrush(kTimeColour);
        for (int k = 0; k < line.elementCount(); ++k)
            painter.drawEllipse(QPointF(line.elementAt(k)), unit * 0.6, unit * 0.6);
    }
    for (std::size_t k = 0; k < drills.size(); ++k) {
        if (!drills[k].finished() && drills[k].solved > 0)
            drawUnfinishedPoint(painter, pointOf(k), unit);
    }

    // Dates under the axis, as many as fit side by side; the first and the last always.
    painter.setPen(QPen(Qt::black, 0));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    const qreal labelWidth = metrics.horizontalAdvance(QStringLiteral("88/88")) + unit * 2;
    const std::size_t every =
        std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(labelWidth / step)));
    for (std::size_t k = 0; k < drills.size(); ++k) {
        const bool last = k + 1 == drills.size();
        if (k % every != 0 && !last)
            continue;
        if (last && k % every != 0 && (k % every) * step < labelWidth)
            continue;  // too near the label before it
        painter.drawText(
            QRectF(xOf(k) - labelWidth / 2, plot.bottom() + unit, labelWidth, metrics.height()),
            Qt::AlignHCenter | Qt::AlignTop, drills[k].ended.toString(QStringLiteral("MM/dd")));
    }
    painter.restore();
}

QColor meanTimeColour(const DivisorCell& cell, double quickestMean, double slowestMean) {
    if (cell.asked == 0)
        return kNeverAsked;
    const double spread = slowestMean - quickestMean;
    const double share = spread < slowestMean / 10
                             ? 0
                             : std::clamp((cell.meanSeconds - quickestMean) / spread, 0.0, 1.0);
    // Hue 120 (green) for the quickest, down to 0 (red) for the slowest.
    return QColor::fromHsvF(static_cast<float>((1 - share) * 120 / 360), 0.5f, 1.0f);
}

std::array<DivisorStanding, 9> divisorStandings(const std::array<DivisorCell, 9>& cells) {
    double slowest = 0;
    double quickest = 0;
    bool any = false;
    for (const DivisorCell& cell : cells) {
        if (cell.asked == 0)
            continue;
        quickest = any ? std::min(quickest, cell.meanSeconds) : cell.meanSeconds;
        slowest = any ? std::max(slowest, cell.meanSeconds) : cell.meanSeconds;
        any = true;
    }
    // The means lie apart, so that one can be quick and another slow.
    const bool apart = any && slowest - quickest >= slowest / 10;
    std::array<DivisorStanding, 9> standings{};
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const DivisorCell& cell = cells[k];
        DivisorStanding& standing = standings[k];
        standing.colour = meanTimeColour(cell, quickest, slowest);
        if (cell.asked == 0)
            continue;
        standing.rank = 1 + static_cast<int>(std::count_if(
                                cells.begin(), cells.end(), [&](const DivisorCell& other) {
                                    return other.asked > 0 && other.meanSeconds < cell.meanSeconds;
                                }));
        if (apart) {
            const double share = (cell.meanSeconds - quickest) / (slowest - quickest);
            standing.quick = share <= 1.0 / 3;
            standing.slow = share >= 2.0 / 3;
        }
    }
    return standings;
}

QString divisorMark(const DivisorStanding& standing) {
    if (standing.quick)
        return QStringLiteral("◎はやい");
    if (standing.slow)
        return QStringLiteral("▲おそい");
    return {};
}

void drawDivisorTile(QPainter& painter, const QRectF& box, const DivisorCell& cell,
                     const DivisorStanding& standing) {
    painter.save();
    const qreal lineHeight = std::min(box.height() / 6, box.width() / 5.5);
    painter.fillRect(box, standing.colour);
    painter.setPen(QPen(Qt::white, std::max<qreal>(lineHeight / 8, 1)));
    painter.drawRect(box);
    painter.setPen(Qt::black);

    // The mark in the top left corner (only its sign when the word doesn't fit), the rank in
    // the top right: what the colour says, readable in grey.
    const qreal margin = lineHeight * 0.3;
    const QRectF corner(box.left() + margin, box.top() + margin * 0.5, box.width() - 2 * margin,
                        lineHeight);
    painter.setFont(fontOfHeight(painter, lineHeight * 0.75, true));
    const QFontMetricsF cornerMetrics(painter.font(), painter.device());
    const QString rank = standing.rank > 0 ? QStringLiteral("%1位").arg(standing.rank) : QString();
    QString mark = divisorMark(standing);
    if (cornerMetrics.horizontalAdvance(mark + rank) + lineHeight / 2 > corner.width())
        mark = mark.left(1);
    painter.drawText(corner, Qt::AlignLeft | Qt::AlignVCenter, mark);
    painter.drawText(corner, Qt::AlignRight | Qt::AlignVCenter, rank);

    const qreal top = corner.bottom();
    const QRectF inner(box.left(), top + (box.bottom() - top - lineHeight * 4.4) / 2, box.width(),
                       lineHeight * 4.4);
    painter.setFont(fontOfHeight(painter, lineHeight * 1.3, true));
    painter.drawText(QRectF(inner.left(), inner.top(), inner.width(), lineHeight * 1.5),
                     Qt::AlignCenter, QStringLiteral("÷%1").arg(cell.divisor));
    painter.setFont(fontOfHeight(painter, lineHeight * 0.8));
    const QStringList lines =
        cell.asked == 0
            ? QStringList{QStringLiteral("0 回")}
            : QStringList{QStringLiteral("平均 %1 秒").arg(secondsText(cell.meanSeconds)),
                          QStringLiteral("%1 回").arg(cell.asked),
                          QStringLiteral("誤答 %1").arg(cell.wrongTries)};
    for (int line = 0; line < lines.size(); ++line) {
        painter.drawText(QRectF(inner.left(), inner.top() + lineHeight * (1.6 + line * 0.95),
                                inner.width(), lineHeight),
                         Qt::AlignCenter, lines[line]);
    }
    painter.restore();
}

void drawDivisorGrid(QPainter& painter, const QRectF& rect,
                     const std::array<DivisorCell, 9>& cells) {
    const bool inARow = rect.width() >= rect.height() * 3;
    const int columns = inARow ? 9 : 3;
    const int rows = inARow ? 1 : 3;
    const qreal width = rect.width() / columns;
    const qreal height = rect.height() / rows;
    const std::array<DivisorStanding, 9> standings = divisorStandings(cells);
    for (int k = 0; k < 9; ++k) {
        const QRectF box(rect.left() + width * (k % columns), rect.top() + height * (k / columns),
                         width, height);
        drawDivisorTile(painter, box, cells[static_cast<std::size_t>(k)],
                        standings[static_cast<std::size_t>(k)]);
    }
}

qreal tableHeight(std::size_t rows, qreal rowHeight) {
    return rowHeight * (1.6 + static_cast<qreal>(rows));
}

std::size_t drawTable(QPainter& painter, const QRectF& rect, const TableText& table,
                      std::size_t firstRow, qreal rowHeight) {
    painter.save();
    qreal totalWidth = 0;
    for (const qreal width : table.widths)
        totalWidth += width;
    std::vector<qreal> lefts;
    qreal x = rect.left();
    for (const qreal width : table.widths) {
        lefts.push_back(x);
        x += rect.width() * width / totalWidth;
    }
    lefts.push_back(rect.right());
    const qreal padding = rowHeight * 0.2;

    // The header takes two lines of a smaller font, so that long headers wrap, not cut.
    const qreal headerHeight = tableHeight(0, rowHeight);
    const auto drawRow = [&](const QStringList& texts, qreal top, bool header) {
        const qreal height = header ? headerHeight : rowHeight;
        for (qsizetype column = 0; column < texts.size() && column + 1 < qsizetype(lefts.size());
             ++column) {
            const QRectF cell(lefts[column] + padding, top,
                              lefts[column + 1] - lefts[column] - 2 * padding, height);
            const auto k = static_cast<std::size_t>(column);
            if (header) {
                drawHeader(painter, cell, texts[column], rowHeight * 0.4);
            } else {
                drawCellText(painter, cell, texts[column], rowHeight * 0.48, table.aligns[k],
                             k < table.elideModes.size() ? table.elideModes[k] : Qt::ElideRight);
            }
        }
        painter.setPen(QPen(kGridLine, 0));
        painter.drawLine(QPointF(rect.left(), top + height), QPointF(rect.right(), top + height));
        painter.setPen(Qt::black);
    };

    painter.fillRect(QRectF(rect.left(), rect.top(), rect.width(), headerHeight), kHeaderBack);
    painter.setPen(Qt::black);
    // The sort arrow, as the window's header shows it.
    QStringList headers = table.headers;
    if (table.sortColumn >= 0 && table.sortColumn < headers.size())
        headers[table.sortColumn] +=
            table.sortOrder == Qt::DescendingOrder ? QStringLiteral("▼") : QStringLiteral("▲");
    drawRow(headers, rect.top(), true);
    std::size_t row = firstRow;
    qreal top = rect.top() + headerHeight;
    while (row < table.rows.size() && top + rowHeight <= rect.bottom() + 0.01) {
        drawRow(table.rows[row], top, false);
        top += rowHeight;
        ++row;
    }
    painter.restore();
    return row;
}

}  // namespace report
