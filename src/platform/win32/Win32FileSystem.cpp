// SPDX-License-Identifier: GPL-3.0-or-later
// Files and folders through the system's wide-character functions; names are
// UTF-8 inside the program.
#include <windows.h>

#include "platform/FileSystem.h"
#include "platform/win32/ScopedHandle.h"
#include "platform/win32/SystemPath.h"
#include "platform/win32/WideText.h"

namespace versemark {

namespace {

using win32::ScopedHandle;
using win32::SystemPath;
using win32::Utf8;
using win32::Wide;

constexpr char kAllEntries[] = "*";
constexpr char kDriveColon = ':';

DWORD Attributes(const std::string& path) {
    return path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(SystemPath(path).c_str());
}

// A folder opened for reading its information (links and junctions followed).
HANDLE OpenFolder(const std::string& folder) {
    return CreateFileW(SystemPath(folder).c_str(), FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// The volume and file index of an open folder: the same whatever path leads to it.
bool FolderIdentity(HANDLE folder, std::string& identity) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(folder, &info)) {
        return false;
    }
    identity = std::to_string(info.dwVolumeSerialNumber) + ":" +
               std::to_string(info.nFileIndexHigh) + ":" + std::to_string(info.nFileIndexLow);
    return true;
}

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return std::wstring();
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

bool IsFolder(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsRegularFile(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder,
                                                   std::string& identity) {
    if (folder.empty()) {
        return std::nullopt;
    }
    {
        const ScopedHandle open(OpenFolder(folder));
        if (!open.Valid() || !FolderIdentity(open.Get(), identity)) {
            return std::nullopt;
        }
    }
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = SystemPath(EnsureBackslash(folder) + kAllEntries);
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_FILE_NOT_FOUND ? std::optional(std::vector<FolderEntry>())
                                                      : std::nullopt;
    }
    std::vector<FolderEntry> entries;
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        FolderEntry entry{Utf8(name)};
        entry.IsFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.IsRegularFile =
            (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
        entries.push_back(std::move(entry));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    SortByName(entries);
    return entries;
}

std::string ProgramFolder() {
    const std::string path = Utf8(ModulePath());
    const std::size_t last = path.rfind(kPathSeparator);
    if (last == std::string::npos) {
        return std::string();
    }
    // A drive's root keeps its separator: "C:\".
    const bool driveRoot = last == 2 && path[1] == kDriveColon;
    return path.substr(0, driveRoot ? last + 1 : last);
}

std::string ProgramFileName() {
    return GetFileName(Utf8(ModulePath()));
}

bool PathExists(const std::string& path) {
    if (Attributes(path) != INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

bool WriteNewFile(const std::string& path, std::string_view content) {
    const std::wstring name = SystemPath(path);
    bool written = false;
    {
        const ScopedHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) {
            return false;
        }
        DWORD count = 0;
        written = content.size() <= MAXDWORD &&
                  WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &count,
                            nullptr) &&
                  count == content.size();
    }
    if (!written) {
        DeleteFileW(name.c_str());
    }
    return written;
}

std::filesystem::path SystemFilePath(std::string_view utf8) {
    return std::filesystem::path(SystemPath(utf8));
}

// Resolved through the extended-length form, so that a long path resolves too;
// the answer is given back in the plain form the rest of the program compares.
std::optional<std::string> ResolvedPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(SystemFilePath(path), error);
    if (error) {
        return std::nullopt;
    }
    return win32::WithoutExtendedPrefix(Utf8FromPath(resolved));
}

std::string AbsolutePath(const std::string& path) {
    const std::wstring wide = Wide(path);
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0) {
        return path;
    }
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) {
        return path;
    }
    full.resize(length);
    return Utf8(full);
}

}  // namespace versemark
