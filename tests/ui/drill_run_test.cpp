// Whole drills through the real windows: start-up, twenty problems with wrong answers, the
// marks, "終", the end, the results window; an early end; Return in the answer boxes.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "drill_window.h"

namespace uitest {
namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QString kEndPrompt = QStringLiteral("おわります。いいですか？");
const QString kEndTitle = QStringLiteral("ぽるねあ");

using StartUp = DrillWindowTest;
using WholeDrill = DrillWindowTest;
using EarlyEnd = DrillWindowTest;
using ReturnKey = DrillWindowTest;

TEST_F(StartUp, AsksDateAndIdThenShowsTheFirstProblem) {
    ui::Form1* f = open(QStringLiteral("８／１"), QStringLiteral("a 1"));
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_EQ(dialogs.calls[0].title,
              QStringLiteral("－－　きょうはなんがつなんにちですか。　－－"));
    EXPECT_EQ(dialogs.calls[0].prompt,
              QStringLiteral("８がつ１にちだったら、８／１といれましょう。"));
    EXPECT_EQ(dialogs.calls[1].title, QStringLiteral("－－　あなたのＩＤはなんですか。　－－"));
    EXPECT_EQ(dialogs.calls[1].prompt, QStringLiteral("あなたのＩＤをいれましょう。"));
    EXPECT_EQ(f->state().mydate, u"８／１");
    EXPECT_EQ(f->state().myid, u"a 1");

    EXPECT_EQ(f->Label[5]->text(), QStringLiteral("［もんだい 1］"));
    EXPECT_EQ(f->Label[1]->text(), QStringLiteral("÷"));
    const Problem p = problem();
    EXPECT_GE(p.dividend, p.divisor);
    EXPECT_GE(p.divisor, 1);
    EXPECT_TRUE(f->Command1->isEnabled());
    EXPECT_FALSE(f->Command2->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), f->Text1[0]);
    EXPECT_TRUE(sound.settings.empty()) << "start-up plays nothing";
}

TEST_F(StartUp, RunsOnceHoweverOftenTheWindowIsActivated) {
    ui::Form1* f = open(QString(), QString());
    ASSERT_EQ(dialogs.count("input"), 2);
    const QString first = problem().text;

    for (int round = 0; round < 3; ++round) {
        QEvent deactivate(QEvent::WindowDeactivate);
        QApplication::sendEvent(f, &deactivate);
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(f, &activate);
        f->hide();
        f->show();
        settle();
    }
    EXPECT_EQ(dialogs.count("input"), 2);
    EXPECT_EQ(problem().text, first);
    EXPECT_EQ(f->Label[5]->text(), QStringLiteral("［もんだい 1］"));
}

TEST_F(StartUp, NeedsTheWindowToBeShown) {
    create();
    settle();
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_TRUE(form->Label[0]->text().isEmpty());
}

TEST_F(StartUp, CancelledDialogsGiveEmptyTexts) {
    ui::Form1* f = open(QString(), QString());
    EXPECT_TRUE(f->state().mydate.empty());
    EXPECT_TRUE(f->state().myid.empty());
    EXPECT_FALSE(f->Label[0]->text().isEmpty());
}

