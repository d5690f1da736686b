// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Code page 932, the Japanese Shift_JIS of the history file, from a table of the program's
// own, so that both the Debian and the Windows program write the same bytes for the same text
// whatever converter the system has.

#include <optional>
#include <string>
#include <string_view>

namespace records::common {

// The code page 932 bytes of the text. The JIS forms that Linux input methods type (such as
// U+301C WAVE DASH) are written as the characters that Windows has in their place (U+FF5E,
// 0x8160). Every other character that the code page cannot hold becomes one "?": a character
// outside the code page, a surrogate pair (one "?" for the pair) and a lone surrogate.
// U+0000..U+007F are written as the same single byte.
std::string encodeCp932(std::u16string_view text);

// The text of code page 932 bytes; the inverse of encodeCp932 for every text that it writes.
// Bytes below 0x80 are the same character. nullopt when a byte or a pair of bytes is not a
// character of the code page.
std::optional<std::u16string> decodeCp932(std::string_view bytes);

}  // namespace records::common
