#include "platform/FileSystem.h"

#include <algorithm>

#include "platform/RandomAccessFile.h"

namespace versemark {

namespace {

unsigned char LowerAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == kPathSeparator) {
        return folder + name;
    }
    return folder + kPathSeparator + name;
}

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
    return std::equal(tail.begin(), tail.end(), ending.begin(), [](char a, char b) {
        return LowerAscii(static_cast<unsigned char>(a)) ==
               LowerAscii(static_cast<unsigned char>(b));
    });
}

bool NameLess(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char ca = LowerAscii(static_cast<unsigned char>(a[i]));
        const unsigned char cb = LowerAscii(static_cast<unsigned char>(b[i]));
        if (ca != cb) {
            return ca < cb;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;  // names differing only in case keep a fixed order
}

void SortByName(std::vector<FolderEntry>& entries) {
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return NameLess(a.Name, b.Name); });
}

std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder) {
    std::string identity;
    return ListFolder(folder, identity);
}

std::vector<std::string> ListSubfolders(const std::string& folder) {
    std::vector<std::string> result;
    if (auto entries = ListFolder(folder)) {
        for (const FolderEntry& e : *entries) {
            if (e.IsFolder) {
                result.push_back(JoinPath(folder, e.Name));
            }
        }
    }
    return result;
}

std::vector<std::string> ListFilesWithExtension(const std::string& folder,
                                                std::string_view extension, bool skipHidden) {
    std::vector<std::string> result;
    if (auto entries = ListFolder(folder)) {
        for (const FolderEntry& e : *entries) {
            if (e.IsFolder || (skipHidden && !e.Name.empty() && e.Name.front() == '.')) {
                continue;
            }
            if (e.IsRegularFile && EndsWithIgnoringCase(e.Name, extension)) {
                result.push_back(e.Name);
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

}  // namespace versemark
