// SPDX-License-Identifier: GPL-3.0-or-later
#include "matching/BatchCandidates.h"

namespace versemark {

struct BatchCandidates::Slot {
    std::span<ReadMp3File> Files;
    std::vector<std::vector<int>> Candidates;
    std::vector<std::string_view> Texts;
    std::atomic<bool> Done{false};
};

BatchCandidates::BatchCandidates(FolderReadAhead& reader, const WordMatcher& matcher)
    : reader_(reader), matcher_(matcher) {
    const std::size_t batch = FolderReadAhead::kBatchFiles;
    batchCount_ = (reader_.FileCount() + batch - 1) / batch;
    slots_ = std::make_unique<Slot[]>(batchCount_);
    if (batchCount_ > 1) {  // a single batch is found as soon as it is asked for
        helper_ = std::jthread([this](std::stop_token stop) {
            MatcherScratch scratch;
            for (std::size_t batch = nextBatch_.fetch_add(1);
                 batch < batchCount_ && Find(batch, scratch, stop);
                 batch = nextBatch_.fetch_add(1)) {
            }
        });
    }
}

BatchCandidates::~BatchCandidates() {
    nextBatch_.store(batchCount_);  // no batch is taken after this
    helper_.request_stop();
}

bool BatchCandidates::FindNextFor(std::size_t wanted) {
    std::size_t next = nextBatch_.load();
    if (next >= batchCount_ ||
        (next != wanted && !reader_.IsRead(next * FolderReadAhead::kBatchFiles))) {
        return false;
    }
    if (nextBatch_.compare_exchange_strong(next, next + 1)) {
        Find(next, scratch_, std::stop_token());
    }
    return true;  // found, or taken by the helper meanwhile: look again
}

bool BatchCandidates::Find(std::size_t batch, MatcherScratch& scratch, std::stop_token stop) {
    Slot& slot = slots_[batch];
    slot.Files = reader_.Batch(batch * FolderReadAhead::kBatchFiles, stop);
    if (slot.Files.empty()) {
        return false;
    }
    slot.Texts.clear();
    for (const ReadMp3File& file : slot.Files) {
        slot.Texts.push_back(file.Text);
    }
    matcher_.FindCandidatesOfEach(slot.Texts, scratch, slot.Candidates);
    slot.Done.store(true, std::memory_order_release);
    slot.Done.notify_all();
    return true;
}

BatchCandidates::Found BatchCandidates::Batch(std::size_t first,
                                              const std::function<bool()>& whileWaiting) {
    const std::size_t batch = first / FolderReadAhead::kBatchFiles;
    Slot& slot = slots_[batch];
    while (!slot.Done.load(std::memory_order_acquire)) {
        if (!FindNextFor(batch) && !(whileWaiting && whileWaiting())) {
            slot.Done.wait(false, std::memory_order_acquire);  // the helper is finding it
        }
    }
    return {slot.Files, slot.Candidates};
}

}  // namespace versemark
