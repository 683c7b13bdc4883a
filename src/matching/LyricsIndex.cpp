#include "matching/LyricsIndex.h"

#include <algorithm>
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

// Runs of blanks become one blank.
void CollapseBlanks(std::string& text) {
    const auto end = std::unique(text.begin(), text.end(),
                                 [](char a, char b) { return a == kBlank && b == kBlank; });
    text.erase(end, text.end());
}

std::vector<std::string> SplitAtBlanks(std::string_view text) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (true) {
        const std::size_t blank = text.find(kBlank, start);
        if (blank == std::string_view::npos) {
            words.emplace_back(text.substr(start));
            return words;
        }
        words.emplace_back(text.substr(start, blank - start));
        start = blank + 1;
    }
}

bool IsHiddenName(std::string_view path) {
    const std::size_t slash = path.find_last_of(kPathSeparator);
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return !name.empty() && name.front() == '.';
}

// The cache's subfolders that are read; hidden ones (".name") are left out.
std::vector<std::string> VisibleSubfolders(const std::string& cachePath) {
    std::vector<std::string> folders;
    for (std::string& folder : ListSubfolders(cachePath)) {
        if (!IsHiddenName(folder)) {
            folders.push_back(std::move(folder));
        }
    }
    return folders;
}

}  // namespace

std::optional<LyricsEntry> MakeLyricsEntry(const std::string& folder, const std::string& fileName) {
    if (fileName.find(companion::kNameHyphen) == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t extensionSize = companion::kLyricsExtension.size();
    std::string name =
        fileName.substr(0, fileName.size() > extensionSize ? fileName.size() - extensionSize : 0);
    for (const Replacement& r : kApostropheReplacements) {
        ReplaceAll(name, r.From, r.To);
    }

    LyricsEntry entry;
    entry.DisplayName = name;
    std::erase_if(name, [](char c) { return kRemovedFromWords.find(c) != std::string_view::npos; });
    CollapseBlanks(name);
    entry.Words = SplitAtBlanks(name);
    entry.FilePath = EnsureBackslash(folder) + fileName;
    return entry;
}

std::optional<std::string> BuildLyricsIndex(const std::string& cachePath, bool& singleDir,
                                            LyricsIndex& index) {
    index.Entries.clear();
    if (!IsFolder(cachePath) || !ListFolder(cachePath)) {
        return std::nullopt;  // missing, a file, or not listable: as if there were no cache
    }
    std::vector<std::string> folders = VisibleSubfolders(cachePath);
    if (folders.empty()) {
        singleDir = true;
    }
    if (singleDir) {
        folders = {cachePath};
    }

    for (const std::string& folder : folders) {
        const std::string dir = EnsureBackslash(folder);
        for (const std::string& fileName :
             ListFilesWithExtension(dir, companion::kLyricsExtension, true)) {
            if (auto entry = MakeLyricsEntry(dir, fileName)) {
                index.Entries.push_back(std::move(*entry));
            }
        }
    }
    return "Matching " + std::to_string(index.LyricsCount()) + " lyrics";
}

}  // namespace versemark
