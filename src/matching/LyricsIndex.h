// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
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

inline constexpr std::string_view kLyricsCountPlaceholder = "Matching with 123 lyrics";

// The lyrics-count caption for `count` lyrics files: "Matching 412 lyrics".
std::string LyricsCountCaption(int count);

// The entry for one file name of a folder (`folder` with or without a trailing
// separator); nullopt when the name holds no hyphen.
std::optional<LyricsEntry> MakeLyricsEntry(const std::string& folder, const std::string& fileName);

// Reads the cache: `singleDir` may become true when the cache has no subfolders.
// Returns the lyrics-count caption ("Matching 412 lyrics"), or nullopt when
// `cachePath` is not an existing folder (the caption then stays as it was).
std::optional<std::string> BuildLyricsIndex(const std::string& cachePath, bool& singleDir,
                                            LyricsIndex& index);

}  // namespace versemark
