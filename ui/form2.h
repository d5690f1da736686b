// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The results window 「学習履歴」: twenty rows of problem, answer time and wrong answers,
// the learner's ID and the date, and the end button that ends the program.

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "ports.h"

class QLabel;
class QPushButton;

namespace ui {

class Form2 : public QWidget, public drill::ResultsLabels {
    Q_OBJECT
public:
    // dialogs asks the end confirmation (null: the window's own Qt dialogs); quit ends the
    // program after Yes.
    Form2(drill::Dialogs* dialogs, std::function<void()> quit);
    ~Form2() override;

    void setM(int row, const std::u16string& caption) override;
    void setTt(int row, const std::u16string& caption) override;
    void setGotou(int row, const std::u16string& caption) override;
    void setLabid(const std::u16string& caption) override;
    void setLabdate(const std::u16string& caption) override;

    // Index 0 is unused: rows are 1..20.
    std::array<QLabel*, 21> m{};
    std::array<QLabel*, 21> tt{};
    std::array<QLabel*, 21> gotou{};
    // Row labels "問題１" .. "問題２０".
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Label12;
    QLabel* Label13;
    QLabel* Label14;
    QLabel* Label15;
    QLabel* Label16;
    QLabel* Label17;
    QLabel* Label18;
    QLabel* Label19;
    QLabel* Label20;
    // Column headings, title and the captions of the top line.
    QLabel* Label21;
    QLabel* Label22;
    QLabel* Label23;
    QLabel* Label24;
    QLabel* Label25;
    QLabel* Label26;
    QLabel* Label27;
    QLabel* Label28;
    QLabel* Label29;
    QLabel* labid;
    QLabel* labdate;
    QLabel* Image1;  // frog mascot
    QLabel* Image2;  // circular logo
    QLabel* Image3;  // crest
    QPushButton* Command1;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void endClicked();

    std::unique_ptr<drill::Dialogs> ownDialogs_;
    drill::Dialogs& dialogs_;
    std::function<void()> quit_;
    bool ending_ = false;     // the confirmation is open
    bool unloading_ = false;  // Yes was given: the window goes for good
};

}  // namespace ui
