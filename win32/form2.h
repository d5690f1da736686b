// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The results window Form2: made hidden when the end of the drill first sets one of its
// labels, shown after the drill window has closed. Its end button, and its close box, ask
// the end confirmation; Yes ends the program.

#include <windows.h>

#include <memory>

#include "laid_out_window.h"
#include "ports.h"
#include "win_dialogs.h"

namespace win {

inline constexpr wchar_t kForm2Class[] = L"RovedavuForm2";

class Form2 : public drill::ResultsWindow, public drill::ResultsLabels {
public:
    Form2() = default;
    ~Form2() override;

    // The window's labels; the window is made hidden on first use.
    drill::ResultsLabels& labels() override;
    void show() override;

    void setM(int row, const std::u16string& caption) override;
    void setTt(int row, const std::u16string& caption) override;
    void setGotou(int row, const std::u16string& caption) override;
    void setLabid(const std::u16string& caption) override;
    void setLabdate(const std::u16string& caption) override;

    HWND hwnd() const { return window_; }

    // The window's messages, from its window procedure.
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void create();
    void setCaption(const std::u16string& name, const std::u16string& caption);
    void endClicked();

    HWND window_ = nullptr;
    std::unique_ptr<LaidOutWindow> controls_;
    WinDialogs dialogs_;
    bool ending_ = false;
    bool unloading_ = false;
};

}  // namespace win
