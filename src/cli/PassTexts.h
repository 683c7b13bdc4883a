// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "matching/MatchFolder.h"

// What versemark-cli says of a matching pass, made from the counts it reports:
// the progress line while it runs and the summary after it.
namespace versemark::cli {

// The progress line before the pass reports its first file.
inline constexpr std::string_view kMatchesPending = "Matches: ...";

// "Matches: 12 / 40  (40 of 90 .mp3 files)" while the files are matched (rows of
// the files processed, then the files processed of those found); "Parsing: 3/12"
// while the rows' lyrics files are chosen.
std::string MatchProgressLine(const MatchProgress& progress);

// "Matches: 12 / 40 (30%)": the rows of the files processed, or "No .mp3 files
// found" when the pass processed no file.
std::string MatchSummary(const MatchResult& result);

}  // namespace versemark::cli
