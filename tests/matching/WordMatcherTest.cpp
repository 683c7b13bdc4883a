// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "matching/Mp3Text.h"
#include "matching/WordMatcher.h"
#include "platform/CodePage.h"
#include "support/reference/ReferenceMatcher.h"

namespace versemark {
namespace {

LyricsIndex IndexOf(const std::vector<std::vector<std::string>>& wordLists) {
    LyricsIndex index;
    for (const auto& words : wordLists) {
        LyricsEntry entry;
        entry.Words = words;
        index.Entries.push_back(entry);
    }
    return index;
}

std::vector<int> Reference(std::string_view text, LyricsIndex index) {
    return FindMatchingLyricsReference(text, index);
}

// Cases both algorithms must agree on, with the answer written out.
struct Case {
    const char* Name;
    std::string Text;
    std::vector<int> Expected;
};

class KnownCases : public ::testing::Test {
  protected:
    LyricsIndex index = IndexOf({
        {"Love"},                  // 0: found inside "Lovely"
        {"Dont", "Stop", "Band"},  // 1
        {"Band", "Band"},          // 2: a repeated word
        {"", "Title"},             // 3: an empty word
        {"", ""},                  // 4: only empty words
        {"BEYONC\xC3\x89"},        // 5: UTF-8 capital É
        {"beyonc\xC9"},            // 6: Windows-1252 capital É
        {"aa", "aaa"},             // 7: overlapping words, words inside words
        {"zz"},                    // 8: in none of the texts
        {"\x8A"
         "tefan"},          // 9: Windows-1252 Š
        {"\xC4\x80lpha"},   // 10: UTF-8 Ā, which Windows-1252 lacks
        {"\xC3\xA9t\xE9"},  // 11: a word of a Windows-1252 name: "Ã©té"
        {"\xC3\xA9"},       // 12: the same first bytes from a name that is not UTF-8
    });
    KnownCases() { index.Entries[12].DisplayName = "\xC3\xA9 - \xE9t\xE9"; }
};

TEST_F(KnownCases, FastAndReferenceGiveTheWrittenAnswer) {
    const std::vector<Case> cases = {
        {"word inside a longer word", "Lovely.mp3", {0, 4}},
        {"all words anywhere, any case", "/music/The BAND/DONT stop", {1, 2, 4}},
        {"a missing word", "/music/Dont Stop", {4}},
        {"empty word in a non-empty text", "Title", {3, 4}},
        {"empty text: not even the empty word", "", {}},
        {"UTF-8 small letters find both encodings' capitals", "beyonc\xC3\xA9 live", {4, 5, 6, 12}},
        {"Windows-1252 capital finds both encodings' small letters", "BEYONC\xC9", {4, 5, 6}},
        {"overlapping hits", "aaa", {4, 7}},
        {"too short for the longer word", "aa", {4}},
        {"Windows-1252 small letter",
         "\x9A"
         "TEFAN",
         {4, 9}},
        {"Windows-1252 S with caron written in UTF-8", "\xC5\xA0TEFAN", {4, 9}},
        {"a character Windows-1252 lacks: UTF-8 only", "\xC4\x80LPHA \xE9", {4, 10}},
        {"no stand-in for a character Windows-1252 lacks", "?lpha Alpha", {4}},
        {"a Windows-1252 name's word in UTF-8", "\xC3\x83\xC2\xA9T\xC3\x89 x", {4, 11, 12}},
        {"a Windows-1252 name's word as it is", "\xC3\xA9T\xE9", {4, 11, 12}},
    };
    for (const Case& c : cases) {
        const WordMatcher matcher(index);
        EXPECT_EQ(matcher.FindCandidates(c.Text), c.Expected) << c.Name;
        EXPECT_EQ(Reference(c.Text, index), c.Expected) << c.Name;
    }
}

TEST_F(KnownCases, ReferenceCountsEveryMatchingFile) {
    FindMatchingLyricsReference("Lovely", index);
    FindMatchingLyricsReference("love", index);
    FindMatchingLyricsReference("hate", index);
    EXPECT_EQ(index.Entries[0].MatchCount, 2);
    EXPECT_EQ(index.Entries[4].MatchCount, 3);
    EXPECT_EQ(index.Entries[1].MatchCount, 0);
}

TEST(WordMatcher, EntryWithoutWordsMatchesEveryText) {
    LyricsIndex index = IndexOf({{}, {"a"}});
    const WordMatcher matcher(index);
    EXPECT_EQ(matcher.FindCandidates(""), (std::vector<int>{0}));
    EXPECT_EQ(matcher.FindCandidates("A"), (std::vector<int>{0, 1}));
    EXPECT_EQ(Reference("", index), (std::vector<int>{0}));
}

TEST(WordMatcher, EmptyIndexFindsNothing) {
    const LyricsIndex index;
    const WordMatcher matcher(index);
    EXPECT_TRUE(matcher.FindCandidates("anything").empty());
}

TEST(WordMatcher, SameMatcherServesManyTextsWithoutLeftovers) {
    // Marks of one text must not count for the next.
    LyricsIndex index = IndexOf({{"red", "blue"}, {"green"}});
    const WordMatcher matcher(index);
    EXPECT_TRUE(matcher.FindCandidates("red").empty());
    EXPECT_TRUE(matcher.FindCandidates("blue").empty());
    EXPECT_EQ(matcher.FindCandidates("blue red"), (std::vector<int>{0}));
    EXPECT_EQ(matcher.FindCandidates("GREEN"), (std::vector<int>{1}));
}

TEST(WordMatcher, WordsThatAreSuffixesOfOtherWordsAreFound) {
    // "she" ends inside "ushers" where the automaton is in the middle of "usher":
    // found only through the suffix links.
    LyricsIndex index = IndexOf({{"he"}, {"she"}, {"hers"}, {"his"}, {"usher", "s"}});
    const WordMatcher matcher(index);
    EXPECT_EQ(matcher.FindCandidates("ushers"), (std::vector<int>{0, 1, 2, 4}));
}

// Random material built to provoke the hard cases: few letters so that words
// overlap and sit inside each other, case and accent variants in both encodings,
// broken UTF-8, empty and repeated words.
class RandomMaterial {
  public:
    explicit RandomMaterial(unsigned seed) : random_(seed) {}

