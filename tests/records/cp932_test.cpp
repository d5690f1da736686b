// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Code page 932 bytes: the Japanese characters of the drill, ASCII unchanged, one "?" for
// every character that the code page cannot hold, and the program's own table against Qt's
// converter.

#include "cp932.h"

#include <gtest/gtest.h>

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "cp932_bytes.h"
#include "records_support.h"

namespace {

using records::toCp932;
using records_test::hex;

// The JIS forms, written as the Windows forms rather than as the converter has them.
const struct {
    char16_t typed;
    const char* code;
} kJisFormRows[] = {
    {u'\u301C', "81 60"},  // WAVE DASH, as U+FF5E
    {u'\u2016', "81 61"},  // DOUBLE VERTICAL LINE, as U+2225
    {u'\u2212', "81 7C"},  // MINUS SIGN, as U+FF0D
    {u'\u00A2', "81 91"},  // CENT SIGN, as U+FFE0
    {u'\u00A3', "81 92"},  // POUND SIGN, as U+FFE1
    {u'\u00AC', "81 CA"},  // NOT SIGN, as U+FFE2
    {u'\u2014', "81 5C"},  // EM DASH, as U+2015
};

TEST(Cp932, IsAvailable) {
    EXPECT_TRUE(records::cp932Available());
}

TEST(Cp932, WritesTheCharactersOfTheDrill) {
    EXPECT_EQ(hex(toCp932(u"÷")), "81 80");
    EXPECT_EQ(hex(toCp932(u"８／１")), "82 57 81 5E 82 50");
    EXPECT_EQ(hex(toCp932(u"問題内容")), "96 E2 91 E8 93 E0 97 65");
    EXPECT_EQ(hex(toCp932(u"ぽるねあ")), "82 DB 82 E9 82 CB 82 A0");
    EXPECT_EQ(hex(toCp932(u"ｱ")), "B1");  // half-width katakana: one byte
}

TEST(Cp932, IsMicrosoftsTableNotPlainShiftJis) {
    // Windows' own mappings and the NEC and IBM extensions.
    EXPECT_EQ(hex(toCp932(u"～")), "81 60");  // U+FF5E
    EXPECT_EQ(hex(toCp932(u"－")), "81 7C");  // U+FF0D
    EXPECT_EQ(hex(toCp932(u"①")), "87 40");
    EXPECT_EQ(hex(toCp932(u"ⅰ")), "FA 40");
}

TEST(Cp932, WritesTheJisFormsOfLinuxInputMethodsAsWindowsDoes) {
    for (const auto& row : kJisFormRows)
        EXPECT_EQ(hex(toCp932(std::u16string(1, row.typed))), row.code)
            << "U+" << std::hex << static_cast<int>(row.typed);
}

TEST(Cp932, KeepsAsciiAsItIs) {
    std::u16string ascii;
    QByteArray expected;
    for (char16_t unit = 0; unit < 0x80; ++unit) {
        ascii += unit;
        expected += static_cast<char>(unit);
    }
    // Also 0x1A, 0x1C and 0x7F, which IBM's variant of the table swaps.
    EXPECT_EQ(hex(toCp932(ascii)), hex(expected));
}

TEST(Cp932, WritesAQuestionMarkForEachCharacterItCannotHold) {
    EXPECT_EQ(toCp932(u"a€b"), QByteArray("a?b"));
    EXPECT_EQ(toCp932(u"é¥"), QByteArray("??"));
    EXPECT_EQ(toCp932(u"\u0080\u009F"), QByteArray("??"));
    EXPECT_EQ(toCp932(u"한"), QByteArray("?"));
}

TEST(Cp932, WritesOneQuestionMarkForASurrogatePairAndForEachLoneSurrogate) {
    EXPECT_EQ(toCp932(u"1😀2"), QByteArray("1?2"));
    EXPECT_EQ(toCp932(u"😀😀"), QByteArray("??"));
    const std::u16string loneHighAtEnd{u'x', char16_t(0xD83D)};
    EXPECT_EQ(toCp932(loneHighAtEnd), QByteArray("x?"));
    const std::u16string loneLow{char16_t(0xDE00), u'y'};
    EXPECT_EQ(toCp932(loneLow), QByteArray("?y"));
    const std::u16string highBeforeKana{char16_t(0xD83D), u'あ'};
    EXPECT_EQ(hex(toCp932(highBeforeKana)), "3F 82 A0");
    const std::u16string reversedPair{char16_t(0xDE00), char16_t(0xD83D)};
    EXPECT_EQ(toCp932(reversedPair), QByteArray("??"));
}

TEST(Cp932, AnswersTheSameForARepeatedUnmappableCharacter) {
    // The converter keeps an error once it met one; the next characters must not suffer.
    EXPECT_EQ(hex(toCp932(u"€あ€あ")), "3F 82 A0 3F 82 A0");
    EXPECT_EQ(hex(toCp932(u"あ")), "82 A0");
}

// Every character that is written as a code reads back from it (the JIS forms are written
// as other characters, which read back as themselves).
TEST(Cp932, ReadsBackEveryCharacterItWrites) {
    std::vector<std::string> differences;
    for (std::uint32_t unit = 0; unit <= 0xFFFF; ++unit) {
        const auto character = static_cast<char16_t>(unit);
        const std::string bytes = records::common::encodeCp932(std::u16string(1, character));
        const bool jisForm = std::any_of(std::begin(kJisFormRows), std::end(kJisFormRows),
                                         [&](const auto& row) { return row.typed == character; });
        if ((bytes == "?" && character != u'?') || jisForm)
            continue;
        if (records::common::decodeCp932(bytes) != std::u16string(1, character))
            differences.push_back(hex(QByteArray::fromStdString(bytes)));
    }
    EXPECT_EQ(differences.size(), 0u) << "the first: " << differences.front();
}

// Qt's "windows-31j" converter (ICU), which the table was made from. A character is written
// when it encodes without error to one or two bytes that decode back to it; a code is read
// when it decodes without error to one code unit. Fresh converters for every look-up, since
// ICU's keeps an error once it had one.
constexpr const char* kCodePageName = "windows-31j";

std::string convertersCode(char16_t unit) {
    const QChar character(unit);
    QStringEncoder encoder(kCodePageName);
    const QByteArray bytes = encoder.encode(QStringView(&character, 1));
    if (encoder.hasError() || bytes.isEmpty() || bytes.size() > 2)
        return "?";
    QStringDecoder decoder(kCodePageName);
    const QString back = decoder.decode(bytes);
    if (decoder.hasError() || back != QString(character))
        return "?";
    return bytes.toStdString();
}

std::optional<std::u16string> convertersText(const QByteArray& code) {
    QStringDecoder decoder(kCodePageName);
    const QString text = decoder.decode(code);
    if (decoder.hasError() || text.size() != 1)
        return std::nullopt;
    return text.toStdU16String();
}

bool isLeadByte(int byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool isTrailByte(int byte) {
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

std::string unitName(char16_t unit) {
    return "U+" + QString::number(unit, 16).toUpper().toStdString();
}

TEST(Cp932, TableAgreesWithQtsConverterOnEveryCharacterAndEveryCode) {
    ASSERT_TRUE(QStringEncoder(kCodePageName).isValid());
    std::vector<std::string> differences;
    for (std::uint32_t unit = 0x80; unit <= 0xFFFF; ++unit) {
        const auto character = static_cast<char16_t>(unit);
        const bool jisForm = std::any_of(std::begin(kJisFormRows), std::end(kJisFormRows),
                                         [&](const auto& row) { return row.typed == character; });
        if ((unit >= 0xD800 && unit <= 0xDFFF) || jisForm)
            continue;
        const std::string bytes = records::common::encodeCp932(std::u16string(1, character));
        if (bytes != convertersCode(character))
            differences.push_back("encoding " + unitName(character));
    }
    // Every byte from 0x80 on alone, and every lead byte before every byte.
    for (int first = 0x80; first <= 0xFF; ++first) {
        const QByteArray single(1, static_cast<char>(first));
        const auto text = isLeadByte(first) ? std::nullopt : convertersText(single);
        if (records::common::decodeCp932(single.toStdString()) != text)
            differences.push_back("decoding " + hex(single));
        for (int second = 0; isLeadByte(first) && second <= 0xFF; ++second) {
            const QByteArray code = single + static_cast<char>(second);
            const auto pairText = isTrailByte(second) ? convertersText(code) : std::nullopt;
            if (records::common::decodeCp932(code.toStdString()) != pairText)
                differences.push_back("decoding " + hex(code));
        }
    }
    EXPECT_EQ(differences.size(), 0u) << "the first: " << differences.front();
}

}  // namespace
