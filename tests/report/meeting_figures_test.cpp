// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The meeting sheet's first weeks against the latest, in words: figures only from finished
// drills, and a plain reason instead of figures when there are too few.

#include "meeting_figures.h"

#include <gtest/gtest.h>

namespace {

// A drill that ended on the day: `solved` problems of `seconds` each, the wrong answers on
// the first; one more row, never answered, when it ended early.
records::KeptDrill drill(const QDate& day, int solved, float seconds, int wrong) {
    records::KeptDrill made;
    made.ended = QDateTime(day, QTime(9, 0));
    for (int k = 0; k < solved; ++k)
        made.rows.push_back({seconds, static_cast<std::int16_t>(k == 0 ? wrong : 0),
                             static_cast<std::uint8_t>(10 + k), 3});
    if (solved < 20)
        made.rows.push_back({0, 0, 0, 0});
    return made;
}

struct Case {
    const char* name;
    int latestFinished;  // drills in the latest weeks that reached problem 20
    int daysBetween;     // from the first drill to the latest
    std::vector<const char*> expected;
};

TEST(MeetingFigures, ComparesFirstAndLatestWeeksInWordsOrSaysWhyNot) {
    const Case cases[] = {
        {"eight weeks",
         3,
         55,
         {"はじめのころ（9/1〜9/14、3 回）と最近（10/13〜10/26、3 回）の、20 問までやったドリル:",
          "1問あたり 6.2秒 → 4.1秒（2.1秒はやくなりました）",
          "ドリル1回の誤答 3.0回 → 1.0回（2.0回へりました）"}},
        {"too few finished drills lately",
         2,
         55,
         {"20 問までやったドリルが少ないので（はじめのころ 3 回、最近 2 回）、くらべていません"
          "（それぞれ 3 回以上でくらべます）。"}},
        {"less than two weeks",
         3,
         12,
         {"記録が 9/1〜9/13 の 13 日分だけなので、はじめのころと最近はくらべていません"
          "（2 週間以上の記録でくらべます）。"}},
    };
    const QDate start(2026, 9, 1);
    for (const Case& c : cases) {
        records::Learner learner{QStringLiteral("5"), {}};
        for (int k = 0; k < 3; ++k)
            learner.drills.push_back(drill(start.addDays(k), 20, 6.2f, 3));
        const QDate latest = start.addDays(c.daysBetween);
        // Short drills, quick per problem, in the latest weeks: never counted.
        learner.drills.push_back(drill(latest.addDays(-3), 6, 1.0f, 0));
        learner.drills.push_back(drill(latest.addDays(-2), 4, 1.0f, 0));
        for (int k = c.latestFinished - 1; k >= 0; --k)
            learner.drills.push_back(drill(latest.addDays(-k), 20, 4.1f, 1));

        QStringList expected;
        for (const char* line : c.expected)
            expected << QString::fromUtf8(line);
        EXPECT_EQ(report::firstAndLatestWeeksText(report::firstAndLatestWeeks(learner))
                      .join(u'\n')
                      .toStdString(),
                  expected.join(u'\n').toStdString())
            << c.name;
    }
}

}  // namespace
