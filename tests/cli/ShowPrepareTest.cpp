// SPDX-License-Identifier: GPL-3.0-or-later
// Saved lyrics and prepared lyrics: the viewer's reading of a file's tail, and
// the show and prepare verbs that print them.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/CliRun.h"
#include "support/TailBuilder.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"
#include "tags/Id3v2Lyrics.h"
#include "tags/SavedLyrics.h"

namespace versemark::testing {
namespace {

namespace fs = std::filesystem;

const std::string kMessage =
    "The lyrics3 tag is present, but the lyrics field is missing.\r\n"
    "You can insert the lyrics in this file safely.";
const std::string kNewerMessage =
    "This file contains a Lyrics3 tag of a version higher than the supported; Versemark cannot "
    "read it.\r\n"
    "Tagging keeps that tag and writes a version 2.00 tag after it, so it is not recommended to "
    "tag this file.";

class SavedLyricsTest : public ::testing::Test {
  protected:
    std::string Saved(const std::string& bytes) {
        return ReadSavedLyrics(dir_.WriteFile("song.mp3", bytes));
    }
    TempDir dir_;
};

TEST_F(SavedLyricsTest, ReadsTheLyricsFieldOfAVersion2TagBehindOrWithoutAnId3Block) {
    const TailBuilder::Fields fields = {{"IND", "100"}, {"LYR", "line one\r\nline two"}};
    EXPECT_EQ(Saved(TailBuilder().audio(1000).lyrics3v2(fields).id3v1("T", "A").bytes()),
              "line one\r\nline two");
    EXPECT_EQ(Saved(TailBuilder().audio(1000).lyrics3v2(fields).bytes()), "line one\r\nline two");
}

TEST_F(SavedLyricsTest, TakesTheFieldWhereverItStandsAndAnyVersion2Trailer) {
    EXPECT_EQ(Saved(TailBuilder()
                        .audio(500)
                        .lyrics3v2({{"INF", "x"}, {"LYR", "abc"}, {"IND", "100"}}, "LYRICS201")
                        .id3v1("T", "A")
                        .bytes()),
              "abc");
}

TEST_F(SavedLyricsTest, ReadsVersion1LyricsUpToTheEndMarker) {
    EXPECT_EQ(Saved(TailBuilder().audio(6000).lyrics3v1("old\r\nwords").id3v1("T", "A").bytes()),
              "old\r\nwords");
}

TEST_F(SavedLyricsTest, ShowsTheMessageWhenThereAreNoLyricsToShow) {
    // A tag without a lyrics field, an empty lyrics field, no tag; a newer version
    // has its own message, whatever it holds.
    EXPECT_EQ(Saved(TailBuilder().audio(500).lyrics3v2({{"IND", "100"}}).id3v1("T", "A").bytes()),
              kMessage);
    EXPECT_EQ(Saved(TailBuilder().audio(500).lyrics3v2({{"IND", "100"}, {"LYR", ""}}).bytes()),
              kMessage);
    EXPECT_EQ(Saved(TailBuilder().audio(500).lyrics3v2({{"LYR", "abc"}}, "LYRICS300").bytes()),
              kNewerMessage);
    EXPECT_EQ(Saved(TailBuilder().audio(500).raw("LYRICS300").id3v1("T", "A").bytes()),
              kNewerMessage);
    EXPECT_EQ(Saved(TailBuilder().audio(500).id3v1("T", "A").bytes()), kMessage);
    EXPECT_EQ(Saved(TailBuilder().audio(500).bytes()), kMessage);
}

TEST_F(SavedLyricsTest, UnreadableOrMalformedFilesGiveTheMessage) {
    EXPECT_EQ(Saved(""), kMessage);
    EXPECT_EQ(Saved("LYRICS200"), kMessage);
    // Size digits that point before the start of the file.
    EXPECT_EQ(Saved("LYRICSBEGIN999999LYRICS200"), kMessage);
    // A size that is not a number.
    EXPECT_EQ(Saved(TailBuilder().audio(300).raw("LYRICSBEGINLYR00003abc00x033LYRICS200").bytes()),
              kMessage);
    EXPECT_EQ(ReadSavedLyrics(dir_ / "missing.mp3"), kMessage);
    EXPECT_EQ(ReadSavedLyrics(dir_.Path()), kMessage) << "a folder is not a file";
}

TEST_F(SavedLyricsTest, NeverWritesTheFile) {
    const std::string bytes = TailBuilder()
                                  .audio(800)
                                  .lyrics3v2({{"IND", "100"}, {"LYR", "abc"}})
                                  .id3v1("T", "A")
                                  .bytes();
    const std::string path = dir_.WriteFile("song.mp3", bytes);
    ReadSavedLyrics(path);
    EXPECT_EQ(ReadFileBytes(path), bytes);
}

// The last line of show in a build that reads ID3v2 lyrics frames, for a file without one.
std::string NoId3v2FrameLine() {
    return Id3v2LyricsAvailable() ? "ID3v2 lyrics frame: none\n" : "";
}

TEST(ShowCommandTest, TellsLyricsATagWithoutLyricsNoTagAndAnUnreadableFileApart) {
    const TempDir dir;
    const std::string tagged = dir.WriteFile(
        "tagged.mp3", TailBuilder()
                          .audio(700)
                          .lyrics3v2({{"IND", "100"}, {"LYR", std::string("short\0\0", 7)}})
                          .id3v1("T", "A")
                          .bytes());
    const std::string untagged = dir.WriteFile("untagged.mp3", TailBuilder().audio(700).bytes());
    const std::string withoutLyrics =
        dir.WriteFile("without.mp3",
                      TailBuilder().audio(700).lyrics3v2({{"IND", "100"}}).id3v1("T", "A").bytes());

    const CliRunResult shown = RunCliProcess({"show", tagged});
    EXPECT_EQ(shown.Status, 0) << shown.Err;
    EXPECT_EQ(shown.Out, "short\r\n" + NoId3v2FrameLine())
        << "NUL padding left out, a line end added";
    const CliRunResult raw = RunCliProcess({"show", tagged, "--raw"});
    EXPECT_EQ(raw.Out, std::string("short\0\0", 7));

    const CliRunResult message = RunCliProcess({"show", withoutLyrics});
    EXPECT_EQ(message.Status, 0);
    EXPECT_EQ(message.Out, kMessage + "\r\n" + NoId3v2FrameLine());
    // No Lyrics3 tag at all: no audio but an ID3v1 block, an empty file, audio only.
    const std::string id3Only = dir.WriteFile("id3.mp3", TailBuilder().id3v1("T", "A").bytes());
    const std::string empty = dir.WriteFile("empty.mp3", "");
    for (const std::string& file : {untagged, id3Only, empty}) {
        const CliRunResult none = RunCliProcess({"show", file});
        EXPECT_EQ(none.Status, 0) << file;
        EXPECT_EQ(none.Out, "No Lyrics3 tag in this file.\n" + NoId3v2FrameLine()) << file;
    }

    // A file that cannot be opened: its reason on standard error, exit status 1.
    const std::string locked = dir.WriteFile("locked.mp3", TailBuilder().audio(700).bytes());
    fs::permissions(locked, fs::perms::none);
    OpenToOthers(dir.Path());
    {
        // Privileges come back at the end of this block, so the next program runs
        // as an ordinary process again (a sanitized build stops in a process whose
        // effective user differs from its real one).
        const Unprivileged unprivileged;
        if (unprivileged.Active()) {
            const CliRunResult denied = RunCliProcess({"show", locked});
            EXPECT_EQ(denied.Status, 1);
            EXPECT_EQ(denied.Out, "");
            EXPECT_NE(denied.Err.find("locked.mp3: Permission denied"), std::string::npos)
                << denied.Err;
        }
    }

    const CliRunResult missing = RunCliProcess({"show", dir / "nothing.mp3"});
    EXPECT_EQ(missing.Status, 2);
    EXPECT_NE(missing.Err.find("not a file"), std::string::npos);
}

TEST(ShowCommandTest, ShowsWhatTagJustWrote) {
    const TempDir dir;
    const CliRunResult demo = RunCliProcess({"demo", dir.Path()});
    ASSERT_EQ(demo.Status, 0);
    const std::string mp3 = dir / "music/Amber Coast - Harbour Lights.mp3";
    EXPECT_EQ(RunCliProcess({"show", mp3}).Out,
              "No Lyrics3 tag in this file.\n" + NoId3v2FrameLine());
    ASSERT_EQ(RunCliProcess({"tag", dir / "music", "--cache", dir / "lyrics"}).Status, 0);
    const CliRunResult prepared =
        RunCliProcess({"prepare", dir / "lyrics/Amber Coast - Harbour Lights.txt", "--raw"});
    ASSERT_EQ(prepared.Status, 0);
    EXPECT_EQ(RunCliProcess({"show", mp3, "--raw"}).Out, prepared.Out);
    // The saved v1 and v2 tags of the demo.
    EXPECT_EQ(RunCliProcess({"show", dir / "music/Delta Nine - Glass House.mp3"}).Out,
              "Glass house (saved earlier)\r\nNo stones\r\n" + NoId3v2FrameLine());
    EXPECT_EQ(RunCliProcess({"show", dir / "music/Ember Falls - Night Train.mp3"}).Out,
              "Night train (older lyrics)\r\nRolling on and on\r\n" + NoId3v2FrameLine());
    EXPECT_EQ(RunCliProcess({"show", dir / "music/Fern Gully Band - Open Road.mp3"}).Out,
              kNewerMessage + "\r\n" + NoId3v2FrameLine());
}

TEST(PrepareCommandTest, DropsTheFooterAndAddsTheCreditLine) {
    const TempDir dir;
    const std::string file = dir.WriteFile(
        "Artist - Song.txt",
        "\r\n\tFirst line\r\nLast line\r\n\r\n\r\n----------------\r\n* Downloaded from: x\r\n");
    const CliRunResult prepared = RunCliProcess({"prepare", file, "--raw"});
    EXPECT_EQ(prepared.Status, 0) << prepared.Err;
    EXPECT_EQ(prepared.Out,
              "First line\r\nLast line\r\n\r\n----------------\r\n"
              "Lyrics by Songleaf (https://kestrelworks.example/songleaf)");
    const CliRunResult shown = RunCliProcess({"prepare", file});
    EXPECT_EQ(shown.Out, prepared.Out + "\r\n");
}

TEST(PrepareCommandTest, ShowsWindows1252LyricsAsUtf8UnlessRaw) {
    const TempDir dir;
    // The companion's Windows-1252, UTF-8 with a byte-order mark and UTF-16 of
    // either byte order: all are stored, and so prepared, in Windows-1252.
    const std::string utf16le(
        "\xFF\xFE"
        "C\0a\0f\0\xE9\0 \0\x1C\x20q\0u\0o\0t\0e\0d\0\x1D\x20",
        28);
    const std::string utf16be(
        "\xFE\xFF"
        "\0C\0a\0f\0\xE9\0 \x20\x1C\0q\0u\0o\0t\0e\0d\x20\x1D",
        28);
    for (const std::string& text : {std::string("Caf\xE9 \x93quoted\x94"),
                                    std::string("\xEF\xBB\xBF"
                                                "Caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D"),
                                    utf16le, utf16be}) {
        const std::string file = dir.WriteFile("A - B.txt", text);
        EXPECT_EQ(RunCliProcess({"prepare", file}).Out,
                  "Caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D\r\n"
                  "Lyrics by Songleaf (https://kestrelworks.example/songleaf)\r\n");
        EXPECT_EQ(RunCliProcess({"prepare", file, "--raw"}).Out.substr(0, 13),
                  "Caf\xE9 \x93quoted\x94");
    }
}

}  // namespace
}  // namespace versemark::testing
