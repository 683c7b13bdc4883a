// SPDX-License-Identifier: GPL-3.0-or-later
// The registry through its wide-character functions. A 64-bit program asks for
// the 32-bit view explicitly (KEY_WOW64_32KEY); the native view is its own.
#include <windows.h>

#include "platform/Registry.h"
#include "platform/win32/WideText.h"

namespace versemark {

namespace {

// Closes the key when it goes out of scope.
class OpenKey {
  public:
    explicit OpenKey(HKEY key) : key_(key) {}
    ~OpenKey() { RegCloseKey(key_); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY Get() const { return key_; }

  private:
    HKEY key_;
};

bool IsStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

}  // namespace

std::optional<std::string> WinePrefix() {
    return std::nullopt;  // the system's own registry and drives are used
}

std::optional<std::string> RegistryStandInFile() {
    return std::nullopt;
}

std::optional<std::string> ReadMachineKeyFirstValue(std::string_view keyPath, RegistryView view) {
    const REGSAM access = KEY_READ | (view == RegistryView::Bits32 ? KEY_WOW64_32KEY : 0);
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, win32::Wide(keyPath).c_str(), 0, access, &handle) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    const OpenKey key(handle);
    wchar_t name[kRegistryBufferSize];
    DWORD nameLength = kRegistryBufferSize;
    // One character more than the buffer allows, so that data too long for it is
    // noticed instead of being cut.
    wchar_t data[kRegistryBufferSize + 1] = {};
    DWORD dataBytes = sizeof(data) - sizeof(wchar_t);
    DWORD type = 0;
    const LSTATUS status = RegEnumValueW(key.Get(), 0, name, &nameLength, nullptr, &type,
                                         reinterpret_cast<BYTE*>(data), &dataBytes);
    if (status != ERROR_SUCCESS || !IsStringType(type)) {
        return std::nullopt;
    }
    std::wstring_view text(data, dataBytes / sizeof(wchar_t));
    if (!text.empty() && text.back() == L'\0') {
        text.remove_suffix(1);  // the terminating zero that the length counts
    }
    if (text.size() >= kRegistryBufferSize) {
        return std::nullopt;
    }
    return win32::Utf8(text);
}

std::string NativeFromWindowsPath(std::string_view path) {
    return std::string(path);
}

}  // namespace versemark
