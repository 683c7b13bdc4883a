// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RandomAccessFile.h"
#include "tagging/Journal.h"
#include "tagging/TagResult.h"

namespace versemark {

// Opens an MP3 file for tagging; tests substitute files that fail on purpose.
using FileOpener =
    std::function<std::unique_ptr<RandomAccessFile>(const std::string& path, FileAccess access)>;

// Why an MP3 file could not be opened, in the words the log's reasons use.
std::string OpenFailureReason(const std::string& path, int error);

// Gives the open file `file` (opened from `path`) `newTail` at `offset` and
// closes it. The old tail is recorded in `journal` (when there is one) before
// the first byte changes; the record is marked done once the file is flushed and
// closed. A failing write, flush or close puts the old tail back.
TagResult WriteTailJournaled(std::unique_ptr<RandomAccessFile> file, const std::string& path,
                             std::uint64_t offset, std::string_view newTail, PassJournal* journal,
                             const FileOpener& open);

// Gives the open file `file` (opened from `path`) the bytes of `edits` and closes
// it, journaled as WriteTailJournaled: the old bytes of every range are recorded
// in `journal` (when there is one) before the first byte changes, and a failing
// write, flush or close puts them all back.
TagResult WriteRangesJournaled(std::unique_ptr<RandomAccessFile> file, const std::string& path,
                               const std::vector<RangeEdit>& edits, PassJournal* journal,
                               const FileOpener& open);

// The stamp of the file at `path` as it is now, when it is the file `same` (or
// `same` is not known); nullopt otherwise. What a record marked done keeps.
std::optional<FileStamp> StampAfterWrite(const std::string& path,
                                         const std::optional<FileStamp>& same);

// How the file compares with a tail or ranges record: exactly the old or the
// new bytes, a mix of the two that only a write or put-back cut short leaves,
// or something else.
using TailMatch = RangesMatch;
TailMatch CompareTail(RandomAccessFile& file, const JournalRecord& record);

}  // namespace versemark
