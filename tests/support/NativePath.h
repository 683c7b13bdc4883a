// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "base/FileNames.h"

namespace versemark::testing {

// A path written with "/" as this system writes it: unchanged on Linux, every
// "/" made the native separator ("\") on Windows. Lets one expected path stand
// for both systems.
inline std::string NativePath(std::string_view path) {
    std::string native(path);
    std::replace(native.begin(), native.end(), '/', kPathSeparator);
    return native;
}

}  // namespace versemark::testing
