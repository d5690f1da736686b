// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "meeting_pages.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "figures.h"
#include "meeting_figures.h"
#include "pages.h"
#include "pictures.h"
#include "tables.h"

namespace report {
namespace {

// Sizes on paper, in millimetres.
constexpr qreal kGap = 5;
constexpr qreal kPadding = 3;
constexpr qreal kGridHeight = 28;
constexpr qreal kRowHeight = 6.5;
constexpr qreal kCommentLineSpacing = 9;
constexpr int kHardestShown = 5;
// No text is drawn smaller than this to make it fit; it is elided instead.
constexpr qreal kLeastPointSize = 7;

const QColor kSoftText{80, 80, 80};
const QColor kRule{110, 110, 110};
const QColor kCommentLine{170, 170, 170};

qreal millimetre(const QPaintDevice& device) {
    return device.logicalDpiY() / 25.4;
}

qreal lineHeight(const QPainter& painter, const QFont& font) {
    return QFontMetricsF(font, painter.device()).height();
}

// One line of text in the rectangle: in a smaller font when too wide, down to the least size,
// and elided beyond that; never cut off.
void drawFitted(QPainter& painter, const QRectF& rect, QFont font, const QString& text,
                Qt::Alignment align = Qt::AlignLeft, qreal leastPointSize = kLeastPointSize) {
    QFontMetricsF metrics(font, painter.device());
    while (metrics.horizontalAdvance(text) > rect.width() && font.pointSizeF() > leastPointSize) {
        font.setPointSizeF(std::max(leastPointSize, font.pointSizeF() * 0.9));
        metrics = QFontMetricsF(font, painter.device());
    }
    painter.setFont(font);
    painter.drawText(rect, align | Qt::AlignVCenter,
                     metrics.elidedText(text, Qt::ElideRight, rect.width()));
}

// A fitted line at the top of the area; takes its height and the gap after it off the area.
void drawLine(QPainter& painter, QRectF& area, const QFont& font, const QString& text,
              qreal gapAfter, qreal leastPointSize = kLeastPointSize) {
    const qreal height = lineHeight(painter, font);
    drawFitted(painter, QRectF(area.left(), area.top(), area.width(), height), font, text,
               Qt::AlignLeft, leastPointSize);
    area.setTop(area.top() + height + gapAfter);
}

// Text that wraps over as many lines as it needs at the top of the area.
void drawWrapped(QPainter& painter, QRectF& area, const QFont& font, const QString& text,
                 qreal gapAfter) {
    painter.setFont(font);
    const QRectF needed = painter.boundingRect(QRectF(area.left(), area.top(), area.width(), 0),
                                               Qt::AlignLeft | Qt::TextWordWrap, text);
    painter.drawText(needed, Qt::AlignLeft | Qt::TextWordWrap, text);
    area.setTop(needed.bottom() + gapAfter);
}

void drawHeading(QPainter& painter, QRectF& area, const QString& text, qreal mm) {
    const QFont font = reportFont(12, true);
    const qreal height = lineHeight(painter, font);
    painter.setPen(Qt::black);
    drawFitted(painter, QRectF(area.left(), area.top(), area.width(), height), font, text);
    painter.setPen(QPen(kRule, mm * 0.3));
    painter.drawLine(QPointF(area.left(), area.top() + height + mm * 0.5),
                     QPointF(area.right(), area.top() + height + mm * 0.5));
    painter.setPen(Qt::black);
    area.setTop(area.top() + height + mm * 2.5);
}

QString childTitle(const MeetingChild& child) {
    QString title = child.number.isEmpty() ? QString() : child.number + QStringLiteral("番　");
    if (!child.name.isEmpty())
        return title + child.name + QStringLiteral("　さん");
    return title + QStringLiteral("ID ") + child.learner->id;
}

QString longDate(const QDate& day) {
    return day.toString(QStringLiteral("yyyy年M月d日"));
}

// The period's name and dates; for all the drills, the days of the child's first and latest.
QString periodText(const Period& period, const FirstAndLatestWeeks& weeks) {
    if (!period.all())
        return period.label;
    if (!weeks.firstDay.isValid())
        return QStringLiteral("記録のあるすべての日");
    return QStringLiteral("記録のあるすべての日（%1〜%2）")
        .arg(longDate(weeks.firstDay), longDate(weeks.lastDay));
}

QString summaryText(const FirstAndLatestWeeks& weeks) {
    if (weeks.drills == 0)
        return QStringLiteral("この期間のドリルの記録はありません。");
    QString text =
        QStringLiteral("ドリル %1 回（20 問までやった %2 回").arg(weeks.drills).arg(weeks.finished);
    if (weeks.drills > weeks.finished)
        text += QStringLiteral("、途中で終了 %1 回").arg(weeks.drills - weeks.finished);
    return text + QStringLiteral("）　練習した日 %1 日　最後の練習 %2")
                      .arg(weeks.daysPractised)
                      .arg(longDate(weeks.lastDay));
}

// The first weeks against the latest in a framed box: the figures large when there are any.
void drawComparison(QPainter& painter, QRectF& area, const FirstAndLatestWeeks& weeks, qreal mm) {
    const QStringList lines = firstAndLatestWeeksText(weeks);
    const QFont small = reportFont(10);
    const QFont large = reportFont(15, true);
    QRectF inside = area.adjusted(mm * kPadding, mm * kPadding, -mm * kPadding, 0);
    const qreal top = area.top();
    if (weeks.comparable()) {
        drawLine(painter, inside, small, lines.front(), mm * 1.5);
        for (qsizetype k = 1; k < lines.size(); ++k)
            drawLine(painter, inside, large, QStringLiteral("　") + lines[k], mm * 1);
    } else {
        drawWrapped(painter, inside, small, lines.join(u'\n'), 0);
    }
    const qreal bottom = inside.top() + mm * kPadding;
    painter.setPen(QPen(kRule, mm * 0.25));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(area.left(), top, area.width(), bottom - top));
    painter.setPen(Qt::black);
    area.setTop(bottom + mm * kGap);
}

TableText hardestTable(const std::vector<ProblemFigures>& problems) {
    TableText table;
    table.headers = {QStringLiteral("問題"), QStringLiteral("こたえ"), QStringLiteral("出た回数"),
                     QStringLiteral("誤答"), QStringLiteral("平均時間（秒）")};
    table.widths = {2, 3, 2, 2, 2.5};
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const Qt::Alignment centre = Qt::AlignCenter;
    table.aligns = {left, left, centre, centre, centre};
    table.numeric = {false, false, true, true, true};
    table.sortColumn = 3;  // 誤答, most first
    table.sortOrder = Qt::DescendingOrder;
    for (std::size_t k = 0; k < problems.size() && k < std::size_t(kHardestShown); ++k) {
        const ProblemFigures& problem = problems[k];
        const int quotient = problem.dividend / problem.divisor;
        const int remainder = problem.dividend % problem.divisor;
        table.rows.push_back({QStringLiteral("%1 ÷ %2").arg(problem.dividend).arg(problem.divisor),
                              remainder == 0
                                  ? QString::number(quotient)
                                  : QStringLiteral("%1 あまり %2").arg(quotient).arg(remainder),
                              QString::number(problem.met), QString::number(problem.wrongTries),
                              secondsText(problem.meanSeconds)});
    }
    return table;
}

// An empty framed box with ruled lines, for the teacher to write in.
void drawCommentBox(QPainter& painter, const QRectF& box, qreal mm) {
    painter.setPen(QPen(kCommentLine, mm * 0.2, Qt::DotLine));
    for (qreal y = box.top() + mm * kCommentLineSpacing; y < box.bottom() - mm * 3;
         y += mm * kCommentLineSpacing)
        painter.drawLine(QPointF(box.left() + mm * kPadding, y),
                         QPointF(box.right() - mm * kPadding, y));
    painter.setPen(QPen(kRule, mm * 0.3));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    painter.setPen(Qt::black);
}

bool paintSheet(QPainter& painter, QPagedPaintDevice& device, const MeetingChild& child,
                const Period& period) {
    const qreal mm = millimetre(device);
    QRectF area(0, 0, device.width(), device.height());
    const records::Learner& learner = *child.learner;
    const FirstAndLatestWeeks weeks = firstAndLatestWeeks(learner);

    // The foot first, so that the comment box knows where to end.
    const QFont footFont = reportFont(8);
    const qreal footHeight = lineHeight(painter, footFont);
    painter.setPen(kSoftText);
    drawFitted(painter, QRectF(area.left(), area.bottom() - footHeight, area.width(), footHeight),
               footFont,
               QStringLiteral("くらべる数字は 20 問までやったドリルだけから、わる数と問題は正しく"
                              "答えた問題から数えています。ポルネア（わり算ドリル）の記録より。"));
    area.setBottom(area.bottom() - footHeight - mm * 2);

    const QFont headFont = reportFont(9);
    const qreal headHeight = lineHeight(painter, headFont);
    const QString printed = QStringLiteral("印刷 %1").arg(longDate(QDate::currentDate()));
    const qreal printedWidth =
        QFontMetricsF(headFont, painter.device()).horizontalAdvance(printed) + mm;
    drawFitted(painter, QRectF(area.right() - printedWidth, area.top(), printedWidth, headHeight),
               headFont, printed, Qt::AlignRight);
    drawFitted(painter,
               QRectF(area.left(), area.top(), area.width() - printedWidth - mm * 4, headHeight),
               headFont, QStringLiteral("わり算ドリル　面談用の記録"));
    area.setTop(area.top() + headHeight + mm * 2);

    painter.setPen(Qt::black);
    // A long name shrinks a little, and is elided beyond that.
    drawLine(painter, area, reportFont(20, true), childTitle(child), mm * 1.5, 12);
    drawLine(painter, area, reportFont(11), QStringLiteral("期間: ") + periodText(period, weeks),
             mm * 1);
    drawLine(painter, area, reportFont(10), summaryText(weeks), mm * kGap);

    drawHeading(painter, area, QStringLiteral("はじめのころと最近"), mm);
    drawComparison(painter, area, weeks, mm);

    drawHeading(painter, area, QStringLiteral("わる数ごと（÷1〜÷9）の 1 問の平均時間"), mm);
    painter.setPen(kSoftText);
    drawLine(painter, area, reportFont(9),
             QStringLiteral("緑と◎ははやい、赤と▲はおそいわる数。○位ははやい順。"
                            "回数は正しく答えた問題の数です。"),
             mm * 1.5);
    painter.setPen(Qt::black);
    drawDivisorGrid(painter, QRectF(area.left(), area.top(), area.width(), mm * kGridHeight),
                    divisorCells(learner));
    area.setTop(area.top() + mm * (kGridHeight + kGap));

    drawHeading(painter, area, QStringLiteral("まちがえやすかった問題（誤答の多い順）"), mm);
    const TableText hardest = hardestTable(problemsHardestFirst(learner));
    if (hardest.rows.empty()) {
        drawLine(painter, area, reportFont(10),
                 QStringLiteral("正しく答えた問題の記録がありません。"), mm * kGap);
    } else {
        drawTable(painter, area, hardest, 0, mm * kRowHeight);
        area.setTop(area.top() + tableHeight(hardest.rows.size(), mm * kRowHeight) + mm * kGap);
    }

    drawHeading(painter, area, QStringLiteral("先生から"), mm);
    if (area.height() < mm * kCommentLineSpacing * 2)
        return false;  // the page is too small for the sheet
    drawCommentBox(painter, area, mm);
    return true;
}

}  // namespace

std::vector<MeetingChild> meetingChildren(const records::ClassFolder& folder) {
    std::vector<MeetingChild> children;
    for (const records::Learner& learner : folder.learners) {
        if (!learner.drills.empty())
            children.push_back(MeetingChild{learner.number, learner.name, &learner});
    }
    return children;
}

bool printMeetingSheets(QPagedPaintDevice& device, const std::vector<MeetingChild>& children,
                        const Period& period) {
    return paintOn(device, [&](QPainter& painter) {
        for (std::size_t k = 0; k < children.size(); ++k) {
            if (k > 0)
                device.newPage();
            if (!paintSheet(painter, device, children[k], period))
                return false;
        }
        return true;
    });
}

bool writeMeetingPdf(const QString& path, const std::vector<MeetingChild>& children,
                     const Period& period, QString* error) {
    return writePagedPdf(
        path, QStringLiteral("ポルネア　面談用の記録"), error,
        [&](QPagedPaintDevice& device) { return printMeetingSheets(device, children, period); });
}

}  // namespace report
