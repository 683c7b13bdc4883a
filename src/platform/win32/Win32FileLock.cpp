// SPDX-License-Identifier: GPL-3.0-or-later
// The lock file as a handle holding a byte-range lock far beyond its (empty)
// content (LockFileEx).
#include <windows.h>

#include "platform/FileLock.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/SystemPath.h"
#include "platform/win32/WideText.h"

namespace versemark {
namespace {

constexpr DWORD kLockOffsetHigh = 0x7FFFFFFFU;
constexpr DWORD kLockLength = 1;
constexpr DWORD kShared = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A link in the lock file's place is opened as itself, never followed.
constexpr DWORD kOpenFlags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;

class Win32FileLock final : public HeldFileLock {
  public:
    explicit Win32FileLock(HANDLE handle) : handle_(handle) {}
    ~Win32FileLock() override { CloseHandle(handle_); }

  private:
    HANDLE handle_;
};

bool LockRange(HANDLE handle, DWORD flags) {
    OVERLAPPED where{};
    where.OffsetHigh = kLockOffsetHigh;
    return LockFileEx(handle, flags, 0, kLockLength, 0, &where) != 0;
}

}  // namespace

std::unique_ptr<HeldFileLock> TakeFileLock(const std::string& path, FileLockWait wait,
                                           FileLockTake& result, std::string& reason) {
    const HANDLE handle = CreateFileW(win32::SystemPath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                      kShared, nullptr, OPEN_ALWAYS, kOpenFlags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        result = FileLockTake::Failed;
        reason = path + ": " + win32::SystemMessage(GetLastError());
        return nullptr;
    }
    const DWORD flags =
        LOCKFILE_EXCLUSIVE_LOCK | (wait == FileLockWait::Yes ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    if (!LockRange(handle, flags)) {
        const DWORD error = GetLastError();
        CloseHandle(handle);
        result = error == ERROR_LOCK_VIOLATION ? FileLockTake::Busy : FileLockTake::Failed;
        reason = path + ": " + win32::SystemMessage(error);
        return nullptr;
    }
    result = FileLockTake::Taken;
    return std::make_unique<Win32FileLock>(handle);
}

bool FileLockHeldElsewhere(const std::string& path) {
    const HANDLE handle = CreateFileW(win32::SystemPath(path).c_str(), GENERIC_READ, kShared,
                                      nullptr, OPEN_EXISTING, kOpenFlags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    // A shared lock: two looks at once do not see each other.
    const bool held =
        !LockRange(handle, LOCKFILE_FAIL_IMMEDIATELY) && GetLastError() == ERROR_LOCK_VIOLATION;
    CloseHandle(handle);  // releases the shared lock when it was taken
    return held;
}

}  // namespace versemark
