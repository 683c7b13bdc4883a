#pragma once

#include <string>
#include <vector>

#include "tagging/JournaledWrite.h"

// Finishing what an earlier run left unfinished: every file whose journal record
// was not marked done gets its old tail back unless it holds exactly the old or
// exactly the new one. A file that is no longer the one recorded is left alone.
namespace versemark {

struct RecoveryNote {
    std::string Path;
    bool Repaired = false;  // true: the old tail is back; false: left as it is, see Text
    std::string Text;
};

std::vector<RecoveryNote> RecoverUnfinished(const std::string& journalFolder,
                                            const FileOpener& open);

// One line per note: "Restored the old tail of PATH" or "Could not recover PATH: why".
std::string RecoveryText(const std::vector<RecoveryNote>& notes);

}  // namespace versemark
