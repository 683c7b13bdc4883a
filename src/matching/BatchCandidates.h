// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <thread>
#include <vector>

#include "matching/FolderReadAhead.h"
#include "matching/WordMatcher.h"

// The candidates of a reader's batches, found on a helper thread and on the
// calling thread side by side. Both take the next batch not yet taken, in order:
// the helper always, the caller while it waits for the batch it asks for, when
// the next batch is that one or is read already (so that it never waits for the
// reader with a batch of its own unfinished). Matching so uses both processors
// once the reading is done.
namespace versemark {

class BatchCandidates {
  public:
    // The files of one batch and the candidates of each.
    struct Found {
        std::span<ReadMp3File> Files;
        std::vector<std::vector<int>>& Candidates;
    };

    // Both must outlive this object; the matcher is only read.
    BatchCandidates(FolderReadAhead& reader, const WordMatcher& matcher);
    // Stops the helper (also while it waits for the reader) and waits for it.
    ~BatchCandidates();
    BatchCandidates(const BatchCandidates&) = delete;
    BatchCandidates& operator=(const BatchCandidates&) = delete;

    // The batch starting at file `first`, a multiple of kBatchFiles, asked for in
    // order; waits until its candidates are found, calling `whileWaiting` as long
    // as the helper is finding them and it finds other work (returns true). It
    // stays the caller's until it is released to the reader.
    Found Batch(std::size_t first, const std::function<bool()>& whileWaiting = {});

  private:
    struct Slot;
    // Finds the next batch not taken when it is `wanted` or read already; false
    // when there is none such.
    bool FindNextFor(std::size_t wanted);
    // Reads and matches batch `batch`; false when the helper was stopped first.
    bool Find(std::size_t batch, MatcherScratch& scratch, std::stop_token stop);

    FolderReadAhead& reader_;
    const WordMatcher& matcher_;
    std::unique_ptr<Slot[]> slots_;  // one per batch
    std::size_t batchCount_ = 0;
    std::atomic<std::size_t> nextBatch_{0};
    MatcherScratch scratch_;  // the calling thread's
    std::jthread helper_;     // last: starts when the rest is there
};

}  // namespace versemark
