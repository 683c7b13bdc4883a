// SPDX-License-Identifier: GPL-3.0-or-later
#include "matching/Scoring.h"

#include <optional>
#include <string>

#include "base/Companion.h"
#include "matching/TextFold.h"
#include "matching/WordForms.h"

namespace versemark {
namespace {

// Each MP3 file that matched a lyrics file costs that file this many points.
constexpr int kSharedMatchPenalty = 2;

int CountFoldedOccurrences(std::string_view foldedText, std::string_view foldedWord) {
    if (foldedWord.empty()) {
        return 0;
    }
    int count = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t hit = foldedText.find(foldedWord, start);
        if (hit == std::string_view::npos) {
            return count;
        }
        ++count;
        start = hit + 1;  // overlapping hits count
    }
}

// Hits of both forms of every word count.
int ScoreFolded(const LyricsEntry& entry, std::string_view foldedText) {
    int total = 0;
    for (const std::string& word : entry.Words) {
        total += CountFoldedOccurrences(foldedText, FoldCase(word));
        if (const std::optional<std::string> other = OtherWordForm(entry, word)) {
            total += CountFoldedOccurrences(foldedText, FoldCase(*other));
        }
    }
    return total;
}

}  // namespace

int CountOccurrences(std::string_view text, std::string_view word) {
    return CountFoldedOccurrences(FoldCase(text), FoldCase(word));
}

int ScoreLyrics(const LyricsEntry& entry, std::string_view text) {
    return ScoreFolded(entry, FoldCase(text));
}

int PickBestLyrics(const std::vector<int>& candidates, const LyricsIndex& index) {
    if (candidates.empty()) {
        return -1;
    }
    int best = candidates.front();
    int bestScore = index.Entries[static_cast<std::size_t>(best)].Score;
    for (std::size_t i = 1; i < candidates.size(); ++i) {
        const int score = index.Entries[static_cast<std::size_t>(candidates[i])].Score;
        if (score > bestScore) {  // a tie keeps the earlier candidate
            best = candidates[i];
            bestScore = score;
        }
    }
    return best;
}

bool IsFilteredTail(std::string_view tail) {
    return tail.find(companion::kFilterMarker) != std::string_view::npos ||
           tail.find(companion::kNoBreakSpace) != std::string_view::npos;
}

// Scores the candidates of one MP3 file name and returns the chosen one.
int ChooseLyrics(const std::vector<int>& candidates, std::string_view mp3Name, LyricsIndex& index) {
    if (candidates.size() == 1) {
        return candidates.front();
    }
    const std::string foldedName = FoldCase(mp3Name);
    for (int c : candidates) {
        LyricsEntry& entry = index.Entries[static_cast<std::size_t>(c)];
        entry.Score = ScoreFolded(entry, foldedName) - kSharedMatchPenalty * entry.MatchCount;
    }
    return PickBestLyrics(candidates, index);
}

}  // namespace versemark
