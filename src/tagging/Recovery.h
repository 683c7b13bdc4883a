// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "tagging/JournaledWrite.h"

// Finishing what an earlier run left unfinished: every file whose journal record
// was not marked done gets its old tail back unless it holds exactly the old or
// exactly the new one. A file that is no longer the one recorded is left alone.
// A copy write that did not finish left the old or the new file at its path,
// whole, and perhaps its new file beside it: that one is removed.
namespace versemark {

struct RecoveryNote {
    std::string Path;
    bool Repaired = false;  // true: the old tail is back; false: left as it is, see Text
    std::string Text;
    std::string RemovedCopy;  // set when what was repaired is a leftover copy, removed
    bool Journal = false;     // true: Path is a journal, and Text what of it could not be used
    bool RemovedUnfinished = false;  // Path itself was left written in part, and is removed
};

// True when `newFile` has the form of the new files a copy write makes.
bool IsCopyName(const std::string& newFile);

enum class JournalCheck {
    Unsettled,  // only the journals without a summary are read (every pass's start)
    Whole,      // every journal is read whole, and its damage told (the recover verb)
};

std::vector<RecoveryNote> RecoverUnfinished(const std::string& journalFolder,
                                            const FileOpener& open,
                                            JournalCheck check = JournalCheck::Unsettled);

// One line per note: "Restored the old tail of PATH", "Removed the unfinished copy
// COPY of PATH", "Removed the unfinished file PATH", "Could not recover PATH: why", or for a
// journal "Could not use all of the journal FILE: why".
std::string RecoveryText(const std::vector<RecoveryNote>& notes);

}  // namespace versemark
