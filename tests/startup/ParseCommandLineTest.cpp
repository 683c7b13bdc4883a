// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/FileNames.h"
#include "startup/ProgramInfo.h"
#include "startup/RunConfig.h"
#include "support/NativePath.h"

namespace versemark {
namespace {

// The argument text of a process started as `versemark arg1 arg2 ...`.
std::string ArgumentText(std::vector<std::string> args) {
    std::vector<const char*> argv = {"/opt/versemark/versemark"};
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    argv.push_back(nullptr);
    return JoinArguments(static_cast<int>(argv.size() - 1), argv.data());
}

struct Parsed {
    RunMode Mode;
    RunConfig Config;
};

Parsed Parse(std::string_view text) {
    Parsed parsed{};
    ParseCommandLine(text, parsed.Config);
    parsed.Mode = parsed.Config.Mode;
    return parsed;
}

TEST(JoinArguments, JoinsTheArgumentsAfterTheProgramWithOneBlank) {
    EXPECT_EQ(ArgumentText({}), "");
    EXPECT_EQ(ArgumentText({"--/w8d", "--/mp3 /a b.mp3"}), "--/w8d --/mp3 /a b.mp3");
    EXPECT_EQ(ArgumentText({"", "x"}), " x");
}

TEST(ParseCommandLine, NoArgumentsGiveTheWindow) {
    const Parsed p = Parse("");
    EXPECT_EQ(p.Mode, RunMode::Window);
    EXPECT_TRUE(p.Config.Mp3Path.empty());
    EXPECT_FALSE(p.Config.Subfolders);
    EXPECT_FALSE(p.Config.NoMessage);
}

TEST(ParseCommandLine, CompanionStartToTagOneFile) {
    const Parsed p = Parse(ArgumentText(
        {"--/w8d", "--/mp3 /music/Song.mp3", "--/lyr /lyrics/Artist - Song.txt", "--/nms"}));
    EXPECT_EQ(p.Mode, RunMode::TagOneFile);
    EXPECT_EQ(p.Config.Mp3Path, "/music/Song.mp3");
    EXPECT_EQ(p.Config.LyricsPath, "/lyrics/Artist - Song.txt");
    EXPECT_TRUE(p.Config.NoMessage);
    EXPECT_TRUE(p.Config.Folder.empty());
}

TEST(ParseCommandLine, PathsKeepInnerBlanksHyphensAndNonAsciiBytes) {
    const std::string utf8 = "/Musik/Bj\xC3\xB6rk - J\xC3\xB3ga (live).mp3";
    const std::string cp1252 = "/Lyrics/Bj\xF6rk - J\xF3ga -- x/y.txt";
    const Parsed p = Parse(ArgumentText({"--/Qk2", "--/mp3   " + utf8 + "   ", "--/lyr" + cp1252}));
    EXPECT_EQ(p.Mode, RunMode::TagOneFile);
    EXPECT_EQ(p.Config.Mp3Path, utf8);
    EXPECT_EQ(p.Config.LyricsPath, cp1252);
}

TEST(ParseCommandLine, OnlySpacesAreTrimmed) {
    const Parsed p = Parse("--/fol \t/music\t --/5nf");
    EXPECT_EQ(p.Config.Folder, "\t/music\t");
    EXPECT_EQ(p.Mode, RunMode::ScanFolder);
}

TEST(ParseCommandLine, ValuesAreStoredEvenWithoutAMarker) {
    const Parsed p = Parse(ArgumentText({"--/mp3 a.mp3", "--/lyr b.txt", "--/fol /music"}));
    EXPECT_EQ(p.Mode, RunMode::Window);
    EXPECT_EQ(p.Config.Mp3Path, "a.mp3");
    EXPECT_EQ(p.Config.LyricsPath, "b.txt");
    EXPECT_EQ(p.Config.Folder, "/music");
}

TEST(ParseCommandLine, FolderScanWithSubfolders) {
    const Parsed p = Parse(ArgumentText({"--/5nf", "--/fol /data/Music", "--/sub"}));
    EXPECT_EQ(p.Mode, RunMode::ScanFolder);
    EXPECT_EQ(p.Config.Folder, "/data/Music");
    EXPECT_TRUE(p.Config.Subfolders);
    EXPECT_FALSE(p.Config.NoMessage);
}

TEST(ParseCommandLine, OneFileWithoutLyricsFallsBackToTheFolderOrTheWindow) {
    EXPECT_EQ(Parse(ArgumentText({"--/zt4", "--/mp3 a.mp3", "--/fol /music"})).Mode,
              RunMode::ScanFolder);
    EXPECT_EQ(Parse(ArgumentText({"--/zt4", "--/lyr b.txt", "--/fol /music"})).Mode,
              RunMode::ScanFolder);
    EXPECT_EQ(Parse(ArgumentText({"--/zt4", "--/mp3 a.mp3", "--/lyr"})).Mode, RunMode::Window);
}

TEST(ParseCommandLine, EveryMarkerTokenCountsAndAMarkerAloneGivesTheWindow) {
    for (const char* marker : {"--/Qk2", "--/w8d", "--/5nf", "--/zt4"}) {
        EXPECT_EQ(Parse(ArgumentText({marker, "--/fol /m"})).Mode, RunMode::ScanFolder) << marker;
        EXPECT_EQ(Parse(marker).Mode, RunMode::Window) << marker;
    }
    // Anything after the token's three characters is ignored.
    EXPECT_EQ(Parse("--/w8dXYZ --/fol /m").Mode, RunMode::ScanFolder);
}

TEST(ParseCommandLine, KeysAndMarkersAreCaseSensitive) {
    EXPECT_EQ(Parse(ArgumentText({"--/W8D", "--/fol /m"})).Mode, RunMode::Window);
    EXPECT_EQ(Parse(ArgumentText({"--/qk2", "--/fol /m"})).Mode, RunMode::Window);
    const Parsed p = Parse(ArgumentText({"--/w8d", "--/MP3 a.mp3", "--/Lyr b.txt", "--/NMS"}));
    EXPECT_TRUE(p.Config.Mp3Path.empty());
    EXPECT_TRUE(p.Config.LyricsPath.empty());
    EXPECT_FALSE(p.Config.NoMessage);
    EXPECT_EQ(p.Mode, RunMode::Window);
}

TEST(ParseCommandLine, TheKeyIsTheFirstThreeCharacters) {
    EXPECT_EQ(Parse("--/mp3file x").Config.Mp3Path, "file x");
    EXPECT_EQ(Parse("--/mp3/a.mp3").Config.Mp3Path, "/a.mp3");
    EXPECT_EQ(Parse("--/mp3").Config.Mp3Path, "");
    EXPECT_EQ(Parse("--/mp").Config.Mp3Path, "");
    EXPECT_TRUE(Parse("--/sub no").Config.Subfolders);
    EXPECT_TRUE(Parse("--/nms false").Config.NoMessage);
}

TEST(ParseCommandLine, ALaterPieceWins) {
    EXPECT_EQ(Parse("--/mp3 first.mp3 --/mp3 second.mp3").Config.Mp3Path, "second.mp3");
    EXPECT_EQ(Parse("--/mp3 first.mp3 --/mp3").Config.Mp3Path, "");
}

TEST(ParseCommandLine, OnlyTheFullSeparatorEndsAValue) {
    EXPECT_EQ(Parse("--/lyr /x/A--B - C-/ D.txt").Config.LyricsPath, "/x/A--B - C-/ D.txt");
    EXPECT_EQ(Parse("--/lyr /x/a---/mp3 /y").Config.LyricsPath, "/x/a-");
}

TEST(ParseCommandLine, TheTextBeforeTheFirstSeparatorIsTheFirstPiece) {
    EXPECT_EQ(Parse("w8d--/fol /m").Mode, RunMode::ScanFolder);
    EXPECT_EQ(Parse("/opt/versemark --/w8d --/fol /m").Mode, RunMode::ScanFolder);
}

TEST(ParseCommandLine, AtMost256Pieces) {
    // 255 separators make 256 pieces: still read.
    std::string text = "--/5nf --/fol /m";
    for (int pieces = 3; pieces < 256; ++pieces) {
        text += " --/xyz";
    }
    EXPECT_EQ(Parse(text).Mode, RunMode::ScanFolder);
    EXPECT_EQ(Parse(text).Config.Folder, "/m");

    // One more: nothing is stored and the window opens.
    RunConfig config;
    config.Mp3Path = "kept.mp3";
    ParseCommandLine(text + " --/mp3 new.mp3", config);
    EXPECT_EQ(config.Mode, RunMode::Window);
    EXPECT_EQ(config.Mp3Path, "kept.mp3");
    EXPECT_TRUE(config.Folder.empty());
}

TEST(ParseCommandLine, DoubleQuotesArePartOfAPathOnlyWhereAPathCanHoldThem) {
    struct Values {
        RunMode Mode;
        std::string Mp3;
        std::string Lyrics;
        std::string Folder;
    };
    struct Case {
        std::string Text;  // as the system passes it
        Values OnWindows;  // a double quote is no path character there
        Values OnLinux;    // argv joined: every byte kept
    };
    const std::vector<Case> cases = {
        // One quoted argument, as a batch file passes it.
        {R"("--/w8d--/mp3 C:\t\b.mp3--/lyr C:\t\Lumen - Don't Stop.txt")",
         {RunMode::TagOneFile, R"(C:\t\b.mp3)", R"(C:\t\Lumen - Don't Stop.txt)", ""},
         {RunMode::TagOneFile, R"(C:\t\b.mp3)", R"(C:\t\Lumen - Don't Stop.txt")", ""}},
        {R"("--/5nf--/fol C:\demo\music")",
         {RunMode::ScanFolder, "", "", R"(C:\demo\music)"},
         {RunMode::ScanFolder, "", "", R"(C:\demo\music")"}},
        // Separate quoted arguments: the blank between them is trimmed with the quotes gone.
        {R"("--/w8d" "--/mp3 C:\t\b.mp3" "--/lyr C:\t\x.txt")",
         {RunMode::TagOneFile, R"(C:\t\b.mp3)", R"(C:\t\x.txt)", ""},
         {RunMode::TagOneFile, R"(C:\t\b.mp3" ")", R"(C:\t\x.txt")", ""}},
        // Quotes inside a piece and inside a key.
        {R"(--/"5nf" --/fol "C:\My Music"\Live --/"sub")",
         {RunMode::ScanFolder, "", "", R"(C:\My Music\Live)"},
         {RunMode::Window, "", "", R"("C:\My Music"\Live)"}},
        // Only quotes: nothing.
        {R"("" "")", {RunMode::Window, "", "", ""}, {RunMode::Window, "", "", ""}},
        // Without quotes the text is read alike on both systems.
        {"--/5nf --/fol /m",
         {RunMode::ScanFolder, "", "", "/m"},
         {RunMode::ScanFolder, "", "", "/m"}},
    };
    for (const Case& c : cases) {
        const Values& expected = kPathSeparator == '\\' ? c.OnWindows : c.OnLinux;
        const Parsed p = Parse(c.Text);
        EXPECT_EQ(p.Mode, expected.Mode) << c.Text;
        EXPECT_EQ(p.Config.Mp3Path, expected.Mp3) << c.Text;
        EXPECT_EQ(p.Config.LyricsPath, expected.Lyrics) << c.Text;
        EXPECT_EQ(p.Config.Folder, expected.Folder) << c.Text;
    }
}

TEST(InfoRequestAnswer, OnlyTheWholeCommandLineAsksForTheVersionOrTheUsage) {
    constexpr std::string_view kUsage = "Usage: p\n";
    const std::string version =
        "p 1.2.3\n"
        "Copyright (C) 2026 The Versemark developers\n"
        "License GPL-3.0-or-later: GNU GPL version 3 or later "
        "<https://gnu.org/licenses/gpl.html>.\n"
        "This is free software: you are free to change and redistribute it.\n"
        "There is NO WARRANTY, to the extent permitted by law.\n";
    struct Case {
        std::vector<std::string> Args;
        std::string_view Usage;
        std::optional<std::string> Answer;
    };
    const std::vector<Case> cases = {
        {{"--version"}, kUsage, version},
        {{"--version"}, {}, version},
        {{"--help"}, kUsage, std::string(kUsage)},
        {{"--help"}, {}, std::nullopt},  // a program whose help is answered elsewhere
        {{}, kUsage, std::nullopt},
        {{"--version", "--help"}, kUsage, std::nullopt},
        {{"--/w8d", "--version"}, kUsage, std::nullopt},
        {{"--help", "--/fol /m"}, kUsage, std::nullopt},
        {{"--version "}, kUsage, std::nullopt},
        {{"--VERSION"}, kUsage, std::nullopt},
        {{"-h"}, kUsage, std::nullopt},
        {{""}, kUsage, std::nullopt},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv = {"/usr/bin/p"};
        for (const std::string& arg : c.Args) {
            argv.push_back(arg.c_str());
        }
        argv.push_back(nullptr);
        EXPECT_EQ(InfoRequestAnswer(static_cast<int>(argv.size() - 1), argv.data(), "p", "1.2.3",
                                    c.Usage),
                  c.Answer)
            << ArgumentText(c.Args);
    }
}

TEST(GetFileName, IsThePartAfterTheLastSeparator) {
    using testing::NativePath;
    EXPECT_EQ(GetFileName(NativePath("/music/Artist - Song.mp3")), "Artist - Song.mp3");
    EXPECT_EQ(GetFileName("Song.mp3"), "Song.mp3");
    EXPECT_EQ(GetFileName(NativePath("/music/")), "");
    EXPECT_EQ(GetFileName(""), "");
    // The other system's separator is part of a name.
    const std::string foreign = kPathSeparator == '/' ? "C:\\music\\a.mp3" : "C:/music/a.mp3";
    EXPECT_EQ(GetFileName(foreign), foreign);
}

}  // namespace
}  // namespace versemark
