// SPDX-License-Identifier: GPL-3.0-or-later
#include "matching/WordMatcher.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

#include "matching/ByteClasses.h"
#include "matching/FoldStream.h"
#include "matching/WordAutomaton.h"
#include "matching/WordForms.h"

// Scanning a text with the automaton marks every word of the index that occurs in
// it. Each entry is filed under one of its words (its key), so only the entries
// whose key occurred are checked, word by word, against the marks.
namespace versemark {
namespace {

using State = WordAutomaton::State;
constexpr State kRoot = WordAutomaton::kRoot;
// Keys at least this long are preferred: shorter words occur in most texts.
constexpr std::size_t kSelectiveKeyLength = 3;
constexpr std::uint32_t kNoWord = 0xFFFFFFFFu;
constexpr std::size_t kBitsPerMark = 64;
// A keyed record: the entry, the number of its other words, then those words.
constexpr std::uint32_t kRecordHeader = 2;
// The folded words' buffer starts with room for other forms of one byte in this many.
constexpr std::size_t kOtherFormRoom = 8;
// FNV-1a, for finding equal words.
constexpr std::uint64_t kHashOffset = 14695981039346656037ull;
constexpr std::uint64_t kHashPrime = 1099511628211ull;

// The forms of every word of every entry, folded, in one buffer: a word with
// characters outside ASCII has its other encoding as a second form.
struct FoldedWords {
    std::string Bytes;
    std::vector<std::uint32_t> Start;       // per form: offset in Bytes; one extra at the end
    std::vector<std::uint32_t> WordFirst;   // per word: its first form; one extra at the end
    std::vector<std::uint32_t> EntryFirst;  // per entry: its first word; one extra at the end

    std::size_t FormCount() const { return Start.size() - 1; }
    std::size_t WordCount() const { return WordFirst.size() - 1; }
    std::string_view Form(std::size_t f) const {
        return std::string_view(Bytes).substr(Start[f], Start[f + 1] - Start[f]);
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
    // Room for the other forms, which are few; grown when a library has more.
    words.Bytes.resize(byteCount + byteCount / kOtherFormRoom);
    words.Start.reserve(wordCount + 1);
    words.WordFirst.reserve(wordCount + 1);
    words.EntryFirst.reserve(index.Entries.size() + 1);
    std::size_t used = 0;
    // Each form on its own: the fold reads UTF-8 sequences. The fold keeps the length.
    const auto addForm = [&](std::string_view form) {
        if (used + form.size() > words.Bytes.size()) {
            words.Bytes.resize(std::max(used + form.size(), words.Bytes.size() * 3 / 2));
        }
        words.Start.push_back(static_cast<std::uint32_t>(used));
        char* out = words.Bytes.data() + used;
        ForEachFoldedByte(form, [&out](unsigned char b) { *out++ = static_cast<char>(b); });
        used += form.size();
    };
    for (const LyricsEntry& entry : index.Entries) {
        words.EntryFirst.push_back(static_cast<std::uint32_t>(words.WordFirst.size()));
        for (const std::string& word : entry.Words) {
            words.WordFirst.push_back(static_cast<std::uint32_t>(words.Start.size()));
            addForm(word);
            if (IsAsciiWord(word)) {
                continue;
            }
            if (const std::optional<std::string> other = OtherWordForm(entry, word)) {
                addForm(*other);
            }
        }
    }
    words.Bytes.resize(used);
    words.EntryFirst.push_back(static_cast<std::uint32_t>(words.WordFirst.size()));
    words.WordFirst.push_back(static_cast<std::uint32_t>(words.Start.size()));
    words.Start.push_back(static_cast<std::uint32_t>(used));
    return words;
}

std::uint64_t HashBytes(std::string_view bytes) {
    std::uint64_t hash = kHashOffset;
    for (unsigned char b : bytes) {
        hash = (hash ^ b) * kHashPrime;
    }
    return hash;
}

// The distinct non-empty forms, and for every form the position of its copy in
// that list (kNoWord for the empty ones).
struct DistinctWords {
    std::vector<std::string_view> List;
    std::vector<std::uint32_t> Of;
};

DistinctWords FindDistinctWords(const FoldedWords& words) {
    DistinctWords distinct;
    distinct.Of.assign(words.FormCount(), kNoWord);
    std::size_t capacity = 1;
    while (capacity < 2 * words.FormCount()) {
        capacity *= 2;
    }
    std::vector<std::uint32_t> slots(capacity, kNoWord);  // open addressing
    for (std::size_t w = 0; w < words.FormCount(); ++w) {
        const std::string_view word = words.Form(w);
        if (word.empty()) {
            continue;
        }
        std::size_t slot = HashBytes(word) & (capacity - 1);
        while (slots[slot] != kNoWord && distinct.List[slots[slot]] != word) {
            slot = (slot + 1) & (capacity - 1);
        }
        if (slots[slot] == kNoWord) {
            slots[slot] = static_cast<std::uint32_t>(distinct.List.size());
            distinct.List.push_back(word);
        }
        distinct.Of[w] = slots[slot];
    }
    return distinct;
}

}  // namespace

struct WordMatcher::Impl {
    Impl(const FoldedWords& words, const DistinctWords& distinct);

