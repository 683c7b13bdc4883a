// SPDX-License-Identifier: GPL-3.0-or-later
#include "winapp/WinSecondStart.h"

#include <cstdio>

#include "platform/CodePage.h"
#include "platform/win32/Win32Process.h"
#include "startup/ProgramStart.h"
#include "tagging/TagResult.h"

namespace versemark::winapp {

namespace {

constexpr std::string_view kNoWindowText =
    "Versemark is already running, and its window could not take the folder (it may be "
    "busy, or not open yet), so this folder was not opened:\n";
// How long the hand-over may wait for the open window to take the folder.
constexpr UINT kHandOverMilliseconds = 5000;

// The open window brought to the front, restored when it is minimised; nullptr
// when there is none (the other copy is a one-file run, or still starting).
HWND BringOpenWindowForward() {
    HWND window = FindWindowW(kWindowClass, nullptr);
    if (window == nullptr) {
        return nullptr;
    }
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    SetForegroundWindow(window);
    return window;
}

bool HandFolderOver(HWND window, const RunConfig& config) {
    std::string data(1, config.Subfolders ? kWithSubfolders : kWithoutSubfolders);
    data += config.Folder;
    COPYDATASTRUCT message{};
    message.dwData = kFolderHandOverTag;
    message.cbData = static_cast<DWORD>(data.size());
    message.lpData = data.data();
    DWORD_PTR taken = FALSE;
    return SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&message),
                               SMTO_ABORTIFHUNG, kHandOverMilliseconds, &taken) != 0 &&
           taken == TRUE;
}

}  // namespace

bool ReadFolderHandOver(const COPYDATASTRUCT& data, std::string& folder, bool& subfolders) {
    if (data.dwData != kFolderHandOverTag || data.cbData < 1 || data.lpData == nullptr) {
        return false;
    }
    const auto* bytes = static_cast<const char*>(data.lpData);
    subfolders = bytes[0] == kWithSubfolders;
    folder.assign(bytes + 1, data.cbData - 1);
    return true;
}

int AnswerSecondStart(const RunConfig& config, std::string_view title) {
    if (config.Mode == RunMode::TagOneFile) {
        const std::string text = OneFileRefusedText(config);
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
        if (!config.NoMessage) {
            win32::ShowMessageBox(title, DisplayUtf8(text));
        }
        return kExitNotTagged;
    }
    HWND window = BringOpenWindowForward();
    if (config.Mode != RunMode::ScanFolder) {
        if (window == nullptr) {
            win32::SystemBeep();
        }
        return kExitNormal;
    }
    if (window == nullptr || !HandFolderOver(window, config)) {
        win32::ShowMessageBox(title, DisplayUtf8(std::string(kNoWindowText) + config.Folder));
    }
    return kExitNormal;
}

}  // namespace versemark::winapp
