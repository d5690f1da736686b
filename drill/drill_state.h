// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The variables of one drill. Every number starts at 0 and every text empty.

#include <array>
#include <cstdint>
#include <string>

namespace drill {

inline constexpr int kProblemCount = 20;
inline constexpr int kRowCount = kProblemCount + 1;  // index 0 is never used

struct DrillState {
    std::int16_t a = 0;        // dividend on screen, 1..99
    std::u16string b;          // operator on screen: "÷" from the first draw on
    std::int16_t c = 0;        // divisor on screen, 1..9, never above a
    std::int16_t t = 0;        // scratch for exchanging a and c
    std::int16_t n = 0;        // current problem, 1..20; 21 once the twentieth is passed
    std::int16_t i = 0;        // loop counter
    std::int16_t lastnum = 0;  // number of rows the end of the drill records
    float mytime = 0;          // clock reading at the start of the current problem
    std::u16string mydate;     // date as typed
    std::u16string myid;       // ID as typed
    std::array<std::u16string, kRowCount> qtext{};  // problem texts, set at a right answer
    std::array<float, kRowCount> qtime{};           // seconds to the right answer
    std::array<std::int16_t, kRowCount> qmiss{};    // wrong answers
};

}  // namespace drill
