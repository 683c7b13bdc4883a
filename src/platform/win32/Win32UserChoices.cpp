// SPDX-License-Identifier: GPL-3.0-or-later
// The user's choices as values of one key under HKEY_CURRENT_USER.
#include <windows.h>

#include <cwchar>

#include "platform/UserChoices.h"

namespace versemark {
namespace {

constexpr wchar_t kChoicesKey[] = L"Software\\Versemark\\Versemark\\Tagging";
// The longest string value read: "false" and its terminating zero fit.
constexpr DWORD kTextChars = 8;

const wchar_t* ValueName(UserChoice choice) {
    switch (choice) {
        case UserChoice::AlsoId3v2:
            return L"AlsoId3v2";
        case UserChoice::AllFormats:
            return L"AllFormats";
        case UserChoice::BesideFile:
            return L"BesideFile";
    }
    return L"";
}

}  // namespace

bool RememberedChoice(UserChoice choice) {
    DWORD number = 0;
    DWORD size = sizeof(number);
    if (RegGetValueW(HKEY_CURRENT_USER, kChoicesKey, ValueName(choice), RRF_RT_REG_DWORD, nullptr,
                     &number, &size) == ERROR_SUCCESS) {
        return number != 0;
    }
    wchar_t text[kTextChars] = {};
    size = sizeof(text);
    return RegGetValueW(HKEY_CURRENT_USER, kChoicesKey, ValueName(choice), RRF_RT_REG_SZ, nullptr,
                        text, &size) == ERROR_SUCCESS &&
           _wcsicmp(text, L"true") == 0;
}

bool RememberChoice(UserChoice choice, bool on) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kChoicesKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const DWORD number = on ? 1 : 0;
    const LSTATUS status = RegSetValueExW(key, ValueName(choice), 0, REG_DWORD,
                                          reinterpret_cast<const BYTE*>(&number), sizeof(number));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

}  // namespace versemark
