// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Writing one drill into the archive: a new file in the learner's archive folder that holds
// the same bytes as the history file of that drill, never replacing a file that is there.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <string_view>

#include "ports.h"

namespace records {

// Writes bytes as rirekidata/kiroku/Rovedavu<ID>/<name> under the current directory, the
// name made by archiveFileName from ended, host and fresh random digits. The file is written
// under a temporary name starting with ".", synced, then given its name exclusively; on any
// failure no file is left. Only its owner may write it, whatever the umask. Makes kiroku/ and
// the learner's folder inside an existing rirekidata, with rirekidata's permissions, and
// never makes rirekidata itself. As with the history file, the folder is not synced once the
// name is given: a power cut in the next seconds may leave the drill whole under its
// temporary name. drawRandom gives the random digits of each name tried; without it they
// come from the system's random source.
drill::SaveOutcome writeArchiveFile(const QByteArray& bytes, std::u16string_view myid,
                                    const QDateTime& ended, const QString& host,
                                    const std::function<std::uint32_t()>& drawRandom = {});

}  // namespace records
