// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results_filler.h"

#include <cstddef>

#include "conversions.h"

namespace records {
namespace {

constexpr std::u16string_view kTimePattern = u"0.0";

std::size_t row(const drill::DrillState& state) {
    return static_cast<std::size_t>(state.i);
}

}  // namespace

std::u16string resultsTimeText(float seconds) {
    // The "0.0" text is always a plain decimal numeral, so reading its leading number reads
    // all of it.
    return drill::numberText(
        drill::leadingNumberValue(drill::patternFormat(seconds, kTimePattern)));
}

void fillResults(drill::DrillState& state, drill::ResultsLabels& labels) {
    for (state.i = 1; state.i <= drill::kProblemCount; drill::checkedIncrement(state.i)) {
        const std::u16string& text = state.qtext.at(row(state));
        labels.setM(state.i, drill::textEquals(text, u"") ? std::u16string() : text);
    }
    for (state.i = 1; state.i <= drill::kProblemCount; drill::checkedIncrement(state.i)) {
        const float seconds = state.qtime.at(row(state));
        labels.setTt(state.i, seconds != 0 ? resultsTimeText(seconds) : std::u16string());
    }
    for (state.i = 1; state.i <= drill::kProblemCount; drill::checkedIncrement(state.i)) {
        const bool timed = state.qtime.at(row(state)) != 0;
        labels.setGotou(state.i,
                        timed ? drill::numberText(state.qmiss.at(row(state))) : std::u16string());
    }
    labels.setLabid(state.myid);
    labels.setLabdate(state.mydate);
}

}  // namespace records
