// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "history_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>
#include <cerrno>
#include <cstddef>

#include "conversions.h"
#include "cp932.h"
#include "in_place_rewrite.h"
#include "qt_text.h"

namespace records {
namespace {

constexpr std::u16string_view kNamePrefix = u"Rovedavu";
constexpr std::u16string_view kNameSuffix = u".txt";
constexpr std::u16string_view kTimePattern = u"#####.#";
constexpr std::u16string_view kLineEnd = u"\r\n";
constexpr std::u16string_view kHeaderText =
    u"\"問題内容\",\"解答時間\",\"誤答回数\",\"解答日付\"\r\n";

// The longest file name in bytes (Linux, UTF-8), and what the temporary file of a save
// adds to it: "." and six random letters.
constexpr std::size_t kNameMaxBytes = 255;
constexpr std::size_t kTemporarySuffixBytes = 7;

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

bool isControl(char16_t unit) {
    return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F);
}

bool isUnusable(char16_t unit) {
    return unit == u'/' || unit == u'\\' || isControl(unit);
}

// Calls found(k, length) for each character of the text: a code unit, or a surrogate pair
// (length 2). A lone surrogate comes with length 0.
template <typename Found>
void forEachCharacter(std::u16string_view text, Found found) {
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char16_t unit = text[k];
        if (isHighSurrogate(unit) && k + 1 < text.size() && isLowSurrogate(text[k + 1])) {
            found(k, 2);
            ++k;
        } else {
            found(k, isHighSurrogate(unit) || isLowSurrogate(unit) ? 0 : 1);
        }
    }
}

std::size_t utf8Length(std::u16string_view text) {
    std::size_t bytes = 0;
    forEachCharacter(text, [&](std::size_t k, int length) {
        if (length == 2)
            bytes += 4;
        else if (text[k] < 0x80)
            bytes += 1;
        else if (text[k] < 0x800)
            bytes += 2;
        else
            bytes += 3;
    });
    return bytes;
}

// The path as a teacher reads it in a message: control characters and lone surrogates,
// which cannot be shown, become U+FFFD.
std::u16string shownPath(std::u16string_view myid) {
    std::u16string path = historyFilePath(myid);
    forEachCharacter(path, [&](std::size_t k, int length) {
        if (length == 0 || (length == 1 && isControl(path[k])))
            path[k] = u'\uFFFD';
    });
    return path;
}

// A text item: between double quotes, a double quote inside doubled.
std::u16string textItem(std::u16string_view text) {
    std::u16string item = u"\"";
    for (const char16_t unit : text) {
        if (unit == u'"')
            item += u'"';
        item += unit;
    }
    item += u'"';
    return item;
}

std::u16string otherError(const QString& systemWords) {
    return std::u16string(reasons::kOtherErrorStart) + systemWords.toStdU16String() +
           std::u16string(reasons::kOtherErrorEnd);
}

// After a failed write, flush or commit.
std::u16string writeFailureReason(const QSaveFile& file) {
    if (file.error() == QFileDevice::ResourceError)
        return std::u16string(reasons::kDiskFull);
    return otherError(file.errorString());
}

// After a failed open: the folder that takes no new file, an existing file that may not be
// written, or both; else the system's words.
std::u16string openFailureReason(const QSaveFile& file, const QString& path) {
    const bool folderWritable = QFileInfo(toQString(kHistoryFolder)).isWritable();
    const QFileInfo existing(path);
    const bool fileRefused = existing.exists() && !existing.isWritable();
    if (!folderWritable)
        return std::u16string(fileRefused ? reasons::kNoFolderOrFilePermission
                                          : reasons::kNoFolderPermission);
    if (fileRefused)
        return std::u16string(reasons::kNoPermission);
    return writeFailureReason(file);
}

// A shared folder with the sticky bit, where only the owner of a file may replace it, and a
// file there that belongs to another account.
bool isAnotherAccountsFileInAStickyFolder(const QString& path) {
    struct stat folder {};
    struct stat existing {};
    return ::stat(QFile::encodeName(toQString(kHistoryFolder)).constData(), &folder) == 0 &&
           (folder.st_mode & S_ISVTX) != 0 &&
           ::stat(QFile::encodeName(path).constData(), &existing) == 0 &&
           existing.st_uid != ::geteuid() && folder.st_uid != ::geteuid();
}

