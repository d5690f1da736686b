// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "win_records.h"

#include <windows.h>

#include <future>
#include <mutex>
#include <random>

#include "history_bytes.h"
#include "results_filler.h"
#include "wide_text.h"

namespace win {
namespace {

using records::reasons::kDiskFull;
using records::reasons::kFileInUse;
using records::reasons::kNoFolderOrFilePermission;
using records::reasons::kNoFolderPermission;
using records::reasons::kNoPermission;

// How often a temporary or archive name that exists already is drawn again before giving up.
constexpr int kNameAttempts = 16;

// The waits, in milliseconds, before each new try of a step that failed because another
// program has the file open: about 2 s in all, short ones first. Another computer's save of
// the same file holds it for a moment, a virus scanner or a backup for a fraction of a second;
// a program that keeps the file open, as a spreadsheet does, is not waited for longer than the
// learner waits for the results without wondering.
constexpr DWORD kInUseWaits[] = {5, 10, 20, 40, 80, 160, 250, 250, 250, 250, 250, 250, 250};

std::wstring windowsPath(std::u16string_view path) {
    std::wstring wide_ = wide(path);
    for (wchar_t& c : wide_) {
        if (c == L'/')
            c = L'\\';
    }
    return wide_;
}

bool isDiskFull(DWORD error) {
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
}

std::u16string otherError(DWORD error) {
    return std::u16string(records::reasons::kOtherErrorStart) + utf16(systemMessage(error)) +
           std::u16string(records::reasons::kOtherErrorEnd);
}

// A refusal to write: by permissions, or by a disk that is write-protected.
bool isRefusal(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT;
}

// Another program has the file open in a way that the step cannot share.
bool isSharingViolation(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Replacing a file that another program has open fails with a sharing violation, or, where
// that program lets the file be deleted, with a refusal.
bool mayBeInUse(DWORD error) {
    return isSharingViolation(error) || error == ERROR_ACCESS_DENIED;
}

// A name that another save, here or on another computer, holds already.
bool isNameTaken(DWORD error) {
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

std::u16string reasonFor(DWORD error) {
    if (isDiskFull(error))
        return std::u16string(kDiskFull);
    if (isRefusal(error))
        return std::u16string(kNoPermission);
    if (isSharingViolation(error))
        return std::u16string(kFileInUse);
    return otherError(error);
}

// Runs the step, then again after each wait of kInUseWaits while it fails with an error that
// inUse takes for a file in use: 0, or the error of its last try.
template <typename Step, typename InUse>
DWORD untilNotInUse(Step step, InUse inUse) {
    DWORD error = step();
    for (const DWORD wait : kInUseWaits) {
        if (error == ERROR_SUCCESS || !inUse(error))
            break;
        Sleep(wait);
        error = step();
    }
    return error;
}

bool isFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Whether the permissions refuse this account the access to the existing file. Opening it,
// shared with every other program, changes nothing in it; a program that has it open without
// sharing it that way gives a sharing violation, which is no refusal.
bool refusesAccess(const std::wstring& path, DWORD access) {
    const HANDLE file =
        CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return isRefusal(GetLastError());
    CloseHandle(file);
    return false;
}

// Whether the file is there but this account may not write it: read-only, or refused by its
// permissions. A folder that takes new files could still let the file be replaced.
bool fileRefusesWriting(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return true;
    return refusesAccess(path, GENERIC_WRITE);
}

// Writes every byte and flushes it to the disk; 0, or the error of the step that failed.
DWORD writeAll(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    if (!bytes.empty() &&
        (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
         written != bytes.size()))
        return GetLastError() == ERROR_SUCCESS ? ERROR_WRITE_FAULT : GetLastError();
    if (!FlushFileBuffers(file))
        return GetLastError();
    return ERROR_SUCCESS;
}

// A new file of the bytes, flushed and closed; on failure no file is left.
DWORD writeNewFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    DWORD error = writeAll(file, bytes);
    if (!CloseHandle(file) && error == ERROR_SUCCESS)
        error = GetLastError();
    if (error != ERROR_SUCCESS)
        DeleteFileW(path.c_str());
    return error;
}

// Reserves room for the bytes in the existing file first, so that a full disk fails before
// a byte changes, then writes them, cuts the file to their length and flushes it. The file is
// opened for this save alone: nobody reads it half written, and a program that has it open
// is waited for a little.
DWORD rewriteInPlace(const std::wstring& path, const std::string& bytes) {
    HANDLE file = INVALID_HANDLE_VALUE;
    DWORD error = untilNotInUse(
        [&] {
            file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
            return file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
        },
        isSharingViolation);
    if (error != ERROR_SUCCESS)
        return error;
    LARGE_INTEGER size{};
    LARGE_INTEGER wanted{};
    wanted.QuadPart = static_cast<LONGLONG>(bytes.size());
    LARGE_INTEGER start{};
    if (!GetFileSizeEx(file, &size))
        error = GetLastError();
    else if (size.QuadPart < wanted.QuadPart &&
             (!SetFilePointerEx(file, wanted, nullptr, FILE_BEGIN) || !SetEndOfFile(file)))
        error = GetLastError();
    else if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        error = GetLastError();
    else if (error = writeAll(file, bytes); error == ERROR_SUCCESS && !SetEndOfFile(file))
        error = GetLastError();
    else if (error == ERROR_SUCCESS && !FlushFileBuffers(file))
        error = GetLastError();
    CloseHandle(file);
    return error;
}

std::wstring temporaryNameFor(const std::wstring& path, std::uint32_t random) {
    static constexpr wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    std::wstring name = path + L".";
    for (int k = 0; k < 6; ++k, random /= 36)
        name += kLetters[random % 36];
    return name;
}

drill::HistoryOutcome failed(drill::HistoryOutcome outcome, std::u16string_view reason) {
    outcome.reason = reason;
    return outcome;
}

// Makes a folder, or takes the folder that is there; 0 or the error.
DWORD makeFolder(const std::wstring& path) {
    if (CreateDirectoryW(path.c_str(), nullptr))
        return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS && isFolder(path))
        return ERROR_SUCCESS;
    return error;
}

records::LocalTime localNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::u16string computerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &length))
        return {};
    return utf16(std::wstring_view(name, length));
}

}  // namespace

