// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cp932_bytes.h"

#include <array>
#include <cstdint>

#include "cp932_table.h"
#include "utf16_units.h"

namespace records::common {
namespace {

using namespace cp932;
using utf16::isHighSurrogate;
using utf16::isLowSurrogate;

constexpr char kReplacement = '?';

// Linux input methods type these characters in their JIS forms; Windows types, and code
// page 932 holds, the form on the right. glibc's iconv to CP932 writes the same codes.
struct JisForm {
    char16_t typed;
    char16_t written;
};
constexpr JisForm kJisForms[] = {
    {u'\u301C', u'\uFF5E'},  // WAVE DASH: FULLWIDTH TILDE, 0x8160
    {u'\u2016', u'\u2225'},  // DOUBLE VERTICAL LINE: PARALLEL TO, 0x8161
    {u'\u2212', u'\uFF0D'},  // MINUS SIGN: FULLWIDTH HYPHEN-MINUS, 0x817C
    {u'\u00A2', u'\uFFE0'},  // CENT SIGN: FULLWIDTH CENT SIGN, 0x8191
    {u'\u00A3', u'\uFFE1'},  // POUND SIGN: FULLWIDTH POUND SIGN, 0x8192
    {u'\u00AC', u'\uFFE2'},  // NOT SIGN: FULLWIDTH NOT SIGN, 0x81CA
    {u'\u2014', u'\u2015'},  // EM DASH: HORIZONTAL BAR, 0x815C
};

char16_t windowsForm(char16_t unit) {
    for (const JisForm& form : kJisForms) {
        if (form.typed == unit)
            return form.written;
    }
    return unit;
}

char16_t pairCharacter(std::uint8_t lead, std::uint8_t trail) {
    if (isUserDefinedLead(lead))
        return userDefinedCharacter(lead, trail);
    return kPairs[leadIndex(lead)][trailIndex(trail)];
}

// The code of every UTF-16 code unit, made once from the decoding tables (see cp932_table.h).
class EncodeTable {
public:
    EncodeTable() {
        codes_.fill(kNoCode);
        for (unsigned byte = 0x80; byte <= 0xFF; ++byte)
            take(kSingleBytes[byte - 0x80], static_cast<std::uint16_t>(byte));
        for (const bool necCopy : {false, true}) {
            for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
                const auto leadByte = static_cast<std::uint8_t>(lead);
                if (!isLeadByte(leadByte) || (lead == 0xED || lead == 0xEE) != necCopy)
                    continue;
                for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                    const auto trailByte = static_cast<std::uint8_t>(trail);
                    if (isTrailByte(trailByte))
                        take(pairCharacter(leadByte, trailByte),
                             static_cast<std::uint16_t>(lead << 8 | trail));
                }
            }
        }
        for (const EncodeException& exception : kEncodeExceptions)
            codes_[exception.unit] = exception.code;
    }

    std::uint16_t codeOf(char16_t unit) const { return codes_[unit]; }

private:
    void take(char16_t unit, std::uint16_t code) {
        if (unit != kNoCharacter && codes_[unit] == kNoCode)
            codes_[unit] = code;
    }

    std::array<std::uint16_t, 0x10000> codes_;
};

const EncodeTable& encodeTable() {
    static const EncodeTable table;
    return table;
}

}  // namespace

std::string encodeCp932(std::u16string_view text) {
    const EncodeTable& table = encodeTable();
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char16_t unit = text[k];
        // ASCII is the same in the code page. ICU's IBM table would swap 0x1A, 0x1C and 0x7F.
        if (unit < 0x80) {
            bytes += static_cast<char>(unit);
            continue;
        }
        if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            if (isHighSurrogate(unit) && k + 1 < text.size() && isLowSurrogate(text[k + 1]))
                ++k;  // one character outside the BMP: none of them is in the code page
            bytes += kReplacement;
            continue;
        }
        const std::uint16_t code = table.codeOf(windowsForm(unit));
        if (code == kNoCode) {
            bytes += kReplacement;
        } else if (code < 0x100) {
            bytes += static_cast<char>(code);
        } else {
            bytes += static_cast<char>(code >> 8);
            bytes += static_cast<char>(code & 0xFF);
        }
    }
    return bytes;
}

std::optional<std::u16string> decodeCp932(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());  // never more characters than bytes
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        const auto first = static_cast<std::uint8_t>(bytes[k]);
        // ASCII is the same in the code page (see encodeCp932).
        if (first < 0x80) {
            text += static_cast<char16_t>(first);
            continue;
        }
        char16_t character = kNoCharacter;
        if (!isLeadByte(first)) {
            character = kSingleBytes[first - 0x80];
        } else if (k + 1 < bytes.size()) {
            const auto trail = static_cast<std::uint8_t>(bytes[++k]);
            if (isTrailByte(trail))
                character = pairCharacter(first, trail);
        }
        if (character == kNoCharacter)
            return std::nullopt;
        text += character;
    }
    return text;
}

}  // namespace records::common
