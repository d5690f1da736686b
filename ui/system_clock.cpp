#include "system_clock.h"

#include <QTime>

namespace ui {

float SystemClock::secondsSinceMidnight() {
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

}  // namespace ui
