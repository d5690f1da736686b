// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Code page 932 bytes: the Japanese characters of the drill, ASCII unchanged, and one "?"
// for every character that the code page cannot hold.

#include "cp932.h"

#include <gtest/gtest.h>

#include "records_support.h"

namespace {

using records::toCp932;
using records_test::hex;

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
    EXPECT_EQ(toCp932(u"〜"), QByteArray("?"));  // U+301C wave dash: U+FF5E's place in cp932
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

}  // namespace
