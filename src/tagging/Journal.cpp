// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/Journal.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/FileSystem.h"

namespace versemark {
namespace {

constexpr int kNameAttempts = 100;

std::string JournalId(const std::string& file) {
    return Utf8FromPath(PathFromUtf8(file).stem());
}

// "20261208-071502.123456789-4242": the start time to the nanosecond and the
// process, so names sort by time and two passes never share one.
std::string NewJournalName() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(now.time_since_epoch() %
                                                                            std::chrono::seconds(1))
                           .count();
    const std::tm local = LocalTime(seconds);
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d.%09lld-%d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<long long>(nanos), CurrentProcessId());
    return text;
}

std::size_t UnsettledRecords(const JournalContent& content) {
    return static_cast<std::size_t>(
        std::count_if(content.Records.begin(), content.Records.end(), [](const JournalRecord& r) {
            return r.State == RecordState::Pending || r.State == RecordState::Failed;
        }));
}

// The index the next record of a reopened journal gets: past every one read.
std::size_t NextRecordIndex(const JournalContent& content) {
    const std::uint64_t counted = content.Summary ? content.Summary->Records : 0;
    const std::uint64_t read = content.Records.empty() ? 0 : content.Records.back().Index + 1;
    return static_cast<std::size_t>(std::max(counted, read));
}

}  // namespace

PassJournal::PassJournal(std::unique_ptr<LockedFile> locked, std::string file, std::size_t records,
                         std::size_t unsettled, std::uint64_t bytes)
    : locked_(std::move(locked)),
      file_(std::move(file)),
      id_(JournalId(file_)),
      records_(records),
      unsettled_(unsettled),
      bytes_(bytes) {}

PassJournal::~PassJournal() = default;  // closing the file releases the lock

std::unique_ptr<PassJournal> PassJournal::Create(const std::string& folder,
                                                 const PassHeader& header, std::string& reason,
                                                 const LockedFileWrap& wrap) {
    if (folder.empty()) {
        reason = "no folder for the journal (" + std::string(NoUserStateFolderText()) + ")";
        return nullptr;
    }
    if (std::string why; !MakePrivateFolder(folder, why)) {
        reason = "journal folder " + folder + ": " + why;
        return nullptr;
    }
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = NewJournalName();
        const std::string file = folder + kPathSeparator + name + std::string(kJournalExtension);
        LockedCreate result = LockedCreate::Failed;
        std::string why;
        auto locked = CreateLockedFile(file, result, why);
        if (result == LockedCreate::NameTaken) {
            continue;
        }
        if (!locked) {
            reason = "journal " + file + ": " + why;
            return nullptr;
        }
        if (wrap) {
            locked = wrap(std::move(locked));
        }
        std::unique_ptr<PassJournal> journal(new PassJournal(std::move(locked), file, 0, 0, 0));
        journal->undo_ = !header.UndoOf.empty();
        if (!journal->Append(HeaderEntry(header), true)) {
            reason = journal->broken_;
            journal.reset();
            std::error_code ignored;
            std::filesystem::remove(SystemFilePath(file), ignored);
            return nullptr;
        }
        return journal;
    }
    reason = "journal folder " + folder + ": no free name";
    return nullptr;
}

std::unique_ptr<PassJournal> PassJournal::Reopen(const std::string& file) {
    auto locked = OpenLockedFile(file);
    if (!locked) {
        return nullptr;
    }
    const auto content = ReadJournal(file);
    if (!content || content->Version != kJournalVersion ||
        (content->TornEnd && !locked->Truncate(content->ValidBytes))) {
        return nullptr;
    }
    std::error_code error;
    const std::uint64_t length = content->TornEnd
                                     ? content->ValidBytes
                                     : std::filesystem::file_size(SystemFilePath(file), error);
    if (error) {
        return nullptr;
    }
    std::unique_ptr<PassJournal> journal(new PassJournal(
        std::move(locked), file, NextRecordIndex(*content), UnsettledRecords(*content), length));
    journal->undo_ = !content->Header.UndoOf.empty();
    // Settled before: the summary added keeps what the last one told.
    journal->reopened_ = content->Summary ? content->Summary->Interrupted : true;
    journal->damagedAt_ = content->DamagedAt;
    return journal;
}

bool PassJournal::Append(const std::string& entry, bool flush) {
    if (!broken_.empty()) {
        return false;
    }
    if (locked_->Append(entry) && (!flush || locked_->Sync())) {
        bytes_ += entry.size();
        return true;
    }
    // Whatever part of the entry reached the file is cut off again, so the
    // journal ends with a whole entry; no later entry follows a torn one.
    broken_ = "journal " + file_ + ": " + locked_->ErrorText();
    if (!locked_->Truncate(bytes_)) {
        broken_ += " (and cutting it back failed: " + locked_->ErrorText() + ")";
    }
    return false;
}

std::optional<std::size_t> PassJournal::Begin(const std::string& path,
                                              const std::optional<FileStamp>& before,
                                              const TailChange& change, std::string& reason) {
    return BeginRecord(TailRecordEntry(records_, path, before, change), reason);
}

std::optional<std::size_t> PassJournal::BeginRanges(const std::string& path,
                                                    const std::optional<FileStamp>& before,
                                                    const RangesChange& change,
                                                    std::string& reason) {
    return BeginRecord(RangesRecordEntry(records_, path, before, change), reason);
}

std::optional<std::size_t> PassJournal::BeginCopy(const std::string& path,
                                                  const std::string& newFile, std::string& reason) {
    return BeginRecord(CopyRecordEntry(records_, path, newFile), reason);
}

std::optional<std::size_t> PassJournal::BeginBeside(const std::string& path,
                                                    const std::string& newFile,
                                                    std::string_view written,
                                                    const std::optional<std::string>& replaced,
                                                    std::string& reason) {
    return BeginRecord(BesideRecordEntry(records_, path, newFile, written, replaced), reason);
}

std::optional<std::size_t> PassJournal::BeginRecord(const std::string& entry, std::string& reason) {
    if (!Append(entry, true)) {
        reason = broken_;
        return std::nullopt;
    }
    ++unsettled_;
    return records_++;
}

bool PassJournal::MarkCopyWritten(std::size_t index, const FileStamp& copy, const CopyUndo* undo) {
    return Append(CopyWrittenEntry(index, copy, undo), true);
}

bool PassJournal::MarkPieceCopyWritten(std::size_t index, const FileStamp& copy,
                                       const PieceUndo& undo) {
    return Append(PieceCopyWrittenEntry(index, copy, undo), true);
}

bool PassJournal::MarkDone(std::size_t index, const std::optional<FileStamp>& after) {
    if (!Append(DoneEntry(index, after), false)) {
        return false;  // the record stays pending: recovery finds the new tail whole
    }
    --unsettled_;
    return true;
}

bool PassJournal::MarkFailed(std::size_t index) {
    return Append(FailedEntry(index), true);
}

bool PassJournal::MarkResolved(std::size_t index) {
    if (!Append(ResolvedEntry(index), true)) {
        return false;
    }
    --unsettled_;
    return true;
}

void PassJournal::Settle() {
    if (unsettled_ == 0) {
        AppendSummary();
    }
}

void PassJournal::SettleDamaged() {
    if (damagedAt_ != 0) {
        AppendSummary();
    }
}

void PassJournal::AppendSummary() {
    JournalSummary summary;
    summary.Records = records_;
    summary.Interrupted = reopened_;
    summary.DamagedAt = damagedAt_;
    Append(SummaryEntry(summary, bytes_), false);
}

}  // namespace versemark
