// SPDX-License-Identifier: GPL-3.0-or-later
// The demo library tagged, then read back by ExifTool, an independent reader: the
// ID3v1 artist and title built from a lyrics name and the stored lyrics must come
// out as the same text as the name and the lyrics file, without a warning.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "cli/CliRun.h"
#include "cli/MiniJson.h"
#include "platform/CodePage.h"
#include "support/TempDir.h"

namespace versemark::testing {
namespace {

const std::string kExifTool = "exiftool";
const std::string kCredit = "Lyrics by Songleaf (https://kestrelworks.example/songleaf)";

std::string TrimSpaces(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

struct TaggedRow {
    std::string LyricsName;  // display text
    std::string LyricsPath;
    bool WithoutId3 = false;
};

TEST(ExifToolReadsWhatWasTagged, NamesAndLyricsComeOutAsTheSameText) {
    if (RunProcess(kExifTool, {"-ver"}).Status != 0) {
        GTEST_SKIP() << "ExifTool is not installed (Debian package libimage-exiftool-perl)";
    }
    const TempDir dir;
    ASSERT_EQ(RunCliProcess({"demo", dir.Path()}).Status, 0);
    const CliRunResult scan =
        RunCliProcess({"scan", dir / "music", "--cache", dir / "lyrics", "--json"});
    ASSERT_EQ(scan.Status, 0) << scan.Err;
    const auto json = ParseJson(scan.Out);
    ASSERT_TRUE(json.has_value()) << scan.Out;
    std::map<std::string, TaggedRow> checked;  // by MP3 path
    for (const JsonValue& row : (*json)["rows"].Array()) {
        if (row["checked"].Bool()) {
            checked[row["mp3"].String()] = {row["lyricsName"].String(), row["lyrics"].String(),
                                            row["withoutId3"].Bool()};
        }
    }
    ASSERT_EQ(RunCliProcess({"tag", dir / "music", "--cache", dir / "lyrics"}).Status, 0);

    std::vector<std::string> args = {"-json",         "-G1",          "-a",
                                     "-ID3v1:Artist", "-ID3v1:Title", "-Lyrics3:Lyrics",
                                     "-Warning",      "-Error"};
    for (const auto& [mp3, row] : checked) {
        args.push_back(mp3);
    }
    const CliRunResult read = RunProcess(kExifTool, args);
    ASSERT_EQ(read.Status, 0) << read.Err;
    const auto files = ParseJson(read.Out);
    ASSERT_TRUE(files.has_value()) << read.Out;
    ASSERT_EQ(files->Array().size(), checked.size());

    bool builtABlockOutsideAscii = false;
    for (const JsonValue& file : files->Array()) {
        const std::string mp3 = file["SourceFile"].String();
        SCOPED_TRACE(mp3);
        ASSERT_EQ(checked.count(mp3), 1u);
        const TaggedRow& row = checked.at(mp3);
        for (const auto& [key, value] : file.Object()) {
            EXPECT_EQ(key.find("Warning"), std::string::npos) << value.String();
            EXPECT_EQ(key.find("Error"), std::string::npos) << value.String();
        }
        // The demo's tagged lyrics have no footer: stored as read, then the credit.
        const std::string lyricsFile = ReadFileBytes(row.LyricsPath);
        EXPECT_EQ(file["Lyrics3:Lyrics"].String(), DisplayUtf8(lyricsFile) + "\r\n" + kCredit);
        if (row.WithoutId3) {
            const std::size_t hyphen = row.LyricsName.find('-');
            ASSERT_NE(hyphen, std::string::npos);
            EXPECT_EQ(file["ID3v1:Artist"].String(), TrimSpaces(row.LyricsName.substr(0, hyphen)));
            EXPECT_EQ(file["ID3v1:Title"].String(), TrimSpaces(row.LyricsName.substr(hyphen + 1)));
            builtABlockOutsideAscii =
                builtABlockOutsideAscii ||
                std::any_of(row.LyricsName.begin(), row.LyricsName.end(),
                            [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
        }
    }
    EXPECT_TRUE(builtABlockOutsideAscii) << "no accented name reached a new ID3v1 block";
}

}  // namespace
}  // namespace versemark::testing
