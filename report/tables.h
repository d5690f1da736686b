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
};

// ID, drills kept, latest date and time, solved of 20, total time, wrong answers, and the
// three changes against the previous drill (empty with fewer than two drills).
TableText classTable(const std::vector<ClassRow>& rows);

// Problem, dividend, divisor, times met, mean time, wrong tries: hardest first.
TableText problemTable(const std::vector<ProblemFigures>& problems);

// A learner's drills, newest first: date and time, the typed date, solved, total time, wrong.
TableText drillTable(const std::vector<DrillFigures>& drills);

}  // namespace report
