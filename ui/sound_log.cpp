// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound_log.h"

namespace ui {
Q_LOGGING_CATEGORY(lcSound, "rovedavu.sound", QtWarningMsg)
}
