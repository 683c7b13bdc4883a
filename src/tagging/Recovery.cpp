// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/Recovery.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "base/ControlEscape.h"
#include "platform/FileSystem.h"
#include "platform/ReplacementFile.h"
#include "tagging/BesideFileRecords.h"

namespace versemark {
namespace {

constexpr std::string_view kNotSameFile = "it is no longer the file the journal recorded";
constexpr std::string_view kUnreadable = "its tail cannot be read";
constexpr std::string_view kCopyNotSameFile =
    "its unfinished copy is no longer the file the journal recorded: left alone";

RecoveryNote Unrecovered(const std::string& path, std::string why) {
    return RecoveryNote{path, false, std::move(why), {}};
}

RecoveryNote JournalProblem(const std::string& file, std::string why) {
    RecoveryNote note{file, false, std::move(why), {}};
    note.Journal = true;
    return note;
}

// Removes the new file an unfinished copy write left beside the file: only a
// regular file (not a link) of the name the journal gave it and, where the
// journal knows which file it was, that very file.
std::optional<RecoveryNote> RecoverCopy(const JournalRecord& record, const FileOpener& open,
                                        bool& resolved) {
    resolved = true;
    if (!IsCopyName(record.NewFile)) {
        return std::nullopt;  // not a name this program gives: never touched
    }
    std::error_code error;
    const std::filesystem::path newFile = SystemFilePath(record.NewFile);
    const auto status = std::filesystem::symlink_status(newFile, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return std::nullopt;  // never made, removed, or renamed over the file
    }
    if (error || !std::filesystem::is_regular_file(status)) {
        return Unrecovered(record.Path, std::string(kCopyNotSameFile));
    }
    if (record.Before) {
        auto file = open(record.NewFile, FileAccess::Read);
        const auto stamp = file ? file->Stamp() : std::nullopt;
        if (file) {
            file->Close();
        }
        if (!stamp || !stamp->SameFile(*record.Before)) {
            return Unrecovered(record.Path, std::string(kCopyNotSameFile));
        }
    }
    if (!std::filesystem::remove(newFile, error) && error) {
        resolved = false;
        return Unrecovered(record.Path, record.NewFile + ": " + error.message());
    }
    return RecoveryNote{record.Path, true, {}, record.NewFile};
}

// Recovers one record; nullopt when there was nothing to report. `resolved`
// tells whether the record needs no further look.
std::optional<RecoveryNote> RecoverRecord(const JournalRecord& record, const FileOpener& open,
                                          bool& resolved) {
    resolved = true;
    if (!record.Before) {
        return std::nullopt;  // a file without a stamp cannot be told apart from another
    }
    errno = 0;
    const auto file = open(record.Path, FileAccess::ReadWrite);
    if (!file) {
        resolved = false;
        return Unrecovered(record.Path, OpenFailureReason(record.Path, errno));
    }
    const auto stamp = file->Stamp();
    if (!stamp || !stamp->SameFile(*record.Before)) {
        return Unrecovered(record.Path, std::string(kNotSameFile));
    }
    const RangesChange change = record.Change();
    const TailMatch match = CompareRanges(*file, change);
    if (match == TailMatch::Unreadable) {
        resolved = false;
        return Unrecovered(record.Path, std::string(kUnreadable));
    }
    if (match == TailMatch::Neither) {
        file->Close();  // another file under the same number, or changed since
        return Unrecovered(record.Path, std::string(kNotSameFile));
    }
    // A failed record promised the old tail back, even where the new one is whole.
    const bool keep = match == TailMatch::Old ||
                      (match == TailMatch::New && record.State == RecordState::Pending);
    if (keep) {
        file->Close();  // opened for a look only: nothing was written
        return std::nullopt;
    }
    if (!PutRangesBack(*file, change) || !file->Close()) {
        resolved = false;
        return Unrecovered(record.Path, file->ErrorText());
    }
    return RecoveryNote{record.Path, true, {}, {}};
}

// Reads a settled journal whole and tells what of it cannot be used; damage not
// told by its summary yet is added to it, so that listing the passes tells it.
// Damage its summary records was told when it was found and is not told again.
void CheckSettled(const std::string& file, std::vector<RecoveryNote>& notes) {
    const auto content = ReadJournal(file);
    if (!content || content->Version != kJournalVersion || content->Problems.empty() ||
        content->DamageToldBefore) {
        return;
    }
    for (const std::string& problem : content->Problems) {
        notes.push_back(JournalProblem(file, problem));
    }
    if (content->Summary && content->Summary->DamagedAt == 0) {
        if (const auto journal = PassJournal::Reopen(file)) {
            journal->SettleDamaged();
        }
    }
}

}  // namespace

bool IsCopyName(const std::string& newFile) {
    const std::string name = Utf8FromPath(PathFromUtf8(newFile).filename());
    return name.size() == kReplacementNamePrefix.size() + kReplacementNameLetters &&
           name.starts_with(kReplacementNamePrefix);
}

std::vector<RecoveryNote> RecoverUnfinished(const std::string& journalFolder,
                                            const FileOpener& open, JournalCheck check) {
    std::vector<RecoveryNote> notes;
    if (journalFolder.empty()) {
        return notes;
    }
    for (const std::string& file : ListJournals(journalFolder)) {
        if (IsSettled(file)) {
            if (check == JournalCheck::Whole) {
                CheckSettled(file, notes);
            }
            continue;
        }
        // What cannot be used is told as found, before reopening cuts a torn end.
        const auto found = ReadJournal(file);
        const auto journal = PassJournal::Reopen(file);  // nullptr: in use, or unusable
        if (found && (journal || found->Version != kJournalVersion)) {
            for (const std::string& problem : found->Problems) {
                notes.push_back(JournalProblem(file, problem));
            }
        }
        const auto content = journal ? ReadJournal(file) : std::nullopt;
        if (!content) {
            continue;
        }
        for (const JournalRecord& record : content->Records) {
            if (record.State != RecordState::Pending && record.State != RecordState::Failed) {
                continue;
            }
            bool resolved = false;
            auto note = record.Kind == RecordKind::Copy     ? RecoverCopy(record, open, resolved)
                        : record.Kind == RecordKind::Beside ? RecoverBesideFile(record, resolved)
                                                            : RecoverRecord(record, open, resolved);
            if (note) {
                notes.push_back(std::move(*note));
            }
            if (resolved) {
                journal->MarkResolved(static_cast<std::size_t>(record.Index));
            }
        }
        journal->Settle();
    }
    return notes;
}

std::string RecoveryText(const std::vector<RecoveryNote>& notes) {
    std::string text;
    for (const RecoveryNote& note : notes) {
        // A name's control characters could otherwise forge a line of the text.
        const std::string path = EscapeControls(note.Path);
        if (note.Journal) {
            text += "Could not use all of the journal " + path + ": " + note.Text;
        } else if (!note.Repaired) {
            text += "Could not recover " + path + ": " + note.Text;
        } else if (note.RemovedUnfinished) {
            text += "Removed the unfinished file " + path;
        } else if (!note.RemovedCopy.empty()) {
            text +=
                "Removed the unfinished copy " + EscapeControls(note.RemovedCopy) + " of " + path;
        } else {
            text += "Restored the old tail of " + path;
        }
        text += '\n';
    }
    return text;
}

}  // namespace versemark
