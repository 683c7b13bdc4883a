// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace versemark::cli {

// A word a POSIX shell reads back as `text`: in double quotes when nothing in it
// is special there, else in single quotes.
std::string ShellQuote(std::string_view text);

// A word that a Windows program's command-line split reads back as `text`: in
// double quotes, with a backslash before a quote or the closing quote doubled and
// a quote escaped (a Windows path holds no quote, so paths just get quotes).
std::string WindowsQuote(std::string_view text);

}  // namespace versemark::cli
