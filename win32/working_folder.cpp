// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "working_folder.h"

#include <windows.h>

#include <cwctype>

#include "unreachable_folder.h"
#include "wide_text.h"

namespace win {
namespace {

std::wstring environment(const wchar_t* name) {
    const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
    if (length == 0)
        return {};
    std::wstring value(length, L'\0');
    const DWORD copied = GetEnvironmentVariableW(name, value.data(), length);
    value.resize(copied < length ? copied : 0);
    return value;
}

// "C:\...", "C:/..." or a UNC path "\\server\share\...".
bool isAbsolute(const std::wstring& path) {
    if (path.size() >= 3 &&
        ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
        path[1] == L':' && (path[2] == L'\\' || path[2] == L'/'))
        return true;
    return path.size() >= 3 && (path[0] == L'\\' || path[0] == L'/') &&
           (path[1] == L'\\' || path[1] == L'/');
}

std::wstring decoded(const std::string& bytes) {
    for (const UINT codePage : {static_cast<UINT>(CP_UTF8), static_cast<UINT>(CP_ACP)}) {
        const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
        const int length = MultiByteToWideChar(codePage, flags, bytes.data(),
                                               static_cast<int>(bytes.size()), nullptr, 0);
        if (length <= 0 && !bytes.empty())
            continue;
        std::wstring text(static_cast<std::size_t>(length), L'\0');
        MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()),
                            text.data(), length);
        return text;
    }
    return {};
}

std::wstring trimmed(std::wstring text) {
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r'; };
    while (!text.empty() && blank(text.back()))
        text.pop_back();
    std::size_t start = 0;
    while (start < text.size() && blank(text[start]))
        ++start;
    return text.substr(start);
}

std::string fileText(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string text;
    LARGE_INTEGER size{};
    // A settings file is a few lines; anything larger is not one.
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= 65536) {
        text.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        if (!ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr))
            read = 0;
        text.resize(read);
    }
    CloseHandle(file);
    return text;
}

std::u16string unreachableReason(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return u"フォルダがありません。";
        case ERROR_DIRECTORY:
            return u"フォルダではありません。";
        case ERROR_ACCESS_DENIED:
            return u"フォルダに入る権限がありません。";
        default:
            return u"フォルダに入れません（" + utf16(systemMessage(error)) + u"）。";
    }
}

bool isFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Whether a new file can be made in the folder: tried, and taken away again.
bool takesNewFiles(const std::wstring& folder) {
    const std::wstring probe = folder + L"\\.rovedavu-write-check";
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

std::wstring programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// The value of the first line "key=value" before any section or in [General], trimmed.
std::optional<std::wstring> settingOf(const std::string& settingsText, std::wstring_view key) {
    std::string bytes = settingsText;
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0)
        bytes.erase(0, 3);
    const std::wstring text = decoded(bytes);
    bool inGeneral = true;  // lines before any section, or in [General]
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring line = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == L';' || line[0] == L'#')
            continue;
        if (line[0] == L'[') {
            inGeneral = line == L"[General]";
            continue;
        }
        const std::size_t equals = line.find(L'=');
        if (inGeneral && equals != std::wstring::npos && trimmed(line.substr(0, equals)) == key)
            return trimmed(line.substr(equals + 1));
    }
    return std::nullopt;
}

// The computer's settings file locks its folder for every account with "DataFolderLocked=true"
// beside it; the users' files are then not read for it.
std::optional<std::wstring> lockedDataFolderOf(const std::string& settingsText) {
    std::wstring locked = settingOf(settingsText, L"DataFolderLocked").value_or(L"");
    for (wchar_t& c : locked)
        c = static_cast<wchar_t>(std::towlower(c));
    return locked == L"true" ? dataFolderOf(settingsText) : std::nullopt;
}

}  // namespace

std::vector<std::wstring> settingsFiles() {
    std::vector<std::wstring> files;
    for (const wchar_t* variable : {L"APPDATA", L"ProgramData"}) {
        const std::wstring folder = environment(variable);
        if (isAbsolute(folder))
            files.push_back(folder + L"\\Rovedavu\\rovedavu.conf");
    }
    return files;
}

std::optional<std::wstring> dataFolderOf(const std::string& settingsText) {
    std::wstring value = settingOf(settingsText, L"DataFolder").value_or(L"");
    if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"')
        value = value.substr(1, value.size() - 2);
    while (value.size() > 3 && (value.back() == L'\\' || value.back() == L'/'))
        value.pop_back();
    if (value.empty() || !isAbsolute(value))
        return std::nullopt;
    return value;
}

WorkingFolder workingFolder() {
    const std::wstring computers = environment(L"ProgramData");
    if (isAbsolute(computers)) {
        if (const auto folder =
                lockedDataFolderOf(fileText(computers + L"\\Rovedavu\\rovedavu.conf")))
            return {*folder, true};
    }
    for (const std::wstring& file : settingsFiles()) {
        if (const auto folder = dataFolderOf(fileText(file)))
            return {*folder, true};
    }
    const std::wstring own = programFolder();
    if (!own.empty() && isFolder(own + L"\\rirekidata") && takesNewFiles(own + L"\\rirekidata"))
        return {own, false};
    return {environment(L"LOCALAPPDATA") + L"\\Rovedavu", false};
}

std::u16string enterWorkingFolder(const WorkingFolder& folder) {
    if (!folder.configured)
        CreateDirectoryW(folder.path.c_str(), nullptr);  // the per-user folder, made at first use
    if (!SetCurrentDirectoryW(folder.path.c_str())) {
        return unreachableReason(GetLastError());
    }
    CreateDirectoryW(L"rirekidata", nullptr);
    return {};
}

std::u16string startInWorkingFolder(drill::Dialogs& dialogs) {
    const WorkingFolder folder = workingFolder();
    const std::u16string reason = enterWorkingFolder(folder);
    if (reason.empty())
        return {};
    const std::u16string path = utf16(folder.path);
    dialogs.showMessage(records::unreachable::message(path, reason),
                        std::u16string(records::unreachable::kTitle));
    return records::unreachable::notSavedReason(path, reason);
}

}  // namespace win
