// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

// What both programs answer when asked by hand: their version and, for the window
// program, a short usage. Each request counts only as the whole command line, so
// every command line the companion sends is read as before.
namespace versemark {

inline constexpr std::string_view kWindowProgramName = "versemark";
inline constexpr std::string_view kVersionOption = "--version";
inline constexpr std::string_view kHelpOption = "--help";

// What to print when the whole command line (the arguments after the program's own
// path) is kVersionOption ("program version" and the licence lines), or kHelpOption while `usage` is not
// empty; nullopt for every other command line.
std::optional<std::string> InfoRequestAnswer(int argc, const char* const argv[],
                                             std::string_view program, std::string_view version,
                                             std::string_view usage);

// The usage of the window program: the companion's command-line forms and what
// happens without arguments.
std::string VersemarkUsage();

}  // namespace versemark
