// SPDX-License-Identifier: GPL-3.0-or-later
#include "MemoryFile.h"

namespace versemark::fuzz {

bool MemoryFile::FailsNow(Operation operation) {
    ++operations_;
    if (FailingOperation && *FailingOperation == operations_) {
        failed_ = operation;
        return true;
    }
    return false;
}

std::optional<std::uint64_t> MemoryFile::Length() {
    if (FailsNow(Operation::Length)) {
        return std::nullopt;
    }
    return bytes_.size();
}

bool MemoryFile::ReadAt(std::uint64_t offset, std::size_t count, std::string& out) {
    out.clear();
    if (offset > bytes_.size() || count > bytes_.size() - offset) {
        ++readsPastEnd_;
        return false;
    }
    if (FailsNow(Operation::Read)) {
        return false;
    }
    out = bytes_.substr(static_cast<std::size_t>(offset), count);
    return true;
}

bool MemoryFile::WriteAt(std::uint64_t offset, std::string_view data) {
    const bool fails = FailsNow(Operation::Write);
    const std::string_view written = fails ? data.substr(0, BytesBeforeFailure) : data;
    const std::size_t at = static_cast<std::size_t>(offset);
    if (!written.empty()) {
        if (bytes_.size() < at + written.size()) {
            bytes_.resize(at + written.size(), '\0');
        }
        bytes_.replace(at, written.size(), written);
    }
    return !fails;
}

bool MemoryFile::Truncate(std::uint64_t length) {
    if (FailsNow(Operation::Truncate)) {
        return false;
    }
    bytes_.resize(static_cast<std::size_t>(length), '\0');
    return true;
}

bool MemoryFile::Close() {
    return !FailsNow(Operation::Close);
}

}  // namespace versemark::fuzz