TEST_F(WholeDrill, TwentyProblemsWithWrongAnswersThenResultsAndTheEnd) {
    ui::Form1* f = open(QStringLiteral("8/1"), QStringLiteral("ab12"));
    std::vector<Problem> problems;
    int wrongAnswers = 0;

    for (int k = 1; k <= 20; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(f->Label[5]->text(), QStringLiteral("［もんだい %1］").arg(k));
        EXPECT_TRUE(mark()->text().isEmpty());
        EXPECT_TRUE(f->Text1[0]->text().isEmpty());
        EXPECT_TRUE(f->Text1[1]->text().isEmpty());
        EXPECT_EQ(QApplication::focusWidget(), f->Text1[0]);
        const Problem p = problem();
        for (const Problem& earlier : problems)
            EXPECT_NE(earlier.text, p.text) << "no problem comes twice";
        problems.push_back(p);

        if (k % 3 == 1) {  // problems 1, 4, ..., 19 get a wrong answer first
            answerWrong();
            ++wrongAnswers;
            EXPECT_EQ(mark()->text(), QStringLiteral("×"));
            EXPECT_EQ(markColour(), kRed);
            EXPECT_TRUE(f->Command1->isEnabled());
            EXPECT_FALSE(f->Command2->isEnabled());
            // Typing clears the mark.
            QTest::keyClick(f->Text1[1], Qt::Key_End);
            QTest::keyClick(f->Text1[1], Qt::Key_0);
            EXPECT_TRUE(mark()->text().isEmpty());
        }

        answerRight();
        if (k < 20) {
            EXPECT_EQ(mark()->text(), QStringLiteral("◎"));
            EXPECT_EQ(markColour(), kBlue);
            EXPECT_FALSE(mark()->isHidden());
            EXPECT_TRUE(f->Image4->isHidden());
        } else {
            EXPECT_TRUE(mark()->isHidden()) << "the praise picture replaces the mark";
            EXPECT_FALSE(f->Image4->isHidden());
        }
        EXPECT_FALSE(f->Command1->isEnabled());
        EXPECT_TRUE(f->Command2->isEnabled());
        press(f->Command2);
    }

    // The drill is finished.
    EXPECT_EQ(mark()->text(), QStringLiteral("終"));
    EXPECT_EQ(markColour(), kBlue);
    EXPECT_FALSE(mark()->isHidden());
    EXPECT_TRUE(f->Image4->isHidden());
    EXPECT_TRUE(f->Label[5]->text().isEmpty());
    for (int index : {0, 1, 2})
        EXPECT_TRUE(f->Label[index]->text().isEmpty());
    EXPECT_FALSE(f->Command1->isEnabled());
    EXPECT_FALSE(f->Command2->isEnabled());
    EXPECT_TRUE(f->Command3->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), f->Text1[0]);

    EXPECT_EQ(sound.sounded(QStringLiteral("Chimes.wav")), 20);
    EXPECT_EQ(sound.sounded(QStringLiteral("Chimes2.wav")), wrongAnswers);
    EXPECT_EQ(sound.sounded(QStringLiteral("pinpon.wav")), 20);

    // The end asks nothing once the twenty are done.
    press(f->Command3);
    EXPECT_EQ(dialogs.count("yesno"), 0);
    EXPECT_EQ(sound.sounded(QStringLiteral("endpinpon.wav")), 0);
    EXPECT_TRUE(form.isNull()) << "the drill window is unloaded";

    ui::Form2* results = this->results();
    ASSERT_NE(results, nullptr);
    for (int k = 1; k <= 20; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(results->m[k]->text(), problems[k - 1].text);
        EXPECT_TRUE(results->tt[k]->text().startsWith(QLatin1Char(' ')));
        EXPECT_GT(results->tt[k]->text().toDouble(), 0.0);
        EXPECT_EQ(results->gotou[k]->text(),
                  k % 3 == 1 ? QStringLiteral(" 1") : QStringLiteral(" 0"));
    }
    EXPECT_EQ(results->labid->text(), QStringLiteral("ab12"));
    EXPECT_EQ(results->labdate->text(), QStringLiteral("8/1"));
    EXPECT_TRUE(QFile::exists(historyPath(QStringLiteral("ab12"))));
    EXPECT_EQ(QApplication::focusWidget(), results->Command1);

    // The results window's end button asks; No keeps it, Yes ends the program.
    QPointer<ui::Form2> shown(results);
    dialogs.answers = {false, true};
    press(results->Command1);
    ASSERT_EQ(dialogs.count("yesno"), 1);
    EXPECT_EQ(dialogs.calls.back().prompt, kEndPrompt);
    EXPECT_EQ(dialogs.calls.back().title, kEndTitle);
    ASSERT_FALSE(shown.isNull());
    EXPECT_TRUE(shown->isVisible());
    EXPECT_TRUE(exits.empty());

    press(shown->Command1);
    EXPECT_EQ(dialogs.count("yesno"), 2);
    EXPECT_EQ(exits, std::vector<int>{0});
    EXPECT_TRUE(shown.isNull()) << "the results window is unloaded";
    EXPECT_EQ(sound.sounded(QStringLiteral("endpinpon.wav")), 0) << "Form2 has no sound";
}

