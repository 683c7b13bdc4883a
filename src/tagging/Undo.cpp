// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/Undo.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <map>
#include <system_error>

#include "platform/FileSystem.h"
#include "platform/LockedFile.h"
#include "tagging/BesideFileRecords.h"
#include "tagging/JournaledCopy.h"
#include "tagging/PieceCopy.h"

namespace versemark {
namespace {

constexpr std::string_view kReasonNotKept =
    "its old ID3v2 tag and tail were more than the journal keeps";
constexpr std::string_view kReasonUnreadable = "its journal cannot be read";

// Opens the file of `record` when it is still the file the pass wrote (the same
// device and file number); nullptr, with the result that says why, otherwise.
// `stamp` is its stamp as opened.
std::unique_ptr<RandomAccessFile> OpenRecordedFile(const JournalRecord& record, FileAccess access,
                                                   const FileOpener& open, TagResult& refused,
                                                   FileStamp& stamp) {
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
    const auto opened = file->Stamp();
    if (!opened || !opened->SameFile(*record.Before)) {
        file->Close();
        return nullptr;
    }
    stamp = *opened;
    return file;
}

// True when `stamp` is still the state the write left: its size and time. After
// an undo ended early, recovery may have written the pass's bytes back, anew:
// then the bytes alone tell.
bool AfterStateHolds(const FileStamp& stamp, const std::optional<FileStamp>& after,
                     bool partlyUndone) {
    return !after ||
           (stamp.Size == after->Size && (partlyUndone || stamp.ModifiedNs == after->ModifiedNs));
}

// What a file already holding its old bytes means: a record never written is
// no change at all (nullopt); after an undo ended early it was given back then.
std::optional<TagResult> AlreadyOld(const JournalRecord& record, bool written, bool partlyUndone) {
    if (!written) {
        return std::nullopt;
    }
    if (partlyUndone) {
        return TagResult{record.Path, true, std::string(kReasonAlreadyUndone)};
    }
    return TagResult{record.Path, false, std::string(kReasonAlreadyOld)};
}

// The two ends of a file written by a copy: the bytes undo compares and gives
// back, read without the audio between.
struct CopyEnds {
    std::uint64_t Length = 0;
    std::string NewFront;  // as long as the copy's front, or the whole file when shorter
    std::string NewTail;   // from the copy's tail offset on, when the file reaches it
    std::string OldFront;  // as long as the old front, or the whole file when shorter
    std::string OldTail;   // as long as the old tail, or the whole file when shorter
};

std::optional<CopyEnds> ReadCopyEnds(RandomAccessFile& file, const CopyUndo& undo) {
    const auto length = file.Length();
    if (!length) {
        return std::nullopt;
    }
    CopyEnds ends;
    ends.Length = *length;
    const auto start = [&](std::uint64_t count, std::string& out) {
        return file.ReadAt(0, static_cast<std::size_t>(std::min(count, *length)), out);
    };
    const auto end = [&](std::uint64_t count, std::string& out) {
        const std::uint64_t from = *length - std::min(count, *length);
        return file.ReadAt(from, static_cast<std::size_t>(*length - from), out);
    };
    const std::uint64_t newTail =
        undo.NewTailOffset <= *length ? *length - undo.NewTailOffset : *length;
    if (!start(undo.NewFrontLength, ends.NewFront) || !end(newTail, ends.NewTail) ||
        !start(undo.OldFront.size(), ends.OldFront) || !end(undo.OldTail.size(), ends.OldTail)) {
        return std::nullopt;
    }
    return ends;
}

// How the whole of a file compares with what a copy write recorded.
TailMatch CompareCopy(const CopyEnds& ends, const CopyUndo& undo) {
    if (ends.Length == undo.NewLength && ends.NewFront.size() == undo.NewFrontLength &&
        TailChecksum(ends.NewFront) == undo.NewFrontChecksum &&
        TailChecksum(ends.NewTail) == undo.NewTailChecksum) {
        return TailMatch::New;
    }
    if (ends.Length == undo.OldLength() && ends.OldFront == undo.OldFront &&
        ends.OldTail == undo.OldTail) {
        return TailMatch::Old;
    }
    return TailMatch::Neither;
}

// True when `file` (of `length` bytes) holds the old file a piece undo
// rebuilds: its length, and the old bytes it kept where they belong.
bool HoldsOldPieces(RandomAccessFile& file, std::uint64_t length, const PieceUndo& undo) {
    if (length != undo.OldLength()) {
        return false;
    }
    std::uint64_t at = 0;
    std::string bytes;
    for (const Piece& piece : undo.OldPieces) {
        if (!piece.FromSource &&
            (!file.ReadAt(at, piece.Bytes.size(), bytes) || bytes != piece.Bytes)) {
            return false;
        }
        at += piece.Length;
    }
    return true;
}

// Gives a file written by a copy from pieces its old bytes back, again by a copy
// renamed over it, made of the stretches of the file the journal names and the
// old bytes it kept; only while the file is exactly what the pass wrote.
std::optional<TagResult> UndoPieces(const JournalRecord& record, bool partlyUndone,
                                    PassJournal& journal, const FileOpener& open) {
    const PieceUndo& undo = *record.Pieces;
    TagResult refused;
    FileStamp stamp;
    const auto file = OpenRecordedFile(record, FileAccess::Read, open, refused, stamp);
    if (!file) {
        return refused;
    }
    const auto length = file->Length();
    const auto checksum =
        length && *length == undo.NewLength ? FileChecksum(*file, *length) : std::nullopt;
    if (checksum == undo.NewChecksum && AfterStateHolds(stamp, record.After, partlyUndone)) {
        TagResult result =
            WritePiecesByCopy(*file, record.Path, {}, PieceTable(undo.OldPieces), &journal);
        file->Close();
        return result;
    }
    const bool old = length && HoldsOldPieces(*file, *length, undo);
    file->Close();
    if (old) {
        // Recovery took back a copy never renamed over the file: no change.
        return AlreadyOld(record, record.State == RecordState::Done, partlyUndone);
    }
    return TagResult{record.Path, false, std::string(kReasonChangedSince)};
}

// Gives a file written by a copy its old front and tail back, again by a copy
// renamed over it; the bytes between are copied a block at a time.
std::optional<TagResult> UndoCopy(const JournalRecord& record, bool partlyUndone,
                                  PassJournal& journal, const FileOpener& open) {
    if (!record.CopyWritten) {
        return std::nullopt;  // never renamed over the file
    }
    if (record.Pieces) {
        return UndoPieces(record, partlyUndone, journal, open);
    }
    if (!record.Undo) {
        return TagResult{record.Path, false, std::string(kReasonNotKept)};
    }
    TagResult refused;
    FileStamp stamp;
    const auto file = OpenRecordedFile(record, FileAccess::Read, open, refused, stamp);
    if (!file) {
        return refused;
    }
    const CopyUndo& undo = *record.Undo;
    const auto ends = ReadCopyEnds(*file, undo);
    if (!ends) {
        file->Close();
        return TagResult{record.Path, false, file->ErrorText()};
    }
    const TailMatch match = CompareCopy(*ends, undo);
    if (match == TailMatch::Old) {
        file->Close();
        return AlreadyOld(record, true, partlyUndone);
    }
    if (match != TailMatch::New || !AfterStateHolds(stamp, record.After, partlyUndone)) {
        file->Close();
        const bool ours = ends->NewFront.size() == undo.NewFrontLength &&
                          TailChecksum(ends->NewFront) == undo.NewFrontChecksum;
        return TagResult{record.Path, false,
                         std::string(ours && match != TailMatch::New ? kReasonChangedSince
                                                                     : kReasonNotSameFile)};
    }
    const CopyFiller fill = [&](RandomAccessFile& copy, std::optional<CopyUndo>& again,
                                std::string& reason) {
        if (!copy.WriteAt(0, undo.OldFront) ||
            !CopyBlocks(*file, undo.NewFrontLength, undo.NewTailOffset, copy, undo.OldFront.size(),
                        reason) ||
            !copy.WriteAt(undo.OldTailOffset, undo.OldTail)) {
            if (reason.empty()) {
                reason = "writing the new file failed: " + copy.ErrorText();
            }
            return false;
        }
        again = DescribeCopyOf(ends->NewFront, undo.NewTailOffset, ends->NewTail, undo.OldFront,
                               undo.OldTail);
        // Read whole: closed before the rename, which Windows refuses while the
        // file is open.
        file->Close();
        return true;
    };
    TagResult result = WriteCopyJournaled(record.Path, fill, &journal);
    file->Close();
    return result;
}

std::optional<TagResult> UndoRecord(const JournalRecord& record, bool partlyUndone,
                                    PassJournal& journal, const FileOpener& open) {
    if (record.Kind == RecordKind::Copy) {
        return UndoCopy(record, partlyUndone, journal, open);
    }
    if (record.Kind == RecordKind::Beside) {
        return UndoBesideFile(record, partlyUndone, journal);
    }
    TagResult refused;
    FileStamp stamp;
    auto file = OpenRecordedFile(record, FileAccess::ReadWrite, open, refused, stamp);
    if (!file) {
        return refused;
    }
    const RangesChange change = record.Change();
    const TailMatch match = CompareRanges(*file, change);
    if (match == TailMatch::New && AfterStateHolds(stamp, record.After, partlyUndone)) {
        if (record.Kind == RecordKind::Tail) {
            return WriteTailJournaled(std::move(file), record.Path, record.Offset, record.OldTail,
                                      &journal, open);
        }
        return WriteRangesJournaled(std::move(file), record.Path, change.Reversed().Edits(),
                                    &journal, open);
    }
    // Still holding what the pass wrote: changed by something else since, not
    // another file.
    const bool changedSince = match != TailMatch::New && HoldsNewBytes(*file, change);
    file->Close();
    if (match == TailMatch::Old) {
        return AlreadyOld(record, record.State == RecordState::Done, partlyUndone);
    }
    return TagResult{record.Path, false,
                     std::string(changedSince ? kReasonChangedSince : kReasonNotSameFile)};
}

// An undo pass counts as finished when its journal's summary says it ran to its
// end; an undo ended early was settled by recovery, or has no summary yet.
bool UndoFinished(const JournalHead& head) {
    return head.Summary && !head.Summary->Interrupted;
}

// `finished` tells whether the pass ran to its end (as UndoFinished).
PassSummary Summarize(const std::string& file, bool& finished) {
    finished = false;
    PassSummary pass;
    pass.File = file;
    const auto head = ReadJournalHead(file);
    if (!head) {
        pass.Id = Utf8FromPath(PathFromUtf8(file).stem());
        pass.Problems.push_back(std::string(kReasonUnreadable));
        return pass;
    }
    pass.Id = head->Id;
    pass.Started = head->Header.Started;
    pass.Folder = head->Header.Folder;
    pass.UndoOf = head->Header.UndoOf;
    finished = UndoFinished(*head);
    if (head->Version != kJournalVersion) {
        pass.OtherFormat = OtherFormatText(head->Version);
    } else if (head->Summary) {
        pass.Files = static_cast<std::size_t>(head->Summary->Records);
        if (head->Summary->DamagedAt != 0) {
            pass.Problems.push_back(SummaryProblemText(*head->Summary));
        }
    } else if (const auto content = ReadJournal(file)) {
        // Still in use, or left for recovery: only its records can tell.
        pass.Files = content->Records.empty() ? 0 : content->Records.back().Index + 1;
        pass.Problems = content->Problems;
    }
    return pass;
}

// Marks each tagging pass undone, or partly undone, by the undo passes of it.
void MarkUndone(std::vector<PassSummary>& passes, const std::map<std::string, bool>& undos) {
    for (PassSummary& pass : passes) {
        const auto undo = undos.find(pass.Id);
        if (undo != undos.end()) {
            pass.Undone = undo->second;
            pass.PartlyUndone = !undo->second;
        }
    }
}

const PassSummary* FindPass(const std::vector<PassSummary>& passes, const std::string& passId) {
    if (passId.empty()) {
        const auto latest = std::find_if(passes.rbegin(), passes.rend(), [](const PassSummary& p) {
            return p.UndoOf.empty() && !p.Undone && p.OtherFormat.empty();
        });
        return latest == passes.rend() ? nullptr : &*latest;
    }
    const auto named = std::find_if(passes.begin(), passes.end(),
                                    [&](const PassSummary& p) { return p.Id == passId; });
    return named == passes.end() ? nullptr : &*named;
}

}  // namespace

std::vector<PassSummary> ListPasses(const std::string& journalFolder) {
    std::vector<PassSummary> passes;
    std::map<std::string, bool> undos;  // the pass undone: whether an undo of it finished
    for (const std::string& file : ListJournals(journalFolder)) {
        bool finished = false;
        passes.push_back(Summarize(file, finished));
        const PassSummary& pass = passes.back();
        if (!pass.UndoOf.empty()) {
            undos[pass.UndoOf] = undos[pass.UndoOf] || finished;
        }
    }
    MarkUndone(passes, undos);
    return passes;
}

std::string ListingRefusal(const std::string& journalFolder) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(PathFromUtf8(journalFolder), error);
    if (journalFolder.empty() || !std::filesystem::exists(status)) {
        return {};
    }
    std::string why;
    return MakePrivateFolder(journalFolder, why) ? std::string()
                                                 : "journal folder " + journalFolder + ": " + why;
}

