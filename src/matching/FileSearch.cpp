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

// Adds the listed files that match the search's pattern.
void AddMatchingFiles(FileSearch& search, const std::string& dir,
                      const std::vector<FolderEntry>& entries) {
    for (const FolderEntry& entry : entries) {
        const std::string_view name = TrimAtNul(entry.Name);
        if (entry.IsFolder || !MatchesPattern(name, search.Pattern)) {
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

int FindMp3Files(const std::string& folder, bool recurse, std::vector<std::string>& files) {
    files.clear();
    if (folder.empty()) {
        return 0;  // an empty path names no folder
    }
    FileSearch search;
    search.Recurse = recurse;
    search.Folder = folder;
    search.Pattern = std::string(kMp3Pattern);
    search.FileCount = 0;
    search.Files = &files;
    SearchFolderTree(search);
    return search.FileCount;
}

}  // namespace versemark
