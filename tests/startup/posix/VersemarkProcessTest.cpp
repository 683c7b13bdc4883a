// SPDX-License-Identifier: GPL-3.0-or-later
// The versemark executable started as the companion starts it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>

#include "../ExpectedTail.h"
#include "ChildProcess.h"
#include "demo/SilentMp3.h"
#include "support/TempDir.h"
#include "tagging/Journal.h"

namespace versemark {
namespace {

using namespace std::chrono_literals;
using testing::ChildProcess;
using testing::NewTail;
using testing::ReadFileBytes;
using testing::StoredLyrics;
using testing::TempDir;

constexpr auto kQuickly = 30s;  // generous for a loaded machine; a run takes well under 1 s

std::string VersemarkPath() {
    const char* dir = std::getenv("VERSEMARK_BUILD_DIR");
    return dir == nullptr ? std::string() : std::string(dir) + "/versemark";
}

class VersemarkProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        program_ = VersemarkPath();
        if (program_.empty() || !std::filesystem::exists(program_)) {
            GTEST_SKIP() << "the versemark program was not built (window switched off)";
        }
        dir_.MakeFolder("wine");
        dir_.MakeFolder("lock");
    }

    // Off screen, with its own lock folder and an empty Wine prefix.
    ChildProcess::Environment Environment() const {
        return {{"QT_QPA_PLATFORM", "offscreen"},
                {"VERSEMARK_LOCK_DIR", dir_ / "lock"},
                {"WINEPREFIX", dir_ / "wine"}};
    }

    static std::vector<std::string> TagOneFileArgs(const std::string& mp3,
                                                   const std::string& lyrics, bool noMessage) {
        std::vector<std::string> args = {"--/w8d", "--/mp3 " + mp3, "--/lyr " + lyrics};
        if (noMessage) {
            args.push_back("--/nms");
        }
        return args;
    }

    std::string Output(const std::string& name) const { return ReadFileBytes(dir_ / name); }

