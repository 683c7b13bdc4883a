// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

#include "platform/PosixDescriptorFile.h"
#include "platform/ReplacementFile.h"

namespace versemark {
namespace {

constexpr mode_t kPermissionBits = 07777;
constexpr mode_t kNewFileMode = 0600;
constexpr int kNameTries = 100;
constexpr char kNameAlphabet[] = "0123456789abcdefghijklmnopqrstuvwxyz";
constexpr std::size_t kAlphabetSize = sizeof(kNameAlphabet) - 1;

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

// A free name for the new file in `folder`: the prefix and random letters or
// digits; empty when every try found the name taken.
std::string FreeNewPath(const std::filesystem::path& folder) {
    // The clock's finest count and the process: different from call to call and
    // from process to process.
    std::mt19937_64 random(
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<std::uint64_t>(::getpid()) << 32));
    std::uniform_int_distribution<std::size_t> letter(0, kAlphabetSize - 1);
    for (int i = 0; i < kNameTries; ++i) {
        std::string name(kReplacementNamePrefix);
        for (std::size_t j = 0; j < kReplacementNameLetters; ++j) {
            name += kNameAlphabet[letter(random)];
        }
        std::string newPath = (folder / name).string();
        struct stat existing {};
        if (::lstat(newPath.c_str(), &existing) != 0) {  // any other failure shows when it is made
            return newPath;
        }
    }
    return {};
}

}  // namespace

std::unique_ptr<ReplacementFile> CreateReplacementFile(const std::string& path, std::string& reason,
                                                       const BeforeReplacementCreate& beforeCreate,
                                                       ReplacementLinks links) {
    std::error_code error;
    const std::filesystem::path target = links == ReplacementLinks::Follow
                                             ? std::filesystem::canonical(path, error)
                                             : std::filesystem::path(path);
    struct stat old {};
    if (error || ::lstat(target.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) {
        reason = error ? error.message() : "not a regular file";
        return nullptr;
    }
    // A file this user may not write is left alone, as by a write in place.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        reason = "the file cannot be written: " + LastSystemError();
        return nullptr;
    }
    const std::string folder = target.parent_path().string();
    std::string newPath = FreeNewPath(target.parent_path());
    if (newPath.empty()) {
        reason = "cannot create a new file in the folder: no free name";
        return nullptr;
    }
    if (beforeCreate && !beforeCreate(newPath, reason)) {
        return nullptr;
    }
    const int fd =
        ::open(newPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, kNewFileMode);
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
