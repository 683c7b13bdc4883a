// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace versemark {

// What tells one state of a file from another without reading it: which file it
// is (device and inode) and its size and modification time.
struct FileStamp {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::uint64_t Size = 0;
    std::int64_t ModifiedNs = 0;  // nanoseconds since the epoch

    bool SameFile(const FileStamp& other) const {
        return Device == other.Device && Inode == other.Inode;
    }
    bool operator==(const FileStamp&) const = default;
};

// What an open file's permissions grant the running user on the user's own
// rights, leaving out what only the administrator's override grants.
struct FileRights {
    bool Readable = true;
    bool Writable = true;
    bool OwnedByUser = false;  // the running user owns it and is not the administrator
};

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
    // Brings the written bytes to the storage device; false on failure.
    virtual bool Flush() { return true; }
    // The file's stamp, or nullopt where there is none (a file in memory).
    virtual std::optional<FileStamp> Stamp() { return std::nullopt; }
    // The rights the running user has on the file, or nullopt where it has none
    // (a file in memory).
    virtual std::optional<FileRights> Rights() { return std::nullopt; }
    // Why the last failing operation failed, as the system words it.
    virtual std::string ErrorText() const { return "input/output error"; }
};

enum class FileAccess {
    Read,
    ReadWrite,
    // For reading and writing, reached through no link at all (no folder on the
    // way and not the file itself; on Windows no reparse point as the file):
    // the path must be resolved already.
    ReadWriteNoLinks,
};

// Opens an existing regular file. nullopt-like nullptr when it cannot be opened
// (missing, a folder, no permission, a link where ReadWriteNoLinks allows none).
std::unique_ptr<RandomAccessFile> OpenFile(const std::string& path, FileAccess access);

enum class NewFileStatus { Made, NameTaken, Failed };

// Creates `path` as a new, empty regular file open for reading and writing, and
// only that: anything already at the name, a link above all (even one leading
// nowhere), makes NameTaken and is neither followed nor touched. nullptr unless
// Made; on Failed `reason` says why, in the system's words.
std::unique_ptr<RandomAccessFile> CreateNewFile(const std::string& path, NewFileStatus& status,
                                                std::string& reason);

}  // namespace versemark
