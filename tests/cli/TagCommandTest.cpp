// SPDX-License-Identifier: GPL-3.0-or-later
// The tag verb end to end: the bytes it writes, its log, its exit statuses.
#include <gtest/gtest.h>

#include <cstdint>
#include <regex>

#include "base/Companion.h"
#include "cli/CliRun.h"
#include "support/NativePath.h"
#include "support/ScopedEnv.h"
#include "support/TailBuilder.h"
#include "support/TempDir.h"

namespace versemark::testing {
namespace {

constexpr std::size_t kId3Size = 128;

std::string Digits(std::size_t value, std::size_t width) {
    return TailBuilder::Digits(value, width);
}

// The lyrics as they are stored for a file without the companion's footer: the
// text as read, CR LF, the credit line.
std::string PreparedWithoutFooter(const std::string& text) {
    return text + "\r\n" + std::string(companion::kCreditLineStart) +
           std::string(companion::kWebAddress) + std::string(companion::kCreditLineEnd);
}

// The middle of the journal entry that holds byte `at`: a cut there tears that
// entry, where a cut between two entries would look like a pass that was killed.
// An entry is a type byte, its payload's length (8 bytes, little-endian), the
// payload and an 8-byte checksum.
std::size_t MiddleOfEntryAt(const std::string& journal, std::size_t at) {
    constexpr std::size_t kNumberWidth = 8;
    constexpr std::size_t kOverhead = 1 + 2 * kNumberWidth;
    std::size_t begin = 0;
    while (begin + 1 + kNumberWidth <= journal.size()) {
        std::uint64_t length = 0;
        for (std::size_t i = 0; i < kNumberWidth; ++i) {
            length |= static_cast<std::uint64_t>(static_cast<unsigned char>(journal[begin + 1 + i]))
                      << (8 * i);
        }
        const std::size_t end = begin + kOverhead + static_cast<std::size_t>(length);
        if (end > at) {
            return begin + (end - begin) / 2;
        }
        begin = end;
    }
    return at;
}

// A fresh Lyrics3 v2.00 tag as tagging writes it: "IND" = 100, then "LYR".
std::string ExpectedTag(const std::string& prepared) {
    std::string tag = "LYRICSBEGIN";
    tag += "IND00003100";
    tag += "LYR" + Digits(prepared.size(), 5) + prepared;
    tag += Digits(tag.size(), 6);
    tag += "LYRICS200";
    return tag;
}

class TagCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const CliRunResult demo = RunCliProcess({"demo", dir_.Path()});
        ASSERT_EQ(demo.Status, 0) << demo.Err;
        music_ = SnapshotFiles(dir_ / "music");
        lyrics_ = SnapshotFiles(dir_ / "lyrics");
    }

    CliRunResult Tag(std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"tag", dir_ / "music", "--cache", dir_ / "lyrics"};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunCliProcess(args);
    }

    std::string Prepared(const std::string& lyricsFile) {
        return PreparedWithoutFooter(lyrics_.at(lyricsFile));
    }

    TempDir dir_;
    std::map<std::string, std::string> music_;
    std::map<std::string, std::string> lyrics_;
};

