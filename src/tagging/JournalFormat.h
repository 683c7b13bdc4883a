// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RandomAccessFile.h"
#include "tagging/RangesChange.h"
#include "tags/PieceTable.h"
#include "tags/TailReplace.h"

// The journal's record format: the entries of one journal file, how they are
// encoded and how a journal is read back. Every entry is framed by its type, its
// length and a checksum, so a torn or damaged entry is found and reported, and
// the entries behind it are still read.
namespace versemark {

// The format this program writes; a journal of another format is refused.
inline constexpr std::uint64_t kJournalVersion = 2;

// A checksum of a tail's bytes (64-bit FNV-1a).
std::uint64_t TailChecksum(std::string_view bytes);
// The checksum of bytes read in parts: TailChecksum of the first part, then this
// with each further part.
std::uint64_t ContinueChecksum(std::uint64_t checksum, std::string_view bytes);

enum class RecordState {
    Pending,   // the write may have begun; the file holds the old, the new or a torn tail
    Done,      // the new tail was written and flushed
    Failed,    // the write failed and putting the old tail back failed too
    Resolved,  // recovery found or made the old or the new tail
};

// What undo needs of a file written as a copy: its old front (the ID3v2 tag, or
// nothing) and old tail, and what the copy holds in their place. The bytes
// between are the same in both.
struct CopyUndo {
    std::string OldFront;
    std::uint64_t OldTailOffset = 0;
    std::string OldTail;  // to the old file's end
    std::uint64_t NewFrontLength = 0;
    std::uint64_t NewFrontChecksum = 0;
    std::uint64_t NewTailOffset = 0;
    std::uint64_t NewLength = 0;
    std::uint64_t NewTailChecksum = 0;

    std::uint64_t OldLength() const { return OldTailOffset + OldTail.size(); }
};

// What undo needs of a file written as a copy that may differ from the old file
// anywhere: the old file as pieces over the new one (stretches of the new file
// and the old bytes it lacks), and what the new file is (its length and a
// checksum of all of it).
struct PieceUndo {
    std::uint64_t NewLength = 0;
    std::uint64_t NewChecksum = 0;
    std::vector<Piece> OldPieces;

    std::uint64_t OldLength() const;
    std::uint64_t LiteralBytes() const;  // the old bytes kept
};

enum class RecordKind {
    Tail,    // the tail written in place
    Copy,    // the file written whole as a new file beside it, then renamed over it
    Ranges,  // bytes at several places written in place, the last range perhaps the tail
    Beside,  // a lyrics file written beside a song: made new, or renamed over one
};

struct JournalRecord {
    RecordKind Kind = RecordKind::Tail;
    std::uint64_t Index = 0;  // its place among the pass's records
    std::string Path;
    std::string NewFile;  // a copy: the new file until the rename; left over after a crash
    // A tail or ranges: the file's stamp before the write. A copy: the stamp of the new file,
    // known once it is written (nullopt before).
    std::optional<FileStamp> Before;  // nullopt: a file without a stamp, never touched again
    // The file's stamp once the write was flushed, when the record was marked done.
    std::optional<FileStamp> After;
    std::uint64_t Offset = 0;
    std::uint64_t OldLength = 0;
    std::string OldTail;
    std::string NewTail;
    std::vector<ByteRange> Ranges;    // ranges: their old and new bytes (OldLength: the file's)
    bool CopyWritten = false;         // a copy written whole and flushed, about to be renamed
    std::optional<CopyUndo> Undo;     // a copy: what undo needs; nullopt when not kept
    std::optional<PieceUndo> Pieces;  // a copy that undo rebuilds from pieces instead
    // A lyrics file beside a song: what is written, and what it replaced (nullopt:
    // it was made new; NewFile then stays empty).
    std::string Written;
    std::optional<std::string> Replaced;
    RecordState State = RecordState::Pending;

    std::uint64_t NewLength() const { return Offset + NewTail.size(); }
    // A tail or ranges record's change, a tail as the one range that reaches the end.
    RangesChange Change() const;
};

struct PassHeader {
    std::int64_t Started = 0;  // seconds since the epoch
    std::string Folder;        // the folder the pass tagged, as shown to the user
    std::string UndoOf;        // for an undo: the pass it undid; empty for a tagging pass
};

// The entry that closes a journal whose records are all settled.
struct JournalSummary {
    std::uint64_t Records = 0;
    bool Interrupted = false;     // settled by recovery, after the pass was ended early
    std::uint64_t DamagedAt = 0;  // the first damaged byte found by recovery; 0: none
};

struct JournalContent {
    std::string Id;  // the file name without its extension
    std::string File;
    std::uint64_t Version = 0;
    PassHeader Header;
    std::vector<JournalRecord> Records;  // in index order
    std::optional<JournalSummary> Summary;
    // What could not be used, in words for the user; empty when all was read.
    std::vector<std::string> Problems;
    std::uint64_t DamagedAt = 0;   // the first byte of the first bad entry; 0: none
    std::uint64_t ValidBytes = 0;  // where the last whole entry ends
    bool TornEnd = false;          // the journal ends in an entry cut short
    // The only problem is the damage its summary records: told when it was found.
    bool DamageToldBefore = false;
};

// The start and the summary of a journal, read without its records.
struct JournalHead {
    std::string Id;
    std::string File;
    std::uint64_t Version = 0;
    PassHeader Header;
    std::optional<JournalSummary> Summary;
};

// Reads a whole journal. nullopt when the file cannot be read or does not begin
// with a header.
std::optional<JournalContent> ReadJournal(const std::string& file);
// The same from the journal's bytes (`file` names it).
std::optional<JournalContent> ParseJournal(std::string_view bytes, const std::string& file);

// Reads the header and the summary only. nullopt as for ReadJournal.
std::optional<JournalHead> ReadJournalHead(const std::string& file);

// True when the journal ends with its summary: recovery has nothing to look at in
// it. Reads only its end.
bool IsSettled(const std::string& file);

// What a summary tells of damage that recovery found (DamagedAt set).
std::string SummaryProblemText(const JournalSummary& summary);

// Why a journal of another format is not used.
std::string OtherFormatText(std::uint64_t version);

// The entries, whole (framed and checked), as the pass writer appends them.
std::string HeaderEntry(const PassHeader& header);
std::string TailRecordEntry(std::uint64_t index, const std::string& path,
                            const std::optional<FileStamp>& before, const TailChange& change);
std::string RangesRecordEntry(std::uint64_t index, const std::string& path,
                              const std::optional<FileStamp>& before, const RangesChange& change);
std::string CopyRecordEntry(std::uint64_t index, const std::string& path,
                            const std::string& newFile);
std::string BesideRecordEntry(std::uint64_t index, const std::string& path,
                              const std::string& newFile, std::string_view written,
                              const std::optional<std::string>& replaced);
std::string CopyWrittenEntry(std::uint64_t index, const FileStamp& copy, const CopyUndo* undo);
std::string PieceCopyWrittenEntry(std::uint64_t index, const FileStamp& copy,
                                  const PieceUndo& undo);
std::string DoneEntry(std::uint64_t index, const std::optional<FileStamp>& after);
std::string FailedEntry(std::uint64_t index);
std::string ResolvedEntry(std::uint64_t index);
std::string SummaryEntry(const JournalSummary& summary, std::uint64_t lengthBefore);

}  // namespace versemark
