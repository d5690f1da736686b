// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The drill window 「ポルネア」: the problem row, the judgement mark, the answer, next and end
// buttons, the pictures and the hidden sound control. It carries the drill engine's view and
// hands every event to the engine's handlers.

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "ports.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace drill {
class Drill;
}

namespace ui {

class MultimediaControl;
class ResultsForm;

// What the drill window works with. A null pointer or an empty function takes the real one:
// the Qt dialogs, the system clock, the drill's random source, MMControl1, the history file
// under the current directory, and ending the application.
struct Form1Services {
    drill::Dialogs* dialogs = nullptr;
    drill::Clock* clock = nullptr;
    drill::RandomSource* random = nullptr;
    drill::SoundControl* sound = nullptr;
    drill::Records* records = nullptr;
    // Ends the program with an exit code: after the results window's Yes (0), or after an
    // error that no handler expected has been reported (1).
    std::function<void(int)> exit;
};

class Form1 : public QWidget, public drill::DrillView {
    Q_OBJECT
public:
    explicit Form1(Form1Services services = {});
    ~Form1() override;

    void setLabelCaption(int index, const std::u16string& caption) override;
    void setLabelForeColor(int index, drill::Rgb colour) override;
    void setLabelVisible(int index, bool visible) override;
    std::u16string text1(int index) const override;
    void setText1(int index, const std::u16string& text) override;
    void setText1Focus(int index) override;
    void setCommandEnabled(int command, bool enabled) override;
    void setImage4Visible(bool visible) override;
    // Hides the window and deletes it once the current event is over. The window is not
    // closed: no close event, so the application does not take it for its last window.
    void unload() override;

    const drill::DrillState& state() const;
    // The results window, created at the end of the drill.
    ResultsForm& results() { return *results_; }

    std::array<QLabel*, 7> Label{};     // 0..2 problem, 3 "＝", 4 mark, 5 number, 6 "・・・"
    std::array<QLineEdit*, 2> Text1{};  // quotient and remainder
    QLabel* Label1;                     // "半角"
    QLabel* Label2;                     // the institution line
    QLabel* Label3;                     // "【ねあ】"
    QLabel* Label4;                     // "ぽる"
    QLabel* Label5;                     // "で入力！"
    QLabel* Image1;                     // frog mascot
    QLabel* Image2;                     // circular logo
    QLabel* Image3;                     // crest
    QLabel* Image4;                     // praise picture
    QPushButton* Command1;              // こたえ
    QPushButton* Command2;              // つぎへ
    QPushButton* Command3;              // おわり
    MultimediaControl* MMControl1;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void scheduleStartUp();
    void startUpOnce();
    void returnPressed();
    void endClicked();
    // Runs one of the engine's handlers. An error that escapes it is reported, and the
    // program ends, as no handler of the drill catches errors.
    void run(const std::function<void()>& handler);

    struct Defaults;
    std::unique_ptr<Defaults> defaults_;
    Form1Services services_;
    drill::Dialogs* dialogs_ = nullptr;
    std::unique_ptr<ResultsForm> results_;
    std::unique_ptr<drill::Drill> drill_;
    bool startUpScheduled_ = false;
    bool ending_ = false;     // the end button's handler is running
    bool unloading_ = false;  // the drill is over and the window goes
};

}  // namespace ui
