// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// Paths as text: the separator, the last part of a path, joins.
namespace versemark {

// The native path separator, standing wherever a Windows path would have "\".
// The build names it by its character code: "\" for Windows, "/" elsewhere.
inline constexpr char kPathSeparator = static_cast<char>(VERSEMARK_PATH_SEPARATOR);

// Whether a double quote can be part of a path: not on Windows (the "\"
// separator), whose command lines use it to hold text with blanks together.
inline constexpr bool kQuoteInPaths = kPathSeparator == '/';

// The part of a path after its last separator, or the whole path.
std::string GetFileName(std::string_view path);

// The path with a trailing separator unless it already ends with one.
std::string EnsureBackslash(std::string_view path);

// `name` in `folder`: the two joined by one separator unless the folder ends with one.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace versemark
