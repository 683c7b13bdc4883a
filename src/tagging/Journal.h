// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/LockedFile.h"
#include "platform/RandomAccessFile.h"
#include "tagging/JournalFolder.h"
#include "tagging/JournalFormat.h"
#include "tags/TailReplace.h"

// The journal of old tails: one file per pass in the user's state folder. Before
// the first byte of an MP3 file changes, a record of its old and new tail is on
// disk; after the file is written and flushed, the record is marked done with the
// file's stamp. A file written whole as a copy renamed over it has a record of
// the copy's name before the copy is made; a lyrics file written beside a song has
// a record of what it gets (and what it replaces) before it is made. Recovery and
// undo read the records back. This is the writer of one pass's journal.
namespace versemark {

// Wraps the journal's file as it is opened (tests give one that fails on purpose).
using LockedFileWrap = std::function<std::unique_ptr<LockedFile>(std::unique_ptr<LockedFile>)>;

// A journal open for appending, locked so that no other process recovers or
// deletes it while it is in use. An append that fails or is cut short is taken
// back to the last whole entry, and the journal takes no more records: the pass
// stops with Broken() as its reason.
class PassJournal {
  public:
    // Starts a new journal in `folder` (made, and the file, for the user alone).
    static std::unique_ptr<PassJournal> Create(const std::string& folder, const PassHeader& header,
                                               std::string& reason,
                                               const LockedFileWrap& wrap = {});
    // Opens an existing journal when no other process holds it, for recovery: an
    // entry torn at its end is cut off first; damage before its end is kept (and
    // told in its summary).
    static std::unique_ptr<PassJournal> Reopen(const std::string& file);
    ~PassJournal();
    PassJournal(const PassJournal&) = delete;
    PassJournal& operator=(const PassJournal&) = delete;

    const std::string& Id() const { return id_; }
    const std::string& File() const { return file_; }
    std::size_t RecordCount() const { return records_; }
    std::uint64_t Bytes() const { return bytes_; }  // the journal's length
    bool IsUndo() const { return undo_; }
    // Why the journal takes no more entries; empty while it does.
    const std::string& Broken() const { return broken_; }

    // Records the change of the file at `path`; on disk when it returns. The
    // record's index, or nullopt (with the reason) when it could not be stored.
    std::optional<std::size_t> Begin(const std::string& path,
                                     const std::optional<FileStamp>& before,
                                     const TailChange& change, std::string& reason);
    // Records the change of the file at `path` at several places; on disk when it
    // returns.
    std::optional<std::size_t> BeginRanges(const std::string& path,
                                           const std::optional<FileStamp>& before,
                                           const RangesChange& change, std::string& reason);
    // Records that the file at `path` is about to be written as the copy
    // `newFile` (not made yet); on disk when it returns.
    std::optional<std::size_t> BeginCopy(const std::string& path, const std::string& newFile,
                                         std::string& reason);
    // Records that the lyrics file `path` beside a song is about to get `written`:
    // made new (`replaced` nullopt, `newFile` empty), or written as `newFile` and
    // renamed over the file holding `replaced`; on disk when it returns.
    std::optional<std::size_t> BeginBeside(const std::string& path, const std::string& newFile,
                                           std::string_view written,
                                           const std::optional<std::string>& replaced,
                                           std::string& reason);
    // Records that the copy of record `index` is written, which file it is and
    // what undo needs (nullptr: not kept); on disk when it returns.
    bool MarkCopyWritten(std::size_t index, const FileStamp& copy, const CopyUndo* undo);
    // The same with what undo needs as pieces; on disk when it returns.
    bool MarkPieceCopyWritten(std::size_t index, const FileStamp& copy, const PieceUndo& undo);
    // Not flushed: the file itself tells the same. `after`: the file's stamp once
    // written, which undo compares.
    bool MarkDone(std::size_t index, const std::optional<FileStamp>& after = std::nullopt);
    bool MarkFailed(std::size_t index);    // flushed
    bool MarkResolved(std::size_t index);  // flushed
    // Ends the journal with its summary when no record is pending or failed.
    void Settle();
    // Ends a journal that was settled before with a summary that tells the damage
    // found on reopening it, whatever marks the damage hid.
    void SettleDamaged();

  private:
    PassJournal(std::unique_ptr<LockedFile> locked, std::string file, std::size_t records,
                std::size_t unsettled, std::uint64_t bytes);
    bool Append(const std::string& entry, bool flush);
    std::optional<std::size_t> BeginRecord(const std::string& entry, std::string& reason);
    void AppendSummary();

    std::unique_ptr<LockedFile> locked_;
    std::string file_;
    std::string id_;
    std::size_t records_;
    std::size_t unsettled_;  // records pending or failed
    std::uint64_t bytes_;
    bool undo_ = false;
    bool reopened_ = false;        // settled by recovery: the pass was ended early
    std::uint64_t damagedAt_ = 0;  // damage found on reopening; 0: none
    std::string broken_;
};

}  // namespace versemark
