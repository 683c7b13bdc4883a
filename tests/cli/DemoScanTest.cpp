// SPDX-License-Identifier: GPL-3.0-or-later
// The demo library scanned end to end: every row, mark and check the library was
// made to show, through the real executable.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "base/FileNames.h"
#include "cli/CliRun.h"
#include "cli/MiniJson.h"
#include "support/NativePath.h"
#include "support/TempDir.h"

namespace versemark::testing {
namespace {

struct ExpectedRow {
    std::string LyricsFile;  // file name in the cache
    std::string LyricsName;
    std::vector<std::int64_t> Candidates;
    bool Checked;
    int Mp3Icon;
    bool Tagged;
    bool WithoutId3;
    int LyricsIcon;
    bool Shared;
};

// Lyrics positions follow the cache's name order: Amber 0, Birch 1, Cinder 2,
// Delta 3, Don_t 4, Ember 5, Fern 6, Grey Wolves - Moon Song 7, Grey Wolves - Moon 8,
// Harbor 9, Juniper 10, Kite 11, Zoë 12 (Readme and notes have no hyphen).
const std::map<std::string, ExpectedRow>& DemoRows() {
    static const std::map<std::string, ExpectedRow> rows = {
        {"Amber Coast - Harbour Lights.mp3",
         {"Amber Coast - Harbour Lights.txt",
          "Amber Coast - Harbour Lights",
          {0},
          true,
          5,
          false,
          true,
          1,
          false}},
        {NativePath("Birch Lane/Paper Moon.mp3"),
         {"Birch Lane - Paper Moon.txt",
          "Birch Lane - Paper Moon",
          {1},
          true,
          5,
          false,
          false,
          1,
          false}},
        {"Cinder Hall - Slow River.mp3",
         {"Cinder Hall - Slow River.txt",
          "Cinder Hall - Slow River",
          {2},
          false,
          5,
          false,
          false,
          3,
          false}},
        {"Delta Nine - Glass House.mp3",
         {"Delta Nine - Glass House.txt",
          "Delta Nine - Glass House",
          {3},
          false,
          5,
          true,
          false,
          1,
          false}},
        {"Ember Falls - Night Train.mp3",
         {"Ember Falls - Night Train.txt",
          "Ember Falls - Night Train",
          {5},
          false,
          5,
          true,
          false,
          1,
          false}},
        {"Fern Gully Band - Open Road.mp3",
         {"Fern Gully Band - Open Road.txt",
          "Fern Gully Band - Open Road",
          {6},
          false,
          4,
          true,
          true,
          1,
          false}},
        {"Grey Wolves - Moon Song (Live).mp3",
         {"Grey Wolves - Moon Song.txt",
          "Grey Wolves - Moon Song",
          {7, 8},
          true,
          2,
          false,
          false,
          1,
          false}},
        {"Harbor Kids - Summer.mp3",
         {"Harbor Kids - Summer.txt", "Harbor Kids - Summer", {9}, false, 5, false, true, 1, true}},
        {NativePath("Remixes/Harbor Kids - Summer (Remix).mp3"),
         {"Harbor Kids - Summer.txt",
          "Harbor Kids - Summer",
          {9},
          false,
          5,
          false,
          false,
          1,
          true}},
        {"Juniper - Falling Snow.mp3",
         {"Juniper - Falling Snow.txt",
          "Juniper - Falling Snow",
          {10},
          false,
          5,
          false,
          true,
          3,
          false}},
        {"Lumen - Don't Stop.mp3",
         {"Don_t Stop - Lumen.txt", "Don't Stop - Lumen", {4}, true, 5, false, true, 1, false}},
        {NativePath("Mixtape/Side A/Track 07.mp3"),
         {"Kite Runners - Blue Sky.txt",
          "Kite Runners - Blue Sky",
          {11},
          true,
          5,
          false,
          false,
          1,
          false}},
        {"ZO\xC3\x8B VANCE - \xC3\x89LAN.mp3",
         {"Zo\xC3\xAB Vance - \xC3\x89lan.txt",
          "Zo\xC3\xAB Vance - \xC3\x89lan",
          {12},
          true,
          5,
          false,
          true,
          1,
          false}},
    };
    return rows;
}

class DemoScanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const CliRunResult demo = RunCliProcess({"demo", dir_.Path()});
        ASSERT_EQ(demo.Status, 0) << demo.Err;
    }

