// Positioned reads and writes through the system's file handles.
#include <windows.h>

#include <algorithm>

#include "platform/RandomAccessFile.h"
#include "platform/win32/SystemError.h"
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
    const DWORD rights =
        access == FileAccess::ReadWrite ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
    // Others may read, write and remove the file while it is open, as on Linux.
    const HANDLE handle = CreateFileW(win32::Wide(path).c_str(), rights,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    // Only files on a disk: not a console, a pipe or a device named like a file.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return nullptr;
    }
    return std::make_unique<Win32File>(handle);
}

}  // namespace versemark
