// SPDX-License-Identifier: GPL-3.0-or-later
// The one-file run on a POSIX system: links and the super-user.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "demo/SilentMp3.h"
#include "startup/OneFileRun.h"
#include "support/TempDir.h"

namespace versemark {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;

// The one-file run's folder is the MP3 file's own: a link out of it is followed
// only for the file's owner, never for root.
TEST(TagOneFilePosix, ALinkOutOfTheFilesFolderIsFollowedOnlyForItsOwner) {
    const TempDir dir;
    const std::string audio = SilentMp3Audio(12);
    const std::string real = dir.WriteFile("elsewhere/Song.mp3", audio);
    const std::string link = dir / "music/Song.mp3";
    std::filesystem::create_directories(dir / "music");
    std::filesystem::create_symlink(real, link);
    RunConfig config;
    config.Mp3Path = link;
    config.LyricsPath = dir.WriteFile("lyrics/Some Band - Song.txt", "la la");
    const bool root = ::geteuid() == 0;
    EXPECT_EQ(TagOneFile(config),
              root ? "Error tagging: " + link + "\r\nreached through a link out of the folder\r\n"
                   : "File tagged..: " + link + "\r\n");
    EXPECT_EQ(ReadFileBytes(real) == audio, root);
}

}  // namespace
}  // namespace versemark
