// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

// The recursive search for a folder's MP3 files.
namespace versemark {

inline constexpr std::string_view kMp3Pattern = "*.mp3";
// The patterns a search for all formats takes besides kMp3Pattern.
inline constexpr std::string_view kOtherFormatPatterns[] = {"*.flac", "*.ogg", "*.oga", "*.opus",
                                                            "*.m4a"};

struct FileSearch {
    bool Recurse = false;
    std::string Folder;
    std::string Pattern{kMp3Pattern};
    bool AllFormats = false;  // kOtherFormatPatterns match too
    int FileCount = 0;
    std::vector<std::string>* Files = nullptr;  // the file list being filled
    std::set<std::string> VisitedFolders;       // identities of folders already searched
};

// Clears `files`, searches `folder` (and below it when `recurse`), returns the
// count. `allFormats` takes the FLAC, Ogg, Opus and M4A files too, in the same
// order as the MP3 files among which they lie.
int FindMp3Files(const std::string& folder, bool recurse, std::vector<std::string>& files,
                 bool allFormats = false);
void SearchFolderTree(FileSearch& search);

// The text up to its first NUL.
std::string_view TrimAtNul(std::string_view text);

}  // namespace versemark
