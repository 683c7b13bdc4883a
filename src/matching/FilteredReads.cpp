#include "matching/FilteredReads.h"

#include <algorithm>

#include "matching/MatchFolder.h"
#include "platform/FileSystem.h"

namespace versemark {

namespace {

// Only the end of a lyrics file is looked at for the filter marker.
constexpr std::size_t kLyricsTailSize = 80;

}  // namespace

FilteredReads::FilteredReads(std::vector<const std::string*> paths)
    : paths_(std::move(paths)),
      filtered_(paths_.size()),
      chunkDone_(
          std::make_unique<std::atomic<bool>[]>((paths_.size() + kChunkFiles - 1) / kChunkFiles)),
      chunkCount_((paths_.size() + kChunkFiles - 1) / kChunkFiles) {
    if (chunkCount_ > 1) {  // one chunk is read as soon as it is asked for
        helper_ = std::thread([this] {
            std::string tail;
            while (ReadNextChunk(tail)) {
            }
        });
    }
}

FilteredReads::~FilteredReads() {
    nextChunk_.store(chunkCount_);  // no chunk is taken after this
    if (helper_.joinable()) {
        helper_.join();
    }
}

bool FilteredReads::ReadNextChunk(std::string& tail) {
    const std::size_t chunk = nextChunk_.fetch_add(1);
    if (chunk >= chunkCount_) {
        return false;
    }
    const std::size_t last = std::min(paths_.size(), (chunk + 1) * kChunkFiles);
    for (std::size_t i = chunk * kChunkFiles; i < last; ++i) {
        if (paths_[i] != nullptr) {
            ReadFileTail(*paths_[i], kLyricsTailSize, tail);
            filtered_[i] = IsFilteredTail(tail) ? 1 : 0;
        }
    }
    chunkDone_[chunk].store(true, std::memory_order_release);
    chunkDone_[chunk].notify_all();
    return true;
}

bool FilteredReads::Filtered(std::size_t row) {
    std::atomic<bool>& done = chunkDone_[row / kChunkFiles];
    while (!done.load(std::memory_order_acquire)) {
        if (!ReadNextChunk(tail_)) {
            done.wait(false, std::memory_order_acquire);  // the helper is reading it
        }
    }
    return filtered_[row] != 0;
}

}  // namespace versemark
