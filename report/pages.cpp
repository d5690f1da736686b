// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pages.h"

#include <QDateTime>
#include <QDir>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <functional>

#include "class_divisors.h"
#include "class_list.h"
#include "csv_export.h"
#include "figures.h"
#include "pictures.h"
#include "tables.h"

namespace report {
namespace {

const QString kCreator = QStringLiteral("rovedavu-report");

// Sizes on paper, in millimetres.
constexpr qreal kRowHeight = 6.5;
constexpr qreal kClassRowHeight = 5.5;  // a class of 40 on one sheet
constexpr qreal kGap = 4;
constexpr qreal kChartHeight = 70;
constexpr qreal kGridHeight = 26;

qreal millimetre(const QPaintDevice& device) {
    return device.logicalDpiY() / 25.4;
}

QRectF paintArea(const QPaintDevice& device) {
    return QRectF(0, 0, device.width(), device.height());
}

// Draws a line of text at the top of the area in the font (smaller when it is too long), and
// takes its height (and a gap after it) off the area.
void drawLine(QPainter& painter, QRectF& area, const QFont& font, const QString& text,
              qreal gapAfter) {
    const qreal height = QFontMetricsF(font, painter.device()).height();
    QFont fitted = font;
    const qreal width = QFontMetricsF(font, painter.device()).horizontalAdvance(text);
    if (width > area.width())
        fitted.setPointSizeF(font.pointSizeF() * std::max(0.7, area.width() / width));
    painter.setFont(fitted);
    painter.setPen(Qt::black);
    painter.drawText(
        QRectF(area.left(), area.top(), area.width(), height), Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetricsF(fitted, painter.device()).elidedText(text, Qt::ElideRight, area.width()));
    area.setTop(area.top() + height + gapAfter);
}

// Draws the table from the top of the area on, starting new pages (through newPage, which
// gives the new page's area) as long as rows remain. Takes the height used off the area.
// Gives false when a page has no room for even one row.
bool drawTableOverPages(QPainter& painter, QRectF& area, const TableText& table, qreal rowHeight,
                        const std::function<QRectF()>& newPage) {
    std::size_t row = 0;
    for (;;) {
        const std::size_t next = drawTable(painter, area, table, row, rowHeight);
        area.setTop(area.top() + tableHeight(next - row, rowHeight));
        if (next == table.rows.size())
            return true;
        if (next == row && row != 0)
            return false;
        row = next;
        area = newPage();
        if (area.height() < tableHeight(1, rowHeight))
            return false;
    }
}

// Takes the days since the latest drill and the flags out of the class table, which is too
// wide for them on paper, and gives them as a table of the flagged children by ID.
TableText takeFlags(TableText& table) {
    const qsizetype days = table.headers.indexOf(QStringLiteral("最終練習から（日）"));
    const qsizetype reasons = table.headers.indexOf(QStringLiteral("気になる点"));
    TableText flagged;
    if (days < 0 || reasons < 0)
        return flagged;
    const qsizetype kept[] = {0, days, reasons};
    for (const qsizetype column : kept) {
        flagged.headers << table.headers[column];
        flagged.aligns.push_back(table.aligns[column]);
        flagged.numeric.push_back(table.numeric[column]);
    }
    flagged.widths = {3, 3, 24};
    for (const QStringList& row : table.rows) {
        if (!row.value(reasons).isEmpty())
            flagged.rows.push_back({row.value(0), row.value(days), row.value(reasons)});
    }
    for (const qsizetype column : {reasons, days}) {
        const auto at = static_cast<std::size_t>(column);
        table.headers.removeAt(column);
        table.widths.erase(table.widths.begin() + column);
        table.aligns.erase(table.aligns.begin() + column);
        table.numeric.erase(table.numeric.begin() + column);
        if (at < table.elideModes.size())
            table.elideModes.erase(table.elideModes.begin() + column);
        for (QStringList& row : table.rows)
            row.removeAt(column);
    }
    return flagged;
}

bool paintClass(QPainter& painter, QPagedPaintDevice& device, const records::ClassFolder& folder,
                const Period& period) {
    const qreal mm = millimetre(device);
    const QString title = QStringLiteral("ポルネア　クラスの記録");
    QRectF area = paintArea(device);
    drawLine(painter, area, reportFont(16, true), title, mm * 2);
    // A long folder loses its middle, never its end.
    const QString rest = QStringLiteral("　　%1 人　　印刷: %2")
                             .arg(folder.learners.size())
                             .arg(dateTimeText(QDateTime::currentDateTime()));
    const QString label = QStringLiteral("期間: %1　　フォルダ: ").arg(period.label);
    const QFontMetricsF metrics(reportFont(9), &device);
    const QString shownFolder =
        metrics.elidedText(QDir::toNativeSeparators(folder.folder), Qt::ElideMiddle,
                           area.width() - metrics.horizontalAdvance(label + rest) - mm);
    drawLine(painter, area, reportFont(9), label + shownFolder + rest, mm * kGap);
    const auto newPage = [&] {
        device.newPage();
        QRectF next = paintArea(device);
        drawLine(painter, next, reportFont(9), title + QStringLiteral("（つづき）"), mm * 2);
        return next;
    };
    TableText table = classTable(flaggedClassRows(folder, period.asOf(QDate::currentDate())));
    const TableText flagged = takeFlags(table);
    if (!drawTableOverPages(painter, area, table, mm * kClassRowHeight, newPage))
        return false;

    area.setTop(area.top() + mm * kGap);
    if (area.height() < mm * kClassRowHeight * 4)
        area = newPage();
    drawLine(painter, area, reportFont(11, true),
             flagged.rows.empty()
                 ? QStringLiteral("気になる児童はいません")
                 : QStringLiteral("気になる児童（%1 人）").arg(flagged.rows.size()),
             mm * 2);
    if (!flagged.rows.empty() &&
        !drawTableOverPages(painter, area, flagged, mm * kClassRowHeight, newPage))
        return false;

    const TableText divisors = classDivisorTable(classDivisors(folder));
    area.setTop(area.top() + mm * kGap);
    if (area.height() < mm * kClassRowHeight * 12)
        area = newPage();
    drawLine(painter, area, reportFont(11, true), QStringLiteral("わる数ごと（クラス全体）"),
             mm * 2);
    QRectF divisorArea = area;
    divisorArea.setWidth(area.width() * 0.6);
    drawTable(painter, divisorArea, divisors, 0, mm * kClassRowHeight);
    area.setTop(area.top() + tableHeight(divisors.rows.size(), mm * kClassRowHeight));
    if (folder.unreadable.empty())
        return true;

    TableText unreadable;
    // The files within the folder named above, as short as they can be; a path still too long
    // loses its middle.
    unreadable.headers = {QStringLiteral("ファイル"), QStringLiteral("理由")};
    unreadable.widths = {1, 1};
    unreadable.aligns = {Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignLeft | Qt::AlignVCenter};
    unreadable.numeric = {false, false};
    unreadable.sortColumn = -1;
    unreadable.elideModes = {Qt::ElideMiddle, Qt::ElideRight};
    const QDir classFolder(folder.folder);
    for (const records::UnreadableFile& file : folder.unreadable) {
        const QString inside = classFolder.relativeFilePath(file.path);
        unreadable.rows.push_back(
            {QDir::toNativeSeparators(inside.startsWith(QStringLiteral("..")) ? file.path : inside),
             file.reason});
    }
    area.setTop(area.top() + mm * kGap);
    if (area.height() < mm * kRowHeight * 4)
        area = newPage();
    drawLine(painter, area, reportFont(11, true),
             QStringLiteral("読めなかったファイル（%1）").arg(folder.unreadable.size()), mm * 2);
    return drawTableOverPages(painter, area, unreadable, mm * kRowHeight, newPage);
}

bool paintLearner(QPainter& painter, QPagedPaintDevice& device, const records::Learner& learner) {
    const qreal mm = millimetre(device);
    QRectF area = paintArea(device);
    const ClassRow row = classRow(learner);
    drawLine(painter, area, reportFont(16, true), childTitle(learner) + QStringLiteral(" の記録"),
             mm * 2);
    QString summary = QStringLiteral("記録の数 %1").arg(row.drillsKept);
    if (row.drillsKept > 0) {
        summary += QStringLiteral(
                       "　　最新 %1（入力した日付「%2」）　正答 %3／20　合計時間 %4 秒"
                       "　1問あたり %5 秒　誤答 %6")
                       .arg(dateTimeText(row.latest.ended), row.latest.date)
                       .arg(row.latest.solved)
                       .arg(secondsText(row.latest.totalSeconds),
                            secondsText(row.latest.secondsPerProblem()))
                       .arg(row.latest.wrongAnswers);
        if (!row.latest.finished())
            summary += QStringLiteral("（%1）").arg(unfinishedText(row.latest));
    }
    drawLine(painter, area, reportFont(9), summary, mm * kGap);

    drawLine(painter, area, reportFont(11, true),
             QStringLiteral("ドリルごとの1問あたりの時間と誤答"), mm * 1.5);
    painter.setFont(reportFont(8));
    drawDrillChart(painter, QRectF(area.left(), area.top(), area.width(), mm * kChartHeight),
                   drillsOverTime(learner));
    area.setTop(area.top() + mm * (kChartHeight + kGap));

    drawLine(painter, area, reportFont(11, true),
             QStringLiteral("わる数ごとの平均時間（緑と◎ははやい、赤と▲はおそい。○位は"
                            "はやい順）"),
             mm * 1.5);
    drawDivisorGrid(painter, QRectF(area.left(), area.top(), area.width(), mm * kGridHeight),
                    divisorCells(learner));
    area.setTop(area.top() + mm * (kGridHeight + kGap));

    const TableText problems = problemTable(problemsHardestFirst(learner));
    drawLine(painter, area, reportFont(11, true),
             QStringLiteral("むずかしい問題から（誤答の多い順。同じなら出た回数の少ない順、"
                            "次に時間のかかる順）"),
             mm * 1.5);
    QRectF tableArea = area;
    tableArea.setBottom(area.bottom() - mm * kRowHeight);  // room for the note below
    const std::size_t drawn = drawTable(painter, tableArea, problems, 0, mm * kRowHeight);
    if (drawn < problems.rows.size()) {
        QRectF note(area.left(), tableArea.top() + tableHeight(drawn, mm * kRowHeight),
                    area.width(), mm * kRowHeight);
        drawLine(painter, note, reportFont(9),
                 QStringLiteral("ほかに %1 問（問題の一覧の CSV にはすべての問題があります）")
                     .arg(problems.rows.size() - drawn),
                 0);
    }
    return true;
}

}  // namespace

bool paintOn(QPagedPaintDevice& device, const std::function<bool(QPainter&)>& paint) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    const bool painted = paint(painter);
    return painter.end() && painted;
}

