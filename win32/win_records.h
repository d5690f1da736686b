// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The history file and the archive on Windows: the same names and bytes as everywhere, saved
// with the Windows file calls and wide-character paths, so that an ID such as "漢字" and a
// working folder on a file server (\\server\class-3\rovedavu) work.

#include <cstdint>
#include <string>
#include <string_view>

#include "archive_naming.h"
#include "ports.h"

namespace win {

// Whether the ID can be a file and a folder name on Windows as well: besides what every
// system refuses, Windows refuses < > : " | ? * in a name and drops a final "." or space.
bool idFitsWindowsNames(std::u16string_view myid);

// A source of the random numbers that the names of a save's files are drawn from.
using NameNumbers = std::uint32_t (*)();

// The system's random numbers.
std::uint32_t randomNameNumber();

// Writes the history file under the current folder: a temporary file in the same folder,
// flushed to the disk, then put in place of the old one, which stays whole on any failure.
// In a folder where no new file may be made but the file may be written, the file is
// rewritten in place once room for the new bytes is reserved. The temporary name is drawn
// from numbers, and drawn again while another save holds it. While another program has the
// file open, the save tries again for about 2 s before it gives up with kFileInUse.
drill::HistoryOutcome writeHistoryFile(drill::DrillState& state,
                                       NameNumbers numbers = randomNameNumber);

// Writes the bytes as a new archive file, never replacing a file that is there: a temporary
// name starting with ".", flushed, then renamed without replacing. Makes kiroku\ and the
// learner's folder inside an existing rirekidata, never rirekidata itself.
drill::SaveOutcome writeArchiveFile(const std::string& bytes, std::u16string_view myid,
                                    const records::LocalTime& ended, std::u16string_view host);

class WinRecords : public drill::Records {
public:
    WinRecords() = default;
    // Records that save nothing, because the working folder could not be reached.
    explicit WinRecords(std::u16string notSavedReason)
        : notSavedReason_(std::move(notSavedReason)) {}

    drill::HistoryOutcome writeHistory(drill::DrillState& state) override;
    void fillResults(drill::DrillState& state, drill::ResultsLabels& labels) override;

private:
    std::u16string notSavedReason_;
};

}  // namespace win
