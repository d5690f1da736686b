// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Which IDs can go into the history file's name, and the path they make.

#include <gtest/gtest.h>

#include <QString>
#include <string>

#include "history_file.h"

namespace {

using records::checkHistoryId;
using records::historyFilePath;
using records::IdCheck;

TEST(HistoryPath, IsTheIdAsTypedBetweenPrefixAndSuffix) {
    EXPECT_EQ(historyFilePath(u"12"), u"rirekidata/Rovedavu12.txt");
    EXPECT_EQ(historyFilePath(u" "), u"rirekidata/Rovedavu .txt");
    EXPECT_EQ(historyFilePath(u" Ab "), u"rirekidata/Rovedavu Ab .txt");
    EXPECT_EQ(historyFilePath(u".."), u"rirekidata/Rovedavu...txt");
}

TEST(HistoryId, OrdinaryIdsAreUsable) {
    for (const std::u16string id : {u"12", u" ", u"   ", u"..", u".", u"たろう", u"ＩＤ７",
                                    u"a:b*c?\"<>|", u"😀", u"-rf", u"~"}) {
        EXPECT_EQ(checkHistoryId(id), IdCheck::Usable)
            << QString::fromStdU16String(id).toStdString();
    }
}

TEST(HistoryId, SeparatorsAreUnusable) {
    EXPECT_EQ(checkHistoryId(u"/"), IdCheck::UnusableCharacter);
    EXPECT_EQ(checkHistoryId(u"../../etc/x"), IdCheck::UnusableCharacter);
    EXPECT_EQ(checkHistoryId(u"a\\b"), IdCheck::UnusableCharacter);
    EXPECT_EQ(checkHistoryId(u"\\"), IdCheck::UnusableCharacter);
}

TEST(HistoryId, ControlCharactersAreUnusable) {
    for (const char16_t unit : {0x00, 0x01, 0x09, 0x0A, 0x0D, 0x1B, 0x1F, 0x7F, 0x80, 0x85, 0x9F}) {
        const std::u16string id{u'a', unit, u'b'};
        EXPECT_EQ(checkHistoryId(id), IdCheck::UnusableCharacter)
            << "U+" << std::hex << static_cast<int>(unit);
    }
    EXPECT_EQ(checkHistoryId(u"\u00A0"), IdCheck::Usable);  // no-break space is a character
}

TEST(HistoryId, LoneSurrogatesAreUnusable) {
    // They have no UTF-8 form, so no file could carry the name as typed.
    EXPECT_EQ(checkHistoryId(std::u16string{char16_t(0xD83D)}), IdCheck::UnusableCharacter);
    EXPECT_EQ(checkHistoryId(std::u16string{u'a', char16_t(0xDE00)}), IdCheck::UnusableCharacter);
    EXPECT_EQ(checkHistoryId(std::u16string{char16_t(0xDE00), char16_t(0xD83D)}),
              IdCheck::UnusableCharacter);
}

TEST(HistoryId, TooLongWhenTheNameOrTheSavesTemporaryNameOutgrowsTheFileSystem) {
    // "Rovedavu" + ID + ".txt" + 7 bytes of the temporary name's ending: at most 255 bytes.
    EXPECT_EQ(checkHistoryId(std::u16string(236, u'x')), IdCheck::Usable);
    EXPECT_EQ(checkHistoryId(std::u16string(237, u'x')), IdCheck::TooLong);
    EXPECT_EQ(checkHistoryId(std::u16string(300, u'x')), IdCheck::TooLong);
    // Counted in UTF-8 bytes: "あ" takes 3, "é" 2, an emoji 4.
    EXPECT_EQ(checkHistoryId(std::u16string(78, u'あ')), IdCheck::Usable);   // 234
    EXPECT_EQ(checkHistoryId(std::u16string(79, u'あ')), IdCheck::TooLong);  // 237
    EXPECT_EQ(checkHistoryId(std::u16string(118, u'é')), IdCheck::Usable);   // 236
    EXPECT_EQ(checkHistoryId(std::u16string(119, u'é')), IdCheck::TooLong);  // 238
    std::u16string emojis;
    for (int k = 0; k < 59; ++k)
        emojis += u"😀";
    EXPECT_EQ(checkHistoryId(emojis), IdCheck::Usable);  // 236
    EXPECT_EQ(checkHistoryId(emojis + u"😀"), IdCheck::TooLong);
}

TEST(HistoryId, AnUnusableCharacterIsReportedBeforeTheLength) {
    EXPECT_EQ(checkHistoryId(std::u16string(300, u'/')), IdCheck::UnusableCharacter);
}

}  // namespace
