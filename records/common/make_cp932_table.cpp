// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes cp932_table.cpp to standard output from Qt's "windows-31j" converter (ICU):
//
//   make_cp932_table > records/common/cp932_table.cpp
//
// A byte or a lead and trail byte counts as a character when it decodes without error to one
// UTF-16 code unit; a character counts as written when it encodes without error to one or two
// bytes that decode back to it. ICU's substitute (0xFC 0xFC) and its one-way fallbacks both
// fail that test.

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringView>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "cp932_table.h"

namespace {

using namespace records::common::cp932;

constexpr const char* kCodePageName = "windows-31j";

// ICU's converter keeps an error once it had one, so every look-up gets fresh converters.
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

char16_t lookUpCharacter(const QByteArray& code) {
    QStringDecoder decoder(kCodePageName);
    const QString text = decoder.decode(code);
    if (!decoder.isValid() || decoder.hasError() || text.size() != 1)
        return kNoCharacter;
    if (text.at(0).unicode() == kNoCharacter) {
        std::fprintf(stderr, "a code decodes to U+0000\n");
        std::exit(1);
    }
    return text.at(0).unicode();
}

std::vector<std::uint8_t> leadBytes() {
    std::vector<std::uint8_t> leads;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        if (isLeadByte(static_cast<std::uint8_t>(byte)))
            leads.push_back(static_cast<std::uint8_t>(byte));
    }
    return leads;
}

std::vector<std::uint8_t> trailBytes() {
    std::vector<std::uint8_t> trails;
    for (int byte = 0; byte <= 0xFF; ++byte) {
        if (isTrailByte(static_cast<std::uint8_t>(byte)))
            trails.push_back(static_cast<std::uint8_t>(byte));
    }
    return trails;
}

// A character goes into the source as it is when it is a visible character that no editor
// would change (normalization to NFC), else as \uXXXX; no character as \0, never followed by
// a digit since no character of the table is ASCII.
std::string literalItem(char16_t unit, int& width) {
    if (unit == kNoCharacter) {
        width = 2;
        return "\\0";
    }
    const QChar c(unit);
    const QString text(c);
    const bool visible = unit >= 0x80 && c.isPrint() && !c.isSpace() && !c.isMark() &&
                         c.category() != QChar::Other_PrivateUse &&
                         text.normalized(QString::NormalizationForm_C) == text;
    if (!visible) {
        width = 6;
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(unit));
        return escape;
    }
    const bool wide = unit >= 0x2E80 && !(unit >= 0xFF61 && unit <= 0xFFDC);
    width = wide ? 2 : 1;
    return text.toStdString();
}

// One string literal per line, within the column limit; trailing "no character"s left out,
// since the rest of the array is zero.
void writeLiteral(const std::vector<char16_t>& units, const char* end) {
    std::size_t length = units.size();
    while (length > 0 && units[length - 1] == kNoCharacter)
        --length;
    constexpr int kLineWidth = 84;
    std::string line;
    int lineWidth = 0;
    bool wroteLine = false;
    for (std::size_t k = 0; k < length; ++k) {
        int width = 0;
        const std::string item = literalItem(units[k], width);
        if (lineWidth + width > kLineWidth) {
            std::printf("    u\"%s\"\n", line.c_str());
            wroteLine = true;
            line.clear();
            lineWidth = 0;
        }
        line += item;
        lineWidth += width;
    }
    if (!line.empty() || !wroteLine)
        std::printf("    u\"%s\"", line.c_str());
    std::printf("%s\n", end);
}

}  // namespace

int main() {
    if (!QStringEncoder(kCodePageName).isValid() || !QStringDecoder(kCodePageName).isValid()) {
        std::fprintf(stderr, "Qt has no converter for %s\n", kCodePageName);
        return 1;
    }
    const std::vector<std::uint8_t> leads = leadBytes();
    const std::vector<std::uint8_t> trails = trailBytes();

    std::vector<char16_t> singles(0x80, kNoCharacter);
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        if (!isLeadByte(static_cast<std::uint8_t>(byte)))
            singles[byte - 0x80] = lookUpCharacter(QByteArray(1, static_cast<char>(byte)));
    }
    std::vector<std::vector<char16_t>> pairs;
    for (const std::uint8_t lead : leads) {
        std::vector<char16_t>& row = pairs.emplace_back();
        for (const std::uint8_t trail : trails) {
            const char code[] = {static_cast<char>(lead), static_cast<char>(trail)};
            row.push_back(lookUpCharacter(QByteArray(code, 2)));
        }
    }

    // The encoder the decoding tables make (see cp932_table.h), against ICU's.
    std::array<std::uint16_t, 0x10000> derived;
    derived.fill(kNoCode);
    const auto take = [&derived](char16_t unit, std::uint16_t code) {
        if (unit != kNoCharacter && derived[unit] == kNoCode)
            derived[unit] = code;
    };
    for (int byte = 0x80; byte <= 0xFF; ++byte)
        take(singles[byte - 0x80], static_cast<std::uint16_t>(byte));
    for (const bool necCopy : {false, true}) {
        for (std::size_t l = 0; l < leads.size(); ++l) {
            if ((leads[l] == 0xED || leads[l] == 0xEE) != necCopy)
                continue;
            for (std::size_t t = 0; t < trails.size(); ++t)
                take(pairs[l][t], static_cast<std::uint16_t>(leads[l] << 8 | trails[t]));
        }
    }
    std::vector<std::pair<char16_t, std::uint16_t>> exceptions;
    for (std::uint32_t unit = 0x80; unit <= 0xFFFF; ++unit) {
        if (unit >= 0xD800 && unit <= 0xDFFF)
            continue;
        const std::uint16_t code = lookUpCode(static_cast<char16_t>(unit));
        if (code != derived[unit])
            exceptions.emplace_back(static_cast<char16_t>(unit), code);
    }

    std::printf(R"(// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Code page 932 as Qt's "windows-31j" converter (ICU) has it, written by make_cp932_table.
// Do not edit: run make_cp932_table again.

#include "cp932_table.h"

namespace records::common::cp932 {

const char16_t kSingleBytes[0x80 + 1] =
)");
    writeLiteral(singles, ";");
    std::printf("\nconst char16_t kPairs[kLeadCount][kTrailCount + 1] = {\n");
    for (std::size_t l = 0; l < leads.size(); ++l) {
        std::printf("    // 0x%02X\n", leads[l]);
        if (!isUserDefinedLead(leads[l])) {
            writeLiteral(pairs[l], ",");
            continue;
        }
        for (std::size_t t = 0; t < trails.size(); ++t) {
            if (pairs[l][t] != userDefinedCharacter(leads[l], trails[t])) {
                std::fprintf(stderr, "0x%02X%02X is not in the order of the user-defined area\n",
                             leads[l], trails[t]);
                return 1;
            }
        }
        std::printf("    u\"\",\n");
    }
    std::printf("};\n\n");
    if (exceptions.empty()) {
        std::printf("const std::span<const EncodeException> kEncodeExceptions;\n");
    } else {
        std::printf("namespace {\nconstexpr EncodeException kExceptionList[] = {\n");
        for (const auto& [unit, code] : exceptions)
            std::printf("    {0x%04X, 0x%04X},\n", static_cast<unsigned>(unit),
                        static_cast<unsigned>(code));
        std::printf("};\n}  // namespace\n\n");
        std::printf("const std::span<const EncodeException> kEncodeExceptions(kExceptionList);\n");
    }
    std::printf("\n}  // namespace records::common::cp932\n");
    std::fprintf(stderr, "%zu encode exceptions\n", exceptions.size());
    return 0;
}
