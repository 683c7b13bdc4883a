// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "matching/ByteClasses.h"
#include "platform/LargeBlock.h"

// An Aho-Corasick automaton over a set of folded words: a full transition table
// over byte classes, states numbered breadth first (the states near the root,
// which most text bytes visit, share a few cache lines), a flag on every
// transition into a state where some word ends, and for each state the longest
// word ending there with a link to the next shorter one.
namespace versemark {

class WordAutomaton {
  public:
    using State = std::uint32_t;
    static constexpr State kRoot = 0;

    // `words` must not be empty texts. `wordStates` receives, in the same order,
    // the state where each word ends: its identity.
    WordAutomaton(const ByteClasses& classes, const std::vector<std::string_view>& words,
                  std::vector<State>& wordStates);

    std::size_t StateCount() const { return words_.size(); }

    // Walks the classes of a text from the root and writes to the front of `ends`
    // every state reached in which some word ends (a state once per time it is
    // reached); returns how many. `ends` is scratch space: it grows as needed and
    // never shrinks, so that a matcher reuses it from text to text without
    // clearing it.
    std::size_t Walk(const std::uint8_t* classes, std::size_t size, std::vector<State>& ends) const;

    // True when Walk cuts a text of `size` bytes into lanes: a shorter one is walked
    // in one, and is better walked side by side with others (WalkSideBySide).
    bool WalksInLanes(std::size_t size) const;
    // Walks up to kSideBySide short texts from the root side by side, so that the
    // steps of one need not wait for those of another; text k's ends go to the
    // front of ends[k], as Walk would write them, and their number to counts[k].
    static constexpr std::size_t kSideBySide = 4;
    void WalkSideBySide(const std::uint8_t* const* classes, const std::size_t* sizes,
                        std::size_t textCount, std::vector<State>* ends, std::size_t* counts) const;

    // The longest word that ends in `state`, or the root for none.
    State LongestWordIn(State state) const { return words_[state].Longest; }
    // The longest word that is a proper suffix of word `word`, or the root.
    State ShorterWord(State word) const { return words_[word].Shorter; }
    // Asks for the words of `state` ahead of their use: their reads then overlap.
    void PrefetchWordsIn(State state) const { __builtin_prefetch(&words_[state]); }

  private:
    struct Trie;
    // The bytes a lane walks twice: the longest word less one.
    std::size_t Overlap() const;
    void Materialise(const Trie& trie, std::vector<State>& renamed);

    std::size_t classCount_ = 1;
    std::size_t longestWord_ = 0;
    LargeBlock table_;
    std::uint32_t* next_ = nullptr;  // in table_: state * classCount_ + class: target | kEndsWord
    // Per state, side by side: a state where a word ends is usually that word,
    // and then one read gives both.
    struct EndingWords {
        State Longest = kRoot;  // the longest word that is a suffix of the state, or root
        State Shorter = kRoot;  // the longest word that is a proper suffix, or root
    };
    std::vector<EndingWords> words_;
};

}  // namespace versemark