    std::string Music() const { return dir_ / "music"; }
    std::string Lyrics() const { return dir_ / "lyrics"; }

    JsonValue ScanJson(std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"scan", Music(), "--cache", Lyrics(), "--json"};
        args.insert(args.end(), extra.begin(), extra.end());
        const CliRunResult scan = RunCliProcess(args);
        EXPECT_EQ(scan.Status, 0) << scan.Err;
        const auto json = ParseJson(scan.Out);
        EXPECT_TRUE(json.has_value()) << scan.Out;
        return json.value_or(JsonValue{JsonObject{}});
    }

    TempDir dir_;
};

TEST_F(DemoScanTest, JsonRowsCarryEveryMarkTheLibraryWasMadeToShow) {
    const JsonValue json = ScanJson();
    ASSERT_TRUE(json.IsObject());
    EXPECT_EQ(json["processed"].Int(), 14);
    EXPECT_EQ(json["summary"].String(), "Matches: 13 / 14 (92.8%)");

    const JsonArray& rows = json["rows"].Array();
    ASSERT_EQ(rows.size(), DemoRows().size());
    std::set<std::string> seen;
    for (const JsonValue& row : rows) {
        const std::string mp3 = row["mp3"].String();
        ASSERT_EQ(mp3.rfind(Music() + kPathSeparator, 0), 0u) << mp3;
        const std::string relative = mp3.substr(Music().size() + 1);
        const auto expected = DemoRows().find(relative);
        ASSERT_NE(expected, DemoRows().end()) << "unexpected row " << relative;
        EXPECT_TRUE(seen.insert(relative).second) << "row twice: " << relative;
        const ExpectedRow& want = expected->second;
        SCOPED_TRACE(relative);
        EXPECT_EQ(row["lyrics"].String(), Lyrics() + kPathSeparator + want.LyricsFile);
        EXPECT_EQ(row["lyricsName"].String(), want.LyricsName);
        std::vector<std::int64_t> candidates;
        for (const JsonValue& c : row["candidates"].Array()) {
            candidates.push_back(c.Int());
        }
        EXPECT_EQ(candidates, want.Candidates);
        EXPECT_EQ(row["checked"].Bool(), want.Checked);
        EXPECT_EQ(row["mp3Icon"].Int(), want.Mp3Icon);
        EXPECT_EQ(row["tagged"].Bool(), want.Tagged);
        EXPECT_EQ(row["withoutId3"].Bool(), want.WithoutId3);
        EXPECT_EQ(row["lyricsIcon"].Int(), want.LyricsIcon);
        EXPECT_EQ(row["shared"].Bool(), want.Shared);
    }
}

TEST_F(DemoScanTest, RowsOfTheFolderItselfComeBeforeRowsOfItsSubfolders) {
    const JsonArray rows = ScanJson()["rows"].Array();
    bool inSubfolder = false;
    for (const JsonValue& row : rows) {
        const std::string relative = row["mp3"].String().substr(Music().size() + 1);
        const bool below = relative.find(kPathSeparator) != std::string::npos;
        EXPECT_FALSE(inSubfolder && !below) << relative << " after a subfolder's row";
        inSubfolder = inSubfolder || below;
    }
}

