// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tables.h"

#include <algorithm>

namespace report {
namespace {

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

struct Column {
    const char16_t* header;
    qreal width;
    bool numeric;
};

TableText withColumns(std::initializer_list<Column> columns) {
    TableText table;
    for (const Column& column : columns) {
        table.headers << QString::fromUtf16(column.header);
        table.widths.push_back(column.width);
        table.aligns.push_back(column.numeric ? kRight : kLeft);
        table.numeric.push_back(column.numeric);
    }
    return table;
}

// With a class list, 出席番号 and 氏名 come before the ID.
TableText withNames(TableText table, const std::vector<ClassRow>& rows) {
    if (std::none_of(rows.begin(), rows.end(), [](const ClassRow& row) {
            return !row.number.isEmpty() || !row.name.isEmpty();
        }))
        return table;
    table.headers = QStringList{QStringLiteral("出席番号"), QStringLiteral("氏名")} + table.headers;
    table.widths.insert(table.widths.begin(), {2, 4});
    table.aligns.insert(table.aligns.begin(), 2, kLeft);
    table.numeric.insert(table.numeric.begin(), 2, false);
    for (std::size_t k = 0; k < rows.size(); ++k)
        table.rows[k] = QStringList{rows[k].number, rows[k].name} + table.rows[k];
    return table;
}

}  // namespace

TableText classTable(const std::vector<ClassRow>& rows) {
    TableText table = withColumns({
        {u"ID", 3, false},
        {u"記録の数", 2, true},
        {u"最新の日時", 5, false},
        {u"正答（20問中）", 2.5, true},
        {u"合計時間（秒）", 3, true},
        {u"誤答", 2, true},
        {u"前回との差：正答", 2.5, true},
        {u"前回との差：時間（秒）", 3, true},
        {u"前回との差：誤答", 2.5, true},
        {u"1問あたりの時間（秒）", 3.5, true},
        {u"最新のドリル", 2.5, false},
        {u"前回との差：1問あたりの時間（秒）", 3.5, true},
        {u"最終練習から（日）", 2, true},
        {u"気になる点", 6, false},
    });
    for (const ClassRow& row : rows) {
        QStringList texts{row.id, QString::number(row.drillsKept)};
        const bool anyDrill = row.drillsKept > 0;
        if (!anyDrill) {
            texts << QString() << QString() << QString() << QString();
        } else {
            texts << dateTimeText(row.latest.ended) << QString::number(row.latest.solved)
                  << secondsText(row.latest.totalSeconds)
                  << QString::number(row.latest.wrongAnswers);
        }
        if (row.change) {
            texts << signedText(row.change->solved) << signedSecondsText(row.change->totalSeconds)
                  << signedText(row.change->wrongAnswers);
        } else {
            texts << QString() << QString() << QString();
        }
        texts << (anyDrill && row.latest.solved > 0 ? secondsText(row.latest.secondsPerProblem())
                                                    : QString())
              << (anyDrill ? unfinishedText(row.latest) : QString())
              << (row.change ? signedSecondsText(row.change->secondsPerProblem) : QString());
        if (row.flags && row.flags->daysSinceDrill)
            texts << QString::number(*row.flags->daysSinceDrill);
        else
            texts << QString();
        texts << (row.flags ? row.flags->text() : QString());
        table.rows.push_back(texts);
    }
    return withNames(std::move(table), rows);
}

TableText problemTable(const std::vector<ProblemFigures>& problems) {
    TableText table = withColumns({
        {u"問題", 3, false},
        {u"わられる数", 2.5, true},
        {u"わる数", 2, true},
        {u"回数", 2, true},
        {u"平均時間（秒）", 3, true},
        {u"誤答", 2, true},
    });
    for (const ProblemFigures& problem : problems) {
        table.rows.push_back({problem.text(), QString::number(problem.dividend),
                              QString::number(problem.divisor), QString::number(problem.met),
                              secondsText(problem.meanSeconds),
                              QString::number(problem.wrongTries)});
    }
    table.sortColumn = kProblemOrderColumn;
    table.sortOrder = Qt::DescendingOrder;
    return table;
}

TableText drillTable(const std::vector<DrillFigures>& drills) {
    TableText table = withColumns({
        {u"日時", 4, false},
        {u"入力した日付", 3, false},
        {u"正答（20問中）", 3, true},
        {u"合計時間（秒）", 3, true},
        {u"誤答", 2, true},
        {u"1問あたりの時間（秒）", 3, true},
        {u"状態", 3, false},
    });
    for (auto drill = drills.rbegin(); drill != drills.rend(); ++drill) {
        table.rows.push_back(
            {dateTimeText(drill->ended), drill->date, QString::number(drill->solved),
             secondsText(drill->totalSeconds), QString::number(drill->wrongAnswers),
             drill->solved > 0 ? secondsText(drill->secondsPerProblem()) : QString(),
             unfinishedText(*drill)});
    }
    table.sortOrder = Qt::DescendingOrder;  // newest first
    return table;
}

}  // namespace report
