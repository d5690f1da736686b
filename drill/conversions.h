// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The rules by which the drill turns numbers into text and text into numbers.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace drill {

// Raised by a checked conversion or step that leaves the 16-bit range.
class OverflowError : public std::overflow_error {
public:
    OverflowError() : std::overflow_error("overflow") {}
};

// " 45", "-3", " 0": a space in front of a value that is zero or positive.
std::u16string numberText(std::int16_t value);
// " 12.3", " 12", " 0.5", "-5.5": shortest decimal form, no trailing zeros.
std::u16string numberText(double value);

// "45", "-3", "0": the digits with no leading space.
std::u16string plainIntegerText(std::int16_t value);

// The number at the start of the text, after spaces, tabs and line feeds are removed.
// Full-width digits, point, signs and space count as their half-width forms. No number
// gives 0.
double leadingNumberValue(std::u16string_view text);

// The value rounded to tenths (halves away from zero), written under a pattern such as
// "#####.#" or "0.0".
std::u16string patternFormat(float value, std::u16string_view pattern);

double floorValue(double value);

// Rounds halves to even; raises OverflowError outside -32768..32767.
std::int16_t toInt16(double value);

// One higher, or OverflowError with the variable left at 32767.
void checkedIncrement(std::int16_t& variable);
// One lower, or OverflowError with the variable left at -32768.
void checkedDecrement(std::int16_t& variable);
// One higher, but never above 32767.
void saturatingIncrement(std::int16_t& variable);

// Same length, same code units in the same order.
bool textEquals(std::u16string_view left, std::u16string_view right);

}  // namespace drill