    std::string Piece() {
        static const std::vector<std::string> pieces = {
            "a",        "b",
            "A",        "B",
            "ab",       "ba",
            "o",        "O",
            "\xC3\xA9", "\xC3\x89",  // é É in UTF-8
            "\xE9",     "\xC9",      // é É in Windows-1252
            "\x8A",     "\x9A",
            "\x9F",     "\xFF",  // Š š Ÿ ÿ
            "\xC3",     "\x89",
            "\xD7",  // halves of sequences, ×
            "\xC5\xA0", "\xE2\x82\xAC",
            "\x80",                          // Š € in UTF-8, € in Windows-1252
            "\xC4\x80", "\xF0\x9F\x8E\xB5",  // Ā, a note: no Windows-1252 byte
            "'",        "_",
            "-",        " ",
            "1",        "3",
        };
        return pieces[Pick(pieces.size())];
    }

    std::string Word() {
        std::string word;
        const std::size_t length = Pick(5);  // 0: the empty word
        for (std::size_t i = 0; i < length; ++i) {
            word += Piece();
        }
        return word;
    }

    LyricsIndex Index(std::size_t entries) {
        LyricsIndex index;
        for (std::size_t e = 0; e < entries; ++e) {
            LyricsEntry entry;
            const std::size_t count = 1 + Pick(4);
            for (std::size_t w = 0; w < count; ++w) {
                if (!entry.Words.empty() && Pick(6) == 0) {
                    entry.Words.push_back(entry.Words[Pick(entry.Words.size())]);  // repeated
                } else if (!index.Entries.empty() && Pick(3) == 0) {
                    const auto& other = index.Entries[Pick(index.Entries.size())].Words;
                    entry.Words.push_back(other[Pick(other.size())]);  // shared with another
                } else {
                    entry.Words.push_back(Word());
                }
            }
            // The name decides how a word's bytes are read: now and then one that
            // is not valid UTF-8.
            for (const std::string& word : entry.Words) {
                entry.DisplayName += word + " ";
            }
            if (Pick(4) == 0) {
                entry.DisplayName += "\xE9";
            }
            index.Entries.push_back(entry);
        }
        return index;
    }

