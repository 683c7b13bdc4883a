// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/JournalFolder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/FileSystem.h"
#include "platform/LockedFile.h"
#include "tagging/Journal.h"

namespace versemark {
namespace {

// Removes a journal file; one already gone is no failure.
void RemoveJournalFile(const std::string& file) {
    std::error_code error;
    std::filesystem::remove(SystemFilePath(file), error);
}

}  // namespace

std::string DefaultJournalFolder() {
    return UserStateFolder();
}

std::vector<std::string> ListJournals(const std::string& folder) {
    std::vector<std::string> files;
    for (const std::string& name : ListFilesWithExtension(folder, kJournalExtension, true)) {
        // Another user's file could name any file of this user's to be written.
        if (std::string file = folder + kPathSeparator + name; IsUsersOwnFile(file)) {
            files.push_back(std::move(file));
        }
    }
    // The names begin with the start time, so name order is time order.
    std::sort(files.begin(), files.end());
    return files;
}

void FinishJournal(std::unique_ptr<PassJournal> journal, const std::string& folder) {
    const bool empty = journal->RecordCount() == 0 && !journal->IsUndo();
    const std::string file = journal->File();
    journal->Settle();
    journal.reset();  // closed and unlocked first
    if (empty) {
        RemoveJournalFile(file);  // a pass that changed nothing has nothing to undo
    }
    PruneJournals(folder);
}

void PruneJournals(const std::string& folder) {
    std::vector<std::string> files = ListJournals(folder);
    std::reverse(files.begin(), files.end());  // newest first
    std::uint64_t bytes = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::error_code error;
        const std::uint64_t size = std::filesystem::file_size(SystemFilePath(files[i]), error);
        bytes += error ? 0 : size;
        if (i == 0 || (i < kJournalsKept && bytes <= kJournalBytesKept)) {
            continue;
        }
        // Only a settled journal no pass holds goes: its summary tells, and the
        // lock is held while it is removed.
        const auto locked = OpenLockedFile(files[i]);
        if (locked && IsSettled(files[i])) {
            RemoveJournalFile(files[i]);
        }
    }
}

}  // namespace versemark
