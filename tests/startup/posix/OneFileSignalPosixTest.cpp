// SPDX-License-Identifier: GPL-3.0-or-later
// The one-file run ended from outside while it writes: an interrupt or a
// termination request is held until the log is written, then ends the run with
// 128 plus the signal's number instead of the message box.
#include <gtest/gtest.h>

#include <csignal>

#include "../ExpectedTail.h"
#include "demo/SilentMp3.h"
#include "startup/ProgramStart.h"
#include "support/TempDir.h"

namespace versemark {
namespace {

using testing::NewTail;
using testing::ReadFileBytes;
using testing::StoredLyrics;
using testing::TempDir;

class CountingServices : public ProcessServices {
  public:
    bool AnotherCopyRuns() override { return false; }
    void Beep() override {}
    void ShowMessage(const std::string&) override { ++Messages; }
    int Messages = 0;
};

TEST(OneFileRunSignal, ASignalDuringTheFileLeavesTheLogAndItsExitStatus) {
    for (const int signal : {SIGTERM, SIGINT}) {
        const TempDir dir;
        const std::string audio = SilentMp3Audio(12);
        RunConfig config;
        config.Mp3Path = dir.WriteFile("Song.mp3", audio);
        config.LyricsPath = dir.WriteFile("Band - Song.txt", "la la");
        // The request comes while the file is being written: the pass has no
        // file left to stop before.
        TaggingOptions options;
        options.Open = [&](const std::string& path, FileAccess access) {
            if (path == config.Mp3Path) {
                std::raise(signal);
            }
            return OpenFile(path, access);
        };
        CountingServices services;
        ::testing::internal::CaptureStdout();
        const int status = RunOneFileMode(config, services, options);
        const std::string log = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(status, 128 + signal);
        EXPECT_EQ(log, "File tagged..: " + config.Mp3Path + "\r\n");
        EXPECT_EQ(services.Messages, 0) << "no message box waits after a signal";
        EXPECT_EQ(ReadFileBytes(config.Mp3Path),
                  audio + NewTail(StoredLyrics("la la"), "Song", "Band"));
    }
}

}  // namespace
}  // namespace versemark