UndoOutcome UndoPass(const std::string& journalFolder, const std::string& passId,
                     const FileOpener& open) {
    UndoOutcome outcome;
    const std::vector<PassSummary> passes = ListPasses(journalFolder);
    const PassSummary* pass = FindPass(passes, passId);
    if (!pass) {
        outcome.Error = passId.empty() ? "no tagging pass to undo" : "no pass named " + passId;
        return outcome;
    }
    outcome.PassId = pass->Id;
    outcome.JournalFile = pass->File;
    if (!pass->OtherFormat.empty()) {
        outcome.Error = "pass " + pass->Id + ": its journal was " + pass->OtherFormat;
        return outcome;
    }
    const auto content = ReadJournal(pass->File);
    if (!content) {
        outcome.Error = "pass " + pass->Id + ": " + std::string(kReasonUnreadable);
        return outcome;
    }
    outcome.Problems = content->Problems;
    if (!content->Problems.empty() && content->Summary && content->Summary->DamagedAt == 0) {
        if (const auto damaged = PassJournal::Reopen(pass->File)) {
            damaged->SettleDamaged();  // its summary tells the damage from now on
        }
    }
    PassHeader header;
    header.Started = static_cast<std::int64_t>(std::time(nullptr));
    header.Folder = content->Header.Folder;
    header.UndoOf = pass->Id;
    auto journal = PassJournal::Create(journalFolder, header, outcome.Error);
    if (!journal) {
        return outcome;
    }
    // Latest first, so a file changed twice ends with its oldest tail.
    for (auto record = content->Records.rbegin(); record != content->Records.rend(); ++record) {
        if (!journal->Broken().empty()) {
            outcome.Results.push_back({record->Path, false, journal->Broken()});
        } else if (auto result = UndoRecord(*record, pass->PartlyUndone, *journal, open)) {
            outcome.Results.push_back(std::move(*result));
        }
    }
    FinishJournal(std::move(journal), journalFolder);
    return outcome;
}

}  // namespace versemark
