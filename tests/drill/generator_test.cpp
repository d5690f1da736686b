// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Drawing problems: the exchange, the repeat check, and the spread of the problems.

#include "generator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "mixing_random.h"
#include "recording_fakes.h"

using namespace drill;

namespace {

// A fraction that draws `value` from 1..range.
double fractionFor(int value, int range) {
    return (value - 1 + 0.5) / range;
}

void queueProblem(fakes::Random& random, int dividendDraw, int divisorDraw) {
    random.queued.push_back(fractionFor(dividendDraw, 99));
    random.queued.push_back(fractionFor(divisorDraw, 9));
}

}  // namespace

TEST(DrawProblem, ExchangesASmallerDividendThroughT) {
    fakes::Rig rig;
    DrillState s;
    queueProblem(rig.random, 3, 7);
    drawProblem(s, rig.random);
    EXPECT_EQ(s.a, 7);
    EXPECT_EQ(s.c, 3);
    EXPECT_EQ(s.t, 3);
    EXPECT_EQ(s.b, u"÷");
    EXPECT_EQ(problemText(s), u" 7÷ 3");
    EXPECT_EQ(rig.random.reseeds, 0);
}

TEST(DrawProblem, EqualValuesStayAndExtremesStayInRange) {
    fakes::Rig rig;
    DrillState s;
    queueProblem(rig.random, 5, 5);
    drawProblem(s, rig.random);
    EXPECT_EQ(problemText(s), u" 5÷ 5");
    EXPECT_EQ(s.t, 0);

    rig.random.queued = {0.0, 0.0};
    drawProblem(s, rig.random);
    EXPECT_EQ(problemText(s), u" 1÷ 1");

    rig.random.queued = {0.9999999999, 0.9999999999};
    drawProblem(s, rig.random);
    EXPECT_EQ(problemText(s), u" 99÷ 9");
}

TEST(ProblemText, NumberTextOfBothSides) {
    DrillState s;
    s.b = u"÷";
    s.a = 45, s.c = 6;
    EXPECT_EQ(problemText(s), u" 45÷ 6");
    s.a = 5, s.c = 5;
    EXPECT_EQ(problemText(s).size(), 5u);
    s.a = 45, s.c = 1;
    EXPECT_EQ(problemText(s), u" 45÷ 1");
}

TEST(ShowProblem, PlainDigitsInTheThreeLabelsInOrder) {
    fakes::Rig rig;
    DrillState s;
    s.a = 45, s.b = u"÷", s.c = 6;
    showProblem(s, rig.view);
    EXPECT_EQ(rig.log,
              (fakes::Log{"Label(0).Caption=45", "Label(1).Caption=÷", "Label(2).Caption=6"}));
}

TEST(AllDraws, ReachExactly855ProblemsWithTheExchangeDoublingSmallOnes) {
    // Every pair of the 99 × 9 equally likely draws, once.
    std::map<std::u16string, int> ways;
    for (int dividend = 1; dividend <= 99; ++dividend) {
        for (int divisor = 1; divisor <= 9; ++divisor) {
            fakes::Rig rig;
            DrillState s;
            queueProblem(rig.random, dividend, divisor);
            drawProblem(s, rig.random);
            ASSERT_GE(s.a, s.c);
            ++ways[problemText(s)];
        }
    }
    EXPECT_EQ(ways.size(), 855u);
    EXPECT_EQ(ways[u" 7÷ 3"], 2);
    EXPECT_EQ(ways[u" 9÷ 8"], 2);
    EXPECT_EQ(ways[u" 5÷ 5"], 1);
    EXPECT_EQ(ways[u" 10÷ 9"], 1);
    EXPECT_EQ(ways[u" 45÷ 6"], 1);
    int doubled = 0;
    for (const auto& [text, count] : ways)
        doubled += count == 2;
    EXPECT_EQ(doubled, 36);  // dividend 2..9 over a smaller divisor
}

