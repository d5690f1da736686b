// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "form2.h"

#include "drill.h"
#include "wide_text.h"
#include "window_class.h"

namespace win {
namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

std::u16string rowName(const char16_t* column, int row) {
    std::u16string name = column;
    name += u'(';
    for (const char c : std::to_string(row))
        name += static_cast<char16_t>(c);
    name += u')';
    return name;
}

}  // namespace

Form2::~Form2() {
    if (window_ != nullptr)
        DestroyWindow(window_);
}

void Form2::create() {
    registerWindowClass(kForm2Class, windowProcedure<Form2>);
    controls_ = std::make_unique<LaidOutWindow>(layout::form2());
    const RECT frame = LaidOutWindow::frameFor(layout::form2(), kStyle, 0, 96);
    window_ =
        CreateWindowExW(0, kForm2Class, wide(layout::form2().caption).c_str(), kStyle, frame.left,
                        frame.top, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                        nullptr, GetModuleHandleW(nullptr), this);
    dialogs_.setOwner(window_);
    placeForDpi(window_, layout::form2(), kStyle);
    controls_->build(window_);
    controls_->nameForScreenReaders();
}

drill::ResultsLabels& Form2::labels() {
    if (window_ == nullptr)
        create();
    return *this;
}

void Form2::show() {
    labels();
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    // The end button is the only control that takes the focus.
    SetFocus(controls_->control(u"Command1"));
}

void Form2::setCaption(const std::u16string& name, const std::u16string& caption) {
    HWND label = controls_->control(name);
    SetWindowTextW(label, wide(caption).c_str());
    InvalidateRect(label, nullptr, FALSE);
}

void Form2::setM(int row, const std::u16string& caption) {
    setCaption(rowName(u"m", row), caption);
}

void Form2::setTt(int row, const std::u16string& caption) {
    setCaption(rowName(u"tt", row), caption);
}

void Form2::setGotou(int row, const std::u16string& caption) {
    setCaption(rowName(u"gotou", row), caption);
}

void Form2::setLabid(const std::u16string& caption) {
    setCaption(u"labid", caption);
}

void Form2::setLabdate(const std::u16string& caption) {
    setCaption(u"labdate", caption);
}

void Form2::endClicked() {
    if (ending_ || unloading_)
        return;
    ending_ = true;
    const bool yes = drill::askEndConfirmation(dialogs_);
    ending_ = false;
    if (!yes)
        return;
    unloading_ = true;
    ShowWindow(window_, SW_HIDE);
    PostQuitMessage(0);
}

LRESULT Form2::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (LRESULT result = 0; controls_ && controls_->answer(message, wParam, lParam, result))
        return result;
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == layout::form2().controlId(u"Command1") &&
                HIWORD(wParam) == BN_CLICKED)
                endClicked();
            return 0;
        case WM_CLOSE:
            // The close box asks the end confirmation, like the end button.
            endClicked();
            return 0;
        case WM_NCDESTROY:
            window_ = nullptr;
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace win