TEST_F(DemoScanTest, WithoutSubfoldersTheSharedLyricsBelongToOneFileAndItIsChecked) {
    const JsonValue json = ScanJson({"--no-subfolders"});
    EXPECT_EQ(json["processed"].Int(), 11);
    EXPECT_EQ(json["summary"].String(), "Matches: 10 / 11 (90.9%)");
    bool found = false;
    for (const JsonValue& row : json["rows"].Array()) {
        EXPECT_EQ(row["mp3"].String().find(kPathSeparator, Music().size() + 1), std::string::npos)
            << "subfolder searched: " << row["mp3"].String();
        if (row["mp3"].String() == Music() + NativePath("/Harbor Kids - Summer.mp3")) {
            found = true;
            EXPECT_FALSE(row["shared"].Bool());
            EXPECT_TRUE(row["checked"].Bool());
        }
    }
    EXPECT_TRUE(found);
}

TEST_F(DemoScanTest, TableShowsCheckMarksMarksAndTheSummary) {
    const CliRunResult scan = RunCliProcess({"scan", Music(), "--cache", Lyrics()});
    ASSERT_EQ(scan.Status, 0) << scan.Err;
    // One line per row, each row's marks as the legend spells them.
    EXPECT_NE(scan.Out.find("[x]  1.IF.  Amber Coast - Harbour Lights.mp3"), std::string::npos)
        << scan.Out;
    EXPECT_NE(scan.Out.find("[ ]  NTIF.  Fern Gully Band - Open Road.mp3"), std::string::npos);
    EXPECT_NE(scan.Out.find("[x]  A..F.  Grey Wolves - Moon Song (Live).mp3"), std::string::npos);
    EXPECT_NE(
        scan.Out.find("[ ]  1..FS  " + NativePath("Remixes/Harbor Kids - Summer (Remix).mp3")),
        std::string::npos);
    EXPECT_NE(scan.Out.find("[ ]  1..U.  Cinder Hall - Slow River.mp3"), std::string::npos);
    EXPECT_NE(scan.Out.find("  Don't Stop - Lumen\n"), std::string::npos);
    EXPECT_NE(scan.Out.find("\nMatches: 13 / 14 (92.8%)\nChecked: 6\n"), std::string::npos);
    std::size_t checkedLines = 0;
    for (std::size_t at = scan.Out.find("[x]"); at != std::string::npos;
         at = scan.Out.find("[x]", at + 1)) {
        ++checkedLines;
    }
    EXPECT_EQ(checkedLines, 6u);
    EXPECT_TRUE(scan.Err.empty()) << "no progress line when stderr is not a terminal";
}

TEST_F(DemoScanTest, ConfigFindsTheDemoCompanionThroughItsRegistryAndSettings) {
    const CliRunResult config =
        RunCliProcess({"config"}, {{"WINEPREFIX", std::string(dir_ / "wine")}});
    ASSERT_EQ(config.Status, 0) << config.Err;
    EXPECT_NE(config.Out.find("Songleaf folder:      " + (dir_ / "songleaf") + "/\n"),
              std::string::npos)
        << config.Out;
    EXPECT_NE(config.Out.find("Lyrics cache folder:  " + Lyrics() + "\n"), std::string::npos);
    EXPECT_NE(config.Out.find("Single folder:        yes\n"), std::string::npos);
    EXPECT_NE(config.Out.find("Lyrics files:         13\n"), std::string::npos);
}

TEST_F(DemoScanTest, ScanWithoutCacheOptionUsesTheCompanionsCache) {
    const CliRunResult scan =
        RunCliProcess({"scan", Music(), "--json"}, {{"WINEPREFIX", std::string(dir_ / "wine")}});
    ASSERT_EQ(scan.Status, 0) << scan.Err;
    const auto json = ParseJson(scan.Out);
    ASSERT_TRUE(json.has_value());
    EXPECT_EQ((*json)["summary"].String(), "Matches: 13 / 14 (92.8%)");
}