TEST(AllDraws, TheRealSourceGivesTwoAndOneIn891) {
    MixingRandom random(20261207);
    DrillState s;
    constexpr int kDraws = 891 * 2000;
    std::map<std::u16string, int> counts;
    for (int k = 0; k < kDraws; ++k) {
        drawProblem(s, random);
        ++counts[problemText(s)];
    }
    ASSERT_EQ(counts.size(), 855u);
    // Each count is binomial; six standard deviations keep a fixed seed far from the edge.
    for (const auto& [text, count] : counts) {
        const bool small = text.size() == 5 && text[1] != text[4];
        const double expected = small ? 4000.0 : 2000.0;
        EXPECT_NEAR(count, expected, 6.0 * std::sqrt(expected)) << fakes::utf8(text);
    }
}

TEST(MixingRandomSource, FractionsInRangeAndReseedsNeverRestart) {
    MixingRandom random;
    random.reseed(1234.5f);
    const double first = random.next();
    random.reseed(1234.5f);
    EXPECT_NE(random.next(), first);
    for (int k = 0; k < 100000; ++k) {
        const double f = random.next();
        ASSERT_GE(f, 0.0);
        ASSERT_LT(f, 1.0);
    }
    MixingRandom a(7), b(7);
    a.reseed(3.0f), b.reseed(3.0f);
    EXPECT_EQ(a.next(), b.next());  // the same history gives the same fractions
}

TEST(DrawNewProblem, RejectsSolvedProblemsWithAFreshReseedEachTime) {
    fakes::Rig rig;
    DrillState s;
    s.n = 3;
    s.qtext[1] = u" 45÷ 6";
    s.qtext[2] = u" 7÷ 3";
    queueProblem(rig.random, 45, 6);
    queueProblem(rig.random, 3, 7);  // exchanged into 7 ÷ 3, also solved
    queueProblem(rig.random, 12, 4);
    drawNewProblem(s, rig.random, rig.clock, rig.view);

    EXPECT_EQ(problemText(s), u" 12÷ 4");
    EXPECT_EQ(rig.log,
              (fakes::Log{"Clock", "Randomize", "Rnd", "Rnd",  //
                          "Clock", "Randomize", "Rnd", "Rnd",  //
                          "Clock", "Randomize", "Rnd", "Rnd",  //
                          "Label(0).Caption=12", "Label(1).Caption=÷", "Label(2).Caption=4"}));
}

TEST(DrawNewProblem, ComparesTheWholeTextAndOnlyRowsBeforeN) {
    fakes::Rig rig;
    DrillState s;
    s.n = 2;
    s.qtext[1] = u" 45÷ 6";
    s.qtext[2] = u" 46÷ 5";  // row n itself is never compared
    queueProblem(rig.random, 46, 5);
    drawNewProblem(s, rig.random, rig.clock, rig.view);
    EXPECT_EQ(problemText(s), u" 46÷ 5");
    EXPECT_EQ(rig.random.reseeds, 1);

    s.n = 2;
    s.qtext[1] = u" 5÷ 5";
    queueProblem(rig.random, 55, 5);
    drawNewProblem(s, rig.random, rig.clock, rig.view);
    EXPECT_EQ(problemText(s), u" 55÷ 5");
}

TEST(DrawNewProblem, AStoppedClockDoesNotTrapARejectedDraw) {
    // With the clock standing still, every reseed gets the same reading; the draw must still
    // move on to a new problem instead of repeating the rejected one.
    fakes::Log log;
    fakes::Clock clock(log);
    fakes::View view(log);
    MixingRandom random;
    DrillState s;
    for (s.n = 1; s.n <= 20; ++s.n) {
        if (s.n == 1) {
            random.reseed(clock.secondsSinceMidnight());
            drawProblem(s, random);
        } else {
            drawNewProblem(s, random, clock, view);
        }
        s.qtext[s.n] = problemText(s);
    }
    std::set<std::u16string> distinct(s.qtext.begin() + 1, s.qtext.end());
    EXPECT_EQ(distinct.size(), 20u);
}
