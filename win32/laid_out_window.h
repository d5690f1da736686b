// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A window's controls made from its layout table: standard STATIC, EDIT and BUTTON controls
// and owner-drawn STATIC pictures, placed from twips at the window's DPI, with the face, the
// colours and the tab order of the table. Screen readers read them as they read any dialog.

#include <windows.h>

#include <map>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "window_layouts.h"

namespace win {

class PictureCache;

class LaidOutWindow {
public:
    explicit LaidOutWindow(const layout::Window& layout);
    ~LaidOutWindow();
    LaidOutWindow(const LaidOutWindow&) = delete;
    LaidOutWindow& operator=(const LaidOutWindow&) = delete;

    // The window's size with its frame for the client area of the table, at a DPI.
    static RECT frameFor(const layout::Window& layout, DWORD style, DWORD exStyle, int dpi);

    // Creates every control of the table as a child of window, at the window's DPI.
    void build(HWND window);
    // Gives the controls whose text is a value their names for screen readers; put off until
    // the window's first dialogs are answered, since it loads the accessibility component.
    void nameForScreenReaders();
    // Places, sizes and re-fonts every control for a new DPI.
    void applyDpi(int dpi);
    int dpi() const { return dpi_; }

    HWND control(std::u16string_view name) const;
    HWND window() const { return window_; }

    // Answers the messages about the controls that both windows answer alike: their colours,
    // the drawing of labels and pictures, and a new DPI. False for any other message.
    bool answer(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Answers WM_CTLCOLORSTATIC and WM_CTLCOLOREDIT: the control's colours from the table,
    // or the text colour set since. Null when the control is not one of ours.
    HBRUSH colours(HDC dc, HWND control);
    void setForeground(HWND control, layout::Colour colour);
    // Answers WM_DRAWITEM for the labels and the pictures.
    bool drawItem(const DRAWITEMSTRUCT& item);

private:
    struct Made {
        const layout::Control* control;
        HWND hwnd;
    };
    HFONT font(int pixels, bool bold);
    HBRUSH brush(layout::Colour colour);
    void place(const Made& made);

    const layout::Window& layout_;
    HWND window_ = nullptr;
    int dpi_ = 96;
    std::vector<Made> made_;
    std::map<HWND, layout::Colour> foregrounds_;
    std::map<std::pair<int, bool>, HFONT> fonts_;
    std::map<int, HBRUSH> brushes_;
    std::unique_ptr<PictureCache> pictures_;
};

// The face of every text: "ＭＳ Ｐゴシック" where the system has it, else "Meiryo UI" or
// "Yu Gothic UI", the Japanese faces of every Windows.
const wchar_t* faceName();

// The window's DPI: its monitor's, or the system's where the system knows no other.
int windowDpi(HWND window);

}  // namespace win
