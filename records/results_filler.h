// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The filling of the results window at the end of the drill.

#include <string>

#include "drill_state.h"
#include "ports.h"

namespace records {

// The time caption of a results row: the time rounded to tenths under "0.0", read back as
// a number and written as number text: " 12.3" for 12.34, " 12" for 12.04, "-5.5".
std::u16string resultsTimeText(float seconds);

// Three passes over rows 1..20, counted with state.i: every m, then every tt, then every
// gotou; then labid and labdate. A row with a zero time shows no time and no count.
void fillResults(drill::DrillState& state, drill::ResultsLabels& labels);

}  // namespace records
