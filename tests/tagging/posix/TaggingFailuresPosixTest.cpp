// SPDX-License-Identifier: GPL-3.0-or-later
// Failures that only a POSIX system can cause on a real disk.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "../TaggingFailures.h"
#include "matching/Mp3Sample.h"
#include "tagging/BesideFile.h"
#include "tagging/TagResult.h"
#include "tagging/TargetChecks.h"

namespace versemark::testing {
namespace {

constexpr uid_t kNobody = 65534;

// A real read-only file. Root may write to a file without write permission, so
// then the file is made immutable as well (where the file system allows it).
TEST_F(TaggingFailures, ReadOnlyFileOnDisk) {
    const std::string middle = dir_.WriteFile("middle.mp3", original_);
    ASSERT_EQ(::chmod(middle.c_str(), 0444), 0);
    // Root may write it, but its permissions say no: it is left alone all the same.
    ExpectLog(RunWithMiddle(middle, lyrics_), middle);
    EXPECT_EQ(ReadFileBytes(middle), original_);
    int immutableFd = -1;
    if (::access(middle.c_str(), W_OK) == 0) {
        immutableFd = ::open(middle.c_str(), O_RDONLY);
        int flags = 0;
        if (immutableFd < 0 || ::ioctl(immutableFd, FS_IOC_GETFLAGS, &flags) != 0 ||
            (flags |= FS_IMMUTABLE_FL, ::ioctl(immutableFd, FS_IOC_SETFLAGS, &flags) != 0)) {
            if (immutableFd >= 0) {
                ::close(immutableFd);
            }
            GTEST_SKIP() << "cannot make a file read-only for this user";
        }
    }
    const std::string log = RunWithMiddle(middle, lyrics_);
    if (immutableFd >= 0) {
        int flags = 0;
        ::ioctl(immutableFd, FS_IOC_GETFLAGS, &flags);
        flags &= ~FS_IMMUTABLE_FL;
        ::ioctl(immutableFd, FS_IOC_SETFLAGS, &flags);
        ::close(immutableFd);
    }
    ExpectLog(log, middle);
    EXPECT_EQ(ReadFileBytes(middle), original_);
}

// A real write failure: the file-size limit stops the file growing. Its signal
// must not end the program: the write fails, the old tail goes back and the
// reason is the system's. Run in a child process so the limit does not reach the
// rest of the tests.
TEST_F(TaggingFailures, FileSizeLimitDuringTheWrite) {
    const std::string middle = dir_.WriteFile("middle.mp3", original_);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = original_.size() + 5;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            ::_exit(2);
        }
        RowList rows;
        rows.Add(CheckedRow(middle, lyrics_, "A - T"));
        const auto outcome = TagCheckedRows(rows);
        const bool failedAsExpected = outcome && outcome->Results.size() == 1 &&
                                      !outcome->Results[0].Tagged &&
                                      outcome->Results[0].Reason == std::strerror(EFBIG);
        ::_exit(failedAsExpected ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);  // reported as not tagged
    EXPECT_EQ(ReadFileBytes(middle), original_);
    // Without the limit the same file is tagged.
    EXPECT_TRUE(TagFile(middle, lyrics_, "A - T"));
    EXPECT_NE(ReadFileBytes(middle), original_);
}

// The scan checked a row for the file as it was; a file replaced or changed
// since then is not tagged.
TEST_F(TaggingFailures, FileChangedSinceTheScanIsLeftAlone) {
    const std::string tagged = TailBuilder()
                                   .audio(500)
                                   .lyrics3v2({{"IND", "100"}, {"LYR", "someone else's"}})
                                   .id3v1("T", "A")
                                   .bytes();
    const std::string middle = dir_.WriteFile("middle.mp3", original_);
    for (const bool replace : {true, false}) {
        dir_.WriteFile("middle.mp3", original_);
        ResultRow row = CheckedRow(middle, lyrics_, "A - T");
        row.Scanned = ReadMp3Sample(middle).Stamp;
        ASSERT_TRUE(row.Scanned);
        std::string now = original_ + "x";
        if (replace) {
            const std::string other = dir_.WriteFile("other.mp3", tagged);
            ASSERT_EQ(std::rename(other.c_str(), middle.c_str()), 0);
            now = tagged;
        } else {
            dir_.WriteFile("middle.mp3", now);
        }
        dir_.WriteFile("after.mp3", original_);

        const TaggingOutcome outcome = PassWithMiddle(row);
        ExpectLog(TaggingLog(outcome.Results), middle);
        ASSERT_EQ(outcome.Results.size(), 3u);
        EXPECT_EQ(outcome.Results[1].Reason, kReasonChanged);
        EXPECT_EQ(ReadFileBytes(middle), now);
        dir_.WriteFile("before.mp3", original_);
    }
}

// A file reached through a link out of the folder (the file's own link or a
// folder's on the way) is written only for the user who owns it, never for root;
// a link within the folder leads to the file tagged. Alike when the file is
// written as a copy, which then replaces the file the link leads to.
TEST_F(TaggingFailures, LinksOutOfTheFolderAreFollowedOnlyForTheFilesOwner) {
    const TempDir outside;
    const bool root = ::geteuid() == 0;
    struct Case {
        const char* Name;
        std::string Link;    // made in the folder
        std::string Target;  // what it leads to
        std::string Real;    // the file it reaches
        bool Tagged;
    };
    const std::vector<Case> cases = {
        {"file link out", dir_ / "middle.mp3", outside / "real.mp3", outside / "real.mp3", !root},
        {"folder link out", dir_ / "sub", outside.Path(), outside / "real.mp3", !root},
        {"link within", dir_ / "middle.mp3", dir_ / "inner/real.mp3", dir_ / "inner/real.mp3",
         true},
    };
    for (const bool alsoId3v2 : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.Name) + (alsoId3v2 ? ", as a copy" : ""));
            const std::string real = c.Real;
            std::filesystem::create_directories(std::filesystem::path(real).parent_path());
            std::ofstream(real, std::ios::binary) << original_;
            ASSERT_EQ(::symlink(c.Target.c_str(), c.Link.c_str()), 0);
            const std::string middle =
                c.Link == dir_ / "sub" ? dir_ / "sub/real.mp3" : std::string(c.Link);
            TagOptions tag;
            tag.AlsoId3v2 = alsoId3v2;
            const TaggingOutcome outcome =
                PassWithMiddle(CheckedRow(middle, lyrics_, "A - T"), OpenFile, tag);
            ASSERT_EQ(outcome.Results.size(), 3u);
            EXPECT_EQ(outcome.Results[1].Tagged, c.Tagged) << outcome.Results[1].Reason;
            if (!c.Tagged) {
                EXPECT_EQ(outcome.Results[1].Reason, kReasonLinkOut);
                EXPECT_EQ(ReadFileBytes(real), original_);
            } else {
                EXPECT_NE(ReadFileBytes(real), original_);
            }
            EXPECT_TRUE(std::filesystem::is_symlink(c.Link));
            std::filesystem::remove(c.Link);
            std::filesystem::remove(real);
            dir_.WriteFile("before.mp3", original_);
            dir_.WriteFile("after.mp3", original_);
        }
    }
}

