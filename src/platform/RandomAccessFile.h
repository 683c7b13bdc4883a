#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace versemark {

// A file opened for positioned reads and writes of bytes. Every operation reports
// failure as a return value; none throws. Implementations: the operating system's
// file (OpenFile below) and, in tests, files that fail on purpose.
class RandomAccessFile {
  public:
    virtual ~RandomAccessFile() = default;

    // Current length in bytes, or nullopt when it cannot be read.
    virtual std::optional<std::uint64_t> Length() = 0;
    // Reads exactly `count` bytes at `offset` into `out`; false when fewer are there.
    virtual bool ReadAt(std::uint64_t offset, std::size_t count, std::string& out) = 0;
    // Writes all of `data` at `offset`; false when any byte could not be written.
    virtual bool WriteAt(std::uint64_t offset, std::string_view data) = 0;
    // Sets the file's length; false on failure.
    virtual bool Truncate(std::uint64_t length) = 0;
    // Flushes and closes; false when the flush or close failed. Idempotent.
    virtual bool Close() = 0;
};

enum class FileAccess { Read, ReadWrite };

// Opens an existing regular file. nullopt-like nullptr when it cannot be opened
// (missing, a folder, no permission).
std::unique_ptr<RandomAccessFile> OpenFile(const std::string& path, FileAccess access);

}  // namespace versemark