    // A raw MP3 text: pieces, words of the index in another case or the other
    // encoding, markers, NULs.
    std::string RawText(const LyricsIndex& index) {
        static const std::vector<std::string> extras = {
            std::string("\0", 1), "LAME3", "ID3", "LAME", "ID", "''", "__", "L\0AME3"};
        std::string text;
        const std::size_t parts = Pick(40);
        for (std::size_t i = 0; i < parts; ++i) {
            const std::size_t kind = Pick(4);
            if (kind == 0 && !index.Entries.empty()) {
                const auto& words = index.Entries[Pick(index.Entries.size())].Words;
                text += Shout(Reencoded(words[Pick(words.size())]));
            } else if (kind == 1) {
                text += extras[Pick(extras.size())];
            } else {
                text += Piece();
            }
        }
        return text;
    }

  private:
    // Now and then the word in its other encoding, as a tag of the other kind holds it.
    std::string Reencoded(const std::string& word) {
        if (Pick(3) != 0) {
            return word;
        }
        return IsValidUtf8(word) ? Utf8ToWindows1252(word).value_or(word) : Windows1252ToUtf8(word);
    }

    std::size_t Pick(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
    }

    // Upper-cases ASCII letters now and then: the fold must meet both sides.
    std::string Shout(std::string word) {
        if (Pick(2) == 0) {
            for (char& c : word) {
                if (c >= 'a' && c <= 'z') {
                    c = static_cast<char>(c - 'a' + 'A');
                }
            }
        }
        return word;
    }

    std::mt19937 random_;
};

TEST(WordMatcherDifferential, AgreesWithTheReferenceOnRandomMaterial) {
    std::size_t texts = 0;
    std::size_t nonEmptyAnswers = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        RandomMaterial material(seed);
        LyricsIndex index = material.Index(5 + seed * 5);
        const WordMatcher matcher(index);
        for (int t = 0; t < 150; ++t) {
            const std::string text = NormaliseMp3Text(material.RawText(index));
            const std::vector<int> expected = Reference(text, index);
            ASSERT_EQ(matcher.FindCandidates(text), expected)
                << "seed " << seed << " text " << t << " [" << text << "]";
            ++texts;
            nonEmptyAnswers += expected.empty() ? 0 : 1;
        }
    }
    // The material must actually produce matches, or the comparison proves little.
    EXPECT_GT(nonEmptyAnswers, texts / 2);
}

TEST(WordMatcherDifferential, AgreesOnArbitraryBytes) {
    std::mt19937 random(99);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 30; ++round) {
        LyricsIndex index;
        for (int e = 0; e < 60; ++e) {
            LyricsEntry entry;
            for (int w = 0; w < 1 + byte(random) % 3; ++w) {
                std::string word;
                for (int i = 0; i < byte(random) % 3; ++i) {
                    word += static_cast<char>(byte(random) % 4 == 0 ? 0xC3 : byte(random));
                }
                entry.Words.push_back(word);
            }
            index.Entries.push_back(entry);
        }
        const WordMatcher matcher(index);
        std::vector<std::string> texts;
        std::vector<std::vector<int>> expected;
        for (int t = 0; t < 100; ++t) {
            std::string text;
            for (int i = 0; i < byte(random) * 2; ++i) {
                text += static_cast<char>(byte(random) % 5 == 0 ? 0xC3 : byte(random));
            }
            expected.push_back(Reference(text, index));
            ASSERT_EQ(matcher.FindCandidates(text), expected.back()) << "round " << round;
            texts.push_back(text);
        }
        // All at once, short texts walked side by side among long ones.
        MatcherScratch scratch;
        std::vector<std::vector<int>> together;
        matcher.FindCandidatesOfEach(std::vector<std::string_view>(texts.begin(), texts.end()),
                                     scratch, together);
        EXPECT_EQ(together, expected) << "round " << round;
    }
}