TEST_F(TagCommandTest, WritesTheTagInFrontOfTheId3BlockOfEveryCheckedFileAndNothingElse) {
    const CliRunResult tag = Tag();
    ASSERT_EQ(tag.Status, 0) << tag.Err << tag.Out;
    const auto after = SnapshotFiles(dir_ / "music");

    // A file without an ID3v1 block gets one made from the lyrics name.
    const std::string amber = "Amber Coast - Harbour Lights.mp3";
    EXPECT_EQ(after.at(amber),
              music_.at(amber) + ExpectedTag(Prepared("Amber Coast - Harbour Lights.txt")) +
                  TailBuilder::Id3v1Block("Harbour Lights", "Amber Coast", "", "    "));
    const std::string lumen = "Lumen - Don't Stop.mp3";
    EXPECT_EQ(after.at(lumen), music_.at(lumen) + ExpectedTag(Prepared("Don_t Stop - Lumen.txt")) +
                                   TailBuilder::Id3v1Block("Lumen", "Don't Stop", "", "    "));

    // A file with its own ID3v1 block keeps it, behind the new tag.
    for (const auto& [mp3, lyricsFile] : std::vector<std::pair<std::string, std::string>>{
             {"Birch Lane/Paper Moon.mp3", "Birch Lane - Paper Moon.txt"},
             {"Grey Wolves - Moon Song (Live).mp3", "Grey Wolves - Moon Song.txt"},
             {"Mixtape/Side A/Track 07.mp3", "Kite Runners - Blue Sky.txt"}}) {
        const std::string& old = music_.at(mp3);
        const std::string audio = old.substr(0, old.size() - kId3Size);
        const std::string id3 = old.substr(old.size() - kId3Size);
        EXPECT_EQ(after.at(mp3), audio + ExpectedTag(Prepared(lyricsFile)) + id3) << mp3;
    }

    // Unchecked rows and the file that matched nothing are left byte for byte.
    std::size_t changed = 0;
    for (const auto& [name, bytes] : after) {
        changed += bytes != music_.at(name) ? 1 : 0;
    }
    EXPECT_EQ(changed, 6u);
    EXPECT_EQ(after.at("Delta Nine - Glass House.mp3"), music_.at("Delta Nine - Glass House.mp3"));
    EXPECT_EQ(after.at("Harbor Kids - Summer.mp3"), music_.at("Harbor Kids - Summer.mp3"));
    EXPECT_EQ(SnapshotFiles(dir_ / "lyrics"), lyrics_) << "lyrics files are only read";
}

TEST_F(TagCommandTest, PrintsTheWindowsLogWithCrLfLineEnds) {
    const CliRunResult tag = Tag();
    ASSERT_EQ(tag.Status, 0) << tag.Err;
    const std::string music = dir_ / "music";
    // The pass's own order: the folder's files, then its subfolders'.
    const std::string expected =
        "File tagged..: " + music + NativePath("/Amber Coast - Harbour Lights.mp3") + "\r\n" +
        "File tagged..: " + music + NativePath("/Grey Wolves - Moon Song (Live).mp3") + "\r\n" +
        "File tagged..: " + music + NativePath("/Lumen - Don't Stop.mp3") + "\r\n" +
        "File tagged..: " + music + NativePath("/ZO\xC3\x8B VANCE - \xC3\x89LAN.mp3") + "\r\n" +
        "File tagged..: " + music + NativePath("/Birch Lane/Paper Moon.mp3") + "\r\n" +
        "File tagged..: " + music + NativePath("/Mixtape/Side A/Track 07.mp3") + "\r\n";
    EXPECT_EQ(tag.Out, expected);
    EXPECT_EQ(tag.Err, "Tagged 6 of 6 files; 0 failed\n");
}

TEST_F(TagCommandTest, ASecondRunFindsEveryFileTaggedAndChangesNothing) {
    ASSERT_EQ(Tag().Status, 0);
    const auto tagged = SnapshotFiles(dir_ / "music");
    const CliRunResult again = Tag();
    EXPECT_EQ(again.Status, 0) << again.Err;
    EXPECT_EQ(again.Out, "");
    EXPECT_NE(again.Err.find("Nothing tagged"), std::string::npos);
    EXPECT_EQ(SnapshotFiles(dir_ / "music"), tagged);

    // What the scan now says of a tagged file.
    const CliRunResult scan = RunCliProcess({"scan", dir_ / "music", "--cache", dir_ / "lyrics"});
    EXPECT_NE(scan.Out.find("[ ]  1T.F.  Amber Coast - Harbour Lights.mp3"), std::string::npos)
        << scan.Out;
    EXPECT_NE(scan.Out.find("Checked: 0\n"), std::string::npos);
}

