// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The cues of a drill in the order a learner would press them, for the recorded cue tests and
// the cue benchmarks of both programs.

#include <cstddef>
#include <vector>

namespace cue_order {

enum Cue { Right, Wrong, Next, End };

// Wrong answers now and then, each right answer followed by the next button, and now and
// then the end button answered No.
inline std::vector<Cue> drillCues(int count) {
    std::vector<Cue> cues;
    for (int problem = 0; static_cast<int>(cues.size()) < count; ++problem) {
        for (int wrong = 0; wrong < (problem % 4 == 1) + (problem % 7 == 3); ++wrong)
            cues.push_back(Wrong);
        cues.push_back(Right);
        if (problem % 6 == 5)
            cues.push_back(End);
        cues.push_back(Next);
    }
    cues.resize(static_cast<std::size_t>(count));
    return cues;
}

}  // namespace cue_order
