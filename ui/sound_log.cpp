#include "sound_log.h"

namespace ui {
Q_LOGGING_CATEGORY(lcSound, "rovedavu.sound", QtWarningMsg)
}
