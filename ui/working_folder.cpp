// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "working_folder.h"

#include "data_folder.h"
#include "unreachable_folder.h"

namespace ui {

std::u16string startInWorkingFolder(drill::Dialogs& dialogs) {
    const records::WorkingFolder folder = records::workingFolder();
    const std::u16string reason = records::enterWorkingFolder(folder);
    if (reason.empty())
        return {};
    const std::u16string path = folder.path.toStdU16String();
    dialogs.showMessage(records::unreachable::message(path, reason),
                        std::u16string(records::unreachable::kTitle));
    return records::unreachable::notSavedReason(path, reason);
}

}  // namespace ui
