// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// JSON string literals for the machine-readable output.
namespace versemark::cli {

// `utf8` as a quoted JSON string: the quote and the backslash escaped, every
// control character (below U+0020, U+007F, and U+0080 to U+009F, which a
// terminal showing the output would act on) written as \u00xx.
std::string JsonString(std::string_view utf8);

}  // namespace versemark::cli
