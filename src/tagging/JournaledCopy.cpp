// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/JournaledCopy.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "platform/ReplacementFile.h"
#include "tagging/JournaledWrite.h"

namespace versemark {
namespace {

// The bytes a copy moves at once.
constexpr std::size_t kCopyBlockSize = std::size_t{1} << 20;

// Fills the copy and records in the journal (at record `index`, when there is
// one) that it is written and what undo needs; `kept` tells whether the journal
// keeps that. False with the reason when the copy could not be filled or recorded.
using FillAndRecord = std::function<bool(RandomAccessFile& copy, std::optional<std::size_t> index,
                                         bool& kept, std::string& reason)>;

// The copy written, recorded and renamed; empty when done, else the reason.
std::string WriteAndRename(const std::string& path, const std::string& realPath,
                           const FillAndRecord& fill, PassJournal* journal,
                           std::optional<std::size_t>& index, std::string& newFile, bool& kept) {
    const BeforeReplacementCreate record = [&](const std::string& name, std::string& reason) {
        newFile = name;
        if (!journal) {
            return true;
        }
        index = journal->BeginCopy(path, name, reason);
        return index.has_value();
    };
    std::string reason;
    const auto replacement = realPath.empty() ? CreateReplacementFile(path, reason, record)
                                              : CreateReplacementFile(realPath, reason, record,
                                                                      ReplacementLinks::Refuse);
    if (!replacement) {
        return reason;
    }
    if (!fill(replacement->File(), index, kept, reason)) {
        return reason;
    }
    if (!replacement->Commit(reason)) {
        return reason;
    }
    return {};
}

// Writes the copy with `fill` and renames it over the file, marking the record
// done or resolved as it ends.
TagResult WriteJournaled(const std::string& path, const FillAndRecord& fill, PassJournal* journal,
                         const std::string& realPath) {
    std::optional<std::size_t> index;
    std::string newFile;
    bool kept = true;
    const std::string reason = WriteAndRename(path, realPath, fill, journal, index, newFile, kept);
    if (journal && index) {
        if (reason.empty()) {
            journal->MarkDone(*index, StampAfterWrite(path, std::nullopt));
        } else if (!PathExists(newFile)) {
            journal->MarkResolved(*index);  // a copy still there is left to recovery
        }
    }
    if (!reason.empty()) {
        return {path, false, reason};
    }
    return {path, true, kept ? std::string() : std::string(kNoteNotUndoable)};
}

constexpr std::string_view kReasonNotRecorded = "journal: the copy could not be recorded";

}  // namespace

TagResult WriteCopyJournaled(const std::string& path, const CopyFiller& fill, PassJournal* journal,
                             const std::string& realPath) {
    const FillAndRecord record = [&](RandomAccessFile& copy, std::optional<std::size_t> index,
                                     bool& kept, std::string& reason) {
        std::optional<CopyUndo> undo;
        if (!fill(copy, undo, reason)) {
            return false;
        }
        if (!journal || !index) {
            return true;
        }
        kept = undo &&
               journal->Bytes() + undo->OldFront.size() + undo->OldTail.size() <= kJournalBytesKept;
        if (!journal->MarkCopyWritten(*index, copy.Stamp().value_or(FileStamp{}),
                                      kept ? &*undo : nullptr)) {
            reason = kReasonNotRecorded;
            return false;
        }
        return true;
    };
    return WriteJournaled(path, record, journal, realPath);
}

TagResult WritePieceCopyJournaled(const std::string& path, const PieceCopyFiller& fill,
                                  PassJournal* journal, const std::string& realPath) {
    const FillAndRecord record = [&](RandomAccessFile& copy, std::optional<std::size_t> index,
                                     bool& kept, std::string& reason) {
        std::optional<PieceUndo> undo;
        if (!fill(copy, undo, reason)) {
            return false;
        }
        if (!journal || !index) {
            return true;
        }
        kept = undo && journal->Bytes() + undo->LiteralBytes() <= kJournalBytesKept;
        const FileStamp stamp = copy.Stamp().value_or(FileStamp{});
        const bool recorded = kept ? journal->MarkPieceCopyWritten(*index, stamp, *undo)
                                   : journal->MarkCopyWritten(*index, stamp, nullptr);
        if (!recorded) {
            reason = kReasonNotRecorded;
            return false;
        }
        return true;
    };
    return WriteJournaled(path, record, journal, realPath);
}

bool CopyBlocks(RandomAccessFile& from, std::uint64_t begin, std::uint64_t end,
                RandomAccessFile& to, std::uint64_t at, std::string& why) {
    std::string block;
    for (std::uint64_t offset = begin; offset < end; offset += kCopyBlockSize) {
        const auto count =
            static_cast<std::size_t>(std::min<std::uint64_t>(kCopyBlockSize, end - offset));
        if (!from.ReadAt(offset, count, block)) {
            why = "the file cannot be read";
            return false;
        }
        if (!to.WriteAt(at + (offset - begin), block)) {
            why = "writing the new file failed: " + to.ErrorText();
            return false;
        }
    }
    return true;
}

CopyUndo DescribeCopy(std::string_view old, std::uint64_t frontEnd, std::string_view newFront,
                      std::uint64_t tailStart, std::string_view newTail) {
    return DescribeCopyOf(old.substr(0, frontEnd), tailStart, old.substr(tailStart), newFront,
                          newTail);
}

CopyUndo DescribeCopyOf(std::string_view oldFront, std::uint64_t tailStart,
                        std::string_view oldTail, std::string_view newFront,
                        std::string_view newTail) {
    CopyUndo undo;
    undo.OldFront = oldFront;
    undo.OldTailOffset = tailStart;
    undo.OldTail = oldTail;
    undo.NewFrontLength = newFront.size();
    undo.NewFrontChecksum = TailChecksum(newFront);
    undo.NewTailOffset = newFront.size() + (tailStart - oldFront.size());
    undo.NewLength = undo.NewTailOffset + newTail.size();
    undo.NewTailChecksum = TailChecksum(newTail);
    return undo;
}

}  // namespace versemark
