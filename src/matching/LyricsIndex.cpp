// SPDX-License-Identifier: GPL-3.0-or-later
#include "matching/LyricsIndex.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

#include "base/Companion.h"
#include "base/FileNames.h"
#include "matching/FileSearch.h"
#include "platform/FileSystem.h"

namespace versemark {
namespace {

// Apostrophes written as "_" in cache file names, put back for display.
struct Replacement {
    std::string_view From;
    std::string_view To;
};
constexpr Replacement kApostropheReplacements[] = {
    {"_t", "'t"},
    {"_m", "'m"},
    {"_s", "'s"},
    {"in_", "in'"},
};
// The mark every replaced pair holds: a name without it needs no replacement.
constexpr char kApostropheMark = '_';
static_assert(std::all_of(std::begin(kApostropheReplacements), std::end(kApostropheReplacements),
                          [](const Replacement& r) {
                              return r.From.find(kApostropheMark) != std::string_view::npos;
                          }));

// Characters left out of the words.
constexpr std::string_view kRemovedFromWords = "-_'";
constexpr char kBlank = ' ';

// Replaces every `from` in `text` by `to`, left to right. Most names hold none of
// the marks: then nothing is copied.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    std::size_t hit = text.find(from);
    if (hit == std::string::npos) {
        return;
    }
    std::string result;
    result.reserve(text.size());
    std::size_t start = 0;
    while (hit != std::string::npos) {
        result.append(text, start, hit - start);
        result.append(to);
        start = hit + from.size();
        hit = text.find(from, start);
    }
    result.append(text, start);
    text = std::move(result);
}

constexpr std::array<bool, 256> kRemovedByte = [] {
    std::array<bool, 256> removed{};
    for (const char c : kRemovedFromWords) {
        removed[static_cast<unsigned char>(c)] = true;
    }
    return removed;
}();

// The words of a name: the characters of kRemovedFromWords left out, then runs of
// blanks taken as one and the text split at the blanks (a blank at either end
// gives an empty word there).
std::vector<std::string> SplitIntoWords(std::string_view name) {
    std::string cleaned(name.size(), '\0');
    std::size_t kept = 0;
    std::size_t blanks = 0;
    for (const char c : name) {
        const bool repeatedBlank = c == kBlank && kept > 0 && cleaned[kept - 1] == kBlank;
        if (kRemovedByte[static_cast<unsigned char>(c)] || repeatedBlank) {
            continue;
        }
        cleaned[kept++] = c;
        blanks += c == kBlank;
    }
    const std::string_view text(cleaned.data(), kept);
    std::vector<std::string> words;
    words.reserve(blanks + 1);
    std::size_t start = 0;
    for (std::size_t blank = text.find(kBlank); blank != std::string_view::npos;
         blank = text.find(kBlank, start)) {
        words.emplace_back(text.substr(start, blank - start));
        start = blank + 1;
    }
    words.emplace_back(text.substr(start));
    return words;
}

bool IsHiddenName(std::string_view path) {
    const std::size_t slash = path.find_last_of(kPathSeparator);
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return !name.empty() && name.front() == '.';
}

// The cache's subfolders that are read; hidden ones (".name") are left out.
std::vector<std::string> VisibleSubfolders(const std::string& cachePath,
                                           const std::vector<FolderEntry>& entries) {
    std::vector<std::string> folders;
    for (std::string& folder : SubfoldersOf(cachePath, entries)) {
        if (!IsHiddenName(folder)) {
            folders.push_back(std::move(folder));
        }
    }
    return folders;
}

bool IsLyricsName(const std::string& fileName) {
    return fileName.find(companion::kNameHyphen) != std::string::npos;
}

// The entry of a lyrics name (IsLyricsName), filled in place.
void FillLyricsEntry(const std::string& folder, const std::string& fileName, LyricsEntry& entry) {
    const std::size_t extensionSize = companion::kLyricsExtension.size();
    std::string& name = entry.DisplayName;
    name = std::string_view(fileName).substr(
        0, fileName.size() > extensionSize ? fileName.size() - extensionSize : 0);
    if (name.find(kApostropheMark) != std::string::npos) {
        for (const Replacement& r : kApostropheReplacements) {
            ReplaceAll(name, r.From, r.To);
        }
    }
    entry.Words = SplitIntoWords(name);
    entry.FilePath = JoinPath(folder, fileName);
}

}  // namespace

std::optional<LyricsEntry> MakeLyricsEntry(const std::string& folder, const std::string& fileName) {
    if (!IsLyricsName(fileName)) {
        return std::nullopt;
    }
    LyricsEntry entry;
    FillLyricsEntry(folder, fileName, entry);
    return entry;
}

std::optional<int> BuildLyricsIndex(const std::string& cachePath, bool& singleDir,
                                    LyricsIndex& index) {
    index.Entries.clear();
    std::optional<std::vector<FolderEntry>> cacheEntries;
    if (!IsFolder(cachePath) || !(cacheEntries = ListFolder(cachePath))) {
        return std::nullopt;  // missing, a file, or not listable: as if there were no cache
    }
    std::vector<std::string> folders = VisibleSubfolders(cachePath, *cacheEntries);
    if (folders.empty()) {
        singleDir = true;
    }
    if (singleDir) {
        folders = {cachePath};
    }

    // Every folder's names first, so that the entries are made in place, once.
    std::vector<std::pair<std::string, std::vector<std::string>>> listed;
    std::size_t nameCount = 0;
    for (const std::string& folder : folders) {
        std::string dir = EnsureBackslash(folder);
        // The cache folder itself was listed above.
        std::vector<std::string> fileNames =
            singleDir
                ? FilesWithExtension(std::move(*cacheEntries), companion::kLyricsExtension, true)
                : ListFilesWithExtension(dir, companion::kLyricsExtension, true);
        nameCount += fileNames.size();
        listed.emplace_back(std::move(dir), std::move(fileNames));
    }
    index.Entries.reserve(nameCount);
    for (const auto& [dir, fileNames] : listed) {
        for (const std::string& fileName : fileNames) {
            if (IsLyricsName(fileName)) {
                FillLyricsEntry(dir, fileName, index.Entries.emplace_back());
            }
        }
    }
    return index.LyricsCount();
}

}  // namespace versemark
