// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

// A lock file that serialises work between processes: the lock is the system's
// (flock on Linux, LockFileEx on Windows), so it goes away with the process,
// even after a crash; the file itself stays and means nothing.
namespace versemark {

class HeldFileLock {
  public:
    virtual ~HeldFileLock() = default;  // closes the file, which releases the lock
};

enum class FileLockWait { No, Yes };
enum class FileLockTake { Taken, Busy, Failed };

// Opens `path` (made for the user alone when missing; never through a link) and
// locks it for this process alone. With FileLockWait::No, `result` is Busy when
// another holder has it; with Yes, the call returns once the other lets it go.
// Failed comes with `reason`.
std::unique_ptr<HeldFileLock> TakeFileLock(const std::string& path, FileLockWait wait,
                                           FileLockTake& result, std::string& reason);

// True when another holder has the lock of `path` now; a missing file is free.
// Makes nothing.
bool FileLockHeldElsewhere(const std::string& path);

}  // namespace versemark
