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

// Whether a missing sound device is to be told, given whether there is one at each cue:
// at the first cue without one, and again only after a device has been there in between.
class MissingDeviceNotice {
public:
    // True when the device is missing and this is to be told now.
    bool tell(bool devicePresent) {
        const bool first = !devicePresent && !told_;
        told_ = !devicePresent;
        return first;
    }

private:
    bool told_ = false;
};

}  // namespace ui
