// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "win_records.h"

#include <windows.h>

#include <future>
#include <random>

#include "history_bytes.h"
#include "results_filler.h"
#include "wide_text.h"

namespace win {
namespace {

using records::reasons::kDiskFull;
using records::reasons::kNoFolderOrFilePermission;
using records::reasons::kNoFolderPermission;
using records::reasons::kNoPermission;

// How often an archive name that exists already is drawn again before giving up.
constexpr int kNameAttempts = 16;

std::wstring windowsPath(std::u16string_view path) {
    std::wstring wide_ = wide(path);
    for (wchar_t& c : wide_) {
        if (c == L'/')
            c = L'\\';
    }
    return wide_;
}

std::uint32_t randomNumber() {
    static std::mutex mutex;
    static std::random_device device;
    const std::lock_guard lock(mutex);
    return static_cast<std::uint32_t>(device());
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

std::u16string reasonFor(DWORD error) {
    if (isDiskFull(error))
        return std::u16string(kDiskFull);
    if (isRefusal(error))
        return std::u16string(kNoPermission);
    return otherError(error);
}

bool isFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Whether the file is there but this account may not write it: read-only, or refused by its
// permissions. A folder that takes new files could still let the file be replaced.
bool fileRefusesWriting(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return true;
    // Opening for writing, without writing, changes nothing in the file.
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return isRefusal(GetLastError());
    CloseHandle(file);
    return false;
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
// a byte changes, then writes them, cuts the file to their length and flushes it.
DWORD rewriteInPlace(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    DWORD error = ERROR_SUCCESS;
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

std::wstring temporaryNameFor(const std::wstring& path) {
    static constexpr wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    std::wstring name = path + L".";
    std::uint32_t random = randomNumber();
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

bool idFitsWindowsNames(std::u16string_view myid) {
    for (const char16_t c : myid) {
        if (c == u'<' || c == u'>' || c == u':' || c == u'"' || c == u'|' || c == u'?' || c == u'*')
            return false;
    }
    // The learner's archive folder "Rovedavu<ID>" would lose a final dot or space.
    return myid.empty() || (myid.back() != u'.' && myid.back() != u' ');
}

drill::HistoryOutcome writeHistoryFile(drill::DrillState& state) {
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
    const std::wstring temporary = temporaryNameFor(path);
    if (const DWORD error = writeNewFile(temporary, bytes); error != ERROR_SUCCESS) {
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
    if (!MoveFileExW(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        return failed(outcome, reasonFor(error));
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
        const std::wstring name = wide(records::archiveFileText(ended, host, randomNumber()));
        const std::wstring temporary = folder + L"\\." + name;
        const std::wstring path = folder + L"\\" + name;
        error = writeNewFile(temporary, bytes);
        if (error == ERROR_FILE_EXISTS)
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
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
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