TEST(WordMatcherDifferential, AgreesOnLongTextsWithWordsAcrossEverySeam) {
    // Long texts are walked in parts side by side; a word must be found wherever
    // it lies, also across the border of two parts.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> letter('a', 'e');
    auto randomWord = [&](std::size_t length) {
        std::string word;
        for (std::size_t i = 0; i < length; ++i) {
            word += static_cast<char>(letter(random));
        }
        return word;
    };
    for (std::size_t longest : {1u, 5u, 17u, 40u}) {
        LyricsIndex index;
        std::vector<std::string> words;
        for (int e = 0; e < 200; ++e) {
            LyricsEntry entry;
            for (int w = 0; w < 2; ++w) {
                const std::size_t length = 1 + random() % longest;
                entry.Words.push_back(randomWord(length));
                words.push_back(entry.Words.back());
            }
            index.Entries.push_back(entry);
        }
        const WordMatcher matcher(index);
        for (std::size_t size : {300u, 611u, 1024u, 4099u}) {
            for (int t = 0; t < 20; ++t) {
                std::string text(size, 'z');  // 'z' is in no word
                for (std::size_t seam = 1; seam < 4; ++seam) {
                    const std::string& word = words[random() % words.size()];
                    const std::size_t border = seam * (size / 4);
                    const std::size_t start = border - std::min(border, word.size() / 2 + t % 3);
                    text.replace(start, std::min(word.size(), size - start), word);
                }
                for (int n = 0; n < t * 3; ++n) {  // and some anywhere
                    const std::string& word = words[random() % words.size()];
                    const std::size_t start = random() % size;
                    text.replace(start, std::min(word.size(), size - start), word);
                }
                ASSERT_EQ(matcher.FindCandidates(text), Reference(text, index))
                    << "longest " << longest << " size " << size << " text " << t;
            }
        }
    }
}

TEST(WordMatcher, OneConstMatcherServesScratchesUsedInTurnAndOnOtherMatchers) {
    LyricsIndex small = IndexOf({{"red"}});
    LyricsIndex index = IndexOf({{"blue", "red"}, {"green"}, {"red"}});
    const WordMatcher smallMatcher(small);
    const WordMatcher matcher(index);
    MatcherScratch first;
    MatcherScratch second;
    EXPECT_EQ(smallMatcher.FindCandidates("red", first), (std::vector<int>{0}));
    // A scratch sized for another matcher, and two scratches taking turns.
    EXPECT_EQ(matcher.FindCandidates("blue red", first), (std::vector<int>{0, 2}));
    EXPECT_EQ(matcher.FindCandidates("green", second), (std::vector<int>{1}));
    EXPECT_EQ(matcher.FindCandidates("red", first), (std::vector<int>{2}));
    EXPECT_EQ(matcher.FindCandidates("GREEN Red", second), (std::vector<int>{1, 2}));
}

TEST(WordMatcher, FindsALongWordLyingAcrossTheMiddle) {
    const std::string longWord(90, 'q');
    LyricsIndex index = IndexOf({{longWord}, {"q" + longWord}});
    const WordMatcher matcher(index);
    std::string text(2000, '.');
    text.replace(1000 - 45, longWord.size(), longWord);
    EXPECT_EQ(matcher.FindCandidates(text), (std::vector<int>{0}));
    text.replace(500 - 89, longWord.size() + 1, "Q" + longWord);
    EXPECT_EQ(matcher.FindCandidates(text), (std::vector<int>{0, 1}));
}

}  // namespace
}  // namespace versemark
