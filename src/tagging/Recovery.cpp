#include "tagging/Recovery.h"

#include <cerrno>

namespace versemark {
namespace {

constexpr std::string_view kNotSameFile = "it is no longer the file the journal recorded";
constexpr std::string_view kUnreadable = "its tail cannot be read";

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
        return RecoveryNote{record.Path, false, OpenFailureReason(record.Path, errno)};
    }
    const auto stamp = file->Stamp();
    if (!stamp || !stamp->SameFile(*record.Before)) {
        return RecoveryNote{record.Path, false, std::string(kNotSameFile)};
    }
    const TailMatch match = CompareTail(*file, record);
    if (match == TailMatch::Unreadable) {
        resolved = false;
        return RecoveryNote{record.Path, false, std::string(kUnreadable)};
    }
    // A failed record promised the old tail back, even where the new one is whole.
    const bool keep = match == TailMatch::Old ||
                      (match == TailMatch::New && record.State == RecordState::Pending);
    if (keep) {
        file->Close();  // opened for a look only: nothing was written
        return std::nullopt;
    }
    if (!PutTailBack(*file, record.Offset, record.OldTail, record.OldLength) || !file->Close()) {
        resolved = false;
        return RecoveryNote{record.Path, false, file->ErrorText()};
    }
    return RecoveryNote{record.Path, true, {}};
}

}  // namespace

std::vector<RecoveryNote> RecoverUnfinished(const std::string& journalFolder,
                                            const FileOpener& open) {
    std::vector<RecoveryNote> notes;
    if (journalFolder.empty()) {
        return notes;
    }
    for (const std::string& file : ListJournals(journalFolder)) {
        if (IsSettled(file)) {
            continue;
        }
        const auto journal = PassJournal::Reopen(file);  // nullptr: in use by a running pass
        const auto content = journal ? ReadJournal(file) : std::nullopt;
        if (!content) {
            continue;
        }
        for (std::size_t i = 0; i < content->Records.size(); ++i) {
            const JournalRecord& record = content->Records[i];
            if (record.State != RecordState::Pending && record.State != RecordState::Failed) {
                continue;
            }
            bool resolved = false;
            if (auto note = RecoverRecord(record, open, resolved)) {
                notes.push_back(std::move(*note));
            }
            if (resolved) {
                journal->MarkResolved(i);
            }
        }
        journal->Settle();
    }
    return notes;
}

std::string RecoveryText(const std::vector<RecoveryNote>& notes) {
    std::string text;
    for (const RecoveryNote& note : notes) {
        text += note.Repaired ? "Restored the old tail of " + note.Path
                              : "Could not recover " + note.Path + ": " + note.Text;
        text += '\n';
    }
    return text;
}

}  // namespace versemark
