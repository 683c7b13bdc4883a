// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// Whether the chosen lyrics files are filtered (the marker in their last bytes):
// those phase 1 already knows the choice of read early, the rest in phase 2.
namespace versemark {

// Read early on the calling thread while it has nothing else to do: a file of
// phase 1 with a single candidate has already chosen that lyrics file, so its end
// can be read before phase 2 asks for it. Each lyrics file is read once.
class EarlyFilterReads {
  public:
    explicit EarlyFilterReads(std::size_t entryCount);

    // Queues the lyrics file of `entry` (at `path`, which must outlive this
    // object) unless it is queued or read already.
    void Want(std::size_t entry, const std::string& path);
    // Reads the next queued file; false when none is left.
    bool ReadNext();
    // Whether the file of `entry` is filtered, once it is read.
    std::optional<bool> Filtered(std::size_t entry) const;

  private:
    enum class State : unsigned char { Unknown, Queued, Plain, Filtered };
    std::vector<State> states_;  // per entry
    std::vector<std::pair<std::size_t, const std::string*>> queue_;
    std::size_t next_ = 0;
    std::string tail_;
};

// Read on a helper thread and on the calling thread side by side: both take the
// next chunk of files not yet taken, in order, so that the answers come in about
// the order they are asked for.
class FilteredReads {
  public:
    // Files per chunk taken at a time.
    static constexpr std::size_t kChunkFiles = 16;

    // `paths[i]` is the lyrics file of row i, or null when the row chose none
    // (not filtered). The strings must outlive this object.
    explicit FilteredReads(std::vector<const std::string*> paths);
    // Stops the helper and waits for it.
    ~FilteredReads();
    FilteredReads(const FilteredReads&) = delete;
    FilteredReads& operator=(const FilteredReads&) = delete;

    // Whether row i's lyrics file is filtered; reads chunks on this thread too
    // until row i's answer is there. A file that cannot be read is not filtered.
    bool Filtered(std::size_t row);

  private:
    // Takes the next chunk not taken and reads it; false when none is left.
    bool ReadNextChunk(std::string& tail);

    std::vector<const std::string*> paths_;
    std::vector<unsigned char> filtered_;  // per row, written by the chunk's reader
    std::unique_ptr<std::atomic<bool>[]> chunkDone_;
    std::size_t chunkCount_ = 0;
    std::atomic<std::size_t> nextChunk_{0};
    std::string tail_;    // the calling thread's buffer
    std::thread helper_;  // last: starts when the rest is there
};

}  // namespace versemark