bool writePagedPdf(const QString& path, const QString& title, QString* error,
                   const std::function<bool(QPagedPaintDevice&)>& paint) {
    const auto failed = [&](const QString& why) {
        if (error != nullptr)
            *error = QStringLiteral("%1 に PDF を書きこめませんでした（%2）。").arg(path, why);
        return false;
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    bool painted = false;
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setResolution(300);
        writer.setTitle(title);
        writer.setCreator(kCreator);
        painted = paint(writer);
    }
    if (!painted) {
        file.cancelWriting();
        return failed(QStringLiteral("ページを描けませんでした"));
    }
    QString reason;
    return commitExport(file, &reason) || failed(reason);
}

bool printClassPage(QPagedPaintDevice& device, const records::ClassFolder& folder,
                    const Period& period) {
    return paintOn(device,
                   [&](QPainter& painter) { return paintClass(painter, device, folder, period); });
}

bool printLearnerPage(QPagedPaintDevice& device, const records::Learner& learner) {
    return paintOn(device,
                   [&](QPainter& painter) { return paintLearner(painter, device, learner); });
}

bool printClassAndLearners(QPagedPaintDevice& device, const records::ClassFolder& folder,
                           const Period& period) {
    return paintOn(device, [&](QPainter& painter) {
        if (!paintClass(painter, device, folder, period))
            return false;
        for (const records::Learner& learner : folder.learners) {
            if (learner.drills.empty())
                continue;
            device.newPage();
            if (!paintLearner(painter, device, learner))
                return false;
        }
        return true;
    });
}

bool writeClassPdf(const QString& path, const records::ClassFolder& folder, QString* error,
                   const Period& period) {
    return writePagedPdf(
        path, QStringLiteral("ポルネア　クラスの記録"), error,
        [&](QPagedPaintDevice& device) { return printClassPage(device, folder, period); });
}

bool writeLearnerPdf(const QString& path, const records::Learner& learner, QString* error) {
    return writePagedPdf(
        path, QStringLiteral("ポルネア　") + childTitle(learner) + QStringLiteral(" の記録"), error,
        [&](QPagedPaintDevice& device) { return printLearnerPage(device, learner); });
}

bool writeFolderPdf(const QString& path, const records::ClassFolder& folder, QString* error,
                    const Period& period) {
    return writePagedPdf(
        path, QStringLiteral("ポルネア　クラスの記録"), error,
        [&](QPagedPaintDevice& device) { return printClassAndLearners(device, folder, period); });
}

}  // namespace report
