// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Times written under "#####.#" and "0.0".

#include <algorithm>
#include <cmath>

#include "conversions.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in{data, size};
    const auto value = in.take<float>();
    for (std::u16string_view pattern : {u"#####.#", u"0.0"}) {
        const std::u16string text = drill::patternFormat(value, pattern);
        FUZZ_CHECK(std::count(text.begin(), text.end(), u'.') == 1);
        if (!std::isfinite(value))
            continue;
        FUZZ_CHECK(std::all_of(text.begin(), text.end(), [](char16_t unit) {
            return (unit >= u'0' && unit <= u'9') || unit == u'.' || unit == u'-';
        }));
        // The text is the value to the nearest tenth.
        const double back = drill::leadingNumberValue(text);
        FUZZ_CHECK(std::fabs(back - value) <= 0.05 + std::fabs(value) * 1e-6);
        FUZZ_CHECK(text.find(u'-') == std::u16string::npos || (text[0] == u'-' && back < 0));
    }
    return 0;
}
