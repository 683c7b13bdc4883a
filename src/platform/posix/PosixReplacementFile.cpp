#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/PosixDescriptorFile.h"
#include "platform/ReplacementFile.h"

namespace versemark {
namespace {

// The new file's name in the folder: hidden, short enough for any file name limit.
constexpr char kTemporaryName[] = ".versemark-XXXXXX";
constexpr mode_t kPermissionBits = 07777;

// The system's description of why the last call failed.
std::string LastSystemError() {
    return std::strerror(errno);
}

class PosixReplacementFile final : public ReplacementFile {
  public:
    PosixReplacementFile(int fd, std::string newPath, std::string oldPath, std::string folder)
        : fd_(fd),
          file_(AdoptFileDescriptor(fd)),
          newPath_(std::move(newPath)),
          oldPath_(std::move(oldPath)),
          folder_(std::move(folder)) {}

    ~PosixReplacementFile() override {
        if (!committed_) {
            file_->Close();
            ::unlink(newPath_.c_str());
        }
    }

    RandomAccessFile& File() override { return *file_; }

    bool Commit(std::string& reason) override {
        if (::fsync(fd_) != 0) {
            reason = "flushing the new file failed: " + LastSystemError();
            return false;
        }
        if (!file_->Close()) {
            reason = "closing the new file failed: " + LastSystemError();
            return false;
        }
        if (::rename(newPath_.c_str(), oldPath_.c_str()) != 0) {
            reason = "renaming the new file over the old one failed: " + LastSystemError();
            return false;
        }
        committed_ = true;
        SyncFolder();
        return true;
    }

  private:
    // Makes the rename itself last. Past the rename the new content is in place
    // whatever this gives, so a failure here changes nothing that could be reported.
    void SyncFolder() const {
        const int folder = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
    }

    int fd_;
    std::unique_ptr<RandomAccessFile> file_;
    std::string newPath_;
    std::string oldPath_;
    std::string folder_;
    bool committed_ = false;
};

}  // namespace

std::unique_ptr<ReplacementFile> CreateReplacementFile(const std::string& path,
                                                       std::string& reason) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::canonical(path, error);
    struct stat old {};
    if (error || ::stat(target.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) {
        reason = error ? error.message() : "not a regular file";
        return nullptr;
    }
    // A file this user may not write is left alone, as by a write in place.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        reason = "the file cannot be written: " + LastSystemError();
        return nullptr;
    }
    const std::string folder = target.parent_path().string();
    std::string newPath = (target.parent_path() / kTemporaryName).string();
    const int fd = ::mkostemp(newPath.data(), O_CLOEXEC);
    if (fd < 0) {
        reason = "cannot create a new file in the folder: " + LastSystemError();
        return nullptr;
    }
    auto replacement =
        std::make_unique<PosixReplacementFile>(fd, std::move(newPath), target.string(), folder);
    // Owner and group as far as this user may give them (the owner only as root,
    // a group only where the user belongs to it); otherwise the new file is the
    // user's. Done before the mode, since a change of owner may clear mode bits.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, -1, old.st_gid) != 0) {
        // Keeps this user's ownership.
    }
    if (::fchmod(fd, old.st_mode & kPermissionBits) != 0) {
        reason = "cannot give the new file the old permissions: " + LastSystemError();
        return nullptr;
    }
    return replacement;
}

}  // namespace versemark
