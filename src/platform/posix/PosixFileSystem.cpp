// SPDX-License-Identifier: GPL-3.0-or-later
// Files and folders through POSIX calls and std::filesystem.
#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/FileSystem.h"

namespace versemark {
namespace fs = std::filesystem;

namespace {

bool StatFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The entry's kind from the listing itself; only links and file systems that do
// not report the kind cost a stat.
void SetEntryKind(FolderEntry& entry, unsigned char type, const std::string& folder) {
    if (type == DT_DIR || type == DT_REG) {
        entry.IsFolder = type == DT_DIR;
        entry.IsRegularFile = type == DT_REG;
        return;
    }
    if (type == DT_LNK || type == DT_UNKNOWN) {
        struct stat st {};
        if (::stat(JoinPath(folder, entry.Name).c_str(), &st) == 0) {
            entry.IsFolder = S_ISDIR(st.st_mode);
            entry.IsRegularFile = S_ISREG(st.st_mode);
        }
    }
}

}  // namespace

bool IsFolder(const std::string& path) {
    return !path.empty() && StatFolder(path);
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder,
                                                   std::string& identity) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(::dirfd(dir), &st) != 0) {
        ::closedir(dir);
        return std::nullopt;
    }
    identity = std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
    std::vector<FolderEntry> entries;
    while (const dirent* ent = ::readdir(dir)) {
        const std::string_view name = ent->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        FolderEntry& entry = entries.emplace_back(FolderEntry{std::string(name)});
        SetEntryKind(entry, ent->d_type, folder);
    }
    ::closedir(dir);
    SortByName(entries);
    return entries;
}

namespace {
fs::path ExecutablePath() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe;
}
}  // namespace

std::string ProgramFolder() {
    return ExecutablePath().parent_path().native();
}

std::string ProgramFileName() {
    return ExecutablePath().filename().native();
}

bool PathExists(const std::string& path) {
    std::error_code ec;
    // A status that cannot be read at all also counts as something being there.
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found;
}

bool WriteNewFile(const std::string& path, std::string_view content) {
    std::FILE* file = std::fopen(path.c_str(), "wbx");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::remove(path.c_str());
        return false;
    }
    return true;
}

std::filesystem::path SystemFilePath(std::string_view utf8) {
    return PathFromUtf8(utf8);
}

std::optional<std::string> ResolvedPath(const std::string& path) {
    std::error_code error;
    const fs::path resolved = fs::canonical(PathFromUtf8(path), error);
    if (error) {
        return std::nullopt;
    }
    return Utf8FromPath(resolved);
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return (error ? fs::path(path) : absolute).lexically_normal().native();
}

}  // namespace versemark
