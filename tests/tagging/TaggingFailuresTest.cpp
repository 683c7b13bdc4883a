#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "matching/Mp3Sample.h"
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

    // The pass over the three rows with its results, the middle row as given.
    TaggingOutcome PassWithMiddle(const ResultRow& middle, const FileOpener& open = OpenFile) {
        RowList rows;
        rows.Add(CheckedRow(before_, lyrics_, "A - T"));
        rows.Add(middle);
        rows.Add(CheckedRow(after_, lyrics_, "A - T"));
        TaggingOptions options;
        options.Open = open;
        return TagCheckedRows(rows, options).value_or(TaggingOutcome{});
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

// A flush or close that fails after the new tail was written counts as a
// failure: the old tail goes back. When putting it back fails too, the reason
// says where the old tail is kept.
TEST_F(TaggingFailures, FailuresAfterTheWritePutTheOldTailBack) {
    const std::string middle = dir_ / "memory.mp3";
    struct Case {
        const char* Name;
        void (*Break)(FailingFile::Store&);
        bool PutBack;
    };
    const Case cases[] = {
        {"flush fails once", [](FailingFile::Store& s) { s.FailingFlushes = 1; }, true},
        {"close fails once", [](FailingFile::Store& s) { s.FailingCloses = 1; }, true},
        {"every close fails", [](FailingFile::Store& s) { s.FailClose = true; }, false},
        {"every flush fails", [](FailingFile::Store& s) { s.FailingFlushes = 100; }, false},
        {"write and put-back fail",
         [](FailingFile::Store& s) {
             s.WriteLimit = 40;
             s.KeepFailing = true;
         },
         false},
    };
    for (const Case& c : cases) {
        auto store = MakeStore(original_);
        c.Break(*store);
        const TaggingOutcome outcome =
            PassWithMiddle(CheckedRow(middle, lyrics_, "A - T"), OpenerServing(middle, store));
        ExpectLog(TaggingLog(outcome.Results), middle);
        ASSERT_EQ(outcome.Results.size(), 3u) << c.Name;
        const std::string& reason = outcome.Results[1].Reason;
        EXPECT_FALSE(reason.empty()) << c.Name;
        EXPECT_EQ(reason.ends_with(kReasonKeptInJournal), !c.PutBack) << c.Name << ": " << reason;
        if (c.PutBack) {
            EXPECT_EQ(store->Bytes, original_) << c.Name;
        }
        dir_.WriteFile("before.mp3", original_);
        dir_.WriteFile("after.mp3", original_);
    }
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