// A folder that takes no new file, such as the temporary file of a save, while the
// learner's file in it may be written.
bool onlyTheFileMayBeWritten(const QString& path) {
    const QFileInfo existing(path);
    return !QFileInfo(toQString(kHistoryFolder)).isWritable() && existing.isFile() &&
           existing.isWritable();
}

std::u16string inPlaceFailureReason(int error) {
    if (error == ENOSPC || error == EDQUOT)
        return std::u16string(reasons::kDiskFull);
    return otherError(qt_error_string(error));
}

}  // namespace

IdCheck checkHistoryId(std::u16string_view myid) {
    bool unusable = false;
    forEachCharacter(myid, [&](std::size_t k, int length) {
        if (length == 0 || (length == 1 && isUnusable(myid[k])))
            unusable = true;
    });
    if (unusable)
        return IdCheck::UnusableCharacter;
    const std::size_t nameBytes = kNamePrefix.size() + utf8Length(myid) + kNameSuffix.size();
    if (nameBytes + kTemporarySuffixBytes > kNameMaxBytes)
        return IdCheck::TooLong;
    return IdCheck::Usable;
}

std::u16string historyFilePath(std::u16string_view myid) {
    std::u16string path(kHistoryFolder);
    path += u'/';
    path += kNamePrefix;
    path += myid;
    path += kNameSuffix;
    return path;
}

QByteArray historyHeaderLine() {
    return toCp932(kHeaderText);
}

QByteArray historyRowLine(std::u16string_view qtext, float qtime, std::int16_t qmiss,
                          std::u16string_view mydate) {
    std::u16string line = textItem(qtext);
    line += u',';
    line += textItem(drill::patternFormat(qtime, kTimePattern));
    line += u',';
    line += drill::plainIntegerText(qmiss);
    line += u',';
    line += textItem(mydate);
    line += kLineEnd;
    return toCp932(line);
}

QByteArray historyFileBytes(drill::DrillState& state) {
    QByteArray bytes = historyHeaderLine();
    const std::int16_t last = state.lastnum;  // the bound is read once
    for (state.i = 1; state.i <= last; drill::checkedIncrement(state.i)) {
        const auto row = static_cast<std::size_t>(state.i);
        bytes += historyRowLine(state.qtext.at(row), state.qtime.at(row), state.qmiss.at(row),
                                state.mydate);
    }
    return bytes;
}

drill::HistoryOutcome writeHistoryFile(drill::DrillState& state) {
    drill::HistoryOutcome outcome;
    outcome.fileName = shownPath(state.myid);
    const auto failed = [&outcome](std::u16string_view reason) {
        outcome.reason = reason;
        return outcome;
    };

    switch (checkHistoryId(state.myid)) {
        case IdCheck::UnusableCharacter:
            return failed(reasons::kUnusableCharacter);
        case IdCheck::TooLong:
            return failed(reasons::kIdTooLong);
        case IdCheck::Usable:
            break;
    }
    if (!cp932Available())
        return failed(reasons::kNoCodePage);
    const QFileInfo folder(toQString(kHistoryFolder));
    if (!folder.exists())
        return failed(reasons::kNoFolder);
    if (!folder.isDir())
        return failed(reasons::kNotFolder);

    const QByteArray bytes = historyFileBytes(state);
    const QString path = toQString(historyFilePath(state.myid));
    QSaveFile file(path);
    file.setDirectWriteFallback(false);  // never empty the old file before the new one is whole
    if (!file.open(QIODevice::WriteOnly)) {
        if (!onlyTheFileMayBeWritten(path))
            return failed(openFailureReason(file, path));
        if (const int error = rewriteInPlace(path, bytes); error != 0)
            return failed(inPlaceFailureReason(error));
        outcome.written = true;
        return outcome;
    }
    // A write error may show only in flush(), and commit() would still put an empty file
    // in place of the old one; so the save is cancelled before commit() on any failure.
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        const std::u16string reason = writeFailureReason(file);
        file.cancelWriting();
        return failed(reason);
    }
    // The system may still refuse the last step, such as replacing another account's file
    // in a shared folder; the old file then stays, and nothing is reported as saved.
    if (!file.commit()) {
        if (isAnotherAccountsFileInAStickyFolder(path))
            return failed(reasons::kOthersFile);
        return failed(writeFailureReason(file));
    }
    outcome.written = true;
    return outcome;
}

}  // namespace records
