// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Every cue heard: the real sound control, and the real drill window, play into a sound
// server of the test's own whose output is recorded; each cue is a test tone of its own
// frequency, found again in the recording and matched against the presses, in order and
// in time.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "drill_cue_order.h"
#include "form1.h"
#include "form2.h"
#include "multimedia_control.h"
#include "multimedia_control_probe.h"
#include "recorded_sound.h"
#include "ui_fakes.h"

namespace uitest {
namespace {

using std::chrono::milliseconds;

using namespace cue_order;

const char* const kFiles[] = {"Chimes.wav", "Chimes2.wav", "pinpon.wav", "endpinpon.wav"};
// Whole cycles in a 10 ms window at 48 kHz, so that the four never blur into each other.
const std::vector<double> kTones = {600, 900, 1400, 2000};
constexpr int kToneMs = 150;  // shorter than the time between presses at 4 a second
constexpr milliseconds kInTime{100};

struct Press {
    Cue cue;
    SteadyClock::time_point at;
};

// The property settings of each cue, as the drill window's handlers make them.
void play(ui::MultimediaControl& control, Cue cue) {
    const std::u16string file = QString::fromLatin1(kFiles[cue]).toStdU16String();
    if (cue == Right || cue == Wrong) {
        control.setCommand(u"close");
    } else {
        control.setCommand(u"Stop");
        control.setCommand(u"Close");
    }
    control.setFileName(file);
    control.setCommand(u"Open");
    control.setCommand(u"Sound");
}

std::string letters(const std::vector<int>& tones) {
    std::string text;
    for (int tone : tones)
        text += "RWNE"[tone];
    return text;
}

class RecordedCues : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(serverDir_.isValid() && workDir_.isValid());
        server_ = std::make_unique<SoundServer>(serverDir_.path());
        ASSERT_TRUE(server_->start())
            << "pulseaudio did not start; its log is in " << serverDir_.path().toStdString();
        oldCurrent_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(workDir_.path()));
        for (int cue = Right; cue <= End; ++cue) {
            QFile file(QString::fromLatin1(kFiles[cue]));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(toneWav(kTones[static_cast<std::size_t>(cue)], kToneMs));
        }
    }
    void TearDown() override {
        recording_.reset();
        QDir::setCurrent(oldCurrent_);
        server_.reset();
        if (HasFailure())
            serverDir_.setAutoRemove(false);
    }

    void startRecording() {
        recording_ = std::make_unique<Recording>(*server_, serverDir_.path());
        const auto deadline = SteadyClock::now() + std::chrono::seconds(10);
        while (!recording_->placed() && SteadyClock::now() < deadline)
            QTest::qWait(10);
        ASSERT_TRUE(recording_->placed()) << "parec recorded nothing";
    }

    // Stops the recording once the last cue has had time to sound.
    std::vector<Heard> heard() {
        const auto until = SteadyClock::now() + milliseconds(kToneMs + 500);
        QTest::qWait(kToneMs + 500);
        EXPECT_TRUE(recording_->waitFor(until, milliseconds(10000)))
            << "the recording stopped short";
        recording_->stop();
        return findTones(*recording_, kTones);
    }

    // What was recorded, for a failure's message.
    std::string summary() const {
        const std::vector<std::int16_t>& samples = recording_->samples();
        int peak = 0;
        for (std::int16_t sample : samples)
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        return "recorded " + std::to_string(samples.size() / Recording::kRate) + " s, peak " +
               std::to_string(peak) + " " + recording_->endedEarly();
    }

    // The sequence heard equals the sequence pressed, and each cue starts within 100 ms
    // of its press. Returns the delays in milliseconds.
    std::vector<double> expectHeardAsPressed(const std::vector<Press>& presses,
                                             const std::vector<Heard>& heard) {
        std::vector<int> pressed, got;
        for (const Press& p : presses)
            pressed.push_back(p.cue);
        for (const Heard& h : heard)
            got.push_back(h.tone);
        EXPECT_EQ(letters(got), letters(pressed))
            << "R right, W wrong, N next, E end; " << summary();
        std::vector<double> delays;
        if (got != pressed)
            return delays;
        for (std::size_t k = 0; k < presses.size(); ++k) {
            const double delay =
                std::chrono::duration<double, std::milli>(heard[k].at - presses[k].at).count();
            delays.push_back(delay);
            EXPECT_GT(delay, -15) << "cue " << k << " heard before its press";
            EXPECT_LT(delay, kInTime.count()) << "cue " << k << " late";
        }
        std::vector<double> sorted = delays;
        std::sort(sorted.begin(), sorted.end());
        if (!sorted.empty())
            std::cout << "press to sound over " << sorted.size() << " cues: median "
                      << sorted[sorted.size() / 2] << " ms, 95th percentile "
                      << sorted[sorted.size() * 95 / 100] << " ms, max " << sorted.back()
                      << " ms\n";
        return delays;
    }

    // Presses the cues on the control, `perSecond` a second.
    std::vector<Press> pressAll(ui::MultimediaControl& control, const std::vector<Cue>& cues,
                                double perSecond) {
        std::vector<Press> presses;
        const auto start = SteadyClock::now() + milliseconds(100);
        const auto period = std::chrono::duration_cast<SteadyClock::duration>(
            std::chrono::duration<double>(1 / perSecond));
        for (std::size_t k = 0; k < cues.size(); ++k) {
            std::this_thread::sleep_until(start + static_cast<long>(k) * period);
            presses.push_back({cues[k], SteadyClock::now()});
            play(control, cues[k]);
        }
        return presses;
    }

    std::unique_ptr<SoundServer> server_;
    std::unique_ptr<Recording> recording_;

