// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>
#include <vector>

#include "matching/LyricsIndex.h"

namespace versemark {

// Hits of `word` in `text` by the fold, overlapping hits included ("aa" in "aaaa": 3).
int CountOccurrences(std::string_view text, std::string_view word);
// The sum of CountOccurrences over the entry's non-empty words, both forms of a
// word with characters outside ASCII (OtherWordForm) counting.
int ScoreLyrics(const LyricsEntry& entry, std::string_view text);
// The candidate with the highest Score; the earliest wins a tie.
int PickBestLyrics(const std::vector<int>& candidates, const LyricsIndex& index);

// Chooses one of an MP3 file's candidates by the words of its file name: each
// candidate's Score becomes its hits in the name less 2 for every MP3 file that
// matched it; the highest wins, the earliest on a tie. One candidate is chosen as is.
int ChooseLyrics(const std::vector<int>& candidates, std::string_view mp3Name, LyricsIndex& index);

// Filtered: the text holds "] filter used" or the no-break space.
bool IsFilteredTail(std::string_view tail);

}  // namespace versemark
