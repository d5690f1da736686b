// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Reading a history file, or an archive file holding the same bytes, back into the drill it
// records: the rows of problems with their times and wrong answers, and the date typed at
// start. Anything that the drill could not have written is refused with a reason in Japanese.

#include <QByteArrayView>
#include <QString>
#include <optional>
#include <string_view>
#include <vector>

namespace records {

// Why a file was refused, as the teacher reads it.
namespace refusals {
inline constexpr std::u16string_view kEmpty = u"ファイルが空です。";
inline constexpr std::u16string_view kNotOurs = u"ポルネアの記録ファイルではありません。";
inline constexpr std::u16string_view kCutShort = u"ファイルが途中で切れています。";
inline constexpr std::u16string_view kNotCp932 =
    u"Shift_JIS（コードページ 932）の文字ではないバイトが入っています。";
inline constexpr std::u16string_view kTooLarge =
    u"ファイルが大きすぎて、ポルネアの記録ファイルではありません。";
inline constexpr std::u16string_view kNotAFile = u"ふつうのファイルではありません。";
// A file that cannot be opened or read: this, the system's own words, then kUnreadableEnd.
inline constexpr std::u16string_view kUnreadableStart = u"ファイルを読めませんでした（";
inline constexpr std::u16string_view kUnreadableEnd = u"）。";
}  // namespace refusals

// The most rows a drill records, and the largest file that can hold them with a long date.
inline constexpr int kMostRows = 20;
inline constexpr qsizetype kLargestHistoryFile = 1 << 20;

// One row line: a problem, its answer time and its wrong answers.
struct HistoryRow {
    QString problem;     // " 45÷ 6" as written; empty when it was never answered right
    int dividend = 0;    // 45; 0 when the problem is empty
    int divisor = 0;     // 6; 0 when the problem is empty
    QString timeText;    // "12.3", "12.", ".", "-5.5": the time exactly as written
    double seconds = 0;  // the time text's value: 12.3, 12, 0, -5.5
    int wrongCount = 0;  // wrong answers before the right one (or before the end)
};

// The drill that one file records.
struct HistoryDrill {
    QString date;                  // the date text typed at start, the same on every row
    std::vector<HistoryRow> rows;  // 1..20 rows in order; only the last may have no problem

    int solved() const;  // rows whose problem was answered right
};

// A drill, or the reason why the bytes are not one.
struct HistoryRead {
    std::optional<HistoryDrill> drill;
    QString refusal;  // empty when drill is set
};

// The drill in the bytes of a history or archive file.
HistoryRead readHistory(QByteArrayView bytes);

// The file at the path, opened read-only and read whole (refused above kLargestHistoryFile,
// without reading it).
// When bytes is given, it receives what was read.
HistoryRead readHistoryFile(const QString& path, QByteArray* bytes = nullptr);

}  // namespace records
