// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_class.h"

#include <algorithm>

#include "resource_ids.h"

namespace win {

void registerWindowClass(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, name, &existing))
        return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kFrogIcon));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(kFrogIcon), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

void placeForDpi(HWND window, const layout::Window& layout, DWORD style) {
    const int dpi = windowDpi(window);
    RECT frame = LaidOutWindow::frameFor(layout, style, 0, dpi);
    // Where the window would run off the screen (a small screen, a large DPI), it moves left
    // and up just enough to fit, never past the top-left corner of the work area.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        const LONG left =
            std::max(work.left, std::min(frame.left, work.right - (frame.right - frame.left)));
        const LONG top =
            std::max(work.top, std::min(frame.top, work.bottom - (frame.bottom - frame.top)));
        OffsetRect(&frame, left - frame.left, top - frame.top);
    }
    SetWindowPos(window, nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace win
