// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The logging category of the sound cues, "rovedavu.sound". By default only its warnings
// reach standard error; QT_LOGGING_RULES="rovedavu.*=true" shows everything. The learner
// never sees a log line.

#include <QLoggingCategory>

namespace ui {
Q_DECLARE_LOGGING_CATEGORY(lcSound)
}
