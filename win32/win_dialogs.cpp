// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "win_dialogs.h"

#include <cstdint>
#include <string>
#include <vector>

#include "laid_out_window.h"
#include "wide_text.h"

namespace win {
namespace {

// A dialog template in memory: DLGTEMPLATE, then each DLGITEMTEMPLATE on a DWORD boundary.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, short width, short height, const std::wstring& title,
                   WORD pointSize, const std::wstring& face) {
        DLGTEMPLATE head{};
        head.style = style | DS_SETFONT;
        head.cx = width;
        head.cy = height;
        append(&head, sizeof head);
        word(0);  // no menu
        word(0);  // the standard dialog class
        text(title);
        word(pointSize);
        text(face);
    }

    void add(DWORD style, short x, short y, short width, short height, WORD id, WORD classAtom,
             const std::wstring& caption) {
        align();
        DLGITEMTEMPLATE item{};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x;
        item.y = y;
        item.cx = width;
        item.cy = height;
        item.id = id;
        append(&item, sizeof item);
        word(0xFFFF);
        word(classAtom);
        text(caption);
        word(0);  // no creation data
        ++count_;
        reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit = count_;
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

private:
    void append(const void* data, std::size_t size) {
        const auto* from = static_cast<const std::uint8_t*>(data);
        bytes_.insert(bytes_.end(), from, from + size);
    }
    void word(WORD value) { append(&value, sizeof value); }
    void text(const std::wstring& value) {
        append(value.c_str(), (value.size() + 1) * sizeof(wchar_t));
    }
    void align() {
        while (bytes_.size() % 4 != 0)
            bytes_.push_back(0);
    }

    std::vector<std::uint8_t> bytes_;
    WORD count_ = 0;
};

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

struct InputBoxState {
    std::wstring prompt;
    std::wstring typed;
};

INT_PTR CALLBACK inputBoxProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            state = reinterpret_cast<InputBoxState*>(lParam);
            SetDlgItemTextW(dialog, kInputBoxPrompt, state->prompt.c_str());
            SendDlgItemMessageW(dialog, kInputBoxEdit, EM_SETLIMITTEXT, 0, 0);
            SetFocus(GetDlgItem(dialog, kInputBoxEdit));
            return FALSE;  // the focus is set
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                state->typed = windowText(GetDlgItem(dialog, kInputBoxEdit));
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

}  // namespace

std::u16string WinDialogs::inputBox(const std::u16string& prompt, const std::u16string& title) {
    // As in the input boxes of Windows' own Basic: the prompt at the top left, OK and Cancel
    // at the right, the text box across the bottom. Sizes in dialog units.
    DialogTemplate box(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, 270, 84,
                       wide(title), 9, faceName());
    box.add(SS_LEFT | SS_NOPREFIX, 7, 8, 196, 44, kInputBoxPrompt, kStaticClass, L"");
    box.add(BS_DEFPUSHBUTTON | WS_TABSTOP, 210, 7, 53, 15, IDOK, kButtonClass, L"OK");
    box.add(BS_PUSHBUTTON | WS_TABSTOP, 210, 26, 53, 15, IDCANCEL, kButtonClass, L"キャンセル");
    box.add(ES_AUTOHSCROLL | ES_LEFT | WS_BORDER | WS_TABSTOP, 7, 60, 256, 14, kInputBoxEdit,
            kEditClass, L"");
    InputBoxState state{wide(prompt), {}};
    const INT_PTR answer =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), box.get(), owner_, inputBoxProcedure,
                                reinterpret_cast<LPARAM>(&state));
    return answer == IDOK ? utf16(state.typed) : std::u16string();
}

bool WinDialogs::askYesNo(const std::u16string& prompt, const std::u16string& title) {
    return MessageBoxW(owner_, wide(prompt).c_str(), wide(title).c_str(),
                       MB_YESNO | MB_DEFBUTTON1 | MB_SETFOREGROUND) == IDYES;
}

void WinDialogs::showMessage(const std::u16string& prompt, const std::u16string& title) {
    MessageBoxW(owner_, wide(prompt).c_str(), wide(title).c_str(), MB_OK | MB_SETFOREGROUND);
}

}  // namespace win
