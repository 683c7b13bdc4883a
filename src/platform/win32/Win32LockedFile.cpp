// SPDX-License-Identifier: GPL-3.0-or-later
// Locked files as handles that hold a byte-range lock far beyond any real
// content: it keeps other processes from taking the file without keeping anyone
// from reading its bytes, and the system releases it when the handle closes,
// even after a crash.
#include <windows.h>

#include <aclapi.h>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/LockedFile.h"
#include "platform/win32/ScopedHandle.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/SystemPath.h"
#include "platform/win32/WideText.h"

namespace versemark {
namespace {

constexpr DWORD kLockOffsetHigh = 0x7FFFFFFFU;  // far past the end of any journal
constexpr DWORD kLockLength = 1;
constexpr char kProgramFolder[] = "\\versemark";
constexpr char kFolderIsLink[] = "it is a link or junction, not the user's own folder";
constexpr char kFolderNotOwn[] = "it belongs to another user";

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

// A piece of the process token's information (TokenUser, TokenOwner,
// TokenGroups); empty when it cannot be read.
std::vector<BYTE> TokenPart(HANDLE token, TOKEN_INFORMATION_CLASS part) {
    DWORD size = 0;
    GetTokenInformation(token, part, nullptr, 0, &size);
    std::vector<BYTE> bytes(size);
    if (size == 0 || !GetTokenInformation(token, part, bytes.data(), size, &size)) {
        bytes.clear();
    }
    return bytes;
}

// True when the Administrators group is among the token's groups, enabled or,
// in the filtered token of an administrator who did not elevate, deny-only.
bool ListsAdministrators(HANDLE token) {
    const std::vector<BYTE> bytes = TokenPart(token, TokenGroups);
    if (bytes.empty()) {
        return false;
    }
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(bytes.data());
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        if (IsWellKnownSid(groups->Groups[i].Sid, WinBuiltinAdministratorsSid)) {
            return true;
        }
    }
    return false;
}

// True when `owner` is what Windows sets as the owner of what this process
// makes: the user, or the token's default owner (for an elevated administrator
// the Administrators group), or that group for an administrator who did not
// elevate this time.
bool IsCurrentUsersOwner(PSID owner) {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) {
        return false;
    }
    const win32::ScopedHandle token(raw);
    const std::vector<BYTE> user = TokenPart(token.Get(), TokenUser);
    if (!user.empty() &&
        EqualSid(owner, reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid)) {
        return true;
    }
    const std::vector<BYTE> byDefault = TokenPart(token.Get(), TokenOwner);
    if (!byDefault.empty() &&
        EqualSid(owner, reinterpret_cast<const TOKEN_OWNER*>(byDefault.data())->Owner)) {
        return true;
    }
    return IsWellKnownSid(owner, WinBuiltinAdministratorsSid) && ListsAdministrators(token.Get());
}

bool OwnedByCurrentUser(const std::wstring& path) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                              nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    const bool own = owner != nullptr && IsCurrentUsersOwner(owner);
    LocalFree(descriptor);
    return own;
}

}  // namespace

std::unique_ptr<LockedFile> CreateLockedFile(const std::string& path, LockedCreate& result,
                                             std::string& reason) {
    // The file inherits the rights of the user's own folder it is made in.
    const HANDLE handle = CreateFileW(win32::SystemPath(path).c_str(), GENERIC_WRITE, kShared,
                                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
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
    const HANDLE handle = CreateFileW(win32::SystemPath(path).c_str(), GENERIC_WRITE, kShared,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE || !Lock(handle)) {
        return nullptr;
    }
    return std::make_unique<Win32LockedFile>(handle);
}

bool MakePrivateFolder(const std::string& folder, std::string& reason) {
    // Below the user's local application data, which only the user may open.
    const std::wstring wide = win32::SystemPath(folder);
    if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::error_code error;
        std::filesystem::create_directories(PathFromUtf8(folder), error);
        if (error) {
            reason = error.message();
            return false;
        }
    }
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        reason = win32::SystemMessage(GetLastError());
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        reason = kFolderIsLink;
        return false;
    }
    if (!OwnedByCurrentUser(wide)) {
        reason = kFolderNotOwn;
        return false;
    }
    return true;
}

bool IsUsersOwnFile(const std::string& path) {
    const std::wstring wide = win32::SystemPath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0 &&
           OwnedByCurrentUser(wide);
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
