// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FileLock.h"

// One pass at a time over the journal and the files: every path that writes
// tagged files or journals (a tagging pass, undo, recovery) holds the lock file
// of the journal folder while it works, so that two passes never interleave.
namespace versemark {

inline constexpr std::string_view kPassLockName = "pass.lock";
inline constexpr std::string_view kOtherPassRunning = "another tagging pass is running";

// Told that another pass holds the lock: true waits for it to finish, false
// gives up.
using WhenPassBusy = std::function<bool()>;

class PassLock {
  public:
    PassLock() = default;  // not held
    // Takes the lock of the passes journaled in `journalFolder` (the folder made,
    // or checked, for the user alone first). When another pass holds it,
    // `whenBusy` decides; an empty one waits.
    static PassLock Take(const std::string& journalFolder, const WhenPassBusy& whenBusy = {});

    bool Held() const { return held_ != nullptr; }
    // Not held because another pass runs (and the caller did not wait).
    bool Busy() const { return busy_; }
    // Why it is not held, for the user.
    const std::string& Reason() const { return reason_; }

  private:
    std::unique_ptr<HeldFileLock> held_;
    bool busy_ = false;
    std::string reason_;
};

// True when another pass holds the lock of `journalFolder` now. Makes nothing.
bool PassRunsElsewhere(const std::string& journalFolder);

}  // namespace versemark
