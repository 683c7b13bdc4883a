// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/FileNames.h"

// The registry stand-in. Under Wine, HKEY_LOCAL_MACHINE lives in the text file
// system.reg of the Wine prefix:
//
//   [Software\\Kestrel Works\\Songleaf] 1700000000      key path, "\" doubled
//   #time=1d9...                                         metadata, skipped
//   "Path"="C:\\Program Files\\Songleaf"                 a string value
//   @="..."                                              the default value
//   "Count"=dword:00000001                               not a string
//
// Windows-form folders read from there ("C:\Program Files\Songleaf") are reached
// through the prefix's dosdevices folder.
namespace versemark {

// Whether the companion's registry entry is read from the system.reg file of a
// Wine prefix (Linux) or from the system's own registry (Windows).
inline constexpr bool kRegistryInWinePrefix = kPathSeparator == '/';

// The registry's buffers for a value's name and data, terminating zero included.
inline constexpr std::size_t kRegistryBufferSize = 255;

// The two views of HKEY_LOCAL_MACHINE\Software on a 64-bit system: the one a
// 32-bit program sees (kept under Software\Wow6432Node) and the system's own.
enum class RegistryView { Bits32, Native };

// $WINEPREFIX, or ~/.wine when it is not set; nullopt when neither can be formed
// (and on Windows, which has no prefix).
std::optional<std::string> WinePrefix();

// The file that holds the stand-in's HKEY_LOCAL_MACHINE: system.reg of
// WinePrefix(); nullopt where there is no prefix (on Windows, the system's own
// registry).
std::optional<std::string> RegistryStandInFile();

// The data of the first value, in file order, of the key `keyPath` under
// HKEY_LOCAL_MACHINE (the value at enumeration index 0) in the given view.
// nullopt when the prefix, system.reg or the key is missing, when the key has no
// values, or when its first value is not a string or does not fit the registry's
// buffers.
std::optional<std::string> ReadMachineKeyFirstValue(std::string_view keyPath,
                                                    RegistryView view = RegistryView::Native);

// Where a 64-bit registry keeps the 32-bit view of `keyPath`: "Software\X"
// becomes "Software\Wow6432Node\X"; a key outside Software is the same in both.
std::string Wow64KeyPath(std::string_view keyPath);

// The same, read from the text of a system.reg file. Key paths are compared
// without regard to case, as the registry does; "\\" and "\"" in names and data
// are unescaped, any other backslash is kept as written.
std::optional<std::string> FirstValueInRegistryText(std::string_view regText,
                                                    std::string_view keyPath);

// A drive letter, a colon, then the end or a separator: "C:\Lyrics", "d:".
bool IsWindowsFormPath(std::string_view path);

// A Windows-form path as the native path `winePrefix`/dosdevices/c:/... (drive
// letter in lower case, every "\" made "/"); any other path is returned unchanged.
std::string NativeFromWindowsPath(std::string_view path, std::string_view winePrefix);

// A path as the companion writes it (registry, settings, command line) as a path
// this program can open: on Linux mapped under WinePrefix() (unchanged when there
// is no prefix); on Windows always unchanged.
std::string NativeFromWindowsPath(std::string_view path);

}  // namespace versemark
