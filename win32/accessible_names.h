// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Names that screen readers say for controls whose text is a value, not a name: the answer
// boxes and the boxes of the results window.

#include <windows.h>

#include <string>

namespace win {

// Sets the control's accessible name through the system's property service; where the
// system has none, the control keeps the name it had.
void setAccessibleName(HWND control, const std::wstring& name);

}  // namespace win
