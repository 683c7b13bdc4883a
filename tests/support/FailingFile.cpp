// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FailingFile.h"

#include <algorithm>

namespace versemark::testing {

FailingFile::FailingFile(std::shared_ptr<Store> store) : store_(std::move(store)) {
    ++store_->Opened;
}

std::optional<std::uint64_t> FailingFile::Length() {
    if (store_->FailLength) {
        return std::nullopt;
    }
    return store_->Bytes.size();
}

bool FailingFile::ReadAt(std::uint64_t offset, std::size_t count, std::string& out) {
    out.clear();
    const std::string& bytes = store_->Bytes;
    if (offset > bytes.size() || count > bytes.size() - offset) {
        ++store_->ReadsPastEnd;
    }
    const bool failing = store_->FailReads || (store_->ReadsBeforeFailure &&
                                               store_->Reads == *store_->ReadsBeforeFailure);
    ++store_->Reads;
    if (failing || offset > bytes.size()) {
        return false;
    }
    out = bytes.substr(static_cast<std::size_t>(offset), count);
    return out.size() == count;
}

bool FailingFile::WriteAt(std::uint64_t offset, std::string_view data) {
    std::size_t allowed = data.size();
    const bool limited = store_->WriteLimit && (store_->FailedWrites == 0 || store_->KeepFailing);
    if (limited) {
        const std::size_t limit = *store_->WriteLimit;
        allowed = std::min(allowed, limit - std::min(limit, store_->BytesWritten));
    }
    std::string& bytes = store_->Bytes;
    const std::size_t at = static_cast<std::size_t>(offset);
    if (allowed > 0 && bytes.size() < at + allowed) {
        bytes.resize(at + allowed, '\0');
    }
    bytes.replace(at, allowed, data.substr(0, allowed));
    store_->BytesWritten += allowed;
    if (allowed != data.size()) {
        ++store_->FailedWrites;
        return false;
    }
    return true;
}

bool FailingFile::Truncate(std::uint64_t length) {
    if (store_->FailTruncate) {
        return false;
    }
    store_->Bytes.resize(static_cast<std::size_t>(length), '\0');
    return true;
}

bool FailingFile::Close() {
    store_->Closed = true;
    if (store_->FailingCloses > 0) {
        --store_->FailingCloses;
        return false;
    }
    return !store_->FailClose;
}

bool FailingFile::Flush() {
    if (store_->FailingFlushes > 0) {
        --store_->FailingFlushes;
        return false;
    }
    return true;
}

std::shared_ptr<FailingFile::Store> MakeStore(std::string bytes) {
    auto store = std::make_shared<FailingFile::Store>();
    store->Bytes = std::move(bytes);
    return store;
}

FileOpener OpenerServing(const std::string& path, std::shared_ptr<FailingFile::Store> store) {
    return [path, store](const std::string& requested,
                         FileAccess access) -> std::unique_ptr<RandomAccessFile> {
        if (requested == path) {
            return std::make_unique<FailingFile>(store);
        }
        return OpenFile(requested, access);
    };
}

FileOpener ReadOnlyOpener() {
    return [](const std::string& path, FileAccess access) -> std::unique_ptr<RandomAccessFile> {
        if (access != FileAccess::Read) {
            return nullptr;
        }
        return OpenFile(path, access);
    };
}

}  // namespace versemark::testing
