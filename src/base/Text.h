// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// Small text helpers that several layers share.
namespace versemark {

// An ASCII capital as its small letter; every other byte as it is.
inline char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Blanks (space characters only) removed at both ends.
std::string TrimSpaces(std::string_view text);

// `part` of `whole` (at least 1) in percent, as a double's default text (up to 15
// significant digits, "." whatever the locale) cut to four characters without
// rounding: "30", "66.6", "0.00", "100".
std::string ShortPercentText(int part, int whole);

}  // namespace versemark
