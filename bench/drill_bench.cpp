// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The drill engine alone: drawing problem 20 with 19 problems solved, with a clock that
// moves and with one that stands still, and the leading-number value of long answer texts.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <set>
#include <string>

#include "conversions.h"
#include "generator.h"
#include "mixing_random.h"

namespace {

class NullView : public drill::DrillView {
public:
    void setLabelCaption(int, const std::u16string&) override {}
    void setLabelForeColor(int, drill::Rgb) override {}
    void setLabelVisible(int, bool) override {}
    std::u16string text1(int) const override { return {}; }
    void setText1(int, const std::u16string&) override {}
    void setText1Focus(int) override {}
    void setCommandEnabled(int, bool) override {}
    void setImage4Visible(bool) override {}
    void unload() override {}
};

// Counts its readings; moves on one and a half seconds each time, or stands still.
class CountingClock : public drill::Clock {
public:
    explicit CountingClock(bool still) : still_(still) {}
    float secondsSinceMidnight() override {
        ++readings;
        if (!still_)
            now_ += 1.5f;
        return now_;
    }
    long readings = 0;

private:
    bool still_;
    float now_ = 36000.0f;
};

// A drill at problem 20 with problems 1 to 19 solved: nineteen different problem texts.
drill::DrillState nineteenSolved(drill::RandomSource& random) {
    drill::DrillState state;
    std::set<std::u16string> seen;
    for (std::int16_t n = 1; n <= 19; ++n) {
        do {
            drill::drawProblem(state, random);
        } while (!seen.insert(drill::problemText(state)).second);
        state.qtext.at(n) = drill::problemText(state);
    }
    state.n = 20;
    return state;
}

// Each draw reads the clock once; more readings than problems drawn means that a drawn
// problem repeated an earlier one and was drawn again. "draws" is the mean number of draws
// per problem, "most" the most any single problem took.
void BM_DrawProblem20(benchmark::State& state) {
    const bool still = state.range(0) == 1;
    drill::MixingRandom random;
    CountingClock clock(still);
    NullView view;
    drill::DrillState drill = nineteenSolved(random);
    long most = 0;
    for (auto _ : state) {
        const long before = clock.readings;
        drill::drawNewProblem(drill, random, clock, view);
        most = std::max(most, clock.readings - before);
        benchmark::DoNotOptimize(drill.a);
    }
    state.counters["draws"] =
        static_cast<double>(clock.readings) / static_cast<double>(state.iterations());
    state.counters["most"] = static_cast<double>(most);
}
BENCHMARK(BM_DrawProblem20)->ArgName("still_clock")->Arg(0)->Arg(1);

// The leading-number value of a text of the given length, in four shapes: digits all the
// way ("7777..."); spaces and line feeds all the way, then "7"; a fraction, "0.3333...";
// and Japanese text after the number ("7こここ..."), where reading stops at once.
std::u16string answerText(int shape, std::size_t length) {
    std::u16string text;
    switch (shape) {
        case 0:
            text.assign(length, u'7');
            break;
        case 1:
            for (std::size_t k = 0; k < length; ++k)
                text.push_back(k % 2 == 0 ? u' ' : u'\n');
            text.back() = u'7';
            break;
        case 2:
            text.assign(length, u'3');
            text[0] = u'0';
            text[1] = u'.';
            break;
        default:
            text.assign(length, u'こ');
            text[0] = u'7';
            break;
    }
    return text;
}

void BM_LeadingNumberValue(benchmark::State& state, int shape) {
    const std::u16string text = answerText(shape, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(drill::leadingNumberValue(text));
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}
// 1 Ki, 64 Ki and 1 Mi characters, with a fit against the length.
void lengths(benchmark::internal::Benchmark* b) {
    b->Arg(1 << 10)->Arg(1 << 16)->Arg(1 << 20)->MinTime(0.2)->Unit(benchmark::kMicrosecond);
}
BENCHMARK_CAPTURE(BM_LeadingNumberValue, digits, 0)->Apply(lengths)->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(BM_LeadingNumberValue, spaces_then_digit, 1)
    ->Apply(lengths)
    ->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(BM_LeadingNumberValue, fraction, 2)->Apply(lengths)->Complexity(benchmark::oN);
// Stops at once, whatever follows: no fit.
BENCHMARK_CAPTURE(BM_LeadingNumberValue, japanese_after_number, 3)->Apply(lengths);

}  // namespace

BENCHMARK_MAIN();
