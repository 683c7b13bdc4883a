#include "platform/FileSystem.h"

#include <dirent.h>
#include <sys/stat.h>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/Text.h"
#include "platform/RandomAccessFile.h"

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
        if (::stat((EnsureBackslash(folder) + entry.Name).c_str(), &st) == 0) {
            entry.IsFolder = S_ISDIR(st.st_mode);
            entry.IsRegularFile = S_ISREG(st.st_mode);
        }
    }
}

// Orders the entries as NameLess does, with each name lowered once instead of at
// every comparison (a folder of many files sorts its names many times over).
void SortByName(std::vector<FolderEntry>& entries) {
    struct Keyed {
        std::string Lowered;
        FolderEntry Entry;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(entries.size());
    for (FolderEntry& entry : entries) {
        std::string lowered = entry.Name;
        for (char& c : lowered) {
            c = static_cast<char>(LowerAscii(static_cast<unsigned char>(c)));
        }
        keyed.push_back({std::move(lowered), std::move(entry)});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        const int order = a.Lowered.compare(b.Lowered);
        return order != 0 ? order < 0 : a.Entry.Name < b.Entry.Name;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        entries[i] = std::move(keyed[i].Entry);
    }
}

}  // namespace

bool EndsWithIgnoringCase(std::string_view name, std::string_view ending) {
    if (name.size() < ending.size()) {
        return false;
    }
    const std::string_view tail = name.substr(name.size() - ending.size());
    return std::equal(tail.begin(), tail.end(), ending.begin(),
                      [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
}

bool NameLess(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(LowerAscii(a[i]));
        const auto cb = static_cast<unsigned char>(LowerAscii(b[i]));
        if (ca != cb) {
            return ca < cb;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;  // names differing only in case keep a fixed order
}

bool IsFolder(const std::string& path) {
    return !path.empty() && StatFolder(path);
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder) {
    std::string identity;
    return ListFolder(folder, identity);
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
        FolderEntry entry{std::string(name)};
        SetEntryKind(entry, ent->d_type, folder);
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    SortByName(entries);
    return entries;
}

std::vector<std::string> ListSubfolders(const std::string& folder) {
    std::vector<std::string> result;
    if (auto entries = ListFolder(folder)) {
        for (const FolderEntry& e : *entries) {
            if (e.IsFolder) {
                result.push_back(EnsureBackslash(folder) + e.Name);
            }
        }
    }
    return result;
}

std::vector<std::string> ListFilesWithExtension(const std::string& folder,
                                                std::string_view extension, bool skipHidden) {
    std::vector<std::string> result;
    if (auto entries = ListFolder(folder)) {
        for (FolderEntry& e : *entries) {
            if (e.IsFolder || (skipHidden && !e.Name.empty() && e.Name.front() == '.')) {
                continue;
            }
            if (e.IsRegularFile && EndsWithIgnoringCase(e.Name, extension)) {
                result.push_back(std::move(e.Name));
            }
        }
    }
    return result;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    auto file = OpenFile(path, FileAccess::Read);
    if (!file) {
        return std::nullopt;
    }
    const auto length = file->Length();
    std::string content;
    if (!length || !file->ReadAt(0, static_cast<std::size_t>(*length), content)) {
        return std::nullopt;
    }
    return content;
}

std::optional<std::string> ReadFileTail(const std::string& path, std::size_t count) {
    auto file = OpenFile(path, FileAccess::Read);
    if (!file) {
        return std::nullopt;
    }
    const auto length = file->Length();
    if (!length) {
        return std::nullopt;
    }
    const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(*length, count));
    std::string tail;
    if (!file->ReadAt(*length - take, take, tail)) {
        return std::nullopt;
    }
    return tail;
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

}  // namespace versemark
