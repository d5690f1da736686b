// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The history file: "rirekidata/Rovedavu" + ID + ".txt" under the current directory, a
// header line and one line per problem row, in code page 932 with CR LF line ends. Its name,
// bytes and reasons are those of history_bytes.h, here as Qt's types.

#include <QByteArray>
#include <cstdint>
#include <string>
#include <string_view>

#include "cp932.h"
#include "drill_state.h"
#include "history_bytes.h"
#include "ports.h"

namespace records {

// historyHeaderBytes, historyRowBytes and historyBytes of history_bytes.h as Qt's bytes.
QByteArray historyHeaderLine();
QByteArray historyRowLine(std::u16string_view qtext, float qtime, std::int16_t qmiss,
                          std::u16string_view mydate);
QByteArray historyFileBytes(drill::DrillState& state);

// Writes the file for state.myid under the current directory. The file is replaced only
// when the new one was written whole; on any failure the old file stays as it was. In a
// folder that takes no new files, an existing file that may be written is rewritten in
// place, once room for the new bytes has been reserved. Never creates the folder rirekidata.
drill::HistoryOutcome writeHistoryFile(drill::DrillState& state);

}  // namespace records
