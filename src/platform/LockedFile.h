// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>

// A file only this program writes, kept for the current user and locked against
// every other process while it is open: the journals of old tails. What differs
// between the systems (creating, locking, the user's state folder) lies here.
namespace versemark {

class LockedFile {
  public:
    virtual ~LockedFile() = default;  // closes the file, which releases the lock

    // Adds the bytes at the end; false on failure (ErrorText says why).
    virtual bool Append(std::string_view bytes) = 0;
    // Brings the written bytes to the storage device.
    virtual bool Sync() = 0;
    // Cuts the file to `length` bytes.
    virtual bool Truncate(std::uint64_t length) = 0;
    // Why the last failing operation failed, as the system words it.
    virtual std::string ErrorText() const = 0;
};

enum class LockedCreate { Made, NameTaken, Failed };

// Makes `path` as a new file only the user may read and locks it: `result` is
// Made with the file, NameTaken when the name exists already, or Failed with
// `reason`.
std::unique_ptr<LockedFile> CreateLockedFile(const std::string& path, LockedCreate& result,
                                             std::string& reason);

// Opens an existing file for appending when no other process holds its lock;
// nullptr when it is missing, cannot be opened or is locked.
std::unique_ptr<LockedFile> OpenLockedFile(const std::string& path);

// Makes `folder` (and the folders above it) when missing and keeps other users
// out of it; false with the reason, and nothing changed, when it is a link (on
// Windows any reparse point) or not the current user's own: its owner could
// plant files in it.
bool MakePrivateFolder(const std::string& folder, std::string& reason);

// True when `path` is a regular file, not a link, owned by the current user (on
// Windows also by the Administrators group when the user is one of them, the
// owner Windows gives what an elevated administrator makes).
bool IsUsersOwnFile(const std::string& path);

// The folder of the program's own state for the current user (Linux:
// $XDG_STATE_HOME/versemark, else ~/.local/state/versemark; Windows:
// %LOCALAPPDATA%\versemark); empty when the system does not say where.
std::string UserStateFolder();

// Why UserStateFolder is empty, in words for the user.
std::string_view NoUserStateFolderText();

// The current process's number.
int CurrentProcessId();

// The local calendar time of `seconds`.
std::tm LocalTime(std::time_t seconds);

}  // namespace versemark
