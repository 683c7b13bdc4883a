// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The one case fold used wherever words of lyrics names are looked for in MP3
// texts and wherever list texts are ordered without regard to case. It keeps the
// length: a well-formed UTF-8 sequence is taken whole (only C3 80..C3 9E except
// C3 97 change, to C3 A0..C3 BE); any other byte is a Windows-1252 character
// (A-Z, C0-DE except D7, 8A/8C/8E and 9F fold to their small letters).
namespace versemark {

std::string FoldCase(std::string_view text);
void FoldCaseInPlace(std::string& text);
// Compares two texts by their folds, byte by byte.
int CompareFolded(std::string_view a, std::string_view b);

}  // namespace versemark
