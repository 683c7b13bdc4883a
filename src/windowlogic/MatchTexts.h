// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "matching/MatchFolder.h"
#include "windowlogic/Colours.h"

// What the window's labels say of the lyrics index and of a matching pass, made
// from the counts the pass reports.
namespace versemark {

// The matches label before and while the search for files runs.
inline constexpr std::string_view kMatchesPending = "Matches: ...";
// The final matches label when the pass processed no file, in red.
inline constexpr std::string_view kNoMp3Found = "No .mp3 files found";
// The progress of phase 2 begins with this: "Parsing: 3/12".
inline constexpr std::string_view kPhaseTwoProgress = "Parsing: ";
// The lyrics-count label before the index is read.
inline constexpr std::string_view kLyricsCountPlaceholder = "Matching with 123 lyrics";

// The lyrics-count caption for `count` lyrics files: "Matching 412 lyrics".
std::string LyricsCountCaption(int count);

// The matches label while a pass runs: "Matches: 12 / 40" in phase 1 (rows of
// files processed), "Parsing: 3/12" in phase 2 (rows parsed of the rows).
std::string MatchProgressText(const MatchProgress& progress);

// The final matches label: "Matches: 12 / 40 (30%)", or kNoMp3Found when the pass
// processed no file.
std::string MatchesSummaryText(const MatchResult& result);
// Its colour: red for kNoMp3Found, else black.
Colour MatchesLabelColour(const MatchResult& result);

}  // namespace versemark
