// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "matching/ResultRow.h"
#include "startup/RunConfig.h"
#include "tagging/TaggingPass.h"

// Run mode 1: the companion asks to tag one MP3 file with one lyrics file.
namespace versemark {

// The lyrics name shown for a lyrics path: its file name less the last four
// characters (the extension such as ".txt"); empty when the name is shorter.
std::string LyricsNameFromPath(std::string_view lyricsPath);

// The one checked row of run mode 1: no row text, icons, colours or tags; the
// cells show the file names and carry the full paths as tool tips.
ResultRow OneFileRow(const RunConfig& config);

// Tags Mp3Path with LyricsPath through the tagging pass over that one row and
// returns the log: one line, "File tagged..: " or "Error tagging: ", the MP3 path
// as given; after an error line, a line with the reason (control characters
// escaped) when the pass gave one. Windows-form paths are reached as the
// registry's values are. What recovery did before the pass goes to `recovered`
// when it is given, the signal that stopped the pass before the file (or 0) to
// `stopSignal`, and whether the file was tagged to `tagged`.
std::string TagOneFile(const RunConfig& config, const TaggingOptions& options = {},
                       std::vector<RecoveryNote>* recovered = nullptr, int* stopSignal = nullptr,
                       bool* tagged = nullptr);

}  // namespace versemark
