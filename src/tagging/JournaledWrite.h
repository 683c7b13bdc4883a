// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

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

// The stamp of the file at `path` as it is now, when it is the file `same` (or
// `same` is not known); nullopt otherwise. What a record marked done keeps.
std::optional<FileStamp> StampAfterWrite(const std::string& path,
                                         const std::optional<FileStamp>& same);

// How the tail of `file` compares with a journal record: exactly the old or the
// new tail, a mix of the two that only a write or put-back cut short leaves,
// or something else.
enum class TailMatch { Old, New, Mixed, Neither, Unreadable };
TailMatch CompareTail(RandomAccessFile& file, const JournalRecord& record);

}  // namespace versemark