std::uint32_t randomNameNumber() {
    static std::mutex mutex;
    static std::random_device device;
    const std::lock_guard lock(mutex);
    return static_cast<std::uint32_t>(device());
}

bool idFitsWindowsNames(std::u16string_view myid) {
    for (const char16_t c : myid) {
        if (c == u'<' || c == u'>' || c == u':' || c == u'"' || c == u'|' || c == u'?' || c == u'*')
            return false;
    }
    // The learner's archive folder "Rovedavu<ID>" would lose a final dot or space.
    return myid.empty() || (myid.back() != u'.' && myid.back() != u' ');
}

drill::HistoryOutcome writeHistoryFile(drill::DrillState& state, NameNumbers numbers) {
    drill::HistoryOutcome outcome;
    outcome.fileName = records::shownHistoryPath(state.myid);
    switch (records::checkHistoryId(state.myid)) {
        case records::IdCheck::UnusableCharacter:
            return failed(outcome, records::reasons::kUnusableCharacter);
        case records::IdCheck::TooLong:
            return failed(outcome, records::reasons::kIdTooLong);
        case records::IdCheck::Usable:
            break;
    }
    if (!idFitsWindowsNames(state.myid))
        return failed(outcome, records::reasons::kUnusableCharacter);
    const std::wstring folder = wide(records::kHistoryFolder);
    const DWORD folderAttributes = GetFileAttributesW(folder.c_str());
    if (folderAttributes == INVALID_FILE_ATTRIBUTES)
        return failed(outcome, records::reasons::kNoFolder);
    if ((folderAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return failed(outcome, records::reasons::kNotFolder);

    const std::string bytes = records::historyBytes(state);
    const std::wstring path = windowsPath(records::historyFilePath(state.myid));
    // A temporary name that another save holds, by chance, is drawn again; that save's file is
    // never touched.
    std::wstring temporary;
    DWORD created = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < kNameAttempts && isNameTaken(created); ++attempt) {
        temporary = temporaryNameFor(path, numbers());
        created = writeNewFile(temporary, bytes);
    }
    if (const DWORD error = created; error != ERROR_SUCCESS) {
        if (!isRefusal(error))
            return failed(outcome, reasonFor(error));
        // No new file may be made in the folder; the learner's own file may still be written.
        const DWORD attributes = GetFileAttributesW(path.c_str());
        const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
        if (!exists || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return failed(outcome, kNoFolderPermission);
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
            return failed(outcome, kNoFolderOrFilePermission);
        if (const DWORD inPlace = rewriteInPlace(path, bytes); inPlace != ERROR_SUCCESS)
            return failed(outcome,
                          isRefusal(inPlace) ? kNoFolderOrFilePermission : reasonFor(inPlace));
        outcome.written = true;
        return outcome;
    }
    // A file that may not be written is the learner's or the teacher's wish: it is never
    // replaced.
    if (fileRefusesWriting(path)) {
        DeleteFileW(temporary.c_str());
        return failed(outcome, kNoPermission);
    }
    // Another save of the same file, on this computer or another, or a program reading the
    // file makes the replacement fail for as long as it has the file open.
    const DWORD replaced = untilNotInUse(
        [&] {
            return MoveFileExW(temporary.c_str(), path.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                       ? ERROR_SUCCESS
                       : GetLastError();
        },
        mayBeInUse);
    if (replaced != ERROR_SUCCESS) {
        DeleteFileW(temporary.c_str());
        // A refusal that lasts is one of the permissions only when they refuse deleting the
        // file, which replacing it needs.
        if (replaced == ERROR_ACCESS_DENIED && !refusesAccess(path, DELETE))
            return failed(outcome, kFileInUse);
        return failed(outcome, reasonFor(replaced));
    }
    outcome.written = true;
    return outcome;
}

drill::SaveOutcome writeArchiveFile(const std::string& bytes, std::u16string_view myid,
                                    const records::LocalTime& ended, std::u16string_view host) {
    drill::SaveOutcome outcome{false, records::shownArchiveFolder(myid), {}};
    const auto failure = [&outcome](std::u16string reason) {
        outcome.reason = std::move(reason);
        return outcome;
    };
    switch (records::checkHistoryId(myid)) {
        case records::IdCheck::UnusableCharacter:
            return failure(std::u16string(records::reasons::kUnusableCharacter));
        case records::IdCheck::TooLong:
            return failure(std::u16string(records::reasons::kIdTooLong));
        case records::IdCheck::Usable:
            break;
    }
    if (!idFitsWindowsNames(myid))
        return failure(std::u16string(records::reasons::kUnusableCharacter));
    if (!isFolder(wide(records::kHistoryFolder)))
        return failure(std::u16string(GetFileAttributesW(wide(records::kHistoryFolder).c_str()) ==
                                              INVALID_FILE_ATTRIBUTES
                                          ? records::reasons::kNoFolder
                                          : records::reasons::kNotFolder));
    // The folders take the permissions of rirekidata by inheritance.
    if (const DWORD error = makeFolder(windowsPath(records::kArchiveFolder));
        error != ERROR_SUCCESS)
        return failure(reasonFor(error));
    const std::wstring folder = windowsPath(records::learnerArchiveText(myid));
    if (const DWORD error = makeFolder(folder); error != ERROR_SUCCESS)
        return failure(reasonFor(error));

    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::wstring name = wide(records::archiveFileText(ended, host, randomNameNumber()));
        const std::wstring temporary = folder + L"\\." + name;
        const std::wstring path = folder + L"\\" + name;
        error = writeNewFile(temporary, bytes);
        if (isNameTaken(error))
            continue;
        if (error != ERROR_SUCCESS)
            return failure(reasonFor(error));
        // Never replaces: a name that another computer took meanwhile is drawn again.
        if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
            outcome.written = true;
            return outcome;
        }
        error = GetLastError();
        DeleteFileW(temporary.c_str());
        if (!isNameTaken(error))
            return failure(reasonFor(error));
    }
    return failure(reasonFor(error));
}

drill::HistoryOutcome WinRecords::writeHistory(drill::DrillState& state) {
    if (!notSavedReason_.empty()) {
        return {
            false, records::shownHistoryPath(state.myid), notSavedReason_,
            drill::SaveOutcome{false, records::shownArchiveFolder(state.myid), notSavedReason_}};
    }
    // Both files are written at the same time, so that their waits for the disk overlap. The
    // archive's thread gets its own copies and never touches the drill state.
    std::future<drill::SaveOutcome> archived =
        std::async(std::launch::async,
                   [bytes = records::historyBytes(state), myid = state.myid, ended = localNow(),
                    host = computerName()] { return writeArchiveFile(bytes, myid, ended, host); });
    drill::HistoryOutcome outcome = writeHistoryFile(state);
    outcome.archive = archived.get();
    return outcome;
}

void WinRecords::fillResults(drill::DrillState& state, drill::ResultsLabels& labels) {
    records::fillResults(state, labels);
}

}  // namespace win
