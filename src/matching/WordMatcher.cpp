#include "matching/WordMatcher.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "matching/TextFold.h"

// An Aho-Corasick automaton over the distinct folded words of the index, stored
// as a full transition table over byte classes (bytes that occur in no word share
// class 0 and lead back to the root). Scanning a text marks every word that occurs
// in it; each entry is filed under one of its words (its key), so only the entries
// whose key occurred are checked, word by word, against the marks.
namespace versemark {
namespace {

using State = std::uint32_t;
constexpr State kRoot = 0;
// Set on a transition whose target ends at least one word.
constexpr std::uint32_t kEndsWord = 0x80000000u;
constexpr std::uint32_t kStateMask = 0x7FFFFFFFu;
constexpr std::size_t kByteValues = 256;
// Keys at least this long are preferred: shorter words occur in most texts.
constexpr std::size_t kSelectiveKeyLength = 3;

// The folded words of every entry, in one buffer.
struct FoldedWords {
    std::string Bytes;
    std::vector<std::uint32_t> Start;       // per word: offset in Bytes; one extra at the end
    std::vector<std::uint32_t> EntryFirst;  // per entry: its first word; one extra at the end

    std::string_view Word(std::size_t w) const {
        return std::string_view(Bytes).substr(Start[w], Start[w + 1] - Start[w]);
    }
};

FoldedWords FoldAllWords(const LyricsIndex& index) {
    FoldedWords words;
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
    // The automaton.
    std::array<std::uint8_t, kByteValues> ByteClass{};
    std::size_t ClassCount = 1;
    std::vector<std::uint32_t> Next;   // state * ClassCount + class: target state, kEndsWord flag
    std::vector<std::uint8_t> IsWord;  // per state: a word ends exactly here
    std::vector<State> WordAt;         // per state: longest word that is a suffix of it, or root
    std::vector<State> ShorterWord;    // per state: longest word that is a proper suffix, or root

    // Entries filed under their key word; the rest of their words to check.
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
    std::string Folded;

    void BuildClasses(const FoldedWords& words);
    State AddState();
    State Insert(std::string_view word);
    void FileEntries(const FoldedWords& words, const std::vector<State>& wordState,
                     std::size_t entryCount);
    void LinkSuffixes();
    std::vector<int> Find(std::string_view text);
};

void WordMatcher::Impl::BuildClasses(const FoldedWords& words) {
    std::array<bool, kByteValues> used{};
    for (unsigned char b : words.Bytes) {
        used[b] = true;
    }
    ClassCount = 1;
    for (std::size_t b = 0; b < kByteValues; ++b) {
        ByteClass[b] = used[b] ? static_cast<std::uint8_t>(ClassCount++) : 0;
    }
}

State WordMatcher::Impl::AddState() {
    const auto state = static_cast<State>(IsWord.size());
    Next.resize(Next.size() + ClassCount, kRoot);
    IsWord.push_back(0);
    return state;
}

State WordMatcher::Impl::Insert(std::string_view word) {
    State state = kRoot;
    for (unsigned char b : word) {
        const std::size_t slot = state * ClassCount + ByteClass[b];
        if (Next[slot] == kRoot) {
            const State child = AddState();
            Next[slot] = child;  // after AddState: it may move the table
        }
        state = Next[slot];
    }
    IsWord[state] = 1;
    return state;
}

void WordMatcher::Impl::FileEntries(const FoldedWords& words, const std::vector<State>& wordState,
                                    std::size_t entryCount) {
    const std::size_t stateCount = IsWord.size();
    // Distinct word states of each entry, and how many entries hold each word.
    std::vector<std::vector<State>> entryStates(entryCount);
    std::vector<std::uint32_t> holders(stateCount, 0);
    for (std::size_t e = 0; e < entryCount; ++e) {
        std::vector<State>& states = entryStates[e];
        for (std::uint32_t w = words.EntryFirst[e]; w < words.EntryFirst[e + 1]; ++w) {
            if (wordState[w] != kRoot) {
                states.push_back(wordState[w]);
            }
        }
        std::sort(states.begin(), states.end());
        states.erase(std::unique(states.begin(), states.end()), states.end());
        for (State s : states) {
            ++holders[s];
        }
    }

    // The key of an entry: a word of selective length held by few entries.
    std::vector<std::size_t> length(stateCount, 0);
    for (std::size_t w = 0; w + 1 < words.Start.size(); ++w) {
        length[wordState[w]] = words.Word(w).size();
    }
    auto better = [&](State a, State b) {
        const std::size_t la = std::min(length[a], kSelectiveKeyLength);
        const std::size_t lb = std::min(length[b], kSelectiveKeyLength);
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
        const std::vector<State>& states = entryStates[e];
        const bool hasWords = words.EntryFirst[e + 1] > words.EntryFirst[e];
        if (states.empty()) {
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
    for (std::size_t e = 0; e < entryCount; ++e) {  // ascending: each key's list is sorted
        if (key[e] != kRoot) {
            KeyedEntries[fill[key[e]]++] = static_cast<std::uint32_t>(e);
        }
    }
}

// Breadth first: failure links, the full transition table, and the words that
// end in each state.
void WordMatcher::Impl::LinkSuffixes() {
    const std::size_t stateCount = IsWord.size();
    std::vector<State> failure(stateCount, kRoot);
    WordAt.assign(stateCount, kRoot);
    ShorterWord.assign(stateCount, kRoot);
    std::vector<State> queue;
    queue.reserve(stateCount);
    queue.push_back(kRoot);
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const State state = queue[head];
        const std::size_t row = state * ClassCount;
        const std::size_t fallbackRow = failure[state] * ClassCount;
        for (std::size_t c = 0; c < ClassCount; ++c) {
            const State child = Next[row + c];
            if (child == kRoot) {
                Next[row + c] = state == kRoot ? kRoot : Next[fallbackRow + c];
                continue;
            }
            const State link = state == kRoot ? kRoot : (Next[fallbackRow + c] & kStateMask);
            failure[child] = link;
            ShorterWord[child] = WordAt[link];
            WordAt[child] = IsWord[child] ? child : WordAt[link];
            Next[row + c] = child | (WordAt[child] != kRoot ? kEndsWord : 0);
            queue.push_back(child);
        }
    }
}

std::vector<int> WordMatcher::Impl::Find(std::string_view text) {
    Folded.assign(text);
    FoldCaseInPlace(Folded);
    if (++Search == 0) {  // the counter wrapped: forget every old mark
        std::fill(Seen.begin(), Seen.end(), 0);
        Search = 1;
    }

    Found.clear();
    State state = kRoot;
    for (unsigned char b : Folded) {
        const std::uint32_t step = Next[state * ClassCount + ByteClass[b]];
        state = step & kStateMask;
        if (step & kEndsWord) {
            // A word already marked in this search had its shorter words marked too.
            for (State w = WordAt[state]; w != kRoot && Seen[w] != Search; w = ShorterWord[w]) {
                Seen[w] = Search;
                Found.push_back(w);
            }
        }
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
    if (!Folded.empty()) {
        candidates.insert(candidates.end(), BlankEntries.begin(), BlankEntries.end());
    }
    candidates.insert(candidates.end(), WordlessEntries.begin(), WordlessEntries.end());
    std::sort(candidates.begin(), candidates.end());
    return candidates;
}

WordMatcher::WordMatcher(const LyricsIndex& index) : impl_(std::make_unique<Impl>()) {
    Impl& m = *impl_;
    const FoldedWords words = FoldAllWords(index);
    m.BuildClasses(words);
    m.AddState();  // the root
    std::vector<State> wordState(words.Start.size() - 1, kRoot);
    for (std::size_t w = 0; w < wordState.size(); ++w) {
        const std::string_view word = words.Word(w);
        if (!word.empty()) {
            wordState[w] = m.Insert(word);
        }
    }
    m.FileEntries(words, wordState, index.Entries.size());
    m.LinkSuffixes();
    m.Seen.assign(m.IsWord.size(), 0);
}

WordMatcher::~WordMatcher() = default;
WordMatcher::WordMatcher(WordMatcher&&) noexcept = default;
WordMatcher& WordMatcher::operator=(WordMatcher&&) noexcept = default;

std::vector<int> WordMatcher::FindCandidates(std::string_view normalisedText) const {
    return impl_->Find(normalisedText);
}

std::size_t WordMatcher::StateCount() const {
    return impl_->IsWord.size();
}

std::size_t WordMatcher::ClassCount() const {
    return impl_->ClassCount;
}

}  // namespace versemark
