// Locked files as handles that hold a byte-range lock far beyond any real
// content: it keeps other processes from taking the file without keeping anyone
// from reading its bytes, and the system releases it when the handle closes,
// even after a crash.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/FileSystem.h"
#include "platform/LockedFile.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/WideText.h"

namespace versemark {
namespace {

constexpr DWORD kLockOffsetHigh = 0x7FFFFFFFU;  // far past the end of any journal
constexpr DWORD kLockLength = 1;
constexpr char kProgramFolder[] = "\\versemark";

// Others may read the file, and remove it, while it is open, as on Linux.
constexpr DWORD kShared = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class Win32LockedFile final : public LockedFile {
  public:
    explicit Win32LockedFile(HANDLE handle) : handle_(handle) {}
    ~Win32LockedFile() override { CloseHandle(handle_); }

    bool Append(std::string_view bytes) override {
        LARGE_INTEGER end{};
        if (!SetFilePointerEx(handle_, end, nullptr, FILE_END)) {
            return Failed(GetLastError());
        }
        while (!bytes.empty()) {
            DWORD n = 0;
            const auto piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1U << 30));
            if (!WriteFile(handle_, bytes.data(), piece, &n, nullptr)) {
                return Failed(GetLastError());
            }
            if (n == 0) {
                return Failed(ERROR_DISK_FULL);
            }
            bytes.remove_prefix(n);
        }
        return true;
    }

    bool Sync() override { return FlushFileBuffers(handle_) || Failed(GetLastError()); }

    bool Truncate(std::uint64_t length) override {
        LARGE_INTEGER position{};
        position.QuadPart = static_cast<LONGLONG>(length);
        return (SetFilePointerEx(handle_, position, nullptr, FILE_BEGIN) &&
                SetEndOfFile(handle_)) ||
               Failed(GetLastError());
    }

    std::string ErrorText() const override { return win32::SystemMessage(error_); }

  private:
    bool Failed(DWORD error) {
        error_ = error;
        return false;
    }

    HANDLE handle_;
    DWORD error_ = ERROR_GEN_FAILURE;
};

// Takes the lock without waiting; closes the handle when another holds it.
bool Lock(HANDLE handle) {
    OVERLAPPED where{};
    where.OffsetHigh = kLockOffsetHigh;
    if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, kLockLength, 0,
                   &where)) {
        return true;
    }
    const DWORD error = GetLastError();
    CloseHandle(handle);
    SetLastError(error);
    return false;
}

}  // namespace

std::unique_ptr<LockedFile> CreateLockedFile(const std::string& path, LockedCreate& result,
                                             std::string& reason) {
    // The file inherits the rights of the user's own folder it is made in.
    const HANDLE handle = CreateFileW(win32::Wide(path).c_str(), GENERIC_WRITE, kShared, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE &&
        (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS)) {
        result = LockedCreate::NameTaken;
        return nullptr;
    }
    if (handle == INVALID_HANDLE_VALUE || !Lock(handle)) {
        result = LockedCreate::Failed;
        reason = win32::SystemMessage(GetLastError());
        return nullptr;
    }
    result = LockedCreate::Made;
    return std::make_unique<Win32LockedFile>(handle);
}

std::unique_ptr<LockedFile> OpenLockedFile(const std::string& path) {
    const HANDLE handle = CreateFileW(win32::Wide(path).c_str(), GENERIC_WRITE, kShared, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE || !Lock(handle)) {
        return nullptr;
    }
    return std::make_unique<Win32LockedFile>(handle);
}

bool MakePrivateFolder(const std::string& folder, std::string& reason) {
    // Below the user's local application data, which only the user may open.
    std::error_code error;
    std::filesystem::create_directories(PathFromUtf8(folder), error);
    if (error) {
        reason = error.message();
        return false;
    }
    return true;
}

std::string UserStateFolder() {
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
    if (length <= 1) {
        return {};
    }
    std::wstring value(length, L'\0');
    value.resize(GetEnvironmentVariableW(L"LOCALAPPDATA", value.data(), length));
    return value.empty() ? std::string() : win32::Utf8(value) + kProgramFolder;
}

std::string_view NoUserStateFolderText() {
    return "LOCALAPPDATA is not set";
}

int CurrentProcessId() {
    return static_cast<int>(GetCurrentProcessId());
}

std::tm LocalTime(std::time_t seconds) {
    std::tm local{};
    localtime_s(&local, &seconds);
    return local;
}

}  // namespace versemark
