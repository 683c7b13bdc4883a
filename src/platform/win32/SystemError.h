// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string>

namespace versemark::win32 {

// The system's message for an error code, in UTF-8 without the line end; the
// code in figures where the system has no message for it.
std::string SystemMessage(DWORD error);

}  // namespace versemark::win32
