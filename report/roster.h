// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The class list (名簿) a teacher keeps in a spreadsheet: 出席番号, 氏名 and one or more IDs
// per child, read from CSV (UTF-8 with or without a byte-order mark, or Shift_JIS) or XLSX.
// The headers are found by name in any order; several ID columns, or several IDs in one cell
// (split at ・ , / 、 and spaces), are all the child's.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace report {

struct RosterChild {
    QString number;  // 出席番号, as written
    QString name;    // 氏名
    QStringList ids;
};

struct Roster {
    std::vector<RosterChild> children;  // in the list's order
};

// An ID as the drill's IDs are compared for joining: full-width letters and digits made
// half-width, spaces dropped, and leading zeros of a number dropped ("０５" and "05" are "5").
QString idKey(const QString& id);

// Reads a list from a file: XLSX when it is a zip, otherwise CSV. On failure nullopt and the
// reason in Japanese.
std::optional<Roster> readRoster(const QString& path, QString* error);

// A list from the bytes of a CSV file.
std::optional<Roster> rosterFromCsv(const QByteArray& bytes, QString* error);

// A list from a sheet's rows of cells: the header row is the first one naming an ID column.
std::optional<Roster> rosterFromRows(const std::vector<QStringList>& rows, QString* error);

// The list as UTF-8 CSV, the way the program keeps it: 出席番号, 氏名, ID (IDs joined by ・).
QByteArray rosterCsv(const Roster& roster);

}  // namespace report
