// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The number at the start of typed text.

#include <cmath>

#include "conversions.h"
#include "fuzz_input.h"

namespace {

std::u16string fullWidth(std::u16string text) {
    for (char16_t& unit : text) {
        if (unit >= u'0' && unit <= u'9')
            unit = static_cast<char16_t>(u'０' + (unit - u'0'));
        if (unit == u'-')
            unit = u'－';
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in{data, size};
    const auto value = in.take<std::int16_t>();
    const std::u16string rest = in.text();

    // Any text gives a number, never NaN.
    FUZZ_CHECK(!std::isnan(drill::leadingNumberValue(rest)));

    // The digits of any 16-bit integer read back as that integer, half- or full-width, with
    // spaces anywhere and whatever non-number text follows.
    const std::u16string digits = drill::plainIntegerText(value);
    FUZZ_CHECK(drill::leadingNumberValue(digits) == value);
    FUZZ_CHECK(drill::leadingNumberValue(fullWidth(digits)) == value);
    FUZZ_CHECK(drill::leadingNumberValue(drill::numberText(value)) == value);
    std::u16string spaced;
    for (char16_t unit : digits)
        spaced += std::u16string(u" \t\n") + unit;
    FUZZ_CHECK(drill::leadingNumberValue(spaced) == value);
    if (!rest.empty() && rest[0] != u' ' && rest[0] != u'\t' && rest[0] != u'\n' &&
        drill::leadingNumberValue(rest.substr(0, 1) + u"1") == 0) {
        FUZZ_CHECK(drill::leadingNumberValue(digits + rest) == value);
    }
    return 0;
}
