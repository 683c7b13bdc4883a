// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/CliSetup.h"
#include "cli/CliVerbs.h"
#include "matching/MatchFolder.h"
#include "matching/RowList.h"

// The matching pass as scan and tag run it, with the progress line on a terminal.
namespace versemark::cli {

struct ScanOutcome {
    std::string Folder;  // the folder scanned, absolute
    MatchResult Result;
    RowList Rows;  // in the order the pass added them
};

// The pass over the files of `reader`, which lists and reads `folder`.
ScanOutcome RunMatchingPass(CliSetup& setup, FolderReadAhead& reader, const std::string& folder,
                            CliIo& io);

// What scan and tag share: FOLDER must be a folder and --cache DIR, when given,
// too; then the setup is read and the pass runs (subfolders unless
// --no-subfolders; FLAC, Ogg, Opus and M4A files too with --all-formats). nullopt after a usage
// error has been written.
std::optional<ScanOutcome> ScanFolderOfCommandLine(std::string_view verb, const CliOptions& options,
                                                   CliIo& io);

}  // namespace versemark::cli
