// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <memory>

#include "platform/RandomAccessFile.h"

namespace versemark::win32 {

// A RandomAccessFile over an open file handle, which it closes.
std::unique_ptr<RandomAccessFile> AdoptFileHandle(HANDLE handle);

}  // namespace versemark::win32
