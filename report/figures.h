// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The figures of the teacher's program, worked out from the drills of a class folder: the
// class table, one learner's drills over time, the divisor cells 1-9 and the problems met.

#include <QDateTime>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "class_folder.h"
#include "flags.h"

namespace report {

inline constexpr int kProblemsPerDrill = 20;

// The seconds a row took. The drill's clock counts seconds since midnight, so a time written
// as negative was a problem that ran over midnight: a whole day is added.
double answerSeconds(const records::KeptRow& row);

// One drill in figures.
struct DrillFigures {
    QDateTime ended;
    QString date;             // the date text the learner typed
    int solved = 0;           // problems answered right, of 20
    double totalSeconds = 0;  // the answered problems' times, added up
    int wrongAnswers = 0;     // every wrong answer, also those to an unanswered last problem

    // All twenty problems answered right; a drill ended before that is "途中で終了".
    bool finished() const { return solved == kProblemsPerDrill; }
    // The fair measure of speed, also for a drill ended early; 0 when nothing was solved.
    double secondsPerProblem() const { return solved == 0 ? 0 : totalSeconds / solved; }
};

DrillFigures drillFigures(const records::KeptDrill& drill);

// The latest finished drill against the finished one before it: positive when the latest is
// higher. Drills ended early are left out, so that a short drill never looks fast.
struct Change {
    int solved = 0;
    double totalSeconds = 0;
    int wrongAnswers = 0;
    double secondsPerProblem = 0;
};

// The mark of a drill ended before its twentieth problem, in every table and on paper.
inline constexpr char16_t kUnfinishedMark[] = u"途中で終了";

// One row of the class table.
struct ClassRow {
    QString id;
    QString number;  // 出席番号 and 氏名, from the class list; empty without one
    QString name;
    int drillsKept = 0;
    DrillFigures latest;                // meaningless when drillsKept is 0; may be unfinished
    std::optional<Change> change;       // none with fewer than two finished drills
    std::optional<LearnerFlags> flags;  // only from flaggedClassRows
};

// One row per learner, in the order of the folder (by ID); the folder holds only learners
// with at least one drill.
std::vector<ClassRow> classRows(const records::ClassFolder& folder);
ClassRow classRow(const records::Learner& learner);
// The same, with each learner's flags as of `today`.
std::vector<ClassRow> flaggedClassRows(const records::ClassFolder& folder, const QDate& today,
                                       const FlagRule& rule = {});

// A learner's drills, oldest first.
std::vector<DrillFigures> drillsOverTime(const records::Learner& learner);

// The answered problems of one divisor (one times table) over all of a learner's drills.
struct DivisorCell {
    int divisor = 0;         // 1..9
    int asked = 0;           // problems with this divisor answered right
    double meanSeconds = 0;  // their mean time; 0 when never asked
    int wrongTries = 0;      // wrong answers before those right answers
};

std::array<DivisorCell, 9> divisorCells(const records::Learner& learner);

// One problem met in a learner's drills.
struct ProblemFigures {
    int dividend = 0;
    int divisor = 0;
    int met = 0;  // times answered right
    double meanSeconds = 0;
    int wrongTries = 0;  // wrong answers, over all the times met

    QString text() const;  // " 45÷ 6", as the drill writes it
    double wrongPerMeeting() const { return met == 0 ? 0 : double(wrongTries) / met; }
};

// Every problem answered right at least once, hardest first: the most wrong answers first;
// between equals, the one met fewer times (more wrong answers per meeting), then the slower
// mean time, then by divisor and dividend.
// Problems left unanswered at the end of a drill are not known and not counted.
std::vector<ProblemFigures> problemsHardestFirst(const records::Learner& learner);

// Where the tables on screen and on paper show the sort arrow of the problems' order.
inline constexpr int kProblemOrderColumn = 5;  // 誤答, most first

// Texts shared by the tables on screen, on paper and in CSV.
QString secondsText(double seconds);                // "12.3"
QString dateTimeText(const QDateTime& when);        // "2026-12-07 09:05"
QString signedText(int value);                      // "+2", "-1", "0"
QString signedSecondsText(double seconds);          // "+4.5", "-12.0", "0.0"
QString unfinishedText(const DrillFigures& drill);  // kUnfinishedMark when ended early, or ""

}  // namespace report
