// SPDX-License-Identifier: GPL-3.0-or-later
#include "matching/FolderReadAhead.h"

#include <algorithm>

#include "matching/FileSearch.h"
#include "matching/Mp3Text.h"
#include "platform/FileSystem.h"

namespace versemark {

namespace {

// The extension cut from an MP3 path to give the text's base.
constexpr std::size_t kExtensionSize = 4;

// The base of a path's text: the path without its extension (".mp3", or the
// other formats' ".flac", ".ogg", ".opus", ".m4a").
std::string_view TextBase(std::string_view path) {
    std::size_t cut = std::min(path.size(), kExtensionSize);
    if (!EndsWithIgnoringCase(path, kMp3Pattern.substr(1))) {
        const std::size_t dot = path.rfind('.');
        const std::size_t separator = path.find_last_of("/\\");
        if (dot != std::string_view::npos &&
            (separator == std::string_view::npos || dot > separator)) {
            cut = path.size() - dot;
        }
    }
    return path.substr(0, path.size() - cut);
}

}  // namespace

FolderReadAhead::FolderReadAhead(std::string folder, bool recurse, std::size_t mostReadAhead,
                                 bool allFormats)
    : mostReadAhead_(std::max(kBatchFiles, mostReadAhead / kBatchFiles * kBatchFiles)),
      thread_([this, folder = std::move(folder), recurse, allFormats]() mutable {
          ReadAll(std::move(folder), recurse, allFormats);
      }) {}

FolderReadAhead::~FolderReadAhead() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

std::size_t FolderReadAhead::FileCount() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return listed_; });
    return fileCount_;
}

std::span<ReadMp3File> FolderReadAhead::Batch(std::size_t first) {
    return Batch(first, std::stop_token());
}

bool FolderReadAhead::IsRead(std::size_t first) {
    const std::lock_guard lock(mutex_);
    return ReadLocked(first);
}

bool FolderReadAhead::ReadLocked(std::size_t first) const {
    return listed_ && readCount_ >= std::min(fileCount_, first + kBatchFiles);
}

std::span<ReadMp3File> FolderReadAhead::Batch(std::size_t first, std::stop_token stop) {
    std::unique_lock lock(mutex_);
    const bool read = changed_.wait(lock, stop, [&] { return ReadLocked(first); });
    if (!read) {
        return {};
    }
    const std::size_t count = std::min(fileCount_, first + kBatchFiles) - first;
    return {slots_.data() + first % slots_.size(), count};
}

void FolderReadAhead::Release(std::size_t first) {
    {
        const std::lock_guard lock(mutex_);
        releasedCount_ = std::min(fileCount_, first + kBatchFiles);
    }
    changed_.notify_all();
}

bool FolderReadAhead::WaitForRoom(std::size_t first) {
    std::unique_lock lock(mutex_);
    changed_.wait(
        lock, [&] { return stopping_ || first + kBatchFiles <= releasedCount_ + slots_.size(); });
    return !stopping_;
}

void FolderReadAhead::ReadAll(std::string folder, bool recurse, bool allFormats) {
    std::vector<std::string> files;
    FindMp3Files(folder, recurse, files, allFormats);
    // Whole batches, so that every batch lies in one piece.
    slots_.resize(
        std::min(mostReadAhead_, (files.size() + kBatchFiles - 1) / kBatchFiles * kBatchFiles));
    {
        const std::lock_guard lock(mutex_);
        listed_ = true;
        fileCount_ = files.size();
    }
    changed_.notify_all();

    // Reused from file to file: the head stays here once the text is made.
    Mp3Sample sample;
    std::string tail;
    for (std::size_t first = 0; first < files.size(); first += kBatchFiles) {
        if (!WaitForRoom(first)) {
            return;
        }
        const std::size_t last = std::min(files.size(), first + kBatchFiles);
        for (std::size_t i = first; i < last; ++i) {
            ReadMp3File& file = slots_[i % slots_.size()];
            file.Path = std::move(files[i]);
            ReadMp3Sample(file.Path, sample, tail);
            const std::string_view base = TextBase(file.Path);
            NormalisedMp3Text(base, sample.Head, sample.Id3Block, file.Text);
            file.Sample.Id3Block.swap(sample.Id3Block);  // the buffers go round
            file.Sample.Kind = sample.Kind;
            file.Sample.Stamp = sample.Stamp;
            file.Sample.NoAudio = sample.NoAudio;
            file.Sample.Format = sample.Format;
            file.Sample.OwnLyrics = sample.OwnLyrics;
        }
        {
            const std::lock_guard lock(mutex_);
            readCount_ = last;
        }
        changed_.notify_all();
    }
}

}  // namespace versemark
