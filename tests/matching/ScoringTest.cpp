// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "matching/Scoring.h"

namespace versemark {
namespace {

LyricsEntry EntryWith(std::vector<std::string> words, int matchCount = 0) {
    LyricsEntry entry;
    entry.Words = std::move(words);
    entry.MatchCount = matchCount;
    return entry;
}

TEST(CountOccurrences, CountsOverlappingHitsWithoutRegardToCase) {
    EXPECT_EQ(CountOccurrences("aaaa", "aa"), 3);
    EXPECT_EQ(CountOccurrences("Stop STOP stop", "stop"), 3);
    EXPECT_EQ(CountOccurrences("BEYONC\xC3\x89", "beyonc\xC3\xA9"), 1);
    EXPECT_EQ(CountOccurrences("abc", "abcd"), 0);
    EXPECT_EQ(CountOccurrences("abc", ""), 0);
}

TEST(ScoreLyrics, SumsTheHitsOfTheNonEmptyWords) {
    EXPECT_EQ(ScoreLyrics(EntryWith({"Band", "Stop"}), "Band - Stop.mp3"), 2);
    EXPECT_EQ(ScoreLyrics(EntryWith({"", "a", "a"}), "banana"), 6);
    EXPECT_EQ(ScoreLyrics(EntryWith({""}), "anything"), 0);
    // A word outside ASCII counts in both encodings: UTF-8 and Windows-1252 "Björk".
    EXPECT_EQ(ScoreLyrics(EntryWith({"Bj\xC3\xB6rk"}), "BJ\xC3\x96RK bj\xF6rk"), 2);
    EXPECT_EQ(ScoreLyrics(EntryWith({"Bj\xF6rk"}), "BJ\xC3\x96RK bj\xF6rk"), 2);
}

TEST(PickBestLyrics, TakesTheHighestScoreAndTheEarliestOnATie) {
    LyricsIndex index;
    for (int score : {4, 7, 7, -3}) {
        LyricsEntry entry;
        entry.Score = score;
        index.Entries.push_back(entry);
    }
    EXPECT_EQ(PickBestLyrics({0, 1, 2, 3}, index), 1);
    EXPECT_EQ(PickBestLyrics({2, 1}, index), 2) << "the earlier candidate wins a tie";
    EXPECT_EQ(PickBestLyrics({3, 0}, index), 0);
    EXPECT_EQ(PickBestLyrics({3}, index), 3);
}

TEST(ChooseLyrics, SubtractsTwoPointsForEveryFileThatMatchedTheLyrics) {
    // A: Band, Stop, matched once: 2 - 2 = 0. B: Stop, matched three times: 1 - 6 = -5.
    LyricsIndex index;
    index.Entries = {EntryWith({"Band", "Stop"}, 1), EntryWith({"Stop"}, 3)};
    EXPECT_EQ(ChooseLyrics({0, 1}, "Band - Stop.mp3", index), 0);
    EXPECT_EQ(index.Entries[0].Score, 0);
    EXPECT_EQ(index.Entries[1].Score, -5);

    // Equal hits in the name: the penalty alone decides (1-6 = -5 against 1-2 = -1).
    index.Entries = {EntryWith({"Stop"}, 3), EntryWith({"stop"}, 1)};
    EXPECT_EQ(ChooseLyrics({0, 1}, "STOP.mp3", index), 1);
}

TEST(ChooseLyrics, KeepsTheEarlierCandidateOnEqualScores) {
    LyricsIndex index;
    index.Entries = {EntryWith({"x"}), EntryWith({"Stop"}, 1), EntryWith({"Band"}, 1)};
    EXPECT_EQ(ChooseLyrics({1, 2}, "Band Stop.mp3", index), 1);
    EXPECT_EQ(ChooseLyrics({2, 1}, "Band Stop.mp3", index), 2);
}

TEST(ChooseLyrics, LooksAtTheNameOnlyAndTakesASingleCandidateAsIs) {
    LyricsIndex index;
    index.Entries = {EntryWith({"Folder"}, 9), EntryWith({"Song"}, 1)};
    EXPECT_EQ(ChooseLyrics({0}, "nothing.mp3", index), 0);
    EXPECT_EQ(index.Entries[0].Score, 0) << "a single candidate is not scored";
}

TEST(IsFilteredTail, FindsTheMarkerOrTheNoBreakSpace) {
    EXPECT_TRUE(IsFilteredTail("lyrics\r\n[Versemark] filter used\r\n"));
    EXPECT_TRUE(IsFilteredTail("one\xA0two"));
    EXPECT_FALSE(IsFilteredTail("] FILTER USED"));
    EXPECT_FALSE(IsFilteredTail("] filter use"));
    EXPECT_FALSE(IsFilteredTail(""));
}

}  // namespace
}  // namespace versemark
