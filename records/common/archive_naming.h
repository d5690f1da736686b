// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The names of the archive of every finished drill, the same on every system:
//
//   rirekidata/kiroku/Rovedavu<ID>/YYYYMMDD-HHMMSS_<host>_<8 hex>.txt
//
// one folder per learner under the working folder, one file per drill named by the local
// date and time of the end of the drill, the computer's name and 8 random hex digits.
// Files whose names start with "." are temporary files of a write, never drills.

#include <cstdint>
#include <string>
#include <string_view>

namespace records {

// Relative to the working folder; inside rirekidata, which the program never creates.
inline constexpr std::u16string_view kArchiveFolder = u"rirekidata/kiroku";

// A local date and time to the second.
struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// "Rovedavu" + ID, the ID exactly as typed.
std::u16string archiveFolderText(std::u16string_view myid);

// "rirekidata/kiroku/Rovedavu" + ID.
std::u16string learnerArchiveText(std::u16string_view myid);

// The learner's folder as a teacher reads it, with a final "/": control characters and lone
// surrogates, which cannot be shown, become U+FFFD.
std::u16string shownArchiveFolder(std::u16string_view myid);

// The computer's name as it goes into a file name: characters outside [A-Za-z0-9.-] become
// "-" (a surrogate pair becomes one "-"), cut to 63 characters; an empty name becomes "-".
std::u16string archiveHostText(std::u16string_view host);

// "YYYYMMDD-HHMMSS_<host>_<8 hex>.txt": the host through archiveHostText and the random number
// as 8 lower-case hex digits.
std::u16string archiveFileText(const LocalTime& ended, std::u16string_view host,
                               std::uint32_t random);

}  // namespace records
