// SPDX-License-Identifier: GPL-3.0-or-later
#include "matching/WordAutomaton.h"

#include <algorithm>
#include <limits>

namespace versemark {
namespace {

using State = WordAutomaton::State;
constexpr State kRoot = WordAutomaton::kRoot;
// Set on a transition whose target ends at least one word.
constexpr std::uint32_t kEndsWord = 0x80000000u;
constexpr int kEndsWordShift = 31;
constexpr std::uint32_t kStateMask = 0x7FFFFFFFu;
constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
// Trie nodes up to this depth keep their children in a full row (they have many).
constexpr std::size_t kFullRowDepth = 3;
// Texts are walked in four lanes side by side (written out in Walk) when each lane
// is at least kShortestLane bytes plus kLaneOverlapFactor times the bytes it
// walks twice.
constexpr std::size_t kLanes = 4;
constexpr std::size_t kShortestLane = 32;
constexpr std::size_t kLaneOverlapFactor = 2;

}  // namespace

// The words as a trie in insertion order: full child rows near the root, lists of
// edges below.
struct WordAutomaton::Trie {
    struct Edge {
        State Child;
        std::uint32_t Next;
        std::uint8_t Class;
    };

    explicit Trie(std::size_t classCount) : ClassCount(classCount) { AddNode(0); }

    State AddNode(std::size_t depth) {
        const auto node = static_cast<State>(FirstEdge.size());
        FirstEdge.push_back(kNone);
        IsWord.push_back(0);
        if (depth <= kFullRowDepth) {
            RowOf.push_back(static_cast<std::uint32_t>(Rows.size() / ClassCount));
            Rows.resize(Rows.size() + ClassCount, kRoot);
        } else {
            RowOf.push_back(kNone);
        }
        return node;
    }

    State ChildOrNew(State node, std::uint8_t c, std::size_t childDepth) {
        if (RowOf[node] != kNone) {
            const std::size_t slot = RowOf[node] * ClassCount + c;
            if (Rows[slot] == kRoot) {
                const State child = AddNode(childDepth);
                Rows[slot] = child;  // after AddNode: it may move the rows
            }
            return Rows[slot];
        }
        for (std::uint32_t e = FirstEdge[node]; e != kNone; e = Edges[e].Next) {
            if (Edges[e].Class == c) {
                return Edges[e].Child;
            }
        }
        const State child = AddNode(childDepth);
        Edges.push_back({child, FirstEdge[node], c});
        FirstEdge[node] = static_cast<std::uint32_t>(Edges.size() - 1);
        return child;
    }

    template <typename F>
    void ForEachChild(State node, F&& f) const {
        if (RowOf[node] != kNone) {
            const std::size_t row = RowOf[node] * ClassCount;
            for (std::size_t c = 0; c < ClassCount; ++c) {
                if (Rows[row + c] != kRoot) {
                    f(static_cast<std::uint8_t>(c), Rows[row + c]);
                }
            }
            return;
        }
        for (std::uint32_t e = FirstEdge[node]; e != kNone; e = Edges[e].Next) {
            f(Edges[e].Class, Edges[e].Child);
        }
    }

