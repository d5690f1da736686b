// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A test fixture around the real drill window: Form1 with scripted dialogs, a fake clock,
// random source and sound, and the real history file written into a folder of its own.

#include <gtest/gtest.h>

#include <QColor>
#include <QPointer>
#include <QString>
#include <QTemporaryDir>
#include <vector>

#include "form1.h"
#include "form2.h"
#include "ui_fakes.h"

class QLabel;
class QPushButton;

namespace uitest {

struct Problem {
    int dividend = 0;
    int divisor = 0;
    QString text;  // as the results window and the history file show it: " 45÷ 6"
    int quotient() const { return dividend / divisor; }
    int remainder() const { return dividend % divisor; }
};

class DrillWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ui::Form1Services services();
    // Creates the drill window; it is not shown, so start-up has not run.
    ui::Form1* create();
    // Creates and shows the drill window and lets start-up answer the two dialogs.
    ui::Form1* open(const QString& date, const QString& id);

    // The problem on screen.
    Problem problem() const;
    // The learner typing into both boxes, then pressing a button with the mouse.
    void type(const QString& quotient, const QString& remainder);
    void press(QPushButton* button);
    void answerRight();
    void answerWrong();

    QLabel* mark() const;
    QColor markColour() const;
    // The shown results window, or null.
    ui::Form2* results() const;
    QString historyPath(const QString& id) const;

    FakeDialogs dialogs;
    FakeClock clock;
    FakeRandom random;
    FakeSound sound;
    std::vector<int> exits;  // every exit code the program asked for
    QPointer<ui::Form1> form;

private:
    QTemporaryDir dir_;
    QString oldCurrent_;
};

}  // namespace uitest
