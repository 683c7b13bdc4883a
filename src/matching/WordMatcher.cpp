#include "matching/WordMatcher.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "matching/ByteClasses.h"
#include "matching/TextFold.h"
#include "matching/WordAutomaton.h"

// Scanning a text with the automaton marks every word of the index that occurs in
// it. Each entry is filed under one of its words (its key), so only the entries
// whose key occurred are checked, word by word, against the marks.
namespace versemark {
namespace {

using State = WordAutomaton::State;
constexpr State kRoot = WordAutomaton::kRoot;
// Keys at least this long are preferred: shorter words occur in most texts.
constexpr std::size_t kSelectiveKeyLength = 3;

// The folded words of every entry, in one buffer.
struct FoldedWords {
    std::string Bytes;
    std::vector<std::uint32_t> Start;       // per word: offset in Bytes; one extra at the end
    std::vector<std::uint32_t> EntryFirst;  // per entry: its first word; one extra at the end

    std::size_t WordCount() const { return Start.size() - 1; }
    std::string_view Word(std::size_t w) const {
        return std::string_view(Bytes).substr(Start[w], Start[w + 1] - Start[w]);
    }
};

FoldedWords FoldAllWords(const LyricsIndex& index) {
    FoldedWords words;
    std::size_t wordCount = 0;
    std::size_t byteCount = 0;
    for (const LyricsEntry& entry : index.Entries) {
        wordCount += entry.Words.size();
        for (const std::string& word : entry.Words) {
            byteCount += word.size();
        }
    }
    words.Bytes.reserve(byteCount);
    words.Start.reserve(wordCount + 1);
    words.EntryFirst.reserve(index.Entries.size() + 1);
    std::string scratch;
    for (const LyricsEntry& entry : index.Entries) {
        words.EntryFirst.push_back(static_cast<std::uint32_t>(words.Start.size()));
        for (const std::string& word : entry.Words) {
            words.Start.push_back(static_cast<std::uint32_t>(words.Bytes.size()));
            scratch.assign(word);
            FoldCaseInPlace(scratch);  // each word on its own: the fold reads sequences
            words.Bytes.append(scratch);
        }
    }
    words.EntryFirst.push_back(static_cast<std::uint32_t>(words.Start.size()));
    words.Start.push_back(static_cast<std::uint32_t>(words.Bytes.size()));
    return words;
}

}  // namespace

struct WordMatcher::Impl {
    Impl(const LyricsIndex& index, const FoldedWords& words);

    ByteClasses Classes;
    std::vector<State> WordState;  // per word of FoldedWords: its state, the root when empty
    WordAutomaton Automaton;       // after WordState: it fills it

    // Entries filed under their key word, and the rest of their words to check.
    std::vector<std::uint32_t> KeyedFirst;  // per state; one extra at the end
    std::vector<std::uint32_t> KeyedEntries;
    std::vector<std::uint32_t> OtherFirst;  // per entry; one extra at the end
    std::vector<State> OtherWords;
    std::vector<int> BlankEntries;     // only empty words: they match every non-empty text
    std::vector<int> WordlessEntries;  // no words at all: they match every text

    // Scratch of one search.
    std::vector<std::uint32_t> Seen;  // per state: the search that last found this word
    std::uint32_t Search = 0;
    std::vector<State> Found;
    std::vector<std::uint8_t> TextClasses;
    std::vector<State> Ends;

