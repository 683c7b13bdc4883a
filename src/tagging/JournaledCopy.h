// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/RandomAccessFile.h"
#include "tagging/Journal.h"
#include "tagging/TagResult.h"

namespace versemark {

// The note on a file written as a copy whose old bytes the journal could not keep.
inline constexpr std::string_view kNoteNotUndoable =
    "tagged, but this file cannot be undone: its old ID3v2 tag and tail are more than the "
    "journal keeps";

// Fills the new file of a copy write, empty at first, and tells what undo needs
// of it (left nullopt when it cannot be told); false with the reason when the
// file could not be filled.
using CopyFiller =
    std::function<bool(RandomAccessFile& copy, std::optional<CopyUndo>& undo, std::string& reason)>;

// The same for a copy whose undo is told as pieces.
using PieceCopyFiller = std::function<bool(RandomAccessFile& copy, std::optional<PieceUndo>& undo,
                                           std::string& reason)>;

// Writes the file at `path` anew as a copy beside it, filled by `fill`, flushed
// and renamed over it, so the name leads to the old or the new file at every
// moment. With a journal, the copy's name is recorded before the copy is made,
// which file it is and what undo needs before the rename, and the record is
// marked done after it: recovery removes a copy a killed run left behind, and
// undo can take the file back. The old bytes are kept only while the journal
// stays within kJournalBytesKept; otherwise the file is tagged with
// kNoteNotUndoable as its reason. On failure the old file is unchanged and no
// copy is left. With `realPath` (where `path` really lies, resolved by the
// caller) the copy replaces the file there and never follows a link; without,
// a link at `path` is followed.
TagResult WriteCopyJournaled(const std::string& path, const CopyFiller& fill, PassJournal* journal,
                             const std::string& realPath = {});

// Copies the bytes of `from` between `begin` and `end` into `to` at `at`, a
// block at a time, so that memory stays flat whatever the file's size; false
// with the reason when a read or a write fails.
bool CopyBlocks(RandomAccessFile& from, std::uint64_t begin, std::uint64_t end,
                RandomAccessFile& to, std::uint64_t at, std::string& why);

// WriteCopyJournaled for a copy whose undo is told as pieces.
TagResult WritePieceCopyJournaled(const std::string& path, const PieceCopyFiller& fill,
                                  PassJournal* journal, const std::string& realPath = {});

// What undo needs of a copy of `old` whose bytes before `frontEnd` are replaced by
// `newFront` and whose bytes from `tailStart` on by `newTail`
// (frontEnd <= tailStart <= old.size()).
CopyUndo DescribeCopy(std::string_view old, std::uint64_t frontEnd, std::string_view newFront,
                      std::uint64_t tailStart, std::string_view newTail);

// The same from the pieces of the old file only: its front (the bytes before
// `frontEnd`, replaced), and its tail (the bytes from `tailStart` on, replaced).
CopyUndo DescribeCopyOf(std::string_view oldFront, std::uint64_t tailStart,
                        std::string_view oldTail, std::string_view newFront,
                        std::string_view newTail);

}  // namespace versemark
