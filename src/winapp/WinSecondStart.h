// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "startup/RunConfig.h"

// A start of versemark.exe while another copy runs. By hand (run mode 0) it
// brings the open window to the front; with a folder (run mode 2) it also hands
// the folder to that window, which asks whether to match it; a one-file run
// cannot run beside the other copy and says so.
namespace versemark::winapp {

// The class of the main window, by which a second start finds it.
inline constexpr wchar_t kWindowClass[] = L"VersemarkWindow";

// A folder handed to the open window (WM_COPYDATA): this tag, then the data: one
// byte for the subfolders choice, then the folder as UTF-8.
inline constexpr ULONG_PTR kFolderHandOverTag = 0x564D4631;  // "VMF1"
inline constexpr char kWithSubfolders = '1';
inline constexpr char kWithoutSubfolders = '0';

// The folder and choice a WM_COPYDATA message carries; false when it carries
// none (another tag, or no data).
bool ReadFolderHandOver(const COPYDATASTRUCT& data, std::string& folder, bool& subfolders);

// Answers a start that found another copy running; returns the exit status:
// kExitNotTagged for a one-file run, else kExitNormal.
int AnswerSecondStart(const RunConfig& config, std::string_view title);

}  // namespace versemark::winapp
