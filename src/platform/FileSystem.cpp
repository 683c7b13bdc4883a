// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileSystem.h"

#include <algorithm>
#include <cstdint>

#include "base/Text.h"
#include "platform/RandomAccessFile.h"

namespace versemark {

std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

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

// Orders the entries as NameLess does, with all names lowered once into one
// buffer and small keys sorted instead of the entries (a folder of many files
// sorts its names many times over).
void SortByName(std::vector<FolderEntry>& entries) {
    // Each name's first eight lowered bytes as one number (big-endian, NUL-padded:
    // names hold no NUL) order most pairs in one comparison.
    struct Key {
        std::uint64_t Prefix;
        std::size_t Start;
        std::size_t Size;
        std::size_t Entry;
    };
    constexpr std::size_t kPrefixBytes = sizeof(std::uint64_t);
    constexpr int kBitsPerByte = 8;
    std::size_t total = 0;
    for (const FolderEntry& entry : entries) {
        total += entry.Name.size();
    }
    std::string lowered(total, '\0');
    std::vector<Key> keys;
    keys.reserve(entries.size());
    std::size_t used = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& name = entries[i].Name;
        Key key{0, used, name.size(), i};
        for (std::size_t k = 0; k < name.size(); ++k) {
            const char c = LowerAscii(name[k]);
            lowered[used++] = c;
            if (k < kPrefixBytes) {
                key.Prefix |= std::uint64_t{static_cast<unsigned char>(c)}
                              << (kBitsPerByte * (kPrefixBytes - 1 - k));
            }
        }
        keys.push_back(key);
    }
    const std::string_view all(lowered);
    std::sort(keys.begin(), keys.end(), [&](const Key& a, const Key& b) {
        if (a.Prefix != b.Prefix) {
            return a.Prefix < b.Prefix;
        }
        const int order = all.substr(a.Start, a.Size).compare(all.substr(b.Start, b.Size));
        return order != 0 ? order < 0 : entries[a.Entry].Name < entries[b.Entry].Name;
    });
    // The entries into their places by following each cycle of the order.
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].Entry == i) {
            continue;
        }
        FolderEntry held = std::move(entries[i]);
        std::size_t at = i;
        while (keys[at].Entry != i) {
            const std::size_t from = keys[at].Entry;
            entries[at] = std::move(entries[from]);
            keys[at].Entry = at;
            at = from;
        }
        entries[at] = std::move(held);
        keys[at].Entry = at;
    }
}

std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder) {
    std::string identity;
    return ListFolder(folder, identity);
}

std::vector<std::string> SubfoldersOf(const std::string& folder,
                                      const std::vector<FolderEntry>& entries) {
    std::vector<std::string> result;
    for (const FolderEntry& e : entries) {
        if (e.IsFolder) {
            result.push_back(JoinPath(folder, e.Name));
        }
    }
    return result;
}

std::vector<std::string> ListSubfolders(const std::string& folder) {
    const auto entries = ListFolder(folder);
    return entries ? SubfoldersOf(folder, *entries) : std::vector<std::string>();
}

std::vector<std::string> FilesWithExtension(std::vector<FolderEntry>&& entries,
                                            std::string_view extension, bool skipHidden) {
    std::vector<std::string> result;
    result.reserve(entries.size());
    for (FolderEntry& e : entries) {
        if (e.IsFolder || (skipHidden && !e.Name.empty() && e.Name.front() == '.')) {
            continue;
        }
        if (e.IsRegularFile && EndsWithIgnoringCase(e.Name, extension)) {
            result.push_back(std::move(e.Name));
        }
    }
    return result;
}

std::vector<std::string> ListFilesWithExtension(const std::string& folder,
                                                std::string_view extension, bool skipHidden) {
    auto entries = ListFolder(folder);
    return entries ? FilesWithExtension(std::move(*entries), extension, skipHidden)
                   : std::vector<std::string>();
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

bool ReadFileTail(const std::string& path, std::size_t count, std::string& tail) {
    tail.clear();
    auto file = OpenFile(path, FileAccess::Read);
    if (!file) {
        return false;
    }
    const auto length = file->Length();
    if (!length) {
        return false;
    }
    const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(*length, count));
    if (!file->ReadAt(*length - take, take, tail)) {
        tail.clear();
        return false;
    }
    return true;
}

std::optional<std::string> ReadFileTail(const std::string& path, std::size_t count) {
    std::string tail;
    if (!ReadFileTail(path, count, tail)) {
        return std::nullopt;
    }
    return tail;
}

bool LiesWithin(const std::string& path, const std::string& folder) {
    const std::filesystem::path inner = PathFromUtf8(path);
    const std::filesystem::path outer = PathFromUtf8(folder);
    auto part = inner.begin();
    for (const std::filesystem::path& folderPart : outer) {
        if (folderPart.empty()) {
            continue;  // the empty last part of a folder given with a trailing separator
        }
        if (part == inner.end() || *part != folderPart) {
            return false;
        }
        ++part;
    }
    return true;
}

}  // namespace versemark
