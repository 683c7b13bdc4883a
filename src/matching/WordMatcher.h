#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "matching/LyricsIndex.h"

// The fast matcher: built once per pass over all distinct folded words of the
// index, it finds a text's candidates in time about the length of the text. Its
// candidates are exactly those of FindMatchingLyricsReference.
namespace versemark {

class WordMatcher {
public:
    explicit WordMatcher(const LyricsIndex& index);

    // Positions of the entries whose words all occur in the (normalised, unfolded)
    // text, ascending. Does not touch MatchCount.
    std::vector<int> FindCandidates(std::string_view normalisedText) const;

private:
    struct Impl;
    // Implementation detail kept in the .cpp (automaton, postings, scratch counters).
    std::vector<std::uint8_t> placeholder_;
};

}  // namespace versemark
