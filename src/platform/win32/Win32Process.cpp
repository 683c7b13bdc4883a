// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32Process.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace versemark::win32 {

namespace {

// One name per user session: a copy started by the companion and one started
// by hand in the same session are the same program.
constexpr wchar_t kInstanceMutexName[] = L"Local\\Versemark.Instance";
constexpr wchar_t kQuote = L'"';

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

}  // namespace

std::string ArgumentText() {
    std::wstring_view line = GetCommandLineW();
    std::size_t at = 0;
    // The program's path: quoted up to the closing quote, else up to a blank.
    if (!line.empty() && line[0] == kQuote) {
        const std::size_t close = line.find(kQuote, 1);
        at = close == std::wstring_view::npos ? line.size() : close + 1;
    } else {
        while (at < line.size() && !IsBlank(line[at])) {
            ++at;
        }
    }
    while (at < line.size() && IsBlank(line[at])) {
        ++at;
    }
    return Utf8(line.substr(at));
}

InstanceMutex::InstanceMutex() {
    handle_ = CreateMutexW(nullptr, FALSE, kInstanceMutexName);
    anotherCopy_ = handle_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

InstanceMutex::~InstanceMutex() {
    if (handle_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(handle_));
    }
}

void SystemBeep() {
    MessageBeep(MB_OK);
}

void ShowMessageBox(std::string_view title, std::string_view text) {
    MessageBoxW(nullptr, Wide(text).c_str(), Wide(title).c_str(), MB_OK);
}

}  // namespace versemark::win32
