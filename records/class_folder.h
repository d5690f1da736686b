// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Reading a whole rirekidata folder for the teacher's program: every learner, each with the
// drills kept in the archive and the history file, and every file that could not be read.
//
//   <folder>/Rovedavu<ID>.txt                          the learner's latest drill
//   <folder>/kiroku/Rovedavu<ID>/<date>-<time>_....txt  every drill since the archive began
//
// The latest history file and the archive file of the same drill (the same bytes) count
// once. A history file that matches no archive file was written before the archive existed
// and counts as one drill of its own, dated by its modification time. Files are only ever
// opened read-only; nothing in the folder is changed.

#include <QDateTime>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace records {

// One row of a kept drill, small enough for 10,000 drills of 20 rows.
struct KeptRow {
    double seconds = 0;           // the time as written; negative when the clock passed midnight
    std::int16_t wrongCount = 0;  // wrong answers
    std::uint8_t dividend = 0;    // 1..99; 0 when the problem was never answered right
    std::uint8_t divisor = 0;     // 1..9; 0 when the problem was never answered right

    bool answered() const { return divisor != 0; }
};

struct KeptDrill {
    QDateTime ended;            // local time: the archive name's, or the history file's mtime
    QString date;               // the date text the learner typed at start
    QString path;               // the file it was read from
    bool historyOnly = false;   // a history file from before the archive
    std::vector<KeptRow> rows;  // 1..20, in order
};

struct Learner {
    QString id;
    std::vector<KeptDrill> drills;  // oldest first
    // From the teacher's class list, when one is loaded; empty otherwise.
    QString number{};      // 出席番号
    QString name{};        // 氏名
    QString joinedNote{};  // the IDs joined into this one, when there were several
};

struct UnreadableFile {
    QString path;
    QString reason;  // in Japanese
};

// Why a name in the archive is not a drill of ours.
inline constexpr std::u16string_view kNotAnArchiveName =
    u"ポルネアの記録ファイルの名前ではありません。";

struct ClassFolder {
    QString folder;                          // the rirekidata folder read
    std::vector<Learner> learners;           // by ID, numbers in numeric order; each with a drill
    std::vector<UnreadableFile> unreadable;  // by path
    std::size_t filesRead = 0;
    bool cancelled = false;  // stopped early: learners and unreadable are partial
    QString error;           // the folder itself cannot be read; empty when fine
};

struct ScanControl {
    // Called on the scanning thread now and then, and once at the end: files read so far of
    // all the files found.
    std::function<void(std::size_t done, std::size_t total)> progress;
    // Checked between files; when set, the scan stops and says so.
    const std::atomic<bool>* cancel = nullptr;
};

// Reads the folder (a rirekidata). Safe to call on a worker thread.
ClassFolder readClassFolder(const QString& folder, const ScanControl& control = {});

// "1" < "2" < "10" < "a": IDs made of digits in numeric order, before all others.
bool idBefore(const QString& left, const QString& right);

}  // namespace records
