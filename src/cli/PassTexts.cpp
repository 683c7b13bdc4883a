// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PassTexts.h"

#include "base/Text.h"

namespace versemark::cli {
namespace {

constexpr std::string_view kNoFileProcessed = "No .mp3 files found";

std::string MatchesText(int rows, int processed) {
    return "Matches: " + std::to_string(rows) + " / " + std::to_string(processed);
}

}  // namespace

std::string MatchProgressLine(const MatchProgress& progress) {
    if (progress.Phase == MatchPhase::ChoosingLyrics) {
        return "Parsing: " + std::to_string(progress.Done) + "/" + std::to_string(progress.Total);
    }
    return MatchesText(progress.Rows, progress.Done) + "  (" + std::to_string(progress.Done) +
           " of " + std::to_string(progress.Total) + " .mp3 files)";
}

std::string MatchSummary(const MatchResult& result) {
    if (result.Processed < 1) {
        return std::string(kNoFileProcessed);
    }
    return MatchesText(result.Rows, result.Processed) + " (" +
           ShortPercentText(result.Rows, result.Processed) + "%)";
}

}  // namespace versemark::cli
