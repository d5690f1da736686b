// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The rules by which numbers become text and typed text becomes a number.

#include "conversions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace drill;

TEST(NumberText, LeadingSpaceForZeroAndPositive) {
    EXPECT_EQ(numberText(std::int16_t{1}), u" 1");
    EXPECT_EQ(numberText(std::int16_t{20}), u" 20");
    EXPECT_EQ(numberText(std::int16_t{0}), u" 0");
    EXPECT_EQ(numberText(std::int16_t{-3}), u"-3");
    EXPECT_EQ(numberText(std::int16_t{-1}), u"-1");
    EXPECT_EQ(numberText(std::int16_t{32767}), u" 32767");
    EXPECT_EQ(numberText(std::int16_t{-32768}), u"-32768");
}

TEST(NumberText, FractionsWithoutTrailingZeros) {
    EXPECT_EQ(numberText(12.3), u" 12.3");
    EXPECT_EQ(numberText(12.0), u" 12");
    EXPECT_EQ(numberText(0.0), u" 0");
    EXPECT_EQ(numberText(-0.0), u" 0");
    EXPECT_EQ(numberText(-5.5), u"-5.5");
    EXPECT_EQ(numberText(0.5), u" 0.5");
    EXPECT_EQ(numberText(86399.9), u" 86399.9");
    EXPECT_EQ(numberText(123456.7), u" 123456.7");
}

TEST(PlainIntegerText, NoLeadingSpace) {
    EXPECT_EQ(plainIntegerText(45), u"45");
    EXPECT_EQ(plainIntegerText(9), u"9");
    EXPECT_EQ(plainIntegerText(0), u"0");
    EXPECT_EQ(plainIntegerText(-7), u"-7");
}

TEST(LeadingNumberValue, ExamplesOfTypedAnswers) {
    EXPECT_EQ(leadingNumberValue(u""), 0.0);
    EXPECT_EQ(leadingNumberValue(u"   "), 0.0);
    EXPECT_EQ(leadingNumberValue(u"7"), 7.0);
    EXPECT_EQ(leadingNumberValue(u" 7 "), 7.0);
    EXPECT_EQ(leadingNumberValue(u"07"), 7.0);
    EXPECT_EQ(leadingNumberValue(u"7.0"), 7.0);
    EXPECT_EQ(leadingNumberValue(u"7.5"), 7.5);
    EXPECT_EQ(leadingNumberValue(u"1 2"), 12.0);
    EXPECT_EQ(leadingNumberValue(u"7a"), 7.0);
    EXPECT_EQ(leadingNumberValue(u"a7"), 0.0);
    EXPECT_EQ(leadingNumberValue(u"2,5"), 2.0);
    EXPECT_EQ(leadingNumberValue(u"."), 0.0);
    EXPECT_EQ(leadingNumberValue(u"7こ"), 7.0);
}

TEST(LeadingNumberValue, SignsPointsAndWhitespace) {
    EXPECT_EQ(leadingNumberValue(u"+7"), 7.0);
    EXPECT_EQ(leadingNumberValue(u"-7"), -7.0);
    EXPECT_EQ(leadingNumberValue(u"- 7"), -7.0);
    EXPECT_EQ(leadingNumberValue(u"-0"), 0.0);
    EXPECT_EQ(leadingNumberValue(u".5"), 0.5);
    EXPECT_EQ(leadingNumberValue(u"-.5"), -0.5);
    EXPECT_EQ(leadingNumberValue(u"1.2.3"), 1.2);
    EXPECT_EQ(leadingNumberValue(u"+-7"), 0.0);
    EXPECT_EQ(leadingNumberValue(u"7-"), 7.0);
    EXPECT_EQ(leadingNumberValue(u"\t1\n2"), 12.0);
    EXPECT_EQ(leadingNumberValue(u"\r7"), 0.0);  // only spaces, tabs and line feeds go
}

TEST(LeadingNumberValue, FullWidthFormsReadAsHalfWidth) {
    EXPECT_EQ(leadingNumberValue(u"７"), 7.0);
    EXPECT_EQ(leadingNumberValue(u"１２"), 12.0);
    EXPECT_EQ(leadingNumberValue(u"７．５"), 7.5);
    EXPECT_EQ(leadingNumberValue(u"＋３"), 3.0);
    EXPECT_EQ(leadingNumberValue(u"－３"), -3.0);
    EXPECT_EQ(leadingNumberValue(u"1２"), 12.0);
    EXPECT_EQ(leadingNumberValue(u"　７"), 7.0);
    EXPECT_EQ(leadingNumberValue(u"１　２　"), 12.0);
}

TEST(LeadingNumberValue, NoExponentsOrRadixPrefixes) {
    EXPECT_EQ(leadingNumberValue(u"1e3"), 1.0);
    EXPECT_EQ(leadingNumberValue(u"0x10"), 0.0);
    EXPECT_EQ(leadingNumberValue(u"&H10"), 0.0);
    EXPECT_EQ(leadingNumberValue(u"inf"), 0.0);
    EXPECT_EQ(leadingNumberValue(u"nan"), 0.0);
}

TEST(LeadingNumberValue, LongTextsStayExactAndBounded) {
    EXPECT_EQ(leadingNumberValue(std::u16string(100000, u'0') + u"7"), 7.0);
    EXPECT_EQ(leadingNumberValue(u"7." + std::u16string(100000, u'0')), 7.0);
    EXPECT_EQ(leadingNumberValue(std::u16string(1000, u'9')),
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumberValue(u"-" + std::u16string(1000, u'9')),
              -std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumberValue(u"0.1"), 0.1);  // correctly rounded, not summed digit by digit
    EXPECT_EQ(leadingNumberValue(u"4.35"), 4.35);
}

