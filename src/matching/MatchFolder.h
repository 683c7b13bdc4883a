// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "matching/FolderReadAhead.h"
#include "matching/LyricsIndex.h"
#include "matching/ResultRow.h"
#include "matching/RowList.h"

// The matching pass: pairs every MP3 file of a folder with the lyrics files whose
// name words its text contains, and fills the row list. It needs no window: what
// the window shows and does in between reaches it through these hooks.
namespace versemark {

inline constexpr std::string_view kMatchesPending = "Matches: ...";
inline constexpr std::string_view kNoMp3Found = "No .mp3 files found";

struct MatchHooks {
    // The matches label: "Matches: r / n" in phase 1, "Parsing: i/m" in phase 2.
    std::function<void(const std::string& text)> SetLabel;
    // Let the window process pending events (before the search, after every file
    // of phase 1, after every 50th row of phase 2).
    std::function<void()> ProcessEvents;
    // Read after each file of phase 1: true ends phase 1 (StopMatching).
    std::function<bool()> StopRequested;
    // Phase 1 is over: StopMatching goes back to false, the folder button is disabled.
    std::function<void()> PhaseOneEnded;
    // Progress for a terminal: files done of the files found (phase 1).
    std::function<void(int done, int total)> Progress;
};

// Colours as platform values 0x00BBGGRR; compared on the whole value.
using Colour = std::uint32_t;
inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kRed = 0x0000FF;

struct MatchResult {
    std::string Label;            // final text of the matches label
    Colour LabelColour = kBlack;  // kRed for "No .mp3 files found"
    int Processed = 0;            // MP3 files processed
    int CheckedCount = 0;         // rows the pass checked
};

// Runs the whole pass over `folder`: clears `rows`, resets every MatchCount, and
// leaves the rows in the order they were added (the caller sorts them).
// `allFormats` takes the FLAC, Ogg, Opus and M4A files too.
MatchResult MatchFolder(const std::string& folder, bool recurse, LyricsIndex& index, RowList& rows,
                        const MatchHooks& hooks = {}, bool allFormats = false);
// The same over the files of a reader started earlier, so that the caller can
// build the index meanwhile. The hooks are called on the calling thread only.
MatchResult MatchFolder(FolderReadAhead& reader, LyricsIndex& index, RowList& rows,
                        const MatchHooks& hooks = {});

// Builds the index's word matcher now, so that the first pass finds it kept.
void PrepareMatcher(LyricsIndex& index);

// The label while phase 1 runs: "Matches: 12 / 40".
std::string MatchesProgress(std::size_t rowCount, int processed);
// The final label for `rowCount` rows of `processed` files: "Matches: 12 / 40 (30%)".
std::string MatchesSummary(int rowCount, int processed);

// The text an MP3 file is matched on, before normalisation: its path without the
// extension, its first 500 bytes, and the ID3v1 fields when present.
std::string BuildMp3Text(std::string_view base, std::string_view head, std::string_view id3Block);

// The normalisation of a text before the words are looked for: NULs removed, then
// the first "LAME3", the first "ID3", the first five "'" and the first five "_".
std::string NormaliseMp3Text(std::string_view text);

// Hits of `word` in `text` by the fold, overlapping hits included ("aa" in "aaaa": 3).
int CountOccurrences(std::string_view text, std::string_view word);
// The sum of CountOccurrences over the entry's non-empty words, both forms of a
// word with characters outside ASCII (OtherWordForm) counting.
int ScoreLyrics(const LyricsEntry& entry, std::string_view text);
// The candidate with the highest Score; the earliest wins a tie.
int PickBestLyrics(const std::vector<int>& candidates, const LyricsIndex& index);

// Filtered: the text holds "] filter used" or the no-break space.
bool IsFilteredTail(std::string_view tail);

}  // namespace versemark
