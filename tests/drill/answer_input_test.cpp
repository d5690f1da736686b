// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Whatever a child types or pastes into the answer boxes is judged by the same rule: the
// number at the start of the text. Nothing is refused and nothing crashes.

#include <gtest/gtest.h>

#include "conversions.h"
#include "recording_fakes.h"

namespace {

// The judgement of 12 ÷ 4 (quotient 3, remainder 0) for the two typed texts.
std::u16string judge(const std::u16string& quotient, const std::u16string& remainder) {
    fakes::Rig rig;
    rig.random.queued = {(12 - 0.5) / 99, (4 - 0.5) / 9};
    rig.drill.startUp();
    rig.view.setText1(0, quotient);
    rig.view.setText1(1, remainder);
    rig.drill.answerClicked();
    return rig.view.caption[4];
}

}  // namespace

TEST(AnswerInput, OddButHarmlessTexts) {
    EXPECT_EQ(judge(u"", u""), u"×");
    EXPECT_EQ(judge(u"   ", u"   "), u"×");
    EXPECT_EQ(judge(u"3", u"   "), u"◎");
    EXPECT_EQ(judge(u"３", u"０"), u"◎");
    EXPECT_EQ(judge(u"+3", u"-0"), u"◎");
    EXPECT_EQ(judge(u"3e0", u""), u"◎");  // read up to the "e"
    EXPECT_EQ(judge(u"3e3", u""), u"◎");  // no exponents
    EXPECT_EQ(judge(u"0x3", u""), u"×");  // no radix prefixes: reads 0
    EXPECT_EQ(judge(u".5", u""), u"×");
    EXPECT_EQ(judge(u"3こ", u"0こ"), u"◎");
    EXPECT_EQ(judge(u"3.0000", u".0"), u"◎");
    EXPECT_EQ(judge(u"3.01", u""), u"×");
}

TEST(AnswerInput, EmojiAndLoneSurrogatesEndTheNumber) {
    const std::u16string frog = u"\U0001F438";
    EXPECT_EQ(judge(u"3" + frog, frog), u"◎");
    EXPECT_EQ(judge(frog + u"3", u""), u"×");
    EXPECT_EQ(judge(std::u16string(u"3") + char16_t(0xD800), std::u16string(1, char16_t(0xDC00))),
              u"◎");
    EXPECT_EQ(judge(std::u16string(1, char16_t(0xDFFF)) + u"3", u""), u"×");
    EXPECT_EQ(judge(std::u16string(u"3\0"
                                   u"9",
                                   3),
                    u""),
              u"◎");
}

TEST(AnswerInput, AMegabyteOfPastedText) {
    const std::size_t megabyte = 1 << 20;
    EXPECT_EQ(judge(u"3" + std::u16string(megabyte, u'x'), u""), u"◎");
    EXPECT_EQ(judge(std::u16string(megabyte, u' ') + u"3", u""), u"◎");
    EXPECT_EQ(judge(std::u16string(megabyte, u'0') + u"3", u""), u"◎");
    EXPECT_EQ(judge(u"3." + std::u16string(megabyte, u'0'), u""), u"◎");
    EXPECT_EQ(judge(u"3." + std::u16string(megabyte, u'0') + u"1", u""),
              u"◎");  // below a double's step
    EXPECT_EQ(judge(std::u16string(megabyte, u'9'), u""), u"×");
    EXPECT_EQ(judge(std::u16string(megabyte, u'３'), u""), u"×");
}