    ByteClasses Classes;
    // Per word of FoldedWords: its identity (below), the root when empty.
    std::vector<State> WordState;
    WordAutomaton Automaton;  // after WordState: it fills it (per distinct form first)

    // A word of one form is known by the state where that form ends. A word of two
    // forms is known by its group, numbered after the states, which is found when
    // either form is; GroupFirst and GroupIds list the groups of each state.
    std::size_t IdCount = 0;                // states and groups
    std::vector<std::uint32_t> GroupFirst;  // per state: its first group; one extra at the end
    std::vector<State> GroupIds;

    // Entries filed under their key word, each with the rest of its words to check.
    std::vector<std::uint32_t> KeyedFirst;  // per identity: its first record; one extra at the end
    std::vector<std::uint32_t> KeyedRecords;
    std::vector<int> BlankEntries;     // only empty words: they match every non-empty text
    std::vector<int> WordlessEntries;  // no words at all: they match every text

    void IdentifyWords(const FoldedWords& words, const std::vector<State>& formStates);
    void FileEntries(const FoldedWords& words);
    static bool IsSeen(const MatcherScratch& scratch, State word) {
        return (scratch.Seen[word / kBitsPerMark] >> (word % kBitsPerMark)) & 1;
    }
    static void Mark(MatcherScratch& scratch, State word) {
        scratch.Seen[word / kBitsPerMark] |= std::uint64_t{1} << (word % kBitsPerMark);
        scratch.Found.push_back(word);
    }
    void MarkWordsEndingIn(State state, MatcherScratch& scratch) const;
    void MarkGroupsOfFoundForms(MatcherScratch& scratch) const;
    std::vector<int> Find(std::string_view text, MatcherScratch& scratch) const;
    void FindEach(const std::vector<std::string_view>& texts, MatcherScratch& scratch,
                  std::vector<std::vector<int>>& candidates) const;
    // The candidates of a text from the states its walk reached where words end.
    std::vector<int> Collect(std::string_view text, const std::vector<State>& ends,
                             std::size_t endCount, MatcherScratch& scratch) const;
};

WordMatcher::Impl::Impl(const FoldedWords& words, const DistinctWords& distinct)
    : Classes(words.Bytes), Automaton(Classes, distinct.List, WordState) {
    std::vector<State> formStates(words.FormCount(), kRoot);  // empty forms stay at the root
    for (std::size_t f = 0; f < words.FormCount(); ++f) {
        if (distinct.Of[f] != kNoWord) {
            formStates[f] = WordState[distinct.Of[f]];
        }
    }
    IdentifyWords(words, formStates);
    FileEntries(words);
}

void WordMatcher::Impl::IdentifyWords(const FoldedWords& words,
                                      const std::vector<State>& formStates) {
    const std::size_t stateCount = Automaton.StateCount();
    std::unordered_map<std::uint64_t, State> groupOf;  // by the pair of form states
    std::vector<std::pair<State, State>> members;      // (form state, group)
    WordState.assign(words.WordCount(), kRoot);
    for (std::size_t w = 0; w < words.WordCount(); ++w) {
        const std::uint32_t first = words.WordFirst[w];
        const State a = formStates[first];
        if (words.WordFirst[w + 1] - first == 1 || formStates[first + 1] == a) {
            WordState[w] = a;
            continue;
        }
        const State b = formStates[first + 1];
        const std::uint64_t pair = (std::uint64_t{std::min(a, b)} << 32) | std::max(a, b);
        const auto [it, added] =
            groupOf.try_emplace(pair, static_cast<State>(stateCount + groupOf.size()));
        if (added) {
            members.emplace_back(a, it->second);
            members.emplace_back(b, it->second);
        }
        WordState[w] = it->second;
    }
    IdCount = stateCount + groupOf.size();

    GroupFirst.assign(stateCount + 1, 0);
    for (const auto& [form, group] : members) {
        ++GroupFirst[form + 1];
    }
    for (std::size_t s = 0; s < stateCount; ++s) {
        GroupFirst[s + 1] += GroupFirst[s];
    }
    GroupIds.resize(members.size());
    std::vector<std::uint32_t> fill(GroupFirst.begin(), GroupFirst.end() - 1);
    for (const auto& [form, group] : members) {
        GroupIds[fill[form]++] = group;
    }
}

void WordMatcher::Impl::FileEntries(const FoldedWords& words) {
    const std::size_t idCount = IdCount;  // keys may be groups too
    const std::size_t entryCount = words.EntryFirst.size() - 1;
    std::vector<State> states;  // the distinct word identities of one entry
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

    // How many entries hold each word, and its length (of its shorter form).
    std::vector<std::uint32_t> holders(idCount, 0);
    std::vector<std::uint32_t> length(idCount, 0);
    for (std::size_t e = 0; e < entryCount; ++e) {
        entryStates(e);
        for (State s : states) {
            ++holders[s];
        }
    }
    for (std::size_t w = 0; w < words.WordCount(); ++w) {
        std::size_t shortest = words.Form(words.WordFirst[w]).size();
        for (std::uint32_t f = words.WordFirst[w] + 1; f < words.WordFirst[w + 1]; ++f) {
            shortest = std::min(shortest, words.Form(f).size());
        }
        length[WordState[w]] = static_cast<std::uint32_t>(shortest);
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

    // Each key's records, back to back: entry, count of its other words, the words.
    std::vector<State> key(entryCount, kRoot);
    std::vector<std::uint32_t> otherFirst(entryCount + 1, 0);
    std::vector<State> otherWords;
    KeyedFirst.assign(idCount + 1, 0);
    for (std::size_t e = 0; e < entryCount; ++e) {
        entryStates(e);
        if (states.empty()) {
            const bool hasWords = words.EntryFirst[e + 1] > words.EntryFirst[e];
            (hasWords ? BlankEntries : WordlessEntries).push_back(static_cast<int>(e));
        } else {
            key[e] = *std::min_element(states.begin(), states.end(), better);
            for (State s : states) {
                if (s != key[e]) {
                    otherWords.push_back(s);
                }
            }
        }
        otherFirst[e + 1] = static_cast<std::uint32_t>(otherWords.size());
        if (key[e] != kRoot) {
            KeyedFirst[key[e] + 1] += kRecordHeader + otherFirst[e + 1] - otherFirst[e];
        }
    }
    for (std::size_t s = 0; s < idCount; ++s) {
        KeyedFirst[s + 1] += KeyedFirst[s];
    }
    KeyedRecords.resize(KeyedFirst[idCount]);
    std::vector<std::uint32_t> fill(KeyedFirst.begin(), KeyedFirst.end() - 1);
    for (std::size_t e = 0; e < entryCount; ++e) {  // ascending: each key's entries are sorted
        if (key[e] == kRoot) {
            continue;
        }
        std::uint32_t& at = fill[key[e]];
        KeyedRecords[at++] = static_cast<std::uint32_t>(e);
        KeyedRecords[at++] = otherFirst[e + 1] - otherFirst[e];
        for (std::uint32_t o = otherFirst[e]; o < otherFirst[e + 1]; ++o) {
            KeyedRecords[at++] = otherWords[o];
        }
    }
}

// Marks the words that end in `state` and have not been found yet. A word already
// marked in this search had its shorter words marked with it.
inline void WordMatcher::Impl::MarkWordsEndingIn(State state, MatcherScratch& scratch) const {
    for (State w = Automaton.LongestWordIn(state); w != kRoot && !IsSeen(scratch, w);
         w = Automaton.ShorterWord(w)) {
        Mark(scratch, w);
    }
}

// A word of two forms is found with either form.
void WordMatcher::Impl::MarkGroupsOfFoundForms(MatcherScratch& scratch) const {
    const std::size_t forms = scratch.Found.size();
    for (std::size_t i = 0; i < forms; ++i) {
        const State form = scratch.Found[i];
        for (std::uint32_t g = GroupFirst[form]; g < GroupFirst[form + 1]; ++g) {
            if (!IsSeen(scratch, GroupIds[g])) {
                Mark(scratch, GroupIds[g]);
            }
        }
    }
}

std::vector<int> WordMatcher::Impl::Find(std::string_view text, MatcherScratch& scratch) const {
    std::vector<std::uint8_t>& classes = scratch.TextClasses.front();
    Classes.OfText(text, classes);
    const std::size_t endCount =
        Automaton.Walk(classes.data(), classes.size(), scratch.Ends.front());
    return Collect(text, scratch.Ends.front(), endCount, scratch);
}

void WordMatcher::Impl::FindEach(const std::vector<std::string_view>& texts,
                                 MatcherScratch& scratch,
                                 std::vector<std::vector<int>>& candidates) const {
    static_assert(kTextsSideBySide == WordAutomaton::kSideBySide);
    candidates.resize(texts.size());
    std::size_t next = 0;
    while (next < texts.size()) {
        if (Automaton.WalksInLanes(texts[next].size())) {  // already side by side in itself
            candidates[next] = Find(texts[next], scratch);
            ++next;
            continue;
        }
        const std::uint8_t* classes[kTextsSideBySide];
        std::size_t sizes[kTextsSideBySide];
        std::size_t counts[kTextsSideBySide];
        std::size_t group = 0;
        for (; group < kTextsSideBySide && next + group < texts.size() &&
               !Automaton.WalksInLanes(texts[next + group].size());
             ++group) {
            Classes.OfText(texts[next + group], scratch.TextClasses[group]);
            classes[group] = scratch.TextClasses[group].data();
            sizes[group] = scratch.TextClasses[group].size();
        }
        Automaton.WalkSideBySide(classes, sizes, group, scratch.Ends.data(), counts);
        for (std::size_t k = 0; k < group; ++k) {
            candidates[next + k] = Collect(texts[next + k], scratch.Ends[k], counts[k], scratch);
        }
        next += group;
    }
}

std::vector<int> WordMatcher::Impl::Collect(std::string_view text, const std::vector<State>& ends,
                                            std::size_t endCount, MatcherScratch& scratch) const {
    // A scratch new to this matcher gets its bits, all clear; a search leaves them clear.
    const std::size_t markWords = IdCount / kBitsPerMark + 1;
    if (scratch.Seen.size() != markWords) {
        scratch.Seen.assign(markWords, 0);
    }
    scratch.Found.clear();
    for (std::size_t i = 0; i < endCount; ++i) {
        Automaton.PrefetchWordsIn(ends[i]);
    }
    for (std::size_t i = 0; i < endCount; ++i) {
        MarkWordsEndingIn(ends[i], scratch);
    }
    if (!GroupIds.empty()) {
        MarkGroupsOfFoundForms(scratch);
    }
    const std::vector<State>& found = scratch.Found;

    for (State word : found) {  // ask for all the records first: their reads then overlap
        __builtin_prefetch(KeyedRecords.data() + KeyedFirst[word]);
    }
    std::vector<int> candidates;
    for (State word : found) {
        const std::uint32_t* record = KeyedRecords.data() + KeyedFirst[word];
        const std::uint32_t* end = KeyedRecords.data() + KeyedFirst[word + 1];
        while (record < end) {
            const std::uint32_t entry = record[0];
            const std::uint32_t* others = record + kRecordHeader;
            record = others + record[1];
            if (std::all_of(others, record, [&](State w) { return IsSeen(scratch, w); })) {
                candidates.push_back(static_cast<int>(entry));
            }
        }
    }
    if (!text.empty()) {
        candidates.insert(candidates.end(), BlankEntries.begin(), BlankEntries.end());
    }
    candidates.insert(candidates.end(), WordlessEntries.begin(), WordlessEntries.end());
    std::sort(candidates.begin(), candidates.end());
    for (State word : found) {  // clean for the next text
        scratch.Seen[word / kBitsPerMark] = 0;
    }
    return candidates;
}

WordMatcher::WordMatcher(const LyricsIndex& index) {
    const FoldedWords words = FoldAllWords(index);
    impl_ = std::make_unique<Impl>(words, FindDistinctWords(words));
}

WordMatcher::~WordMatcher() = default;
WordMatcher::WordMatcher(WordMatcher&&) noexcept = default;
WordMatcher& WordMatcher::operator=(WordMatcher&&) noexcept = default;

std::vector<int> WordMatcher::FindCandidates(std::string_view normalisedText,
                                             MatcherScratch& scratch) const {
    return impl_->Find(normalisedText, scratch);
}

std::vector<int> WordMatcher::FindCandidates(std::string_view normalisedText) const {
    MatcherScratch scratch;
    return impl_->Find(normalisedText, scratch);
}

void WordMatcher::FindCandidatesOfEach(const std::vector<std::string_view>& normalisedTexts,
                                       MatcherScratch& scratch,
                                       std::vector<std::vector<int>>& candidates) const {
    impl_->FindEach(normalisedTexts, scratch, candidates);
}

std::size_t WordMatcher::StateCount() const {
    return impl_->Automaton.StateCount();
}

std::size_t WordMatcher::ClassCount() const {
    return impl_->Classes.Count();
}

}  // namespace versemark
