// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowlogic/MatchTexts.h"

#include "base/Text.h"

namespace versemark {
namespace {

// "Matches: 12 / 40": the rows of the files processed.
std::string MatchesText(int rows, int processed) {
    return "Matches: " + std::to_string(rows) + " / " + std::to_string(processed);
}

bool NoFileProcessed(const MatchResult& result) {
    return result.Processed < 1;
}

}  // namespace

std::string LyricsCountCaption(int count) {
    return "Matching " + std::to_string(count) + " lyrics";
}

std::string MatchProgressText(const MatchProgress& progress) {
    if (progress.Phase == MatchPhase::ChoosingLyrics) {
        return std::string(kPhaseTwoProgress) + std::to_string(progress.Done) + "/" +
               std::to_string(progress.Total);
    }
    return MatchesText(progress.Rows, progress.Done);
}

std::string MatchesSummaryText(const MatchResult& result) {
    if (NoFileProcessed(result)) {
        return std::string(kNoMp3Found);
    }
    return MatchesText(result.Rows, result.Processed) + " (" +
           ShortPercentText(result.Rows, result.Processed) + "%)";
}

Colour MatchesLabelColour(const MatchResult& result) {
    return NoFileProcessed(result) ? kRed : kBlack;
}

}  // namespace versemark
