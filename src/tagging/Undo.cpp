#include "tagging/Undo.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <set>

#include "tagging/JournaledCopy.h"

namespace versemark {
namespace {

constexpr std::string_view kReasonNotSameFile = "no longer the file the pass tagged";
constexpr std::string_view kReasonAlreadyOld = "not changed by that pass";
constexpr std::string_view kReasonChangedSince = "changed since the pass";
constexpr std::string_view kReasonNotKept =
    "its old ID3v2 tag and tail were more than the journal keeps";

// Opens the file of `record` when it is still the file the pass wrote; nullptr,
// with the result that says why, otherwise.
std::unique_ptr<RandomAccessFile> OpenRecordedFile(const JournalRecord& record, FileAccess access,
                                                   const FileOpener& open, TagResult& refused) {
    refused = {record.Path, false, std::string(kReasonNotSameFile)};
    if (!record.Before) {
        return nullptr;
    }
    errno = 0;
    auto file = open(record.Path, access);
    if (!file) {
        refused.Reason = OpenFailureReason(record.Path, errno);
        return nullptr;
    }
    const auto stamp = file->Stamp();
    if (!stamp || !stamp->SameFile(*record.Before)) {
        file->Close();
        return nullptr;
    }
    return file;
}

// How the whole of a file compares with what a copy write recorded.
TailMatch CompareCopy(std::string_view bytes, const CopyUndo& undo) {
    if (bytes.size() == undo.NewLength &&
        TailChecksum(bytes.substr(0, undo.NewFrontLength)) == undo.NewFrontChecksum &&
        TailChecksum(bytes.substr(undo.NewTailOffset)) == undo.NewTailChecksum) {
        return TailMatch::New;
    }
    if (bytes.size() == undo.OldLength() && bytes.starts_with(undo.OldFront) &&
        bytes.ends_with(undo.OldTail)) {
        return TailMatch::Old;
    }
    return TailMatch::Neither;
}

// Gives a file written by a copy its old front and tail back, again by a copy
// renamed over it; the bytes between are kept as they are.
TagResult UndoCopy(const JournalRecord& record, PassJournal& journal, const FileOpener& open) {
    if (!record.CopyWritten) {
        return {record.Path, false, std::string(kReasonAlreadyOld)};  // never renamed over it
    }
    if (!record.Undo) {
        return {record.Path, false, std::string(kReasonNotKept)};
    }
    TagResult refused;
    const auto file = OpenRecordedFile(record, FileAccess::Read, open, refused);
    if (!file) {
        return refused;
    }
    const auto length = file->Length();
    std::string bytes;
    const bool read = length && file->ReadAt(0, static_cast<std::size_t>(*length), bytes);
    file->Close();  // the copy replaces it by name
    if (!read) {
        return {record.Path, false, file->ErrorText()};
    }
    const CopyUndo& undo = *record.Undo;
    const TailMatch match = CompareCopy(bytes, undo);
    if (match != TailMatch::New) {
        return {record.Path, false,
                std::string(match == TailMatch::Old ? kReasonAlreadyOld : kReasonChangedSince)};
    }
    const std::string_view middle = std::string_view(bytes).substr(
        undo.NewFrontLength, undo.NewTailOffset - undo.NewFrontLength);
    const CopyFiller fill = [&](RandomAccessFile& copy, std::optional<CopyUndo>& again,
                                std::string& reason) {
        if (!copy.WriteAt(0, undo.OldFront) || !copy.WriteAt(undo.OldFront.size(), middle) ||
            !copy.WriteAt(undo.OldTailOffset, undo.OldTail)) {
            reason = "writing the new file failed: " + copy.ErrorText();
            return false;
        }
        again = DescribeCopy(bytes, undo.NewFrontLength, undo.OldFront, undo.NewTailOffset,
                             undo.OldTail);
        return true;
    };
    return WriteCopyJournaled(record.Path, fill, &journal);
}

std::vector<JournalContent> ReadAllJournals(const std::string& folder) {
    std::vector<JournalContent> journals;
    for (const std::string& file : ListJournals(folder)) {
        if (auto content = ReadJournal(file)) {
            journals.push_back(std::move(*content));
        }
    }
    return journals;
}

std::set<std::string> UndonePasses(const std::vector<JournalContent>& journals) {
    std::set<std::string> undone;
    for (const JournalContent& journal : journals) {
        if (!journal.Header.UndoOf.empty()) {
            undone.insert(journal.Header.UndoOf);
        }
    }
    return undone;
}

const JournalContent* FindPass(const std::vector<JournalContent>& journals,
                               const std::string& passId) {
    if (passId.empty()) {
        const std::set<std::string> undone = UndonePasses(journals);
        const auto latest =
            std::find_if(journals.rbegin(), journals.rend(), [&](const JournalContent& j) {
                return j.Header.UndoOf.empty() && !undone.contains(j.Id);
            });
        return latest == journals.rend() ? nullptr : &*latest;
    }
    const auto named = std::find_if(journals.begin(), journals.end(),
                                    [&](const JournalContent& j) { return j.Id == passId; });
    return named == journals.end() ? nullptr : &*named;
}

TagResult UndoRecord(const JournalRecord& record, PassJournal& journal, const FileOpener& open) {
    if (record.Kind == RecordKind::Copy) {
        return UndoCopy(record, journal, open);
    }
    TagResult refused;
    auto file = OpenRecordedFile(record, FileAccess::ReadWrite, open, refused);
    if (!file) {
        return refused;
    }
    const TailMatch match = CompareTail(*file, record);
    if (match != TailMatch::New) {
        file->Close();
        return {record.Path, false,
                std::string(match == TailMatch::Old ? kReasonAlreadyOld : kReasonChangedSince)};
    }
    return WriteTailJournaled(std::move(file), record.Path, record.Offset, record.OldTail, &journal,
                              open);
}

}  // namespace

std::vector<PassSummary> ListPasses(const std::string& journalFolder) {
    const std::vector<JournalContent> journals = ReadAllJournals(journalFolder);
    const std::set<std::string> undone = UndonePasses(journals);
    std::vector<PassSummary> passes;
    for (const JournalContent& journal : journals) {
        passes.push_back({journal.Id, journal.Header.Started, journal.Header.Folder,
                          journal.Records.size(), journal.Header.UndoOf,
                          undone.contains(journal.Id)});
    }
    return passes;
}

UndoOutcome UndoPass(const std::string& journalFolder, const std::string& passId,
                     const FileOpener& open) {
    UndoOutcome outcome;
    const std::vector<JournalContent> journals = ReadAllJournals(journalFolder);
    const JournalContent* pass = FindPass(journals, passId);
    if (!pass) {
        outcome.Error = passId.empty() ? "no tagging pass to undo" : "no pass named " + passId;
        return outcome;
    }
    outcome.PassId = pass->Id;
    PassHeader header;
    header.Started = static_cast<std::int64_t>(std::time(nullptr));
    header.Folder = pass->Header.Folder;
    header.UndoOf = pass->Id;
    auto journal = PassJournal::Create(journalFolder, header, outcome.Error);
    if (!journal) {
        return outcome;
    }
    // Latest first, so a file changed twice ends with its oldest tail.
    for (auto record = pass->Records.rbegin(); record != pass->Records.rend(); ++record) {
        outcome.Results.push_back(UndoRecord(*record, *journal, open));
    }
    FinishJournal(std::move(journal), journalFolder);
    return outcome;
}

}  // namespace versemark
