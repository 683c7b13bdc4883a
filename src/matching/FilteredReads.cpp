// SPDX-License-Identifier: GPL-3.0-or-later
#include "matching/FilteredReads.h"

#include <algorithm>

#include "matching/Scoring.h"
#include "platform/FileSystem.h"

namespace versemark {

namespace {

// Only the end of a lyrics file is looked at for the filter marker.
constexpr std::size_t kLyricsTailSize = 80;

bool ReadFilteredTail(const std::string& path, std::string& tail) {
    ReadFileTail(path, kLyricsTailSize, tail);
    return IsFilteredTail(tail);
}

}  // namespace

EarlyFilterReads::EarlyFilterReads(std::size_t entryCount) : states_(entryCount, State::Unknown) {}

void EarlyFilterReads::Want(std::size_t entry, const std::string& path) {
    if (states_[entry] == State::Unknown) {
        states_[entry] = State::Queued;
        queue_.emplace_back(entry, &path);
    }
}

bool EarlyFilterReads::ReadNext() {
    if (next_ == queue_.size()) {
        return false;
    }
    const auto [entry, path] = queue_[next_++];
    states_[entry] = ReadFilteredTail(*path, tail_) ? State::Filtered : State::Plain;
    return true;
}

std::optional<bool> EarlyFilterReads::Filtered(std::size_t entry) const {
    switch (states_[entry]) {
        case State::Plain:
            return false;
        case State::Filtered:
            return true;
        default:
            return std::nullopt;
    }
}

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
            filtered_[i] = ReadFilteredTail(*paths_[i], tail) ? 1 : 0;
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
