// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Number text of integers and of the read-back times of the results window.

#include <cmath>

#include "conversions.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in{data, size};
    const auto integer = in.take<std::int16_t>();
    const auto time = in.take<float>();

    const std::u16string text = drill::numberText(integer);
    FUZZ_CHECK(text[0] == (integer < 0 ? u'-' : u' '));
    FUZZ_CHECK(text.substr(integer < 0 ? 0 : 1) == drill::plainIntegerText(integer));
    FUZZ_CHECK(drill::leadingNumberValue(text) == integer);

    if (std::isfinite(time) && std::fabs(time) < 1e9f) {
        // What the results window shows for a time: tenths, without a trailing ".0".
        const double tenths = drill::leadingNumberValue(drill::patternFormat(time, u"0.0"));
        const std::u16string shown = drill::numberText(tenths);
        FUZZ_CHECK(shown[0] == (tenths < 0 ? u'-' : u' '));
        FUZZ_CHECK(drill::leadingNumberValue(shown) == tenths);
        FUZZ_CHECK(shown.size() < 2 || shown.substr(shown.size() - 2) != u".0");
    }
    return 0;
}
