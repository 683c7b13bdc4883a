#include "tagging/JournaledWrite.h"

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
    if (!std::filesystem::exists(path, ignored)) {
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
        journal->MarkDone(*index);
    }
    return {path, true, {}};
}

TailMatch CompareTail(RandomAccessFile& file, const JournalRecord& record) {
    const auto length = file.Length();
    if (!length) {
        return TailMatch::Unreadable;
    }
    if (*length < record.Offset) {
        return TailMatch::Neither;
    }
    std::string tail;
    if (!file.ReadAt(record.Offset, static_cast<std::size_t>(*length - record.Offset), tail)) {
        return TailMatch::Unreadable;
    }
    if (*length == record.OldLength && tail == record.OldTail) {
        return TailMatch::Old;
    }
    if (*length == record.NewLength && TailChecksum(tail) == record.NewChecksum) {
        return TailMatch::New;
    }
    return TailMatch::Neither;
}

}  // namespace versemark
