// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The modal dialogs of the drill: an input box built from a dialog template, since Windows
// has none of its own, and the system's message boxes. Each is owned by the window it
// belongs to, so that window takes no input while it is open.

#include <windows.h>

#include "ports.h"

namespace win {

// The input box's text box; OK and Cancel are IDOK and IDCANCEL.
inline constexpr int kInputBoxEdit = 100;
inline constexpr int kInputBoxPrompt = 101;

class WinDialogs : public drill::Dialogs {
public:
    explicit WinDialogs(HWND owner = nullptr) : owner_(owner) {}
    void setOwner(HWND owner) { owner_ = owner; }

    // The typed line; Cancel, Esc or the close box give the empty text, Enter gives OK.
    std::u16string inputBox(const std::u16string& prompt, const std::u16string& title) override;
    // Yes and No, whose words come from the system; Yes is the default.
    bool askYesNo(const std::u16string& prompt, const std::u16string& title) override;
    void showMessage(const std::u16string& prompt, const std::u16string& title) override;

private:
    HWND owner_;
};

}  // namespace win
