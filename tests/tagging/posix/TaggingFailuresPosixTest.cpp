// Failures that only a POSIX system can cause on a real disk.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include "../TaggingFailures.h"

namespace versemark::testing {
namespace {

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
