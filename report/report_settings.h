// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the teacher's program remembers between starts (QSettings, in
// ~/.config/rovedavu/rovedavu-report.conf): the class folder chosen last and the folder of
// the last export. The drill's own settings file is never touched.

#include <QString>

namespace report {

// The folder chosen last; empty when none was chosen.
QString rememberedFolder();
void rememberFolder(const QString& folder);

// The folder of the last export, or the home folder.
QString rememberedExportFolder();
void rememberExportFolder(const QString& exportedFile);

}  // namespace report
