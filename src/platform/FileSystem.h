// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/FileNames.h"

namespace versemark {

// One entry of a folder listing: its name as the file system reports it, and
// whether it is a folder or a regular file (links count as what they lead to).
struct FolderEntry {
    std::string Name;
    bool IsFolder = false;
    bool IsRegularFile = false;
};

bool IsFolder(const std::string& path);
// True when `path` names an existing regular file (links followed).
bool IsRegularFile(const std::string& path);

// Every entry of `folder` except "." and "..", sorted by name without regard to
// case (the order a Windows user sees). nullopt when the folder cannot be listed.
std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder);
// The same, also giving what makes the listed folder the same folder whichever path
// or link leads to it (its device and inode numbers, as text), taken from the open
// folder itself.
std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder,
                                                   std::string& identity);

// The immediate subfolders of `folder`, as full paths, in name order.
std::vector<std::string> ListSubfolders(const std::string& folder);
// The same from a listing of `folder` already made.
std::vector<std::string> SubfoldersOf(const std::string& folder,
                                      const std::vector<FolderEntry>& entries);

// Names of the regular files of `folder` whose extension equals `extension`
// (for example ".txt") without regard to case, in name order. Names beginning
// with "." count as hidden and are left out when `skipHidden` is set.
std::vector<std::string> ListFilesWithExtension(const std::string& folder,
                                                std::string_view extension, bool skipHidden);
// The same from a listing already made, whose names it takes.
std::vector<std::string> FilesWithExtension(std::vector<FolderEntry>&& entries,
                                            std::string_view extension, bool skipHidden);

// The whole content of a file, or nullopt when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);
// The last `count` bytes of a file (all of it when shorter), or nullopt.
std::optional<std::string> ReadFileTail(const std::string& path, std::size_t count);
// The same into `tail` (empty, and false, when it cannot be read), whose buffer is
// reused.
bool ReadFileTail(const std::string& path, std::size_t count, std::string& tail);

// The folder that holds this program's executable, without a trailing separator.
std::string ProgramFolder();
// The executable's own file name (for example "versemark").
std::string ProgramFileName();

// True when anything at all is at `path` (a file, a folder, a link, even a
// broken one); a status that cannot be read counts as something being there.
bool PathExists(const std::string& path);

// Creates a new file (failing when something exists at `path`) holding exactly
// `content`. A file that could not be written whole is removed again.
bool WriteNewFile(const std::string& path, std::string_view content);

// A UTF-8 name as a std::filesystem path and back: the bytes unchanged on Linux,
// UTF-16 on Windows (never the system's 8-bit code page).
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// The path as a std::filesystem call must be given it to reach the file: on
// Windows a long one in the extended-length form (see win32/SystemPath.h), since
// such calls are subject to the system's path limit; elsewhere PathFromUtf8's.
// Only for handing to the system, never for taking apart.
std::filesystem::path SystemFilePath(std::string_view utf8);

// The path made absolute against the current folder and put in normal form.
std::string AbsolutePath(const std::string& path);

// The path with every link on the way resolved, absolute and in normal form;
// nullopt when something on the way is missing or cannot be read.
std::optional<std::string> ResolvedPath(const std::string& path);

// True when `path` is `folder` or lies somewhere within it, part by part (both
// resolved already: no link and no "..").
bool LiesWithin(const std::string& path, const std::string& folder);

// Name order without regard to case, as the listings above use it.
bool NameLess(std::string_view a, std::string_view b);
// Sorts a listing into that order.
void SortByName(std::vector<FolderEntry>& entries);

// True when `name` ends with `ending`, ASCII letters compared without regard to
// case (the platform's match of a pattern such as "*.mp3").
bool EndsWithIgnoringCase(std::string_view name, std::string_view ending);

}  // namespace versemark
