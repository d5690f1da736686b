// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The clock of the drill: the local time of day in seconds since midnight.

#include "ports.h"

namespace ui {

class SystemClock : public drill::Clock {
public:
    float secondsSinceMidnight() override;
};

}  // namespace ui
