// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The working folder on Windows, where rirekidata\ lies: the folder that a settings file
// names, else the program's own folder when it holds a writable rirekidata (a copy on a
// shared drive or a USB stick), else the user's %LOCALAPPDATA%\Rovedavu.

#include <optional>
#include <string>
#include <vector>

#include "ports.h"

namespace win {

struct WorkingFolder {
    std::wstring path;
    bool configured = false;  // named by a settings file
};

// %APPDATA%\Rovedavu\rovedavu.conf (one user), then %ProgramData%\Rovedavu\rovedavu.conf
// (every account). A computer's file with "DataFolderLocked=true" beside its DataFolder comes
// first, and the user's file is then not read for the folder.
std::vector<std::wstring> settingsFiles();

// The absolute folder of a "DataFolder=" line of the settings text (UTF-8, or the system's
// code page when it is not UTF-8); nullopt when there is none, or it is empty or relative.
std::optional<std::wstring> dataFolderOf(const std::string& settingsText);

WorkingFolder workingFolder();

// Makes the folder the current one, and makes rirekidata\ in it when it is missing; makes a
// folder named by a settings file never itself, only the per-user folder. Empty when done,
// else why the folder cannot be reached, in Japanese.
std::u16string enterWorkingFolder(const WorkingFolder& folder);

// Enters the working folder; when it cannot be reached, says so before the first question
// and gives the reason that every file of the drill then is not saved.
std::u16string startInWorkingFolder(drill::Dialogs& dialogs);

}  // namespace win
