// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The drill window Form1: its controls from the layout table, the engine's handlers wired to
// their events, and the view that the engine drives.

#include <windows.h>

#include <functional>
#include <memory>

#include "drill.h"
#include "laid_out_window.h"
#include "ports.h"

namespace win {

inline constexpr wchar_t kForm1Class[] = L"RovedavuForm1";

struct Form1Parts {
    drill::SoundControl& sound;
    drill::Dialogs& dialogs;  // owned by this window once it exists
    drill::Clock& clock;
    drill::RandomSource& random;
    drill::Records& records;
    drill::ResultsWindow& results;
    // Runs once the start-up dialogs are answered, while the learner reads the first problem.
    std::function<void()> afterStartUp;
};

class Form1 : public drill::DrillView {
public:
    explicit Form1(Form1Parts parts);
    ~Form1() override;

    // Start-up follows from the message loop; the window shows with its first dialog.
    void show();
    HWND hwnd() const { return window_; }

    // Return or Enter in an answer box presses the answer button, or else the next button.
    // True when the key was one of those.
    bool takeKey(const MSG& message);

    void setLabelCaption(int index, const std::u16string& caption) override;
    void setLabelForeColor(int index, drill::Rgb colour) override;
    void setLabelVisible(int index, bool visible) override;
    std::u16string text1(int index) const override;
    void setText1(int index, const std::u16string& text) override;
    void setText1Focus(int index) override;
    void setCommandEnabled(int command, bool enabled) override;
    void setImage4Visible(bool visible) override;
    void unload() override;

    // The window's messages, from its window procedure.
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void command(int id, int notification);
    void endClicked();
    void showOnce();
    void run(const std::function<void()>& handler);
    HWND label(int index) const;
    HWND text1Box(int index) const;
    HWND button(int command) const;

    Form1Parts parts_;
    HWND window_ = nullptr;
    std::unique_ptr<LaidOutWindow> controls_;
    std::unique_ptr<drill::Drill> drill_;
    HWND lastFocus_ = nullptr;
    bool startedUp_ = false;
    bool shown_ = false;
    bool ending_ = false;
    bool unloading_ = false;
};

}  // namespace win
