// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "matching/FolderReadAhead.h"
#include "matching/LyricsIndex.h"
#include "matching/ResultRow.h"
#include "matching/RowList.h"

// The matching pass: pairs every MP3 file of a folder with the lyrics files whose
// name words its text contains, and fills the row list. It needs no window: what
// the window shows and does in between reaches it through these hooks.
namespace versemark {

// The two phases of a pass: the files matched against the index, then a lyrics
// file chosen for each row.
enum class MatchPhase { MatchingFiles, ChoosingLyrics };

// Where a running pass stands. MatchingFiles: `Done` of the `Total` files found
// are processed and `Rows` of them matched. ChoosingLyrics: `Done` of the `Total`
// rows are parsed (`Rows` is `Total`).
struct MatchProgress {
    MatchPhase Phase = MatchPhase::MatchingFiles;
    int Done = 0;
    int Total = 0;
    int Rows = 0;
};

struct MatchHooks {
    // After every file of phase 1 and every row of phase 2.
    std::function<void(const MatchProgress& progress)> Progress;
    // Let the window process pending events (before the search, after every file
    // of phase 1, after every 50th row of phase 2).
    std::function<void()> ProcessEvents;
    // Read after each file of phase 1: true ends phase 1 (StopMatching).
    std::function<bool()> StopRequested;
    // Phase 1 is over: StopMatching goes back to false, the folder button is disabled.
    std::function<void()> PhaseOneEnded;
};

struct MatchResult {
    int FilesFound = 0;    // files the search found
    int Processed = 0;     // files processed; fewer than found after a stop
    int Rows = 0;          // rows the pass added: files with a matching lyrics file
    int CheckedCount = 0;  // rows the pass checked
    bool Stopped = false;  // phase 1 ended at a stop request
};

// Runs the whole pass over `folder`: clears `rows`, resets every MatchCount, and
// leaves the rows in the order they were added (the caller sorts them).
// `allFormats` takes the FLAC, Ogg, Opus and M4A files too.
MatchResult MatchFolder(const std::string& folder, bool recurse, LyricsIndex& index, RowList& rows,
                        const MatchHooks& hooks = {}, bool allFormats = false);
// The same over the files of a reader started earlier, so that the caller can
// build the index meanwhile. The hooks are called on the calling thread only.
MatchResult MatchFolder(FolderReadAhead& reader, LyricsIndex& index, RowList& rows,
                        const MatchHooks& hooks = {});

// Builds the index's word matcher now, so that the first pass finds it kept.
void PrepareMatcher(LyricsIndex& index);

}  // namespace versemark
