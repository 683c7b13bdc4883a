#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LockedFile.h"
#include "platform/RandomAccessFile.h"
#include "tags/TailReplace.h"

// The journal of old tails: one file per pass in the user's state folder. Before
// the first byte of an MP3 file changes, a record of its old tail is on disk;
// after the file is written and flushed, the record is marked done. A file
// written whole as a copy renamed over it has a record of the copy's name before
// the copy is made. Recovery and undo read the records back.
namespace versemark {

inline constexpr std::string_view kJournalExtension = ".journal";
// Passes kept for undo: the last this many, and no more than this many bytes.
inline constexpr std::size_t kJournalsKept = 20;
inline constexpr std::uint64_t kJournalBytesKept = 200ull * 1024 * 1024;

// Where the journals live: the user's state folder of the program
// ($XDG_STATE_HOME/versemark, else ~/.local/state/versemark; on Windows
// %LOCALAPPDATA%\versemark); empty when the system does not say where.
std::string DefaultJournalFolder();

// A checksum of a tail's bytes (64-bit FNV-1a).
std::uint64_t TailChecksum(std::string_view bytes);

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

enum class RecordKind {
    Tail,  // the tail written in place
    Copy,  // the file written whole as a new file beside it, then renamed over it
};

struct JournalRecord {
    RecordKind Kind = RecordKind::Tail;
    std::string Path;
    std::string NewFile;  // a copy: the new file until the rename; left over after a crash
    // A tail: the file's stamp before the write. A copy: the stamp of the new file,
    // known once it is written (nullopt before).
    std::optional<FileStamp> Before;  // nullopt: a file without a stamp, never touched again
    std::uint64_t Offset = 0;
    std::uint64_t OldLength = 0;
    std::string OldTail;
    std::uint64_t NewLength = 0;
    std::uint64_t NewChecksum = 0;
    bool CopyWritten = false;      // a copy written whole and flushed, about to be renamed
    std::optional<CopyUndo> Undo;  // a copy: what undo needs; nullopt when not kept
    RecordState State = RecordState::Pending;
};

struct PassHeader {
    std::int64_t Started = 0;  // seconds since the epoch
    std::string Folder;        // the folder the pass tagged, as shown to the user
    std::string UndoOf;        // for an undo: the pass it undid; empty for a tagging pass
};

struct JournalContent {
    std::string Id;  // the file name without its extension
    std::string File;
    PassHeader Header;
    std::vector<JournalRecord> Records;
    std::uint64_t ValidBytes = 0;  // the length of the entries read whole
};

// Reads a journal up to its first torn or damaged entry. nullopt when the file
// cannot be read or has no header.
std::optional<JournalContent> ReadJournal(const std::string& file);

// True when the journal ends with the mark that every record of it is settled
// (done or resolved): recovery has nothing to look at in it. Reads only its end.
bool IsSettled(const std::string& file);

// The journal files of `folder` the user owns, oldest first.
std::vector<std::string> ListJournals(const std::string& folder);

// A journal open for appending, locked so that no other process recovers or
// deletes it while it is in use.
class PassJournal {
  public:
    // Starts a new journal in `folder` (made, and the file, for the user alone).
    static std::unique_ptr<PassJournal> Create(const std::string& folder, const PassHeader& header,
                                               std::string& reason);
    // Opens an existing journal when no other process holds it; an entry torn by
    // a crash is cut off first.
    static std::unique_ptr<PassJournal> Reopen(const std::string& file);
    ~PassJournal();
    PassJournal(const PassJournal&) = delete;
    PassJournal& operator=(const PassJournal&) = delete;

    const std::string& Id() const { return id_; }
    const std::string& File() const { return file_; }
    std::size_t RecordCount() const { return records_; }
    std::uint64_t Bytes() const { return bytes_; }  // the journal's length

    // Records the change of the file at `path`; on disk when it returns. The
    // record's index, or nullopt (with the reason) when it could not be stored.
    std::optional<std::size_t> Begin(const std::string& path,
                                     const std::optional<FileStamp>& before,
                                     const TailChange& change, std::string& reason);
    // Records that the file at `path` is about to be written as the copy
    // `newFile` (not made yet); on disk when it returns.
    std::optional<std::size_t> BeginCopy(const std::string& path, const std::string& newFile,
                                         std::string& reason);
    // Records that the copy of record `index` is written, which file it is and
    // what undo needs (nullptr: not kept); on disk when it returns.
    bool MarkCopyWritten(std::size_t index, const FileStamp& copy, const CopyUndo* undo);
    bool MarkDone(std::size_t index);      // not flushed: the file's tail tells the same
    bool MarkFailed(std::size_t index);    // flushed
    bool MarkResolved(std::size_t index);  // flushed
    // Ends the journal with the settled mark when no record is pending or failed.
    void Settle();

  private:
    PassJournal(std::unique_ptr<LockedFile> locked, std::string file, std::size_t records,
                std::size_t unsettled, std::uint64_t bytes);
    bool Append(char type, std::string_view payload, bool flush);
    std::optional<std::size_t> BeginRecord(char type, std::string_view payload,
                                           std::string& reason);
    bool Mark(char type, std::size_t index, bool flush);

    std::unique_ptr<LockedFile> locked_;
    std::string file_;
    std::string id_;
    std::size_t records_;
    std::size_t unsettled_;  // records pending or failed
    std::uint64_t bytes_;
};

// Closes a pass's journal: deleted when the pass changed no file, otherwise kept
// for undo; then the folder is pruned.
void FinishJournal(std::unique_ptr<PassJournal> journal, const std::string& folder);

// Deletes the oldest journals beyond the last kJournalsKept passes or
// kJournalBytesKept bytes, whichever keeps fewer (the newest is always kept);
// a journal in use or with records still to recover stays.
void PruneJournals(const std::string& folder);

}  // namespace versemark