    std::size_t ClassCount;
    std::vector<std::uint32_t> FirstEdge;
    std::vector<std::uint32_t> RowOf;
    std::vector<State> Rows;
    std::vector<Edge> Edges;
    std::vector<std::uint8_t> IsWord;
};

WordAutomaton::WordAutomaton(const ByteClasses& classes, const std::vector<std::string_view>& words,
                             std::vector<State>& wordStates)
    : classCount_(classes.Count()) {
    Trie trie(classCount_);
    wordStates.clear();
    wordStates.reserve(words.size());
    for (std::string_view word : words) {
        State node = kRoot;
        for (std::size_t i = 0; i < word.size(); ++i) {
            node =
                trie.ChildOrNew(node, classes.OfFolded(static_cast<unsigned char>(word[i])), i + 1);
        }
        trie.IsWord[node] = 1;
        wordStates.push_back(node);
        longestWord_ = std::max(longestWord_, word.size());
    }
    std::vector<State> renamed;
    Materialise(trie, renamed);
    for (State& state : wordStates) {
        state = renamed[state];
    }
}

// One breadth-first pass over the trie: numbers the states in that order and
// writes each state's row of the table: the row of its failure state (already
// complete, being nearer the root), then its own children; and the words that
// end in each state.
void WordAutomaton::Materialise(const Trie& trie, std::vector<State>& renamed) {
    const std::size_t stateCount = trie.FirstEdge.size();
    // In a block of large pages where the system has them: the walk reads the
    // table at random, and filling it then takes a few page faults.
    table_ = AllocateLargeBlock(stateCount * classCount_ * sizeof(std::uint32_t));
    next_ = static_cast<std::uint32_t*>(table_.get());
    words_.assign(stateCount, EndingWords{});
    std::vector<State> failure(stateCount, kRoot);
    std::vector<State> order;  // trie nodes in breadth-first order
    order.reserve(stateCount);
    renamed.assign(stateCount, kRoot);
    order.push_back(kRoot);

    for (std::size_t state = 0; state < order.size(); ++state) {
        std::uint32_t* row = next_ + state * classCount_;
        const std::uint32_t* fallback = next_ + failure[state] * classCount_;
        if (state == kRoot) {
            std::fill(row, row + classCount_, kRoot);
        } else {
            std::copy(fallback, fallback + classCount_, row);
        }
        trie.ForEachChild(order[state], [&](std::uint8_t c, State trieChild) {
            const auto child = static_cast<State>(order.size());
            order.push_back(trieChild);
            renamed[trieChild] = child;
            const State link = state == kRoot ? kRoot : (fallback[c] & kStateMask);
            failure[child] = link;
            words_[child].Shorter = words_[link].Longest;
            words_[child].Longest = trie.IsWord[trieChild] ? child : words_[link].Longest;
            row[c] = child | (words_[child].Longest != kRoot ? kEndsWord : 0);
        });
    }
}

std::size_t WordAutomaton::Overlap() const {
    return longestWord_ > 0 ? longestWord_ - 1 : 0;
}

bool WordAutomaton::WalksInLanes(std::size_t size) const {
    return size / kLanes >= kLaneOverlapFactor * Overlap() + kShortestLane;
}

// Each step waits for the table row of the step before, so a long text is cut
// into four lanes walked side by side; each lane starts early enough (the longest
// word less one byte) to see every word that ends in its part.
std::size_t WordAutomaton::Walk(const std::uint8_t* classes, std::size_t size,
                                std::vector<State>& ends) const {
    const std::size_t overlap = Overlap();
    const std::size_t part = size / kLanes;
    const bool inLanes = WalksInLanes(size);
    const std::size_t steps = size + (inLanes ? (kLanes - 1) * overlap : 0);  // one end at most
    if (ends.size() < steps) {
        ends.resize(steps);
    }
    State* out = ends.data();
    std::size_t count = 0;
    const std::uint32_t* next = next_;
    const std::size_t classCount = classCount_;
    // Branch-free: the state is always written, and kept when a word ends in it.
    auto step = [&](State state, std::uint8_t c) __attribute__((always_inline)) {
        const std::uint32_t target = next[state * classCount + c];
        const State reached = target & kStateMask;
        out[count] = reached;
        count += target >> kEndsWordShift;
        return reached;
    };

    if (!inLanes) {
        State state = kRoot;
        for (std::size_t i = 0; i < size; ++i) {
            state = step(state, classes[i]);
        }
    } else {
        // Lane k ends its part at (k+1)*part (the last lane at the end) and starts
        // `overlap` bytes before k*part.
        const std::uint8_t* lane1 = classes + part - overlap;
        const std::uint8_t* lane2 = classes + 2 * part - overlap;
        const std::uint8_t* lane3 = classes + 3 * part - overlap;
        State s0 = kRoot;
        State s1 = kRoot;
        State s2 = kRoot;
        State s3 = kRoot;
        for (std::size_t i = 0; i < part; ++i) {
            s0 = step(s0, classes[i]);
            s1 = step(s1, lane1[i]);
            s2 = step(s2, lane2[i]);
            s3 = step(s3, lane3[i]);
        }
        for (std::size_t i = part; i < part + overlap; ++i) {
            s1 = step(s1, lane1[i]);
            s2 = step(s2, lane2[i]);
            s3 = step(s3, lane3[i]);
        }
        for (const std::uint8_t* c = lane3 + part + overlap; c < classes + size; ++c) {
            s3 = step(s3, *c);
        }
    }
    return count;
}

// The same steps as Walk's, text by text in turn at each position: the texts'
// steps do not depend on one another, so their reads of the table overlap.
void WordAutomaton::WalkSideBySide(const std::uint8_t* const* classes, const std::size_t* sizes,
                                   std::size_t textCount, std::vector<State>* ends,
                                   std::size_t* counts) const {
    std::size_t longest = 0;
    State states[kSideBySide] = {};
    State* out[kSideBySide] = {};
    for (std::size_t k = 0; k < textCount; ++k) {
        if (ends[k].size() < sizes[k]) {
            ends[k].resize(sizes[k]);
        }
        out[k] = ends[k].data();
        counts[k] = 0;
        longest = std::max(longest, sizes[k]);
    }
    const std::uint32_t* next = next_;
    const std::size_t classCount = classCount_;
    for (std::size_t i = 0; i < longest; ++i) {
        for (std::size_t k = 0; k < textCount; ++k) {
            if (i < sizes[k]) {
                const std::uint32_t target = next[states[k] * classCount + classes[k][i]];
                states[k] = target & kStateMask;
                out[k][counts[k]] = states[k];
                counts[k] += target >> kEndsWordShift;
            }
        }
    }
}

}  // namespace versemark
