// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The filling of the results window: three passes in order and the caption rules.

#include "results_filler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history_records.h"
#include "records_support.h"

namespace {

using records::fillResults;
using records::resultsTimeText;

// Records every caption in the order it was set.
class RecordingLabels : public drill::ResultsLabels {
public:
    struct Step {
        std::string label;  // "m", "tt", "gotou", "labid" or "labdate"
        int row = 0;        // 0 for labid and labdate
        std::u16string caption;
    };

    void setM(int row, const std::u16string& caption) override {
        steps.push_back({"m", row, caption});
    }
    void setTt(int row, const std::u16string& caption) override {
        steps.push_back({"tt", row, caption});
    }
    void setGotou(int row, const std::u16string& caption) override {
        steps.push_back({"gotou", row, caption});
    }
    void setLabid(const std::u16string& caption) override {
        steps.push_back({"labid", 0, caption});
    }
    void setLabdate(const std::u16string& caption) override {
        steps.push_back({"labdate", 0, caption});
    }

    // The last caption given to a label.
    std::u16string caption(const std::string& label, int row = 0) const {
        std::u16string last = u"<never set>";
        for (const Step& step : steps) {
            if (step.label == label && step.row == row)
                last = step.caption;
        }
        return last;
    }

    std::vector<Step> steps;
};

RecordingLabels filled(drill::DrillState state) {
    RecordingLabels labels;
    fillResults(state, labels);
    return labels;
}

TEST(ResultsFill, SetsAllProblemsThenAllTimesThenAllCountsThenIdAndDate) {
    drill::DrillState state = records_test::fullDrill(3, u"12");
    const RecordingLabels labels = filled(state);
    std::vector<std::pair<std::string, int>> expected;
    for (const char* label : {"m", "tt", "gotou"}) {
        for (int row = 1; row <= 20; ++row)
            expected.emplace_back(label, row);
    }
    expected.emplace_back("labid", 0);
    expected.emplace_back("labdate", 0);
    std::vector<std::pair<std::string, int>> actual;
    for (const RecordingLabels::Step& step : labels.steps)
        actual.emplace_back(step.label, step.row);
    EXPECT_EQ(actual, expected);
}

TEST(ResultsFill, CountsWithTheDrillsCounter) {
    drill::DrillState state = records_test::fullDrill(3, u"12");
    RecordingLabels labels;
    fillResults(state, labels);
    EXPECT_EQ(state.i, 21);
}

TEST(ResultsFill, AnsweredRowShowsProblemTimeAndCount) {
    drill::DrillState state;
    state.qtext[1] = u" 45÷ 6";
    state.qtime[1] = 12.34f;
    state.qmiss[1] = 2;
    const RecordingLabels labels = filled(state);
    EXPECT_EQ(labels.caption("m", 1), u" 45÷ 6");
    EXPECT_EQ(labels.caption("tt", 1), u" 12.3");
    EXPECT_EQ(labels.caption("gotou", 1), u" 2");
    EXPECT_EQ(labels.caption("gotou", 2), u"");
}

TEST(ResultsFill, FullDrillShowsTwentyFullRowsWithZeroCountsShown) {
    const RecordingLabels labels = filled(records_test::fullDrill(20, u"12"));
    EXPECT_EQ(labels.caption("m", 20), u" 20÷ 1");
    EXPECT_EQ(labels.caption("tt", 20), u" 20.3");
    EXPECT_EQ(labels.caption("gotou", 20), u" 19");
    EXPECT_EQ(labels.caption("gotou", 1), u" 0");  // right at the first try
}

TEST(ResultsFill, ZeroTimeHidesTimeAndCountButNotTheProblem) {
    drill::DrillState state;
    state.qtext[3] = u" 9÷ 3";
    state.qtime[3] = 0.0f;
    state.qmiss[3] = 5;
    state.qmiss[4] = 2;  // the open problem of a drill ended in the middle
    const RecordingLabels labels = filled(state);
    EXPECT_EQ(labels.caption("m", 3), u" 9÷ 3");
    EXPECT_EQ(labels.caption("tt", 3), u"");
    EXPECT_EQ(labels.caption("gotou", 3), u"");
    EXPECT_EQ(labels.caption("m", 4), u"");
    EXPECT_EQ(labels.caption("tt", 4), u"");
    EXPECT_EQ(labels.caption("gotou", 4), u"");
}

TEST(ResultsFill, EveryCaptionOfAnEmptyRowIsSetToEmptyText) {
    const RecordingLabels labels = filled(drill::DrillState{});
    for (int row = 1; row <= 20; ++row) {
        EXPECT_EQ(labels.caption("m", row), u"") << row;
        EXPECT_EQ(labels.caption("tt", row), u"") << row;
        EXPECT_EQ(labels.caption("gotou", row), u"") << row;
    }
}

TEST(ResultsFill, TimeIsTheRoundedTenthsAsNumberText) {
    EXPECT_EQ(resultsTimeText(12.34f), u" 12.3");
    EXPECT_EQ(resultsTimeText(12.04f), u" 12");
    EXPECT_EQ(resultsTimeText(12.0f), u" 12");
    EXPECT_EQ(resultsTimeText(9.96f), u" 10");
    EXPECT_EQ(resultsTimeText(0.5f), u" 0.5");
    EXPECT_EQ(resultsTimeText(0.04f), u" 0");
    EXPECT_EQ(resultsTimeText(123456.7f), u" 123456.7");
    EXPECT_EQ(resultsTimeText(-5.5f), u"-5.5");
    EXPECT_EQ(resultsTimeText(-0.04f), u" 0");
}

TEST(ResultsFill, TimeUnderATwentiethShowsZeroAndTheCount) {
    drill::DrillState state;
    state.qtext[1] = u" 8÷ 2";
    state.qtime[1] = 0.04f;
    state.qmiss[1] = 1;
    const RecordingLabels labels = filled(state);
    EXPECT_EQ(labels.caption("tt", 1), u" 0");
    EXPECT_EQ(labels.caption("gotou", 1), u" 1");
}

TEST(ResultsFill, NegativeTimeShowsItsSignWithoutLeadingSpace) {
    drill::DrillState state;
    state.qtext[2] = u" 8÷ 2";
    state.qtime[2] = -5.5f;
    const RecordingLabels labels = filled(state);
    EXPECT_EQ(labels.caption("tt", 2), u"-5.5");
    EXPECT_EQ(labels.caption("gotou", 2), u" 0");
}

TEST(ResultsFill, IdAndDateAreShownExactlyAsTyped) {
    drill::DrillState state;
    state.myid = u" 12 ";
    state.mydate = u"８／１ ";
    const RecordingLabels labels = filled(state);
    EXPECT_EQ(labels.caption("labid"), u" 12 ");
    EXPECT_EQ(labels.caption("labdate"), u"８／１ ");
}

TEST(ResultsFill, RowsAfterLastnumStayEmptyWhateverTheArraysHold) {
    // The window shows twenty rows: only what the arrays hold decides.
    drill::DrillState state = records_test::fullDrill(2, u"12");
    state.lastnum = 1;
    const RecordingLabels labels = filled(state);
    EXPECT_EQ(labels.caption("m", 2), u" 2÷ 1");
    EXPECT_EQ(labels.caption("m", 3), u"");
    EXPECT_EQ(labels.caption("gotou", 3), u"");
}

TEST(ResultsFill, HistoryRecordsFillsTheSameWay) {
    records::HistoryRecords records;
    drill::DrillState state = records_test::fullDrill(20, u"12");
    RecordingLabels labels;
    records.fillResults(state, labels);
    EXPECT_EQ(labels.steps.size(), 62u);
    EXPECT_EQ(labels.caption("tt", 1), u" 1.3");
}

}  // namespace
