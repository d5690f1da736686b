// The drill window's handlers driven through recording fakes: what each does, and in which order.

#include <gtest/gtest.h>

#include <optional>
#include <set>

#include "recording_fakes.h"

using fakes::Log;
using fakes::Rig;

namespace {

const std::vector<std::string> kRightCue = {"MM.Command=close", "MM.FileName=Chimes.wav",
                                            "MM.Command=Open", "MM.Command=Sound"};
const std::vector<std::string> kWrongCue = {"MM.Command=close", "MM.FileName=Chimes2.wav",
                                            "MM.Command=Open", "MM.Command=Sound"};
const std::vector<std::string> kNextCue = {"MM.Command=Stop", "MM.Command=Close",
                                           "MM.FileName=pinpon.wav", "MM.Command=Open",
                                           "MM.Command=Sound"};
const std::vector<std::string> kEndCue = {"MM.Command=Stop", "MM.Command=Close",
                                          "MM.FileName=endpinpon.wav", "MM.Command=Open",
                                          "MM.Command=Sound"};
const std::string kEndQuestion = "MsgBox ぽるねあ / おわります。いいですか？";

Log concat(std::initializer_list<Log> parts) {
    Log out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// Queues the fractions that draw dividend and divisor (no exchange when dividend >= divisor).
void queueProblem(Rig& rig, int dividend, int divisor) {
    rig.random.queued.push_back((dividend - 0.5) / 99);
    rig.random.queued.push_back((divisor - 0.5) / 9);
}

void startWith(Rig& rig, int dividend, int divisor) {
    queueProblem(rig, dividend, divisor);
    rig.drill.startUp();
}

// Answers right and presses the next button until problem `target` is on screen.
void advanceTo(Rig& rig, int target) {
    while (rig.drill.state().n < target) {
        rig.answerRight();
        rig.drill.nextClicked();
    }
}

void answer(Rig& rig, std::string_view quotient, std::string_view remainder) {
    rig.view.type(0, quotient);
    rig.view.type(1, remainder);
    rig.drill.answerClicked();
}

}  // namespace

TEST(StartUp, RunsItsStepsInOrder) {
    Rig rig;
    rig.dialogs.inputs = {u"８／１", u"12"};
    startWith(rig, 45, 6);

    EXPECT_EQ(rig.log, (Log{"InputBox －－　きょうはなんがつなんにちですか。　－－ / "
                            "８がつ１にちだったら、８／１といれましょう。",
                            "InputBox －－　あなたのＩＤはなんですか。　－－ / "
                            "あなたのＩＤをいれましょう。",
                            "Clock", "Randomize", "Command2.Enabled=0",
                            "Label(5).Caption=［もんだい 1］", "Rnd", "Rnd", "Label(0).Caption=45",
                            "Label(1).Caption=÷", "Label(2).Caption=6", "Clock"}));
    const auto& s = rig.drill.state();
    EXPECT_EQ(s.mydate, u"８／１");
    EXPECT_EQ(s.myid, u"12");
    EXPECT_EQ(s.n, 1);
    EXPECT_EQ(s.mytime, 1000.0f);
    for (int k = 0; k <= 20; ++k) {
        EXPECT_TRUE(s.qtext[k].empty());
        EXPECT_EQ(s.qtime[k], 0.0f);
        EXPECT_EQ(s.qmiss[k], 0);
    }
}

TEST(StartUp, KeepsTypedTextsExactlyAndTakesCancelAsEmpty) {
    Rig rig;
    rig.dialogs.inputs = {u" ８／１ ", u" "};
    rig.drill.startUp();
    EXPECT_EQ(rig.drill.state().mydate, u" ８／１ ");
    EXPECT_EQ(rig.drill.state().myid, u" ");

    Rig cancelled;
    cancelled.drill.startUp();
    EXPECT_EQ(cancelled.drill.state().mydate, u"");
    EXPECT_EQ(cancelled.drill.state().myid, u"");
    cancelled.answerRight();
    EXPECT_EQ(cancelled.view.caption[4], u"◎");
}

TEST(AnswerButton, DoesNothingBeforeTheFirstProblem) {
    Rig rig;
    rig.drill.answerClicked();
    EXPECT_TRUE(rig.log.empty());
}

TEST(AnswerButton, JudgesTheLeadingNumberOfEachBox) {
    struct Case {
        int a, c;
        const char* quotient;
        const char* remainder;
        bool right;
    };
    const Case cases[] = {
        {45, 6, "7", "3", true},    {45, 6, "7", "4", false},   {45, 6, "7.0", "3", true},
        {45, 6, "7.5", "3", false}, {12, 4, "3", "", true},     {12, 4, "", "0", false},
        {45, 6, "7こ", "3", true},  {45, 6, "07", " 3 ", true}, {45, 6, "７", "３", true},
        {99, 1, "99", "0", true},   {17, 9, "1", "8", true},    {45, 6, "1e3", "3", false},
        {45, 6, "+7", "-0", false}, {12, 4, "+3", "-0", true},
    };
    for (const Case& c : cases) {
        Rig rig;
        startWith(rig, c.a, c.c);
        answer(rig, c.quotient, c.remainder);
        EXPECT_EQ(rig.view.caption[4], c.right ? u"◎" : u"×")
            << c.a << "÷" << c.c << " " << c.quotient << "," << c.remainder;
    }
}

TEST(AnswerButton, RightAnswerPlaysTheCueThenMarksThenSwitchesButtonsThenTimes) {
    Rig rig;
    startWith(rig, 45, 6);
    rig.clock.now = 1012.5f;
    const auto from = rig.log.size();
    answer(rig, "7", "3");
    EXPECT_EQ(rig.entries(from, "Label(4).Caption=×").size(), 0u);
    EXPECT_EQ(Log(rig.log.end() - 9, rig.log.end()),
              concat({kRightCue,
                      {"Label(4).ForeColor=blue", "Label(4).Caption=◎", "Command1.Enabled=0",
                       "Command2.Enabled=1", "Clock"}}));
    const auto& s = rig.drill.state();
    EXPECT_FLOAT_EQ(s.qtime[1], 12.5f);
    EXPECT_EQ(s.qtext[1], u" 45÷ 6");
    EXPECT_EQ(s.qmiss[1], 0);
    EXPECT_EQ(rig.view.text1(0), u"7");  // the boxes keep what was typed
    EXPECT_EQ(rig.view.focus, -1);       // and the focus does not move
}

TEST(AnswerButton, WrongAnswerPlaysTheCueThenMarksThenSwitchesButtonsThenCounts) {
    Rig rig;
    startWith(rig, 45, 6);
    rig.view.type(0, "7");
    rig.view.type(1, "4");
    const auto from = rig.log.size();
    rig.drill.answerClicked();
    EXPECT_EQ(rig.entries(from), concat({kWrongCue,
                                         {"Label(4).ForeColor=red", "Label(4).Caption=×",
                                          "Command2.Enabled=0", "Command1.Enabled=1"}}));
    EXPECT_EQ(rig.drill.state().qmiss[1], 1);
    EXPECT_TRUE(rig.drill.state().qtext[1].empty());

    const auto again = rig.log.size();
    rig.drill.answerClicked();  // pressed again: the cue plays again
    EXPECT_EQ(rig.entries(again, "MM."), kWrongCue);
    EXPECT_EQ(rig.drill.state().qmiss[1], 2);
}

TEST(AnswerButton, TimeCountsFromTheProblemStartThroughWrongAttempts) {
    Rig rig;
    rig.drill.startUp();
    advanceTo(rig, 5);
    rig.clock.now = 2000.0f;
    const float start = rig.drill.state().mytime;
    for (int k = 0; k < 3; ++k)
        rig.answerWrong();
    rig.clock.now = 2010.0f;
    rig.answerRight();
    const auto& s = rig.drill.state();
    EXPECT_EQ(s.qmiss[5], 3);
    EXPECT_FALSE(s.qtext[5].empty());
    EXPECT_FLOAT_EQ(s.qtime[5], 2010.0f - start);
}

TEST(AnswerButton, AProblemOpenAcrossMidnightGetsAPositiveTime) {
    Rig rig;
    rig.clock.now = 86390.0f;
    rig.drill.startUp();
    rig.clock.now = 5.0f;
    rig.answerRight();
    EXPECT_FLOAT_EQ(rig.drill.state().qtime[1], 15.0f);
}

TEST(AnswerButton, WrongAnswerCountStopsAt32767) {
    Rig rig;
    rig.drill.startUp();
    rig.drill.state().qmiss[1] = 32766;
    rig.answerWrong();
    rig.answerWrong();
    EXPECT_EQ(rig.drill.state().qmiss[1], 32767);
    EXPECT_EQ(rig.view.caption[4], u"×");
    rig.answerRight();
    EXPECT_EQ(rig.view.caption[4], u"◎");
}

TEST(AnswerButton, TwentiethRightAnswerShowsThePictureInsteadOfTheMark) {
    Rig rig;
    rig.drill.startUp();
    advanceTo(rig, 20);
    const auto from = rig.log.size();
    rig.answerRight();
    const Log steps = rig.entries(from, "");
    EXPECT_EQ(Log(steps.end() - 9, steps.end()),
              concat({kRightCue,
                      {"Label(4).Visible=0", "Image4.Visible=1", "Command1.Enabled=0",
                       "Command2.Enabled=1", "Clock"}}));
    EXPECT_TRUE(rig.entries(from, "Label(4).Caption=◎").empty());
    EXPECT_FALSE(rig.view.labelVisible[4]);
    EXPECT_TRUE(rig.view.image4Visible);
}

TEST(AnswerBoxChange, ClearsTheMarkAndNothingElse) {
    Rig rig;
    startWith(rig, 45, 6);
    answer(rig, "7", "3");
    const auto from = rig.log.size();
    rig.view.type(1, "35");
    EXPECT_EQ(rig.entries(from), (Log{"Label(4).Caption="}));
    EXPECT_FALSE(rig.view.enabled[1]);
    EXPECT_TRUE(rig.view.enabled[2]);
    EXPECT_EQ(rig.view.foreColor[4], drill::kBlue);
}

TEST(NextButton, ClearsTheWindowThenStartsTheClockThenDrawsTheNewProblem) {
    Rig rig;
    startWith(rig, 45, 6);
    answer(rig, "7", "3");
    queueProblem(rig, 12, 4);
    const auto from = rig.log.size();
    rig.drill.nextClicked();
    EXPECT_EQ(rig.entries(from), concat({kNextCue,
                                         {"Command1.Enabled=1",
                                          "Command2.Enabled=0",
                                          "Label(0).Caption=",
                                          "Label(1).Caption=",
                                          "Label(2).Caption=",
                                          "Text1(0).Text=",
                                          "Label(4).Caption=",
                                          "Text1(1).Text=",
                                          "Label(4).Caption=",
                                          "Label(4).Caption=",
                                          "Label(4).Visible=1",
                                          "Image4.Visible=0",
                                          "Clock",
                                          "Label(5).Caption=［もんだい 2］",
                                          "Clock",
                                          "Randomize",
                                          "Rnd",
                                          "Rnd",
                                          "Label(0).Caption=12",
                                          "Label(1).Caption=÷",
                                          "Label(2).Caption=4",
                                          "Text1(0).SetFocus"}}));
    const auto& s = rig.drill.state();
    EXPECT_EQ(s.n, 2);
    EXPECT_EQ(s.mytime, rig.clock.now);
    EXPECT_EQ(s.qtext[2], u"");
}

TEST(NextButton, NeverShowsAProblemSolvedBefore) {
    Rig rig;
    startWith(rig, 45, 6);
    answer(rig, "7", "3");
    queueProblem(rig, 45, 6);
    queueProblem(rig, 46, 5);
    rig.drill.nextClicked();
    EXPECT_EQ(rig.view.caption[0], u"46");
    EXPECT_EQ(rig.random.reseeds, 3);  // start-up, then one for each attempt
}

TEST(NextButton, AfterTheTwentiethProblemFinishesTheDrill) {
    Rig rig;
    rig.drill.startUp();
    advanceTo(rig, 19);
    rig.answerRight();
    rig.drill.nextClicked();
    EXPECT_EQ(rig.view.caption[5], u"［もんだい 20］");
    rig.answerRight();
    const auto from = rig.log.size();
    rig.drill.nextClicked();

    const auto& s = rig.drill.state();
    EXPECT_EQ(s.n, 21);
    EXPECT_EQ(rig.view.caption[4], u"終");
    EXPECT_EQ(rig.view.foreColor[4], drill::kBlue);
    EXPECT_TRUE(rig.view.labelVisible[4]);
    EXPECT_FALSE(rig.view.image4Visible);
    for (int k : {0, 1, 2, 5})
        EXPECT_EQ(rig.view.caption[k], u"") << k;
    EXPECT_FALSE(rig.view.enabled[1]);
    EXPECT_FALSE(rig.view.enabled[2]);
    EXPECT_EQ(rig.view.focus, 0);
    EXPECT_TRUE(rig.entries(from, "Clock").empty());  // no new clock, no draw
    EXPECT_TRUE(rig.entries(from, "Rnd").empty());
    const Log tail = rig.entries(from);
    EXPECT_EQ(Log(tail.end() - 7, tail.end()),
              (Log{"Image4.Visible=0", "Command1.Enabled=0", "Command2.Enabled=0",
                   "Label(4).ForeColor=blue", "Label(4).Caption=終",
                   "Label(5).Caption=", "Text1(0).SetFocus"}));

    rig.view.type(0, "1");  // typing still clears the mark
    EXPECT_EQ(rig.view.caption[4], u"");
}

TEST(WholeDrill, TwentyDifferentProblemsEachTimedAndCounted) {
    Rig rig;
    rig.clock.stepPerRead = 1.5f;
    rig.drill.startUp();
    std::set<std::u16string> shown;
    for (int k = 1; k <= 20; ++k) {
        shown.insert(rig.view.caption[0] + u"÷" + rig.view.caption[2]);
        if (k % 4 == 0)
            rig.answerWrong();
        rig.answerRight();
        rig.drill.nextClicked();
    }
    EXPECT_EQ(shown.size(), 20u);
    const auto& s = rig.drill.state();
    EXPECT_EQ(s.n, 21);
    std::set<std::u16string> texts(s.qtext.begin() + 1, s.qtext.end());
    EXPECT_EQ(texts.size(), 20u);
    for (int k = 1; k <= 20; ++k) {
        EXPECT_GT(s.qtime[k], 0.0f);
        EXPECT_EQ(s.qmiss[k], k % 4 == 0 ? 1 : 0);
        EXPECT_GE(s.a, s.c);
    }
    EXPECT_TRUE(s.qtext[0].empty());
}

TEST(EndButton, AsksAfterTheCueAndNoLeavesEverythingAsItWas) {
    Rig rig;
    rig.dialogs.inputs = {u"８／１", u"12"};
    startWith(rig, 45, 6);
    answer(rig, "7", "4");
    rig.dialogs.answers = {false};
    const auto before = rig.drill.state();
    const auto from = rig.log.size();
    rig.drill.endClicked();
    EXPECT_EQ(rig.entries(from), concat({kEndCue, {kEndQuestion}}));
    const auto& s = rig.drill.state();
    EXPECT_EQ(s.lastnum, 0);
    EXPECT_EQ(s.mytime, before.mytime);
    EXPECT_EQ(s.qmiss, before.qmiss);
    EXPECT_EQ(rig.view.caption[4], u"×");
    EXPECT_FALSE(rig.view.unloaded);
    EXPECT_EQ(rig.records.fills, 0);

    const auto again = rig.log.size();
    rig.drill.endClicked();  // asks again, and Yes ends
    EXPECT_EQ(rig.entries(again), concat({kEndCue,
                                          {kEndQuestion, "WriteHistory", "Form2.Load",
                                           "FillResults", "Form1.Unload", "Form2.Show"}}));
    EXPECT_EQ(rig.drill.state().lastnum, 1);
}

TEST(EndButton, MidwayEndRecordsRowsUpToTheOpenProblem) {
    Rig rig;
    rig.dialogs.inputs = {u"", u"7"};
    rig.drill.startUp();
    advanceTo(rig, 5);
    rig.answerRight();  // problem 5 solved, next not pressed
    rig.drill.endClicked();
    ASSERT_EQ(rig.records.written.size(), 1u);
    EXPECT_EQ(rig.records.written[0].lastnum, 5);
    EXPECT_FALSE(rig.records.written[0].qtext[5].empty());
    EXPECT_TRUE(rig.results.shown);
}

TEST(EndButton, FinishedDrillEndsWithoutCueOrQuestion) {
    Rig rig;
    rig.dialogs.inputs = {u"", u"7"};
    rig.drill.startUp();
    advanceTo(rig, 21);
    const auto from = rig.log.size();
    rig.drill.endClicked();
    EXPECT_EQ(rig.entries(from),
              (Log{"WriteHistory", "Form2.Load", "FillResults", "Form1.Unload", "Form2.Show"}));
    EXPECT_EQ(rig.drill.state().lastnum, 20);
}

TEST(EndButton, EmptyIdWritesNoFileButStillShowsTheResults) {
    Rig rig;
    rig.drill.startUp();
    rig.drill.endClicked();
    EXPECT_TRUE(rig.records.written.empty());
    EXPECT_EQ(rig.records.fills, 1);
    EXPECT_TRUE(rig.results.shown);

    Rig spaces;
    spaces.dialogs.inputs = {u"", u" "};
    spaces.drill.startUp();
    spaces.drill.endClicked();
    EXPECT_EQ(spaces.records.written.size(), 1u);
}

TEST(EndButton, FailedWriteIsToldThenTheResultsAreShownAnyway) {
    // One message names what was and wasn't saved: the history file and the archive file.
    const drill::SaveOutcome kept{true, u"rirekidata/kiroku/Rovedavu12/a.txt", u""};
    const drill::SaveOutcome lost{false, u"rirekidata/kiroku/Rovedavu12/", u"いっぱい"};
    struct Case {
        bool historyWritten;
        std::optional<drill::SaveOutcome> archive;
        std::string headline;  // empty: no message
        std::vector<std::string> named;
    };
    const Case cases[] = {
        {false,
         std::nullopt,
         "がくしゅうのきろくを ほぞんできませんでした。",
         {"ファイル：rirekidata/Rovedavu12.txt\nりゆう：ない"}},
        {false,
         lost,
         "がくしゅうのきろくを ほぞんできませんでした。",
         {"りゆう：ない", "ひかえ：rirekidata/kiroku/Rovedavu12/\nりゆう：いっぱい"}},
        {false,
         kept,
         "がくしゅうのきろくの ファイルを ほぞんできませんでした。",
         {"りゆう：ない", "ひかえ：rirekidata/kiroku/Rovedavu12/a.txt（ほぞんしました）"}},
        {true,
         lost,
         "がくしゅうのきろくの ひかえを ほぞんできませんでした。",
         {"ファイル：rirekidata/Rovedavu12.txt（ほぞんしました）", "りゆう：いっぱい"}},
        {true, kept, "", {}},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.dialogs.inputs = {u"", u"12"};
        rig.drill.startUp();
        rig.records.outcome = {c.historyWritten, u"rirekidata/Rovedavu12.txt",
                               c.historyWritten ? u"" : u"ない", c.archive};
        const auto from = rig.log.size();
        rig.drill.endClicked();
        Log told = {"Message ぽるねあ"};
        if (c.headline.empty())
            told.clear();
        EXPECT_EQ(rig.entries(from),
                  concat({kEndCue,
                          {kEndQuestion, "WriteHistory"},
                          told,
                          {"Form2.Load", "FillResults", "Form1.Unload", "Form2.Show"}}));
        if (c.headline.empty())
            continue;
        ASSERT_EQ(rig.dialogs.messages.size(), 1u);
        const std::string message = fakes::utf8(rig.dialogs.messages[0]);
        EXPECT_EQ(message.substr(0, c.headline.size()), c.headline);
        for (const std::string& named : c.named)
            EXPECT_NE(message.find(named), std::string::npos) << message;
    }
}

TEST(EndConfirmation, SharedPromptAndTitle) {
    Log log;
    fakes::Dialogs dialogs(log);
    dialogs.answers = {false, true};
    EXPECT_FALSE(drill::askEndConfirmation(dialogs));
    EXPECT_TRUE(drill::askEndConfirmation(dialogs));
    EXPECT_EQ(log, (Log{kEndQuestion, kEndQuestion}));
}
