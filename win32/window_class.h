// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What both windows share: their window class, the object behind a window handle, and their
// place and size at the DPI of the monitor they are on.

#include <windows.h>

#include "laid_out_window.h"
#include "window_layouts.h"

namespace win {

// Registers a window class with the frog icon and the face colour as background, once.
void registerWindowClass(const wchar_t* name, WNDPROC procedure);

// The object given to CreateWindowExW, kept with the window from its first message on.
template <typename T>
T* windowObject(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* object = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
        return object;
    }
    return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The window procedure of a window class whose object answers handle(window, message, ...);
// messages before the object is known go to DefWindowProcW.
template <typename T>
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    T* object = windowObject<T>(window, message, lParam);
    if (object == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    return object->handle(window, message, wParam, lParam);
}

// Gives the window the place and client size of its layout at the DPI of its monitor: the
// client area's corner where the layout puts it, the size from its twips, moved only where
// the window would not fit the monitor's work area.
void placeForDpi(HWND window, const layout::Window& layout, DWORD style);

}  // namespace win
