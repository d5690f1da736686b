#pragma once
// The start in the working folder that a settings file names, before the first dialog.

#include <string>

#include "ports.h"

namespace ui {

// Enters the working folder that a settings file names. When it cannot be reached, tells the
// learner so and returns why, for the end of the drill to report as the reason that nothing
// was saved; otherwise returns an empty text.
std::u16string startInWorkingFolder(drill::Dialogs& dialogs);

}  // namespace ui
