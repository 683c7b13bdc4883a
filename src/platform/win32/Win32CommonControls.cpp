// SPDX-License-Identifier: GPL-3.0-or-later
// The common-controls probe and the Windows version, as start-up asks for them.
#include <windows.h>

#include "platform/CommonControls.h"

namespace versemark {

namespace {

constexpr wchar_t kCommonControlsLibrary[] = L"comctl32.dll";
constexpr char kInitFunction[] = "InitCommonControlsEx";
constexpr DWORD kExtendedComboBoxClass = 0x200;  // ICC_USEREX_CLASSES

// The two 32-bit fields the function takes: the structure's size and the classes.
struct InitCommonControlsRecord {
    DWORD Size;
    DWORD Classes;
};
using InitFunction = BOOL(WINAPI*)(const InitCommonControlsRecord*);

constexpr float kMinorScale = 100.0F;

}  // namespace

bool ProbeCommonControls() {
    // The library stays loaded for the run: the window needs it anyway.
    const HMODULE library = LoadLibraryW(kCommonControlsLibrary);
    if (library == nullptr) {
        return false;
    }
    const auto init = reinterpret_cast<InitFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, kInitFunction)));
    if (init == nullptr) {
        return false;
    }
    const InitCommonControlsRecord record{sizeof(InitCommonControlsRecord), kExtendedComboBoxClass};
    init(&record);  // whether it could be called counts, not what it answers
    return true;
}

std::string_view ProcessorArchitecture() {
#ifdef _WIN64
    return "amd64";
#else
    return "X86";
#endif
}

float WindowsVersion() {
    const DWORD version = GetVersion();
    const DWORD major = LOBYTE(LOWORD(version));
    const DWORD minor = HIBYTE(LOWORD(version));
    return static_cast<float>(major) + static_cast<float>(minor) / kMinorScale;
}

}  // namespace versemark
