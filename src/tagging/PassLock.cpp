// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/PassLock.h"

#include "base/FileNames.h"
#include "platform/LockedFile.h"

namespace versemark {
namespace {

std::string LockFilePath(const std::string& journalFolder) {
    return journalFolder + kPathSeparator + std::string(kPassLockName);
}

}  // namespace

PassLock PassLock::Take(const std::string& journalFolder, const WhenPassBusy& whenBusy) {
    PassLock lock;
    if (journalFolder.empty()) {
        lock.reason_ = "no folder for the journal (" + std::string(NoUserStateFolderText()) + ")";
        return lock;
    }
    if (std::string why; !MakePrivateFolder(journalFolder, why)) {
        lock.reason_ = "journal folder " + journalFolder + ": " + why;
        return lock;
    }
    const std::string path = LockFilePath(journalFolder);
    FileLockTake result = FileLockTake::Failed;
    std::string why;
    lock.held_ = TakeFileLock(path, FileLockWait::No, result, why);
    if (result == FileLockTake::Busy) {
        if (whenBusy && !whenBusy()) {
            lock.busy_ = true;
            lock.reason_ = kOtherPassRunning;
            return lock;
        }
        lock.held_ = TakeFileLock(path, FileLockWait::Yes, result, why);
    }
    if (!lock.held_) {
        lock.reason_ = "journal lock " + why;
    }
    return lock;
}

bool PassRunsElsewhere(const std::string& journalFolder) {
    return !journalFolder.empty() && FileLockHeldElsewhere(LockFilePath(journalFolder));
}

}  // namespace versemark
