// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/JournaledWrite.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
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
    if (!std::filesystem::exists(PathFromUtf8(path), ignored)) {
        return std::string(kReasonNoFile);
    }
    if (!IsRegularFile(path)) {
        return std::string(kReasonNotRegular);
    }
    return error != 0 ? std::strerror(error) : "cannot be opened for writing";
}

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
    switch (replaced.Status) {
        case ReplaceStatus::NotStarted:
            file->Close();
            return {path, false, replaced.Reason};
        case ReplaceStatus::PutBack:
            file->Close();
            if (journal && index) {
                journal->MarkResolved(*index);
            }
            return {path, false, replaced.Reason};
        case ReplaceStatus::LeftChanged:
            file->Close();
            return KeptInJournal(path, replaced.Reason, journal, index);
        case ReplaceStatus::Replaced:
            break;
    }
    if (!file->Close()) {
        // The new tail is in place but the system reported a failure: the old
        // one goes back through a fresh handle on the same file.
        const std::string reason = file->ErrorText();
        const auto again = open(path, FileAccess::ReadWrite);
        const auto stamp = again ? again->Stamp() : std::nullopt;
        const bool sameFile = !before || (stamp && stamp->SameFile(*before));
        if (again && sameFile && PutTailBack(*again, offset, oldTail, oldLength) &&
            again->Close()) {
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
    const auto length = file.Length();
    if (!length) {
        return TailMatch::Unreadable;
    }
    const std::uint64_t newLength = record.NewLength();
    // ReplaceTail writes the new tail over the old one, then cuts the file; a
    // put-back writes the old tail, then cuts. Between, the length lies between
    // the two, and each byte is the old or the new one at its place.
    if (*length < std::min(record.OldLength, newLength) ||
        *length > std::max(record.OldLength, newLength)) {
        return TailMatch::Neither;
    }
    std::string tail;
    if (!file.ReadAt(record.Offset, static_cast<std::size_t>(*length - record.Offset), tail)) {
        return TailMatch::Unreadable;
    }
    if (*length == record.OldLength && tail == record.OldTail) {
        return TailMatch::Old;
    }
    if (*length == newLength && tail == record.NewTail) {
        return TailMatch::New;
    }
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const bool old = i < record.OldTail.size() && tail[i] == record.OldTail[i];
        const bool written = i < record.NewTail.size() && tail[i] == record.NewTail[i];
        if (!old && !written) {
            return TailMatch::Neither;
        }
    }
    return TailMatch::Mixed;
}

}  // namespace versemark
