// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Class folders written the way the drill writes them: history files and archive files with
// the drill's own bytes and names, for the teacher's program's tests and benchmark.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <vector>

namespace report_test {

// One row of a drill; divisor 0 for a last row that was never answered right.
struct MadeRow {
    int dividend = 0;
    int divisor = 0;
    float seconds = 0;
    int wrong = 0;
};

// The history file's bytes of a drill with these rows and this typed date.
QByteArray drillBytes(const std::vector<MadeRow>& rows, const QString& date);

// Writes <rirekidata>/kiroku/Rovedavu<ID>/<name of ended>_<host>_<random>.txt; gives its path.
QString writeArchiveFile(const QString& rirekidata, const QString& id, const QDateTime& ended,
                         std::uint32_t random, const QByteArray& bytes);

// Writes <rirekidata>/Rovedavu<ID>.txt, with that modification time when it is valid.
QString writeHistoryFile(const QString& rirekidata, const QString& id, const QByteArray& bytes,
                         const QDateTime& modified = {});

// A school's folder: `learners` IDs "1".."n", each with `drills` archived drills of 20
// problems a day apart, and a history file holding the latest one. The same seed gives the
// same folder.
void makeClassFolder(const QString& rirekidata, int learners, int drills, std::uint32_t seed);

}  // namespace report_test
