// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "form1.h"

#include <array>
#include <exception>
#include <string>

#include "wide_text.h"
#include "window_class.h"

namespace win {
namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr UINT kStartUp = WM_APP + 1;
constexpr UINT kUnload = WM_APP + 2;

constexpr std::array<std::u16string_view, 7> kLabelNames = {
    u"Label(0)", u"Label(1)", u"Label(2)", u"Label(3)", u"Label(4)", u"Label(5)", u"Label(6)"};
constexpr std::array<std::u16string_view, 2> kText1Names = {u"Text1(0)", u"Text1(1)"};
constexpr std::array<std::u16string_view, 3> kCommandNames = {u"Command1", u"Command2",
                                                              u"Command3"};

int idOf(std::u16string_view name) {
    return layout::form1().controlId(name);
}

}  // namespace

Form1::Form1(Form1Parts parts) : parts_(parts) {
    registerWindowClass(kForm1Class, windowProcedure<Form1>);
    controls_ = std::make_unique<LaidOutWindow>(layout::form1());
    const RECT frame = LaidOutWindow::frameFor(layout::form1(), kStyle, 0, 96);
    window_ =
        CreateWindowExW(0, kForm1Class, wide(layout::form1().caption).c_str(), kStyle, frame.left,
                        frame.top, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                        nullptr, GetModuleHandleW(nullptr), this);
    placeForDpi(window_, layout::form1(), kStyle);
    controls_->build(window_);
    drill_ = std::make_unique<drill::Drill>(drill::Ports{*this, parts_.sound, parts_.dialogs,
                                                         parts_.clock, parts_.random,
                                                         parts_.records, parts_.results});
}

Form1::~Form1() {
    if (window_ != nullptr)
        DestroyWindow(window_);
}

void Form1::show() {
    // Start-up opens modal dialogs: it runs from the message loop. The window itself is
    // shown as soon as the date dialog waits for the learner, so that the question is on the
    // screen first and this window, with its large text and pictures, is drawn straight
    // after, behind the dialog it owns.
    PostMessageW(window_, kStartUp, 0, 0);
}

HWND Form1::label(int index) const {
    return controls_->control(kLabelNames.at(static_cast<std::size_t>(index)));
}

HWND Form1::text1Box(int index) const {
    return controls_->control(kText1Names.at(static_cast<std::size_t>(index)));
}

HWND Form1::button(int command) const {
    return controls_->control(kCommandNames.at(static_cast<std::size_t>(command - 1)));
}

void Form1::setLabelCaption(int index, const std::u16string& caption) {
    SetWindowTextW(label(index), wide(caption).c_str());
    InvalidateRect(label(index), nullptr, FALSE);
}

void Form1::setLabelForeColor(int index, drill::Rgb colour) {
    controls_->setForeground(label(index), {colour.red, colour.green, colour.blue});
}

void Form1::setLabelVisible(int index, bool visible) {
    ShowWindow(label(index), visible ? SW_SHOWNA : SW_HIDE);
}

std::u16string Form1::text1(int index) const {
    return utf16(windowText(text1Box(index)));
}

// The box reports a change only when its text differs, as the engine expects.
void Form1::setText1(int index, const std::u16string& text) {
    if (text1(index) != text)
        SetWindowTextW(text1Box(index), wide(text).c_str());
}

void Form1::setText1Focus(int index) {
    SetFocus(text1Box(index));
}

void Form1::setCommandEnabled(int command, bool enabled) {
    EnableWindow(button(command), enabled ? TRUE : FALSE);
}

void Form1::setImage4Visible(bool visible) {
    ShowWindow(controls_->control(u"Image4"), visible ? SW_SHOWNA : SW_HIDE);
}

void Form1::unload() {
    unloading_ = true;
    ShowWindow(window_, SW_HIDE);
    // The window goes once the handler that unloads it has ended.
    PostMessageW(window_, kUnload, 0, 0);
}

void Form1::showOnce() {
    if (shown_ || unloading_)
        return;
    shown_ = true;
    const bool dialogOpen = startedUp_ && GetLastActivePopup(window_) != window_;
    ShowWindow(window_, dialogOpen ? SW_SHOWNA : SW_SHOWNORMAL);
    if (dialogOpen)
        SetForegroundWindow(GetLastActivePopup(window_));  // the dialog keeps the keyboard
    else
        SetFocus(text1Box(0));
}

bool Form1::takeKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN ||
        (message.hwnd != text1Box(0) && message.hwnd != text1Box(1)))
        return false;
    if (IsWindowEnabled(button(1)))
        command(idOf(u"Command1"), BN_CLICKED);
    else if (IsWindowEnabled(button(2)))
        command(idOf(u"Command2"), BN_CLICKED);
    return true;
}

void Form1::command(int id, int notification) {
    if (unloading_)
        return;
    if (notification == EN_CHANGE) {
        for (int index = 0; index < 2; ++index) {
            if (id == idOf(kText1Names[static_cast<std::size_t>(index)]))
                run([this, index] { drill_->answerChanged(index); });
        }
        return;
    }
    if (notification != BN_CLICKED)
        return;
    if (id == idOf(u"Command1"))
        run([this] { drill_->answerClicked(); });
    else if (id == idOf(u"Command2"))
        run([this] { drill_->nextClicked(); });
    else if (id == idOf(u"Command3"))
        endClicked();
}

void Form1::endClicked() {
    if (ending_ || unloading_)
        return;
    ending_ = true;
    run([this] { drill_->endClicked(); });
    ending_ = false;
}

void Form1::run(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        const std::string what = error.what();
        parts_.dialogs.showMessage(u"プログラムを つづけられなくなりました。\n\n" +
                                       std::u16string(what.begin(), what.end()),
                                   u"ぽるねあ");
        PostQuitMessage(1);
    }
}

LRESULT Form1::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (LRESULT result = 0; controls_ && controls_->answer(message, wParam, lParam, result))
        return result;
    switch (message) {
        case kStartUp:
            if (!startedUp_ && !unloading_) {
                startedUp_ = true;
                run([this] { drill_->startUp(); });
                showOnce();
                controls_->nameForScreenReaders();
                if (parts_.afterStartUp)
                    parts_.afterStartUp();
            }
            return 0;
        case WM_ENTERIDLE:
            // A dialog of this window is on the screen and waits for input.
            showOnce();
            break;
        case kUnload:
            DestroyWindow(window);
            return 0;
        case WM_COMMAND:
            if (lParam != 0)
                command(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_ACTIVATE:
            // The focus comes back to the control that had it, as in a dialog.
            if (LOWORD(wParam) == WA_INACTIVE) {
                lastFocus_ = GetFocus();
            } else if (lastFocus_ != nullptr && IsChild(window, lastFocus_)) {
                SetFocus(lastFocus_);
                return 0;
            }
            break;
        case WM_CLOSE:
            // The close box does what the end button does; with No the drill goes on.
            if (unloading_)
                DestroyWindow(window);
            else
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
