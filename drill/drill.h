// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The event handlers of the drill window, each one straight sequence of steps over the
// drill state and the ports.

#include "drill_state.h"
#include "ports.h"

namespace drill {

struct Ports {
    DrillView& view;
    SoundControl& sound;
    Dialogs& dialogs;
    Clock& clock;
    RandomSource& random;
    Records& records;
    ResultsWindow& results;
};

class Drill {
public:
    explicit Drill(Ports ports) : p_(ports) {}

    // The drill window's first activation: the two dialogs and the first problem.
    void startUp();
    // Command1: judges the two answer boxes.
    void answerClicked();
    // Text1(index) changed.
    void answerChanged(int index);
    // Command2: on to the next problem, or the end of the twenty.
    void nextClicked();
    // Command3: asks (unless finished), records, fills and shows the results window.
    void endClicked();

    const DrillState& state() const { return s_; }
    DrillState& state() { return s_; }

private:
    void endDrill();
    std::u16string problemNumberCaption() const;

    Ports p_;
    DrillState s_;
};

// The end confirmation shared by both windows' end buttons. True for Yes.
bool askEndConfirmation(Dialogs& dialogs);

}  // namespace drill
