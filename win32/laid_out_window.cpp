// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "laid_out_window.h"

#include <algorithm>

#include "accessible_names.h"
#include "pictures.h"
#include "wide_text.h"

namespace win {
namespace {

using layout::Kind;

int CALLBACK faceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool hasFace(const wchar_t* name) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, name, LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, faceFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

COLORREF rgb(layout::Colour colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

DWORD styleOf(const layout::Control& control) {
    DWORD style = WS_CHILD | (control.visible ? WS_VISIBLE : 0);
    switch (control.kind) {
        case Kind::Label:
            // Drawn by the window: text at the top, on one line, cut off at the edges, as
            // no style of the standard control draws it. Its window text is what it shows.
            style |= SS_OWNERDRAW;
            if (control.boxed)
                style |= WS_BORDER;
            break;
        case Kind::TextBox:
            style |= WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
            break;
        case Kind::Button:
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case Kind::Picture:
            style |= SS_OWNERDRAW;
            break;
        case Kind::Sound:
            break;
    }
    return style;
}

const wchar_t* classOf(Kind kind) {
    switch (kind) {
        case Kind::TextBox:
            return L"EDIT";
        case Kind::Button:
            return L"BUTTON";
        default:
            return L"STATIC";
    }
}

}  // namespace

const wchar_t* faceName() {
    static const wchar_t* const chosen = [] {
        for (const wchar_t* name :
             {L"ＭＳ Ｐゴシック", L"MS PGothic", L"Meiryo UI", L"Yu Gothic UI"}) {
            if (hasFace(name))
                return name;
        }
        return L"ＭＳ Ｐゴシック";
    }();
    return chosen;
}

int windowDpi(HWND window) {
    const UINT dpi = GetDpiForWindow(window);
    return dpi == 0 ? 96 : static_cast<int>(dpi);
}

LaidOutWindow::LaidOutWindow(const layout::Window& layout)
    : layout_(layout), pictures_(std::make_unique<PictureCache>()) {}

LaidOutWindow::~LaidOutWindow() {
    for (auto& [key, font] : fonts_)
        DeleteObject(font);
    for (auto& [key, brush] : brushes_)
        DeleteObject(brush);
}

RECT LaidOutWindow::frameFor(const layout::Window& layout, DWORD style, DWORD exStyle, int dpi) {
    const auto px = [dpi](int twips) { return layout::twipsToPixels(twips, dpi); };
    RECT rect{px(layout.client.left), px(layout.client.top),
              px(layout.client.left) + px(layout.client.width),
              px(layout.client.top) + px(layout.client.height)};
    AdjustWindowRectExForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi));
    return rect;
}

