// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The class table and a learner's problems as texts: the same columns and texts on screen,
// on paper and in CSV.

#include <QString>
#include <QStringList>
#include <Qt>
#include <vector>

#include "figures.h"

namespace report {

struct TableText {
    QStringList headers;
    std::vector<qreal> widths;          // one per column, in any unit: their shares of a width
    std::vector<Qt::Alignment> aligns;  // one per column
    std::vector<bool> numeric;          // one per column: a number, written bare in CSV
    std::vector<QStringList> rows;
    int sortColumn = 0;  // the column whose order the rows are in, with the sort arrow
    Qt::SortOrder sortOrder = Qt::AscendingOrder;
    // One per column, how a text too wide is shortened; Qt::ElideRight for all when empty.
    std::vector<Qt::TextElideMode> elideModes;
};

// ID, drills kept, latest date and time, solved of 20, total time, wrong answers, the three
// changes between the last two finished drills (empty with fewer than two), then (added
// last, so that readers of the CSV's first columns still work) the latest drill's time per
// problem, its 途中で終了 mark, and the change in time per problem; then the days since the
// latest drill and the flags with their reasons (empty without flags). When a class list
// names any row, 出席番号 and 氏名 come first.
TableText classTable(const std::vector<ClassRow>& rows);

// Problem, dividend, divisor, times met, mean time, wrong tries: hardest first, that is by
// wrong tries, most first (kProblemOrderColumn).
TableText problemTable(const std::vector<ProblemFigures>& problems);

// A learner's drills, newest first: date and time, the typed date, solved, total time, wrong,
// time per problem, and the 途中で終了 mark.
TableText drillTable(const std::vector<DrillFigures>& drills);

}  // namespace report
