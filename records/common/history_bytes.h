// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The history file's name and bytes, and why a file was not written: the same on every system.
// "rirekidata/Rovedavu" + ID + ".txt" under the working folder, a header line and one line per
// problem row, in code page 932 with CR LF line ends.

#include <cstdint>
#include <string>
#include <string_view>

#include "drill_state.h"

namespace records {

inline constexpr std::u16string_view kHistoryFolder = u"rirekidata";

// Why a history file was not written, as the learner and the teacher read it.
namespace reasons {
inline constexpr std::u16string_view kNoFolder = u"rirekidata というフォルダがありません。";
inline constexpr std::u16string_view kNotFolder = u"rirekidata がフォルダではありません。";
inline constexpr std::u16string_view kNoPermission = u"このファイルに書きこむ権限がありません。";
inline constexpr std::u16string_view kNoFolderPermission =
    u"rirekidata フォルダに、ファイルを作る権限がありません。";
inline constexpr std::u16string_view kNoFolderOrFilePermission =
    u"rirekidata フォルダにファイルを作る権限も、このファイルに書きこむ権限もありません。";
inline constexpr std::u16string_view kOthersFile =
    u"rirekidata フォルダでは、ほかのアカウントのファイルを置きかえられません。";
inline constexpr std::u16string_view kDiskFull = u"ディスクがいっぱいです。";
// Windows: another program, such as a spreadsheet, has the file open and does not let go.
inline constexpr std::u16string_view kFileInUse = u"ほかのプログラムがこのファイルを開いています。";
inline constexpr std::u16string_view kUnusableCharacter =
    u"ID に、ファイル名に使えない文字（/ や \\ や制御文字）が入っています。";
inline constexpr std::u16string_view kIdTooLong = u"ID が長すぎて、ファイル名にできません。";
inline constexpr std::u16string_view kNoCodePage =
    u"Shift_JIS（コードページ 932）の文字コード表が使えません。";
// Any other failure: this, then the system's own words, then kOtherErrorEnd.
inline constexpr std::u16string_view kOtherErrorStart = u"ファイルを書けませんでした（";
inline constexpr std::u16string_view kOtherErrorEnd = u"）。";
}  // namespace reasons

enum class IdCheck {
    Usable,
    UnusableCharacter,  // "/", "\", a control character or a lone surrogate
    TooLong,            // the file name, or the save file's temporary name, is too long
};

// Whether the ID can go into the file name. The name is a UTF-8 name of at most 255 bytes,
// and the temporary file of a save adds 7 bytes to it while it is written.
IdCheck checkHistoryId(std::u16string_view myid);

// "rirekidata/Rovedavu" + ID + ".txt", the ID exactly as typed.
std::u16string historyFilePath(std::u16string_view myid);

// The path as a teacher reads it in a message: control characters and lone surrogates, which
// cannot be shown, become U+FFFD.
std::u16string shownHistoryPath(std::u16string_view myid);

// The 45 bytes of the header line.
std::string historyHeaderBytes();

// The date as written: a date that a spreadsheet would run as a formula (its first character
// "=", "+", "-", "@", a tab or CR) gets a leading "'"; every other date stays as typed.
std::u16string writtenDate(std::u16string_view mydate);

// The date as typed, from the date as written: the "'" of writtenDate taken off again.
std::u16string_view typedDate(std::u16string_view written);

// One row line with its CR LF: the problem text, the time under "#####.#" (quoted), the
// wrong-answer count and writtenDate(date). A double quote inside a text item is doubled.
std::string historyRowBytes(std::u16string_view qtext, float qtime, std::int16_t qmiss,
                            std::u16string_view mydate);

// The whole file: the header and rows 1..lastnum, counted with state.i.
std::string historyBytes(drill::DrillState& state);

}  // namespace records
