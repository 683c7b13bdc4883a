// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/JournaledWrite.h"

#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>

#include "platform/FileSystem.h"

namespace versemark {
namespace {

// The end of a write whose old tail could not be put back.
TagResult KeptInJournal(const std::string& path, std::string reason, PassJournal* journal,
                        std::optional<std::size_t> index) {
    reason += kReasonPutBackFailed;
    if (journal && index) {
        journal->MarkFailed(*index);
        reason += kReasonKeptInJournal;
    }
    return {path, false, reason};
}

}  // namespace

std::string OpenFailureReason(const std::string& path, int error) {
    std::error_code ignored;
    if (!std::filesystem::exists(SystemFilePath(path), ignored)) {
        return std::string(kReasonNoFile);
    }
    if (!IsRegularFile(path)) {
        return std::string(kReasonNotRegular);
    }
    return error != 0 ? std::strerror(error) : "cannot be opened for writing";
}

namespace {

// What a journaled write in place leaves once the bytes are written (or not):
// the record marked done, resolved or failed, and the file closed. A close that
// fails after the new bytes are in place puts the old ones back through a fresh
// handle on the same file, with `putBack`.
TagResult FinishInPlace(RandomAccessFile& file, const std::string& path,
                        const ReplaceResult& replaced, const std::optional<FileStamp>& before,
                        PassJournal* journal, std::optional<std::size_t> index,
                        const FileOpener& open,
                        const std::function<bool(RandomAccessFile&)>& putBack) {
    switch (replaced.Status) {
        case ReplaceStatus::NotStarted:
            file.Close();
            return {path, false, replaced.Reason};
        case ReplaceStatus::PutBack:
            file.Close();
            if (journal && index) {
                journal->MarkResolved(*index);
            }
            return {path, false, replaced.Reason};
        case ReplaceStatus::LeftChanged:
            file.Close();
            return KeptInJournal(path, replaced.Reason, journal, index);
        case ReplaceStatus::Replaced:
            break;
    }
    if (!file.Close()) {
        // The new bytes are in place but the system reported a failure: the old
        // ones go back through a fresh handle on the same file.
        const std::string reason = file.ErrorText();
        const auto again = open(path, FileAccess::ReadWrite);
        const auto stamp = again ? again->Stamp() : std::nullopt;
        const bool sameFile = !before || (stamp && stamp->SameFile(*before));
        if (again && sameFile && putBack(*again) && again->Close()) {
            if (journal && index) {
                journal->MarkResolved(*index);
            }
            return {path, false, reason};
        }
        return KeptInJournal(path, reason, journal, index);
    }
    if (journal && index) {
        journal->MarkDone(*index, StampAfterWrite(path, before));
    }
    return {path, true, {}};
}

}  // namespace

TagResult WriteTailJournaled(std::unique_ptr<RandomAccessFile> file, const std::string& path,
                             std::uint64_t offset, std::string_view newTail, PassJournal* journal,
                             const FileOpener& open) {
    const std::optional<FileStamp> before = file->Stamp();
    std::optional<std::size_t> index;
    std::string oldTail;
    std::uint64_t oldLength = 0;
    const BeforeTailWrite record = [&](const TailChange& change, std::string& reason) {
        oldTail = change.OldTail;
        oldLength = change.OldLength;
        if (!journal) {
            return true;
        }
        index = journal->Begin(path, before, change, reason);
        return index.has_value();
    };
    const ReplaceResult replaced = ReplaceTail(*file, offset, newTail, record);
    const auto putBack = [&](RandomAccessFile& again) {
        return PutTailBack(again, offset, oldTail, oldLength);
    };
    return FinishInPlace(*file, path, replaced, before, journal, index, open, putBack);
}

TagResult WriteRangesJournaled(std::unique_ptr<RandomAccessFile> file, const std::string& path,
                               const std::vector<RangeEdit>& edits, PassJournal* journal,
                               const FileOpener& open) {
    const std::optional<FileStamp> before = file->Stamp();
    std::optional<std::size_t> index;
    RangesChange written;
    const BeforeRangesWrite record = [&](const RangesChange& change, std::string& reason) {
        written = change;
        if (!journal) {
            return true;
        }
        index = journal->BeginRanges(path, before, change, reason);
        return index.has_value();
    };
    const ReplaceResult replaced = ReplaceRanges(*file, edits, record);
    const auto putBack = [&](RandomAccessFile& again) { return PutRangesBack(again, written); };
    return FinishInPlace(*file, path, replaced, before, journal, index, open, putBack);
}

std::optional<FileStamp> StampAfterWrite(const std::string& path,
                                         const std::optional<FileStamp>& same) {
    // Taken anew after the close, which may still set the time of the last write.
    const auto file = OpenFile(path, FileAccess::Read);
    const auto stamp = file ? file->Stamp() : std::nullopt;
    if (file) {
        file->Close();
    }
    if (!stamp || (same && !stamp->SameFile(*same))) {
        return std::nullopt;
    }
    return stamp;
}

TailMatch CompareTail(RandomAccessFile& file, const JournalRecord& record) {
    return CompareRanges(file, record.Change());
}

}  // namespace versemark
