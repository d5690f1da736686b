// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The class lists the program remembers, one per class folder. A list names children, so it
// is kept only in the teacher's own profile (the folder rovedavu-report/rosters of the user's
// data folder, ~/.local/share on Linux), the folder readable by the teacher alone (0700) and
// each list too (0600); never in the class folder, which every learner can read.

#include <QString>
#include <optional>

#include "roster.h"

namespace report {

// The folder the lists are kept in.
QString rosterStoreFolder();

// The list remembered for the class folder; nullopt when there is none.
std::optional<Roster> storedRoster(const QString& classFolder);

// Remembers the list for the class folder. Refuses a profile inside the class folder. On
// failure, false and the reason in Japanese.
bool storeRoster(const QString& classFolder, const Roster& roster, QString* error);

// Forgets the list of the class folder; true when none is kept any more.
bool forgetRoster(const QString& classFolder);

}  // namespace report