TEST(PatternFormat, HashPattern) {
    EXPECT_EQ(patternFormat(12.34f, u"#####.#"), u"12.3");
    EXPECT_EQ(patternFormat(12.0f, u"#####.#"), u"12.");
    EXPECT_EQ(patternFormat(12.04f, u"#####.#"), u"12.");
    EXPECT_EQ(patternFormat(0.5f, u"#####.#"), u".5");
    EXPECT_EQ(patternFormat(0.0f, u"#####.#"), u".");
    EXPECT_EQ(patternFormat(0.04f, u"#####.#"), u".");
    EXPECT_EQ(patternFormat(123456.7f, u"#####.#"), u"123456.7");
    EXPECT_EQ(patternFormat(-5.5f, u"#####.#"), u"-5.5");
    EXPECT_EQ(patternFormat(9.96f, u"#####.#"), u"10.");
}

TEST(PatternFormat, ZeroPattern) {
    EXPECT_EQ(patternFormat(12.34f, u"0.0"), u"12.3");
    EXPECT_EQ(patternFormat(12.0f, u"0.0"), u"12.0");
    EXPECT_EQ(patternFormat(0.5f, u"0.0"), u"0.5");
    EXPECT_EQ(patternFormat(0.0f, u"0.0"), u"0.0");
    EXPECT_EQ(patternFormat(0.04f, u"0.0"), u"0.0");
    EXPECT_EQ(patternFormat(123456.7f, u"0.0"), u"123456.7");
    EXPECT_EQ(patternFormat(-5.5f, u"0.0"), u"-5.5");
    EXPECT_EQ(patternFormat(9.96f, u"0.0"), u"10.0");
}

TEST(PatternFormat, HalvesRoundAwayFromZeroAndTinyNegativesLoseTheirSign) {
    EXPECT_EQ(patternFormat(12.25f, u"0.0"), u"12.3");  // 12.25 is exact in binary
    EXPECT_EQ(patternFormat(-12.25f, u"0.0"), u"-12.3");
    EXPECT_EQ(patternFormat(0.05f, u"0.0"), u"0.1");  // 0.05f lies just above 0.05
    EXPECT_EQ(patternFormat(-0.04f, u"#####.#"), u".");
    EXPECT_EQ(patternFormat(-0.04f, u"0.0"), u"0.0");
}

TEST(PatternFormat, AlwaysOnePointEvenForExtremeValues) {
    for (float value :
         {std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
          std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN(),
          std::numeric_limits<float>::denorm_min(), 16777217.0f}) {
        const std::u16string text = patternFormat(value, u"#####.#");
        EXPECT_EQ(std::count(text.begin(), text.end(), u'.'), 1) << value;
    }
    EXPECT_EQ(patternFormat(16777216.0f, u"#####.#"), u"16777216.");
}

TEST(Floor, WholeNumberNotAbove) {
    EXPECT_EQ(floorValue(45.2133), 45.0);
    EXPECT_EQ(floorValue(0.3), 0.0);
    EXPECT_EQ(floorValue(98.99), 98.0);
    EXPECT_EQ(floorValue(-0.5), -1.0);
}

TEST(ToInt16, RoundsHalvesToEvenAndChecksRange) {
    EXPECT_EQ(toInt16(45.0), 45);
    EXPECT_EQ(toInt16(2.5), 2);
    EXPECT_EQ(toInt16(3.5), 4);
    EXPECT_EQ(toInt16(-2.5), -2);
    EXPECT_EQ(toInt16(32767.0), 32767);
    EXPECT_EQ(toInt16(-32768.0), -32768);
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_THROW(toInt16(32767.5), OverflowError);
    EXPECT_THROW(toInt16(32768.0), OverflowError);
    EXPECT_THROW(toInt16(-32769.0), OverflowError);
    EXPECT_THROW(toInt16(std::nan("")), OverflowError);
}

TEST(CheckedSteps, IncrementAndDecrementStopAtTheRange) {
    std::int16_t value = 32766;
    checkedIncrement(value);
    EXPECT_EQ(value, 32767);
    EXPECT_THROW(checkedIncrement(value), OverflowError);
    EXPECT_EQ(value, 32767);

    value = -32767;
    checkedDecrement(value);
    EXPECT_EQ(value, -32768);
    EXPECT_THROW(checkedDecrement(value), OverflowError);
    EXPECT_EQ(value, -32768);

    value = 32766;
    saturatingIncrement(value);
    saturatingIncrement(value);
    EXPECT_EQ(value, 32767);
}

TEST(TextEquals, WholeTextCodeUnitByCodeUnit) {
    EXPECT_TRUE(textEquals(u" 45÷ 6", u" 45÷ 6"));
    EXPECT_FALSE(textEquals(u" 45÷ 6", u"45÷6"));
    EXPECT_FALSE(textEquals(u" 45÷ 6", u" 45÷ 6 "));
    EXPECT_FALSE(textEquals(u"７", u"7"));
    EXPECT_FALSE(textEquals(u"a", u"A"));
    EXPECT_TRUE(textEquals(u"", u""));
    EXPECT_FALSE(textEquals(u"", u" "));
}
