// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/SystemPath.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace versemark::win32 {

namespace {

// The extended-length prefix, before a drive: \\?\C:\...
constexpr std::wstring_view kExtendedPrefix = L"\\\\?\\";
// The extended-length prefix of a share, in place of its leading two separators.
constexpr std::wstring_view kExtendedSharePrefix = L"\\\\?\\UNC\\";
// A device name (\\.\COM1) and the object manager's form (\??\C:), taken as they are.
constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";
constexpr std::wstring_view kObjectPrefix =
    L"\\?"
    L"?\\";  // split: no trigraph
// A share: \\server\share\...
constexpr std::wstring_view kSharePrefix = L"\\\\";
// A drive's root: a letter, a colon and a separator.
constexpr std::size_t kDriveLength = 3;
constexpr wchar_t kDriveColon = L':';
constexpr wchar_t kSeparator = L'\\';

bool StartsWith(std::wstring_view text, std::wstring_view start) {
    return text.substr(0, start.size()) == start;
}

// Already a form the system takes without interpreting it further.
bool IsSystemForm(std::wstring_view path) {
    return StartsWith(path, kExtendedPrefix) || StartsWith(path, kDevicePrefix) ||
           StartsWith(path, kObjectPrefix);
}

bool IsDrivePath(std::wstring_view path) {
    return path.size() >= kDriveLength && path[1] == kDriveColon && path[2] == kSeparator;
}

// The full path as the system would make it, or nothing when it cannot.
std::wstring FullPath(const std::wstring& path) {
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) {
        return std::wstring();
    }
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) {
        return std::wstring();
    }
    full.resize(length);
    return full;
}

}  // namespace

std::wstring SystemPath(std::string_view path) {
    std::wstring wide = Wide(path);
    if (IsSystemForm(wide)) {
        return wide;
    }
    const std::wstring full = FullPath(wide);
    if (full.size() <= kLongestPlainPath) {
        return wide;  // short enough as given (or not a path the system can complete)
    }
    if (IsDrivePath(full)) {
        return std::wstring(kExtendedPrefix) + full;
    }
    if (StartsWith(full, kSharePrefix)) {
        return std::wstring(kExtendedSharePrefix) + full.substr(kSharePrefix.size());
    }
    return wide;
}

std::string WithoutExtendedPrefix(std::string_view path) {
    const std::wstring wide = Wide(path);
    if (StartsWith(wide, kExtendedSharePrefix)) {
        return Utf8(std::wstring(kSharePrefix) + wide.substr(kExtendedSharePrefix.size()));
    }
    if (StartsWith(wide, kExtendedPrefix) && IsDrivePath(wide.substr(kExtendedPrefix.size()))) {
        return Utf8(wide.substr(kExtendedPrefix.size()));
    }
    return std::string(path);
}

}  // namespace versemark::win32
