// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tagging/JournaledWrite.h"

// Taking back a tagging pass: every file of the pass whose tail is still
// exactly what the pass wrote gets its old tail and length back. The undo is a
// pass of its own, journaled like any other.
namespace versemark {

// Why a file was not given back, or what it means that it needed nothing.
inline constexpr std::string_view kReasonNotSameFile = "no longer the file the journal recorded";
inline constexpr std::string_view kReasonAlreadyOld = "not changed by that pass";
inline constexpr std::string_view kReasonAlreadyUndone = "already undone by the undo ended early";
inline constexpr std::string_view kReasonChangedSince = "changed since the pass";

struct PassSummary {
    std::string Id;
    std::string File;  // its journal
    std::int64_t Started = 0;
    std::string Folder;
    std::size_t Files = 0;
    std::string UndoOf;         // set for an undo pass
    bool Undone = false;        // an undo of it ran to its end
    bool PartlyUndone = false;  // an undo of it was ended early (or is running)
    std::string OtherFormat;    // set when its journal is of another format: why it is not used
    std::vector<std::string> Problems;  // what of its journal could not be used
};

// The passes of the journal folder, oldest first. Reads each journal's header
// and summary only (the whole of a journal without a summary).
std::vector<PassSummary> ListPasses(const std::string& journalFolder);

// Why the passes of `journalFolder` cannot be listed: it is a link or another
// user's (its journals could be planted). Empty when it is the user's own or
// does not exist yet; nothing is made.
std::string ListingRefusal(const std::string& journalFolder);

struct UndoOutcome {
    std::string PassId;       // the pass undone
    std::string JournalFile;  // its journal
    std::vector<TagResult> Results;
    std::string Error;                  // set when nothing could be undone at all
    std::vector<std::string> Problems;  // what of the pass's journal could not be used
};

// Undoes the pass `passId`, or the most recent tagging pass not undone yet when
// it is empty. A pass whose undo was ended early is not undone yet: undoing it
// again finishes that undo, and its files already given back count as undone.
UndoOutcome UndoPass(const std::string& journalFolder, const std::string& passId,
                     const FileOpener& open);

}  // namespace versemark