    // Waits until the output file holds `text`.
    bool WaitForOutput(const std::string& name, const std::string& text) const {
        const auto deadline = std::chrono::steady_clock::now() + kQuickly;
        while (std::chrono::steady_clock::now() < deadline) {
            if (Output(name).find(text) != std::string::npos) {
                return true;
            }
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    std::string program_;
    TempDir dir_;
    const std::string audio_ = SilentMp3Audio(40);
};

TEST_F(VersemarkProcess, TagsOneFileAndEnds) {
    const std::string mp3 = dir_.WriteFile("music/Mein Lied \xC3\xA4.mp3", audio_);
    const std::string lyrics = dir_.WriteFile("lyrics/A - B.txt", "Line one\r\nLine two\r\n");
    ChildProcess run(program_, TagOneFileArgs(mp3, lyrics, true), Environment(), dir_ / "out");
    ASSERT_TRUE(run.Started());
    EXPECT_EQ(run.WaitForExit(kQuickly), 0);
    EXPECT_NE(Output("out").find("File tagged..: " + mp3 + "\r\n"), std::string::npos)
        << Output("out");
    EXPECT_EQ(ReadFileBytes(mp3),
              audio_ + NewTail(StoredLyrics("Line one\r\nLine two\r\n"), "B", "A"));
}

TEST_F(VersemarkProcess, ReportsAFileThatCannotBeTaggedWithItsReasonAndEndsWithStatus1) {
    const std::string lyrics = dir_.WriteFile("lyrics/A - B.txt", "x");
    const std::string mp3 = dir_ / "music/missing.mp3";
    ChildProcess run(program_, TagOneFileArgs(mp3, lyrics, true), Environment(), dir_ / "out");
    EXPECT_EQ(run.WaitForExit(kQuickly), 1);
    EXPECT_NE(Output("out").find("Error tagging: " + mp3 + "\r\nno such file\r\n"),
              std::string::npos)
        << Output("out");
}

// A run killed while it wrote left a file half written; the next one-file start
// puts its old tail back before it tags, and says so on standard error.
TEST_F(VersemarkProcess, OneFileStartFirstRepairsAFileAKilledRunLeftHalfWritten) {
    const std::string journals = dir_ / "state/versemark";
    const std::string torn = dir_.WriteFile("music/torn.mp3", audio_);
    {
        std::string reason;
        const auto journal = PassJournal::Create(journals, {}, reason);
        ASSERT_TRUE(journal) << reason;
        const auto file = OpenFile(torn, FileAccess::ReadWrite);
        ASSERT_TRUE(file);
        const std::string newTail = NewTail(StoredLyrics("never finished"), "B", "A");
        TailChange change;
        change.Offset = audio_.size();
        change.OldLength = audio_.size();
        change.NewTail = newTail;
        ASSERT_TRUE(journal->Begin(torn, file->Stamp(), change, reason)) << reason;
        ASSERT_TRUE(file->WriteAt(audio_.size(), newTail.substr(0, newTail.size() / 2)));
    }  // ended here as by a kill: the record is neither done nor settled

    const std::string mp3 = dir_.WriteFile("music/song.mp3", audio_);
    const std::string lyrics = dir_.WriteFile("lyrics/A - B.txt", "words");
    ChildProcess::Environment environment = Environment();
    environment.push_back({"XDG_STATE_HOME", dir_ / "state"});
    ChildProcess run(program_, TagOneFileArgs(mp3, lyrics, true), environment, dir_ / "out");
    EXPECT_EQ(run.WaitForExit(kQuickly), 0);
    EXPECT_NE(Output("out").find("Restored the old tail of " + torn + "\n"), std::string::npos)
        << Output("out");
    EXPECT_NE(Output("out").find("File tagged..: " + mp3 + "\r\n"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(torn), audio_);
}

TEST_F(VersemarkProcess, WorksWithoutAnyDisplay) {
    const std::string mp3 = dir_.WriteFile("song.mp3", audio_);
    const std::string lyrics = dir_.WriteFile("X - Y.txt", "words");
    ChildProcess::Environment env = Environment();
    env[0].second = std::nullopt;  // no QT_QPA_PLATFORM
    env.emplace_back("DISPLAY", std::nullopt);
    env.emplace_back("WAYLAND_DISPLAY", std::nullopt);
    ChildProcess run(program_, TagOneFileArgs(mp3, lyrics, true), env, dir_ / "out");
    EXPECT_EQ(run.WaitForExit(kQuickly), 0) << Output("out");
    EXPECT_EQ(ReadFileBytes(mp3), audio_ + NewTail(StoredLyrics("words"), "Y", "X"));
}

TEST_F(VersemarkProcess, TheWindowWithoutADisplayEndsWithAClearMessage) {
    ChildProcess::Environment env = Environment();
    env[0].second = std::nullopt;
    env.emplace_back("DISPLAY", std::nullopt);
    env.emplace_back("WAYLAND_DISPLAY", std::nullopt);
    ChildProcess run(program_, {}, env, dir_ / "out");
    EXPECT_EQ(run.WaitForExit(kQuickly), 1);
    EXPECT_NE(Output("out").find("needs a display"), std::string::npos) << Output("out");
}

TEST_F(VersemarkProcess, AnswersVersionAndHelpOnlyWhenTheyAreTheWholeCommandLine) {
    ChildProcess::Environment noDisplay = Environment();
    noDisplay[0].second = std::nullopt;
    noDisplay.emplace_back("DISPLAY", std::nullopt);
    noDisplay.emplace_back("WAYLAND_DISPLAY", std::nullopt);
    const std::vector<std::pair<std::string, std::regex>> answers = {
        {"--version",
         std::regex("versemark [0-9]+\\.[0-9]+\\.[0-9]+\n[\\s\\S]*GPL-3\\.0-or-later[\\s\\S]*")},
        {"--help",
         std::regex("Usage: versemark\n[\\s\\S]*--/mp3 FILE[\\s\\S]*--/fol FOLDER[\\s\\S]*")},
    };
    for (const auto& [option, expected] : answers) {
        ChildProcess run(program_, {option}, noDisplay, dir_ / option);
        EXPECT_EQ(run.WaitForExit(kQuickly), 0) << option;
        EXPECT_TRUE(std::regex_match(Output(option), expected)) << Output(option);
    }

    // Anywhere else they are words of a companion command line, read as before.
    const std::string lyrics = dir_.WriteFile("A - B.txt", "words");
    const std::vector<std::vector<std::string>> companionLines = {
        {"--version", "--/w8d", "--/mp3 MP3", "--/lyr LYRICS", "--/nms"},
        {"--/w8d", "--/mp3 MP3", "--/lyr LYRICS", "--/nms", "--help"},
    };
    int number = 0;
    for (std::vector<std::string> args : companionLines) {
        const std::string mp3 = dir_.WriteFile("song" + std::to_string(++number) + ".mp3", audio_);
        for (std::string& arg : args) {
            arg = arg == "--/mp3 MP3"      ? "--/mp3 " + mp3
                  : arg == "--/lyr LYRICS" ? "--/lyr " + lyrics
                                           : arg;
        }
        const std::string out = "out" + std::to_string(number);
        ChildProcess run(program_, args, Environment(), dir_ / out);
        EXPECT_EQ(run.WaitForExit(kQuickly), 0);
        EXPECT_NE(Output(out).find("File tagged..: " + mp3), std::string::npos) << Output(out);
        EXPECT_EQ(ReadFileBytes(mp3), audio_ + NewTail(StoredLyrics("words"), "B", "A"));
    }
}

TEST_F(VersemarkProcess, ASecondCopyEndsAtOnceSayingWhyAndACrashedCopyDoesNotBlock) {
    const std::string first = dir_.WriteFile("first.mp3", audio_);
    const std::string second = dir_.WriteFile("second.mp3", audio_);
    const std::string lyrics = dir_.WriteFile("A - B.txt", "words");

    // Without "nms" the first copy waits in its message box, holding the lock.
    ChildProcess running(program_, TagOneFileArgs(first, lyrics, false), Environment(),
                         dir_ / "first.out");
    ASSERT_TRUE(WaitForOutput("first.out", "File tagged..: " + first)) << Output("first.out");
    ASSERT_TRUE(running.Running());

    // The second copy ends at once, saying why it tagged nothing, with status 1.
    ChildProcess blocked(program_, TagOneFileArgs(second, lyrics, true), Environment(),
                         dir_ / "second.out");
    EXPECT_EQ(blocked.WaitForExit(kQuickly), 1);
    EXPECT_NE(Output("second.out").find("Error tagging: " + second + "\r\nanother Versemark is"),
              std::string::npos)
        << Output("second.out");
    EXPECT_EQ(ReadFileBytes(second), audio_);

    running.Kill();  // as a crash would end it: the lock file stays behind
    ChildProcess after(program_, TagOneFileArgs(second, lyrics, true), Environment(),
                       dir_ / "third.out");
    EXPECT_EQ(after.WaitForExit(kQuickly), 0);
    EXPECT_NE(Output("third.out").find("File tagged..: " + second), std::string::npos)
        << Output("third.out");
    EXPECT_EQ(ReadFileBytes(second), audio_ + NewTail(StoredLyrics("words"), "B", "A"));
}

}  // namespace
}  // namespace versemark
