// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>
#include <vector>

#include "matching/LyricsIndex.h"

// The straightforward matcher, against which the tests check the fast one and the
// benchmarks measure it.
namespace versemark {

// Candidates of a (normalised) text: every word of every entry looked for by
// substring search in the folded text. Adds to MatchCount.
std::vector<int> FindMatchingLyricsReference(std::string_view normalisedText, LyricsIndex& index);

}  // namespace versemark
