// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A made-up class folder for demonstrations and benchmarks: learners who get faster over
// their drills and find the divisors 7 to 9 harder, written as the drill writes them (the
// archive file of every drill, and the history file of each learner's latest drill). A few
// children have a trouble at the end that the class table flags: 3 stops practising, 5 gets
// slower, 7 ends the latest drill early, 9 makes more mistakes.

#include <QDate>
#include <QString>
#include <cstdint>

namespace report {

// Writes learners × drills archive files (a day apart, from 2026-09-01 or ending on
// lastDay) and one history file per learner into rirekidata (which must exist). The same
// seed and day give the same files. Returns false with error set when a file could not be
// written.
bool writeSampleClass(const QString& rirekidata, int learners, int drills, std::uint32_t seed,
                      QString* error = nullptr, const QDate& lastDay = {});

}  // namespace report
