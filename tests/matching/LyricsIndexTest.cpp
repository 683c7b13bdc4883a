// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "matching/LyricsIndex.h"
#include "support/NativePath.h"
#include "support/TempDir.h"

namespace versemark {
namespace {

using testing::NativePath;
using testing::TempDir;
using Words = std::vector<std::string>;

LyricsEntry Entry(const std::string& fileName) {
    const auto entry = MakeLyricsEntry(NativePath("/cache/pop"), fileName);
    EXPECT_TRUE(entry.has_value()) << fileName;
    return entry.value_or(LyricsEntry{});
}

TEST(MakeLyricsEntry, SplitsTheNameIntoWords) {
    const LyricsEntry entry = Entry("Artist - Title.txt");
    EXPECT_EQ(entry.DisplayName, "Artist - Title");
    EXPECT_EQ(entry.Words, (Words{"Artist", "Title"}));
    EXPECT_EQ(entry.FilePath, NativePath("/cache/pop/Artist - Title.txt"));
    EXPECT_EQ(entry.MatchCount, 0);
    EXPECT_EQ(entry.Score, 0);
}

TEST(MakeLyricsEntry, PutsApostrophesBackForDisplayOnly) {
    LyricsEntry entry = Entry("Don_t Stop - The Band.txt");
    EXPECT_EQ(entry.DisplayName, "Don't Stop - The Band");
    EXPECT_EQ(entry.Words, (Words{"Dont", "Stop", "The", "Band"}));

    entry = Entry("Goin_ Home - X.txt");
    EXPECT_EQ(entry.DisplayName, "Goin' Home - X");
    EXPECT_EQ(entry.Words, (Words{"Goin", "Home", "X"}));

    entry = Entry("I_m Yours - She_s Gone.txt");
    EXPECT_EQ(entry.DisplayName, "I'm Yours - She's Gone");
}

TEST(MakeLyricsEntry, ReplacesOnlyTheListedPairsAndExactly) {
    LyricsEntry entry = Entry("Rock_n_Roll - X.txt");
    EXPECT_EQ(entry.DisplayName, "Rock_n_Roll - X");
    EXPECT_EQ(entry.Words, (Words{"RocknRoll", "X"}));

    entry = Entry("DON_T - X.txt");
    EXPECT_EQ(entry.DisplayName, "DON_T - X");
    EXPECT_EQ(entry.Words, (Words{"DONT", "X"}));
}

TEST(MakeLyricsEntry, KeepsEmptyWordsFromOuterBlanks) {
    EXPECT_EQ(Entry("a-b.txt").Words, (Words{"ab"}));
    EXPECT_EQ(Entry(" - Title.txt").Words, (Words{"", "Title"}));
    EXPECT_EQ(Entry("Artist -  .txt").Words, (Words{"Artist", ""}));
    EXPECT_EQ(Entry("A  -   B.txt").Words, (Words{"A", "B"}));
    EXPECT_EQ(Entry("-.txt").Words, (Words{""}));
}

TEST(MakeLyricsEntry, CutsTheExtensionAsFourCharactersAndSkipsNamesWithoutHyphen) {
    EXPECT_EQ(Entry("Artist - Title.TXT").DisplayName, "Artist - Title");
    EXPECT_FALSE(MakeLyricsEntry(NativePath("/cache"), "Readme.txt").has_value());
    EXPECT_EQ(MakeLyricsEntry(NativePath("/cache/"), "a - b.txt")->FilePath,
              NativePath("/cache/a - b.txt"));
}

TEST(MakeLyricsEntry, TakesNamesThatAreNotUtf8AsBytes) {
    const LyricsEntry entry = Entry("Beyonc\xE9 - Halo.txt");
    EXPECT_EQ(entry.Words, (Words{"Beyonc\xE9", "Halo"}));
    EXPECT_EQ(entry.FilePath, NativePath("/cache/pop/Beyonc\xE9 - Halo.txt"));
}

class Cache : public ::testing::Test {
  protected:
    TempDir dir;
    LyricsIndex index;
    bool singleDir = false;

    std::optional<int> Build(const std::string& cachePath) {
        return BuildLyricsIndex(cachePath, singleDir, index);
    }
    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const LyricsEntry& e : index.Entries) {
            paths.push_back(e.FilePath);
        }
        return paths;
    }
};

TEST_F(Cache, ReadsSubfoldersInNameOrderAndNotTheCacheItself) {
    dir.WriteFile("cache/b/Zed - One.txt", "");
    dir.WriteFile("cache/b/alpha - Two.txt", "");
    dir.WriteFile("cache/A/Mid - Three.TXT", "");
    dir.WriteFile("cache/A/deeper/Too - Deep.txt", "");
    dir.WriteFile("cache/Loose - File.txt", "");
    dir.WriteFile("cache/b/Readme.txt", "");
    dir.WriteFile("cache/b/Not - Lyrics.doc", "");
    dir.WriteFile("cache/b/.Hidden - File.txt", "");
    dir.WriteFile("cache/.git/Hidden - Folder.txt", "");
    const std::string cache = dir / "cache";

    EXPECT_EQ(Build(cache), 3);
    EXPECT_FALSE(singleDir);
    EXPECT_EQ(Paths(), (std::vector<std::string>{cache + NativePath("/A/Mid - Three.TXT"),
                                                 cache + NativePath("/b/alpha - Two.txt"),
                                                 cache + NativePath("/b/Zed - One.txt")}));
}

TEST_F(Cache, ReadsTheCacheItselfWhenItHasNoSubfolders) {
    dir.WriteFile("cache/Artist - Title.txt", "");
    EXPECT_EQ(Build(dir / "cache"), 1);
    EXPECT_TRUE(singleDir);
    EXPECT_EQ(Paths(), (std::vector<std::string>{dir / "cache/Artist - Title.txt"}));
}

TEST_F(Cache, SingleDirReadsOnlyTheCacheFolder) {
    dir.WriteFile("cache/Top - Level.txt", "");
    dir.WriteFile("cache/sub/Sub - Level.txt", "");
    singleDir = true;
    EXPECT_EQ(Build(dir / "cache/"), 1);
    EXPECT_EQ(Paths(), (std::vector<std::string>{dir / "cache/Top - Level.txt"}));
}

TEST_F(Cache, PathWithoutTrailingSeparatorGivesOneSeparator) {
    dir.WriteFile("cache/Top - Level.txt", "");
    singleDir = true;
    Build(dir / "cache");
    EXPECT_EQ(Paths(), (std::vector<std::string>{dir / "cache/Top - Level.txt"}));
}

TEST_F(Cache, MissingOrFileCacheLeavesTheIndexEmptyAndNoCount) {
    index.Entries.resize(2);  // left over: must go
    EXPECT_EQ(Build(dir / "missing"), std::nullopt);
    EXPECT_TRUE(index.Entries.empty());
    EXPECT_EQ(Build(dir.WriteFile("file - cache.txt", "")), std::nullopt);
    EXPECT_EQ(Build(""), std::nullopt);
}

TEST_F(Cache, CacheWithoutLyricsReadsZero) {
    dir.WriteFile("cache/sub/Readme.txt", "");
    EXPECT_EQ(Build(dir / "cache"), 0);
    EXPECT_TRUE(index.Entries.empty());
}

TEST_F(Cache, NoSixteenBitCeiling) {
    const std::string folder = dir.MakeFolder("cache");
    for (int i = 0; i < 33000; ++i) {
        std::FILE* f = std::fopen((folder + "/a - " + std::to_string(i) + ".txt").c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    EXPECT_EQ(Build(folder), 33000);
}

}  // namespace
}  // namespace versemark
