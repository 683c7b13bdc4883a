// SPDX-License-Identifier: GPL-3.0-or-later
// How names reach the terminal and the JSON document: UTF-8 kept, Windows-1252
// converted, JSON escaped; and how the verbs read their arguments.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "cli/CliArguments.h"
#include "cli/CliRun.h"
#include "cli/DisplayText.h"
#include "cli/JsonText.h"
#include "cli/MiniJson.h"
#include "cli/PassTexts.h"
#include "cli/ProgressLine.h"
#include "cli/ScanReport.h"
#include "cli/ShellQuote.h"
#include "platform/CodePage.h"
#include "support/NativePath.h"
#include "support/TailBuilder.h"
#include "support/TempDir.h"

namespace versemark::testing {
namespace {

using cli::DisplayPath;
using cli::JsonString;

TEST(DisplayTextTest, PathsAreConvertedComponentByComponent) {
    EXPECT_EQ(DisplayPath(NativePath("/m\xC3\xBAsica/Caf\xE9.mp3")),
              NativePath("/m\xC3\xBAsica/Caf\xC3\xA9.mp3"));
    // Each component on its own: a Windows-1252 folder before a UTF-8 file name.
    EXPECT_EQ(DisplayPath(NativePath("/Caf\xE9/m\xC3\xBAsica.mp3")),
              NativePath("/Caf\xC3\xA9/m\xC3\xBAsica.mp3"));
    EXPECT_EQ(DisplayPath(NativePath("//a/")), NativePath("//a/"));
    // Control characters as \xHH: C0 bytes, DEL, and the C1 controls U+0080 to
    // U+009F in their UTF-8 bytes, whether the name holds them (C2 9B, the CSI)
    // or the Windows-1252 reading makes them (0x9D, a byte the code page leaves
    // undefined).
    EXPECT_EQ(DisplayPath(NativePath("/a\x1B[2J/b\r\n\x7F.mp3")),
              NativePath("/a\\x1B[2J/b\\x0D\\x0A\\x7F.mp3"));
    EXPECT_EQ(DisplayPath(NativePath("/\xC2\x9B[1m/\xC3\xA9.mp3")),
              NativePath("/\\xC2\\x9B[1m/\xC3\xA9.mp3"));
    EXPECT_EQ(DisplayPath(NativePath("/Caf\xE9\x9D.mp3")),
              NativePath("/Caf\xC3\xA9\\xC2\\x9D.mp3"));
    EXPECT_EQ(cli::DisplayName(std::string("\0\x1F\xC2\xA0", 4)), "\\x00\\x1F\xC2\xA0");
}

TEST(DisplayTextTest, TerminalLyricsLoseNulPaddingAndEndWithALineEnd) {
    EXPECT_EQ(cli::LyricsForTerminal(std::string("ab\0\0", 4)), "ab\r\n");
    EXPECT_EQ(cli::LyricsForTerminal("ab\r\n"), "ab\r\n");
    EXPECT_EQ(cli::LyricsForTerminal(""), "");
    EXPECT_EQ(cli::DisplayWidth("Zo\xC3\xAB"), 3u);
    EXPECT_EQ(cli::DisplayWidth("e\xCC\x81"), 1u);          // e and a combining acute
    EXPECT_EQ(cli::DisplayWidth("o\xCD\xAF\xCD\xB0"), 2u);  // the last mark, then a letter
    EXPECT_EQ(cli::DisplayWidth("a\xE9z"), 3u);             // a stray byte takes a column
}

TEST(JsonStringTest, EscapesQuotesBackslashesAndEveryControlCharacter) {
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString("\t\r\n"), "\"\\u0009\\u000d\\u000a\"");
    EXPECT_EQ(JsonString(std::string("\0\x1F", 2)), "\"\\u0000\\u001f\"");
    // DEL and the C1 controls too, by their code points.
    EXPECT_EQ(JsonString("/ \x7F \xC3\xA9 \xC2\x9B \xC2\xA0"),
              "\"/ \\u007f \xC3\xA9 \\u009b \xC2\xA0\"");
    for (int c = 0; c < 0x20; ++c) {
        const auto parsed = ParseJson(JsonString(std::string(1, static_cast<char>(c))));
        ASSERT_TRUE(parsed.has_value()) << c;
        EXPECT_EQ(parsed->String(), std::string(1, static_cast<char>(c)));
    }
    const auto c1 = ParseJson(JsonString("\x7F\xC2\x80\xC2\x9F"));
    ASSERT_TRUE(c1.has_value());
    EXPECT_EQ(c1->String(), "\x7F\xC2\x80\xC2\x9F");
}

TEST(ScanJsonTest, OddNamesComeOutAsValidJsonWithTheirBytesShownAsWindows1252) {
    const TempDir dir;
    const std::string filtered = "la la\r\n[x] filter used\r\n";
    // A quote, a backslash and a tab in the names; and names in Windows-1252.
    const std::string odd = "Quote \"Band\" - Back\\slash\tTab";
    const std::string latin = "Caf\xE9 Noir - Cr\xE8me \x80uro";
    // A line break and a terminal's escape sequence in names.
    const std::string crlf = "Carriage\r\nReturn - Alpha";
    const std::string esc = "Escape\x1B[31mRed - Omega";
    for (const std::string& name : {odd, latin, crlf, esc}) {
        dir.WriteFile("lyrics/" + name + ".txt", filtered);
        dir.WriteFile("music/" + name + ".mp3", TailBuilder().audio(600).bytes());
    }

    const CliRunResult scan =
        RunCliProcess({"scan", dir / "music", "--cache", dir / "lyrics", "--json"});
    ASSERT_EQ(scan.Status, 0) << scan.Err;
    EXPECT_TRUE(IsValidUtf8(scan.Out));
    EXPECT_NE(scan.Out.find("Back\\\\slash\\u0009Tab"), std::string::npos) << scan.Out;
    const auto json = ParseJson(scan.Out);
    ASSERT_TRUE(json.has_value()) << scan.Out;
    EXPECT_EQ(scan.Out.find_first_of("\r\x1B"), std::string::npos) << "raw in the JSON";
    const JsonArray& rows = (*json)["rows"].Array();
    ASSERT_EQ(rows.size(), 4u);
    std::set<std::string> names;
    std::set<std::string> mp3s;
    for (const JsonValue& row : rows) {
        names.insert(row["lyricsName"].String());
        mp3s.insert(row["mp3"].String());
        EXPECT_TRUE(row["checked"].Bool());
    }
    const std::string latinShown = "Caf\xC3\xA9 Noir - Cr\xC3\xA8me \xE2\x82\xACuro";
    EXPECT_EQ(names, (std::set<std::string>{odd, latinShown, crlf, esc}));
    EXPECT_EQ(mp3s, (std::set<std::string>{
                        dir / ("music/" + odd + ".mp3"), dir / ("music/" + latinShown + ".mp3"),
                        dir / ("music/" + crlf + ".mp3"), dir / ("music/" + esc + ".mp3")}));

    // On a terminal control characters are \xHH, with upper-case hex digits.
    const std::string crlfShown = "Carriage\\x0D\\x0AReturn - Alpha";
    const std::string escShown = "Escape\\x1B[31mRed - Omega";
    const CliRunResult table = RunCliProcess({"scan", dir / "music", "--cache", dir / "lyrics"});
    EXPECT_NE(table.Out.find(latinShown + ".mp3"), std::string::npos) << table.Out;
    EXPECT_NE(table.Out.find("Back\\slash\\x09Tab.mp3"), std::string::npos) << table.Out;
    EXPECT_NE(table.Out.find(crlfShown + ".mp3"), std::string::npos) << table.Out;
    EXPECT_NE(table.Out.find(escShown + ".mp3 "), std::string::npos) << table.Out;
    EXPECT_NE(table.Out.find("  " + escShown + "\n"), std::string::npos) << "lyrics column";
    EXPECT_EQ(table.Out.find_first_of("\t\r\x1B"), std::string::npos) << table.Out;
    EXPECT_TRUE(IsValidUtf8(table.Out));

    const CliRunResult dry =
        RunCliProcess({"tag", dir / "music", "--cache", dir / "lyrics", "--dry-run"});
    EXPECT_NE(dry.Out.find("Would tag: " + (dir / "music/") + escShown + ".mp3\n"),
              std::string::npos)
        << dry.Out;
    EXPECT_EQ(dry.Out.find_first_of("\t\r\x1B"), std::string::npos) << dry.Out;

    // The log keeps one CR LF line per file: a name cannot end its line early.
    const CliRunResult tag = RunCliProcess({"tag", dir / "music", "--cache", dir / "lyrics"});
    EXPECT_EQ(tag.Status, 0) << tag.Err;
    EXPECT_NE(tag.Out.find("File tagged..: " + (dir / "music/") + crlfShown + ".mp3\r\n"),
              std::string::npos)
        << tag.Out;
    EXPECT_NE(tag.Out.find("File tagged..: " + (dir / "music/") + escShown + ".mp3\r\n"),
              std::string::npos);
    std::size_t lineEnds = 0;
    for (std::size_t at = tag.Out.find('\r'); at != std::string::npos;
         at = tag.Out.find('\r', at + 1)) {
        EXPECT_EQ(tag.Out.compare(at, 2, "\r\n"), 0) << "a CR alone";
        ++lineEnds;
    }
    EXPECT_EQ(lineEnds, 4u) << tag.Out;
    EXPECT_EQ(tag.Out.find('\x1B'), std::string::npos) << tag.Out;
}

TEST(ScanJsonTest, WordsOutsideAsciiMatchAcrossTheTwoEncodings) {
    const TempDir dir;
    dir.WriteFile("lyrics/Bj\xC3\xB6rk - J\xC3\xB3ga.txt", "x");  // UTF-8 name
    dir.WriteFile("lyrics/BEYONC\xC9 - HALO.txt", "x");           // Windows-1252 name
    // Windows-1252 in the ID3v1 block; UTF-8 in the path.
    dir.WriteFile("music/Homogenic/01.mp3",
                  TailBuilder().audio(600).id3v1("J\xF3ga", "Bj\xF6rk").bytes());
    dir.WriteFile("music/Beyonc\xC3\xA9 - Halo.mp3", TailBuilder().audio(600).bytes());
    const CliRunResult scan =
        RunCliProcess({"scan", dir / "music", "--cache", dir / "lyrics", "--json"});
    ASSERT_EQ(scan.Status, 0) << scan.Err;
    const auto json = ParseJson(scan.Out);
    ASSERT_TRUE(json.has_value()) << scan.Out;
    std::map<std::string, std::string> lyricsOf;
    for (const JsonValue& row : (*json)["rows"].Array()) {
        lyricsOf[row["mp3"].String()] = row["lyricsName"].String();
    }
    EXPECT_EQ(lyricsOf, (std::map<std::string, std::string>{
                            {dir / "music/Homogenic/01.mp3", "Bj\xC3\xB6rk - J\xC3\xB3ga"},
                            {dir / "music/Beyonc\xC3\xA9 - Halo.mp3", "BEYONC\xC3\x89 - HALO"}}));
}

TEST(ScanJsonTest, AnEmptyFolderGivesAnEmptyRowList) {
    const TempDir dir;
    dir.MakeFolder("music");
    dir.MakeFolder("lyrics");
    const CliRunResult scan =
        RunCliProcess({"scan", dir / "music", "--cache", dir / "lyrics", "--json"});
    ASSERT_EQ(scan.Status, 0) << scan.Err;
    const auto json = ParseJson(scan.Out);
    ASSERT_TRUE(json.has_value()) << scan.Out;
    EXPECT_EQ((*json)["processed"].Int(), 0);
    EXPECT_EQ((*json)["summary"].String(), "No .mp3 files found");
    EXPECT_TRUE((*json)["rows"].Array().empty());
}

TEST(RowMarksTest, EachMarkHasItsOwnPosition) {
    ResultRow row;
    row.Candidates = {3, 7};
    row.NewerTag = true;  // outranks the several matches
    row.Tagged = true;
    row.WithoutId3 = true;
    row.LyricsPosition = 3;
    row.Shared = true;
    EXPECT_EQ(cli::RowMarks(row), "NTIUS");
    row = ResultRow{};
    row.Candidates = {3, 7};
    row.LyricsPosition = 7;
    row.Filtered = true;
    row.ChosenByUser = true;  // chosen by hand: not shared
    EXPECT_EQ(cli::RowMarks(row), "A..F.");
    row = ResultRow{};
    row.Candidates = {3};
    EXPECT_EQ(cli::RowMarks(row), "1....") << "no lyrics file chosen yet";
}

TEST(VerbArgumentsTest, OptionsMayStandAnywhereAndTakeTheirValue) {
    const auto parsed = cli::ParseVerbArguments(
        {"--no-subfolders", "music", "--cache", "lyr", "--single-dir"}, cli::kPassOptions, 1);
    ASSERT_TRUE(parsed.Ok()) << parsed.Error;
    EXPECT_EQ(parsed.Options.Positionals, std::vector<std::string>{"music"});
    EXPECT_EQ(parsed.Options.CachePath, "lyr");
    EXPECT_TRUE(parsed.Options.SingleDir);
    EXPECT_TRUE(parsed.Options.NoSubfolders);

    const auto joined = cli::ParseVerbArguments({"--cache=a b", "x"}, cli::kPassOptions, 1);
    EXPECT_EQ(joined.Options.CachePath, "a b");
    const auto ended = cli::ParseVerbArguments({"--", "--json"}, cli::kOptJson, 1);
    ASSERT_TRUE(ended.Ok());
    EXPECT_EQ(ended.Options.Positionals, std::vector<std::string>{"--json"});
    EXPECT_FALSE(ended.Options.Json);
}

TEST(VerbArgumentsTest, WrongArgumentsAreNamed) {
    EXPECT_EQ(cli::ParseVerbArguments({"x", "--json"}, cli::kPassOptions, 1).Error,
              "unknown option --json");
    EXPECT_EQ(cli::ParseVerbArguments({"x", "--cache"}, cli::kPassOptions, 1).Error,
              "--cache needs a folder");
    EXPECT_EQ(cli::ParseVerbArguments({"--cache="}, cli::kPassOptions, 0).Error,
              "--cache needs a folder");
    EXPECT_EQ(cli::ParseVerbArguments({}, 0, 1).Error, "missing argument");
    EXPECT_EQ(cli::ParseVerbArguments({"a", "b"}, 0, 1).Error, "unexpected argument");
    EXPECT_TRUE(cli::ParseVerbArguments({"a", "b", "--bogus", "-h"}, 0, 1).Options.Help);
    // A lone "-" is a name, not an option.
    EXPECT_TRUE(cli::ParseVerbArguments({"-"}, 0, 1).Ok());
}

TEST(ShellQuoteTest, QuotesSoTheShellReadsTheTextBack) {
    EXPECT_EQ(cli::ShellQuote("/tmp/my demo/music"), "\"/tmp/my demo/music\"");
    EXPECT_EQ(cli::ShellQuote("/tmp/it's"), "\"/tmp/it's\"");
    EXPECT_EQ(cli::ShellQuote("/tmp/$HOME"), "'/tmp/$HOME'");
    EXPECT_EQ(cli::ShellQuote("a\"b'c"), "'a\"b'\\''c'");
    // A Windows command line: backslashes count only before a quote.
    EXPECT_EQ(cli::WindowsQuote(R"(C:\demo\my music)"), R"("C:\demo\my music")");
    EXPECT_EQ(cli::WindowsQuote(R"(C:\demo\)"), R"("C:\demo\\")");
    EXPECT_EQ(cli::WindowsQuote(R"(a\"b"c)"), R"("a\\\"b\"c")");
    EXPECT_EQ(cli::WindowsQuote(""), R"("")");
}

TEST(ProgressLineTest, RewritesOneLineInPlaceAndBlanksItWhenDone) {
    std::ostringstream err;
    {
        cli::ProgressLine line(err, true);
        line.ShowNow("Matches: 10 / 20");
        line.ShowNow("Parsing: 1/10");
    }
    EXPECT_EQ(err.str(), "\rMatches: 10 / 20\rParsing: 1/10   \r" + std::string(13, ' ') + "\r");
}

TEST(PassTextsTest, TheLineFollowsBothPhasesAndTheSummaryCountsTheFilesProcessed) {
    EXPECT_EQ(cli::MatchProgressLine({MatchPhase::MatchingFiles, 40, 90, 12}),
              "Matches: 12 / 40  (40 of 90 .mp3 files)");
    EXPECT_EQ(cli::MatchProgressLine({MatchPhase::ChoosingLyrics, 3, 12, 12}), "Parsing: 3/12");
    MatchResult stopped;
    stopped.FilesFound = 100;
    stopped.Processed = 10;
    stopped.Rows = 5;
    stopped.Stopped = true;
    EXPECT_EQ(cli::MatchSummary(stopped), "Matches: 5 / 10 (50%)");
    stopped.Processed = 3;
    stopped.Rows = 2;
    EXPECT_EQ(cli::MatchSummary(stopped), "Matches: 2 / 3 (66.6%)");
}

TEST(ProgressLineTest, WritesNothingWhenStandardErrorIsNoTerminal) {
    std::ostringstream err;
    {
        cli::ProgressLine line(err, false);
        line.ShowNow("Matches: 1 / 2");
        line.Show("Parsing: 1/1");
    }
    EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace versemark::testing
