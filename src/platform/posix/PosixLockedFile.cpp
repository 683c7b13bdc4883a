// SPDX-License-Identifier: GPL-3.0-or-later
// Locked files as descriptors with an advisory whole-file lock (flock), which
// the kernel releases when the descriptor closes, even after a crash.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/LockedFile.h"

namespace versemark {
namespace {

constexpr mode_t kFolderMode = 0700;
constexpr mode_t kFileMode = 0600;
constexpr mode_t kPrivateMask = 0077;
constexpr char kStateVariable[] = "XDG_STATE_HOME";
constexpr char kHomeVariable[] = "HOME";
constexpr char kStateBelowHome[] = "/.local/state";
constexpr char kProgramFolder[] = "/versemark";
constexpr char kFolderIsLink[] = "it is a link, not the user's own folder";
constexpr char kFolderNotOwn[] = "it belongs to another user";

class PosixLockedFile final : public LockedFile {
  public:
    explicit PosixLockedFile(int fd) : fd_(fd) {}
    ~PosixLockedFile() override { ::close(fd_); }

    bool Append(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return Failed(n < 0 ? errno : ENOSPC);
            }
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    bool Sync() override { return ::fdatasync(fd_) == 0 || Failed(errno); }

    bool Truncate(std::uint64_t length) override {
        return ::ftruncate(fd_, static_cast<off_t>(length)) == 0 || Failed(errno);
    }

    std::string ErrorText() const override { return std::strerror(error_); }

  private:
    bool Failed(int error) {
        error_ = error;
        return false;
    }

    int fd_;
    int error_ = EIO;
};

// Takes the lock without waiting; closes the descriptor when another holds it.
bool Lock(int fd) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        return true;
    }
    const int error = errno;
    ::close(fd);
    errno = error;
    return false;
}

}  // namespace

std::unique_ptr<LockedFile> CreateLockedFile(const std::string& path, LockedCreate& result,
                                             std::string& reason) {
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, kFileMode);
    if (fd < 0 && errno == EEXIST) {
        result = LockedCreate::NameTaken;
        return nullptr;
    }
    if (fd < 0 || !Lock(fd)) {
        result = LockedCreate::Failed;
        reason = std::strerror(errno);
        return nullptr;
    }
    result = LockedCreate::Made;
    return std::make_unique<PosixLockedFile>(fd);
}

std::unique_ptr<LockedFile> OpenLockedFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0 || !Lock(fd)) {
        return nullptr;
    }
    return std::make_unique<PosixLockedFile>(fd);
}

bool MakePrivateFolder(const std::string& folder, std::string& reason) {
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) {
        const mode_t oldMask = ::umask(kPrivateMask);
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        ::umask(oldMask);
        if (error || ::lstat(folder.c_str(), &st) != 0) {
            reason = std::strerror(error ? error.value() : errno);
            return false;
        }
    }
    if (S_ISLNK(st.st_mode)) {
        reason = kFolderIsLink;
        return false;
    }
    // Opened without following a link, so that the folder changed is the one checked.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    const bool own = ::fstat(fd, &st) == 0 && st.st_uid == ::geteuid();
    if (own) {
        ::fchmod(fd, kFolderMode);  // a folder made by an older run keeps others out too
    }
    ::close(fd);
    if (!own) {
        reason = kFolderNotOwn;
    }
    return own;
}

bool IsUsersOwnFile(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid();
}

std::string UserStateFolder() {
    if (const char* state = std::getenv(kStateVariable); state && *state == '/') {
        return std::string(state) + kProgramFolder;
    }
    if (const char* home = std::getenv(kHomeVariable); home && *home) {
        return std::string(home) + kStateBelowHome + kProgramFolder;
    }
    return {};
}

std::string_view NoUserStateFolderText() {
    return "neither XDG_STATE_HOME nor HOME is set";
}

int CurrentProcessId() {
    return static_cast<int>(::getpid());
}

std::tm LocalTime(std::time_t seconds) {
    std::tm local{};
    ::localtime_r(&seconds, &local);
    return local;
}

}  // namespace versemark
