// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/RandomAccessFile.h"

// Read-only access to an open file through one window of its bytes: a read the
// window holds is served from memory, any other reads a whole window from where
// it starts. The walkers read many small pieces (box and block headers) that lie
// close together; this makes them one system call each place they lie.
namespace versemark {

class WindowedReads final : public RandomAccessFile {
  public:
    static constexpr std::size_t kWindowSize = 8 * 1024;

    explicit WindowedReads(RandomAccessFile& file) : file_(file) {}

    std::optional<std::uint64_t> Length() override;
    bool ReadAt(std::uint64_t offset, std::size_t count, std::string& out) override;
    bool WriteAt(std::uint64_t, std::string_view) override { return false; }
    bool Truncate(std::uint64_t) override { return false; }
    bool Close() override { return true; }  // the caller's file stays open

  private:
    RandomAccessFile& file_;
    std::optional<std::uint64_t> length_;
    std::uint64_t windowStart_ = 0;
    std::string window_;
};

}  // namespace versemark