void LaidOutWindow::build(HWND window) {
    window_ = window;
    dpi_ = windowDpi(window);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const layout::Control& control : layout_.controls) {
        const int id = layout_.controlId(control.name);
        const std::wstring text =
            wide(control.kind == Kind::Picture ? control.accessibleName : control.text);
        const DWORD exStyle = control.kind == Kind::TextBox ? WS_EX_CLIENTEDGE : 0;
        HWND hwnd = CreateWindowExW(
            exStyle, classOf(control.kind), text.c_str(), styleOf(control), 0, 0, 0, 0, window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        made_.push_back({&control, hwnd});
        if (control.foreground)
            foregrounds_[hwnd] = *control.foreground;
    }
    // The tab order is the order of the windows that take the focus.
    std::vector<Made> focusable;
    std::copy_if(made_.begin(), made_.end(), std::back_inserter(focusable),
                 [](const Made& made) { return made.control->tabOrder >= 0; });
    std::sort(focusable.begin(), focusable.end(), [](const Made& a, const Made& b) {
        return a.control->tabOrder < b.control->tabOrder;
    });
    for (const Made& made : focusable)
        SetWindowPos(made.hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    applyDpi(dpi_);
}

void LaidOutWindow::nameForScreenReaders() {
    for (const Made& made : made_) {
        if (made.control->kind != Kind::Picture && !made.control->accessibleName.empty())
            setAccessibleName(made.hwnd, wide(made.control->accessibleName));
    }
}

void LaidOutWindow::place(const Made& made) {
    const layout::Control& control = *made.control;
    const auto px = [this](int twips) { return layout::twipsToPixels(twips, dpi_); };
    int width = px(control.rect.width);
    int height = px(control.rect.height);
    if (control.kind == Kind::Picture && !control.stretched) {
        const SIZE natural = pictures_->naturalSize(control.picture);
        width = MulDiv(natural.cx, dpi_, 96);
        height = MulDiv(natural.cy, dpi_, 96);
    }
    SetWindowPos(made.hwnd, nullptr, px(control.rect.left), px(control.rect.top), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (control.kind != Kind::Picture && control.kind != Kind::Sound)
        SendMessageW(made.hwnd, WM_SETFONT,
                     reinterpret_cast<WPARAM>(font(control.fontPixels, control.bold)), TRUE);
}

void LaidOutWindow::applyDpi(int dpi) {
    dpi_ = dpi;
    for (const Made& made : made_)
        place(made);
    InvalidateRect(window_, nullptr, TRUE);
}

HWND LaidOutWindow::control(std::u16string_view name) const {
    for (const Made& made : made_) {
        if (made.control->name == name)
            return made.hwnd;
    }
    return nullptr;
}

HFONT LaidOutWindow::font(int pixels, bool bold) {
    const int height = MulDiv(pixels, dpi_, 96);
    const auto key = std::make_pair(bold ? -height : height, bold);
    if (const auto found = fonts_.find(key); found != fonts_.end())
        return found->second;
    HFONT made = CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                             SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, faceName());
    fonts_.emplace(key, made);
    return made;
}

HBRUSH LaidOutWindow::brush(layout::Colour colour) {
    const int key = colour.red << 16 | colour.green << 8 | colour.blue;
    if (const auto found = brushes_.find(key); found != brushes_.end())
        return found->second;
    HBRUSH made = CreateSolidBrush(rgb(colour));
    brushes_.emplace(key, made);
    return made;
}

HBRUSH LaidOutWindow::colours(HDC dc, HWND control) {
    const auto found = std::find_if(made_.begin(), made_.end(),
                                    [control](const Made& made) { return made.hwnd == control; });
    if (found == made_.end())
        return nullptr;
    const layout::Control& table = *found->control;
    if (const auto colour = foregrounds_.find(control); colour != foregrounds_.end())
        SetTextColor(dc, rgb(colour->second));
    else
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    if (table.background) {
        SetBkColor(dc, rgb(*table.background));
        return brush(*table.background);
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

void LaidOutWindow::setForeground(HWND control, layout::Colour colour) {
    foregrounds_[control] = colour;
    InvalidateRect(control, nullptr, TRUE);
}

bool LaidOutWindow::answer(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            if (HBRUSH chosen =
                    colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
                result = reinterpret_cast<LRESULT>(chosen);
                return true;
            }
            return false;
        case WM_DRAWITEM:
            if (drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
                result = TRUE;
                return true;
            }
            return false;
        case WM_DPICHANGED: {
            // The size that the system suggests, and the controls laid out again.
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            applyDpi(HIWORD(wParam));
            result = 0;
            return true;
        }
        default:
            return false;
    }
}

bool LaidOutWindow::drawItem(const DRAWITEMSTRUCT& item) {
    const auto found = std::find_if(made_.begin(), made_.end(), [&item](const Made& made) {
        return made.hwnd == item.hwndItem;
    });
    if (found == made_.end())
        return false;
    const layout::Control& control = *found->control;
    if (control.kind == Kind::Picture) {
        FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
        pictures_->draw(item.hDC, control.picture, item.rcItem);
        return true;
    }
    if (control.kind != Kind::Label)
        return false;
    HBRUSH background = colours(item.hDC, item.hwndItem);
    FillRect(item.hDC, &item.rcItem, background);
    SetBkMode(item.hDC, TRANSPARENT);
    HGDIOBJ old = SelectObject(item.hDC, font(control.fontPixels, control.bold));
    const std::wstring text = windowText(item.hwndItem);
    RECT rect = item.rcItem;
    DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_SINGLELINE | DT_NOPREFIX | DT_TOP | (control.centred ? DT_CENTER : DT_LEFT));
    SelectObject(item.hDC, old);
    return true;
}

}  // namespace win
