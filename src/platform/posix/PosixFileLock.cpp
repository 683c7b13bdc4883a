// SPDX-License-Identifier: GPL-3.0-or-later
// The lock file as a descriptor with an advisory whole-file lock (flock).
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "platform/FileLock.h"

namespace versemark {
namespace {

constexpr mode_t kFileMode = 0600;

class PosixFileLock final : public HeldFileLock {
  public:
    explicit PosixFileLock(int fd) : fd_(fd) {}
    ~PosixFileLock() override { ::close(fd_); }

  private:
    int fd_;
};

// flock, tried again when a signal breaks off the wait.
int Flock(int fd, int operation) {
    int status = 0;
    do {
        status = ::flock(fd, operation);
    } while (status != 0 && errno == EINTR);
    return status;
}

}  // namespace

std::unique_ptr<HeldFileLock> TakeFileLock(const std::string& path, FileLockWait wait,
                                           FileLockTake& result, std::string& reason) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, kFileMode);
    if (fd < 0) {
        result = FileLockTake::Failed;
        reason = path + ": " + std::strerror(errno);
        return nullptr;
    }
    const int operation = wait == FileLockWait::Yes ? LOCK_EX : LOCK_EX | LOCK_NB;
    if (Flock(fd, operation) != 0) {
        const int error = errno;
        ::close(fd);
        result = error == EWOULDBLOCK ? FileLockTake::Busy : FileLockTake::Failed;
        reason = path + ": " + std::strerror(error);
        return nullptr;
    }
    result = FileLockTake::Taken;
    return std::make_unique<PosixFileLock>(fd);
}

bool FileLockHeldElsewhere(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    // A shared lock: two looks at once do not see each other.
    const bool held = Flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

}  // namespace versemark
