#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tagging/JournaledWrite.h"

// Taking back a tagging pass: every file of the pass whose tail is still
// exactly what the pass wrote gets its old tail and length back. The undo is a
// pass of its own, journaled like any other.
namespace versemark {

struct PassSummary {
    std::string Id;
    std::int64_t Started = 0;
    std::string Folder;
    std::size_t Files = 0;
    std::string UndoOf;  // set for an undo pass
    bool Undone = false;
};

// The passes of the journal folder, oldest first.
std::vector<PassSummary> ListPasses(const std::string& journalFolder);

struct UndoOutcome {
    std::string PassId;  // the pass undone
    std::vector<TagResult> Results;
    std::string Error;  // set when nothing could be undone at all
};

// Undoes the pass `passId`, or the most recent tagging pass not undone yet when
// it is empty.
UndoOutcome UndoPass(const std::string& journalFolder, const std::string& passId,
                     const FileOpener& open);

}  // namespace versemark