TEST_F(TagCommandTest, DryRunListsTheCheckedRowsAndWritesNothing) {
    const CliRunResult dry = Tag({"--dry-run"});
    EXPECT_EQ(dry.Status, 0) << dry.Err;
    EXPECT_EQ(SnapshotFiles(dir_ / "music"), music_);
    EXPECT_NE(dry.Out.find("Would tag: " + (dir_ / "music") +
                           NativePath("/Amber Coast - Harbour Lights.mp3") +
                           "\n     with: " + (dir_ / "lyrics") +
                           NativePath("/Amber Coast - Harbour Lights.txt") + "\n"),
              std::string::npos)
        << dry.Out;
    EXPECT_EQ(dry.Out.find("Cinder Hall"), std::string::npos) << "an unchecked row is listed";
    EXPECT_NE(dry.Out.find("6 files would be tagged; nothing written.\n"), std::string::npos);
}

TEST(TagExitStatusTest, OneWhenAnyLineIsAnErrorAndTheOtherFilesAreStillTagged) {
    const TempDir dir;
    const std::string filtered = "Words\r\n\r\n[x] filter used\r\n";
    dir.WriteFile("lyrics/Tiny Band - Short Song.txt", filtered);
    dir.WriteFile("lyrics/Good Band - Fine Song.txt", filtered);
    // No MPEG audio (and too short to hold an ID3v1 block): the pass checks it,
    // tagging refuses it.
    const std::string tiny(60, 'x');
    const std::string tinyPath = dir.WriteFile("music/Tiny Band - Short Song.mp3", tiny);
    const std::string good = TailBuilder().audio(2000).bytes();
    const std::string goodPath = dir.WriteFile("music/Good Band - Fine Song.mp3", good);

    const CliRunResult tag = RunCliProcess({"tag", dir / "music", "--cache", dir / "lyrics"});
    EXPECT_EQ(tag.Status, 1) << tag.Err;
    EXPECT_NE(tag.Out.find("Error tagging: " + tinyPath + "\r\n"), std::string::npos) << tag.Out;
    EXPECT_NE(tag.Out.find("File tagged..: " + goodPath + "\r\n"), std::string::npos);
    EXPECT_EQ(tag.Err, "versemark-cli tag: " + tinyPath +
                           ": not an MPEG audio file\nTagged 1 of 2 files; 1 failed\n");
    EXPECT_EQ(ReadFileBytes(tinyPath), tiny);
    EXPECT_EQ(ReadFileBytes(goodPath),
              good + ExpectedTag(PreparedWithoutFooter(filtered)) +
                  TailBuilder::Id3v1Block("Fine Song", "Good Band", "", "    "));
}

// The status comes from the results, not from the log's text: a name that
// holds a line break and the error prefix does not make a good run fail.
TEST(TagExitStatusTest, ANameLookingLikeAnErrorLineDoesNotFailTheRun) {
    const TempDir dir;
    dir.WriteFile("lyrics/Good Band - Fine Song.txt", "Words\r\n\r\n[x] filter used\r\n");
    dir.WriteFile("music/Good Band - Fine Song\r\nError tagging: x.mp3",
                  TailBuilder().audio(2000).bytes());
    const CliRunResult tag = RunCliProcess({"tag", dir / "music", "--cache", dir / "lyrics"});
    EXPECT_EQ(tag.Status, 0) << tag.Err;
    EXPECT_EQ(tag.Out.rfind("File tagged..: ", 0), 0u) << tag.Out;
    // Nor does it forge a line of the log: it stays one line, its CR LF escaped.
    EXPECT_EQ(tag.Out, "File tagged..: " + (dir / "music") +
                           NativePath("/Good Band - Fine Song\\x0D\\x0AError tagging: x.mp3") +
                           "\r\n");
}

