// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Text to the bytes of code page 932, the Japanese Shift_JIS of the history file, and back:
// the program's own table of cp932_bytes.h as Qt's types.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <string_view>

namespace records {

// Whether the code page can be used: always, since its table is the program's own.
bool cp932Available();

// The code page 932 bytes of the text. The JIS forms that Linux input methods type (such as
// U+301C WAVE DASH) are written as the characters that Windows has in their place (U+FF5E,
// 0x8160). Every other character that the code page cannot hold becomes one "?": a character
// outside the code page, a surrogate pair (one "?" for the pair) and a lone surrogate.
// U+0000..U+007F are written as the same single byte.
QByteArray toCp932(std::u16string_view text);

// The text of code page 932 bytes; the inverse of toCp932 for every text that it writes.
// Bytes below 0x80 are the same character. nullopt when a byte or a pair of bytes is not a
// character of the code page.
std::optional<QString> fromCp932(QByteArrayView bytes);

}  // namespace records