TEST_F(EarlyEnd, NoKeepsTheDrillAndYesShowsTheRowsSoFar) {
    ui::Form1* f = open(QStringLiteral("5/5"), QString());
    std::vector<Problem> problems;
    for (int k = 1; k <= 2; ++k) {
        problems.push_back(problem());
        answerRight();
        press(f->Command2);
    }
    answerWrong();  // problem 3 stays open with one wrong answer
    const QString third = problem().text;

    press(f->Command3);
    EXPECT_EQ(sound.sounded(QStringLiteral("endpinpon.wav")), 1);
    ASSERT_EQ(dialogs.count("yesno"), 1);
    EXPECT_EQ(dialogs.calls.back().prompt, kEndPrompt);
    EXPECT_EQ(dialogs.calls.back().title, kEndTitle);
    ASSERT_FALSE(form.isNull());
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(results(), nullptr);
    EXPECT_EQ(mark()->text(), QStringLiteral("×"));
    EXPECT_EQ(problem().text, third);
    EXPECT_EQ(f->Label[5]->text(), QStringLiteral("［もんだい 3］"));
    EXPECT_TRUE(f->Command1->isEnabled());

    dialogs.answers = {true};
    press(f->Command3);
    EXPECT_EQ(sound.sounded(QStringLiteral("endpinpon.wav")), 2);
    EXPECT_TRUE(form.isNull());
    ui::Form2* results = this->results();
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(results->m[1]->text(), problems[0].text);
    EXPECT_EQ(results->m[2]->text(), problems[1].text);
    for (int k = 3; k <= 20; ++k) {
        SCOPED_TRACE(k);
        EXPECT_TRUE(results->m[k]->text().isEmpty());
        EXPECT_TRUE(results->tt[k]->text().isEmpty());
        EXPECT_TRUE(results->gotou[k]->text().isEmpty());
    }
    EXPECT_TRUE(results->labid->text().isEmpty());
    EXPECT_EQ(results->labdate->text(), QStringLiteral("5/5"));
    EXPECT_TRUE(QDir(QStringLiteral("rirekidata")).isEmpty()) << "no ID, no history file";
    EXPECT_TRUE(exits.empty());
}

// An error that escapes a handler is reported and ends the program.
TEST_F(EarlyEnd, AnErrorInAHandlerIsReportedAndEndsTheProgram) {
    struct FailingRecords : drill::Records {
        drill::HistoryOutcome writeHistory(drill::DrillState&) override {
            return {.written = true, .fileName = {}, .reason = {}, .archive = {}};
        }
        void fillResults(drill::DrillState&, drill::ResultsLabels&) override {
            throw std::runtime_error("broken");
        }
    } records;
    dialogs.inputs = {QString(), QString()};
    ui::Form1Services s = services();
    s.records = &records;
    form = new ui::Form1(s);
    form->show();
    settle();
    dialogs.answers = {true};
    press(form->Command3);
    ASSERT_EQ(dialogs.count("message"), 1);
    EXPECT_TRUE(dialogs.calls.back().prompt.contains(QStringLiteral("broken")));
    EXPECT_EQ(exits, std::vector<int>{1});
}

TEST_F(ReturnKey, PressesTheAnswerButtonThenTheNextButton) {
    ui::Form1* f = open(QString(), QString());
    const Problem p = problem();
    type(QString::number(p.quotient() + 1), QString::number(p.remainder()));
    QTest::keyClick(f->Text1[1], Qt::Key_Return);
    settle();
    EXPECT_EQ(mark()->text(), QStringLiteral("×"));
    EXPECT_EQ(f->state().qmiss[1], 1);

    type(QString::number(p.quotient()), QString::number(p.remainder()));
    QTest::keyClick(f->Text1[0], Qt::Key_Enter);  // the keypad's Enter
    settle();
    EXPECT_EQ(mark()->text(), QStringLiteral("◎"));
    EXPECT_FALSE(f->Command1->isEnabled());

    QTest::keyClick(f->Text1[1], Qt::Key_Return);
    settle();
    EXPECT_EQ(f->Label[5]->text(), QStringLiteral("［もんだい 2］"));
    EXPECT_EQ(sound.sounded(QStringLiteral("pinpon.wav")), 1);
}

TEST_F(ReturnKey, DoesNothingOnceBothButtonsAreDisabled) {
    ui::Form1* f = open(QString(), QString());
    for (int k = 1; k <= 20; ++k) {
        answerRight();
        press(f->Command2);
    }
    ASSERT_EQ(mark()->text(), QStringLiteral("終"));
    const std::size_t settings = sound.settings.size();
    QTest::keyClick(f->Text1[0], Qt::Key_Return);
    settle();
    EXPECT_EQ(sound.settings.size(), settings);
    EXPECT_EQ(mark()->text(), QStringLiteral("終"));
    EXPECT_FALSE(form.isNull()) << "Return never ends the drill";
    EXPECT_EQ(dialogs.count("yesno"), 0);
}

}  // namespace
}  // namespace uitest
