// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The table of code page 932 in cp932_table.cpp, which make_cp932_table writes from Qt's
// "windows-31j" converter (ICU) on Debian. Bytes below 0x80 are not in it: they are ASCII.
//
// The encoder writes each character with the first code that decodes to it, the codes taken
// in order except that lead bytes 0xED and 0xEE (NEC's copy of IBM's extensions, which
// Windows reads but never writes) come last; kEncodeExceptions holds the characters that are
// written otherwise, or not at all.

#include <cstddef>
#include <cstdint>
#include <span>

namespace records::common::cp932 {

// In the decoding tables: no character has this code.
inline constexpr char16_t kNoCharacter = 0;
// A code: the single byte below 0x100, else lead byte * 256 + trail byte.
inline constexpr std::uint16_t kNoCode = 0xFFFF;

inline constexpr std::size_t kLeadCount = 60;    // 0x81..0x9F and 0xE0..0xFC
inline constexpr std::size_t kTrailCount = 188;  // 0x40..0xFC without 0x7F

constexpr bool isLeadByte(std::uint8_t byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

constexpr bool isTrailByte(std::uint8_t byte) {
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

constexpr std::size_t leadIndex(std::uint8_t lead) {
    return lead <= 0x9F ? lead - 0x81u : lead - 0xE0u + 31u;
}

constexpr std::size_t trailIndex(std::uint8_t trail) {
    return trail < 0x7F ? trail - 0x40u : trail - 0x41u;
}

// The character of each byte 0x80..0xFF at index byte - 0x80; kNoCharacter for lead bytes.
// One more element for the string literal's terminating zero.
extern const char16_t kSingleBytes[0x80 + 1];

// The user-defined area, lead bytes 0xF0..0xF9: U+E000..U+E757 in the order of the codes.
constexpr bool isUserDefinedLead(std::uint8_t lead) {
    return lead >= 0xF0 && lead <= 0xF9;
}

constexpr char16_t userDefinedCharacter(std::uint8_t lead, std::uint8_t trail) {
    return static_cast<char16_t>(0xE000 + (lead - 0xF0) * kTrailCount + trailIndex(trail));
}

// The character of each lead and trail byte at [leadIndex(lead)][trailIndex(trail)]; the rows
// of the user-defined area are empty.
extern const char16_t kPairs[kLeadCount][kTrailCount + 1];

struct EncodeException {
    char16_t unit;
    std::uint16_t code;  // kNoCode: not written
};

// Sorted by unit.
extern const std::span<const EncodeException> kEncodeExceptions;

}  // namespace records::common::cp932
