#pragma once

#include "platform/FileSystem.h"

namespace versemark::testing {

// True in the Windows build: a test of what only one system has skips there,
// saying why.
inline constexpr bool kWindowsSystem = kPathSeparator == '\\';

}  // namespace versemark::testing