// undo takes back the most recent pass: every file gets its old bytes; --list
// names the pass with its folder and file count. The same with the ID3v2 frame,
// where each file is written whole as a copy, and with the lyrics file beside
// each song, which undo removes again.
TEST_F(TagCommandTest, UndoGivesBackTheFilesOfTheLastPass) {
    const EnvChanges state = {{kStateFolderVariable, dir_ / "state"}};
    for (const std::string option : {"", "--also-id3v2", "--beside"}) {
        std::vector<std::string> args = {"tag", dir_ / "music", "--cache", dir_ / "lyrics"};
        if (!option.empty()) {
            args.push_back(option);
        }
        const CliRunResult tag = RunCliProcess(args, state);
        ASSERT_EQ(tag.Status, 0) << tag.Err;
        ASSERT_NE(SnapshotFiles(dir_ / "music"), music_);
        const bool beside = option == "--beside";
        if (beside) {
            // Beside each song tagged: its lyrics as stored, in UTF-8. Stored in
            // Windows-1252, the UTF-8 lyrics file comes back as it was; the no-break
            // space of the other, byte A0 there, is C2 A0 here.
            EXPECT_EQ(ReadFileBytes(dir_ / "music/ZO\xC3\x8B VANCE - \xC3\x89LAN.txt"),
                      Prepared("Zo\xC3\xAB Vance - \xC3\x89lan.txt"));
            std::string paperMoon = Prepared("Birch Lane - Paper Moon.txt");
            for (std::size_t at = 0; (at = paperMoon.find('\xA0', at)) != std::string::npos;
                 at += 2) {
                paperMoon.insert(at, 1, '\xC2');
            }
            EXPECT_EQ(ReadFileBytes(dir_ / "music/Birch Lane/Paper Moon.txt"), paperMoon);
            EXPECT_EQ(tag.Out.find("Lyrics file not written"), std::string::npos) << tag.Out;
        }

        const CliRunResult list = RunCliProcess({"undo", "--list"}, state);
        EXPECT_EQ(list.Status, 0) << list.Err;
        EXPECT_NE(
            list.Out.find((beside ? "  12 files  " : "  6 files  ") + (dir_ / "music") + "\n"),
            std::string::npos)
            << list.Out;
        const CliRunResult undo = RunCliProcess({"undo"}, state);
        EXPECT_EQ(undo.Status, 0) << undo.Err;
        EXPECT_EQ(SnapshotFiles(dir_ / "music"), music_) << option;
        // The undo's own log: a line per file given back, in the tagging log's form.
        EXPECT_EQ(undo.Out.find("File tagged..: "), std::string::npos) << undo.Out;
        for (const std::string name :
             {"/Amber Coast - Harbour Lights.mp3", "/Birch Lane/Paper Moon.mp3"}) {
            EXPECT_NE(
                undo.Out.find("File restored..: " + (dir_ / "music") + NativePath(name) + "\r\n"),
                std::string::npos)
                << undo.Out;
        }
        EXPECT_EQ(RunCliProcess({"undo"}, state).Status, 1);  // nothing left to undo
        EXPECT_EQ(RunCliProcess({"recover"}, state).Status, 0);
    }
    // A journal cut in half, or with one bit flipped: recover, undo --list and
    // undo exit 1 naming the journal, and undo still gives back what it proves.
    for (const bool flip : {false, true}) {
        ASSERT_EQ(RunCliProcess({"tag", dir_ / "music", "--cache", dir_ / "lyrics"}, state).Status,
                  0);
        auto journals = SnapshotFiles(dir_ / "state");
        std::erase_if(journals, [](const auto& file) { return !file.first.ends_with(".journal"); });
        ASSERT_FALSE(journals.empty());
        const auto newest = std::prev(journals.end());  // the names sort by time
        std::string bytes = newest->second;
        if (flip) {
            bytes[bytes.size() / 2] ^= 0x10;
        } else {
            bytes.resize(MiddleOfEntryAt(bytes, bytes.size() / 2));
        }
        const std::string journal = dir_.WriteFile("state/" + newest->first, bytes);
        const std::string named = "journal " + journal + ": ";
        const CliRunResult recover = RunCliProcess({"recover"}, state);
        EXPECT_EQ(recover.Status, 1);
        EXPECT_NE(recover.Err.find("Could not use all of the journal " + journal + ": "),
                  std::string::npos)
            << recover.Err;
        const CliRunResult list = RunCliProcess({"undo", "--list"}, state);
        EXPECT_EQ(list.Status, 1);
        EXPECT_NE(list.Err.find("versemark-cli undo: " + named), std::string::npos) << list.Err;
        EXPECT_NE(list.Out.find("  (journal damaged)\n"), std::string::npos) << list.Out;
        const CliRunResult undo = RunCliProcess({"undo"}, state);
        EXPECT_EQ(undo.Status, 1);
        EXPECT_NE(undo.Err.find("versemark-cli undo: " + named), std::string::npos) << undo.Err;
        EXPECT_NE(undo.Out.find("File restored..: "), std::string::npos) << undo.Out;
        EXPECT_EQ(undo.Out.find("Error restoring: "), std::string::npos) << undo.Out;
        for (const auto& [name, original] : music_) {
            dir_.WriteFile("music/" + name, original);  // the next round starts untagged
        }
    }
}

