// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The division problems: drawing, showing, and the problem text that keys them.

#include <string>

#include "drill_state.h"
#include "ports.h"

namespace drill {

// Sets a, b and c from two fractions of the random source; exchanges a and c through t
// when the divisor came out larger. Does not reseed.
void drawProblem(DrillState& state, RandomSource& random);

// Puts a, b and c into Label(0)..Label(2).
void showProblem(const DrillState& state, DrillView& view);

// Number text of a, then b, then number text of c: " 45÷ 6".
std::u16string problemText(const DrillState& state);

// For problem n (2..20): reseeds from the clock and draws until the problem differs from
// qtext(1)..qtext(n - 1), then shows it.
void drawNewProblem(DrillState& state, RandomSource& random, Clock& clock, DrillView& view);

}  // namespace drill
