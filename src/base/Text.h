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

}  // namespace versemark
