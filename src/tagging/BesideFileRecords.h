// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "tagging/Journal.h"
#include "tagging/Recovery.h"
#include "tagging/TagResult.h"

// Recovery and undo of the journal's records of lyrics files written beside songs.
namespace versemark {

// Finishes a record whose write may not have ended: a file made new and cut
// short (shorter than what was to be written, and its beginning) is removed, a
// whole one stays; the new file of a replacement, left beside the file, is
// removed when it holds part or all of what was to be written (the file itself
// holds its old or its new content either way). nullopt when there was nothing
// to report; `resolved` tells whether the record needs no further look.
std::optional<RecoveryNote> RecoverBesideFile(const JournalRecord& record, bool& resolved);

// Takes back what the record wrote, when the file still holds exactly that: a
// file made new is removed, a replaced one gets its old content back (journaled
// in `journal`). Anything else is left as it is, and the result says why.
// nullopt when the record never wrote the file.
std::optional<TagResult> UndoBesideFile(const JournalRecord& record, bool partlyUndone,
                                        PassJournal& journal);

}  // namespace versemark
