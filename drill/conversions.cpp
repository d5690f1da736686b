// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "conversions.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace drill {
namespace {

std::u16string fromAscii(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

// Half-width form of a character that can be part of a typed number, or 0.
char numberCharacter(char16_t unit) {
    if (unit >= u'0' && unit <= u'9')
        return static_cast<char>(unit);
    if (unit >= u'０' && unit <= u'９')
        return static_cast<char>('0' + (unit - u'０'));
    switch (unit) {
        case u'.':
        case u'．':
            return '.';
        case u'+':
        case u'＋':
            return '+';
        case u'-':
        case u'－':
            return '-';
        default:
            return 0;
    }
}

// The full-width space is what a Japanese input method types for the space bar.
bool isRemovedSpace(char16_t unit) {
    return unit == u' ' || unit == u'\t' || unit == u'\n' || unit == u'\u3000';
}

// Digits beyond these limits cannot change a double: more integer digits overflow to
// infinity, and fraction digits past the longest exact binary expansion never round.
constexpr std::size_t kMaxIntegerDigits = 400;
constexpr std::size_t kMaxFractionDigits = 1100;

}  // namespace

std::u16string numberText(std::int16_t value) {
    std::u16string text = value < 0 ? u"" : u" ";
    text += plainIntegerText(value);
    return text;
}

std::u16string numberText(double value) {
    char buffer[512];
    if (std::isfinite(value) && std::fabs(value) >= 1e15) {
        std::snprintf(buffer, sizeof buffer, "%.0f", value);
    } else {
        std::snprintf(buffer, sizeof buffer, "%.15g", value);
    }
    std::string text = buffer;
    if (text == "-0")
        text = "0";
    if (text.front() != '-')
        text.insert(text.begin(), ' ');
    return fromAscii(text);
}

std::u16string plainIntegerText(std::int16_t value) {
    return fromAscii(std::to_string(value));
}

double leadingNumberValue(std::u16string_view text) {
    std::string number = "0";  // integer digits, point, fraction digits; the 0 is harmless
    bool negative = false;
    bool signSeen = false, pointSeen = false, digitSeen = false;
    std::size_t integerDigits = 0, fractionDigits = 0;
    for (char16_t unit : text) {
        if (isRemovedSpace(unit))
            continue;
        const char ch = numberCharacter(unit);
        if (ch == '+' || ch == '-') {
            if (signSeen || digitSeen || pointSeen)
                break;
            signSeen = true;
            negative = ch == '-';
        } else if (ch == '.') {
            if (pointSeen)
                break;
            pointSeen = true;
            number += '.';
        } else if (ch != 0) {
            digitSeen = true;
            if (pointSeen) {
                if (++fractionDigits <= kMaxFractionDigits)
                    number += ch;
            } else if (integerDigits > 0 || ch != '0') {
                if (++integerDigits <= kMaxIntegerDigits)
                    number += ch;
            }
        } else {
            break;
        }
    }
    if (!digitSeen)
        return 0.0;
    const double magnitude = integerDigits > kMaxIntegerDigits
                                 ? std::numeric_limits<double>::infinity()
                                 : std::strtod(number.c_str(), nullptr);
    return negative ? -magnitude : magnitude;
}

std::u16string patternFormat(float value, std::u16string_view pattern) {
    const auto point = pattern.find(u'.');
    const auto integerPattern = pattern.substr(0, point);
    const auto fractionPattern =
        point == std::u16string_view::npos ? std::u16string_view{} : pattern.substr(point + 1);
    const bool integerZeroShown = integerPattern.find(u'0') != std::u16string_view::npos;
    const bool tenthsZeroShown = !fractionPattern.empty() && fractionPattern.front() == u'0';

    // value * 10 is exact in double for every float, so the rounding has no double error.
    const double tenths = fractionPattern.empty() ? std::round(static_cast<double>(value)) * 10.0
                                                  : std::round(static_cast<double>(value) * 10.0);
    const double magnitude = std::fabs(tenths);
    const double integerPart = std::floor(magnitude / 10.0);
    const int tenthsDigit =
        std::isfinite(magnitude) ? static_cast<int>(std::fmod(magnitude, 10.0)) : 0;

    std::string out;
    if (tenths < 0)
        out += '-';
    if (integerPart != 0 || !std::isfinite(integerPart)) {
        char buffer[512];
        std::snprintf(buffer, sizeof buffer, "%.0f", integerPart);
        out += buffer;
    } else if (integerZeroShown) {
        out += '0';
    }
    if (point != std::u16string_view::npos)
        out += '.';
    if (!fractionPattern.empty() && (tenthsDigit != 0 || tenthsZeroShown)) {
        out += static_cast<char>('0' + tenthsDigit);
    }
    return fromAscii(out);
}

double floorValue(double value) {
    return std::floor(value);
}

std::int16_t toInt16(double value) {
    const double whole = std::nearbyint(value);  // the default rounding: halves to even
    if (!(whole >= -32768.0 && whole <= 32767.0))
        throw OverflowError();
    return static_cast<std::int16_t>(whole);
}

void checkedIncrement(std::int16_t& variable) {
    if (variable == std::numeric_limits<std::int16_t>::max())
        throw OverflowError();
    ++variable;
}

void checkedDecrement(std::int16_t& variable) {
    if (variable == std::numeric_limits<std::int16_t>::min())
        throw OverflowError();
    --variable;
}

void saturatingIncrement(std::int16_t& variable) {
    if (variable < std::numeric_limits<std::int16_t>::max())
        ++variable;
}

bool textEquals(std::u16string_view left, std::u16string_view right) {
    return left == right;
}

}  // namespace drill
