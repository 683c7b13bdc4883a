#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include "matching/RowList.h"
#include "support/FailingFile.h"
#include "support/TagTestHelpers.h"
#include "support/TailBuilder.h"
#include "support/TempDir.h"
#include "tagging/TaggingPass.h"

namespace versemark::testing {
namespace {

// Three MP3 files: a failing one between two good ones. After the pass the
// failing one must be byte for byte as before and both others tagged.
class TaggingFailures : public ::testing::Test {
  protected:
    TempDir dir_;
    const std::string original_ = TailBuilder()
                                      .audio(2000)
                                      .lyrics3v2({{"IND", "100"}, {"LYR", "old words"}})
                                      .id3v1("T", "A")
                                      .bytes();
    const std::string before_ = dir_.WriteFile("before.mp3", original_);
    const std::string after_ = dir_.WriteFile("after.mp3", original_);
    const std::string lyrics_ = dir_.WriteFile("A - T.txt", "new words, more of them");

    std::string RunWithMiddle(const std::string& middle, const std::string& middleLyrics,
                              const FileOpener& open = OpenFile) {
        RowList rows;
        rows.Add(CheckedRow(before_, lyrics_, "A - T"));
        rows.Add(CheckedRow(middle, middleLyrics, "A - T"));
        rows.Add(CheckedRow(after_, lyrics_, "A - T"));
        const auto log = LetsTagThem(rows, open);
        EXPECT_TRUE(log);
        return log.value_or("");
    }

