// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/RandomAccessFile.h"

namespace versemark::fuzz {

// A file held in memory whose operations can be made to fail once: the operation
// numbered `FailingOperation` (counting every call from 1) fails and every other
// one succeeds. A failing write stores its first `BytesBeforeFailure` bytes, as a
// full disk does. Reads that ask for bytes beyond the end are counted: the
// readers promise to check every offset they take from the file first.
class MemoryFile final : public RandomAccessFile {
  public:
    enum class Operation { Length, Read, Write, Truncate, Close };

    explicit MemoryFile(std::string bytes) : bytes_(std::move(bytes)) {}

    std::optional<std::size_t> FailingOperation;
    std::size_t BytesBeforeFailure = 0;

    const std::string& Bytes() const { return bytes_; }
    int ReadsPastEnd() const { return readsPastEnd_; }
    // The kind of operation that failed, when one did.
    std::optional<Operation> FailedOperation() const { return failed_; }

    std::optional<std::uint64_t> Length() override;
    bool ReadAt(std::uint64_t offset, std::size_t count, std::string& out) override;
    bool WriteAt(std::uint64_t offset, std::string_view data) override;
    bool Truncate(std::uint64_t length) override;
    bool Close() override;

  private:
    // Counts the call; true when it is the one that fails.
    bool FailsNow(Operation operation);

    std::string bytes_;
    std::size_t operations_ = 0;
    int readsPastEnd_ = 0;
    std::optional<Operation> failed_;
};

}  // namespace versemark::fuzz
