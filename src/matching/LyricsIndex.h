// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The lyrics index: one entry per lyrics cache file named "artist - title",
// holding the words of its name. Built once per run; positions are identities.
namespace versemark {

class WordMatcher;

struct LyricsEntry {
    std::vector<std::string> Words;  // never empty; a word may be empty
    std::string DisplayName;
    std::string FilePath;
    int MatchCount = 0;
    int Score = 0;
};

struct LyricsIndex {
    std::vector<LyricsEntry> Entries;
    int LyricsCount() const { return static_cast<int>(Entries.size()); }

    // The word matcher over the entries' words, built by the first matching pass
    // and kept for the later ones, since the index does not change while the
    // program runs. It is kept with a fingerprint of the words it was built from,
    // so that an index filled anew gets a new one.
    std::shared_ptr<const WordMatcher> Matcher;
    std::uint64_t MatcherWords = 0;
};

// The entry for one file name of a folder (`folder` with or without a trailing
// separator); nullopt when the name holds no hyphen.
std::optional<LyricsEntry> MakeLyricsEntry(const std::string& folder, const std::string& fileName);

// Reads the cache: `singleDir` may become true when the cache has no subfolders.
// Returns the number of lyrics files in the index, or nullopt when `cachePath` is
// not an existing folder.
std::optional<int> BuildLyricsIndex(const std::string& cachePath, bool& singleDir,
                                    LyricsIndex& index);

}  // namespace versemark
