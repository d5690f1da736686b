// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Thousands of simulated drills with random learners; the drill's invariants are checked after
// every step. The seed is fixed, so a failure repeats.

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "conversions.h"
#include "recording_fakes.h"

namespace {

using drill::DrillState;

void checkInvariants(const fakes::Rig& rig) {
    const DrillState& s = rig.drill.state();
    ASSERT_GE(s.n, 1);
    ASSERT_LE(s.n, 21);
    ASSERT_GE(s.a, s.c);
    ASSERT_GE(s.c, 1);
    ASSERT_LE(s.c, 9);
    ASSERT_LE(s.a, 99);
    ASSERT_TRUE(s.qtext[0].empty());
    ASSERT_EQ(s.qmiss[0], 0);

    std::set<std::u16string> solved;
    for (int k = 1; k <= 20; ++k) {
        if (k < s.n) {
            ASSERT_FALSE(s.qtext[k].empty()) << k;
            ASSERT_GT(s.qtime[k], 0.0f) << k;
            solved.insert(s.qtext[k]);
        } else if (k > s.n) {
            ASSERT_TRUE(s.qtext[k].empty()) << k;
            ASSERT_EQ(s.qtime[k], 0.0f) << k;
            ASSERT_EQ(s.qmiss[k], 0) << k;
        }
    }
    ASSERT_EQ(solved.size(), static_cast<std::size_t>(std::min<int>(s.n - 1, 20)));

    // The buttons as the drill's state says.
    const bool finished = s.n == 21;
    const bool solvedNow = !finished && !s.qtext[s.n].empty();
    ASSERT_EQ(rig.view.enabled[1], !finished && !solvedNow);
    ASSERT_EQ(rig.view.enabled[2], solvedNow);
    ASSERT_FALSE(rig.view.labelVisible[4] && rig.view.image4Visible);
    if (!finished) {
        ASSERT_EQ(fakes::utf8(rig.view.caption[0]), std::to_string(s.a));
        ASSERT_EQ(fakes::utf8(rig.view.caption[2]), std::to_string(s.c));
        ASSERT_EQ(rig.view.caption[5], u"［もんだい" + drill::numberText(s.n) + u"］");
    }
}

}  // namespace

TEST(Soak, TenThousandRandomDrillsKeepEveryInvariant) {
    std::mt19937 dice(20261207);
    const std::vector<std::string> junk = {
        "", " ", "7こ", "１", "-0", ".5", "1e3", "\xF0\x9F\x90\xB8", "+", "99999999999999999999"};
    int drills = 0, steps = 0, ended = 0, completed = 0, declined = 0;
    for (; drills < 10000; ++drills) {
        fakes::Rig rig;
        rig.clock.now = std::uniform_real_distribution<float>(0.0f, 86399.0f)(dice);
        rig.clock.stepPerRead = 0.25f;
        rig.dialogs.inputs = {u"８／１", drills % 3 ? u"7" : u""};
        rig.drill.startUp();
        ASSERT_NO_FATAL_FAILURE(checkInvariants(rig));
        while (!rig.view.unloaded) {
            ++steps;
            const int roll = std::uniform_int_distribution<int>(0, 99)(dice);
            if (roll < 45) {
                if (rig.view.enabled[1])
                    rig.answerRight();
            } else if (roll < 70) {
                if (rig.view.enabled[1])
                    rig.answerWrong();
            } else if (roll < 80) {
                rig.view.type(roll % 2, junk[roll % junk.size()]);
                if (rig.view.enabled[1])
                    rig.drill.answerClicked();
            } else if (roll < 97) {
                if (rig.view.enabled[2])
                    rig.drill.nextClicked();
            } else {
                rig.dialogs.answers = {roll == 99};
                declined += roll != 99 && rig.drill.state().n <= 20;
                rig.drill.endClicked();
            }
            if (rig.view.unloaded)
                break;
            ASSERT_NO_FATAL_FAILURE(checkInvariants(rig))
                << "drill " << drills << " step " << steps;
            // The clock keeps running; now and then it passes midnight.
            if (rig.clock.now > 86400.0f)
                rig.clock.now -= 86400.0f;
        }
        const DrillState& s = rig.drill.state();
        ASSERT_EQ(s.lastnum, s.n == 21 ? 20 : s.n);
        ASSERT_EQ(rig.records.written.size(), s.myid.empty() ? 0u : 1u);
        ASSERT_TRUE(rig.results.shown);
        ++ended;
        completed += s.n == 21;
    }
    EXPECT_EQ(ended, 10000);
    EXPECT_GT(completed, 100);  // the random learners also finish whole drills
    EXPECT_GT(declined, 1000);  // and say No to the end question
    std::printf("soak: %d drills, %d steps, %d complete, %d times No\n", drills, steps, completed,
                declined);
}
