// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A made-up class folder for demonstrations and benchmarks: learners who get faster over
// their drills and find the divisors 7 to 9 harder, written as the drill writes them (the
// archive file of every drill, and the history file of each learner's latest drill).

#include <QString>
#include <cstdint>

namespace report {

// Writes learners × drills archive files and one history file per learner into
// rirekidata (which must exist). The same seed gives the same files. Returns false with
// error set when a file could not be written.
bool writeSampleClass(const QString& rirekidata, int learners, int drills, std::uint32_t seed,
                      QString* error = nullptr);

}  // namespace report
