// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The working folder: where the program starts and rirekidata/ lies. An administrator names
// it for every account of a computer in the system's settings file, a user for themselves in
// their own; without either it is the per-user folder.

#include <QString>
#include <QStringList>
#include <string>

namespace records {

struct WorkingFolder {
    QString path;             // absolute
    bool configured = false;  // named by a settings file
};

// DataFolder= from the user's ${XDG_CONFIG_HOME:-~/.config}/rovedavu/rovedavu.conf, else from
// the system's rovedavu/rovedavu.conf in each folder of ${XDG_CONFIG_DIRS:-/etc/xdg} in
// order, else the per-user ${XDG_DATA_HOME:-~/.local/share}/rovedavu. A system file with
// DataFolderLocked=true beside its DataFolder wins over the user's file; in the user's file
// that line means nothing. A relative or empty DataFolder counts as unset, and so does a
// relative XDG variable.
WorkingFolder workingFolder();

// Makes the working folder the current one, with rirekidata in it. The per-user folder is
// made when missing; a folder named by a settings file never is, only the rirekidata inside
// it. Empty when done or when only the per-user folder failed (the drill then runs where it
// started and says so on standard error), else why the named folder cannot be reached, in
// Japanese.
std::u16string enterWorkingFolder(const WorkingFolder& folder);

// The settings files that workingFolder() reads: the user's, then the system's in order.
QStringList settingsFiles();

}  // namespace records
