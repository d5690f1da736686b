// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The class seen as a teacher sees it: which children are flagged and why, the periods and
// the drills they keep, and the class's divisors; on small classes made in memory.

#include <gtest/gtest.h>

#include "class_divisors.h"
#include "flags.h"
#include "period.h"

namespace {

const QDate kToday(2026, 12, 7);  // a Monday

// A drill ended at noon, `daysAgo` before today: `solved` problems of `seconds` each, all the
// wrong answers on the first, and an unanswered last row when it ended early.
records::KeptDrill madeDrill(int daysAgo, int solved, double seconds, int wrong) {
    records::KeptDrill drill;
    drill.ended = QDateTime(kToday.addDays(-daysAgo), QTime(12, 0));
    for (int k = 0; k < solved; ++k) {
        drill.rows.push_back(records::KeptRow{
            seconds, static_cast<std::int16_t>(k == 0 ? wrong : 0),
            static_cast<std::uint8_t>(10 + k), static_cast<std::uint8_t>(k % 9 + 1)});
    }
    if (solved < 20)
        drill.rows.push_back(records::KeptRow{});
    return drill;
}

struct Made {
    int daysAgo;
    int solved;
    double seconds;
    int wrong;
};

records::Learner madeLearner(const std::vector<Made>& drills) {
    records::Learner learner{QStringLiteral("1"), {}};
    for (const Made& made : drills)
        learner.drills.push_back(madeDrill(made.daysAgo, made.solved, made.seconds, made.wrong));
    return learner;
}

TEST(Flags, FollowTheRule) {
    const struct {
        const char* what;
        std::vector<Made> drills;  // oldest first
        QStringList reasons;
    } rows[] = {
        {"steady, practised yesterday",
         {{6, 20, 4, 1}, {5, 20, 4, 1}, {4, 20, 4, 1}, {3, 20, 4, 1}, {2, 20, 4, 1}, {1, 20, 4, 1}},
         {}},
        {"six days without a drill", {{6, 20, 4, 1}}, {}},
        {"seven days without a drill", {{7, 20, 4, 1}}, {"7日練習なし"}},
        {"no drill at all", {}, {"練習の記録なし"}},
        {"slower by a quarter",
         {{6, 20, 4, 0}, {5, 20, 4, 0}, {4, 20, 4, 0}, {3, 20, 5, 0}, {2, 20, 5, 0}, {1, 20, 5, 0}},
         {"1問の時間増（4.0→5.0秒）"}},
        {"slower by exactly a fifth is not enough",
         {{6, 20, 2.5, 0},
          {5, 20, 2.5, 0},
          {4, 20, 2.5, 0},
          {3, 20, 3, 0},
          {2, 20, 3, 0},
          {1, 20, 3, 0}},
         {}},
        {"a quick child slower by a quarter, but only a quarter second",
         {{6, 20, 1, 0},
          {5, 20, 1, 0},
          {4, 20, 1, 0},
          {3, 20, 1.25, 0},
          {2, 20, 1.25, 0},
          {1, 20, 1.25, 0}},
         {}},
        {"one slow day is not a trend",
         {{6, 20, 4, 0}, {5, 20, 4, 0}, {4, 20, 4, 0}, {3, 20, 4, 0}, {2, 20, 9, 0}, {1, 20, 4, 0}},
         {}},
        {"four finished drills: two against two",
         {{4, 20, 4, 0}, {3, 20, 4, 0}, {2, 20, 5, 0}, {1, 20, 5, 0}},
         {"1問の時間増（4.0→5.0秒）"}},
        {"three finished drills: no trend yet", {{3, 20, 4, 0}, {2, 20, 5, 0}, {1, 20, 6, 0}}, {}},
        {"more wrong answers",
         {{6, 20, 4, 1}, {5, 20, 4, 1}, {4, 20, 4, 1}, {3, 20, 4, 4}, {2, 20, 4, 4}, {1, 20, 4, 4}},
         {"誤答増（1→4回）"}},
        {"two more wrong answers are not yet a rise",
         {{6, 20, 4, 1}, {5, 20, 4, 1}, {4, 20, 4, 1}, {3, 20, 4, 3}, {2, 20, 4, 3}, {1, 20, 4, 3}},
         {}},
        {"latest ended early", {{2, 20, 4, 0}, {1, 6, 2, 0}}, {"最新が途中で終了（6/20）"}},
        {"slow early ends are left out of the trend",
         {{7, 20, 4, 0},
          {6, 20, 4, 0},
          {5, 20, 4, 0},
          {4, 20, 4, 0},
          {3, 5, 9, 0},
          {2, 5, 9, 0},
          {1, 20, 4, 0}},
         {}},
        {"several at once",
         {{14, 20, 4, 0},
          {13, 20, 4, 0},
          {12, 20, 4, 0},
          {11, 20, 4, 4},
          {10, 20, 4, 4},
          {10, 3, 4, 4}},
         {"10日練習なし", "誤答増（0→4回）", "最新が途中で終了（3/20）"}},
    };
    for (const auto& row : rows) {
        const report::LearnerFlags flags = report::learnerFlags(madeLearner(row.drills), kToday);
        EXPECT_EQ(flags.reasons, row.reasons) << row.what;
        EXPECT_EQ(flags.flagged(), !row.reasons.isEmpty()) << row.what;
    }

    const report::LearnerFlags several = report::learnerFlags(madeLearner({{10, 3, 4, 0}}), kToday);
    EXPECT_EQ(several.text(), QStringLiteral("● 10日練習なし、最新が途中で終了（3/20）"));
    EXPECT_EQ(several.daysSinceDrill, 10);
    EXPECT_EQ(report::learnerFlags(madeLearner({}), kToday).daysSinceDrill, std::nullopt);
}

TEST(Periods, RunMondayToSundayAndByMonthAndSchoolTerm) {
    using report::PeriodChoice;
    const struct {
        PeriodChoice choice;
        QDate today;
        QDate from, to;
        const char* label;
    } rows[] = {
        {PeriodChoice::ThisWeek, QDate(2026, 12, 7), QDate(2026, 12, 7), QDate(2026, 12, 13),
         "今週（2026-12-07〜2026-12-13）"},
        {PeriodChoice::ThisWeek, QDate(2026, 12, 13), QDate(2026, 12, 7), QDate(2026, 12, 13),
         "今週（2026-12-07〜2026-12-13）"},
        {PeriodChoice::ThisWeek, QDate(2027, 1, 1), QDate(2026, 12, 28), QDate(2027, 1, 3),
         "今週（2026-12-28〜2027-01-03）"},
        {PeriodChoice::ThisMonth, QDate(2027, 2, 10), QDate(2027, 2, 1), QDate(2027, 2, 28),
         "今月（2027-02-01〜2027-02-28）"},
        {PeriodChoice::ThisTerm, QDate(2026, 4, 1), QDate(2026, 4, 1), QDate(2026, 8, 31),
         "2026年度 1学期（2026-04-01〜2026-08-31）"},
        {PeriodChoice::ThisTerm, QDate(2026, 8, 31), QDate(2026, 4, 1), QDate(2026, 8, 31),
         "2026年度 1学期（2026-04-01〜2026-08-31）"},
        {PeriodChoice::ThisTerm, QDate(2026, 12, 31), QDate(2026, 9, 1), QDate(2026, 12, 31),
         "2026年度 2学期（2026-09-01〜2026-12-31）"},
        {PeriodChoice::ThisTerm, QDate(2027, 1, 1), QDate(2027, 1, 1), QDate(2027, 3, 31),
         "2026年度 3学期（2027-01-01〜2027-03-31）"},
        {PeriodChoice::ThisTerm, QDate(2027, 3, 31), QDate(2027, 1, 1), QDate(2027, 3, 31),
         "2026年度 3学期（2027-01-01〜2027-03-31）"},
        {PeriodChoice::All, QDate(2027, 1, 1), QDate(), QDate(), "すべて"},
    };
    for (const auto& row : rows) {
        const report::Period period = report::choosePeriod(row.choice, row.today);
        EXPECT_EQ(period.from, row.from) << row.label;
        EXPECT_EQ(period.to, row.to) << row.label;
        EXPECT_EQ(period.label, QString::fromUtf8(row.label));
    }

    // The 2nd term keeps the drills ended from its first to its last minute, and every child.
    records::ClassFolder folder;
    const auto at = [](int year, int month, int day, int hour, int minute) {
        records::KeptDrill drill;
        drill.ended = QDateTime(QDate(year, month, day), QTime(hour, minute));
        return drill;
    };
    folder.learners.push_back(records::Learner{QStringLiteral("1"),
                                               {at(2026, 8, 31, 23, 59), at(2026, 9, 1, 0, 0),
                                                at(2026, 12, 31, 23, 59), at(2027, 1, 1, 0, 0)}});
    folder.learners.push_back(records::Learner{QStringLiteral("2"), {at(2026, 8, 31, 12, 0)}});
    const report::Period term = report::choosePeriod(PeriodChoice::ThisTerm, QDate(2026, 10, 1));
    const records::ClassFolder cut = report::inPeriod(folder, term);
    ASSERT_EQ(cut.learners.size(), 2u);
    ASSERT_EQ(cut.learners[0].drills.size(), 2u);
    EXPECT_EQ(cut.learners[0].drills[0].ended, QDateTime(QDate(2026, 9, 1), QTime(0, 0)));
    EXPECT_EQ(cut.learners[0].drills[1].ended, QDateTime(QDate(2026, 12, 31), QTime(23, 59)));
    EXPECT_TRUE(cut.learners[1].drills.empty());
    // Seen from the term's last day once it is over.
    EXPECT_EQ(term.asOf(QDate(2027, 2, 1)), QDate(2026, 12, 31));
    EXPECT_EQ(term.asOf(QDate(2026, 10, 1)), QDate(2026, 10, 1));

    const report::Period from = report::periodBetween(QDate(2027, 1, 1), QDate());
    EXPECT_EQ(from.label, QStringLiteral("2027-01-01から"));
    EXPECT_EQ(report::inPeriod(folder, from).learners[0].drills.size(), 1u);
    EXPECT_EQ(report::periodBetween(QDate(), QDate(2026, 8, 31)).label,
              QStringLiteral("2026-08-31まで"));
}

// Children 1 and 2 are slowest on ÷7, child 3 answered nothing.
TEST(ClassDivisors, PoolTheClassAndCountEachChildsSlowest) {
    const auto drill = [](std::vector<records::KeptRow> rows) {
        records::KeptDrill made;
        made.rows = std::move(rows);
        return made;
    };
    records::ClassFolder folder;
    folder.learners.push_back(
        {QStringLiteral("1"), {drill({{4, 1, 12, 3}, {7, 0, 15, 3}}), drill({{10, 3, 70, 7}})}});
    folder.learners.push_back({QStringLiteral("2"), {drill({{1, 0, 9, 3}, {2, 0, 14, 7}})}});
    folder.learners.push_back({QStringLiteral("3"), {drill({{0, 2, 0, 0}})}});
    const auto divisors = report::classDivisors(folder);
    EXPECT_EQ(divisors[2].met, 3);
    EXPECT_DOUBLE_EQ(divisors[2].meanSeconds, 4.0);
    EXPECT_EQ(divisors[2].wrongTries, 1);
    EXPECT_EQ(divisors[2].slowestFor, 0);
    EXPECT_EQ(divisors[6].met, 2);
    EXPECT_DOUBLE_EQ(divisors[6].meanSeconds, 6.0);
    EXPECT_EQ(divisors[6].wrongTries, 3);
    EXPECT_EQ(divisors[6].slowestFor, 2);
    EXPECT_EQ(divisors[0].met, 0);
    EXPECT_EQ(divisors[0].slowestFor, 0);

    const report::TableText table = report::classDivisorTable(divisors);
    ASSERT_EQ(table.rows.size(), 9u);
    EXPECT_EQ(table.rows[6], (QStringList{"÷7", "2", "6.0", "3", "1.50", "2"}));
    EXPECT_EQ(table.rows[0], (QStringList{"÷1", "0", "", "0", "", "0"}));
}

}  // namespace
