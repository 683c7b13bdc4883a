// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RandomAccessFile.h"

#include "platform/PosixDescriptorFile.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <vector>

namespace versemark {

FileStamp StampOf(const struct stat& st);

namespace {

constexpr uid_t kRootUser = 0;
// A new file's permission bits before the user's file-creation mask takes its share.
constexpr mode_t kNewFileMode = 0666;

// True when the running user's groups include `group`.
bool InUsersGroups(gid_t group) {
    if (group == ::getegid()) {
        return true;
    }
    const int count = ::getgroups(0, nullptr);
    if (count <= 0) {
        return false;
    }
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = ::getgroups(count, groups.data());
    for (int i = 0; i < got; ++i) {
        if (groups[static_cast<std::size_t>(i)] == group) {
            return true;
        }
    }
    return false;
}

// The permission bits that apply to the running user: the owner's, the group's
// or the others'. Only the administrator gets past them, so for any other user
// the open itself has already said what they grant.
FileRights RightsOf(const struct stat& st) {
    const uid_t user = ::geteuid();
    FileRights rights;
    rights.OwnedByUser = user != kRootUser && st.st_uid == user;
    if (user != kRootUser) {
        return rights;
    }
    mode_t read = S_IROTH;
    mode_t write = S_IWOTH;
    if (st.st_uid == user) {
        read = S_IRUSR;
        write = S_IWUSR;
    } else if (InUsersGroups(st.st_gid)) {
        read = S_IRGRP;
        write = S_IWGRP;
    }
    rights.Readable = (st.st_mode & read) != 0;
    rights.Writable = (st.st_mode & write) != 0;
    return rights;
}

// Opens `path` for reading and writing with no link anywhere on the way; where
// the system cannot resolve that way, at least not through a link as the file.
int OpenWithoutLinks(const char* path, int flags) {
    struct open_how how {};
    how.flags = static_cast<std::uint64_t>(flags);
    how.resolve = RESOLVE_NO_SYMLINKS;
    const long fd = ::syscall(SYS_openat2, AT_FDCWD, path, &how, sizeof how);
    if (fd < 0 && errno == ENOSYS) {
        return ::open(path, flags | O_NOFOLLOW);
    }
    return static_cast<int>(fd);
}

class PosixFile final : public RandomAccessFile {
  public:
    // `readStatus` is the status taken at the open of a file opened for reading
    // only: nothing writes through it, so its length and stamp are asked for only
    // once (a file changed meanwhile by others reads short, as it would a moment
    // later, and its stamp tells the change to whoever compares it afterwards).
    PosixFile(int fd, std::optional<struct stat> readStatus) : fd_(fd), readStatus_(readStatus) {}
    ~PosixFile() override { Close(); }

    std::optional<std::uint64_t> Length() override {
        if (readStatus_ && fd_ >= 0) {
            return static_cast<std::uint64_t>(readStatus_->st_size);
        }
        struct stat st {};
        if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(st.st_size);
    }

    bool ReadAt(std::uint64_t offset, std::size_t count, std::string& out) override {
        out.assign(count, '\0');
        std::size_t done = 0;
        while (done < count) {
            const ssize_t n =
                ::pread(fd_, out.data() + done, count - done, static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                NoteError(n < 0 ? errno : EIO);
                out.resize(done);
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    bool WriteAt(std::uint64_t offset, std::string_view data) override {
        std::size_t done = 0;
        while (done < data.size()) {
            const ssize_t n = ::pwrite(fd_, data.data() + done, data.size() - done,
                                       static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                NoteError(n < 0 ? errno : ENOSPC);
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    bool Truncate(std::uint64_t length) override {
        return Succeeded(fd_ >= 0 && ::ftruncate(fd_, static_cast<off_t>(length)) == 0);
    }

    bool Close() override {
        if (fd_ < 0) {
            return true;
        }
        const int fd = fd_;
        fd_ = -1;
        return Succeeded(::close(fd) == 0);
    }

    bool Flush() override { return Succeeded(fd_ >= 0 && ::fsync(fd_) == 0); }

    std::optional<FileStamp> Stamp() override {
        if (readStatus_ && fd_ >= 0) {
            return StampOf(*readStatus_);
        }
        struct stat st {};
        if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
            return std::nullopt;
        }
        return StampOf(st);
    }

    std::optional<FileRights> Rights() override {
        struct stat st {};
        if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
            return std::nullopt;
        }
        return RightsOf(st);
    }

    std::string ErrorText() const override { return std::strerror(error_); }

  private:
    void NoteError(int error) { error_ = error != 0 ? error : EIO; }
    bool Succeeded(bool ok) {
        if (!ok) {
            NoteError(errno);
        }
        return ok;
    }

    int fd_;
    std::optional<struct stat> readStatus_;
    int error_ = EIO;
};

}  // namespace

FileStamp StampOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

std::unique_ptr<RandomAccessFile> AdoptFileDescriptor(int fd) {
    return std::make_unique<PosixFile>(fd, std::nullopt);  // asked of the system each time
}

std::unique_ptr<RandomAccessFile> OpenFile(const std::string& path, FileAccess access) {
    // Opened without blocking so that a FIFO or device named like a file cannot
    // hang the caller; only regular files are kept. The flag stays set: reads and
    // writes of regular files never block on it, and clearing it costs two calls.
    const int flags = (access == FileAccess::Read ? O_RDONLY : O_RDWR) | O_CLOEXEC | O_NONBLOCK;
    const int fd = access == FileAccess::ReadWriteNoLinks ? OpenWithoutLinks(path.c_str(), flags)
                                                          : ::open(path.c_str(), flags);
    if (fd < 0) {
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    std::optional<struct stat> readStatus;
    if (access == FileAccess::Read) {
        readStatus = st;
    }
    return std::make_unique<PosixFile>(fd, readStatus);
}

std::unique_ptr<RandomAccessFile> CreateNewFile(const std::string& path, NewFileStatus& status,
                                                std::string& reason) {
    // O_EXCL with O_CREAT fails on any name that exists, a link included, which
    // is never followed; O_NOFOLLOW says the same once more.
    const int fd =
        ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kNewFileMode);
    if (fd < 0) {
        status =
            errno == EEXIST || errno == ELOOP ? NewFileStatus::NameTaken : NewFileStatus::Failed;
        reason = std::strerror(errno);
        return nullptr;
    }
    status = NewFileStatus::Made;
    return AdoptFileDescriptor(fd);
}

}  // namespace versemark
