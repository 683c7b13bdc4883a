// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ScanRun.h"

#include "cli/DisplayText.h"
#include "cli/PassTexts.h"
#include "cli/ProgressLine.h"
#include "platform/FileSystem.h"

namespace versemark::cli {

ScanOutcome RunMatchingPass(CliSetup& setup, FolderReadAhead& reader, const std::string& folder,
                            CliIo& io) {
    ScanOutcome outcome;
    outcome.Folder = folder;
    ProgressLine line(io.Err, io.Progress);

    // The hook only feeds the line: without one the pass's counts make no texts.
    MatchHooks hooks;
    if (line.Enabled()) {
        hooks.Progress = [&line](const MatchProgress& progress) {
            line.Show(MatchProgressLine(progress));
        };
    }

    line.ShowNow(kMatchesPending);
    outcome.Result = MatchFolder(reader, setup.Index, outcome.Rows, hooks);
    line.Clear();
    return outcome;
}

std::optional<ScanOutcome> ScanFolderOfCommandLine(std::string_view verb, const CliOptions& options,
                                                   CliIo& io) {
    const std::string folder = AbsolutePath(options.Positionals.front());
    if (!IsFolder(folder)) {
        UsageError(io, verb, "not a folder: " + DisplayPath(options.Positionals.front()));
        return std::nullopt;
    }
    if (options.CachePath && !IsFolder(AbsolutePath(*options.CachePath))) {
        UsageError(io, verb, "--cache: not a folder: " + DisplayPath(*options.CachePath));
        return std::nullopt;
    }
    // The folder is listed and read on a second thread while the index is built.
    FolderReadAhead reader(folder, !options.NoSubfolders, FolderReadAhead::kMostReadAhead,
                           options.AllFormats);
    CliSetup setup = LoadSetup(options);
    return RunMatchingPass(setup, reader, folder, io);
}

}  // namespace versemark::cli
