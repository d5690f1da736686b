// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "archive_naming.h"

#include <cstddef>

#include "utf16_units.h"

namespace records {
namespace {

using utf16::isControl;
using utf16::isHighSurrogate;
using utf16::isLowSurrogate;

constexpr std::u16string_view kPrefix = u"Rovedavu";
constexpr std::u16string_view kSuffix = u".txt";
constexpr std::size_t kHostMaxLength = 63;  // ASCII only, so also bytes
constexpr int kHexLength = 8;

bool isHostCharacter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'.' || c == u'-';
}

// The value in decimal, at least `digits` digits with leading zeros.
void appendNumber(std::u16string& text, int value, int digits) {
    std::u16string number;
    const bool negative = value < 0;
    unsigned rest = negative ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        number.insert(number.begin(), static_cast<char16_t>(u'0' + rest % 10));
        rest /= 10;
    } while (rest != 0);
    if (number.size() < static_cast<std::size_t>(digits))
        number.insert(0, static_cast<std::size_t>(digits) - number.size(), u'0');
    if (negative)
        text += u'-';
    text += number;
}

}  // namespace

std::u16string archiveFolderText(std::u16string_view myid) {
    std::u16string name(kPrefix);
    name += myid;
    return name;
}

std::u16string learnerArchiveText(std::u16string_view myid) {
    std::u16string path(kArchiveFolder);
    path += u'/';
    path += archiveFolderText(myid);
    return path;
}

std::u16string shownArchiveFolder(std::u16string_view myid) {
    std::u16string folder = learnerArchiveText(myid) + u'/';
    for (std::size_t k = 0; k < folder.size(); ++k) {
        const char16_t unit = folder[k];
        if (isHighSurrogate(unit) && k + 1 < folder.size() && isLowSurrogate(folder[k + 1]))
            ++k;
        else if (isHighSurrogate(unit) || isLowSurrogate(unit) || isControl(unit))
            folder[k] = u'\uFFFD';
    }
    return folder;
}

std::u16string archiveHostText(std::u16string_view host) {
    std::u16string name;
    for (std::size_t k = 0; k < host.size() && name.size() < kHostMaxLength; ++k) {
        const char16_t c = host[k];
        // A surrogate pair is one character, and becomes one "-".
        if (isHighSurrogate(c) && k + 1 < host.size() && isLowSurrogate(host[k + 1]))
            ++k;
        name += isHostCharacter(c) ? c : u'-';
    }
    return name.empty() ? std::u16string(u"-") : name;
}

std::u16string archiveFileText(const LocalTime& ended, std::u16string_view host,
                               std::uint32_t random) {
    std::u16string name;
    appendNumber(name, ended.year, 4);
    appendNumber(name, ended.month, 2);
    appendNumber(name, ended.day, 2);
    name += u'-';
    appendNumber(name, ended.hour, 2);
    appendNumber(name, ended.minute, 2);
    appendNumber(name, ended.second, 2);
    name += u'_';
    name += archiveHostText(host);
    name += u'_';
    constexpr char16_t kHexDigits[] = u"0123456789abcdef";
    for (int shift = (kHexLength - 1) * 4; shift >= 0; shift -= 4)
        name += kHexDigits[(random >> shift) & 0xF];
    name += kSuffix;
    return name;
}

}  // namespace records
