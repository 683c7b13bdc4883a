// SPDX-License-Identifier: GPL-3.0-or-later
// FLAC, Ogg Vorbis, Opus and M4A files made by ffmpeg and tagged by mutagen: scan
// takes them only with --all-formats and matches them on their own tag's words,
// and show prints the lyrics mutagen put into LYRICS or ©lyr.
#include <gtest/gtest.h>

#include <map>

#include "cli/CliRun.h"
#include "cli/MiniJson.h"
#include "support/TaggedAudio.h"
#include "support/TempDir.h"

namespace versemark::testing {
namespace {

constexpr char kFiltered[] = "words\r\n[ Songleaf ] filter used\r\n";

struct Song {
    const char* File;  // in music/, named so that only its tag holds the words
    const char* Codec;
    AudioFields Fields;
    const char* LyricsName;  // the lyrics file the tag's words match
};

const std::vector<Song> kSongs = {
    {"one.flac",
     "flac",
     {"Amber Coast", "Lantern", "x", "1", "2001", "", "Lyrics of one\r\n"},
     "Amber Coast - Lantern"},
    {"two.OGG",
     "libvorbis",
     {"Birch Avenue", "Meadow", "x", "2", "2002", "", ""},
     "Birch Avenue - Meadow"},
    {"three.opus",
     "libopus",
     {"Cinder Road", "Harbour", "x", "3", "2003", "", ""},
     "Cinder Road - Harbour"},
    {"four.m4a",
     "aac",
     {"Dune Valley", "Quarry", "x", "4", "2004", "", "Lyrics of four\n"},
     "Dune Valley - Quarry"},
};

class OtherFormats : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!TaggedAudioToolsAvailable()) {
            GTEST_SKIP() << "ffmpeg or mutagen is not installed (scripts/setup.sh installs them)";
        }
        for (const Song& song : kSongs) {
            dir_.WriteFile(std::string("lyrics/") + song.LyricsName + ".txt", kFiltered);
            ASSERT_TRUE(MakeTaggedAudio(dir_.MakeFolder("music") + "/" + song.File, song.Codec,
                                        song.Fields));
        }
    }

    CliRunResult Scan(std::vector<std::string> extra) {
        std::vector<std::string> args = {"scan", dir_ / "music", "--cache", dir_ / "lyrics",
                                         "--json"};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunCliProcess(args);
    }

    TempDir dir_;
};

TEST_F(OtherFormats, ScanTakesThemOnlyWithAllFormatsAndMatchesTheirTagsWords) {
    const CliRunResult without = Scan({});
    ASSERT_EQ(without.Status, 0) << without.Err;
    const auto none = ParseJson(without.Out);
    ASSERT_TRUE(none.has_value()) << without.Out;
    EXPECT_EQ((*none)["summary"].String(), "No .mp3 files found");
    EXPECT_TRUE((*none)["rows"].Array().empty());

    const CliRunResult with = Scan({"--all-formats"});
    ASSERT_EQ(with.Status, 0) << with.Err;
    const auto json = ParseJson(with.Out);
    ASSERT_TRUE(json.has_value()) << with.Out;
    std::map<std::string, const JsonValue*> rows;
    for (const JsonValue& row : (*json)["rows"].Array()) {
        rows[row["mp3"].String()] = &row;
    }
    ASSERT_EQ(rows.size(), kSongs.size()) << with.Out;
    for (const Song& song : kSongs) {
        SCOPED_TRACE(song.File);
        const std::string path = dir_ / (std::string("music/") + song.File);
        ASSERT_EQ(rows.count(path), 1u);
        const JsonValue& row = *rows[path];
        EXPECT_EQ(row["lyricsName"].String(), song.LyricsName);
        EXPECT_EQ(row["tagged"].Bool(), !song.Fields.Lyrics.empty());
        EXPECT_FALSE(row["withoutId3"].Bool());
        // Safe to tag: no lyrics yet, filtered, matched by no other file.
        EXPECT_EQ(row["checked"].Bool(), song.Fields.Lyrics.empty());
    }
}

TEST_F(OtherFormats, ShowPrintsTheLyricsOfTheOwnFieldAndWhereTheyWere) {
    const std::map<std::string, std::string> places = {{"one.flac", "Vorbis comment LYRICS"},
                                                       {"four.m4a", "MP4 \xC2\xA9lyr"}};
    for (const Song& song : kSongs) {
        SCOPED_TRACE(song.File);
        const std::string path = dir_ / (std::string("music/") + song.File);
        const CliRunResult raw = RunCliProcess({"show", path, "--raw"});
        EXPECT_EQ(raw.Status, 0) << raw.Err;
        const CliRunResult shown = RunCliProcess({"show", path});
        if (song.Fields.Lyrics.empty()) {
            EXPECT_EQ(raw.Out, "No lyrics in this file's own tag.\n");
            EXPECT_EQ(shown.Out, raw.Out);
            continue;
        }
        EXPECT_EQ(raw.Out, song.Fields.Lyrics);
        EXPECT_TRUE(shown.Out.ends_with("Found in: " + places.at(song.File) + "\n")) << shown.Out;
        EXPECT_NE(shown.Out.find("Lyrics of"), std::string::npos) << shown.Out;
    }
}

}  // namespace
}  // namespace versemark::testing
