#pragma once

#include <string>
#include <string_view>

// JSON string literals for the machine-readable output.
namespace versemark::cli {

// `utf8` as a quoted JSON string: the quote and the backslash escaped, every
// control character below 0x20 written as \u00XX.
std::string JsonString(std::string_view utf8);

}  // namespace versemark::cli
