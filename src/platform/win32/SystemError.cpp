// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/SystemError.h"

#include "platform/win32/WideText.h"

namespace versemark::win32 {

std::string SystemMessage(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr) {
        return "system error " + std::to_string(error);
    }
    std::wstring_view text(buffer, length);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                             text.back() == L'.')) {
        text.remove_suffix(1);
    }
    std::string message = Utf8(text);
    LocalFree(buffer);
    return message;
}

}  // namespace versemark::win32
