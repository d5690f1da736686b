// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "history_bytes.h"

#include <cstddef>

#include "conversions.h"
#include "cp932_bytes.h"
#include "utf16_units.h"

namespace records {
namespace {

using utf16::isControl;
using utf16::isHighSurrogate;
using utf16::isLowSurrogate;

constexpr std::u16string_view kNamePrefix = u"Rovedavu";
constexpr std::u16string_view kNameSuffix = u".txt";
constexpr std::u16string_view kTimePattern = u"#####.#";
constexpr std::u16string_view kLineEnd = u"\r\n";
constexpr std::u16string_view kHeaderText =
    u"\"問題内容\",\"解答時間\",\"誤答回数\",\"解答日付\"\r\n";

// The longest file name in bytes (Linux, UTF-8), and what the temporary file of a save
// adds to it: "." and six random letters.
constexpr std::size_t kNameMaxBytes = 255;
constexpr std::size_t kTemporarySuffixBytes = 7;

constexpr std::u16string_view kFormulaStarts = u"=+-@\t\r";
constexpr char16_t kTextMark = u'\'';

bool isFormulaStart(std::u16string_view text) {
    return !text.empty() && kFormulaStarts.find(text.front()) != std::u16string_view::npos;
}

bool isUnusable(char16_t unit) {
    return unit == u'/' || unit == u'\\' || isControl(unit);
}

// Calls found(k, length) for each character of the text: a code unit, or a surrogate pair
// (length 2). A lone surrogate comes with length 0.
template <typename Found>
void forEachCharacter(std::u16string_view text, Found found) {
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char16_t unit = text[k];
        if (isHighSurrogate(unit) && k + 1 < text.size() && isLowSurrogate(text[k + 1])) {
            found(k, 2);
            ++k;
        } else {
            found(k, isHighSurrogate(unit) || isLowSurrogate(unit) ? 0 : 1);
        }
    }
}

std::size_t utf8Length(std::u16string_view text) {
    std::size_t bytes = 0;
    forEachCharacter(text, [&](std::size_t k, int length) {
        if (length == 2)
            bytes += 4;
        else if (text[k] < 0x80)
            bytes += 1;
        else if (text[k] < 0x800)
            bytes += 2;
        else
            bytes += 3;
    });
    return bytes;
}

// A text item: between double quotes, a double quote inside doubled.
std::u16string textItem(std::u16string_view text) {
    std::u16string item = u"\"";
    for (const char16_t unit : text) {
        if (unit == u'"')
            item += u'"';
        item += unit;
    }
    item += u'"';
    return item;
}

}  // namespace

IdCheck checkHistoryId(std::u16string_view myid) {
    bool unusable = false;
    forEachCharacter(myid, [&](std::size_t k, int length) {
        if (length == 0 || (length == 1 && isUnusable(myid[k])))
            unusable = true;
    });
    if (unusable)
        return IdCheck::UnusableCharacter;
    const std::size_t nameBytes = kNamePrefix.size() + utf8Length(myid) + kNameSuffix.size();
    if (nameBytes + kTemporarySuffixBytes > kNameMaxBytes)
        return IdCheck::TooLong;
    return IdCheck::Usable;
}

std::u16string historyFilePath(std::u16string_view myid) {
    std::u16string path(kHistoryFolder);
    path += u'/';
    path += kNamePrefix;
    path += myid;
    path += kNameSuffix;
    return path;
}

std::u16string shownHistoryPath(std::u16string_view myid) {
    std::u16string path = historyFilePath(myid);
    forEachCharacter(path, [&](std::size_t k, int length) {
        if (length == 0 || (length == 1 && isControl(path[k])))
            path[k] = u'\uFFFD';
    });
    return path;
}

std::u16string writtenDate(std::u16string_view mydate) {
    std::u16string date;
    if (isFormulaStart(mydate))
        date += kTextMark;
    date += mydate;
    return date;
}

std::u16string_view typedDate(std::u16string_view written) {
    if (!written.empty() && written.front() == kTextMark && isFormulaStart(written.substr(1)))
        written.remove_prefix(1);
    return written;
}

std::string historyHeaderBytes() {
    return common::encodeCp932(kHeaderText);
}

std::string historyRowBytes(std::u16string_view qtext, float qtime, std::int16_t qmiss,
                            std::u16string_view mydate) {
    std::u16string line = textItem(qtext);
    line += u',';
    line += textItem(drill::patternFormat(qtime, kTimePattern));
    line += u',';
    line += drill::plainIntegerText(qmiss);
    line += u',';
    line += textItem(writtenDate(mydate));
    line += kLineEnd;
    return common::encodeCp932(line);
}

std::string historyBytes(drill::DrillState& state) {
    std::string bytes = historyHeaderBytes();
    const std::int16_t last = state.lastnum;  // the bound is read once
    for (state.i = 1; state.i <= last; drill::checkedIncrement(state.i)) {
        const auto row = static_cast<std::size_t>(state.i);
        bytes += historyRowBytes(state.qtext.at(row), state.qtime.at(row), state.qmiss.at(row),
                                 state.mydate);
    }
    return bytes;
}

}  // namespace records