TEST(TagExitStatusTest, TwoForAWrongCommandLineWithTheReasonOnStandardError) {
    const TempDir dir;
    dir.MakeFolder("music");
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"retag", dir.Path()},
        {"tag"},
        {"tag", dir / "music", dir / "music"},
        {"tag", dir / "music", "--cache"},
        {"tag", dir / "music", "--json"},
        {"tag", dir / "missing"},
        {"tag", dir / "music", "--cache", dir / "missing"},
        {"scan", dir / "music", "--dry-run"},
        {"show"},
        {"prepare", dir / "missing.txt"},
        {"demo"},
        {"config", "extra"},
        {"--version", "extra"},
        {"config", "--version"},
        {"-V"},
        {"tag", dir / "music", "--\x1B[2J"},  // repeated with the escape sequence escaped
        {"\x1B]0;title\x07"},
    };
    for (const auto& args : wrong) {
        const CliRunResult run = RunCliProcess(args);
        std::string shown;
        for (const std::string& arg : args) {
            shown += arg + " ";
        }
        EXPECT_EQ(run.Status, 2) << shown;
        EXPECT_FALSE(run.Err.empty()) << shown;
        EXPECT_TRUE(run.Out.empty()) << shown << run.Out;
        EXPECT_EQ(run.Err.find_first_of("\x07\x1B"), std::string::npos) << run.Err;
    }
}

TEST(TagExitStatusTest, HelpAndVersionGoToStandardOutputWithStatusZero) {
    const CliRunResult version = RunCliProcess({"--version"});
    EXPECT_EQ(version.Status, 0);
    EXPECT_TRUE(std::regex_match(
        version.Out,
        std::regex("versemark-cli [0-9]+\\.[0-9]+\\.[0-9]+\n[\\s\\S]*GPL-3\\.0-or-later[\\s\\S]*")))
        << version.Out;
    EXPECT_TRUE(version.Err.empty()) << version.Err;

    const CliRunResult overview = RunCliProcess({"--help"});
    EXPECT_EQ(overview.Status, 0);
    for (const char* verb :
         {"config", "scan", "tag", "show", "prepare", "demo", "recover", "undo"}) {
        EXPECT_NE(overview.Out.find(std::string("\n  ") + verb + " "), std::string::npos) << verb;
        const CliRunResult help = RunCliProcess({verb, "--help"});
        EXPECT_EQ(help.Status, 0) << verb;
        EXPECT_EQ(help.Out.rfind(std::string("Usage: versemark-cli ") + verb, 0), 0u) << help.Out;
    }
}

}  // namespace
}  // namespace versemark::testing
