#pragma once

#include <string>
#include <string_view>

// Paths as text: the separator, the last part of a path, joins.
namespace versemark {

// The native path separator, standing wherever a Windows path would have "\".
inline constexpr char kPathSeparator = '/';

// The part of a path after its last separator, or the whole path.
std::string GetFileName(std::string_view path);

// The path with a trailing separator unless it already ends with one.
std::string EnsureBackslash(std::string_view path);

}  // namespace versemark