    void FileEntries(const FoldedWords& words);
    void MarkWordsEndingIn(State state);
    std::vector<int> Find(std::string_view text);
};

namespace {

std::vector<std::string_view> NonEmptyWords(const FoldedWords& words) {
    std::vector<std::string_view> list;
    list.reserve(words.WordCount());
    for (std::size_t w = 0; w < words.WordCount(); ++w) {
        if (!words.Word(w).empty()) {
            list.push_back(words.Word(w));
        }
    }
    return list;
}

// The state of every word, the root for the empty ones.
std::vector<State> StatesOfAllWords(const FoldedWords& words,
                                    const std::vector<State>& nonEmptyStates) {
    std::vector<State> states(words.WordCount(), kRoot);
    std::size_t k = 0;
    for (std::size_t w = 0; w < words.WordCount(); ++w) {
        if (!words.Word(w).empty()) {
            states[w] = nonEmptyStates[k++];
        }
    }
    return states;
}

}  // namespace

WordMatcher::Impl::Impl(const LyricsIndex&, const FoldedWords& words)
    : Classes(words.Bytes), WordState(), Automaton(Classes, NonEmptyWords(words), WordState) {
    WordState = StatesOfAllWords(words, WordState);
    FileEntries(words);
    Seen.assign(Automaton.StateCount(), 0);
}

void WordMatcher::Impl::FileEntries(const FoldedWords& words) {
    const std::size_t stateCount = Automaton.StateCount();
    const std::size_t entryCount = words.EntryFirst.size() - 1;
    std::vector<State> states;  // the distinct word states of one entry
    auto entryStates = [&](std::size_t e) {
        states.clear();
        for (std::uint32_t w = words.EntryFirst[e]; w < words.EntryFirst[e + 1]; ++w) {
            if (WordState[w] != kRoot) {
                states.push_back(WordState[w]);
            }
        }
        std::sort(states.begin(), states.end());
        states.erase(std::unique(states.begin(), states.end()), states.end());
    };

    // How many entries hold each word, and its length.
    std::vector<std::uint32_t> holders(stateCount, 0);
    std::vector<std::uint32_t> length(stateCount, 0);
    for (std::size_t e = 0; e < entryCount; ++e) {
        entryStates(e);
        for (State s : states) {
            ++holders[s];
        }
    }
    for (std::size_t w = 0; w < words.WordCount(); ++w) {
        length[WordState[w]] = static_cast<std::uint32_t>(words.Word(w).size());
    }
    // The key of an entry: a word of selective length held by few entries.
    auto better = [&](State a, State b) {
        const std::size_t la = std::min<std::size_t>(length[a], kSelectiveKeyLength);
        const std::size_t lb = std::min<std::size_t>(length[b], kSelectiveKeyLength);
        if (la != lb) {
            return la > lb;
        }
        if (holders[a] != holders[b]) {
            return holders[a] < holders[b];
        }
        return length[a] > length[b];
    };

    std::vector<State> key(entryCount, kRoot);
    KeyedFirst.assign(stateCount + 1, 0);
    OtherFirst.assign(entryCount + 1, 0);
    for (std::size_t e = 0; e < entryCount; ++e) {
        entryStates(e);
        if (states.empty()) {
            const bool hasWords = words.EntryFirst[e + 1] > words.EntryFirst[e];
            (hasWords ? BlankEntries : WordlessEntries).push_back(static_cast<int>(e));
        } else {
            key[e] = *std::min_element(states.begin(), states.end(), better);
            ++KeyedFirst[key[e] + 1];
            for (State s : states) {
                if (s != key[e]) {
                    OtherWords.push_back(s);
                }
            }
        }
        OtherFirst[e + 1] = static_cast<std::uint32_t>(OtherWords.size());
    }
    for (std::size_t s = 0; s < stateCount; ++s) {
        KeyedFirst[s + 1] += KeyedFirst[s];
    }
    KeyedEntries.resize(KeyedFirst[stateCount]);
    std::vector<std::uint32_t> fill(KeyedFirst.begin(), KeyedFirst.end() - 1);
    for (std::size_t e = 0; e < entryCount; ++e) {
        if (key[e] != kRoot) {
            KeyedEntries[fill[key[e]]++] = static_cast<std::uint32_t>(e);
        }
    }
}

// Marks the words that end in `state` and have not been found yet. A word already
// marked in this search had its shorter words marked with it.
void WordMatcher::Impl::MarkWordsEndingIn(State state) {
    for (State w = Automaton.LongestWordIn(state); w != kRoot && Seen[w] != Search;
         w = Automaton.ShorterWord(w)) {
        Seen[w] = Search;
        Found.push_back(w);
    }
}

std::vector<int> WordMatcher::Impl::Find(std::string_view text) {
    if (++Search == 0) {  // the counter wrapped: forget every old mark
        std::fill(Seen.begin(), Seen.end(), 0);
        Search = 1;
    }
    Classes.OfText(text, TextClasses);
    Ends.clear();
    Automaton.Walk(TextClasses.data(), TextClasses.size(), Ends);
    Found.clear();
    for (State state : Ends) {
        MarkWordsEndingIn(state);
    }

    std::vector<int> candidates;
    for (State word : Found) {
        for (std::uint32_t k = KeyedFirst[word]; k < KeyedFirst[word + 1]; ++k) {
            const std::uint32_t e = KeyedEntries[k];
            bool all = true;
            for (std::uint32_t o = OtherFirst[e]; o < OtherFirst[e + 1] && all; ++o) {
                all = Seen[OtherWords[o]] == Search;
            }
            if (all) {
                candidates.push_back(static_cast<int>(e));
            }
        }
    }
    if (!text.empty()) {
        candidates.insert(candidates.end(), BlankEntries.begin(), BlankEntries.end());
    }
    candidates.insert(candidates.end(), WordlessEntries.begin(), WordlessEntries.end());
    std::sort(candidates.begin(), candidates.end());
    return candidates;
}

WordMatcher::WordMatcher(const LyricsIndex& index)
    : impl_(std::make_unique<Impl>(index, FoldAllWords(index))) {}

WordMatcher::~WordMatcher() = default;
WordMatcher::WordMatcher(WordMatcher&&) noexcept = default;
WordMatcher& WordMatcher::operator=(WordMatcher&&) noexcept = default;

std::vector<int> WordMatcher::FindCandidates(std::string_view normalisedText) const {
    return impl_->Find(normalisedText);
}

std::size_t WordMatcher::StateCount() const {
    return impl_->Automaton.StateCount();
}

std::size_t WordMatcher::ClassCount() const {
    return impl_->Classes.Count();
}

}  // namespace versemark