TEST_F(DemoScanTest, ConfigWithCacheOptionCountsThatCache) {
    const CliRunResult config = RunCliProcess({"config", "--cache", Lyrics()});
    ASSERT_EQ(config.Status, 0) << config.Err;
    EXPECT_NE(config.Out.find("(not looked for: --cache given)"), std::string::npos);
    EXPECT_NE(config.Out.find("Lyrics files:         13\n"), std::string::npos);
    // The cache has no subfolders, so it counts as one flat folder.
    EXPECT_NE(config.Out.find("Single folder:        yes\n"), std::string::npos);
}

TEST_F(DemoScanTest, DemoRefusesToWriteOverAnExistingLibrary) {
    const auto before = SnapshotFiles(dir_.Path());
    const CliRunResult again = RunCliProcess({"demo", dir_.Path()});
    EXPECT_EQ(again.Status, 1);
    EXPECT_NE(again.Err.find("already exists"), std::string::npos) << again.Err;
    EXPECT_TRUE(again.Out.empty());
    EXPECT_EQ(SnapshotFiles(dir_.Path()), before);
}

TEST(DemoLibraryTest, FilesHaveSilentAudioFramesAndTheTailsTheyWereMadeWith) {
    const TempDir dir;
    const CliRunResult demo = RunCliProcess({"demo", dir.Path()});
    ASSERT_EQ(demo.Status, 0) << demo.Err;
    // The commands in the system's own terms; a Wine prefix only where the
    // registry is read from one.
    const bool windows = kPathSeparator == '\\';
    const std::string program =
        windows ? "versemark.exe" : "WINEPREFIX=\"" + (dir / "wine") + "\" versemark";
    EXPECT_NE(
        demo.Out.find(program + " \"--/5nf\" \"--/fol " + (dir / "music") + "\" \"--/sub\"\n"),
        std::string::npos)
        << demo.Out;
    EXPECT_NE(
        demo.Out.find(std::string(windows ? "versemark-cli.exe" : "versemark-cli") + " scan \"" +
                      (dir / "music") + "\" --cache \"" + (dir / "lyrics") + "\"\n"),
        std::string::npos);
    EXPECT_EQ(std::filesystem::exists(dir / "wine/system.reg"), !windows);
    EXPECT_EQ(demo.Out.find("WINEPREFIX") == std::string::npos, windows);

    const auto files = SnapshotFiles(dir / "music");
    EXPECT_GE(files.size(), 12u);
    EXPECT_LE(files.size(), 16u);
    for (const auto& [name, bytes] : files) {
        // An MPEG-1 Layer III frame header at the very start.
        ASSERT_GE(bytes.size(), 4u) << name;
        EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF) << name;
        EXPECT_EQ(static_cast<unsigned char>(bytes[1]) & 0xFE, 0xFA) << name;
    }
    const std::string& v2 = files.at("Delta Nine - Glass House.mp3");
    EXPECT_EQ(v2.substr(v2.size() - 128 - 9, 9), "LYRICS200");
    const std::string& v1 = files.at("Ember Falls - Night Train.mp3");
    EXPECT_EQ(v1.substr(v1.size() - 128 - 9, 9), "LYRICSEND");
    const std::string& newer = files.at("Fern Gully Band - Open Road.mp3");
    EXPECT_EQ(newer.substr(newer.size() - 9), "LYRICS300");

    // The companion's forms: CR LF line ends, a footer, a no-break space.
    const auto lyrics = SnapshotFiles(dir / "lyrics");
    EXPECT_NE(
        lyrics.at("Cinder Hall - Slow River.txt").find("----------------\r\n* Downloaded from:"),
        std::string::npos);
    EXPECT_NE(lyrics.at("Birch Lane - Paper Moon.txt").find('\xA0'), std::string::npos);
    for (const auto& [name, text] : lyrics) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << name << ": bare LF at " << i;
            }
        }
    }
}

}  // namespace
}  // namespace versemark::testing