// A new file whose first write stores half its bytes and fails.
class HalfWrittenFile final : public RandomAccessFile {
  public:
    explicit HalfWrittenFile(std::unique_ptr<RandomAccessFile> inner) : inner_(std::move(inner)) {}
    std::optional<std::uint64_t> Length() override { return inner_->Length(); }
    bool ReadAt(std::uint64_t offset, std::size_t count, std::string& out) override {
        return inner_->ReadAt(offset, count, out);
    }
    bool WriteAt(std::uint64_t offset, std::string_view data) override {
        inner_->WriteAt(offset, data.substr(0, data.size() / 2));
        return false;
    }
    bool Truncate(std::uint64_t length) override { return inner_->Truncate(length); }
    bool Close() override { return inner_->Close(); }
    std::string ErrorText() const override { return "no room left"; }

  private:
    std::unique_ptr<RandomAccessFile> inner_;
};

// The lyrics file beside a song is never written through a link at its name,
// whether the link leads nowhere or to a file; a song not tagged gets none; a
// write that fails leaves no part of it.
TEST_F(TaggingFailures, ALyricsFileBesideIsNeverWrittenThroughALinkNorLeftInPart) {
    const TempDir outside;
    const std::string nowhere = outside / "nowhere.txt";
    const std::string target = outside.WriteFile("target.txt", "the user's file");
    ASSERT_EQ(::symlink(nowhere.c_str(), (dir_ / "before.txt").c_str()), 0);
    ASSERT_EQ(::symlink(target.c_str(), (dir_ / "after.txt").c_str()), 0);
    const std::string middle = dir_.WriteFile("middle.mp3", std::string(300, 'x'));  // no MPEG
    TagOptions tag;
    tag.BesideFile = true;
    TaggingOutcome outcome = PassWithMiddle(CheckedRow(middle, lyrics_, "A - T"), OpenFile, tag);
    ASSERT_EQ(outcome.Results.size(), 3u);
    EXPECT_EQ(TaggingLog(outcome.Results),
              "File tagged..: " + before_ + "\r\nLyrics file not written: " +
                  (dir_ / "before.txt") + ": " + std::string(kBesideNotRegular) +
                  "\r\nError tagging: " + middle + "\r\nFile tagged..: " + after_ +
                  "\r\nLyrics file not written: " + (dir_ / "after.txt") + ": " +
                  std::string(kBesideNotRegular) + "\r\n");
    EXPECT_EQ(std::filesystem::read_symlink(dir_ / "before.txt"), nowhere);
    EXPECT_EQ(std::filesystem::read_symlink(dir_ / "after.txt"), target);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(nowhere)));
    EXPECT_EQ(ReadFileBytes(target), "the user's file");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir_ / "middle.txt")));

    // Without the links: one file made whole, one whose write fails left out.
    std::filesystem::remove(dir_ / "before.txt");
    std::filesystem::remove(dir_ / "after.txt");
    dir_.WriteFile("before.mp3", original_);
    dir_.WriteFile("after.mp3", original_);
    int made = 0;
    const NewFileWrap halfTheSecond = [&](std::unique_ptr<RandomAccessFile> file) {
        if (++made == 2) {
            file = std::make_unique<HalfWrittenFile>(std::move(file));
        }
        return file;
    };
    RowList rows;
    rows.Add(CheckedRow(before_, lyrics_, "A - T"));
    rows.Add(CheckedRow(after_, lyrics_, "A - T"));
    TaggingOptions options;
    options.Tag = tag;
    options.WrapNewFile = halfTheSecond;
    const auto pass = TagCheckedRows(rows, options);
    ASSERT_TRUE(pass && AllTagged(pass->Results));
    EXPECT_EQ(ReadFileBytes(dir_ / "before.txt"), Stored("new words, more of them"));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir_ / "after.txt")));
    EXPECT_EQ(pass->Results[1].BesideNote, std::string(kBesideWriteFailed) + "no room left");
}

