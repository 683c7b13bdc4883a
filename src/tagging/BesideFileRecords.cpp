// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/BesideFileRecords.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/FileSystem.h"
#include "tagging/BesideFile.h"
#include "tagging/Undo.h"

namespace versemark {
namespace {

constexpr std::string_view kReasonGone = "no longer there";
constexpr std::string_view kReasonAlreadyGone = "already gone";

// What lies at a lyrics file's name, read no further than `limit` bytes.
struct FileLook {
    enum class Kind { Missing, NotRegular, Larger, Unreadable, Read } Kind = Kind::Missing;
    std::string Bytes;   // Read: the whole file
    std::string Reason;  // Unreadable: why
};

FileLook LookAt(const std::string& path, std::size_t limit) {
    FileLook look;
    std::error_code error;
    const auto status = std::filesystem::symlink_status(SystemFilePath(path), error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return look;
    }
    if (error || status.type() != std::filesystem::file_type::regular) {
        look.Kind = FileLook::Kind::NotRegular;
        return look;
    }
    const auto file = OpenFile(path, FileAccess::Read);
    const auto length = file ? file->Length() : std::nullopt;
    if (length && *length > limit) {
        look.Kind = FileLook::Kind::Larger;
        return look;
    }
    if (!length || !file->ReadAt(0, static_cast<std::size_t>(*length), look.Bytes)) {
        look.Kind = FileLook::Kind::Unreadable;
        look.Reason = file ? file->ErrorText() : "cannot be opened";
        return look;
    }
    look.Kind = FileLook::Kind::Read;
    return look;
}

// True when `look` read the beginning of `written`, or all of it when `whole`
// may be.
bool IsPartOf(const FileLook& look, const std::string& written, bool whole) {
    return look.Kind == FileLook::Kind::Read && (whole || look.Bytes.size() < written.size()) &&
           std::string_view(written).starts_with(look.Bytes);
}

// Removes `path`; true when it is gone.
bool Remove(const std::string& path, std::string& reason) {
    std::error_code error;
    std::filesystem::remove(SystemFilePath(path), error);
    if (error) {
        reason = error.message();
    }
    return !error;
}

// What a file already holding what the record replaced means (as for tails).
TagResult AlreadyOld(const JournalRecord& record, bool partlyUndone) {
    if (partlyUndone) {
        return TagResult{record.Path, true, std::string(kReasonAlreadyUndone)};
    }
    return TagResult{record.Path, false, std::string(kReasonAlreadyOld)};
}

}  // namespace

std::optional<RecoveryNote> RecoverBesideFile(const JournalRecord& record, bool& resolved) {
    resolved = true;
    const bool made = !record.Replaced;
    const std::string& unfinished = made ? record.Path : record.NewFile;
    if (!made && !IsCopyName(record.NewFile)) {
        return std::nullopt;  // not a name this program gives: never touched
    }
    const FileLook look = LookAt(unfinished, record.Written.size());
    if (!IsPartOf(look, record.Written, !made)) {
        return std::nullopt;  // nothing there, whole, or not what was written
    }
    std::string reason;
    if (!Remove(unfinished, reason)) {
        resolved = false;
        return RecoveryNote{record.Path, false, unfinished + ": " + reason, {}};
    }
    RecoveryNote note{record.Path, true, {}, made ? std::string() : unfinished};
    note.RemovedUnfinished = made;
    return note;
}

std::optional<TagResult> UndoBesideFile(const JournalRecord& record, bool partlyUndone,
                                        PassJournal& journal) {
    const std::size_t limit =
        std::max(record.Written.size(), record.Replaced.value_or(std::string()).size());
    const FileLook look = LookAt(record.Path, limit);
    const bool made = !record.Replaced;
    if (look.Kind == FileLook::Kind::Read && look.Bytes == record.Written) {
        std::string reason;
        if (made) {
            Remove(record.Path, reason);
        } else {
            reason = WriteBesideFile(record.Path, *record.Replaced, record.Written, &journal);
        }
        return TagResult{record.Path, reason.empty(), reason};
    }
    // A record never marked done may have found the name taken: what lies there
    // now is none of its doing.
    if (record.State != RecordState::Done) {
        return std::nullopt;
    }
    switch (look.Kind) {
        case FileLook::Kind::Missing:
            if (!made) {
                return TagResult{record.Path, false, std::string(kReasonGone)};
            }
            return TagResult{record.Path, true,
                             std::string(partlyUndone ? kReasonAlreadyUndone : kReasonAlreadyGone)};
        case FileLook::Kind::NotRegular:
            return TagResult{record.Path, false, std::string(kReasonNotSameFile)};
        case FileLook::Kind::Unreadable:
            return TagResult{record.Path, false, look.Reason};
        case FileLook::Kind::Read:
            if (!made && look.Bytes == *record.Replaced) {
                return AlreadyOld(record, partlyUndone);
            }
            break;
        case FileLook::Kind::Larger:
            break;
    }
    return TagResult{record.Path, false, std::string(kReasonChangedSince)};
}

}  // namespace versemark
