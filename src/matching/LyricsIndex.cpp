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

bool IsRemovedFromWords(char c) {
    return std::find(kRemovedFromWords.begin(), kRemovedFromWords.end(), c) !=
           kRemovedFromWords.end();
}

// The words of a name: the characters of kRemovedFromWords left out, then runs of
// blanks taken as one and the text split at the blanks (a blank at either end
// gives an empty word there).
std::vector<std::string> SplitIntoWords(std::string_view name) {
    std::vector<std::string> words;
    words.reserve(1 + static_cast<std::size_t>(std::count(name.begin(), name.end(), kBlank)));
    std::string word;
    bool afterBlank = false;  // the last character kept was a blank
    for (const char c : name) {
        if (IsRemovedFromWords(c)) {
            continue;
        }
        if (c != kBlank) {
            word += c;
            afterBlank = false;
        } else if (!afterBlank) {
            words.push_back(std::move(word));
            word.clear();
            afterBlank = true;
        }
    }
    words.push_back(std::move(word));
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
    entry.Words = SplitIntoWords(name);
    entry.DisplayName = std::move(name);
    entry.FilePath = JoinPath(folder, fileName);
    return entry;
}

std::optional<std::string> BuildLyricsIndex(const std::string& cachePath, bool& singleDir,
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

    for (const std::string& folder : folders) {
        const std::string dir = EnsureBackslash(folder);
        // The cache folder itself was listed above.
        const std::vector<std::string> fileNames =
            singleDir
                ? FilesWithExtension(std::move(*cacheEntries), companion::kLyricsExtension, true)
                : ListFilesWithExtension(dir, companion::kLyricsExtension, true);
        for (const std::string& fileName : fileNames) {
            if (auto entry = MakeLyricsEntry(dir, fileName)) {
                index.Entries.push_back(std::move(*entry));
            }
        }
    }
    return "Matching " + std::to_string(index.LyricsCount()) + " lyrics";
}

}  // namespace versemark
