// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/RandomAccessFile.h"
#include "tagging/TaggingPass.h"

namespace versemark::testing {

// An in-memory file that fails on purpose. The bytes and the failure settings
// live in a shared store, so a test still sees them after the code under test
// has closed and dropped the file.
class FailingFile final : public RandomAccessFile {
  public:
    struct Store {
        std::string Bytes;
        // Writes succeed for this many bytes in all; the write that crosses the
        // limit stores the bytes up to it and fails. Later writes succeed again
        // (a passing fault) unless KeepFailing is set (a file that stays broken).
        std::optional<std::size_t> WriteLimit;
        bool KeepFailing = false;
        bool FailTruncate = false;
        bool FailReads = false;
        // This many reads succeed, the next one fails and later ones succeed
        // again (a passing fault).
        std::optional<int> ReadsBeforeFailure;
        int Reads = 0;
        bool FailLength = false;
        bool FailClose = false;
        int FailingCloses = 0;   // this many closes fail before FailClose applies
        int FailingFlushes = 0;  // this many flushes fail
        std::size_t BytesWritten = 0;
        int FailedWrites = 0;
        // Reads that asked for bytes beyond the end of the file.
        int ReadsPastEnd = 0;
        int Opened = 0;
        bool Closed = false;
    };

    explicit FailingFile(std::shared_ptr<Store> store);

    std::optional<std::uint64_t> Length() override;
    bool ReadAt(std::uint64_t offset, std::size_t count, std::string& out) override;
    bool WriteAt(std::uint64_t offset, std::string_view data) override;
    bool Truncate(std::uint64_t length) override;
    bool Close() override;
    bool Flush() override;

  private:
    std::shared_ptr<Store> store_;
};

std::shared_ptr<FailingFile::Store> MakeStore(std::string bytes);

// An opener that serves `store` for `path` and opens every other path as a real
// file.
FileOpener OpenerServing(const std::string& path, std::shared_ptr<FailingFile::Store> store);

// An opener that refuses to open any file for writing (a read-only file) and
// opens files for reading as usual.
FileOpener ReadOnlyOpener();

}  // namespace versemark::testing
