// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "matching/LyricsIndex.h"

// The fast matcher: built once per run over all distinct folded words of the
// index, it finds a text's candidates in time about the length of the text. Its
// candidates are exactly those of FindMatchingLyricsReference.
namespace versemark {

// How many short texts FindCandidatesOfEach walks side by side.
inline constexpr std::size_t kTextsSideBySide = 4;

// The working space of searches: owned by the caller, one per thread, reused from
// one text to the next. Its content between searches means nothing.
struct MatcherScratch {
    std::vector<std::uint64_t> Seen;   // a bit per state: the word ending there was found
    std::vector<std::uint32_t> Found;  // the words found, to clear their bits afterwards
    // Per text walked side by side; the first also for a text alone.
    std::array<std::vector<std::uint8_t>, kTextsSideBySide> TextClasses;
    std::array<std::vector<std::uint32_t>, kTextsSideBySide> Ends;
};

class WordMatcher {
  public:
    explicit WordMatcher(const LyricsIndex& index);
    ~WordMatcher();
    WordMatcher(WordMatcher&&) noexcept;
    WordMatcher& operator=(WordMatcher&&) noexcept;
    WordMatcher(const WordMatcher&) = delete;
    WordMatcher& operator=(const WordMatcher&) = delete;

    // Positions of the entries whose words all occur in the (normalised, unfolded)
    // text, ascending. Does not touch MatchCount. The matcher itself is only read:
    // threads may share it, each with its own scratch.
    std::vector<int> FindCandidates(std::string_view normalisedText, MatcherScratch& scratch) const;
    // The same with a scratch of its own for this one call.
    std::vector<int> FindCandidates(std::string_view normalisedText) const;
    // FindCandidates of each text, into `candidates` (a list per text). Short texts
    // are walked side by side, so that the waits of one text's steps for the
    // automaton's table overlap those of the others.
    void FindCandidatesOfEach(const std::vector<std::string_view>& normalisedTexts,
                              MatcherScratch& scratch,
                              std::vector<std::vector<int>>& candidates) const;

    // Size of the automaton, for measurements: states and byte classes.
    std::size_t StateCount() const;
    std::size_t ClassCount() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace versemark
