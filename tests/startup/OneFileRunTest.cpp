// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/OneFileRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ExpectedTail.h"
#include "demo/SilentMp3.h"
#include "platform/FileSystem.h"
#include "startup/ProgramStart.h"
#include "support/NativePath.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

namespace versemark {
namespace {

using testing::NativePath;
using testing::NewTail;
using testing::ReadFileBytes;
using testing::ScopedEnv;
using testing::StoredLyrics;
using testing::TempDir;

TEST(LyricsNameFromPath, DropsTheLastFourCharactersOfTheFileName) {
    EXPECT_EQ(LyricsNameFromPath(NativePath("/lyrics/Some Band - Song.txt")), "Some Band - Song");
    EXPECT_EQ(LyricsNameFromPath(NativePath("/lyrics/Song.lyrics")), "Song.ly");
    EXPECT_EQ(LyricsNameFromPath(NativePath("/lyrics/a.tx")), "");
    EXPECT_EQ(LyricsNameFromPath(NativePath("/lyrics.d/ab")), "");
    EXPECT_EQ(LyricsNameFromPath(NativePath("/lyrics/")), "");
    EXPECT_EQ(LyricsNameFromPath(""), "");
}

TEST(OneFileRow, CarriesTheNamesAndPathsAndIsChecked) {
    RunConfig config;
    config.Mp3Path = NativePath("/music/My Song.mp3");
    config.LyricsPath = NativePath("/lyrics/Some Band - My Song.txt");
    const ResultRow row = OneFileRow(config);
    EXPECT_TRUE(row.Checked);
    EXPECT_EQ(row.Mp3Name, "My Song.mp3");
    EXPECT_EQ(row.Mp3Path, NativePath("/music/My Song.mp3"));
    EXPECT_EQ(row.LyricsName, "Some Band - My Song");
    EXPECT_EQ(row.LyricsPath, NativePath("/lyrics/Some Band - My Song.txt"));
    EXPECT_FALSE(row.Tagged);
    EXPECT_FALSE(row.LyricsChosen());
    EXPECT_TRUE(row.Candidates.empty());
}

// Keeps the texts the run would show in message boxes.
class MessageServices : public ProcessServices {
  public:
    bool AnotherCopyRuns() override { return Another; }
    void Beep() override { ++Beeps; }
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    bool Another = false;
    int Beeps = 0;
    std::vector<std::string> Messages;
};

class TagOneFileTest : public ::testing::Test {
  protected:
    RunConfig Config(const std::string& mp3, const std::string& lyrics) {
        RunConfig config;
        config.Mp3Path = mp3;
        config.LyricsPath = lyrics;
        return config;
    }
    TempDir dir_;
    const std::string audio_ = SilentMp3Audio(12);
};

TEST_F(TagOneFileTest, TagsTheFileAndLogsOneLine) {
    const std::string mp3 = dir_.WriteFile("music/Song.mp3", audio_);
    const std::string lyrics = dir_.WriteFile("lyrics/Some Band - Song.txt", "la la\r\nla\r\n");
    EXPECT_EQ(TagOneFile(Config(mp3, lyrics)), "File tagged..: " + mp3 + "\r\n");
    EXPECT_EQ(ReadFileBytes(mp3),
              audio_ + NewTail(StoredLyrics("la la\r\nla\r\n"), "Song", "Some Band"));
}

TEST_F(TagOneFileTest, ANameWithoutHyphenIsAllTitle) {
    const std::string mp3 = dir_.WriteFile("x.mp3", audio_);
    const std::string lyrics = dir_.WriteFile("Intermezzo.txt", "Instrumental");
    EXPECT_EQ(TagOneFile(Config(mp3, lyrics)), "File tagged..: " + mp3 + "\r\n");
    EXPECT_EQ(ReadFileBytes(mp3), audio_ + NewTail(StoredLyrics("Instrumental"), "Intermezzo", ""));
}

TEST_F(TagOneFileTest, AShortLyricsNameLeavesTheId3TextsEmpty) {
    const std::string mp3 = dir_.WriteFile("x.mp3", audio_);
    const std::string lyrics = dir_.WriteFile("ab", "words");
    EXPECT_EQ(TagOneFile(Config(mp3, lyrics)), "File tagged..: " + mp3 + "\r\n");
    EXPECT_EQ(ReadFileBytes(mp3), audio_ + NewTail(StoredLyrics("words"), "", ""));
}

TEST_F(TagOneFileTest, AMissingFileIsLoggedAsAnErrorWithItsReasonAndNothingIsMade) {
    const std::string lyrics = dir_.WriteFile("A - B.txt", "x");
    const std::string mp3 = dir_ / "gone.mp3";
    EXPECT_EQ(TagOneFile(Config(mp3, lyrics)), "Error tagging: " + mp3 + "\r\nno such file\r\n");
    EXPECT_FALSE(std::filesystem::exists(mp3));
    // The name's control characters escaped: still one line, no escape sequence.
    EXPECT_EQ(TagOneFile(Config(dir_ / "gone\r\n\x1B[1mx.mp3", lyrics)),
              "Error tagging: " + (dir_ / "gone") + "\\x0D\\x0A\\x1B[1mx.mp3\r\nno such file\r\n");

    const std::string present = dir_.WriteFile("present.mp3", audio_);
    EXPECT_EQ(TagOneFile(Config(present, dir_ / "missing.txt")),
              "Error tagging: " + present + "\r\nlyrics file unreadable\r\n");
    EXPECT_EQ(ReadFileBytes(present), audio_);

    // A FLAC file given as the MP3 file gets no tail.
    const std::string flacBytes = std::string("fLaC\x80\x00\x00\x22", 8) + std::string(34, '\0') +
                                  std::string("\xFF\xF8\xC9\x18", 4) + std::string(600, '\0');
    const std::string flac = dir_.WriteFile("song.flac", flacBytes);
    EXPECT_EQ(TagOneFile(Config(flac, lyrics)),
              "Error tagging: " + flac + "\r\nnot an MPEG audio file\r\n");
    EXPECT_EQ(ReadFileBytes(flac), flacBytes);
    // With the other formats on it gets the lyrics in its own field, and still
    // no tail.
    TaggingOptions allFormats;
    allFormats.Tag.AllFormats = true;
    EXPECT_EQ(TagOneFile(Config(flac, lyrics), allFormats), "File tagged..: " + flac + "\r\n");
    const std::string tagged = ReadFileBytes(flac);
    EXPECT_NE(tagged.find("LYRICS=x\r\n"), std::string::npos);
    EXPECT_EQ(tagged.find("LYRICS200"), std::string::npos);
    EXPECT_EQ(tagged.find("TAG"), std::string::npos);
}

// The run mode ends with status 1 when its file was not tagged, and its message
// box shows the reason under the log line, as standard output does.
TEST_F(TagOneFileTest, TheRunEndsWithStatus1AndShowsTheReasonWhenItsFileWasNotTagged) {
    const std::string lyrics = dir_.WriteFile("A - B.txt", "x");
    const std::string tagged = dir_.WriteFile("tagged.mp3", audio_);
    struct Case {
        std::string Mp3;
        int Status;
        std::string Log;
    };
    // A FLAC stream whose bytes happen to hold MPEG frames is FLAC all the same.
    const std::string flacBytes = std::string("fLaC\x80\x00\x00\x22", 8) + std::string(34, '\0');
    const std::string flac = dir_.WriteFile("frames.flac", flacBytes + audio_);
    const std::vector<Case> cases = {
        {tagged, 0, "File tagged..: " + tagged + "\r\n"},
        {flac, 1, "Error tagging: " + flac + "\r\nnot an MPEG audio file\r\n"},
        {dir_ / "gone.mp3", 1, "Error tagging: " + (dir_ / "gone.mp3") + "\r\nno such file\r\n"},
    };
    for (const Case& c : cases) {
        MessageServices services;
        ::testing::internal::CaptureStdout();
        const int status = RunOneFileMode(Config(c.Mp3, lyrics), services);
        const std::string out = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(status, c.Status) << c.Mp3;
        EXPECT_EQ(out, c.Log);
        EXPECT_EQ(services.Messages, std::vector<std::string>{c.Log});
    }

    // While another copy runs, the run cannot tag: it says so on standard error
    // and ends with status 1, the file untouched.
    MessageServices services;
    services.Another = true;
    ProgramValues values;
    ASSERT_EQ(StartProgram("--/w8d --/mp3 " + tagged + " --/lyr " + lyrics, dir_.Path(), services,
                           values),
              StartOutcome::AnotherCopyRuns);
    ::testing::internal::CaptureStderr();
    const int status = AnswerSecondStart(values.Config, services);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Error tagging: " + tagged +
                  "\r\nanother Versemark is running (its window, or another one-file run); "
                  "close it, then start the one-file run again\r\n");
    EXPECT_EQ(status, 1);
    EXPECT_EQ(services.Beeps, 1);
    EXPECT_EQ(ReadFileBytes(tagged), audio_ + NewTail(StoredLyrics("x"), "B", "A"));
}

TEST_F(TagOneFileTest, WindowsPathsOfTheCompanionAreReachedThroughWineAndLoggedAsWritten) {
    if (kPathSeparator != '/') {
        GTEST_SKIP() << "drive letters are the system's own on Windows";
    }
    // A prefix whose drive c: is a folder of its own and whose z: is the root, as
    // Wine makes them.
    dir_.MakeFolder("prefix/dosdevices");
    std::filesystem::create_directory_symlink(dir_ / "drive_c", dir_ / "prefix/dosdevices/c:");
    std::filesystem::create_directory_symlink("/", dir_ / "prefix/dosdevices/z:");
    ScopedEnv env("WINEPREFIX", dir_ / "prefix");
    const std::string mp3 = dir_.WriteFile("drive_c/Music/x.mp3", audio_);
    dir_.WriteFile("drive_c/Music/A - B.txt", "words");
    EXPECT_EQ(TagOneFile(Config("C:\\Music\\x.mp3", "C:\\Music\\A - B.txt")),
              "File tagged..: C:\\Music\\x.mp3\r\n");
    EXPECT_EQ(ReadFileBytes(mp3), audio_ + NewTail(StoredLyrics("words"), "B", "A"));

    std::string zPath = dir_ / "drive_c/Music/x.mp3";
    std::replace(zPath.begin(), zPath.end(), '/', '\\');
    EXPECT_EQ(TagOneFile(Config("Z:" + zPath, "c:\\Music/A - B.txt")),
              "File tagged..: Z:" + zPath + "\r\n");
    EXPECT_EQ(TagOneFile(Config("C:\\Music\\gone.mp3", "C:\\Music\\A - B.txt")),
              "Error tagging: C:\\Music\\gone.mp3\r\nno such file\r\n");
}

}  // namespace
}  // namespace versemark