// Root may read a lyrics file that only its owner may read, but does not copy
// it into an MP3 file others may read.
TEST_F(TaggingFailures, LyricsOnlyTheirOwnerMayReadAreNotCopiedByRoot) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root reads a file whatever its permissions";
    }
    const TempDir outside;
    const std::string secret = outside.WriteFile("secret.txt", "private words");
    ASSERT_EQ(::chown(secret.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chmod(secret.c_str(), 0600), 0);
    const std::string link = dir_ / "B - T.txt";
    ASSERT_EQ(::symlink(secret.c_str(), link.c_str()), 0);
    for (const bool alsoId3v2 : {false, true}) {
        const std::string middle = dir_.WriteFile("middle.mp3", original_);
        TagOptions tag;
        tag.AlsoId3v2 = alsoId3v2;
        const TaggingOutcome outcome =
            PassWithMiddle(CheckedRow(middle, link, "B - T"), OpenFile, tag);
        ASSERT_EQ(outcome.Results.size(), 3u);
        EXPECT_FALSE(outcome.Results[1].Tagged);
        EXPECT_EQ(outcome.Results[1].Reason, kReasonLyricsNoReadPermission);
        EXPECT_EQ(ReadFileBytes(middle), original_);
    }
}

// A termination request during a pass stops it after the file being written:
// that file is whole, the rest untouched, the signal taken instead of ending
// the test program.
TEST_F(TaggingFailures, SignalStopsThePassAfterTheFileBeingWritten) {
    for (const int signal : {SIGTERM, SIGINT}) {
        const std::string middle = dir_.WriteFile("middle.mp3", original_);
        const FileOpener raiseOnMiddle = [&](const std::string& path, FileAccess access) {
            if (path == middle) {
                ::raise(signal);
            }
            return OpenFile(path, access);
        };
        const TaggingOutcome outcome =
            PassWithMiddle(CheckedRow(middle, lyrics_, "A - T"), raiseOnMiddle);
        EXPECT_EQ(outcome.StopSignal, signal);
        ASSERT_EQ(outcome.Results.size(), 2u);
        EXPECT_TRUE(outcome.Results[0].Tagged);
        EXPECT_TRUE(outcome.Results[1].Tagged);
        EXPECT_EQ(ReadFileBytes(after_), original_);
        EXPECT_EQ(ReadFileBytes(middle), ReadFileBytes(before_));
        dir_.WriteFile("before.mp3", original_);
    }
}

}  // namespace
}  // namespace versemark::testing
