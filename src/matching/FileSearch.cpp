// SPDX-License-Identifier: GPL-3.0-or-later
#include "matching/FileSearch.h"

#include <algorithm>

#include "base/FileNames.h"
#include "platform/FileSystem.h"

namespace versemark {
namespace {

constexpr char kPatternWildcard = '*';
constexpr char kHiddenFolderMark = '.';

// The platform's match for patterns of the form "*<ending>": the ending compared
// without regard to case. Any other pattern must equal the name (ignoring case).
bool MatchesPattern(std::string_view name, std::string_view pattern) {
    std::string_view ending = pattern;
    if (!ending.empty() && ending.front() == kPatternWildcard) {
        ending.remove_prefix(1);
    } else if (name.size() != ending.size()) {
        return false;
    }
    return EndsWithIgnoringCase(name, ending);
}

// True when the name matches the search's pattern, or with all formats one of
// the others.
bool SearchTakes(const FileSearch& search, std::string_view name) {
    if (MatchesPattern(name, search.Pattern)) {
        return true;
    }
    return search.AllFormats &&
           std::any_of(std::begin(kOtherFormatPatterns), std::end(kOtherFormatPatterns),
                       [name](std::string_view pattern) { return MatchesPattern(name, pattern); });
}

// Adds the listed files that the search takes.
void AddMatchingFiles(FileSearch& search, const std::string& dir,
                      const std::vector<FolderEntry>& entries) {
    for (const FolderEntry& entry : entries) {
        const std::string_view name = TrimAtNul(entry.Name);
        if (entry.IsFolder || !SearchTakes(search, name)) {
            continue;
        }
        ++search.FileCount;
        if (search.Files != nullptr) {
            std::string& path = search.Files->emplace_back();
            path.reserve(dir.size() + name.size());
            path.append(dir).append(name);
        }
    }
}

}  // namespace

std::string_view TrimAtNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

void SearchFolderTree(FileSearch& search) {
    const std::string dir = EnsureBackslash(search.Folder);
    // A folder reached again (through a link, or a link back up the tree) is not
    // searched twice.
    std::string identity;
    const auto entries = ListFolder(dir, identity);
    if (!entries || !search.VisitedFolders.insert(identity).second) {
        return;
    }
    // The folder's own files come before anything found below it.
    AddMatchingFiles(search, dir, *entries);
    if (!search.Recurse) {
        return;
    }
    for (const FolderEntry& entry : *entries) {
        const std::string_view name = TrimAtNul(entry.Name);
        if (entry.IsFolder && !name.empty() && name.front() != kHiddenFolderMark) {
            search.Folder = dir;
            search.Folder.append(name);
            SearchFolderTree(search);
        }
    }
}

int FindMp3Files(const std::string& folder, bool recurse, std::vector<std::string>& files,
                 bool allFormats) {
    files.clear();
    if (folder.empty()) {
        return 0;  // an empty path names no folder
    }
    FileSearch search;
    search.Recurse = recurse;
    search.Folder = folder;
    search.Pattern = std::string(kMp3Pattern);
    search.AllFormats = allFormats;
    search.FileCount = 0;
    search.Files = &files;
    SearchFolderTree(search);
    return search.FileCount;
}

}  // namespace versemark
