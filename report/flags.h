// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Which children may need help, and why: no practice for some days, slower or more wrong
// answers over the last few finished drills against the few before, or a latest drill ended
// before its twentieth problem. "Today" is always given, so the rule is the same on every
// day it is run for.

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

#include "class_folder.h"

namespace report {

struct FlagRule {
    int idleDays = 7;  // flagged from this many days without a drill on
    // Trends compare the median of the last `group` finished drills with the median of the
    // `group` before them (with 4 or 5 finished drills, groups of 2; with fewer, no trend).
    int group = 3;
    double slowerShare = 0.2;     // time per problem worse by more than this share ...
    double slowerSeconds = 0.5;   // ... and by at least this many seconds
    double moreWrongShare = 0.2;  // wrong answers per drill up by more than this share ...
    double moreWrongCount = 3;    // ... and by at least this many
};

// The mark before a flagged child's reasons; it is in the report's faces and prints in grey.
inline constexpr char16_t kFlagMark = u'●';

struct LearnerFlags {
    std::optional<int> daysSinceDrill;  // none without a drill
    QStringList reasons;                // short, in Japanese; empty when not flagged

    bool flagged() const { return !reasons.isEmpty(); }
    QString text() const;  // "● 12日練習なし、誤答増（1→4回）"; empty when not flagged
};

LearnerFlags learnerFlags(const records::Learner& learner, const QDate& today,
                          const FlagRule& rule = {});

}  // namespace report
