// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ScanRun.h"

#include "cli/DisplayText.h"
#include "cli/ProgressLine.h"
#include "platform/FileSystem.h"

namespace versemark::cli {

namespace {

// What the progress line shows: the matches label, and during the first phase
// how many of the files found are done.
struct ProgressState {
    std::string Label;
    int Done = 0;
    int Total = 0;
    bool PhaseOne = true;

    std::string Text() const {
        if (PhaseOne && Total > 0) {
            return Label + "  (" + std::to_string(Done) + " of " + std::to_string(Total) +
                   " .mp3 files)";
        }
        return Label;
    }
};

}  // namespace

ScanOutcome RunMatchingPass(CliSetup& setup, FolderReadAhead& reader, const std::string& folder,
                            CliIo& io) {
    ScanOutcome outcome;
    outcome.Folder = folder;
    ProgressLine line(io.Err, io.Progress);
    ProgressState state;
    state.Label = std::string(kMatchesPending);

    // The hooks only feed the line: without one the pass builds no label texts.
    MatchHooks hooks;
    if (line.Enabled()) {
        hooks.SetLabel = [&](const std::string& text) {
            state.Label = text;
            line.Show(state.Text());
        };
        hooks.PhaseOneEnded = [&] { state.PhaseOne = false; };
        hooks.Progress = [&](int done, int total) {
            state.Done = done;
            state.Total = total;
            line.Show(state.Text());
        };
    }

    line.ShowNow(state.Text());
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
