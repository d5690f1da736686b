// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The figures of the sheet for the parents' meeting: a child's first weeks of drills against
// their latest weeks, in plain words.

#include <QDate>
#include <QString>
#include <QStringList>

#include "class_folder.h"

namespace report {

// Each end of the comparison spans at most two weeks, and at least one: with less than two
// weeks between the first and the latest drill there is nothing fair to compare.
inline constexpr int kStretchDays = 14;
inline constexpr int kShortestStretchDays = 7;
// Fewer finished drills than this at either end and no figures are given.
inline constexpr int kLeastFinishedDrills = 3;

// The drills of a few days, counted over the drills that reached the twentieth problem.
struct Stretch {
    QDate from;
    QDate to;
    int drills = 0;
    int finished = 0;
    double secondsPerProblem = 0;
    double wrongPerDrill = 0;
};

struct FirstAndLatestWeeks {
    int drills = 0;
    int finished = 0;
    int daysPractised = 0;
    QDate firstDay;  // of the first drill; null without drills
    QDate lastDay;
    int stretchDays = 0;  // the length of each end; below kShortestStretchDays: too short
    Stretch first;
    Stretch latest;

    bool comparable() const {
        return stretchDays >= kShortestStretchDays && first.finished >= kLeastFinishedDrills &&
               latest.finished >= kLeastFinishedDrills;
    }
};

// The learner's drills (oldest first) by the days they ended on.
FirstAndLatestWeeks firstAndLatestWeeks(const records::Learner& learner);

// The comparison in a parent's words: when comparable, a line saying what is compared and
// then one line each for the time per problem and the wrong answers per drill
// (「1問あたり 6.2秒 → 4.1秒（2.1秒はやくなりました）」); otherwise one line saying why not.
QStringList firstAndLatestWeeksText(const FirstAndLatestWeeks& weeks);

// "9/1〜9/14", or "9/1" for one day.
QString daysText(const QDate& from, const QDate& to);

}  // namespace report
