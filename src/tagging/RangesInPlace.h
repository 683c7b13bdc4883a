// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/RandomAccessFile.h"
#include "tagging/Journal.h"
#include "tagging/JournaledWrite.h"
#include "tagging/TagResult.h"
#include "tags/PieceTable.h"

namespace versemark {

// Gives the open file `file` (opened from `path`, which really lies at
// `realPath`) the new bytes of `ranges`
// (each as long as its old bytes, so the file keeps its length) and closes it.
// With a journal, the ranges' old and new bytes are recorded before the first
// byte changes; recovery finds the file old or new, undo gives the old bytes back.
TagResult WriteRangesJournaled(std::unique_ptr<RandomAccessFile> file, const std::string& path,
                               const std::string& realPath, const std::vector<ChangedRange>& ranges,
                               PassJournal* journal, const FileOpener& open);

}  // namespace versemark
