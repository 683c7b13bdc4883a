// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The one way a path of the program (UTF-8) reaches a file-system function of the
// system: as UTF-16, and in the extended-length form ("\\?\C:\...",
// "\\?\UNC\server\share\...") when it is too long for the plain form, so that
// folders nested deeper than 259 characters can be read and tagged.
namespace versemark::win32 {

// The longest path given to the system as it is: MAX_PATH less the terminating
// null and the room CreateDirectoryW keeps for an 8.3 name (its own limit is 248).
inline constexpr std::size_t kLongestPlainPath = 247;

// `path` as the wide-character file functions take it:
// - a path already in the extended-length or device form ("\\?\", "\\.\"), and
//   any path whose full form is at most kLongestPlainPath characters, as given;
// - any longer one made full (relative to the current folder, "/" as "\", "."
//   and ".." resolved, which the extended form does not do) and given the prefix:
//   "\\?\" before a drive, "\\?\UNC\" in place of the leading "\\" of a share.
std::wstring SystemPath(std::string_view path);

// The plain form of a path the system gave back in the extended-length form
// ("\\?\C:\a" as "C:\a", "\\?\UNC\server\share" as "\\server\share"); any
// other path as given.
std::string WithoutExtendedPrefix(std::string_view path);

}  // namespace versemark::win32
