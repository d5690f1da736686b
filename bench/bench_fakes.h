// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Stand-ins for the services the benchmarks do not measure: dialogs that answer from a
// script at once, clocks, and a sound control that does nothing. Also the drill window
// fixture that the window benchmarks share.

#include <QPointer>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <string>

#include "form1.h"
#include "ports.h"

namespace bench {

class ScriptedDialogs : public drill::Dialogs {
public:
    std::u16string inputBox(const std::u16string&, const std::u16string&) override;
    bool askYesNo(const std::u16string&, const std::u16string&) override;
    void showMessage(const std::u16string&, const std::u16string&) override { ++messages; }

    std::deque<std::u16string> inputs;  // empty text when none are left
    std::deque<bool> answers;           // No when none are left
    int messages = 0;
};

// Each reading one and a half seconds after the one before.
class MovingClock : public drill::Clock {
public:
    float secondsSinceMidnight() override { return now += 1.5f; }
    float now = 36000.0f;
};

// Always the same reading.
class StillClock : public drill::Clock {
public:
    float secondsSinceMidnight() override { return 36000.0f; }
};

class SilentSound : public drill::SoundControl {
public:
    void setCommand(const std::u16string&) override {}
    void setFileName(const std::u16string&) override {}
};

// Runs the posted events, deferred deletions included.
void settle();

// The real drill window with the real sound control (unless another is given), the real
// history file in a temporary working folder, scripted dialogs, a moving clock and the
// drill's own random source. The working folder is the current directory while it lives.
class DrillWindow {
public:
    explicit DrillWindow(drill::SoundControl* sound = nullptr);
    ~DrillWindow();
    DrillWindow(const DrillWindow&) = delete;
    DrillWindow& operator=(const DrillWindow&) = delete;

    // Shows a new drill window and lets start-up answer its two dialogs; the old one goes.
    void start();
    ui::Form1& form() { return *form_; }
    int problemNumber() const;
    // The boxes filled with the right answer to the problem on screen, or a wrong one.
    void fillRight();
    void fillWrong();
    // Where the cue files are looked for first.
    QString folder() const { return dir_.path(); }

    ScriptedDialogs dialogs;
    MovingClock clock;

private:
    void finish();

    QTemporaryDir dir_;
    QString oldCurrent_;
    drill::SoundControl* sound_;
    std::unique_ptr<drill::RandomSource> random_;
    QPointer<ui::Form1> form_;  // the drill deletes its window when it ends
};

}  // namespace bench
