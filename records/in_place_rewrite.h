// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Rewriting an existing file in place, for a folder that takes no new files but lets the
// file itself be written.

#include <QByteArray>
#include <QString>

namespace records {

// Opens the existing regular file without emptying it, reserves room for the new bytes
// first, so that a full disk fails before a single byte changes, then writes them, cuts the
// file to their length and syncs it to the disk. Gives 0, or the errno of the step that
// failed (ENOSPC when there was no room).
int rewriteInPlace(const QString& path, const QByteArray& bytes);

}  // namespace records
