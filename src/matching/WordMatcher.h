#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "matching/LyricsIndex.h"

// The fast matcher: built once per run over all distinct folded words of the
// index, it finds a text's candidates in time about the length of the text. Its
// candidates are exactly those of FindMatchingLyricsReference.
namespace versemark {

class WordMatcher {
  public:
    explicit WordMatcher(const LyricsIndex& index);
    ~WordMatcher();
    WordMatcher(WordMatcher&&) noexcept;
    WordMatcher& operator=(WordMatcher&&) noexcept;
    WordMatcher(const WordMatcher&) = delete;
    WordMatcher& operator=(const WordMatcher&) = delete;

    // Positions of the entries whose words all occur in the (normalised, unfolded)
    // text, ascending. Does not touch MatchCount. Uses scratch space kept in the
    // matcher: one matcher serves one thread.
    std::vector<int> FindCandidates(std::string_view normalisedText) const;

    // Size of the automaton, for measurements: states and byte classes.
    std::size_t StateCount() const;
    std::size_t ClassCount() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace versemark