private:
    QTemporaryDir serverDir_;
    QTemporaryDir workDir_;
    QString oldCurrent_;
};

TEST_F(RecordedCues, EveryCueOfThe4And1PerSecondDrillsIsHeardInTime) {
    ui::MultimediaControl control;
    control.prepare();  // as the drill window does after start-up
    startRecording();
    std::vector<Press> presses = pressAll(control, drillCues(150), 4);
    const std::vector<Press> slow = pressAll(control, drillCues(20), 1);
    presses.insert(presses.end(), slow.begin(), slow.end());
    expectHeardAsPressed(presses, heard());

    // What stays of 170 cues: the open file's sound effect and at most its stream.
    EXPECT_EQ(ui::MultimediaControlProbe::effectCount(control), 1);
    EXPECT_LE(server_->streamCount(), 1);
}

TEST_F(RecordedCues, CuesSoundAgainAfterTheSoundServerRestarts) {
    ui::MultimediaControl control;
    control.prepare();
    startRecording();
    const std::vector<Press> before = pressAll(control, drillCues(6), 4);
    expectHeardAsPressed(before, heard());

    ASSERT_TRUE(server_->restart());
    startRecording();
    const auto restarted = SteadyClock::now();
    const std::vector<Press> presses = pressAll(control, drillCues(24), 2);
    const std::vector<Heard> after = heard();
    // Cues pressed while the control finds its way back to the server may pass in silence;
    // every cue from then on is heard.
    ASSERT_FALSE(after.empty()) << "no cue heard after the restart";
    std::size_t first = 0;
    while (first < presses.size() && presses[first].at + kInTime < after.front().at)
        ++first;
    EXPECT_LT(presses[first].at - restarted, std::chrono::seconds(5))
        << "the cues came back only after "
        << std::chrono::duration<double>(presses[first].at - restarted).count() << " s";
    expectHeardAsPressed({presses.begin() + static_cast<long>(first), presses.end()}, after);
}

// The whole drill through the real drill window and its own sound control: wrong answers,
// the next button, the end button answered No, and at last Yes.
class RecordedDrill : public RecordedCues {
protected:
    // A learner takes a moment to read the end question.
    class ReadingDialogs : public FakeDialogs {
    public:
        bool askYesNo(const std::u16string& prompt, const std::u16string& title) override {
            QTest::qWait(300);
            return FakeDialogs::askYesNo(prompt, title);
        }
    };

    void press(QPushButton* button, Cue cue) {
        std::this_thread::sleep_until(next_);
        next_ = SteadyClock::now() + milliseconds(300);
        presses_.push_back({cue, SteadyClock::now()});
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::qWait(10);
    }

    void type(const QString& quotient, const QString& remainder) {
        form_->Text1[0]->setText(quotient);
        form_->Text1[1]->setText(remainder);
    }

    ReadingDialogs dialogs_;
    FakeClock clock_;
    FakeRandom random_;
    QPointer<ui::Form1> form_;
    std::vector<Press> presses_;
    SteadyClock::time_point next_;
};

TEST_F(RecordedDrill, EveryCueOfAWholeDrillIsHeardInTime) {
    ui::Form1Services services;
    services.dialogs = &dialogs_;
    services.clock = &clock_;
    services.random = &random_;
    services.exit = [](int) {};
    dialogs_.inputs = {QStringLiteral("12/7"), QStringLiteral("41")};
    QDir().mkdir(QStringLiteral("rirekidata"));
    form_ = new ui::Form1(services);
    form_->show();
    settle();
    ASSERT_EQ(form_->Label[5]->text().isEmpty(), false);

    startRecording();
    for (int problem = 1; problem <= 20; ++problem) {
        const int dividend = form_->Label[0]->text().toInt();
        const int divisor = form_->Label[2]->text().toInt();
        for (int wrong = 0; wrong < (problem % 3 == 1) + (problem == 8); ++wrong) {
            type(QString::number(dividend / divisor + 1), QString::number(dividend % divisor));
            press(form_->Command1, Wrong);
        }
        type(QString::number(dividend / divisor), QString::number(dividend % divisor));
        press(form_->Command1, Right);
        if (problem == 5) {
            dialogs_.answers = {false};
            press(form_->Command3, End);
        }
        if (problem < 20)
            press(form_->Command2, Next);
    }
    dialogs_.answers = {true};
    press(form_->Command3, End);
    settle();
    EXPECT_TRUE(form_.isNull()) << "the drill window is unloaded";
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_TRUE(std::any_of(windows.begin(), windows.end(), [](QWidget* window) {
        return qobject_cast<ui::Form2*>(window) != nullptr && window->isVisible();
    })) << "the results window is shown";
    expectHeardAsPressed(presses_, heard());

    // The sound thread of the unloaded window ends by itself.
    const auto ending = SteadyClock::now();
    while (ui::MultimediaControlProbe::endingThreads() > 0 &&
           SteadyClock::now() - ending < std::chrono::seconds(10))
        QTest::qWait(10);
    EXPECT_EQ(ui::MultimediaControlProbe::endingThreads(), 0) << "the sound thread ended";
    EXPECT_EQ(server_->streamCount(), 0);
    for (QWidget* window : QApplication::topLevelWidgets())
        delete qobject_cast<ui::Form2*>(window);
}

}  // namespace
}  // namespace uitest
