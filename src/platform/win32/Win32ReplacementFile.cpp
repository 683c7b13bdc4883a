// SPDX-License-Identifier: GPL-3.0-or-later
// The new file beside the old one, flushed, then moved over it by the system's
// replacing rename, which writes the move through to the disk before it returns.
#include <windows.h>

#include <string>

#include "platform/ReplacementFile.h"
#include "platform/win32/ScopedHandle.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/SystemPath.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32HandleFile.h"

namespace versemark {
namespace {

// The new file's name in the folder, as on other systems: the prefix and six
// letters or digits, tried afresh while a file of that name exists.
constexpr int kNameTries = 100;
constexpr wchar_t kNameAlphabet[] = L"0123456789abcdefghijklmnopqrstuvwxyz";
constexpr unsigned kAlphabetSize = sizeof(kNameAlphabet) / sizeof(wchar_t) - 1;
// The attributes the new file takes over; read-only files are refused before.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
// A full path as the system gives it: "\\?\C:\..." (no length limit).
constexpr DWORD kPathChars = 32768;

class Win32ReplacementFile final : public ReplacementFile {
  public:
    Win32ReplacementFile(HANDLE handle, std::wstring newPath, std::wstring oldPath)
        : file_(win32::AdoptFileHandle(handle)),
          newPath_(std::move(newPath)),
          oldPath_(std::move(oldPath)) {}

    ~Win32ReplacementFile() override {
        if (!committed_) {
            file_->Close();
            DeleteFileW(newPath_.c_str());
        }
    }

    RandomAccessFile& File() override { return *file_; }

    bool Commit(std::string& reason) override {
        if (!file_->Flush()) {
            reason = "flushing the new file failed: " + file_->ErrorText();
            return false;
        }
        if (!file_->Close()) {
            reason = "closing the new file failed: " + file_->ErrorText();
            return false;
        }
        if (!MoveFileExW(newPath_.c_str(), oldPath_.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            reason = "renaming the new file over the old one failed: " +
                     win32::SystemMessage(GetLastError());
            return false;
        }
        committed_ = true;
        return true;
    }

  private:
    std::unique_ptr<RandomAccessFile> file_;
    std::wstring newPath_;
    std::wstring oldPath_;
    bool committed_ = false;
};

std::string Failure(const std::string& what) {
    return what + win32::SystemMessage(GetLastError());
}

// Six letters or digits from the clock's finest count, the process and the try:
// different from call to call and from process to process.
std::wstring NameLetters(int attempt) {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    auto seed = static_cast<ULONGLONG>(now.QuadPart) * 2654435761ULL ^
                static_cast<ULONGLONG>(GetCurrentProcessId()) * 40503ULL ^
                static_cast<ULONGLONG>(attempt) * 977ULL;
    std::wstring letters;
    for (std::size_t i = 0; i < kReplacementNameLetters; ++i) {
        letters += kNameAlphabet[seed % kAlphabetSize];
        seed /= kAlphabetSize;
    }
    return letters;
}

}  // namespace

std::unique_ptr<ReplacementFile> CreateReplacementFile(const std::string& path, std::string& reason,
                                                       const BeforeReplacementCreate& beforeCreate,
                                                       ReplacementLinks links) {
    // Opened for writing, as a write in place would open it: a read-only file, or
    // one this user may not write, is left alone. Others may go on using it.
    // Where links are refused, a reparse point is opened as itself.
    const DWORD flags = links == ReplacementLinks::Refuse
                            ? FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT
                            : FILE_ATTRIBUTE_NORMAL;
    const win32::ScopedHandle old(
        CreateFileW(win32::SystemPath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    flags, nullptr));
    if (!old.Valid()) {
        reason = Failure("the file cannot be written: ");
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(old.Get()) != FILE_TYPE_DISK || !GetFileInformationByHandle(old.Get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        reason = "not a regular file";
        return nullptr;
    }
    // A read-only file is left as a write in place leaves it. Checked here as well,
    // since Wine lets a program run by root open such a file for writing.
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
        reason = "the file cannot be written: " + win32::SystemMessage(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    // The file the path leads to, through any link, as a full path.
    std::wstring target(kPathChars, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(old.Get(), target.data(), kPathChars,
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length >= kPathChars) {
        reason = Failure("the file's full path cannot be found: ");
        return nullptr;
    }
    target.resize(length);
    const std::wstring folder = target.substr(0, target.find_last_of(L'\\') + 1);

    const DWORD attributes = info.dwFileAttributes & kKeptAttributes;
    const std::wstring prefix = win32::Wide(kReplacementNamePrefix);
    for (int i = 0; i < kNameTries; ++i) {
        std::wstring newPath = folder + prefix + NameLetters(i);
        if (GetFileAttributesW(newPath.c_str()) != INVALID_FILE_ATTRIBUTES) {
            continue;  // taken
        }
        if (beforeCreate && !beforeCreate(win32::Utf8(newPath), reason)) {
            return nullptr;
        }
        const HANDLE handle =
            CreateFileW(newPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                        CREATE_NEW, attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            return std::make_unique<Win32ReplacementFile>(handle, std::move(newPath),
                                                          std::move(target));
        }
        break;
    }
    reason = Failure("cannot create a new file in the folder: ");
    return nullptr;
}

}  // namespace versemark
