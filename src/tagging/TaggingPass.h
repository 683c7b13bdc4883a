// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "matching/RowList.h"
#include "platform/RandomAccessFile.h"
#include "tagging/BesideFile.h"
#include "tagging/JournaledWrite.h"
#include "tagging/PassLock.h"
#include "tagging/Recovery.h"
#include "tagging/TagResult.h"

namespace versemark {

// How the pass tags: the Lyrics3 tail only (as always), or also the ID3v2
// lyrics frame: in place where the new ID3v2 tag fits the old one, else the
// file written whole as a copy that replaces it.
struct TagOptions {
    bool AlsoId3v2 = false;
    bool AllFormats = false;  // also tag the other audio formats, each in its own lyrics field
    bool BesideFile = false;  // also write the lyrics as a .txt file beside each song tagged
    // Told the reason when a file written as a copy could not be tagged.
    std::function<void(const std::string& mp3Path, const std::string& reason)> ReportFailure;
};

struct TaggingOptions {
    FileOpener Open = OpenFile;
    TagOptions Tag;
    // Where the old tails are journaled; nullopt writes without a journal (only
    // for measuring what the journal costs).
    std::optional<std::string> JournalFolder = DefaultJournalFolder();
    std::string Folder;  // the folder tagged, shown by "undo --list"
    // Told that another pass holds the journal folder's lock: true waits for it
    // (as an empty one does), false ends this pass before it begins.
    WhenPassBusy WhenBusy;
    LockedFileWrap WrapJournal;  // tests: a journal file that fails on purpose
    NewFileWrap WrapNewFile;     // tests: a lyrics file beside a song that fails on purpose
    // Told before each checked row how many of the `total` checked rows are done
    // (a window processes its events here). False stops the pass there as a
    // signal does: the rows not reached are not tried and not in the results.
    std::function<bool(std::size_t done, std::size_t total)> OnFile;
};

struct TaggingOutcome {
    std::vector<TagResult> Results;       // one per checked row tagged or tried, in list order
    int StopSignal = 0;                   // the signal that stopped the pass early, or 0
    std::vector<RecoveryNote> Recovered;  // what recovery did before the pass
    bool OtherPassRunning = false;        // given up for another pass: nothing done
};

// The tagging pass over the checked rows, in list order. First recovers what an
// earlier run left unfinished. Signals that end the program are held while it
// runs; one that comes stops the pass after the file being written. nullopt when
// the list has no rows (nothing happens on screen then).
std::optional<TaggingOutcome> TagCheckedRows(const RowList& rows,
                                             const TaggingOptions& options = {});

// The lyrics file's text as it is stored, or nullopt (with `reason` set where
// given) when it cannot be read, or could be only by the administrator's override
// of its permissions: what one user keeps to themselves is never copied into a
// file that others may read.
std::optional<std::string> ReadPreparedLyrics(const std::string& lyricsPath,
                                              std::string* reason = nullptr);

// The new tail of an open MP3 file (the Lyrics3 tag with `preparedLyrics` and
// the ID3v1 block, made from `lyricsName` where the file has none) and where it
// goes, or the reason why there is none.
struct NewTail {
    std::uint64_t Offset = 0;
    std::string Bytes;
    std::string Reason;
};
NewTail BuildNewTail(RandomAccessFile& mp3, std::string_view preparedLyrics,
                     std::string_view lyricsName);

// Writes the Lyrics3 tag with `preparedLyrics` and the ID3v1 block at the end of
// an open MP3 file (the block made from `lyricsName` where the file has none).
// On false the file is unchanged. `beforeWrite` (when set) is told the change
// before the first byte is written.
bool WriteLyricsTail(RandomAccessFile& mp3, std::string_view preparedLyrics,
                     std::string_view lyricsName, const BeforeTailWrite& beforeWrite = {});

// Tags one MP3 file with one lyrics file; `lyricsName` builds a missing ID3v1
// block. True when the new tail was written; on false the file is unchanged.
// Without the journal and recovery: for driving the writer on one file (tests,
// fuzzing); every tagging path of the programs goes through TagCheckedRows.
bool TagFile(const std::string& mp3Path, const std::string& lyricsPath, std::string_view lyricsName,
             const FileOpener& open = OpenFile);

}  // namespace versemark
