// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Stand-ins for what the windows get from outside: dialogs that answer from a script, a clock
// that moves on by itself, a random source without chance, and a sound control that only
// remembers what it was told. Also the Qt application that every window test needs.

#include <QString>
#include <deque>
#include <string>
#include <vector>

#include "ports.h"

namespace uitest {

QString qs(const std::u16string& text);
std::u16string u16(const QString& text);

struct DialogCall {
    std::string kind;  // "input", "yesno" or "message"
    QString prompt;
    QString title;
};

class FakeDialogs : public drill::Dialogs {
public:
    std::u16string inputBox(const std::u16string& prompt, const std::u16string& title) override;
    bool askYesNo(const std::u16string& prompt, const std::u16string& title) override;
    void showMessage(const std::u16string& prompt, const std::u16string& title) override;

    int count(const std::string& kind) const;

    std::deque<QString> inputs;  // answers to the input dialogs; empty text when none left
    std::deque<bool> answers;    // answers to the Yes/No questions; No when none left
    std::vector<DialogCall> calls;
};

// Each reading is one and a half seconds after the one before.
class FakeClock : public drill::Clock {
public:
    float secondsSinceMidnight() override {
        now += 1.5f;
        return now;
    }
    float now = 36000.0f;
};

// Fractions spread evenly over [0, 1) by the golden ratio; reseeding changes nothing.
class FakeRandom : public drill::RandomSource {
public:
    double next() override;
    void reseed(float) override { ++reseeds; }
    double value = 0.1;
    int reseeds = 0;
};

class FakeSound : public drill::SoundControl {
public:
    void setCommand(const std::u16string& command) override;
    void setFileName(const std::u16string& fileName) override;
    // Every setting as "Command=Open" or "FileName=pinpon.wav".
    std::vector<QString> settings;
    // How many times each file was sounded.
    int sounded(const QString& fileName) const;

private:
    QString fileName_;
    std::vector<QString> sounded_;
};

// Runs the posted events, deferred deletions included.
void settle();

}  // namespace uitest