    void ExpectLog(const std::string& log, const std::string& middle) {
        EXPECT_EQ(log, "File tagged..: " + before_ + "\r\nError tagging: " + middle +
                           "\r\nFile tagged..: " + after_ + "\r\n");
        const std::string tagged =
            TailBuilder()
                .audio(2000)
                .lyrics3v2({{"IND", "100"}, {"LYR", Stored("new words, more of them")}})
                .id3v1("T", "A")
                .bytes();
        EXPECT_EQ(ReadFileBytes(before_), tagged);
        EXPECT_EQ(ReadFileBytes(after_), tagged);
    }
};

TEST_F(TaggingFailures, MissingMp3File) {
    const std::string missing = dir_ / "gone.mp3";
    ExpectLog(RunWithMiddle(missing, lyrics_), missing);
}

TEST_F(TaggingFailures, FolderGivenAsMp3Path) {
    const std::string folder = dir_.MakeFolder("folder.mp3");
    ExpectLog(RunWithMiddle(folder, lyrics_), folder);
}

TEST_F(TaggingFailures, MissingLyricsFile) {
    const std::string middle = dir_.WriteFile("middle.mp3", original_);
    ExpectLog(RunWithMiddle(middle, dir_ / "none.txt"), middle);
    EXPECT_EQ(ReadFileBytes(middle), original_);
}

TEST_F(TaggingFailures, UnreadableLyricsFile) {
    const std::string middle = dir_.WriteFile("middle.mp3", original_);
    ExpectLog(RunWithMiddle(middle, dir_.MakeFolder("lyrics.txt")), middle);
    EXPECT_EQ(ReadFileBytes(middle), original_);
}

TEST_F(TaggingFailures, FileThatCannotBeOpenedForWriting) {
    const std::string middle = dir_.WriteFile("middle.mp3", original_);
    const FileOpener refuseMiddle = [&](const std::string& path, FileAccess access) {
        return path == middle && access == FileAccess::ReadWrite ? nullptr : OpenFile(path, access);
    };
    ExpectLog(RunWithMiddle(middle, lyrics_, refuseMiddle), middle);
    EXPECT_EQ(ReadFileBytes(middle), original_);
}

// A real read-only file. Root may write to a file without write permission, so
// then the file is made immutable as well (where the file system allows it).
TEST_F(TaggingFailures, ReadOnlyFileOnDisk) {
    const std::string middle = dir_.WriteFile("middle.mp3", original_);
    ASSERT_EQ(::chmod(middle.c_str(), 0444), 0);
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

TEST_F(TaggingFailures, FileShorterThanAnId3v1Block) {
    const std::string shortBytes = TailBuilder().lyrics3v2({{"LYR", "abc"}}).bytes();
    const std::string middle = dir_.WriteFile("middle.mp3", shortBytes);
    ExpectLog(RunWithMiddle(middle, lyrics_), middle);
    EXPECT_EQ(ReadFileBytes(middle), shortBytes);
}

TEST_F(TaggingFailures, Id3v1BlockLeavingNoRoomForATrailer) {
    const std::string bytes = TailBuilder().raw("LYRICS2").id3v1("T", "A").bytes();
    const std::string middle = dir_.WriteFile("middle.mp3", bytes);
    ExpectLog(RunWithMiddle(middle, lyrics_), middle);
    EXPECT_EQ(ReadFileBytes(middle), bytes);
}

TEST_F(TaggingFailures, WriteFailingPartway) {
    const std::string middle = dir_ / "memory.mp3";
    for (const std::size_t limit : {0u, 1u, 40u, 100u, 150u}) {
        auto store = MakeStore(original_);
        store->WriteLimit = limit;
        ExpectLog(RunWithMiddle(middle, lyrics_, OpenerServing(middle, store)), middle);
        EXPECT_EQ(store->Bytes, original_) << limit;
        EXPECT_EQ(store->FailedWrites, 1);
        EXPECT_TRUE(store->Closed);
        // The next round starts from the untagged files again.
        dir_.WriteFile("before.mp3", original_);
        dir_.WriteFile("after.mp3", original_);
    }
}

// A read that fails once the tail is recognised: a tag that cannot be read
// because of the file must not be taken for a malformed one and buried behind
// the new tag.
TEST_F(TaggingFailures, ReadFailingAfterTheTrailer) {
    const std::string middle = dir_ / "memory.mp3";
    const std::string version1 =
        TailBuilder().audio(6000).lyrics3v1("old words").id3v1("T", "A").bytes();
    struct Case {
        const char* Read;  // the read that fails
        const std::string& Bytes;
        int ReadsBeforeFailure;
    };
    for (const Case& c :
         {Case{"version 2 size digits", original_, 2}, Case{"version 2 tag", original_, 3},
          Case{"old tail", original_, 4}, Case{"version 1 window", version1, 2},
          Case{"old tail after version 1", version1, 3}}) {
        SCOPED_TRACE(c.Read);
        auto store = MakeStore(c.Bytes);
        store->ReadsBeforeFailure = c.ReadsBeforeFailure;
        ExpectLog(RunWithMiddle(middle, lyrics_, OpenerServing(middle, store)), middle);
        EXPECT_TRUE(store->Bytes == c.Bytes);
        dir_.WriteFile("before.mp3", original_);
        dir_.WriteFile("after.mp3", original_);
    }
}

TEST_F(TaggingFailures, TagTooLargeForTheLayout) {
    // A readable tag of nearly 999999 bytes without lyrics: adding them would
    // need a seven-digit size.
    TailBuilder::Fields fields;
    for (int i = 0; i < 9; ++i) {
        fields.push_back({"X0" + std::to_string(i), std::string(99999, 'x')});
    }
    fields.push_back({"X09", std::string(99917, 'y')});  // 999999 counted
    const std::string bytes = TailBuilder().audio(100).lyrics3v2(fields).id3v1("T", "A").bytes();
    const std::string middle = dir_.WriteFile("middle.mp3", bytes);
    ExpectLog(RunWithMiddle(middle, lyrics_), middle);
    EXPECT_EQ(ReadFileBytes(middle), bytes);
}

// A real write failure: the file-size limit stops the file growing (the
// signal ignored, so the write returns an error). Run in a child process so
// the limit does not reach the rest of the tests.
TEST_F(TaggingFailures, FileSizeLimitDuringTheWrite) {
    const std::string middle = dir_.WriteFile("middle.mp3", original_);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = original_.size() + 5;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            ::_exit(2);
        }
        const bool tagged = TagFile(middle, lyrics_, "A - T");
        ::_exit(tagged ? 1 : 0);
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

}  // namespace
}  // namespace versemark::testing
