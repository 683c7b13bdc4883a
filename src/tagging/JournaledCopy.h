#pragma once

#include <functional>
#include <string>

#include "platform/RandomAccessFile.h"
#include "tagging/Journal.h"
#include "tagging/TagResult.h"

namespace versemark {

// Fills the new file of a copy write, empty at first; false with the reason when
// it could not be filled.
using CopyFiller = std::function<bool(RandomAccessFile& copy, std::string& reason)>;

// Writes the file at `path` anew as a copy beside it, filled by `fill`, flushed
// and renamed over it, so the name leads to the old or the new file at every
// moment. With a journal, the copy's name is recorded before the copy is made and
// the record marked done after the rename: recovery removes a copy a killed run
// left behind. On failure the old file is unchanged and no copy is left.
TagResult WriteCopyJournaled(const std::string& path, const CopyFiller& fill, PassJournal* journal);

}  // namespace versemark
