// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The bytes of the history file: the header, the row lines and the whole file, and the
// teacher's program reading them back.

#include <gtest/gtest.h>

#include "history_file.h"
#include "history_reader.h"
#include "records_support.h"

namespace {

using records::historyFileBytes;
using records::historyHeaderLine;
using records::historyRowLine;
using records_test::csvFields;
using records_test::hex;

constexpr const char* kHeaderHex =
    "22 96 E2 91 E8 93 E0 97 65 22 2C 22 89 F0 93 9A 8E 9E 8A D4 22 2C 22 8C EB 93 9A 89 F1 90 "
    "94 22 2C 22 89 F0 93 9A 93 FA 95 74 22 0D 0A";

// The line without its CR LF, for the CSV reader.
QByteArray withoutLineEnd(const QByteArray& line) {
    return line.endsWith("\r\n") ? line.chopped(2) : line;
}

TEST(HistoryLines, HeaderIsTheFortyFiveBytes) {
    EXPECT_EQ(hex(historyHeaderLine()), kHeaderHex);
    EXPECT_EQ(historyHeaderLine().size(), 45);
}

TEST(HistoryLines, WorkedExampleIsTheTwentyNineBytes) {
    const QByteArray line = historyRowLine(u" 45÷ 6", 12.34f, 1, u"８／１");
    EXPECT_EQ(hex(line),
              "22 20 34 35 81 80 20 36 22 2C 22 31 32 2E 33 22 2C 31 2C 22 82 57 81 5E 82 50 22 "
              "0D 0A");
}

TEST(HistoryLines, TimeIsQuotedPatternTextThatKeepsThePoint) {
    EXPECT_EQ(historyRowLine(u"a", 12.04f, 0, u"d"), QByteArray("\"a\",\"12.\",0,\"d\"\r\n"));
    EXPECT_EQ(historyRowLine(u"a", 12.0f, 0, u"d"), QByteArray("\"a\",\"12.\",0,\"d\"\r\n"));
    EXPECT_EQ(historyRowLine(u"a", 0.0f, 0, u"d"), QByteArray("\"a\",\".\",0,\"d\"\r\n"));
    EXPECT_EQ(historyRowLine(u"a", 0.04f, 0, u"d"), QByteArray("\"a\",\".\",0,\"d\"\r\n"));
    EXPECT_EQ(historyRowLine(u"a", 0.5f, 0, u"d"), QByteArray("\"a\",\".5\",0,\"d\"\r\n"));
    EXPECT_EQ(historyRowLine(u"a", 123456.7f, 0, u"d"),
              QByteArray("\"a\",\"123456.7\",0,\"d\"\r\n"));
    EXPECT_EQ(historyRowLine(u"a", -5.5f, 0, u"d"), QByteArray("\"a\",\"-5.5\",0,\"d\"\r\n"));
}

TEST(HistoryLines, CountIsABareIntegerWithoutLeadingSpace) {
    EXPECT_EQ(historyRowLine(u"", 0.0f, 0, u""), QByteArray("\"\",\".\",0,\"\"\r\n"));
    EXPECT_EQ(historyRowLine(u"", 0.0f, 32767, u""), QByteArray("\"\",\".\",32767,\"\"\r\n"));
    EXPECT_EQ(historyRowLine(u"", 0.0f, -3, u""), QByteArray("\"\",\".\",-3,\"\"\r\n"));
}

TEST(HistoryLines, TextItemsAreWrittenAsTyped) {
    // Spaces stay, an empty date gives two double quotes.
    EXPECT_EQ(historyRowLine(u" 5÷ 5", 1.0f, 2, u""),
              QByteArray("\" 5\x81\x80 5\",\"1.\",2,\"\"\r\n"));
    EXPECT_EQ(historyRowLine(u"x", 1.0f, 2, u" 8 / 1 "),
              QByteArray("\"x\",\"1.\",2,\" 8 / 1 \"\r\n"));
}

// A date that a spreadsheet would run as a formula is written as text, with a leading "'";
// every other date keeps its bytes.
TEST(HistoryLines, DateThatASpreadsheetWouldRunIsWrittenAsText) {
    const struct {
        std::u16string_view date;
        const char* item;
    } rows[] = {
        {u"=1+1", "\"'=1+1\""},       {u"+8/1", "\"'+8/1\""}, {u"-1", "\"'-1\""},
        {u"@8", "\"'@8\""},           {u"\t8", "\"'\t8\""},   {u"\r", "\"'\r\""},
        {u"8/1=", "\"8/1=\""},        {u" =1", "\" =1\""},    {u"'=1", "\"'=1\""},
        {u"＝1", "\"\x81\x81\x31\""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(historyRowLine(u"x", 1.0f, 0, row.date),
                  QByteArray("\"x\",\"1.\",0,") + row.item + "\r\n")
            << QString::fromStdU16String(std::u16string(row.date)).toStdString();
    }
}

TEST(HistoryLines, DoubleQuotesAreDoubledSoTheLineStaysFourItems) {
    const QByteArray line = historyRowLine(u"\"", 1.0f, 0, u"8\"1\",\"x");
    EXPECT_EQ(line, QByteArray("\"\"\"\",\"1.\",0,\"8\"\"1\"\",\"\"x\"\r\n"));
    const std::vector<std::u16string> fields = csvFields(withoutLineEnd(line));
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(fields[0], u"\"");
    EXPECT_EQ(fields[3], u"8\"1\",\"x");
}

TEST(HistoryLines, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    const std::u16string loneHigh{char16_t(0xD800)};
    EXPECT_EQ(historyRowLine(u"€", 1.0f, 0, u"😀8/1" + loneHigh),
              QByteArray("\"?\",\"1.\",0,\"?8/1?\"\r\n"));
}

TEST(HistoryLines, ShiftJisTrailBytesDoNotEndAQuotedItem) {
    // "ソ" and "表" end in 0x5C; "\" itself is ASCII.
    const QByteArray line = historyRowLine(u"ソ表\\", 1.0f, 0, u"\\\"");
    const std::vector<std::u16string> fields = csvFields(withoutLineEnd(line));
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(fields[0], u"ソ表\\");
    EXPECT_EQ(fields[3], u"\\\"");
}

TEST(HistoryFile, IsTheHeaderAndOneLinePerRowUpToLastnum) {
    drill::DrillState state = records_test::fullDrill(3, u"12");
    state.qtext[4] = u"not written";
    const QByteArray expected = historyHeaderLine() + historyRowLine(u" 1÷ 1", 1.3f, 0, u"８／１") +
                                historyRowLine(u" 2÷ 1", 2.3f, 1, u"８／１") +
                                historyRowLine(u" 3÷ 1", 3.3f, 2, u"８／１");
    EXPECT_EQ(hex(historyFileBytes(state)), hex(expected));
    EXPECT_EQ(state.i, 4);  // the drill's own counter ran the rows
}

TEST(HistoryFile, DrillEndedDuringTheFirstProblemHasOneEmptyRow) {
    drill::DrillState state;
    state.lastnum = 1;
    state.qmiss[1] = 4;
    state.mydate = u"8/1";
    EXPECT_EQ(historyFileBytes(state), historyHeaderLine() + "\"\",\".\",4,\"8/1\"\r\n");
}

TEST(HistoryFile, TwentyRowsMakeTwentyOneLinesOfFourItemsEachEndingInCrLf) {
    drill::DrillState state = records_test::fullDrill(20, u"12");
    const QByteArray bytes = historyFileBytes(state);
    EXPECT_EQ(bytes.count("\r\n"), 21);
    EXPECT_EQ(bytes.count('\r'), 21);
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 22);  // the last LF ends the file
    EXPECT_TRUE(lines[21].isEmpty());
    for (const QByteArray& line : lines.first(21)) {
        ASSERT_TRUE(line.endsWith('\r'));
        EXPECT_EQ(csvFields(line.chopped(1)).size(), 4u) << line.toStdString();
    }
    const std::vector<std::u16string> last = csvFields(lines[20].chopped(1));
    ASSERT_EQ(last.size(), 4u);
    EXPECT_EQ(last[0], u" 20÷ 1");
    EXPECT_EQ(last[1], u"20.3");
    EXPECT_EQ(last[2], u"19");
    EXPECT_EQ(last[3], u"８／１");
}

TEST(HistoryFile, RowLineOfAMidDrillEndKeepsItsCountButNoTextOrTime) {
    drill::DrillState state = records_test::fullDrill(4, u"12");
    state.qtext[4].clear();
    state.qtime[4] = 0;
    state.qmiss[4] = 2;
    const QList<QByteArray> lines = historyFileBytes(state).split('\n');
    ASSERT_EQ(lines.size(), 6);  // five lines and the empty rest after the last LF
    EXPECT_EQ(lines[4], QByteArray("\"\",\".\",2,\"\x82\x57\x81\x5E\x82\x50\"\r"));
    EXPECT_TRUE(lines[5].isEmpty());
}

// What the drill writes reads back as it was typed; rows that no one drill could write are
// refused.
TEST(HistoryRead, ReadsBackTheDrillAndRefusesRowsOfTwoDrills) {
    const struct {
        const char* name;
        QByteArray bytes;
        std::u16string_view date;  // the date read back; empty when refused
    } rows[] = {
        {"a quote in the date",
         historyHeaderLine() + historyRowLine(u" 45÷ 6", 12.3f, 1, u"11/9 \"b\""), u"11/9 \"b\""},
        {"a date written as text, read back as typed",
         historyHeaderLine() + historyRowLine(u" 45÷ 6", 12.3f, 1, u"=1+1"), u"=1+1"},
        {"a date typed with a leading apostrophe",
         historyHeaderLine() + "\" 45\x81\x80 6\",\"12.3\",1,\"'8/1\"\r\n", u"'8/1"},
        {"characters of lead bytes 0xFA..0xFC",
         historyHeaderLine() + historyRowLine(u" 45÷ 6", 12.3f, 1, u"ⅰ髙﨑"), u"ⅰ髙﨑"},
        {"rows of two drills",
         historyHeaderLine() + historyRowLine(u" 45÷ 6", 12.3f, 1, u"11/9") +
             historyRowLine(u" 8÷ 2", 1.0f, 0, u"11/10"),
         u""},
    };
    for (const auto& row : rows) {
        const records::HistoryRead read = records::readHistory(row.bytes);
        if (row.date.empty()) {
            EXPECT_FALSE(read.drill) << row.name;
            EXPECT_EQ(read.refusal.toStdU16String(), records::refusals::kNotOurs) << row.name;
        } else {
            ASSERT_TRUE(read.drill) << row.name << ": " << read.refusal.toStdString();
            EXPECT_EQ(read.drill->date.toStdU16String(), row.date) << row.name;
        }
    }
}

// A file that the system fails to read is unreadable, not empty or cut short.
TEST(HistoryRead, AReadErrorMakesTheFileUnreadable) {
    const records::HistoryRead read = records::readHistoryFile("/proc/self/mem");
    EXPECT_FALSE(read.drill);
    EXPECT_TRUE(read.refusal.startsWith(
        QString::fromStdU16String(std::u16string(records::refusals::kUnreadableStart))))
        << read.refusal.toStdString();
}

}  // namespace
