// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "base/FileNames.h"
#include "matching/FileSearch.h"
#include "support/NativePath.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

namespace versemark {
namespace {

namespace fs = std::filesystem;
using testing::NativePath;
using testing::TempDir;
using Paths = std::vector<std::string>;

class Search : public ::testing::Test {
  protected:
    TempDir dir;
    Paths files;

    Paths Find(const std::string& folder, bool recurse) {
        const int count = FindMp3Files(folder, recurse, files);
        EXPECT_EQ(count, static_cast<int>(files.size()));
        return files;
    }
};

TEST(EnsureBackslash, AddsTheSeparatorOnce) {
    EXPECT_EQ(EnsureBackslash(NativePath("/music")), NativePath("/music/"));
    EXPECT_EQ(EnsureBackslash(NativePath("/music/")), NativePath("/music/"));
    EXPECT_EQ(EnsureBackslash(""), NativePath("/"));
}

TEST(TrimAtNul, CutsAtTheFirstNul) {
    EXPECT_EQ(TrimAtNul(std::string("song.mp3\0junk\0", 14)), "song.mp3");
    EXPECT_EQ(TrimAtNul("song.mp3"), "song.mp3");
    EXPECT_EQ(TrimAtNul(std::string("\0", 1)), "");
}

TEST_F(Search, OwnFilesFirstThenEachSubfolderDepthFirstInNameOrder) {
    dir.WriteFile("m/b.mp3", "");
    dir.WriteFile("m/A.mp3", "");
    dir.WriteFile("m/sub2/z.mp3", "");
    dir.WriteFile("m/Sub1/y.mp3", "");
    dir.WriteFile("m/Sub1/deep/x.mp3", "");
    dir.WriteFile("m/Sub1/w.mp3", "");
    dir.WriteFile("m/notes.txt", "");
    const std::string m = dir / "m";
    EXPECT_EQ(Find(m, true),
              (Paths{m + NativePath("/A.mp3"), m + NativePath("/b.mp3"),
                     m + NativePath("/Sub1/w.mp3"), m + NativePath("/Sub1/y.mp3"),
                     m + NativePath("/Sub1/deep/x.mp3"), m + NativePath("/sub2/z.mp3")}));
    EXPECT_EQ(Find(m, false), (Paths{m + NativePath("/A.mp3"), m + NativePath("/b.mp3")}));
}

TEST_F(Search, TrailingSeparatorGivesTheSamePaths) {
    dir.WriteFile("m/a.mp3", "");
    EXPECT_EQ(Find(dir / "m/", false), (Paths{dir / "m/a.mp3"}));
    EXPECT_EQ(Find(dir / "m", false), (Paths{dir / "m/a.mp3"}));
}

TEST_F(Search, MatchesTheExtensionWithoutRegardToCaseAndKeepsTheName) {
    dir.WriteFile("m/Song.MP3", "");
    dir.WriteFile("m/other.Mp3", "");
    dir.WriteFile("m/mp3", "");
    dir.WriteFile("m/song.mp3.txt", "");
    dir.WriteFile("m/.hidden.mp3", "");
    const std::string m = dir / "m";
    EXPECT_EQ(Find(m, false), (Paths{m + NativePath("/.hidden.mp3"), m + NativePath("/other.Mp3"),
                                     m + NativePath("/Song.MP3")}));

    // The other formats only when asked for, among the MP3 files in name order.
    for (const char* name :
         {"a.FLAC", "b.ogg", "c.Oga", "d.opus", "e.m4a", "f.wav", "g.flac.txt"}) {
        dir.WriteFile(std::string("m/") + name, "");
    }
    EXPECT_EQ(Find(m, false).size(), 3u);
    EXPECT_EQ(FindMp3Files(m, false, files, true), 8);
    EXPECT_EQ(files, (Paths{m + NativePath("/.hidden.mp3"), m + NativePath("/a.FLAC"),
                            m + NativePath("/b.ogg"), m + NativePath("/c.Oga"),
                            m + NativePath("/d.opus"), m + NativePath("/e.m4a"),
                            m + NativePath("/other.Mp3"), m + NativePath("/Song.MP3")}));
}

TEST_F(Search, FolderNamedLikeAnMp3IsSearchedNotTaken) {
    dir.WriteFile("m/x.mp3/inside.mp3", "");
    const std::string m = dir / "m";
    EXPECT_EQ(Find(m, true), (Paths{m + NativePath("/x.mp3/inside.mp3")}));
    EXPECT_TRUE(Find(m, false).empty());
}

TEST_F(Search, NeverEntersDotFoldersButSearchesADotStartFolder) {
    dir.WriteFile("m/.cache/a.mp3", "");
    dir.WriteFile("m/.cache/sub/b.mp3", "");
    EXPECT_TRUE(Find(dir / "m", true).empty());
    EXPECT_EQ(Find(dir / "m/.cache", true),
              (Paths{dir / "m/.cache/a.mp3", dir / "m/.cache/sub/b.mp3"}));
}

TEST_F(Search, EmptyMissingOrFileStartFindsNothing) {
    files = {"left over"};
    EXPECT_TRUE(Find(dir.MakeFolder("empty"), true).empty());
    EXPECT_TRUE(Find(dir / "missing", true).empty());
    EXPECT_TRUE(Find(dir.WriteFile("a.mp3", ""), true).empty());
    EXPECT_TRUE(Find("", true).empty());
}

TEST_F(Search, LinkLoopAddsNothing) {
    dir.WriteFile("m/a.mp3", "");
    dir.WriteFile("m/sub/b.mp3", "");
    fs::create_directory_symlink(dir / "m", dir / "m/sub/back");
    fs::create_directory_symlink("..", dir / "m/sub/up");
    const std::string m = dir / "m";
    EXPECT_EQ(Find(m, true), (Paths{m + "/a.mp3", m + "/sub/b.mp3"}));
}

TEST_F(Search, LinkToAnotherFolderIsFollowedOnce) {
    dir.WriteFile("elsewhere/e.mp3", "");
    dir.WriteFile("m/z/z.mp3", "");
    fs::create_directory_symlink(dir / "elsewhere", dir / "m/link1");
    fs::create_directory_symlink(dir / "elsewhere", dir / "m/link2");
    const std::string m = dir / "m";
    EXPECT_EQ(Find(m, true), (Paths{m + "/link1/e.mp3", m + "/z/z.mp3"}));
}

TEST_F(Search, UnreadableFolderIsSkippedWithEverythingBelowIt) {
    dir.WriteFile("m/a.mp3", "");
    dir.WriteFile("m/locked/b.mp3", "");
    dir.WriteFile("m/locked/below/c.mp3", "");
    dir.WriteFile("m/open/d.mp3", "");
    testing::OpenToOthers(dir / "m/open/d.mp3");
    fs::permissions(dir / "m/locked", fs::perms::none);
    const testing::Unprivileged unprivileged;
    ASSERT_TRUE(unprivileged.Active());
    const std::string m = dir / "m";
    EXPECT_EQ(Find(m, true), (Paths{m + "/a.mp3", m + "/open/d.mp3"}));
}

TEST_F(Search, NamesThatAreNotUtf8AreKeptAsBytes) {
    dir.WriteFile("m/Beyonc\xE9 - Halo.mp3", "");
    dir.WriteFile("m/\xFF\xFE/x.mp3", "");
    const std::string m = dir / "m";
    EXPECT_EQ(Find(m, true), (Paths{m + "/Beyonc\xE9 - Halo.mp3", m + "/\xFF\xFE/x.mp3"}));
}

}  // namespace
}  // namespace versemark
