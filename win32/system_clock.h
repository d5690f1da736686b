// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The clock of the drill: seconds since local midnight, to the millisecond.

#include <windows.h>

#include "ports.h"

namespace win {

class SystemClock : public drill::Clock {
public:
    float secondsSinceMidnight() override {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        return static_cast<float>(now.wHour * 3600 + now.wMinute * 60 + now.wSecond) +
               static_cast<float>(now.wMilliseconds) / 1000.0f;
    }
};

}  // namespace win
