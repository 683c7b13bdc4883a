// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

// The Windows common controls and the Windows version, as start-up asks for them.
namespace versemark {

// True when the extended common controls could be initialised (the probe looks
// only at whether the call could be made): false on Linux.
bool ProbeCommonControls();

// The processor architecture a side-by-side manifest names for this program:
// "X86" (a 32-bit program, and on Linux, where no manifest is written), "amd64"
// for a 64-bit Windows program.
std::string_view ProcessorArchitecture();

// The Windows version as major + minor / 100 (5.01 for Windows XP); 0 on Linux.
float WindowsVersion();

}  // namespace versemark
