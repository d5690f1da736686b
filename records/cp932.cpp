// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cp932.h"

#include <QChar>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringView>
#include <array>
#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace records {
namespace {

constexpr const char* kCodePageName = "windows-31j";
constexpr char kReplacement = '?';
// No code of the code page has this value: lead bytes end at 0xFC.
constexpr std::uint16_t kNoCode = 0xFFFF;

// The code of one character: a single byte below 0x100, otherwise lead byte * 256 + trail
// byte. A character counts as held only when it is encoded without error and decodes back
// to itself; ICU's substitute (0xFC 0xFC) and one-way fallbacks both fail that test.
std::uint16_t lookUpCode(char16_t unit) {
    const QChar character(unit);
    QStringEncoder encoder(kCodePageName);
    const QByteArray bytes = encoder.encode(QStringView(&character, 1));
    if (!encoder.isValid() || encoder.hasError() || bytes.isEmpty() || bytes.size() > 2)
        return kNoCode;
    QStringDecoder decoder(kCodePageName);
    const QString back = decoder.decode(bytes);
    if (!decoder.isValid() || decoder.hasError() || back.size() != 1 || back.at(0) != character)
        return kNoCode;
    const auto lead = static_cast<std::uint8_t>(bytes.at(0));
    if (bytes.size() == 1)
        return lead;
    return static_cast<std::uint16_t>(lead << 8 | static_cast<std::uint8_t>(bytes.at(1)));
}

// ICU's converter keeps an error once it had one, so every character gets fresh converters;
// the answers are kept, since a drill meets only a few dozen different characters.
std::uint16_t codeOf(char16_t unit) {
    static std::mutex mutex;
    static std::unordered_map<char16_t, std::uint16_t> codes;
    const std::lock_guard lock(mutex);
    const auto found = codes.find(unit);
    if (found != codes.end())
        return found->second;
    const std::uint16_t code = lookUpCode(unit);
    codes.emplace(unit, code);
    return code;
}

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

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

bool isLeadByte(std::uint8_t byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool isTrailByte(std::uint8_t byte) {
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

// No character: U+FFFF is not a character of the code page.
constexpr char16_t kNoCharacter = 0xFFFF;

// The character of one code (one byte, or a lead and a trail byte), or kNoCharacter.
char16_t lookUpCharacter(const QByteArray& code) {
    QStringDecoder decoder(kCodePageName);
    const QString text = decoder.decode(code);
    if (!decoder.isValid() || decoder.hasError() || text.size() != 1)
        return kNoCharacter;
    return text.at(0).unicode();
}

// The characters of the codes that start with one byte: index 0 for the single byte itself,
// index trail for a lead byte and that trail byte. Each table is filled at its first use,
// since a history file meets only a few lead bytes; reading on many threads is safe.
class CodeTable {
public:
    const std::array<char16_t, 256>& forByte(std::uint8_t first) {
        std::call_once(filled_[first], [&] { fill(first); });
        return tables_[first];
    }

private:
    void fill(std::uint8_t first) {
        auto& table = tables_[first];
        table.fill(kNoCharacter);
        if (!isLeadByte(first)) {
            table[0] = lookUpCharacter(QByteArray(1, static_cast<char>(first)));
            return;
        }
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!isTrailByte(static_cast<std::uint8_t>(trail)))
                continue;
            const char pair[] = {static_cast<char>(first), static_cast<char>(trail)};
            table[static_cast<std::size_t>(trail)] = lookUpCharacter(QByteArray(pair, 2));
        }
    }

    std::array<std::once_flag, 256> filled_;
    std::array<std::array<char16_t, 256>, 256> tables_{};
};

}  // namespace

bool cp932Available() {
    static const bool available =
        QStringEncoder(kCodePageName).isValid() && QStringDecoder(kCodePageName).isValid();
    return available;
}

QByteArray toCp932(std::u16string_view text) {
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(text.size() * 2));
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
        const std::uint16_t code = codeOf(windowsForm(unit));
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

std::optional<QString> fromCp932(QByteArrayView bytes) {
    if (!cp932Available())
        return std::nullopt;
    static CodeTable table;
    QString text(bytes.size(), Qt::Uninitialized);  // never more characters than bytes
    QChar* out = text.data();
    qsizetype length = 0;
    for (qsizetype k = 0; k < bytes.size(); ++k) {
        const auto first = static_cast<std::uint8_t>(bytes[k]);
        // ASCII is the same in the code page (see toCp932).
        if (first < 0x80) {
            out[length++] = QChar(first);
            continue;
        }
        char16_t character = kNoCharacter;
        if (!isLeadByte(first)) {
            character = table.forByte(first)[0];
        } else if (k + 1 < bytes.size()) {
            const auto trail = static_cast<std::uint8_t>(bytes[++k]);
            if (isTrailByte(trail))
                character = table.forByte(first)[trail];
        }
        if (character == kNoCharacter)
            return std::nullopt;
        out[length++] = QChar(character);
    }
    text.truncate(length);
    return text;
}

}  // namespace records
