// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <span>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "matching/Mp3Sample.h"

// The MP3 files of a folder listed and read on a thread of their own, ahead of
// their matching: while the caller builds what the matching needs and matches,
// the other processor lists the folder and reads the files. The files are handed
// over in batches, in the order of the listing, through a ring of reused slots, so
// that only so many files wait in memory.
namespace versemark {

// One file as read for matching.
struct ReadMp3File {
    std::string Path;  // as listed; the consumer may move it out
    Mp3Sample Sample;  // without its Head, which is in Text
    std::string Text;  // the normalised text it is matched on
};

class FolderReadAhead {
  public:
    // Files per batch handed over; the texts of a batch are matched together.
    static constexpr std::size_t kBatchFiles = 32;
    // Slots of the ring (files read and not yet handed back) for a reader started
    // ahead of the index: enough to go on while a large cache is read.
    static constexpr std::size_t kMostReadAhead = 512 * kBatchFiles;
    // For a pass whose index is there: a few batches, so that what the pass shows
    // of a file is what it held shortly before, as in a window that shows the
    // pass going by.
    static constexpr std::size_t kNearReadAhead = 4 * kBatchFiles;

    // Starts listing `folder` (and below it when `recurse`) and reading its files,
    // at most `mostReadAhead` (whole batches) ahead of those handed back;
    // `allFormats` lists the FLAC, Ogg, Opus and M4A files too.
    FolderReadAhead(std::string folder, bool recurse, std::size_t mostReadAhead,
                    bool allFormats = false);
    // Stops the reading and waits for the thread.
    ~FolderReadAhead();
    FolderReadAhead(const FolderReadAhead&) = delete;
    FolderReadAhead& operator=(const FolderReadAhead&) = delete;

    // The number of MP3 files found; waits for the listing.
    std::size_t FileCount();
    // The files [first, first + kBatchFiles) as far as there are files, first a
    // multiple of kBatchFiles; waits until they are read. A batch further on than
    // the ring holds waits until those before it are handed back, so the one
    // consumer that hands them back asks for them in order, and a second one
    // that matches ahead of it asks with a stop token. They stay the caller's
    // until Release(first).
    std::span<ReadMp3File> Batch(std::size_t first);
    // The same for a thread that may be asked to stop while it waits: then an
    // empty span.
    std::span<ReadMp3File> Batch(std::size_t first, std::stop_token stop);
    // Whether the batch starting at `first` is read, without waiting.
    bool IsRead(std::size_t first);
    // Hands the batch starting at `first` back for files further on.
    void Release(std::size_t first);

  private:
    void ReadAll(std::string folder, bool recurse, bool allFormats);
    // Whether the batch starting at `first` is read; mutex_ held.
    bool ReadLocked(std::size_t first) const;
    // Waits until the slots of the files from `first` are free; false on a stop.
    bool WaitForRoom(std::size_t first);

    const std::size_t mostReadAhead_;
    std::vector<ReadMp3File> slots_;  // sized by the reader once it has listed the folder
    std::mutex mutex_;
    std::condition_variable_any changed_;
    // Guarded by mutex_:
    bool listed_ = false;
    bool stopping_ = false;
    std::size_t fileCount_ = 0;
    std::size_t readCount_ = 0;      // files read, from the first
    std::size_t releasedCount_ = 0;  // files handed back, from the first
    std::thread thread_;             // last: starts when the rest is there
};

}  // namespace versemark
