#include "platform/RandomAccessFile.h"

#include "platform/PosixDescriptorFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace versemark {

FileStamp StampOf(const struct stat& st);

namespace {

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
    const int flags =
        (access == FileAccess::ReadWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK;
    const int fd = ::open(path.c_str(), flags);
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

}  // namespace versemark
