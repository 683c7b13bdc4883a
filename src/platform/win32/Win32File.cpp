// SPDX-License-Identifier: GPL-3.0-or-later
// Positioned reads and writes through the system's file handles.
#include <windows.h>

#include <aclapi.h>

#include <algorithm>
#include <vector>

#include "platform/RandomAccessFile.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/SystemPath.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32HandleFile.h"

namespace versemark {
namespace {

// The largest piece one ReadFile or WriteFile call moves.
constexpr std::size_t kMaxPiece = 1U << 30;
// FILETIME counts 100 ns from 1601; a stamp counts nanoseconds from 1970.
constexpr std::int64_t kFileTimeTo1970 = 116444736000000000LL;
constexpr std::int64_t kNsPerFileTimeTick = 100;

std::uint64_t Join(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32U) | low;
}

// True when the running process's user owns the file open as `handle`.
bool OwnedByRunningUser(HANDLE handle) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                        nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    bool owned = false;
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        std::vector<unsigned char> buffer(size);
        if (size != 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
            const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
            owned = EqualSid(user->User.Sid, owner) != 0;
        }
        CloseHandle(token);
    }
    LocalFree(descriptor);
    return owned;
}

OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFU);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32U);
    return where;
}

class Win32File final : public RandomAccessFile {
  public:
    explicit Win32File(HANDLE handle) : handle_(handle) {}
    ~Win32File() override { Close(); }

    std::optional<std::uint64_t> Length() override {
        LARGE_INTEGER size{};
        if (handle_ == INVALID_HANDLE_VALUE || !GetFileSizeEx(handle_, &size)) {
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(size.QuadPart);
    }

    bool ReadAt(std::uint64_t offset, std::size_t count, std::string& out) override {
        out.assign(count, '\0');
        std::size_t done = 0;
        while (done < count) {
            OVERLAPPED where = At(offset + done);
            DWORD n = 0;
            const DWORD piece = static_cast<DWORD>(std::min(count - done, kMaxPiece));
            const bool read = ReadFile(handle_, out.data() + done, piece, &n, &where);
            if (!read || n == 0) {
                NoteError(read ? ERROR_HANDLE_EOF : GetLastError());
                out.resize(done);
                return false;
            }
            done += n;
        }
        return true;
    }

    bool WriteAt(std::uint64_t offset, std::string_view data) override {
        std::size_t done = 0;
        while (done < data.size()) {
            OVERLAPPED where = At(offset + done);
            DWORD n = 0;
            const DWORD piece = static_cast<DWORD>(std::min(data.size() - done, kMaxPiece));
            const bool written = WriteFile(handle_, data.data() + done, piece, &n, &where);
            if (!written || n == 0) {
                NoteError(written ? ERROR_DISK_FULL : GetLastError());
                return false;
            }
            done += n;
        }
        return true;
    }

    bool Truncate(std::uint64_t length) override {
        LARGE_INTEGER position{};
        position.QuadPart = static_cast<LONGLONG>(length);
        return Succeeded(handle_ != INVALID_HANDLE_VALUE &&
                         SetFilePointerEx(handle_, position, nullptr, FILE_BEGIN) &&
                         SetEndOfFile(handle_));
    }

    bool Close() override {
        if (handle_ == INVALID_HANDLE_VALUE) {
            return true;
        }
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return Succeeded(CloseHandle(handle) != 0);
    }

    bool Flush() override {
        return Succeeded(handle_ != INVALID_HANDLE_VALUE && FlushFileBuffers(handle_));
    }

    // Which file (the volume's serial number and the file's index on it), its
    // size and its last write time.
    std::optional<FileStamp> Stamp() override {
        BY_HANDLE_FILE_INFORMATION info{};
        if (handle_ == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle_, &info)) {
            return std::nullopt;
        }
        const auto written = static_cast<std::int64_t>(
            Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime));
        return FileStamp{info.dwVolumeSerialNumber, Join(info.nFileIndexHigh, info.nFileIndexLow),
                         Join(info.nFileSizeHigh, info.nFileSizeLow),
                         (written - kFileTimeTo1970) * kNsPerFileTimeTick};
    }

    // The read-only attribute is what stands for the write permission here.
    std::optional<FileRights> Rights() override {
        BY_HANDLE_FILE_INFORMATION info{};
        if (handle_ == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle_, &info)) {
            return std::nullopt;
        }
        FileRights rights;
        rights.Writable = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) == 0;
        rights.OwnedByUser = OwnedByRunningUser(handle_);
        return rights;
    }

    std::string ErrorText() const override { return win32::SystemMessage(error_); }

  private:
    void NoteError(DWORD error) { error_ = error != 0 ? error : ERROR_GEN_FAILURE; }
    bool Succeeded(bool ok) {
        if (!ok) {
            NoteError(GetLastError());
        }
        return ok;
    }

    HANDLE handle_;
    DWORD error_ = ERROR_GEN_FAILURE;
};

}  // namespace

std::unique_ptr<RandomAccessFile> win32::AdoptFileHandle(HANDLE handle) {
    return std::make_unique<Win32File>(handle);
}

std::unique_ptr<RandomAccessFile> OpenFile(const std::string& path, FileAccess access) {
    const DWORD rights = access == FileAccess::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    // Without links, the reparse point itself is opened and then refused below.
    const DWORD flags = access == FileAccess::ReadWriteNoLinks
                            ? FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT
                            : FILE_ATTRIBUTE_NORMAL;
    // Others may read, write and remove the file while it is open, as on Linux.
    const HANDLE handle = CreateFileW(win32::SystemPath(path).c_str(), rights,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    // Only files on a disk: not a console, a pipe or a device named like a file.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (access == FileAccess::ReadWriteNoLinks &&
        (!GetFileInformationByHandle(handle, &info) ||
         (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)) {
        CloseHandle(handle);
        SetLastError(ERROR_CANT_ACCESS_FILE);
        return nullptr;
    }
    return std::make_unique<Win32File>(handle);
}

std::unique_ptr<RandomAccessFile> CreateNewFile(const std::string& path, NewFileStatus& status,
                                                std::string& reason) {
    // CREATE_NEW fails on any name that exists, a link or other reparse point
    // included, which it does not follow.
    const HANDLE handle =
        CreateFileW(win32::Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        status = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS
                     ? NewFileStatus::NameTaken
                     : NewFileStatus::Failed;
        reason = win32::SystemMessage(error);
        return nullptr;
    }
    status = NewFileStatus::Made;
    return std::make_unique<Win32File>(handle);
}

}  // namespace versemark
